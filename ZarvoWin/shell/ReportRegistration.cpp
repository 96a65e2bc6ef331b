#include "ReportRegistration.h"

#include "CReportStore.h"
#include "CZarvoWinApp.h"
#include "ReportColumnCatalogue.h"
#include "ReportPlaceholders.h"

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
    };
    app.Startup().loadReportColumns = [] { PersistReportColumnSettings(true); };
    app.Startup().prepareReportPlaceholders = [] { InitReportPlaceholders(); };
    app.Startup().reopenReports = [&app] { app.Reports().reopenOnScreen(); };
}
