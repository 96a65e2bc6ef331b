#pragma once
#include <QDate>
#include <QtGlobal>

// The local day of an instant, remembered for the last few days asked
// for: a report asks for the day of every entry, and entries come in
// order, so nearly every question is answered without a time-zone
// conversion. Days end at the next local midnight (23 or 25 hours on the
// days the clock changes).
class LocalDayCache
{
public:
    struct tDay
    {
        qint64 Start = 1; // first second of the day
        qint64 End = 0;   // first second of the next day
        QDate Date;
    };

    const tDay &Day(qint64 t);

private:
    static constexpr int Slots = 4;
    tDay m_days[Slots];
    int m_next = 0;
};
