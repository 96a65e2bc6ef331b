#include "WeekOverlays.h"

#include "CConfiguration.h"
#include "CWeekGeometry.h"
#include "DayLayout.h"
#include "EntryBoxPlan.h"
#include "LocalTime.h"

#include <algorithm>

namespace {

constexpr qint64 MinimumLength = 60;
constexpr int MaxGripHalfWidth = 15;

// The index of the shown day holding the local date of `t`; -1 when none.
int dayIndexOf(std::span<const tDayColumn> days, qint64 t)
{
    const QDate date = Platform::LocalTime::localDate(t);
    for (size_t i = 0; i < days.size(); ++i) {
        if (days[i].Date == date)
            return int(i);
    }
    return -1;
}

// A label band of the ghost, kept inside the client.
QRect labelBand(int left, int right, int top, int clientHeight)
{
    top = std::clamp(top, 0, std::max(clientHeight - tGhostPlan::LabelHeight, 0));
    return QRect(left, top, right - left, tGhostPlan::LabelHeight);
}

} // namespace

tGhostPlan PlanGhost(qint64 start, qint64 end, bool resizingStart, bool running, std::span<const tDayColumn> days,
                     const CWeekGeometry &geometry, int clientHeight, const CConfiguration &config)
{
    using namespace Platform::LocalTime;
    tGhostPlan plan;
    if (start > end) {
        if (resizingStart)
            start = end;
        else
            end = start;
    }
    QRect last;
    for (const tDayColumn &day : days) {
        if (!day.Date.isValid())
            continue;
        const qint64 first = midnight(day.Date);
        const qint64 lastSecond = midnight(day.Date.addDays(1)) - 1;
        if (end < first || start > lastSecond)
            continue;
        if (end - start <= MinimumLength) {
            if (resizingStart)
                start = end - MinimumLength;
            else
                end = start + MinimumLength;
        }
        const bool startsHere = localDate(start) == day.Date;
        const bool endsHere = localDate(end) == day.Date;
        const int top = startsHere ? std::max(geometry.ClientRow(start), geometry.headerHeight)
                                   : geometry.headerHeight;
        const int bottom = endsHere ? geometry.ClientRow(end) : clientHeight;
        const QRect piece(QPoint(day.left, top), QPoint(day.right - 1, bottom - 1));
        plan.pieces.push_back(piece);
        last = piece;
        if (startsHere) {
            plan.hasStartLabel = true;
            plan.startLabel = labelBand(day.left, day.right, top - tGhostPlan::LabelHeight, clientHeight);
            plan.startText = config.FormatLocaleTime(start);
        }
    }
    if (!running && !plan.pieces.empty()) {
        plan.hasEndLabel = true;
        plan.endLabel = labelBand(last.left(), last.right() + 1, last.bottom() + 1, clientHeight);
        plan.endText = config.FormatLocaleTime(end);
    }
    return plan;
}

std::vector<QLine> PlanGrips(const tTacheParams &entry, std::span<const tDayColumn> days,
                             const CWeekGeometry &geometry, int clientHeight)
{
    std::vector<QLine> lines;
    const int lastIndex = int(days.size()) - 1;
    const auto across = [&](int dayIndex, int y) {
        const tTrackSpan span = EntryTrackSpan(entry, days[size_t(dayIndex)], dayIndex == lastIndex);
        const int middle = (span.left + span.right) / 2;
        const int half = std::min(span.trackWidth / 4, MaxGripHalfWidth);
        lines.emplace_back(middle - half, y, middle + half, y);
    };

    const int startDay = dayIndexOf(days, entry.Debut);
    const int startRow = CWeekGeometry::GridRow(entry.Debut, geometry.hourHeight);
    if (startDay >= 0 && startRow - CWeekGeometry::ScrollUnit * geometry.scrollPos > 0) {
        const int y = geometry.GridTop() + startRow;
        across(startDay, y + 2);
        across(startDay, y + 3);
    }
    if (entry.Fin == 0)
        return lines;
    const int endDay = dayIndexOf(days, entry.Fin);
    if (endDay < 0)
        return lines;
    int endRow = CWeekGeometry::GridRow(entry.Fin, geometry.hourHeight);
    if (endDay == startDay && endRow - startRow < MinimumEntryHeight)
        endRow = startRow + MinimumEntryHeight;
    const int y = geometry.GridTop() + endRow - 1;
    // Inside the client and below the header, where the box's bottom shows.
    if (y < clientHeight && y - 3 >= geometry.headerHeight) {
        across(endDay, y - 2);
        across(endDay, y - 3);
    }
    return lines;
}
