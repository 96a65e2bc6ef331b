#include "CSplashScreenEx.h"

#include "BitmapResources.h"
#include "Clock.h"
#include "ColorRef.h"
#include "KeyColourRegion.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QWindow>

#include <climits>

CSplashScreenEx::CSplashScreenEx()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    for (Line &line : m_lines)
        line.font = QApplication::font();
    connect(&m_timer, &QTimer::timeout, this, &CSplashScreenEx::OnTimer);
}

CSplashScreenEx::~CSplashScreenEx() = default;

bool CSplashScreenEx::Create(int style, QWidget *parent, int displayTime)
{
    if (parent != parentWidget())
        setParent(parent, windowFlags());
    m_lines[0].text.clear();
    m_displayTime = displayTime;
    m_style = style;
    return true;
}

bool CSplashScreenEx::SetBitmap()
{
    return SetBitmap(LoadBitmapResource(kBitmapId));
}

bool CSplashScreenEx::SetBitmap(const QImage &picture)
{
    if (picture.isNull()) {
        m_picture = QImage();
        m_shape = QRegion();
        clearMask();
        return false;
    }
    m_picture = picture;
    const QSize size = picture.size();
    if (m_style & CenterOnScreen) {
        const QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
        const QRect area = screen ? screen->availableGeometry() : QRect();
        m_position = area.topLeft() + QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2);
    } else if ((m_style & CenterOnParent) && parentWidget()) {
        const QRect area = parentWidget()->frameGeometry();
        m_position = area.topLeft() + QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2);
    }
    resize(size);
    m_shape = RegionOutsideKeyColour(picture, kKeyColour, kKeyTolerance);
    setMask(m_shape);
    RepaintNow();
    return true;
}

QString CSplashScreenEx::Text(int index) const
{
    return ValidIndex(index) ? m_lines[size_t(index)].text : QString();
}

void CSplashScreenEx::SetText(int index, const QString &text)
{
    if (!ValidIndex(index))
        return;
    m_lines[size_t(index)].text = text;
    RepaintNow();
}

void CSplashScreenEx::SetTextFont(int index, const QFont &font)
{
    if (!ValidIndex(index))
        return;
    m_lines[size_t(index)].font = font;
    update();
}

void CSplashScreenEx::SetTextRect(int index, int left, int top, int right, int bottom)
{
    if (!ValidIndex(index))
        return;
    m_lines[size_t(index)].rect = QRect(left, top, right - left, bottom - top);
    update();
}

void CSplashScreenEx::SetTextFormat(int index, int flags)
{
    if (!ValidIndex(index))
        return;
    m_lines[size_t(index)].flags = flags;
    update();
}

void CSplashScreenEx::SetTextColour(int index, quint32 colorRef)
{
    if (!ValidIndex(index))
        return;
    m_lines[size_t(index)].colour = colorRef;
    update();
}

void CSplashScreenEx::SetProgressBar(quint32 colorRef, int left, int top, int right, int bottom)
{
    m_barColour = colorRef;
    m_bar = QRect(left, top, right - left, bottom - top);
    m_progress.SetBar(true, left, right);
    update();
}

void CSplashScreenEx::RepaintNow()
{
    if (isVisible())
        repaint();
    else
        update();
}

void CSplashScreenEx::Show()
{
    move(m_position);
    if (!m_picture.isNull())
        resize(m_picture.size());
    show();
    if (m_style & CloseOnInput) {
        if (!m_filtering)
            qApp->installEventFilter(this);
        m_filtering = true;
    }
    const bool timed = m_progress.Start(m_displayTime);
    m_shownAt = Platform::Clock::tickMs();
    PaintOnScreen();
    if (timed)
        m_timer.start(m_progress.Interval());
}

void CSplashScreenEx::PaintOnScreen()
{
    // The window system maps the window only as its events are read: wait
    // for that (a moment) so that the picture is on the screen before the
    // caller's work holds the program, not after it.
    QWindow *window = windowHandle();
    if (window && !window->isExposed()) {
        QTimer deadline;
        deadline.setSingleShot(true);
        deadline.start(kMappingWait);
        while (!window->isExposed() && deadline.isActive())
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
    }
    RepaintNow();
}

void CSplashScreenEx::OnTimer()
{
    // The caller's work may have held the timer back: the run goes on by
    // the time since the window was shown, so that it overlaps that work
    // instead of starting after it.
    const int interval = m_progress.Interval();
    const qint64 elapsed = Platform::Clock::tickMs() - m_shownAt;
    const int due = interval > 0 ? int(qBound(qint64(0), elapsed / interval, qint64(INT_MAX))) : 0;
    if (m_progress.TickTo(due))
        RepaintNow();
    else
        CloseNow();
}

void CSplashScreenEx::CloseNow()
{
    m_timer.stop();
    if (m_filtering) {
        qApp->removeEventFilter(this);
        m_filtering = false;
    }
    hide();
    deleteLater();
}

CSplashScreenEx *CSplashScreenEx::ShowStartupSplash(QWidget *parent, const QString &version, const QString &notice,
                                                    const QString &initialising)
{
    auto *splash = new CSplashScreenEx;
    splash->Create(FadeIn | FadeOut | DropShadow | CenterOnScreen, parent, 3000);
    splash->SetBitmap();

    const auto font = [](int points, bool bold) {
        QFont f = QApplication::font();
        f.setPointSize(points);
        f.setBold(bold);
        return f;
    };
    splash->SetTextFont(0, font(12, true));
    splash->SetTextRect(0, 210, 120, 430, 200);
    splash->SetTextColour(0, 0x8F471F);
    splash->SetText(0, version);
    splash->SetTextFont(1, font(10, false));
    splash->SetTextRect(1, 210, 220, 430, 280);
    splash->SetTextFormat(1, Qt::AlignCenter | Qt::TextWordWrap);
    splash->SetText(1, notice);
    splash->SetTextFont(2, font(8, true));
    splash->SetTextRect(2, 20, 290, 220, 315);
    splash->SetTextFormat(2, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine);
    splash->SetTextColour(2, 0x505050);
    splash->SetText(2, initialising);
    splash->SetProgressBar(0x2AD605, 6, 318, 408, 338);
    splash->Show();
    return splash;
}

void CSplashScreenEx::WaitUntilClosed(QObject *window)
{
    QPointer<QObject> guard(window);
    if (!guard)
        return;
    QEventLoop loop;
    connect(guard, &QObject::destroyed, &loop, &QEventLoop::quit);
    loop.exec();
}

bool CSplashScreenEx::eventFilter(QObject *watched, QEvent *event)
{
    if (m_filtering) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::KeyPress:
            CloseNow();
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CSplashScreenEx::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // Where the window system cannot shape windows, the key colour around
    // the picture is still never shown.
    if (!m_shape.isEmpty())
        painter.setClipRegion(m_shape);
    if (!m_picture.isNull())
        painter.drawImage(0, 0, m_picture);
    for (const Line &line : m_lines) {
        if (line.text.isEmpty())
            continue;
        painter.setFont(line.font);
        painter.setPen(ColorRefToQColor(line.colour));
        painter.drawText(line.rect, line.flags, line.text);
    }
    if (m_progress.BarShown())
        painter.fillRect(QRect(m_bar.left(), m_bar.top(), m_progress.FilledWidth(), m_bar.height()),
                         ColorRefToQColor(m_barColour));
}
