#include "CProgressDlg.h"
#include "TestDatabase.h"

#include <QSignalSpy>
#include <QTest>

#include <atomic>
#include <future>

namespace {

using WorkerConnectionTest = TestDatabase;

// A job on the progress dialog's worker reads the current user's database
// on a connection of its own, while the interface thread keeps the shared
// one open, and reports its step through the dialog.
TEST_F(WorkerConnectionTest, WorkerOpensItsOwnConnectionAndReportsSteps)
{
    saveProject(QStringLiteral("Site web"));
    CBdD outer; // the interface thread's shared connection, open
    ASSERT_TRUE(outer.IsOpen());
    ASSERT_EQ(outer.Connection(), &CBdD::SharedConnection());

    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<bool> ownConnection{false};
    std::atomic<int> projects{-1};
    CProgressDlg dlg(nullptr, [&](ProgressDlgShared &shared) -> quint8 {
        CBdD db;
        ownConnection = db.IsOpen() && db.Connection() != &CBdD::SharedConnection();
        SQLite::MyTablePtr t = db.Query(u"select count(*) from Projets where Nom='Site web'");
        projects = t.hasRows() ? t->GetCell(0, 0).toInt() : -1;
        CBdD::SendProgressText(&shared, QStringLiteral("Lecture des projets"));
        CBdD::SendProgressText(nullptr, QStringLiteral("nulle part"));
        released.wait();
        return 1;
    }, nullptr, QStringLiteral("Création du rapport"), true);
    QSignalSpy finished(&dlg, &QDialog::finished);
    dlg.show();
    QTRY_COMPARE_WITH_TIMEOUT(dlg.StepText(), QStringLiteral("Lecture des projets"), 10000);
    release.set_value();
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(dlg.Result(), UPD_SUCCESS);
    EXPECT_TRUE(ownConnection.load());
    EXPECT_EQ(projects.load(), 1);
    // The worker's connection closed with it; the shared one is untouched.
    EXPECT_TRUE(CBdD::SharedConnection().IsOpen());
    EXPECT_EQ(CBdD::SharedConnection().GetPath(), path);

    // After cancelling, the job's steps are dropped.
    CProgressDlg cancelled(nullptr, [&](ProgressDlgShared &shared) -> quint8 {
        while (!shared.WaitForCancel(std::chrono::seconds(10))) {
        }
        CBdD::SendProgressText(&shared, QStringLiteral("ignoré"));
        return 1;
    }, nullptr, QStringLiteral("t"), true);
    QSignalSpy cancelledEnd(&cancelled, &QDialog::finished);
    cancelled.show();
    cancelled.Cancel();
    ASSERT_TRUE(cancelledEnd.wait(10000));
    EXPECT_EQ(cancelled.Result(), UPD_CANCELLED);
    EXPECT_EQ(cancelled.StepText(), QStringLiteral("Annulation en cours…"));
}

} // namespace
