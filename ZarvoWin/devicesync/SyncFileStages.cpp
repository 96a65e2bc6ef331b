#include "SyncFileStages.h"

#include "Clock.h"
#include "FileModes.h"
#include "SyncPending.h"

#include <QFile>
#include <QFileInfo>
#include <climits>
#include <cstdio>
#include <future>
#include <fcntl.h>
#include <unistd.h>
#include <memory>
#include <set>

bool SyncFileStages::LocalUnchanged(const QString &localPath, const std::optional<quint32> &counter)
{
    quint32 now = 0;
    return counter && CDatabaseFile::ReadChangeCounter(localPath, now) && now == *counter;
}

void SyncFileStages::AsScratchFile(CBdD &copy)
{
    // Until the run keeps it, the copy is a scratch file that a stopped run
    // never uses again (the next analysis copies the device afresh, and
    // removes what is left of this one): its writes need neither wait for
    // the disk nor keep a journal on it. A failed statement still rolls
    // back whole. Nothing else opens it meanwhile, so the connection keeps
    // its lock from its first statement to its close, rather than taking
    // it again (and looking for a journal, and reading the header again)
    // at each of the many small reads and writes of a run.
    copy.Execute(u"PRAGMA synchronous=OFF");
    copy.Execute(u"PRAGMA journal_mode=MEMORY");
    copy.Execute(u"PRAGMA locking_mode=EXCLUSIVE");
}

bool SyncFileStages::ResolveOverlaps(const QString &copyPath, const SyncReviewList &list, SyncSteps &steps,
                                     const OverlapQuestion &ask)
{
    steps.AppendStep(SyncRun::ConflictsText, SyncSteps::Running);
    CBdD copy(copyPath, CBdD::OtherFile);
    bool ok = copy.IsOpen();
    // Each resolution is a write of its own, on the run's scratch file.
    if (ok)
        AsScratchFile(copy);
    const auto keptEntry = [](const SyncReviewList::Row &row) {
        return row.item && row.item->kind == CBdD::TableTaches && row.item->action == SyncItem::KeepLocal
               && row.item->localId >= 0 && row.item->localId <= INT_MAX;
    };
    // Most kept entries collide with nothing: those are found in a few
    // statements and left alone. Resolving a collision only shortens or
    // removes entries, so none of them comes to collide later.
    std::set<int> colliding;
    if (ok) {
        std::vector<int> kept;
        for (const SyncReviewList::Row &row : list) {
            if (keptEntry(row))
                kept.push_back(int(row.item->localId));
        }
        ok = copy.EntriesThatMayOverlap(kept, colliding);
    }
    bool cancelled = false;
    bool resolved = false;
    bool remembered = false;
    bool rememberedFit = false;
    for (const SyncReviewList::Row &row : list) {
        if (!ok || cancelled)
            break;
        if (steps.Cancelled()) {
            cancelled = true;
            break;
        }
        if (!keptEntry(row) || !colliding.count(int(row.item->localId)))
            continue;
        tTacheFull entry;
        bool readFailed = false;
        if (!copy.GetTimeEntry(entry, int(row.item->localId), &readFailed)) {
            ok = !readFailed;
            continue;
        }
        std::vector<tTacheFull> overlapping;
        const qint64 start = entry.Debut;
        const qint64 end = entry.Fin;
        if (copy.FindOverlappingEntries(entry, overlapping)) {
            // Within the edge tolerance: the entry was trimmed in place.
            if (entry.Debut != start || entry.Fin != end) {
                ok = copy.SaveTimeEntry(entry);
                resolved = resolved || ok;
            }
            continue;
        }
        if (overlapping.empty()) {
            ok = false; // the copy could not be read
            break;
        }
        for (;;) {
            bool fit = rememberedFit;
            if (!remembered) {
                const OverlapAnswer answer = ask ? ask(overlapping) : OverlapAnswer{true, false, false};
                if (answer.cancelled) {
                    cancelled = true;
                    break;
                }
                fit = answer.fit;
                if (answer.applyToAll) {
                    remembered = true;
                    rememberedFit = answer.fit;
                }
            }
            tTacheFull stored = entry;
            if (copy.InsertTimeEntry(stored, fit)) {
                resolved = true;
                break;
            }
            if (!fit) {
                ok = false;
                break;
            }
            // No free time for this entry: the user chooses again rather
            // than the run failing on a choice made for other entries.
            remembered = false;
        }
    }
    if (ok && !cancelled && resolved)
        ok = copy.ClearTaskOrigins();
    steps.SetLastStepState(ok && !cancelled ? SyncSteps::Done : SyncSteps::Failed);
    return ok && !cancelled;
}

SyncRun::Stages SyncFileStages::Make(Setup setup)
{
    const auto shared = std::make_shared<Setup>(std::move(setup));
    // The state every write lands on: the one the analysis compared, then
    // that state with the token written (the run's own commit).
    const auto counter = std::make_shared<quint32>(shared->localCounter.value_or(0));
    SyncRun::Stages stages;
    if (shared->list && !shared->list->IsEmpty()) {
        stages.merge = [shared](SyncSteps &steps, bool &touched) {
            CBdD local(shared->localPath, CBdD::ReadOnly);
            return local.IsOpen() && local.ApplySynchronisation(shared->copyPath, *shared->list, steps, touched);
        };
        stages.overlaps = [shared](SyncSteps &steps) {
            return ResolveOverlaps(shared->copyPath, *shared->list, steps, shared->askOverlap);
        };
    }
    stages.favoriteOrder = [shared](SyncSteps &steps) {
        CBdD local(shared->localPath, CBdD::ReadOnly);
        if (!local.IsOpen())
            return CBdD::MergeOutcome::Failed;
        return local.MergeFavoriteOrder(shared->copyPath, steps);
    };
    stages.beginFinalisation = shared->beginFinalisation;
    stages.purge = [shared] {
        // Compacted into a new file that then takes the copy's place, rather
        // than in place, which would write every page twice.
        const QString compacted = shared->copyPath + QStringLiteral(".compact");
        const QByteArray native = QFile::encodeName(compacted);
        ::unlink(native.constData());
        const int made = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                                Platform::FileModes::ForCopy(shared->copyPath));
        if (made < 0)
            return false;
        ::close(made);
        bool purged = false;
        {
            CBdD copy(shared->copyPath, CBdD::OtherFile);
            if (copy.IsOpen()) {
                AsScratchFile(copy);
                purged = copy.PurgeSyncedChanges(compacted);
            }
        }
        if (purged && std::rename(native.constData(), QFile::encodeName(shared->copyPath).constData()) == 0)
            return true;
        ::unlink(native.constData());
        return false;
    };
    stages.localUnchanged = [shared] { return LocalUnchanged(shared->localPath, shared->localCounter); };
    // The file both writes read: the merged copy, once kept the pending one.
    const auto source = std::make_shared<QString>(shared->copyPath);
    // The slot of the user's records this run keeps its own in.
    const auto slot = std::make_shared<int>(-1);
    stages.keepPending = [shared, counter, source, slot](QString &why) {
        using Kept = SyncRun::Kept;
        // The copy made from the device holds the user's rows now: it is no
        // more open than the user's database, nor is what is made from it.
        if (!Platform::FileModes::NoMoreOpenThan(shared->copyPath, shared->localPath))
            return Kept::No;
        if (shared->userId < 0)
            return Kept::Yes;
        const qint64 time = Platform::Clock::now();
        // Over a record of this database, never over one still serving
        // another database of the same user id.
        const int keptSlot = SyncPending::SlotFor(shared->userId, shared->localPath);
        const QString kept = SyncPending::Place(shared->userId, shared->copyPath, &why, keptSlot);
        if (kept.isEmpty())
            return Kept::No;
        // The whole check that the device write starts with is made
        // meanwhile, on a thread of its own: it reads the same file as the
        // record's digest, and the writes then find it made.
        std::future<void> checked =
            std::async(std::launch::async, [kept] { CDatabaseFile::CheckReplacement(kept); });
        SyncPending::Record record;
        record.userId = shared->userId;
        record.slot = keptSlot;
        record.localCounter = *counter;
        record.time = time;
        // The rows it lists with their stamps as the analysis saw them: read
        // over any other state, an edit made meanwhile would look untouched.
        std::optional<quint32> described;
        const bool read = SyncPending::Describe(shared->localPath, kept, record, &described);
        checked.wait();
        if (!read || described != shared->localCounter) {
            // An earlier run's record stays: it still tells what that run
            // deleted.
            QFile::remove(kept);
            return read && described ? Kept::LocalChanged : Kept::No;
        }
        if (record.token.isEmpty()) {
            // The first record kept for this database: the database gets
            // the token the record names it by, while it is still as the
            // analysis saw it.
            record.token = SyncPending::NewToken();
            switch (SyncPending::MarkDatabase(shared->localPath, record.token, *counter, &why)) {
            case CDatabaseFile::WriteResult::Written:
                *counter += 1;
                record.localCounter = *counter;
                break;
            case CDatabaseFile::WriteResult::ChangedMeanwhile:
                QFile::remove(kept);
                return Kept::LocalChanged;
            case CDatabaseFile::WriteResult::Failed:
                QFile::remove(kept);
                return Kept::No;
            }
        }
        if (!SyncPending::Keep(record, &why))
            return Kept::No;
        *source = kept;
        *slot = keptSlot;
        return Kept::Yes;
    };
    stages.writeDevice = [shared, source] { return shared->exchange.CopyDatabaseToDevice(*source); };
    stages.replaceLocal = [shared, counter, source] {
        return CDatabaseFile::ReplaceLiveIfUnchanged(*source, shared->localPath, *counter);
    };
    stages.dropPending = [shared, slot] {
        if (shared->userId >= 0 && *slot >= 0)
            SyncPending::Drop(shared->userId, *slot);
    };
    stages.afterReplace = [shared] {
        if (shared->emptyUndo)
            shared->emptyUndo();
        DeviceExchange::RemoveSharedCopy(shared->sharedFolder, shared->userName);
    };
    stages.cleanUp = [shared] {
        DeviceExchange::RemoveWorkingCopy(shared->copyPath);
        DeviceExchange::RemoveWorkingCopy(DeviceExchange::WorkingFile(DeviceExchange::PaneCopyFile));
    };
    return stages;
}
