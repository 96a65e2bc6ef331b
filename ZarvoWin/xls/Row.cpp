#include "Row.h"

namespace Biff8 {

void Row::storeData(std::uint8_t *p)
{
    ByteSink::put16(p, index);
    ByteSink::put16(p + 2, firstColumn);
    ByteSink::put16(p + 4, lastColumnPlusOne);
    ByteSink::put16(p + 6, height);
    ByteSink::put16(p + 8, 0);
    ByteSink::put16(p + 10, 0);
    ByteSink::put32(p + 12, options);
}

} // namespace Biff8
