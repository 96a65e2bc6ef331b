// The project-tracking window: its layout, the commands' states, the
// context menu, and dragging rows over the tree {A{A1{A11}}, B} with an
// activity row under A and one under A1, over a database of the test's own.
#include "../timeentry/EditorFixture.h"
#include "CForecastGridCtrl.h"
#include "CForecastHost.h"
#include "CGanttCtrl.h"
#include "CSplitterControl.h"
#include "CViewForecast.h"
#include "ForecastSettings.h"
#include "ForecastViewRules.h"
#include "Formatter.h"
#include "Texts.h"
#include "WidgetIds.h"

#include <QAction>
#include <QMenu>
#include <QTest>
#include <array>
#include <functional>

namespace {

using Rules = ForecastViewRules;

TEST(ForecastViewRulesTest, LayoutKeepsTheSplitterInsideNarrowAndWideWindows)
{
    struct Case
    {
        int width;
        double ratio;
        QRect splitter;
        int gridWidth;
        int chartLeft;
        int chartWidth;
    };
    const Case cases[] = {
        // The 200-pixel minimum yields to the width - 6 maximum.
        {150, 0.70, QRect(141, 20, 6, 80), 141, 147, 3},
        {1000, 0.70, QRect(697, 20, 6, 80), 697, 703, 297},
        // Below the minimum: 200.
        {1000, 0.10, QRect(197, 20, 6, 80), 197, 203, 797},
        // A ratio of 1 takes the width up to the maximum.
        {1000, 1.00, QRect(991, 20, 6, 80), 991, 997, 3},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.width);
        const Rules::tLayout layout = Rules::Layout(c.width, 100, 20, c.ratio, true);
        EXPECT_EQ(layout.toolbar, QRect(0, 0, c.width, 20));
        EXPECT_EQ(layout.splitter, c.splitter);
        EXPECT_EQ(layout.grid, QRect(0, 20, c.gridWidth, 80));
        EXPECT_EQ(layout.chart, QRect(c.chartLeft, 20, c.chartWidth, 80));
        EXPECT_EQ(layout.minimum, 200);
        EXPECT_EQ(layout.maximum, c.width - 6);
    }
    const Rules::tLayout hidden = Rules::Layout(150, 100, 20, 0.7, false);
    EXPECT_EQ(hidden.grid, QRect(0, 20, 150, 80));
    EXPECT_TRUE(hidden.splitter.isEmpty());
    EXPECT_TRUE(hidden.chart.isEmpty());
}

TEST(ForecastViewRulesTest, StoredRatiosOutOfRangeAreClampedOrDefaulted)
{
    EXPECT_DOUBLE_EQ(Rules::RatioFromSetting(150), 1.0);
    EXPECT_DOUBLE_EQ(Rules::RatioFromSetting(100), 1.0);
    EXPECT_DOUBLE_EQ(Rules::RatioFromSetting(45), 0.45);
    EXPECT_DOUBLE_EQ(Rules::RatioFromSetting(0), 0.70);
    EXPECT_DOUBLE_EQ(Rules::RatioFromSetting(-20), 0.70);
    EXPECT_EQ(Rules::RatioToSetting(0.669), 66);
}

class RecordingHost : public CForecastHost
{
public:
    bool EditNode(const CProject &node) override
    {
        edited.emplace_back(node.ProjectId(), node.ActivityId());
        return false;
    }
    void ShowStatusText(const QString &text) override { status << text; }
    bool NewNode(int parentId, bool activity) override
    {
        added.emplace_back(parentId, activity);
        return false;
    }
    bool CopyProject(int projectId, int parentId, int referenceId, bool before) override
    {
        copies.push_back({projectId, parentId, referenceId, before ? 1 : 0});
        return false;
    }
    void StartTask(int projectId, int activityId) override { started.emplace_back(projectId, activityId); }

    std::vector<std::pair<int, int>> edited;
    std::vector<std::pair<int, bool>> added;
    std::vector<std::array<int, 4>> copies;
    std::vector<std::pair<int, int>> started;
    QStringList status;
};

class ViewForecastTest : public EditorFixture
{
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        addUser();
        a = saveProject(QStringLiteral("A"));
        a1 = saveProject(QStringLiteral("A1"), a);
        a11 = saveProject(QStringLiteral("A11"), a1);
        b = saveProject(QStringLiteral("B"));
        dev = saveActivity(QStringLiteral("Dév"));
        test = saveActivity(QStringLiteral("Test"));
        saveRow(a, dev);
        saveRow(a1, test);
        reload();
        CViewForecast::SetMenuPresenter([this](QMenu &, const QPoint &) {
            ++menusShown;
            return nullptr;
        });
        view = std::make_unique<CViewForecast>(&host, nullptr, nullptr, &store);
        ForecastGridModel::tData &data = view->Grid()->Model().Data();
        data.computeForecast = [] { return tForecastRun(); };
        data.realTime = [] { return false; };
        view->resize(1200, 500);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        view->Refresh(true, false, false);
    }
    void TearDown() override
    {
        view.reset();
        CViewForecast::SetMenuPresenter({});
        EditorFixture::TearDown();
    }
    void saveRow(int project, int activity)
    {
        tForecast row;
        row.IdProject = project;
        row.IdActivity = activity;
        CBdD db;
        ASSERT_TRUE(db.SaveProject(nullptr, &row));
    }
    CProject *node(int project, int activity = -2) const
    {
        return activity == -2 ? store.GetNode(project) : store.FindNode(activity, project);
    }
    int rowOf(int project, int activity = -2) const { return view->Grid()->Model().FindRow(project, activity); }
    // A point of the grid on the row's name text, or right of it.
    QPoint at(int row, bool onText, bool upper) const
    {
        CForecastGridCtrl *grid = view->Grid();
        const QRect r = grid->RowRect(row).translated(grid->viewport()->geometry().topLeft());
        const int y = upper ? r.top() + 2 : r.bottom() - 2;
        // Scan for the first point on the text, or the first after it.
        for (int x = 0; x < grid->width(); ++x) {
            const CForecastGridCtrl::tNameHit hit = grid->HitTestName(QPoint(x, y));
            if (!hit.item)
                continue;
            if (onText && hit.onText)
                return QPoint(x + 2, y);
            if (!onText && !hit.onText)
                return QPoint(x + 10, y);
        }
        ADD_FAILURE() << "no such point in row " << row;
        return QPoint();
    }
    static DragInfo project(int id)
    {
        DragInfo info;
        info.id = id;
        info.kind = DragKind::ForecastProject;
        return info;
    }
    static DragInfo activityRow(int projectId, int activityId)
    {
        DragInfo info;
        info.id = projectId;
        info.secondId = activityId;
        info.kind = DragKind::ProjectActivity;
        return info;
    }
    QStringList menuTexts(const QMenu &menu) const
    {
        QStringList texts;
        for (QAction *action : menu.actions())
            texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return texts;
    }
    static QList<int> commandIds(const QMenu &menu)
    {
        QList<int> ids;
        for (QAction *action : menu.actions()) {
            int key = 0;
            if (action->menu() && WidgetIds::PopupKey(action->menu(), key))
                ids << key;
            else if (!action->isSeparator())
                ids << WidgetIds::CommandId(action);
        }
        return ids;
    }

    RecordingHost host;
    std::unique_ptr<CViewForecast> view;
    int a = -1, a1 = -1, a11 = -1, b = -1, dev = -1, test = -1;
    int menusShown = 0;
};

TEST_F(ViewForecastTest, DropEffectsFollowTheTreeAndTheKeys)
{
    const int total = 0;
    struct Case
    {
        const char *what;
        DragInfo dragged;
        int row;
        bool onText;
        bool upper;
        bool ctrl;
        int effect;
    };
    const Case cases[] = {
        {"onto a descendant", project(a), rowOf(a11), true, true, false, 0},
        {"right of a descendant", project(a), rowOf(a11), false, true, false, 0},
        {"onto its own activity row", project(a), rowOf(a, dev), true, true, false, 0},
        {"an activity onto another project's row", activityRow(a, dev), rowOf(b), true, true, false, 0},
        {"an activity onto its sibling", activityRow(a, dev), rowOf(a1), true, false, false, 16},
        {"a sub-project right of the total row", project(a1), total, false, false, false, 2},
        {"a sub-project right of the total row, Ctrl", project(a1), total, false, false, true, 32},
        {"a top-level project right of the total row", project(b), total, false, false, false, 0},
        {"onto itself", project(b), rowOf(b), true, true, false, 0},
        {"onto itself with Ctrl, upper half", project(b), rowOf(b), true, true, true, 64},
        {"onto itself with Ctrl, lower half", project(b), rowOf(b), true, false, true, 128},
        {"before another project", project(b), rowOf(a1), true, true, false, 8},
        {"after another project", project(b), rowOf(a1), true, false, false, 16},
        {"into another project", project(b), rowOf(a1), false, true, false, 2},
        {"into its own parent", project(a11), rowOf(a1), false, true, false, 0},
        {"into its own parent with Ctrl", project(a11), rowOf(a1), false, true, true, 32},
        {"a project gone from the store", project(9999), rowOf(b), true, true, false, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_GE(c.row, 0);
        EXPECT_EQ(view->EffectAt(c.dragged, c.ctrl, at(c.row, c.onText, c.upper)), c.effect);
    }
    // Another kind of payload offers nothing.
    DragInfo other = project(b);
    other.kind = DragKind::Project;
    EXPECT_EQ(view->EffectAt(other, false, at(rowOf(a1), false, true)), 0);
}

TEST_F(ViewForecastTest, DropMovesWhatWasOfferedAndCtrlOpensTheCopy)
{
    // Nothing offered: nothing done.
    view->DropAt(project(a), false, at(rowOf(a11), false, true));
    EXPECT_EQ(node(a)->GetParent(), store.GetRoot());

    view->DropAt(project(b), false, at(rowOf(a1), false, true));
    EXPECT_EQ(node(b)->GetParent(), node(a1));
    EXPECT_TRUE(boxes.AskedBoxes().empty());

    view->Refresh(true, false, false);
    view->DropAt(project(b), true, at(rowOf(a), true, false));
    ASSERT_EQ(host.copies.size(), 1u);
    EXPECT_EQ(host.copies[0], (std::array<int, 4>{b, -1, a, 0}));
    view->DropAt(project(b), true, at(0, false, false));
    ASSERT_EQ(host.copies.size(), 2u);
    EXPECT_EQ(host.copies[1], (std::array<int, 4>{b, -1, -1, 0}));
}

TEST_F(ViewForecastTest, ASortedGridAsksBeforeAMove)
{
    view->Grid()->SortOn(0, false);
    ASSERT_EQ(view->Grid()->Model().SortId(), 0);
    // Cancel: nothing moves, the sort stays.
    boxes.Push(MessageBoxAnswer::Cancel);
    view->DropAt(project(b), false, at(rowOf(a1), false, true));
    ASSERT_EQ(boxes.AskedBoxes().size(), 1u);
    EXPECT_EQ(boxes.AskedBoxes()[0].text, Platform::Texts::get(630));
    EXPECT_EQ(node(b)->GetParent(), store.GetRoot());
    EXPECT_EQ(view->Grid()->Model().SortId(), 0);
    // Yes: the store's order first, then the move.
    boxes.Push(MessageBoxAnswer::Yes);
    view->DropAt(project(b), false, at(rowOf(a1), false, true));
    EXPECT_EQ(view->Grid()->Model().SortId(), -1);
    EXPECT_EQ(node(b)->GetParent(), node(a1));
}

TEST_F(ViewForecastTest, TheTotalRowsMenuOffersNoRowCommands)
{
    view->Grid()->SetSelectedRow(0);
    std::unique_ptr<QMenu> menu = view->BuildContextMenu();
    const QList<int> ids = commandIds(*menu);
    for (int gone : {32789, 32791, 33145, 32997, 33060, 32787, -2, -3, -4, -7, 33136})
        EXPECT_FALSE(ids.contains(gone)) << gone;
    EXPECT_EQ(ids, (QList<int>{32784, 32785, -5, -6}));
    for (QAction *action : menu->actions())
        EXPECT_FALSE(action->isSeparator());
    // Every item has its text, in the pop-ups too.
    std::function<void(const QMenu &)> texts = [&texts](const QMenu &m) {
        for (QAction *action : m.actions()) {
            if (action->isSeparator())
                continue;
            EXPECT_FALSE(action->text().isEmpty()) << WidgetIds::CommandId(action);
            if (action->menu())
                texts(*action->menu());
        }
    };
    texts(*menu);
}

TEST_F(ViewForecastTest, AnActivityWithTasksCannotBeDeletedFromItsMenu)
{
    store.AddTaskStatistics(a, dev, 2, 3600, 0, 3600);
    view->Grid()->SetSelectedRow(rowOf(a, dev));
    std::unique_ptr<QMenu> menu = view->BuildContextMenu();
    const QList<int> ids = commandIds(*menu);
    EXPECT_FALSE(ids.contains(32791));
    EXPECT_FALSE(ids.contains(33145));
    EXPECT_TRUE(ids.contains(32789));
    EXPECT_TRUE(ids.contains(-2));
    QMenu *types = nullptr;
    for (QAction *action : menu->actions()) {
        int key = 0;
        if (action->menu() && WidgetIds::PopupKey(action->menu(), key) && key == -2)
            types = action->menu();
    }
    ASSERT_NE(types, nullptr);
    ASSERT_EQ(types->actions().size(), 1);
    EXPECT_EQ(types->actions()[0]->text(), Platform::Texts::get(142));
    EXPECT_TRUE(types->actions()[0]->isChecked());

    // A project with sub-projects has the planning mode; its status is
    // checked and its type's item.
    view->Grid()->SetSelectedRow(rowOf(a));
    menu = view->BuildContextMenu();
    EXPECT_TRUE(commandIds(*menu).contains(-7));
    EXPECT_TRUE(commandIds(*menu).contains(32791));
}

TEST_F(ViewForecastTest, CommandsAreEnabledAndCheckedByTheViewsState)
{
    Rules::tViewState state;
    EXPECT_FALSE(Rules::CommandState(32789, state).enabled);
    EXPECT_TRUE(Rules::CommandState(32784, state).enabled);
    EXPECT_TRUE(Rules::CommandState(33006, state).checked);
    state.filterMode = 2;
    EXPECT_FALSE(Rules::CommandState(33006, state).checked);
    EXPECT_TRUE(Rules::CommandState(33008, state).checked);
    state.sortId = 40; // out of range counts as the store's order
    EXPECT_TRUE(Rules::CommandState(33103, state).checked);
    state.showActivities = false;
    EXPECT_FALSE(Rules::CommandState(32785, state).enabled);
    state.chartShown = false;
    state.canZoomIn = true;
    EXPECT_FALSE(Rules::CommandState(33037, state).enabled);
    EXPECT_FALSE(Rules::CommandState(33137, state).enabled);

    // A completed parent: the child's status is imposed.
    CProject *parent = node(a1);
    parent->Forecast().Status = tForecast::StatusCompleted;
    state.node = node(a11);
    state.rowSelected = true;
    EXPECT_FALSE(Rules::CommandState(33061 + 3, state).enabled);
    EXPECT_FALSE(Rules::CommandState(33140, state).enabled); // no children
    state.node = parent;
    EXPECT_TRUE(Rules::CommandState(33061 + 4, state).enabled);
    EXPECT_TRUE(Rules::CommandState(33061 + 4, state).checked);
    EXPECT_TRUE(Rules::CommandState(33140, state).checked);
}

TEST_F(ViewForecastTest, TheSplitterAndTheChartsVisibilityAreKept)
{
    view->resize(150, 300);
    const QRect bar = view->Splitter()->geometry();
    EXPECT_EQ(bar.left(), 141);
    EXPECT_EQ(bar.right(), 146);
    EXPECT_EQ(view->Grid()->width(), 141);
    EXPECT_EQ(view->Chart()->width(), 3);

    view->resize(1000, 300);
    ASSERT_TRUE(view->OnCommand(33034));
    EXPECT_FALSE(view->Chart()->isVisible());
    EXPECT_EQ(view->Grid()->width(), 1000);
    EXPECT_EQ(ForecastSettings::ReadInt(u"ShowGantt", 1), 0);
    EXPECT_FALSE(view->Action(33137)->isEnabled());
    ASSERT_TRUE(view->OnCommand(33034));
    EXPECT_TRUE(view->Chart()->isVisible());

    // The splitter's move becomes the ratio, written in per cent.
    emit view->Splitter()->moved(view->Splitter()->Id(), -100);
    EXPECT_NEAR(view->Ratio(), 0.6, 0.0001);
    EXPECT_EQ(view->Grid()->width(), 597);
    EXPECT_EQ(ForecastSettings::ReadInt(u"Pos Splitter", 0), 60);
    // A stored value above 100 counts as 100.
    ForecastSettings::WriteInt(u"Pos Splitter", 150);
    CViewForecast other(&host, nullptr, nullptr, &store);
    EXPECT_DOUBLE_EQ(other.Ratio(), 1.0);
}

TEST_F(ViewForecastTest, DeleteAsksAndFailedWritesAreTold)
{
    // A project with sub-projects: 567, remembered as 6; No keeps it.
    view->Grid()->SetSelectedRow(rowOf(a));
    boxes.Push(MessageBoxAnswer::No);
    ASSERT_TRUE(view->OnCommand(32791));
    ASSERT_EQ(boxes.AskedBoxes().size(), 1u);
    EXPECT_EQ(boxes.AskedBoxes()[0].text,
              Platform::Formatter::sprintf(Platform::Texts::get(567), {node(a)->GetFullName()}));
    EXPECT_NE(node(a), nullptr);

    // A write that fails: 226, the store as it was.
    view->Grid()->SetSelectedRow(rowOf(b));
    {
        HeldFile held(path);
        boxes.Push(MessageBoxAnswer::Yes);
        boxes.Push(MessageBoxAnswer::Ok);
        view->OnCommand(32791);
    }
    ASSERT_EQ(boxes.AskedBoxes().size(), 3u);
    EXPECT_EQ(boxes.AskedBoxes()[2].text, Platform::Texts::get(226));
    EXPECT_NE(node(b), nullptr);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Projets WHERE Id=%1").arg(b)), 1);

    // An activity row: the forecast row is initialised instead.
    view->Grid()->SetSelectedRow(rowOf(a, dev));
    boxes.Push(MessageBoxAnswer::Yes);
    ASSERT_TRUE(view->OnCommand(32791));
    EXPECT_EQ(boxes.AskedBoxes().back().text, Platform::Texts::get(22205));
}

TEST_F(ViewForecastTest, EditorAddAndResumeGoThroughTheHost)
{
    view->Grid()->SetSelectedRow(rowOf(a1, test));
    ASSERT_TRUE(view->OnCommand(32789));
    ASSERT_TRUE(view->OnCommand(32997));
    ASSERT_TRUE(view->OnCommand(32785));
    EXPECT_EQ(host.edited, (std::vector<std::pair<int, int>>{{a1, test}}));
    EXPECT_EQ(host.started, (std::vector<std::pair<int, int>>{{a1, test}}));
    EXPECT_EQ(host.added, (std::vector<std::pair<int, bool>>{{a1, true}}));
    // The total row: only the add commands, at the top.
    view->Grid()->SetSelectedRow(0);
    EXPECT_FALSE(view->OnCommand(32789));
    ASSERT_TRUE(view->OnCommand(32784));
    EXPECT_EQ(host.added.back(), (std::pair<int, bool>{-1, false}));
    // A double click edits the row.
    const QRect r = view->Grid()->RowRect(rowOf(b));
    QTest::mouseDClick(view->Grid()->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(host.edited.back(), (std::pair<int, int>{b, -2}));
}

TEST_F(ViewForecastTest, DraggingNearTheEdgesScrollsTheGrid)
{
    CForecastGridCtrl *grid = view->Grid();
    const QPoint offset = grid->viewport()->geometry().topLeft();
    const QRect first = grid->RowRect(grid->FirstVisibleRow());
    view->UpdateDragScroll(first.topLeft() + offset + QPoint(5, 1));
    EXPECT_TRUE(view->ScrollTimer().isActive());
    EXPECT_TRUE(view->ScrollsUp());
    EXPECT_EQ(view->ScrollTimer().interval(), 200);
    view->UpdateDragScroll(QPoint(5, offset.y() + grid->viewport()->height() - 2));
    EXPECT_TRUE(view->ScrollTimer().isActive());
    EXPECT_FALSE(view->ScrollsUp());
    view->UpdateDragScroll(first.center() + offset + QPoint(0, first.height() * 2));
    EXPECT_FALSE(view->ScrollTimer().isActive());
    view->UpdateDragScroll(first.topLeft() + offset + QPoint(5, 1));
    view->DragLeave();
    EXPECT_FALSE(view->ScrollTimer().isActive());
}

TEST_F(ViewForecastTest, TheFilterMenuIsTranslatedAndRunsTheCommands)
{
    QMenu menu;
    view->FillFilterMenu(&menu);
    QStringList texts = menuTexts(menu);
    EXPECT_EQ(texts.first(), QStringLiteral("Afficher tout"));
    EXPECT_EQ(texts.last(), QStringLiteral("Trier"));
    for (QAction *action : menu.actions()) {
        if (WidgetIds::CommandId(action) == 33009)
            action->trigger();
    }
    EXPECT_TRUE(view->Grid()->Model().hideCompleted);
}

} // namespace
