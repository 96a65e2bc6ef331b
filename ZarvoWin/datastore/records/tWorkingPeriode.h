#pragma once

// A pair of bounds used by the working-time calendar. In a day's period
// list: start and end minute after midnight (0..1440). In the day-off list:
// first and last OLE day number of a range (inclusive; equal for one day).
struct tWorkingPeriode
{
    int start = 0;
    int end = 0;

    friend bool operator==(const tWorkingPeriode &, const tWorkingPeriode &) = default;
};
