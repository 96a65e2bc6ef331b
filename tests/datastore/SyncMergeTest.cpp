#include "SyncPair.h"

#include <QFile>

namespace {

class SyncMergeTest : public SyncPair
{
};

const char *const Synchronised[] = {"Projets", "Activites", "TauxHoraire", "Taches", "Favoris", "Forecast"};

} // namespace

TEST_F(SyncMergeTest, PurgeEndsTheSynchronisationInOneTransaction)
{
    Platform::Clock::setFixedNow(1700000000);
    const int kinds[] = {CBdD::TableProjets, CBdD::TableActivites, CBdD::TableTauxHoraire, CBdD::TableTaches,
                         CBdD::TableFavoris, CBdD::TableForecast};
    for (int kind : kinds) {
        exec(device, insertRow(kind, 40, "live", 10, false, 1));
        exec(device, insertRow(kind, 41, "gone", 10, true, 1));
        exec(device, insertRow(kind, 42, "synced", 10, false, 0));
    }
    exec(device, QStringLiteral("insert into ProjectChilds (IdProject, Childs, Origine_Modif) values (-1, ';40;', 1)"));
    exec(device, QStringLiteral("delete from Infos where Name='Backup'"));
    {
        CBdD db(device);
        EXPECT_TRUE(db.PurgeSyncedChanges());
    }
    for (const char *table : Synchronised) {
        SCOPED_TRACE(table);
        EXPECT_EQ(cell(device, QStringLiteral("select count(*) from %1 where Deleted<>0").arg(table)), "0");
        EXPECT_EQ(cell(device, QStringLiteral("select count(*) from %1 where Origine_Modif<>0").arg(table)), "0");
        EXPECT_EQ(cell(device, QStringLiteral("select count(*) from %1").arg(table)), "2");
    }
    EXPECT_EQ(cell(device, "select Origine_Modif from ProjectChilds"), "0");
    // A missing stamp row is made.
    EXPECT_EQ(cell(device, "select Value from Infos where Name='Backup'"), "1700000000");

    // A statement that fails leaves the file as it was, and says so.
    exec(device, insertRow(CBdD::TableTaches, 50, "gone", 10, true, 1));
    exec(device, QStringLiteral("alter table Forecast rename column Deleted to Efface"));
    const QByteArray before = hash(device);
    {
        CBdD db(device);
        EXPECT_FALSE(db.PurgeSyncedChanges());
        EXPECT_FALSE(db.PurgeTable(6));
    }
    EXPECT_EQ(hash(device), before);
}

TEST_F(SyncMergeTest, ClearTaskOriginsMarksOnlyChangedEntries)
{
    exec(device, insertRow(CBdD::TableTaches, 40, "a", 10, false, 1));
    exec(device, insertRow(CBdD::TableTaches, 41, "b", 10, false, 2));
    CBdD db(device);
    EXPECT_TRUE(db.ClearTaskOrigins());
    EXPECT_EQ(cell(device, "select group_concat(Origine_Modif) from (select Origine_Modif from Taches order by Id)"),
              "0,2");
    CBdD none{QString()};
    EXPECT_FALSE(none.ClearTaskOrigins());
}
