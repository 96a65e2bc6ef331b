#pragma once
#include "Record.h"

#include <vector>

namespace Biff8 {

// End of a row block: the way back to its first Row record and to the
// first cell of each of its rows.
class DBCell : public Record
{
public:
    DBCell() : Record(0x00D7, 4) {}
    std::uint32_t DataSize() override { return m_dataSize = 4 + 2 * std::uint32_t(cellOffsets.size()); }
    std::uint32_t firstRowDistance = 0;
    std::vector<std::uint16_t> cellOffsets; // one per row of the block
protected:
    void storeData(std::uint8_t *p) override;
};

} // namespace Biff8
