#include "BOF.h"

namespace Biff8 {

void BOF::storeData(std::uint8_t *p)
{
    ByteSink::put16(p, 0x0600);
    ByteSink::put16(p + 2, type);
    ByteSink::put16(p + 4, 0x19A0);
    ByteSink::put16(p + 6, 1997);
    ByteSink::put32(p + 8, 0x0000C0C9);
    ByteSink::put32(p + 12, 0x00000306);
}

} // namespace Biff8
