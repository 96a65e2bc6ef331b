#include "EditKeyRules.h"

#include "IntParse.h"

#include <algorithm>

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The selection clamped to the text.
EditKeyRules::Selection clamp(const QString &text, EditKeyRules::Selection s)
{
    const int size = int(text.size());
    s.start = std::clamp(s.start, 0, size);
    s.length = std::clamp(s.length, 0, size - s.start);
    return s;
}

} // namespace

EditKeyRules::Result EditKeyRules::Unchanged(const QString &text, Verdict verdict) const
{
    Result r;
    r.verdict = verdict;
    r.text = text;
    return r;
}

EditKeyRules::Result EditKeyRules::Replace(const QString &text, int start, int length,
                                           const QString &replacement) const
{
    Result r;
    r.verdict = Verdict::Accept;
    r.start = start;
    r.length = length;
    r.replacement = replacement;
    r.text = QString(text).replace(start, length, replacement);
    if (mode == Mode::Number && rangeCheck && !InRange(r.text))
        return Unchanged(text, Verdict::Beep);
    return r;
}

bool EditKeyRules::IsSeparatorKey(QChar c) const
{
    return c == u',' || c == u'.' || c == separator;
}

bool EditKeyRules::InRange(const QString &text) const
{
    const int value = Platform::wtoi(text);
    return value >= minimum && value <= maximum;
}

EditKeyRules::Verdict EditKeyRules::TextCharacter(QChar c) const
{
    const char16_t u = c.unicode();
    if (mode == Mode::Caption)
        return u < 0x20 || u == u'|' ? Verdict::Beep : Verdict::Accept;
    if (mode == Mode::FileName) {
        if (u < 0x20)
            return Verdict::Beep;
        switch (u) {
        case u'"': case u'*': case u'/': case u':': case u'<':
        case u'>': case u'?': case u'\\': case u'|':
            return Verdict::Beep;
        default:
            return Verdict::Accept;
        }
    }
    // Identifier: '0'..'?' holds the digits and : ; < = > ?, '('..'.'
    // holds ( ) * + , - .
    if ((u >= u'0' && u <= u'?') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z')
        || (u >= u'(' && u <= u'.') || u == u' ' || u == u'_')
        return Verdict::Accept;
    return Verdict::Beep;
}

EditKeyRules::Result EditKeyRules::Erase(const QString &text, Selection selection,
                                         bool forward) const
{
    const Selection s = clamp(text, selection);
    if (s.length > 0)
        return Replace(text, s.start, s.length, QString());
    if (forward ? s.start >= text.size() : s.start == 0)
        return Unchanged(text, Verdict::Ignore); // nothing to erase
    // A surrogate pair goes as one character.
    int from = forward ? s.start : s.start - 1;
    int count = 1;
    if (forward && from + 1 < text.size() && text[from].isHighSurrogate()
        && text[from + 1].isLowSurrogate())
        count = 2;
    if (!forward && from > 0 && text[from].isLowSurrogate() && text[from - 1].isHighSurrogate()) {
        --from;
        count = 2;
    }
    return Replace(text, from, count, QString());
}

EditKeyRules::Result EditKeyRules::Key(const QString &text, Selection selection, QChar key) const
{
    const Selection s = clamp(text, selection);
    if (key == u'\b')
        return Erase(text, s, false);
    if (mode != Mode::Number) {
        const Verdict v = TextCharacter(key);
        return v == Verdict::Accept ? Replace(text, s.start, s.length, QString(key))
                                    : Unchanged(text, v);
    }
    if (IsSeparatorKey(key)) {
        if (integerOnly)
            return Unchanged(text, Verdict::Beep);
        // A separator outside the part being replaced stays the only one.
        const QString kept = QString(text).remove(s.start, s.length);
        if (kept.contains(separator))
            return Unchanged(text, Verdict::Ignore);
        return Replace(text, s.start, s.length, QString(separator));
    }
    if (!isDigit(key))
        return Unchanged(text, Verdict::Ignore);
    return Replace(text, s.start, s.length, QString(key));
}

EditKeyRules::Result EditKeyRules::DeleteForward(const QString &text, Selection selection) const
{
    return Erase(text, selection, true);
}

EditKeyRules::Result EditKeyRules::Insert(const QString &text, Selection selection,
                                          const QString &inserted) const
{
    const Selection s = clamp(text, selection);
    if (mode != Mode::Number) {
        for (QChar c : inserted) {
            if (TextCharacter(c) != Verdict::Accept)
                return Unchanged(text, Verdict::Beep);
        }
        return Replace(text, s.start, s.length, inserted);
    }
    QString typed;
    typed.reserve(inserted.size());
    bool hasSeparator = QString(text).remove(s.start, s.length).contains(separator);
    for (QChar c : inserted) {
        if (isDigit(c)) {
            typed += c;
        } else if (IsSeparatorKey(c) && !integerOnly && !hasSeparator) {
            typed += separator;
            hasSeparator = true;
        } else {
            return Unchanged(text, Verdict::Beep);
        }
    }
    return Replace(text, s.start, s.length, typed);
}

bool EditKeyRules::IsAcceptable(const QString &text) const
{
    if (mode != Mode::Number) {
        for (QChar c : text) {
            if (TextCharacter(c) != Verdict::Accept)
                return false;
        }
        return true;
    }
    int separators = 0;
    for (QChar c : text) {
        if (c == separator)
            ++separators;
        else if (!isDigit(c))
            return false;
    }
    if (separators > (integerOnly ? 0 : 1))
        return false;
    return !rangeCheck || InRange(text);
}
