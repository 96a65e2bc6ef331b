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

void addNumber(QCryptographicHash &hash, qint64 value)
{
    hash.addData(QByteArrayView(reinterpret_cast<const char *>(&value), sizeof value));
}

// Every row of a table into the hash, each value with its type.
bool hashTable(sqlite3 *db, const QByteArray &table, QCryptographicHash &hash)
{
    Statement rows(db, "select * from " + quotedName(table) + " order by rowid");
    if (!rows)
        return false;
    hash.addData(table);
    hash.addData(QByteArrayView("\0", 1));
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(rows.get())) == SQLITE_ROW) {
        const int columns = sqlite3_column_count(rows.get());
        for (int c = 0; c < columns; ++c) {
            const int type = sqlite3_column_type(rows.get(), c);
            addNumber(hash, type);
            switch (type) {
            case SQLITE_INTEGER:
                addNumber(hash, sqlite3_column_int64(rows.get(), c));
                break;
            case SQLITE_FLOAT: {
                const double value = sqlite3_column_double(rows.get(), c);
                hash.addData(QByteArrayView(reinterpret_cast<const char *>(&value), sizeof value));
                break;
            }
            case SQLITE_TEXT:
            case SQLITE_BLOB: {
                const void *data = type == SQLITE_TEXT ? static_cast<const void *>(sqlite3_column_text(rows.get(), c))
                                                       : sqlite3_column_blob(rows.get(), c);
                const int bytes = sqlite3_column_bytes(rows.get(), c);
                addNumber(hash, bytes);
                if (bytes > 0)
                    hash.addData(QByteArrayView(static_cast<const char *>(data), bytes));
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
    QCryptographicHash hash(QCryptographicHash::Sha256);
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
