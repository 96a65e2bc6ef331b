// The favourites and history lists without a window: folding, tree lines,
// row heights, the view kept across reloads and the hover text.
#include "CTrayProjectStore.h"
#include "FavouritesListModel.h"
#include "TrayTexts.h"

#include <gtest/gtest.h>

namespace {

DataItems header(const char *text, int level, int id)
{
    DataItems d;
    d.State = DataItems::ExpandedGroup;
    d.Text = QString::fromUtf8(text);
    d.Level = level;
    d.Id = id;
    return d;
}

DataItems entry(const char *text, int level, int id, int project = -1, int activity = -1)
{
    DataItems d;
    d.Text = QString::fromUtf8(text);
    d.Level = level;
    d.Id = id;
    d.IdProject = project;
    d.IdActivite = activity;
    return d;
}

// Grouped by projects, records 0..6:
//   Client A / Site / e1, (untitled 2) ; Client A / e3 ; Client B / e4
std::vector<DataItems> tree()
{
    return {header("Client A", 0, 10), header("Site", 1, 11), entry("e1", 2, 1), entry("", 2, 2),
            entry("e3", 1, 3),         header("Client B", 0, 20), entry("e4", 1, 4)};
}

FavouritesListModel grouped(std::vector<DataItems> records = tree())
{
    FavouritesListModel m(true);
    m.SetSortMode(1);
    m.SetRecords(std::move(records));
    return m;
}

// The ids of the rows shown, headers negated.
std::vector<int> shown(const FavouritesListModel &m)
{
    std::vector<int> ids;
    for (int row = 0; row < m.RowCount(); ++row)
        ids.push_back(m.IsHeader(row) ? -m.RowItem(row).Id : m.RowItem(row).Id);
    return ids;
}

TEST(FavouritesListModelTest, FoldingHidesTheSubtreeAndUnfoldingKeepsNestedFoldedGroupsFolded)
{
    FavouritesListModel m = grouped();
    EXPECT_EQ(shown(m), (std::vector<int>{-10, -11, 1, 2, 3, -20, 4}));
    ASSERT_TRUE(m.ToggleGroup(1)); // Site
    EXPECT_EQ(shown(m), (std::vector<int>{-10, -11, 3, -20, 4}));
    ASSERT_TRUE(m.ToggleGroup(0)); // Client A
    EXPECT_EQ(shown(m), (std::vector<int>{-10, -20, 4}));
    ASSERT_TRUE(m.ToggleGroup(0));
    EXPECT_EQ(shown(m), (std::vector<int>{-10, -11, 3, -20, 4}));
    ASSERT_TRUE(m.ToggleGroup(1));
    EXPECT_EQ(shown(m), (std::vector<int>{-10, -11, 1, 2, 3, -20, 4}));
    // Entries and rows out of range do not fold.
    EXPECT_FALSE(m.ToggleGroup(2));
    EXPECT_FALSE(m.ToggleGroup(-1));
    EXPECT_FALSE(m.ToggleGroup(7));
    // A header is never started; an entry starts its favourite.
    EXPECT_EQ(m.StartId(0), -1);
    EXPECT_EQ(m.StartId(2), 1);
    EXPECT_EQ(m.StartId(7), -1);
}

TEST(FavouritesListModelTest, TreeLinesJoinSiblingsAndCrossTheRowsOfLaterAncestorSiblings)
{
    const FavouritesListModel m = grouped();
    struct Case
    {
        int row;
        bool last;
        std::vector<int> passing;
    };
    const Case cases[] = {
        {0, false, {}},  // Client A: Client B follows at level 0
        {1, false, {}},  // Site: e3 follows at level 1
        {2, false, {1}}, // e1: its sibling follows; Site's line goes on to e3
        {3, true, {1}},  // the untitled one is Site's last
        {4, true, {}},   // e3 is Client A's last
        {5, true, {}},
        {6, true, {}},
    };
    for (const Case &c : cases) {
        const FavouritesListModel::tTreeLines lines = m.TreeLines(c.row);
        EXPECT_EQ(lines.last, c.last) << c.row;
        EXPECT_EQ(lines.passing, c.passing) << c.row;
    }
    // Folded, Site's rows are gone and it becomes a leaf with a sibling.
    FavouritesListModel folded = grouped();
    folded.ToggleGroup(1);
    EXPECT_FALSE(folded.TreeLines(1).last);
    // The flat order draws no tree.
    FavouritesListModel flat = grouped();
    flat.SetSortMode(0);
    EXPECT_TRUE(flat.TreeLines(2).passing.empty());
}

TEST(FavouritesListModelTest, RowHeightsFollowTheKindAndTheFontAndRowsAreFoundByPosition)
{
    FavouritesListModel m = grouped();
    m.SetLineHeight(14);
    EXPECT_EQ(m.RowHeight(0), 22);
    EXPECT_EQ(m.RowHeight(2), 34); // titled
    EXPECT_EQ(m.RowHeight(3), 22); // untitled
    EXPECT_EQ(m.RowTop(3), 22 + 22 + 34);
    EXPECT_EQ(m.RowAt(0), 0);
    EXPECT_EQ(m.RowAt(21), 0);
    EXPECT_EQ(m.RowAt(22), 1);
    EXPECT_EQ(m.RowAt(m.TotalHeight() - 1), 6);
    EXPECT_EQ(m.RowAt(m.TotalHeight()), -1);
    EXPECT_EQ(m.RowAt(-1), -1);
    // Flat: label lines of their own.
    m.SetSortMode(0);
    EXPECT_EQ(m.RowHeight(2), 48);
    EXPECT_EQ(m.RowHeight(3), 34);
    // A larger font never squeezes its lines.
    m.SetLineHeight(20);
    EXPECT_EQ(m.RowHeight(2), 64);
    EXPECT_EQ(m.RowTop(1), 24);
    FavouritesListModel history;
    history.SetHistoryCount(3);
    EXPECT_EQ(history.RowCount(), 3);
    EXPECT_EQ(history.StartId(2), 2);
    EXPECT_FALSE(history.IsHeader(0));
}

TEST(FavouritesListModelTest, TheKeptViewFoldsByRecordPositionAndFindsTheTopRowAgain)
{
    FavouritesListModel m = grouped();
    m.ToggleGroup(1); // Site folded; rows: A, Site, e3, B, e4
    FavouritesListModel::tViewState state = m.CaptureView(2);
    EXPECT_FALSE(state.firstIsHeader);
    EXPECT_EQ(state.firstId, 3);
    EXPECT_EQ(state.collapsed, (std::set<int>{1}));

    FavouritesListModel again = grouped();
    EXPECT_EQ(again.RestoreView(state), 2);
    EXPECT_EQ(shown(again), (std::vector<int>{-10, -11, 3, -20, 4}));

    // Positions, not ids: after a favourite came first, position 1 is
    // Client A, which folds instead of Site; a top row gone gives none.
    std::vector<DataItems> moved = tree();
    moved.insert(moved.begin(), entry("new", 0, 9));
    FavouritesListModel shifted = grouped(moved);
    state.firstId = 77;
    EXPECT_EQ(shifted.RestoreView(state), -1);
    EXPECT_EQ(shown(shifted), (std::vector<int>{9, -10, -20, 4}));

    // A folded group inside a folded one is not a row: kept is only the
    // outer one, so the inner one shows unfolded once the outer opens.
    FavouritesListModel nested = grouped();
    nested.ToggleGroup(1);
    nested.ToggleGroup(0);
    const FavouritesListModel::tViewState outer = nested.CaptureView(0);
    EXPECT_EQ(outer.collapsed, (std::set<int>{0}));
    EXPECT_TRUE(outer.firstIsHeader);
    EXPECT_EQ(outer.firstId, 10);
    FavouritesListModel reloaded = grouped();
    reloaded.RestoreView(outer);
    EXPECT_EQ(shown(reloaded), (std::vector<int>{-10, -20, 4}));
    reloaded.ToggleGroup(0);
    EXPECT_EQ(shown(reloaded), (std::vector<int>{-10, -11, 1, 2, 3, -20, 4}));

    // An empty list keeps nothing.
    EXPECT_EQ(FavouritesListModel(true).CaptureView(0), FavouritesListModel::tViewState());
}

TEST(FavouritesListModelTest, TheStoredFoldedPositionsAreReadUpToTheFirstEmptyItemAndBadOnesSkipped)
{
    struct Case
    {
        const char *text;
        std::set<int> expected;
    };
    const Case cases[] = {
        {"3;7;", {3, 7}},
        {"", {}},
        {"a;;-3;99999;", {}},
        {"4;a;5;;6;", {4, 5}},
        {"8", {}},
        {"2;-1;99999;", {2, 99999}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FavouritesListModel::ParseCollapsed(QString::fromUtf8(c.text)), c.expected) << c.text;
    EXPECT_EQ(FavouritesListModel::CollapsedText({7, 3}), QStringLiteral("3;7;"));
    // Positions beyond the records fold nothing and break nothing.
    FavouritesListModel m = grouped();
    FavouritesListModel::tViewState state;
    state.collapsed = {99999, 2};
    EXPECT_EQ(m.RestoreView(state), -1);
    EXPECT_EQ(m.RowCount(), 7);
}

TEST(FavouritesListModelTest, TheHoverTextNamesProjectActivityAndTitleAndNothingForAHeader)
{
    CTrayProjectStore store;
    tElement project;
    project.Id = 32;
    project.Nom = QStringLiteral("Client & fils");
    store.Store().AddProject(project, store.Store().GetRoot(), QString());
    const TrayTexts texts;
    FavouritesListModel m = grouped({header("Client", 0, 32), entry("Réunion", 1, 5, 32, 7), entry("", 1, 6, 99)});
    EXPECT_EQ(m.HoverText(0, store, texts), QString());
    EXPECT_EQ(m.HoverText(1, store, texts),
              QStringLiteral("Projet : Client & fils\nActivité : <Activité non définie>\nTitre : Réunion\n\n"
                             "(Cliquez pour reprendre maintenant)"));
    EXPECT_EQ(m.HoverText(2, store, texts),
              QStringLiteral("Projet : <Projet non défini>\nActivité : <Activité non définie>\n\n"
                             "(Cliquez pour reprendre maintenant)"));
    EXPECT_EQ(m.HoverText(3, store, texts), QString());

    // History rows name their recent combination; one past it has none.
    store.Store().AppendHistory(32, -1, -1);
    FavouritesListModel history;
    history.SetHistoryCount(2);
    EXPECT_TRUE(history.HoverText(0, store, texts).startsWith(QStringLiteral("Projet : Client & fils\n")));
    EXPECT_EQ(history.HoverText(1, store, texts), QString());
}

} // namespace
