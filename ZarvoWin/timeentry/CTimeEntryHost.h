#pragma once
#include <QDate>
#include <QtGlobal>

class CDayCache;

// What the calendar windows need of the application, which implements it
// by forwarding to its own state: the date the views centre on, the
// running entry and the one day cache of the process. Tests pass a host
// of their own.
class CTimeEntryHost
{
public:
    virtual ~CTimeEntryHost() = default;

    // The current date of the calendar views.
    virtual QDate CurrentDate() const = 0;
    // The running entry: its id (-1 when none runs) and start.
    virtual int RunningEntryId() const = 0;
    virtual qint64 RunningEntryStart() const = 0;
    // The time entries of the shown days.
    virtual CDayCache &DayCache() = 0;
};
