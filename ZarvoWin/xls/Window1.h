#pragma once
#include "Record.h"

namespace Biff8 {

// Position and look of the workbook window.
class Window1 : public Record
{
public:
    Window1() : Record(0x003D, 18) {}
    std::uint16_t left = 120, top = 120, width = 15135, height = 9300;
    std::uint16_t options = 0x0038, activeSheet = 0, firstTab = 0, selectedSheets = 1, tabRatio = 600;
protected:
    void storeData(std::uint8_t *p) override;
};

} // namespace Biff8
