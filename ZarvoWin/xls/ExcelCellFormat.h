#pragma once
#include <cstdint>

namespace Biff8 {

class ExcelFormatManager;

// A complete cell format as a caller describes it; the format manager finds
// or adds the matching XF record. The defaults are those of the workbook's
// default cell format.
class ExcelCellFormat
{
public:
    explicit ExcelCellFormat(ExcelFormatManager *manager = nullptr) : manager(manager) {}

    ExcelFormatManager *manager;
    std::int32_t xfIndex = -1; // left to the caller
    std::uint32_t fontIndex = 0;
    std::uint32_t formatIndex = 0;
    std::uint8_t alignment = 0x20;
    std::uint8_t rotation = 0;
    std::uint8_t indentShrink = 0;
    std::uint32_t border = 0;
    std::uint32_t borderColours = 0;
    std::uint16_t pattern = 0x20C0;
};

} // namespace Biff8
