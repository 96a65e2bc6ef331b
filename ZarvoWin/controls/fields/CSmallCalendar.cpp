#include "CSmallCalendar.h"

#include "CFirstDayOfWeek.h"
#include "CMarkedDays.h"
#include "Clock.h"
#include "LocalTime.h"
#include "Texts.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

// The short day names from Monday.
const Platform::TextId DayNameIds[] = {454, 455, 456, 457, 458, 459, 460};

const QColor NeighbourGrey(100, 100, 100);

} // namespace

CSmallCalendar::CSmallCalendar(QWidget *parent)
    : QWidget(parent)
    , m_month(SmallCalendarLayout::MonthStart(Platform::LocalTime::localDate(Platform::Clock::now())))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    LoadDayNames();
    ComputeLayout();
}

void CSmallCalendar::SetMarkedDays(CMarkedDays *days)
{
    m_days = days;
    update();
}

void CSmallCalendar::SetMonth(const QDate &month)
{
    if (!month.isValid())
        return;
    m_month = SmallCalendarLayout::MonthStart(month);
    ComputeLayout();
}

void CSmallCalendar::LoadDayNames()
{
    const int first = CFirstDayOfWeek::Configured();
    m_dayNames.clear();
    for (int i = 0; i < 7; ++i)
        m_dayNames << Platform::Texts::get(DayNameIds[(first + i + 5) % 7]);
    update();
}

void CSmallCalendar::ComputeLayout()
{
    m_firstShown = SmallCalendarLayout::FirstShownDate(m_month, CFirstDayOfWeek::Configured());
    m_rows = SmallCalendarLayout::Rows(m_month, m_firstShown);
    update();
}

SmallCalendarLayout CSmallCalendar::Layout() const
{
    // The rows and first day are those of the last ComputeLayout.
    SmallCalendarLayout layout;
    layout.month = m_month;
    layout.firstShown = m_firstShown;
    layout.rows = m_rows;
    layout.Fit(size());
    return layout;
}

QSize CSmallCalendar::sizeHint() const
{
    const QFontMetrics metrics(font());
    int widest = metrics.horizontalAdvance(QStringLiteral("00"));
    for (const QString &name : m_dayNames)
        widest = qMax(widest, metrics.horizontalAdvance(name));
    return QSize(7 * (widest + 8), 7 * (metrics.height() + 4));
}

QSize CSmallCalendar::minimumSizeHint() const
{
    return sizeHint();
}

void CSmallCalendar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setFont(font());
    const SmallCalendarLayout layout = Layout();
    if (layout.cellWidth <= 0 || layout.rowHeight <= 0)
        return;
    const int align = Qt::AlignCenter | Qt::TextSingleLine;

    painter.setPen(Qt::black);
    for (int column = 0; column < 7 && column < m_dayNames.size(); ++column)
        painter.drawText(layout.HeaderCell(column), align, m_dayNames.at(column));

    const int cells = layout.rows * 7;
    for (int index = 0; index < cells; ++index) {
        const QDate day = layout.firstShown.addDays(index);
        const QRect cell = layout.DayCell(index);
        if (m_days && m_days->IsDayOff(day))
            painter.fillRect(cell, QColor::fromRgb(DayOffShade));
        const bool shownMonth = day.year() == m_month.year() && day.month() == m_month.month();
        painter.setPen(shownMonth ? QColor(Qt::black) : NeighbourGrey);
        painter.drawText(cell, align, QString::number(day.day()));
    }
}

void CSmallCalendar::mousePressEvent(QMouseEvent *event)
{
    // Without a list of days off the click is swallowed.
    if (!m_days || event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    const QDate day = Layout().DayAt(event->position().toPoint());
    if (day.isValid()) {
        if (event->modifiers().testFlag(Qt::ShiftModifier) && m_anchor.isValid()) {
            m_days->SetRange(m_anchor, day, true);
        } else {
            m_anchor = day;
            m_days->SetRange(day, day, true);
        }
        update();
    }
    const QVariant id = property("controlId");
    emit clicked(id.isValid() ? id.toInt() : -1);
    event->accept();
}
