#pragma once
#include <QDate>
#include <QRect>
#include <QSize>

// Where a small month calendar puts its header and its days. Weekdays are
// numbered Sunday = 1 .. Saturday = 7, like the settings.
//
// The grid has one header row of day names and 4 to 6 rows of days, seven
// columns of equal width centred in the widget; every row has the same
// height. Whatever the integer divisions leave over stays as margins on the
// right and at the bottom (and a half on the left), which hit no day.
struct SmallCalendarLayout
{
    // The first day of `month`'s month (an invalid date stays invalid).
    static QDate MonthStart(const QDate &month);
    // The day the grid starts with: the first day of the week on or before
    // the 1st. With a first day outside 1..7 the grid starts on the 1st.
    static QDate FirstShownDate(const QDate &month, int firstDayOfWeek);
    // Rows of days the month needs from that first shown date: 4, 5 or 6.
    static int Rows(const QDate &month, const QDate &firstShown);
    // The weekday of a date, Sunday = 1 .. Saturday = 7.
    static int Weekday(const QDate &date);

    // The geometry of a widget of `size` showing `month`.
    static SmallCalendarLayout Compute(const QSize &size, const QDate &month, int firstDayOfWeek);
    // Sets the cell width, row height and left offset for `size` and the
    // rows already set.
    void Fit(const QSize &size);

    // The header cell of a column (0..6), the cell of a day (0 .. rows x 7 - 1).
    QRect HeaderCell(int column) const;
    QRect DayCell(int index) const;
    // The day under a point; invalid in the header, in the margins, or when
    // the widget is too small to hold a grid.
    QDate DayAt(const QPoint &point) const;

    QDate month;      // the first day of the shown month
    QDate firstShown; // the date of the first cell
    int rows = 0;
    int cellWidth = 0;
    int rowHeight = 0;
    int leftOffset = 0;
};
