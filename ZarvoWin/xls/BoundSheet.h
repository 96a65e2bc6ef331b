#pragma once
#include "Record.h"
#include "ShortString.h"

namespace Biff8 {

// One entry of the sheet directory: where the sheet's BOF lies in the
// stream, and its name.
class BoundSheet : public Record
{
public:
    BoundSheet() : Record(0x0085) { name.setNarrow(QByteArrayLiteral("Sheet1")); }
    std::uint32_t DataSize() override { return m_dataSize = 6 + name.size(); }
    std::uint32_t position = 0;
    std::uint8_t visibility = 0, sheetType = 0;
    ShortString name;
protected:
    void storeData(std::uint8_t *p) override;
};

} // namespace Biff8
