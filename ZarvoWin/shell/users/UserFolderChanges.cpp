#include "UserFolderChanges.h"

#include "CDatabaseFile.h"
#include "CUsers.h"
#include "tUsers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace UserFolderChanges {

namespace {

QString Clean(const QString &path)
{
    QString cleaned = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    while (cleaned.size() > 1 && cleaned.endsWith(u'/'))
        cleaned.chop(1);
    return cleaned;
}

RenameFault &renameFault()
{
    static RenameFault fault;
    return fault;
}

// One rename of a folder below `parent`, names only.
bool renameStep(QDir &parent, const QString &from, const QString &to)
{
    if (renameFault() && renameFault()(from, to))
        return false;
    return parent.rename(from, to);
}

} // namespace

void SetRenameFault(RenameFault fault)
{
    renameFault() = std::move(fault);
}

bool IsUserFolder(const QString &usersRoot, const QString &folder)
{
    if (usersRoot.isEmpty() || folder.isEmpty())
        return false;
    const QString root = Clean(usersRoot);
    const QString target = Clean(folder);
    if (root == QStringLiteral("/") || QFileInfo(target).path() != root)
        return false;
    if (CUsers::CheckName(QFileInfo(target).fileName()) != CUsers::NameProblem::None)
        return false;
    // The users folder as the system resolves it must be the one named:
    // the child is then really inside it.
    const QString canonicalRoot = QFileInfo(root).canonicalFilePath();
    if (canonicalRoot.isEmpty())
        return false;
    const QFileInfo info(target);
    if (info.isSymLink())
        return false;
    return !info.exists() || info.canonicalFilePath() == canonicalRoot + u'/' + info.fileName();
}

bool SameFolder(const QString &a, const QString &b)
{
    const QFileInfo first(a);
    const QFileInfo second(b);
    if (!first.isDir() || !second.isDir())
        return false;
    return first.canonicalFilePath() == second.canonicalFilePath();
}

bool RenameFolder(const QString &usersRoot, const QString &from, const QString &to)
{
    if (!IsUserFolder(usersRoot, from) || !QFileInfo(from).isDir())
        return false;
    const QString source = Clean(from);
    const QString target = Clean(to);
    if (source == target)
        return true;
    if (!IsUserFolder(usersRoot, to) || QFileInfo(target).isSymLink())
        return false;
    QDir parent(QFileInfo(source).path());
    const QString sourceName = QFileInfo(source).fileName();
    const QString targetName = QFileInfo(target).fileName();
    if (sourceName.compare(targetName, Qt::CaseInsensitive) != 0) {
        if (QFileInfo::exists(target))
            return false;
        return renameStep(parent, sourceName, targetName);
    }
    // Another spelling of the same name: where the file system ignores case
    // the target is the source itself, so the move takes a detour through a
    // free name (wherever it is, the same two steps), and goes back when the
    // second step fails. Another folder of that spelling is never touched.
    if (QFileInfo::exists(target) && !SameFolder(source, target))
        return false;
    QString temporary;
    for (int i = 0; i < 100 && temporary.isEmpty(); ++i) {
        const QString name = sourceName + QStringLiteral(".rename%1").arg(i);
        if (!QFileInfo::exists(parent.filePath(name)) && !QFileInfo(parent.filePath(name)).isSymLink())
            temporary = name;
    }
    if (temporary.isEmpty() || !renameStep(parent, sourceName, temporary))
        return false;
    if (renameStep(parent, temporary, targetName))
        return true;
    renameStep(parent, temporary, sourceName);
    return false;
}

bool RemoveFailedCopy(const QString &usersRoot, const tUsers &target)
{
    const QString folder = target.GetFolder();
    if (!IsUserFolder(usersRoot, folder) || !QFileInfo(folder).isDir())
        return !QFileInfo::exists(folder);
    // Only the files a copy writes, then the folder if nothing else is in it.
    for (const QString &file : {target.GetDatabasePath(true), target.GetReportDatabasePath()}) {
        if (file.isEmpty())
            continue;
        for (const QString &name : {file, CDatabaseFile::PartPath(file)}) {
            for (const char *suffix : {"", "-journal", "-wal", "-shm"})
                QFile::remove(name + QLatin1String(suffix));
        }
    }
    return QDir().rmdir(folder);
}

bool CopyUserFiles(const tUsers &source, const tUsers &target)
{
    const QString database = source.GetDatabasePath(true);
    const QString copy = target.GetDatabasePath(true);
    if (database.isEmpty() || copy.isEmpty())
        return false;
    if (QFileInfo::exists(database)
        && !CDatabaseFile::CopyLive(database, copy, CDatabaseFile::Target::Replace))
        return false;
    const QString reports = source.GetReportDatabasePath();
    const QString reportsCopy = target.GetReportDatabasePath();
    if (!reports.isEmpty() && QFileInfo::exists(reports))
        return CDatabaseFile::CopyLive(reports, reportsCopy, CDatabaseFile::Target::Replace);
    return !QFileInfo::exists(reportsCopy) || QFile::remove(reportsCopy);
}

} // namespace UserFolderChanges
