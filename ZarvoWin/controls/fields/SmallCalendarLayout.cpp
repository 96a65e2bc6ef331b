#include "SmallCalendarLayout.h"

#include <QPoint>

QDate SmallCalendarLayout::MonthStart(const QDate &month)
{
    return month.isValid() ? QDate(month.year(), month.month(), 1) : QDate();
}

int SmallCalendarLayout::Weekday(const QDate &date)
{
    // Qt counts Monday = 1 .. Sunday = 7.
    return date.dayOfWeek() % 7 + 1;
}

QDate SmallCalendarLayout::FirstShownDate(const QDate &month, int firstDayOfWeek)
{
    const QDate first = MonthStart(month);
    if (!first.isValid() || firstDayOfWeek < 1 || firstDayOfWeek > 7)
        return first;
    return first.addDays(-((Weekday(first) - firstDayOfWeek + 7) % 7));
}

int SmallCalendarLayout::Rows(const QDate &month, const QDate &firstShown)
{
    const QDate first = MonthStart(month);
    if (!first.isValid() || !firstShown.isValid())
        return 4;
    const qint64 leading = firstShown.daysTo(first);
    const qint64 cells = leading + first.daysInMonth();
    return cells > 35 ? 6 : cells > 28 ? 5 : 4;
}

SmallCalendarLayout SmallCalendarLayout::Compute(const QSize &size, const QDate &month, int firstDayOfWeek)
{
    SmallCalendarLayout layout;
    layout.month = MonthStart(month);
    layout.firstShown = FirstShownDate(month, firstDayOfWeek);
    layout.rows = Rows(month, layout.firstShown);
    layout.Fit(size);
    return layout;
}

void SmallCalendarLayout::Fit(const QSize &size)
{
    const int width = qMax(0, size.width());
    const int height = qMax(0, size.height());
    cellWidth = width / 7;
    leftOffset = (width - 7 * cellWidth) / 2;
    rowHeight = height / (rows + 1);
}

QRect SmallCalendarLayout::HeaderCell(int column) const
{
    return QRect(leftOffset + column * cellWidth, 0, cellWidth, rowHeight);
}

QRect SmallCalendarLayout::DayCell(int index) const
{
    return QRect(leftOffset + (index % 7) * cellWidth, (index / 7 + 1) * rowHeight, cellWidth, rowHeight);
}

QDate SmallCalendarLayout::DayAt(const QPoint &point) const
{
    if (cellWidth <= 0 || rowHeight <= 0 || !firstShown.isValid())
        return {};
    const int x = point.x() - leftOffset;
    const int y = point.y() - rowHeight;
    if (x < 0 || x >= 7 * cellWidth || y < 0 || y >= rows * rowHeight)
        return {};
    return firstShown.addDays(x / cellWidth + (y / rowHeight) * 7);
}
