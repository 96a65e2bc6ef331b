#pragma once

// One print column of a report page: its width in thousandths of the sum of
// all columns' widths (or, in a sample, in any common unit: the drawing
// shares the line's width in proportion) and its alignment, 0 left,
// 1 centred, 2 right.
struct tColumn
{
    int Width = 0;
    int Align = 0;
};
