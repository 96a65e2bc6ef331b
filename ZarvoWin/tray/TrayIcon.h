#pragma once
#include <QIcon>
#include <QObject>
#include <QPoint>
#include <QString>

// The tray's icon in the desktop's notification area, behind an interface
// of ours so the window does not depend on the desktop having one (tests
// put a fake in its place). The window shows the icon, keeps its tip up to
// date and acts on its clicks.
class TrayIcon : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~TrayIcon() override = default;

    // Whether the desktop has a notification area. Without one the tray's
    // window stays a normal window.
    virtual bool IsAvailable() const = 0;
    virtual void Show(const QIcon &icon, const QString &tip) = 0;
    virtual void SetTip(const QString &tip) = 0;
    virtual void Hide() = 0;

signals:
    void leftClicked();
    // At the release of the right button, where the pointer is.
    void rightClicked(const QPoint &globalPosition);
};
