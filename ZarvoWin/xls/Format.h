#pragma once
#include "LongString.h"
#include "Record.h"

namespace Biff8 {

// A number format: its index and its text.
class Format : public Record
{
public:
    Format() : Record(0x041E) { text.setWide(QStringLiteral("General")); }
    std::uint32_t DataSize() override { return m_dataSize = 2 + text.size(); }
    std::uint16_t index = 0;
    LongString text;
protected:
    void storeData(std::uint8_t *p) override;
};

} // namespace Biff8
