#include "RecordedTotalsCache.h"

#include "FileModes.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace RecordedTotalsCache {

namespace {

constexpr quint32 Magic = 0x5A52544F; // "ZRTO"
constexpr quint16 Version = 1;
// More rows than any tree of projects and activities holds: a file that
// claims more is not read.
constexpr quint32 MaximumRows = 10'000'000;

QString absolutePath(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

QString userCache()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
}

// The sums and the database's path tell of the user's work. The folder of
// the kept totals and its parent under the user's cache are the program's
// own: only their owner enters them, also where an older version made them
// open to others.
bool ownFolders(const QString &file)
{
    return Platform::FileModes::MakeOwnFolder(userCache(), QFileInfo(file).absolutePath());
}

} // namespace

QString FileFor(const QString &databasePath)
{
    const QByteArray key =
        QCryptographicHash::hash(absolutePath(databasePath).toUtf8(), QCryptographicHash::Sha1).toHex();
    return userCache() + QStringLiteral("/Zarvo/totals/") + QString::fromLatin1(key) + QStringLiteral(".bin");
}

bool Load(const QString &databasePath, Snapshot &snapshot)
{
    if (databasePath.isEmpty())
        return false;
    const QString path = FileFor(databasePath);
    if (!QFileInfo::exists(path) || !ownFolders(path))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QDataStream in(&file);
    in.setVersion(QDataStream::Qt_6_0);
    quint32 magic = 0;
    quint16 version = 0;
    in >> magic >> version;
    if (magic != Magic || version != Version)
        return false;
    Snapshot read;
    quint32 count = 0;
    in >> read.databasePath >> read.byActivity >> read.newestStamp >> read.readAt >> read.boundary
        >> read.newestEntryId >> read.pageCount >> count;
    if (in.status() != QDataStream::Ok || count > MaximumRows || read.databasePath != absolutePath(databasePath))
        return false;
    read.rows.resize(count);
    for (Row &row : read.rows) {
        qint32 project = 0, activity = 0, entries = 0;
        in >> project >> activity >> entries >> row.total >> row.firstStart >> row.lastEnd;
        row.project = project;
        row.activity = activity;
        row.count = entries;
    }
    if (in.status() != QDataStream::Ok || !in.atEnd())
        return false;
    snapshot = std::move(read);
    return true;
}

bool Save(const Snapshot &snapshot)
{
    if (snapshot.databasePath.isEmpty())
        return false;
    const QString path = FileFor(snapshot.databasePath);
    // The file is kept no more open than the database it comes from.
    if (!ownFolders(path))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)
        || !Platform::FileModes::NoMoreOpenThan(file.handle(), snapshot.databasePath))
        return false;
    QDataStream out(&file);
    out.setVersion(QDataStream::Qt_6_0);
    out << Magic << Version << absolutePath(snapshot.databasePath) << snapshot.byActivity << snapshot.newestStamp
        << snapshot.readAt << snapshot.boundary << snapshot.newestEntryId << snapshot.pageCount
        << quint32(snapshot.rows.size());
    for (const Row &row : snapshot.rows)
        out << qint32(row.project) << qint32(row.activity) << qint32(row.count) << row.total << row.firstStart
            << row.lastEnd;
    return out.status() == QDataStream::Ok && file.commit();
}

void Forget(const QString &databasePath)
{
    if (!databasePath.isEmpty())
        QFile::remove(FileFor(databasePath));
}

} // namespace RecordedTotalsCache
