#pragma once
#include "Record.h"

namespace Biff8 {

// The used area of a sheet.
class Dimensions : public Record
{
public:
    Dimensions() : Record(0x0200, 14) {}
    std::uint32_t firstRow = 0, lastRowPlusOne = 0;
    std::uint16_t firstColumn = 0, lastColumnPlusOne = 0;
protected:
    void storeData(std::uint8_t *p) override;
};

} // namespace Biff8
