#include "CMyDesktopAlertWnd.h"

#include "CMyDesktopButton.h"
#include "CMyMFCButton.h"
#include "CViewResume.h"
#include "CZarvoTrayApp.h"
#include "CZarvoTrayDlg.h"
#include "Settings.h"
#include "TrayCaption.h"
#include "WidgetIds.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPropertyAnimation>
#include <QScreen>
#include <QWindow>

namespace {

// The fade's length: thirty steps.
constexpr int FadeMs = 300;

} // namespace

CMyDesktopAlertWnd::CMyDesktopAlertWnd(CZarvoTrayApp &app, CZarvoTrayDlg &tray)
    : QWidget(&tray, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_app(app)
    , m_tray(tray)
{
    setObjectName(QStringLiteral("ZarvoTrayInfos"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowIcon(tray.windowIcon());
    m_caption = std::max(16, fontMetrics().height()) + 6;
    m_content = new CViewResume(app, this, this);
    WidgetIds::SetControlId(m_content->TaskButton(), TaskButtonId);
    connect(m_content, &CViewResume::chooseUser, &tray, &CZarvoTrayDlg::ChooseUser);
    connect(m_content, &CViewResume::pauseOrResume, this, [this] {
        m_tray.PauseOrResume();
        if (m_app.Settings().autoHideInfos)
            close();
    });

    // The wide form when a whole day's length does not fit the narrow one.
    const QFontMetrics big(m_content->TaskButton()->font());
    m_template = TemplateFor(big.horizontalAdvance(m_app.Texts().DurationText(84540)));
    QSize content = m_content->RecordedSize();
    if (m_template == WideTemplate)
        content.setWidth(content.width() + 2 * (big.horizontalAdvance(m_app.Texts().DurationText(84540)) - WideFrom));

    const QSize button(m_caption - 6, m_caption - 6);
    m_close = new CMyDesktopButton(this);
    m_close->SetGlyph(CMyDesktopButton::Glyph::Close);
    m_close->SetCaptionButton(true);
    m_close->setGeometry(QRect(QPoint(content.width() - button.width() - 3, 3), button));
    connect(m_close, &QToolButton::clicked, this, &QWidget::close);
    m_menu = new CMyDesktopButton(this);
    m_menu->SetGlyph(CMyDesktopButton::Glyph::DownArrow);
    m_menu->SetCaptionButton(true);
    m_menu->setGeometry(QRect(QPoint(m_close->x() - button.width() - 2, 3), button));
    connect(m_menu, &QToolButton::clicked, this,
            [this] { m_tray.ShowPopupMenu(m_menu->mapToGlobal(QPoint(0, m_menu->height()))); });
    m_content->setGeometry(QRect(QPoint(0, m_caption), content));
    setFixedSize(content.width(), m_caption + content.height());
    m_content->Retranslate();
    m_close->setToolTip(m_app.Text(183));
    Refresh();
}

void CMyDesktopAlertWnd::Open()
{
    const Platform::Settings settings;
    QPoint place(settings.getInt(u"Tray", u"PopupInfos", u"Left", -1), settings.getInt(u"Tray", u"PopupInfos", u"Top", -1));
    const QScreen *screen = QGuiApplication::screenAt(place);
    if (place == QPoint(-1, -1) || !screen) {
        // First time, or a place no screen shows any more: the corner of
        // the work area.
        screen = QGuiApplication::primaryScreen();
        const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
        place = area.bottomRight() - QPoint(width() + 8, height() + 8);
    }
    move(place);
    m_placed = true;
    setWindowOpacity(0);
    show();
    m_fade = new QPropertyAnimation(this, "windowOpacity", this);
    m_fade->setDuration(FadeMs);
    m_fade->setStartValue(0.0);
    m_fade->setEndValue(std::clamp(m_app.Settings().opacity, 1, 255) / 255.0);
    m_fade->start(QAbstractAnimation::DeleteWhenStopped);
    Platform::Settings().setInt(u"Tray", u"PopupInfos", u"Visible", 1);
}

void CMyDesktopAlertWnd::SetAlpha(int alpha)
{
    if (m_fade)
        m_fade->stop();
    setWindowOpacity(std::clamp(alpha, 1, 255) / 255.0);
}

void CMyDesktopAlertWnd::Refresh()
{
    m_content->SetBlank(m_app.IsCompact());
    m_content->Refresh();
}

void CMyDesktopAlertWnd::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    TrayCaption::Paint(p, *this, m_caption, QStringLiteral("Zarvo"), m_menu->x() - 5, true);
}

void CMyDesktopAlertWnd::moveEvent(QMoveEvent *)
{
    if (!m_placed)
        return;
    Platform::Settings settings;
    settings.setInt(u"Tray", u"PopupInfos", u"Left", x());
    settings.setInt(u"Tray", u"PopupInfos", u"Top", y());
}

void CMyDesktopAlertWnd::closeEvent(QCloseEvent *event)
{
    // Closed by the user: not open at the next start. (The program's end
    // closes it too, having recorded it open, so it comes back then.)
    Platform::Settings settings;
    settings.setInt(u"Tray", u"PopupInfos", u"Left", x());
    settings.setInt(u"Tray", u"PopupInfos", u"Top", y());
    if (!m_tray.IsEnding())
        settings.setInt(u"Tray", u"PopupInfos", u"Visible", 0);
    event->accept();
    deleteLater();
}

void CMyDesktopAlertWnd::mousePressEvent(QMouseEvent *event)
{
    // Moved from anywhere but its buttons.
    if (event->button() == Qt::LeftButton && windowHandle() && windowHandle()->startSystemMove())
        return;
    QWidget::mousePressEvent(event);
}
