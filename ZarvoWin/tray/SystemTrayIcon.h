#pragma once
#include "TrayIcon.h"

#include <memory>

class QSystemTrayIcon;

// The icon in the desktop's notification area, through Qt's system tray.
class SystemTrayIcon : public TrayIcon
{
    Q_OBJECT
public:
    explicit SystemTrayIcon(QObject *parent = nullptr);
    ~SystemTrayIcon() override;

    bool IsAvailable() const override;
    void Show(const QIcon &icon, const QString &tip) override;
    void SetTip(const QString &tip) override;
    void Hide() override;

private:
    std::unique_ptr<QSystemTrayIcon> m_icon;
};
