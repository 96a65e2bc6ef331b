#include "EntryList.h"

#include <gtest/gtest.h>

TEST(EntryList, OnlyParenthesisedListsOfIntegersPass)
{
    struct Case { const char16_t *text; std::optional<std::vector<int>> ids; };
    const Case cases[] = {
        {u"(12,15,31)", std::vector<int>{12, 15, 31}},
        {u" ( 12 , 15 ) ", std::vector<int>{12, 15}},
        {u"(101)", std::vector<int>{101}},
        {u"(-1,+4)", std::vector<int>{-1, 4}},
        {u"", std::vector<int>{}},
        {u"   ", std::vector<int>{}},
        {u"()", std::vector<int>{}},
        {u"( )", std::vector<int>{}},
        {u"12,15", std::nullopt},
        {u"(12,,15)", std::nullopt},
        {u"(12,)", std::nullopt},
        {u"(1) or 1=1", std::nullopt},
        {u"(1); drop table Taches; --)", std::nullopt},
        {u"(select Id from Taches)", std::nullopt},
        {u"(1,'2')", std::nullopt},
        {u"(0x10)", std::nullopt},
        {u"(1 2)", std::nullopt},
        {u"(-)", std::nullopt},
        {u"(2147483647)", std::vector<int>{2147483647}},
        {u"(2147483648)", std::nullopt},
        {u"(99999999999999999999999)", std::nullopt},
        {u"(１２)", std::nullopt}, // full-width digits are not digits of SQL
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.text).toStdString());
        EXPECT_EQ(EntryList::Parse(QString::fromUtf16(c.text)), c.ids);
    }
}

TEST(EntryList, ToSqlRebuildsTheList)
{
    EXPECT_EQ(EntryList::ToSql({12, 15, 31}), QStringLiteral("(12,15,31)"));
    EXPECT_EQ(EntryList::ToSql({-1}), QStringLiteral("(-1)"));
    EXPECT_EQ(EntryList::ToSql({}), QStringLiteral("()"));
}
