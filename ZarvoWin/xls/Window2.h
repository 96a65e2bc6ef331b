#pragma once
#include "Record.h"

namespace Biff8 {

// Look of a sheet in its window.
class Window2 : public Record
{
public:
    static constexpr std::uint16_t Selected = 0x0200;
    Window2() : Record(0x023E, 18) {}
    std::uint16_t options = 0x06B6, firstRow = 0, firstColumn = 0, gridColour = 64;
    std::uint16_t previewZoom = 0, normalZoom = 0;
protected:
    void storeData(std::uint8_t *p) override;
};

} // namespace Biff8
