#include "TimeSnap.h"

#include "LocalTime.h"

#include <QTime>

qint64 SnapTime(qint64 t, bool snapSetting, int gridMinutes, bool altDown)
{
    if (snapSetting == altDown || gridMinutes <= 0)
        return t;
    const QTime local = Platform::LocalTime::toLocal(t).time();
    if (!local.isValid())
        return t;
    // The instant at which the local clock showed the hour.
    const qint64 hourStart = t - local.minute() * 60 - local.second();
    const int minute = gridMinutes * ((local.minute() + gridMinutes / 2) / gridMinutes);
    if (minute >= 60)
        return local.hour() == 23 ? hourStart + 59 * 60 : hourStart + 3600;
    return hourStart + minute * 60;
}
