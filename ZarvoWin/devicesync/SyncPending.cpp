#include "SyncPending.h"

#include "CBdD.h"
#include "CDatabaseFile.h"
#include "CmyDataBase.h"
#include "DeviceExchange.h"
#include "Formatter.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSet>
#include <QStringList>
#include <sqlite3.h>

#include <cstdio>
#include <cstring>

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
            const int type = sqlite3_column_type(rows.get(), c);
            out.Type(type);
            switch (type) {
            case SQLITE_INTEGER:
                out.Number(sqlite3_column_int64(rows.get(), c));
                break;
            case SQLITE_FLOAT:
                out.Real(sqlite3_column_double(rows.get(), c));
                break;
            case SQLITE_TEXT:
            case SQLITE_BLOB: {
                const void *data = type == SQLITE_TEXT ? static_cast<const void *>(sqlite3_column_text(rows.get(), c))
                                                       : sqlite3_column_blob(rows.get(), c);
                out.Bytes(data, sqlite3_column_bytes(rows.get(), c));
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

QString SyncPending::CopyPath(int userId)
{
    return userId < 0 ? QString() : DeviceExchange::WorkingFile(QStringLiteral("Pending-%1.sdb").arg(userId));
}

QString SyncPending::RecordPath(int userId)
{
    return userId < 0 ? QString() : DeviceExchange::WorkingFile(QStringLiteral("Pending-%1.ini").arg(userId));
}

QByteArray SyncPending::Digest(const QString &databasePath)
{
    if (!QFileInfo(databasePath).isFile())
        return QByteArray();
    SQLite::CmyDataBase db;
    if (db.OpenReadOnly(databasePath) != SQLITE_OK || db.Execute(u"begin") != SQLITE_OK)
        return QByteArray();
    QCryptographicHash hash(QCryptographicHash::Blake2b_256);
    bool ok = true;
    {
        Statement tables(db.Handle(), "select name from sqlite_master where type='table' and name not like 'sqlite!_%' "
                                   "escape '!' order by name");
        ok = bool(tables);
        QList<QByteArray> names;
        int rc = SQLITE_ROW;
        while (ok && (rc = sqlite3_step(tables.get())) == SQLITE_ROW)
            names << QByteArray(reinterpret_cast<const char *>(sqlite3_column_text(tables.get(), 0)));
        ok = ok && rc == SQLITE_DONE && !names.isEmpty();
        for (const QByteArray &name : std::as_const(names)) {
            if (!ok)
                break;
            ok = hashTable(db.Handle(), name, hash);
        }
    }
    db.Execute(u"commit");
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
    for (const DeletableTable &table : DeletableTables) {
        if (!ok)
            break;
        const QString name = CBdD::TableName(table.code);
        const QString key = QLatin1String(table.key);
        SQLite::MyTablePtr rows = db.Query(Platform::Formatter::sprintf(
            u"select main.%s.%s from main.%s where coalesce(main.%s.Deleted<>0,0)=0 and not exists "
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

bool SyncPending::Keep(const Record &record, const QString &mergedPath)
{
    const QString copy = CopyPath(record.userId);
    const QString path = RecordPath(record.userId);
    if (copy.isEmpty() || path.isEmpty() || !QFileInfo(mergedPath).isFile())
        return false;
    // The new copy beside the one it replaces until its record is written:
    // a stop at any point leaves a record with the copy it describes, or
    // one describing a copy the device was never given (which the next
    // analysis compares afresh, its deletions still kept).
    const QString next = copy + QStringLiteral(".next");
    for (const char *suffix : {"", "-journal"})
        QFile::remove(next + QLatin1String(suffix));
    if (std::rename(QFile::encodeName(mergedPath).constData(), QFile::encodeName(next).constData()) != 0
        && !CDatabaseFile::CopyLive(mergedPath, next, CDatabaseFile::Target::Replace))
        return false;

    QByteArray text = "User=" + QByteArray::number(record.userId) + "\nCounter="
                      + QByteArray::number(record.localCounter) + "\nDigest=" + record.digest.toHex() + "\n";
    for (auto table = record.deleted.cbegin(); table != record.deleted.cend(); ++table)
        text += "Deleted" + QByteArray::number(table.key()) + "=" + joinIds(table.value()).toLatin1() + "\n";
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        QFile::remove(next);
        return false;
    }
    QFile::remove(copy + QStringLiteral("-journal"));
    return std::rename(QFile::encodeName(next).constData(), QFile::encodeName(copy).constData()) == 0;
}

std::optional<SyncPending::Record> SyncPending::Load(int userId)
{
    const QString path = RecordPath(userId);
    if (path.isEmpty() || !QFileInfo(CopyPath(userId)).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    Record record;
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

void SyncPending::Drop(int userId)
{
    const QString path = RecordPath(userId);
    if (path.isEmpty())
        return;
    QFile::remove(path);
    const QString copy = CopyPath(userId);
    for (const char *suffix : {"", "-journal", ".next", ".next-journal"})
        QFile::remove(copy + QLatin1String(suffix));
}

int SyncPending::KeepDeletions(SyncReviewList &list, const Record &record)
{
    QHash<int, QSet<qint64>> deleted;
    for (auto table = record.deleted.cbegin(); table != record.deleted.cend(); ++table)
        deleted[table.key()] = QSet<qint64>(table.value().begin(), table.value().end());
    int changed = 0;
    for (int row = 0; row < list.Count(); ++row) {
        SyncItem *item = list.Item(row);
        if (!item || item->deviceId != -1 || item->localId < 0 || item->action != SyncItem::KeepLocal)
            continue;
        const auto ids = deleted.constFind(item->kind);
        if (ids != deleted.constEnd() && ids->contains(item->localId)) {
            item->action = SyncItem::Delete;
            ++changed;
        }
    }
    return changed;
}
