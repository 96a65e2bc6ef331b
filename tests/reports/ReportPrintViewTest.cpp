// The report window's print layout on a built report: the pages of the
// pagination, zoom and paging commands, the page cache drawing only new
// pages, the mode and zoom the window lists for the next start.
#include "CBdD.h"
#include "CDlgName.h"
#include "CDlgPage.h"
#include "CReportDates.h"
#include "CReportDivers.h"
#include "CReportWizard.h"
#include "CWizardDialog.h"
#include "CmyDataBase.h"
#include "CMyEdit.h"
#include "DialogAnswers.h"
#include "MessageBoxAnswers.h"
#include "MessageBoxParams.h"
#include "ReportPlaceholders.h"
#include "ReportPrinting.h"
#include "Texts.h"
#include "CPageZoomLayout.h"
#include "CReportFrame.h"
#include "CReportGrid.h"
#include "CReportPageView.h"
#include "CReportModel.h"
#include "CReportPapers.h"
#include "CReportPrintLayout.h"
#include "CReportStore.h"
#include "CTreeItem.h"
#include "CReportView.h"
#include "Formatter.h"
#include "RecordingReportHost.h"
#include "ReportFixture.h"
#include "TestFolders.h"
#include "tReportDefinition.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QToolBar>

#include <functional>

#include <algorithm>

#include <signal.h>
#include <sys/resource.h>

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
        InitReportPlaceholders();
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

namespace {

// Runs a program of poppler-utils and gives what it wrote.
QString runTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pdfPages(const QString &path)
{
    const QString info = runTool(QStringLiteral("pdfinfo"), {path});
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

std::unique_ptr<QPrinter> pdfPrinter(const QString &path)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    return printer;
}

class ReportPrintTest : public ReportPrintViewTest
{
protected:
    void SetUp() override
    {
        ReportPrintViewTest::SetUp();
        // The file a print to a file proposes for the report.
        pdf = TestFolders::file(QStringLiteral("Par projet.pdf"));
        CReportPapers::Instance().SetPrinterSource([this] { return pdfPrinter(pdf); });
        fileTargetOffered = CReportPapers::Instance().OffersFileTarget();
    }
    void TearDown() override
    {
        CReportPapers::Instance().SetPrinterSource({});
        CReportPapers::Instance().SetFileTargetOffered(fileTargetOffered);
        ReportPrintViewTest::TearDown();
    }
    // A report of `entries` lines shown in print layout.
    CReportView *printLayout(int entries, int zoom = 2)
    {
        addEntries(entries);
        shown = open(zoom);
        if (!shown)
            return nullptr;
        shown->View()->OnCommand(CReportView::CmdPrintLayout);
        return shown->View();
    }
    CReportFrame *frameOf(CReportView *) const { return shown; }
    // The sample reports the program installs, writable, in place of the
    // test's reports.
    void useSampleReports()
    {
        ASSERT_TRUE(QFile::remove(host.reports));
        ASSERT_TRUE(QFile::copy(QStringLiteral(ZARVO_SAMPLE_RPT_FRA), host.reports));
        QFile::setPermissions(host.reports, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    // Entries of this week (Monday 4 March 2024 is the fixture's today):
    // an hour and a half at 8:00 on project 3, one a day from Friday 1 to
    // Wednesday 6 March.
    void addEntriesOfThisWeek()
    {
        CBdD db(host.database);
        for (int i = 0; i < 6; ++i) {
            const qint64 start = At(2024, 3, 1 + i, 8);
            db.Execute(Platform::Formatter::sprintf(
                u"insert into Taches (Id, Debut, Fin, IdProjet, IdActivite, Facture, IdTauxHoraire, Deleted, Title, "
                u"Notes) values (%d, %I64d, %I64d, 3, 7, 0, 5, 0, 'Tâche', '')",
                {i + 1, start, start + 5400}));
        }
    }
    // No message box waits for a person.
    MessageBoxAnswers unexpectedBoxes;
    QString pdf;
    CReportFrame *shown = nullptr;
    bool fileTargetOffered = true;
};

} // namespace

TEST_F(ReportPrintTest, APageRangePrintsThosePagesWithTheReportsTexts)
{
    definition.TitreAuto = false;
    definition.Titre = QStringLiteral("Relevé d'essai");
    ASSERT_TRUE(CReportStore(host.reports).SaveReport(definition));
    CReportView *view = printLayout(150);
    ASSERT_NE(view, nullptr);
    const int count = view->PageView()->PageCount();
    ASSERT_GE(count, 3);

    DialogAnswers<QPrintDialog> answers;
    answers.Push([](QPrintDialog &dialog) {
        // Offered: every page, a range or the selection, and a PDF file.
        EXPECT_EQ(dialog.printRange(), QAbstractPrintDialog::AllPages);
        EXPECT_TRUE(dialog.testOption(QAbstractPrintDialog::PrintPageRange));
        EXPECT_TRUE(dialog.testOption(QAbstractPrintDialog::PrintSelection));
        EXPECT_TRUE(dialog.testOption(QAbstractPrintDialog::PrintToFile));
        dialog.setPrintRange(QAbstractPrintDialog::PageRange);
        dialog.setFromTo(2, 3);
        return int(QDialog::Accepted);
    });
    ASSERT_TRUE(view->IsCommandEnabled(CReportView::CmdPrint));
    view->OnCommand(CReportView::CmdPrint);
    EXPECT_EQ(answers.Asked(), 1);
    ASSERT_TRUE(QFile::exists(pdf));
    EXPECT_EQ(pdfPages(pdf), 2);
    const QString text = runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(text.contains(QStringLiteral("Relevé d'essai"))) << qPrintable(text.left(2000));
    EXPECT_TRUE(text.contains(QStringLiteral("Page 2 / %1").arg(count)));
    EXPECT_TRUE(text.contains(QStringLiteral("Page 3 / %1").arg(count)));
    EXPECT_FALSE(text.contains(QStringLiteral("Page 1 / ")));
    EXPECT_TRUE(text.contains(view->Grid()->PrintLayout().Captions().value(0))) << "the column captions";
    EXPECT_FALSE(frameOf(view)->Definition().Modified) << "the same A4 portrait paper";

    // Everything, to find the total on the last page; the first page as a
    // picture, with ink in the header band.
    answers.Push(QDialog::Accepted);
    view->OnCommand(CReportView::CmdPrint);
    EXPECT_EQ(pdfPages(pdf), count);
    EXPECT_TRUE(runTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}).contains(QStringLiteral("Total")));
    const QString png = TestFolders::file(QStringLiteral("page"));
    runTool(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("50"),
                                         QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                         QStringLiteral("1"), QStringLiteral("-singlefile"), pdf, png});
    QImage page(png + QStringLiteral(".png"));
    ASSERT_FALSE(page.isNull());
    int ink = 0;
    for (int y = 0; y < page.height() / 8; ++y)
        for (int x = 0; x < page.width(); ++x)
            ink += qGray(page.pixel(x, y)) < 200;
    EXPECT_GT(ink, 20);
    const QString keep = qEnvironmentVariable("ZARVO_SCREENSHOT_DIR");
    if (!keep.isEmpty())
        page.save(keep + QStringLiteral("/printed-page-1.png"));
}

// A print asked in greyscale comes out grey in the PDF file, its text still
// text; in colour the same page keeps the template's colours.
TEST_F(ReportPrintTest, APrintInGreyscaleIsGreyInThePdf)
{
    definition.TitreAuto = false;
    definition.Titre = QStringLiteral("Relevé d'essai");
    ASSERT_TRUE(CReportStore(host.reports).SaveReport(definition));
    CReportView *view = printLayout(40);
    ASSERT_NE(view, nullptr);
    const QString png = TestFolders::file(QStringLiteral("page"));
    for (const QPrinter::ColorMode mode : {QPrinter::Color, QPrinter::GrayScale}) {
        SCOPED_TRACE(mode == QPrinter::Color ? "colour" : "greyscale");
        QFile::remove(pdf);
        DialogAnswers<QPrintDialog> answers;
        answers.Push([mode](QPrintDialog &dialog) {
            dialog.printer()->setColorMode(mode);
            dialog.setPrintRange(QAbstractPrintDialog::PageRange);
            dialog.setFromTo(1, 1);
            return int(QDialog::Accepted);
        });
        view->OnCommand(CReportView::CmdPrint);
        ASSERT_EQ(answers.Asked(), 1);
        ASSERT_TRUE(QFile::exists(pdf));
        EXPECT_TRUE(runTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")})
                        .contains(QStringLiteral("Relevé d'essai")));
        QFile::remove(png + QStringLiteral(".png"));
        runTool(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("50"),
                                             QStringLiteral("-singlefile"), pdf, png});
        const QImage page(png + QStringLiteral(".png"));
        ASSERT_FALSE(page.isNull());
        int ink = 0;
        int coloured = 0;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                const QRgb pixel = page.pixel(x, y);
                ink += qGray(pixel) < 200;
                coloured += std::max({qRed(pixel), qGreen(pixel), qBlue(pixel)})
                                - std::min({qRed(pixel), qGreen(pixel), qBlue(pixel)})
                            > 8;
            }
        }
        EXPECT_GT(ink, 100);
        if (mode == QPrinter::GrayScale)
            EXPECT_EQ(coloured, 0);
        else
            EXPECT_GT(coloured, 100) << "the template's colours";
        const QString keep = qEnvironmentVariable("ZARVO_SCREENSHOT_DIR");
        if (!keep.isEmpty())
            page.save(keep + (mode == QPrinter::Color ? QStringLiteral("/printed-colour.png")
                                                      : QStringLiteral("/printed-greyscale.png")));
    }
}

TEST_F(ReportPrintTest, TheSelectionPrintsTheFirstVisiblePageAndTheNextWhenSeveralShow)
{
    CReportView *view = printLayout(150, 0);
    ASSERT_NE(view, nullptr);
    ASSERT_GE(view->PageView()->PageCount(), 3);
    DialogAnswers<QPrintDialog> answers;
    const auto selection = [](QPrintDialog &dialog) {
        dialog.setPrintRange(QAbstractPrintDialog::Selection);
        return int(QDialog::Accepted);
    };
    answers.Push(selection);
    view->OnCommand(CReportView::CmdPrint);
    EXPECT_EQ(pdfPages(pdf), 2);

    view->OnCommand(CReportView::CmdOnePage);
    view->OnCommand(CReportView::CmdNextPage);
    answers.Push(selection);
    view->OnCommand(CReportView::CmdPrint);
    EXPECT_EQ(pdfPages(pdf), 1);
    const QString text = runTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    EXPECT_TRUE(text.contains(QStringLiteral("Page 2 / "))) << qPrintable(text.right(300));
}

// Without a printer the dialog still prints to a PDF file, proposed under
// the report's name and chosen as a user does it; with no target at all,
// nothing is printed.
TEST_F(ReportPrintTest, WithoutAPrinterTheDialogPrintsToAPdfFile)
{
    CReportView *view = printLayout(150);
    ASSERT_NE(view, nullptr);
    const int count = view->PageView()->PageCount();
    ASSERT_GE(count, 3);
    CReportPapers::Instance().SetPrinterSource([] { return std::unique_ptr<QPrinter>(); });
    ASSERT_EQ(CReportPapers::Instance().InstalledPrinter(), nullptr);

    DialogAnswers<QPrintDialog> answers;
    answers.Push(QDialog::Rejected);
    view->OnCommand(CReportView::CmdPrint);
    EXPECT_EQ(answers.Asked(), 1) << "the dialog, a file being a target";
    EXPECT_FALSE(QFile::exists(pdf));

    QString proposed;
    const QString chosen = TestFolders::file(QStringLiteral("sans imprimante.pdf"));
    answers.Push([&](QPrintDialog &dialog) {
        EXPECT_TRUE(dialog.testOption(QAbstractPrintDialog::PrintToFile));
        dialog.show();
        auto *printers = dialog.findChild<QComboBox *>(QStringLiteral("printers"));
        auto *file = dialog.findChild<QLineEdit *>(QStringLiteral("filename"));
        auto *buttons = dialog.findChild<QDialogButtonBox *>();
        if (!printers || !file || !buttons) {
            ADD_FAILURE() << "the print dialog's printer list, file field and buttons";
            return int(QDialog::Rejected);
        }
        // The file is the only target: chosen, its field open.
        EXPECT_EQ(printers->currentIndex(), printers->count() - 1);
        EXPECT_TRUE(file->isEnabled());
        proposed = file->text();
        file->selectAll();
        QTest::keyClicks(file, chosen);
        QPushButton *print = nullptr;
        for (QAbstractButton *button : buttons->buttons())
            if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole)
                print = qobject_cast<QPushButton *>(button);
        if (!print) {
            ADD_FAILURE() << "the dialog's print button";
            return int(QDialog::Rejected);
        }
        print->click();
        return dialog.result();
    });
    view->OnCommand(CReportView::CmdPrint);
    EXPECT_EQ(answers.Asked(), 2);
    EXPECT_TRUE(proposed.endsWith(QStringLiteral("/Par projet.pdf"))) << qPrintable(proposed);
    EXPECT_NE(QFileInfo(proposed).absolutePath(), QFileInfo(chosen).absolutePath());
    ASSERT_TRUE(QFile::exists(chosen));
    EXPECT_EQ(pdfPages(chosen), count) << "every page of the print layout";
    EXPECT_TRUE(unexpectedBoxes.AskedBoxes().empty());
    const QString keep = qEnvironmentVariable("ZARVO_SCREENSHOT_DIR");
    if (!keep.isEmpty())
        QFile::copy(chosen, keep + QStringLiteral("/printed-without-printer.pdf"));

    // The next print proposes the report's file beside the one chosen.
    answers.Push([&](QPrintDialog &dialog) {
        dialog.show();
        if (auto *file = dialog.findChild<QLineEdit *>(QStringLiteral("filename")))
            proposed = file->text();
        return int(QDialog::Rejected);
    });
    view->OnCommand(CReportView::CmdPrint);
    EXPECT_EQ(proposed, pdf);

    // No printer and no file offered: no target at all.
    QFile::remove(pdf);
    QFile::remove(chosen);
    CReportPapers::Instance().SetFileTargetOffered(false);
    MessageBoxAnswers boxes;
    boxes.Push(MessageBoxAnswer::Ok);
    view->OnCommand(CReportView::CmdPrint);
    ASSERT_EQ(boxes.AskedBoxes().size(), 1u);
    EXPECT_EQ(boxes.AskedBoxes()[0].text, Platform::Texts::get(677));
    EXPECT_EQ(answers.Asked(), 3) << "no dialog without a target";
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_FALSE(QFile::exists(chosen));
}

// The invoiced flag, a tick on screen, is written "Oui" or "Non" on the
// pages and in the PDF, each on its own entry's line.
TEST_F(ReportPrintTest, ThePagesAndThePdfWriteTheInvoicedFlagOnEachEntry)
{
    {
        CBdD db(host.database);
        for (int i = 1; i <= 4; ++i) {
            const qint64 start = At(2023, 1, 1, 9) + qint64(i) * 86400;
            db.Execute(Platform::Formatter::sprintf(
                u"insert into Taches (Id, Debut, Fin, IdProjet, IdActivite, Facture, IdTauxHoraire, Deleted, Title, "
                u"Notes) values (%d, %I64d, %I64d, 3, 7, %d, 5, 0, '', '')",
                {i, start, start + 3600, i % 2}));
        }
    }
    shown = open();
    ASSERT_NE(shown, nullptr);
    CReportView *view = shown->View();
    view->OnCommand(CReportView::CmdPrintLayout);
    ASSERT_TRUE(view->IsPrintLayout());
    const CReportPrintLayout &layout = view->Grid()->PrintLayout();
    int invoicedColumn = -1;
    for (int c = 0; c < view->Model().ColumnCount(); ++c)
        if (view->Model().Columns()[size_t(c)].Kind == CReportGrid::InvoicedColumnKind)
            invoicedColumn = c;
    ASSERT_GT(invoicedColumn, 0) << "the invoiced column is shown";
    // Each entry's line of the pages: its date (the first cell) and flag.
    QStringList dates;
    QStringList cells;
    for (const CReportPrintLayout::tLine &line : layout.Lines()) {
        const tReportEntry *e = line.Row->Item().EntryOf();
        if (!e)
            continue;
        const QStringList texts = layout.LineTexts(line);
        dates << texts.value(0);
        cells << QStringLiteral("%1 %2").arg(e->Id).arg(texts.value(invoicedColumn));
    }
    EXPECT_EQ(cells, (QStringList{"1 Oui", "2 Non", "3 Oui", "4 Non"}));

    DialogAnswers<QPrintDialog> answers;
    answers.Push(QDialog::Accepted);
    view->OnCommand(CReportView::CmdPrint);
    ASSERT_TRUE(QFile::exists(pdf));
    const QString text = runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    const QStringList lines = text.split(u'\n');
    QStringList printed;
    for (int i = 0; i < dates.size(); ++i) {
        const auto line = std::find_if(lines.cbegin(), lines.cend(),
                                       [&](const QString &l) { return l.contains(dates[i]); });
        if (line == lines.cend()) {
            printed << QStringLiteral("%1 ?").arg(i + 1);
            continue;
        }
        const bool yes = line->contains(QRegularExpression(QStringLiteral("\\bOui\\b")));
        const bool no = line->contains(QRegularExpression(QStringLiteral("\\bNon\\b")));
        printed << QStringLiteral("%1 %2").arg(i + 1).arg(yes == no ? QStringLiteral("?")
                                                          : yes ? QStringLiteral("Oui")
                                                                : QStringLiteral("Non"));
    }
    EXPECT_EQ(printed, cells) << qPrintable(text.left(3000));
    const QString keep = qEnvironmentVariable("ZARVO_SCREENSHOT_DIR");
    if (!keep.isEmpty())
        QFile::copy(pdf, keep + QStringLiteral("/printed-invoiced.pdf"));
}

namespace {

// A text as pdftotext gives it, its spaces (no-break ones included) made
// single plain ones.
QString plainSpaces(QString text)
{
    text.replace(QChar(0x00A0), u' ');
    text.replace(QChar(0x202F), u' ');
    return text.simplified();
}

} // namespace

// The grand total ends the last page with the report's total: the default
// columns of a detail report end with the invoiced flag, whose total cell
// is empty, and the total is the last one the total row holds; a report
// whose last column has a total prints that one, as before.
TEST_F(ReportPrintTest, TheGrandTotalHoldsTheReportsTotal)
{
    addEntries(30);
    const struct
    {
        const char *what;
        int type;
        bool invoicedShown;
        int totalKind; // the column whose total is printed
        const char *total;
    } cases[] = {
        {"time, the invoiced flag last", 0, true, 5, "30:00"},
        {"time and cost, the invoiced flag last", 2, true, 7, "1 800,00 €"},
        {"time and cost, the cost last", 2, false, 7, "1 800,00 €"},
        {"time, the duration last", 0, false, 5, "30:00"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        definition.Type = c.type;
        definition.ShowStatus = c.invoicedShown;
        definition.Columns.SetType(CReportColumnSet::TypeForReportKind(c.type));
        definition.SetDefaultColumns(definition.Columns);
        ASSERT_TRUE(CReportStore(host.reports).SaveReport(definition));
        shown = open();
        ASSERT_NE(shown, nullptr);
        CReportView *view = shown->View();
        view->OnCommand(CReportView::CmdPrintLayout);
        const CReportModel &model = view->Model();
        const int last = model.ColumnCount() - 1;
        ASSERT_GT(last, 0);
        EXPECT_EQ(model.Columns()[size_t(last)].Kind == CReportGrid::InvoicedColumnKind, c.invoicedShown);
        QString shownTotal;
        for (int column = 0; column <= last; ++column)
            if (model.Columns()[size_t(column)].Kind == c.totalKind)
                shownTotal = model.GetCellText(column, model.TotalRow(), false, false);
        EXPECT_EQ(plainSpaces(shownTotal), QString::fromUtf8(c.total)) << "the total row on screen";

        QFile::remove(pdf);
        DialogAnswers<QPrintDialog> answers;
        answers.Push(QDialog::Accepted);
        view->OnCommand(CReportView::CmdPrint);
        ASSERT_TRUE(QFile::exists(pdf));
        const QStringList lines =
            runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}).split(u'\n');
        const auto grand = std::find_if(lines.cbegin(), lines.cend(), [](const QString &line) {
            return line.contains(QStringLiteral("Total général :"));
        });
        ASSERT_NE(grand, lines.cend()) << qPrintable(lines.join(u'\n').right(2000));
        EXPECT_EQ(plainSpaces(grand->section(QStringLiteral("Total général :"), 1)), QString::fromUtf8(c.total));
        const QString keep = qEnvironmentVariable("ZARVO_SCREENSHOT_DIR");
        if (!keep.isEmpty())
            QFile::copy(pdf, keep + QStringLiteral("/printed-grand-total-%1.pdf").arg(int(&c - cases)));
        delete shown;
        shown = nullptr;
    }
}

namespace {

// The text of a printed PDF's first page, laid out as on the page.
QString firstPageText(const QString &pdf)
{
    return runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-f"), QStringLiteral("1"),
                                                 QStringLiteral("-l"), QStringLiteral("1"), pdf, QStringLiteral("-")});
}

// The lines of a page's text that hold more than spaces: on a first page,
// its heading lines (the page's header, then the report's title) first.
QStringList filledLines(const QString &text)
{
    QStringList lines = text.split(u'\n');
    lines.removeIf([](const QString &line) { return line.trimmed().isEmpty(); });
    return lines;
}

} // namespace

// A sample report, whose stored title is empty (an automatic one), prints
// its automatic title at the head of its first page and in the heading of
// every page; the definition keeps its title automatic.
TEST_F(ReportPrintTest, ASampleReportPrintsItsAutomaticTitle)
{
    ASSERT_NO_FATAL_FAILURE(useSampleReports());
    int id = -1;
    ASSERT_EQ(CReportStore(host.reports).FindReportByName(QStringLiteral("Semaine en cours par jour"), id), 1);
    tReportDefinition stored;
    ASSERT_TRUE(CReportStore(host.reports).LoadReport(id, stored));
    ASSERT_TRUE(stored.Titre.isEmpty());
    ASSERT_TRUE(stored.TitreAuto);
    addEntriesOfThisWeek();
    definition.Id = id;
    shown = open();
    ASSERT_NE(shown, nullptr);
    CReportView *view = shown->View();
    view->OnCommand(CReportView::CmdPrintLayout);
    ASSERT_GE(view->PageView()->PageCount(), 1);
    DialogAnswers<QPrintDialog> answers;
    // Proposed under the report's name.
    pdf = TestFolders::file(QStringLiteral("Semaine en cours par jour.pdf"));
    answers.Push(QDialog::Accepted);
    view->OnCommand(CReportView::CmdPrint);
    ASSERT_TRUE(QFile::exists(pdf));
    const QString title = QStringLiteral("Détail temps - Semaine en cours");
    const QString firstPage = firstPageText(pdf);
    const QStringList lines = filledLines(firstPage);
    ASSERT_GE(lines.size(), 3) << qPrintable(firstPage);
    EXPECT_TRUE(lines[0].contains(title)) << "the page's heading: " << qPrintable(lines[0]);
    EXPECT_TRUE(lines[1].contains(title)) << "the first page's title: " << qPrintable(lines[1]);
    EXPECT_TRUE(firstPage.contains(QStringLiteral("Alpha-Web"))) << "the week's entries";
    EXPECT_TRUE(shown->Definition().TitreAuto);
    EXPECT_FALSE(shown->Definition().Modified);
    const QString keep = qEnvironmentVariable("ZARVO_SCREENSHOT_DIR");
    if (!keep.isEmpty())
        QFile::copy(pdf, keep + QStringLiteral("/printed-sample-title.pdf"));
}

// A report's automatic title stays automatic through the report's
// settings and a save, for a sample report and for one the settings made:
// the settings' Terminer (every page visited) and the save store it as an
// empty title, which the store reads back as automatic; the period changed
// afterwards, the printed heading and title follow it. A title the user
// typed is stored and printed as typed, whatever the period.
TEST_F(ReportPrintTest, AnAutomaticTitleStaysAutomaticThroughTheSettingsAndASave)
{
    ASSERT_NO_FATAL_FAILURE(useSampleReports());
    addEntriesOfThisWeek();
    // The report's settings as the program runs them; `change` acts on the
    // pages once each was shown, before Terminer.
    std::function<void(CReportWizard &)> change;
    CReportFrame::SetSettingsEditor([&](tReportDefinition &copy, QWidget *owner) {
        CReportWizard::tSources sources;
        sources.Projects = host.ProjectSnapshot();
        sources.ProgramTemplates = host.programTemplates;
        CReportWizard wizard(copy, sources, owner);
        DialogAnswers<CWizardDialog> answers;
        answers.Push([&](CWizardDialog &frame) {
            frame.InitDialog();
            frame.show();
            for (int page = 0; page < frame.PageCount(); ++page) {
                frame.ShowPage(page);
                QApplication::processEvents();
            }
            if (change)
                change(wizard);
            frame.accept();
            return frame.result();
        });
        return wizard.Run();
    });
    struct Reset
    {
        ~Reset() { CReportFrame::SetSettingsEditor({}); }
    } reset;
    const auto storedTitle = [&](int id) {
        SQLite::CmyDataBase db;
        if (db.OpenReadOnly(host.reports) != 0)
            return QStringLiteral("<no file>");
        SQLite::MyTablePtr t = db.Query(Platform::Formatter::sprintf(u"select Titre from Reports where Id=%d", {id}));
        return t && t->MoveFirst() ? t->GetValueAt(0) : QStringLiteral("<no row>");
    };
    // The report printed to a PDF: its first page's heading and title.
    const auto printedHeading = [&](CReportFrame *frame) {
        CReportView *view = frame->View();
        view->OnCommand(CReportView::CmdPrintLayout);
        DialogAnswers<QPrintDialog> print;
        QString file;
        print.Push([&file](QPrintDialog &dialog) {
            file = dialog.printer()->outputFileName();
            return int(QDialog::Accepted);
        });
        view->OnCommand(CReportView::CmdPrint);
        const QStringList lines = filledLines(firstPageText(file));
        return lines.size() >= 2 ? lines.mid(0, 2) : QStringList{QStringLiteral("<nothing printed>")};
    };

    struct Case
    {
        const char *what;
        bool sample;         // the sample report, else one made by the settings
        const char16_t *typed; // a title typed in the layout page, else none
        const char *storedAfter;
        const char *printedAfter; // once the period is "Mois en cours"
    };
    const Case cases[] = {
        {"the sample report", true, nullptr, "", "Détail temps - Mois en cours"},
        {"a report the settings made", false, nullptr, "", "Détail temps - Mois en cours"},
        {"a typed title", true, u"Relevé de l'équipe", "Relevé de l'équipe", "Relevé de l'équipe"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        auto *frame = new CReportFrame(host);
        area.addSubWindow(frame);
        frame->showMaximized();
        int id = -1;
        if (c.sample) {
            ASSERT_EQ(CReportStore(host.reports).FindReportByName(QStringLiteral("Semaine en cours par jour"), id), 1);
            ASSERT_TRUE(frame->OpenReport(id, false, 2, false));
            // Nothing changed: Terminer.
            change = [&c](CReportWizard &wizard) {
                if (!c.typed)
                    return;
                CReportDivers &layout = wizard.LayoutPage();
                layout.AutoTitleBox()->click();
                layout.TitleBox()->setText(QString::fromUtf16(c.typed));
            };
            ASSERT_TRUE(frame->EditReportSettings());
        } else {
            // A new report starts in its settings: a time report of this
            // week, grouped by day.
            change = [](CReportWizard &wizard) {
                wizard.PeriodPage().SelectPeriod(6);
                // The layout page, shown again, follows the period.
                wizard.Frame().ShowPage(0);
                wizard.Frame().ShowPage(wizard.Frame().PageCount() - 1);
                EXPECT_EQ(wizard.LayoutPage().TitleBox()->text(), QStringLiteral("Détail temps - Semaine en cours"));
            };
            ASSERT_TRUE(frame->OpenReport(-1, false, 2, false));
        }
        ASSERT_TRUE(frame->Definition().Modified);
        EXPECT_EQ(frame->Definition().TitreAuto, !c.typed);
        // Saved: a new report under the name the user gives.
        DialogAnswers<CDlgName> name;
        name.Push([](CDlgName &dialog) {
            dialog.NameEdit()->setText(QStringLiteral("Fait par l'assistant"));
            dialog.OnOk();
            return dialog.result();
        });
        ASSERT_TRUE(frame->View()->Save());
        id = frame->Definition().Id;
        ASSERT_NE(id, -1);
        EXPECT_EQ(storedTitle(id), QString::fromUtf8(c.storedAfter));
        tReportDefinition back;
        ASSERT_TRUE(CReportStore(host.reports).LoadReport(id, back));
        EXPECT_EQ(back.TitreAuto, !c.typed);
        delete frame;

        // Opened again, its period changed to the current month, printed.
        frame = new CReportFrame(host);
        area.addSubWindow(frame);
        frame->showMaximized();
        ASSERT_TRUE(frame->OpenReport(id, false, 2, false));
        EXPECT_EQ(frame->Definition().TitreAuto, !c.typed);
        change = [](CReportWizard &wizard) {
            wizard.PeriodPage().SelectPeriod(4);
        };
        ASSERT_TRUE(frame->EditReportSettings());
        const QString expected = QString::fromUtf8(c.printedAfter);
        const QStringList heading = printedHeading(frame);
        ASSERT_EQ(heading.size(), 2) << qPrintable(heading.join(u'\n'));
        EXPECT_TRUE(heading[0].contains(expected)) << "the page's heading: " << qPrintable(heading[0]);
        EXPECT_TRUE(heading[1].contains(expected)) << "the first page's title: " << qPrintable(heading[1]);
        // Saved again: still automatic, or still as typed.
        ASSERT_TRUE(frame->View()->Save());
        EXPECT_EQ(storedTitle(id), QString::fromUtf8(c.storedAfter));
        delete frame;
    }
}

// A PDF that cannot be written names its file and the cause, and nothing
// is printed: a folder that is a plain file (which stops root too) and a
// folder that does not exist.
TEST_F(ReportPrintTest, APdfThatCannotBeWrittenNamesItsFile)
{
    const QString plainFile = TestFolders::writeFile(QStringLiteral("not-a-folder"), "x");
    const QString targets[] = {plainFile + QStringLiteral("/Par projet.pdf"),
                               TestFolders::file(QStringLiteral("missing")) + QStringLiteral("/Par projet.pdf")};
    addEntries(30);
    for (const QString &target : targets) {
        SCOPED_TRACE(target.toStdString());
        CReportPapers::Instance().SetPrinterSource([target] { return pdfPrinter(target); });
        shown = open();
        ASSERT_NE(shown, nullptr);
        CReportView *view = shown->View();
        view->OnCommand(CReportView::CmdPrintLayout);
        DialogAnswers<QPrintDialog> answers;
        QString proposed;
        answers.Push([&proposed](QPrintDialog &dialog) {
            proposed = dialog.printer()->outputFileName();
            return int(QDialog::Accepted);
        });
        MessageBoxAnswers boxes;
        boxes.Push(MessageBoxAnswer::Ok);
        view->OnCommand(CReportView::CmdPrint);
        EXPECT_EQ(proposed, target);
        ASSERT_EQ(boxes.AskedBoxes().size(), 1u);
        const QString message = boxes.AskedBoxes()[0].text;
        EXPECT_TRUE(message.startsWith(QStringLiteral("Le fichier « %1 » n'a pas pu être écrit :\n").arg(target)))
            << qPrintable(message);
        EXPECT_TRUE(message.endsWith(QStringLiteral("\n\nLe rapport n'a pas été imprimé."))) << qPrintable(message);
        EXPECT_NE(message, Platform::Texts::get(677));
        // The cause, in the system's words, stands between the two.
        EXPECT_GT(message.section(u'\n', 1, 1).trimmed().size(), 3) << qPrintable(message);
        EXPECT_FALSE(QFileInfo::exists(target));
        EXPECT_FALSE(QFileInfo(plainFile).isDir());
        EXPECT_EQ(TestFolders::readFile(plainFile), QByteArray("x"));
        delete shown;
        shown = nullptr;
    }
}

namespace {

// Limits the size of the files the process writes to `bytes`, a write past
// it failing as on a full disk (the signal such a write raises ignored),
// until it goes; root is held to the limit too.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(qint64 bytes)
    {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        m_signalSet = sigaction(SIGXFSZ, &ignore, &m_signal) == 0;
        m_limitSet = getrlimit(RLIMIT_FSIZE, &m_limit) == 0;
        if (m_limitSet) {
            rlimit limited = m_limit;
            limited.rlim_cur = rlim_t(bytes);
            m_limitSet = setrlimit(RLIMIT_FSIZE, &limited) == 0;
        }
    }
    ~FileSizeLimit()
    {
        if (m_limitSet)
            setrlimit(RLIMIT_FSIZE, &m_limit);
        if (m_signalSet)
            sigaction(SIGXFSZ, &m_signal, nullptr);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;
    bool IsSet() const { return m_signalSet && m_limitSet; }

private:
    struct sigaction m_signal {};
    rlimit m_limit {};
    bool m_signalSet = false;
    bool m_limitSet = false;
};

} // namespace

// The disk fills at the PDF's last write, printing over a file already
// there: the message names the file and the cause, the file keeps its
// bytes, and nothing is reported as printed.
TEST_F(ReportPrintTest, AFullDiskAtThePdfsLastWriteKeepsTheFileThere)
{
    CReportView *view = printLayout(60);
    ASSERT_NE(view, nullptr);
    DialogAnswers<QPrintDialog> answers;
    // The PDF this print writes, for its size: each print of the same pages
    // is as large.
    qint64 sizes[2] = {};
    for (qint64 &size : sizes) {
        answers.Push(QDialog::Accepted);
        view->OnCommand(CReportView::CmdPrint);
        size = QFileInfo(pdf).size();
    }
    ASSERT_GT(sizes[0], 4096);
    ASSERT_EQ(sizes[0], sizes[1]);
    const QByteArray before = "%PDF-1.4 the report printed before\n" + QByteArray(3000, 'x');
    ASSERT_EQ(TestFolders::writeFile(QStringLiteral("Par projet.pdf"), before), pdf);

    MessageBoxAnswers boxes;
    boxes.Push(MessageBoxAnswer::Ok);
    answers.Push(QDialog::Accepted);
    {
        const FileSizeLimit limit(sizes[0] - 1);
        ASSERT_TRUE(limit.IsSet());
        view->OnCommand(CReportView::CmdPrint);
    }
    EXPECT_EQ(answers.Asked(), 3);
    ASSERT_EQ(boxes.AskedBoxes().size(), 1u);
    const QString message = boxes.AskedBoxes()[0].text;
    EXPECT_TRUE(message.startsWith(QStringLiteral("Le fichier « %1 » n'a pas pu être écrit :\n").arg(pdf)))
        << qPrintable(message);
    EXPECT_TRUE(message.endsWith(QStringLiteral("\n\nLe rapport n'a pas été imprimé."))) << qPrintable(message);
    EXPECT_GT(message.section(u'\n', 1, 1).trimmed().size(), 3) << "the cause: " << qPrintable(message);
    EXPECT_EQ(TestFolders::readFile(pdf), before);
    // No part of the new file is left beside it.
    EXPECT_EQ(QDir(QFileInfo(pdf).absolutePath()).entryList({QStringLiteral("Par projet*")}, QDir::Files),
              QStringList{QStringLiteral("Par projet.pdf")});

    // The limit gone, the same print writes its file.
    answers.Push(QDialog::Accepted);
    view->OnCommand(CReportView::CmdPrint);
    EXPECT_EQ(QFileInfo(pdf).size(), sizes[0]);
    EXPECT_EQ(boxes.AskedBoxes().size(), 1u);
}

// A print asked from the data lays out its pages, prints them all, and
// leaves the window in the data.
TEST_F(ReportPrintTest, APrintFromTheDataPrintsThePrintLayoutAndComesBack)
{
    addEntries(150);
    shown = open();
    ASSERT_NE(shown, nullptr);
    CReportView *view = shown->View();
    ASSERT_FALSE(view->IsPrintLayout());
    ASSERT_TRUE(view->IsCommandEnabled(CReportView::CmdPrint));
    DialogAnswers<QPrintDialog> answers;
    int pagesBehind = 0;
    bool layoutBehind = false;
    answers.Push([&](QPrintDialog &dialog) {
        layoutBehind = view->IsPrintLayout();
        pagesBehind = view->PageView()->PageCount();
        EXPECT_EQ(dialog.maxPage(), pagesBehind);
        return int(QDialog::Accepted);
    });
    view->OnCommand(CReportView::CmdPrint);
    EXPECT_EQ(answers.Asked(), 1);
    EXPECT_TRUE(layoutBehind) << "the pages show behind the dialog";
    EXPECT_GE(pagesBehind, 3);
    EXPECT_EQ(pdfPages(pdf), pagesBehind);
    EXPECT_FALSE(view->IsPrintLayout());
    EXPECT_TRUE(view->Grid()->isVisible());
    EXPECT_TRUE(unexpectedBoxes.AskedBoxes().empty());

    // Annuler leaves the data as well, and prints nothing.
    QFile::remove(pdf);
    answers.Push(QDialog::Rejected);
    view->OnCommand(CReportView::CmdPrint);
    EXPECT_FALSE(view->IsPrintLayout());
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST(ReportPrintingTest, APdfFileIsProposedUnderTheReportsNameBesideTheLastOne)
{
    using ReportPrinting::PdfFileName;
    EXPECT_EQ(PdfFileName(QString(), QStringLiteral("Par projet"), QStringLiteral("/home/a/Documents"),
                          QStringLiteral("Zarvo")),
              QStringLiteral("/home/a/Documents/Par projet.pdf"));
    EXPECT_EQ(PdfFileName(QStringLiteral("/tmp/x/old.pdf"), QStringLiteral("Temps: 2024/03"),
                          QStringLiteral("/home/a/Documents"), QStringLiteral("Zarvo")),
              QStringLiteral("/tmp/x/Temps 202403.pdf"));
    EXPECT_EQ(PdfFileName(QString(), QStringLiteral(" ?*/ "), QStringLiteral("/d"), QStringLiteral("Zarvo")),
              QStringLiteral("/d/Zarvo.pdf"));
}

TEST_F(ReportPrintTest, APaperChosenInTheDialogIsReadBackAndLaysThePagesOutAgain)
{
    CReportView *view = printLayout(150);
    ASSERT_NE(view, nullptr);
    CReportFrame *frame = frameOf(view);
    DialogAnswers<QPrintDialog> answers;
    answers.Push([](QPrintDialog &dialog) {
        dialog.printer()->setPageSize(QPageSize(QPageSize::Letter));
        dialog.printer()->setPageOrientation(QPageLayout::Landscape);
        dialog.setPrintRange(QAbstractPrintDialog::PageRange);
        dialog.setFromTo(1, 1);
        return int(QDialog::Accepted);
    });
    view->OnCommand(CReportView::CmdPrint);
    EXPECT_TRUE(unexpectedBoxes.AskedBoxes().empty());
    const tReportDefinition &d = frame->Definition();
    EXPECT_TRUE(d.Modified);
    EXPECT_EQ(d.PaperWidth, 2159);
    EXPECT_EQ(d.PaperHeight, 2794);
    EXPECT_EQ(d.PaperSize, 1);
    EXPECT_FALSE(d.Portrait);
    EXPECT_EQ(view->PageView()->PageSize(), QSize(2794 * 96 / 254, 2159 * 96 / 254));
    EXPECT_EQ(pdfPages(pdf), 1);
    // The kept settings keep the paper for the next print.
    EXPECT_EQ(CReportPapers::Instance().InstalledPrinter()->pageLayout().pageSize().id(), QPageSize::Letter);
    // Closing the window at the test's end asks to save the changed report.
    unexpectedBoxes.Push(MessageBoxAnswer::No);
}

// Margins that leave the report no room print no blank page: a report
// stored so shows one page in print layout that says which margin is too
// large, and printing tells it and prints nothing; a smaller paper chosen
// in the print dialog that leaves the margins no room is told the same,
// and nothing is printed.
TEST_F(ReportPrintTest, MarginsThatLeaveNoRoomPrintNothingAndSayWhichMargin)
{
    const struct
    {
        const char *what;
        int left, right;
        QPageSize::PageSizeId chosen; // the paper chosen in the print dialog
        const char *says;
    } cases[] = {
        {"stored margins", 1100, 1000, QPageSize::A4, "La marge de gauche est trop grande"},
        {"a smaller paper chosen", 450, 500, QPageSize::A6, "La marge de droite est trop grande"},
    };
    addEntries(40);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(pdf);
        definition.MargeLeft = c.left;
        definition.MargeRight = c.right;
        ASSERT_TRUE(CReportStore(host.reports).SaveReport(definition));
        shown = open();
        ASSERT_NE(shown, nullptr);
        CReportView *view = shown->View();
        view->OnCommand(CReportView::CmdPrintLayout);
        const bool stored = c.chosen == QPageSize::A4;
        if (stored) {
            EXPECT_EQ(view->PageView()->PageCount(), 1);
            EXPECT_TRUE(view->Grid()->PrintLayout().NoRoomMessage().startsWith(QString::fromUtf8(c.says)));
        } else {
            EXPECT_GT(view->PageView()->PageCount(), 1);
        }
        DialogAnswers<QPrintDialog> print;
        print.Push([&c](QPrintDialog &dialog) {
            dialog.printer()->setPageSize(QPageSize(c.chosen));
            return int(QDialog::Accepted);
        });
        MessageBoxAnswers boxes;
        boxes.Push(MessageBoxAnswer::Ok);
        view->OnCommand(CReportView::CmdPrint);
        EXPECT_EQ(print.Asked(), stored ? 0 : 1) << "the print dialog";
        ASSERT_EQ(boxes.AskedBoxes().size(), 1u);
        EXPECT_TRUE(boxes.AskedBoxes()[0].text.startsWith(QString::fromUtf8(c.says)))
            << qPrintable(boxes.AskedBoxes()[0].text);
        EXPECT_FALSE(QFile::exists(pdf)) << "nothing printed";
        // The print layout says it too.
        EXPECT_EQ(view->PageView()->PageCount(), 1);
        if (!stored)
            unexpectedBoxes.Push(MessageBoxAnswer::No); // the changed paper, not saved at the close
        delete shown;
        shown = nullptr;
        definition.MargeLeft = definition.MargeRight = 100;
    }
}

TEST(ReportPrintingTest, PagesToPrintFollowTheRangeWithinThePages)
{
    using ReportPrinting::Range;
    struct tCase
    {
        Range range;
        int from, to, firstVisible;
        bool several;
        int count, first, last;
    };
    const tCase cases[] = {
        {Range::AllPages, 0, 0, 3, false, 5, 1, 5},
        {Range::PageRange, 2, 3, 1, false, 5, 2, 3},
        {Range::PageRange, 4, 9, 1, false, 5, 4, 5},
        {Range::Selection, 0, 0, 3, false, 5, 3, 3},
        {Range::Selection, 0, 0, 3, true, 5, 3, 4},
        {Range::Selection, 0, 0, 5, true, 5, 5, 5},
    };
    for (const tCase &c : cases) {
        const auto pages = ReportPrinting::PagesToPrint(c.range, c.from, c.to, c.firstVisible, c.several, c.count);
        EXPECT_EQ(pages.First, c.first);
        EXPECT_EQ(pages.Last, c.last);
    }
    // A paper of size 0 is never written into a printer.
    tReportDefinition none;
    none.PaperWidth = 0;
    EXPECT_FALSE(ReportPrinting::PageSizeOf(none).isValid());
}

TEST_F(ReportPrintTest, PageSetupOkLaysThePagesOutAgainAndAnnulerChangesNothing)
{
    CReportView *view = printLayout(150);
    ASSERT_NE(view, nullptr);
    CReportFrame *frame = frameOf(view);
    const tReportDefinition before = frame->Definition();
    const int pages = view->PageView()->PageCount();
    const QRect drawable = view->Grid()->PrintLayout().DrawableRect(0);

    DialogAnswers<CDlgPage> answers;
    answers.Push([](CDlgPage &dialog) {
        dialog.MarginEdit(CDlgPage::IdTop)->setText(QStringLiteral("9,00"));
        return int(QDialog::Rejected);
    });
    ASSERT_TRUE(view->IsCommandEnabled(CReportView::CmdPageSetup));
    view->OnCommand(CReportView::CmdPageSetup);
    EXPECT_EQ(answers.Asked(), 1);
    EXPECT_FALSE(frame->Definition().Modified);
    EXPECT_EQ(frame->Definition().MargeTop, before.MargeTop);
    EXPECT_EQ(view->PageView()->PageCount(), pages);
    EXPECT_EQ(view->Grid()->PrintLayout().DrawableRect(0), drawable);

    answers.Push([](CDlgPage &dialog) {
        dialog.MarginEdit(CDlgPage::IdTop)->setText(QStringLiteral("9,00"));
        dialog.OnOk();
        return dialog.result();
    });
    view->OnCommand(CReportView::CmdPageSetup);
    EXPECT_TRUE(frame->Definition().Modified);
    EXPECT_EQ(frame->Definition().MargeTop, 900);
    EXPECT_GT(view->PageView()->PageCount(), pages);
    EXPECT_GT(view->Grid()->PrintLayout().DrawableRect(0).top(), drawable.top());
    // Closing the window at the test's end asks to save the changed report.
    unexpectedBoxes.Push(MessageBoxAnswer::No);
}
