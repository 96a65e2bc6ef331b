#pragma once
#include "Record.h"

namespace Biff8 {

// Start of a substream: the workbook globals or one worksheet.
class BOF : public Record
{
public:
    static constexpr std::uint16_t Globals = 0x0005;
    static constexpr std::uint16_t Sheet = 0x0010;
    explicit BOF(std::uint16_t type = Globals) : Record(0x0809, 16), type(type) {}
    std::uint16_t type;
protected:
    void storeData(std::uint8_t *p) override;
};

} // namespace Biff8
