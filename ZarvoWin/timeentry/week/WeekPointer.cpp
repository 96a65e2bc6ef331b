#include "WeekPointer.h"

#include "CWeekGeometry.h"
#include "DayLayout.h"
#include "EntryBoxPlan.h"
#include "LocalTime.h"

#include <QDateTime>
#include <QTime>
#include <algorithm>
#include <cstdlib>

namespace {

constexpr int TopGrip = 7;
constexpr int BottomGrip = 8;
constexpr int ScrollBand = 20;
// The spring change skips one hour; a few more minutes are looked at in
// case a zone skips more.
constexpr int LongestGapMinutes = 180;

} // namespace

qint64 WallClockTime(const QDate &date, int minutes)
{
    using namespace Platform::LocalTime;
    minutes = std::clamp(minutes, 0, 1439);
    for (int m = minutes; m <= minutes + LongestGapMinutes && m < 1440; ++m) {
        const QTime wanted(m / 60, m % 60);
        const QDateTime local(date, wanted, Qt::LocalTime);
        if (local.isValid() && local.time() == wanted && local.date() == date)
            return local.toSecsSinceEpoch();
    }
    return midnight(date.addDays(1));
}

int ColumnAt(const QPoint &point, int dayCount, int clientWidth)
{
    if (point.x() <= CWeekGeometry::HoursColumnWidth || point.x() >= clientWidth || dayCount <= 0)
        return -1;
    if (dayCount == 1)
        return 0;
    const int width = CWeekGeometry::ColumnWidth(clientWidth, dayCount);
    if (width <= 0)
        return dayCount - 1;
    // The last column reaches the client's right edge.
    return std::min((point.x() - CWeekGeometry::HoursColumnWidth) / width, dayCount - 1);
}

tTimeAt TimeAt(const QPoint &point, std::span<const tDayColumn> days, const CWeekGeometry &geometry,
               int clientWidth)
{
    tTimeAt result;
    const int dayCount = int(days.size());
    if (dayCount == 0 || geometry.hourHeight <= 0)
        return result;
    bool valid = point.x() > CWeekGeometry::HoursColumnWidth && point.y() > geometry.headerHeight;
    int column = ColumnAt(point, dayCount, clientWidth);
    if (column < 0) {
        valid = false;
        column = point.x() >= clientWidth ? dayCount - 1 : 0;
    }
    const int dayHeight = 24 * geometry.hourHeight;
    int g = point.y() + CWeekGeometry::ScrollUnit * geometry.scrollPos - geometry.headerHeight;
    if (g < 0 || g >= dayHeight) {
        valid = false;
        g = std::clamp(g, 0, dayHeight - 1);
    }
    const int hour = g / geometry.hourHeight;
    const int minute = (g % geometry.hourHeight) * 60 / geometry.hourHeight;
    const QDate date = days[size_t(column)].Date;
    if (!date.isValid())
        return result;
    result.time = WallClockTime(date, hour * 60 + minute);
    result.valid = valid;
    return result;
}

tHit HitTest(const QPoint &point, std::span<const tDayColumn> days, std::span<const tTacheParams> columnEntries,
             const CWeekGeometry &geometry, int clientWidth)
{
    tHit hit;
    const int dayCount = int(days.size());
    hit.column = ColumnAt(point, dayCount, clientWidth);
    if (hit.column < 0 || point.y() <= geometry.headerHeight)
        return hit;
    const tDayColumn &day = days[size_t(hit.column)];
    const int g = CWeekGeometry::ScrollUnit * geometry.scrollPos + point.y() - geometry.headerHeight;
    for (size_t i = 0; i < columnEntries.size(); ++i) {
        const tTacheParams &entry = columnEntries[i];
        if (entry.top > g || g > entry.bottom)
            continue;
        const tTrackSpan span = EntryTrackSpan(entry, day, hit.column == dayCount - 1);
        if (point.x() >= span.left && point.x() < span.right) {
            hit.index = int(i);
            break;
        }
    }
    return hit;
}

DragState HoverState(const tTacheParams &entry, const QDate &columnDate, int y, const CWeekGeometry &geometry,
                     qint64 now, bool ctrl)
{
    using namespace Platform::LocalTime;
    const int hourHeight = geometry.hourHeight;
    const qint64 end = entry.Fin != 0 ? entry.Fin : std::max(now, entry.Debut);
    int top = CWeekGeometry::GridRow(entry.Debut, hourHeight);
    int bottom = CWeekGeometry::GridRow(end, hourHeight);
    const QDate startDay = localDate(entry.Debut);
    const QDate endDay = localDate(end);
    if (startDay == endDay && bottom - top < MinimumEntryHeight) {
        bottom = top + MinimumEntryHeight;
        if (bottom > 24 * hourHeight - 1) {
            bottom = 24 * hourHeight - 1;
            top = bottom - MinimumEntryHeight;
        }
    }
    const int screenTop = geometry.GridTop() + top;
    const int screenBottom = geometry.GridTop() + bottom;
    const DragState moveOrCopy = ctrl ? DragState::Copy : DragState::Move;
    const bool onTopGrip = startDay == columnDate && y < screenTop + TopGrip;
    if (entry.Fin != 0) {
        if (onTopGrip)
            return DragState::ResizeStart;
        if (endDay == columnDate && y > screenBottom - BottomGrip)
            return DragState::ResizeEnd;
        return moveOrCopy;
    }
    if (entry.Debut < now)
        return onTopGrip ? DragState::ResizeStart : DragState::None;
    return moveOrCopy;
}

DragZone ZoneAt(const QPoint &point, const QRect &prevArrow, const QRect &nextArrow, int headerHeight,
                int clientHeight)
{
    if (prevArrow.contains(point))
        return DragZone::PreviousDay;
    if (nextArrow.contains(point))
        return DragZone::NextDay;
    if (point.y() <= headerHeight + ScrollBand)
        return DragZone::ScrollUp;
    if (point.y() >= clientHeight - ScrollBand)
        return DragZone::ScrollDown;
    return DragZone::Elsewhere;
}

tPanStep PanStep(const QPoint &press, const QPoint &point, const CWeekGeometry &geometry, int clientWidth,
                 int dayCount)
{
    tPanStep step;
    step.press = press;
    step.scrollPos = geometry.scrollPos;
    const int units = (press.y() - point.y()) / CWeekGeometry::ScrollUnit;
    if (units != 0) {
        step.scrollPos = std::clamp(geometry.scrollPos + units, 0,
                                    std::max(0, geometry.scrollMax - geometry.scrollPage));
        step.scrolled = true;
        step.press.setY(point.y());
    }
    if (dayCount > 1) {
        const int width = CWeekGeometry::ColumnWidth(clientWidth, dayCount);
        if (width > 0 && std::abs(press.x() - point.x()) >= width) {
            step.dayStep = point.x() < press.x() ? +1 : -1;
            step.press.setX(point.x());
        }
    }
    return step;
}
