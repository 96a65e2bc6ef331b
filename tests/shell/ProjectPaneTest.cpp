// The project pane, built for real offscreen on a user database.
#include "PaneFixture.h"
#include "CClassToolBar.h"
#include "CMyOleDropSource.h"
#include "CPaneProject.h"
#include "CProject.h"
#include "CProjectStore.h"
#include "CViewTree.h"
#include "DragPayload.h"
#include "MyTable.h"
#include "WidgetIds.h"
#include "tProjectTreeState.h"

#include <QAction>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QTreeWidgetItem>

namespace {

using Zone = CPaneProject::DropZone;

class ProjectPaneTest : public PaneFixture
{
protected:
    void TearDown() override
    {
        pane.reset();
        PaneFixture::TearDown();
    }
    CPaneProject &makePane()
    {
        pane = std::make_unique<CPaneProject>(*app);
        pane->resize(260, 420);
        pane->show();
        return *pane;
    }
    void select(QTreeWidgetItem *item) { PaneFixture::select(pane->Tree(), item); }
    QTreeWidgetItem *projectItem(int id) const { return pane->FindProjectItem(id); }

    // Drags project `id` over `point` of the tree's viewport and drops it,
    // as the drag system does: enter, move, drop.
    Qt::DropAction dragAndDrop(int id, QPoint point, Qt::KeyboardModifiers keys = Qt::NoModifier,
                               DragKind kind = DragKind::Project)
    {
        DragInfo info;
        info.id = id;
        info.kind = kind;
        std::unique_ptr<QMimeData> data(MakeDragPayload(info));
        QWidget *viewport = pane->Tree()->viewport();
        QDragEnterEvent enter(point, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, keys);
        QApplication::sendEvent(viewport, &enter);
        QDragMoveEvent move(point, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, keys);
        QApplication::sendEvent(viewport, &move);
        const Qt::DropAction offered = move.isAccepted() ? move.dropAction() : Qt::IgnoreAction;
        if (offered != Qt::IgnoreAction) {
            QDropEvent drop(point, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, keys);
            QApplication::sendEvent(viewport, &drop);
        }
        return offered;
    }
    QPoint labelPoint(QTreeWidgetItem *item, bool lower) const
    {
        const QRect label = pane->Tree()->ItemLabelRect(item);
        const QRect row = pane->Tree()->visualItemRect(item);
        return QPoint(label.left() + 2, lower ? row.bottom() - 1 : row.top() + 1);
    }
    QPoint rightOfLabel(QTreeWidgetItem *item) const
    {
        const QRect label = pane->Tree()->ItemLabelRect(item);
        return QPoint(label.right() + 6, label.center().y());
    }

    std::unique_ptr<CPaneProject> pane;
};

// A small tree of nodes for the drop rules: {A{A1{A11}}, B}.
struct Nodes
{
    CProjectStore store;
    CProject *a, *a1, *a11, *b;
    Nodes()
    {
        auto add = [this](int id, const char *name, CProject *parent) {
            tElement e;
            e.Id = id;
            e.Nom = QString::fromLatin1(name);
            e.Parent = parent ? parent->ProjectId() : -1;
            return store.AddProject(e, parent ? parent : store.GetRoot(), QString());
        };
        a = add(1, "A", nullptr);
        a1 = add(11, "A1", a);
        a11 = add(111, "A11", a1);
        b = add(2, "B", nullptr);
    }
};

} // namespace

TEST(ProjectDropRules, TheEffectOfEachPlaceWithAndWithoutCtrl)
{
    Nodes n;
    struct Case
    {
        const char *name;
        CProject *dragged, *target;
        Zone zone;
        int plain, ctrl;
    };
    const Case cases[] = {
        {"A1 on the projects", n.a1, nullptr, Zone::ProjectsRoot, 2, 32},
        {"A, at the top, on the projects", n.a, nullptr, Zone::ProjectsRoot, 0, 0},
        {"A right of A11", n.a, n.a11, Zone::RightOfLabel, 0, 0},
        {"A on A11 (upper)", n.a, n.a11, Zone::UpperHalf, 0, 0},
        {"A on A11 (lower)", n.a, n.a11, Zone::LowerHalf, 0, 0},
        {"A1 right of its parent A", n.a1, n.a, Zone::RightOfLabel, 0, 32},
        {"A1 right of B", n.a1, n.b, Zone::RightOfLabel, 2, 32},
        {"A1 on B's lower half", n.a1, n.b, Zone::LowerHalf, 16, 128},
        {"A1 on B's upper half", n.a1, n.b, Zone::UpperHalf, 8, 64},
        {"A on itself", n.a, n.a, Zone::UpperHalf, 0, 64},
        {"A right of itself", n.a, n.a, Zone::RightOfLabel, 0, 0},
        {"A1 left of B's label", n.a1, n.b, Zone::Elsewhere, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CPaneProject::GetDropMode(c.dragged, c.target, c.zone, false, true), c.plain);
        EXPECT_EQ(CPaneProject::GetDropMode(c.dragged, c.target, c.zone, true, true), c.ctrl);
        // Without the copy window, Ctrl offers nothing.
        EXPECT_EQ(CPaneProject::GetDropMode(c.dragged, c.target, c.zone, true, false), 0);
    }
    // What a plain drop on B's lower half does: after B under the root.
    const CPaneProject::tDropPlan plan = CPaneProject::PlanDrop(n.a1, n.b, Zone::LowerHalf, false);
    EXPECT_EQ(plan.action, CPaneProject::tDropPlan::Move);
    EXPECT_EQ(plan.newParent, n.store.GetRoot());
    EXPECT_EQ(plan.reference, n.b);
    EXPECT_EQ(plan.position, 2);
}

TEST_F(ProjectPaneTest, TheTreeShowsTheProjectsActivitiesAndRatesOfTheUser)
{
    const int a = saveProject(QStringLiteral("Alpha"));
    saveProject(QStringLiteral("Alpha 1"), a);
    saveProject(QStringLiteral("Beta"));
    saveActivity(QStringLiteral("Dev"));
    saveRate(QStringLiteral("Standard"));
    reloadStore();
    makePane();
    CViewTree *tree = pane->Tree();
    ASSERT_EQ(tree->topLevelItemCount(), 3);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), QStringLiteral("Projets"));
    EXPECT_EQ(tree->topLevelItem(1)->text(0), QStringLiteral("Activités"));
    EXPECT_EQ(tree->topLevelItem(2)->text(0), QStringLiteral("Taux horaires"));
    EXPECT_EQ(shape(pane->ProjectsRoot()), QStringLiteral("Alpha{Alpha 1} Beta"));
    EXPECT_EQ(shape(pane->ActivitiesRoot()), QStringLiteral("Dev"));
    EXPECT_EQ(shape(pane->RatesRoot()), QStringLiteral("Standard"));
    // Kinds from the place of the item; project ids as data.
    EXPECT_EQ(pane->KindOf(pane->ProjectsRoot()), CPaneProject::KindProjectsRoot);
    EXPECT_EQ(pane->KindOf(pane->ProjectsRoot()->child(0)->child(0)), CPaneProject::KindProject);
    EXPECT_EQ(pane->KindOf(pane->ActivitiesRoot()->child(0)), CPaneProject::KindActivity);
    EXPECT_EQ(pane->KindOf(pane->RatesRoot()->child(0)), CPaneProject::KindRate);
    EXPECT_EQ(CViewTree::ItemData(pane->ProjectsRoot()->child(0)), a);
    // Open branches show the open folder; a closed one the closed folder.
    EXPECT_EQ(CViewTree::ItemImage(pane->ActivitiesRoot()), 1);
    pane->ActivitiesRoot()->setExpanded(false);
    EXPECT_EQ(CViewTree::ItemImage(pane->ActivitiesRoot()), 0);
    // The toolbar sits on top, the tree 1 pixel inside below it.
    const int bar = pane->ToolBar()->height();
    EXPECT_EQ(pane->ToolBar()->geometry().topLeft(), QPoint(0, 0));
    EXPECT_EQ(tree->geometry().topLeft(), QPoint(1, bar + 1));
    EXPECT_EQ(tree->geometry().right(), tree->parentWidget()->width() - 2);
}

using NoUserPaneTest = AppFixture;

TEST_F(NoUserPaneTest, WithoutAUserTheTreeIsEmpty)
{
    ASSERT_EQ(app->Users().GetCurrentId(), -1);
    CPaneProject pane(*app);
    EXPECT_EQ(pane.Tree()->topLevelItemCount(), 0);
    EXPECT_FALSE(pane.Action(CPaneProject::CmdDelete)->isEnabled());
    QTest::keyClick(pane.Tree(), Qt::Key_Delete);
    EXPECT_TRUE(answers->AskedBoxes().empty());
}

TEST(ProjectTreeState, StoredTextsGiveTheStateAndDefaultsForWhatIsMissing)
{
    struct Case
    {
        const char *name;
        const char *root, *pos;
        const char *expect; // projects activities rates | six fields
    };
    const Case cases[] = {
        {"written by the pane", "1;0;1", "5;12;0;6;3;4", "101|5 12 0 6 3 4"},
        {"nothing stored", "", "", "111|0 0 -1 0 0 -1"},
        {"short Pos", "0", "5;12", "011|5 12 -1 0 0 -1"},
        {"garbage", "x;;0", "a;b;c;7", "110|0 0 -1 7 0 -1"},
        {"blanks and signs", " 0; 1;1", " 2;-1;0;+3;4;5", "011|2 -1 0 3 4 5"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const tProjectTreeState s = tProjectTreeState::Read(QString::fromLatin1(c.root), QString::fromLatin1(c.pos),
                                                            QStringLiteral("12,57,3"));
        const QString got = QStringLiteral("%1%2%3|%4 %5 %6 %7 %8 %9")
                                .arg(int(s.projectsExpanded))
                                .arg(int(s.activitiesExpanded))
                                .arg(int(s.ratesExpanded))
                                .arg(s.firstVisibleKind)
                                .arg(s.firstVisibleData)
                                .arg(s.firstVisibleThird)
                                .arg(s.selectedKind)
                                .arg(s.selectedData)
                                .arg(s.selectedIndex);
        EXPECT_EQ(got, QString::fromLatin1(c.expect));
    }
    // The collapsed projects reach the store in its own key form.
    tProjectTreeState s;
    s.collapsedProjects = QStringLiteral("12,57,3");
    EXPECT_EQ(s.CollapsedKeys(), QStringLiteral(";12;57;3;"));
    s.collapsedProjects = QStringLiteral("12,x,3,");
    EXPECT_EQ(s.CollapsedKeys(), QStringLiteral(";12;3;"));
    EXPECT_EQ(s.PosText(), QStringLiteral("0;0;0;0;0;-1"));
    EXPECT_EQ(s.RootText(), QStringLiteral("1;1;1"));
}

// The state goes with the pane and comes back with the next one, for each
// user apart; collapsed projects come back collapsed.
TEST_F(ProjectPaneTest, TheTreeStateOutlivesThePanePerUser)
{
    const int a = saveProject(QStringLiteral("Alpha"));
    const int a1 = saveProject(QStringLiteral("Alpha 1"), a);
    saveProject(QStringLiteral("Alpha 11"), a1);
    const int b = saveProject(QStringLiteral("Beta"));
    saveProject(QStringLiteral("Beta 1"), b);
    saveActivity(QStringLiteral("Dev"));
    reloadStore();
    makePane();
    projectItem(a1)->setExpanded(false);
    projectItem(b)->setExpanded(false);
    pane->ActivitiesRoot()->setExpanded(false);
    select(projectItem(a1));
    pane.reset();

    QStringList stored = {QStringLiteral("Projects Root"), QStringLiteral("Projects Pos"),
                          QStringLiteral("Projects Collapsed")};
    ASSERT_TRUE(app->Users().GetUserSettings(stored));
    EXPECT_EQ(stored.at(0), QStringLiteral("1;0;1"));
    EXPECT_EQ(stored.at(1), QStringLiteral("2;0;0;5;%1;2").arg(a1));
    EXPECT_EQ(stored.at(2), QStringLiteral("%1,%2").arg(a1).arg(b));

    makePane();
    EXPECT_FALSE(projectItem(a1)->isExpanded());
    EXPECT_FALSE(projectItem(b)->isExpanded());
    EXPECT_TRUE(projectItem(a)->isExpanded());
    EXPECT_FALSE(pane->ActivitiesRoot()->isExpanded());
    EXPECT_EQ(pane->SelectedItem(), projectItem(a1));
    pane.reset();

    // Another user starts from the defaults: all open, first item selected.
    addUser(QStringLiteral("Bruno"));
    reloadStore();
    makePane();
    EXPECT_TRUE(pane->ActivitiesRoot()->isExpanded());
    EXPECT_EQ(pane->SelectedItem(), pane->ProjectsRoot());
}

// A rebuilt branch keeps what the user had open, closed and selected; a
// read that fails keeps the branch as it stands.
TEST_F(ProjectPaneTest, ReloadingABranchKeepsTheStateAndAFailedReadKeepsTheBranch)
{
    const int a = saveProject(QStringLiteral("Alpha"));
    saveProject(QStringLiteral("Alpha 1"), a);
    saveActivity(QStringLiteral("Dev"));
    reloadStore();
    makePane();
    projectItem(a)->setExpanded(false);
    saveProject(QStringLiteral("Gamma"));
    reloadStore();
    pane->ReloadBranch(true);
    EXPECT_EQ(shape(pane->ProjectsRoot()), QStringLiteral("Alpha{Alpha 1} Gamma"));
    EXPECT_FALSE(projectItem(a)->isExpanded());

    select(pane->ActivitiesRoot()->child(0));
    {
        const HeldFile held(anneDatabase());
        pane->ReloadBranch(false);
        pane->ReloadRates();
    }
    EXPECT_EQ(shape(pane->ActivitiesRoot()), QStringLiteral("Dev"));
    EXPECT_EQ(pane->SelectedKind(), CPaneProject::KindActivity);
}

// Menu 495 as the context menu shows it on each kind of item.
TEST_F(ProjectPaneTest, TheContextMenuOffersWhatEachKindOfItemTakes)
{
    const int a = saveProject(QStringLiteral("Alpha"));
    saveActivity(QStringLiteral("Dev"));
    saveRate(QStringLiteral("Standard"));
    reloadStore();
    makePane();
    struct Case
    {
        const char *name;
        QTreeWidgetItem *item;
        const char *expect;
    };
    const Case cases[] = {
        {"project", projectItem(a), "32784 32785 32787 | 32789 32791 33145 | popup | 32997"},
        {"activity", pane->ActivitiesRoot()->child(0), "32784 32785 32787 | 32789 32791 | | 32997"},
        {"rate", pane->RatesRoot()->child(0), "32784 32785 32787 | 32789 32791"},
        {"top item", pane->RatesRoot(), "32784 32785 32787"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        select(c.item);
        std::unique_ptr<QMenu> menu = pane->BuildContextMenu(pane->SelectedKind());
        EXPECT_EQ(commandIds(menu.get()), QString::fromLatin1(c.expect));
        for (QAction *action : menu->actions())
            EXPECT_FALSE(action->text().isEmpty() && !action->isSeparator()) << WidgetIds::CommandId(action);
    }
    // The type pop-up: the six types, the current one checked.
    select(projectItem(a));
    std::unique_ptr<QMenu> menu = pane->BuildContextMenu(CPaneProject::KindProject);
    QMenu *types = nullptr;
    for (QAction *action : menu->actions())
        if (action->menu())
            types = action->menu();
    ASSERT_NE(types, nullptr);
    QStringList texts;
    for (QAction *action : types->actions())
        texts << action->text() + (action->isChecked() ? QStringLiteral("*") : QString());
    EXPECT_EQ(texts.join(u','), QStringLiteral("Projet*,Sous-projet,Client,Dossier,Tâche,Action"));
    types->actions().at(2)->trigger();
    EXPECT_EQ(cell(QStringLiteral("select Type from Projets where Id=%1").arg(a)), QStringLiteral("2"));
}

// Deleting asks first (each kind its own question), unless the answer
// was remembered; a write that fails is told and changes nothing; the
// Delete key on a top item does nothing.
TEST_F(ProjectPaneTest, DeletingAsksRemembersAndTellsAFailedWrite)
{
    answers->AnswerNotices();
    const int a = saveProject(QStringLiteral("Alpha"));
    saveProject(QStringLiteral("Alpha 1"), a);
    const int b = saveProject(QStringLiteral("Beta"));
    const int dev = saveActivity(QStringLiteral("Dev"));
    const int rate = saveRate(QStringLiteral("Standard"));
    reloadStore();
    makePane();
    auto deleted = [this](const char *table, int id) {
        return cell(QStringLiteral("select Deleted from %1 where Id=%2").arg(QLatin1String(table)).arg(id));
    };

    select(pane->ProjectsRoot());
    QTest::keyClick(pane->Tree(), Qt::Key_Delete);
    EXPECT_TRUE(boxes().empty());

    // A project with sub-projects: question 9, its full name; No keeps it.
    select(projectItem(a));
    answers->Push(MessageBoxAnswer::No);
    QTest::keyClick(pane->Tree(), Qt::Key_Delete);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, QStringLiteral("Voulez-vous vraiment supprimer 'Alpha' et tous ses sous-projets ?"));
    EXPECT_EQ(boxes()[0].caption, QStringLiteral("Confirmation"));
    EXPECT_EQ(deleted("Projets", a), QStringLiteral("0"));
    clearBoxes();

    // A remembered Yes (question 8) deletes at once.
    Platform::Settings().setInt(u"MsgBox", {}, u"8", MessageBoxAnswer::Yes);
    select(projectItem(b));
    pane->OnDelete();
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(deleted("Projets", b), QStringLiteral("1"));

    // An activity and a rate, each confirmed; the rate's branch reloads.
    select(pane->ActivitiesRoot()->child(0));
    answers->Push(MessageBoxAnswer::Yes);
    pane->Action(CPaneProject::CmdDelete)->trigger();
    EXPECT_EQ(deleted("Activites", dev), QStringLiteral("1"));
    select(pane->RatesRoot()->child(0));
    answers->Push(MessageBoxAnswer::Yes);
    pane->OnDelete();
    EXPECT_EQ(deleted("TauxHoraire", rate), QStringLiteral("1"));
    EXPECT_EQ(pane->RatesRoot()->childCount(), 0);
    clearBoxes();

    // Another program holds the file: the write fails, 226 is shown.
    select(projectItem(a));
    answers->Push(MessageBoxAnswer::Yes);
    {
        const HeldFile held(anneDatabase());
        pane->OnDelete();
    }
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_EQ(boxes()[1].text, QStringLiteral("Erreur lors de l'écriture dans la base de données."));
    EXPECT_EQ(boxes()[1].caption, QStringLiteral("Erreur"));
    EXPECT_EQ(deleted("Projets", a), QStringLiteral("0"));
}

// Drops on the tree's viewport move projects through the store, which
// writes the child orders; a move the model refuses is told with 616; an
// activity is never taken.
TEST_F(ProjectPaneTest, DroppingAProjectMovesItOrTellsWhyNot)
{
    answers->AnswerNotices();
    const int a = saveProject(QStringLiteral("Alpha"));
    const int a1 = saveProject(QStringLiteral("Alpha 1"), a);
    const int b = saveProject(QStringLiteral("Beta"));
    const int dev = saveActivity(QStringLiteral("Dev"));
    reloadStore();
    makePane();
    CProjectStore &store = app->ProjectStore();

    // Alpha 1 after Beta, at the top.
    EXPECT_EQ(dragAndDrop(a1, labelPoint(projectItem(b), true)), Qt::MoveAction);
    EXPECT_EQ(store.GetNode(a1)->GetParent(), store.GetRoot());
    EXPECT_EQ(store.GetRoot()->GetChildOrder(), QStringLiteral(";%1;%2;%3;").arg(a).arg(b).arg(a1));
    EXPECT_EQ(cell(QStringLiteral("select Childs from ProjectChilds where IdProject=-1")),
              store.GetRoot()->GetChildOrder());
    EXPECT_EQ(cell(QStringLiteral("select Parent from Projets where Id=%1").arg(a1)), QStringLiteral("-1"));

    // Back under Beta, right of its label.
    pane->ReloadBranch(true);
    EXPECT_EQ(dragAndDrop(a1, rightOfLabel(projectItem(b))), Qt::MoveAction);
    EXPECT_EQ(store.GetNode(a1)->GetParent(), store.GetNode(b));
    EXPECT_EQ(cell(QStringLiteral("select Childs from ProjectChilds where IdProject=%1").arg(b)),
              QStringLiteral(";%1;").arg(a1));

    // Beta waits for Alpha: Beta below Alpha would wait for its parent.
    store.AddPredecessorLink(store.GetNode(b), store.GetNode(a), 0, 4);
    pane->ReloadBranch(true);
    clearBoxes();
    EXPECT_EQ(dragAndDrop(b, rightOfLabel(projectItem(a))), Qt::MoveAction);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].caption, QStringLiteral("Erreur"));
    EXPECT_EQ(boxes()[0].text, QStringLiteral("Impossible de déplacer 'Beta' sous 'Alpha'."));
    EXPECT_EQ(store.GetNode(b)->GetParent(), store.GetRoot());

    // A top project on the projects branch, and an activity: no drop.
    EXPECT_EQ(dragAndDrop(a, labelPoint(pane->ProjectsRoot(), false)), Qt::IgnoreAction);
    EXPECT_EQ(dragAndDrop(dev, rightOfLabel(projectItem(b)), Qt::NoModifier, DragKind::Activity), Qt::IgnoreAction);
    // Ctrl copies, which the copy window does, not here.
    EXPECT_EQ(dragAndDrop(a1, labelPoint(projectItem(a), true), Qt::ControlModifier), Qt::IgnoreAction);

    // Sub-project to the top through the projects branch: Parent -1.
    pane->ReloadBranch(true);
    EXPECT_EQ(dragAndDrop(a1, labelPoint(pane->ProjectsRoot(), false)), Qt::MoveAction);
    EXPECT_EQ(cell(QStringLiteral("select Parent from Projets where Id=%1").arg(a1)), QStringLiteral("-1"));
}

// A move whose write fails is told and leaves store and tree as they were.
TEST_F(ProjectPaneTest, AMoveThatCannotBeWrittenChangesNothing)
{
    answers->AnswerNotices();
    const int a = saveProject(QStringLiteral("Alpha"));
    const int a1 = saveProject(QStringLiteral("Alpha 1"), a);
    const int b = saveProject(QStringLiteral("Beta"));
    reloadStore();
    makePane();
    CProjectStore &store = app->ProjectStore();
    const QPoint target = labelPoint(projectItem(b), true);
    clearBoxes();
    {
        const HeldFile held(anneDatabase());
        dragAndDrop(a1, target);
    }
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, QStringLiteral("Erreur lors de l'écriture dans la base de données."));
    EXPECT_EQ(store.GetNode(a1)->GetParent(), store.GetNode(a));
    EXPECT_EQ(cell(QStringLiteral("select Parent from Projets where Id=%1").arg(a1)), QString::number(a));
    EXPECT_EQ(shape(pane->ProjectsRoot()), QStringLiteral("Alpha{Alpha 1} Beta"));
}

// A drag from a project or an activity carries its payload; a top item
// carries none.
TEST_F(ProjectPaneTest, ProjectsAndActivitiesDragWithTheirPayload)
{
    const int a = saveProject(QStringLiteral("Alpha"));
    const int dev = saveActivity(QStringLiteral("Dev"));
    reloadStore();
    makePane();
    DragInfo info;
    ASSERT_TRUE(pane->DragInfoOf(projectItem(a), false, info));
    EXPECT_EQ(DragPayloadText(info), QStringLiteral("%1\nProj\nAuto\n").arg(a));
    ASSERT_TRUE(pane->DragInfoOf(pane->ActivitiesRoot()->child(0), true, info));
    EXPECT_EQ(DragPayloadText(info), QStringLiteral("%1\nAct\nDialog\n").arg(dev));
    EXPECT_FALSE(pane->DragInfoOf(pane->ProjectsRoot(), false, info));
    EXPECT_FALSE(pane->DragInfoOf(pane->RatesRoot(), false, info));
}
