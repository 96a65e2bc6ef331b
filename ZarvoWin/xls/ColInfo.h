#pragma once
#include "Record.h"

namespace Biff8 {

// Width and format of a range of columns.
class ColInfo : public Record
{
public:
    ColInfo() : Record(0x007D, 12) {}
    std::uint16_t firstColumn = 0, lastColumn = 255, width = 0x0A00, xfIndex = 0, options = 0;
protected:
    void storeData(std::uint8_t *p) override;
};

} // namespace Biff8
