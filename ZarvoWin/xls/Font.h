#pragma once
#include "Record.h"
#include "ShortString.h"

namespace Biff8 {

// A font of the workbook; the first one is the default font.
class Font : public Record
{
public:
    Font() : Record(0x0031) { name.setWide(QStringLiteral("Arial")); }
    std::uint32_t DataSize() override { return m_dataSize = 14 + name.size(); }
    std::uint16_t height = 200, options = 0, colour = 0x7FFF, weight = 400, escapement = 0;
    std::uint8_t underline = 0, family = 0, charset = 0;
    ShortString name;
protected:
    void storeData(std::uint8_t *p) override;
};

} // namespace Biff8
