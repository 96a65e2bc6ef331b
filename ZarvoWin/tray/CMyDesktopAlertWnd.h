#pragma once
#include <QPoint>
#include <QPointer>
#include <QWidget>

class CMyDesktopButton;
class CViewResume;
class CZarvoTrayApp;
class CZarvoTrayDlg;
class QPropertyAnimation;

// The Infos window: a small frameless window that stays on top of the
// others, with a caption of its own, showing the user's name (a click
// chooses another user), the newest entry's time (a click pauses or
// resumes it) and today's total. It fades in to its opacity, keeps its
// place in the settings ("PopupInfos") and whether it was open when the
// tray ended, so a restart brings it back where it was.
class CMyDesktopAlertWnd : public QWidget
{
    Q_OBJECT
public:
    // Control numbers: the menu button; the content's buttons.
    enum : int { MenuButtonId = 1035, CloseButtonId = 1041, TaskButtonId = 1033 };
    // The content's two forms: the narrow one unless a day's length in the
    // duration pattern is 90 pixels or wider in the big font.
    enum : int { NarrowTemplate = 154, WideTemplate = 407, WideFrom = 90 };
    static int TemplateFor(int durationTextWidth) { return durationTextWidth < WideFrom ? NarrowTemplate : WideTemplate; }

    CMyDesktopAlertWnd(CZarvoTrayApp &app, CZarvoTrayDlg &tray);

    // Shows the window at its kept place (the bottom right corner of the
    // work area the first time), fading in.
    void Open();
    // Shows what the tray keeps now.
    void Refresh();
    // The opacity, 1..255.
    void SetAlpha(int alpha);
    int Template() const { return m_template; }
    CViewResume *Content() const { return m_content; }
    CMyDesktopButton *MenuButton() const { return m_menu; }
    CMyDesktopButton *CloseButton() const { return m_close; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    CZarvoTrayApp &m_app;
    CZarvoTrayDlg &m_tray;
    CViewResume *m_content = nullptr;
    CMyDesktopButton *m_menu = nullptr;
    CMyDesktopButton *m_close = nullptr;
    QPointer<QPropertyAnimation> m_fade;
    int m_caption = 0;
    int m_template = NarrowTemplate;
    bool m_placed = false;
};
