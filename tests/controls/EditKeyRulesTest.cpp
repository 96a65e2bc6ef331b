#include "EditKeyRules.h"

#include <gtest/gtest.h>

namespace {

using Mode = EditKeyRules::Mode;
using Verdict = EditKeyRules::Verdict;

const char *name(Verdict v)
{
    switch (v) {
    case Verdict::Accept: return "accept";
    case Verdict::Ignore: return "ignore";
    case Verdict::Beep: return "beep";
    }
    return "?";
}

// Rules of one mode, with the separator ',' of a French system.
EditKeyRules rules(Mode mode, bool integerOnly = false, bool range = false, int min = 0, int max = 0)
{
    EditKeyRules r;
    r.mode = mode;
    r.integerOnly = integerOnly;
    r.rangeCheck = range;
    r.minimum = min;
    r.maximum = max;
    r.separator = u',';
    return r;
}

struct Expect
{
    Verdict verdict;
    const char16_t *text; // the text after the key
};

void check(const EditKeyRules::Result &result, const Expect &e)
{
    EXPECT_STREQ(name(result.verdict), name(e.verdict));
    EXPECT_EQ(result.text, QString::fromUtf16(e.text));
}

} // namespace

TEST(EditKeyRules, TypedKeys)
{
    const EditKeyRules number = rules(Mode::Number);
    const EditKeyRules integer = rules(Mode::Number, true);
    const EditKeyRules day = rules(Mode::Number, true, true, 1, 31);
    const EditKeyRules fileName = rules(Mode::FileName);
    const EditKeyRules identifier = rules(Mode::Identifier);
    struct Case
    {
        const char *what;
        const EditKeyRules &rules;
        const char16_t *text;
        EditKeyRules::Selection selection;
        char16_t key;
        Expect expect;
    };
    const Case cases[] = {
        {"'.' types the separator", number, u"12", {2, 0}, u'.', {Verdict::Accept, u"12,"}},
        {"',' types the separator", number, u"12", {2, 0}, u',', {Verdict::Accept, u"12,"}},
        {"a second separator is ignored silently", number, u"1,5", {3, 0}, u'.', {Verdict::Ignore, u"1,5"}},
        {"a separator over the selected one", number, u"1,5", {1, 1}, u'.', {Verdict::Accept, u"1,5"}},
        {"a letter is ignored silently", number, u"12", {2, 0}, u'a', {Verdict::Ignore, u"12"}},
        {"a minus is ignored silently", number, u"12", {0, 0}, u'-', {Verdict::Ignore, u"12"}},
        {"a digit in the middle", number, u"15", {1, 0}, u'2', {Verdict::Accept, u"125"}},
        {"integer only refuses the separator", integer, u"12", {2, 0}, u'.', {Verdict::Beep, u"12"}},
        {"integer only refuses ','", integer, u"12", {2, 0}, u',', {Verdict::Beep, u"12"}},
        {"range: 4 after 3 leaves 1..31", day, u"3", {1, 0}, u'4', {Verdict::Beep, u"3"}},
        {"range: 1 after 3 stays inside", day, u"3", {1, 0}, u'1', {Verdict::Accept, u"31"}},
        {"range: backspace to empty reads 0", day, u"3", {1, 0}, u'\b', {Verdict::Beep, u"3"}},
        {"range: backspace inside the range", day, u"31", {2, 0}, u'\b', {Verdict::Accept, u"3"}},
        {"range: a digit over the selection", day, u"31", {0, 2}, u'4', {Verdict::Accept, u"4"}},
        {"range: 0 alone is below 1", day, u"", {0, 0}, u'0', {Verdict::Beep, u""}},
        {"backspace at the start erases nothing", number, u"12", {0, 0}, u'\b', {Verdict::Ignore, u"12"}},
        {"backspace erases the selection", number, u"123", {0, 2}, u'\b', {Verdict::Accept, u"3"}},
        {"file name refuses '?'", fileName, u"a", {1, 0}, u'?', {Verdict::Beep, u"a"}},
        {"file name refuses '/'", fileName, u"a", {1, 0}, u'/', {Verdict::Beep, u"a"}},
        {"file name refuses a tab", fileName, u"a", {1, 0}, u'\t', {Verdict::Beep, u"a"}},
        {"file name takes 'é'", fileName, u"a", {1, 0}, u'\u00e9', {Verdict::Accept, u"a\u00e9"}},
        {"identifier refuses 'é'", identifier, u"a", {1, 0}, u'\u00e9', {Verdict::Beep, u"a"}},
        {"identifier refuses '/'", identifier, u"a", {1, 0}, u'/', {Verdict::Beep, u"a"}},
        {"identifier takes '?'", identifier, u"a", {1, 0}, u'?', {Verdict::Accept, u"a?"}},
        {"identifier takes '('", identifier, u"a", {1, 0}, u'(', {Verdict::Accept, u"a("}},
        {"identifier takes '_'", identifier, u"a", {1, 0}, u'_', {Verdict::Accept, u"a_"}},
        {"identifier takes a blank", identifier, u"a", {1, 0}, u' ', {Verdict::Accept, u"a "}},
        {"identifier refuses '@'", identifier, u"a", {1, 0}, u'@', {Verdict::Beep, u"a"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        check(c.rules.Key(QString::fromUtf16(c.text), c.selection, QChar(c.key)), c.expect);
    }
}

// The replaced part is what the field applies, so that the change is one
// step of its undo history.
TEST(EditKeyRules, AnAcceptedKeyNamesThePartItReplaces)
{
    const EditKeyRules number = rules(Mode::Number);
    const EditKeyRules::Result r = number.Key(QStringLiteral("1234"), {1, 2}, QChar(u'.'));
    EXPECT_EQ(r.verdict, Verdict::Accept);
    EXPECT_EQ(r.start, 1);
    EXPECT_EQ(r.length, 2);
    EXPECT_EQ(r.replacement, QStringLiteral(","));
    EXPECT_EQ(r.text, QStringLiteral("1,4"));

    // A surrogate pair is erased as one character.
    const EditKeyRules text = rules(Mode::FileName);
    const QString withPair = QStringLiteral("a\U0001F600");
    EXPECT_EQ(text.Key(withPair, {3, 0}, QChar(u'\b')).text, QStringLiteral("a"));
    EXPECT_EQ(text.DeleteForward(withPair, {1, 0}).text, QStringLiteral("a"));
}

TEST(EditKeyRules, DeleteForwardKeepsTheRange)
{
    const EditKeyRules day = rules(Mode::Number, true, true, 1, 31);
    check(day.DeleteForward(QStringLiteral("31"), {0, 0}), {Verdict::Accept, u"1"});
    check(day.DeleteForward(QStringLiteral("3"), {0, 0}), {Verdict::Beep, u"3"});
    check(day.DeleteForward(QStringLiteral("3"), {1, 0}), {Verdict::Ignore, u"3"});
}

// A paste or a drop passes the typing rules: one character that typing
// would refuse or ignore refuses the whole text, with a beep.
TEST(EditKeyRules, InsertedTexts)
{
    const EditKeyRules number = rules(Mode::Number);
    const EditKeyRules integer = rules(Mode::Number, true);
    const EditKeyRules day = rules(Mode::Number, true, true, 1, 31);
    const EditKeyRules fromTen = rules(Mode::Number, true, true, 10, 31);
    const EditKeyRules fileName = rules(Mode::FileName);
    const EditKeyRules identifier = rules(Mode::Identifier);
    struct Case
    {
        const char *what;
        const EditKeyRules &rules;
        const char16_t *text;
        EditKeyRules::Selection selection;
        const char16_t *inserted;
        Expect expect;
    };
    const Case cases[] = {
        {"a point becomes the separator", number, u"", {0, 0}, u"12.5", {Verdict::Accept, u"12,5"}},
        {"letters never reach a number", number, u"1", {1, 0}, u"2abc", {Verdict::Beep, u"1"}},
        {"a blank is refused too", number, u"", {0, 0}, u" 12", {Verdict::Beep, u""}},
        {"two separators", number, u"", {0, 0}, u"1,2,3", {Verdict::Beep, u""}},
        {"a separator beside the field's", number, u"1,5", {3, 0}, u".2", {Verdict::Beep, u"1,5"}},
        {"over the field's separator", number, u"1,5", {0, 3}, u"2.25", {Verdict::Accept, u"2,25"}},
        {"integer only", integer, u"", {0, 0}, u"12.5", {Verdict::Beep, u""}},
        {"range: the result counts", day, u"1", {1, 0}, u"2", {Verdict::Accept, u"12"}},
        {"range: outside", day, u"", {0, 0}, u"45", {Verdict::Beep, u""}},
        {"range: 15 in one paste", day, u"", {0, 0}, u"15", {Verdict::Accept, u"15"}},
        // Only the result counts: "1" alone could not be typed into 10..31.
        {"range: 15 into 10..31", fromTen, u"", {0, 0}, u"15", {Verdict::Accept, u"15"}},
        {"'/' never reaches a file name", fileName, u"", {0, 0}, u"a/b.txt", {Verdict::Beep, u""}},
        {"a line break never reaches a file name", fileName, u"", {0, 0}, u"a\nb", {Verdict::Beep, u""}},
        {"a plain file name", fileName, u"", {0, 0}, u"Rapport 2024.txt", {Verdict::Accept, u"Rapport 2024.txt"}},
        {"an accent in an identifier", identifier, u"", {0, 0}, u"caf\u00e9", {Verdict::Beep, u""}},
        {"an identifier", identifier, u"x", {0, 1}, u"ABC_12", {Verdict::Accept, u"ABC_12"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        check(c.rules.Insert(QString::fromUtf16(c.text), c.selection, QString::fromUtf16(c.inserted)),
              c.expect);
    }
}

TEST(EditKeyRules, WholeTexts)
{
    EXPECT_TRUE(rules(Mode::Number).IsAcceptable(QStringLiteral("12,5")));
    EXPECT_FALSE(rules(Mode::Number).IsAcceptable(QStringLiteral("1,2,5")));
    EXPECT_FALSE(rules(Mode::Number).IsAcceptable(QStringLiteral("12.5")));
    EXPECT_FALSE(rules(Mode::Number, true).IsAcceptable(QStringLiteral("12,5")));
    EXPECT_FALSE(rules(Mode::Number, true, true, 1, 31).IsAcceptable(QString()));
    EXPECT_TRUE(rules(Mode::Number, true, true, 1, 31).IsAcceptable(QStringLiteral("31")));
    EXPECT_FALSE(rules(Mode::FileName).IsAcceptable(QStringLiteral("a|b")));
    EXPECT_TRUE(rules(Mode::Identifier).IsAcceptable(QStringLiteral("a=b")));
}
