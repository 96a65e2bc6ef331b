#include "CBackupFiles.h"

#include "CConfiguration.h"
#include "CDatabaseFile.h"
#include "CUsers.h"
#include "Clock.h"
#include "FileModes.h"
#include "Formatter.h"
#include "LocalTime.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr int StampDigits = 14;

// The names in a folder that may be backups of `kind` (the exact form is
// checked by ReadStamp).
QStringList candidates(const QString &folder, const QString &baseName, QChar kind, const QString &extension)
{
    const QString pattern = baseName + u'_' + kind + u'*' + extension;
    return QDir(folder).entryList({pattern}, QDir::Files | QDir::Hidden);
}

} // namespace

QString CBackupFiles::FileName(const QString &baseName, QChar kind, const QDateTime &local, const QString &extension)
{
    const QDate d = local.date();
    const QTime t = local.time();
    return Platform::Formatter::sprintf(u"%s_%s%04d%02d%02d%02d%02d%02d%s",
                                        {baseName, QString(kind), d.year(), d.month(), d.day(), t.hour(), t.minute(),
                                         t.second(), extension});
}

bool CBackupFiles::ReadStamp(const QString &fileName, const QString &baseName, QChar kind, const QString &extension,
                             QDateTime &stamp)
{
    const QString prefix = baseName + u'_' + kind;
    if (fileName.size() != prefix.size() + StampDigits + extension.size() || !fileName.startsWith(prefix)
        || !fileName.endsWith(extension))
        return false;
    const QStringView digits = QStringView(fileName).mid(prefix.size(), StampDigits);
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return false;
    }
    const auto field = [&digits](int from, int length) { return digits.mid(from, length).toInt(); };
    const QDate date(field(0, 4), field(4, 2), field(6, 2));
    const QTime time(field(8, 2), field(10, 2), field(12, 2));
    if (!date.isValid() || !time.isValid())
        return false;
    stamp = QDateTime(date, time);
    return true;
}

QString CBackupFiles::UserFolder(const QString &root, const QString &userName)
{
    if (root.isEmpty() || CUsers::CheckName(userName) != CUsers::NameProblem::None)
        return QString();
    QString folder = QDir(root).filePath(userName);
    return folder + u'/';
}

bool CBackupFiles::LatestAutomatic(const QString &folder, const QString &baseName, const QString &extension,
                                   qint64 now, qint64 &latest)
{
    bool found = false;
    for (const QString &name : candidates(folder, baseName, Automatic, extension)) {
        QDateTime stamp;
        if (!ReadStamp(name, baseName, Automatic, extension, stamp))
            continue;
        const qint64 at = stamp.toSecsSinceEpoch();
        // A stamp in the future (a clock set back since) would stop every
        // backup until that day: it is not taken as the last backup.
        if (at > now)
            continue;
        if (!found || at > latest)
            latest = at;
        found = true;
    }
    return found;
}

void CBackupFiles::PruneAutomatic(const QString &folder, const QString &baseName, const QString &extension,
                                  qint64 before)
{
    for (const QString &name : candidates(folder, baseName, Automatic, extension)) {
        QDateTime stamp;
        if (ReadStamp(name, baseName, Automatic, extension, stamp) && stamp.toSecsSinceEpoch() < before)
            QFile::remove(QDir(folder).filePath(name));
    }
}

bool CBackupFiles::Make(const CConfiguration &settings, const Request &request)
{
    if (request.databasePath.isEmpty() || !settings.backup || settings.backupFolder.isEmpty()
        || !QFileInfo(settings.backupFolder).isDir())
        return false;
    const QString folder = UserFolder(settings.backupFolder, request.userName);
    if (folder.isEmpty())
        return false;
    const QFileInfo database(request.databasePath);
    const QString baseName = database.completeBaseName();
    const QString extension = database.suffix().isEmpty() ? QString() : u'.' + database.suffix();
    const bool checkDue = request.automatic && request.checkDue;
    const qint64 now = Platform::Clock::now();

    if (!QFileInfo(folder).isDir()) {
        // The copies of the user's data are nobody else's to list or read.
        if (!Platform::FileModes::MakePrivateFolder(folder))
            return false;
    } else if (checkDue) {
        qint64 latest = 0;
        if (LatestAutomatic(folder, baseName, extension, now, latest) && latest >= settings.GetPeriodStart(false))
            return false;
    }

    const QChar kind = request.automatic ? Automatic : Manual;
    QDateTime stamp = Platform::LocalTime::toLocal(now);
    bool copied = false;
    for (int clash = 0; clash <= MaxClashes; ++clash, stamp = stamp.addSecs(1)) {
        const QString target = folder + FileName(baseName, kind, stamp, extension);
        if (QFileInfo::exists(target))
            continue;
        // A free name only: a copy made meanwhile under that name is kept.
        copied = CDatabaseFile::CopyLive(request.databasePath, target, CDatabaseFile::Target::FreeName);
        if (copied || !QFileInfo::exists(target))
            break;
    }
    if (copied && checkDue && settings.backupKeep != 9) {
        const qint64 before = settings.GetPeriodStart(true);
        if (before > 0)
            PruneAutomatic(folder, baseName, extension, before);
    }
    return copied;
}
