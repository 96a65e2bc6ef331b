#pragma once
#include <QDate>
#include <QTime>
#include <QtGlobal>

#include <vector>

// The rules of the entry dialogs that need no window: which warnings show
// and when OK can be pressed, the end proposed for an entry that gets one,
// what the dialog changing several entries returns, and the instant of a
// date and a time typed in the pickers.
namespace EntryDialogRules {

// The time entry dialog's state for the chosen project and activity (-1
// for none, or for a combo without selection), the start, and the end when
// the entry has one.
struct tTaskState
{
    bool noRecordWarning = false; // neither a project nor an activity
    bool endWarning = false;      // an end that is not after the start
    bool okEnabled = false;
};
tTaskState TaskState(int projectId, int activityId, qint64 start, qint64 end, bool hasEnd);

// The end given to a running entry that gets one: now, or an hour after
// its start when it does not start before now.
constexpr qint64 ProposedLength = 3600;
qint64 ProposedEnd(qint64 start, qint64 now);

// The end of a new entry added at `start` from a slot of the calendar
// (empty grid, "Ajouter une tâche"): 0, running, on a slot of today (the
// day of `now`); on any other day the proposed length, cut at `nextStart`
// (the start of the first entry after `start`, 0 for none) when that comes
// sooner. A past entry opened running would have the overlap question
// delete every entry after it.
qint64 NewEntryEnd(qint64 start, qint64 now, qint64 nextStart);

// The state of the dialog changing several entries: the boxes ticked and
// the ids chosen in the project and activity combos (-1 for none or no
// selection).
struct tSeveralState
{
    bool warning = false; // project and activity both to be cleared
    bool okEnabled = false;
};
tSeveralState SeveralState(bool projectTicked, bool activityTicked, bool rateTicked, int projectId,
                           int activityId);

// What that dialog returns for one value: the chosen id (-1 for none) when
// its box is ticked and its combo has a selection, else Unchanged.
constexpr int Unchanged = -2;
int ChosenId(bool ticked, bool hasSelection, int selectedId);

// The instant of a local date and time of day. A time that the spring
// clock change skips gives the first instant after the skipped hour; a
// time the autumn change repeats gives the earlier of its two instants. 0
// for an invalid date or time.
qint64 LocalInstant(const QDate &date, const QTime &time);

// Whether `instant`, shown as a date and a time of day beside the other
// instants `shown` (0 for none: a running entry's end), needs its seconds
// to be told apart: another instant falls within the same minute. Two
// versions of an entry saved within a minute would otherwise read alike.
bool NeedsSeconds(qint64 instant, const std::vector<qint64> &shown);

} // namespace EntryDialogRules
