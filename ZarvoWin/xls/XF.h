#pragma once
#include "Record.h"

namespace Biff8 {

// A cell format (or style format): font, number format, alignment,
// borders and pattern.
class XF : public Record
{
public:
    XF() : Record(0x00E0, 20) {}
    std::uint16_t font = 0, format = 0, typeProtection = 0xFFF5;
    std::uint8_t alignment = 0x20, rotation = 0, indentShrink = 0, usedAttributes = 0;
    std::uint32_t border = 0, borderColours = 0;
    std::uint16_t pattern = 0x20C0;
protected:
    void storeData(std::uint8_t *p) override;
};

} // namespace Biff8
