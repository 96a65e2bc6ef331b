#include "TextParts.h"

#include "IntParse.h"

namespace Platform {

QStringList SplitString(const QString &text, const QString &separator)
{
    QStringList parts;
    SplitStringInto(text, separator, parts);
    return parts;
}

void SplitStringInto(const QString &text, const QString &separator, QStringList &parts)
{
    parts.clear();
    if (separator.isEmpty()) {
        parts.append(text);
        return;
    }
    parts = text.split(separator, Qt::KeepEmptyParts);
}

void ParseIntOrColor(const QStringList &parts, int index, int &value)
{
    if (index < 0 || index >= parts.size()) {
        value = 0;
        return;
    }
    const QString part = parts.at(index).trimmed();
    if (!part.startsWith(QLatin1String("0x"))) {
        value = wtoi(part);
        return;
    }
    // Only the hexadecimal digits that are there: three pairs at most,
    // reading stops at the first other character.
    const auto hexValue = [](QChar c) {
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9')
            return u - u'0';
        if (u >= u'a' && u <= u'f')
            return u - u'a' + 10;
        if (u >= u'A' && u <= u'F')
            return u - u'A' + 10;
        return -1;
    };
    int channels[3] = {0, 0, 0};
    for (int digit = 0; digit < 6 && 2 + digit < part.size(); ++digit) {
        const int v = hexValue(part.at(2 + digit));
        if (v < 0)
            break;
        channels[digit / 2] = channels[digit / 2] * 16 + v;
    }
    value = channels[0] + channels[1] * 256 + channels[2] * 65536;
}

} // namespace Platform
