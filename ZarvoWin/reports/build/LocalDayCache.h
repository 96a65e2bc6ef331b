#pragma once
#include <QDate>
#include <QtGlobal>
#include <vector>

// The local day of an instant, from a table of the local midnights of
// every day met so far: a report asks for the day of every entry, so the
// answer is a search in that table rather than a time-zone conversion.
// Days end at the next local midnight (23 or 25 hours on the days the
// clock changes). The table grows to cover the days asked for; an instant
// too far from them (more than a century) is converted alone.
class LocalDayCache
{
public:
    struct tDay
    {
        qint64 Start = 0; // first second of the day
        qint64 End = 0;   // first second of the next day
        QDate Date;
    };

    tDay Day(qint64 t);

private:
    static tDay Convert(qint64 t);
    bool Cover(const QDate &date);

    QDate m_first;                  // the day m_midnights[0] begins
    std::vector<qint64> m_midnights; // one more than the days covered
    size_t m_last = 0;               // the day found last
};
