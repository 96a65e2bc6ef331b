#include "FileModes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>

namespace Platform {

namespace {

constexpr mode_t OwnerReadWrite = S_IRUSR | S_IWUSR;
constexpr mode_t GroupAndOthers = S_IRWXG | S_IRWXO;

bool modeOf(const QString &path, mode_t &mode)
{
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    mode = info.st_mode;
    return true;
}

} // namespace

mode_t FileModes::ForCopy(const QString &source, const QString &replaced)
{
    mode_t from = 0;
    if (!modeOf(source, from))
        return OwnerReadWrite;
    // A file of ours is never made runnable.
    mode_t mode = from & (S_IRGRP | S_IWGRP | S_IROTH | S_IWOTH);
    mode_t target = 0;
    if (modeOf(replaced, target))
        mode &= target;
    return OwnerReadWrite | mode;
}

namespace {

// `mode` without the rights of group and others that `limit` lacks.
mode_t narrowed(mode_t mode, mode_t limit)
{
    return (mode & ~(GroupAndOthers & ~limit)) & 07777;
}

} // namespace

bool FileModes::NoMoreOpenThan(const QString &path, const QString &other)
{
    mode_t mode = 0;
    mode_t limit = 0;
    if (!modeOf(path, mode))
        return false;
    if (!modeOf(other, limit))
        return true;
    const mode_t wanted = narrowed(mode, limit);
    if (wanted == (mode & 07777))
        return true;
    return ::chmod(QFile::encodeName(path).constData(), wanted) == 0;
}

bool FileModes::NoMoreOpenThan(int fd, const QString &other)
{
    struct stat info {};
    mode_t limit = 0;
    if (fd < 0 || ::fstat(fd, &info) != 0)
        return false;
    if (!modeOf(other, limit))
        return true;
    const mode_t wanted = narrowed(info.st_mode, limit);
    if (wanted == (info.st_mode & 07777))
        return true;
    return ::fchmod(fd, wanted) == 0;
}

bool FileModes::MakePrivateFolder(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QString folder = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (QFileInfo(folder).isDir())
        return true;
    // The folders above are the user's own places (a Documents folder, a
    // data folder that holds more than the databases): made as any folder
    // the user makes, under the umask. Closing the folder itself is enough
    // to keep what lies in it private.
    const QString above = QFileInfo(folder).absolutePath();
    if (above != folder && !QFileInfo(above).isDir() && !QDir().mkpath(above))
        return false;
    if (::mkdir(QFile::encodeName(folder).constData(), S_IRWXU) != 0 && errno != EEXIST)
        return false;
    return QFileInfo(folder).isDir();
}

bool FileModes::MakeOwnFolder(const QString &base, const QString &path)
{
    if (base.isEmpty() || path.isEmpty())
        return false;
    const QString top = QDir::cleanPath(QFileInfo(base).absoluteFilePath());
    const QString folder = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const QString below = top.endsWith(u'/') ? top : top + u'/';
    if (!folder.startsWith(below) || folder.size() == below.size())
        return false;
    if (!MakePrivateFolder(folder))
        return false;
    // From the top down: a folder is closed before what lies in it.
    qsizetype end = below.size();
    while (end <= folder.size()) {
        end = folder.indexOf(u'/', end);
        if (end < 0)
            end = folder.size();
        const QByteArray native = QFile::encodeName(folder.left(end));
        ++end;
        struct stat info {};
        if (::lstat(native.constData(), &info) != 0)
            return false;
        if (S_ISLNK(info.st_mode))
            continue;
        if (!S_ISDIR(info.st_mode))
            return false;
        const mode_t mode = info.st_mode & 07777;
        if ((mode & GroupAndOthers) != 0 && ::chmod(native.constData(), mode & ~GroupAndOthers) != 0)
            return false;
    }
    return true;
}

} // namespace Platform
