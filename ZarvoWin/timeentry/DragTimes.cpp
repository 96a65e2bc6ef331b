#include "DragTimes.h"

#include "LocalTime.h"

#include <algorithm>

namespace {

constexpr qint64 MinimumLength = 60;

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
    const qint64 travel = pointer - anchor;
    if (state == DragState::Create)
        return {snap(std::min(anchor, pointer)), snap(std::max(anchor, pointer))};

    tDragTimes times;
    switch (state) {
    case DragState::ResizeStart:
        times.start = keepOnPointerDay(snap(entry.Debut + travel), pointer, travel);
        break;
    case DragState::Move:
    case DragState::Copy:
        times.start = snap(entry.Debut + travel);
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
        times.end = keepOnPointerDay(snap(entry.Fin + travel), pointer, travel);
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
