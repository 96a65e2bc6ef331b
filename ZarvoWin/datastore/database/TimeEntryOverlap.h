#pragma once
#include "tDebutFin.h"
#include "tTacheFull.h"

#include <optional>
#include <vector>

// How a new or moved time entry meets the live entries it collides with.
// Plain computations on records: the database layer reads the colliding
// rows and applies what these functions decide, so every rule can be
// tried here without a database.
//
// "Colliding" rows are those the overlap query returns for the entry:
// live rows other than the entry itself that start before its end (any
// start for a running entry) and end after its start or still run.
namespace TimeEntryOverlap {

// Collisions of up to this many seconds at an entry's edges are absorbed
// by trimming the entry instead of being shown to the user.
constexpr qint64 EdgeTolerance = 30;

// True when `row` is one of the rows the overlap query returns for `entry`.
bool Collides(const tTacheFull &entry, const tTacheFull &row);

// The edge tolerance. When every colliding row touches the entry only
// within the tolerance, the entry is trimmed in place to the free part and
// the result is true; otherwise the entry is left alone and the result is
// false. Rows are taken in ascending start order.
//
// For a running entry a row passes when it has ended no later than 30 s
// after the entry's start; the start then moves to the latest such end.
// For an entry with an end, a row must pass both edge tests (end at most
// 30 s after the entry's start, start at most 30 s before the entry's
// end), so only entries shorter than a minute, or one ending where a
// running row starts, are ever trimmed.
bool TrimToEdges(tTacheFull &entry, const std::vector<tTacheFull> &colliding);

// The longest period inside the entry's own span that no colliding row
// occupies, the earliest of equally long ones; nothing when there is none.
// A running row occupies everything from its start on, so it ends no gap.
// For a running entry whose colliding rows have all ended, the result is
// the open period (Fin 0) that starts where the last of them ends: the
// entry keeps running from there.
std::optional<tDebutFin> LongestFreeGap(const tTacheFull &entry,
                                        const std::vector<tTacheFull> &colliding);

// What an overwrite does to each colliding row so that the entry's period
// becomes free. Ids in ascending start order.
struct tOverwritePlan
{
    std::vector<int> deleted;       // soft-deleted: they lie inside the entry
    std::vector<int> cut;           // they now end at the entry's start
    std::vector<int> moved;         // they now start at the entry's end
    std::vector<tTacheFull> split;  // spanning rows as they stand: each is
                                    // cut at the entry's start and its
                                    // remainder, from the entry's end to
                                    // the row's old end (0: still running),
                                    // becomes a new entry with the same fields

    bool empty() const { return deleted.empty() && cut.empty() && moved.empty() && split.empty(); }
};

// For an entry with an end: rows inside it (ending at or before its end)
// are deleted, rows spanning it are split, rows that began before and end
// inside are cut, rows that begin inside and end after (or run) are moved.
// For a running entry: every row starting at or after its start is
// deleted and every earlier row still open at its start is cut.
// Afterwards no live finished row overlaps the entry.
tOverwritePlan PlanOverwrite(const tTacheFull &entry, const std::vector<tTacheFull> &colliding);

} // namespace TimeEntryOverlap
