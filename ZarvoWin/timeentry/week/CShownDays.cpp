#include "CShownDays.h"

#include "CConfiguration.h"
#include "LocalTime.h"

void CShownDays::SetWeekMode(bool week)
{
    if (week && !m_weekMode)
        ForgetFirstDay();
    m_weekMode = week;
}

QDate CShownDays::WeekStart(const QDate &date, int firstDayOfWeek)
{
    if (!date.isValid())
        return QDate();
    const int weekday = date.dayOfWeek() % 7 + 1; // Sunday = 1 .. Saturday = 7
    const int first = firstDayOfWeek >= 1 && firstDayOfWeek <= 7 ? firstDayOfWeek : 1;
    return date.addDays(-((weekday - first + 7) % 7));
}

CShownDays::tRange CShownDays::FillWeek(const QDate &first)
{
    for (int i = 0; i < 7; ++i)
        m_days[size_t(i)].Date = first.addDays(i);
    return {first, first.addDays(7)};
}

CShownDays::tRange CShownDays::Choose(const QDate &current, int firstDayOfWeek)
{
    if (!m_weekMode) {
        m_days[0].Date = current;
        return {current, current};
    }
    const QDate first = m_days[0].Date;
    if (!first.isValid() || current < first || current > m_days[6].Date)
        return FillWeek(WeekStart(current, firstDayOfWeek));
    return FillWeek(first);
}

CShownDays::tRange CShownDays::Shift(int n)
{
    const QDate first = m_days[0].Date.addDays(n);
    if (m_weekMode)
        return FillWeek(first);
    m_days[0].Date = first;
    return {first, first};
}

CShownDays::tRange CShownDays::Step(int direction)
{
    for (tDayColumn &day : Days())
        day.Date = day.Date.addDays(direction);
    return {First(), Last()};
}

QString CShownDays::Caption(const CConfiguration &config, const QDate &day) const
{
    if (m_weekMode)
        return config.FormatDateRange(m_days[0].Date, m_days[6].Date);
    return config.FormatOleDate(day, true);
}

bool CShownDays::IsRunningEntryVisible(int runningId, qint64 runningStart, qint64 now) const
{
    if (runningId == -1 || now < runningStart || !First().isValid())
        return false;
    const qint64 lastSecond = Platform::LocalTime::midnight(Last().addDays(1)) - 1;
    if (runningStart >= lastSecond)
        return false;
    return now >= Platform::LocalTime::midnight(First());
}
