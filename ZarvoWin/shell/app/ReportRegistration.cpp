#include "ReportRegistration.h"

#include "CConfiguration.h"
#include "CDlgColumn.h"
#include "CLanguageSelector.h"
#include "CMainFrame.h"
#include "CReportColumnSet.h"
#include "CReportFrame.h"
#include "CReportStore.h"
#include "CReportWindowHost.h"
#include "CReportWizard.h"
#include "CZarvoWinApp.h"
#include "MessageBoxParams.h"
#include "ReportCalcExport.h"
#include "ReportColumnCatalogue.h"
#include "ReportExportCommand.h"
#include "ReportPlaceholders.h"
#include "tReportSnapshot.h"

#include <QMdiArea>
#include <QTimer>

namespace {

// Once the application is ready again (the reopening over), the report
// window of the current tab applies what it restored, as an activation
// then would.
void activateCurrentReportLater(CZarvoWinApp &app)
{
    CMainFrame *frame = app.MainFrame();
    if (!frame)
        return;
    QTimer::singleShot(0, frame, [&app, frame] {
        if (!app.IsReady())
            return;
        if (auto *report = qobject_cast<CReportFrame *>(frame->MdiArea()->currentSubWindow()))
            report->OnActivated();
    });
}

// The settings of a report in the report wizard, with what its pages
// list: the projects and activities as they stand, and the templates of
// the user's folder and of the program's for the interface language, as
// the report windows search them.
bool editReportSettings(CZarvoWinApp &app, tReportDefinition &copy, QWidget *owner)
{
    CReportWizard::tSources sources;
    sources.Projects = std::make_shared<const tReportSnapshot>(tReportSnapshot::Take(&app.ProjectStore()));
    sources.ShowActivities = app.Configuration().showActivities;
    sources.Images = &app.Images(false);
    sources.UserTemplates = app.Configuration().dataFolder;
    if (const CLanguageSelector *languages = CLanguageSelector::Application())
        sources.ProgramTemplates = languages->GetTemplatesFolder();
    CReportWizard wizard(copy, sources, owner);
    return wizard.Run();
}

} // namespace

void RegisterReports(CZarvoWinApp &app)
{
    // Each call opens the current user's report database anew, so a
    // change of user needs nothing more.
    app.Reports().reportType = [](int reportId) {
        int kind = -1;
        return CReportStore().GetReportType(reportId, kind) ? kind : -1;
    };
    app.Reports().saveOnScreen = [](const QList<CZarvoWinApp::OnScreenReport> &windows) {
        QList<tOnScreenReport> reports;
        for (const CZarvoWinApp::OnScreenReport &w : windows)
            reports.append({w.reportId, w.preview, w.zoom});
        CReportStore().SaveOnScreenReports(reports);
    };
    app.Reports().reopenOnScreen = [&app] {
        CReportStore().ReopenOnScreenReports(
            [&app](int id, bool preview, int zoom) { app.OpenReport(id, preview, zoom, true); });
        activateCurrentReportLater(app);
    };
    app.Reports().querySave = [](QWidget *window) {
        auto *report = qobject_cast<CReportFrame *>(window);
        return !report || report->QuerySaveReport() != MessageBoxAnswer::Cancel;
    };
    CReportFrame::SetSettingsEditor(
        [&app](tReportDefinition &copy, QWidget *owner) { return editReportSettings(app, copy, owner); });
    // The export's office-suite format: the sheet opens in the desktop's
    // spreadsheet program.
    ReportExportCommand::SetOfficeSuiteExport(ReportCalcExport::Run);
    // A new report starts in its settings, which come with their editor.
    app.Reports().canMakeNew = [] { return CReportFrame::HasSettingsEditor(); };
    app.Windows().reportFrame = [&app](int reportId, bool preview, int zoom, bool restored) {
        return CReportWindowHost::OpenFrame(app, reportId, preview, zoom, restored);
    };
    // Every report's column captions and alignments: kept in the settings
    // when confirmed (the application then relabels the open reports).
    app.Windows().renameColumns = [&app] {
        CReportColumnSet all(true);
        CDlgColumn chooser(nullptr, all, false, app.MainFrame());
        if (chooser.exec() != QDialog::Accepted)
            return false;
        all.ApplyToCatalogue();
        PersistReportColumnSettings(false);
        return true;
    };
    app.Startup().loadReportColumns = [] { PersistReportColumnSettings(true); };
    app.Startup().prepareReportPlaceholders = [] { InitReportPlaceholders(); };
    app.Startup().reopenReports = [&app] {
        // The program's close asks every report window to save first, then
        // keeps the list of those on screen for the next start.
        if (CMainFrame *frame = app.MainFrame())
            frame->SetCloseReportsHook([&app] { return app.CloseReportWindows(); });
        app.Reports().reopenOnScreen();
    };
}
