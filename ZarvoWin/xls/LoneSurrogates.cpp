#include "LoneSurrogates.h"

namespace Biff8 {

QString ReplaceLoneSurrogates(const QString &text)
{
    QString out;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (!c.isSurrogate())
            continue;
        if (c.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate()) {
            ++i; // a whole pair
            continue;
        }
        if (out.isNull())
            out = text;
        out[i] = QChar(QChar::ReplacementCharacter);
    }
    return out.isNull() ? text : out;
}

} // namespace Biff8
