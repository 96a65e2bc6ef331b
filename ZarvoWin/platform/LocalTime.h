#pragma once
#include <QDate>
#include <QDateTime>
#include <QtGlobal>

// Local-time helpers. Days are bounded by local midnights, so a day with a
// daylight-saving change lasts 23 or 25 hours; nothing here adds 86 400 s
// to move a day.
namespace Platform::LocalTime {

QDateTime toLocal(qint64 unixSeconds);
QDate localDate(qint64 unixSeconds);
// The instant the local day `date` begins (the first valid instant of the
// day when midnight itself is skipped by a clock change).
qint64 midnight(const QDate &date);
// Local midnight starting the day that contains `unixSeconds`.
qint64 dayStart(qint64 unixSeconds);
// Local midnight starting the following day.
qint64 nextDayStart(qint64 unixSeconds);
// The instant of `date` at `minutes` after midnight, counted on the wall
// clock (minute 1440 is the next day's midnight).
qint64 atMinute(const QDate &date, int minutes);

// OLE automation day numbers: day 0 is 30 December 1899.
int oleDay(const QDate &date);
QDate fromOleDay(int day);

} // namespace Platform::LocalTime
