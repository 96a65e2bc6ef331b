#include "ForecastGridCells.h"
#include "ForecastGridModel.h"
#include "ForecastSettings.h"
#include "PlanningFixture.h"
#include "Settings.h"

#include <map>

namespace {

// The grid's rows over a store of
//   A (1) { A1 (11) { A11 (111) }, activity X (5) }
//   B (2)
//   C (3, completed) { C1 (31) }
//   D (4, inactive)
// with the database, the scheduler and the users database replaced by
// recorders.
class ForecastGridModelTest : public PlanningFixture
{
protected:
    void SetUp() override
    {
        PlanningFixture::SetUp();
        add(1, QStringLiteral("A"), -1);
        add(11, QStringLiteral("A1"), 1);
        add(111, QStringLiteral("A11"), 11);
        activity(1, 5, QStringLiteral("X"));
        add(2, QStringLiteral("B"), -1);
        add(3, QStringLiteral("C"), -1, Completed);
        add(31, QStringLiteral("C1"), 3);
        add(4, QStringLiteral("D"), -1, Inactive);

        ForecastGridModel::tData &data = model.Data();
        data.reloadProjects = [this] { ++reloads; };
        data.readForecastChanges = [this] { ++reads; return dataChanged; };
        data.computeForecast = [this] {
            ++runs;
            return nextRun;
        };
        data.realTime = [this] { return realTime; };
        data.readUserSettings = [this](QStringList &names) {
            for (QString &name : names)
                name = userSettings.count(name) ? userSettings[name] : QString();
            return true;
        };
        data.writeUserSettings = [this](const QStringList &names, const QStringList &values) {
            ++userWrites;
            for (qsizetype i = 0; i < names.size(); ++i)
                userSettings[names[i]] = values[i];
            return true;
        };
        data.showWarning = [this](const QString &warning) {
            warnings << warning;
            // A refresh while the box is open does nothing.
            const ForecastGridModel::tRefreshResult inner = model.Refresh(true, false, true, true, true);
            EXPECT_EQ(inner, ForecastGridModel::tRefreshResult());
        };
        model.Refresh(false, true, false, true, true);
    }

    // The rows as names, the collapsed ones marked "+", the unticked "-".
    std::string rows() const
    {
        std::string text;
        for (int r = 0; r < model.RowCount(); ++r) {
            const ForecastGridModel::CTreeItem *item = model.Item(r);
            text += text.empty() ? "" : " ";
            text += model.IsTotalRow(item) ? std::string("T")
                                           : ForecastGridCells::CellText(0, *item->node, false).toStdString();
            if (item->collapsed)
                text += "+";
            if (item->check != 1)
                text += "-";
        }
        return text;
    }
    ForecastGridModel::CTreeItem *item(int projectId, int activityId = -2) const
    {
        return model.Item(model.FindRow(projectId, activityId));
    }

    ForecastGridModel model{&store};
    int reloads = 0, reads = 0, runs = 0, userWrites = 0;
    bool dataChanged = false;
    bool realTime = false;
    tForecastRun nextRun;
    QStringList warnings;
    std::map<QString, QString> userSettings;
};

} // namespace

TEST_F(ForecastGridModelTest, TheTreeUnderTheTotalRowInTheStoresOrder)
{
    EXPECT_EQ(rows(), "T A A1 A11 X B C C1 D");
    EXPECT_EQ(model.Item(0)->depth, 1);
    EXPECT_EQ(item(111)->depth, 4);
    const tTreeRowShape shape = model.RowShape(model.FindRow(111));
    EXPECT_EQ(shape.depth, 4);
    EXPECT_FALSE(shape.hasLaterSibling);
    // A1 has the activity after it; A has B after it; the total row none.
    EXPECT_EQ(shape.ancestorHasLaterSibling, (std::vector<bool>{false, true, true}));
    EXPECT_TRUE(model.ToggleExpanded(item(11)));
    EXPECT_EQ(rows(), "T A A1+ X B C C1 D");
    EXPECT_FALSE(model.ToggleExpanded(item(2)));
}

TEST_F(ForecastGridModelTest, FiltersHideSubtrees)
{
    // Hiding completed and inactive nodes hides what lies below them.
    model.hideCompleted = true;
    model.ApplyFilter();
    EXPECT_EQ(rows(), "T A A1 A11 X B D");
    model.hideInactive = true;
    model.ApplyFilter();
    EXPECT_EQ(rows(), "T A A1 A11 X B");

    // Only the ticked rows: an unticked project goes with its subtree.
    model.hideCompleted = model.hideInactive = false;
    model.hidden = ForecastGridModel::HiddenKey(1, -2) + ForecastGridModel::HiddenKey(31, -2) + u';';
    model.filterMode = 1;
    model.ApplyFilter();
    EXPECT_EQ(rows(), "T B C D");
    // Shown, a listed row is unticked, unless a row below it is ticked.
    model.filterMode = 0;
    model.ApplyFilter();
    EXPECT_EQ(rows(), "T A A1 A11 X B C C1- D");
}

TEST_F(ForecastGridModelTest, TickingRowsUnticksDownAndTicksUp)
{
    model.filterMode = 2;
    model.ApplyFilter();
    model.ToggleCheck(item(1));
    EXPECT_EQ(rows(), "T A- A1- A11- X- B C C1 D");
    EXPECT_EQ(model.hidden, QStringLiteral(";1,-2;11,-2;111,-2;1,5;"));
    model.ToggleCheck(item(111));
    EXPECT_EQ(rows(), "T A A1 A11 X- B C C1 D");
    EXPECT_EQ(model.hidden, QStringLiteral(";1,5;"));
    model.ToggleCheck(item(1));
    model.SelectChildren(item(11));
    EXPECT_EQ(rows(), "T A A1 A11 X- B C C1 D");

    // Rows left out by a filter leave the list at the next change.
    model.ToggleCheck(item(3));
    EXPECT_TRUE(model.IsHidden(31, -2));
    model.hideCompleted = true;
    model.ApplyFilter();
    model.ToggleCheck(item(2));
    model.ToggleCheck(item(2));
    EXPECT_FALSE(model.IsHidden(3, -2));
    EXPECT_FALSE(model.IsHidden(31, -2));
    EXPECT_TRUE(model.IsHidden(1, 5));
}

TEST_F(ForecastGridModelTest, HeaderClicksCycleAndMenusToggle)
{
    // Priorities of A, B, C, D: 2, 1, 2, 1 (a tie on each side).
    for (const auto &[id, priority] : std::map<int, int>{{1, 2}, {2, 1}, {3, 2}, {4, 1}}) {
        tForecast f = store.GetNode(id)->Forecast();
        f.Priority = priority;
        store.SetForecast(f);
    }
    model.ApplyFilter();
    const auto top = [this] {
        std::string text;
        for (const auto &child : model.Root()->children)
            text += child->node->Element().Nom.toStdString();
        return text;
    };
    model.SortOn(2, true);
    // Not stable: equal keys come out of this quicksort in its own order.
    EXPECT_EQ(top(), "DBCA");
    EXPECT_EQ(model.SortId(), 2);
    EXPECT_TRUE(model.Ascending());
    model.SortOn(2, true);
    EXPECT_EQ(top(), "ACBD");
    EXPECT_FALSE(model.Ascending());
    model.SortOn(2, true);
    EXPECT_EQ(top(), "ABCD");
    EXPECT_EQ(model.SortId(), -1);
    EXPECT_EQ(ForecastSettings::ReadInt(ForecastSettings::Sorting, 99), -1);

    // From a menu: ascending and descending only.
    model.SortOn(2, false);
    model.SortOn(2, false);
    model.SortOn(2, false);
    EXPECT_EQ(model.SortId(), 2);
    EXPECT_TRUE(model.Ascending());
    EXPECT_EQ(ForecastSettings::ReadInt(ForecastSettings::Sorting, 99), 2);
    // The store's order turned, and ids outside 0..16 are the store's order.
    model.SortOn(17, true);
    EXPECT_EQ(model.SortId(), -1);
    model.SortOn(-1, true);
    EXPECT_EQ(top(), "DCBA");
    // By name, by character code: capitals first.
    store.GetNode(2)->Element().Nom = QStringLiteral("b");
    model.SortOn(0, true);
    EXPECT_EQ(top(), "ACDb");
}

TEST_F(ForecastGridModelTest, RefreshDoesWhatTheChangeAsks)
{
    struct Case
    {
        const char *what;
        bool reload, restoreSaved, recompute;
        bool storeChanged, dataChanged, realTime;
        int sortId;
        bool reloaded;
        ForecastGridModel::tRefreshResult result;
    };
    const Case cases[] = {
        {"idle timer", false, false, false, false, false, false, -1, false, {false, false, false}},
        {"idle, sorted by remaining work", false, false, false, false, false, false, 12, false,
         {false, false, true}},
        {"idle, real time", false, false, false, false, false, true, -1, false, {false, true, false}},
        {"idle, real time, sorted by end", false, false, false, false, false, true, 8, false,
         {false, true, true}},
        {"recompute", false, false, true, false, false, false, 3, false, {false, true, false}},
        {"reload", true, false, false, false, false, false, -1, true, {true, false, true}},
        {"reload, real time", true, false, false, false, false, true, -1, true, {true, true, true}},
        {"store changed", false, false, false, true, false, false, -1, false, {true, false, true}},
        {"forecast rows changed", false, false, false, false, true, false, -1, false, {false, false, true}},
        {"forecast rows changed, recompute", false, false, true, false, true, false, -1, false,
         {false, true, true}},
    };
    for (const Case &c : cases) {
        model.SetSort(c.sortId, true);
        realTime = c.realTime;
        dataChanged = c.dataChanged;
        if (c.storeChanged)
            store.Touch();
        reloads = runs = 0;
        EXPECT_EQ(model.Refresh(c.reload, c.restoreSaved, c.recompute, true, true), c.result) << c.what;
        EXPECT_EQ(reloads, c.reloaded ? 1 : 0) << c.what;
        EXPECT_EQ(runs, c.result.scheduled ? 1 : 0) << c.what;
    }
    // Hidden: nothing but the change check, unless reloading.
    store.Touch();
    EXPECT_EQ(model.Refresh(false, false, true, true, false), ForecastGridModel::tRefreshResult());
    EXPECT_TRUE(model.IsStale());
}

TEST_F(ForecastGridModelTest, TwoChangesInOneSecondAreBothShown)
{
    tElement b = store.GetNode(2)->Element();
    b.Nom = QStringLiteral("B2");
    store.UpdateProject(b);
    EXPECT_TRUE(model.IsStale());
    EXPECT_TRUE(model.Refresh(false, false, false, true, true).rebuilt);
    EXPECT_EQ(rows(), "T A A1 A11 X B2 C C1 D");
    b.Nom = QStringLiteral("B3");
    store.UpdateProject(b); // same second on the fixed clock
    EXPECT_TRUE(model.Refresh(false, false, false, true, true).rebuilt);
    EXPECT_EQ(rows(), "T A A1 A11 X B3 C C1 D");
}

TEST_F(ForecastGridModelTest, TheSchedulersWarningShowsAtTheEndOnce)
{
    nextRun.ran = true;
    nextRun.timedOut = true;
    model.Refresh(false, false, true, true, true);
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_EQ(warnings[0], nextRun.Warning());
    nextRun = tForecastRun();
    model.Refresh(false, false, true, true, true);
    EXPECT_EQ(warnings.size(), 1);
}

TEST_F(ForecastGridModelTest, TheSelectionKeepsItsRowAndItsDistanceFromTheTop)
{
    // A viewport of 3 rows starting at A1, B selected two rows below it.
    model.SetViewport(2, 3, model.FindRow(2));
    model.ToggleExpanded(item(3));
    model.SetViewport(2, 3, model.FindRow(2));
    store.Touch();
    model.Refresh(false, false, false, true, true);
    EXPECT_EQ(model.SelectedRow(), model.FindRow(2));
    EXPECT_EQ(model.TakeFirstRowRequest(), model.FindRow(2) - 3);
    EXPECT_EQ(rows(), "T A A1 A11 X B C+ D");

    // The selected row gone: the anchor (the first row shown) holds.
    store.ClearPart(0);
    add(1, QStringLiteral("A"), -1);
    add(11, QStringLiteral("A1"), 1);
    add(111, QStringLiteral("A11"), 11);
    model.SetViewport(2, 3, model.FindRow(2));
    model.Refresh(false, false, false, true, true);
    EXPECT_EQ(model.SelectedRow(), -1);
    EXPECT_EQ(model.TakeFirstRowRequest(), 2);
    // The anchor gone as well: its neighbour.
    model.SetViewport(3, 3, -1);
    model.SaveViewState();
    store.ClearPart(0);
    add(1, QStringLiteral("A"), -1);
    add(11, QStringLiteral("A1"), 1);
    model.RestoreViewState(true);
    model.BuildTree();
    model.RestoreViewState(true);
    EXPECT_EQ(model.TakeFirstRowRequest(), 2);
}

TEST_F(ForecastGridModelTest, TheLayoutIsKeptPerUser)
{
    model.ToggleExpanded(item(11));
    model.filterMode = 2;
    model.ApplyFilter();
    model.ToggleCheck(item(2));
    // A shown first, B selected three rows below it.
    model.SetViewport(1, 4, model.FindRow(2));
    model.SaveSettings();
    EXPECT_EQ(userWrites, 1);
    EXPECT_EQ(userSettings[QStringLiteral("ForecastGrid Collapsed")], QStringLiteral("11|"));
    EXPECT_EQ(userSettings[QStringLiteral("ForecastGrid Hidden")], QStringLiteral(";2,-2;"));
    EXPECT_EQ(userSettings[QStringLiteral("ForecastGrid Pos")],
              QStringLiteral("1;-2;0|11;-2;0|-1;-1;0|2;-2;3|"));
    EXPECT_EQ(ForecastSettings::ReadInt(ForecastSettings::FilterMode, -1), 2);

    ForecastGridModel again(&store);
    again.SetData(model.Data());
    again.Refresh(false, false, false, true, true);
    EXPECT_EQ(again.filterMode, 2);
    EXPECT_TRUE(again.IsHidden(2, -2));
    EXPECT_TRUE(again.Item(again.FindRow(11))->collapsed);
    EXPECT_EQ(again.SelectedRow(), again.FindRow(2));
    EXPECT_EQ(again.TakeFirstRowRequest(), again.FindRow(2) - 3);
}

TEST(ForecastGridModelSettings, BadStoredValuesResetOnlyThemselves)
{
    struct Case
    {
        const char *pos;
        ForecastGridModel::tRowRef anchor, neighbour1, neighbour2, selection;
    };
    const ForecastGridModel::tRowRef none{-1, -1, -1};
    const Case cases[] = {
        {"1;-2;0|2;-2;0|3;-2;0|4;5;2|", {1, -2, 0}, {2, -2, 0}, {3, -2, 0}, {4, 5, 2}},
        {"1;-2|2;-2;0|3;-2;0|4;5;2|", none, {2, -2, 0}, {3, -2, 0}, {4, 5, 2}},
        {"1;-2;0|x;y;z|3;-2;0|", {1, -2, 0}, none, {3, -2, 0}, none},
        {"", none, none, none, none},
        {"||||", none, none, none, none},
        {"1;2;3;4|5;6;7|", none, {5, 6, 7}, none, none},
    };
    for (const Case &c : cases) {
        ForecastGridModel::tViewState state;
        ForecastGridModel::ReadPos(QString::fromLatin1(c.pos), state);
        EXPECT_EQ(state.anchor, c.anchor) << c.pos;
        EXPECT_EQ(state.neighbour1, c.neighbour1) << c.pos;
        EXPECT_EQ(state.neighbour2, c.neighbour2) << c.pos;
        EXPECT_EQ(state.selection, c.selection) << c.pos;
    }
    EXPECT_EQ(ForecastGridModel::ReadCollapsed(QStringLiteral("3|x|12|7")), (std::vector<int>{3, 0, 12}));

    Platform::Settings settings;
    settings.setInt(u"Forecast", u"Forecast", u"Sorting", 17);
    settings.setInt(u"Forecast", u"Forecast", u"Affiche", 3);
    settings.setString(u"Forecast", u"Forecast", u"HideCompleted", QStringLiteral("abc"));
    settings.sync();
    ForecastGridModel model(nullptr);
    model.Data().readUserSettings = [](QStringList &) { return false; };
    model.LoadSettings();
    EXPECT_EQ(model.SortId(), -1);
    EXPECT_EQ(model.filterMode, 0);
    EXPECT_FALSE(model.hideCompleted);
}
