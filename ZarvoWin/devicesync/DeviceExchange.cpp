#include "DeviceExchange.h"

#include "CAnnulation.h"
#include "CAppData.h"
#include "CBdD.h"
#include "CDatabaseFile.h"
#include "CUsers.h"
#include "FileModes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using Platform::DeviceFolder;

namespace {

constexpr QStringView DatabaseBelowBase = u"Db\\Zarvo.sdb";
constexpr QStringView MarkerBelowBase = u"Db\\Sync.txt";
constexpr QStringView IdBelowBase = u"Id.txt";
constexpr QStringView IniBelowBase = u"Zarvo.ini";
constexpr QStringView LocationKey = u"Database_Location=";
constexpr QStringView InstallDirKey = u"HKLM/Software/Apps/Quellmark Zarvo/InstallDir";
constexpr int ApplicationDataFolder = 26;

QString withBackslash(QString path)
{
    if (!path.endsWith(u'\\'))
        path += u'\\';
    return path;
}

// A journal beside a database tells of a write that did not end: the file
// is not in a state to be copied until its own program has rolled it back.
bool journalBeside(const QString &database)
{
    return QFileInfo::exists(database + QStringLiteral("-journal"))
           || QFileInfo::exists(database + QStringLiteral("-wal"));
}

// Removes the working file of a whole copy, whatever the copy came to.
class RemovedAtEnd
{
public:
    explicit RemovedAtEnd(const QString &path) : m_path(path) { Remove(); }
    ~RemovedAtEnd() { Remove(); }
    RemovedAtEnd(const RemovedAtEnd &) = delete;
    RemovedAtEnd &operator=(const RemovedAtEnd &) = delete;

private:
    void Remove() const
    {
        for (const char *suffix : {"", "-journal", ".part", ".part-journal"})
            QFile::remove(m_path + QLatin1String(suffix));
    }
    QString m_path;
};

} // namespace

DeviceExchange::DeviceExchange(const QString &deviceRoot)
    : m_deviceRoot(deviceRoot)
{
}

// ---------------------------------------------------------------------
// Connection and transports
// ---------------------------------------------------------------------

bool DeviceExchange::Connect()
{
    m_connected = DeviceFolder::StateOf(m_deviceRoot) == DeviceFolder::State::Present;
    return m_connected;
}

void DeviceExchange::Disconnect()
{
    m_connected = false;
    m_base.clear();
    m_deviceUserName.clear();
    SetAssociatedUser(-1, QString(), QString());
}

bool DeviceExchange::IsReady() const
{
    if (m_transport == Transport::UsbDisk)
        return !m_usbPath.isEmpty() && QFileInfo(m_usbPath).isFile();
    return m_connected;
}

bool DeviceExchange::CanReachDeviceSide() const
{
    return IsReady() && !m_base.isEmpty();
}

DeviceFolder DeviceExchange::Side() const
{
    return DeviceFolder(m_transport == Transport::UsbDisk ? m_base : m_deviceRoot);
}

QString DeviceExchange::SidePath(QStringView belowBase) const
{
    if (m_transport == Transport::UsbDisk)
        return u'\\' + belowBase.toString();
    return m_base + belowBase.toString();
}

bool DeviceExchange::IsUsbDatabasePath(const QString &path, QString *base)
{
    if (path.isEmpty() || !QDir::isAbsolutePath(path))
        return false;
    // Whole components: "…/MyDb/Zarvo.sdb" is no device database.
    const QStringList parts = path.split(u'/');
    const qsizetype n = parts.size();
    if (n < 3 || parts[n - 1].compare(u"Zarvo.sdb", Qt::CaseInsensitive) != 0
        || parts[n - 2].compare(u"Db", Qt::CaseInsensitive) != 0)
        return false;
    if (base)
        *base = parts.mid(0, n - 2).join(u'/') + u'/';
    return true;
}

bool DeviceExchange::ScanUsbDrives(const QStringList &volumes)
{
    for (const QString &volume : volumes) {
        const DeviceFolder drive(volume);
        const QString found = drive.localPath(u"\\Zarvo\\Db\\Zarvo.sdb");
        if (!found.isEmpty() && QFileInfo(found).isFile()) {
            m_usbPath = found;
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------------
// Locating the device database
// ---------------------------------------------------------------------

QString DeviceExchange::MovedByIni(const DeviceFolder &device, const QString &candidate) const
{
    // Read whole (within bounds) and decoded once: a character is never cut
    // between two reads.
    QByteArray bytes;
    if (!device.readFile(candidate + IniBelowBase.toString(), DeviceFolder::MaxTextFileSize, bytes))
        return candidate;
    const QString text = QString::fromUtf8(bytes);
    const qsizetype at = text.indexOf(LocationKey);
    if (at < 0)
        return candidate;
    QString value = text.mid(at + LocationKey.size());
    const qsizetype end = value.indexOf(u'\n');
    if (end >= 0)
        value.truncate(end);
    if (value.endsWith(u'\r'))
        value.chop(1);
    if (value.isEmpty())
        return candidate;
    return u'\\' + value + QStringLiteral("\\Zarvo\\");
}

bool DeviceExchange::LocateDeviceDatabase()
{
    m_base.clear();
    m_lookedAt.clear();
    if (m_transport == Transport::UsbDisk)
        return IsUsbDatabasePath(m_usbPath, &m_base);

    const DeviceFolder device(m_deviceRoot);
    if (device.state() != DeviceFolder::State::Present)
        return false;
    const auto lookAt = [&](const QString &devicePath) {
        const QString local = device.localPath(devicePath);
        if (!local.isEmpty())
            m_lookedAt << local;
    };
    lookAt(QStringLiteral("\\registry.ini"));
    const auto holdsDatabase = [&](const QString &candidate) {
        lookAt(candidate + IniBelowBase.toString());
        m_base = MovedByIni(device, candidate);
        lookAt(m_base + DatabaseBelowBase.toString());
        lookAt(m_base + IdBelowBase.toString());
        return device.isFile(m_base + DatabaseBelowBase.toString());
    };
    const QString applicationData = device.specialFolder(ApplicationDataFolder);
    if (!applicationData.isEmpty() && holdsDatabase(withBackslash(applicationData) + QStringLiteral("Zarvo\\")))
        return true;
    const QString installDir = device.registryValue(InstallDirKey);
    if (installDir.isEmpty())
        return false; // the device program is not installed: the base stays at the last candidate
    if (holdsDatabase(withBackslash(installDir)))
        return true;
    if (holdsDatabase(QStringLiteral("\\Program Files\\Zarvo\\")))
        return true;
    m_base.clear();
    return false;
}

QString DeviceExchange::DeviceDatabaseFile() const
{
    if (m_base.isEmpty())
        return QString();
    return Side().localPath(SidePath(DatabaseBelowBase));
}

// ---------------------------------------------------------------------
// The association file
// ---------------------------------------------------------------------

bool DeviceExchange::ReadDeviceUserName()
{
    m_deviceUserName.clear();
    if (!CanReachDeviceSide())
        return false;
    const bool usb = m_transport == Transport::UsbDisk;
    QByteArray bytes;
    if (!Side().readFile(SidePath(IdBelowBase), usb ? DeviceFolder::MaxTextFileSize : MaxDeviceNameBytes, bytes))
        return false;
    if (usb) {
        if (bytes.startsWith("\xEF\xBB\xBF"))
            bytes.remove(0, 3);
        const qsizetype end = bytes.indexOf('\n');
        if (end >= 0)
            bytes.truncate(end);
        if (bytes.endsWith('\r'))
            bytes.chop(1);
    }
    m_deviceUserName = QString::fromUtf8(bytes);
    return true;
}

bool DeviceExchange::WriteDeviceUserName(const QString &name)
{
    if (name.isEmpty() || !CanReachDeviceSide())
        return false;
    const QByteArray bytes = name.toUtf8();
    if (m_transport == Transport::Device && bytes.size() > MaxDeviceNameBytes)
        return false;
    if (Side().writeFile(SidePath(IdBelowBase), bytes) != DeviceFolder::WriteResult::Written)
        return false;
    m_deviceUserName = name;
    return true;
}

void DeviceExchange::SetAssociatedUser(int userId, const QString &name, const QString &databasePath)
{
    m_userId = userId;
    m_userName = name;
    m_userDatabase = databasePath;
}

bool DeviceExchange::FindAssociatedUser(const CUsers &users)
{
    tUsers user;
    if (m_deviceUserName.isEmpty() || !users.LoadUserByName(m_deviceUserName, user) || user.Id < 0) {
        SetAssociatedUser(-1, QString(), QString());
        return false;
    }
    SetAssociatedUser(user.Id, user.Nom, user.GetDatabasePath(true));
    return true;
}

// ---------------------------------------------------------------------
// Copies
// ---------------------------------------------------------------------

bool DeviceExchange::CopyDatabaseFromDevice(const QString &localPath) const
{
    const QString device = DeviceDatabaseFile();
    if (device.isEmpty() || localPath.isEmpty() || !QFileInfo(device).isFile() || journalBeside(device))
        return false;
    // Not a database of this program, or of a version it cannot read: no
    // copy, and whatever the local file held stays.
    if (!CDatabaseFile::CheckReplacement(device, CDatabaseFile::Depth::Quick).ok())
        return false;
    return CDatabaseFile::CopyLive(device, localPath, CDatabaseFile::Target::Replace);
}

int DeviceExchange::RefusedVersion() const
{
    const QString device = DeviceDatabaseFile();
    if (device.isEmpty() || !QFileInfo(device).isFile() || journalBeside(device))
        return -1;
    const CDatabaseFile::CheckResult check = CDatabaseFile::CheckReplacement(device, CDatabaseFile::Depth::Quick);
    return check.status == CDatabaseFile::Status::UnknownVersion ? check.version : -1;
}

bool DeviceExchange::CopyDatabaseToDevice(const QString &localPath) const
{
    return WriteToDevice(localPath, false);
}

bool DeviceExchange::WriteToDevice(const QString &localPath, bool checked) const
{
    if (m_base.isEmpty() || localPath.isEmpty())
        return false;
    const DeviceFolder side = Side();
    // The marker first: the device program learns that its database is
    // being written. One that cannot be created is skipped.
    if (side.writeFile(SidePath(MarkerBelowBase), "Sync") == DeviceFolder::WriteResult::Failed)
        return false;
    const QString target = DeviceDatabaseFile();
    if (target.isEmpty() || !QFileInfo(target).isFile() || !QFileInfo(localPath).isFile())
        return false;
    if (!checked) {
        const CDatabaseFile::CheckResult check = CDatabaseFile::CheckReplacement(localPath);
        if (!check.ok() || check.version != CBdD::CurrentVersion)
            return false;
    }
    // The folder is held open while the copy runs: should the device go
    // meanwhile, the part file is still found and removed where it went.
    const QFileInfo targetInfo(target);
    const int folder = ::open(QFile::encodeName(targetInfo.absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    const bool copied = CDatabaseFile::CopyLive(localPath, target, CDatabaseFile::Target::Replace);
    if (!copied && folder >= 0) {
        const QString part = QFileInfo(CDatabaseFile::PartPath(target)).fileName();
        for (const QString &name : {part, part + QStringLiteral("-journal")})
            ::unlinkat(folder, QFile::encodeName(name).constData(), 0);
    }
    if (folder >= 0)
        ::close(folder);
    return copied;
}

int DeviceExchange::TextId(WholeCopyResult result)
{
    return result == WholeCopyResult::Copied ? 243 : 244;
}

DeviceExchange::WholeCopyResult DeviceExchange::CopyWholeDatabase(int direction,
                                                                  const WholeCopyOptions &options) const
{
    if ((direction != 0 && direction != 1) || m_userId < 0 || m_userDatabase.isEmpty() || m_base.isEmpty())
        return WholeCopyResult::Failed;
    const QString copy = WorkingFile(WholeCopyFile);
    if (copy.isEmpty())
        return WholeCopyResult::Failed;
    if (options.backupFirst)
        CAppData::BackupUserForSync(m_userId);

    const RemovedAtEnd removed(copy);
    bool ok = direction == 1
                  ? CDatabaseFile::CopyLive(m_userDatabase, copy, CDatabaseFile::Target::Replace)
                  : CopyDatabaseFromDevice(copy);
    if (ok) {
        // Both sides get the file as a synchronisation leaves it.
        CBdD db(copy, CBdD::OtherFile);
        const CBdD::tUpgradeResult::Outcome upgrade = db.UpdateDb().outcome;
        ok = db.IsOpen()
             && (upgrade == CBdD::tUpgradeResult::Outcome::Current
                 || upgrade == CBdD::tUpgradeResult::Outcome::Completed
                 || upgrade == CBdD::tUpgradeResult::Outcome::Upgraded)
             && db.PurgeSyncedChanges();
    }
    if (ok) {
        const CDatabaseFile::CheckResult check = CDatabaseFile::CheckReplacement(copy);
        ok = check.ok() && check.version == CBdD::CurrentVersion;
    }
    // The device first: should that fail, the local database is untouched.
    ok = ok && WriteToDevice(copy, true);
    if (ok) {
        if (QFileInfo(m_userDatabase).isFile())
            ok = CDatabaseFile::ReplaceLive(copy, m_userDatabase);
        else
            ok = Platform::FileModes::MakePrivateFolder(QFileInfo(m_userDatabase).absolutePath())
                 && CDatabaseFile::CopyLive(copy, m_userDatabase, CDatabaseFile::Target::FreeName);
    }
    if (!ok)
        return WholeCopyResult::Failed;

    if (options.currentUser) {
        if (CAnnulation *history = CAppData::Annulation())
            history->Reset();
    }
    RemoveSharedCopy(options.sharedFolder, m_userName);
    return WholeCopyResult::Copied;
}

void DeviceExchange::RemoveSharedCopy(const QString &sharedFolder, const QString &userName)
{
    if (sharedFolder.isEmpty() || userName.isEmpty())
        return;
    // The user's copy in the network folder is older than both sides now.
    const QString shared = QDir(QDir(sharedFolder).filePath(userName)).filePath(QStringLiteral("Zarvo.sdb"));
    if (QFileInfo(shared).isFile())
        QFile::remove(shared);
}

// ---------------------------------------------------------------------
// The working folder
// ---------------------------------------------------------------------

QString DeviceExchange::WorkingFolderPath()
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    return cache.isEmpty() ? QString() : cache + QStringLiteral("/Zarvo");
}

bool DeviceExchange::MakePrivateFolder(const QString &folder, int &error)
{
    const QString absolute = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    errno = 0;
    if (!Platform::FileModes::MakePrivateFolder(absolute)) {
        // What the folder that could not be made was refused for.
        error = errno != 0 ? errno : EIO;
        return false;
    }
    // Only a folder of this user's own, which nobody else may enter.
    const QByteArray native = QFile::encodeName(absolute);
    struct stat info {};
    if (::lstat(native.constData(), &info) != 0) {
        error = errno;
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        error = ENOTDIR;
        return false;
    }
    if (info.st_uid != ::getuid()) {
        error = EACCES;
        return false;
    }
    if ((info.st_mode & 07777) != 0700 && ::chmod(native.constData(), 0700) != 0) {
        error = errno;
        return false;
    }
    return true;
}

QString DeviceExchange::WorkingFolder()
{
    // The copies of the user's data lie there.
    const QString folder = WorkingFolderPath();
    int error = 0;
    return !folder.isEmpty() && MakePrivateFolder(folder, error) ? folder : QString();
}

QString DeviceExchange::WorkingFile(QStringView name)
{
    const QString folder = WorkingFolder();
    return folder.isEmpty() ? QString() : folder + u'/' + name.toString();
}

void DeviceExchange::RemoveWorkingCopy(const QString &path)
{
    if (path.isEmpty())
        return;
    const QString folder = WorkingFolder();
    const QFileInfo file(path);
    if (folder.isEmpty() || QFileInfo(file.absolutePath()).canonicalFilePath() != QFileInfo(folder).canonicalFilePath())
        return;
    for (const char *suffix : {"", "-journal", "-wal", "-shm", ".part", ".part-journal", ".compact"})
        QFile::remove(path + QLatin1String(suffix));
}

void DeviceExchange::RemoveWorkingCopies()
{
    for (const char16_t *name : {DeviceCopyFile, PaneCopyFile, WholeCopyFile})
        RemoveWorkingCopy(WorkingFile(name));
}
