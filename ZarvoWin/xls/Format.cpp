#include "Format.h"

namespace Biff8 {

void Format::storeData(std::uint8_t *p)
{
    ByteSink::put16(p, index);
    text.store(p + 2);
}

} // namespace Biff8
