#include "Font.h"

namespace Biff8 {

void Font::storeData(std::uint8_t *p)
{
    ByteSink::put16(p, height);
    ByteSink::put16(p + 2, options);
    ByteSink::put16(p + 4, colour);
    ByteSink::put16(p + 6, weight);
    ByteSink::put16(p + 8, escapement);
    p[10] = underline;
    p[11] = family;
    p[12] = charset;
    p[13] = 0;
    name.store(p + 14);
}

} // namespace Biff8
