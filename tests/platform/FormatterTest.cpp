#include "Formatter.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>

using Platform::Formatter;

namespace {
std::string s(const QString &q) { return q.toStdString(); }
} // namespace

TEST(Formatter, PrintfConversions)
{
    const std::vector<std::pair<QString, const char *>> results = {
        {Formatter::sprintf(u"Id=%d", {42}), "Id=42"},
        {Formatter::sprintf(u"Fin=%I64d where Id=%d", {qint64(1700000000123LL), 7}), "Fin=1700000000123 where Id=7"},
        {Formatter::sprintf(u"%lld", {qint64(-5)}), "-5"},
        {Formatter::sprintf(u"%0.2f", {12.5}), "12.50"},
        {Formatter::sprintf(u"%0.2f", {-0.005}), "-0.01"},
        {Formatter::sprintf(u"%.1f%%", {33.333}), "33.3%"},
        {Formatter::sprintf(u"%02d:%02d", {7, 5}), "07:05"},
        {Formatter::sprintf(u"%5d|%-5d|", {42, 42}), "   42|42   |"},
        {Formatter::sprintf(u"%05d", {-42}), "-0042"},
        {Formatter::sprintf(u"%+d %+d", {3, -3}), "+3 -3"},
        {Formatter::sprintf(u"%x %X %08X", {255, 255, 0xABCD}), "ff FF 0000ABCD"},
        {Formatter::sprintf(u"%u", {-1}), "4294967295"},
        {Formatter::sprintf(u"'%s'", {QStringLiteral("l'été")}), "'l'été'"},
        {Formatter::sprintf(u"%.3s", {QStringLiteral("abcdef")}), "abc"},
        {Formatter::sprintf(u"%c%c", {65, QStringLiteral("Zed")}), "AZ"},
        {Formatter::sprintf(u"%*d", {4, 7}), "   7"},
        {Formatter::sprintf(u"%e", {1234.5}), "1.234500e+03"},
        {Formatter::sprintf(u"%g", {0.0001}), "0.0001"},
        {Formatter::sprintf(u"%ls and %S", {QStringLiteral("a"), QStringLiteral("b")}), "a and b"},
        {Formatter::sprintf(u"100%% sure", {}), "100% sure"},
    };
    for (const auto &[got, expected] : results)
        EXPECT_EQ(s(got), expected);
}

TEST(Formatter, MismatchedArgumentsStayReadable)
{
    // Missing arguments leave the conversion as it stands; surplus ones are
    // ignored; a text given for %d is read as a number and vice versa.
    EXPECT_EQ(s(Formatter::sprintf(u"%d and %d", {1})), "1 and %d");
    EXPECT_EQ(s(Formatter::sprintf(u"%d", {1, 2, 3})), "1");
    EXPECT_EQ(s(Formatter::sprintf(u"%d", {QStringLiteral("12abc")})), "12");
    EXPECT_EQ(s(Formatter::sprintf(u"%s", {12})), "12");
    EXPECT_EQ(s(Formatter::sprintf(u"%0.2f", {QStringLiteral("x")})), "0.00");
    EXPECT_EQ(s(Formatter::sprintf(u"50% off %", {})), "50% off %");
    EXPECT_EQ(s(Formatter::sprintf(u"%q%", {1})), "%q%");
}

TEST(Formatter, MessageStyleInserts)
{
    EXPECT_EQ(s(Formatter::message(u"%1!d! h %2!02d!", {3, 5})), "3 h 05");
    EXPECT_EQ(s(Formatter::message(u"%2 avant %1", {QStringLiteral("a"), QStringLiteral("b")})), "b avant a");
    EXPECT_EQ(s(Formatter::message(u"%1!s! (%2!I64d!)", {QStringLiteral("x"), qint64(1LL << 40)})), "x (1099511627776)");
    EXPECT_EQ(s(Formatter::message(u"%1!0.2f!", {2.0})), "2.00");
    // An insert without an argument is kept as it stands.
    EXPECT_EQ(s(Formatter::message(u"%1 %3!d!", {QStringLiteral("a")})), "a %3!d!");
    EXPECT_EQ(s(Formatter::message(u"100%% %0", {})), "100% %0");
    EXPECT_EQ(s(Formatter::message(u"%1!", {7})), "7!");
    EXPECT_EQ(s(Formatter::message(u"%10", {1, 2, 3, 4, 5, 6, 7, 8, 9, QStringLiteral("ten")})), "ten");
}

TEST(Formatter, NeverWritesADecimalCommaUnderAFrenchLocale)
{
    // ./test.sh generates the locale; the C library must really switch to it
    // for this test to mean anything.
    const char *previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous ? previous : "C";
    ASSERT_NE(std::setlocale(LC_ALL, "fr_FR.UTF-8"), nullptr) << "fr_FR.UTF-8 locale is not installed";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%0.2f", 12.5);
    EXPECT_STREQ(buffer, "12,50");
    EXPECT_EQ(s(Formatter::sprintf(u"update TauxHoraire set Valeur=%0.2f", {12.5})),
              "update TauxHoraire set Valeur=12.50");
    EXPECT_EQ(s(Formatter::sprintf(u"%g %e", {0.5, 0.5})), "0.5 5.000000e-01");
    EXPECT_EQ(s(Formatter::message(u"%1!0.1f!", {1.25})), "1.2");
    EXPECT_EQ(s(Formatter::sprintf(u"%d", {1234567})), "1234567");
    std::setlocale(LC_ALL, saved.c_str());
}
