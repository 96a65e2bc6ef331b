// The task pane, built for real offscreen on a user database.
#include "PaneFixture.h"
#include "CClassViewMenuButton.h"
#include "CFavoritesTreeState.h"
#include "CPaneTask.h"
#include "CProjectStore.h"
#include "CViewTree.h"
#include "DragPayload.h"
#include "MyTable.h"
#include "WidgetIds.h"

#include <QAction>
#include <QMenu>
#include <QTest>
#include <QTreeWidgetItem>

namespace {

class TaskPaneTest : public PaneFixture
{
protected:
    void SetUp() override
    {
        PaneFixture::SetUp();
        alpha = saveProject(QStringLiteral("Alpha"));
        beta = saveProject(QStringLiteral("Beta"));
        dev = saveActivity(QStringLiteral("Dev"));
        test = saveActivity(QStringLiteral("Test"));
        reloadStore();
        // Two recent combinations, whatever the entries say.
        app->ProjectStore().SetHistoryLoader([this](CProjectStore &s) {
            s.ClearPart(3);
            s.AppendHistory(alpha, dev, -1);
            s.AppendHistory(beta, test, -1);
        });
    }
    void TearDown() override
    {
        pane.reset();
        PaneFixture::TearDown();
    }
    int addFavorite(int project, int activity, const QString &title)
    {
        int id = -1;
        CBdD db;
        EXPECT_EQ(db.AddFavorite(-1, project, activity, -1, title, &id), CBdD::FavoriteDone);
        return id;
    }
    CPaneTask &makePane()
    {
        pane = std::make_unique<CPaneTask>(*app);
        pane->resize(260, 420);
        pane->show();
        return *pane;
    }
    void select(QTreeWidgetItem *item) { PaneFixture::select(pane->Tree(), item); }
    QTreeWidgetItem *findText(const QString &text) const
    {
        const QList<QTreeWidgetItem *> found = pane->Tree()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }

    int alpha = -1, beta = -1, dev = -1, test = -1;
    std::unique_ptr<CPaneTask> pane;
};

} // namespace

TEST(FavoritesTreeState, StoredTextsGiveTheStateAndDefaultsForWhatIsMissing)
{
    struct Case
    {
        const char *name;
        const char *root, *pos, *collapsed;
        const char *expect; // favourites history | four fields | collapsed
    };
    const Case cases[] = {
        {"written by the pane", "1;0", "4;17;5;2", "3;8;", "10|4 17 5 2|3;8;"},
        {"root without ;", "0", "", "", "11|0 -1 -1 -1|"},
        {"short Pos", "0;1", "4", "", "01|4 -1 -1 -1|"},
        {"garbage", "x;y", "a;b;1", "z;5;q", "11|0 -1 1 -1|5;"},
        {"a number without ;", "", "", "3;8", "11|0 -1 -1 -1|3;"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        CFavoritesTreeState s;
        s.Read(QString::fromLatin1(c.root), QString::fromLatin1(c.pos), QString::fromLatin1(c.collapsed));
        const QString got = QStringLiteral("%1%2|%3 %4 %5 %6|%7")
                                .arg(int(s.favoritesExpanded))
                                .arg(int(s.historyExpanded))
                                .arg(s.firstVisibleKind)
                                .arg(s.firstVisibleData)
                                .arg(s.selectedKind)
                                .arg(s.selectedData)
                                .arg(s.CollapsedText());
        EXPECT_EQ(got, QString::fromLatin1(c.expect));
    }
    CFavoritesTreeState s;
    s.Reset(false);
    EXPECT_EQ(s.RootText(), QStringLiteral("1;1"));
    EXPECT_EQ(s.PosText(), QStringLiteral("0;-1;-1;-1"));
}

TEST_F(TaskPaneTest, TheTreeShowsFavouritesAndRecentEntriesWithTheirKinds)
{
    const int fav = addFavorite(alpha, dev, QStringLiteral("Réunion"));
    makePane();
    ASSERT_EQ(pane->Tree()->topLevelItemCount(), 2);
    EXPECT_EQ(pane->FavoritesRoot()->text(0), QStringLiteral("Favoris"));
    EXPECT_EQ(pane->HistoryRoot()->text(0), QStringLiteral("Historique"));
    ASSERT_EQ(pane->FavoritesRoot()->childCount(), 1);
    EXPECT_EQ(pane->KindOf(pane->FavoritesRoot()->child(0)), CPaneTask::KindFavorite);
    EXPECT_EQ(CViewTree::ItemData(pane->FavoritesRoot()->child(0)), fav);
    ASSERT_EQ(pane->HistoryRoot()->childCount(), 2);
    EXPECT_EQ(pane->KindOf(pane->HistoryRoot()->child(1)), CPaneTask::KindHistory);
    EXPECT_EQ(CViewTree::ItemData(pane->HistoryRoot()->child(1)), 1);

    DragInfo info;
    ASSERT_TRUE(pane->DragInfoOf(pane->FavoritesRoot()->child(0), false, info));
    EXPECT_EQ(DragPayloadText(info), QStringLiteral("%1\nFav\nAuto\n").arg(fav));
    ASSERT_TRUE(pane->DragInfoOf(pane->HistoryRoot()->child(1), true, info));
    EXPECT_EQ(DragPayloadText(info), QStringLiteral("1\nHist\nDialog\n"));
    EXPECT_FALSE(pane->DragInfoOf(pane->HistoryRoot(), false, info));
}

// Choosing the current sort again changes nothing; another one is stored,
// shows its picture and regroups with every group open, whatever the
// state saved at the last exit said of the other grouping.
TEST_F(TaskPaneTest, ChoosingTheSortStoresItAndRegroupsOpen)
{
    addFavorite(alpha, dev, QStringLiteral("Un"));
    addFavorite(beta, test, QStringLiteral("Deux"));
    makePane();
    ASSERT_EQ(pane->SortMode(), 0);
    const int refills = pane->RefillCount();
    pane->Action(CPaneTask::CmdSortByUse)->trigger();
    EXPECT_EQ(pane->RefillCount(), refills);
    EXPECT_FALSE(Platform::Settings().contains(u"Config", u"Favoris", u"Sorting"));

    // The last exit saved project ids as collapsed groups.
    app->Users().SetUserSettings({QStringLiteral("Favoris Collapsed")}, {QStringLiteral("%1;%2;").arg(dev).arg(test)});
    pane->Action(CPaneTask::CmdSortByActivity)->trigger();
    EXPECT_EQ(Platform::Settings().getInt(u"Config", u"Favoris", u"Sorting", -1), 2);
    EXPECT_EQ(pane->SortButton()->icon().cacheKey(), pane->Action(CPaneTask::CmdSortByActivity)->icon().cacheKey());
    EXPECT_TRUE(pane->Action(CPaneTask::CmdSortByActivity)->isChecked());
    EXPECT_EQ(shape(pane->FavoritesRoot()), QStringLiteral("Dev{Un} Test{Deux}"));
    for (int i = 0; i < pane->FavoritesRoot()->childCount(); ++i)
        EXPECT_TRUE(pane->FavoritesRoot()->child(i)->isExpanded());

    // Grouped, a collapsed group is kept; by last use nothing is.
    pane->FavoritesRoot()->child(0)->setExpanded(false);
    pane.reset();
    QStringList stored = {QStringLiteral("Favoris Collapsed")};
    app->Users().GetUserSettings(stored);
    EXPECT_EQ(stored.at(0), QStringLiteral("%1;").arg(dev));
    makePane();
    EXPECT_EQ(pane->SortMode(), 2);
    EXPECT_FALSE(pane->FavoritesRoot()->child(0)->isExpanded());
    pane->Action(CPaneTask::CmdSortByUse)->trigger();
    pane.reset();
    app->Users().GetUserSettings(stored);
    EXPECT_EQ(stored.at(0), QString());
}

// A refresh asked while a task starts from the pane is skipped, and
// exactly one follows the start, keeping the tree as the user left it; a
// group starts nothing.
TEST_F(TaskPaneTest, StartingFromAnItemRefreshesOnceAfterwards)
{
    const int fav = addFavorite(alpha, dev, QStringLiteral("Réunion"));
    makePane();
    pane->HistoryRoot()->setExpanded(false);
    select(pane->FavoritesRoot()->child(0));
    const int refills = pane->RefillCount();
    QTest::mouseDClick(pane->Tree()->viewport(), Qt::LeftButton, {},
                       pane->Tree()->visualItemRect(pane->FavoritesRoot()->child(0)).center());
    EXPECT_EQ(pane->RefillCount(), refills + 1);
    EXPECT_EQ(cell(QStringLiteral("select count(*) from Taches where Fin=0 and IdProjet=%1").arg(alpha)),
              QStringLiteral("1"));
    EXPECT_FALSE(pane->IsBusy());
    EXPECT_FALSE(pane->HistoryRoot()->isExpanded());
    EXPECT_EQ(CViewTree::ItemData(pane->SelectedItem()), fav);

    // Grouped by projects: the group's double click does nothing.
    pane->Action(CPaneTask::CmdSortByProject)->trigger();
    QTreeWidgetItem *group = findText(QStringLiteral("Alpha"));
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(pane->KindOf(group), CPaneTask::KindGroup);
    select(group);
    pane->StartFromItem(false);
    EXPECT_EQ(cell(QStringLiteral("select count(*) from Taches")), QStringLiteral("1"));
}

// Menu 383 on each kind of item.
TEST_F(TaskPaneTest, TheContextMenuOffersWhatEachItemTakes)
{
    addFavorite(alpha, dev, QStringLiteral("Réunion"));
    makePane();
    struct Case
    {
        const char *name;
        QTreeWidgetItem *item;
        const char *expect;
    };
    const Case cases[] = {
        {"favourite", pane->FavoritesRoot()->child(0), "32883 32884 32885 | 32978 32979 32980 | 32997"},
        {"recent", pane->HistoryRoot()->child(0), "32883 32885 32963 | 32978 32979 32980 | 32997"},
        {"favourites branch", pane->FavoritesRoot(), "32883 | 32978 32979 32980"},
        {"nothing", nullptr, "32883 | 32978 32979 32980"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<QMenu> menu = pane->BuildContextMenu(c.item);
        EXPECT_EQ(commandIds(menu.get()), QString::fromLatin1(c.expect));
        for (QAction *action : menu->actions())
            EXPECT_TRUE(action->isSeparator() || !action->text().isEmpty());
    }
}

// Deleting a favourite asks question 12; turning a recent entry into a
// favourite tells one that exists already; failed writes are told.
TEST_F(TaskPaneTest, FavouritesAreDeletedAndMadeFromRecentEntries)
{
    answers->AnswerNotices();
    addFavorite(alpha, dev, QStringLiteral("Réunion"));
    makePane();
    select(pane->FavoritesRoot()->child(0));
    answers->Push(MessageBoxAnswer::Yes);
    QTest::keyClick(pane->Tree(), Qt::Key_Delete);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_TRUE(boxes()[0].text.contains(QStringLiteral("Réunion")));
    EXPECT_TRUE(boxes()[0].text.contains(QStringLiteral("favoris")));
    EXPECT_EQ(pane->FavoritesRoot()->childCount(), 0);
    clearBoxes();

    // The recent entry (Alpha, Dev) becomes a favourite; a second time it
    // exists already: text 472, caption 222.
    select(pane->HistoryRoot()->child(0));
    pane->OnMakeFavorite();
    EXPECT_TRUE(boxes().empty());
    ASSERT_EQ(pane->FavoritesRoot()->childCount(), 1);
    select(pane->HistoryRoot()->child(0));
    pane->Action(CPaneTask::CmdMakeFavorite)->trigger();
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, QStringLiteral("Le favori existe déjà."));
    EXPECT_EQ(boxes()[0].caption, QStringLiteral("Information"));
    clearBoxes();

    select(pane->FavoritesRoot()->child(0));
    answers->Push(MessageBoxAnswer::Yes);
    {
        const HeldFile held(anneDatabase());
        pane->OnDeleteFavorite();
    }
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_EQ(boxes()[1].text, QStringLiteral("Erreur lors de l'écriture dans la base de données."));
    EXPECT_EQ(pane->FavoritesRoot()->childCount(), 1);
}
