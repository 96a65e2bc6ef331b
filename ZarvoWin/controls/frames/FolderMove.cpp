#include "FolderMove.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <sys/stat.h>

namespace {

QString absoluteClean(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

bool inside(const QString &path, const QString &folder)
{
    return path.startsWith(folder + u'/');
}

bool sameBytes(const QString &first, const QString &second)
{
    QFile a(first);
    QFile b(second);
    if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly) || a.size() != b.size())
        return false;
    constexpr qint64 chunk = 1 << 16;
    while (!a.atEnd()) {
        const QByteArray left = a.read(chunk);
        const QByteArray right = b.read(chunk);
        if (left.isEmpty() || left != right)
            return false;
    }
    return b.atEnd();
}

} // namespace

FolderMove::FolderMove(const QString &source, const QString &target)
    : m_source(absoluteClean(source))
    , m_target(absoluteClean(target))
{
}

QString FolderMove::Resolved(const QString &path)
{
    QString existing = absoluteClean(path);
    QString rest;
    while (!QFileInfo::exists(existing)) {
        const int slash = existing.lastIndexOf(u'/');
        if (slash <= 0)
            return absoluteClean(path);
        rest = existing.mid(slash) + rest;
        existing = existing.left(slash);
    }
    return QDir::cleanPath(QFileInfo(existing).canonicalFilePath() + rest);
}

bool FolderMove::IsAllowed() const
{
    if (m_source.isEmpty() || m_target.isEmpty() || !QFileInfo(m_source).isDir())
        return false;
    const QString source = Resolved(m_source);
    const QString target = Resolved(m_target);
    if (source == QStringLiteral("/") || target == QStringLiteral("/") || source == target)
        return false;
    return !inside(source, target) && !inside(target, source);
}

QString FolderMove::PartPath(const QString &to)
{
    return to + QStringLiteral(".part");
}

bool FolderMove::CopyAndCompare(const QString &from, const QString &to,
                                const std::function<bool(const QString &part)> &beforeCompare)
{
    const QFileInfo info(from);
    if (info.isSymLink()) {
        // A link is copied as a link to the same place.
        const QString pointsTo = info.symLinkTarget();
        return QFile::link(pointsTo, to) && QFileInfo(to).symLinkTarget() == pointsTo;
    }
    const QString part = PartPath(to);
    QFile::remove(part);
    QFile in(from);
    QFile out(part);
    bool copied = in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly | QIODevice::NewOnly);
    constexpr qint64 chunk = 1 << 16;
    while (copied && !in.atEnd()) {
        const QByteArray bytes = in.read(chunk);
        copied = !bytes.isEmpty() && out.write(bytes) == bytes.size();
    }
    copied = copied && in.error() == QFileDevice::NoError && out.flush();
    out.close();
    copied = copied && out.error() == QFileDevice::NoError && out.setPermissions(in.permissions());
    if (copied && beforeCompare)
        copied = beforeCompare(part);
    // QFile::rename never replaces an existing file.
    if (copied && sameBytes(from, part) && QFile::rename(part, to))
        return true;
    QFile::remove(part);
    return false;
}

bool FolderMove::Copy(const FileCopier &copier, const CancelCheck &cancelled)
{
    m_files.clear();
    m_sourceFolders.clear();
    m_madeFolders.clear();
    if (!IsAllowed())
        return false;
    const FileCopier copy = copier ? copier : FileCopier([](const QString &from, const QString &to) {
        return CopyAndCompare(from, to);
    });
    const auto fail = [this] {
        RemoveCopies();
        return false;
    };
    if (!QFileInfo::exists(m_target)) {
        // The target and any missing parents are ours to remove again.
        QString made = m_target;
        QStringList chain;
        while (!QFileInfo::exists(made)) {
            chain.prepend(made);
            made = made.left(made.lastIndexOf(u'/'));
        }
        if (!QDir().mkpath(m_target))
            return false;
        m_madeFolders = chain;
    } else if (!QFileInfo(m_target).isDir()) {
        return false;
    }

    // Links to folders are not followed: they are copied as links.
    QDirIterator it(m_source, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    QStringList entries;
    while (it.hasNext())
        entries << it.next();
    entries.sort(); // parents before their contents
    const qsizetype skip = m_source.size() + 1;
    QStringList leftFolders; // folders skipped, with a trailing '/'
    for (const QString &from : entries) {
        if (cancelled && cancelled())
            return fail();
        const QString relative = from.mid(skip);
        const bool below = std::any_of(leftFolders.cbegin(), leftFolders.cend(),
                                       [&](const QString &f) { return relative.startsWith(f); });
        if (below)
            continue;
        if (m_skip && m_skip(relative)) {
            leftFolders << relative + u'/';
            continue;
        }
        const QString to = m_target + u'/' + relative;
        const QFileInfo info(from);
        if (info.isDir() && !info.isSymLink()) {
            m_sourceFolders << relative;
            const QFileInfo existing(to);
            if (existing.isDir() && !existing.isSymLink())
                continue;
            if (existing.exists() || existing.isSymLink())
                return fail();
            // The copy of a folder gets no more rights than the folder
            // (a user's folder kept to its owner stays so); the umask
            // applies on top.
            struct stat folder {};
            const mode_t rights =
                ::stat(QFile::encodeName(from).constData(), &folder) == 0 ? (folder.st_mode & 0777) : S_IRWXU;
            if ((m_recorder && !m_recorder(relative, true))
                || ::mkdir(QFile::encodeName(to).constData(), rights | S_IRWXU) != 0)
                return fail();
            m_madeFolders << to;
            continue;
        }
        if (QFileInfo::exists(to) || QFileInfo(to).isSymLink())
            return fail(); // never overwrite what the target holds
        if (m_recorder && !m_recorder(relative, false))
            return fail();
        if (!copy(from, to)) {
            QFile::remove(to);
            return fail();
        }
        m_files << relative;
    }
    return true;
}

bool FolderMove::RemoveSources(const Remover &remover)
{
    bool ok = true;
    for (const QString &relative : m_files) {
        const QString path = m_source + u'/' + relative;
        if (!(remover ? remover(path) : QFile::remove(path)))
            ok = false;
    }
    // Folders deepest first; one still holding something stays.
    for (auto it = m_sourceFolders.crbegin(); it != m_sourceFolders.crend(); ++it)
        QDir().rmdir(m_source + u'/' + *it);
    return ok;
}

void FolderMove::RemoveCopies()
{
    for (const QString &relative : m_files)
        QFile::remove(m_target + u'/' + relative);
    for (auto it = m_madeFolders.crbegin(); it != m_madeFolders.crend(); ++it)
        QDir().rmdir(*it);
    m_files.clear();
    m_madeFolders.clear();
}
