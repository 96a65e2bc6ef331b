#include "ReportCentimetres.h"

#include <cstdlib>

namespace ReportCentimetres {

QString Format(int tenths, QChar separator)
{
    const qint64 value = tenths;
    const qint64 magnitude = std::llabs(value);
    QString out = value < 0 ? QStringLiteral("-") : QString();
    out += QString::number(magnitude / 100);
    out += separator;
    out += QStringLiteral("%1").arg(magnitude % 100, 2, 10, QLatin1Char('0'));
    return out;
}

bool Parse(QStringView text, QChar separator, int &tenths)
{
    const QStringView t = text.trimmed();
    if (t.isEmpty())
        return false;
    qint64 whole = 0;
    qint64 fraction = 0;
    int fractionDigits = 0;
    bool afterSeparator = false;
    bool anyDigit = false;
    for (QChar c : t) {
        if (c == separator || c == u'.' || c == u',') {
            if (afterSeparator || (c != separator && c != u'.'))
                return false;
            afterSeparator = true;
            continue;
        }
        if (c < u'0' || c > u'9')
            return false;
        anyDigit = true;
        const int digit = c.unicode() - u'0';
        if (!afterSeparator) {
            whole = whole * 10 + digit;
            if (whole > 1000000)
                return false;
        } else if (fractionDigits < 2) {
            fraction = fraction * 10 + digit;
            ++fractionDigits;
        }
    }
    if (!anyDigit)
        return false;
    if (fractionDigits == 1)
        fraction *= 10;
    const qint64 value = whole * 100 + fraction;
    if (value > 32767)
        return false;
    tenths = int(value);
    return true;
}

} // namespace ReportCentimetres
