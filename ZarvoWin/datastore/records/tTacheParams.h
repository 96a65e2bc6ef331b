#pragma once
#include "tTacheFull.h"

#include <cstdint>

// A time entry with the display fields that the week and month views, the
// running-entry list and the day cache fill in.
struct tTacheParams : tTacheFull
{
    int top = 0;      // top pixel of the entry's box in a day column
    int bottom = 0;   // bottom pixel
    int firstSlot = 0; // first slot occupied among overlapping entries
    int endSlot = 1;  // the slot after the last one (exclusive)
    std::uint8_t flag = 0; // display mark of the views

    tTacheParams() = default;
    // The row fields of `source` with the display fields of a new display
    // entry. (Copying a tTacheParams copies its display fields too.)
    explicit tTacheParams(const tTacheFull &source) : tTacheFull(source) {}

    void Reset();
    // Copies the row fields and the display fields.
    void Assign(const tTacheParams &other);
    tTacheParams Clone() const { return *this; }

    friend bool operator==(const tTacheParams &, const tTacheParams &) = default;
};
