#include "LocalTime.h"

#include <QTime>

namespace Platform::LocalTime {

namespace {
const QDate &oleEpoch()
{
    static const QDate epoch(1899, 12, 30);
    return epoch;
}
} // namespace

QDateTime toLocal(qint64 unixSeconds)
{
    return QDateTime::fromSecsSinceEpoch(unixSeconds, Qt::LocalTime);
}

QDate localDate(qint64 unixSeconds)
{
    return toLocal(unixSeconds).date();
}

qint64 midnight(const QDate &date)
{
    if (!date.isValid())
        return 0;
    // startOfDay() resolves a midnight that a clock change skips.
    return date.startOfDay(Qt::LocalTime).toSecsSinceEpoch();
}

qint64 dayStart(qint64 unixSeconds)
{
    return midnight(localDate(unixSeconds));
}

qint64 nextDayStart(qint64 unixSeconds)
{
    return midnight(localDate(unixSeconds).addDays(1));
}

qint64 atMinute(const QDate &date, int minutes)
{
    if (!date.isValid())
        return 0;
    const int days = minutes >= 0 ? minutes / 1440 : -((-minutes + 1439) / 1440);
    const int rest = minutes - days * 1440;
    const QDate d = date.addDays(days);
    if (rest == 0)
        return midnight(d);
    const QDateTime dt(d, QTime(rest / 60, rest % 60), Qt::LocalTime);
    return dt.toSecsSinceEpoch();
}

int oleDay(const QDate &date)
{
    return static_cast<int>(oleEpoch().daysTo(date));
}

QDate fromOleDay(int day)
{
    return oleEpoch().addDays(day);
}

} // namespace Platform::LocalTime
