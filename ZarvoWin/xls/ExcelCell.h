#pragma once
#include <QByteArray>
#include <QString>

#include "FormulaData.h"

#include <memory>

#include <cstdint>

namespace Biff8 {

class ExcelWorksheet;

// One cell of a sheet grid: empty, a number or a text, with its cell format
// (an index into the workbook's list of cell formats) and its span when it
// starts a merged range. A cell reached through its sheet knows its place,
// so that formats and spans it cannot hold are refused.
class ExcelCell
{
public:
    enum Kind : std::uint8_t { Empty = 0, Integer = 1, Number = 2, NarrowText = 3, WideText = 4, Formula = 5 };
    // Longest text a cell holds, in UTF-16 units.
    static constexpr int MaxTextLength = 32767;
    // Cell-format indices are 16-bit in the file.
    static constexpr std::uint32_t MaxXFIndex = 0xFFFF;

    ExcelCell() = default;
    // A cell belongs to one place of one grid: it moves with its row but is
    // never copied into another place.
    ExcelCell(const ExcelCell &) = delete;
    ExcelCell &operator=(const ExcelCell &) = delete;
    ExcelCell(ExcelCell &&) noexcept = default;
    ExcelCell &operator=(ExcelCell &&) noexcept = default;

    Kind kind() const { return m_kind; }
    std::int32_t integer() const { return m_integer; }
    double number() const { return m_number; }
    QByteArray narrowText() const { return m_kind == NarrowText ? m_text.toLatin1() : QByteArray(); }
    const QString &wideText() const;
    std::uint32_t xfIndex() const { return m_xf; }
    std::uint16_t rowsSpanned() const { return m_rowSpan; }
    std::uint16_t columnsSpanned() const { return m_colSpan; }
    const std::shared_ptr<const FormulaData> &formula() const { return m_formula; }
    int row() const { return m_row; }
    int column() const { return m_column; }
    // Whether a save writes a record for the cell: it holds a value, or it
    // is blank with a cell format of its own.
    bool writesRecord() const { return m_kind != Empty || m_xf != 0; }

    // An empty text empties the cell; a text stops at its first NUL and is
    // cut to MaxTextLength units without splitting a surrogate pair.
    void SetWideString(const QString &text);
    // 8-bit (Latin-1) text, same rules.
    void SetString(const QByteArray &text);
    // Any double; a save writes a value that is not finite as the error #NUM!.
    void SetDouble(double value);
    void SetInteger(std::int32_t value);
    // A formula shared with other cells; null empties the cell.
    void SetFormula(std::shared_ptr<const FormulaData> formula);
    // False, the cell unchanged, for an index that is not in the workbook's
    // list of cell formats (or a cell that belongs to no workbook).
    bool SetXFIndex(std::uint32_t index);
    // A span above 1 makes the cell the top-left corner of a merged range,
    // cut at the sheet's last row and column; 1 by 1 ends the range. False,
    // the cell unchanged, when the range would overlap another one of the
    // sheet.
    bool SetSpan(std::uint16_t rows, std::uint16_t columns);

private:
    friend class ExcelWorksheet;

    // The text of either width (an 8-bit text is held as its Latin-1 characters).
    QString m_text;
    std::shared_ptr<const FormulaData> m_formula;
    double m_number = 0;
    ExcelWorksheet *m_sheet = nullptr;
    std::int32_t m_integer = 0;
    std::uint16_t m_xf = 0;
    std::uint16_t m_rowSpan = 1, m_colSpan = 1;
    std::uint16_t m_row = 0;
    std::uint8_t m_column = 0;
    Kind m_kind = Empty;
};

} // namespace Biff8
