#pragma once
#include "Record.h"

#include <vector>

namespace Biff8 {

// Leads a reader from the sheet start to the DBCell of every row block.
class Index : public Record
{
public:
    Index() : Record(0x020B, 16) {}
    std::uint32_t DataSize() override { return m_dataSize = 16 + 4 * std::uint32_t(dbCells.size()); }
    std::uint32_t firstRow = 0, lastRowPlusOne = 0;
    std::vector<std::uint32_t> dbCells; // stream position of each block's DBCell
protected:
    void storeData(std::uint8_t *p) override;
};

} // namespace Biff8
