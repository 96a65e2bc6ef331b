#include "IntParse.h"

#include <QString>

#include <limits>

namespace Platform {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f';
}

bool isDigit(QStringView text, qsizetype i)
{
    return i < text.size() && text[i] >= u'0' && text[i] <= u'9';
}

} // namespace

double wtof(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && isBlank(text[i]))
        ++i;
    const qsizetype start = i;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    bool digits = false;
    while (isDigit(text, i)) {
        ++i;
        digits = true;
    }
    if (i < n && text[i] == u'.') {
        ++i;
        while (isDigit(text, i)) {
            ++i;
            digits = true;
        }
    }
    if (!digits)
        return 0;
    // An exponent counts only with at least one digit.
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        if (j < n && (text[j] == u'+' || text[j] == u'-'))
            ++j;
        if (isDigit(text, j)) {
            while (isDigit(text, j))
                ++j;
            i = j;
        }
    }
    // QString::toDouble always reads the C conventions; an overflow gives
    // an infinity, as the C runtime does.
    return text.mid(start, i - start).toString().toDouble();
}

qint64 wtoi64(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\n' || text[i] == u'\r'
                     || text[i] == u'\v' || text[i] == u'\f'))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    // Accumulate as a negative number so that INT64_MIN is representable.
    qint64 value = 0;
    constexpr qint64 minValue = std::numeric_limits<qint64>::min();
    bool saturated = false;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            break;
        const int digit = c - u'0';
        if (!saturated) {
            if (value < (minValue + digit) / 10)
                saturated = true;
            else
                value = value * 10 - digit;
        }
    }
    if (saturated)
        return negative ? minValue : std::numeric_limits<qint64>::max();
    if (negative)
        return value;
    return value == minValue ? std::numeric_limits<qint64>::max() : -value;
}

int wtoi(QStringView text)
{
    const qint64 v = wtoi64(text);
    if (v > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (v < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

} // namespace Platform
