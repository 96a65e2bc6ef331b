#include "ExcelCell.h"

namespace Biff8 {

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
    m_narrow.clear();
    if (n == 0) {
        m_wide.clear();
        m_kind = Empty;
        return;
    }
    m_wide = n == text.size() ? text : text.left(n);
    m_kind = WideText;
}

void ExcelCell::SetString(const QByteArray &text)
{
    qsizetype n = text.indexOf('\0');
    if (n < 0)
        n = text.size();
    n = qMin<qsizetype>(n, MaxTextLength);
    m_wide.clear();
    if (n == 0) {
        m_narrow.clear();
        m_kind = Empty;
        return;
    }
    m_narrow = n == text.size() ? text : text.left(n);
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

void ExcelCell::SetSpan(std::uint16_t rows, std::uint16_t columns)
{
    m_rowSpan = rows ? rows : 1;
    m_colSpan = columns ? columns : 1;
}

} // namespace Biff8
