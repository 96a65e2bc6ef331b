#include "CBookedIntervals.h"

#include "LocalTime.h"

#include <QDateTime>
#include <algorithm>
#include <limits>

namespace {
// Minute of day of a local time, rounded to the nearest minute.
int roundedMinute(const QTime &t)
{
    return t.hour() * 60 + t.minute() + (t.second() > 29 ? 1 : 0);
}

bool coversDay(const CBookedIntervals::tSpan &s, qint64 day)
{
    // An interval that ends exactly at midnight leaves the day untouched.
    return s.startDay <= day && (s.endDay > day || (s.endDay == day && s.endMinute > 0));
}
} // namespace

void CBookedIntervals::Set(const std::vector<tDebutFin> &intervals)
{
    m_spans.clear();
    m_spans.reserve(intervals.size());
    for (const tDebutFin &i : intervals) {
        if (i.Fin <= i.Debut)
            continue;
        const QDateTime a = Platform::LocalTime::toLocal(i.Debut);
        const QDateTime b = Platform::LocalTime::toLocal(i.Fin);
        if (!a.isValid() || !b.isValid())
            continue;
        tSpan s;
        s.debut = i.Debut;
        s.fin = i.Fin;
        s.startDay = a.date().toJulianDay();
        s.endDay = b.date().toJulianDay();
        s.startMinute = roundedMinute(a.time());
        s.endMinute = roundedMinute(b.time());
        m_spans.push_back(s);
    }
    std::stable_sort(m_spans.begin(), m_spans.end(),
                     [](const tSpan &x, const tSpan &y) { return x.debut < y.debut; });
}

void CBookedIntervals::Clear()
{
    m_spans.clear();
}

void CBookedIntervals::SkipEnded(qint64 julianDay, int &cursor) const
{
    if (cursor < 0)
        cursor = 0;
    while (cursor < Count() && m_spans[size_t(cursor)].endDay < julianDay)
        ++cursor;
}

bool CBookedIntervals::ReachesInto(qint64 julianDay, int cursor) const
{
    for (int i = std::max(cursor, 0); i < Count(); ++i) {
        const tSpan &s = m_spans[size_t(i)];
        if (s.startDay > julianDay)
            break;
        if (coversDay(s, julianDay))
            return true;
    }
    return false;
}

qint64 CBookedIntervals::NextBookedDay(qint64 julianDay, int cursor) const
{
    qint64 best = std::numeric_limits<qint64>::max() / 4;
    for (int i = std::max(cursor, 0); i < Count(); ++i) {
        const tSpan &s = m_spans[size_t(i)];
        if (s.startDay >= best)
            break;
        const qint64 first = std::max(s.startDay, julianDay);
        if (coversDay(s, first))
            best = std::min(best, first);
    }
    return best;
}
