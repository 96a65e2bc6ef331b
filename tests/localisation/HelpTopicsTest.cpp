// Help contexts to topics, topics to pages, pages to addresses.
#include "HelpTopics.h"

#include "QStringPrinter.h"
#include "TestFolders.h"

#include <QSet>
#include <gtest/gtest.h>

TEST(HelpTopics, ContextsGiveTheTopicsOfTheirDialogs)
{
    const struct
    {
        quint32 context;
        int topic;
    } cases[] = {
        {0x20000 + 191, 300}, // the general options page
        {0x20000 + 406, 170}, // the time entry dialog
        {0x20000 + 435, 450}, // both steps of the new-user wizard
        {0x20000 + 436, 450},
        {0x20000 + 431, 490}, // the backups
        {0x20000 + 520, 615}, // the last row of the table
        {0x20000 + 185, 290}, // the options frame with no page shown: the options' page
        {0x20000 + 425, 460}, // the first-run wizard, its frame and its three pages
        {0x20000 + 426, 460},
        {0x20000 + 427, 460},
        {0x20000 + 428, 460},
        {0x20000 + 396, 390}, // the device's user: the synchronisation
        {0x20000 + 448, 10},  // the about box: described with all windows
        {0x20000 + 999, 10},  // an unknown dialog
        {0x20000, 10},
        {0, 0},               // the program's first page
        {355, 355},           // a topic given as such (the project editor's tabs)
    };
    for (const auto &c : cases)
        EXPECT_EQ(HelpTopics::TopicForContext(c.context), c.topic) << c.context;
    EXPECT_EQ(HelpTopics::TopicForDialog(463), 345);
    EXPECT_EQ(HelpTopics::TopicForDialog(-1), HelpTopics::OtherDialogsTopic);
}

TEST(HelpTopics, EveryTopicHasAPageOfItsOwnAndEveryDialogATopicWithAPage)
{
    const QList<int> topics = HelpTopics::Topics();
    QSet<QString> pages;
    for (int topic : topics) {
        const QString page = HelpTopics::PageName(topic);
        EXPECT_TRUE(page.endsWith(QStringLiteral(".html"))) << page.toStdString();
        EXPECT_FALSE(pages.contains(page)) << page.toStdString();
        pages.insert(page);
    }
    EXPECT_EQ(HelpTopics::PageName(0), QStringLiteral("index.html"));
    for (int dialog : HelpTopics::Dialogs())
        EXPECT_TRUE(topics.contains(HelpTopics::TopicForDialog(dialog))) << dialog;
    for (int tab : {355, 365, 375, 385, HelpTopics::OtherDialogsTopic})
        EXPECT_TRUE(topics.contains(tab)) << tab;
    // A number that is no topic opens the first page.
    EXPECT_EQ(HelpTopics::PageName(11), QStringLiteral("index.html"));
    EXPECT_EQ(HelpTopics::PageName(-5), QStringLiteral("index.html"));
}

TEST(HelpTopics, AMissingPageOpensTheIndexAndAMissingIndexNothing)
{
    const QString index = TestFolders::writeFile(QStringLiteral("Fra/ZarvoFra/index.html"), "<html></html>");
    const QString backups = TestFolders::writeFile(QStringLiteral("Fra/ZarvoFra/sauvegardes.html"), "<html></html>");
    EXPECT_EQ(HelpTopics::PagePath(index, 490), backups);
    EXPECT_EQ(HelpTopics::PagePath(index, 170), index); // its page is missing
    EXPECT_EQ(HelpTopics::PagePath(index, 0), index);
    EXPECT_TRUE(HelpTopics::PagePath(QString(), 490).isEmpty());
    // A folder without pages opens nothing.
    const QString gone = TestFolders::file(QStringLiteral("Fra/ZarvoFra/missing/index.html"));
    EXPECT_TRUE(HelpTopics::PagePath(gone, 490).isEmpty());
    EXPECT_TRUE(HelpTopics::PagePath(gone, 0).isEmpty());
}

TEST(HelpTopics, AddressesOfPathsWithSpacesAndAccentsAreEncoded)
{
    const QString page = TestFolders::writeFile(QStringLiteral("Mes programmes/Été #2/Fra/ZarvoFra/index.html"),
                                                "<html></html>");
    const QUrl url = HelpTopics::PageUrl(page);
    EXPECT_TRUE(url.isLocalFile());
    EXPECT_EQ(url.toLocalFile(), page);
    const QByteArray encoded = url.toEncoded();
    EXPECT_TRUE(encoded.startsWith("file:///")) << encoded.constData();
    EXPECT_TRUE(encoded.contains("Mes%20programmes/%C3%89t%C3%A9%20%232/")) << encoded.constData();
    EXPECT_TRUE(HelpTopics::PageUrl(QString()).isEmpty());
}
