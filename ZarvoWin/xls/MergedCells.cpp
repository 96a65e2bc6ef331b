#include "MergedCells.h"

namespace Biff8 {

void MergedCells::storeData(std::uint8_t *p)
{
    ByteSink::put16(p, std::uint16_t(ranges.size()));
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        std::uint8_t *r = p + 2 + 8 * i;
        ByteSink::put16(r, ranges[i].firstRow);
        ByteSink::put16(r + 2, ranges[i].lastRow);
        ByteSink::put16(r + 4, ranges[i].firstColumn);
        ByteSink::put16(r + 6, ranges[i].lastColumn);
    }
}

} // namespace Biff8
