#include "ColInfo.h"

namespace Biff8 {

void ColInfo::storeData(std::uint8_t *p)
{
    ByteSink::put16(p, firstColumn);
    ByteSink::put16(p + 2, lastColumn);
    ByteSink::put16(p + 4, width);
    ByteSink::put16(p + 6, xfIndex);
    ByteSink::put16(p + 8, options);
    ByteSink::put16(p + 10, 0);
}

} // namespace Biff8
