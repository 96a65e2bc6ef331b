#pragma once

// One column of the project-tracking grid in the order it is shown: its
// id (1 to 16; the name column 0 is always shown first and is not listed)
// and whether it is shown.
struct tColVisible
{
    int id = 0;
    bool visible = false;

    bool operator==(const tColVisible &other) const = default;
};
