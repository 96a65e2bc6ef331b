#pragma once
#include "SliderGeometry.h"

// The working-periods slider of the display options: a 400-pixel channel,
// margins -2, -2 (left, right) and 29 on top, a 7 x 9 thumb, a day in
// minutes.
inline SliderGeometry DayGeometry()
{
    SliderGeometry g;
    g.channelWidth = 400;
    g.channelHeight = 40;
    g.marginLeft = -2;
    g.marginRight = -2;
    g.marginTop = 29;
    g.thumbWidth = 7;
    g.thumbHeight = 9;
    g.minimum = 0;
    g.maximum = 1440;
    return g;
}
