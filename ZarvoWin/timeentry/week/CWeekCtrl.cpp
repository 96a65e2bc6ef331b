#include "CWeekCtrl.h"

#include "CAppData.h"
#include "CConfiguration.h"
#include "CDayCache.h"
#include "CMyToolTipCtrl.h"
#include "CTimeEntryHost.h"
#include "CUsers.h"
#include "CWaitCursor.h"
#include "Clock.h"
#include "ColorRef.h"
#include "DayHeaderLine.h"
#include "DayLayout.h"
#include "EntryBoxPlan.h"
#include "LocalTime.h"
#include "Settings.h"
#include "TimeSnap.h"
#include "UiUtilities.h"
#include "ViewConfiguration.h"
#include "WeekGridPlan.h"
#include "WeekOverlays.h"
#include "WeekPictures.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>

#include <algorithm>

namespace {
const QString SettingsSection = QStringLiteral("Calendar");

// The zoom buttons in the top left corner.
const QPoint ZoomOutAt(4, 4);
const QPoint ZoomInAt(36, 4);
// Hour labels end at this column.
constexpr int HourLabelRight = 59;

QColor colour(quint32 colorRef)
{
    return ColorRefToQColor(colorRef);
}
} // namespace

CWeekCtrl::CWeekCtrl(CTimeEntryHost &host, QWidget *parent)
    : QAbstractScrollArea(parent), m_host(host)
{
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    // The view paints every pixel from its cached image.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    verticalScrollBar()->setSingleStep(1);
    // Scrolling with the bar gives the view the focus.
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, [this] {
        if (!hasFocus())
            setFocus(Qt::MouseFocusReason);
    });
    viewport()->setMouseTracking(true);
    m_scrollTimer.setInterval(ScrollTimerMs);
    connect(&m_scrollTimer, &QTimer::timeout, this, [this] { OnScrollTimer(); });
    m_dayTimer.setInterval(DayTimerMs);
    connect(&m_dayTimer, &QTimer::timeout, this, [this] { OnDayTimer(); });
    // The right button pans; its menu opens when it is released unmoved.
    viewport()->setContextMenuPolicy(Qt::PreventContextMenu);
    new CInterfaceDropTarget(viewport(), this);
    m_copyCursor = WeekPictures::CopyCursor();
    m_toolTip = new CMyToolTipCtrl(this);
    m_toolTip->SetIcon(WeekPictures::ToolTipIcon(), WeekPictures::IconSize);
    m_toolTip->Attach(viewport(), [this](const QPoint &point, tToolTipContent &content) {
        const tEntryTip tip = ToolTipAt(point);
        content.title = tip.label;
        content.description = tip.description;
        return !tip.label.isEmpty();
    });
    // Taken once: a colour drawn anew at every drawing would make the
    // stripes of entries without activity change colour each time.
    m_fallbackColour = GetRandomLightColor();
    LoadLook();
    LoadViewSettings();
    // No client size yet: the stored position is kept until the first one
    // (a provisional size would clamp it).
    m_geometry.Relayout(0);
    UpdateScrollBar();
}

CWeekCtrl::~CWeekCtrl()
{
    SaveViewSettings();
}

void CWeekCtrl::LoadLook()
{
    m_normalFont = font();
    m_boldFont = m_normalFont;
    m_boldFont.setWeight(QFont::Bold);
    m_normalMeasure = std::make_unique<CTextMeasure>(m_normalFont);
    m_boldMeasure = std::make_unique<CTextMeasure>(m_boldFont);
    m_texts = tEntryBoxTexts::Load();
    m_notesIcon = WeekPictures::NotesIcon();
    m_zoomOutIcon = WeekPictures::ZoomOutIcon();
    m_zoomInIcon = WeekPictures::ZoomInIcon();
    m_zoomOutGreyed = QPixmap::fromImage(GreyedIcon(m_zoomOutIcon.toImage()));
    m_zoomInGreyed = QPixmap::fromImage(GreyedIcon(m_zoomInIcon.toImage()));
    m_prevArrow = WeekPictures::PreviousDayArrow();
    m_nextArrow = WeekPictures::NextDayArrow();
}

void CWeekCtrl::LoadViewSettings()
{
    const Platform::Settings settings;
    m_geometry.zoomLevel = CWeekGeometry::ZoomFromSetting(
        settings.getInt(SettingsSection, u"", u"Zoom", CWeekGeometry::DefaultZoom));
    m_geometry.scrollPos = settings.getInt(SettingsSection, u"", u"Position", CWeekGeometry::DefaultScrollPos);
}

void CWeekCtrl::SaveViewSettings() const
{
    Platform::Settings settings;
    settings.setInt(SettingsSection, u"", u"Zoom", m_geometry.zoomLevel);
    settings.setInt(SettingsSection, u"", u"Position", m_geometry.scrollPos);
}

void CWeekCtrl::Relayout()
{
    m_geometry.Relayout(viewport()->height());
    UpdateScrollBar();
}

void CWeekCtrl::UpdateScrollBar()
{
    // The bar's maximum is the highest position, the last page shown whole.
    m_settingScrollBar = true;
    QScrollBar *bar = verticalScrollBar();
    bar->setRange(0, m_geometry.MaxScrollPos());
    bar->setPageStep(m_geometry.scrollPage);
    bar->setValue(m_geometry.scrollPos);
    m_settingScrollBar = false;
}

void CWeekCtrl::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    const QSize client = viewport()->size();
    if (client.height() <= 0)
        return;
    Relayout();
    const QSize arrow = m_prevArrow.isNull() ? QSize(WeekPictures::ArrowSize, WeekPictures::ArrowSize)
                                             : m_prevArrow.deviceIndependentSize().toSize();
    m_prevArrowRect = CWeekGeometry::PrevArrowRect(arrow, client.height());
    m_nextArrowRect = CWeekGeometry::NextArrowRect(arrow, client.width(), client.height());
    Invalidate();
}

void CWeekCtrl::scrollContentsBy(int, int)
{
    // The scrolled drawing is made anew rather than moved.
    if (m_settingScrollBar)
        return;
    if (m_geometry.SetScrollPos(verticalScrollBar()->value()))
        Invalidate();
}

void CWeekCtrl::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::LanguageChange || event->type() == QEvent::FontChange) {
        LoadLook();
        Invalidate();
    }
}

void CWeekCtrl::SetWeekMode(bool week)
{
    m_days.SetWeekMode(week);
}

void CWeekCtrl::Load(const CShownDays::tRange &range)
{
    m_host.DayCache().Load(range.from, range.to);
}

void CWeekCtrl::Invalidate()
{
    m_dirty = true;
    viewport()->update();
}

void CWeekCtrl::MarkDirty()
{
    m_dirty = true;
    if (isVisible())
        viewport()->update();
}

void CWeekCtrl::Reload()
{
    const CWaitCursor wait;
    const CConfiguration &config = ViewConfiguration();
    const QDate current = m_host.CurrentDate();
    Load(m_days.Choose(current, config.firstDayOfWeek));
    m_caption = m_days.Caption(config, current);
    UpdateTitle();
    Invalidate();
    viewport()->repaint();
}

void CWeekCtrl::ShiftDays(int n)
{
    Load(m_days.Shift(n));
    m_caption = m_days.Caption(ViewConfiguration(), m_host.CurrentDate());
    UpdateTitle();
    Invalidate();
}

void CWeekCtrl::StepBack()
{
    Load(m_days.Step(-1));
    m_caption = m_days.Caption(ViewConfiguration(), m_days.First());
    UpdateTitle();
    Invalidate();
}

void CWeekCtrl::StepForward()
{
    Load(m_days.Step(+1));
    m_caption = m_days.Caption(ViewConfiguration(), m_days.First());
    UpdateTitle();
    Invalidate();
}

void CWeekCtrl::UpdateTitle()
{
    const qint64 now = Platform::Clock::now();
    CDayCache &cache = m_host.DayCache();
    qint64 total = 0;
    for (const tDayColumn &day : m_days.Days())
        total += LayoutDay(cache.GetDay(day.Date), day.Date, m_geometry.hourHeight, now).total;
    SetTitle(total, ViewConfiguration());
}

void CWeekCtrl::SetTitle(qint64 total, const CConfiguration &config)
{
    const QString title = FrameTitle(m_caption, config.FormatDuration(total));
    if (title != m_title) {
        m_title = title;
        emit titleChanged(m_title);
    }
}

bool CWeekCtrl::IsRunningEntryVisible() const
{
    return m_days.IsRunningEntryVisible(m_host.RunningEntryId(), m_host.RunningEntryStart(),
                                        Platform::Clock::now());
}

qint64 CWeekCtrl::Snap(qint64 t) const
{
    const CConfiguration &config = ViewConfiguration();
    return SnapTime(t, config.snapToGrid, config.grid, m_modifiers.testFlag(Qt::AltModifier));
}

// ---------------------------------------------------------------------------
// Painting
// ---------------------------------------------------------------------------

void CWeekCtrl::paintEvent(QPaintEvent *)
{
    const QSize client = viewport()->size();
    const qreal ratio = viewport()->devicePixelRatioF();
    if (m_back.isNull() || m_back.deviceIndependentSize().toSize() != client || m_back.devicePixelRatio() != ratio) {
        m_dirty = true;
        m_back = QImage(client * ratio, QImage::Format_RGB32);
        m_back.setDevicePixelRatio(ratio);
    }
    if (m_dirty && !client.isEmpty()) {
        DrawBackground();
        m_dirty = false;
        ++m_redrawCount;
        // The boxes may have moved under the pointer.
        if (!m_buttonDown && viewport()->rect().contains(m_lastMouse))
            OnMouseMoveCore(true, m_lastMouse);
    }
    QPainter p(viewport());
    p.drawImage(0, 0, m_back);
    DrawOverlays(p);
}

void CWeekCtrl::DrawBackground()
{
    m_back.fill(Qt::white);
    QPainter p(&m_back);
    const CConfiguration &config = ViewConfiguration();
    DrawHeaderAndGrid(p, config);
    DrawEntries(p, config);
    DrawDaySeparators(p);
    DrawDayTotals(p, config);
}

void CWeekCtrl::DrawHeaderAndGrid(QPainter &p, const CConfiguration &config)
{
    const int width = viewport()->width();
    const int height = viewport()->height();
    const int dayCount = DayCount();
    const int columnWidth = CWeekGeometry::ColumnWidth(width, dayCount);
    const int header = m_geometry.headerHeight;
    const QDate current = m_host.CurrentDate();
    const QDate today = Platform::LocalTime::localDate(Platform::Clock::now());
    p.setFont(m_normalFont);

    // The days' columns and their working time.
    for (int i = 0; i < dayCount; ++i) {
        tDayColumn &day = m_days.Day(i);
        day.left = CWeekGeometry::ColumnLeft(i, width, dayCount);
        day.right = CWeekGeometry::ColumnRight(i, width, dayCount);
        const tDayColours colours = DayColours(day.Date, current, today);
        for (const tDayBand &band : PlanDayBands(day.Date, config, m_geometry, height))
            p.fillRect(day.left, band.top, day.right - day.left, band.bottom - band.top,
                       colour(band.working ? colours.working : colours.other));
    }

    // Zoom buttons.
    p.drawPixmap(ZoomOutAt, m_geometry.canZoomOut ? m_zoomOutIcon : m_zoomOutGreyed);
    p.drawPixmap(ZoomInAt, m_geometry.zoomLevel > 8 ? m_zoomInGreyed : m_zoomInIcon);

    // Hours: labels in the ruler, dashed lines across the days.
    const QFontMetrics metrics(m_normalFont);
    const int labelHeight = metrics.boundingRect(config.FormatMinutesOfDay(1439)).height();
    QPen dashed(colour(WeekColours::GridLine), 1, Qt::CustomDashLine);
    dashed.setDashPattern({3, 2});
    p.setPen(dashed);
    for (int h = 0; h < 24; ++h) {
        const int y = m_geometry.hourHeight * h + m_geometry.GridTop();
        const QRect label(0, y - labelHeight / 2, HourLabelRight + 1, labelHeight);
        if (label.bottom() + 1 > header) {
            p.save();
            p.setClipRect(0, header, HourLabelRight + 1, height - header);
            p.setPen(Qt::black);
            p.drawText(label, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                       config.FormatMinutesOfDay(h * 60));
            p.restore();
        }
        if (y >= header)
            p.drawLine(CWeekGeometry::HoursColumnWidth, y, width - 1, y);
    }

    // The header band.
    QLinearGradient gradient(0, 0, 0, header);
    gradient.setColorAt(0, colour(WeekColours::HeaderTop));
    gradient.setColorAt(1, colour(WeekColours::HeaderBottom));
    p.fillRect(QRect(CWeekGeometry::HoursColumnWidth, 0, width - CWeekGeometry::HoursColumnWidth, header), gradient);

    // Day titles, in the one form that fits every column (the week's label
    // comes with the day totals, which it makes room for).
    const HeaderDateForm form = ChooseHeaderDateForm(m_days.Days(), config, columnWidth,
                                                     [this](QStringView t) { return m_normalMeasure->Width(t); });
    p.setPen(Qt::black);
    for (int i = 0; i < dayCount; ++i) {
        const tDayColumn &day = m_days.Day(i);
        const QRect upper(day.left, 0, day.right - day.left, header / 2);
        p.drawText(upper, Qt::AlignCenter | Qt::TextSingleLine, HeaderDate(day.Date, form, config));
    }

    // The ruler's edge.
    p.fillRect(CWeekGeometry::HoursColumnWidth - 1, 0, 2, height, colour(WeekColours::GridLine));
}

void CWeekCtrl::DrawEntries(QPainter &p, const CConfiguration &config)
{
    const qint64 now = Platform::Clock::now();
    tEntryBoxSettings s;
    s.headerHeight = m_geometry.headerHeight;
    s.scrollPos = m_geometry.scrollPos;
    s.clientTop = 0;
    s.clientBottom = viewport()->height();
    s.dayCount = DayCount();
    s.today = Platform::LocalTime::localDate(now);
    s.selectedId = m_host.SelectedEntryId();
    const CUsers *users = CAppData::Users();
    s.SetUser(users ? users->Current() : nullptr);
    s.neutralColour = config.neutralColour;
    s.fallbackColour = m_fallbackColour;
    s.store = CAppData::ProjectStore();
    s.config = &config;
    s.texts = m_texts;
    s.lineHeight = QFontMetrics(m_boldFont).boundingRect(QStringLiteral("Wfpj")).height();
    s.boldWidth = [this](QStringView t) { return m_boldMeasure->Width(t); };
    s.normalWidth = [this](QStringView t) { return m_normalMeasure->Width(t); };

    CDayCache &cache = m_host.DayCache();
    const int last = DayCount() - 1;
    for (int i = 0; i <= last; ++i) {
        tDayColumn &day = m_days.Day(i);
        const std::span<tTacheParams> entries = cache.GetDay(day.Date);
        const tDayLayout layout = LayoutDay(entries, day.Date, m_geometry.hourHeight, now);
        day.trackCount = layout.trackCount;
        day.total = layout.total;
        for (const tTacheParams &entry : entries)
            DrawEntryBox(p, PlanEntryBox(entry, day, i == last, s));
    }
}

void CWeekCtrl::DrawEntryBox(QPainter &p, const tEntryBoxPlan &plan)
{
    if (!plan.visible)
        return;
    const QRect box(plan.left, plan.top, plan.right - plan.left, plan.bottom - plan.top);
    p.fillRect(box, colour(plan.fill));
    p.setPen(colour(plan.frame));
    p.setBrush(Qt::NoBrush);
    p.drawRect(box.adjusted(0, 0, -1, -1));
    for (const tEntryBoxPlan::tStripe &stripe : plan.stripes)
        p.fillRect(plan.left, stripe.top, tEntryBoxPlan::StripeWidth, stripe.bottom - stripe.top,
                   colour(stripe.colour));
    if (plan.notesIcon)
        p.drawPixmap(plan.iconLeft, plan.iconTop, m_notesIcon);
    p.setPen(colour(plan.text));
    for (const tEntryBoxPlan::tLine &line : plan.lines) {
        for (const tEntryBoxPlan::tPiece &piece : line.pieces) {
            p.setFont(piece.bold ? m_boldFont : m_normalFont);
            // A "..." that has no room left is cut at the line's end.
            p.drawText(QRect(piece.left, line.top, std::max(line.right - piece.left, 0), line.bottom - line.top),
                       Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, piece.text);
        }
    }
}

void CWeekCtrl::DrawDaySeparators(QPainter &p)
{
    const int dayCount = DayCount();
    if (dayCount <= 1)
        return;
    const int width = viewport()->width();
    const int height = viewport()->height();
    const int columnWidth = CWeekGeometry::ColumnWidth(width, dayCount);
    for (int i = 1; i < dayCount; ++i) {
        const int x = CWeekGeometry::HoursColumnWidth + i * columnWidth;
        p.fillRect(x, 0, 1, height, colour(WeekColours::GridLine));
    }
}

void CWeekCtrl::DrawDayTotals(QPainter &p, const CConfiguration &config)
{
    const int header = m_geometry.headerHeight;
    p.setFont(m_normalFont);
    p.setPen(Qt::black);
    const int dayCount = DayCount();
    const TextWidth width = [this](QStringView t) { return m_normalMeasure->Width(t); };
    qint64 sum = 0;
    for (int i = 0; i < dayCount; ++i) {
        const tDayColumn &day = m_days.Day(i);
        sum += day.total;
        // The week's label at the left on the days that begin a week (on
        // the one day of the day view), shorter where the total needs the
        // room; the total at the right.
        QStringList labels;
        if (dayCount == 1 || config.IsWeekStart(day.Date))
            labels << config.FormatWeekNumber(day.Date, false) << config.FormatWeekNumber(day.Date, true);
        labels << QString();
        const QString total = day.total > 0 ? config.FormatDuration(day.total) + u' ' : QString();
        const tDayHeaderLine line = FitDayHeaderLine(labels, total, day.right - day.left - 2, width);
        const QRect lower(day.left + 2, header / 2, day.right - day.left - 2, header - header / 2);
        if (!line.left.isEmpty())
            p.drawText(lower, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, line.left);
        if (!line.right.isEmpty())
            p.drawText(lower, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, line.right);
    }
    SetTitle(sum, config);
}

void CWeekCtrl::DrawOverlays(QPainter &p)
{
    if (m_dragActive) {
        p.save();
        p.setOpacity(WeekColours::GhostOpacity / 255.0);
        p.drawPixmap(m_prevArrowRect.topLeft(), m_prevArrow);
        p.drawPixmap(m_nextArrowRect.topLeft(), m_nextArrow);
        p.restore();
        DrawGhost(p, ViewConfiguration());
    } else if (m_current.Id != -1) {
        DrawGrips(p);
    }
}

void CWeekCtrl::DrawGhost(QPainter &p, const CConfiguration &config)
{
    const qint64 now = Platform::Clock::now();
    const tDragTimes times = ReleaseTimes(m_dragState, m_current, m_dragAnchor, m_dragPointer,
                                          [this](qint64 t) { return Snap(t); }, now);
    const bool running = m_currentRunning && m_dragState != DragState::Create;
    const tGhostPlan plan = PlanGhost(times.start, running ? now : times.end, m_dragState == DragState::ResizeStart,
                                      running, m_days.Days(), m_geometry, viewport()->height(), config);
    p.save();
    p.setOpacity(WeekColours::GhostOpacity / 255.0);
    for (const QRect &piece : plan.pieces)
        p.fillRect(piece, colour(WeekColours::Ghost));
    p.restore();
    if (!plan.pieces.empty())
        m_ghostRect = plan.pieces.back();
    p.setFont(m_boldFont);
    p.setPen(Qt::black);
    const int flags = Qt::AlignCenter | Qt::TextSingleLine;
    if (plan.hasStartLabel)
        p.drawText(plan.startLabel, flags, plan.startText);
    if (plan.hasEndLabel)
        p.drawText(plan.endLabel, flags, plan.endText);
}

void CWeekCtrl::DrawGrips(QPainter &p)
{
    p.setPen(QPen(colour(WeekColours::Grip), 1, Qt::DotLine));
    for (const QLine &line : PlanGrips(m_current, m_days.Days(), m_geometry, viewport()->height()))
        p.drawLine(line);
}
