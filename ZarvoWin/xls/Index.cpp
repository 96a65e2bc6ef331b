#include "Index.h"

namespace Biff8 {

void Index::storeData(std::uint8_t *p)
{
    ByteSink::put32(p, 0);
    ByteSink::put32(p + 4, firstRow);
    ByteSink::put32(p + 8, lastRowPlusOne);
    ByteSink::put32(p + 12, 0);
    for (std::size_t i = 0; i < dbCells.size(); ++i)
        ByteSink::put32(p + 16 + 4 * i, dbCells[i]);
}

} // namespace Biff8
