#include "BuildReportData.h"

#include "CBdD.h"
#include "CReportExtraction.h"
#include "CReportModel.h"
#include "ProgressDlgShared.h"
#include "Texts.h"
#include "tReportDefinition.h"
#include "tReportSnapshot.h"

#include <QDir>
#include <QTemporaryDir>

tReportBuildResult BuildReportData(const tReportDefinition &definition, const QString &databasePath,
                                   std::shared_ptr<const tReportSnapshot> snapshot, CReportModel &model,
                                   ProgressDlgShared *progress)
{
    tReportBuildResult result;
    CBdD::SendProgressText(progress, Platform::Texts::get(285));
    model.SetDefinition(definition);
    model.SetSnapshot(std::move(snapshot));
    const auto fail = [&] {
        result.Ok = false;
        result.Cancelled = progress && progress->IsCancelled();
        result.Stamp.clear();
        model.Tree().DeleteAll();
        model.SetFullReset(false);
        return result;
    };
    {
        // The stamp first: a change made during the build is offered later.
        CBdD main(databasePath, CBdD::ReadOnly);
        if (!main.IsOpen() || !main.GetModifStamp(result.Stamp))
            return fail();
    }
    model.ResetForRefresh();
    bool ok = false;
    if (definition.Type == 4) {
        model.AddForecastRows();
        ok = true;
    } else {
        // A folder of the user's own: no other account sees or replaces
        // the report database.
        QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/zarvo-report-XXXXXX"));
        if (!folder.isValid())
            return fail();
        CReportExtraction extraction(model.Definition(), progress);
        ok = definition.Type == 3 ? extraction.BuildCrossTabReport(databasePath, folder.path(), model)
                                  : extraction.BuildReport(databasePath, folder.path(), model);
    }
    if (!ok || (progress && progress->IsCancelled()))
        return fail();
    model.ShowRows();
    model.UpdateCheckStates();
    result.Ok = true;
    return result;
}
