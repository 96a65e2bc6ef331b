#pragma once
#include <QByteArray>
#include <QString>
#include <QStringView>

namespace Platform {

// A mobile device's file system, which stands here as a folder: plugging
// the device in is the folder appearing, pulling it out is the folder
// going. Its registry is the small settings file "registry.ini" at the
// folder's root.
//
// The synchronisation names device files as the device does, with
// backslashes from the device's root ("\Storage Card\Zarvo\Db\Zarvo.sdb");
// they are mapped to local files only here. Each component is matched in
// any letter case, as the device's file system does. A path holding ".",
// "..", an empty component, or a link that leads out of the folder is
// refused: nothing outside the device is ever read or written through it.
//
// registry.ini holds one section per registry key and one line per value,
// with no escapes, key and value names matched in any case:
//
//     [HKLM\Software\Apps\Quellmark Zarvo]
//     InstallDir=\Program Files\Zarvo
//     [Special]
//     26=\Application Data
//
// A file that is not such text (a line of another shape, bytes that are not
// UTF-8, more than 64 KiB) reads as holding nothing.
class DeviceFolder
{
public:
    explicit DeviceFolder(const QString &root);

    // The folder named by the setting Synchronisation/DeviceFolder, by
    // default "Device" in the application-data folder.
    static QString ConfiguredRoot();
    static QString DefaultRoot();

    QString root() const { return m_root; }

    enum class State {
        Absent,     // nothing there: no device
        Present,    // a folder that can be listed
        Unreadable, // something there that cannot be listed as a folder
    };
    State state() const { return StateOf(m_root); }
    static State StateOf(const QString &folder);

    // The local path of a device path (which starts with a backslash; one
    // at the end names a folder), the components that exist taken in the
    // case they have on disk. Empty when the path is refused or the device
    // folder is not there.
    QString localPath(QStringView devicePath) const;
    bool isFile(QStringView devicePath) const;
    bool isFolder(QStringView devicePath) const;

    // At most `maxBytes` of the start of a device file. False when it cannot
    // be read (a missing file among others).
    bool readFile(QStringView devicePath, qint64 maxBytes, QByteArray &data) const;
    // Writes a device file whole, through a temporary file in the same
    // folder renamed over it: a failure leaves the former file as it was.
    enum class WriteResult { Written, CannotCreate, Failed };
    WriteResult writeFile(QStringView devicePath, const QByteArray &data) const;

    // A registry value by its key and name, "HKLM/Software/Apps/Quellmark
    // Zarvo/InstallDir" (backslashes or slashes); empty when not found.
    QString registryValue(QStringView keyAndName) const;
    // A special folder of the device (CSIDL number), kept in the registry
    // file as "Special/<number>"; empty when not known.
    QString specialFolder(int id) const;

    // The most a small device file (settings, association) is read for.
    static constexpr qint64 MaxTextFileSize = 64 * 1024;

private:
    QString m_root;
};

} // namespace Platform
