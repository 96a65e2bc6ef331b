#include "Settings.h"
#include "TestFolders.h"

#include <gtest/gtest.h>

#include <QFile>

using Platform::Settings;

TEST(Settings, KeysAndTypedReadsWithDefaults)
{
    EXPECT_EQ(Settings::key(u"Config", u"Misc", u"LogErrors"), QStringLiteral("Config/Misc/LogErrors"));
    EXPECT_EQ(Settings::key(u"Tray", u"", u"Visible"), QStringLiteral("Tray/Visible"));

    Settings settings;
    EXPECT_TRUE(settings.filePath().startsWith(TestFolders::root()));
    EXPECT_EQ(settings.getInt(u"Config", u"Misc", u"LogErrors", 7), 7);
    settings.setInt(u"Config", u"Misc", u"LogErrors", 1);
    settings.setString(u"Config", u"Misc", u"Bad", QStringLiteral("12abc"));
    settings.setString(u"Config", u"Rep", u"Data", QStringLiteral("/home/été, d'accord"));
    settings.setBinary(u"Dialog", u"CDlgTask", u"Position", QByteArray("\x00\x01\xff", 3));
    settings.setInt(u"Config", u"Misc", u"Big", 1LL << 40);
    ASSERT_TRUE(settings.sync());

    Settings again;
    EXPECT_EQ(again.getInt(u"Config", u"Misc", u"LogErrors", 7), 1);
    EXPECT_EQ(again.getInt(u"Config", u"Misc", u"Bad", 7), 7);
    EXPECT_EQ(again.getInt64(u"Config", u"Misc", u"Big", 0), 1LL << 40);
    EXPECT_EQ(again.getInt(u"Config", u"Misc", u"Big", 3), 3);
    EXPECT_EQ(again.getString(u"Config", u"Rep", u"Data"), QStringLiteral("/home/été, d'accord"));
    EXPECT_EQ(again.getString(u"Config", u"Rep", u"Missing", QStringLiteral("def")), QStringLiteral("def"));
    EXPECT_EQ(again.getBinary(u"Dialog", u"CDlgTask", u"Position"), QByteArray("\x00\x01\xff", 3));
    EXPECT_TRUE(again.getBinary(u"Dialog", u"Other", u"Position").isEmpty());
}

TEST(Settings, RemovalByPrefix)
{
    Settings settings;
    settings.setInt(u"Workspace", u"", u"MFCToolBar-1", 1);
    settings.setInt(u"Workspace", u"", u"MFCToolBar-2", 1);
    settings.setInt(u"Workspace", u"Forecast", u"Split", 3);
    settings.setInt(u"Config", u"Misc", u"Workspace", 1);
    settings.removePrefix(QStringLiteral("Workspace/MFCToolBar"));
    EXPECT_FALSE(settings.contains(u"Workspace", u"", u"MFCToolBar-1"));
    EXPECT_TRUE(settings.contains(u"Workspace", u"Forecast", u"Split"));
    settings.removePrefix(QStringLiteral("Workspace/"));
    EXPECT_FALSE(settings.contains(u"Workspace", u"Forecast", u"Split"));
    EXPECT_TRUE(settings.contains(u"Config", u"Misc", u"Workspace"));
    settings.remove(u"Config", u"Misc", u"Workspace");
    EXPECT_FALSE(settings.contains(u"Config", u"Misc", u"Workspace"));
}
