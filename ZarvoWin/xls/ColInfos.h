#pragma once
#include "ColInfo.h"

#include <vector>

namespace Biff8 {

// Column widths: a list of ColInfo records, nothing when empty.
class ColInfos
{
public:
    std::vector<ColInfo> items;
    std::uint32_t Size();
    std::uint32_t Write(Buffer &out);
};

} // namespace Biff8
