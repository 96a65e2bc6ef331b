#include "CFirstDayOfWeek.h"

#include <QLocale>

namespace {

CFirstDayOfWeek::Provider &provider()
{
    static CFirstDayOfWeek::Provider p;
    return p;
}

bool isWeekday(int weekday)
{
    return weekday >= 1 && weekday <= 7;
}

} // namespace

void CFirstDayOfWeek::SetProvider(Provider p)
{
    provider() = std::move(p);
}

int CFirstDayOfWeek::Configured()
{
    if (provider()) {
        const int weekday = provider()();
        if (isWeekday(weekday))
            return weekday;
    }
    return FromLocale(QLocale::system());
}

Qt::DayOfWeek CFirstDayOfWeek::ToQt(int weekday)
{
    if (!isWeekday(weekday))
        return QLocale::system().firstDayOfWeek();
    // Sunday (1) is Qt's 7; Monday (2) .. Saturday (7) are Qt's 1 .. 6.
    return Qt::DayOfWeek(weekday == 1 ? 7 : weekday - 1);
}

int CFirstDayOfWeek::FromQt(Qt::DayOfWeek day)
{
    return int(day) % 7 + 1;
}

int CFirstDayOfWeek::FromLocale(const QLocale &locale)
{
    return FromQt(locale.firstDayOfWeek());
}
