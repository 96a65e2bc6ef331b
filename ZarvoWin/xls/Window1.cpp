#include "Window1.h"

namespace Biff8 {

void Window1::storeData(std::uint8_t *p)
{
    ByteSink::put16(p, left);
    ByteSink::put16(p + 2, top);
    ByteSink::put16(p + 4, width);
    ByteSink::put16(p + 6, height);
    ByteSink::put16(p + 8, options);
    ByteSink::put16(p + 10, activeSheet);
    ByteSink::put16(p + 12, firstTab);
    ByteSink::put16(p + 14, selectedSheets);
    ByteSink::put16(p + 16, tabRatio);
}

} // namespace Biff8
