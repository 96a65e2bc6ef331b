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

// Every row of a table into the hash, each value with its type.
bool hashTable(sqlite3 *db, const QByteArray &table, QCryptographicHash &hash)
{
    Statement rows(db, "select * from " + quotedName(table) + " order by rowid");
    if (!rows)
        return false;
    RowWriter out(hash);
    out.Bytes(table.constData(), int(table.size()));
    const int columns = sqlite3_column_count(rows.get());
    out.Number(columns);
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(rows.get())) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            // The value itself: each of its reads then goes to it directly.
            sqlite3_value *value = sqlite3_column_value(rows.get(), c);
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
    return rc == SQLITE_DONE;
}

QString joinIds(const std::vector<qint64> &ids)
{
    QStringList parts;
    parts.reserve(qsizetype(ids.size()));
    for (qint64 id : ids)
        parts << QString::number(id);
    return parts.join(u',');
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

QString SyncPending::CopyPath(int userId)
{
    const QString folder = Folder();
    return userId < 0 || folder.isEmpty() ? QString() : folder + QStringLiteral("/Pending-%1.sdb").arg(userId);
}

QString SyncPending::RecordPath(int userId)
{
    const QString folder = Folder();
    return userId < 0 || folder.isEmpty() ? QString() : folder + QStringLiteral("/Pending-%1.ini").arg(userId);
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

bool SyncPending::Describe(const QString &localPath, const QString &mergedPath, Record &record)
{
    record.deleted.clear();
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
    // meanwhile is seen by none or all of the queries.
    bool ok = db.Execute(u"begin") == SQLITE_OK;
    record.databasePath = QFileInfo(localPath).absoluteFilePath();
    record.token.clear();
    if (ok) {
        SQLite::MyTablePtr token = db.Query(Platform::Formatter::sprintf(
            u"select Value from Infos where Name='%s' and coalesce(Value,'')<>'' limit 1", {CBdD::SyncRecordInfo}));
        ok = token && db.GetLastCode() == SQLITE_OK;
        if (token.hasRows())
            record.token = token->GetCell(0, 0).toLatin1();
    }
    for (const DeletableTable &table : DeletableTables) {
        if (!ok)
            break;
        const QString name = CBdD::TableName(table.code);
        const QString key = QLatin1String(table.key);
        // Read in the order of the rows, never through an index: each row
        // is then looked up in the copy near the one before.
        SQLite::MyTablePtr rows = db.Query(Platform::Formatter::sprintf(
            u"select main.%s.%s from main.%s not indexed where coalesce(main.%s.Deleted<>0,0)=0 and not exists "
            u"(select 1 from Merged.%s where Merged.%s.%s=main.%s.%s)",
            {name, key, name, name, name, name, key, name, key}));
        ok = rows && db.GetLastCode() == SQLITE_OK;
        std::vector<qint64> ids;
        for (int r = 0; ok && r < rows->rowCount(); ++r)
            ids.push_back(rows->GetInt64At(r, 0));
        if (!ids.empty())
            record.deleted.insert(table.code, std::move(ids));
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

std::optional<SyncPending::Record> readRecord(const QString &path, int userId)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    SyncPending::Record record;
    bool user = false;
    bool counter = false;
    const QList<QByteArray> lines = file.read(16 * 1024 * 1024).split('\n');
    for (const QByteArray &line : lines) {
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
            record.databasePath = QString::fromUtf8(QByteArray::fromPercentEncoding(value));
        } else if (key == "Token") {
            record.token = value;
        } else if (key == "Time") {
            record.time = value.toLongLong();
        } else if (key.startsWith("Deleted")) {
            bool known = false;
            const int code = key.mid(7).toInt(&known);
            if (!known || CBdD::TableName(code).isEmpty())
                continue;
            std::vector<qint64> ids;
            for (const QByteArray &id : value.split(',')) {
                bool number = false;
                const qint64 n = id.toLongLong(&number);
                if (number)
                    ids.push_back(n);
            }
            record.deleted.insert(code, std::move(ids));
        }
    }
    if (!user || !counter || record.digest.isEmpty())
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

QString SyncPending::Place(int userId, const QString &mergedPath, QString *why)
{
    if (userId < 0 || !QFileInfo(mergedPath).isFile())
        return QString();
    const QString folder = FolderPath();
    const QString copy = folder + QStringLiteral("/Pending-%1.sdb").arg(userId);
    QString cause;
    if (folder.isEmpty() || Folder(&cause).isEmpty()) {
        if (why)
            *why = notKept(folder + QStringLiteral("/Pending-%1.ini").arg(userId), cause);
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
    if (record.userId < 0 || folder.isEmpty())
        return false;
    const QString path = folder + QStringLiteral("/Pending-%1.ini").arg(record.userId);
    QByteArray text = "User=" + QByteArray::number(record.userId) + "\nCounter="
                      + QByteArray::number(record.localCounter) + "\nDigest=" + record.digest.toHex() + "\nDatabase="
                      + record.databasePath.toUtf8().toPercentEncoding("/") + "\nToken=" + record.token
                      + "\nTime=" + QByteArray::number(record.time) + "\n";
    for (auto table = record.deleted.cbegin(); table != record.deleted.cend(); ++table)
        text += "Deleted" + QByteArray::number(table.key()) + "=" + joinIds(table.value()).toLatin1() + "\n";
    if (const int error = writeWhole(path, text)) {
        // No copy without its record.
        removeDatabase(folder + QStringLiteral("/Pending-%1.sdb").arg(record.userId));
        if (why)
            *why = notKept(path, CauseText(error));
        return false;
    }
    // This record holds what an earlier version's still told.
    QFile::remove(OldRecordPath(record.userId));
    removeDatabase(OldCopyPath(record.userId));
    return true;
}

std::optional<SyncPending::Record> SyncPending::Load(int userId)
{
    if (userId < 0)
        return std::nullopt;
    // A record left where an earlier version kept it is still this user's:
    // read where it could not be moved from.
    const bool old = QFileInfo::exists(OldRecordPath(userId)) && !adoptOldRecord(userId);
    std::optional<Record> record = readRecord(old ? OldRecordPath(userId) : RecordPath(userId), userId);
    if (record)
        record->copyPath = old ? OldCopyPath(userId) : CopyPath(userId);
    return record;
}

SyncPending::Found SyncPending::Find(int userId, const QString &localPath)
{
    Found found;
    if (userId < 0)
        return found;
    const bool old = QFileInfo::exists(OldRecordPath(userId)) && !adoptOldRecord(userId);
    const QString path = old ? OldRecordPath(userId) : RecordPath(userId);
    if (path.isEmpty())
        return found;
    found.file = path;
    if (!QFileInfo::exists(path)) {
        // A copy without its record: a run kept it, and what it deleted
        // can no longer be told.
        for (const QString &copy : {CopyPath(userId), OldCopyPath(userId)}) {
            if (!copy.isEmpty() && QFileInfo::exists(copy))
                found.state = Found::State::Unreadable;
        }
        return found;
    }
    std::optional<Record> record = readRecord(path, userId);
    if (!record) {
        found.state = Found::State::Unreadable;
        return found;
    }
    record->copyPath = old ? OldCopyPath(userId) : CopyPath(userId);
    if (!Serves(*record, localPath)) {
        found.state = Found::State::OtherDatabase;
        return found;
    }
    found.state = Found::State::Kept;
    found.record = std::move(*record);
    return found;
}

bool SyncPending::Serves(const Record &record, const QString &localPath)
{
    // A record of an earlier version names no database: it cannot be told
    // from one of another database of the same user id.
    if (record.databasePath.isEmpty() || record.token.isEmpty() || record.time <= 0 || localPath.isEmpty())
        return false;
    const QFileInfo named(record.databasePath);
    const QFileInfo local(localPath);
    const bool samePath = named.exists() && local.exists()
                              ? named.canonicalFilePath() == local.canonicalFilePath()
                              : QDir::cleanPath(named.absoluteFilePath()) == QDir::cleanPath(local.absoluteFilePath());
    return samePath && TokenOf(localPath) == record.token;
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

void SyncPending::Drop(int userId)
{
    if (userId < 0)
        return;
    const QString folder = FolderPath();
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
        QFile::remove(folder + QStringLiteral("/Pending-%1.ini").arg(userId));
        QFile::remove(folder + QStringLiteral("/Pending-%1.ini.part").arg(userId));
        removeDatabase(folder + QStringLiteral("/Pending-%1.sdb").arg(userId));
    }
    const QString old = OldRecordPath(userId);
    if (!old.isEmpty() && QFileInfo::exists(old))
        QFile::remove(old);
    const QString oldCopy = OldCopyPath(userId);
    if (!oldCopy.isEmpty() && QFileInfo(oldCopy).isFile())
        removeDatabase(oldCopy);
}

void SyncPending::DropAll()
{
    for (const QString &folder : {FolderPath(), DeviceExchange::WorkingFolderPath()}) {
        if (folder.isEmpty() || !QFileInfo(folder).isDir())
            continue;
        const QStringList names = QDir(folder).entryList({QStringLiteral("Pending-*")}, QDir::Files | QDir::Hidden);
        for (const QString &name : names)
            QFile::remove(folder + u'/' + name);
    }
}

namespace {

// The rows of the tables a run may delete that were changed here at or
// after `time` (their change stamp, and not synchronised since), by table
// code; false when they cannot be read.
bool changedSince(const QString &localPath, qint64 time, const QList<int> &codes, QHash<int, QSet<qint64>> &rows)
{
    SQLite::CmyDataBase db;
    if (db.OpenReadOnly(localPath) != SQLITE_OK)
        return false;
    bool ok = db.Execute(u"begin") == SQLITE_OK;
    for (const DeletableTable &table : DeletableTables) {
        if (!ok)
            break;
        if (!codes.contains(table.code))
            continue;
        const QString name = CBdD::TableName(table.code);
        SQLite::MyTablePtr changed = db.Query(Platform::Formatter::sprintf(
            u"select %s from %s where coalesce(Origine_Modif,0)<>0 and coalesce(cast(Date_Modif as integer),0)>=%I64d",
            {table.key, name, time}));
        ok = changed && db.GetLastCode() == SQLITE_OK;
        for (int r = 0; ok && r < changed->rowCount(); ++r)
            rows[table.code].insert(changed->GetInt64At(r, 0));
    }
    db.Execute(u"commit");
    return ok;
}

} // namespace

int SyncPending::KeepDeletions(SyncReviewList &list, const Record &record, const QString &localPath)
{
    // Changed here since the record: the comparison's own rule holds, as
    // for a row the device deleted and this side changed later.
    QHash<int, QSet<qint64>> since;
    if (!record.deleted.isEmpty() && !changedSince(localPath, record.time, record.deleted.keys(), since))
        return 0;
    QHash<int, QSet<qint64>> deleted;
    for (auto table = record.deleted.cbegin(); table != record.deleted.cend(); ++table)
        deleted[table.key()] = QSet<qint64>(table.value().begin(), table.value().end());
    int changed = 0;
    for (int row = 0; row < list.Count(); ++row) {
        SyncItem *item = list.Item(row);
        if (!item || item->deviceId != -1 || item->localId < 0 || item->action != SyncItem::KeepLocal)
            continue;
        const auto ids = deleted.constFind(item->kind);
        if (ids != deleted.constEnd() && ids->contains(item->localId)
            && !since.value(item->kind).contains(item->localId)) {
            item->action = SyncItem::Delete;
            ++changed;
        }
    }
    return changed;
}
