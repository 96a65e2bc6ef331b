#include "CDatabaseFile.h"

#include "CBdD.h"
#include "CmyDataBase.h"
#include "FileModes.h"
#include "Formatter.h"
#include "IntParse.h"
#include "QuoteSql.h"
#include "RecordedTotalsCache.h"

#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

#include <algorithm>
#include <ctime>
#include <mutex>
#include <cerrno>
#include <fcntl.h>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {

CDatabaseFile::FaultHook &faultHook()
{
    static CDatabaseFile::FaultHook hook;
    return hook;
}

bool faultAt(CDatabaseFile::Stage stage)
{
    return faultHook() && faultHook()(stage);
}

// How long a copy waits for the other program's write to end.
constexpr int BusyTimeoutMs = 2000;
// Pages copied per step when the target is live, so that a failure can be
// injected between steps (the target keeps its old contents until the last).
constexpr int PagesPerStep = 64;

// A raw connection closed on every path.
class Connection
{
public:
    Connection(const QString &path, int flags)
    {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, flags, nullptr) != SQLITE_OK) {
            sqlite3_close(m_db);
            m_db = nullptr;
        } else {
            sqlite3_busy_timeout(m_db, BusyTimeoutMs);
        }
    }
    ~Connection() { sqlite3_close(m_db); }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;
    sqlite3 *get() const { return m_db; }
    explicit operator bool() const { return m_db != nullptr; }

private:
    sqlite3 *m_db = nullptr;
};

// Copies `source` into `destination` with the online backup; all or
// nothing on the destination (its write transaction ends only with the
// last step). `whileLocked`, when given, is asked once the destination's
// write lock is held and before any page is copied; false gives up.
bool backup(sqlite3 *destination, sqlite3 *source, int pagesPerStep, bool injectable,
            const std::function<bool()> &whileLocked = {})
{
    sqlite3_backup *job = sqlite3_backup_init(destination, "main", source, "main");
    if (!job)
        return false;
    int rc = SQLITE_OK;
    int busyRounds = 0;
    bool failed = false;
    bool locked = !whileLocked;
    for (;;) {
        // A first step of no page only takes the destination's lock.
        rc = sqlite3_backup_step(job, locked ? pagesPerStep : 0);
        if (rc == SQLITE_OK && !locked) {
            locked = true;
            if (!whileLocked()) {
                failed = true;
                break;
            }
            continue;
        }
        if (rc == SQLITE_DONE)
            break;
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
            // The busy handler already waited; give up after a few rounds.
            if (++busyRounds > 3) {
                failed = true;
                break;
            }
            continue;
        }
        if (rc != SQLITE_OK) {
            failed = true;
            break;
        }
        if (injectable && faultAt(CDatabaseFile::Stage::ReplaceBetweenSteps)) {
            failed = true;
            break;
        }
    }
    const int finished = sqlite3_backup_finish(job);
    return !failed && rc == SQLITE_DONE && finished == SQLITE_OK;
}

// Removes a leftover beside a database that no longer exists; false when a
// leftover stands beside a database that does.
bool noLeftoverBeside(const QString &database)
{
    for (const char *suffix : {"-journal", "-wal"}) {
        const QString leftover = database + QLatin1String(suffix);
        if (!QFileInfo::exists(leftover))
            continue;
        if (QFileInfo::exists(database))
            return false;
        if (!QFile::remove(leftover))
            return false;
    }
    return true;
}

// SQLite's own handle of the file a connection has open. A file that this
// process may hold open is read only through it, never through a
// descriptor of our own: on Linux, closing any descriptor of a file drops
// every lock the process holds on it, SQLite's included, and the other
// program could then write in the middle of our transaction.
sqlite3_file *fileOf(sqlite3 *db)
{
    sqlite3_file *file = nullptr;
    if (!db || sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file
        || !file->pMethods)
        return nullptr;
    return file;
}

// The first `bytes` bytes of the file under `db` (fewer when it is
// shorter), and its length.
bool readStart(sqlite3 *db, int bytes, QByteArray &start, qint64 *length = nullptr)
{
    sqlite3_file *file = fileOf(db);
    sqlite3_int64 size = 0;
    if (!file || file->pMethods->xFileSize(file, &size) != SQLITE_OK)
        return false;
    start = QByteArray(int(std::min<sqlite3_int64>(size, bytes)), '\0');
    if (!start.isEmpty() && file->pMethods->xRead(file, start.data(), int(start.size()), 0) != SQLITE_OK)
        return false;
    if (length)
        *length = size;
    return true;
}

// Runs `read` inside a read transaction of `db`, which holds SQLite's
// shared lock: no commit lands while it reads.
bool underReadLock(sqlite3 *db, const std::function<bool()> &read)
{
    if (sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK)
        return false;
    const bool ok =
        sqlite3_exec(db, "select count(*) from sqlite_master", nullptr, nullptr, nullptr) == SQLITE_OK && read();
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    return ok;
}

// The change counter of a database header; false for anything but the
// header of a database that keeps a rollback journal (bytes 18 and 19 are
// 2 for one that keeps a write-ahead log, whose commits leave the counter).
bool changeCounterOf(const QByteArray &header, quint32 &counter)
{
    if (header.size() < 28 || !header.startsWith(QByteArray("SQLite format 3", 16)) || header[18] == 2
        || header[19] == 2)
        return false;
    counter = (quint32(quint8(header[24])) << 24) | (quint32(quint8(header[25])) << 16)
              | (quint32(quint8(header[26])) << 8) | quint32(quint8(header[27]));
    return true;
}

// Whether the file under `db` is at least as long as its header says (its
// page size times its page count). The count is only told by files whose
// header stamps it as valid; any other file (and an empty one) is not
// judged.
bool longAsItsHeaderSays(sqlite3 *db)
{
    QByteArray header;
    qint64 length = 0;
    if (!readStart(db, 100, header, &length))
        return false;
    if (header.isEmpty())
        return true;
    if (header.size() < 100)
        return false;
    const auto bigEndian = [&header](int at, int bytes) {
        quint64 value = 0;
        for (int i = 0; i < bytes; ++i)
            value = (value << 8) | quint8(header[at + i]);
        return value;
    };
    quint64 pageSize = bigEndian(16, 2);
    if (pageSize == 1)
        pageSize = 65536;
    const quint64 pages = bigEndian(28, 4);
    const bool countValid = bigEndian(92, 4) == bigEndian(24, 4);
    if (!countValid || pages == 0)
        return true;
    return quint64(length) >= pageSize * pages;
}

// Writes the file under `db` to disk.
bool flushToDisk(sqlite3 *db)
{
    sqlite3_file *file = fileOf(db);
    return file && file->pMethods->xSync(file, SQLITE_SYNC_FULL) == SQLITE_OK;
}

void removeWithLeftovers(const QString &path)
{
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
    QFile::remove(path + QStringLiteral("-wal"));
    QFile::remove(path + QStringLiteral("-shm"));
}

// Moves the finished copy into place; with `freeNameOnly` an existing
// target is never replaced, even by a race.
bool moveIntoPlace(const QString &part, const QString &target, bool freeNameOnly)
{
    const QByteArray from = QFile::encodeName(part);
    const QByteArray to = QFile::encodeName(target);
    if (!freeNameOnly)
        return std::rename(from.constData(), to.constData()) == 0;
    if (::link(from.constData(), to.constData()) == 0) {
        ::unlink(from.constData());
        return true;
    }
    if (errno == EEXIST)
        return false;
    // A file system without hard links: the small window between the look
    // and the rename is accepted there.
    if (QFileInfo::exists(target))
        return false;
    return std::rename(from.constData(), to.constData()) == 0;
}

} // namespace

void CDatabaseFile::SetFaultHook(FaultHook hook)
{
    faultHook() = std::move(hook);
}

QString CDatabaseFile::PartPath(const QString &target)
{
    return target + QStringLiteral(".part");
}

namespace {

// How far the pages of a file are checked.
enum class PageCheck {
    Quick, // every page read, without matching indexes to their tables
    Whole, // also every index against its table
};

// What Check tells, the pages checked as far as `pages` says.
CDatabaseFile::CheckResult checkFile(const QString &path, PageCheck pages)
{
    using Status = CDatabaseFile::Status;
    CDatabaseFile::CheckResult result;
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return result;
    result.status = Status::NotDatabase;
    SQLite::CmyDataBase db;
    if (db.OpenReadOnly(path) != SQLITE_OK)
        return result;
    // The whole check computes what the indexes hold, expressions
    // included: nothing the schema names may run.
    if (pages == PageCheck::Whole)
        CDatabaseFile::HardenForOthersFile(db);
    // The first read tells whether the file is a database at all. Its
    // length is read under the same lock, so that no commit lands between.
    SQLite::MyTablePtr tables;
    bool whole = false;
    const bool read = underReadLock(db.Handle(), [&] {
        tables = db.Query(u"select count(*) from sqlite_master where type='table' and name='Infos'");
        whole = longAsItsHeaderSays(db.Handle());
        return tables.hasRows() && db.GetLastCode() == SQLITE_OK;
    });
    if (!read)
        return result;
    // SQLite reads a last page cut short as if its missing bytes were
    // zeros, and no check of its own notices.
    if (!whole) {
        result.status = Status::Truncated;
        return result;
    }
    // The whole check does all the quick one does, and matches indexes to
    // their tables, which a replacement would carry into the live file.
    SQLite::MyTablePtr check =
        db.Query(pages == PageCheck::Whole ? QStringView(u"PRAGMA integrity_check") : QStringView(u"PRAGMA quick_check"));
    if (!check.hasRows() || db.GetLastCode() != SQLITE_OK || check->rowCount() != 1
        || check->GetCell(0, 0) != QLatin1String("ok")) {
        result.status = Status::Damaged;
        return result;
    }
    result.version = 0;
    if (Platform::wtoi(tables->GetCellView(0, 0)) > 0) {
        SQLite::MyTablePtr version = db.Query(u"select Value from Infos where Name='VersionDB'");
        if (db.GetLastCode() != SQLITE_OK) {
            result.status = Status::Damaged;
            return result;
        }
        if (version.hasRows())
            result.version = Platform::wtoi(version->GetCellView(0, 0));
    }
    result.status = Status::Ok;
    return result;
}

} // namespace

CDatabaseFile::CheckResult CDatabaseFile::Check(const QString &path)
{
    return checkFile(path, PageCheck::Quick);
}

void CDatabaseFile::HardenForOthersFile(SQLite::CmyDataBase &connection)
{
    if (!connection.IsOpen())
        return;
    sqlite3_db_config(connection.Handle(), SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(connection.Handle(), SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
}

bool CDatabaseFile::HasCodeOfItsOwn(SQLite::CmyDataBase &connection)
{
    SQLite::MyTablePtr objects = connection.Query(u"select type, sql from sqlite_master");
    if (!objects || connection.GetLastCode() != 0)
        return true;
    for (int r = 0; r < objects->rowCount(); ++r) {
        const QString type = objects->GetCell(r, 0);
        if (type == u"trigger" || type == u"view")
            return true;
        if (type == u"table" && objects->GetCell(r, 1).simplified().startsWith(u"create virtual", Qt::CaseInsensitive))
            return true;
    }
    return false;
}

namespace {

// What tells a file apart from the same file changed: where it lies, its
// size, its times of change and the change counter SQLite writes at each
// commit.
struct FileState
{
    QString path;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified {};
    timespec changed {};
    quint32 counter = 0;

    bool operator==(const FileState &o) const
    {
        return path == o.path && device == o.device && inode == o.inode && size == o.size
               && modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec
               && changed.tv_sec == o.changed.tv_sec && changed.tv_nsec == o.changed.tv_nsec && counter == o.counter;
    }
};

bool stateOf(const QString &path, FileState &state)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    state.path = path;
    state.device = info.st_dev;
    state.inode = info.st_ino;
    state.size = info.st_size;
    state.modified = info.st_mtim;
    state.changed = info.st_ctim;
    return CDatabaseFile::ReadChangeCounter(path, state.counter);
}

// Whether any later write to the file is bound to give it another time of
// change: its last change lies before the tick the system stamps files
// with now.
bool settled(const FileState &state)
{
    timespec now {};
    clock_gettime(CLOCK_REALTIME_COARSE, &now);
    return state.changed.tv_sec < now.tv_sec
           || (state.changed.tv_sec == now.tv_sec && state.changed.tv_nsec < now.tv_nsec);
}

// The last file found whole by the full check of a replacement.
struct WholeFile
{
    std::mutex lock;
    FileState state;
    CDatabaseFile::CheckResult result;
    bool known = false;
};

WholeFile &lastWholeFile()
{
    static WholeFile file;
    return file;
}

// The checks of a replacement, made now.
CDatabaseFile::CheckResult checkReplacementNow(const QString &path, CDatabaseFile::Depth depth)
{
    using CheckResult = CDatabaseFile::CheckResult;
    using Status = CDatabaseFile::Status;
    CheckResult result = checkFile(path, depth == CDatabaseFile::Depth::Full ? PageCheck::Whole : PageCheck::Quick);
    if (!result.ok())
        return result;
    const QMap<QString, QStringList> required = CBdD::RequiredSchema(result.version);
    if (required.isEmpty()) {
        result.status = Status::UnknownVersion;
        return result;
    }
    SQLite::CmyDataBase db;
    if (db.OpenReadOnly(path) != SQLITE_OK) {
        result.status = Status::NotDatabase;
        return result;
    }
    // The schema runs no function of its own, and code it holds would run
    // inside the user's database.
    CDatabaseFile::HardenForOthersFile(db);
    if (CDatabaseFile::HasCodeOfItsOwn(db)) {
        result.status = Status::CodeOfItsOwn;
        return result;
    }
    for (auto table = required.cbegin(); table != required.cend(); ++table) {
        SQLite::MyTablePtr columns = db.Query(Platform::Formatter::sprintf(
            u"select name from pragma_table_info('%s')", {QuoteSql(table.key())}));
        if (db.GetLastCode() != SQLITE_OK) {
            result.status = Status::Damaged;
            return result;
        }
        QStringList present;
        for (int row = 0; columns && row < columns->rowCount(); ++row)
            present << columns->GetCell(row, 0);
        if (present.isEmpty()) {
            result.status = Status::NotUserDatabase;
            result.missing = table.key();
            return result;
        }
        for (const QString &column : table.value()) {
            if (!present.contains(column, Qt::CaseInsensitive)) {
                result.status = Status::NotUserDatabase;
                result.missing = table.key() + u'.' + column;
                return result;
            }
        }
    }
    return result;
}

} // namespace

CDatabaseFile::CheckResult CDatabaseFile::CheckReplacement(const QString &path, Depth depth)
{
    // A file found whole a moment ago and untouched since (the same file,
    // size, times of change and change counter) is not read through again:
    // a synchronisation offers the one copy it kept first to the device,
    // then to the local database.
    FileState before;
    const bool full = depth == Depth::Full && stateOf(path, before);
    if (full) {
        WholeFile &last = lastWholeFile();
        const std::lock_guard<std::mutex> guard(last.lock);
        if (last.known && last.state == before)
            return last.result;
    }
    CheckResult result = checkReplacementNow(path, depth);
    FileState after;
    if (full && result.ok() && stateOf(path, after) && after == before && settled(after)) {
        WholeFile &last = lastWholeFile();
        const std::lock_guard<std::mutex> guard(last.lock);
        last.state = after;
        last.result = result;
        last.known = true;
    }
    return result;
}


bool CDatabaseFile::FlushFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    const bool flushed = ::syncfs(fd) == 0;
    ::close(fd);
    return flushed;
}

bool CDatabaseFile::CopyLive(const QString &source, const QString &target, Target mode, Flush flush)
{
    if (source.isEmpty() || target.isEmpty() || !QFileInfo(source).isFile())
        return false;
    if (QFileInfo(source).canonicalFilePath() == QFileInfo(target).canonicalFilePath())
        return false;
    const bool freeNameOnly = mode == Target::FreeName;
    if (freeNameOnly && QFileInfo::exists(target))
        return false;
    // SQLite would roll a journal left beside the target into the copy.
    if (!noLeftoverBeside(target))
        return false;

    const QString part = PartPath(target);
    removeWithLeftovers(part);
    // The part is made before SQLite opens it, with no more rights than the
    // source (and than the target it replaces): SQLite would make it
    // readable by everyone, and the journals it keeps beside a database
    // take that database's rights.
    const int made = ::open(QFile::encodeName(part).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                            Platform::FileModes::ForCopy(source, freeNameOnly ? QString() : target));
    if (made < 0)
        return false;
    ::close(made);
    bool copied = false;
    {
        Connection from(source, SQLITE_OPEN_READONLY);
        Connection to(part, SQLITE_OPEN_READWRITE);
        // The part is nobody's database until it is whole and moved into
        // place, so it needs no journal: one flush at the end makes it last.
        if (to)
            sqlite3_exec(to.get(), "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
        copied = from && to && backup(to.get(), from.get(), -1, false);
        if (copied && flush == Flush::Each)
            copied = flushToDisk(to.get());
    }
    if (copied && faultAt(Stage::CopyBeforeRename))
        copied = false;
    // A clean close leaves no journal beside the part; a failed one might.
    if (copied && (QFileInfo::exists(part + QStringLiteral("-journal")) || !noLeftoverBeside(target)))
        copied = false;
    if (copied && moveIntoPlace(part, target, freeNameOnly))
        return true;
    removeWithLeftovers(part);
    return false;
}

namespace {

CDatabaseFile::ReplaceResult replaceLive(const QString &source, const QString &target, const quint32 *changeCounter)
{
    using Result = CDatabaseFile::ReplaceResult;
    if (!QFileInfo(target).isFile() || !CDatabaseFile::CheckReplacement(source).ok())
        return Result::Failed;
    // A source of no page would be written before the lock is looked at.
    if (changeCounter && QFileInfo(source).size() == 0)
        return Result::Failed;
    if (QFileInfo(source).canonicalFilePath() == QFileInfo(target).canonicalFilePath())
        return Result::Failed;
    Connection from(source, SQLITE_OPEN_READONLY);
    Connection to(target, SQLITE_OPEN_READWRITE);
    if (!from || !to)
        return Result::Failed;
    // Room for every page of the transaction, so that SQLite never spills
    // pages to the file (and flushes the journal) before the commit.
    sqlite3_exec(to.get(), "PRAGMA cache_size=-262144", nullptr, nullptr, nullptr);
    bool changed = false;
    std::function<bool()> whileLocked;
    if (changeCounter) {
        // Read from the file itself, through the connection that holds the
        // lock: nobody else writes it now, and no page of ours has reached
        // it yet.
        whileLocked = [&] {
            QByteArray header;
            quint32 now = 0;
            changed = !readStart(to.get(), 28, header) || !changeCounterOf(header, now) || now != *changeCounter;
            return !changed;
        };
    }
    if (backup(to.get(), from.get(), PagesPerStep, true, whileLocked)) {
        // Sums kept of the entries the file held no longer describe it.
        RecordedTotalsCache::Forget(target);
        return Result::Replaced;
    }
    return changed ? Result::ChangedMeanwhile : Result::Failed;
}

} // namespace

bool CDatabaseFile::ReplaceLive(const QString &source, const QString &target)
{
    return replaceLive(source, target, nullptr) == ReplaceResult::Replaced;
}

CDatabaseFile::ReplaceResult CDatabaseFile::ReplaceLiveIfUnchanged(const QString &source, const QString &target,
                                                                   quint32 changeCounter)
{
    return replaceLive(source, target, &changeCounter);
}

CDatabaseFile::WriteResult CDatabaseFile::WriteIfUnchanged(const QString &target, const QString &sql,
                                                           quint32 changeCounter, int *sqliteError)
{
    int error = SQLITE_CANTOPEN;
    const auto failed = [&](WriteResult result) {
        if (sqliteError)
            *sqliteError = error;
        return result;
    };
    if (!QFileInfo(target).isFile())
        return failed(WriteResult::Failed);
    Connection db(target, SQLITE_OPEN_READWRITE);
    if (!db)
        return failed(WriteResult::Failed);
    // The write lock first: from here no other connection commits, and the
    // header on the disk is the state this write lands on.
    error = sqlite3_exec(db.get(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    // Busy past the wait: another connection is writing it.
    if (error == SQLITE_BUSY)
        return failed(WriteResult::ChangedMeanwhile);
    if (error != SQLITE_OK)
        return failed(WriteResult::Failed);
    QByteArray header;
    quint32 now = 0;
    if (!readStart(db.get(), 28, header) || !changeCounterOf(header, now) || now != changeCounter) {
        sqlite3_exec(db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
        error = SQLITE_OK;
        return failed(WriteResult::ChangedMeanwhile);
    }
    error = sqlite3_exec(db.get(), sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    if (error == SQLITE_OK)
        error = sqlite3_exec(db.get(), "COMMIT", nullptr, nullptr, nullptr);
    if (error != SQLITE_OK) {
        sqlite3_exec(db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
        return failed(WriteResult::Failed);
    }
    return WriteResult::Written;
}

bool CDatabaseFile::ReadChangeCounter(const QString &path, quint32 &counter)
{
    if (!QFileInfo(path).isFile())
        return false;
    Connection db(path, SQLITE_OPEN_READONLY);
    QByteArray header;
    // A database that keeps a write-ahead log is told by its header alone,
    // before a read would make SQLite open the log beside it.
    quint32 unlocked = 0;
    if (!db || !readStart(db.get(), 28, header) || !changeCounterOf(header, unlocked))
        return false;
    return underReadLock(db.get(), [&] { return readStart(db.get(), 28, header); })
           && changeCounterOf(header, counter);
}

bool CDatabaseFile::ReadChangeCounter(SQLite::CmyDataBase &connection, quint32 &counter)
{
    QByteArray header;
    return connection.IsOpen() && readStart(connection.Handle(), 28, header) && changeCounterOf(header, counter);
}

bool CDatabaseFile::IsDatabaseFile(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return false;
    Connection db(path, SQLITE_OPEN_READONLY);
    QByteArray start;
    return db && readStart(db.get(), 16, start) && start == QByteArray("SQLite format 3", 16);
}
