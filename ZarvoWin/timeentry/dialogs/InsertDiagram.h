#pragma once
#include "tTacheFull.h"

#include <QRect>
#include <QSize>
#include <vector>

// The small diagram each choice button of the overlap dialog plays: the
// entry being stored as a bar in the first row, the entries it overlaps as
// bars in the third, and, step by step, what the choice does to them.
// Plain computations on the entries and the button's size, so the widget
// only paints what these give.
namespace InsertDiagram {

// The choices: the existing entries give way, or the new one moves into
// the longest free time of its span.
constexpr int OthersGiveWay = 0;
constexpr int FitIntoFreeTime = 1;

// The drawing area starts at (AreaLeft, AreaTop) and leaves AreaLeft on
// the right and AreaBottom below.
constexpr int AreaLeft = 10;
constexpr int AreaTop = 40;
constexpr int AreaBottom = 10;
// The length shown for a running entry whose span gives none (it starts
// after the other running entry it overlaps).
constexpr qint64 MinimumSpan = 3600;

struct tLayout
{
    QRect area;
    int rowHeight = 0;
    // Pixels an edge moves per tick, at least 1.
    int step = 1;
    // One bar per entry, in the order of the entries: bar 0 the entry being
    // stored (first row), the others in the third row. A bar that starts
    // before the shown time begins just left of the area; a running one
    // reaches just past its right edge.
    std::vector<QRect> bars;
    // Where the new entry goes with FitIntoFreeTime, when there is room.
    bool hasGap = false;
    int gapLeft = 0;
    int gapRight = 0;
    // The times at the area's two edges.
    qint64 shownStart = 0;
    qint64 shownEnd = 0;
};

// `entries`: the entry being stored, then the entries it overlaps in order
// of start. The area shows from a quarter of the new entry's length before
// its start to a quarter after its end (for a running new entry, the
// length up to the end of the last entry, or up to its start when that one
// runs too; never less than MinimumSpan). Bars narrower than two fifths of
// the row height (at least 2 pixels) are widened about their middle. The
// free time is the one the database's fit uses (TimeEntryOverlap).
tLayout LayOut(const std::vector<tTacheFull> &entries, const QSize &size);

// One bar to draw and the entry it stands for.
struct tBar
{
    QRect rect;
    int entry = 0;
};

// The bars at tick `tick` (0: as laid out) of the animation of `choice`.
// OthersGiveWay: the existing bars the new one covers or touches shrink
// towards its edges (one lying inside it shrinks to nothing; one spanning
// it is split into two). FitIntoFreeTime: the new bar moves down into the
// third row and narrows to the free time (it stays where it is without
// one). Every edge moves `step` pixels a tick; `finished` tells whether
// the movement is complete at that tick. Existing bars come first, bar 0
// last (drawn on top); bars of no width are left out.
std::vector<tBar> Frame(const tLayout &layout, int choice, int tick, bool *finished = nullptr);

} // namespace InsertDiagram
