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
    // Type and protection of an added cell format: locked, a cell XF whose
    // parent is the style XF 0.
    static constexpr std::uint16_t CellXfType = 0x0001;

    explicit ExcelFormatManager(ExcelFile &file);

    std::uint32_t GetFormatIndex(const QString &text);
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
