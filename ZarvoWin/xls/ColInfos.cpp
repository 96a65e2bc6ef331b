#include "ColInfos.h"

namespace Biff8 {

std::uint32_t ColInfos::Size()
{
    std::uint32_t n = 0;
    for (ColInfo &c : items)
        n += c.RecordSize();
    return n;
}

std::uint32_t ColInfos::Write(Buffer &out)
{
    std::uint32_t n = 0;
    for (ColInfo &c : items)
        n += c.Write(out);
    return n;
}

} // namespace Biff8
