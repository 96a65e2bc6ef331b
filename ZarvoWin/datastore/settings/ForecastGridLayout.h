#pragma once

// The column layout of the project-tracking grid when none is saved: one
// item per column kind 1 to 16, each the visibility (1 shown, 0 hidden), ':',
// the kind and '|'. Kinds 2, 3, 8 to 13 and 15 are shown.
inline constexpr char16_t DefaultForecastGridLayout[] =
    u"0:1|1:2|1:3|0:4|0:5|0:6|0:7|1:8|1:9|1:10|1:11|1:12|1:13|0:14|1:15|0:16|";
