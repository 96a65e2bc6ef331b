#include "CLanguageSelector.h"
#include "CTranslationStore.h"
#include "Formatter.h"
#include "LanguageFixture.h"
#include "QStringPrinter.h"
#include "Texts.h"
#include "TextsProvider.h"

#include <gtest/gtest.h>

namespace {

// A German file and an English fallback over the compiled-in French.
struct Files
{
    QString folder = LanguageFixture::programFolder();

    explicit Files(bool debug = false)
    {
        LanguageFixture german;
        german.langId = 1031;
        if (debug)
            german.infos.append({QStringLiteral("Debug"), QStringLiteral("1")});
        german.infos.append({QStringLiteral("AuthorName"), QStringLiteral("Anna O'Brien")});
        german.strings = {{174, QStringLiteral("Bitte einen Namen eingeben")},
                          {501, QString()},                                 // found empty
                          {618, QStringLiteral("Zeile eins\\nZeile zwei %d")}, // "\n" written as in the files
                          {222, QStringLiteral("Information")}};
        german.menus = {{504, 33099, QStringLiteral("Schwebend")}, {504, 33100, QString()}};
        german.dialogs = {{431, -1, QStringLiteral("Sicherungen")}, {431, 1086, QStringLiteral("Löschen")},
                          {431, 1087, QString()}};
        german.write(folder, QStringLiteral("Deu"));

        LanguageFixture english;
        english.langId = 1033;
        english.strings = {{174, QStringLiteral("Please enter a name")}, {502, QStringLiteral("<Undefined activity>")}};
        english.menus = {{504, 33100, QStringLiteral("Dockable")}};
        english.dialogs = {{431, 1087, QStringLiteral("Back up")}};
        english.write(folder, QStringLiteral("Enu"));
    }

};

} // namespace

TEST(TranslationStore, LookupsOverTheFallbackAndTheCompiledInFrench)
{
    const Files files;
    CLanguageSelector german(files.folder + QStringLiteral("Zarvo"));
    german.SetLanguage(1031);
    CTranslationStore store(&german);
    ASSERT_TRUE(store.IsOpen());
    EXPECT_FALSE(store.IsDebug());

    struct Case
    {
        int id;
        QString expected;
        bool found;
    };
    const Case cases[] = {
        {174, QStringLiteral("Bitte einen Namen eingeben"), true},
        {501, QString(), true},                                              // found empty stays empty
        {618, QStringLiteral("Zeile eins\nZeile zwei %d"), true},            // line break
        {502, QStringLiteral("<Undefined activity>"), true},                 // from the English fallback
        {593, QStringLiteral("Délai de calcul dépassé"), true},                       // from the compiled-in French
        {19999, QString(), false},                                           // nowhere
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(store.GetString(c.id), c.expected);
        EXPECT_EQ(store.FindString(c.id).isNull(), !c.found);
    }

    // Menus and dialogs: an empty row does not end the lookup.
    EXPECT_EQ(store.GetMenuString(504, 33099), QStringLiteral("Schwebend"));
    EXPECT_EQ(store.GetMenuString(504, 33100), QStringLiteral("Dockable"));
    EXPECT_EQ(store.GetMenuString(504, 33101), QStringLiteral("Masquer"));
    EXPECT_EQ(store.GetMenuString(504, 1), QString());
    EXPECT_EQ(store.GetDialogString(431, -1), QStringLiteral("Sicherungen"));
    EXPECT_EQ(store.GetDialogString(431, 1086), QStringLiteral("Löschen"));
    EXPECT_EQ(store.GetDialogString(431, 1087), QStringLiteral("Back up"));
    EXPECT_EQ(store.GetDialogString(431, 1204), QStringLiteral("Restaurer"));
    EXPECT_EQ(store.GetDialogString(432, 1), QString());

    QString name, email, site;
    store.GetTranslatorInfo(name, email, site);
    EXPECT_EQ(name, QStringLiteral("Anna O'Brien"));
    EXPECT_TRUE(email.isEmpty());
    EXPECT_TRUE(site.isEmpty());
}

// English has no fallback file, and a missing file leaves the store closed:
// the texts still come from the compiled-in French, never empty.
TEST(TranslationStore, NoFileOrNoFallbackGivesTheFrench)
{
    const Files files;
    CLanguageSelector english(files.folder + QStringLiteral("Zarvo"));
    english.SetLanguage(1033);
    CTranslationStore store(&english);
    EXPECT_EQ(store.GetString(174), QStringLiteral("Please enter a name"));
    EXPECT_EQ(store.GetString(501), QStringLiteral("<Projet non défini>"));
    EXPECT_EQ(store.GetDialogString(431, -1), QStringLiteral("Sauvegardes"));

    CLanguageSelector italian(files.folder + QStringLiteral("Zarvo"));
    italian.SetLanguage(1040);
    CTranslationStore missing(&italian);
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_EQ(missing.GetString(174), QStringLiteral("Please enter a name")); // English fallback
    EXPECT_EQ(missing.GetString(173), QStringLiteral("Erreur"));

    CTranslationStore none(nullptr);
    EXPECT_EQ(none.GetString(173), QStringLiteral("Erreur"));
    EXPECT_EQ(none.GetMenuString(504, 33057), QStringLiteral("Document avec onglet"));
}

TEST(TranslationStore, DebugDecoration)
{
    const Files files(true);
    CLanguageSelector german(files.folder + QStringLiteral("Zarvo"));
    german.SetLanguage(1031);
    CTranslationStore store(&german);
    ASSERT_TRUE(store.IsDebug());
    EXPECT_EQ(store.GetString(222), QStringLiteral("{222}Information"));
    EXPECT_EQ(store.GetMenuString(504, 33099), QStringLiteral("[504-33099]Schwebend"));
    EXPECT_EQ(store.GetDialogString(431, -1), QStringLiteral("[431]Sicherungen"));
    EXPECT_EQ(store.GetDialogString(431, 1001), QStringLiteral("431.1001"));
}

// A translation is never trusted as a format: one whose inserts do not
// match what the code passes (a file the build did not check) still gives
// a readable text.
TEST(TranslationStore, AMismatchedTranslationFormatsSafely)
{
    const QString folder = LanguageFixture::programFolder();
    LanguageFixture german;
    german.langId = 1031;
    german.strings = {{618, QStringLiteral("Fehler %s bei %d und %s")}, {575, QStringLiteral("%3!s! T %1!d!")}};
    german.write(folder, QStringLiteral("Deu"));
    CLanguageSelector selector(folder + QStringLiteral("Zarvo"));
    selector.SetLanguage(1031);
    CTranslationStore store(&selector);
    EXPECT_EQ(Platform::Formatter::sprintf(store.GetString(618), {42}), QStringLiteral("Fehler 42 bei %d und %s"));
    EXPECT_EQ(Platform::Formatter::message(store.GetString(575), {2, QStringLiteral("3:00")}),
              QStringLiteral("%3!s! T 2"));
}

// The tray numbers its texts on its own: its store reads its own file and
// its own compiled-in table, while the data store's texts stay the main
// program's.
TEST(TranslationStore, TheTrayHasItsOwnTextSpace)
{
    const QString folder = LanguageFixture::programFolder();
    LanguageFixture trayGerman;
    trayGerman.langId = 1031;
    trayGerman.strings = {{174, QStringLiteral("Tray-Text")}};
    trayGerman.write(folder, QStringLiteral("Deu"), QStringLiteral("ZarvoTray"));
    LanguageFixture mainGerman;
    mainGerman.langId = 1031;
    mainGerman.strings = {{174, QStringLiteral("Bitte einen Namen eingeben")}};
    mainGerman.write(folder, QStringLiteral("Deu"));

    CLanguageSelector tray(folder + QStringLiteral("ZarvoTray"));
    tray.SetLanguage(1031);
    EXPECT_TRUE(tray.IsTray());
    CTranslationStore own(&tray);
    EXPECT_EQ(own.GetProgram(), CTranslationStore::Program::Tray);
    EXPECT_EQ(own.GetString(174), QStringLiteral("Tray-Text"));
    CTranslationStore dataStore(&tray, CTranslationStore::Program::Main);
    EXPECT_EQ(dataStore.GetString(174), QStringLiteral("Bitte einen Namen eingeben"));
    EXPECT_EQ(dataStore.GetString(173), QStringLiteral("Erreur"));
}

// The data store's door follows the application's language, and forgets
// what it read when the language changes.
TEST(TranslationStore, ServesTheDataStoreTexts)
{
    const Files files;
    CLanguageSelector selector(files.folder + QStringLiteral("Zarvo"));
    selector.SetLanguage(1031);
    CLanguageSelector::SetApplication(&selector);
    TextsProvider::Install();
    EXPECT_EQ(Platform::Texts::get(174), QStringLiteral("Bitte einen Namen eingeben"));
    EXPECT_EQ(Platform::Texts::get(501), QString());
    EXPECT_EQ(Platform::Texts::get(593), QStringLiteral("Délai de calcul dépassé"));
    selector.SetLanguage(1036);
    EXPECT_EQ(Platform::Texts::get(174), QStringLiteral("Veuillez saisir un nom"));
    EXPECT_EQ(Platform::Texts::get(501), QStringLiteral("<Projet non défini>"));
    TextsProvider::Uninstall();
    CLanguageSelector::SetApplication(nullptr);
    EXPECT_EQ(Platform::Texts::get(174), QStringLiteral("Veuillez saisir un nom"));
}
