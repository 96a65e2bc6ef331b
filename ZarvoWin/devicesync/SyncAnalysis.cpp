#include "SyncAnalysis.h"

#include "CBdD.h"
#include "CDatabaseFile.h"
#include "ProgressDlgShared.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <chrono>
#include <thread>

ConnexionState::Stamps SyncAnalysis::ReadStamps(const QString &databasePath, qint64 size, int *version)
{
    ConnexionState::Stamps stamps;
    stamps.size = size;
    CBdD db(databasePath, CBdD::ReadOnly);
    stamps.read = db.IsOpen() && db.GetSyncStamps(stamps.sync, stamps.change) != CBdD::StampsFailed;
    if (version)
        *version = db.IsOpen() ? db.GetVersion() : -1;
    return stamps;
}

bool SyncAnalysis::CopyUnchanged(const QString &copyPath, quint32 counter)
{
    quint32 now = 0;
    return QFileInfo(copyPath).isFile() && CDatabaseFile::ReadChangeCounter(copyPath, now) && now == counter;
}

SyncAnalysis::Result SyncAnalysis::Run(const Input &in, ProgressDlgShared *job)
{
    QElapsedTimer started;
    started.start();
    Result result;
    const auto cancelled = [job] { return job && job->IsCancelled(); };
    const auto end = [&](Outcome outcome) {
        result.outcome = cancelled() ? Outcome::Cancelled : outcome;
        return std::move(result);
    };
    if (in.copyPath.isEmpty() || in.localPath.isEmpty())
        return end(Outcome::Failed);

    // A copy from an earlier device, or one written since it was made,
    // would be compared in place of what the device holds now.
    const QString deviceFile = in.exchange.DeviceDatabaseFile();
    const bool keep = in.copyAtHand && CopyUnchanged(in.copyPath, in.copyCounter);
    if (!keep) {
        result.copied = true;
        if (!in.exchange.CopyDatabaseFromDevice(in.copyPath)) {
            QFile::remove(in.copyPath);
            return end(Outcome::Failed);
        }
    }
    // Read as a refresh of the dialog reads them, so that the review is
    // warned of any change after this point.
    result.device = ReadStamps(in.copyPath, QFileInfo(deviceFile).size());
    result.local = ReadStamps(in.localPath, QFileInfo(in.localPath).size());
    if (cancelled())
        return end(Outcome::Cancelled);
    bool upgraded = false;
    {
        CBdD copy(in.copyPath, CBdD::OtherFile);
        const CBdD::tUpgradeResult::Outcome upgrade = copy.UpdateDb().outcome;
        upgraded = copy.IsOpen()
                   && (upgrade == CBdD::tUpgradeResult::Outcome::Current
                       || upgrade == CBdD::tUpgradeResult::Outcome::Completed
                       || upgrade == CBdD::tUpgradeResult::Outcome::Upgraded);
    }
    if (!upgraded) {
        // A copy the program cannot bring to its version is never kept.
        QFile::remove(in.copyPath);
        return end(Outcome::Failed);
    }
    if (cancelled())
        return end(Outcome::Cancelled);

    int count = 0;
    CBdD local(in.localPath, CBdD::ReadOnly);
    const CBdD::CompareOutcome compared = local.CompareDatabases(in.copyPath, result.list, job, count, in.formats);
    result.count = count;
    const qint64 rest = in.minimumMs - started.elapsed();
    if (rest > 0) {
        if (job)
            job->WaitForCancel(std::chrono::milliseconds(rest));
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(rest));
    }
    if (compared == CBdD::CompareOutcome::Cancelled)
        return end(Outcome::Cancelled);
    if (compared != CBdD::CompareOutcome::Compared)
        return end(Outcome::Failed);
    return end(count > 0 ? Outcome::Differences : Outcome::NoDifference);
}
