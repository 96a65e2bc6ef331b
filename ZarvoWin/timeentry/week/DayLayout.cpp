#include "DayLayout.h"

#include "CWeekGeometry.h"
#include "LocalTime.h"

#include <algorithm>

tDayLayout LayoutDay(std::span<tTacheParams> entries, const QDate &day, int hourHeight, qint64 now)
{
    tDayLayout result;
    const qint64 firstSecond = Platform::LocalTime::midnight(day);
    const qint64 lastSecond = Platform::LocalTime::midnight(day.addDays(1)) - 1;
    const int lastRow = hourHeight * 24 - 1;
    // On a day without a clock change the wall clock runs with the
    // seconds since midnight; only the days of a change need the local
    // time of each instant.
    const bool steadyDay = lastSecond - firstSecond == 24 * 3600 - 1;
    const auto rowOf = [&](qint64 t) {
        if (steadyDay && t >= firstSecond && t <= lastSecond)
            return int((t - firstSecond) / 60) * hourHeight / 60;
        return CWeekGeometry::GridRow(t, hourHeight);
    };

    // Rows and the day's total.
    for (tTacheParams &e : entries) {
        qint64 visibleStart = e.Debut;
        if (e.Debut < firstSecond) {
            visibleStart = firstSecond;
            e.top = 0;
        } else {
            e.top = rowOf(e.Debut);
        }
        const qint64 end = e.Fin != 0 ? e.Fin : now;
        qint64 visibleEnd = end;
        if (end >= firstSecond) {
            if (end > lastSecond) {
                visibleEnd = lastSecond;
                e.bottom = lastRow;
            } else {
                e.bottom = rowOf(end);
            }
            if (e.bottom < e.top + MinimumEntryHeight) {
                e.bottom = e.top + MinimumEntryHeight;
                if (e.bottom > lastRow) {
                    e.bottom = lastRow;
                    e.top = lastRow - MinimumEntryHeight;
                }
            }
        } else {
            visibleEnd = firstSecond;
            e.bottom = e.top + MinimumEntryHeight;
        }
        result.total += std::max<qint64>(0, visibleEnd - visibleStart);
        e.flag = 0;
    }

    // Tracks: the first one free of overlapping boxes (strictly: a box
    // ending on the row where another begins does not overlap it).
    const auto overlap = [](const tTacheParams &a, const tTacheParams &b) {
        return a.top < b.bottom && b.top < a.bottom;
    };
    for (size_t i = 0; i < entries.size(); ++i) {
        tTacheParams &e = entries[i];
        int track = 0;
        for (; track < result.trackCount; ++track) {
            bool taken = false;
            for (size_t j = 0; j < i && !taken; ++j)
                taken = entries[j].firstSlot == track && overlap(entries[j], e);
            if (!taken)
                break;
        }
        if (track == result.trackCount)
            ++result.trackCount;
        e.firstSlot = track;
    }

    // Widening: up to the first higher track holding a box that overlaps
    // or touches this one.
    for (tTacheParams &e : entries) {
        e.endSlot = result.trackCount;
        for (const tTacheParams &g : entries) {
            if (g.firstSlot > e.firstSlot && e.bottom >= g.top && e.top <= g.bottom)
                e.endSlot = std::min(e.endSlot, g.firstSlot);
        }
    }
    return result;
}
