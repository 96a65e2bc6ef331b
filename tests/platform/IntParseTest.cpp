#include "IntParse.h"

#include <gtest/gtest.h>

#include <QString>

#include <limits>

using Platform::wtoi;
using Platform::wtoi64;

TEST(IntParse, ParsesLikeTheCRuntime)
{
    struct Case { const char16_t *text; qint64 expected; };
    const Case cases[] = {
        {u"", 0},         {u"abc", 0},      {u"42", 42},      {u"  42", 42},
        {u"\t-17x", -17}, {u"+8", 8},       {u"12abc", 12},   {u"- 3", 0},
        {u"007", 7},      {u"3.9", 3},      {u"-0", 0},       {u"1 2", 1},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(wtoi64(c.text), c.expected) << QString::fromUtf16(c.text).toStdString();
        EXPECT_EQ(wtoi(c.text), c.expected) << QString::fromUtf16(c.text).toStdString();
    }
}

TEST(IntParse, SixtyFourBitValuesAndOverflowSaturate)
{
    EXPECT_EQ(wtoi64(u"1700000000123"), 1700000000123LL);
    EXPECT_EQ(wtoi64(u"-9223372036854775808"), std::numeric_limits<qint64>::min());
    EXPECT_EQ(wtoi64(u"9223372036854775807"), std::numeric_limits<qint64>::max());
    EXPECT_EQ(wtoi64(u"99999999999999999999999"), std::numeric_limits<qint64>::max());
    EXPECT_EQ(wtoi64(u"-99999999999999999999999"), std::numeric_limits<qint64>::min());
    EXPECT_EQ(wtoi(u"1700000000123"), std::numeric_limits<int>::max());
    EXPECT_EQ(wtoi(u"-1700000000123"), std::numeric_limits<int>::min());
}

TEST(IntParse, FloatingPointNumbersReadLikeTheCRuntime)
{
    struct Case { const char16_t *text; double expected; };
    const Case cases[] = {
        {u"", 0},          {u"x1", 0},        {u"12.5", 12.5},   {u"  -3.25kg", -3.25},
        {u"12,5", 12},     {u".5", 0.5},      {u"5.", 5},        {u".", 0},
        {u"+1e3", 1000},   {u"2E-2x", 0.02},  {u"7e", 7},        {u"7e+", 7},
        {u"1.2.3", 1.2},   {u"- 1", 0},       {u"0012", 12},
    };
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(Platform::wtof(c.text), c.expected) << QString::fromUtf16(c.text).toStdString();
    EXPECT_EQ(Platform::wtof(u"1e999"), std::numeric_limits<double>::infinity());
}
