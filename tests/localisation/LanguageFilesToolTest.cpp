#include "BuiltInTexts.h"
#include "CmyDataBase.h"
#include "MyTable.h"
#include "QStringPrinter.h"
#include "TestFolders.h"
#include "TextSource.h"
#include "Texts.h"

#include <QDir>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

const QByteArray FrenchHead = "[Infos]\nLangId = 1036\n[StringTable]\n";

struct ToolRun
{
    int exitCode = -1;
    QString errors;
};

ToolRun runTool(const QStringList &arguments)
{
    QProcess tool;
    tool.start(QStringLiteral(ZARVO_LANGUAGE_TOOL), arguments);
    EXPECT_TRUE(tool.waitForFinished(60000));
    return {tool.exitCode(), QString::fromUtf8(tool.readAllStandardError())};
}

// A res folder of the running test holding the given files.
QString resWith(const QList<std::pair<QString, QByteArray>> &files)
{
    const QString res = TestFolders::file(QStringLiteral("res"));
    QDir(res).removeRecursively();
    for (const auto &[name, data] : files)
        TestFolders::writeFile(QStringLiteral("res/") + name, data);
    return res;
}

ToolRun build(const QString &res)
{
    return runTool({QStringLiteral("build"), res, TestFolders::file(QStringLiteral("bin")),
                    TestFolders::file(QStringLiteral("generated/Tables.cpp"))});
}

} // namespace

// Every fault fails the build with the file and line it is on.
TEST(LanguageFilesTool, FaultyTextSourcesFailNamingFileAndLine)
{
    struct Case
    {
        const char *name;
        QList<std::pair<QString, QByteArray>> files;
        const char *expected; // in the errors
    };
    const Case cases[] = {
        {"duplicate", {{"Fra/ZarvoFra.txt", FrenchHead + "100 = un\n100 = deux\n"}},
         "Fra/ZarvoFra.txt:5: duplicate key: StringTable 100"},
        {"duplicate further back", {{"Fra/ZarvoFra.txt", FrenchHead + "100 = un\n200 = deux\n100 = trois\n"}},
         "Fra/ZarvoFra.txt:6: duplicate key: StringTable 100 (first on line 4)"},
        {"out of order", {{"Fra/ZarvoFra.txt", FrenchHead + "200 = deux\n100 = un\n"}},
         "Fra/ZarvoFra.txt:5: out of order: StringTable 100 comes after StringTable 200"},
        {"duplicate dialog row",
         {{"Fra/ZarvoFra.txt", FrenchHead + "[Dialog]\n431 -1 = Sauvegardes\n431 -1 = Autre\n"}},
         "Fra/ZarvoFra.txt:6: duplicate key: Dialog 431 -1"},
        {"no LangId", {{"Fra/ZarvoFra.txt", "[StringTable]\n100 = un\n"}}, "Infos LangId must give the language id"},
        {"bad row", {{"Fra/ZarvoFra.txt", FrenchHead + "cent = un\n"}},
         "Fra/ZarvoFra.txt:4: a StringTable row is written \"id = text\""},
        {"menu row with one key", {{"Fra/ZarvoFra.txt", FrenchHead + "[Menu]\n128 = Fichier\n"}},
         "Fra/ZarvoFra.txt:5: a Menu row is written \"menu id = text\""},
        {"trailing blank", {{"Fra/ZarvoFra.txt", FrenchHead + "100 = un \n"}},
         "Fra/ZarvoFra.txt:4: a text that begins or ends with a blank is written between double quotes"},
        {"not UTF-8", {{"Fra/ZarvoFra.txt", FrenchHead + "100 = caf\xe9\n"}}, "Fra/ZarvoFra.txt:0: is not valid UTF-8"},
        {"no French", {{"Deu/ZarvoDeu.txt", "[Infos]\nLangId = 1031\n"}}, "the French text source is missing"},
        {"translated inserts differ",
         {{"Fra/ZarvoFra.txt", FrenchHead + "100 = %d jour(s) %s\n"},
          {"Deu/ZarvoDeu.txt", "[Infos]\nLangId = 1031\n[StringTable]\n100 = %s Tag(e) %d\n"}},
         "Deu/ZarvoDeu.txt:4: StringTable 100: the inserts (%s %d) differ from the French ones (%d %s"},
        {"translated message inserts missing",
         {{"Fra/ZarvoFra.txt", FrenchHead + "100 = %1!d! j %2!s!\n"},
          {"Deu/ZarvoDeu.txt", "[Infos]\nLangId = 1031\n[StringTable]\n100 = %1!d! T\n"}},
         "Deu/ZarvoDeu.txt:4: StringTable 100: the inserts (%1!d!) differ"},
        {"translation without French",
         {{"Fra/ZarvoFra.txt", FrenchHead + "100 = un\n"},
          {"Deu/ZarvoDeu.txt", "[Infos]\nLangId = 1031\n[StringTable]\n101 = zwei\n"}},
         "Deu/ZarvoDeu.txt:4: StringTable 101 has no French text"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const ToolRun run = build(resWith(c.files));
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.errors.contains(QString::fromUtf8(c.expected))) << run.errors.toStdString();
    }
}

TEST(LanguageFilesTool, CodeAskingForTextsWithoutFrench)
{
    const QString res = resWith({{"Fra/ZarvoFra.txt", FrenchHead + "100 = un\n101 = deux\n[Menu]\n128 -1 = &Fichier\n"
                                                                   "[Dialog]\n431 -1 = Sauvegardes\n"},
                                 {"Fra/ZarvoTrayFra.txt", FrenchHead + "164 = jeu.\n"}});
    const QString code = TestFolders::file(QStringLiteral("code"));
    TestFolders::writeFile(QStringLiteral("code/datastore/Good.cpp"),
                           "QString a = Platform::Texts::get(100);\n"
                           "// Texts::get(999) in a comment is not asked for\n"
                           "static const Platform::TextId ids[] = {100,\n   101};\n"
                           "QString m = store.GetMenuString(128, -1) + store.GetDialogString(431, -1);\n");
    TestFolders::writeFile(QStringLiteral("code/tray/Tray.cpp"), "QString d = store.GetString(164);\n");
    const QStringList arguments{QStringLiteral("check-code"), res, code, TestFolders::file(QStringLiteral("stamp"))};
    ToolRun run = runTool(arguments);
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_TRUE(QFile::exists(TestFolders::file(QStringLiteral("stamp"))));

    TestFolders::writeFile(QStringLiteral("code/shell/Bad.cpp"),
                           "QString a = Platform::Texts::get(102);\n"
                           "static const Platform::TextId ids[] = {\n  100,\n  103};\n"
                           "QString b = store.GetString(164);\n"
                           "QString m = store.GetMenuString(128, -2);\n"
                           "QString d = store.GetDialogString(431, 1);\n");
    TestFolders::writeFile(QStringLiteral("code/tray/Tray.cpp"), "QString d = store.GetString(100);\n");
    run = runTool(arguments);
    EXPECT_EQ(run.exitCode, 1);
    for (const char *expected : {"code/shell/Bad.cpp:1: text 102 has no French text in",
                                 "code/shell/Bad.cpp:4: text 103 has no French text",
                                 "code/shell/Bad.cpp:5: text 164 has no French text",
                                 "code/shell/Bad.cpp:6: menu 128 item -2 has no French text",
                                 "code/shell/Bad.cpp:7: dialog 431 control 1 has no French text",
                                 "code/tray/Tray.cpp:1: text 100 has no French text in"}) {
        EXPECT_TRUE(run.errors.contains(QString::fromUtf8(expected))) << expected << "\n"
                                                                         << run.errors.toStdString();
    }
    EXPECT_FALSE(run.errors.contains(QStringLiteral("999")));
}

// A sound source gives a language database per program and language, each
// opened read-only with its language id, and the compiled-in tables.
TEST(LanguageFilesTool, BuildsTheDatabasesAndTheTables)
{
    const QString res = resWith(
        {{"Fra/ZarvoFra.txt", "# comment\n[Infos]\nLangId = 1036\nAuthorName = Quellmark\n[StringTable]\n"
                              "100 = Ligne un\\nLigne deux\n101 =\n102 = \"  entouré de blancs \"\n"
                              "103 = \"\"cité\"\"\n[Menu]\n128 -1 = &Fichier\n[Dialog]\n431 -1 = Sauvegardes\n"},
         {"Fra/ZarvoTrayFra.txt", "[Infos]\r\nLangId = 1036\r\n[StringTable]\r\n164 = jeu.\r\n"},
         {"Deu/ZarvoDeu.txt", "[Infos]\nLangId = 1031\n[StringTable]\n100 = Zeile\\nZwei\n"}});
    const ToolRun run = build(res);
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();

    struct Expected
    {
        const char *file;
        int langId;
        int strings;
    };
    for (const Expected &e : {Expected{"bin/Fra/ZarvoFra.sdb", 1036, 4}, Expected{"bin/Fra/ZarvoTrayFra.sdb", 1036, 1},
                              Expected{"bin/Deu/ZarvoDeu.sdb", 1031, 1}}) {
        SCOPED_TRACE(e.file);
        SQLite::CmyDataBase db;
        ASSERT_EQ(db.OpenReadOnly(TestFolders::file(QString::fromLatin1(e.file))), 0);
        EXPECT_EQ(db.Query(u"select Value from Infos where Name='LangId'")->GetIntAt(0, 0), e.langId);
        EXPECT_EQ(db.Query(u"select count(*) from StringTable")->GetIntAt(0, 0), e.strings);
        EXPECT_NE(db.Execute(u"insert into StringTable values(1, 'x')"), 0); // read-only
    }
    SQLite::CmyDataBase db;
    ASSERT_EQ(db.OpenReadOnly(TestFolders::file(QStringLiteral("bin/Fra/ZarvoFra.sdb"))), 0);
    const auto rows = db.Query(u"select Id, String from StringTable order by Id");
    ASSERT_EQ(rows->rowCount(), 4);
    EXPECT_EQ(rows->GetCell(0, 1), QStringLiteral("Ligne un\\nLigne deux")); // kept as files write it
    EXPECT_EQ(rows->GetCell(1, 1), QString());
    EXPECT_EQ(rows->GetCell(2, 1), QStringLiteral("  entouré de blancs "));
    EXPECT_EQ(rows->GetCell(3, 1), QStringLiteral("\"cité\""));
    EXPECT_EQ(db.Query(u"select String from Menu where IdMenu=128 and Id=-1")->GetCell(0, 0), QStringLiteral("&Fichier"));
    EXPECT_EQ(db.Query(u"select String from Dialog where IdDialog=431 and Id=-1")->GetCell(0, 0),
              QStringLiteral("Sauvegardes"));

    const QString tables = QString::fromUtf8(TestFolders::readFile(TestFolders::file(QStringLiteral("generated/Tables.cpp"))));
    EXPECT_TRUE(tables.contains(QStringLiteral(R"({100, 0, u"Ligne un\\nLigne deux"})"))) << tables.toStdString();
    EXPECT_TRUE(tables.contains(QStringLiteral(R"({102, 0, u"  entour\u00e9 de blancs "})")));
    EXPECT_TRUE(tables.contains(QStringLiteral(R"({103, 0, u"\"cit\u00e9\""})")));
    EXPECT_TRUE(tables.contains(QStringLiteral(R"({164, 0, u"jeu."})")));
    EXPECT_FALSE(tables.contains(QStringLiteral("Zeile")));
}

// The program's own French: the built file and the compiled-in tables hold
// exactly the rows of the text sources.
TEST(LanguageFilesTool, TheProgramsFrenchMatchesItsSources)
{
    struct Program
    {
        const char *source;
        const char *database;
        Platform::BuiltInTexts::Program program;
    };
    for (const Program &p : {Program{ZARVO_RES_DIR "/Fra/ZarvoFra.txt", ZARVO_LANGUAGE_DB_FRA,
                                     Platform::BuiltInTexts::Program::Main},
                             Program{ZARVO_RES_DIR "/Fra/ZarvoTrayFra.txt", ZARVO_TRAY_LANGUAGE_DB_FRA,
                                     Platform::BuiltInTexts::Program::Tray}}) {
        SCOPED_TRACE(p.source);
        TextSource source;
        ASSERT_TRUE(source.Read(QString::fromUtf8(p.source)));
        const Platform::BuiltInTexts::Tables &tables = Platform::BuiltInTexts::TablesOf(p.program);
        SQLite::CmyDataBase db;
        ASSERT_EQ(db.OpenReadOnly(QString::fromUtf8(p.database)), 0);
        EXPECT_EQ(db.Query(u"select Value from Infos where Name='LangId'")->GetIntAt(0, 0), 1036);
        std::size_t counts[4] = {};
        for (const TextSource::Row &row : source.Rows()) {
            ++counts[int(row.table)];
            const char16_t *builtIn = nullptr;
            switch (row.table) {
            case TextSource::Table::Infos:
                builtIn = Platform::BuiltInTexts::Info(p.program, reinterpret_cast<const char16_t *>(row.name.utf16()));
                break;
            case TextSource::Table::StringTable:
                builtIn = Platform::BuiltInTexts::String(p.program, row.key1);
                break;
            case TextSource::Table::Menu:
                builtIn = Platform::BuiltInTexts::Menu(p.program, row.key1, row.key2);
                break;
            case TextSource::Table::Dialog:
                builtIn = Platform::BuiltInTexts::Dialog(p.program, row.key1, row.key2);
                break;
            }
            ASSERT_NE(builtIn, nullptr) << row.line;
            EXPECT_EQ(QString::fromUtf16(builtIn), row.text) << row.line;
        }
        EXPECT_EQ(tables.stringCount, counts[int(TextSource::Table::StringTable)]);
        EXPECT_EQ(tables.menuCount, counts[int(TextSource::Table::Menu)]);
        EXPECT_EQ(tables.dialogCount, counts[int(TextSource::Table::Dialog)]);
        EXPECT_EQ(std::size_t(db.Query(u"select count(*) from StringTable")->GetIntAt(0, 0)), tables.stringCount);
        EXPECT_EQ(std::size_t(db.Query(u"select count(*) from Menu")->GetIntAt(0, 0)), tables.menuCount);
        EXPECT_EQ(std::size_t(db.Query(u"select count(*) from Dialog")->GetIntAt(0, 0)), tables.dialogCount);
    }
}

// The French language database holds the texts of windows that other
// subsystems show (the synchronisation list, the column dialog, the project
// editor's planning page), found by number, and the standard day's texts
// with their accent.
TEST(LanguageFilesTool, TheFrenchDatabaseHoldsTheTextsOfEveryWindow)
{
    SQLite::CmyDataBase db;
    ASSERT_EQ(db.OpenReadOnly(QString::fromUtf8(ZARVO_LANGUAGE_DB_FRA)), 0);
    struct Case
    {
        int id;
        const char *text;
    };
    for (const Case &c : {Case{233, "Action"}, Case{234, "Modification"}, Case{499, "Alignement"},
                          Case{519, "Heure(s)"}, Case{520, "Jour(s) de travail"}, Case{601, "Manuel"},
                          Case{624, "Copier la journée par défaut."}, Case{625, "Journée par défaut"},
                          Case{627, "Type de rapport"}, Case{633, "Ordre des projets"}, Case{659, "Délai"}}) {
        const SQLite::MyTablePtr row =
            db.Query(QStringLiteral("select String from StringTable where Id=%1").arg(c.id));
        ASSERT_TRUE(row.hasRows()) << c.id;
        EXPECT_EQ(row->GetCellView(0, 0).toString(), QString::fromUtf8(c.text)) << c.id;
        EXPECT_EQ(Platform::Texts::builtIn(c.id), QString::fromUtf8(c.text)) << c.id;
    }
}

// Every French text asks for as many values as its callers pass: among them
// 567, whose original wording read a second value the delete question never
// gives, and 616, which was only its own number.
TEST(LanguageFilesTool, FrenchInsertsMatchWhatTheCodePasses)
{
    struct Case
    {
        int id;
        int values;
    };
    for (const Case &c : {Case{522, 2}, Case{544, 1}, Case{567, 1}, Case{575, 2}, Case{603, 1}, Case{616, 2},
                          Case{618, 1}, Case{620, 0}, Case{621, 0}, Case{662, 1}, Case{663, 1}, Case{679, 1},
                          Case{682, 1}, Case{20004, 1}}) {
        const QString text = Platform::Texts::builtIn(c.id);
        ASSERT_FALSE(text.isNull()) << c.id;
        EXPECT_EQ(TextSource::Inserts(text).size(), c.values) << c.id << " " << text.toStdString();
    }
}

TEST(TextSource, Inserts)
{
    struct Case
    {
        const char16_t *text;
        QStringList inserts;
    };
    const Case cases[] = {
        {u"plain text", {}},
        {u"%s : %s (en cours…)", {"%s", "%s"}},
        {u"Erreur no : %d", {"%d"}},
        {u"%I64d et %0.2f et %02d et %-10s", {"%I64d", "%0.2f", "%02d", "%-10s"}},
        {u"100%% et % disponible", {}},
        {u"%1!d!:%2!02d!", {"%1!d!", "%2!02d!"}},
        {u"%2!s! puis %1!d!", {"%1!d!", "%2!s!"}}, // message inserts may change places
        {u"%1 et %2", {"%1!s!", "%2!s!"}},
        {u"fin %", {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.text).toStdString());
        EXPECT_EQ(TextSource::Inserts(QString::fromUtf16(c.text)), c.inserts);
    }
}
