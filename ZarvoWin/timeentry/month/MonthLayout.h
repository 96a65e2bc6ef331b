#pragma once
#include "tTacheParams.h"

#include <QDate>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <functional>
#include <span>

// The plain rules of the month view: which days its cells show, how they
// are laid out, what a day's total counts, how the wheel moves the month.

// The month view shows the weeks of the current date's month: the first
// cell is the configured first day of the week (1 Sunday .. 7 Saturday)
// on or before the 1st.
QDate MonthFirstCell(const QDate &date, int firstDayOfWeek);
// 4, 5 or 6 rows of weeks: as many as the month's days need from the
// first cell.
int MonthRowCount(const QDate &date, int firstDayOfWeek);

// The calendar's header band is 20 pixels high; below it the cells take
// the rows and seven columns, the last row and column taking the rest of
// the division, with a pixel of grid between them.
constexpr int MonthHeaderHeight = 20;
QRect MonthCellRect(int row, int column, int rows, const QSize &client);

// The same day of the next (direction +1) or previous (-1) month, lowered
// to the month's last day where it does not exist there.
QDate StepMonthKeepingDay(const QDate &date, int direction);

// The recorded time shown on a day: the part of each entry inside the day
// (a running entry up to `now`, nothing for one that has not begun).
qint64 MonthDayTotal(std::span<const tTacheParams> entries, const QDate &day, qint64 now);

// The index of today's cell among the cells from `firstCell` (whole days
// from its noon to today's 14:00, so that clock changes do not count);
// -1 when it is not among the `cellCount` cells.
int TodayCellIndex(const QDate &firstCell, const QDate &today, int cellCount);

struct tEntryBoxSettings;

// The background of the selected entry's row (as its box in the week view).
constexpr quint32 MonthSelectionColour = 0x45C7F0;

// How one entry's row of a month cell is drawn: its two lines of text, its
// background and the two halves of its colour mark. Colours 0x00BBGGRR.
struct tMonthEntryPlan
{
    QString label; // the title, else the project and the activity
    QString times; // start - end (duration), "..." for another day
    quint32 background = 0;
    quint32 upperMark = 0;
    bool hasLowerMark = false;
    quint32 lowerMark = 0;
};
// The row of `entry` in the cell of `day`, by the settings the week view's
// boxes use (selection, the user's colour type, the store, the texts).
tMonthEntryPlan PlanMonthEntry(const tTacheParams &entry, const QDate &day, const tEntryBoxSettings &settings);

// The weekday names of the calendar's header: whole when every one fits a
// column, else each cut to its first three characters.
QStringList MonthDayNames(const QStringList &names, int columnWidth, const std::function<int(const QString &)> &width);
