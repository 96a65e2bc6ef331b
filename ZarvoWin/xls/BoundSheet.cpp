#include "BoundSheet.h"

namespace Biff8 {

void BoundSheet::storeData(std::uint8_t *p)
{
    ByteSink::put32(p, position);
    p[4] = visibility;
    p[5] = sheetType;
    name.store(p + 6);
}

} // namespace Biff8
