#pragma once
#include "tTacheFull.h"

#include <QDate>
#include <QString>
#include <QtGlobal>
#include <vector>

class CDayCache;

// What the calendar windows need of the application, which implements it
// by forwarding to its own state and operations: the date the views centre
// on, the selected and the running entry, the one day cache of the
// process, the view refresh, the status bar and the entry dialogs. Tests
// pass a host of their own.
class CTimeEntryHost
{
public:
    // Modes of the time entry dialog.
    static constexpr int EditEntry = 0;
    static constexpr int DeleteEntry = 1;
    // How an entry that overlaps others is stored (the overlap question's
    // answer): the others give way, or the entry moves into free time.
    static constexpr int OthersGiveWay = 0;
    static constexpr int FitIntoFreeTime = 1;
    static constexpr int Cancelled = -1;

    virtual ~CTimeEntryHost() = default;

    // The current date of the calendar views.
    virtual QDate CurrentDate() const = 0;
    // Makes `date` the current date (the calendar pane and the toolbar's
    // date picker follow); with `reload` the shown calendar view shows it.
    virtual void SetCurrentDate(const QDate &date, bool reload) = 0;
    // The running entry: its id (-1 when none runs) and start.
    virtual int RunningEntryId() const = 0;
    virtual qint64 RunningEntryStart() const = 0;
    // The time entries of the shown days.
    virtual CDayCache &DayCache() = 0;
    // The entry the entry commands act on, shared by the week and month
    // views; -1 for none.
    virtual int SelectedEntryId() const = 0;
    virtual void SetSelectedEntryId(int id) = 0;

    // Reloads the calendar's shown view (and the active report) after a
    // change was stored.
    virtual void RefreshViews() = 0;
    // Shows the current date in the one-day view.
    virtual void ShowDayView() = 0;
    // A text in the main window's status bar; an empty one puts the idle
    // text back.
    virtual void ShowStatusText(const QString &text) = 0;

    // The time entry dialog on `entry` in EditEntry or DeleteEntry mode;
    // true when it stored (or deleted) the entry.
    virtual bool OpenEntryDialog(tTacheFull &entry, int mode) = 0;
    // Asks how to store an entry that overlaps others: `entries` holds the
    // entry, then the entries it overlaps in start order. Returns
    // OthersGiveWay, FitIntoFreeTime or Cancelled.
    virtual int ChooseOverlapResolution(const std::vector<tTacheFull> &entries) = 0;
    // Ends the running entry and starts `entry` running (from the
    // favourite `favoriteId`, -1 for none), or opens the entry dialog when
    // it cannot.
    virtual void StartTask(const tTacheFull &entry, int favoriteId) = 0;
    // Ends the running entry (the pause command).
    virtual void PauseTask() = 0;
};
