#pragma once
#include "CellRange.h"
#include "Record.h"

#include <vector>

namespace Biff8 {

// One MergedCells record: at most MaxRanges ranges.
class MergedCells : public Record
{
public:
    static constexpr std::size_t MaxRanges = 1027;
    MergedCells() : Record(0x00E5, 2) {}
    std::uint32_t DataSize() override { return m_dataSize = 2 + 8 * std::uint32_t(ranges.size()); }
    std::vector<CellRange> ranges;
protected:
    void storeData(std::uint8_t *p) override;
};

} // namespace Biff8
