#include "Style.h"

namespace Biff8 {

std::uint32_t Style::DataSize()
{
    return m_dataSize = (xfIndex & 0x8000) ? 4 : 2 + name.size();
}

void Style::storeData(std::uint8_t *p)
{
    ByteSink::put16(p, xfIndex);
    if (xfIndex & 0x8000) {
        p[2] = builtIn;
        p[3] = outline;
    } else {
        name.store(p + 2);
    }
}

} // namespace Biff8
