#pragma once
#include "tDebutFin.h"

#include <QtGlobal>
#include <vector>

// Time already booked by recorded entries, which planned work cannot use.
// The intervals are kept ordered by start, each with its local calendar
// days and minutes worked out once, so that walking the calendar day by day
// never converts an instant again.
class CBookedIntervals
{
public:
    struct tSpan
    {
        qint64 debut = 0;
        qint64 fin = 0;
        qint64 startDay = 0; // Julian day of the local start date
        qint64 endDay = 0;   // Julian day of the local end date
        int startMinute = 0; // minute of day, rounded to the nearest minute
        int endMinute = 0;
    };

    void Set(const std::vector<tDebutFin> &intervals);
    void Clear();
    bool IsEmpty() const { return m_spans.empty(); }
    int Count() const { return static_cast<int>(m_spans.size()); }
    const tSpan &At(int i) const { return m_spans[static_cast<size_t>(i)]; }

    // Moves `cursor` past the intervals that ended before the local day
    // `julianDay` began.
    void SkipEnded(qint64 julianDay, int &cursor) const;
    // True when an interval from `cursor` on covers part of the day.
    bool ReachesInto(qint64 julianDay, int cursor) const;
    // The first local day, at or after `julianDay`, into which an interval
    // from `cursor` on reaches; a day far beyond any date when none does.
    qint64 NextBookedDay(qint64 julianDay, int cursor) const;

private:
    std::vector<tSpan> m_spans;
};
