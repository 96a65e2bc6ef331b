#include "CConfiguration.h"

#include "Clock.h"
#include "Formatter.h"
#include "LocalTime.h"
#include "Texts.h"

#include <QDateTime>
#include <QTime>
#include <algorithm>
#include <limits>

namespace {

// An instant broken down on the local wall clock.
struct LocalPoint
{
    QDate date;
    qint64 day = 0;    // Julian day
    qint64 second = 0; // second of day on the wall clock
    bool valid = false;
};

LocalPoint breakDown(qint64 t)
{
    LocalPoint p;
    const QDateTime dt = Platform::LocalTime::toLocal(t);
    if (!dt.isValid() || !dt.date().isValid())
        return p;
    p.date = dt.date();
    p.day = p.date.toJulianDay();
    const QTime tm = dt.time();
    p.second = tm.hour() * 3600 + tm.minute() * 60 + tm.second();
    p.valid = true;
    return p;
}

// The instant of `date` at a wall-clock second of day; 86 400 and beyond
// run into the next day (a period may end at 24:00).
qint64 instantAt(const QDate &date, qint64 second)
{
    if (second >= 86400)
        return Platform::LocalTime::midnight(date.addDays(1)) + (second - 86400);
    const QTime tm(int(second / 3600), int(second % 3600 / 60), int(second % 60));
    if (second == 0)
        return Platform::LocalTime::midnight(date);
    return QDateTime(date, tm, Qt::LocalTime).toSecsSinceEpoch();
}

// Sunday = 1 .. Saturday = 7 of a Julian day (Julian day 0 is a Monday).
int weekdayOfJulian(qint64 jd)
{
    return int((jd % 7 + 1) % 7) + 1;
}

qint64 oleEpochJulian()
{
    static const qint64 jd = QDate(1899, 12, 30).toJulianDay();
    return jd;
}

int oleDayOfJulian(qint64 jd)
{
    return int(jd - oleEpochJulian());
}

qint64 julianOfOleDay(int day)
{
    return qint64(day) + oleEpochJulian();
}

// The last day a walk may reach.
qint64 lastWalkableDay()
{
    static const qint64 jd = QDate(9999, 12, 30).toJulianDay();
    return jd;
}

constexpr qint64 kFarAway = std::numeric_limits<qint64>::max() / 4;

} // namespace

CConfiguration::CConfiguration()
{
}

// ---------------------------------------------------------------------------
// Working-time calendar
// ---------------------------------------------------------------------------

void CConfiguration::SetBookedIntervals(const std::vector<tDebutFin> &intervals)
{
    m_booked.Set(intervals);
}

void CConfiguration::ClearBookedIntervals()
{
    m_booked.Clear();
}

bool CConfiguration::WeekdayWorks(int w) const
{
    if (w < 1 || w > 7)
        return false;
    return workDays[size_t(w - 1)] && workingDays.Effective(w).total > 0;
}

bool CConfiguration::DayIsWorked(qint64 julianDay) const
{
    return WeekdayWorks(weekdayOfJulian(julianDay)) && !daysOff.IsDayOffNumber(oleDayOfJulian(julianDay));
}

bool CConfiguration::IsWorkingDay(const QDate &date) const
{
    if (!date.isValid())
        return false;
    return DayIsWorked(date.toJulianDay());
}

int CConfiguration::CountWorkingWeekdays() const
{
    return int(std::count(workDays.begin(), workDays.end(), true));
}

qint64 CConfiguration::GetWeekdayWorkingSeconds(int w, qint64 from, qint64 to) const
{
    if (w < 1 || w > 7)
        return 0;
    return workingDays.Effective(w).GetWorkingSeconds(from, to);
}

qint64 CConfiguration::GetWeekSeconds() const
{
    qint64 sum = 0;
    for (int w = 1; w <= 7; ++w) {
        if (WeekdayWorks(w))
            sum += workingDays.GetDaySeconds(w);
    }
    return sum;
}

qint64 CConfiguration::DayCapacity(qint64 julianDay, int &cursor) const
{
    if (!DayIsWorked(julianDay))
        return 0;
    if (!m_booked.IsEmpty()) {
        m_booked.SkipEnded(julianDay, cursor);
        if (m_booked.ReachesInto(julianDay, cursor)) {
            CWorkingDay cut;
            workingDays.GetDayPeriods(QDate::fromJulianDay(julianDay), cut, &m_booked, cursor);
            return qint64(cut.total) * 60;
        }
    }
    return workingDays.GetDaySeconds(weekdayOfJulian(julianDay));
}

qint64 CConfiguration::DaySpanSeconds(const QDate &date, qint64 from, qint64 to, int &cursor) const
{
    if (!IsWorkingDay(date))
        return 0;
    if (m_booked.IsEmpty())
        return GetWeekdayWorkingSeconds(weekdayOfJulian(date.toJulianDay()), from, to);
    CWorkingDay cut;
    workingDays.GetDayPeriods(date, cut, &m_booked, cursor);
    return cut.GetWorkingSeconds(from, to);
}

qint64 CConfiguration::SumWholeDays(qint64 firstDay, qint64 lastDay, int &cursor) const
{
    const qint64 weekSeconds = GetWeekSeconds();
    if (weekSeconds == 0)
        return 0;
    const std::vector<tWorkingPeriode> &off = daysOff.Ranges();
    const int offCount = daysOff.GetCount();
    int offIndex = firstDay <= lastDay ? daysOff.FirstRangeEndingFrom(oleDayOfJulian(firstDay)) : offCount;
    qint64 sum = 0;
    qint64 d = firstDay;
    while (d <= lastDay) {
        const int ole = oleDayOfJulian(d);
        while (offIndex < offCount && off[size_t(offIndex)].end < ole)
            ++offIndex;
        if (offIndex < offCount && off[size_t(offIndex)].start <= ole) {
            d = julianOfOleDay(off[size_t(offIndex)].end) + 1;
            continue;
        }
        // Whole weeks up to the next day off or booked day add the weekly total.
        qint64 obstacle = lastDay + 1;
        if (offIndex < offCount)
            obstacle = std::min(obstacle, julianOfOleDay(off[size_t(offIndex)].start));
        if (!m_booked.IsEmpty()) {
            m_booked.SkipEnded(d, cursor);
            obstacle = std::min(obstacle, m_booked.NextBookedDay(d, cursor));
        }
        const qint64 weeks = (obstacle - d) / 7;
        if (weeks > 0) {
            sum += weeks * weekSeconds;
            d += weeks * 7;
            continue;
        }
        sum += DayCapacity(d, cursor);
        ++d;
    }
    return sum;
}

qint64 CConfiguration::GetWorkingDuration(qint64 t1, qint64 t2) const
{
    if (t2 == 0)
        t2 = Platform::Clock::now();
    const bool negative = t2 > t1;
    const qint64 a = std::min(t1, t2);
    const qint64 b = std::max(t1, t2);
    const LocalPoint pa = breakDown(a);
    const LocalPoint pb = breakDown(b);
    if (!pa.valid || !pb.valid)
        return 0;
    int cursor = 0;
    qint64 sum = 0;
    if (pa.day == pb.day) {
        sum = DaySpanSeconds(pa.date, pa.second, pb.second, cursor);
    } else {
        // The first day counts up to 24:00, so that a period ending at
        // midnight loses no second.
        sum = DaySpanSeconds(pa.date, pa.second, 86400, cursor);
        sum += SumWholeDays(pa.day + 1, pb.day - 1, cursor);
        sum += DaySpanSeconds(pb.date, 0, pb.second, cursor);
    }
    return negative ? -sum : sum;
}

qint64 CConfiguration::FindWorkingDayAfter(qint64 julianDay) const
{
    if (GetWeekSeconds() == 0)
        return -1;
    const std::vector<tWorkingPeriode> &off = daysOff.Ranges();
    const int offCount = daysOff.GetCount();
    qint64 d = julianDay + 1;
    int offIndex = daysOff.FirstRangeEndingFrom(oleDayOfJulian(d));
    while (d - julianDay <= kWalkLimitDays && d <= lastWalkableDay()) {
        const int ole = oleDayOfJulian(d);
        while (offIndex < offCount && off[size_t(offIndex)].end < ole)
            ++offIndex;
        if (offIndex < offCount && off[size_t(offIndex)].start <= ole) {
            d = julianOfOleDay(off[size_t(offIndex)].end) + 1;
            continue;
        }
        if (WeekdayWorks(weekdayOfJulian(d)))
            return d;
        ++d;
    }
    return -1;
}

qint64 CConfiguration::NextWorkingTime(qint64 t, bool *found) const
{
    if (found)
        *found = false;
    const LocalPoint p = breakDown(t);
    if (!p.valid)
        return t;
    if (DayIsWorked(p.day)) {
        const qint64 minute = p.second / 60;
        for (const tWorkingPeriode &period : workingDays.Effective(weekdayOfJulian(p.day)).periods) {
            if (period.end > minute) {
                if (found)
                    *found = true;
                if (minute < period.start)
                    return instantAt(p.date, qint64(period.start) * 60);
                return t;
            }
        }
    }
    const qint64 next = FindWorkingDayAfter(p.day);
    if (next < 0)
        return t;
    const CWorkingDay &day = workingDays.Effective(weekdayOfJulian(next));
    if (day.periods.empty())
        return t;
    if (found)
        *found = true;
    return instantAt(QDate::fromJulianDay(next), qint64(day.periods.front().start) * 60);
}

qint64 CConfiguration::AddWorkingTime(qint64 t, qint64 seconds, bool *reached) const
{
    if (reached)
        *reached = false;
    if (seconds <= 0) {
        if (reached)
            *reached = true;
        return t;
    }
    const qint64 weekSeconds = GetWeekSeconds();
    if (CountWorkingWeekdays() == 0 || weekSeconds == 0)
        return t;
    const LocalPoint p = breakDown(t);
    if (!p.valid)
        return t;

    const CBookedIntervals *booked = m_booked.IsEmpty() ? nullptr : &m_booked;
    int cursor = 0;
    qint64 remaining = seconds;
    if (DayIsWorked(p.day)) {
        CWorkingDay today;
        workingDays.GetDayPeriods(p.date, today, booked, cursor);
        qint64 position = p.second;
        today.ConsumeWorkingTime(remaining, position);
        if (remaining == 0) {
            if (reached)
                *reached = true;
            return instantAt(p.date, position);
        }
    }

    const std::vector<tWorkingPeriode> &off = daysOff.Ranges();
    const int offCount = daysOff.GetCount();
    qint64 d = p.day + 1;
    qint64 lastWorked = p.day;
    int offIndex = daysOff.FirstRangeEndingFrom(oleDayOfJulian(d));
    while (d - lastWorked <= kWalkLimitDays && d <= lastWalkableDay()) {
        const int ole = oleDayOfJulian(d);
        while (offIndex < offCount && off[size_t(offIndex)].end < ole)
            ++offIndex;
        if (offIndex < offCount && off[size_t(offIndex)].start <= ole) {
            d = julianOfOleDay(off[size_t(offIndex)].end) + 1;
            continue;
        }
        // Whole weeks that cannot hold the end are taken at once.
        qint64 obstacle = kFarAway;
        if (offIndex < offCount)
            obstacle = julianOfOleDay(off[size_t(offIndex)].start);
        if (booked) {
            m_booked.SkipEnded(d, cursor);
            obstacle = std::min(obstacle, m_booked.NextBookedDay(d, cursor));
        }
        const qint64 weeks = std::min((obstacle - d) / 7, (remaining - 1) / weekSeconds);
        if (weeks > 0) {
            remaining -= weeks * weekSeconds;
            d += weeks * 7;
            lastWorked = d - 1;
            continue;
        }
        const qint64 capacity = DayCapacity(d, cursor);
        if (capacity > 0) {
            lastWorked = d;
            if (remaining <= capacity) {
                const QDate date = QDate::fromJulianDay(d);
                CWorkingDay day;
                workingDays.GetDayPeriods(date, day, booked, cursor);
                if (reached)
                    *reached = true;
                if (remaining == capacity) {
                    // The day's capacity is used up exactly: the end of its
                    // last period, not the start of the next working day.
                    int hour = 0, minute = 0;
                    day.GetEndOfDay(hour, minute);
                    return instantAt(date, (qint64(hour) * 60 + minute) * 60);
                }
                qint64 position = 0;
                day.ConsumeWorkingTime(remaining, position);
                return instantAt(date, position);
            }
            remaining -= capacity;
        }
        ++d;
    }
    return t;
}

qint64 CConfiguration::ToSeconds(qint64 amount, int unit) const
{
    if (amount <= 0)
        return 0;
    switch (unit) {
    case 0:
        return amount * 60;
    case 1:
        return amount * 3600;
    case 2:
        return amount * workingDays.Set(0).total * 60;
    default:
        return 0;
    }
}

int CConfiguration::GetWeekNumber(const QDate &date) const
{
    if (!date.isValid())
        return 0;
    if (weekNumbering == 1)
        return date.weekNumber();
    // Weeks counted from 1 January (week 1), a new week on every Sunday.
    const int b = QDate(date.year(), 1, 1).dayOfWeek() % 7 + 1;
    const int c = date.dayOfYear();
    return (c + b - 2) / 7 + 1;
}

bool CConfiguration::IsWeekStart(const QDate &date) const
{
    if (!date.isValid())
        return false;
    if (weekNumbering == 1)
        return date.dayOfWeek() == Qt::Monday;
    return date.dayOfWeek() == Qt::Sunday || (date.month() == 1 && date.day() == 1);
}

QString CConfiguration::FormatWeekNumber(const QDate &date, bool bracketed) const
{
    const QString pattern = bracketed ? Platform::Texts::get(682, QStringLiteral("( S %d )"))
                                      : Platform::Texts::get(679, QStringLiteral("Sem. : %d"));
    return Platform::Formatter::sprintf(pattern, {GetWeekNumber(date)});
}
