#include "FolderMoveMarker.h"

#include "FolderMove.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace {

const QByteArray Title = QByteArrayLiteral("zarvo folder move 1");
const QByteArray SourceTag = QByteArrayLiteral("source ");
const QByteArray FolderTag = QByteArrayLiteral("folder ");
const QByteArray FileTag = QByteArrayLiteral("file ");
const QByteArray CopiedTag = QByteArrayLiteral("copied");
const QByteArray RemovingTag = QByteArrayLiteral("removing");
const QString Prefix = QStringLiteral(".zarvo-move-");

QByteArray encoded(const QString &path)
{
    return path.toUtf8().toPercentEncoding();
}

QString decoded(const QByteArray &text)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(text));
}

// A path relative to both folders that stays inside them.
bool isRelativeInside(const QString &path)
{
    if (path.isEmpty() || QDir::isAbsolutePath(path))
        return false;
    const QStringList parts = path.split(u'/');
    return std::none_of(parts.cbegin(), parts.cend(), [](const QString &part) {
        return part.isEmpty() || part == QLatin1String(".") || part == QLatin1String("..");
    });
}

} // namespace

QString FolderMoveMarker::AsideFolderName()
{
    return QStringLiteral(".zarvo-moved");
}

bool FolderMoveMarker::IsOwnName(const QString &name)
{
    return name == AsideFolderName() || name.startsWith(Prefix);
}

QString FolderMoveMarker::PathFor(const QString &source, const QString &target)
{
    const QByteArray key =
        QCryptographicHash::hash(FolderMove::Resolved(source).toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    return QDir(target).filePath(Prefix + QString::fromLatin1(key));
}

QStringList FolderMoveMarker::Record::TopNames() const
{
    QStringList names;
    for (const QStringList *list : {&folders, &files}) {
        for (const QString &path : *list) {
            const QString top = path.section(u'/', 0, 0);
            if (!names.contains(top))
                names << top;
        }
    }
    return names;
}

bool FolderMoveMarker::Read(const QString &path, Record &record)
{
    record = {};
    QFile file(path);
    if (!QFileInfo(path).isFile() || QFileInfo(path).isSymLink() || !file.open(QIODevice::ReadOnly))
        return false;
    QList<QByteArray> lines = file.readAll().split('\n');
    lines.removeLast(); // after the last end of line: nothing, or a line cut short
    if (lines.size() < 2 || lines[0] != Title || !lines[1].startsWith(SourceTag))
        return false;
    record.source = decoded(lines[1].mid(SourceTag.size()));
    if (!QDir::isAbsolutePath(record.source))
        return false;
    for (qsizetype i = 2; i < lines.size(); ++i) {
        const QByteArray &line = lines[i];
        if (line == CopiedTag || line == RemovingTag) {
            (line == CopiedTag ? record.copied : record.removing) = true;
            continue;
        }
        const bool folder = line.startsWith(FolderTag);
        if (!folder && !line.startsWith(FileTag))
            return false;
        const QString relative = decoded(line.mid(folder ? FolderTag.size() : FileTag.size()));
        if (!isRelativeInside(relative))
            return false;
        (folder ? record.folders : record.files) << relative;
    }
    return true;
}

QStringList FolderMoveMarker::RecordsIn(const QString &folder)
{
    QStringList paths;
    const QDir dir(folder);
    for (const QString &name : dir.entryList({Prefix + u'*'}, QDir::Files | QDir::Hidden))
        paths << dir.filePath(name);
    return paths;
}

bool FolderMoveMarker::Begin(const QString &source, const QString &target)
{
    if (m_file.isOpen())
        return false;
    m_file.setFileName(PathFor(source, target));
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    if (WriteLine(Title) && WriteLine(SourceTag + encoded(FolderMove::Resolved(source))))
        return true;
    Remove();
    return false;
}

bool FolderMoveMarker::Add(const QString &relative, bool folder)
{
    return WriteLine((folder ? FolderTag : FileTag) + encoded(relative));
}

bool FolderMoveMarker::MarkCopied()
{
    return WriteLine(CopiedTag);
}

bool FolderMoveMarker::MarkRemoving()
{
    return WriteLine(RemovingTag);
}

bool FolderMoveMarker::Remove()
{
    if (m_file.fileName().isEmpty())
        return true;
    m_file.close();
    const bool removed = !m_file.exists() || m_file.remove();
    if (removed)
        m_file.setFileName(QString());
    return removed;
}

bool FolderMoveMarker::WriteLine(const QByteArray &line)
{
    // Each line reaches the system in one write, so a program killed
    // afterwards leaves it whole; the record needs no flush to the disk of
    // its own: the move flushes its folders before anything relies on it.
    return m_file.isOpen() && m_file.write(line + '\n') == line.size() + 1 && m_file.flush();
}
