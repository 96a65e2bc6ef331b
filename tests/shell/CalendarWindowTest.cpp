// The calendar window in the real main frame: opened at start-up as the
// main document, reloaded by the frame's refreshes, switched by the view
// commands, and taking the entry commands of the main menu.
#include "AppFixture.h"
#include "CCalendarCtrl.h"
#include "CCalendarHost.h"
#include "CChildFrame.h"
#include "CCommandTable.h"
#include "CDay.h"
#include "CDayCache.h"
#include "CDlgInsertion.h"
#include "CDlgTask.h"
#include "CMainFrame.h"
#include "CViewAnimInsert.h"
#include "CWeekCtrl.h"
#include "DialogAnswers.h"
#include "EntryMenus.h"
#include "LocalTime.h"
#include "WidgetIds.h"

#include <QAbstractButton>
#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMdiArea>
#include <QTabBar>
#include <QTest>

namespace {

class CalendarWindowTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        Platform::Clock::setFixedNow(Now);
        addUser(QStringLiteral("Anne"));
        app->Startup().openCalendar = [this] { CCalendarHost::OpenCalendar(*app); };
        ASSERT_TRUE(app->InitInstance());
        clearBoxes();
    }
    CMainFrame &frame() { return *app->MainFrame(); }
    // A point on today's column (Tuesday 5 March) at `minutes` past midnight.
    QPoint onToday(int minutes)
    {
        CWeekCtrl &week = *calendar()->Week();
        const CWeekGeometry &g = week.Geometry();
        const int column = int(week.ShownDays().First().daysTo(QDate(2024, 3, 5)));
        return QPoint(65 + column * ((week.viewport()->width() - 64) / 7) + 20,
                      g.GridTop() + minutes * g.hourHeight / 60);
    }
    // A point on the column of `date` at `minutes` past midnight.
    QPoint on(const QDate &date, int minutes)
    {
        CWeekCtrl &week = *calendar()->Week();
        const CWeekGeometry &g = week.Geometry();
        const int column = int(week.ShownDays().First().daysTo(date));
        const QPoint point(65 + column * ((week.viewport()->width() - 64) / 7) + 20,
                           g.GridTop() + minutes * g.hourHeight / 60);
        EXPECT_LT(point.y(), week.viewport()->height());
        return point;
    }
    static qint64 at(const QDate &date, int h, int m)
    {
        return QDateTime(date, QTime(h, m)).toSecsSinceEpoch();
    }
    CChildFrame *calendar() { return qobject_cast<CChildFrame *>(frame().CalendarFrame()); }
    QAction *command(int id) { return frame().Commands().Action(id); }
    static int saveEntry(qint64 start, qint64 end)
    {
        tTacheFull e;
        e.Debut = start;
        e.Fin = end;
        CBdD db;
        EXPECT_TRUE(db.SaveTimeEntry(e));
        SQLite::MyTablePtr t = db.Query(QStringLiteral("select max(Id) from Taches where Deleted=0"));
        return t.hasRows() ? t->GetCell(0, 0).toInt() : -1;
    }

    // Tuesday 5 March 2024, 10:00 in Paris.
    static constexpr qint64 Now = 1709629200;
};

} // namespace

TEST_F(CalendarWindowTest, TheCalendarIsTheMainDocument)
{
    ASSERT_NE(calendar(), nullptr);
    EXPECT_EQ(frame().MdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(frame().MdiArea()->currentSubWindow(), calendar());
    EXPECT_EQ(calendar()->ViewType(), CChildFrame::WeekView);
    const QDate first = calendar()->Week()->ShownDays().First();
    EXPECT_LE(first, QDate(2024, 3, 5));
    EXPECT_GT(first, QDate(2024, 2, 27));
    calendar()->Week()->viewport()->grab();
    EXPECT_TRUE(calendar()->windowTitle().startsWith(calendar()->Week()->Caption()));
    EXPECT_FALSE(calendar()->close());
    const auto *tabs = frame().MdiArea()->findChild<QTabBar *>();
    ASSERT_NE(tabs, nullptr);
    const QWidget *closeButton = tabs->tabButton(0, QTabBar::RightSide);
    EXPECT_TRUE(!closeButton || !closeButton->isVisible()) << "no close button on the calendar's tab";

    // The view commands switch it.
    command(32802)->trigger();
    EXPECT_EQ(calendar()->ViewType(), CChildFrame::MonthView);
    EXPECT_TRUE(command(32802)->isChecked());
    command(32800)->trigger();
    EXPECT_EQ(calendar()->ViewType(), CChildFrame::DayView);
    EXPECT_EQ(calendar()->Week()->ShownDays().First(), QDate(2024, 3, 5));
}

TEST_F(CalendarWindowTest, AStoredChangeAndTheTimerReachTheShownView)
{
    CWeekCtrl &week = *calendar()->Week();
    week.viewport()->grab();
    EXPECT_EQ(app->DayCache().GetCount(QDate(2024, 3, 5)), 0);
    const int id = saveEntry(Now - 3600, Now - 600);
    EXPECT_EQ(app->DayCache().GetCount(QDate(2024, 3, 5)), 1) << "the write's notice reloaded the week";

    // The 30-second refresh draws the week again only with a running
    // entry on screen.
    week.viewport()->grab();
    const int drawn = week.RedrawCount();
    frame().OnTimer();
    week.viewport()->grab();
    EXPECT_EQ(week.RedrawCount(), drawn);
    saveEntry(Now - 300, 0);
    CBdD().RefreshCurrentEntry();
    week.viewport()->grab();
    const int again = week.RedrawCount();
    frame().OnTimer();
    week.viewport()->grab();
    EXPECT_EQ(week.RedrawCount(), again + 1);
    (void)id;
}

TEST_F(CalendarWindowTest, TheEntryCommandsFollowTheSelection)
{
    const int id = saveEntry(Now - 3 * 3600, Now - 2 * 3600 - 600); // 7:00 to 7:50
    CWeekCtrl &week = *calendar()->Week();
    week.viewport()->grab();
    for (int c : {32900, 32902, 32904, 32910, 32912})
        EXPECT_FALSE(command(c)->isEnabled()) << c;

    // A click on the entry selects it.
    const CWeekGeometry &g = week.Geometry();
    const int column = int(week.ShownDays().First().daysTo(QDate(2024, 3, 5)));
    const QPoint at(65 + column * ((week.viewport()->width() - 64) / 7) + 20,
                    g.GridTop() + 7 * g.hourHeight + g.hourHeight / 2);
    ASSERT_LT(at.y(), week.viewport()->height());
    QTest::mouseMove(week.viewport(), at);
    QTest::mouseClick(week.viewport(), Qt::LeftButton, Qt::NoModifier, at);
    ASSERT_EQ(week.CurrentEntry().Id, id);
    for (int c : {32900, 32902, 32904, 32910})
        EXPECT_TRUE(command(c)->isEnabled()) << c;
    EXPECT_FALSE(command(32912)->isEnabled());
    command(32904)->trigger();
    EXPECT_TRUE(command(32912)->isEnabled());
    EXPECT_EQ(week.ClipboardId(), id);
}

TEST_F(CalendarWindowTest, TheEntryDialogsAndTheOverlapQuestionAreTheApplicationsOwn)
{
    const int first = saveEntry(Now - 3 * 3600, Now - 2 * 3600 - 600); // 7:00 to 7:50
    const int second = saveEntry(Now - 3600, Now);                     // 9:00 to 10:00
    CWeekCtrl &week = *calendar()->Week();
    week.viewport()->grab();
    const QPoint grip = onToday(7 * 60 + 25);
    ASSERT_LT(grip.y(), week.viewport()->height());
    QTest::mouseMove(week.viewport(), grip);
    QTest::mouseClick(week.viewport(), Qt::LeftButton, Qt::NoModifier, grip);
    ASSERT_EQ(week.CurrentEntry().Id, first);

    // "Modifier" of the main menu: the time entry dialog on the selection.
    {
        DialogAnswers<CDlgTask> answers;
        answers.Push([first](CDlgTask &dialog) {
            EXPECT_EQ(dialog.Mode(), CDlgTask::EditMode);
            EXPECT_EQ(dialog.Entry().Id, first);
            return int(QDialog::Rejected);
        });
        command(32900)->trigger();
        EXPECT_EQ(answers.Asked(), 1);
    }

    // A move onto the other entry asks how to store it: the other gives way.
    {
        DialogAnswers<CDlgInsertion> answers;
        answers.Push([](CDlgInsertion &dialog) {
            QTest::mouseClick(dialog.ChoiceButton(CDlgInsertion::OthersGiveWay), Qt::LeftButton);
            return dialog.result();
        });
        const QPoint to = onToday(9 * 60 + 25);
        ASSERT_LT(to.y(), week.viewport()->height());
        QTest::mousePress(week.viewport(), Qt::LeftButton, Qt::NoModifier, grip);
        for (int step = 1; step <= 4; ++step)
            QTest::mouseMove(week.viewport(), grip + (to - grip) * step / 4);
        QTest::mouseRelease(week.viewport(), Qt::LeftButton, Qt::NoModifier, to);
        EXPECT_EQ(answers.Asked(), 1);
        tTacheFull moved;
        ASSERT_TRUE(CBdD().GetTimeEntry(first, moved));
        EXPECT_EQ(moved.Debut, Now - 3600);
        EXPECT_EQ(moved.Fin, Now - 600);
    }

    // "Supprimer": the same dialog in its delete mode, which deletes.
    week.viewport()->grab();
    ASSERT_TRUE(command(32902)->isEnabled());
    {
        DialogAnswers<CDlgTask> answers;
        answers.Push([](CDlgTask &dialog) {
            EXPECT_EQ(dialog.Mode(), CDlgTask::DeleteMode);
            QTest::mouseClick(static_cast<QAbstractButton *>(dialog.Control(CDlgTask::IdDelete)), Qt::LeftButton);
            return dialog.result();
        });
        command(32902)->trigger();
        EXPECT_EQ(answers.Asked(), 1);
    }
    SQLite::MyTablePtr deleted = CBdD().Query(QStringLiteral("select Deleted from Taches where Id=%1").arg(first));
    ASSERT_TRUE(deleted.hasRows());
    EXPECT_EQ(deleted->GetCell(0, 0).toInt(), 1);
    EXPECT_FALSE(command(32902)->isEnabled());
    (void)second;
}

TEST_F(CalendarWindowTest, NothingOfOneDatabaseIsActedOnInAnother)
{
    // Two users whose first entries have the same id, at other hours.
    const int anne = app->Users().GetCurrentId();
    const int bruno = addUser(QStringLiteral("Bruno"));
    const int brunos = saveEntry(Now + 2 * 3600, Now + 3 * 3600); // 12:00 to 13:00
    ASSERT_TRUE(app->SwitchUser(anne));
    const int annes = saveEntry(Now - 3 * 3600, Now - 2 * 3600 - 600); // 7:00 to 7:50
    ASSERT_EQ(annes, brunos);
    const auto stored = [this](const QString &user, int id) {
        tTacheFull e;
        EXPECT_TRUE(CBdD(databaseOf(user)).GetTimeEntry(id, e));
        return std::pair(e.Debut, e.Fin);
    };

    // Anne's entry selected, copied, and held in a drag when the user
    // changes.
    CWeekCtrl &week = *calendar()->Week();
    week.viewport()->grab();
    const QPoint grip = onToday(7 * 60 + 25);
    QTest::mouseMove(week.viewport(), grip);
    QTest::mouseClick(week.viewport(), Qt::LeftButton, Qt::NoModifier, grip);
    command(32904)->trigger();
    ASSERT_EQ(week.ClipboardId(), annes);
    ASSERT_TRUE(command(32912)->isEnabled());
    const QPoint to = onToday(9 * 60 + 25);
    QTest::mousePress(week.viewport(), Qt::LeftButton, Qt::NoModifier, grip);
    QTest::mouseMove(week.viewport(), grip + QPoint(0, 10));
    ASSERT_TRUE(week.IsDragActive());
    ASSERT_TRUE(app->SwitchUser(bruno));

    EXPECT_FALSE(week.IsDragActive());
    EXPECT_EQ(week.ClipboardId(), -1);
    EXPECT_EQ(week.CurrentEntry().Id, -1);
    for (int c : {32900, 32902, 32904, 32910, 32912})
        EXPECT_FALSE(command(c)->isEnabled()) << c;
    // The rest of the drag stores nothing; paste and the keys open nothing.
    {
        DialogAnswers<CDlgTask> dialogs;
        DialogAnswers<CDlgInsertion> questions;
        QTest::mouseMove(week.viewport(), to);
        QTest::mouseRelease(week.viewport(), Qt::LeftButton, Qt::NoModifier, to);
        command(32912)->trigger();
        command(32900)->trigger();
        command(32902)->trigger();
        QTest::keyClick(week.viewport(), Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(week.viewport(), Qt::Key_Delete);
        EXPECT_EQ(dialogs.Asked(), 0);
        EXPECT_EQ(questions.Asked(), 0);
    }
    EXPECT_EQ(stored(QStringLiteral("Bruno"), brunos), std::pair(Now + 2 * 3600, Now + 3 * 3600));
    EXPECT_EQ(stored(QStringLiteral("Anne"), annes), std::pair(Now - 3 * 3600, Now - 2 * 3600 - 600));

    // A restore drops the selection and the clipboard as well.
    const QString backup = TestFolders::root() + QStringLiteral("/bruno-backup.sdb");
    ASSERT_EQ(CBdD().Execute(QStringLiteral("vacuum into '%1'").arg(backup)), 0);
    week.viewport()->grab();
    const QPoint noon = onToday(12 * 60 + 25);
    QTest::mouseMove(week.viewport(), noon);
    QTest::mouseClick(week.viewport(), Qt::LeftButton, Qt::NoModifier, noon);
    command(32910)->trigger();
    ASSERT_EQ(week.ClipboardId(), brunos);
    ASSERT_TRUE(app->RestoreBackup(backup));
    EXPECT_EQ(week.ClipboardId(), -1);
    for (int c : {32900, 32902, 32912})
        EXPECT_FALSE(command(c)->isEnabled()) << c;
    EXPECT_EQ(app->DayCache().GetCount(QDate(2024, 3, 5)), 1) << "the restored week is shown";
}

TEST_F(CalendarWindowTest, AnUndoAfterTwoWritesInOneSecondShowsTheUndoneState)
{
    // The clock stands still: both writes and the undo stamp one second.
    const int id = saveEntry(Now - 3 * 3600, Now - 2 * 3600); // 7:00 to 8:00
    ASSERT_TRUE(CBdD().SetTimeEntryTimes(id, Now - 3600, Now)); // 9:00 to 10:00
    CWeekCtrl &week = *calendar()->Week();
    week.viewport()->grab();
    const auto shownStart = [this] {
        const tTacheParams *e = app->DayCache().GetEntry(QDate(2024, 3, 5), 0);
        return e ? e->Debut : 0;
    };
    ASSERT_EQ(shownStart(), Now - 3600);

    ASSERT_TRUE(command(32942)->isEnabled());
    command(32942)->trigger();
    EXPECT_EQ(shownStart(), Now - 3 * 3600) << "the week shows the entry back at 7:00";
    command(32943)->trigger();
    EXPECT_EQ(shownStart(), Now - 3600) << "and again at 9:00 after the redo";
}

TEST_F(CalendarWindowTest, AnEntryAddedOnAnotherDayThanTodayIsFinishedAndStopsAtTheNextOne)
{
    const QDate monday(2024, 3, 4); // today is Tuesday 5 March, 10:00
    saveEntry(at(monday, 8, 30), at(monday, 9, 0));
    CWeekCtrl &week = *calendar()->Week();
    week.viewport()->grab();
    std::vector<tTacheFull> opened;
    DialogAnswers<CDlgTask> dialogs;
    const auto record = [&opened](CDlgTask &dialog) {
        opened.push_back(dialog.Entry());
        return int(QDialog::Rejected);
    };
    for (int i = 0; i < 4; ++i)
        dialogs.Push(record);

    // A double click on empty grid: up to the next entry, or an hour.
    QTest::mouseDClick(week.viewport(), Qt::LeftButton, Qt::NoModifier, on(monday, 8 * 60));
    // "Ajouter une tâche" of the context menu.
    EntryMenus::SetPresenter([](QMenu &menu, const QPoint &) -> QAction * {
        for (QAction *action : menu.actions()) {
            if (WidgetIds::CommandId(action) == EntryMenus::Add)
                return action;
        }
        return nullptr;
    });
    const QPoint seven = on(monday, 7 * 60);
    QTest::mousePress(week.viewport(), Qt::RightButton, Qt::NoModifier, seven);
    QTest::mouseRelease(week.viewport(), Qt::RightButton, Qt::NoModifier, seven);
    // Today's slot still starts a running entry.
    QTest::mouseDClick(week.viewport(), Qt::LeftButton, Qt::NoModifier, on(QDate(2024, 3, 5), 7 * 60));
    // The month view's "Ajouter une tâche" on Monday, at the time of day of now.
    command(32802)->trigger();
    CCalendarCtrl &month = *calendar()->Month();
    for (int i = 0; i < CCalendarCtrl::CellCount; ++i) {
        CDay *day = month.Cell(i);
        if (day->Date() != monday)
            continue;
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(40, 60), day->mapToGlobal(QPoint(40, 60)));
        QCoreApplication::sendEvent(day, &event);
    }
    EntryMenus::SetPresenter({});

    ASSERT_EQ(opened.size(), 4u);
    const std::pair<qint64, qint64> expected[] = {
        {at(monday, 8, 0), at(monday, 8, 30)},
        {at(monday, 7, 0), at(monday, 8, 0)},
        {at(QDate(2024, 3, 5), 7, 0), 0},
        {at(monday, 10, 0), at(monday, 11, 0)},
    };
    for (size_t i = 0; i < opened.size(); ++i) {
        EXPECT_EQ(opened[i].Id, -1) << i;
        EXPECT_EQ(std::pair(opened[i].Debut, opened[i].Fin), expected[i]) << i;
    }
}

TEST_F(CalendarWindowTest, TheEntryDialogOpensOnWhatIsStoredNow)
{
    const QDate today(2024, 3, 5);
    const int id = saveEntry(Now - 3 * 3600, Now - 2 * 3600 - 600); // 7:00 to 7:50
    ASSERT_EQ(CBdD().Execute(QStringLiteral("update Taches set Title='Avant' where Id=%1").arg(id)), 0);
    app->DayCache().MarkForReload();
    CWeekCtrl &week = *calendar()->Week();
    week.Reload();
    week.viewport()->grab();
    ASSERT_EQ(app->DayCache().GetEntry(today, 0)->Title, QStringLiteral("Avant"));
    // The other program changes the title; the calendar has not read it.
    const auto otherProgram = [this](const QString &sql) {
        SQLite::CmyDataBase other;
        ASSERT_EQ(other.Open(databaseOf(QStringLiteral("Anne"))), 0);
        ASSERT_EQ(other.Execute(sql), 0);
    };
    otherProgram(QStringLiteral("update Taches set Title='Après' where Id=%1").arg(id));
    ASSERT_EQ(app->DayCache().GetEntry(today, 0)->Title, QStringLiteral("Avant"));

    QStringList titles;
    DialogAnswers<CDlgTask> dialogs;
    for (int i = 0; i < 2; ++i) {
        dialogs.Push([&titles](CDlgTask &dialog) {
            titles << dialog.Entry().Title;
            return int(QDialog::Rejected);
        });
    }
    QTest::mouseDClick(week.viewport(), Qt::LeftButton, Qt::NoModifier, onToday(7 * 60 + 25));
    command(32802)->trigger();
    CDay *cell = nullptr;
    for (int i = 0; i < CCalendarCtrl::CellCount; ++i) {
        if (calendar()->Month()->Cell(i)->Date() == today)
            cell = calendar()->Month()->Cell(i);
    }
    ASSERT_NE(cell, nullptr);
    ASSERT_EQ(app->DayCache().GetEntry(today, 0)->Title, QStringLiteral("Avant"));
    QTest::mouseDClick(cell, Qt::LeftButton, Qt::NoModifier, QPoint(40, 30));
    EXPECT_EQ(titles, QStringList({QStringLiteral("Après"), QStringLiteral("Après")}));

    // Deleted meanwhile: no dialog, and the entry leaves the view.
    otherProgram(QStringLiteral("update Taches set Deleted=1 where Id=%1").arg(id));
    ASSERT_EQ(app->DayCache().GetCount(today), 1);
    QTest::mouseDClick(cell, Qt::LeftButton, Qt::NoModifier, QPoint(40, 30));
    EXPECT_EQ(dialogs.Asked(), 2);
    EXPECT_EQ(app->DayCache().GetCount(today), 0);
}

TEST_F(CalendarWindowTest, UndoAndRedoAnswerTheDesktopsKeys)
{
    EXPECT_EQ(command(32942)->shortcuts(), QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Z)});
    EXPECT_EQ(command(32943)->shortcuts(),
              (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}));
    const int id = saveEntry(Now - 3 * 3600, Now - 2 * 3600);
    app->UpdateCommandStates();
    CWeekCtrl &week = *calendar()->Week();
    frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
    week.setFocus();
    const auto live = [id] {
        tTacheFull e;
        return CBdD().GetTimeEntry(id, e);
    };
    QTest::keyClick(week.viewport(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(live()) << "Ctrl+Z undid the write";
    QTest::keyClick(week.viewport(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_TRUE(live()) << "Ctrl+Y redid it";
    QTest::keyClick(week.viewport(), Qt::Key_Z, Qt::ControlModifier);
    ASSERT_FALSE(live());
    QTest::keyClick(week.viewport(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(live()) << "Ctrl+Shift+Z redid it";
}
