#pragma once
#include "tReportItem.h"

// The record of one row of a report's tree: its check state (0 unchecked,
// 1 checked, 2 mixed, only on rows with children), its group marker (0 on
// group rows and on the total row, -1 on every other row) and its item
// (what the row shows).
struct tReportRow
{
    int Check = 0;
    int GroupMarker = -1;
    tReportItem Item;
};
