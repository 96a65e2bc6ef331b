#pragma once
#include <cstdint>

namespace Biff8 {

// A rectangle of cells, both ends included.
struct CellRange
{
    std::uint16_t firstRow = 0, lastRow = 0, firstColumn = 0, lastColumn = 0;
    bool operator==(const CellRange &) const = default;
};

} // namespace Biff8
