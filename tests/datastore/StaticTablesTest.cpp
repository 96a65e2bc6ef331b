#include "ForecastGridLayout.h"
#include "MessageBus.h"
#include "QStringPrinter.h"
#include "RegisteredMessages.h"
#include "ReportFieldKeys.h"

#include <QSet>
#include <QStringList>

#include <gtest/gtest.h>

TEST(StaticTables, ReportFieldKeysInKindOrder)
{
    ASSERT_EQ(ReportFieldKeys.size(), 37u);
    QSet<QString> seen;
    for (const char16_t *key : ReportFieldKeys)
        seen.insert(QString::fromUtf16(key));
    EXPECT_EQ(seen.size(), 37);
    struct Case
    {
        int kind;
        const char16_t *key;
    };
    for (const Case &c : {Case{0, u"Date"}, Case{5, u"Duree"}, Case{11, u"ProjectFullName"},
                          Case{17, u"DateLong"}, Case{21, u"ForecastName"}, Case{36, u"ForecastNotes"}}) {
        EXPECT_EQ(QString::fromUtf16(ReportFieldKeys[c.kind]), QString::fromUtf16(c.key)) << c.kind;
    }
}

// Read as the grid reads a saved layout: items ended by '|', "1:" visible.
TEST(StaticTables, DefaultForecastGridShowsItsColumns)
{
    QList<int> kinds, shown;
    const QStringList items = QString::fromUtf16(DefaultForecastGridLayout).split(u'|');
    EXPECT_TRUE(items.last().isEmpty());
    for (const QString &item : items.mid(0, items.size() - 1)) {
        const int kind = item.section(u':', 1).toInt();
        kinds << kind;
        if (item.startsWith(u"1:"))
            shown << kind;
    }
    EXPECT_EQ(kinds, (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}));
    EXPECT_EQ(shown, (QList<int>{2, 3, 8, 9, 10, 11, 12, 13, 15}));
}

// A name registers to one number however often and in whatever case it is
// registered; the three names of the main program are distinct.
TEST(StaticTables, RegisteredNamesGiveOneNumberEach)
{
    const quint32 change = Platform::MessageBus::registerMessage(RegisteredMessages::ZarvoChange);
    EXPECT_EQ(Platform::MessageBus::registerMessage(RegisteredMessages::ZarvoChange), change);
    EXPECT_EQ(Platform::MessageBus::registerMessage(QString::fromUtf16(RegisteredMessages::ZarvoChange).toLower()),
              change);
    const QSet<quint32> numbers = {change, Platform::MessageBus::registerMessage(RegisteredMessages::AreYouZarvo),
                                   Platform::MessageBus::registerMessage(RegisteredMessages::RefreshFromTray),
                                   Platform::MessageBus::registerMessage(RegisteredMessages::AreYouZarvoTray)};
    EXPECT_EQ(numbers.size(), 4);
}
