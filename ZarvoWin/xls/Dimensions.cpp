#include "Dimensions.h"

namespace Biff8 {

void Dimensions::storeData(std::uint8_t *p)
{
    ByteSink::put32(p, firstRow);
    ByteSink::put32(p + 4, lastRowPlusOne);
    ByteSink::put16(p + 8, firstColumn);
    ByteSink::put16(p + 10, lastColumnPlusOne);
    ByteSink::put16(p + 12, 0);
}

} // namespace Biff8
