#include "DragTimes.h"

#include "LocalTime.h"

#include <QDateTime>
#include <algorithm>
#include <cstdlib>

namespace {

constexpr qint64 MinimumLength = 60;
constexpr qint64 Day = 86400;
// The spring change skips one hour; a zone that skips more is looked at
// up to three.
constexpr int LongestGapMinutes = 180;

// The instant's time on the local wall clock, in seconds, as if the local
// time were UTC: two rows of the grid are as far apart as their wall-clock
// times.
qint64 wallClock(qint64 t)
{
    return t + Platform::LocalTime::toLocal(t).offsetFromUtc();
}

// The instant whose wall-clock time is `wall`. Of the two instants of a
// time the autumn change repeats, the one nearer `near`; none for a time
// the spring change skips.
bool instantOf(qint64 wall, qint64 near, qint64 &instant)
{
    bool found = false;
    // Every offset in use around the time: a clock change lies within a
    // day of any time it makes ambiguous.
    for (const qint64 probe : {near, wall - Day, wall, wall + Day}) {
        const qint64 candidate = wall - Platform::LocalTime::toLocal(probe).offsetFromUtc();
        if (wallClock(candidate) != wall)
            continue;
        if (!found || std::llabs(candidate - near) < std::llabs(instant - near))
            instant = candidate;
        found = true;
    }
    return found;
}

// `t` moved by `travel` seconds of wall clock: an edge follows the rows
// the pointer travelled, in the pass of a repeated hour nearest to where
// it was; a time the spring change skips becomes the first instant after
// the change.
qint64 moveOnWallClock(qint64 t, qint64 travel)
{
    if (travel == 0)
        return t;
    const qint64 wall = wallClock(t) + travel;
    qint64 instant = 0;
    if (instantOf(wall, t, instant))
        return instant;
    const qint64 minuteStart = wall - wall % 60;
    for (int m = 1; m <= LongestGapMinutes; ++m) {
        if (instantOf(minuteStart + m * 60, t, instant))
            return instant;
    }
    return t + travel;
}

// A dragged edge that the snap left on another day than the pointer's
// stops at the edge of the pointer's day.
qint64 keepOnPointerDay(qint64 edge, qint64 pointer, qint64 travel)
{
    using namespace Platform::LocalTime;
    if (localDate(edge) == localDate(pointer))
        return edge;
    return travel < 0 ? dayStart(pointer) : LastSecondOfDay(pointer);
}

} // namespace

qint64 LastSecondOfDay(qint64 t)
{
    return Platform::LocalTime::nextDayStart(t) - 1;
}

tDragTimes ReleaseTimes(DragState state, const tTacheFull &entry, qint64 anchor, qint64 pointer,
                        const std::function<qint64(qint64)> &snap, qint64 now)
{
    if (state == DragState::Create)
        return {snap(std::min(anchor, pointer)), snap(std::max(anchor, pointer))};
    // The rows the pointer travelled, whichever pass of a repeated hour
    // its time or the anchor's resolved to.
    const qint64 travel = wallClock(pointer) - wallClock(anchor);
    const auto moved = [travel](qint64 t) { return moveOnWallClock(t, travel); };

    tDragTimes times;
    switch (state) {
    case DragState::ResizeStart:
        times.start = keepOnPointerDay(snap(moved(entry.Debut)), pointer, travel);
        break;
    case DragState::Move:
    case DragState::Copy:
        times.start = snap(moved(entry.Debut));
        break;
    default:
        times.start = entry.Debut;
        break;
    }

    if (entry.Fin == 0) {
        times.start = std::min(times.start, now);
        times.end = 0;
        return times;
    }
    switch (state) {
    case DragState::Move:
    case DragState::Copy:
        times.end = times.start + (entry.Fin - entry.Debut);
        break;
    case DragState::ResizeEnd:
        times.end = keepOnPointerDay(snap(moved(entry.Fin)), pointer, travel);
        break;
    default:
        times.end = entry.Fin;
        break;
    }
    if (times.start + MinimumLength >= times.end) {
        if (state == DragState::ResizeStart)
            times.start = times.end - MinimumLength;
        else
            times.end = times.start + MinimumLength;
    }
    return times;
}
