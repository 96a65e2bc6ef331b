#include "CAppData.h"
#include "CBdD.h"
#include "TestFolders.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

class SyncServicesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        path = TestFolders::tempDb(QStringLiteral("Zarvo.sdb"));
        CBdD created(path);
        ASSERT_TRUE(created.IsOpen());
    }
    void TearDown() override { CAppData::Clear(); }

    void exec(const QString &sql)
    {
        CBdD db(path);
        ASSERT_EQ(db.Execute(sql), 0) << sql.toStdString();
    }

    QString path;
};

} // namespace

TEST_F(SyncServicesTest, SyncStampsAndTheirThreeResults)
{
    const struct
    {
        const char *what;
        QStringList setup;
        int result;
        QString lastSync;
        QString lastChange;
    } cases[] = {
        {"a new database", {}, CBdD::StampsRead, QString(), QString()},
        {"all stamps", {"update Infos set Value='5000' where Name='Backup'", "update Infos set Value='4000' where Name='MajLan'",
                        "update Infos set Value='6000' where Name='Modif'"},
         CBdD::StampsRead, "5000", "6000"},
        {"a later network update", {"update Infos set Value='5000' where Name='Backup'", "update Infos set Value='10000000000' where Name='MajLan'"},
         CBdD::StampsRead, "10000000000", QString()},
        {"only a network update", {"update Infos set Value='4000' where Name='MajLan'"}, CBdD::StampsRead, "4000", QString()},
        {"no Backup row", {"delete from Infos where Name='Backup'", "update Infos set Value='4000' where Name='MajLan'",
                           "update Infos set Value='6000' where Name='Modif'"},
         CBdD::NoBackupRow, "4000", "6000"},
        {"no MajLan row", {"update Infos set Value='5000' where Name='Backup'", "delete from Infos where Name='MajLan'",
                           "update Infos set Value='6000' where Name='Modif'"},
         CBdD::StampsFailed, "5000", "6000"},
        {"no Modif row", {"update Infos set Value='5000' where Name='Backup'", "delete from Infos where Name='Modif'"},
         CBdD::StampsFailed, "5000", QString()},
        {"no Infos table", {"drop table Infos"}, CBdD::StampsFailed, QString(), QString()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(path);
        { CBdD created(path); }
        for (const QString &sql : c.setup)
            exec(sql);
        CBdD db(path, CBdD::ReadOnly);
        ASSERT_TRUE(db.IsOpen());
        QString sync = QStringLiteral("x"), change = QStringLiteral("x");
        EXPECT_EQ(db.GetSyncStamps(sync, change), c.result);
        EXPECT_EQ(sync, c.lastSync);
        EXPECT_EQ(change, c.lastChange);
    }
    CBdD none{QString()};
    QString sync = QStringLiteral("x"), change = QStringLiteral("x");
    EXPECT_EQ(none.GetSyncStamps(sync, change), CBdD::StampsFailed);
    EXPECT_TRUE(sync.isEmpty() && change.isEmpty());
}

TEST_F(SyncServicesTest, UnsyncedChangesInAnySynchronisedTable)
{
    {
        CBdD db(path, CBdD::ReadOnly);
        EXPECT_FALSE(db.HasUnsyncedChanges());
    }
    for (const char *table : {"Projets", "Activites", "TauxHoraire", "Favoris", "Taches", "Forecast", "ProjectChilds"}) {
        SCOPED_TRACE(table);
        const QString name = QString::fromLatin1(table);
        exec(QStringLiteral("insert into %1 (Origine_Modif) values (2)").arg(name));
        {
            CBdD db(path, CBdD::ReadOnly);
            EXPECT_FALSE(db.HasUnsyncedChanges());
        }
        exec(QStringLiteral("update %1 set Origine_Modif=1").arg(name));
        {
            CBdD db(path, CBdD::ReadOnly);
            EXPECT_TRUE(db.HasUnsyncedChanges());
        }
        exec(QStringLiteral("delete from %1").arg(name));
    }
    // A database that cannot be read counts as changed; no database at all
    // does not.
    exec(QStringLiteral("drop table Forecast"));
    CBdD broken(path, CBdD::ReadOnly);
    EXPECT_TRUE(broken.HasUnsyncedChanges());
    CBdD none{QString()};
    EXPECT_FALSE(none.HasUnsyncedChanges());
}

TEST_F(SyncServicesTest, ReadOnlyLookWritesNothing)
{
    const QString missing = TestFolders::file(QStringLiteral("missing/Zarvo.sdb"));
    {
        CBdD db(missing, CBdD::ReadOnly);
        EXPECT_FALSE(db.IsOpen());
        EXPECT_EQ(db.AllocateRowId(CBdD::TableProjets, false), -1);
    }
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(missing).path()));

    exec(QStringLiteral("insert into Taches (Id,Deleted) values (1,0)"));
    const qint64 modified = QFileInfo(path).lastModified().toMSecsSinceEpoch();
    CBdD db(path, CBdD::ReadOnly);
    ASSERT_TRUE(db.IsOpen());
    EXPECT_EQ(db.AllocateRowId(CBdD::TableTaches, false), 1);
    EXPECT_NE(db.Execute(u"insert into Taches (Id) values (2)"), 0);
    EXPECT_EQ(QFileInfo(path).lastModified().toMSecsSinceEpoch(), modified);
}

TEST_F(SyncServicesTest, BackupForTheSynchronisationGoesThroughTheApplication)
{
    EXPECT_FALSE(CAppData::BackupUserForSync(3));
    int asked = 0;
    CAppData::SetUserBackupHook([&](int id) {
        asked = id;
        return true;
    });
    EXPECT_TRUE(CAppData::BackupUserForSync(3));
    EXPECT_EQ(asked, 3);
}
