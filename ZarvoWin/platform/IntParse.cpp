#include "IntParse.h"

#include <limits>

namespace Platform {

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
