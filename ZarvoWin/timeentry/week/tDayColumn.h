#pragma once
#include <QDate>
#include <QtGlobal>

// One day shown by the week and day view: its date, the pixel columns it
// occupies and what the layout of its entries found.
struct tDayColumn
{
    QDate Date;         // the day, invalid before the first choice
    int trackCount = 1; // tracks of overlapping entries, at least 1
    int left = 0;       // first pixel column of the day
    int right = 0;      // pixel column after the day (exclusive)
    qint64 total = 0;   // seconds of recorded time visible on the day
};
