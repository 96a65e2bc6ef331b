#pragma once
#include "LongString.h"
#include "Record.h"
#include "ShortString.h"

namespace Biff8 {

// The fixed records of the workbook globals and of the sheets' start and
// end. Each class stores the values the writer puts in its fields.

class BOF : public Record
{
public:
    static constexpr std::uint16_t Globals = 0x0005;
    static constexpr std::uint16_t Sheet = 0x0010;
    explicit BOF(std::uint16_t type = Globals) : Record(0x0809, 16), type(type) {}
    std::uint16_t type;
protected:
    void storeData(std::uint8_t *p) override;
};

class EOFRecord : public Record
{
public:
    EOFRecord() : Record(0x000A, 0) {}
protected:
    void storeData(std::uint8_t *) override {}
};

class Window1 : public Record
{
public:
    Window1() : Record(0x003D, 18) {}
    std::uint16_t left = 120, top = 120, width = 15135, height = 9300;
    std::uint16_t options = 0x0038, activeSheet = 0, firstTab = 0, selectedSheets = 1, tabRatio = 600;
protected:
    void storeData(std::uint8_t *p) override;
};

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

class XF : public Record
{
public:
    XF() : Record(0x00E0, 20) {}
    std::uint16_t font = 0, format = 0, typeProtection = 0xFFF5;
    std::uint8_t alignment = 0x20, rotation = 0, indentShrink = 0, usedAttributes = 0;
    std::uint32_t border = 0, borderColours = 0;
    std::uint16_t pattern = 0x20C0;
protected:
    void storeData(std::uint8_t *p) override;
};

class Style : public Record
{
public:
    Style() : Record(0x0293, 4) {}
    std::uint32_t DataSize() override;
    // Bit 15 set: a built-in style, then builtIn and outline follow;
    // otherwise the name follows.
    std::uint16_t xfIndex = 0x8000;
    std::uint8_t builtIn = 0, outline = 0xFF;
    LongString name;
protected:
    void storeData(std::uint8_t *p) override;
};

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
