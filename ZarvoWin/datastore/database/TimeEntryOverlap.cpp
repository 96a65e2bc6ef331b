#include "TimeEntryOverlap.h"

#include <algorithm>
#include <limits>

namespace TimeEntryOverlap {

namespace {

constexpr qint64 Open = std::numeric_limits<qint64>::max();

// The end of a row as an instant: a running row is open for good.
qint64 endOf(const tTacheFull &row)
{
    return row.Fin == 0 ? Open : row.Fin;
}

std::vector<tTacheFull> collidingInOrder(const tTacheFull &entry, const std::vector<tTacheFull> &rows)
{
    std::vector<tTacheFull> out;
    for (const tTacheFull &row : rows) {
        if (Collides(entry, row))
            out.push_back(row);
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const tTacheFull &a, const tTacheFull &b) { return a.Debut < b.Debut; });
    return out;
}

} // namespace

bool Collides(const tTacheFull &entry, const tTacheFull &row)
{
    if (entry.Id != -1 && row.Id == entry.Id)
        return false;
    const bool endsAfterStart = row.Fin == 0 || row.Fin > entry.Debut;
    if (entry.IsRunning())
        return endsAfterStart;
    return row.Debut < entry.Fin && endsAfterStart;
}

bool TrimToEdges(tTacheFull &entry, const std::vector<tTacheFull> &colliding)
{
    qint64 start = entry.Debut;
    qint64 end = entry.Fin;
    bool trimmable = true;
    for (const tTacheFull &row : colliding) {
        if (entry.IsRunning()) {
            if (row.Fin != 0 && row.Fin <= entry.Debut + EdgeTolerance)
                start = std::max(start, row.Fin);
            else
                trimmable = false;
        } else {
            // A running row (Fin 0) passes the first test: it ends no gap.
            if (row.Fin <= entry.Debut + EdgeTolerance)
                start = std::max(start, row.Fin);
            else
                trimmable = false;
            if (row.Debut + EdgeTolerance >= entry.Fin)
                end = std::min(end, row.Debut);
            else
                trimmable = false;
        }
    }
    if (!trimmable || start >= entry.Debut + EdgeTolerance || end + EdgeTolerance <= entry.Fin)
        return false;
    if (!(start < end || end == 0))
        return false;
    entry.Debut = start;
    entry.Fin = end;
    return true;
}

std::optional<tDebutFin> LongestFreeGap(const tTacheFull &entry, const std::vector<tTacheFull> &colliding)
{
    const std::vector<tTacheFull> rows = collidingInOrder(entry, colliding);
    const qint64 spanEnd = endOf(entry);
    std::optional<tDebutFin> best;
    auto consider = [&](qint64 from, qint64 to) {
        if (from >= to)
            return;
        // Ties keep the earlier gap: a later one must be strictly longer.
        if (!best || to - from > best->Fin - best->Debut)
            best = tDebutFin{from, to};
    };
    qint64 cursor = entry.Debut; // everything before it is taken or outside
    for (const tTacheFull &row : rows) {
        if (cursor == Open)
            break;
        if (row.Debut > cursor)
            consider(cursor, std::min(row.Debut, spanEnd));
        cursor = std::max(cursor, endOf(row));
    }
    if (entry.IsRunning()) {
        // Once every colliding row has ended, the running entry simply
        // starts after the last of them and keeps running.
        if (cursor != Open)
            return tDebutFin{cursor, 0};
        return best;
    }
    if (cursor < spanEnd)
        consider(cursor, spanEnd);
    return best;
}

tOverwritePlan PlanOverwrite(const tTacheFull &entry, const std::vector<tTacheFull> &colliding)
{
    tOverwritePlan plan;
    for (const tTacheFull &row : collidingInOrder(entry, colliding)) {
        if (entry.IsRunning()) {
            if (row.Debut >= entry.Debut)
                plan.deleted.push_back(row.Id);
            else
                plan.cut.push_back(row.Id);
            continue;
        }
        const bool startsInside = row.Debut >= entry.Debut;
        const bool endsInside = row.Fin != 0 && row.Fin <= entry.Fin;
        if (startsInside && endsInside)
            plan.deleted.push_back(row.Id);
        else if (startsInside)
            plan.moved.push_back(row.Id);
        else if (endsInside)
            plan.cut.push_back(row.Id);
        else
            plan.split.push_back(row);
    }
    return plan;
}

} // namespace TimeEntryOverlap
