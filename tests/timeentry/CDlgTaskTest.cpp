// The time entry dialog on a database of its own, driven as a user does.
#include "CDlgInsertion.h"
#include "CDlgTask.h"
#include "CTranslationStore.h"
#include "CViewAnimInsert.h"
#include "DialogAnswers.h"
#include "RichMessageBoxDialog.h"
#include "EntryDialogFixture.h"
#include "Texts.h"
#include "TranslateWidgets.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <gtest/gtest-spi.h>

#include <functional>

namespace {

class CDlgTaskTest : public EntryDialogFixture
{
protected:
    const QDate Wednesday = Monday.addDays(2);
    qint64 now() const { return at(Today, 10, 0); }
};

} // namespace

TEST_F(CDlgTaskTest, ANewEntryStartsNowRunningAndNeedsAProjectOrAnActivity)
{
    const int activity = saveActivity(QStringLiteral("Réunion"), 0x80FF80);
    CDlgTask dialog(CDlgTask::EditMode, nullptr);
    EXPECT_EQ(dialog.Entry().Id, -1);
    EXPECT_EQ(dialog.Entry().Debut, now());
    EXPECT_EQ(dialog.Entry().Fin, 0);
    EXPECT_FALSE(dialog.HasEnd());
    // The pickers write the configured (French) forms, whatever the system's locale.
    EXPECT_EQ(control<QDateEdit>(dialog, CDlgTask::IdStartDate)->text(), Today.toString(u"dd/MM/yyyy"));
    EXPECT_EQ(control<QTimeEdit>(dialog, CDlgTask::IdStartTime)->text(), QStringLiteral("10:00:00"));
    EXPECT_EQ(control<QComboBox>(dialog, CDlgTask::IdProject)->currentText(), Platform::Texts::get(501));
    EXPECT_EQ(control<QComboBox>(dialog, CDlgTask::IdActivity)->currentText(), Platform::Texts::get(502));
    EXPECT_EQ(control<QComboBox>(dialog, CDlgTask::IdRate)->currentText(), Platform::Texts::get(185));
    // The running state: the end hidden, "En cours…" and the button giving an end.
    EXPECT_TRUE(shown(dialog, CDlgTask::IdRunningText));
    EXPECT_TRUE(shown(dialog, CDlgTask::IdGiveEnd));
    for (int id : {CDlgTask::IdEndDate, CDlgTask::IdEndTime, CDlgTask::IdMakeRunning, CDlgTask::IdEndNow,
                   CDlgTask::IdStartNow, CDlgTask::IdDelete, CDlgTask::IdQuestionText})
        EXPECT_FALSE(shown(dialog, id)) << id;
    EXPECT_TRUE(shown(dialog, CDlgTask::IdNoRecordWarning));
    EXPECT_FALSE(shown(dialog, CDlgTask::IdEndWarning));
    EXPECT_FALSE(control(dialog, CDlgTask::IdOk)->isEnabled());
    EXPECT_EQ(control(dialog, CDlgTask::IdNoRecordWarning)->toolTip(), Platform::Texts::get(370));

    // A click on the disabled OK stores nothing.
    click(dialog, CDlgTask::IdOk);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(liveEntryCount(), 0);

    // An activity alone will do.
    choose(dialog, CDlgTask::IdActivity, activity);
    EXPECT_EQ(dialog.Entry().IdActivite, activity);
    EXPECT_FALSE(shown(dialog, CDlgTask::IdNoRecordWarning));
    ASSERT_TRUE(control(dialog, CDlgTask::IdOk)->isEnabled());
    click(dialog, CDlgTask::IdOk);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(liveEntries(), span(now(), 0));
}

TEST_F(CDlgTaskTest, OkStoresTitlesAndNotesAsTheyWereTyped)
{
    const int project = saveProject(QStringLiteral("Chantier"), 0x4080FF);
    const int id = saveEntry(at(Wednesday, 9, 0), at(Wednesday, 10, 0), project, -1, QStringLiteral("avant"));
    tTacheFull entry;
    ASSERT_TRUE(readEntry(id, entry));
    CDlgTask dialog(&entry);
    EXPECT_TRUE(dialog.HasEnd());
    EXPECT_TRUE(shown(dialog, CDlgTask::IdStartNow));
    EXPECT_EQ(control<QLineEdit>(dialog, CDlgTask::IdTitle)->text(), QStringLiteral("avant"));

    const QString title = QStringLiteral("L'\"appel\" 'client'\nsuite — Δελτίο 会議");
    const QString notes = QStringLiteral("ligne 1\r\nligne 2\n\t« citée » ; drop table Taches; --");
    control<QLineEdit>(dialog, CDlgTask::IdTitle)->setText(title);
    control<QPlainTextEdit>(dialog, CDlgTask::IdNotes)->setPlainText(notes);
    click(dialog, CDlgTask::IdInvoiced);
    click(dialog, CDlgTask::IdOk);
    ASSERT_EQ(dialog.result(), QDialog::Accepted);

    tTacheFull stored;
    ASSERT_TRUE(readEntry(id, stored));
    EXPECT_EQ(stored.Title, title);
    // A plain text field keeps line feeds; the carriage return goes.
    EXPECT_EQ(stored.Notes, QStringLiteral("ligne 1\nligne 2\n\t« citée » ; drop table Taches; --"));
    EXPECT_EQ(stored.Facture, 1);
    EXPECT_EQ(stored.IdProjet, project);
    EXPECT_EQ(stored.Debut, at(Wednesday, 9, 0));
    EXPECT_EQ(stored.Fin, at(Wednesday, 10, 0));
    EXPECT_EQ(liveEntryCount(), 1);
}

TEST_F(CDlgTaskTest, OverlapsAreResolvedAsAnsweredAndCancellingWritesNothing)
{
    const int project = saveProject(QStringLiteral("Chantier"), 0x4080FF);
    const qint64 nine = at(Wednesday, 9, 0), halfTen = at(Wednesday, 10, 30), ten = at(Wednesday, 10, 0);
    const qint64 halfEleven = at(Wednesday, 11, 30), twelve = at(Wednesday, 12, 0), one = at(Wednesday, 13, 0);
    const struct
    {
        const char *what;
        int answer; // a method, or -1 for Cancel
        QString after;
    } cases[] = {
        // The others give way: cut at the new start, moved to its end.
        {"others give way", CDlgInsertion::OthersGiveWay,
         span(nine, ten) + ' ' + span(ten, twelve) + ' ' + span(twelve, one)},
        // The new entry moves into 10:30-11:30.
        {"fit into free time", CDlgInsertion::FitIntoFreeTime,
         span(nine, halfTen) + ' ' + span(halfTen, halfEleven) + ' ' + span(halfEleven, one)},
        {"cancel", -1, span(nine, halfTen) + ' ' + span(halfEleven, one)},
    };
    for (const auto &c : cases) {
        CBdD().Execute(u"delete from Taches");
        saveEntry(nine, halfTen);
        saveEntry(halfEleven, one);
        const tTacheFull fresh = entryAt(ten, twelve, project);
        CDlgTask dialog(&fresh);
        control<QLineEdit>(dialog, CDlgTask::IdTitle)->setText(QStringLiteral("nouvelle"));

        DialogAnswers<CDlgInsertion> answers;
        int count = 0;
        QString counter;
        answers.Push([&](CDlgInsertion &question) {
            count = question.Count();
            counter = control<QLineEdit>(question, CDlgInsertion::IdCounter)->text();
            EXPECT_FALSE(question.ShowsApplyBox());
            if (c.answer == -1)
                click(question, CDlgInsertion::IdCancel);
            else
                QTest::mouseClick(question.ChoiceButton(c.answer), Qt::LeftButton);
            return question.result();
        });
        click(dialog, CDlgTask::IdOk);
        EXPECT_EQ(answers.Asked(), 1) << c.what;
        EXPECT_EQ(count, 3) << c.what << ": the new entry and the two it overlaps";
        EXPECT_EQ(counter, QStringLiteral("1 / 3")) << c.what;
        EXPECT_EQ(liveEntries(), c.after) << c.what;
        if (c.answer == -1) {
            // Back in the entry dialog with what was typed.
            EXPECT_NE(dialog.result(), QDialog::Accepted) << c.what;
            EXPECT_EQ(control<QLineEdit>(dialog, CDlgTask::IdTitle)->text(), QStringLiteral("nouvelle"));
            EXPECT_EQ(dialog.Entry().Debut, ten);
            EXPECT_EQ(dialog.Entry().Fin, twelve);
        } else {
            EXPECT_EQ(dialog.result(), QDialog::Accepted) << c.what;
            EXPECT_EQ(dialog.Entry().Title, QStringLiteral("nouvelle"));
        }
    }
}

TEST_F(CDlgTaskTest, AWriteThatFailsIsToldAndTheDialogKeepsTheInput)
{
    const qint64 ten = at(Wednesday, 10, 0), eleven = at(Wednesday, 11, 0);
    const int project = saveProject(QStringLiteral("Chantier"), 0x4080FF);
    const int existing = saveEntry(at(Wednesday, 10, 30), at(Wednesday, 12, 0));
    const struct
    {
        const char *what;
        qint64 start;
        qint64 end;
        bool overlaps;
    } cases[] = {
        {"free time", at(Wednesday, 8, 0), at(Wednesday, 9, 0), false},
        {"after the overlap question", ten, eleven, true},
    };
    for (const auto &c : cases) {
        const QString before = liveEntries();
        refuseWrites();
        const tTacheFull fresh = entryAt(c.start, c.end, project);
        CDlgTask dialog(&fresh);
        control<QLineEdit>(dialog, CDlgTask::IdTitle)->setText(QStringLiteral("à garder"));
        MessageBoxAnswers boxes;
        boxes.AnswerNotices();
        DialogAnswers<CDlgInsertion> answers;
        answers.Push([](CDlgInsertion &question) {
            QTest::mouseClick(question.ChoiceButton(CDlgInsertion::OthersGiveWay), Qt::LeftButton);
            return question.result();
        });
        click(dialog, CDlgTask::IdOk);
        EXPECT_EQ(answers.Asked(), c.overlaps ? 1 : 0) << c.what;
        ASSERT_EQ(boxes.AskedBoxes().size(), 1u) << c.what;
        EXPECT_EQ(boxes.AskedBoxes()[0].text, Platform::Texts::get(226));
        EXPECT_EQ(boxes.AskedBoxes()[0].caption, Platform::Texts::get(173));
        EXPECT_NE(dialog.result(), QDialog::Accepted) << c.what;
        EXPECT_EQ(liveEntries(), before) << c.what;
        EXPECT_EQ(dialog.Entry().Debut, c.start) << c.what;
        EXPECT_EQ(control<QLineEdit>(dialog, CDlgTask::IdTitle)->text(), QStringLiteral("à garder"));

        // Once the file takes writes again, the same OK stores.
        acceptWrites();
        answers.Push([](CDlgInsertion &question) {
            QTest::mouseClick(question.ChoiceButton(CDlgInsertion::OthersGiveWay), Qt::LeftButton);
            return question.result();
        });
        click(dialog, CDlgTask::IdOk);
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << c.what;
        EXPECT_EQ(liveEntryCount(), 2) << c.what;
        CBdD().Execute(QStringLiteral("delete from Taches where Id<>%1").arg(existing));
        CBdD().Execute(QStringLiteral("update Taches set Debut=%1, Fin=%2 where Id=%3")
                           .arg(at(Wednesday, 10, 30))
                           .arg(at(Wednesday, 12, 0))
                           .arg(existing));
    }
}

TEST_F(CDlgTaskTest, DeleteModeShowsTheEntryReadOnlyAndDeletes)
{
    const int project = saveProject(QStringLiteral("Chantier"), 0x4080FF);
    const int id = saveEntry(at(Today, 8, 0), 0, project, -1, QStringLiteral("titre"));
    tTacheFull entry;
    ASSERT_TRUE(readEntry(id, entry));
    entry.Facture = 1;
    CDlgTask dialog(CDlgTask::DeleteMode, &entry);
    EXPECT_TRUE(shown(dialog, CDlgTask::IdQuestionText));
    EXPECT_EQ(control<QLabel>(dialog, CDlgTask::IdQuestionText)->text(),
              QStringLiteral("Voulez-vous vraiment supprimer cette tâche ?"));
    for (int id : {CDlgTask::IdProject, CDlgTask::IdActivity, CDlgTask::IdRate, CDlgTask::IdAddProject,
                   CDlgTask::IdOk, CDlgTask::IdStartDate, CDlgTask::IdStartTime, CDlgTask::IdGiveEnd,
                   CDlgTask::IdRunningText, CDlgTask::IdNoRecordWarning, CDlgTask::IdStartNow})
        EXPECT_FALSE(shown(dialog, id)) << id;
    EXPECT_EQ(control<QLineEdit>(dialog, CDlgTask::IdProjectName)->text(), QStringLiteral("Chantier"));
    EXPECT_EQ(control<QLineEdit>(dialog, CDlgTask::IdActivityName)->text(), Platform::Texts::get(502));
    EXPECT_EQ(control<QLineEdit>(dialog, CDlgTask::IdStartText)->text(), config.FormatDate(at(Today, 8, 0), false, true));
    EXPECT_EQ(control<QLineEdit>(dialog, CDlgTask::IdEndText)->text(), QStringLiteral("En cours…"));
    EXPECT_TRUE(control<QLineEdit>(dialog, CDlgTask::IdTitle)->isReadOnly());
    EXPECT_TRUE(control<QPlainTextEdit>(dialog, CDlgTask::IdNotes)->isReadOnly());
    // The invoiced box shows the flag and takes no click.
    auto *invoiced = control<QCheckBox>(dialog, CDlgTask::IdInvoiced);
    EXPECT_TRUE(invoiced->isChecked());
    dialog.show();
    QTest::mouseClick(invoiced, Qt::LeftButton);
    EXPECT_TRUE(invoiced->isChecked());

    QTest::keyClick(&dialog, Qt::Key_Return); // "Supprimer" is the default button
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    tTacheFull gone;
    EXPECT_FALSE(readEntry(id, gone));
    EXPECT_EQ(CBdD().Query(QStringLiteral("select Deleted from Taches where Id=%1").arg(id))->GetCell(0, 0),
              QStringLiteral("1"));
}

TEST_F(CDlgTaskTest, ADeletionThatFailsIsToldAndTheEntryStays)
{
    const int id = saveEntry(at(Today, 8, 0), at(Today, 9, 0));
    tTacheFull entry;
    ASSERT_TRUE(readEntry(id, entry));
    refuseWrites();
    CDlgTask dialog(CDlgTask::DeleteMode, &entry);
    MessageBoxAnswers boxes;
    boxes.AnswerNotices();
    click(dialog, CDlgTask::IdDelete);
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(boxes.AskedBoxes().size(), 1u);
    EXPECT_EQ(boxes.AskedBoxes()[0].text, Platform::Texts::get(226));
    EXPECT_TRUE(readEntry(id, entry));
}

TEST_F(CDlgTaskTest, AProjectBringsItsDefaultRateAndActivityAndAnActivityItsRate)
{
    const int projectRate = saveRate(QStringLiteral("Standard"), 50.f);
    const int activityRate = saveRate(QStringLiteral("Conseil"), 80.f);
    const int otherRate = saveRate(QStringLiteral("Réduit"), 30.f);
    const int design = saveActivity(QStringLiteral("Conception"), activityRate);
    const int tests = saveActivity(QStringLiteral("Essais"), otherRate);
    const int plain = saveActivity(QStringLiteral("Divers"), -1);
    const int withActivity = saveProject(QStringLiteral("Avec activité"), design, projectRate);
    const int missingActivity = saveProject(QStringLiteral("Activité disparue"), 999, projectRate);
    const int bare = saveProject(QStringLiteral("Nu"), -1, -1);

    CDlgTask dialog(nullptr);
    auto *activity = control<QComboBox>(dialog, CDlgTask::IdActivity);
    auto *rate = control<QComboBox>(dialog, CDlgTask::IdRate);
    EXPECT_EQ(EntryRecordCombos::SelectedId(rate), -1);

    // The project's activity is chosen, and that activity's rate wins.
    choose(dialog, CDlgTask::IdProject, withActivity);
    EXPECT_EQ(dialog.Entry().IdProjet, withActivity);
    EXPECT_EQ(dialog.Entry().IdActivite, design);
    EXPECT_EQ(EntryRecordCombos::SelectedId(activity), design);
    EXPECT_EQ(dialog.Entry().IdTauxHoraire, activityRate);

    // An activity that is not in the list leaves the activity as it is.
    choose(dialog, CDlgTask::IdActivity, plain);
    choose(dialog, CDlgTask::IdProject, missingActivity);
    EXPECT_EQ(dialog.Entry().IdActivite, plain);
    EXPECT_EQ(dialog.Entry().IdTauxHoraire, projectRate);

    // A project without defaults changes nothing else.
    choose(dialog, CDlgTask::IdProject, bare);
    EXPECT_EQ(dialog.Entry().IdActivite, plain);
    EXPECT_EQ(dialog.Entry().IdTauxHoraire, projectRate);

    choose(dialog, CDlgTask::IdActivity, tests);
    EXPECT_EQ(dialog.Entry().IdTauxHoraire, otherRate);
    choose(dialog, CDlgTask::IdRate, -1);
    EXPECT_EQ(dialog.Entry().IdTauxHoraire, -1);
    choose(dialog, CDlgTask::IdProject, -1);
    choose(dialog, CDlgTask::IdActivity, -1);
    EXPECT_TRUE(shown(dialog, CDlgTask::IdNoRecordWarning));
    EXPECT_FALSE(control(dialog, CDlgTask::IdOk)->isEnabled());
}

TEST_F(CDlgTaskTest, TheEndGroupSwitchesBetweenRunningAndAnEnd)
{
    const int activity = saveActivity(QStringLiteral("Réunion"), 0x80FF80);
    // A running entry that starts this afternoon, after now.
    const tTacheFull later = entryAt(at(Today, 14, 0), 0, -1, activity);
    CDlgTask dialog(&later);
    click(dialog, CDlgTask::IdGiveEnd);
    EXPECT_TRUE(dialog.HasEnd());
    EXPECT_EQ(dialog.Entry().Fin, at(Today, 15, 0)) << "an hour after a start that is not before now";
    EXPECT_EQ(control<QTimeEdit>(dialog, CDlgTask::IdEndTime)->time(), QTime(15, 0));
    EXPECT_TRUE(shown(dialog, CDlgTask::IdMakeRunning));
    EXPECT_TRUE(shown(dialog, CDlgTask::IdEndNow));
    EXPECT_FALSE(shown(dialog, CDlgTask::IdGiveEnd));
    EXPECT_TRUE(control(dialog, CDlgTask::IdOk)->isEnabled());

    // "Maintenant" puts the end at 10:00, before the start.
    click(dialog, CDlgTask::IdEndNow);
    EXPECT_EQ(dialog.Entry().Fin, now());
    EXPECT_TRUE(shown(dialog, CDlgTask::IdEndWarning));
    EXPECT_FALSE(control(dialog, CDlgTask::IdOk)->isEnabled());
    // An end equal to the start is refused as well.
    control<QTimeEdit>(dialog, CDlgTask::IdEndTime)->setTime(QTime(14, 0));
    EXPECT_EQ(dialog.Entry().Fin, at(Today, 14, 0));
    EXPECT_TRUE(shown(dialog, CDlgTask::IdEndWarning));
    control<QTimeEdit>(dialog, CDlgTask::IdEndTime)->setTime(QTime(14, 0, 1));
    EXPECT_FALSE(shown(dialog, CDlgTask::IdEndWarning));
    EXPECT_TRUE(control(dialog, CDlgTask::IdOk)->isEnabled());

    // "En cours…" makes it run again, whatever the end pickers hold.
    control<QTimeEdit>(dialog, CDlgTask::IdEndTime)->setTime(QTime(9, 0));
    click(dialog, CDlgTask::IdMakeRunning);
    EXPECT_FALSE(dialog.HasEnd());
    EXPECT_EQ(dialog.Entry().Fin, 0);
    EXPECT_FALSE(shown(dialog, CDlgTask::IdEndWarning));
    EXPECT_TRUE(control(dialog, CDlgTask::IdOk)->isEnabled());

    // A running entry that began before now gets now.
    const tTacheFull earlier = entryAt(at(Today, 8, 0), 0, -1, activity);
    CDlgTask second(&earlier);
    click(second, CDlgTask::IdGiveEnd);
    EXPECT_EQ(second.Entry().Fin, now());
}

TEST_F(CDlgTaskTest, ATimeInTheSkippedHourIsStoredAsTheInstantAfterIt)
{
    const int activity = saveActivity(QStringLiteral("Veille"), 0x80FF80);
    const QDate spring(2026, 3, 29);
    const tTacheFull night = entryAt(at(spring, 1, 0), at(spring, 4, 0), -1, activity);
    CDlgTask dialog(&night);
    control<QTimeEdit>(dialog, CDlgTask::IdStartTime)->setTime(QTime(2, 30));
    const qint64 threeOClock = QDateTime(spring, QTime(1, 0), Qt::UTC).toSecsSinceEpoch();
    EXPECT_EQ(dialog.Entry().Debut, threeOClock);
    click(dialog, CDlgTask::IdOk);
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(liveEntries(), span(threeOClock, at(spring, 4, 0)));
}

TEST_F(CDlgTaskTest, RecordsDeletedMeanwhileShowAsNone)
{
    const int rate = saveRate(QStringLiteral("Ancien"), 40.f);
    const int project = saveProject(QStringLiteral("Fermé"), -1, rate);
    const int activity = saveActivity(QStringLiteral("Gardée"), -1);
    const int id = saveEntry(at(Today, 8, 0), at(Today, 9, 0), project, activity);
    {
        CBdD db;
        ASSERT_TRUE(db.DeleteProject(project));
        ASSERT_TRUE(db.DeleteRate(rate));
    }
    reloadStore();
    tTacheFull entry;
    ASSERT_TRUE(readEntry(id, entry));
    entry.IdTauxHoraire = rate;
    CDlgTask dialog(&entry);
    EXPECT_EQ(control<QComboBox>(dialog, CDlgTask::IdProject)->currentText(), Platform::Texts::get(501));
    EXPECT_EQ(control<QComboBox>(dialog, CDlgTask::IdRate)->currentText(), Platform::Texts::get(185));
    EXPECT_EQ(dialog.Entry().IdProjet, -1);
    EXPECT_EQ(dialog.Entry().IdActivite, activity);
    EXPECT_EQ(dialog.Entry().IdTauxHoraire, -1);
    click(dialog, CDlgTask::IdOk);
    ASSERT_TRUE(readEntry(id, entry));
    EXPECT_EQ(entry.IdProjet, -1);
}

TEST_F(CDlgTaskTest, TheAddButtonsWaitForTheirEditors)
{
    {
        CDlgTask dialog(nullptr);
        for (int id : {CDlgTask::IdAddProject, CDlgTask::IdAddActivity, CDlgTask::IdAddRate})
            EXPECT_FALSE(control(dialog, id)->isEnabled()) << id;
    }
    const int rate = saveRate(QStringLiteral("Nuit"), 90.f);
    int editorRuns = 0;
    EntryDialogServices::Registered().newActivity = [&] {
        ++editorRuns;
        return saveActivity(QStringLiteral("Nouvelle"), rate);
    };
    EntryDialogServices::Registered().newRate = [&] { return -1; }; // the editor was cancelled
    CDlgTask dialog(nullptr);
    EXPECT_FALSE(control(dialog, CDlgTask::IdAddProject)->isEnabled());
    ASSERT_TRUE(control(dialog, CDlgTask::IdAddActivity)->isEnabled());
    click(dialog, CDlgTask::IdAddActivity);
    EXPECT_EQ(editorRuns, 1);
    EXPECT_EQ(control<QComboBox>(dialog, CDlgTask::IdActivity)->currentText(), QStringLiteral("Nouvelle"));
    EXPECT_EQ(dialog.Entry().IdTauxHoraire, rate);
    EXPECT_TRUE(control(dialog, CDlgTask::IdOk)->isEnabled());
    click(dialog, CDlgTask::IdAddRate);
    EXPECT_EQ(dialog.Entry().IdTauxHoraire, rate);
}

TEST_F(CDlgTaskTest, EveryControlHasItsTextAndTheSeamAnswersExec)
{
    CTranslationStore store;
    for (int mode : {CDlgTask::EditMode, CDlgTask::DeleteMode}) {
        CDlgTask dialog(mode, nullptr);
        EXPECT_EQ(ControlsWithoutText(&dialog, store, CDlgTask::DialogId), QList<int>()) << mode;
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Tâche"));
    }
    DialogAnswers<CDlgTask> answers;
    answers.Push(QDialog::Accepted);
    CDlgTask dialog(nullptr);
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    // No answer left: the test is told, and the dialog is rejected.
    int result = QDialog::Accepted;
    EXPECT_NONFATAL_FAILURE(result = dialog.exec(), "dialog CDlgTask");
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(answers.Asked(), 2);
}
TEST_F(CDlgTaskTest, SwitchingTheEndGroupDoesNotWidenTheDialog)
{
    CDlgTask dialog(nullptr);
    dialog.show();
    QCoreApplication::processEvents();
    const int before = dialog.width();
    for (int i = 0; i < 2; ++i) {
        click(dialog, CDlgTask::IdGiveEnd);
        QCoreApplication::processEvents();
        click(dialog, CDlgTask::IdMakeRunning);
        QCoreApplication::processEvents();
    }
    click(dialog, CDlgTask::IdGiveEnd);
    QCoreApplication::processEvents();
    // At most what the end's own row needs, never both states side by side.
    EXPECT_LE(dialog.width(), std::max(before, dialog.minimumSizeHint().width()));
    EXPECT_LT(dialog.width(), before + 40);
}

// The stored entry changed while the dialog was open (the tray paused it,
// another window changed or deleted it): OK tells it with both versions'
// times. "Annuler" writes nothing and stays; "Garder l'enregistrée" closes
// with the stored entry and writes nothing; "Garder la mienne" writes the
// dialog's entry. An entry left as it was is stored without a question,
// and one deleted meanwhile is stored again only on "Oui".
TEST_F(CDlgTaskTest, AnEntryChangedWhileTheDialogIsOpenIsNotWrittenOverInSilence)
{
    namespace A = MessageBoxAnswer;
    const int project = saveProject(QStringLiteral("Chantier"), 0x4080FF);
    const qint64 start = at(Today, 9, 0), paused = at(Today, 9, 45);
    const int id = saveEntry(start, 0, project, -1, QStringLiteral("Rapport"));
    tTacheFull running;
    ASSERT_TRUE(readEntry(id, running));
    const auto stored = [id] {
        tTacheFull e;
        EXPECT_TRUE(readEntry(id, e));
        return QStringLiteral("%1-%2 %3").arg(e.Debut).arg(e.Fin).arg(e.Title);
    };
    MessageBoxAnswers boxes;
    {
        CDlgTask dialog(&running);
        ASSERT_TRUE(CBdD().StopTimeEntry(id, paused)); // the tray's pause
        control<QLineEdit>(dialog, CDlgTask::IdTitle)->setText(QStringLiteral("Rapport final"));
        boxes.Push(A::Custom1 + 2);
        click(dialog, CDlgTask::IdOk);
        ASSERT_EQ(boxes.AskedBoxes().size(), 1u);
        const MessageBoxAnswers::Asked &asked = boxes.AskedBoxes()[0];
        // The titles differ: each version names its records and title.
        EXPECT_EQ(asked.text,
                  QStringLiteral("Cette tâche a été modifiée entre-temps, par le lanceur rapide ou par une autre "
                                 "fenêtre de Zarvo.\n\nTâche enregistrée : %1 - %2, Chantier / Rapport\nVotre tâche : "
                                 "%1 - En cours…, Chantier / Rapport final\n\n« Garder l'enregistrée » abandonne "
                                 "aussi toutes les modifications faites dans cette fenêtre (dates, projet, activité, "
                                 "taux horaire, titre, notes, facturation).\n\nQuelle version voulez-vous garder ?")
                      .arg(EntryDateTimeText(start), EntryDateTimeText(paused)));
        ASSERT_EQ(asked.buttons.size(), 3u);
        EXPECT_EQ(asked.buttons[0].caption, QStringLiteral("Garder l'enregistrée"));
        EXPECT_EQ(asked.buttons[1].caption, QStringLiteral("Garder la mienne"));
        EXPECT_EQ(dialog.result(), 0) << "back in the dialog";
        EXPECT_EQ(stored(), QStringLiteral("%1-%2 Rapport").arg(start).arg(paused));

        boxes.Push(A::Custom1);
        click(dialog, CDlgTask::IdOk);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.Entry().Fin, paused) << "the stored entry given back";
        EXPECT_EQ(stored(), QStringLiteral("%1-%2 Rapport").arg(start).arg(paused)) << "the pause stands";
    }
    {
        CDlgTask dialog(&running);
        ASSERT_TRUE(CBdD().SetTimeEntryTimes(id, start, at(Today, 9, 50)));
        control<QLineEdit>(dialog, CDlgTask::IdTitle)->setText(QStringLiteral("Rapport final"));
        boxes.Push(A::Custom1 + 1);
        click(dialog, CDlgTask::IdOk);
        EXPECT_EQ(boxes.AskedBoxes().size(), 3u);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(stored(), QStringLiteral("%1-0 Rapport final").arg(start)) << "the user's own, running again";
    }
    {
        ASSERT_TRUE(readEntry(id, running));
        CDlgTask dialog(&running);
        click(dialog, CDlgTask::IdOk);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(boxes.AskedBoxes().size(), 3u) << "unchanged: no question";
    }
    {
        CDlgTask dialog(&running);
        ASSERT_TRUE(CBdD().DeleteTimeEntry(id));
        boxes.Push(A::No);
        click(dialog, CDlgTask::IdOk);
        ASSERT_EQ(boxes.AskedBoxes().size(), 4u);
        EXPECT_TRUE(boxes.AskedBoxes()[3].text.startsWith(QStringLiteral("Cette tâche a été supprimée entre-temps")));
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(liveEntryCount(), 0);
    }
    {
        ASSERT_TRUE(CBdD().Execute(QStringLiteral("update Taches set Deleted=0 where Id=%1").arg(id)) == 0);
        CDlgTask dialog(&running);
        ASSERT_TRUE(CBdD().DeleteTimeEntry(id));
        boxes.Push(A::Yes);
        click(dialog, CDlgTask::IdOk);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(liveEntries(), span(start, 0)) << "stored again";
    }
}

// The changed-meanwhile question as the entry dialog shows it, answered on
// the box itself: Escape and the window's Close answer its Annuler, back to
// the dialog with the user's edits, and nothing is written.
TEST_F(CDlgTaskTest, EscapeAndCloseOnTheChangedMeanwhileBoxGoBackWithTheEditsKept)
{
    const int project = saveProject(QStringLiteral("Chantier"), 0x4080FF);
    const qint64 start = at(Today, 9, 0), paused = at(Today, 9, 45);
    const struct
    {
        const char *how;
        std::function<void(RichMessageBoxDialog &box)> user;
    } answers[] = {
        {"Escape", [](RichMessageBoxDialog &box) { QTest::keyClick(&box, Qt::Key_Escape); }},
        {"the window's Close", [](RichMessageBoxDialog &box) { box.close(); }},
    };
    for (const auto &answer : answers) {
        SCOPED_TRACE(answer.how);
        CBdD().Execute(u"delete from Taches");
        const int id = saveEntry(start, 0, project, -1, QStringLiteral("Rapport"));
        tTacheFull running;
        ASSERT_TRUE(readEntry(id, running));
        CDlgTask dialog(&running);
        dialog.show();
        ASSERT_TRUE(CBdD().StopTimeEntry(id, paused)); // the tray's pause
        control<QLineEdit>(dialog, CDlgTask::IdTitle)->setText(QStringLiteral("Rapport final"));
        control<QPlainTextEdit>(dialog, CDlgTask::IdNotes)->setPlainText(QStringLiteral("mes notes"));

        MessageBoxAnswers boxes;
        QStringList shown;
        boxes.PushDriven([&](RichMessageBoxDialog &box) {
            for (const MessageBoxButton &button : box.Content().buttons)
                shown << button.caption;
            answer.user(box);
        });
        click(dialog, CDlgTask::IdOk);
        ASSERT_EQ(boxes.AskedBoxes().size(), 1u);
        EXPECT_EQ(shown, (QStringList{QStringLiteral("Garder l'enregistrée"), QStringLiteral("Garder la mienne"),
                                      QStringLiteral("Annuler")}));
        EXPECT_NE(dialog.result(), QDialog::Accepted) << "back in the dialog";
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(control<QLineEdit>(dialog, CDlgTask::IdTitle)->text(), QStringLiteral("Rapport final"));
        EXPECT_EQ(control<QPlainTextEdit>(dialog, CDlgTask::IdNotes)->toPlainText(), QStringLiteral("mes notes"));
        tTacheFull stored;
        ASSERT_TRUE(readEntry(id, stored));
        EXPECT_EQ(stored.Fin, paused) << "the pause stands";
        EXPECT_EQ(stored.Title, QStringLiteral("Rapport")) << "nothing written";
    }
}

// What another window or the tray changes while the dialog is open, each
// within the same second as the dialog's read (the clock stands still):
// the whole row is compared, so even one field changed asks, and keeping
// the stored entry leaves the other's change and drops the user's edits.
// The question shows seconds where two times fall in one minute, and the
// records of both versions where these differ.
TEST_F(CDlgTaskTest, AnyFieldChangedMeanwhileIsAskedAboutAndKeepingTheStoredOneLeavesIt)
{
    namespace A = MessageBoxAnswer;
    const int chantier = saveProject(QStringLiteral("Chantier"), 0x4080FF);
    const int bureau = saveProject(QStringLiteral("Bureau"), 0x80FF40);
    const qint64 nine = at(Today, 9, 0), halfNine = at(Today, 9, 30);
    const struct
    {
        const char *what;
        std::function<bool(int id)> change;
        // The lines of the question's two versions; empty: no question.
        QString storedLine, mineLine;
    } cases[] = {
        {"only the project, by another window", [&](int id) {
             return CBdD().ReassignTimeEntries(bureau, CBdD::Unchanged, CBdD::Unchanged,
                                               QStringLiteral("(%1)").arg(id));
         },
         EntryDateTimeText(nine) + " - " + EntryDateTimeText(halfNine) + ", Bureau / Rapport",
         EntryDateTimeText(nine) + " - " + EntryDateTimeText(halfNine) + ", Chantier / Rapport"},
        {"the end by twenty seconds", [&](int id) { return CBdD().SetTimeEntryTimes(id, nine, halfNine + 20); },
         EntryDateTimeText(nine) + " - " + EntryDateTimeText(halfNine + 20, true),
         EntryDateTimeText(nine) + " - " + EntryDateTimeText(halfNine, true)},
        {"the notes only", [&](int id) {
             tTacheFull e;
             EXPECT_TRUE(readEntry(id, e));
             e.Notes = QStringLiteral("ailleurs");
             return CBdD().SaveTimeEntry(e);
         },
         EntryDateTimeText(nine) + " - " + EntryDateTimeText(halfNine),
         EntryDateTimeText(nine) + " - " + EntryDateTimeText(halfNine)},
        {"stamped again, nothing changed", [&](int id) {
             tTacheFull e;
             EXPECT_TRUE(readEntry(id, e));
             return CBdD().SaveTimeEntry(e);
         },
         QString(), QString()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        CBdD().Execute(u"delete from Taches");
        const int id = saveEntry(nine, halfNine, chantier, -1, QStringLiteral("Rapport"));
        tTacheFull opened;
        ASSERT_TRUE(readEntry(id, opened));
        CDlgTask dialog(&opened);
        ASSERT_TRUE(c.change(id));
        tTacheFull theirs;
        ASSERT_TRUE(readEntry(id, theirs));
        control<QPlainTextEdit>(dialog, CDlgTask::IdNotes)->setPlainText(QStringLiteral("mes notes"));

        MessageBoxAnswers boxes;
        if (!c.storedLine.isEmpty())
            boxes.Push(A::Custom1); // keep the stored one
        click(dialog, CDlgTask::IdOk);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        tTacheFull after;
        ASSERT_TRUE(readEntry(id, after));
        if (c.storedLine.isEmpty()) {
            EXPECT_TRUE(boxes.AskedBoxes().empty());
            EXPECT_EQ(after.Notes, QStringLiteral("mes notes"));
            continue;
        }
        ASSERT_EQ(boxes.AskedBoxes().size(), 1u);
        const QString &text = boxes.AskedBoxes()[0].text;
        EXPECT_TRUE(text.contains(QStringLiteral("Tâche enregistrée : ") + c.storedLine + u'\n'))
            << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("Votre tâche : ") + c.mineLine + u'\n')) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("« Garder l'enregistrée » abandonne aussi toutes les modifications "
                                                 "faites dans cette fenêtre")))
            << text.toStdString();
        EXPECT_EQ(after, theirs) << "the other's change stands, the user's notes are dropped";
        EXPECT_EQ(dialog.Entry(), theirs);
    }
}

// "Keep mine" is a decision on the row as it was then: the overlap question
// cancelled, OK again does not ask again; but a row changed once more
// while the overlap question was open is asked about before the write.
TEST_F(CDlgTaskTest, TheChangedMeanwhileQuestionIsAskedAgainOnlyForANewChange)
{
    namespace A = MessageBoxAnswer;
    const int project = saveProject(QStringLiteral("Chantier"), 0x4080FF);
    const qint64 nine = at(Wednesday, 9, 0), ten = at(Wednesday, 10, 0), eleven = at(Wednesday, 11, 0);
    const qint64 twelve = at(Wednesday, 12, 0);
    const struct
    {
        const char *what;
        // What the other program does while the overlap question is open
        // at the second OK; null: nothing.
        std::function<void(int id)> duringSecondOverlap;
        int secondAnswer; // to a second changed-meanwhile question, or 0 for none
        const char *titleAfter;
    } cases[] = {
        {"unchanged since the decision", nullptr, 0, "mine"},
        {"changed again, the stored one kept",
         [](int id) { ASSERT_TRUE(CBdD().ReassignTimeEntries(-1, CBdD::Unchanged, CBdD::Unchanged,
                                                               QStringLiteral("(%1)").arg(id))); },
         A::Custom1, "theirs"},
        {"changed again, mine kept once more",
         [](int id) { ASSERT_TRUE(CBdD().ReassignTimeEntries(-1, CBdD::Unchanged, CBdD::Unchanged,
                                                               QStringLiteral("(%1)").arg(id))); },
         A::Custom1 + 1, "mine"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        CBdD().Execute(u"delete from Taches");
        saveEntry(ten, eleven); // overlapped by the entry moved below
        const int id = saveEntry(nine, ten, project, -1, QStringLiteral("first"));
        tTacheFull opened;
        ASSERT_TRUE(readEntry(id, opened));
        CDlgTask dialog(&opened);
        // The other window renames the entry; the user moves its end over
        // the next entry and retitles it.
        tTacheFull theirs = opened;
        theirs.Title = QStringLiteral("theirs");
        ASSERT_TRUE(CBdD().SaveTimeEntry(theirs));
        control<QLineEdit>(dialog, CDlgTask::IdTitle)->setText(QStringLiteral("mine"));
        control<QTimeEdit>(dialog, CDlgTask::IdEndTime)->setTime(QTime(12, 0));

        MessageBoxAnswers boxes;
        DialogAnswers<CDlgInsertion> overlap;
        boxes.Push(A::Custom1 + 1); // keep mine
        overlap.Push([](CDlgInsertion &question) {
            click(question, CDlgInsertion::IdCancel);
            return question.result();
        });
        click(dialog, CDlgTask::IdOk);
        ASSERT_EQ(boxes.AskedBoxes().size(), 1u);
        ASSERT_EQ(overlap.Asked(), 1);
        EXPECT_NE(dialog.result(), QDialog::Accepted) << "back in the dialog";

        overlap.Push([&](CDlgInsertion &question) {
            if (c.duringSecondOverlap)
                c.duringSecondOverlap(id);
            QTest::mouseClick(question.ChoiceButton(CDlgInsertion::OthersGiveWay), Qt::LeftButton);
            return question.result();
        });
        if (c.secondAnswer != 0)
            boxes.Push(c.secondAnswer);
        click(dialog, CDlgTask::IdOk);
        EXPECT_EQ(overlap.Asked(), 2);
        EXPECT_EQ(boxes.AskedBoxes().size(), c.secondAnswer != 0 ? 2u : 1u);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        tTacheFull after;
        ASSERT_TRUE(readEntry(id, after));
        EXPECT_EQ(after.Title, QString::fromLatin1(c.titleAfter));
        EXPECT_EQ(after.Fin, QString::fromLatin1(c.titleAfter) == QStringLiteral("mine") ? twelve : ten);
    }
}
