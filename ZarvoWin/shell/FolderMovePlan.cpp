#include "FolderMovePlan.h"

#include "CDatabaseFile.h"
#include "FolderMove.h"

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

bool isDatabase(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    static const QByteArray header("SQLite format 3", 16);
    return file.read(16) == header;
}

// A journal SQLite keeps beside a database: it never moves (the copy is
// made through the backup, which reads the database as committed).
bool isJournalOfDatabase(const QString &path)
{
    for (const QString &suffix : journalSuffixes()) {
        if (path.endsWith(suffix) && isDatabase(path.chopped(suffix.size())))
            return true;
    }
    return false;
}

bool inside(const QString &path, const QString &folder)
{
    return folder == QStringLiteral("/") ? path != folder : path.startsWith(folder + u'/');
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
    ReleaseLocks();
    m_folderMoves.clear();
    m_databases.clear();
    m_lockedDatabases.clear();
    m_copiedDatabases.clear();
    m_moves.clear();
    m_failed = nullptr;
    m_cancelled = false;
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
        // written over.
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
            if (kept || isJournalOfDatabase(from))
                continue;
            const QString to = target.filePath(name);
            if (QFileInfo::exists(to) || QFileInfo(to).isSymLink()) {
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
    if (!isDatabase(from))
        return FolderMove::CopyAndCompare(from, to);
    if (move.lockDatabases) {
        auto lock = std::make_unique<Lock>(from);
        if (!lock->held)
            return false; // the other program keeps it busy
        m_locks.push_back(std::move(lock));
        m_lockedDatabases << from;
    }
    // One flush of the file system for every copy, before the check.
    if (!CDatabaseFile::CopyLive(from, to, CDatabaseFile::Target::FreeName, CDatabaseFile::Flush::ByCaller))
        return false;
    m_databases << from;
    m_copiedDatabases.push_back({to, size_t(&move - m_moves.data())});
    return true;
}

bool FolderMovePlan::Copy(const std::function<bool()> &cancelled, const std::function<void(const QString &)> &progress)
{
    ReleaseLocks();
    m_folderMoves.clear();
    m_databases.clear();
    m_lockedDatabases.clear();
    m_copiedDatabases.clear();
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
            if (!move.entries.isEmpty() && !relative.contains(u'/') && !move.entries.contains(relative))
                return true;
            const QString path = sourceRoot + u'/' + relative;
            return kept.contains(path) || isJournalOfDatabase(path);
        });
        FolderMove *current = folderMove.get();
        m_folderMoves.push_back(std::move(folderMove));
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
    for (size_t i = 0; i < m_folderMoves.size(); ++i) {
        const QString trash = QDir::cleanPath(QFileInfo(m_moves[i].source).absoluteFilePath())
                              + QStringLiteral("/.zarvo-moved");
        const bool removed = m_folderMoves[i]->RemoveSources([&](const QString &path) {
            if (Fault(Stage::RemoveFile, path))
                return false;
            if (m_lockedDatabases.contains(path)) {
                if (!asideFolders.contains(trash)) {
                    if (!QDir().mkpath(trash))
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
    m_folderMoves.clear();
    m_databases.clear();
    m_lockedDatabases.clear();
    m_copiedDatabases.clear();
    return ok;
}

void FolderMovePlan::Abandon()
{
    // Copies go before the locks, so that nothing reads a half-removed
    // copy while the originals are still the ones in use.
    for (auto it = m_folderMoves.rbegin(); it != m_folderMoves.rend(); ++it)
        (*it)->RemoveCopies();
    ReleaseLocks();
    m_folderMoves.clear();
    m_databases.clear();
    m_lockedDatabases.clear();
    m_copiedDatabases.clear();
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
