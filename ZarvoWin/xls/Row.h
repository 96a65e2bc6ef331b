#pragma once
#include "Record.h"

namespace Biff8 {

// One row of a sheet: its index, its columns and its height.
class Row : public Record
{
public:
    Row() : Record(0x0208, 16) {}
    std::uint16_t index = 0, firstColumn = 0, lastColumnPlusOne = 0, height = 0x00FF;
    std::uint32_t options = 0x00000100;
protected:
    void storeData(std::uint8_t *p) override;
};

} // namespace Biff8
