#pragma once
#include "tTacheParams.h"

#include <QDate>
#include <QtGlobal>
#include <span>

// What the layout of one day found.
struct tDayLayout
{
    int trackCount = 1; // at least 1
    qint64 total = 0;   // seconds of the visible parts of the day's entries
};

// Every box is at least this high, so that a short entry can be seen and
// grabbed.
constexpr int MinimumEntryHeight = 24;

// Lays out the entries of one shown day (in start order, as the day cache
// holds them) for a grid of `hourHeight` pixels per hour, writing into each
// entry its display fields:
// - top and bottom: pixel rows of its part within the local day (00:00:00
//   to 23:59:59), 0 at midnight; every box is at least 24 pixels high and
//   stays inside the day; a running entry ends at `now`;
// - firstSlot and endSlot: its tracks. Entries take the first track in
//   which no earlier entry's box overlaps theirs (boxes that merely touch
//   share a track); each one then widens to the right over the free tracks
//   up to the first track holding a box that overlaps or touches it;
// - flag: 0.
// Returns the track count and the recorded time visible on the day; an
// entry that has not begun by `now` (a running entry starting later)
// counts nothing.
tDayLayout LayoutDay(std::span<tTacheParams> entries, const QDate &day, int hourHeight, qint64 now);
