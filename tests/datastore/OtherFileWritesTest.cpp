// Writes into a database file that is not the current user's (a working
// copy of the synchronisation) touch that file alone: the application's
// undo history, its running entry, its windows, the other program and the
// backups know nothing of them.
#include "CDataChangedNotifier.h"
#include "MessageBus.h"
#include "TestDatabase.h"
#include "tCurrentEntry.h"

#include <QCoreApplication>
#include <QDir>
#include <QSignalSpy>

namespace {

class OtherFileWrites : public TestDatabase
{
protected:
    void SetUp() override
    {
        Platform::Clock::setFixedNow(1'700'000'000);
        TestDatabase::SetUp();
        CAppData::SetCurrentEntry(&current);
        CAppData::SetAutoBackupHook([this] { ++backups; });
        CAppData::SetTaskPaneRefreshHook([this] { ++paneRefreshes; });
        QObject::connect(&CAppData::DataChangedNotifier(), &CDataChangedNotifier::dataChanged,
                         [this](qint64, qint64) { ++notices; });
        copy = TestFolders::file(QStringLiteral("work/DbCopy.sdb"));
        QDir().mkpath(QFileInfo(copy).path());
        CBdD created(copy);
        ASSERT_TRUE(created.IsOpen());
    }

    // Every kind of write the application makes, on `db`.
    static void writeEverything(CBdD &db)
    {
        tElement project;
        project.Nom = QStringLiteral("Chantier");
        ASSERT_TRUE(db.SaveProject(&project, nullptr));
        int favourite = -1;
        ASSERT_EQ(db.AddFavorite(-1, project.Id, -1, -1, QStringLiteral("Fav"), &favourite), CBdD::FavoriteDone);
        ASSERT_TRUE(db.TouchFavorite(favourite));
        tTacheFull done;
        done.Debut = 1'699'990'000;
        done.Fin = 1'699'993'600;
        done.IdProjet = project.Id;
        ASSERT_TRUE(db.SaveTimeEntry(done));
        // An overlapping entry that pushes the first one aside, as the
        // synchronisation resolves overlaps in its copy.
        tTacheFull overlapping = done;
        overlapping.Debut = 1'699'992'000;
        overlapping.Fin = 1'699'995'000;
        ASSERT_TRUE(db.InsertTimeEntry(overlapping, CBdD::OverwriteNeighbours));
        tTacheFull running;
        running.Debut = 1'699'999'000;
        running.IdProjet = project.Id;
        ASSERT_TRUE(db.SaveTimeEntry(running, favourite));
        SQLite::MyTablePtr last = db.Query(u"select Id from Taches where Debut=1699992000");
        ASSERT_TRUE(last.hasRows());
        ASSERT_TRUE(db.DeleteTimeEntry(last->GetIntAt(0, 0)));
    }

    tCurrentEntry current;
    QString copy;
    int backups = 0;
    int paneRefreshes = 0;
    int notices = 0;
};

} // namespace

TEST_F(OtherFileWrites, LeaveUndoRunningEntryWindowsBusAndBackupsAlone)
{
    {
        CBdD db;
        ASSERT_TRUE(db.IsOpen());
    }
    Platform::MessageBus tray;
    ASSERT_TRUE(tray.listen());
    QSignalSpy broadcasts(&tray, &Platform::MessageBus::received);

    {
        CBdD db(copy, CBdD::OtherFile);
        ASSERT_TRUE(db.IsOpen());
        EXPECT_TRUE(db.IsOtherFile());
        writeEverything(db);
        EXPECT_TRUE(db.RefreshCurrentEntry());
    }
    // A marker posted after the writes: once it has come, whatever they
    // had posted would have come before it.
    CBdD::PostChange(4);
    ASSERT_TRUE(broadcasts.wait(5000));
    ASSERT_EQ(broadcasts.count(), 1);
    EXPECT_EQ(broadcasts.takeFirst().at(0).value<Platform::MessageBus::Message>().wParam, 4u);
    EXPECT_TRUE(history.Steps().empty());
    EXPECT_FALSE(history.CanUndo());
    EXPECT_EQ(current.Entry.Id, -1);
    EXPECT_EQ(notices, 0);
    EXPECT_EQ(paneRefreshes, 0);
    EXPECT_EQ(backups, 0);
    // The writes landed in the copy, stamped as this desktop's changes.
    CBdD look(copy, CBdD::ReadOnly);
    SQLite::MyTablePtr t = look.Query(
        u"select (select count(*) from Projets where Nom='Chantier' and Origine_Modif=1), "
        u"(select count(*) from Taches where Deleted=0), (select count(*) from Taches where Fin=0)");
    ASSERT_TRUE(t.hasRows());
    EXPECT_EQ(t->GetCell(0, 0), QStringLiteral("1"));
    EXPECT_EQ(t->GetCell(0, 1), QStringLiteral("2"));
    EXPECT_EQ(t->GetCell(0, 2), QStringLiteral("1"));
    EXPECT_EQ(cell(QStringLiteral("select count(*) from Taches")), QStringLiteral("0"));

    // The same writes on the current database do all of it.
    {
        CBdD db;
        writeEverything(db);
    }
    EXPECT_TRUE(broadcasts.count() > 0 || broadcasts.wait(5000));
    EXPECT_TRUE(history.CanUndo());
    EXPECT_NE(current.Entry.Id, -1);
    EXPECT_GT(notices, 0);
    EXPECT_GT(paneRefreshes, 0);
    EXPECT_GT(backups, 0);
}

TEST_F(OtherFileWrites, AMissingFileIsNeverCreated)
{
    const QString missing = TestFolders::file(QStringLiteral("work/Ppc.sdb"));
    CBdD db(missing, CBdD::OtherFile);
    EXPECT_FALSE(db.IsOpen());
    EXPECT_FALSE(QFileInfo::exists(missing));
}
