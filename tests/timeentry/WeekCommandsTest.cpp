// The week view's context menu, commands, internal clipboard and drops,
// offscreen on a database of the test's own; the menus read through their
// presenter, the dialogs answered by the host.
#include "CChildFrame.h"
#include "CDataChangedNotifier.h"
#include "CWeekCtrl.h"
#include "CalendarFixture.h"
#include "DragPayload.h"
#include "EntryMenus.h"
#include "LocalTime.h"
#include "MessageBoxAnswers.h"
#include "MessageBoxParams.h"
#include "Settings.h"
#include "Texts.h"
#include "WidgetIds.h"

#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QTest>

#include <memory>

namespace {

constexpr int Width = 1000;
constexpr int Height = 700;

// The command ids of a menu's items, 0 for a separator.
std::vector<int> itemsOf(const QMenu &menu)
{
    std::vector<int> ids;
    for (const QAction *action : menu.actions())
        ids.push_back(action->isSeparator() ? 0 : WidgetIds::CommandId(action));
    return ids;
}

class WeekCommandsTest : public CalendarWindowFixture
{
protected:
    void SetUp() override
    {
        CalendarWindowFixture::SetUp();
        storeViews();
        EntryMenus::SetPresenter([this](QMenu &menu, const QPoint &) -> QAction * {
            menus.push_back(itemsOf(menu));
            menuTitles.clear();
            for (QAction *action : menu.actions())
                menuTitles << action->text();
            for (QAction *action : menu.actions()) {
                if (!action->isSeparator() && WidgetIds::CommandId(action) == choose)
                    return action;
            }
            return nullptr;
        });
    }
    void TearDown() override
    {
        EntryMenus::SetPresenter({});
        CalendarWindowFixture::TearDown();
    }

    void show()
    {
        open(QSize(Width, Height));
        vp()->grab();
    }
    static QPoint point(int day, int h, int m = 0) { return {65 + day * 133 + 66, 40 + (h - 6) * 60 + m}; }

    // A right click, with the pointer moved by `travel` while held.
    void rightClick(const QPoint &p, const QPoint &travel = QPoint())
    {
        vp()->grab();
        mouse(QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton);
        mouse(QEvent::MouseButtonPress, p, Qt::RightButton, Qt::RightButton);
        if (!travel.isNull())
            mouse(QEvent::MouseMove, p + travel, Qt::NoButton, Qt::RightButton);
        mouse(QEvent::MouseButtonRelease, p + travel, Qt::RightButton, Qt::NoButton);
    }
    // A left click that selects what is there.
    void click(const QPoint &p)
    {
        vp()->grab();
        mouse(QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton);
        mouse(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
    }
    // Stores what the dialog was opened on.
    static bool storeIt(tTacheFull &entry)
    {
        CBdD db;
        return db.SaveTimeEntry(entry);
    }

    void dragEvent(QEvent::Type type, const QPoint &p, QMimeData *data, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        if (type == QEvent::Drop) {
            QDropEvent event(p, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, mods);
            QCoreApplication::sendEvent(vp(), &event);
        } else {
            QDragMoveEvent event(p, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, mods, type);
            QCoreApplication::sendEvent(vp(), &event);
        }
    }
    void drop(const QPoint &p, const DragInfo &info, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        std::unique_ptr<QMimeData> data(MakeDragPayload(info));
        dragEvent(QEvent::DragEnter, p, data.get(), mods);
        dragEvent(QEvent::DragMove, p, data.get(), mods);
        dragEvent(QEvent::Drop, p, data.get(), mods);
    }
    std::vector<tTacheFull> entriesFrom(qint64 from)
    {
        std::vector<tTacheFull> out;
        CBdD db;
        SQLite::MyTablePtr t = db.Query(
            QStringLiteral("select Id from Taches where Deleted=0 and Debut>=%1 order by Debut, Id").arg(from));
        for (int r = 0; t && r < t->rowCount(); ++r) {
            tTacheFull e;
            db.GetTimeEntry(t->GetCell(r, 0).toInt(), e);
            out.push_back(e);
        }
        return out;
    }

    std::vector<std::vector<int>> menus;
    QStringList menuTitles;
    int choose = 0; // the command the next menu answers
};

} // namespace

TEST_F(WeekCommandsTest, TheContextMenuFitsWhatWasClicked)
{
    const int finished = saveEntry(at(Monday, 9, 0), at(Monday, 10, 0));
    const int running = saveEntry(at(Today, 8, 0), 0);
    show();
    const std::vector<int> common = {32899, 32900, 32902, 0, 32967, 0, 32910, 32904, 32906};
    const auto with = [&common](int first) {
        std::vector<int> ids = {first, 0};
        ids.insert(ids.end(), common.begin(), common.end());
        return ids;
    };

    rightClick(point(1, 14)); // empty grid
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus.back(), common);
    EXPECT_EQ(host.selectedId, -1);
    EXPECT_EQ(menuTitles.first(), QStringLiteral("Ajouter une tâche"));

    rightClick(point(0, 9, 30));
    EXPECT_EQ(menus.back(), with(32997));
    EXPECT_EQ(host.selectedId, finished);

    rightClick(point(3, 9));
    EXPECT_EQ(menus.back(), with(32921));
    EXPECT_EQ(host.selectedId, running);
    EXPECT_EQ(menuTitles.first(), QStringLiteral("Terminer la tâche"));

    // A right drag of 3 pixels pans; the ruler and the header have no menu.
    rightClick(point(1, 14), QPoint(0, 3));
    rightClick(QPoint(30, 300));
    rightClick(QPoint(500, 20));
    EXPECT_EQ(menus.size(), 3u);

    // The chosen command runs: the running entry ends.
    choose = 32921;
    rightClick(point(3, 9));
    EXPECT_EQ(host.pauses, 1);
}

TEST_F(WeekCommandsTest, CutMovesTheEntryOnceAndCopyPastesAsOften)
{
    const int id = saveEntry(at(Monday, 9, 0), at(Monday, 10, 30), -1, -1, QStringLiteral("Revue"));
    show();
    // Cut, then paste from the menu at the clicked time, unsnapped.
    config.snapToGrid = true;
    click(point(0, 9, 30));
    view().OnCommand(EntryMenus::Cut);
    host.dialogAnswers = {storeIt, storeIt, storeIt};
    choose = EntryMenus::Paste;
    rightClick(point(2, 14, 7));
    ASSERT_EQ(host.dialogs.size(), 1u);
    EXPECT_EQ(host.dialogs[0].entry.Id, id);
    tTacheFull moved;
    ASSERT_TRUE(readEntry(id, moved));
    EXPECT_EQ(moved.Debut, at(Monday.addDays(2), 14, 7));
    EXPECT_EQ(moved.Fin, at(Monday.addDays(2), 15, 37));
    EXPECT_EQ(liveEntryCount(), 1);
    // A cut pastes once.
    EXPECT_FALSE(view().IsCommandEnabled(EntryMenus::Paste));

    // Copy, then Ctrl+V twice: two new rows at the entry's own time on the
    // current date.
    click(point(2, 14, 30));
    QTest::keyClick(&view(), Qt::Key_C, Qt::ControlModifier);
    host.current = Monday.addDays(4);
    QTest::keyClick(&view(), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(&view(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(liveEntryCount(), 3);
    const std::vector<tTacheFull> copies = entriesFrom(at(Monday.addDays(4), 0, 0));
    ASSERT_EQ(copies.size(), 2u);
    for (const tTacheFull &copy : copies) {
        EXPECT_NE(copy.Id, id);
        EXPECT_EQ(copy.Debut, at(Monday.addDays(4), 14, 7));
        EXPECT_EQ(copy.Fin, at(Monday.addDays(4), 15, 37));
        EXPECT_EQ(copy.Title, QStringLiteral("Revue"));
    }
    EXPECT_TRUE(view().IsCommandEnabled(EntryMenus::Paste));

    // A cut whose dialog is cancelled stays in the clipboard.
    click(point(2, 14, 30));
    QTest::keyClick(&view(), Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(&view(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(view().IsCommandEnabled(EntryMenus::Paste));

    // A running entry copied and pasted at a grid point: the dialog gets
    // that start and no end, still running.
    saveEntry(at(Today, 8, 0), 0);
    vp()->grab();
    click(point(3, 8, 30));
    view().OnCommand(EntryMenus::Copy);
    const size_t asked = host.dialogs.size();
    rightClick(point(1, 11, 20));
    ASSERT_EQ(host.dialogs.size(), asked + 1);
    EXPECT_EQ(host.dialogs.back().entry.Id, -1);
    EXPECT_EQ(host.dialogs.back().entry.Debut, at(Monday.addDays(1), 11, 20));
    EXPECT_EQ(host.dialogs.back().entry.Fin, 0);
}

TEST_F(WeekCommandsTest, EntryCommandsActOnTheSelectedEntry)
{
    const int id = saveEntry(at(Monday, 9, 0), at(Monday, 10, 0), -1, -1, QStringLiteral("Revue"));
    show();
    EXPECT_FALSE(view().IsCommandEnabled(EntryMenus::Edit));
    click(point(0, 9, 30));
    EXPECT_TRUE(view().IsCommandEnabled(EntryMenus::Edit));

    host.dialogAnswers = {[](tTacheFull &) { return true; }};
    view().OnCommand(EntryMenus::Edit);
    ASSERT_EQ(host.dialogs.size(), 1u);
    EXPECT_EQ(host.dialogs[0].mode, CTimeEntryHost::EditEntry);
    EXPECT_EQ(host.refreshes, 1);

    // Resume now: a copy runs from now.
    view().OnCommand(EntryMenus::Resume);
    ASSERT_EQ(host.started.size(), 1u);
    EXPECT_EQ(host.started[0].entry.Id, -1);
    EXPECT_EQ(host.started[0].entry.Debut, at(Today, 10, 0));
    EXPECT_EQ(host.started[0].entry.Fin, 0);
    EXPECT_EQ(host.started[0].entry.Title, QStringLiteral("Revue"));
    EXPECT_EQ(host.started[0].favoriteId, -1);

    // A favourite once; the second time it exists.
    MessageBoxAnswers answers;
    answers.Push(MessageBoxAnswer::Ok);
    view().OnCommand(EntryMenus::SaveAsFavorite);
    EXPECT_TRUE(answers.AskedBoxes().empty());
    view().OnCommand(EntryMenus::SaveAsFavorite);
    ASSERT_EQ(answers.AskedBoxes().size(), 1u);
    EXPECT_EQ(answers.AskedBoxes()[0].text, Platform::Texts::get(472));
    EXPECT_EQ(answers.AskedBoxes()[0].caption, Platform::Texts::get(222));

    // Delete: the dialog in its delete mode; after OK nothing is selected.
    host.dialogAnswers = {[](tTacheFull &e) { return CBdD().DeleteTimeEntry(e.Id); }};
    view().setFocus();
    QTest::keyClick(&view(), Qt::Key_Delete);
    ASSERT_EQ(host.dialogs.size(), 2u);
    EXPECT_EQ(host.dialogs[1].mode, CTimeEntryHost::DeleteEntry);
    EXPECT_EQ(host.selectedId, -1);
    EXPECT_EQ(liveEntryCount(), 0);
    // An entry deleted meanwhile: nothing opens.
    host.selectedId = id;
    view().OnCommand(EntryMenus::Edit);
    EXPECT_EQ(host.dialogs.size(), 2u);
}

TEST_F(WeekCommandsTest, DroppedItemsBecomeEntries)
{
    const int project = saveProject(QStringLiteral("Alpha"), 0x0000FF);
    const int activity = saveActivity(QStringLiteral("Dev"), 0x00FF00);
    Platform::Settings().setInt(u"Calendar", u"", u"Position", 1000); // the evening
    show();
    const CWeekGeometry &g = view().Geometry();
    const auto rowOf = [&g](int h, int m) { return g.GridTop() + (h * 60 + m) * g.hourHeight / 60; };

    // A project at 23:30: until 23:59:59.
    drop(QPoint(65 + 133 + 66, rowOf(23, 30)), {project, DragKind::Project, -2, false});
    std::vector<tTacheFull> rows = entriesFrom(0);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].IdProjet, project);
    EXPECT_EQ(rows[0].Debut, at(Monday.addDays(1), 23, 30));
    EXPECT_EQ(rows[0].Fin, at(Monday.addDays(1), 23, 59, 59));
    EXPECT_FALSE(view().IsDragActive());

    // An activity on the header: running from now; another entry runs, so
    // the overlap question is asked (cancelled: nothing written).
    saveEntry(at(Today, 9, 0), 0);
    drop(QPoint(65 + 3 * 133 + 66, 10), {activity, DragKind::Activity, -2, false});
    ASSERT_EQ(host.overlapQuestions.size(), 1u);
    EXPECT_EQ(host.overlapQuestions[0][0].IdActivite, activity);
    EXPECT_EQ(host.overlapQuestions[0][0].Debut, at(Today, 10, 0));
    EXPECT_EQ(host.overlapQuestions[0][0].Fin, 0);
    EXPECT_EQ(liveEntryCount(), 2);

    // Shift, or the payload's "Dialog", opens the dialog instead.
    drop(QPoint(65 + 66, rowOf(20, 0)), {project, DragKind::Project, -2, false}, Qt::ShiftModifier);
    drop(QPoint(65 + 66, rowOf(21, 0)), {activity, DragKind::Activity, -2, true});
    ASSERT_EQ(host.dialogs.size(), 2u);
    EXPECT_EQ(host.dialogs[0].entry.Debut, at(Monday, 20, 0));
    EXPECT_EQ(host.dialogs[0].entry.Fin, at(Monday, 21, 0));
    EXPECT_EQ(host.dialogs[1].entry.IdActivite, activity);
    EXPECT_EQ(liveEntryCount(), 2);
}

TEST_F(WeekCommandsTest, APayloadThatIsNotOursIsRefused)
{
    const int project = saveProject(QStringLiteral("Alpha"), 0x0000FF);
    show();
    const QPoint p = point(1, 10);
    const QStringList texts = {QString(), QStringLiteral("%1\nfav\nAuto\n").arg(project),
                               QStringLiteral("%1\n").arg(project), QStringLiteral("x\nProj\nAuto\n"),
                               QStringLiteral("%1\nProjAct\n").arg(project)};
    for (const QString &text : texts) {
        SCOPED_TRACE(text.toStdString());
        QMimeData data;
        if (!text.isNull())
            data.setData(DragPayloadMimeType(), text.toUtf8());
        QDragMoveEvent over(p, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier, QEvent::DragMove);
        QCoreApplication::sendEvent(vp(), &over);
        EXPECT_FALSE(over.isAccepted());
        EXPECT_FALSE(view().IsDragActive());
        dragEvent(QEvent::Drop, p, &data);
    }
    // A project deleted meanwhile: nothing.
    CBdD().Execute(QStringLiteral("update Projets set Deleted=1 where Id=%1").arg(project));
    drop(p, {project, DragKind::Project, -2, false});
    EXPECT_EQ(liveEntryCount(), 0);
    EXPECT_TRUE(host.dialogs.empty());
}

TEST_F(WeekCommandsTest, ADragOverShowsAnHourAndScrollsNearTheBottom)
{
    const int project = saveProject(QStringLiteral("Alpha"), 0x0000FF);
    show();
    std::unique_ptr<QMimeData> data(MakeDragPayload({project, DragKind::Project, -2, false}));
    dragEvent(QEvent::DragEnter, point(1, 10), data.get());
    EXPECT_TRUE(view().IsDragActive());
    EXPECT_EQ(view().CurrentEntry().Debut, at(Monday.addDays(1), 10, 0));
    EXPECT_EQ(view().CurrentEntry().Fin, at(Monday.addDays(1), 11, 0));
    dragEvent(QEvent::DragMove, QPoint(300, Height - 5), data.get());
    EXPECT_TRUE(view().IsScrollingHours());
    const int pos = view().Geometry().scrollPos;
    view().OnTimer(CWeekCtrl::ScrollTimerId);
    EXPECT_EQ(view().Geometry().scrollPos, pos + 1);
    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(vp(), &leave);
    EXPECT_FALSE(view().IsDragActive());
    EXPECT_FALSE(view().IsScrollingHours());
}

// A favourite goes to the top of the favourites only when its drop stored
// an entry: a cancelled overlap question or entry dialog leaves its order.
TEST_F(WeekCommandsTest, AFavouriteDropThatStoresNothingLeavesItsOrderAlone)
{
    const int project = saveProject(QStringLiteral("Alpha"), 0x0000FF);
    int favourite = -1;
    ASSERT_EQ(CBdD().AddFavorite(-1, project, -1, -1, QStringLiteral("Revue"), &favourite), CBdD::FavoriteDone);
    CBdD().Execute(QStringLiteral("update Favoris set Ordre=5 where Id=%1").arg(favourite));
    const auto order = [favourite] {
        SQLite::MyTablePtr t = CBdD().Query(QStringLiteral("select Ordre from Favoris where Id=%1").arg(favourite));
        return t.hasRows() ? t->GetCell(0, 0).toLongLong() : -1;
    };
    saveEntry(at(Monday.addDays(1), 9, 0), at(Monday.addDays(1), 11, 0));
    show();
    const DragInfo info{favourite, DragKind::Favorite, -2, false};

    host.overlapAnswers = {CTimeEntryHost::Cancelled};
    drop(point(1, 10), info);
    EXPECT_EQ(host.overlapQuestions.size(), 1u);
    host.dialogAnswers = {[](tTacheFull &) { return false; }};
    drop(point(1, 14), info, Qt::ShiftModifier);
    EXPECT_EQ(host.dialogs.size(), 1u);
    EXPECT_EQ(liveEntryCount(), 1);
    EXPECT_EQ(order(), 5);

    drop(point(2, 14), info);
    EXPECT_EQ(liveEntryCount(), 2);
    EXPECT_EQ(order(), Platform::Clock::now());
}
