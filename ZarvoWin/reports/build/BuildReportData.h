#pragma once
#include <QString>
#include <memory>

class CReportModel;
class ProgressDlgShared;
struct tReportDefinition;
struct tReportSnapshot;

// What a build came to: whether it succeeded, whether the user cancelled,
// and the user database's change stamp (Infos 'Modif') read before
// anything else, empty unless the build succeeded.
struct tReportBuildResult
{
    bool Ok = false;
    bool Cancelled = false;
    QString Stamp;
};

// Builds a report into `model`, on any thread and without a window: the
// definition and the snapshot are the build's own copies, the user
// database at `databasePath` is read through connections of the build's
// own, and the report database lives in a private temporary folder of the
// user's, removed afterwards. `progress` (may be null) receives the step
// texts and carries the cancel flag. A failed or cancelled build leaves
// the model empty. The model must not be touched by anyone else meanwhile.
tReportBuildResult BuildReportData(const tReportDefinition &definition, const QString &databasePath,
                                   std::shared_ptr<const tReportSnapshot> snapshot, CReportModel &model,
                                   ProgressDlgShared *progress);
