#include "Formatter.h"

#include <QList>

#include <algorithm>
#include <charconv>
#include <string>

namespace Platform {

namespace {

struct Conversion
{
    bool left = false;
    bool plus = false;
    bool space = false;
    bool zero = false;
    int width = -1;
    int precision = -1;
    bool starWidth = false;
    bool starPrecision = false;
    bool wide64 = false;
    char16_t conversion = 0;
    qsizetype length = 0; // characters consumed after '%'
};

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

int readNumber(QStringView s, qsizetype &i)
{
    int v = 0;
    while (i < s.size() && isDigit(s[i])) {
        if (v < 100000)
            v = v * 10 + (s[i].unicode() - u'0');
        ++i;
    }
    return v;
}

// Parses a conversion that starts right after '%'. Returns false when the
// text is not a conversion this formatter knows.
bool parseConversion(QStringView s, Conversion &conv)
{
    qsizetype i = 0;
    for (; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == u'-') conv.left = true;
        else if (c == u'+') conv.plus = true;
        else if (c == u' ') conv.space = true;
        else if (c == u'0') conv.zero = true;
        else if (c == u'#') { /* alternate forms are not used */ }
        else break;
    }
    if (i < s.size() && s[i] == u'*') {
        conv.starWidth = true;
        ++i;
    } else if (i < s.size() && isDigit(s[i])) {
        conv.width = readNumber(s, i);
    }
    if (i < s.size() && s[i] == u'.') {
        ++i;
        if (i < s.size() && s[i] == u'*') {
            conv.starPrecision = true;
            ++i;
        } else {
            conv.precision = readNumber(s, i);
        }
    }
    // Length modifiers, including the Windows ones.
    for (;;) {
        if (s.mid(i).startsWith(u"I64")) { conv.wide64 = true; i += 3; }
        else if (s.mid(i).startsWith(u"I32")) { i += 3; }
        else if (i < s.size() && (s[i] == u'l' || s[i] == u'L' || s[i] == u'q' || s[i] == u'j'
                                   || s[i] == u'z' || s[i] == u't' || s[i] == u'I')) {
            if (s[i] == u'l' && i + 1 < s.size() && s[i + 1] == u'l')
                ++i;
            if (s[i] != u'z' && s[i] != u't')
                conv.wide64 = conv.wide64 || s[i] == u'l' || s[i] == u'q' || s[i] == u'j'
                              || s[i] == u'I';
            ++i;
        }
        else if (i < s.size() && (s[i] == u'h' || s[i] == u'w')) { ++i; }
        else break;
    }
    if (i >= s.size())
        return false;
    const char16_t c = s[i].unicode();
    switch (c) {
    case u'd': case u'i': case u'u': case u'x': case u'X': case u'o':
    case u'f': case u'F': case u'e': case u'E': case u'g': case u'G':
    case u's': case u'S': case u'c': case u'C':
        conv.conversion = c;
        conv.length = i + 1;
        return true;
    default:
        return false;
    }
}

QString pad(QString body, const Conversion &conv, bool numeric)
{
    if (conv.width < 0 || body.size() >= conv.width)
        return body;
    const qsizetype missing = conv.width - body.size();
    if (conv.left)
        return body + QString(missing, u' ');
    if (numeric && conv.zero) {
        qsizetype signLen = 0;
        if (!body.isEmpty() && (body[0] == u'-' || body[0] == u'+' || body[0] == u' '))
            signLen = 1;
        if (body.startsWith(u"inf") || body.startsWith(u"nan") || body.mid(signLen).startsWith(u"inf"))
            return QString(missing, u' ') + body;
        return body.left(signLen) + QString(missing, u'0') + body.mid(signLen);
    }
    return QString(missing, u' ') + body;
}

// The C library's rounding (exact ties go to even) without its locale.
QString formatDouble(double v, char mode, int precision)
{
    const std::chars_format format = mode == 'f' ? std::chars_format::fixed
                                     : mode == 'e' ? std::chars_format::scientific
                                                   : std::chars_format::general;
    precision = std::min(precision, 300);
    std::string buffer(static_cast<size_t>(precision) + 400, '\0');
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), v, format, precision);
    if (result.ec != std::errc())
        return QString::number(v, mode, precision);
    return QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
}

QString signed64(const Conversion &conv, qint64 v)
{
    const bool negative = v < 0;
    const quint64 magnitude = negative ? (~static_cast<quint64>(v) + 1u) : static_cast<quint64>(v);
    QString digits = QString::number(magnitude);
    if (conv.precision >= 0 && digits.size() < conv.precision)
        digits = QString(conv.precision - digits.size(), u'0') + digits;
    if (conv.precision == 0 && magnitude == 0)
        digits.clear();
    if (negative)
        return u'-' + digits;
    if (conv.plus)
        return u'+' + digits;
    if (conv.space)
        return u' ' + digits;
    return digits;
}

QString applyConversion(const Conversion &conv, const FormatArg &arg)
{
    Conversion effective = conv;
    // A precision given for an integer disables zero padding, as in C.
    switch (conv.conversion) {
    case u'd':
    case u'i':
        if (effective.precision >= 0)
            effective.zero = false;
        return pad(signed64(effective, arg.toInt64()), effective, true);
    case u'u':
    case u'x':
    case u'X':
    case u'o': {
        quint64 v;
        if (arg.kind() == FormatArg::Kind::UInt || conv.wide64)
            v = arg.toUInt64();
        else
            v = static_cast<quint32>(static_cast<quint64>(arg.toInt64()));
        const int base = conv.conversion == u'u' ? 10 : (conv.conversion == u'o' ? 8 : 16);
        QString digits = QString::number(v, base);
        if (conv.conversion == u'X')
            digits = digits.toUpper();
        if (effective.precision >= 0) {
            effective.zero = false;
            if (digits.size() < effective.precision)
                digits = QString(effective.precision - digits.size(), u'0') + digits;
        }
        return pad(digits, effective, true);
    }
    case u'f':
    case u'F':
    case u'e':
    case u'E':
    case u'g':
    case u'G': {
        const double v = arg.toDouble();
        int precision = conv.precision < 0 ? 6 : conv.precision;
        char mode = static_cast<char>(QChar(conv.conversion).toLower().unicode());
        if (mode == 'g' && precision == 0)
            precision = 1;
        QString body = formatDouble(v, mode, precision);
        if (QChar(conv.conversion).isUpper())
            body = body.toUpper();
        if (!body.startsWith(u'-')) {
            if (conv.plus)
                body.prepend(u'+');
            else if (conv.space)
                body.prepend(u' ');
        }
        return pad(body, effective, true);
    }
    case u's':
    case u'S': {
        QString text = arg.toText();
        if (conv.precision >= 0 && text.size() > conv.precision)
            text.truncate(conv.precision);
        return pad(text, effective, false);
    }
    case u'c':
    case u'C': {
        QString text;
        if (arg.kind() == FormatArg::Kind::Text)
            text = arg.toText().left(1);
        else {
            const qint64 code = arg.toInt64();
            if (code > 0 && code <= 0xFFFF)
                text = QChar(static_cast<char16_t>(code));
        }
        return pad(text, effective, false);
    }
    default:
        return {};
    }
}

} // namespace

QString Formatter::convert(QStringView conv, const FormatArg &arg)
{
    Conversion parsed;
    if (!parseConversion(conv, parsed) || parsed.starWidth || parsed.starPrecision)
        return arg.toText();
    return applyConversion(parsed, arg);
}

QString Formatter::sprintf(QStringView format, std::initializer_list<FormatArg> args)
{
    QString out;
    out.reserve(format.size() + 16 * static_cast<qsizetype>(args.size()));
    const FormatArg *next = args.begin();
    const FormatArg *end = args.end();
    qsizetype i = 0;
    while (i < format.size()) {
        const qsizetype pct = format.indexOf(u'%', i);
        if (pct < 0) {
            out += format.mid(i);
            break;
        }
        out += format.mid(i, pct - i);
        if (pct + 1 < format.size() && format[pct + 1] == u'%') {
            out += u'%';
            i = pct + 2;
            continue;
        }
        Conversion conv;
        if (!parseConversion(format.mid(pct + 1), conv)) {
            out += u'%';
            i = pct + 1;
            continue;
        }
        const QStringView literal = format.mid(pct, conv.length + 1);
        i = pct + 1 + conv.length;
        if (conv.starWidth) {
            if (next == end) { out += literal; continue; }
            const qint64 w = (next++)->toInt64();
            conv.width = static_cast<int>(std::clamp<qint64>(w, -100000, 100000));
            if (conv.width < 0) { conv.left = true; conv.width = -conv.width; }
        }
        if (conv.starPrecision) {
            if (next == end) { out += literal; continue; }
            const qint64 p = (next++)->toInt64();
            conv.precision = p < 0 ? -1 : static_cast<int>(std::min<qint64>(p, 100000));
        }
        if (next == end) {
            out += literal;
            continue;
        }
        out += applyConversion(conv, *next++);
    }
    return out;
}

QString Formatter::message(QStringView format, std::initializer_list<FormatArg> args)
{
    const QList<FormatArg> list(args);
    QString out;
    out.reserve(format.size() + 16 * list.size());
    qsizetype i = 0;
    while (i < format.size()) {
        const qsizetype pct = format.indexOf(u'%', i);
        if (pct < 0) {
            out += format.mid(i);
            break;
        }
        out += format.mid(i, pct - i);
        qsizetype j = pct + 1;
        if (j < format.size() && format[j] == u'%') {
            out += u'%';
            i = j + 1;
            continue;
        }
        if (j >= format.size() || !isDigit(format[j]) || format[j] == u'0') {
            out += u'%';
            i = j;
            continue;
        }
        int index = format[j].unicode() - u'0';
        ++j;
        if (j < format.size() && isDigit(format[j])) {
            index = index * 10 + (format[j].unicode() - u'0');
            ++j;
        }
        QStringView conv;
        if (j < format.size() && format[j] == u'!') {
            const qsizetype close = format.indexOf(u'!', j + 1);
            if (close > j) {
                conv = format.mid(j + 1, close - j - 1);
                j = close + 1;
            }
        }
        if (index < 1 || index > list.size())
            out += format.mid(pct, j - pct);
        else if (conv.isEmpty())
            out += list[index - 1].toText();
        else
            out += convert(conv, list[index - 1]);
        i = j;
    }
    return out;
}

} // namespace Platform
