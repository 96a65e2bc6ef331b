#include "FolderMovePlan.h"

#include "CDatabaseFile.h"
#include "FileModes.h"
#include "FolderMove.h"
#include "FolderMoveMarker.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <cstdio>
#include <mutex>

namespace {

std::mutex &hookMutex()
{
    static std::mutex m;
    return m;
}

FolderMovePlan::FaultHook &faultHook()
{
    static FolderMovePlan::FaultHook hook;
    return hook;
}

// How long a lock waits for the other program to end its write.
constexpr int LockWaitMs = 5000;

const QStringList &journalSuffixes()
{
    static const QStringList suffixes{QStringLiteral("-journal"), QStringLiteral("-wal"), QStringLiteral("-shm")};
    return suffixes;
}

// A journal SQLite keeps beside a database: it never moves (the copy is
// made through the backup, which reads the database as committed). The
// database is looked at through SQLite: this move may hold its lock, which
// a descriptor of our own would drop when closed.
bool isJournalOfDatabase(const QString &path)
{
    for (const QString &suffix : journalSuffixes()) {
        if (path.endsWith(suffix) && CDatabaseFile::IsDatabaseFile(path.chopped(suffix.size())))
            return true;
    }
    return false;
}

bool inside(const QString &path, const QString &folder)
{
    return folder == QStringLiteral("/") ? path != folder : path.startsWith(folder + u'/');
}

bool removeFile(const QString &file)
{
    return (!QFileInfo::exists(file) && !QFileInfo(file).isSymLink()) || QFile::remove(file);
}

// Removes a copy this move made (a file or a link) with the part it was
// written into and what SQLite may keep beside either; false when one of
// them stays. (A database and a plain file are written into the same part.)
bool removeCopy(const QString &path)
{
    bool ok = true;
    for (const QString &name : {path, FolderMove::PartPath(path)}) {
        for (const QString &suffix : QStringList{QString()} + journalSuffixes())
            ok = removeFile(name + suffix) && ok;
    }
    return ok;
}

// Removes an original whose copy is in place, with the journals SQLite
// keeps beside a database.
bool removeOriginal(const QString &path)
{
    const bool database = CDatabaseFile::IsDatabaseFile(path);
    bool ok = removeFile(path);
    if (ok && database) {
        for (const QString &suffix : journalSuffixes())
            ok = removeFile(path + suffix) && ok;
    }
    return ok;
}

// Removes listed folders below `root`, deepest first, each only when empty.
void removeEmptyFolders(const QString &root, const QStringList &folders)
{
    for (auto it = folders.crbegin(); it != folders.crend(); ++it)
        QDir(root).rmdir(*it);
}

// The record a move from `move.source` left in its target, if any.
bool leftBy(const FolderMovePlan::Move &move, FolderMoveMarker::Record &record)
{
    return FolderMoveMarker::Read(FolderMoveMarker::PathFor(move.source, move.target), record)
           && FolderMovePlan::SameFolder(record.source, move.source);
}

// Takes away what a move cut short before its switch left in its target:
// exactly what its record lists, then the record.
bool removeLeftCopies(const FolderMovePlan::Move &move, const FolderMoveMarker::Record &record)
{
    bool ok = true;
    for (const QString &file : record.files)
        ok = removeCopy(QDir(move.target).filePath(file)) && ok;
    removeEmptyFolders(move.target, record.folders);
    for (const QString &folder : record.folders)
        ok = !QFileInfo::exists(QDir(move.target).filePath(folder)) && ok;
    return ok && QFile::remove(FolderMoveMarker::PathFor(move.source, move.target));
}

// The folders to make so that `folder` exists, parents first.
QStringList missingFolders(const QString &folder)
{
    QStringList chain;
    QString made = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    while (!made.isEmpty() && made != QStringLiteral("/") && !QFileInfo::exists(made)) {
        chain.prepend(made);
        made = QFileInfo(made).path();
    }
    return chain;
}

} // namespace

// A connection holding a database's write lock (an immediate transaction
// that writes nothing) while the database moves.
struct FolderMovePlan::Lock
{
    explicit Lock(const QString &path)
    {
        if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            return;
        sqlite3_busy_timeout(db, LockWaitMs);
        held = sqlite3_exec(db, "BEGIN IMMEDIATE TRANSACTION", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~Lock()
    {
        if (held)
            sqlite3_exec(db, "ROLLBACK TRANSACTION", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    Lock(const Lock &) = delete;
    Lock &operator=(const Lock &) = delete;

    sqlite3 *db = nullptr;
    bool held = false;
};

void FolderMovePlan::SetFaultHook(FaultHook hook)
{
    const std::lock_guard<std::mutex> guard(hookMutex());
    faultHook() = std::move(hook);
}

bool FolderMovePlan::Fault(Stage stage, const QString &path)
{
    FaultHook hook;
    {
        const std::lock_guard<std::mutex> guard(hookMutex());
        hook = faultHook();
    }
    return hook && hook(stage, path);
}

FolderMovePlan::FolderMovePlan() = default;

FolderMovePlan::~FolderMovePlan()
{
    ReleaseLocks();
}

bool FolderMovePlan::SameFolder(const QString &a, const QString &b)
{
    if (a.trimmed().isEmpty() || b.trimmed().isEmpty())
        return a.trimmed().isEmpty() && b.trimmed().isEmpty();
    return FolderMove::Resolved(a) == FolderMove::Resolved(b);
}

FolderMovePlan::Problem FolderMovePlan::CheckFolders(const QString &from, const QString &to)
{
    if (SameFolder(from, to))
        return Problem::Same;
    const QString source = FolderMove::Resolved(from);
    const QString target = FolderMove::Resolved(to);
    if (source == QStringLiteral("/") || target == QStringLiteral("/"))
        return Problem::Root;
    if (inside(source, target) || inside(target, source))
        return Problem::Nested;
    if (!QFileInfo(source).isDir())
        return Problem::Missing;
    return Problem::None;
}

void FolderMovePlan::Add(const Move &move)
{
    m_moves.push_back(move);
}

void FolderMovePlan::Clear()
{
    ClearRun();
    m_moves.clear();
    m_failed = nullptr;
    m_cancelled = false;
}

void FolderMovePlan::ClearRun()
{
    ReleaseLocks();
    m_folderMoves.clear();
    m_markers.clear();
    m_madeRoots.clear();
    m_databases.clear();
    m_lockedDatabases.clear();
    m_copiedDatabases.clear();
}

FolderMovePlan::CheckResult FolderMovePlan::Check() const
{
    for (const Move &move : m_moves) {
        CheckResult result;
        result.problem = CheckFolders(move.source, move.target);
        result.source = move.source;
        result.target = move.target;
        if (result.problem != Problem::None)
            return result;
        // No name to move may exist in the new place: nothing is ever
        // written over. What an earlier move of these files left there,
        // cut short, is not in the way: the copy removes it first.
        FolderMoveMarker::Record left;
        const QStringList leftNames = leftBy(move, left) ? left.TopNames() : QStringList();
        const QDir source(move.source);
        const QDir target(move.target);
        const QStringList names = move.entries.isEmpty()
                                      ? source.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden
                                                         | QDir::System)
                                      : move.entries;
        for (const QString &name : names) {
            const QString from = source.filePath(name);
            if (!QFileInfo::exists(from) && !QFileInfo(from).isSymLink())
                continue;
            const QString resolved = FolderMove::Resolved(from);
            const bool kept = std::any_of(move.keep.cbegin(), move.keep.cend(), [&](const QString &k) {
                return FolderMove::Resolved(k) == resolved;
            });
            if (kept || isJournalOfDatabase(from) || FolderMoveMarker::IsOwnName(name))
                continue;
            const QString to = target.filePath(name);
            if ((QFileInfo::exists(to) || QFileInfo(to).isSymLink()) && !leftNames.contains(name)) {
                result.problem = Problem::NameTaken;
                result.source = from;
                result.target = to;
                return result;
            }
        }
    }
    return {};
}

bool FolderMovePlan::CopyOne(const Move &move, const QString &from, const QString &to)
{
    if (!CDatabaseFile::IsDatabaseFile(from))
        return FolderMove::CopyAndCompare(from, to, [](const QString &part) { return !Fault(Stage::Copied, part); });
    if (move.lockDatabases) {
        auto lock = std::make_unique<Lock>(from);
        if (!lock->held)
            return false; // the other program keeps it busy
        m_locks.push_back(std::move(lock));
        m_lockedDatabases << from;
    }
    // One flush of the file system for every copy, before the check.
    if (!CDatabaseFile::CopyLive(from, to, CDatabaseFile::Target::FreeName, CDatabaseFile::Flush::ByCaller)
        || Fault(Stage::Copied, to))
        return false;
    m_databases << from;
    m_copiedDatabases.push_back({to, size_t(&move - m_moves.data())});
    return true;
}

bool FolderMovePlan::Copy(const std::function<bool()> &cancelled, const std::function<void(const QString &)> &progress)
{
    ClearRun();
    m_failed = nullptr;
    m_cancelled = false;
    const auto giveUp = [this](const Move &move) {
        m_failed = &move;
        Abandon();
        return false;
    };
    if (Check().problem != Problem::None) {
        m_failed = m_moves.empty() ? nullptr : &m_moves.front();
        return false;
    }
    const auto isCancelled = [&] {
        if (cancelled && cancelled())
            m_cancelled = true;
        return m_cancelled;
    };

    for (const Move &move : m_moves) {
        auto folderMove = std::make_unique<FolderMove>(move.source, move.target);
        const QString sourceRoot = FolderMove::Resolved(move.source);
        QStringList kept;
        for (const QString &k : move.keep)
            kept << FolderMove::Resolved(k);
        folderMove->SetSkip([&move, sourceRoot, kept](const QString &relative) {
            const bool top = !relative.contains(u'/');
            if (top && ((!move.entries.isEmpty() && !move.entries.contains(relative))
                        || FolderMoveMarker::IsOwnName(relative)))
                return true;
            const QString path = sourceRoot + u'/' + relative;
            return kept.contains(path) || isJournalOfDatabase(path);
        });
        FolderMove *current = folderMove.get();
        m_folderMoves.push_back(std::move(folderMove));
        m_markers.push_back(std::make_unique<FolderMoveMarker>());
        FolderMoveMarker *marker = m_markers.back().get();
        m_madeRoots.push_back(missingFolders(move.target));

        // The new place exists before anything is written into it, the
        // record of the move first; what a move cut short left there goes.
        if (!current->IsAllowed()
            || !(move.privateTarget ? Platform::FileModes::MakePrivateFolder(move.target)
                                    : QDir().mkpath(move.target)))
            return giveUp(move);
        FolderMoveMarker::Record left;
        if (leftBy(move, left) && !removeLeftCopies(move, left))
            return giveUp(move);
        if (!marker->Begin(move.source, move.target))
            return giveUp(move);
        current->SetRecorder([marker](const QString &relative, bool folder) { return marker->Add(relative, folder); });
        const bool copied = current->Copy(
            [&](const QString &from, const QString &to) {
                if (progress)
                    progress(from);
                if (Fault(Stage::CopyFile, from))
                    return false;
                return CopyOne(move, from, to);
            },
            isCancelled);
        if (!copied)
            return giveUp(move);
    }

    // The copies are on the disk before anything relies on them (the byte
    // copies too), and every database copied opens and passes its check.
    for (const Move &move : m_moves) {
        if (!CDatabaseFile::FlushFolder(move.target))
            return giveUp(move);
    }
    for (const CopiedDatabase &database : m_copiedDatabases) {
        if (Fault(Stage::Check, database.copy) || !CDatabaseFile::Check(database.copy).ok())
            return giveUp(m_moves[database.move]);
    }
    for (size_t i = 0; i < m_markers.size(); ++i) {
        if (!m_markers[i]->MarkCopied())
            return giveUp(m_moves[i]);
    }
    return true;
}

bool FolderMovePlan::RemoveOriginals()
{
    // A database this move keeps locked is taken out of the way under its
    // lock (renamed into a folder of ours beside it), so that a write of
    // the other program waiting for the lock finds the database gone; it
    // is deleted once the lock is let go, which spares the file system the
    // cost of deleting a file still open.
    bool ok = true;
    QStringList aside;
    QStringList asideFolders;
    // From here on the records say that the setting names the new place:
    // a move killed now is ended at the next start.
    for (const auto &marker : m_markers)
        marker->MarkRemoving();
    for (size_t i = 0; i < m_folderMoves.size(); ++i) {
        const QString trash = QDir::cleanPath(QFileInfo(m_moves[i].source).absoluteFilePath()) + u'/'
                              + FolderMoveMarker::AsideFolderName();
        const bool removed = m_folderMoves[i]->RemoveSources([&](const QString &path) {
            if (Fault(Stage::RemoveFile, path))
                return false;
            if (m_lockedDatabases.contains(path)) {
                if (!asideFolders.contains(trash)) {
                    // It holds the databases until they are deleted.
                    if (!Platform::FileModes::MakePrivateFolder(trash))
                        return false;
                    asideFolders << trash;
                }
                const QString to = trash + u'/' + QString::number(aside.size());
                if (std::rename(QFile::encodeName(path).constData(), QFile::encodeName(to).constData()) != 0)
                    return false;
                aside << to;
            } else if (!QFile::remove(path)) {
                return false;
            }
            if (m_databases.contains(path)) {
                for (const QString &suffix : journalSuffixes())
                    QFile::remove(path + suffix);
            }
            return true;
        });
        ok = removed && ok;
    }
    ReleaseLocks();
    for (const QString &file : aside)
        ok = QFile::remove(file) && ok;
    for (const QString &folder : asideFolders)
        QDir().rmdir(folder);
    // A record stays while an original does: the next start tries again.
    if (ok) {
        for (const auto &marker : m_markers)
            marker->Remove();
    }
    ClearRun();
    return ok;
}

void FolderMovePlan::Abandon()
{
    // Copies go before the locks, so that nothing reads a half-removed
    // copy while the originals are still the ones in use; the record of a
    // move goes once its copies are gone, then the folders made for it.
    for (size_t i = m_folderMoves.size(); i-- > 0;) {
        m_folderMoves[i]->RemoveCopies();
        if (i < m_markers.size())
            m_markers[i]->Remove();
        if (i < m_madeRoots.size()) {
            for (auto it = m_madeRoots[i].crbegin(); it != m_madeRoots[i].crend(); ++it)
                QDir().rmdir(*it);
        }
    }
    ClearRun();
}

void FolderMovePlan::FinishInterrupted(const QStringList &configured)
{
    const auto isConfigured = [&configured](const QString &folder) {
        return std::any_of(configured.cbegin(), configured.cend(),
                           [&folder](const QString &c) { return !c.trimmed().isEmpty() && SameFolder(c, folder); });
    };
    for (const QString &folder : configured) {
        if (folder.trimmed().isEmpty() || !QFileInfo(folder).isDir())
            continue;
        for (const QString &path : FolderMoveMarker::RecordsIn(folder)) {
            FolderMoveMarker::Record record;
            // Only a move that reached its switch, from a folder no setting
            // names any more, is ended; any other record stays as it is.
            if (!FolderMoveMarker::Read(path, record) || !record.removing || isConfigured(record.source)
                || !QFileInfo(record.source).isDir())
                continue;
            const QDir source(record.source);
            bool ok = true;
            for (const QString &file : record.files)
                ok = removeOriginal(source.filePath(file)) && ok;
            const QDir aside(source.filePath(FolderMoveMarker::AsideFolderName()));
            if (aside.exists()) {
                // Only the numbered databases a move renamed there.
                for (const QString &name : aside.entryList(QDir::Files | QDir::Hidden)) {
                    bool number = false;
                    name.toUInt(&number);
                    if (number)
                        ok = QFile::remove(aside.filePath(name)) && ok;
                }
                source.rmdir(FolderMoveMarker::AsideFolderName());
            }
            removeEmptyFolders(record.source, record.folders);
            if (ok)
                QFile::remove(path);
        }
    }
}

void FolderMovePlan::ReleaseLocks()
{
    m_locks.clear();
}

QStringList FolderMovePlan::CopiedFiles() const
{
    QStringList files;
    for (size_t i = 0; i < m_folderMoves.size() && i < m_moves.size(); ++i) {
        for (const QString &relative : m_folderMoves[i]->CopiedFiles())
            files << QDir(m_moves[i].target).filePath(relative);
    }
    return files;
}
