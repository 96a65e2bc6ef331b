#pragma once
#include <QToolButton>

// A flat button of the tray's panels whose picture and text lie over the
// background of a window (its parent unless another is set): it fills
// nothing of its own and shows the tray's hover look while the pointer is
// over it. The summary panel's day total and the window's message in
// compact mode are such buttons.
class CMyMFCButton : public QToolButton
{
    Q_OBJECT
public:
    explicit CMyMFCButton(QWidget *parent = nullptr);

    // The window whose background shows behind the button (null: the
    // parent).
    void SetBackgroundWindow(QWidget *window) { m_background = window; }
    QWidget *BackgroundWindow() const;
    // Whether a click does something (a button without a command is not lit
    // by the pointer).
    void SetClickable(bool clickable);

    // Long texts break into lines at word ends instead of being cut.
    void SetWordWrap(bool wrap);
    bool hasHeightForWidth() const override { return m_wrap; }
    int heightForWidth(int width) const override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QWidget *m_background = nullptr;
    bool m_clickable = true;
    bool m_wrap = false;
};
