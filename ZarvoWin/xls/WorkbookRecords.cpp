#include "WorkbookRecords.h"

namespace Biff8 {

void BOF::storeData(std::uint8_t *p)
{
    ByteSink::put16(p, 0x0600);
    ByteSink::put16(p + 2, type);
    ByteSink::put16(p + 4, 0x19A0);
    ByteSink::put16(p + 6, 1997);
    ByteSink::put32(p + 8, 0x0000C0C9);
    ByteSink::put32(p + 12, 0x00000306);
}

void Window1::storeData(std::uint8_t *p)
{
    ByteSink::put16(p, left);
    ByteSink::put16(p + 2, top);
    ByteSink::put16(p + 4, width);
    ByteSink::put16(p + 6, height);
    ByteSink::put16(p + 8, options);
    ByteSink::put16(p + 10, activeSheet);
    ByteSink::put16(p + 12, firstTab);
    ByteSink::put16(p + 14, selectedSheets);
    ByteSink::put16(p + 16, tabRatio);
}

void Font::storeData(std::uint8_t *p)
{
    ByteSink::put16(p, height);
    ByteSink::put16(p + 2, options);
    ByteSink::put16(p + 4, colour);
    ByteSink::put16(p + 6, weight);
    ByteSink::put16(p + 8, escapement);
    p[10] = underline;
    p[11] = family;
    p[12] = charset;
    p[13] = 0;
    name.store(p + 14);
}

void Format::storeData(std::uint8_t *p)
{
    ByteSink::put16(p, index);
    text.store(p + 2);
}

void XF::storeData(std::uint8_t *p)
{
    ByteSink::put16(p, font);
    ByteSink::put16(p + 2, format);
    ByteSink::put16(p + 4, typeProtection);
    p[6] = alignment;
    p[7] = rotation;
    p[8] = indentShrink;
    p[9] = usedAttributes;
    ByteSink::put32(p + 10, border);
    ByteSink::put32(p + 14, borderColours);
    ByteSink::put16(p + 18, pattern);
}

std::uint32_t Style::DataSize()
{
    return m_dataSize = (xfIndex & 0x8000) ? 4 : 2 + name.size();
}

void Style::storeData(std::uint8_t *p)
{
    ByteSink::put16(p, xfIndex);
    if (xfIndex & 0x8000) {
        p[2] = builtIn;
        p[3] = outline;
    } else {
        name.store(p + 2);
    }
}

void BoundSheet::storeData(std::uint8_t *p)
{
    ByteSink::put32(p, position);
    p[4] = visibility;
    p[5] = sheetType;
    name.store(p + 6);
}

} // namespace Biff8
