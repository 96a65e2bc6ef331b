#include "ExcelFormatManager.h"
#include "ExcelFile.h"

#include <array>

namespace Biff8 {

namespace {

struct BuiltIn
{
    std::uint32_t index;
    const char16_t *text;
};

constexpr std::array<BuiltIn, 36> builtIns{{
    {0, u"General"},
    {1, u"0"},
    {2, u"0.00"},
    {3, u"#,##0"},
    {4, u"#,##0.00"},
    {5, u"\"$\"#,##0_);(\"$\"#,##0)"},
    {6, u"\"$\"#,##0_);[Red](\"$\"#,##0)"},
    {7, u"\"$\"#,##0.00_);(\"$\"#,##0.00)"},
    {8, u"\"$\"#,##0.00_);[Red](\"$\"#,##0.00)"},
    {9, u"0%"},
    {10, u"0.00%"},
    {11, u"0.00E+00"},
    {12, u"# ?/?"},
    {13, u"# ?\?/??"},
    {14, u"M/D/YY"},
    {15, u"D-MMM-YY"},
    {16, u"D-MMM"},
    {17, u"MMM-YY"},
    {18, u"h:mm AM/PM"},
    {19, u"h:mm:ss AM/PM"},
    {20, u"h:mm"},
    {21, u"h:mm:ss"},
    {22, u"M/D/YY h:mm"},
    {37, u"_(#,##0_);(#,##0)"},
    {38, u"_(#,##0_);[Red](#,##0)"},
    {39, u"_(#,##0.00_);(#,##0.00)"},
    {40, u"_(#,##0.00_);[Red](#,##0.00)"},
    {41, u"_(* #,##0_);_(* (#,##0);_(* \"-\"_);_(@_)"},
    {42, u"_($* #,##0_);_($* (#,##0);_($* \"-\"_);_(@_)"},
    {43, u"_(* #,##0.00_);_(* (#,##0.00);_(* \"-\"?\?_);_(@_)"},
    {44, u"_($* #,##0.00_);_($* (#,##0.00);_($* \"-\"?\?_);_(@_)"},
    {45, u"mm:ss"},
    {46, u"[h]:mm:ss"},
    {47, u"mm:ss.0"},
    {48, u"##0.0E+0"},
    {49, u"@"},
}};

} // namespace

QString ExcelFormatManager::builtInFormat(std::uint32_t index)
{
    for (const BuiltIn &b : builtIns)
        if (b.index == index)
            return QString::fromUtf16(b.text);
    return {};
}

ExcelFormatManager::ExcelFormatManager(ExcelFile &file) : m_file(file)
{
    for (const BuiltIn &b : builtIns)
        m_byIndex[b.index] = QString::fromUtf16(b.text);
    for (const Format &f : m_file.Globals().formats) {
        m_byIndex[f.index] = f.text.text();
        if (m_nextUser <= f.index)
            m_nextUser = std::uint32_t(f.index) + 1;
    }
    // In ascending order, so that a text held by several indices keeps the highest.
    for (const auto &[index, text] : m_byIndex)
        m_byText[text] = index;
}

std::uint32_t ExcelFormatManager::GetFormatIndex(const QString &text)
{
    auto it = m_byText.find(text);
    if (it != m_byText.end())
        return it->second;
    if (text.size() > MaxFormatLength || m_nextUser > 0xFFFF)
        return NoIndex;
    const std::uint32_t index = m_nextUser++;
    m_byIndex[index] = text;
    m_byText[text] = index;
    Format record;
    record.index = std::uint16_t(index);
    record.text.setWide(text);
    m_file.Globals().formats.push_back(std::move(record));
    return index;
}

std::uint32_t ExcelFormatManager::GetXFIndex(const ExcelCellFormat &format)
{
    if (format.fontIndex > 0xFFFF || format.formatIndex > 0xFFFF)
        return NoIndex;
    auto &xfs = m_file.Globals().xfs;
    for (std::size_t i = 0; i < xfs.size(); ++i) {
        const XF &x = xfs[i];
        if (x.font == format.fontIndex && x.format == format.formatIndex && x.alignment == format.alignment
            && x.rotation == format.rotation && x.indentShrink == format.indentShrink && x.border == format.border
            && x.borderColours == format.borderColours && x.pattern == format.pattern)
            return std::uint32_t(i);
    }
    if (Workbook::StyleXFCount + xfs.size() > 0xFFFF)
        return NoIndex;
    XF x;
    x.font = std::uint16_t(format.fontIndex);
    x.format = std::uint16_t(format.formatIndex);
    x.alignment = format.alignment;
    x.rotation = format.rotation;
    x.indentShrink = format.indentShrink;
    x.border = format.border;
    x.borderColours = format.borderColours;
    x.pattern = format.pattern;
    x.typeProtection = XF::CellType;
    x.usedAttributes = 0;
    xfs.push_back(x);
    return std::uint32_t(xfs.size() - 1);
}

} // namespace Biff8
