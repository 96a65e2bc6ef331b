#pragma once
#include <QByteArray>
#include <QString>

#include "FormulaData.h"

#include <memory>

#include <cstdint>

namespace Biff8 {

// One cell of a sheet grid: empty, a number or a text, with its cell format
// (an index into the workbook's XF list) and its span when it starts a
// merged range.
class ExcelCell
{
public:
    enum Kind : std::uint8_t { Empty = 0, Integer = 1, Number = 2, NarrowText = 3, WideText = 4, Formula = 5 };
    // Longest text a cell holds, in UTF-16 units.
    static constexpr int MaxTextLength = 32767;

    Kind kind() const { return m_kind; }
    std::int32_t integer() const { return m_integer; }
    double number() const { return m_number; }
    QByteArray narrowText() const { return m_kind == NarrowText ? m_text.toLatin1() : QByteArray(); }
    const QString &wideText() const;
    std::uint32_t xfIndex() const { return m_xf; }
    std::uint16_t rowsSpanned() const { return m_rowSpan; }
    std::uint16_t columnsSpanned() const { return m_colSpan; }
    const std::shared_ptr<const FormulaData> &formula() const { return m_formula; }

    // An empty text empties the cell; a text stops at its first NUL and is
    // cut to MaxTextLength units without splitting a surrogate pair.
    void SetWideString(const QString &text);
    // 8-bit (Latin-1) text, same rules.
    void SetString(const QByteArray &text);
    void SetDouble(double value);
    void SetInteger(std::int32_t value);
    // A formula shared with other cells; null empties the cell.
    void SetFormula(std::shared_ptr<const FormulaData> formula);
    void SetXFIndex(std::uint32_t index) { m_xf = index; }
    // A span above 1 makes the cell the top-left corner of a merged range.
    void SetSpan(std::uint16_t rows, std::uint16_t columns);

private:
    // The text of either width (an 8-bit text is held as its Latin-1 characters).
    QString m_text;
    std::shared_ptr<const FormulaData> m_formula;
    double m_number = 0;
    std::int32_t m_integer = 0;
    std::uint32_t m_xf = 0;
    std::uint16_t m_rowSpan = 1, m_colSpan = 1;
    Kind m_kind = Empty;
};

} // namespace Biff8
