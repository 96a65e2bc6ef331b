#include "Window2.h"

namespace Biff8 {

void Window2::storeData(std::uint8_t *p)
{
    ByteSink::put16(p, options);
    ByteSink::put16(p + 2, firstRow);
    ByteSink::put16(p + 4, firstColumn);
    ByteSink::put16(p + 6, gridColour);
    ByteSink::put16(p + 8, 0);
    ByteSink::put16(p + 10, previewZoom);
    ByteSink::put16(p + 12, normalZoom);
    ByteSink::put32(p + 14, 0);
}

} // namespace Biff8
