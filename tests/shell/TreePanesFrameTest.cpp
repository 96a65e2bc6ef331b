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
