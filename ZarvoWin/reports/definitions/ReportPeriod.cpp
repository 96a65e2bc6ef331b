#include "ReportPeriod.h"

#include "CAppData.h"
#include "CBdD.h"
#include "CConfiguration.h"
#include "Clock.h"
#include "LocalTime.h"

#include <QDateTime>

#include <utility>

namespace {

// The first day of the week that holds `today`, weeks starting on
// `firstDay` (1 Sunday .. 7 Saturday).
QDate weekStart(const QDate &today, int firstDay)
{
    const int day = today.dayOfWeek() % 7 + 1; // Sunday = 1
    const int back = day >= firstDay ? day - firstDay : day + 7 - firstDay;
    return today.addDays(-back);
}

} // namespace

void GetPeriodDates(int code, QDate &start, QDate &end)
{
    const QDate today = Platform::LocalTime::localDate(Platform::Clock::now());
    switch (code) {
    case 0: {
        QDateTime first = Platform::LocalTime::toLocal(Platform::Clock::now());
        QDateTime last = first;
        CBdD db;
        db.GetTimeEntryBounds(first, last);
        start = first.isValid() ? first.date() : today;
        end = last.isValid() ? last.date() : today;
        break;
    }
    case 1:
    case 2: {
        const int year = today.year() - (code == 1 ? 1 : 0);
        start = QDate(year, 1, 1);
        end = QDate(year, 12, 31);
        break;
    }
    case 3:
    case 4: {
        const QDate month = QDate(today.year(), today.month(), 1).addMonths(code == 3 ? -1 : 0);
        start = month;
        end = month.addMonths(1).addDays(-1);
        break;
    }
    case 5:
    case 6: {
        const CConfiguration *config = CAppData::Configuration();
        const int firstDay = config && config->firstDayOfWeek >= 1 && config->firstDayOfWeek <= 7
                                 ? config->firstDayOfWeek
                                 : 1;
        start = weekStart(today, firstDay).addDays(code == 5 ? -7 : 0);
        end = start.addDays(6);
        break;
    }
    case 7:
        start = end = today.addDays(-1);
        break;
    case 8:
        start = end = today;
        break;
    default:
        break;
    }
}

bool RepairCustomPeriod(QDate &start, QDate &end, const QDate &today)
{
    const bool startOk = start.isValid();
    const bool endOk = end.isValid();
    if (startOk && endOk)
        return false;
    if (startOk)
        end = start;
    else if (endOk)
        start = end;
    else
        start = end = today;
    return true;
}

bool SwapReversedPeriod(QDate &start, QDate &end)
{
    if (!start.isValid() || !end.isValid() || start <= end)
        return false;
    std::swap(start, end);
    return true;
}

void ResolvePeriodDates(int code, QDate &start, QDate &end)
{
    if (code == 9)
        SwapReversedPeriod(start, end);
    else
        GetPeriodDates(code, start, end);
}
