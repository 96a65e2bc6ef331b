#pragma once
#include "LongString.h"
#include "Record.h"

namespace Biff8 {

// A cell style; the built-in Normal style names XF 0.
class Style : public Record
{
public:
    Style() : Record(0x0293, 4) {}
    std::uint32_t DataSize() override;
    // Bit 15 set: a built-in style, then builtIn and outline follow;
    // otherwise the name follows.
    std::uint16_t xfIndex = 0x8000;
    std::uint8_t builtIn = 0, outline = 0xFF;
    LongString name;
protected:
    void storeData(std::uint8_t *p) override;
};

} // namespace Biff8
