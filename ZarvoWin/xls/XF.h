#pragma once
#include "Record.h"

namespace Biff8 {

// A cell format (or style format): font, number format, alignment,
// borders and pattern.
class XF : public Record
{
public:
    // Type and protection: locked, a style format without parent.
    static constexpr std::uint16_t StyleType = 0xFFF5;
    // Type and protection: locked, a cell format whose parent is style 0.
    static constexpr std::uint16_t CellType = 0x0001;

    XF() : Record(0x00E0, 20) {}
    std::uint16_t font = 0, format = 0, typeProtection = StyleType;
    std::uint8_t alignment = 0x20, rotation = 0, indentShrink = 0, usedAttributes = 0;
    std::uint32_t border = 0, borderColours = 0;
    std::uint16_t pattern = 0x20C0;
protected:
    void storeData(std::uint8_t *p) override;
};

} // namespace Biff8
