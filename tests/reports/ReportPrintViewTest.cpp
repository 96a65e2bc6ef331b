// The report window's print layout on a built report: the pages of the
// pagination, zoom and paging commands, the page cache drawing only new
// pages, the mode and zoom the window lists for the next start.
#include "CBdD.h"
#include "CPageZoomLayout.h"
#include "CReportFrame.h"
#include "CReportGrid.h"
#include "CReportPageView.h"
#include "CReportStore.h"
#include "CReportView.h"
#include "Formatter.h"
#include "RecordingReportHost.h"
#include "ReportFixture.h"
#include "TestFolders.h"
#include "tReportDefinition.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QTest>
#include <QToolBar>

namespace {

class ReportPrintViewTest : public ReportFixture
{
protected:
    void SetUp() override
    {
        ReportFixture::SetUp();
        host.database = TestFolders::tempDb(QStringLiteral("Zarvo.sdb"));
        host.reports = TestFolders::file(QStringLiteral("Zarvo.rpt"));
        host.store = &store;
        host.area = &area;
        host.programTemplates = QStringLiteral(ZARVO_TEMPLATES_DIR_FRA);
        area.resize(1000, 700);
        area.show();
        CBdD db(host.database);
        ASSERT_TRUE(db.IsOpen());
        for (int id : {1, 2, 3, 4})
            db.Execute(Platform::Formatter::sprintf(u"insert into Projets (Id, Nom, Deleted) values (%d, 'P', 0)", {id}));
        db.Execute(u"insert into Activites (Id, Nom, Deleted) values (7, 'A', 0)");
        db.Execute(u"update Infos set Value='1709546400' where Name='Modif'");
        definition.Nom = QStringLiteral("Par projet");
        definition.Type = 2;
        definition.Periode = 0;
        definition.Grp = {3, -1, -1, -1, -1};
        definition.Detail = true;
        definition.SetDefaultColumns(definition.Columns);
        ASSERT_TRUE(CReportStore(host.reports).SaveReport(definition));
    }
    void TearDown() override
    {
        area.closeAllSubWindows();
        for (QMdiSubWindow *w : area.subWindowList())
            delete w;
        ReportFixture::TearDown();
    }
    // `count` one-hour entries, one a day, on project 3.
    void addEntries(int count)
    {
        CBdD db(host.database);
        db.Execute(u"begin");
        for (int i = 0; i < count; ++i) {
            const qint64 start = At(2023, 1, 1, 9) + qint64(i) * 86400;
            db.Execute(Platform::Formatter::sprintf(
                u"insert into Taches (Id, Debut, Fin, IdProjet, IdActivite, Facture, IdTauxHoraire, Deleted, Title, "
                u"Notes) values (%d, %I64d, %I64d, 3, 7, 0, 5, 0, 'Tâche', '')",
                {i + 1, start, start + 3600}));
        }
        db.Execute(u"commit");
    }
    CReportFrame *open(int zoom = 2)
    {
        auto *frame = new CReportFrame(host);
        area.addSubWindow(frame);
        frame->showMaximized();
        if (!frame->OpenReport(definition.Id, false, zoom, false)) {
            delete frame;
            return nullptr;
        }
        frame->View()->SetZoom(zoom);
        return frame;
    }
    static void command(CReportView *view, int id)
    {
        ASSERT_TRUE(view->IsCommandEnabled(id)) << id;
        view->OnCommand(id);
    }

    RecordingHost host;
    QMdiArea area;
    tReportDefinition definition;
};

} // namespace

TEST_F(ReportPrintViewTest, PrintLayoutShowsThePaginationsPagesAndDataModeComesBack)
{
    addEntries(150);
    CReportFrame *frame = open();
    ASSERT_NE(frame, nullptr);
    CReportView *view = frame->View();
    EXPECT_FALSE(view->IsCommandEnabled(CReportView::CmdNextPage));

    command(view, CReportView::CmdPrintLayout);
    EXPECT_TRUE(view->IsPrintLayout());
    EXPECT_TRUE(frame->property("preview").toBool());
    EXPECT_FALSE(view->Grid()->isVisible());
    EXPECT_TRUE(view->PageView()->isVisible());
    EXPECT_TRUE(view->PrintToolBar()->isVisible());
    EXPECT_FALSE(view->ToolBar()->isVisible());
    const int pages = view->Grid()->PrintLayout().GetPageCount();
    EXPECT_GE(pages, 3);
    EXPECT_EQ(view->PageView()->PageCount(), pages);
    // Actual size on A4 at the screen's resolution.
    EXPECT_EQ(view->PageView()->PageSize(), QSize(2100 * 96 / 254, 2970 * 96 / 254));
    EXPECT_TRUE(view->ToolBarAction(CReportView::CmdActualSize)->isChecked());
    EXPECT_FALSE(view->ToolBarAction(CReportView::CmdOnePage)->isChecked());

    // The pages are drawn: ink on the first page's image.
    const QImage &first = view->PageView()->CacheImages().front();
    ASSERT_FALSE(first.isNull());
    int ink = 0;
    for (int y = 0; y < first.height(); y += 4)
        for (int x = 0; x < first.width(); x += 4)
            ink += first.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_GT(ink, 50);

    command(view, CReportView::CmdOnePage);
    EXPECT_EQ(frame->property("zoom").toInt(), 1);
    EXPECT_EQ(view->PageView()->Layout().CacheLength(), 2);

    command(view, CReportView::CmdDataMode);
    EXPECT_FALSE(view->IsPrintLayout());
    EXPECT_FALSE(frame->property("preview").toBool());
    EXPECT_TRUE(view->Grid()->isVisible());
    EXPECT_FALSE(view->PageView()->isVisible());
    EXPECT_TRUE(view->PageView()->CacheImages().empty());
    EXPECT_FALSE(view->IsCommandEnabled(CReportView::CmdOnePage));
}

TEST_F(ReportPrintViewTest, NextPageStepsToTheLastAndDrawsOnlyTheNewPage)
{
    addEntries(150);
    CReportFrame *frame = open(1);
    ASSERT_NE(frame, nullptr);
    CReportView *view = frame->View();
    command(view, CReportView::CmdPrintLayout);
    CReportPageView *pages = view->PageView();
    ASSERT_EQ(pages->Zoom(), 1);
    const int count = pages->PageCount();
    ASSERT_GE(count, 3);
    EXPECT_EQ(pages->FirstVisiblePage(), 1);
    EXPECT_FALSE(view->IsCommandEnabled(CReportView::CmdPreviousPage));

    for (int page = 2; page <= count; ++page) {
        const int drawnBefore = pages->PagesDrawn();
        command(view, CReportView::CmdNextPage);
        EXPECT_EQ(pages->FirstVisiblePage(), page);
        // The page below the new one is the only image drawn again.
        EXPECT_EQ(pages->PagesDrawn() - drawnBefore, page < count ? 1 : 0) << page;
    }
    EXPECT_FALSE(view->IsCommandEnabled(CReportView::CmdNextPage));
    EXPECT_TRUE(view->IsCommandEnabled(CReportView::CmdPreviousPage));

    command(view, CReportView::CmdFirstPage);
    EXPECT_EQ(pages->FirstVisiblePage(), 1);
    command(view, CReportView::CmdLastPage);
    EXPECT_EQ(pages->FirstVisiblePage(), count);

    // A wheel notch down and up moves one page in this mode.
    command(view, CReportView::CmdFirstPage);
    QWheelEvent down(QPointF(50, 50), pages->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(pages, &down);
    EXPECT_EQ(pages->FirstVisiblePage(), 2);
    QTest::keyClick(pages, Qt::Key_Home);
    EXPECT_EQ(pages->FirstVisiblePage(), 1);
}

TEST_F(ReportPrintViewTest, OnePageAtActualSizeHasACacheOfOneAndWindowWidthFallsBackOnAWideWindow)
{
    addEntries(3);
    CReportFrame *frame = open(3);
    ASSERT_NE(frame, nullptr);
    CReportView *view = frame->View();
    command(view, CReportView::CmdPrintLayout);
    CReportPageView *pages = view->PageView();
    ASSERT_EQ(pages->PageCount(), 1);
    // 1000 pixels across, wider than the page and 20 pixels: window width
    // cannot hold and actual size takes over.
    EXPECT_EQ(view->Zoom(), 2);
    EXPECT_EQ(frame->property("zoom").toInt(), 2);
    EXPECT_FALSE(view->IsCommandEnabled(CReportView::CmdWindowWidth));
    EXPECT_EQ(pages->Layout().CacheLength(), 1);
    EXPECT_FALSE(view->IsCommandEnabled(CReportView::CmdSeveralPages));

    // Narrower than the page: window width again, still one image.
    frame->showNormal();
    frame->resize(600, 600);
    QApplication::processEvents();
    command(view, CReportView::CmdWindowWidth);
    EXPECT_EQ(view->Zoom(), 3);
    EXPECT_LT(pages->Layout().Factor(), 1.0);
    EXPECT_EQ(pages->Layout().CacheLength(), 1);
    EXPECT_EQ(pages->CacheImages().front().size(), pages->Layout().DisplayedSize());
    // Wider again: back to actual size at the next resize.
    frame->resize(1000, 600);
    QApplication::processEvents();
    EXPECT_EQ(view->Zoom(), 2);
}

TEST_F(ReportPrintViewTest, LayingOutAgainFollowsTheDefinitionsPaperAndTemplate)
{
    addEntries(150);
    CReportFrame *frame = open();
    ASSERT_NE(frame, nullptr);
    CReportView *view = frame->View();
    command(view, CReportView::CmdPrintLayout);
    const int portrait = view->PageView()->PageCount();

    frame->Definition().Portrait = false;
    view->LayOutPages();
    EXPECT_EQ(view->PageView()->PageSize(), QSize(2970 * 96 / 254, 2100 * 96 / 254));
    EXPECT_GT(view->PageView()->PageCount(), portrait);

    // A template that is nowhere gives one page with its message.
    frame->Definition().Modele = QStringLiteral("nowhere");
    view->LayOutPages();
    EXPECT_EQ(view->PageView()->PageCount(), 1);

    // The data mode lays nothing out.
    command(view, CReportView::CmdDataMode);
    frame->Definition().Modele = QStringLiteral("zarvo");
    view->LayOutPages();
    EXPECT_EQ(view->PageView()->PageCount(), 0);
}

TEST_F(ReportPrintViewTest, AReportRestoredInPrintLayoutOpensThereAtItsZoom)
{
    addEntries(40);
    auto *frame = new CReportFrame(host);
    area.addSubWindow(frame);
    frame->show();
    ASSERT_TRUE(frame->OpenReport(definition.Id, true, 1, true));
    EXPECT_TRUE(frame->property("preview").toBool());
    frame->OnActivated();
    QTRY_VERIFY(frame->View()->IsPrintLayout() && frame->View()->PageView()->PageCount() > 0);
    EXPECT_EQ(frame->View()->Zoom(), 1);
    EXPECT_EQ(frame->property("zoom").toInt(), 1);
    EXPECT_TRUE(frame->View()->ToolBarAction(CReportView::CmdOnePage)->isChecked());
}
