#pragma once
#include "ExcelCellFormat.h"

#include <QString>

#include <cstdint>
#include <map>

namespace Biff8 {

class ExcelFile;

// Number-format and cell-format indices of a workbook: built-in formats by
// their text, user formats added as Format records from 164 on, and XF
// records shared by identical cell formats.
class ExcelFormatManager
{
public:
    static constexpr std::uint32_t FirstUserFormat = 164;
    // Longest number-format text: its record must never need a CONTINUE.
    static constexpr int MaxFormatLength = 255;
    // The answer to a request that is refused; no cell accepts it as a
    // cell format and no cell format accepts it as a number format.
    static constexpr std::uint32_t NoIndex = 0xFFFFFFFF;

    explicit ExcelFormatManager(ExcelFile &file);

    // The index of a number-format text, added as a user format when it is
    // new; NoIndex (nothing added) for a text over MaxFormatLength units or
    // when the 16-bit format indices are used up.
    std::uint32_t GetFormatIndex(const QString &text);
    // The index of the cell format the description gives, added when it is
    // new; NoIndex (nothing added) when a font or number-format index does
    // not fit 16 bits or the file has no XF index left for it.
    std::uint32_t GetXFIndex(const ExcelCellFormat &format);

    // The built-in text of an index, or an empty text.
    static QString builtInFormat(std::uint32_t index);

private:
    ExcelFile &m_file;
    std::uint32_t m_nextUser = FirstUserFormat;
    std::map<std::uint32_t, QString> m_byIndex;
    std::map<QString, std::uint32_t> m_byText;
};

} // namespace Biff8
