#pragma once
#include "tWorkingPeriode.h"

#include <QtGlobal>
#include <vector>

// The working periods of one day, in minutes after midnight, ascending and
// non-overlapping. `total` is the sum of their lengths in minutes; it is
// recomputed by CWorkingDays, not on every change. `useDefault` makes a
// weekday use the default set (set 0) instead of its own periods.
class CWorkingDay
{
public:
    std::vector<tWorkingPeriode> periods;
    int total = 0;
    bool useDefault = true;

    void CopyFrom(const CWorkingDay &other);

    // Sum of the period lengths in minutes.
    int ComputeTotal() const;

    // Working seconds of the periods between two seconds-of-day.
    qint64 GetWorkingSeconds(qint64 from, qint64 to) const;

    // Advances `position` (seconds of day) through the periods while
    // `remaining` working seconds are left, decreasing `remaining`.
    void ConsumeWorkingTime(qint64 &remaining, qint64 &position) const;

    // End of the last period as hour and minute (24:00 for a period ending
    // at midnight); 23:59 when there is no period.
    void GetEndOfDay(int &hour, int &minute) const;

    // Puts the periods in ascending order, drops empty or reversed ones and
    // joins overlapping ones, so that the arithmetic never counts a minute
    // twice.
    void Normalize();
};
