#pragma once
#include "tTacheFull.h"

#include <QtGlobal>
#include <functional>

// What a drag on the week and day view does to the entry it holds.
enum class DragState {
    None = 0,        // nothing under the pointer
    ResizeStart = 1, // the top edge of an entry
    ResizeEnd = 2,   // its bottom edge
    Move = 3,
    Copy = 4,
    Create = 5,      // a new entry drawn on empty grid space
};

// Start and end that a drag gives its entry; end 0 for a running entry.
struct tDragTimes
{
    qint64 start = 0;
    qint64 end = 0;
    friend bool operator==(const tDragTimes &, const tDragTimes &) = default;
};

// The times an entry takes when a drag of `state` ends with the pointer
// on the time `pointer`, having started on `anchor`; the drag ghost shows
// the same while the drag goes on. `snap` puts a time on the grid. The
// travel is counted on the wall clock, as the rows show it, and an edge
// moved into the hour the autumn change repeats stays in the pass nearer
// to where it was: on that night an entry of either pass lands where it
// was dropped.
// - Create: the snapped earlier and later of the two times.
// - Move and copy: the snapped start moved by the pointer's travel, the
//   duration kept.
// - Resize: the edge held moves by the travel and is snapped; dragged onto
//   another day it stops at 00:00:00 (moving back) or 23:59:59 (moving on)
//   of the day under the pointer; the other edge stays.
// Every finished entry but a new drawing lasts at least one minute. A
// running entry keeps end 0 and never starts after `now`.
tDragTimes ReleaseTimes(DragState state, const tTacheFull &entry, qint64 anchor, qint64 pointer,
                        const std::function<qint64(qint64)> &snap, qint64 now);

// The last second (23:59:59) of the local day of `t`.
qint64 LastSecondOfDay(qint64 t);
