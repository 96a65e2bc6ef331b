#include "DBCell.h"

namespace Biff8 {

void DBCell::storeData(std::uint8_t *p)
{
    ByteSink::put32(p, firstRowDistance);
    for (std::size_t i = 0; i < cellOffsets.size(); ++i)
        ByteSink::put16(p + 4 + 2 * i, cellOffsets[i]);
}

} // namespace Biff8
