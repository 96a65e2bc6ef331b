#include "SyncPending.h"

#include "CBdD.h"
#include "CDatabaseFile.h"
#include "CmyDataBase.h"
#include "DeviceExchange.h"
#include "Formatter.h"
#include "Texts.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRandomGenerator>
#include <QSet>
#include <QStandardPaths>
#include <QStringList>
#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

// The tables whose rows a run may delete, with the column that matches a
// row on both sides.
struct DeletableTable
{
    int code;
    const char *key;
};
constexpr DeletableTable DeletableTables[] = {
    {CBdD::TableProjets, "Id"}, {CBdD::TableActivites, "Id"}, {CBdD::TableTauxHoraire, "Id"},
    {CBdD::TableTaches, "Id"},  {CBdD::TableFavoris, "Id"},   {CBdD::TableForecast, "rowid"},
};

// A prepared statement finalised on every path.
class Statement
{
public:
    Statement(sqlite3 *db, const QByteArray &sql)
    {
        if (sqlite3_prepare_v2(db, sql.constData(), -1, &m_stmt, nullptr) != SQLITE_OK) {
            sqlite3_finalize(m_stmt);
            m_stmt = nullptr;
        }
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;
    sqlite3_stmt *get() const { return m_stmt; }
    explicit operator bool() const { return m_stmt != nullptr; }

private:
    sqlite3_stmt *m_stmt = nullptr;
};

QByteArray quotedName(const QByteArray &name)
{
    QByteArray quoted = name;
    quoted.replace('"', "\"\"");
    return '"' + quoted + '"';
}

// The values of a table's rows, gathered into a buffer that goes to the
// hash in large pieces. Each value is its type and its bytes, a text or a
// blob with its length first, so that different rows never give the same
// bytes; whole numbers take only the bytes they need.
class RowWriter
{
public:
    explicit RowWriter(QCryptographicHash &hash)
        : m_hash(hash)
    {
    }
    ~RowWriter() { Flush(); }
    RowWriter(const RowWriter &) = delete;
    RowWriter &operator=(const RowWriter &) = delete;

    void Type(int type)
    {
        Room(1);
        m_buffer[m_used++] = char(type);
    }
    // A whole number in as few bytes as it needs: seven bits a byte, the
    // sign folded into the lowest bit, the top bit set on all but the last.
    void Number(qint64 value)
    {
        Room(10);
        quint64 folded = (quint64(value) << 1) ^ quint64(value >> 63);
        while (folded >= 0x80) {
            m_buffer[m_used++] = char(folded | 0x80);
            folded >>= 7;
        }
        m_buffer[m_used++] = char(folded);
    }
    void Real(double value) { Append(&value, sizeof value); }
    void Bytes(const void *data, int bytes)
    {
        Number(bytes);
        if (bytes > 0)
            Append(data, size_t(bytes));
    }

private:
    void Room(size_t bytes)
    {
        if (m_used + bytes > sizeof m_buffer)
            Flush();
    }
    void Append(const void *data, size_t bytes)
    {
        Room(bytes);
        if (bytes > sizeof m_buffer) {
            m_hash.addData(QByteArrayView(static_cast<const char *>(data), qsizetype(bytes)));
            return;
        }
        std::memcpy(m_buffer + m_used, data, bytes);
        m_used += bytes;
    }
    void Flush()
    {
        if (m_used > 0)
            m_hash.addData(QByteArrayView(m_buffer, qsizetype(m_used)));
        m_used = 0;
    }

    QCryptographicHash &m_hash;
    char m_buffer[16 * 1024];
    size_t m_used = 0;
};

// The values of the current row of `row` from column `from` on, each with
// its type.
void writeValues(RowWriter &out, sqlite3_stmt *row, int from)
{
    const int columns = sqlite3_column_count(row);
    for (int c = from; c < columns; ++c) {
        // The value itself: each of its reads then goes to it directly.
        sqlite3_value *value = sqlite3_column_value(row, c);
        const int type = sqlite3_value_type(value);
        out.Type(type);
        switch (type) {
        case SQLITE_INTEGER:
            out.Number(sqlite3_value_int64(value));
            break;
        case SQLITE_FLOAT:
            out.Real(sqlite3_value_double(value));
            break;
        case SQLITE_TEXT:
        case SQLITE_BLOB: {
            const void *data = type == SQLITE_TEXT ? static_cast<const void *>(sqlite3_value_text(value))
                                                   : sqlite3_value_blob(value);
            out.Bytes(data, sqlite3_value_bytes(value));
            break;
        }
        default:
            break;
        }
    }
}

// Every row of a table into the hash, each value with its type.
bool hashTable(sqlite3 *db, const QByteArray &table, QCryptographicHash &hash)
{
    Statement rows(db, "select * from " + quotedName(table) + " order by rowid");
    if (!rows)
        return false;
    RowWriter out(hash);
    out.Bytes(table.constData(), int(table.size()));
    out.Number(sqlite3_column_count(rows.get()));
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(rows.get())) == SQLITE_ROW)
        writeValues(out, rows.get(), 0);
    return rc == SQLITE_DONE;
}

// The stamp a record keeps of a row: a digest of its values (from column
// `from` on), which any write that changes the row changes, whatever the
// clock said when it was made.
QByteArray rowStamp(sqlite3_stmt *row, int from)
{
    QCryptographicHash hash(QCryptographicHash::Blake2b_256);
    {
        RowWriter out(hash);
        out.Number(sqlite3_column_count(row) - from);
        writeValues(out, row, from);
    }
    return hash.result().left(8);
}

} // namespace

QString SyncPending::FolderPath()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return data.isEmpty() ? QString() : data + QStringLiteral("/Quellmark/Zarvo/Synchronisation");
}

QString SyncPending::Folder(QString *why)
{
    const QString folder = FolderPath();
    int error = ENOENT;
    if (!folder.isEmpty() && DeviceExchange::MakePrivateFolder(folder, error))
        return folder;
    if (why)
        *why = CauseText(error);
    return QString();
}

namespace {

// The name of a user's files in a slot, without its ending.
QString slotName(int userId, int slot)
{
    return slot == 0 ? QStringLiteral("Pending-%1").arg(userId) : QStringLiteral("Pending-%1-%2").arg(userId).arg(slot);
}

} // namespace

QString SyncPending::CopyPath(int userId, int slot)
{
    const QString folder = Folder();
    return userId < 0 || slot < 0 || folder.isEmpty() ? QString()
                                                      : folder + u'/' + slotName(userId, slot) + QStringLiteral(".sdb");
}

QString SyncPending::RecordPath(int userId, int slot)
{
    const QString folder = Folder();
    return userId < 0 || slot < 0 || folder.isEmpty() ? QString()
                                                      : folder + u'/' + slotName(userId, slot) + QStringLiteral(".ini");
}

QList<int> SyncPending::Slots(int userId)
{
    QList<int> taken;
    if (userId < 0)
        return taken;
    const QString folder = FolderPath();
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
        const QString first = QStringLiteral("Pending-%1").arg(userId);
        const QStringList names = QDir(folder).entryList({first + QStringLiteral(".*"), first + QStringLiteral("-*")},
                                                         QDir::Files | QDir::Hidden);
        for (const QString &name : names) {
            if (!name.endsWith(u".ini") && !name.endsWith(u".sdb"))
                continue;
            const QString stem = name.chopped(4);
            int slot = 0;
            if (stem != first) {
                bool number = false;
                slot = stem.mid(first.size() + 1).toInt(&number);
                if (!number || slot <= 0 || slotName(userId, slot) != stem)
                    continue;
            }
            if (!taken.contains(slot))
                taken << slot;
        }
    }
    // The first slot is where a record an earlier version left goes.
    if (!taken.contains(0) && QFileInfo::exists(OldRecordPath(userId)))
        taken << 0;
    std::sort(taken.begin(), taken.end());
    return taken;
}

QString SyncPending::OldCopyPath(int userId)
{
    const QString folder = DeviceExchange::WorkingFolderPath();
    return userId < 0 || folder.isEmpty() ? QString() : folder + QStringLiteral("/Pending-%1.sdb").arg(userId);
}

QString SyncPending::OldRecordPath(int userId)
{
    const QString folder = DeviceExchange::WorkingFolderPath();
    return userId < 0 || folder.isEmpty() ? QString() : folder + QStringLiteral("/Pending-%1.ini").arg(userId);
}

QString SyncPending::CauseText(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return Platform::Texts::get(DeniedText);
    case ENOSPC:
    case EDQUOT:
        return Platform::Texts::get(FullText);
    case EROFS:
        return Platform::Texts::get(ReadOnlyText);
    case ENOTDIR:
    case EEXIST:
    case ELOOP:
        return Platform::Texts::get(FileInPlaceText);
    case EISDIR:
        return Platform::Texts::get(FolderInPlaceText);
    default:
        break;
    }
    char buffer[256];
    return QString::fromLocal8Bit(strerror_r(error, buffer, sizeof buffer));
}

QByteArray SyncPending::Digest(const QString &databasePath)
{
    if (!QFileInfo(databasePath).isFile())
        return QByteArray();
    // Only this thread uses the connection: it takes no lock at each of the
    // many values it reads.
    sqlite3 *opened = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(databasePath).constData(), &opened,
                                   SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    const std::unique_ptr<sqlite3, int (*)(sqlite3 *)> db(opened, &sqlite3_close);
    if (rc != SQLITE_OK)
        return QByteArray();
    sqlite3_busy_timeout(db.get(), SQLite::CmyDataBase::BusyTimeoutMs());
    if (sqlite3_exec(db.get(), "begin", nullptr, nullptr, nullptr) != SQLITE_OK)
        return QByteArray();
    QCryptographicHash hash(QCryptographicHash::Blake2b_256);
    bool ok = true;
    {
        Statement tables(db.get(), "select name from sqlite_master where type='table' and name not like 'sqlite!_%' "
                                   "escape '!' order by name");
        ok = bool(tables);
        QList<QByteArray> names;
        int step = SQLITE_ROW;
        while (ok && (step = sqlite3_step(tables.get())) == SQLITE_ROW)
            names << QByteArray(reinterpret_cast<const char *>(sqlite3_column_text(tables.get(), 0)));
        ok = ok && step == SQLITE_DONE && !names.isEmpty();
        for (const QByteArray &name : std::as_const(names)) {
            if (!ok)
                break;
            ok = hashTable(db.get(), name, hash);
        }
    }
    sqlite3_exec(db.get(), "commit", nullptr, nullptr, nullptr);
    return ok ? hash.result() : QByteArray();
}

bool SyncPending::Describe(const QString &localPath, const QString &mergedPath, Record &record,
                           std::optional<quint32> *localCounter)
{
    record.deleted.clear();
    record.rowStamps.clear();
    if (localCounter)
        localCounter->reset();
    record.digest = Digest(mergedPath);
    if (record.digest.isEmpty() || !QFileInfo(localPath).isFile())
        return false;
    SQLite::CmyDataBase db;
    if (db.OpenReadOnly(localPath) != SQLITE_OK)
        return false;
    // The copy's path is bound, never written into the statement.
    const QByteArray merged = mergedPath.toUtf8();
    {
        Statement attach(db.Handle(), "attach database ? as Merged");
        if (!attach
            || sqlite3_bind_text(attach.get(), 1, merged.constData(), int(merged.size()), SQLITE_TRANSIENT) != SQLITE_OK
            || sqlite3_step(attach.get()) != SQLITE_DONE)
            return false;
    }
    // One read of the local database: what the other program commits
    // meanwhile is seen by none or all of the queries, and the change
    // counter tells which state they saw.
    bool ok = db.Execute(u"begin") == SQLITE_OK;
    record.databasePath = QFileInfo(localPath).absoluteFilePath();
    record.token.clear();
    if (ok) {
        SQLite::MyTablePtr token = db.Query(Platform::Formatter::sprintf(
            u"select Value from Infos where Name='%s' and coalesce(Value,'')<>'' limit 1", {CBdD::SyncRecordInfo}));
        ok = token && db.GetLastCode() == SQLITE_OK;
        if (token.hasRows())
            record.token = token->GetCell(0, 0).toLatin1();
        quint32 counter = 0;
        if (ok && localCounter && CDatabaseFile::ReadChangeCounter(db, counter))
            *localCounter = counter;
    }
    for (const DeletableTable &table : DeletableTables) {
        if (!ok)
            break;
        const QByteArray name = CBdD::TableName(table.code).toLatin1();
        const QByteArray key = table.key;
        // Read in the order of the rows, never through an index: each row
        // is then looked up in the copy near the one before. The row's own
        // values follow its key, for its stamp.
        Statement rows(db.Handle(), "select L." + key + ", L.* from main." + name
                                        + " as L not indexed where coalesce(L.Deleted<>0,0)=0 and not exists "
                                          "(select 1 from Merged." + name + " as M where M." + key + "=L." + key + ")");
        ok = bool(rows);
        std::vector<qint64> ids;
        QHash<qint64, QByteArray> stamps;
        int step = SQLITE_ROW;
        while (ok && (step = sqlite3_step(rows.get())) == SQLITE_ROW) {
            const qint64 id = sqlite3_column_int64(rows.get(), 0);
            ids.push_back(id);
            stamps.insert(id, rowStamp(rows.get(), 1));
        }
        ok = ok && step == SQLITE_DONE;
        if (!ids.empty()) {
            record.deleted.insert(table.code, std::move(ids));
            record.rowStamps.insert(table.code, std::move(stamps));
        }
    }
    db.Execute(u"commit");
    db.Execute(u"detach database Merged");
    return ok;
}

namespace {

// Why a copy of `bytes` bytes could not be written into `folder`, when the
// copy itself did not say.
int copyError(const QString &folder, qint64 bytes)
{
    const QByteArray native = QFile::encodeName(folder);
    if (::access(native.constData(), W_OK) != 0)
        return errno;
    struct statvfs room {};
    if (::statvfs(native.constData(), &room) == 0) {
        if (room.f_flag & ST_RDONLY)
            return EROFS;
        if (qint64(room.f_bavail) * qint64(room.f_frsize) < bytes)
            return ENOSPC;
    }
    return EIO;
}

// Writes `text` to `path` through a part file renamed over it, so that a
// stop leaves the earlier file or this one whole. The system's error
// number, 0 when written.
int writeWhole(const QString &path, const QByteArray &text)
{
    const QByteArray part = QFile::encodeName(path + QStringLiteral(".part"));
    ::unlink(part.constData());
    const int fd = ::open(part.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno;
    int error = 0;
    for (qsizetype written = 0; error == 0 && written < text.size();) {
        const ssize_t n = ::write(fd, text.constData() + written, size_t(text.size() - written));
        if (n < 0 && errno != EINTR)
            error = errno;
        else if (n > 0)
            written += n;
    }
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && std::rename(part.constData(), QFile::encodeName(path).constData()) != 0)
        error = errno;
    if (error != 0)
        ::unlink(part.constData());
    return error;
}

// Moves a database file with what SQLite may have left beside it; where a
// rename cannot (another file system), the file is copied and removed.
bool moveDatabase(const QString &from, const QString &to)
{
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    if (!CDatabaseFile::CopyLive(from, to, CDatabaseFile::Target::Replace))
        return false;
    QFile::remove(from);
    return true;
}

void removeDatabase(const QString &path)
{
    for (const char *suffix : {"", "-journal", ".part", ".part-journal", ".next", ".next-journal"})
        QFile::remove(path + QLatin1String(suffix));
}

// The record of an earlier version, in the cache's working folder, moved
// beside the records of this one; dropped where this one has a record of
// its own (which is newer). False when it stays where it is.
bool adoptOldRecord(int userId)
{
    const QString oldRecord = SyncPending::OldRecordPath(userId);
    // Only in the working folder of this user's own.
    if (oldRecord.isEmpty() || !QFileInfo::exists(oldRecord) || DeviceExchange::WorkingFolder().isEmpty())
        return false;
    const QString record = SyncPending::RecordPath(userId);
    if (record.isEmpty())
        return false;
    const QString oldCopy = SyncPending::OldCopyPath(userId);
    if (!QFileInfo::exists(record)) {
        const QString copy = SyncPending::CopyPath(userId);
        removeDatabase(copy);
        if (QFileInfo(oldCopy).isFile() && !moveDatabase(oldCopy, copy))
            return false;
        if (!QFile::copy(oldRecord, record + QStringLiteral(".part"))
            || std::rename(QFile::encodeName(record + QStringLiteral(".part")).constData(),
                           QFile::encodeName(record).constData())
                   != 0) {
            QFile::remove(record + QStringLiteral(".part"));
            return false;
        }
    }
    QFile::remove(oldRecord);
    removeDatabase(oldCopy);
    return true;
}

// The form of the records this version writes, on their first line. The
// identity of the record (its user and database) follows at once, and an
// end line closes it: a record cut short lacks that line, and is told from
// one an earlier version wrote, which has neither.
constexpr char FormatLine[] = "Format=2";
constexpr char EndLine[] = "End";

QByteArray encodedPath(const QString &path)
{
    return path.toUtf8().toPercentEncoding("/");
}

QString decodedPath(const QByteArray &value)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(value));
}

QByteArray recordText(const SyncPending::Record &record)
{
    QByteArray text = QByteArray(FormatLine) + "\nUser=" + QByteArray::number(record.userId)
                      + "\nDatabase=" + encodedPath(record.databasePath) + "\nToken=" + record.token
                      + "\nTime=" + QByteArray::number(record.time) + "\nCounter="
                      + QByteArray::number(record.localCounter) + "\nDigest=" + record.digest.toHex() + "\n";
    for (auto table = record.deleted.cbegin(); table != record.deleted.cend(); ++table) {
        // Each row with its stamp: "id:stamp"; a row without one (kept
        // from an earlier version's record) stands alone.
        const QHash<qint64, QByteArray> stamps = record.rowStamps.value(table.key());
        QByteArrayList rows;
        rows.reserve(qsizetype(table.value().size()));
        for (qint64 id : table.value()) {
            const auto stamp = stamps.constFind(id);
            rows << (stamp == stamps.constEnd() ? QByteArray::number(id)
                                                : QByteArray::number(id) + ':' + stamp->toHex());
        }
        text += "Deleted" + QByteArray::number(table.key()) + "=" + rows.join(',') + "\n";
    }
    for (const QString &told : record.told)
        text += "Told=" + encodedPath(told) + "\n";
    return text + QByteArray(EndLine) + "\n";
}

std::optional<SyncPending::Record> readRecord(const QString &path, int userId)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    SyncPending::Record record;
    bool user = false;
    bool counter = false;
    bool ended = false;
    const QList<QByteArray> lines = file.read(16 * 1024 * 1024).split('\n');
    const bool current = !lines.isEmpty() && lines.front() == FormatLine;
    for (const QByteArray &line : lines) {
        if (line == EndLine) {
            ended = true;
            break;
        }
        const qsizetype equals = line.indexOf('=');
        if (equals < 0)
            continue;
        const QByteArray key = line.left(equals);
        const QByteArray value = line.mid(equals + 1);
        if (key == "User") {
            bool number = false;
            user = value.toInt(&number) == userId && number;
        } else if (key == "Counter") {
            record.localCounter = value.toUInt(&counter);
        } else if (key == "Digest") {
            record.digest = QByteArray::fromHex(value);
        } else if (key == "Database") {
            record.databasePath = decodedPath(value);
        } else if (key == "Token") {
            record.token = value;
        } else if (key == "Time") {
            record.time = value.toLongLong();
        } else if (key == "Told") {
            record.told << decodedPath(value);
        } else if (key.startsWith("Deleted")) {
            bool known = false;
            const int code = key.mid(7).toInt(&known);
            if (!known || CBdD::TableName(code).isEmpty())
                continue;
            std::vector<qint64> ids;
            QHash<qint64, QByteArray> stamps;
            for (const QByteArray &row : value.split(',')) {
                const qsizetype colon = row.indexOf(':');
                bool number = false;
                const qint64 id = (colon < 0 ? row : row.left(colon)).toLongLong(&number);
                if (!number)
                    continue;
                ids.push_back(id);
                if (colon >= 0)
                    stamps.insert(id, QByteArray::fromHex(row.mid(colon + 1)));
            }
            record.deleted.insert(code, std::move(ids));
            if (!stamps.isEmpty())
                record.rowStamps.insert(code, std::move(stamps));
        }
    }
    if (!user || !counter || record.digest.isEmpty())
        return std::nullopt;
    // A record of this form names its database and ends whole, or it was
    // cut short: what it lists can no longer be trusted whole.
    if (current && (!ended || record.databasePath.isEmpty() || record.token.isEmpty() || record.time <= 0))
        return std::nullopt;
    record.userId = userId;
    return record;
}

} // namespace

namespace {

QString notKept(const QString &file, const QString &cause)
{
    return Platform::Formatter::sprintf(Platform::Texts::get(SyncPending::NotKeptText),
                                        {QDir::toNativeSeparators(file), cause});
}

} // namespace

namespace {

// Whether two paths name one file: the same file where both are there,
// else the same path once cleaned.
bool samePath(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    const QFileInfo first(a);
    const QFileInfo second(b);
    if (first.exists() && second.exists())
        return first.canonicalFilePath() == second.canonicalFilePath();
    return QDir::cleanPath(first.absoluteFilePath()) == QDir::cleanPath(second.absoluteFilePath());
}

// Whether a record names a database at all: an earlier version's names
// none.
bool namesADatabase(const SyncPending::Record &record)
{
    return !record.databasePath.isEmpty() && !record.token.isEmpty() && record.time > 0;
}

// Whether the database a record names is still there carrying its token:
// the record may still serve it.
bool mayServe(const SyncPending::Record &record)
{
    return namesADatabase(record) && QFileInfo(record.databasePath).isFile()
           && SyncPending::TokenOf(record.databasePath) == record.token;
}

} // namespace

QString SyncPending::Place(int userId, const QString &mergedPath, QString *why, int slot)
{
    if (userId < 0 || slot < 0 || !QFileInfo(mergedPath).isFile())
        return QString();
    const QString folder = FolderPath();
    const QString copy = folder + u'/' + slotName(userId, slot) + QStringLiteral(".sdb");
    QString cause;
    if (folder.isEmpty() || Folder(&cause).isEmpty()) {
        if (why)
            *why = notKept(folder + u'/' + slotName(userId, slot) + QStringLiteral(".ini"), cause);
        return QString();
    }
    // Over an earlier run's copy: should this run stop before its record
    // is written, the earlier record no longer matches the copy, and the
    // next analysis compares afresh, its deletions still kept.
    removeDatabase(copy);
    if (std::rename(QFile::encodeName(mergedPath).constData(), QFile::encodeName(copy).constData()) != 0) {
        const int renameError = errno;
        if (!CDatabaseFile::CopyLive(mergedPath, copy, CDatabaseFile::Target::Replace)) {
            if (why)
                *why = notKept(copy, CauseText(renameError == EXDEV ? copyError(folder, QFileInfo(mergedPath).size())
                                                                    : renameError));
            return QString();
        }
    }
    return copy;
}

bool SyncPending::Keep(const Record &record, QString *why)
{
    const QString folder = FolderPath();
    if (record.userId < 0 || record.slot < 0 || folder.isEmpty())
        return false;
    const QString path = folder + u'/' + slotName(record.userId, record.slot) + QStringLiteral(".ini");
    if (const int error = writeWhole(path, recordText(record))) {
        // No copy without its record.
        removeDatabase(folder + u'/' + slotName(record.userId, record.slot) + QStringLiteral(".sdb"));
        if (why)
            *why = notKept(path, CauseText(error));
        return false;
    }
    // This record holds what an earlier version's still told.
    if (record.slot == 0) {
        QFile::remove(OldRecordPath(record.userId));
        removeDatabase(OldCopyPath(record.userId));
    }
    return true;
}

namespace {

// Where a slot's record is read from: the first slot's may still lie
// where an earlier version kept it, when it cannot be moved from there.
bool readsOldPlace(int userId, int slot)
{
    return slot == 0 && QFileInfo::exists(SyncPending::OldRecordPath(userId)) && !adoptOldRecord(userId);
}

std::optional<SyncPending::Record> loadSlot(int userId, int slot)
{
    const bool old = readsOldPlace(userId, slot);
    std::optional<SyncPending::Record> record =
        readRecord(old ? SyncPending::OldRecordPath(userId) : SyncPending::RecordPath(userId, slot), userId);
    if (record) {
        record->slot = slot;
        record->copyPath = old ? SyncPending::OldCopyPath(userId) : SyncPending::CopyPath(userId, slot);
    }
    return record;
}

} // namespace

std::optional<SyncPending::Record> SyncPending::Load(int userId, int slot)
{
    if (userId < 0 || slot < 0)
        return std::nullopt;
    return loadSlot(userId, slot);
}

SyncPending::Found SyncPending::Find(int userId, const QString &localPath)
{
    Found found;
    if (userId < 0)
        return found;
    struct Seen
    {
        int slot;
        QString file;
        std::optional<Record> record;
    };
    std::vector<Seen> seen;
    for (const int slot : Slots(userId)) {
        const bool old = readsOldPlace(userId, slot);
        const QString file = old ? OldRecordPath(userId) : RecordPath(userId, slot);
        if (file.isEmpty())
            continue;
        std::optional<Record> record = QFileInfo::exists(file) ? loadSlot(userId, slot) : std::nullopt;
        // This database's own record first, in whichever slot.
        if (record && Serves(*record, localPath)) {
            found.state = Found::State::Kept;
            found.record = std::move(*record);
            found.file = file;
            found.slot = slot;
            return found;
        }
        seen.push_back({slot, file, std::move(record)});
    }
    // Then the first of the others that this database is to be told of.
    for (Seen &other : seen) {
        found.file = other.file;
        found.slot = other.slot;
        if (!other.record) {
            // One that cannot be read, or a copy without its record: a run
            // kept it, and what it deleted can no longer be told.
            found.state = Found::State::Unreadable;
            return found;
        }
        Record &record = *other.record;
        if (namesADatabase(record) && samePath(record.databasePath, localPath)) {
            // This database, without the record's token: the run's own
            // replacement took it away when it ended there, or the file is
            // another one now.
            found.state = Digest(localPath) == record.digest ? Found::State::Done : Found::State::NoLongerServes;
            found.record = std::move(record);
            return found;
        }
        if (mayServe(record)) {
            const bool toldAlready = std::any_of(record.told.cbegin(), record.told.cend(),
                                                 [&localPath](const QString &told) { return samePath(told, localPath); });
            if (toldAlready)
                continue;
            found.state = Found::State::OtherDatabase;
            found.record = std::move(record);
            return found;
        }
        // Its database elsewhere holds the run's rows: the run ended there,
        // and it is that database's to drop the record.
        if (namesADatabase(record) && QFileInfo(record.databasePath).isFile()
            && Digest(record.databasePath) == record.digest)
            continue;
        found.state = Found::State::NoLongerServes;
        found.record = std::move(record);
        return found;
    }
    return Found();
}

bool SyncPending::Serves(const Record &record, const QString &localPath)
{
    // A record of an earlier version names no database: it cannot be told
    // from one of another database of the same user id.
    if (!namesADatabase(record) || localPath.isEmpty())
        return false;
    return samePath(record.databasePath, localPath) && TokenOf(localPath) == record.token;
}

int SyncPending::SlotFor(int userId, const QString &localPath)
{
    const QList<int> taken = Slots(userId);
    int free = -1;
    for (const int slot : taken) {
        const std::optional<Record> record = Load(userId, slot);
        if (record && namesADatabase(*record) && samePath(record->databasePath, localPath))
            return slot;
        // One that cannot be read or can never serve again was told at the
        // analysis this run follows.
        if (free < 0 && (!record || !mayServe(*record)))
            free = slot;
    }
    if (free >= 0)
        return free;
    int slot = 0;
    while (taken.contains(slot))
        ++slot;
    return slot;
}

QByteArray SyncPending::NewToken()
{
    quint32 words[4];
    QRandomGenerator::system()->fillRange(words);
    return QByteArray(reinterpret_cast<const char *>(words), sizeof words).toHex();
}

QByteArray SyncPending::TokenOf(const QString &databasePath)
{
    if (!QFileInfo(databasePath).isFile())
        return QByteArray();
    SQLite::CmyDataBase db;
    if (db.OpenReadOnly(databasePath) != SQLITE_OK)
        return QByteArray();
    SQLite::MyTablePtr token = db.Query(Platform::Formatter::sprintf(
        u"select Value from Infos where Name='%s' and coalesce(Value,'')<>'' limit 1", {CBdD::SyncRecordInfo}));
    return token.hasRows() && db.GetLastCode() == SQLITE_OK ? token->GetCell(0, 0).toLatin1() : QByteArray();
}

CDatabaseFile::WriteResult SyncPending::MarkDatabase(const QString &localPath, const QByteArray &token,
                                                     quint32 counter, QString *why)
{
    // Neither 'Modif' nor any row changes: nothing the programs follow
    // sees a change of the user's data.
    int error = SQLITE_OK;
    const CDatabaseFile::WriteResult result = CDatabaseFile::WriteIfUnchanged(
        localPath,
        Platform::Formatter::sprintf(u"delete from Infos where Name='%s'; insert into Infos (Name, Value) values "
                                     u"('%s','%s')",
                                     {CBdD::SyncRecordInfo, CBdD::SyncRecordInfo, QString::fromLatin1(token)}),
        counter, &error);
    if (result == CDatabaseFile::WriteResult::Failed && why) {
        int cause = EIO;
        switch (error & 0xFF) {
        case SQLITE_READONLY:
            cause = EROFS;
            break;
        case SQLITE_FULL:
            cause = ENOSPC;
            break;
        case SQLITE_PERM:
        case SQLITE_AUTH:
        case SQLITE_CANTOPEN:
            cause = EACCES;
            break;
        default:
            break;
        }
        *why = notKept(localPath, CauseText(cause));
    }
    return result;
}

bool SyncPending::CopyMatches(const Record &record)
{
    return !record.copyPath.isEmpty() && QFileInfo(record.copyPath).isFile()
           && Digest(record.copyPath) == record.digest;
}

void SyncPending::Drop(int userId, int slot)
{
    if (userId < 0)
        return;
    const QString folder = FolderPath();
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
        for (const int each : slot == AllSlots ? Slots(userId) : QList<int>{slot}) {
            const QString name = folder + u'/' + slotName(userId, each);
            QFile::remove(name + QStringLiteral(".ini"));
            QFile::remove(name + QStringLiteral(".ini.part"));
            removeDatabase(name + QStringLiteral(".sdb"));
        }
    }
    if (slot != 0 && slot != AllSlots)
        return;
    const QString old = OldRecordPath(userId);
    if (!old.isEmpty() && QFileInfo::exists(old))
        QFile::remove(old);
    const QString oldCopy = OldCopyPath(userId);
    if (!oldCopy.isEmpty() && QFileInfo(oldCopy).isFile())
        removeDatabase(oldCopy);
}

void SyncPending::DropFor(int userId, const QString &databasePath)
{
    for (const int slot : Slots(userId)) {
        const std::optional<Record> record = Load(userId, slot);
        if (record && namesADatabase(*record) && samePath(record->databasePath, databasePath))
            Drop(userId, slot);
    }
}

bool SyncPending::MarkTold(int userId, int slot, const QString &localPath)
{
    std::optional<Record> record = Load(userId, slot);
    if (!record || localPath.isEmpty())
        return false;
    if (std::none_of(record->told.cbegin(), record->told.cend(),
                     [&localPath](const QString &told) { return samePath(told, localPath); }))
        record->told << QFileInfo(localPath).absoluteFilePath();
    // Only the record is written again: its copy stays as it is.
    const QString folder = Folder();
    return !folder.isEmpty()
           && writeWhole(folder + u'/' + slotName(userId, slot) + QStringLiteral(".ini"), recordText(*record)) == 0;
}

namespace {

// `path` moved along with the folder `from` to `to`; empty when it lies
// outside it.
QString movedPath(const QString &path, const QString &from, const QString &to)
{
    const QString cleanFrom = QDir::cleanPath(QFileInfo(from).absoluteFilePath());
    const QString cleanPath = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (cleanPath == cleanFrom)
        return QDir::cleanPath(QFileInfo(to).absoluteFilePath());
    if (!cleanPath.startsWith(cleanFrom + u'/'))
        return QString();
    return QDir::cleanPath(QFileInfo(to).absoluteFilePath()) + cleanPath.mid(cleanFrom.size());
}

} // namespace

void SyncPending::FollowMove(const QString &from, const QString &to)
{
    const QString folder = FolderPath();
    if (from.isEmpty() || to.isEmpty() || folder.isEmpty() || !QFileInfo(folder).isDir())
        return;
    const QStringList names = QDir(folder).entryList({QStringLiteral("Pending-*.ini")}, QDir::Files);
    for (const QString &name : names) {
        // "Pending-<id>.ini" or "Pending-<id>-<slot>.ini".
        const QStringList parts = name.chopped(4).mid(8).split(u'-');
        bool number = false;
        const int userId = parts.value(0).toInt(&number);
        int slot = 0;
        if (number && parts.size() == 2)
            slot = parts.at(1).toInt(&number);
        if (!number || parts.size() > 2 || slotName(userId, slot) + QStringLiteral(".ini") != name)
            continue;
        std::optional<Record> record = Load(userId, slot);
        if (!record || !namesADatabase(*record))
            continue;
        const QString moved = movedPath(record->databasePath, from, to);
        // Only where the move took the database, carrying the token.
        if (moved.isEmpty() || !QFileInfo(moved).isFile() || TokenOf(moved) != record->token)
            continue;
        // A move copies the file (its change counter then is the copy's
        // own) while the original is kept from any write: the same rows
        // at the state the record was written over are that state still.
        quint32 before = 0;
        quint32 after = 0;
        if (QFileInfo(record->databasePath).isFile()
            && CDatabaseFile::ReadChangeCounter(record->databasePath, before) && before == record->localCounter
            && CDatabaseFile::ReadChangeCounter(moved, after) && Digest(record->databasePath) == Digest(moved))
            record->localCounter = after;
        record->databasePath = moved;
        for (QString &told : record->told) {
            const QString toldMoved = movedPath(told, from, to);
            if (!toldMoved.isEmpty())
                told = toldMoved;
        }
        writeWhole(folder + u'/' + name, recordText(*record));
    }
}

namespace {

// The rows of the tables a run may delete that were changed here at or
// after `time` (their change stamp, and not synchronised since), by table
// code: how an earlier version's record, which kept no stamp of its rows,
// tells a row changed since. False when they cannot be read.
bool changedSince(SQLite::CmyDataBase &db, qint64 time, const DeletableTable &table, QSet<qint64> &rows)
{
    SQLite::MyTablePtr changed = db.Query(Platform::Formatter::sprintf(
        u"select %s from %s where coalesce(Origine_Modif,0)<>0 and coalesce(cast(Date_Modif as integer),0)>=%I64d",
        {table.key, CBdD::TableName(table.code), time}));
    if (!changed || db.GetLastCode() != SQLITE_OK)
        return false;
    for (int r = 0; r < changed->rowCount(); ++r)
        rows.insert(changed->GetInt64At(r, 0));
    return true;
}

// The rows the record lists that are still as it saw them, by table code,
// read in one read of the local database: a row with a stamp when its
// values give that stamp again, one without when its change stamp is older
// than the record. False when they cannot be read.
bool untouchedRows(const QString &localPath, const SyncPending::Record &record, QHash<int, QSet<qint64>> &untouched)
{
    SQLite::CmyDataBase db;
    if (!QFileInfo(localPath).isFile() || db.OpenReadOnly(localPath) != SQLITE_OK)
        return false;
    bool ok = db.Execute(u"begin") == SQLITE_OK;
    for (const DeletableTable &table : DeletableTables) {
        const auto listed = record.deleted.constFind(table.code);
        if (!ok || listed == record.deleted.constEnd())
            continue;
        const QHash<qint64, QByteArray> stamps = record.rowStamps.value(table.code);
        const QSet<qint64> ids(listed->begin(), listed->end());
        QSet<qint64> &same = untouched[table.code];
        if (stamps.size() < ids.size()) {
            QSet<qint64> changed;
            ok = changedSince(db, record.time, table, changed);
            for (qint64 id : ids) {
                if (!stamps.contains(id) && !changed.contains(id))
                    same.insert(id);
            }
        }
        if (!ok || stamps.isEmpty())
            continue;
        const QByteArray name = CBdD::TableName(table.code).toLatin1();
        Statement rows(db.Handle(), "select " + QByteArray(table.key) + ", * from " + name);
        ok = bool(rows);
        int step = SQLITE_ROW;
        while (ok && (step = sqlite3_step(rows.get())) == SQLITE_ROW) {
            const auto stamp = stamps.constFind(sqlite3_column_int64(rows.get(), 0));
            if (stamp != stamps.constEnd() && rowStamp(rows.get(), 1) == *stamp)
                same.insert(stamp.key());
        }
        ok = ok && step == SQLITE_DONE;
    }
    db.Execute(u"commit");
    return ok;
}

} // namespace

int SyncPending::KeepDeletions(SyncReviewList &list, const Record &record, const QString &localPath)
{
    // Only a row the stopped run deleted and nobody wrote since is one: a
    // row changed here since follows the comparison's own rule, as a row
    // the device deleted and this side changed later does.
    QHash<int, QSet<qint64>> untouched;
    if (record.deleted.isEmpty() || !untouchedRows(localPath, record, untouched))
        return 0;
    int changed = 0;
    for (int row = 0; row < list.Count(); ++row) {
        SyncItem *item = list.Item(row);
        // Only a row the device no longer holds: one it still holds (the
        // run stopped before the device was written) is compared as it is.
        if (!item || item->deviceId != -1 || item->localId < 0 || item->action != SyncItem::KeepLocal)
            continue;
        if (untouched.value(item->kind).contains(item->localId)) {
            item->action = SyncItem::Delete;
            ++changed;
        }
    }
    return changed;
}
