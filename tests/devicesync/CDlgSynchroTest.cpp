#include "CDlgSynchro.h"

#include "CAppData.h"
#include "CBdD.h"
#include "CInfosProgression.h"
#include "Texts.h"

#include <QFontMetrics>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

// A run without files fails at once: enough for what the window shows.
TEST(CDlgSynchroTest, TheWindowGrowsToShowEveryStepWhole)
{
    CDlgSynchro run{SyncFileStages::Setup()};
    CInfosProgression *list = run.StepList();
    const QString longest = QStringLiteral("Copie de la base de données vers l'ordinateur local, une étape au long nom");
    for (int step = 0; step < 14; ++step)
        list->AppendStep(step == 7 ? longest : QStringLiteral("Étape %1").arg(step), CInfosProgression::Done);
    run.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&run));
    run.WaitForEnd();
    QCoreApplication::processEvents();
    const int steps = int(list->Steps().size());
    EXPECT_GT(steps, 14);
    EXPECT_GE(list->height(), steps * list->RowHeight());
    // The icon after the longest text stays inside.
    EXPECT_GE(list->width(), 5 + list->fontMetrics().horizontalAdvance(longest) + 10 + 16);
    EXPECT_EQ(list->Steps().back().text, Platform::Texts::get(380));
    CBdD::CloseSharedConnection();
    CAppData::Clear();
}

// Until the run has ended, Escape and the window's close are "Annuler": the
// run is asked to stop and the window stays. Once it has ended they are
// "Fermer".
TEST(CDlgSynchroTest, EscapeAndClosingAreAnnulerUntilTheRunEndedThenFermer)
{
    for (bool byEscape : {true, false}) {
        SCOPED_TRACE(byEscape ? "Escape" : "the window's close");
        CDlgSynchro run{SyncFileStages::Setup()};
        QSignalSpy finished(&run, &QDialog::finished);
        ASSERT_FALSE(run.HasEnded());
        ASSERT_TRUE(run.CancelButton()->isEnabled());
        if (byEscape)
            QTest::keyClick(&run, Qt::Key_Escape);
        else
            EXPECT_FALSE(run.close());
        EXPECT_FALSE(run.CancelButton()->isEnabled()) << "asked to stop";
        EXPECT_EQ(finished.count(), 0);
        run.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&run));
        run.WaitForEnd();
        EXPECT_EQ(run.Outcome(), SyncRun::Outcome::Cancelled);
        EXPECT_TRUE(run.CancelButton()->isHidden());
        EXPECT_FALSE(run.CloseButton()->isHidden());
        if (byEscape)
            QTest::keyClick(run.CloseButton(), Qt::Key_Escape);
        else
            EXPECT_TRUE(run.close());
        EXPECT_FALSE(run.isVisible());
        EXPECT_EQ(finished.count(), 1);
        EXPECT_EQ(run.result(), int(QDialog::Accepted)) << "as Fermer";
        CBdD::CloseSharedConnection();
        CAppData::Clear();
    }
}
