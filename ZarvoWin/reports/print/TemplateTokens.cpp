#include "TemplateTokens.h"

#include "RtfReader.h"

#include <QStringDecoder>

#include <limits>

namespace TemplateTokens {

int ToNumber(const QString &token)
{
    qsizetype i = 0;
    const qsizetype n = token.size();
    while (i < n && token.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < n && (token.at(i) == u'+' || token.at(i) == u'-')) {
        negative = token.at(i) == u'-';
        ++i;
    }
    // Accumulated in 64 bits and clamped once it leaves the int range, so a
    // run of digits of any length cannot overflow.
    constexpr qint64 limit = qint64(std::numeric_limits<int>::max()) + 1;
    qint64 value = 0;
    for (; i < n; ++i) {
        const char16_t c = token.at(i).unicode();
        if (c < u'0' || c > u'9')
            break;
        if (value < limit)
            value = value * 10 + (c - u'0');
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return int(value);
}

QString Text(const QStringList &tokens, qsizetype index)
{
    return index < tokens.size() ? tokens.at(index) : QString();
}

int Number(const QStringList &tokens, qsizetype index)
{
    return index < tokens.size() ? ToNumber(tokens.at(index)) : 0;
}

bool Flag(const QStringList &tokens, qsizetype index)
{
    return index < tokens.size() && tokens.at(index) != QLatin1String("0");
}

int Colour(const QStringList &tokens, qsizetype index)
{
    if (index >= tokens.size())
        return 0;
    const QString token = tokens.at(index).trimmed();
    if (!token.startsWith(QLatin1String("0x")))
        return ToNumber(token);
    int value = 0;
    for (int part = 0; part < 3; ++part) {
        bool ok = false;
        const int byte = token.mid(2 + 2 * part, 2).toInt(&ok, 16);
        if (ok && byte >= 0 && byte <= 255)
            value |= byte << (8 * part);
    }
    return value;
}

QString Decode(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text.startsWith(QChar(0xFEFF)) ? text.mid(1) : text;
    QString result;
    result.reserve(bytes.size());
    for (const char c : bytes)
        result += RtfReader::FromWindows1252(static_cast<unsigned char>(c));
    return result;
}

QByteArray EncodeWindows1252(const QString &text)
{
    QByteArray result;
    result.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        char byte = '?';
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            byte = char(u);
        } else {
            for (int b = 0x80; b < 0xA0; ++b) {
                if (RtfReader::FromWindows1252(static_cast<unsigned char>(b)) == c) {
                    byte = char(b);
                    break;
                }
            }
        }
        result += byte;
    }
    return result;
}

} // namespace TemplateTokens
