#pragma once
// The day the time-entry tests work on and the entries they build, in
// Paris wall-clock time (the harness sets TZ=Europe/Paris).
#include "tTacheFull.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace EntryTimes {

inline const QDate Day(2026, 3, 10);

// The instant of a wall-clock time of `day`.
inline qint64 at(int h, int m, int s = 0, QDate day = Day)
{
    return QDateTime(day, QTime(h, m, s)).toSecsSinceEpoch();
}

// The end of an entry still running.
constexpr qint64 Running = 0;

inline tTacheFull entry(int id, qint64 debut, qint64 fin)
{
    tTacheFull e;
    e.Id = id;
    e.Debut = debut;
    e.Fin = fin;
    return e;
}

} // namespace EntryTimes
