#include "CDay.h"

#include "CAppData.h"
#include "CCalendarCtrl.h"
#include "CConfiguration.h"
#include "CDayCache.h"
#include "CTimeEntryHost.h"
#include "CUsers.h"
#include "Clock.h"
#include "ColorRef.h"
#include "DayHeaderLine.h"
#include "EntryBoxPlan.h"
#include "LocalTime.h"
#include "MonthLayout.h"
#include "ViewConfiguration.h"
#include "WeekGridPlan.h"

#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {

struct tCellColours
{
    quint32 header;
    quint32 body;
};

// The current date, today, a worked day, any other day.
tCellColours cellColours(const QDate &day, const QDate &current, const QDate &today, const CConfiguration &config)
{
    if (day == current)
        return {0x93E0F7, 0x9CE7FF};
    if (day == today)
        return {0xECE2D7, 0xF4EADF};
    if (IsWorkedDay(day, config))
        return {0xF5F5F5, 0xFFFFFF};
    return {0xE6E6E6, 0xF0F0F0};
}

// The day's header forms, longest first: " 1 mars" on the 1st (the short
// month where the full one does not fit), " 12" on other days, the week
// after the day that begins one; where the day's total needs the room,
// the week goes, then the month's name.
QStringList headerTexts(const QDate &day, const CConfiguration &config)
{
    const QString number = QStringLiteral(" %1").arg(day.day());
    if (!config.IsWeekStart(day)) {
        if (day.day() != 1)
            return {number};
        return {u' ' + config.FormatDayMonth(day, true), u' ' + config.FormatDayMonth(day, false), number};
    }
    const QString week = u' ' + config.FormatWeekNumber(day, true);
    if (day.day() != 1)
        return {number + week, number};
    const QString shortDay = u' ' + config.FormatDayMonth(day, false);
    return {u' ' + config.FormatDayMonth(day, true) + week, shortDay + week, shortDay, number};
}

} // namespace

CDay::CDay(CCalendarCtrl &calendar, QWidget *parent)
    : QWidget(parent), m_calendar(calendar)
{
    setObjectName(QStringLiteral("CDay"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_bar = new QScrollBar(Qt::Vertical, this);
    m_bar->hide();
    connect(m_bar, &QScrollBar::valueChanged, this, [this](int value) {
        if (value != m_scrollPos) {
            m_scrollPos = value;
            update();
        }
    });
}

bool CDay::SetDate(const QDate &date)
{
    if (!date.isValid())
        return false;
    m_date = date;
    m_scrollPos = 0;
    UpdateScrollBar();
    update();
    return true;
}

int CDay::EntryCount() const
{
    return m_date.isValid() ? m_calendar.Host().DayCache().GetCount(m_date) : 0;
}

int CDay::VisibleRows() const
{
    return std::max(0, (height() - HeaderHeight) / RowHeight);
}

int CDay::ClientWidth() const
{
    return m_bar->isVisible() ? width() - m_bar->width() : width();
}

void CDay::UpdateScrollBar()
{
    const int count = EntryCount();
    if (height() < count * RowHeight + HeaderHeight) {
        const int page = VisibleRows();
        const int highest = std::max(count - page, 0);
        m_bar->setRange(0, highest);
        m_bar->setPageStep(std::max(page, 1));
        m_bar->setSingleStep(1);
        m_bar->setGeometry(width() - m_bar->sizeHint().width(), 0, m_bar->sizeHint().width(), height());
        m_scrollPos = std::clamp(m_scrollPos, 0, highest);
        m_bar->setValue(m_scrollPos);
        m_bar->show();
    } else {
        m_scrollPos = 0;
        m_bar->hide();
    }
}

void CDay::SetScrollPos(int pos)
{
    if (m_bar->isVisible())
        m_bar->setValue(pos);
}

int CDay::HitTest(const QPoint &point) const
{
    if (point.y() <= HeaderHeight || !m_date.isValid())
        return -1;
    const int row = (point.y() - HeaderHeight) / RowHeight;
    if (height() < row * RowHeight + 45)
        return -1;
    const int index = row + m_scrollPos;
    return index < EntryCount() ? index : -1;
}

void CDay::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    UpdateScrollBar();
}

void CDay::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const CConfiguration &config = ViewConfiguration();
    CTimeEntryHost &host = m_calendar.Host();
    const qint64 now = Platform::Clock::now();
    const QDate today = Platform::LocalTime::localDate(now);
    const int w = ClientWidth();
    const int h = height();
    const tCellColours colours = cellColours(m_date, host.CurrentDate(), today, config);
    p.fillRect(0, 0, w, HeaderHeight, ColorRefToQColor(colours.header));
    p.fillRect(0, HeaderHeight, w, h - HeaderHeight, ColorRefToQColor(colours.body));
    p.setFont(m_calendar.CellFont());
    const QFontMetrics metrics(m_calendar.CellFont());

    tEntryBoxSettings s;
    s.selectedId = host.SelectedEntryId();
    const CUsers *users = CAppData::Users();
    s.SetUser(users ? users->Current() : nullptr);
    s.neutralColour = config.neutralColour;
    s.fallbackColour = m_calendar.FallbackColour();
    s.store = CAppData::ProjectStore();
    s.config = &config;
    s.texts = m_calendar.Texts();
    s.today = today;

    const int left = 2;
    const int right = w - 2;
    const int visible = VisibleRows();
    CDayCache &cache = host.DayCache();
    const int count = m_date.isValid() ? cache.GetCount(m_date) : 0;
    const std::span<tTacheParams> entries = m_date.isValid() ? cache.GetDay(m_date) : std::span<tTacheParams>();
    m_total = MonthDayTotal(entries, m_date, now);
    p.setPen(Qt::black);
    int top = RowTop;
    for (int i = m_scrollPos; i < count && i < m_scrollPos + visible; ++i, top += RowHeight) {
        const tTacheParams &entry = entries[size_t(i)];
        const tMonthEntryPlan plan = PlanMonthEntry(entry, m_date, s);
        p.fillRect(left, top, right - left, RowDrawnHeight, ColorRefToQColor(plan.background));
        p.fillRect(left, top, 10, 15, ColorRefToQColor(plan.upperMark));
        if (plan.hasLowerMark)
            p.fillRect(left, top + 15, 10, RowDrawnHeight - 15, ColorRefToQColor(plan.lowerMark));
        if (right - left - 15 <= 40)
            continue;
        int textRight = w - 4;
        if (!entry.Notes.isEmpty()) {
            p.drawPixmap(right - 26, top + 2, m_calendar.NotesIcon());
            textRight -= 28;
        }
        const int textLeft = 14;
        const int room = std::max(textRight - textLeft, 0);
        // Many short texts on every painting: cut by the measured widths of
        // their characters and drawn on their base lines, which spares the
        // text layout of each.
        const TextWidth width = [this](QStringView t) { return m_calendar.Measure().Width(t); };
        const auto baseline = [&metrics](int lineTop, int lineHeight) {
            return lineTop + (lineHeight + metrics.ascent() - metrics.descent()) / 2;
        };
        p.save();
        p.setClipRect(textLeft, top, room, RowDrawnHeight);
        p.drawText(QPoint(textLeft, baseline(top, 15)), FitText(plan.label, room, width).text);
        p.drawText(QPoint(textLeft, baseline(top + 15, 13)), FitText(plan.times, room, width).text);
        p.restore();
    }

    if (!m_date.isValid())
        return;
    const QRect header(0, 0, w, HeaderHeight);
    const tDayHeaderLine line =
        FitDayHeaderLine(headerTexts(m_date, config), m_total > 0 ? config.FormatDuration(m_total) + u' ' : QString(), w,
                         [this](QStringView t) { return m_calendar.Measure().Width(t); });
    p.drawText(header, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, line.left);
    if (!line.right.isEmpty())
        p.drawText(header, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, line.right);
}

void CDay::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    if (point.y() > HeaderHeight) {
        const int index = HitTest(point);
        const tTacheParams *entry = index >= 0 ? m_calendar.Host().DayCache().GetEntry(m_date, index) : nullptr;
        m_calendar.SelectEntry(entry ? entry->Id : -1);
    } else {
        m_calendar.OnDayHeaderClicked(m_date);
    }
    event->accept();
}

void CDay::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    if (point.y() <= HeaderHeight) {
        m_calendar.OnDayHeaderDoubleClicked();
        return;
    }
    const int index = HitTest(point);
    if (const tTacheParams *entry = index >= 0 ? m_calendar.Host().DayCache().GetEntry(m_date, index) : nullptr)
        m_calendar.OnEntryDoubleClicked(m_date, *entry);
}

void CDay::mouseMoveEvent(QMouseEvent *event)
{
    // The wheel goes to the calendar.
    if (!m_calendar.hasFocus())
        m_calendar.setFocus(Qt::MouseFocusReason);
    const QPoint point = event->position().toPoint();
    if (point != m_lastMouse) {
        m_lastMouse = point;
        const int index = HitTest(point);
        m_calendar.ShowEntryTip(index >= 0 ? m_calendar.Host().DayCache().GetEntry(m_date, index) : nullptr);
    }
    QWidget::mouseMoveEvent(event);
}

void CDay::contextMenuEvent(QContextMenuEvent *event)
{
    m_calendar.OnCellContextMenu(*this, event->pos(), event->globalPos());
    event->accept();
}

bool CDay::event(QEvent *event)
{
    if (event->type() == QEvent::Leave)
        m_lastMouse = QPoint(-1, -1);
    if (event->type() == QEvent::ToolTip) {
        // The calendar's tooltip answers for every day.
        event->ignore();
        return false;
    }
    return QWidget::event(event);
}
