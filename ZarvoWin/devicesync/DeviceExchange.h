#pragma once
#include "DeviceFolder.h"
#include "RemovableMedia.h"

#include <QString>
#include <QStringList>
#include <QStringView>

class CUsers;

// The files the synchronisation exchanges with a mobile device, and the two
// ways of reaching them: the device itself, whose file system stands here
// as a folder (Platform::DeviceFolder), or a USB disk holding the device
// program's files. It finds the device database, copies it to a working
// file and back, reads and writes the association file "Id.txt" (the name
// of the local user the device belongs to) and copies a whole database from
// one side over the other.
//
// Device files are named as on the device, with backslashes below the
// device base folder ("\Storage Card\Zarvo\" + "Db\Zarvo.sdb"). No copy is
// raw or partial: a database is copied through SQLite's online backup into
// a part file beside the target, renamed when whole, so a device pulled out
// mid-copy leaves its database as it was; the live local database is
// written in one transaction. Nothing here shows a message: each operation
// tells its outcome and the dialog shows the texts.
//
// It takes plain paths and values, so that a worker thread may run a copy
// from the device (the rest runs on the interface thread).
class DeviceExchange
{
public:
    // How the device is reached (the setting Synchronisation/Wmdc: 1 the
    // device, 0 a USB disk).
    enum class Transport { Device, UsbDisk };

    explicit DeviceExchange(const QString &deviceRoot = Platform::DeviceFolder::ConfiguredRoot());

    void SetTransport(Transport transport) { m_transport = transport; }
    Transport GetTransport() const { return m_transport; }
    QString DeviceRoot() const { return m_deviceRoot; }

    // --- The connection ------------------------------------------------------
    // Connected when the device folder is there and can be listed.
    bool Connect();
    // Forgets the connection, the device base, the device's user name and
    // the associated user.
    void Disconnect();
    bool IsConnected() const { return m_connected; }
    // Whether the device side can be reached: connected, or on a USB disk a
    // chosen database file that exists.
    bool IsReady() const;

    // --- USB disk ------------------------------------------------------------
    void SetUsbDatabasePath(const QString &path) { m_usbPath = path; }
    QString UsbDatabasePath() const { return m_usbPath; }
    // Whether an absolute path names the device database on a USB disk: a
    // file "Zarvo.sdb" in a folder "Db", both in any case. `base` receives
    // the folder above "Db", ending with "/".
    static bool IsUsbDatabasePath(const QString &path, QString *base = nullptr);
    // The first of the volumes (in the order given) holding
    // "Zarvo\Db\Zarvo.sdb" in any case becomes the USB database path;
    // nothing changes when none does. True when one was found.
    bool ScanUsbDrives(const QStringList &volumes = Platform::RemovableMedia::MountPaths());

    // --- The device database ---------------------------------------------------
    // Finds the device base folder. On the device the candidates are, in
    // order: the application-data folder (special folder 26) with "Zarvo\",
    // the install folder of the device registry, "\Program Files\Zarvo\";
    // a "Zarvo.ini" in a candidate whose line "Database_Location=" names a
    // storage moves that candidate to "\<storage>\Zarvo\". The first that
    // holds "Db\Zarvo.sdb" is taken. Without an install folder in the
    // registry the device program is not installed: the search ends there,
    // false, with the base left at the candidate last tried (whose database
    // the dialog then reports as not found). On a USB disk the base is the
    // folder above "Db" of the chosen file.
    bool LocateDeviceDatabase();
    // The local paths of the device files the last search looked at (the
    // registry file, each candidate's "Zarvo.ini" and database, the base's
    // association file), existing or not: what may yet make a search
    // succeed, or change what it found. Empty on a USB disk.
    QStringList LookedAt() const { return m_lookedAt; }
    // The device base as the device names it ("\Storage Card\Zarvo\"), or
    // the local folder on a USB disk; empty while unknown.
    QString DeviceBase() const { return m_base; }
    // The local path of the device database; empty while the base is
    // unknown or the path is refused.
    QString DeviceDatabaseFile() const;

    // --- The association file ------------------------------------------------
    // Reads "Id.txt": on the device its first 100 bytes as UTF-8, on a USB
    // disk its first line. False (and an empty name) when the device side
    // cannot be reached or the file cannot be read.
    bool ReadDeviceUserName();
    QString DeviceUserName() const { return m_deviceUserName; }
    // Writes `name` into "Id.txt" as UTF-8. On the device a name of more
    // than MaxDeviceNameBytes bytes is refused: cut, it would never match
    // its user again.
    bool WriteDeviceUserName(const QString &name);
    static constexpr int MaxDeviceNameBytes = 100;

    // The local user the device belongs to.
    void SetAssociatedUser(int userId, const QString &name, const QString &databasePath);
    // Looks the device's user name up among the users by name: a match
    // becomes the associated user. False (and no associated user) without.
    bool FindAssociatedUser(const CUsers &users);
    int GetLocalUserId() const { return m_userId; }
    // The associated user's database, empty without one.
    QString GetLocalDatabasePath() const { return m_userDatabase; }
    // The associated user's name.
    QString GetUserFolder() const { return m_userName; }

    // --- Copies ----------------------------------------------------------------
    // The device database to a local file, replaced only by a whole copy
    // that passed the check of a device's database (a file of this program,
    // of a version it reads). False, leaving the local file as it was, when
    // the device database is missing, is not such a file or has a journal
    // beside it (the device program did not finish a write).
    bool CopyDatabaseFromDevice(const QString &localPath) const;
    // The schema version of a device database whose copy is refused for
    // its version (a file of a later program), read from the device file
    // itself without writing it; -1 for one refused for anything else, or
    // not refused.
    int RefusedVersion() const;
    // A local database as the device database: first the marker
    // "Db\Sync.txt" ("Sync"; one that cannot be created is skipped, one
    // whose writing fails ends the copy), then the database, which must
    // already exist on the device. The local file must pass the full check
    // of a replacement. False leaves the device database as it was.
    bool CopyDatabaseToDevice(const QString &localPath) const;

    enum class WholeCopyResult { Copied, Failed };
    // Texts 243 "Copie ... terminée avec succès." and 244 "Erreur ...".
    static int TextId(WholeCopyResult result);
    struct WholeCopyOptions
    {
        bool backupFirst = true; // the setting Backup/Synchro
        QString sharedFolder;    // the network folder, empty when none
        bool currentUser = false; // the associated user is the current one
    };
    // 0 the device database over the local one, 1 the local over the
    // device's. A backup of the associated user first when asked; then the
    // source is copied to the working file "DbCopy.sdb", upgraded and
    // marked synchronised (purged), and written to the device and then over
    // the local database. Afterwards the undo history is emptied when the
    // user is the current one, and the user's copy in the network folder is
    // deleted. "DbCopy.sdb" is removed in every case; a failure before the
    // device was written leaves both sides as they were, one after it
    // leaves the local database as it was.
    WholeCopyResult CopyWholeDatabase(int direction, const WholeCopyOptions &options) const;
    // Deletes the user's copy in the network folder (empty folder: none),
    // which a synchronisation leaves older than both sides.
    static void RemoveSharedCopy(const QString &sharedFolder, const QString &userName);

    // --- The working folder ----------------------------------------------------
    // "Zarvo" in the user's cache folder, private to the user (mode 0700),
    // made when missing; empty when no such folder can be had.
    static QString WorkingFolder();
    // The same folder's path, whether or not it is there.
    static QString WorkingFolderPath();
    // Makes a folder that holds copies of a user's data: each folder
    // missing on the way is made private to the user (0700), and the last
    // must be a folder (no link) of the user's own, made private if it is
    // not. False, with the system's error number in `error`, otherwise.
    static bool MakePrivateFolder(const QString &folder, int &error);
    // The working files: the device copy the analysis compares and the merge
    // writes into, the copy that refreshes the device pane during a review,
    // the file of a whole copy.
    static constexpr const char16_t *DeviceCopyFile = u"Ppc.sdb";
    static constexpr const char16_t *PaneCopyFile = u"PpcTmp.sdb";
    static constexpr const char16_t *WholeCopyFile = u"DbCopy.sdb";
    // A working file's path; empty without the working folder.
    static QString WorkingFile(QStringView name);
    // Removes a working copy together with what SQLite or a copy left beside
    // it (its journal, a part file, a compacted one), so that a copy stopped halfway never
    // holds up the next one. Only a file of the working folder is touched:
    // any other path is left alone.
    static void RemoveWorkingCopy(const QString &path);
    // The working copies a session of the dialog leaves (the device copies
    // and the file of a whole copy), removed; the record of a stopped run
    // is kept.
    static void RemoveWorkingCopies();

private:
    // The files of the device side: the device folder, or on a USB disk
    // the folder above "Db".
    Platform::DeviceFolder Side() const;
    // A path below the base as the side names it.
    QString SidePath(QStringView belowBase) const;
    // Applies a "Zarvo.ini" in the candidate base.
    QString MovedByIni(const Platform::DeviceFolder &device, const QString &candidate) const;
    bool CanReachDeviceSide() const;
    bool WriteToDevice(const QString &localPath, bool checked) const;

    QString m_deviceRoot;
    Transport m_transport = Transport::Device;
    bool m_connected = false;
    QString m_usbPath;
    QString m_base;
    QStringList m_lookedAt;
    QString m_deviceUserName;
    int m_userId = -1;
    QString m_userName;
    QString m_userDatabase;
};
