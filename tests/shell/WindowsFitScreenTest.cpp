// Every window a user opens fits its screen with a window manager's frame:
// shown, it lies within the free area, no smallest size holds it larger
// than its room, and it is no larger than an 800 by 600 screen's room.
#include "PaneFixture.h"

#include "CConnexion.h"
#include "CDlgAbout.h"
#include "CDlgActivity.h"
#include "CDlgAssocier.h"
#include "CDlgBackup.h"
#include "CDlgColForecast.h"
#include "CDlgColumn.h"
#include "CDlgColumnDetail.h"
#include "CDlgCopyProject.h"
#include "CDlgExport.h"
#include "CDlgFavoris.h"
#include "CDlgInsertion.h"
#include "CDlgListEnCours.h"
#include "CDlgModifTasks.h"
#include "CDlgName.h"
#include "CDlgOptColProject.h"
#include "CDlgPage.h"
#include "CDlgRate.h"
#include "CDlgSelectProject.h"
#include "CDlgTask.h"
#include "CDlgUser.h"
#include "CDlgUsers.h"
#include "CReportColumnSet.h"
#include "CDlgForecast.h"
#include "CLanguageSelector.h"
#include "COptionsDialog.h"
#include "CPrefsDialog.h"
#include "CPrefsSubDlg.h"
#include "CViewSynchro.h"
#include "CReportGroupBy.h"
#include "CReportWizard.h"
#include "CWizardConfig.h"
#include "CWizardDialog.h"
#include "CWizardUser.h"
#include "CWizardUser1.h"
#include "DialogAnswers.h"
#include "ScreenFit.h"
#include "ImageList.h"
#include "RecordEditorServices.h"
#include "RecordEditorWindows.h"
#include "TestFolders.h"
#include "tReportDefinition.h"
#include "tReportSnapshot.h"

#include <QApplication>
#include <QPushButton>

#include <functional>
#include <memory>

namespace {

// Whether `window`, shown, lies within its screen's free area with the
// frame a window manager gives it, and could be made small enough to.
void expectFits(QWidget *window)
{
    QApplication::processEvents();
    const QRect available = ScreenFit::AvailableFor(window);
    const QMargins frame = ScreenFit::FrameOf(window);
    const QSize room = ScreenFit::Room(available, frame);
    EXPECT_LE(available.width(), 800);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(ScreenFit::Fits(window->geometry(), available, frame))
        << window->geometry().x() << "," << window->geometry().y() << " " << window->width() << "x"
        << window->height() << " in " << room.width() << "x" << room.height();
    EXPECT_LE(window->minimumWidth(), room.width());
    EXPECT_LE(window->minimumHeight(), room.height());
    // The offscreen screen may be taller: the window is no larger than an
    // 800 by 600 screen leaves it either.
    const QSize small = ScreenFit::Room(QRect(0, 0, 800, 600), frame);
    EXPECT_LE(window->width(), small.width());
    EXPECT_LE(window->height(), small.height());
    EXPECT_LE(window->minimumWidth(), small.width());
    EXPECT_LE(window->minimumHeight(), small.height());
}

// A dialog run as its opener runs it, through exec() and its next-answer
// seam, checked while it is shown.
template <class Dialog>
void fitsThroughExec(Dialog &dialog)
{
    DialogAnswers<Dialog> answers;
    answers.Push([](Dialog &shown) {
        shown.show();
        expectFits(&shown);
        return int(QDialog::Rejected);
    });
    dialog.exec();
    EXPECT_EQ(answers.Asked(), 1);
}

void fitsShown(QWidget &window)
{
    window.show();
    expectFits(&window);
}

class WindowsFitScreenTest : public PaneFixture
{
protected:
    void SetUp() override
    {
        PaneFixture::SetUp();
        languages = std::make_unique<CLanguageSelector>(QStringLiteral(ZARVO_PROGRAM_FOLDER "Zarvo"));
        languages->SetLanguage(1036);
        languages->SetChangePoster([](int) {});
    }
    void TearDown() override
    {
        COptionsDialog::SetRunner({});
        languages.reset();
        PaneFixture::TearDown();
    }
    std::unique_ptr<CLanguageSelector> languages;
};

} // namespace

TEST_F(WindowsFitScreenTest, EveryWindowFitsASmallScreen)
{
    COptionsDialog::Register(*app);
    app->Configuration().Load();
    const int project = saveProject(QStringLiteral("Maison"));
    reloadStore();
    CProject *node = app->ProjectStore().GetNode(project);
    ASSERT_NE(node, nullptr);
    tReportDefinition definition;
    definition.SetDefaultColumns(definition.Columns);
    CReportWizard::tSources sources;
    sources.Projects = std::make_shared<const tReportSnapshot>(tReportSnapshot::Take(&app->ProjectStore()));
    ImageList images{16};
    sources.Images = &images;
    const QString deviceRoot = TestFolders::file(QStringLiteral("Device"));
    const auto none = [](QWidget *) { return -1; };
    struct Row
    {
        const char *name;
        std::function<void()> open;
    };
    const Row rows[] = {
        {"options",
         [this] {
             // Each page in turn: a page built later may need more room.
             int asked = 0;
             COptionsDialog::SetRunner([&asked](CPrefsDialog &frame) {
                 ++asked;
                 frame.show();
                 for (int page = 0; page < frame.PageCount(); ++page) {
                     SCOPED_TRACE(page);
                     EXPECT_TRUE(frame.ShowPage(page));
                     expectFits(&frame);
                 }
                 return 2;
             });
             app->ShowOptions(0);
             EXPECT_EQ(asked, 1);
         }},
        {"report settings",
         [&] {
             CReportWizard wizard(definition, sources, nullptr);
             fitsShown(wizard.Frame());
         }},
        {"new user", [this] { CWizardUser w(app->Users(), *languages, false); fitsShown(w); }},
        {"first run", [this] { CWizardConfig w(app->Users(), *languages, [] {}); fitsShown(w); }},
        {"synchronisation",
         [&] {
             CConnexion::Hooks hooks;
             hooks.currentUserId = [this] { return userId; };
             hooks.backupFirst = [] { return false; };
             CConnexion d(app->Users(), nullptr, hooks, deviceRoot);
             fitsShown(d);
         }},
        {"entry", [] { CDlgTask d(nullptr); fitsThroughExec(d); }},
        {"several entries", [] { CDlgModifTasks d; fitsThroughExec(d); }},
        {"overlap", [] { CDlgInsertion d(true); fitsThroughExec(d); }},
        {"running entries", [] { CDlgListEnCours d; fitsThroughExec(d); }},
        {"activity", [] { CDlgActivity d; fitsThroughExec(d); }},
        {"rate", [] { CDlgRate d; fitsThroughExec(d); }},
        {"favourite", [] { CDlgFavoris d(-1); fitsThroughExec(d); }},
        {"new project", [] { CDlgForecast d; fitsThroughExec(d); }},
        {"project",
         [node] {
             for (const int tab : {int(CDlgForecast::GeneralTab), int(CDlgForecast::NotesTab)}) {
                 CDlgForecast d(false, false, node, CDlgForecast::Tab(tab));
                 fitsThroughExec(d);
             }
         }},
        {"copy project",
         [this, node] {
             CDlgCopyProject d;
             d.SetProjects(node, app->ProjectStore().GetRoot());
             fitsThroughExec(d);
         }},
        {"project picker", [] { CDlgSelectProject d; fitsThroughExec(d); }},
        {"forecast columns", [] { CDlgColForecast d; fitsThroughExec(d); }},
        {"report columns",
         [&definition] {
             CReportColumnSet columns;
             CDlgColumn d(&definition, columns, true);
             fitsThroughExec(d);
         }},
        {"export", [] { CDlgExport d; fitsThroughExec(d); }},
        {"page setup", [&definition] { CDlgPage d(definition, QString(), QString()); fitsThroughExec(d); }},
        {"users", [this, none] { CDlgUsers d(app->Users(), app->Configuration(), none); fitsShown(d); }},
        {"user", [this] { CDlgUser d(app->Users(), userId, false, 0xC0FFC0); fitsShown(d); }},
        {"backups", [this] { CDlgBackup d(*app); fitsShown(d); }},
        {"about", [] { CDlgAbout d; fitsShown(d); }},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        row.open();
    }
}
