#include "SyncAnalysis.h"

#include "CBdD.h"
#include "CDatabaseFile.h"
#include "ProgressDlgShared.h"
#include "Formatter.h"
#include "SyncPending.h"
#include "Texts.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <chrono>
#include <thread>

ConnexionState::Stamps SyncAnalysis::ReadStamps(const QString &databasePath, qint64 size, int *version,
                                                bool withCounter)
{
    ConnexionState::Stamps stamps;
    stamps.size = size;
    CBdD db(databasePath, CBdD::ReadOnly);
    // The counter in the same read as the stamps.
    const bool counted = withCounter && db.IsOpen() && db.Execute(u"begin") == 0;
    stamps.read = db.IsOpen() && db.GetSyncStamps(stamps.sync, stamps.change) != CBdD::StampsFailed;
    if (counted) {
        quint32 counter = 0;
        if (stamps.read && CDatabaseFile::ReadChangeCounter(*db.Connection(), counter))
            stamps.counter = counter;
        db.Execute(u"commit");
    }
    if (version)
        *version = db.IsOpen() ? db.GetVersion() : -1;
    return stamps;
}

bool SyncAnalysis::CopyUnchanged(const QString &copyPath, quint32 counter)
{
    quint32 now = 0;
    return QFileInfo(copyPath).isFile() && CDatabaseFile::ReadChangeCounter(copyPath, now) && now == counter;
}

void SyncAnalysis::WaitForTheRest(const Input &in, qint64 elapsedMs, ProgressDlgShared *job)
{
    const qint64 rest = in.minimumMs - elapsedMs;
    if (rest <= 0)
        return;
    if (job)
        job->WaitForCancel(std::chrono::milliseconds(rest));
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(rest));
}

int SyncAnalysis::FinishPending(const SyncPending::Record &pending, const QString &copyPath, const QString &localPath,
                                QString &file)
{
    // The local database as the run left it, the device holding the copy
    // the run wrote there (the same rows), and the copy the run kept still
    // that copy: only then is the run's second write made, from the kept
    // copy. Any other file, even a sound one of ours (an earlier copy, one
    // a backup of the home folder put back), would replace the user's
    // rows without a comparison.
    quint32 counter = 0;
    if (!CDatabaseFile::ReadChangeCounter(localPath, counter) || counter != pending.localCounter)
        return LocalChangedText;
    if (SyncPending::Digest(copyPath) != pending.digest)
        return DeviceNotItsCopyText;
    file = pending.copyPath;
    if (pending.copyPath.isEmpty() || !QFileInfo(pending.copyPath).isFile())
        return CopyMissingText;
    if (!SyncPending::CopyMatches(pending))
        return CopyForeignText;
    switch (CDatabaseFile::ReplaceLiveIfUnchanged(pending.copyPath, localPath, counter)) {
    case CDatabaseFile::ReplaceResult::Replaced:
        break;
    case CDatabaseFile::ReplaceResult::ChangedMeanwhile:
        file.clear();
        return LocalChangedText;
    default:
        return CopyRefusedText;
    }
    SyncPending::Drop(pending.userId, pending.slot);
    file.clear();
    return 0;
}

QString SyncAnalysis::NotFinishedMessage(const Result &result)
{
    if (result.notFinished == 0)
        return QString();
    if (result.notFinished == RecordOfAnotherDatabaseText)
        return Platform::Formatter::sprintf(Platform::Texts::get(result.notFinished),
                                            {QDir::toNativeSeparators(result.notFinishedDatabase),
                                             QDir::toNativeSeparators(result.notFinishedFile)});
    if (result.notFinished == RecordNoLongerServesText || result.notFinished == RecordUnreadableText)
        return Platform::Formatter::sprintf(Platform::Texts::get(result.notFinished),
                                            {QDir::toNativeSeparators(result.notFinishedFile)});
    QString why = Platform::Texts::get(result.notFinished);
    if (!result.notFinishedFile.isEmpty())
        why = Platform::Formatter::sprintf(why, {QDir::toNativeSeparators(result.notFinishedFile)});
    return Platform::Formatter::sprintf(Platform::Texts::get(NotFinishedText), {why});
}

void SyncAnalysis::Told(const Result &result)
{
    switch (result.afterTelling) {
    case Result::AfterTelling::Nothing:
        break;
    case Result::AfterTelling::DropRecord:
        SyncPending::Drop(result.recordUser, result.recordSlot);
        break;
    case Result::AfterTelling::RememberDatabase:
        SyncPending::MarkTold(result.recordUser, result.recordSlot, result.localPath);
        break;
    }
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
    const bool keep = in.copyAtHand && !QFileInfo::exists(in.copyPath + QStringLiteral("-journal"))
                      && CopyUnchanged(in.copyPath, in.copyCounter);
    if (!keep) {
        result.copied = true;
        // A copy stopped halfway (its journal beside it) holds up no copy.
        DeviceExchange::RemoveWorkingCopy(in.copyPath);
        if (!in.exchange.CopyDatabaseFromDevice(in.copyPath)) {
            QFile::remove(in.copyPath);
            return end(Outcome::Failed);
        }
    }
    // Read as a refresh of the dialog reads them, so that the review is
    // warned of any change after this point.
    result.device = ReadStamps(in.copyPath, QFileInfo(deviceFile).size());
    if (cancelled())
        return end(Outcome::Cancelled);

    // Only a record of this very database is finished or applied: ids
    // repeat across databases.
    const SyncPending::Found found = SyncPending::Find(in.userId, in.localPath);
    std::optional<SyncPending::Record> pending;
    int notFinished = 0;
    bool finished = false;
    const auto tell = [&](int text, Result::AfterTelling after) {
        notFinished = text;
        result.notFinishedFile = found.file;
        result.afterTelling = after;
        result.recordUser = in.userId;
        result.recordSlot = found.slot;
        result.localPath = in.localPath;
    };
    switch (found.state) {
    case SyncPending::Found::State::None:
        break;
    case SyncPending::Found::State::Kept:
        pending = found.record;
        notFinished = FinishPending(*pending, in.copyPath, in.localPath, result.notFinishedFile);
        finished = notFinished == 0;
        break;
    case SyncPending::Found::State::Done:
        // Killed once both writes were made, before its record went: the
        // run was done, nothing is left to write or to tell.
        SyncPending::Drop(in.userId, found.slot);
        finished = true;
        break;
    case SyncPending::Found::State::OtherDatabase:
        tell(RecordOfAnotherDatabaseText, Result::AfterTelling::RememberDatabase);
        result.notFinishedDatabase = found.record.databasePath;
        break;
    case SyncPending::Found::State::NoLongerServes:
        tell(RecordNoLongerServesText, Result::AfterTelling::DropRecord);
        break;
    case SyncPending::Found::State::Unreadable:
        tell(RecordUnreadableText, Result::AfterTelling::DropRecord);
        break;
    }
    if (finished) {
        // Nothing to compare: both sides hold the run's copy now.
        DeviceExchange::RemoveWorkingCopy(in.copyPath);
        result.local = ReadStamps(in.localPath, QFileInfo(in.localPath).size());
        WaitForTheRest(in, started.elapsed(), job);
        result.outcome = Outcome::Finished;
        return result;
    }
    result.notFinished = notFinished;
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
    std::optional<quint32> counter;
    const CBdD::CompareOutcome compared =
        local.CompareDatabases(in.copyPath, result.list, job, count, in.formats, &counter);
    result.count = count;
    // The stamps shown after, and the change counter of the very read the
    // rows were compared in: the run writes over that state alone, and the
    // review is warned of any commit after it.
    result.local = ReadStamps(in.localPath, QFileInfo(in.localPath).size());
    result.local.counter = counter;
    // A row the stopped run deleted, which the local database still holds,
    // is no row made here since.
    if (pending && compared == CBdD::CompareOutcome::Compared)
        SyncPending::KeepDeletions(result.list, *pending, in.localPath);
    WaitForTheRest(in, started.elapsed(), job);
    if (compared == CBdD::CompareOutcome::Cancelled)
        return end(Outcome::Cancelled);
    if (compared != CBdD::CompareOutcome::Compared)
        return end(Outcome::Failed);
    return end(count > 0 ? Outcome::Differences : Outcome::NoDifference);
}
