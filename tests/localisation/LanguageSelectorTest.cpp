#include "CLanguageSelector.h"
#include "CmyDataBase.h"
#include "Formatter.h"
#include "LanguageFixture.h"
#include "MyTable.h"
#include "QStringPrinter.h"
#include "Settings.h"
#include "TestFolders.h"

#include <QComboBox>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>

namespace {

void writeLanguage(const QString &folder, const QString &abbr, int langId,
                   const QString &program = QStringLiteral("Zarvo"))
{
    LanguageFixture f;
    f.langId = langId;
    f.write(folder, abbr, program);
}

int storedLanguage()
{
    Platform::Settings settings;
    return settings.getInt(u"", u"", u"LanguageId", -1);
}

void storeLanguage(int id)
{
    Platform::Settings settings;
    settings.setInt(u"", u"", u"LanguageId", id);
    settings.sync();
}

} // namespace

// The interface language chosen from the stored value, the system's
// languages and the installed files.
TEST(LanguageSelector, ChoiceChain)
{
    struct Case
    {
        const char *name;
        QStringList installed; // abbreviations with a file
        int stored;            // -1: nothing stored
        CLanguageSelector::SystemLanguages system;
        quint16 expected;
    };
    const Case cases[] = {
        // 3084 has no file; its primary language 12 alone has none either;
        // 1036 (sublanguage 1) is the built-in language.
        {"stored Canadian French", {}, 3084, {}, 1036},
        {"stored Austrian German finds German", {"Deu"}, 3079, {}, 1031},
        {"stored language installed", {"Deu", "Enu"}, 1033, {1031, 0, 0, 0}, 1033},
        {"stored 0 takes the user's interface language", {"Deu"}, 0, {1031, 0, 0, 0}, 1031},
        {"nothing stored takes the system's interface language", {"Ita"}, -1, {0, 1040, 0, 0}, 1040},
        {"stored language gone, the user's default", {"Esp"}, 1031, {0, 0, 1034, 0}, 1034},
        {"the system default language", {"Nld"}, 0, {0, 0, 0, 1043}, 1043},
        {"British English finds US English", {"Enu"}, 2057, {}, 1033},
        {"English when nothing else fits", {"Enu"}, 0, {1031, 1031, 1031, 1031}, 1033},
        {"nothing installed: the built-in language", {}, -1, {1031, 1034, 1040, 1043}, 1036},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString folder = TestFolders::file(QString::fromLatin1(c.name)) + u'/';
        QDir().mkpath(folder);
        for (const QString &abbr : c.installed)
            writeLanguage(folder, abbr, 1);
        Platform::Settings settings;
        settings.remove(u"", u"", u"LanguageId");
        settings.sync();
        if (c.stored >= 0)
            storeLanguage(c.stored);

        CLanguageSelector selector(folder + QStringLiteral("Zarvo"));
        selector.SetSystemLanguages(c.system);
        int resets = 0;
        selector.SetToolbarLayoutReset([&] { ++resets; });
        selector.ChooseLanguage();
        EXPECT_EQ(selector.GetLanguage(), c.expected);
        // A choice that differs from the stored value is stored, and the
        // toolbars are rebuilt with the new texts.
        EXPECT_EQ(storedLanguage(), c.expected);
        EXPECT_EQ(resets, c.stored == c.expected ? 0 : 1);
    }
}

// The tray reads the main program's choice and never writes it.
TEST(LanguageSelector, TheTrayOnlyReadsTheStoredLanguage)
{
    const QString folder = LanguageFixture::programFolder();
    writeLanguage(folder, QStringLiteral("Deu"), 1031, QStringLiteral("ZarvoTray"));
    storeLanguage(0);
    CLanguageSelector tray(folder + QStringLiteral("ZarvoTray"));
    tray.SetSystemLanguages({1031, 0, 0, 0});
    int resets = 0;
    tray.SetToolbarLayoutReset([&] { ++resets; });
    tray.ChooseLanguage();
    EXPECT_EQ(tray.GetLanguage(), 1031);
    EXPECT_EQ(storedLanguage(), 0);
    EXPECT_EQ(resets, 0);
}

TEST(LanguageSelector, TryLanguageStepsThroughThePrimaryLanguage)
{
    const QString folder = LanguageFixture::programFolder();
    writeLanguage(folder, QStringLiteral("Deu"), 1031);
    CLanguageSelector selector(folder + QStringLiteral("Zarvo"));
    EXPECT_FALSE(selector.TryLanguage(0));
    EXPECT_TRUE(selector.TryLanguage(2055)); // Swiss German: German (1031)
    EXPECT_EQ(selector.GetLanguage(), 1031);
    // No Italian at all: left at the last value tried, Italian itself.
    EXPECT_FALSE(selector.TryLanguage(2064));
    EXPECT_EQ(selector.GetLanguage(), 1040);
    EXPECT_FALSE(selector.TryLanguage(1040));
    EXPECT_EQ(selector.GetLanguage(), 16); // 1040 is sublanguage 1: its primary language
    EXPECT_TRUE(selector.TryLanguage(1036));
    EXPECT_TRUE(selector.IsBuiltInLanguage());
}

TEST(LanguageSelector, SelectionStoresPostsAndRebuildsToolbars)
{
    const QString folder = LanguageFixture::programFolder();
    writeLanguage(folder, QStringLiteral("Deu"), 1031);
    QDir().mkpath(folder + QStringLiteral("Deu/ZarvoDeu"));
    TestFolders::writeFile(QStringLiteral("program/Deu/ZarvoDeu/index.html"), "<html></html>");
    storeLanguage(1036);

    CLanguageSelector selector(folder + QStringLiteral("Zarvo"));
    selector.SetSystemLanguages({});
    QList<int> posted;
    int resets = 0;
    selector.SetChangePoster([&](int kind) { posted.append(kind); });
    selector.SetToolbarLayoutReset([&] { ++resets; });
    selector.ChooseLanguage();
    ASSERT_TRUE(selector.ScanLanguages());
    ASSERT_EQ(selector.GetLanguages(), (QList<quint16>{1036, 1031}));

    selector.SelectLanguage(0); // the current language: nothing
    selector.SelectLanguage(2); // out of range: nothing
    selector.SelectLanguage(-1);
    EXPECT_TRUE(posted.isEmpty());
    EXPECT_EQ(resets, 0);

    selector.SelectLanguage(1);
    EXPECT_EQ(selector.GetLanguage(), 1031);
    EXPECT_EQ(storedLanguage(), 1031);
    EXPECT_EQ(posted, QList<int>{2});
    EXPECT_EQ(resets, 1);

    // Help: a language without help pages changes nothing.
    posted.clear();
    selector.SelectHelpLanguage(1036);
    EXPECT_TRUE(posted.isEmpty());
    selector.SelectHelpLanguage(1031);
    EXPECT_EQ(posted, QList<int>{3});
    EXPECT_EQ(selector.GetHelpLanguage(), 1031);
    EXPECT_EQ(selector.GetHelpFile(), folder + QStringLiteral("Deu/ZarvoDeu/index.html"));
    Platform::Settings settings;
    EXPECT_EQ(settings.getInt(u"", u"", u"HelpLanguageId", 0), 1031);
    posted.clear();
    selector.SelectHelpLanguage(1031);
    EXPECT_TRUE(posted.isEmpty());

    // At the next start the help language comes back from the settings.
    CLanguageSelector again(folder + QStringLiteral("Zarvo"));
    again.SetSystemLanguages({});
    again.ChooseLanguage();
    EXPECT_EQ(again.ChooseHelpLanguage(), folder + QStringLiteral("Deu/ZarvoDeu/index.html"));
}

TEST(LanguageSelector, HelpChainEndsEmptyWithoutPages)
{
    const QString folder = LanguageFixture::programFolder();
    CLanguageSelector selector(folder + QStringLiteral("Zarvo"));
    selector.SetSystemLanguages({});
    selector.ChooseLanguage();
    EXPECT_TRUE(selector.ChooseHelpLanguage().isEmpty());
    // French pages are found after the interface language and English.
    TestFolders::writeFile(QStringLiteral("program/Fra/ZarvoFra/index.html"), "<html></html>");
    EXPECT_EQ(selector.ChooseHelpLanguage(), folder + QStringLiteral("Fra/ZarvoFra/index.html"));
    EXPECT_EQ(selector.GetHelpLanguage(), 1036);
    // The tray opens the same pages (its own are among them).
    CLanguageSelector tray(folder + QStringLiteral("ZarvoTray"));
    tray.SetSystemLanguages({});
    tray.ChooseLanguage();
    EXPECT_EQ(tray.ChooseHelpLanguage(), folder + QStringLiteral("Fra/ZarvoFra/index.html"));
}

// Folders in any letter case, one without its file, four letters, a plain
// file, and the French folder, which the built-in language stands for.
TEST(LanguageSelector, ScanOfTheProgramFolder)
{
    const QString folder = LanguageFixture::programFolder();
    writeLanguage(folder, QStringLiteral("DEU"), 1031);          // upper-case folder and file
    writeLanguage(folder, QStringLiteral("enu"), 1033);          // lower case
    writeLanguage(folder, QStringLiteral("Espa"), 1034);         // four letters
    writeLanguage(folder, QStringLiteral("FRA"), 1036);          // French, any case: never listed
    writeLanguage(folder, QStringLiteral("Ita"), 0);             // no LangId
    writeLanguage(folder, QStringLiteral("Nld"), 1043, QStringLiteral("ZarvoTray")); // another program's
    QDir().mkpath(folder + QStringLiteral("Plk"));               // a folder without its file
    TestFolders::writeFile(QStringLiteral("program/Sve"), "not a folder");
    // A file named in another case than its folder is found too.
    writeLanguage(folder, QStringLiteral("Rus"), 1049);
    QFile::rename(folder + QStringLiteral("Rus/ZarvoRus.sdb"), folder + QStringLiteral("Rus/zarvorus.SDB"));

    CLanguageSelector selector(folder + QStringLiteral("Zarvo"));
    EXPECT_TRUE(selector.ScanLanguages());
    QList<quint16> found = selector.GetLanguages();
    ASSERT_FALSE(found.isEmpty());
    EXPECT_EQ(found.first(), 1036);
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (QList<quint16>{1031, 1033, 1036, 1049}));

    // The same files found by their language's path.
    EXPECT_TRUE(selector.IsLanguageAvailable(1031));
    EXPECT_TRUE(selector.IsLanguageAvailable(1049));
    EXPECT_EQ(selector.GetLanguageFilePath(1033), folder + QStringLiteral("enu/Zarvoenu.sdb"));
    EXPECT_FALSE(selector.IsLanguageAvailable(1045));

    // The tray sees its own files only.
    CLanguageSelector tray(folder + QStringLiteral("ZarvoTray"));
    EXPECT_TRUE(tray.ScanLanguages());
    EXPECT_EQ(tray.GetLanguages(), (QList<quint16>{1036, 1043}));

    // Only the built-in language: the choice is not offered.
    CLanguageSelector alone(LanguageFixture::programFolder() + QStringLiteral("other/Zarvo"));
    EXPECT_FALSE(alone.ScanLanguages());
    EXPECT_EQ(alone.GetLanguages(), QList<quint16>{1036});
}

TEST(LanguageSelector, FallbackFiles)
{
    const QString folder = LanguageFixture::programFolder();
    CLanguageSelector selector(folder + QStringLiteral("Zarvo"));
    selector.SetLanguage(1031);
    EXPECT_TRUE(selector.GetFallbackFilePath().isEmpty());
    const QString french = LanguageFixture::Language(1036).write(folder, QStringLiteral("Fra"));
    EXPECT_EQ(selector.GetFallbackFilePath(), french);
    const QString english = LanguageFixture::Language(1033).write(folder, QStringLiteral("Enu"));
    EXPECT_EQ(selector.GetFallbackFilePath(), english);
    // English and French have no fallback file.
    selector.SetLanguage(1033);
    EXPECT_TRUE(selector.GetFallbackFilePath().isEmpty());
    selector.SetLanguage(1036);
    EXPECT_TRUE(selector.GetFallbackFilePath().isEmpty());
}

TEST(LanguageSelector, CombosShowNativeNames)
{
    const QString folder = LanguageFixture::programFolder();
    writeLanguage(folder, QStringLiteral("Deu"), 1031);
    TestFolders::writeFile(QStringLiteral("program/Deu/ZarvoDeu/index.html"), "<html></html>");
    storeLanguage(1031);
    CLanguageSelector selector(folder + QStringLiteral("Zarvo"));
    selector.SetSystemLanguages({});
    selector.ChooseLanguage();
    selector.ChooseHelpLanguage();

    QComboBox languages;
    selector.FillLanguageCombo(&languages);
    ASSERT_EQ(languages.count(), 2);
    EXPECT_EQ(languages.itemText(0), QStringLiteral("Français"));
    EXPECT_EQ(languages.itemText(1), QStringLiteral("Deutsch"));
    EXPECT_EQ(languages.currentIndex(), 1);

    QComboBox help;
    selector.FillHelpLanguageCombo(&help);
    ASSERT_EQ(help.count(), 1);
    EXPECT_EQ(help.itemData(0).toInt(), 1031);
    EXPECT_EQ(help.currentIndex(), 0);

    EXPECT_EQ(CLanguageSelector::GetLanguageDisplayName(1033), QStringLiteral("American English"));
    EXPECT_EQ(CLanguageSelector::GetLanguageDisplayName(99), QStringLiteral("99 - ???"));
}

TEST(LanguageSelector, TemplatesAndSampleData)
{
    const QString folder = LanguageFixture::programFolder();
    CLanguageSelector selector(folder + QStringLiteral("Zarvo"));
    selector.SetLanguage(1031);
    EXPECT_TRUE(selector.GetTemplatesFolder().isEmpty());
    EXPECT_TRUE(selector.GetSampleDataPath(false).isEmpty());

    QDir().mkpath(folder + QStringLiteral("Enu/Templates"));
    TestFolders::writeFile(QStringLiteral("program/Enu/Demo/ZarvoEnu.sdb"), "x");
    EXPECT_EQ(selector.GetTemplatesFolder(), folder + QStringLiteral("Enu/Templates/"));
    EXPECT_EQ(selector.GetSampleDataPath(false), folder + QStringLiteral("Enu/Demo/ZarvoEnu.sdb"));
    EXPECT_TRUE(selector.GetSampleDataPath(true).isEmpty());

    QDir().mkpath(folder + QStringLiteral("Deu/Templates"));
    TestFolders::writeFile(QStringLiteral("program/Deu/Demo/ZarvoDeu.rpt"), "x");
    EXPECT_EQ(selector.GetTemplatesFolder(), folder + QStringLiteral("Deu/Templates/"));
    EXPECT_EQ(selector.GetSampleDataPath(true), folder + QStringLiteral("Deu/Demo/ZarvoDeu.rpt"));
    EXPECT_EQ(selector.GetSampleDataPath(false), folder + QStringLiteral("Enu/Demo/ZarvoEnu.sdb"));
}

// Under a French environment the C library would write "12,50"; once the
// run-time locale is applied, numbers keep their decimal point.
TEST(LanguageSelector, RunTimeLocaleKeepsTheDecimalPoint)
{
    qputenv("LANG", "fr_FR.UTF-8");
    qputenv("LC_ALL", "fr_FR.UTF-8");
    ASSERT_NE(std::setlocale(LC_ALL, ""), nullptr) << "the fr_FR.UTF-8 locale is missing";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%0.2f", 12.5);
    EXPECT_STREQ(buffer, "12,50");

    CLanguageSelector selector(LanguageFixture::programFolder() + QStringLiteral("Zarvo"));
    selector.SetLanguage(1036);
    EXPECT_TRUE(selector.ApplyRunTimeLocale());
    std::snprintf(buffer, sizeof buffer, "%0.2f", 12.5);
    EXPECT_STREQ(buffer, "12.50");
    EXPECT_STRNE(std::setlocale(LC_TIME, nullptr), "C");

    SQLite::CmyDataBase db;
    ASSERT_EQ(db.Open(TestFolders::tempDb()), 0);
    db.Execute(u"create table T(V real)");
    db.Execute(QStringLiteral("insert into T values(%1)").arg(QString::fromLatin1(buffer)));
    db.Execute(Platform::Formatter::sprintf(u"insert into T values(%0.2f)", {12.5}));
    const auto table = db.Query(u"select V from T");
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->GetCell(0, 0), QStringLiteral("12.5"));
    EXPECT_EQ(table->GetCell(1, 0), QStringLiteral("12.5"));

    // A language the table does not know sets no names but keeps the point.
    selector.SetLanguage(99);
    EXPECT_FALSE(selector.ApplyRunTimeLocale());
    std::snprintf(buffer, sizeof buffer, "%0.2f", 12.5);
    EXPECT_STREQ(buffer, "12.50");
    std::setlocale(LC_ALL, "C");
    qunsetenv("LC_ALL");
}
