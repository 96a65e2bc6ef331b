#include "ExcelCell.h"
#include "ExcelWorksheet.h"

namespace Biff8 {

const QString &ExcelCell::wideText() const
{
    static const QString none;
    return m_kind == WideText ? m_text : none;
}

void ExcelCell::SetWideString(const QString &text)
{
    qsizetype n = text.indexOf(QChar(0));
    if (n < 0)
        n = text.size();
    if (n > MaxTextLength) {
        n = MaxTextLength;
        if (text.at(n - 1).isHighSurrogate() && text.at(n).isLowSurrogate())
            --n;
    }
    if (n == 0) {
        m_text.clear();
        m_kind = Empty;
        return;
    }
    m_text = n == text.size() ? text : text.left(n);
    m_kind = WideText;
}

void ExcelCell::SetString(const QByteArray &text)
{
    qsizetype n = text.indexOf('\0');
    if (n < 0)
        n = text.size();
    n = qMin<qsizetype>(n, MaxTextLength);
    if (n == 0) {
        m_text.clear();
        m_kind = Empty;
        return;
    }
    m_text = QString::fromLatin1(text.constData(), n);
    m_kind = NarrowText;
}

void ExcelCell::SetDouble(double value)
{
    m_number = value;
    m_kind = Number;
}

void ExcelCell::SetInteger(std::int32_t value)
{
    m_integer = value;
    m_kind = Integer;
}

void ExcelCell::SetFormula(std::shared_ptr<const FormulaData> formula)
{
    m_formula = std::move(formula);
    m_kind = m_formula ? Formula : Empty;
}

bool ExcelCell::SetXFIndex(std::uint32_t index)
{
    if (index > MaxXFIndex || !m_sheet || !m_sheet->hasCellFormat(index))
        return false;
    m_xf = std::uint16_t(index);
    return true;
}

bool ExcelCell::SetSpan(std::uint16_t rows, std::uint16_t columns)
{
    rows = rows ? rows : 1;
    columns = columns ? columns : 1;
    // A cell outside any grid has no other range to meet.
    if (m_sheet && !m_sheet->recordMerge(m_row, m_column, rows, columns))
        return false;
    m_rowSpan = rows;
    m_colSpan = columns;
    return true;
}

} // namespace Biff8
