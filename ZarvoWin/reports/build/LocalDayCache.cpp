#include "LocalDayCache.h"

#include "LocalTime.h"

#include <algorithm>

namespace {

constexpr qint64 MaxSpanDays = 36525;

} // namespace

LocalDayCache::tDay LocalDayCache::Convert(qint64 t)
{
    tDay day;
    day.Date = Platform::LocalTime::localDate(t);
    day.Start = Platform::LocalTime::midnight(day.Date);
    day.End = Platform::LocalTime::midnight(day.Date.addDays(1));
    if (!day.Date.isValid() || t < day.Start || t >= day.End) {
        // An instant Qt cannot place in a day: a day of its own.
        day.Start = t;
        day.End = t + 1;
    }
    return day;
}

bool LocalDayCache::Cover(const QDate &date)
{
    if (!date.isValid())
        return false;
    if (m_midnights.empty()) {
        m_first = date;
        m_midnights = {Platform::LocalTime::midnight(date), Platform::LocalTime::midnight(date.addDays(1))};
        return true;
    }
    const QDate last = m_first.addDays(qint64(m_midnights.size()) - 2);
    if (date < m_first) {
        if (m_first.toJulianDay() - date.toJulianDay() + qint64(m_midnights.size()) > MaxSpanDays)
            return false;
        std::vector<qint64> earlier;
        for (QDate d = date; d < m_first; d = d.addDays(1))
            earlier.push_back(Platform::LocalTime::midnight(d));
        m_midnights.insert(m_midnights.begin(), earlier.begin(), earlier.end());
        m_last = 0;
        m_first = date;
    } else if (date > last) {
        if (date.toJulianDay() - m_first.toJulianDay() > MaxSpanDays)
            return false;
        for (QDate d = last.addDays(2); d <= date.addDays(1); d = d.addDays(1))
            m_midnights.push_back(Platform::LocalTime::midnight(d));
    }
    return true;
}

LocalDayCache::tDay LocalDayCache::Day(qint64 t)
{
    if (m_midnights.empty() || t < m_midnights.front() || t >= m_midnights.back()) {
        const tDay day = Convert(t);
        if (day.End - day.Start == 1 || !Cover(day.Date))
            return day;
    }
    // Instants mostly come in order: the day asked for last, or the next.
    size_t index = m_last;
    if (index + 1 < m_midnights.size() && t >= m_midnights[index] && t < m_midnights[index + 1]) {
    } else if (index + 2 < m_midnights.size() && t >= m_midnights[index + 1] && t < m_midnights[index + 2]) {
        ++index;
    } else {
        const auto next = std::upper_bound(m_midnights.begin(), m_midnights.end(), t);
        index = size_t(next - m_midnights.begin()) - 1;
    }
    m_last = index;
    return {m_midnights[index], m_midnights[index + 1], m_first.addDays(qint64(index))};
}
