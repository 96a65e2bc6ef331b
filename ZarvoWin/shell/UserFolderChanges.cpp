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

} // namespace

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
    QDir parent(QFileInfo(source).path());
    if (!SameFolder(source, target) || QFileInfo(target).isSymLink()) {
        if (!IsUserFolder(usersRoot, to) || QFileInfo::exists(target) || QFileInfo(target).isSymLink())
            return false;
        return parent.rename(QFileInfo(source).fileName(), QFileInfo(target).fileName());
    }
    // The target is the source under another spelling: a detour through a
    // free name, and back when the second step fails.
    QString temporary;
    for (int i = 0; i < 100 && temporary.isEmpty(); ++i) {
        const QString name = QFileInfo(source).fileName() + QStringLiteral(".rename%1").arg(i);
        if (!QFileInfo::exists(parent.filePath(name)) && !QFileInfo(parent.filePath(name)).isSymLink())
            temporary = name;
    }
    if (temporary.isEmpty() || !parent.rename(QFileInfo(source).fileName(), temporary))
        return false;
    if (parent.rename(temporary, QFileInfo(target).fileName()))
        return true;
    parent.rename(temporary, QFileInfo(source).fileName());
    return false;
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
