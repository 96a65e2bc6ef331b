#include "XF.h"

namespace Biff8 {

void XF::storeData(std::uint8_t *p)
{
    ByteSink::put16(p, font);
    ByteSink::put16(p + 2, format);
    ByteSink::put16(p + 4, typeProtection);
    p[6] = alignment;
    p[7] = rotation;
    p[8] = indentShrink;
    p[9] = usedAttributes;
    ByteSink::put32(p + 10, border);
    ByteSink::put32(p + 14, borderColours);
    ByteSink::put16(p + 18, pattern);
}

} // namespace Biff8
