#pragma once
#include "DragTimes.h"
#include "tDayColumn.h"
#include "tTacheParams.h"

#include <QPoint>
#include <QRect>
#include <QtGlobal>
#include <span>

class CWeekGeometry;

// What lies under a point of the week and day view, worked out from the
// geometry and the laid-out entries, without a window. Points are client
// coordinates.

// The time under a point. Valid unless the point lies on the hours ruler
// (x <= 64) or the header; a point left or right of the days, above
// midnight or below the day's end is clamped to the nearest day and row
// and is not valid either. The time is the local time of the row on the
// column's date, seconds 0; a row in the hour that the spring clock change
// skips gives the first instant after the change.
struct tTimeAt
{
    qint64 time = 0;
    bool valid = false;
};
tTimeAt TimeAt(const QPoint &point, std::span<const tDayColumn> days, const CWeekGeometry &geometry,
               int clientWidth);

// The local instant of `minutes` after midnight on `date` on the wall
// clock; a time the spring change skips gives the first instant after it.
qint64 WallClockTime(const QDate &date, int minutes);

// The day column under a point: the only one in the day view, else by x;
// -1 on the ruler, and left or right of the columns.
int ColumnAt(const QPoint &point, int dayCount, int clientWidth);

// The entry under a point: the first of the column's entries (in start
// order, laid out) whose box holds the row and whose tracks hold x.
struct tHit
{
    int column = -1;
    int index = -1; // in its day's entries; -1 when none
};
tHit HitTest(const QPoint &point, std::span<const tDayColumn> days, std::span<const tTacheParams> columnEntries,
             const CWeekGeometry &geometry, int clientWidth);

// What a drag would do to the entry under the pointer: a finished entry
// is resized from 7 pixels below its top or 8 above its bottom (on the
// day it starts or ends), else moved, or copied with Ctrl. A running entry
// that has begun can only have its start dragged; one that begins later
// moves like a finished one.
DragState HoverState(const tTacheParams &entry, const QDate &columnDate, int y, const CWeekGeometry &geometry,
                     qint64 now, bool ctrl);

// Where the pointer is during a drag, for the scrolling and stepping it
// starts: over a day arrow, in the band 20 pixels below the header or 20
// above the bottom, or elsewhere.
enum class DragZone { Elsewhere, PreviousDay, NextDay, ScrollUp, ScrollDown };
DragZone ZoneAt(const QPoint &point, const QRect &prevArrow, const QRect &nextArrow, int headerHeight,
                int clientHeight);

// One step of the right-button pan from `press` to `point`: the scroll
// position moves by whole units of 5 pixels (stopping one unit short of
// the last page, as the pan always did), and in the week view a move of
// a column's width steps the days (to the left: the next day). The press
// point follows what was taken.
struct tPanStep
{
    int scrollPos = 0;
    bool scrolled = false;
    int dayStep = 0; // -1 previous day, +1 next day
    QPoint press;
};
tPanStep PanStep(const QPoint &press, const QPoint &point, const CWeekGeometry &geometry, int clientWidth,
                 int dayCount);
