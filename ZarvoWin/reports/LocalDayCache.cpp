#include "LocalDayCache.h"

#include "LocalTime.h"

const LocalDayCache::tDay &LocalDayCache::Day(qint64 t)
{
    for (const tDay &day : m_days) {
        if (t >= day.Start && t < day.End)
            return day;
    }
    tDay &day = m_days[m_next];
    m_next = (m_next + 1) % Slots;
    day.Date = Platform::LocalTime::localDate(t);
    day.Start = Platform::LocalTime::midnight(day.Date);
    day.End = Platform::LocalTime::midnight(day.Date.addDays(1));
    if (t < day.Start || t >= day.End) {
        // An instant Qt cannot place in a day (out of its range): a day of
        // its own, never a hit for another instant.
        day.Start = t;
        day.End = t + 1;
    }
    return day;
}
