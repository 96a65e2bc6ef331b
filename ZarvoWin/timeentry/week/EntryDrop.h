#pragma once
#include "DragPayload.h"
#include "tTacheFull.h"

#include <QtGlobal>

// A new entry made from an item dropped on the week view: a favourite
// (its project, activity, rate and title), a recent combination, a
// project (with its default activity, or the activity of a
// project-activity pair) or an activity, each with its default rate. False
// when the item's record no longer exists (or cannot be read).
bool RecordForDrop(const DragInfo &info, tTacheFull &record);

// The times of a dropped entry: an hour from `start`, ending at 23:59:59
// of its day at the latest; or, dropped where no time is (the header, the
// ruler), running from `now`.
void SetDropTimes(tTacheFull &record, bool onTheGrid, qint64 start, qint64 now);
