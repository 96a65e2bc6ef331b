#include "CAppData.h"
#include "CBdD.h"
#include "CrashedCreation.h"
#include "ShortBusyWait.h"
#include "TestFolders.h"
#include "WithoutFileRights.h"
#include "tElement.h"

#include "Clock.h"
#include "Settings.h"
#include "QStringPrinter.h"

#include <gtest/gtest.h>

#include <ostream>

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

using Outcome = CBdD::tUpgradeResult::Outcome;

namespace {

// The statements a new file must be made with, as the database keeps them.
const QStringList ExpectedTables = {
    "create table Favoris(Id integer PRIMARY KEY, IdProject integer, IdActivite integer, IdTauxHoraire integer, "
    "Ordre integer, Date_Modif integer, Origine_Modif integer, Deleted integer, Share integer default 0, "
    "Title text default '')",
    "Create table Taches(Id integer primary key, Debut integer, Fin integer, IdActivite integer, IdProjet integer, "
    "Facture integer, IdTauxHoraire integer, Date_Modif integer, Origine_Modif integer, Deleted integer, "
    "Title text default '', Notes text default '')",
    "create table Projets(Id integer PRIMARY KEY, Nom text default '', Title text default '', Commentaire text "
    "default '', Red integer, Green integer, Blue integer, IdTauxHoraire integer, Visible integer, Ordre integer, "
    "Date_Modif integer, Origine_Modif integer, Deleted integer, Share integer default 0, Parent integer default -1, "
    "Type integer default 0, Activity integer default -1)",
    "create table Activites(Id integer PRIMARY KEY, Nom text, Commentaire text, Red integer, Green integer, "
    "Blue integer, IdTauxHoraire integer, Visible integer, Ordre integer, Date_Modif integer, Origine_Modif integer, "
    "Deleted integer, Share integer default 0, Parent integer default -1)",
    "create table TauxHoraire(Id integer PRIMARY KEY, Nom text, Commentaire text, Valeur real, Date_Modif integer, "
    "Origine_Modif integer, Deleted integer, Share integer default 0)",
    "create table Forecast(IdProject integer, IdActivity integer, Priority integer default 0, Status integer "
    "default 0, bJours integer default 0, bModeAuto integer default 1, bPrevuAuto integer default 1, Prevu integer "
    "default 0, TypePrevu integer default 1, DateDebut integer default 0, TypeDateDebut integer default 0, "
    "Predecesseurs text default '', DateFin integer default 0, TypeDateFin integer default 0, Delta integer default "
    "0, TypeDelta integer default 0, DateAlerte integer default 0, DureeSupp integer default 0, TypeDureeSupp "
    "integer default 1, Total integer default -1, Visible integer default 1, Title text default '', Notes text "
    "default '', Date_Modif integer, Origine_Modif integer, Deleted integer default 0)",
    "create table ProjectChilds(IdProject integer, Childs text, Date_Modif integer, Origine_Modif integer)",
    "create table Infos(Name text, Value text)",
    "create table NextRowId(Name text, Ppc integer, Pc integer, Serveur integer)",
};

QStringList column(SQLite::CmyDataBase &db, const QString &sql)
{
    QStringList values;
    SQLite::MyTablePtr t = db.Query(sql);
    for (int r = 0; t && r < t->rowCount(); ++r)
        values.append(t->GetCell(r, 0));
    return values;
}

QStringList rows(SQLite::CmyDataBase &db, const QString &sql)
{
    QStringList values;
    SQLite::MyTablePtr t = db.Query(sql);
    for (int r = 0; t && r < t->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < t->columnCount(); ++c)
            cells.append(t->GetCell(r, c));
        values.append(cells.join(u'|'));
    }
    return values;
}

void exec(SQLite::CmyDataBase &db, const QString &sql)
{
    ASSERT_EQ(db.Execute(sql), 0) << sql.toStdString();
}

// An old file as the earlier versions of the program left it.
void makeOldFile(const QString &path, int version, bool withInfos = true, bool withHistory = true)
{
    SQLite::CmyDataBase db;
    ASSERT_EQ(db.Open(path), 0);
    const QString titles = version >= 1 ? QStringLiteral(", Title text default ''") : QString();
    exec(db, "create table Favoris(Id integer PRIMARY KEY, IdProject integer, IdActivite integer, IdTauxHoraire "
             "integer, Ordre integer, Date_Modif integer, Origine_Modif integer, Deleted integer, Share integer "
             "default 0" + titles + ")");
    exec(db, "Create table Taches(Id integer primary key, Debut integer, Fin integer, IdActivite integer, IdProjet "
             "integer, Facture integer, IdTauxHoraire integer, Date_Modif integer, Origine_Modif integer, Deleted "
             "integer" + (version >= 1 ? QStringLiteral(", Title text default '', Notes text default ''") : QString())
                 + ")");
    exec(db, "create table Projets(Id integer PRIMARY KEY, Nom text default '', Commentaire text default '', Red "
             "integer, Green integer, Blue integer, IdTauxHoraire integer, Visible integer, Ordre integer, "
             "Date_Modif integer, Origine_Modif integer, Deleted integer, Share integer default 0, Parent integer "
             "default -1)");
    exec(db, "create table Activites(Id integer PRIMARY KEY, Nom text, Commentaire text, Red integer, Green "
             "integer, Blue integer, IdTauxHoraire integer, Visible integer, Ordre integer, Date_Modif integer, "
             "Origine_Modif integer, Deleted integer, Share integer default 0, Parent integer default -1)");
    exec(db, "create table TauxHoraire(Id integer PRIMARY KEY, Nom text, Commentaire text, Valeur real, Date_Modif "
             "integer, Origine_Modif integer, Deleted integer, Share integer default 0)");
    if (withHistory)
        exec(db, "create table History(IdProjet integer, IdActivite integer, IdTauxHoraire integer" + titles + ")");
    exec(db, "create table NextRowId(Name text, Ppc integer, Pc integer, Serveur integer)");
    exec(db, "insert into NextRowId values ('Taches',100,101,102)");
    if (withInfos) {
        exec(db, "create table Infos(Name text, Value text)");
        if (version >= 1)
            exec(db, QStringLiteral("insert into Infos values ('VersionDB','%1')").arg(version));
        exec(db, "insert into Infos values ('Modif','5')");
    }
    exec(db, "insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, Deleted) "
             "values (101, 1000, 2000, 32, 32, 0, -1, 0)");
    exec(db, "insert into Projets(Id, Nom, Date_Modif, Origine_Modif, Deleted) values (32, 'Ancien', 7, 1, 0)");
}

class SchemaTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // 31 January 2024 17:45:02 in Paris.
        Platform::Clock::setFixedNow(1706719502);
    }
    void TearDown() override
    {
        CBdD::CloseSharedConnection();
        CAppData::Clear();
    }
    QStringList filesBeside(const QString &path)
    {
        return QDir(QFileInfo(path).path()).entryList(QDir::Files, QDir::Name);
    }
};

} // namespace

TEST_F(SchemaTest, NewFileHasExactlyTheSchemaAndSeedRows)
{
    const QString path = TestFolders::tempDb(QStringLiteral("Zarvo.sdb"));
    {
        CBdD db(path);
        ASSERT_TRUE(db.IsOpen());
        EXPECT_EQ(db.GetVersion(), 2);
        // SQLite keeps each statement as given, but for its first two
        // words, which it writes in capitals.
        QStringList expected;
        for (const QString &statement : ExpectedTables)
            expected.append(QStringLiteral("CREATE TABLE") + statement.mid(12));
        EXPECT_EQ(column(*db.Connection(), "select sql from sqlite_master where type='table' order by rowid"),
                  expected);
        EXPECT_EQ(rows(*db.Connection(), "select Name, Value from Infos order by rowid"),
                  QStringList({"VersionDB|2", "Backup|", "Modif|", "MajLan|"}));
        EXPECT_EQ(rows(*db.Connection(), "select Name, Ppc, Pc, Serveur from NextRowId order by rowid"),
                  QStringList({"Projets|31|32|33", "Activites|31|32|33", "Taches|100|101|102",
                               "TauxHoraire|1|2|3", "Favoris|1|2|3"}));
        // Already current: nothing to do, no copy.
        EXPECT_EQ(db.UpdateDb().outcome, Outcome::Current);
        db.Execute(u"insert into Infos values ('Marque','x')");
    }
    // A second time the file is only opened.
    CBdD again(path);
    ASSERT_TRUE(again.IsOpen());
    EXPECT_EQ(column(*again.Connection(), "select Value from Infos where Name='Marque'"), QStringList{"x"});
    EXPECT_EQ(filesBeside(path), QStringList{"Zarvo.sdb"});
}

// A file without any table is new, whatever its size: an empty file, or the
// one a crash left while the file was being made (partly written, with the
// journal that undoes it beside it). It is given the schema, not taken for
// an old version to upgrade.
TEST_F(SchemaTest, AFileWithoutAnyTableIsMadeNew)
{
    struct Case
    {
        const char *name;
        std::function<void(const QString &)> leave;
    };
    const Case cases[] = {
        {"empty file", [](const QString &path) { QFile(path).open(QIODevice::WriteOnly); }},
        {"creation cut short", [](const QString &path) { LeaveCrashedCreation(path); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString folder = TestFolders::root() + u'/' + QString::fromLatin1(c.name).replace(u' ', u'_');
        ASSERT_TRUE(QDir().mkpath(folder));
        const QString path = folder + QStringLiteral("/Zarvo.sdb");
        c.leave(path);
        ASSERT_TRUE(QFileInfo::exists(path));
        CBdD db(path);
        ASSERT_TRUE(db.IsOpen());
        EXPECT_EQ(db.GetVersion(), 2);
        EXPECT_EQ(column(*db.Connection(), "select count(*) from sqlite_master where type='table'"),
                  QStringList{QString::number(ExpectedTables.size())});
        const CBdD::tUpgradeResult result = db.UpdateDb();
        EXPECT_EQ(result.outcome, Outcome::Current);
        EXPECT_TRUE(result.copyPath.isEmpty());
        EXPECT_EQ(filesBeside(path), QStringList{"Zarvo.sdb"});
    }
}

TEST_F(SchemaTest, UnusableFilesAreRefusedAndLeftAsTheyWere)
{
    struct Case
    {
        const char *name;
        QByteArray content;
        bool readOnly;
        int code;
    };
    const QList<Case> cases = {
        {"text.sdb", QByteArray("ceci n'est pas une base de données, ni un en-tête SQLite valable.\n").repeated(20),
         false, SQLITE_NOTADB},
        {"readonly.sdb", QByteArray(), true, SQLITE_READONLY},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = TestFolders::file(c.name);
        if (c.content.isEmpty()) {
            CBdD made(path);
            ASSERT_TRUE(made.IsOpen());
        } else {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(c.content);
        }
        QFile::setPermissions(path, c.readOnly ? QFile::ReadOwner : QFile::ReadOwner | QFile::WriteOwner);
        QFile before(path);
        ASSERT_TRUE(before.open(QIODevice::ReadOnly));
        const QByteArray bytes = before.readAll();

        // Root writes files it has no permission for: that right is put
        // aside while the file is opened.
        WithoutFileRights asAnyUser;
        if (c.readOnly) {
            const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR);
            if (fd >= 0) {
                ::close(fd);
                ADD_FAILURE() << "the read-only file stays writable";
                continue;
            }
        }
        CBdD db(path);
        EXPECT_FALSE(db.IsOpen());
        EXPECT_EQ(db.OpenError(), c.code);
        EXPECT_EQ(db.GetVersion(), -1);
        EXPECT_EQ(db.UpdateDb().outcome, Outcome::NotOpen);
        QFile after(path);
        ASSERT_TRUE(after.open(QIODevice::ReadOnly));
        EXPECT_EQ(after.readAll(), bytes);
    }
}

// Opened only if it exists (the tray's way): a file that is not a user
// database of this program, or that cannot be written, leaves no
// connection, no new file and the file as it was; an older one is opened as
// it stands, without an index, until its upgrade.
TEST_F(SchemaTest, AnExistingFileIsOpenedAsItStandsOrNotAtAll)
{
    struct Case
    {
        const char *name;
        std::function<void(const QString &)> leave; // null: no file
        bool readOnly;
        int version; // -1: not opened
        int code;
    };
    const auto made = [](int version) {
        return [version](const QString &path) {
            if (version < 2) {
                makeOldFile(path, version);
                return;
            }
            CBdD db(path);
            db.Execute(QStringLiteral("update Infos set Value='%1' where Name='VersionDB'").arg(version));
        };
    };
    const Case cases[] = {
        {"missing.sdb", nullptr, false, -1, SQLITE_CANTOPEN},
        {"empty.sdb", [](const QString &path) { QFile(path).open(QIODevice::WriteOnly); }, false, -1, SQLITE_NOTADB},
        {"text.sdb",
         [](const QString &path) {
             QFile f(path);
             f.open(QIODevice::WriteOnly);
             f.write(QByteArray("pas une base de données\n").repeated(40));
         },
         false, -1, SQLITE_NOTADB},
        {"foreign.sdb",
         [](const QString &path) {
             SQLite::CmyDataBase other;
             other.Open(path);
             other.Execute(u"create table Autre(Id integer)");
         },
         false, -1, SQLITE_NOTADB},
        {"readonly.sdb", made(2), true, -1, SQLITE_READONLY},
        {"v3.sdb", made(3), false, -1, SQLITE_CANTOPEN},
        {"v0.sdb", made(0), false, 0, 0},
        {"v1.sdb", made(1), false, 1, 0},
        {"v2.sdb", made(2), false, 2, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString folder = TestFolders::root() + u'/' + QString::fromLatin1(c.name).chopped(4);
        ASSERT_TRUE(QDir().mkpath(folder));
        const QString path = folder + u'/' + QString::fromLatin1(c.name);
        if (c.leave)
            c.leave(path);
        if (c.readOnly)
            QFile::setPermissions(path, QFile::ReadOwner);
        const QStringList files = filesBeside(path);
        const QByteArray bytes = TestFolders::readFile(path);
        {
            WithoutFileRights asAnyUser;
            CBdD db(path, CBdD::ExistingFile);
            EXPECT_EQ(db.IsOpen(), c.version >= 0);
            EXPECT_EQ(db.FileVersion(), c.version);
            EXPECT_EQ(db.OpenError(), c.code);
        }
        EXPECT_EQ(filesBeside(path), files);
        if (c.version != 2) {
            EXPECT_EQ(TestFolders::readFile(path), bytes) << "written to";
        }
    }
    // A current file gets the indexes, and the upgrade of an older one
    // leaves it current.
    CBdD current(TestFolders::root() + QStringLiteral("/v2/v2.sdb"), CBdD::ExistingFile);
    EXPECT_EQ(column(*current.Connection(), "select name from sqlite_master where name='TachesNewest'"),
              QStringList{"TachesNewest"});
    CBdD old(TestFolders::root() + QStringLiteral("/v1/v1.sdb"), CBdD::ExistingFile);
    EXPECT_EQ(old.UpdateDb().outcome, Outcome::Upgraded);
    EXPECT_EQ(old.FileVersion(), 2);
}

TEST_F(SchemaTest, VersionOneIsUpgradedAfterADatedCopy)
{
    const QString path = TestFolders::tempDb(QStringLiteral("Zarvo.sdb"));
    makeOldFile(path, 1);
    CBdD db(path);
    ASSERT_EQ(db.GetVersion(), 1);
    const CBdD::tUpgradeResult result = db.UpdateDb();
    EXPECT_EQ(result.outcome, Outcome::Upgraded);
    EXPECT_EQ(result.oldVersion, 1);
    const QString copy = QFileInfo(path).path() + QStringLiteral("/Zarvo_V1_20240131174502.sdb");
    EXPECT_EQ(result.copyPath, copy);
    EXPECT_EQ(result.TextId(), 621);
    EXPECT_EQ(result.DeferredNotice(), copy);
    EXPECT_EQ(CBdD::tUpgradeResult::FromDeferredNotice(copy).Text(), result.Text());
    EXPECT_EQ(db.GetVersion(), 2);

    SQLite::CmyDataBase &c = *db.Connection();
    EXPECT_EQ(column(c, "select name from pragma_table_info('Projets') where name in ('Type','Activity','Title')"),
              QStringList({"Type", "Activity", "Title"}));
    EXPECT_EQ(column(c, "select name from sqlite_master where name in ('Forecast','ProjectChilds','History') "
                        "order by name"),
              QStringList({"Forecast", "ProjectChilds"}));
    EXPECT_EQ(rows(c, "select Id, Nom, Type, Activity, Title from Projets"), QStringList{"32|Ancien|0|-1|"});

    // The copy is a database of the old version with the old rows.
    SQLite::CmyDataBase old;
    ASSERT_EQ(old.OpenReadOnly(copy), 0);
    EXPECT_EQ(column(old, "select Value from Infos where Name='VersionDB'"), QStringList{"1"});
    EXPECT_EQ(column(old, "select name from sqlite_master where name='History'"), QStringList{"History"});
    EXPECT_EQ(column(old, "select count(*) from Taches"), QStringList{"1"});
}

TEST_F(SchemaTest, AWorkingCopyIsUpgradedWithoutASafetyCopy)
{
    // The synchronisation's copy of a device database: what it was made
    // from is still there, so nothing is left beside it.
    const QString path = TestFolders::tempDb(QStringLiteral("DbCopy.sdb"));
    makeOldFile(path, 1);
    CBdD db(path, CBdD::OtherFile);
    const CBdD::tUpgradeResult result = db.UpdateDb();
    EXPECT_EQ(result.outcome, Outcome::Upgraded);
    EXPECT_TRUE(result.copyPath.isEmpty());
    EXPECT_EQ(db.GetVersion(), 2);
    EXPECT_EQ(filesBeside(path), QStringList{"DbCopy.sdb"});
}

TEST_F(SchemaTest, VersionZeroWithoutInfosGainsInfosAndStamps)
{
    const QString path = TestFolders::tempDb(QStringLiteral("Zarvo.sdb"));
    makeOldFile(path, 0, /*withInfos=*/false);
    CBdD db(path);
    const CBdD::tUpgradeResult result = db.UpdateDb();
    ASSERT_EQ(result.outcome, Outcome::Upgraded) << result.code;
    EXPECT_EQ(result.oldVersion, 0);
    EXPECT_TRUE(result.copyPath.endsWith(QStringLiteral("/Zarvo_V0_20240131174502.sdb")));
    SQLite::CmyDataBase &c = *db.Connection();
    EXPECT_EQ(rows(c, "select Name, Value from Infos order by rowid"),
              QStringList({"Backup|", "Modif|1706719502", "MajLan|", "VersionDB|2"}));
    // Rows never stamped get this program's origin and the upgrade time.
    EXPECT_EQ(rows(c, "select Id, Origine_Modif, Date_Modif, Title, Notes from Taches"),
              QStringList{"101|1|1706719502||"});
    EXPECT_EQ(rows(c, "select Id, Origine_Modif, Date_Modif from Projets"), QStringList{"32|1|7"});
    EXPECT_EQ(column(c, "select name from pragma_table_info('Favoris') where name='Title'"), QStringList{"Title"});
    EXPECT_EQ(column(c, "select count(*) from sqlite_master where name='History'"), QStringList{"0"});
}

TEST_F(SchemaTest, VersionZeroWithInfosKeepsItsRowsAndGainsBackup)
{
    const QString path = TestFolders::tempDb(QStringLiteral("Zarvo.sdb"));
    makeOldFile(path, 0);
    CBdD db(path);
    ASSERT_EQ(db.UpdateDb().outcome, Outcome::Upgraded);
    EXPECT_EQ(rows(*db.Connection(), "select Name, Value from Infos order by rowid"),
              QStringList({"Modif|5", "Backup|", "VersionDB|2"}));
}

TEST_F(SchemaTest, AFailingUpgradeChangesNothingAndKeepsTheCopy)
{
    const QString path = TestFolders::tempDb(QStringLiteral("Zarvo.sdb"));
    makeOldFile(path, 0, true, /*withHistory=*/false);
    CBdD db(path);
    const CBdD::tUpgradeResult result = db.UpdateDb();
    EXPECT_EQ(result.outcome, Outcome::Failed);
    EXPECT_EQ(result.code, SQLITE_ERROR);
    EXPECT_EQ(result.TextId(), 618);
    EXPECT_TRUE(result.Text().endsWith(QStringLiteral("Erreur n° : 1")));
    EXPECT_EQ(result.DeferredNotice(), QStringLiteral("Error : 1"));
    EXPECT_EQ(CBdD::tUpgradeResult::FromDeferredNotice(result.DeferredNotice()).Text(), result.Text());
    EXPECT_TRUE(QFileInfo::exists(result.copyPath));
    SQLite::CmyDataBase &c = *db.Connection();
    EXPECT_EQ(column(c, "select count(*) from pragma_table_info('Taches') where name='Title'"), QStringList{"0"});
    EXPECT_EQ(column(c, "select count(*) from sqlite_master where name='Forecast'"), QStringList{"0"});
    EXPECT_EQ(rows(c, "select Name, Value from Infos"), QStringList{"Modif|5"});
    EXPECT_EQ(db.GetVersion(), 0);
}

TEST_F(SchemaTest, CopiesInTheSameSecondAreNumberedAndRunOutSafely)
{
    const QString path = TestFolders::tempDb(QStringLiteral("Zarvo.sdb"));
    const QString folder = QFileInfo(path).path();
    makeOldFile(path, 1);
    // Someone already upgraded a file in this very second.
    QFile(folder + "/Zarvo_V1_20240131174502.sdb").open(QIODevice::WriteOnly);
    {
        CBdD db(path);
        const CBdD::tUpgradeResult result = db.UpdateDb();
        EXPECT_EQ(result.outcome, Outcome::Upgraded);
        EXPECT_EQ(result.copyPath, folder + "/Zarvo_V1_20240131174502(2).sdb");
    }

    // Every name taken: the upgrade is refused rather than run without copy.
    const QString second = TestFolders::tempDb(QStringLiteral("Autre.db"));
    makeOldFile(second, 1);
    QFile(folder + "/Autre_V1_20240131174502.db").open(QIODevice::WriteOnly);
    for (int n = 2; n <= 9; ++n)
        QFile(folder + QStringLiteral("/Autre_V1_20240131174502(%1).db").arg(n)).open(QIODevice::WriteOnly);
    CBdD db(second);
    const CBdD::tUpgradeResult result = db.UpdateDb();
    EXPECT_EQ(result.outcome, Outcome::NoCopy);
    EXPECT_EQ(result.TextId(), 618);
    EXPECT_TRUE(result.copyPath.isEmpty());
    EXPECT_EQ(db.GetVersion(), 1);
    EXPECT_EQ(QFileInfo(folder + "/Autre_V1_20240131174502(9).db").size(), 0);
}

TEST_F(SchemaTest, VersionTwoWithoutVisibleIsCompletedInPlace)
{
    const QString path = TestFolders::tempDb(QStringLiteral("Zarvo.sdb"));
    {
        CBdD made(path);
        made.Execute(u"alter table Forecast drop column Visible");
    }
    CBdD db(path);
    const CBdD::tUpgradeResult result = db.UpdateDb();
    EXPECT_EQ(result.outcome, Outcome::Completed);
    EXPECT_EQ(result.TextId(), 0);
    EXPECT_EQ(column(*db.Connection(), "select dflt_value from pragma_table_info('Forecast') where name='Visible'"),
              QStringList{"1"});
    EXPECT_EQ(filesBeside(path), QStringList{"Zarvo.sdb"});
}

TEST_F(SchemaTest, FutureVersionAndLockedFileAreLeftUntouched)
{
    // A file of a later version, without an index and a column that this
    // version would add.
    const QString path = TestFolders::tempDb(QStringLiteral("Zarvo.sdb"));
    {
        CBdD made(path);
        made.Execute(u"update Infos set Value='3' where Name='VersionDB'");
        made.Execute(u"alter table Forecast drop column Visible");
        made.Execute(u"drop index TachesFin");
    }
    const QByteArray bytes = TestFolders::readFile(path);
    {
        // It is not opened, by path nor as the current user's file, and a
        // write finds no file to write to.
        CBdD db(path);
        EXPECT_FALSE(db.IsOpen());
        EXPECT_EQ(db.NewerVersion(), 3);
        EXPECT_EQ(db.OpenError(), SQLITE_CANTOPEN);
        const CBdD::tUpgradeResult result = db.UpdateDb();
        EXPECT_EQ(result.outcome, Outcome::TooNew);
        EXPECT_EQ(result.oldVersion, 3);
        EXPECT_EQ(result.TextId(), CBdD::TextTooNew);
        const QString text = QStringLiteral(
            "Cette base de données a été enregistrée par une version plus récente de Zarvo (version 3 de la base) : "
            "elle n'a pas été ouverte et n'a pas été modifiée.\nVeuillez installer la dernière version de Zarvo "
            "pour l'utiliser.");
        EXPECT_EQ(result.Text(), text);
        // Kept for later while start-up defers its messages, it reads back
        // to the same message.
        EXPECT_EQ(result.DeferredNotice(), QStringLiteral("Version : 3"));
        EXPECT_EQ(CBdD::tUpgradeResult::FromDeferredNotice(result.DeferredNotice()).Text(), text);

        CAppData::SetCurrentDatabasePath(path);
        CBdD current;
        EXPECT_FALSE(current.IsOpen());
        EXPECT_EQ(current.UpdateDb().outcome, Outcome::TooNew);
        tElement activity;
        activity.Nom = QStringLiteral("Refusée");
        EXPECT_FALSE(current.SaveActivity(activity));
    }
    EXPECT_EQ(TestFolders::readFile(path), bytes);
    EXPECT_EQ(filesBeside(path), QStringList{"Zarvo.sdb"});

    // Another connection holds the write lock past every wait and retry.
    const QString old = TestFolders::tempDb(QStringLiteral("Vieux.sdb"));
    makeOldFile(old, 1);
    const ShortBusyWait noWait;
    SQLite::CmyDataBase holder;
    ASSERT_EQ(holder.Open(old), 0);
    ASSERT_TRUE(holder.BeginTransaction());
    CBdD db(old);
    const CBdD::tUpgradeResult result = db.UpdateDb();
    EXPECT_EQ(result.outcome, Outcome::Failed);
    EXPECT_EQ(result.code, SQLITE_BUSY);
    EXPECT_TRUE(result.copyPath.isEmpty());
    holder.RollbackTransaction();
    EXPECT_EQ(db.GetVersion(), 1);
    EXPECT_TRUE(filesBeside(old).filter(QStringLiteral("Vieux_V")).isEmpty());
}

// The current user's file removed while the program runs is not made again
// empty in its place: the writes fail. A current file never opened before
// (a new user's) is still made.
TEST_F(SchemaTest, ACurrentFileThatWentAwayIsNotMadeAgain)
{
    const QString path = TestFolders::tempDb(QStringLiteral("Parti.sdb"));
    CAppData::SetCurrentDatabasePath(path);
    {
        CBdD db;
        ASSERT_TRUE(db.IsOpen()) << "made at first";
    }
    CBdD::CloseSharedConnection();
    ASSERT_TRUE(QFile::remove(path));
    {
        CBdD db;
        EXPECT_FALSE(db.IsOpen());
        EXPECT_EQ(db.OpenError(), SQLITE_CANTOPEN);
        tElement activity;
        activity.Nom = QStringLiteral("Perdue");
        EXPECT_FALSE(db.SaveActivity(activity));
    }
    EXPECT_FALSE(QFileInfo::exists(path));
    // Put back (a restore, the user's own copy): opened again.
    {
        CBdD made(path);
        ASSERT_TRUE(made.IsOpen());
    }
    {
        CBdD db;
        EXPECT_TRUE(db.IsOpen());
    }
    CBdD::CloseSharedConnection();
    CAppData::SetCurrentDatabasePath(QString());
}
