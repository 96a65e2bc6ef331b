#include "DeviceFolder.h"

#include "Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>

#include <dirent.h>

namespace Platform {

namespace {

// Whether `path` (canonical) lies in the folder `root` (canonical) or is it.
bool inside(const QString &path, const QString &root)
{
    if (path == root)
        return true;
    return path.startsWith(root.endsWith(u'/') ? root : root + u'/');
}

// "HKLM\Software/Apps\" as "HKLM/Software/Apps".
QString normalizedKey(QStringView key)
{
    QString k = key.trimmed().toString();
    k.replace(u'\\', u'/');
    while (k.endsWith(u'/'))
        k.chop(1);
    while (k.startsWith(u'/'))
        k.remove(0, 1);
    return k;
}

// The entry of `folder` that `name` names in any case; the exact name is
// preferred, then the first in name order. Empty when there is none.
QString entryInAnyCase(const QString &folder, const QString &name)
{
    const QFileInfo exact(folder + u'/' + name);
    if (exact.exists() || exact.isSymLink())
        return name;
    const QStringList entries = QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    return QString();
}

} // namespace

DeviceFolder::DeviceFolder(const QString &root)
    : m_root(root)
{
}

QString DeviceFolder::DefaultRoot()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/Quellmark/Zarvo/Device");
}

QString DeviceFolder::ConfiguredRoot()
{
    const QString configured = Settings().getString(u"Synchronisation", u"", u"DeviceFolder").trimmed();
    return configured.isEmpty() ? DefaultRoot() : configured;
}

DeviceFolder::State DeviceFolder::StateOf(const QString &folder)
{
    if (folder.isEmpty())
        return State::Absent;
    const QFileInfo info(folder);
    if (!info.exists())
        return info.isSymLink() ? State::Unreadable : State::Absent;
    if (!info.isDir())
        return State::Unreadable;
    // Listing it is the test: a folder the process may not enter or read is
    // there, but no device can be reached through it.
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return State::Unreadable;
    ::closedir(dir);
    return State::Present;
}

QString DeviceFolder::localPath(QStringView devicePath) const
{
    if (!devicePath.startsWith(u'\\') || StateOf(m_root) != State::Present)
        return QString();
    const QString root = QFileInfo(m_root).canonicalFilePath();
    if (root.isEmpty())
        return QString();
    QStringView rest = devicePath.mid(1);
    if (rest.endsWith(u'\\'))
        rest.chop(1);
    if (rest.isEmpty())
        return root;
    QString path = root;
    bool existing = true;
    for (QStringView component : rest.split(u'\\')) {
        if (component.isEmpty() || component == u"." || component == u".." || component.contains(u'/')
            || component.contains(QChar(0)))
            return QString();
        const QString name = component.toString();
        QString found = existing ? entryInAnyCase(path, name) : QString();
        if (found.isEmpty()) {
            existing = false;
            found = name;
        }
        path += u'/' + found;
        if (existing) {
            // Wherever a link among the existing components leads, it
            // must stay on the device; one that leads nowhere is refused.
            const QString real = QFileInfo(path).canonicalFilePath();
            if (real.isEmpty() || !inside(real, root))
                return QString();
        }
    }
    return path;
}

bool DeviceFolder::isFile(QStringView devicePath) const
{
    const QString path = localPath(devicePath);
    return !path.isEmpty() && QFileInfo(path).isFile();
}

bool DeviceFolder::isFolder(QStringView devicePath) const
{
    const QString path = localPath(devicePath);
    return !path.isEmpty() && QFileInfo(path).isDir();
}

bool DeviceFolder::readFile(QStringView devicePath, qint64 maxBytes, QByteArray &data) const
{
    data.clear();
    const QString path = localPath(devicePath);
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    data = file.read(maxBytes);
    return file.error() == QFileDevice::NoError;
}

DeviceFolder::WriteResult DeviceFolder::writeFile(QStringView devicePath, const QByteArray &data) const
{
    const QString path = localPath(devicePath);
    if (path.isEmpty() || QFileInfo(path).isDir())
        return WriteResult::CannotCreate;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return WriteResult::CannotCreate;
    if (file.write(data) != data.size()) {
        file.cancelWriting();
        return WriteResult::Failed;
    }
    return file.commit() ? WriteResult::Written : WriteResult::Failed;
}

QString DeviceFolder::registryValue(QStringView keyAndName) const
{
    const QString wanted = normalizedKey(keyAndName);
    const qsizetype slash = wanted.lastIndexOf(u'/');
    if (slash <= 0)
        return QString();
    const QStringView wantedKey = QStringView(wanted).left(slash);
    const QStringView wantedName = QStringView(wanted).mid(slash + 1);

    QByteArray bytes;
    if (!readFile(u"\\registry.ini", MaxTextFileSize + 1, bytes) || bytes.size() > MaxTextFileSize)
        return QString();
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decode(bytes);
    if (decode.hasError())
        return QString();
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);

    // The whole file is read before a value is given: one garbled line
    // makes all of it untrustworthy.
    QString section;
    QString found;
    bool matched = false;
    for (QStringView line : QStringView(text).split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            if (!line.endsWith(u']') || line.size() < 3)
                return QString();
            section = normalizedKey(line.mid(1, line.size() - 2));
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0 || section.isEmpty() || line.contains(QChar(0)))
            return QString();
        if (!matched && section.compare(wantedKey, Qt::CaseInsensitive) == 0
            && line.left(equals).trimmed().compare(wantedName, Qt::CaseInsensitive) == 0) {
            found = line.mid(equals + 1).trimmed().toString();
            matched = true;
        }
    }
    return found;
}

QString DeviceFolder::specialFolder(int id) const
{
    return registryValue(QStringLiteral("Special/") + QString::number(id));
}

} // namespace Platform
