// Splitting texts and reading a number or a colour from a part.
#include "QStringPrinter.h"
#include "TextParts.h"

#include <gtest/gtest.h>

using namespace Platform;

TEST(TextPartsTest, SplitKeepsEveryPartAndTheLastOne)
{
    const struct
    {
        QString text, separator;
        QStringList parts;
    } cases[] = {
        {QStringLiteral("a|b|c"), QStringLiteral("|"), {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}},
        {QStringLiteral("a|b|"), QStringLiteral("|"), {QStringLiteral("a"), QStringLiteral("b"), QString()}},
        {QStringLiteral("abc"), QStringLiteral("|"), {QStringLiteral("abc")}},
        {QString(), QStringLiteral("|"), {QString()}},
        {QStringLiteral("a::b"), QStringLiteral("::"), {QStringLiteral("a"), QStringLiteral("b")}},
        {QStringLiteral("a|b"), QString(), {QStringLiteral("a|b")}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SplitString(c.text, c.separator), c.parts) << c.text.toStdString();
    QStringList kept{QStringLiteral("old")};
    SplitStringInto(QStringLiteral("x;y"), QStringLiteral(";"), kept);
    EXPECT_EQ(kept, (QStringList{QStringLiteral("x"), QStringLiteral("y")}));
}

TEST(TextPartsTest, APartIsANumberOrAColourReadFromTheDigitsThere)
{
    const QStringList parts{QStringLiteral("0x112233"), QStringLiteral("  0xFF0000 "), QStringLiteral(" 42 "),
                            QStringLiteral("-7x"),      QStringLiteral("0x12"),        QStringLiteral("0x"),
                            QStringLiteral("0x1G2233"), QStringLiteral("0xabcdef99"),  QStringLiteral("")};
    const struct
    {
        int index;
        int value;
    } cases[] = {
        {0, 0x11 + 0x22 * 256 + 0x33 * 65536}, // first pair is red, the low byte
        {1, 0xFF},
        {2, 42},
        {3, -7},
        {4, 0x12},      // only red is there
        {5, 0},         // no digit at all
        {6, 1},         // reading stops at the first other character
        {7, 0xab + 0xcd * 256 + 0xef * 65536}, // digits past three pairs ignored
        {8, 0},
        {9, 0},  // past the end
        {-1, 0},
    };
    for (const auto &c : cases) {
        int value = 12345;
        ParseIntOrColor(parts, c.index, value);
        EXPECT_EQ(value, c.value) << c.index;
    }
}
