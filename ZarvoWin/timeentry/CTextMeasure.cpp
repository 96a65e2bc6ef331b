#include "CTextMeasure.h"

#include <cmath>

CTextMeasure::CTextMeasure(const QFont &font)
    : m_metrics(font)
{
    m_latin.fill(-1);
}

qreal CTextMeasure::Advance(char32_t code, QStringView text) const
{
    if (code < m_latin.size()) {
        qreal &advance = m_latin[code];
        if (advance < 0)
            advance = m_metrics.horizontalAdvance(text.toString());
        return advance;
    }
    auto it = m_others.constFind(code);
    if (it == m_others.constEnd())
        it = m_others.insert(code, m_metrics.horizontalAdvance(text.toString()));
    return *it;
}

int CTextMeasure::Width(QStringView text) const
{
    qreal width = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t unit = text[i].unicode();
        if (unit < m_latin.size() && m_latin[unit] >= 0) {
            width += m_latin[unit];
            continue;
        }
        char32_t code = unit;
        qsizetype length = 1;
        if (QChar::isHighSurrogate(unit) && i + 1 < n && text[i + 1].isLowSurrogate()) {
            code = QChar::surrogateToUcs4(unit, text[i + 1].unicode());
            length = 2;
        }
        width += Advance(code, text.mid(i, length));
        i += length - 1;
    }
    return int(std::ceil(width - 1e-6));
}

int CTextMeasure::Height() const
{
    return int(std::ceil(m_metrics.height()));
}
