// The project, task and report panes as the main frame hosts them.
#include "PaneFixture.h"
#include "CConfiguration.h"
#include "CDataChangedNotifier.h"
#include "CMainFrame.h"
#include "CPaneProject.h"
#include "CPaneReport.h"
#include "CPaneTask.h"
#include "CFrameViews.h"
#include "CViewTree.h"
#include "ImageList.h"
#include "tElement.h"

#include <QApplication>
#include <QTabBar>

#include <QTreeWidgetItem>

namespace {

class TreePanesFrameTest : public PaneFixture
{
protected:
    void SetUp() override
    {
        PaneFixture::SetUp();
        frame = std::make_unique<CMainFrame>(*app);
        frame->show();
    }
    void TearDown() override
    {
        frame.reset();
        PaneFixture::TearDown();
    }
    QList<CViewTree *> trees() const
    {
        QList<CViewTree *> list;
        for (int id : {CMainFrame::PaneProject, CMainFrame::PaneTasks, CMainFrame::PaneReports})
            list << frame->Pane(id)->findChild<CViewTree *>();
        return list;
    }
    std::unique_ptr<CMainFrame> frame;
};

} // namespace

TEST_F(TreePanesFrameTest, TheFrameShowsTheThreeTreePanes)
{
    EXPECT_NE(qobject_cast<CPaneProject *>(frame->Pane(CMainFrame::PaneProject)), nullptr);
    EXPECT_NE(qobject_cast<CPaneTask *>(frame->Pane(CMainFrame::PaneTasks)), nullptr);
    EXPECT_NE(qobject_cast<CPaneReport *>(frame->Pane(CMainFrame::PaneReports)), nullptr);
    // Focus given to a pane goes to its tree.
    auto *projects = qobject_cast<CPaneProject *>(frame->Pane(CMainFrame::PaneProject));
    QApplication::setActiveWindow(frame.get());
    projects->raise();
    projects->setFocus();
    EXPECT_TRUE(projects->Tree()->hasFocus());
}

// The big-icons option gives the three trees the 24-pixel list, and back.
TEST_F(TreePanesFrameTest, BigIconsSwitchTheThreeTrees)
{
    for (CViewTree *tree : trees()) {
        ASSERT_NE(tree, nullptr);
        EXPECT_EQ(tree->GetImageList()->CellSize(), 16);
    }
    app->Configuration().bigIcon = true;
    CFrameViews views(*frame);
    views.ReloadToolbarImages();
    for (CViewTree *tree : trees()) {
        EXPECT_EQ(tree->GetImageList()->CellSize(), 24);
        EXPECT_EQ(tree->iconSize(), QSize(24, 24));
    }
    app->Configuration().bigIcon = false;
    views.ReloadToolbarImages();
    for (CViewTree *tree : trees())
        EXPECT_EQ(tree->GetImageList()->CellSize(), 16);
}

// The data store's change notices reach the panes through the frame.
TEST_F(TreePanesFrameTest, ChangeNoticesRebuildTheBranches)
{
    auto *projects = qobject_cast<CPaneProject *>(frame->Pane(CMainFrame::PaneProject));
    ASSERT_NE(projects->ActivitiesRoot(), nullptr);
    EXPECT_EQ(projects->ActivitiesRoot()->childCount(), 0);
    tElement activity;
    activity.Nom = QStringLiteral("Dev");
    {
        CBdD db;
        ASSERT_TRUE(db.SaveActivity(activity)); // announces the activities' change
    }
    ASSERT_EQ(projects->ActivitiesRoot()->childCount(), 1);
    EXPECT_EQ(projects->ActivitiesRoot()->child(0)->text(0), QStringLiteral("Dev"));

    tElement project;
    project.Nom = QStringLiteral("Alpha");
    {
        CBdD db;
        ASSERT_TRUE(db.SaveProject(&project, nullptr));
    }
    ASSERT_EQ(projects->ProjectsRoot()->childCount(), 1);
    EXPECT_EQ(projects->ProjectsRoot()->child(0)->text(0), QStringLiteral("Alpha"));
}

// In the first layout the tabs below the tabbed panes show their captions
// whole ("Projets / Activités", "Tâches", "Rapports" side by side).
TEST_F(TreePanesFrameTest, TheFirstLayoutShowsTheTabCaptionsWhole)
{
    QApplication::processEvents();
    int checked = 0;
    for (QTabBar *tabs : frame->findChildren<QTabBar *>(Qt::FindDirectChildrenOnly)) {
        if (!tabs->isVisible() || tabs->count() < 2)
            continue;
        ++checked;
        // The hint is what the tabs take unshortened.
        SCOPED_TRACE(tabs->tabText(0).toStdString());
        EXPECT_GE(tabs->tabRect(tabs->count() - 1).right() + 1, tabs->sizeHint().width());
    }
    EXPECT_EQ(checked, 2); // calendar and users; projects, tasks and reports
}

// The program's own end: the application goes with its main window, and
// both tree panes still write their states for the user.
class TreePanesAtExitTest : public PaneFixture
{
};

TEST_F(TreePanesAtExitTest, BothTreeStatesAreWrittenWhenTheProgramEnds)
{
    const int alpha = saveProject(QStringLiteral("Alpha"));
    const int dev = saveActivity(QStringLiteral("Dev"));
    saveRate(QStringLiteral("Standard"));
    {
        CBdD db;
        ASSERT_EQ(db.AddFavorite(-1, alpha, dev, -1, QStringLiteral("Un")), CBdD::FavoriteDone);
    }
    ASSERT_TRUE(app->InitInstance());
    CMainFrame *frame = app->MainFrame();
    ASSERT_NE(frame, nullptr);
    auto *tasks = qobject_cast<CPaneTask *>(frame->Pane(CMainFrame::PaneTasks));
    auto *projects = qobject_cast<CPaneProject *>(frame->Pane(CMainFrame::PaneProject));
    ASSERT_TRUE(tasks && projects);
    ASSERT_EQ(tasks->FavoritesRoot()->childCount(), 1);
    ASSERT_EQ(projects->RatesRoot()->childCount(), 1);
    tasks->FavoritesRoot()->setExpanded(false);
    projects->RatesRoot()->setExpanded(false);
    app.reset();

    SQLite::CmyDataBase db;
    ASSERT_EQ(db.OpenReadOnly(usersFolder + QStringLiteral("Users.sdb")), 0);
    auto stored = [&db, this](const char *name) {
        SQLite::MyTablePtr t = db.Query(QStringLiteral("select Value from UsersInfos where IdUser=%1 and Name='%2'")
                                            .arg(userId)
                                            .arg(QLatin1String(name)));
        return t.hasRows() ? t->GetCell(0, 0) : QStringLiteral("<none>");
    };
    EXPECT_EQ(stored("Favoris Root"), QStringLiteral("0;1"));
    EXPECT_EQ(stored("Projects Root"), QStringLiteral("1;1;0"));
}
