#include "EntryDialogRules.h"

#include "LocalTime.h"

#include <QDateTime>

namespace EntryDialogRules {

tTaskState TaskState(int projectId, int activityId, qint64 start, qint64 end, bool hasEnd)
{
    tTaskState state;
    state.noRecordWarning = projectId == -1 && activityId == -1;
    state.endWarning = hasEnd && end != 0 && end <= start;
    state.okEnabled = !state.noRecordWarning && !state.endWarning;
    return state;
}

qint64 ProposedEnd(qint64 start, qint64 now)
{
    return start < now ? now : start + ProposedLength;
}

qint64 NewEntryEnd(qint64 start, qint64 now, qint64 nextStart)
{
    using Platform::LocalTime::localDate;
    if (localDate(start) == localDate(now))
        return 0;
    const qint64 end = start + ProposedLength;
    return nextStart > start && nextStart < end ? nextStart : end;
}

tSeveralState SeveralState(bool projectTicked, bool activityTicked, bool rateTicked, int projectId,
                           int activityId)
{
    tSeveralState state;
    state.warning = projectTicked && activityTicked && projectId == -1 && activityId == -1;
    state.okEnabled = (projectTicked || activityTicked || rateTicked) && !state.warning;
    return state;
}

int ChosenId(bool ticked, bool hasSelection, int selectedId)
{
    return ticked && hasSelection ? selectedId : Unchanged;
}

qint64 LocalInstant(const QDate &date, const QTime &time)
{
    if (!date.isValid() || !time.isValid())
        return 0;
    const QDateTime local(date, time, Qt::LocalTime);
    if (!local.isValid()) {
        // Inside the skipped hour: the first whole minute the clock shows
        // again on that day is where the skipped time ends.
        for (QTime later = QTime(time.hour(), time.minute()).addSecs(60); later > time;
             later = later.addSecs(60)) {
            const QDateTime after(date, later, Qt::LocalTime);
            if (after.isValid())
                return after.toSecsSinceEpoch();
        }
        return QDateTime(date.addDays(1), QTime(0, 0), Qt::LocalTime).toSecsSinceEpoch();
    }
    const qint64 instant = local.toSecsSinceEpoch();
    // A repeated hour: the earlier instant that shows the same clock time.
    for (const qint64 back : {qint64(3600), qint64(1800)}) {
        const QDateTime earlier = QDateTime::fromSecsSinceEpoch(instant - back, Qt::LocalTime);
        if (earlier.date() == date && earlier.time() == time)
            return instant - back;
    }
    return instant;
}

bool NeedsSeconds(qint64 instant, const std::vector<qint64> &shown)
{
    if (instant == 0)
        return false;
    // Local minutes begin on whole minutes of Unix time: the offsets of the
    // time zones are whole minutes.
    const auto minute = [](qint64 t) { return t >= 0 ? t / 60 : (t - 59) / 60; };
    for (const qint64 other : shown) {
        if (other != 0 && other != instant && minute(other) == minute(instant))
            return true;
    }
    return false;
}

} // namespace EntryDialogRules
