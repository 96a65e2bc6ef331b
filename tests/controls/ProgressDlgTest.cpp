#include "CProgressDlg.h"
#include "ProgressDlgShared.h"
#include "QStringPrinter.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <future>

namespace {

using namespace std::chrono_literals;

const QString cancelText = QStringLiteral("Annulation en cours…");

TEST(ProgressDlgTest, ResultFollowsWhatTheJobReturns)
{
    struct Case
    {
        quint8 returned;
        int result;
    };
    for (const Case &c : {Case{1, UPD_SUCCESS}, Case{0, UPD_FAILURE}, Case{2, UPD_FAILURE}, Case{255, UPD_FAILURE}}) {
        SCOPED_TRACE(int(c.returned));
        int parameter = 0;
        void *seen = nullptr;
        CProgressDlg dlg(nullptr, [&](ProgressDlgShared &shared) {
            seen = shared.JobParameter();
            return c.returned;
        }, &parameter, QStringLiteral("Création du rapport"), true);
        EXPECT_EQ(dlg.DoModal(), c.result);
        EXPECT_EQ(seen, &parameter);
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Création du rapport"));
        EXPECT_FALSE(dlg.Shared().IsRunning());
    }
}

TEST(ProgressDlgTest, AWorkerThatCannotStartEndsTheDialogWithNoThread)
{
    CProgressDlg::SetThreadStartFault([] { return true; });
    bool ran = false;
    CProgressDlg dlg(nullptr, [&](ProgressDlgShared &) -> quint8 {
        ran = true;
        return 1;
    }, nullptr, QStringLiteral("t"), true);
    // Only a guard against a dialog that never ends, which would hang the
    // suite: it ends the dialog in its place and says so.
    bool hung = false;
    QTimer::singleShot(10000, &dlg, [&] {
        hung = true;
        dlg.show(); // a hidden dialog's end would not reach its loop
        dlg.done(0);
    });
    EXPECT_EQ(dlg.DoModal(), UPD_NO_THREAD);
    CProgressDlg::SetThreadStartFault({});
    EXPECT_FALSE(hung);
    EXPECT_FALSE(ran);
    EXPECT_FALSE(dlg.isVisible());
    // The same dialog runs its job once threads start again.
    EXPECT_EQ(dlg.DoModal(), UPD_SUCCESS);
    EXPECT_TRUE(ran);
}

// A job that reports a step, then waits for Cancel and for the test to
// let it go: the cancel text shows while it still runs, later step texts
// are dropped, and the result is "cancelled" although the job succeeded.
TEST(ProgressDlgTest, CancelShowsItsTextAtOnceAndEndsCancelled)
{
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<bool> lateTextDropped{false};
    CProgressDlg dlg(nullptr, [&](ProgressDlgShared &shared) -> quint8 {
        shared.SendText(QStringLiteral("Lecture des tâches"));
        while (!shared.WaitForCancel(10s)) {
        }
        lateTextDropped = !shared.SendText(QStringLiteral("trop tard"));
        released.wait();
        return 1;
    }, nullptr, QStringLiteral("t"), true);
    QSignalSpy finished(&dlg, &QDialog::finished);
    dlg.show();
    EXPECT_TRUE(dlg.CancelEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(dlg.StepText(), QStringLiteral("Lecture des tâches"), 10000);

    QTest::mouseClick(dlg.findChild<QPushButton *>(QStringLiteral("2")), Qt::LeftButton);
    EXPECT_EQ(dlg.StepText(), cancelText);
    EXPECT_FALSE(dlg.CancelEnabled());
    EXPECT_TRUE(dlg.Shared().IsCancelled());
    // Still running: nothing ends the dialog before the job returns.
    QTRY_VERIFY_WITH_TIMEOUT(lateTextDropped.load(), 10000);
    EXPECT_TRUE(dlg.Shared().IsRunning());
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.StepText(), cancelText);

    release.set_value();
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(dlg.Result(), UPD_CANCELLED);
    EXPECT_EQ(finished.at(0).at(0).toInt(), UPD_CANCELLED);
}

TEST(ProgressDlgTest, WithoutCancelNothingStopsTheJob)
{
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    CProgressDlg dlg(nullptr, [&](ProgressDlgShared &) -> quint8 {
        released.wait();
        return 1;
    }, nullptr, QStringLiteral("Recherche d'une mise à jour."), false);
    QSignalSpy finished(&dlg, &QDialog::finished);
    dlg.show();
    EXPECT_FALSE(dlg.CancelEnabled());
    QTest::mouseClick(dlg.findChild<QPushButton *>(QStringLiteral("2")), Qt::LeftButton);
    QTest::keyClick(&dlg, Qt::Key_Escape);
    dlg.close();
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(dlg.Shared().IsCancelled());
    EXPECT_NE(dlg.StepText(), cancelText);
    release.set_value();
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(dlg.Result(), UPD_SUCCESS);
}

TEST(ProgressDlgTest, ClosingTheWindowCancels)
{
    CProgressDlg dlg(nullptr, [](ProgressDlgShared &shared) -> quint8 {
        while (!shared.WaitForCancel(10s)) {
        }
        return 0;
    }, nullptr, QStringLiteral("t"), true);
    QSignalSpy finished(&dlg, &QDialog::finished);
    dlg.show();
    QTRY_VERIFY_WITH_TIMEOUT(dlg.Shared().IsRunning(), 10000);
    dlg.close();
    EXPECT_EQ(dlg.StepText(), cancelText);
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(dlg.Result(), UPD_CANCELLED);
}

// The dialog destroyed while its job waits: the destructor asks the job
// to stop and waits for the thread, which never outlives the dialog.
TEST(ProgressDlgTest, DestroyedWhileTheJobRunsWaitsForIt)
{
    std::atomic<bool> jobReturned{false};
    auto *dlg = new CProgressDlg(nullptr, [&](ProgressDlgShared &shared) -> quint8 {
        while (!shared.WaitForCancel(10s)) {
        }
        // Still sends after the window went: dropped, nothing touched.
        shared.SendText(QStringLiteral("fin"));
        jobReturned = true;
        return 1;
    }, nullptr, QStringLiteral("t"), true);
    dlg->show();
    QTRY_VERIFY_WITH_TIMEOUT(dlg->Shared().IsRunning(), 10000);
    delete dlg;
    EXPECT_TRUE(jobReturned.load());
    // Nothing the thread posted reaches the dead dialog.
    QCoreApplication::processEvents();
}

TEST(ProgressDlgSharedTest, StepTextsOnlyWhileTheWindowExistsAndNotCancelled)
{
    ProgressDlgShared shared([](ProgressDlgShared &) -> quint8 { return 1; }, nullptr);
    QStringList shown;
    EXPECT_FALSE(shared.SendText(QStringLiteral("a")));
    shared.AttachWindow([&](const QString &t) { shown << t; });
    EXPECT_TRUE(shared.HasWindow());
    EXPECT_TRUE(shared.SendText(QStringLiteral("b")));
    shared.SetCancelled(true);
    EXPECT_FALSE(shared.SendText(QStringLiteral("c")));
    EXPECT_TRUE(shared.WaitForCancel(0ms));
    // A job is not even called once cancelled.
    EXPECT_EQ(shared.RunJob(), 2);
    shared.SetCancelled(false);
    EXPECT_EQ(shared.RunJob(), 1);
    shared.DetachWindow();
    EXPECT_FALSE(shared.SendText(QStringLiteral("d")));
    EXPECT_EQ(shown, QStringList{QStringLiteral("b")});
}

} // namespace
