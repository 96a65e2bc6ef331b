// The project-tracking grid and the Gantt chart beside it in the running
// frame: in its pane and its tabbed document, refreshed by the frame, the
// grid's layout and the chart's level kept per user, the project editor
// opened from the chart.
#include "AppFixture.h"
#include "CForecastGridCtrl.h"
#include "CGanttCtrl.h"
#include "CCommandTable.h"
#include "CMainFrame.h"
#include "CMainFrameViews.h"
#include "CMyDockablePane.h"
#include "CProjectStore.h"
#include "CViewForecast.h"
#include "Texts.h"
#include "ForecastWindows.h"

#include <QAction>
#include <QApplication>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QTest>

namespace {

class ForecastWindowTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        anne = addUser(QStringLiteral("Anne"));
        projects(QStringLiteral("Anne"), {"Alpha", "Bravo", "Charlie"});
        bob = addUser(QStringLiteral("Bob"));
        projects(QStringLiteral("Bob"), {"Delta", "Echo"});
        ASSERT_TRUE(app->Users().SwitchUser(anne));
        RegisterForecastWindows(*app);
        start();
    }
    void start()
    {
        ASSERT_TRUE(app->InitInstance());
        frame = app->MainFrame();
        ASSERT_NE(frame, nullptr);
        frame->resize(1200, 800);
        frame->show();
    }
    // Top-level projects, each with one sub-project "<name> 1".
    void projects(const QString &user, std::initializer_list<const char *> names)
    {
        CBdD db(databaseOf(user));
        for (const char *name : names) {
            tElement e;
            e.Nom = QString::fromUtf8(name);
            ASSERT_TRUE(db.SaveProject(&e, nullptr));
            tElement child;
            child.Nom = e.Nom + QStringLiteral(" 1");
            child.Parent = e.Id;
            ASSERT_TRUE(db.SaveProject(&child, nullptr));
        }
    }
    CForecastGridCtrl *grid() const { return frame->ForecastWindow()->findChild<CForecastGridCtrl *>(); }
    CGanttCtrl *chart() const { return frame->ForecastWindow()->findChild<CGanttCtrl *>(); }
    std::string rows() const
    {
        std::string text;
        CForecastGridCtrl *g = grid();
        for (int r = 0; r < g->RowCount(); ++r)
            text += (text.empty() ? "" : " ") + g->GetCellText(0, g->Item(r)).toStdString();
        return text;
    }
    CMyDockablePane *pane() const { return frame->Pane(CMainFrame::PaneForecast); }

    int anne = -1;
    int bob = -1;
    CMainFrame *frame = nullptr;
};

} // namespace

TEST_F(ForecastWindowTest, TheCommandShowsTheGridInThePaneAndAsADocument)
{
    ASSERT_NE(grid(), nullptr);
    EXPECT_EQ(frame->ForecastWindow()->objectName(), QStringLiteral("522"));
    QAction *command = frame->Commands().Action(33041);
    ASSERT_NE(command, nullptr);
    if (pane()->isVisible())
        command->trigger();
    EXPECT_FALSE(pane()->isVisible());
    command->trigger();
    EXPECT_TRUE(pane()->isVisible());
    EXPECT_TRUE(grid()->isVisible());
    EXPECT_EQ(rows(), "Projets Alpha Alpha 1 Bravo Bravo 1 Charlie Charlie 1");

    frame->ToggleForecastMode();
    ASSERT_TRUE(frame->ForecastFrame());
    EXPECT_EQ(frame->ForecastFrame()->widget(), frame->ForecastWindow());
    EXPECT_TRUE(grid()->isVisible());
    EXPECT_TRUE(chart()->isVisible());
    EXPECT_EQ(rows(), "Projets Alpha Alpha 1 Bravo Bravo 1 Charlie Charlie 1");
}

TEST_F(ForecastWindowTest, TheFrameAsksTheViewWhetherCompletedProjectsAreHidden)
{
    auto *view = qobject_cast<CViewForecast *>(frame->ForecastWindow());
    ASSERT_NE(view, nullptr);
    const bool hidden = view->Grid()->Model().hideCompleted;
    EXPECT_EQ(frame->Views().ForecastHidesCompleted(), hidden);
    ASSERT_TRUE(view->OnCommand(33009));
    EXPECT_EQ(frame->Views().ForecastHidesCompleted(), !hidden);
    // The toolbar's prompts reach the status bar.
    view->Action(33033)->hover();
    EXPECT_EQ(frame->statusBar()->currentMessage(), Platform::Texts::get(22202).section(u'\n', 0, 0));
}

TEST_F(ForecastWindowTest, TheFramesChangeNoticesReachTheGrid)
{
    frame->Commands().Action(33041)->trigger();
    if (!pane()->isVisible())
        frame->Commands().Action(33041)->trigger();
    {
        CBdD db;
        tElement e;
        e.Nom = QStringLiteral("Zoulou");
        ASSERT_TRUE(db.SaveProject(&e, nullptr));
    }
    QApplication::processEvents();
    EXPECT_EQ(rows(), "Projets Alpha Alpha 1 Bravo Bravo 1 Charlie Charlie 1 Zoulou");
    // The timer's refresh with nothing changed leaves the rows as they are.
    const CForecastGridCtrl::CTreeItem *before = grid()->Item(1);
    frame->OnTimer();
    EXPECT_EQ(grid()->Item(1), before);
}

TEST_F(ForecastWindowTest, TheLayoutIsEachUsersOwn)
{
    CForecastGridCtrl *g = grid();
    g->Model().ToggleExpanded(g->Item(g->Model().FindRow(
        app->ProjectStore().GetRoot()->GetChild(1)->ProjectId())));
    g->RowsChanged();
    EXPECT_EQ(rows(), "Projets Alpha Alpha 1 Bravo Charlie Charlie 1");

    ASSERT_TRUE(app->SwitchUser(bob));
    EXPECT_EQ(rows(), "Projets Delta Delta 1 Echo Echo 1");
    ASSERT_TRUE(app->SwitchUser(anne));
    EXPECT_EQ(rows(), "Projets Alpha Alpha 1 Bravo Charlie Charlie 1");

    // A new start of the program takes it back too.
    frame->close();
    app.reset();
    app = std::make_unique<CZarvoWinApp>();
    RegisterForecastWindows(*app);
    start();
    EXPECT_EQ(rows(), "Projets Alpha Alpha 1 Bravo Charlie Charlie 1");
}

TEST_F(ForecastWindowTest, TheChartStandsRightOfTheGridAndOpensTheEditorOnARow)
{
    frame->Commands().Action(33041)->trigger();
    if (!pane()->isVisible())
        frame->Commands().Action(33041)->trigger();
    QApplication::processEvents();
    CGanttCtrl *gantt = chart();
    ASSERT_NE(gantt, nullptr);
    EXPECT_TRUE(gantt->isVisible());
    EXPECT_GT(gantt->x(), grid()->geometry().right());
    EXPECT_EQ(gantt->y(), grid()->y());

    // A double click on Bravo's row opens the editor on Bravo.
    std::vector<int> edited;
    app->Windows().editProject = [&edited](int projectId) {
        edited.push_back(projectId);
        return false;
    };
    const int bravo = app->ProjectStore().GetRoot()->GetChild(1)->ProjectId();
    const QRect row = grid()->RowRectangle(grid()->Model().FindRow(bravo));
    QTest::mouseDClick(gantt, Qt::LeftButton, Qt::NoModifier, QPoint(40, row.center().y()));
    EXPECT_EQ(edited, std::vector<int>{bravo});
}

TEST_F(ForecastWindowTest, TheChartsLevelFollowsTheUser)
{
    chart()->OnZoomLevel(2);
    ASSERT_TRUE(app->SwitchUser(bob));
    QApplication::processEvents();
    EXPECT_EQ(chart()->Level(), 8);
    chart()->OnZoomLevel(12);
    ASSERT_TRUE(app->SwitchUser(anne));
    QApplication::processEvents();
    EXPECT_EQ(chart()->Level(), 2);
    // A new user's sample plan is shown a week a centimetre.
    frame->Views().ZoomForecastToWeek();
    EXPECT_EQ(chart()->Level(), 8);
}
