#pragma once
#include <QDate>

// The first and last day of a report's period code, counted from today
// (the program's clock, in local time):
//   0 the first and last days with live entries in the current user's
//     database (today for a missing one), 1 last year, 2 this year,
//   3 last month, 4 this month, 5 last week, 6 this week (weeks start on
//   the settings' first day), 7 yesterday, 8 today.
// Code 9 (custom dates) and any other code leave both dates as they are.
void GetPeriodDates(int code, QDate &start, QDate &end);

// The custom period (code 9) made usable: an invalid end takes the start's
// date, an invalid start the end's, both invalid become `today`. True when
// a date was repaired (the user is told so).
bool RepairCustomPeriod(QDate &start, QDate &end, const QDate &today);

// Custom dates given in reverse (the start after the end) exchanged, so
// that they stand for the period between them. True when they were.
bool SwapReversedPeriod(QDate &start, QDate &end);

// The dates a report of period `code` is built over: those of the code
// (GetPeriodDates), or the custom dates, exchanged when given in reverse
// (a definition edited by hand or stored by an older program).
void ResolvePeriodDates(int code, QDate &start, QDate &end);
