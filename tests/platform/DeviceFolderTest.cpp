#include "DeviceFolder.h"
#include "DeviceFolderWatcher.h"
#include "QStringPrinter.h"
#include "RemovableMedia.h"
#include "Settings.h"
#include "TestFolders.h"

#include <QDir>
#include <QFile>
#include <QFileSystemWatcher>
#include <QSignalSpy>
#include <gtest/gtest.h>

using Platform::DeviceFolder;

namespace {

// A device holding "Storage Card/ZARVO/db/Zarvo.SDB", a folder beside it
// outside the device, and links inside, outward and to nowhere.
struct DeviceFixture
{
    QString root = TestFolders::file(QStringLiteral("Device"));
    QString outside = TestFolders::file(QStringLiteral("Outside"));
    DeviceFolder device{root};

    DeviceFixture()
    {
        TestFolders::writeFile(QStringLiteral("Device/Storage Card/ZARVO/db/Zarvo.SDB"), "db");
        TestFolders::writeFile(QStringLiteral("Outside/secret.txt"), "secret");
        QFile::link(outside, root + QStringLiteral("/out"));
        QFile::link(root + QStringLiteral("/Storage Card"), root + QStringLiteral("/card"));
        QFile::link(root + QStringLiteral("/gone"), root + QStringLiteral("/nowhere"));
    }
};

} // namespace

TEST(DeviceFolder, DevicePathsMapComponentByComponentInAnyCase)
{
    DeviceFixture f;
    const QString card = f.root + QStringLiteral("/Storage Card");
    const struct
    {
        const char16_t *devicePath;
        QString local; // empty: refused
    } cases[] = {
        {u"\\storage card\\zarvo\\DB\\zarvo.sdb", card + QStringLiteral("/ZARVO/db/Zarvo.SDB")},
        {u"\\Storage Card\\Zarvo\\", card + QStringLiteral("/ZARVO")},
        {u"\\", f.root},
        // What does not exist yet keeps the case it was given.
        {u"\\Storage Card\\Zarvo\\Db\\Sync.txt", card + QStringLiteral("/ZARVO/db/Sync.txt")},
        {u"\\Storage Card\\New\\Id.txt", card + QStringLiteral("/New/Id.txt")},
        // A link that stays on the device is followed.
        {u"\\card\\zarvo\\db\\zarvo.sdb", f.root + QStringLiteral("/card/ZARVO/db/Zarvo.SDB")},
        // Nothing outside the device is reached.
        {u"\\..\\Outside\\secret.txt", QString()},
        {u"\\Storage Card\\..\\..\\Outside", QString()},
        {u"\\Storage Card\\.\\Zarvo", QString()},
        {u"\\Storage Card\\\\Zarvo", QString()},
        {u"\\Storage Card/../../Outside", QString()},
        {u"\\out\\secret.txt", QString()},
        {u"\\out", QString()},
        {u"\\nowhere\\file", QString()},
        {u"Storage Card\\Zarvo", QString()},
        {u"", QString()},
    };
    for (const auto &c : cases)
        EXPECT_EQ(f.device.localPath(c.devicePath), c.local) << QString::fromUtf16(c.devicePath).toStdString();

    EXPECT_TRUE(f.device.isFile(u"\\STORAGE CARD\\Zarvo\\Db\\Zarvo.sdb"));
    EXPECT_TRUE(f.device.isFolder(u"\\Storage Card\\Zarvo\\Db\\"));
    EXPECT_FALSE(f.device.isFile(u"\\out\\secret.txt"));
    QByteArray data;
    EXPECT_FALSE(f.device.readFile(u"\\out\\secret.txt", 100, data));
    EXPECT_EQ(f.device.writeFile(u"\\out\\planted.txt", "x"), DeviceFolder::WriteResult::CannotCreate);
    EXPECT_FALSE(QFile::exists(f.outside + QStringLiteral("/planted.txt")));

    // Without the folder there is no device.
    ASSERT_TRUE(QDir(f.root).removeRecursively());
    EXPECT_EQ(f.device.state(), DeviceFolder::State::Absent);
    EXPECT_TRUE(f.device.localPath(u"\\").isEmpty());
}

TEST(DeviceFolder, StateOfTheFolder)
{
    const QString root = TestFolders::file(QStringLiteral("Device"));
    EXPECT_EQ(DeviceFolder::StateOf(root), DeviceFolder::State::Absent);
    TestFolders::writeFile(QStringLiteral("Device"), "not a folder");
    EXPECT_EQ(DeviceFolder::StateOf(root), DeviceFolder::State::Unreadable);
    QFile::remove(root);
    ASSERT_TRUE(QDir().mkpath(root));
    EXPECT_EQ(DeviceFolder::StateOf(root), DeviceFolder::State::Present);
}

TEST(DeviceFolder, ConfiguredRootComesFromTheSettings)
{
    EXPECT_EQ(DeviceFolder::ConfiguredRoot(), DeviceFolder::DefaultRoot());
    EXPECT_TRUE(DeviceFolder::DefaultRoot().startsWith(TestFolders::root()));
    EXPECT_TRUE(DeviceFolder::DefaultRoot().endsWith(QStringLiteral("/Device")));
    Platform::Settings settings;
    settings.setString(u"Synchronisation", u"", u"DeviceFolder", QStringLiteral("/media/phone"));
    settings.sync();
    EXPECT_EQ(DeviceFolder::ConfiguredRoot(), QStringLiteral("/media/phone"));
}

TEST(DeviceFolder, WritesReplaceWholeFiles)
{
    DeviceFixture f;
    const char16_t *id = u"\\Storage Card\\Zarvo\\Id.txt";
    EXPECT_EQ(f.device.writeFile(id, "Première"), DeviceFolder::WriteResult::Written);
    EXPECT_EQ(f.device.writeFile(id, "Léa"), DeviceFolder::WriteResult::Written);
    QByteArray data;
    ASSERT_TRUE(f.device.readFile(id, 100, data));
    EXPECT_EQ(data, QByteArray("Léa"));
    ASSERT_TRUE(f.device.readFile(id, 2, data));
    EXPECT_EQ(data.size(), 2);
    EXPECT_EQ(QDir(f.root + QStringLiteral("/Storage Card/ZARVO")).entryList(QDir::Files),
              QStringList{QStringLiteral("Id.txt")});
    EXPECT_EQ(f.device.writeFile(u"\\Storage Card\\Missing\\Id.txt", "x"), DeviceFolder::WriteResult::CannotCreate);
}

TEST(DeviceFolder, RegistryFileReadsAsSectionsOrNothing)
{
    const QByteArray good = "; the device's registry\r\n"
                            "[HKLM\\Software\\Apps\\Quellmark Zarvo]\r\n"
                            "InstallDir = \\Program Files\\Zarvo\\\r\n"
                            "[Special]\r\n"
                            "26=\\Application Data\r\n";
    const struct
    {
        const char *name;
        QByteArray file; // null: no file
        const char16_t *key;
        QString value;
    } cases[] = {
        {"install folder", good, u"HKLM/Software/Apps/Quellmark Zarvo/InstallDir",
         QStringLiteral("\\Program Files\\Zarvo\\")},
        {"any case, backslashes", good, u"hklm\\SOFTWARE\\apps\\quellmark zarvo\\installdir",
         QStringLiteral("\\Program Files\\Zarvo\\")},
        {"special folder", good, u"Special/26", QStringLiteral("\\Application Data")},
        {"missing value", good, u"Special/5", QString()},
        {"no file", QByteArray(), u"Special/26", QString()},
        {"garbled line", good + "this is not a value\r\n", u"Special/26", QString()},
        {"value before any key", "26=x\r\n[Special]\r\n26=y\r\n", u"Special/26", QString()},
        {"invalid UTF-8", "[Special]\r\n26=\xff\xfe\r\n", u"Special/26", QString()},
        {"binary", QByteArray("[Special]\n26=a\0b\n", 17), u"Special/26", QString()},
        {"too large", good + QByteArray(DeviceFolder::MaxTextFileSize, ';'), u"Special/26", QString()},
    };
    const QString root = TestFolders::file(QStringLiteral("Device"));
    QDir().mkpath(root);
    const DeviceFolder device(root);
    for (const auto &c : cases) {
        QFile::remove(root + QStringLiteral("/registry.ini"));
        if (!c.file.isNull())
            TestFolders::writeFile(QStringLiteral("Device/registry.ini"), c.file);
        EXPECT_EQ(device.registryValue(c.key), c.value) << c.name;
    }
    QFile::remove(root + QStringLiteral("/registry.ini"));
    TestFolders::writeFile(QStringLiteral("Device/REGISTRY.INI"), good);
    EXPECT_EQ(device.specialFolder(26), QStringLiteral("\\Application Data"));
}

TEST(DeviceFolder, WatcherPostsConnectionNotices)
{
    const QString root = TestFolders::file(QStringLiteral("Devices/Phone"));
    Platform::DeviceFolderWatcher watcher(root);
    QSignalSpy notices(&watcher, &Platform::DeviceFolderWatcher::notice);

    // The folder above appears first: the watcher climbs down to it.
    ASSERT_TRUE(QDir().mkpath(TestFolders::file(QStringLiteral("Devices"))));
    ASSERT_TRUE(QDir().mkpath(root));
    ASSERT_TRUE(notices.wait(5000));
    EXPECT_EQ(notices.takeFirst().at(0).toInt(), int(Platform::DeviceFolderWatcher::Connected));

    ASSERT_TRUE(QDir().rmdir(root));
    ASSERT_TRUE(notices.wait(5000));
    EXPECT_EQ(notices.takeFirst().at(0).toInt(), int(Platform::DeviceFolderWatcher::Disconnected));

    TestFolders::writeFile(QStringLiteral("Devices/Phone"), "a file where the folder was");
    ASSERT_TRUE(notices.wait(5000));
    EXPECT_EQ(notices.takeFirst().at(0).toInt(), int(Platform::DeviceFolderWatcher::ConnectionError));
    EXPECT_EQ(watcher.state(), DeviceFolder::State::Unreadable);
    EXPECT_TRUE(notices.isEmpty());
}

TEST(DeviceFolder, WatcherFollowsTheFolderAsItIsFilled)
{
    const QString root = TestFolders::file(QStringLiteral("Devices/Phone"));
    const QString database = root + QStringLiteral("/Program Files/Zarvo/Db/Zarvo.sdb");
    Platform::DeviceFolderWatcher watcher(root);
    watcher.Follow({database, root + QStringLiteral("/registry.ini"), TestFolders::file(QStringLiteral("elsewhere"))});
    EXPECT_EQ(watcher.followed(), QStringList({database, root + QStringLiteral("/registry.ini")}));
    QSignalSpy notices(&watcher, &Platform::DeviceFolderWatcher::notice);
    QSignalSpy changes(&watcher, &Platform::DeviceFolderWatcher::contentChanged);

    // Made empty: a device is connected, and nothing is there yet.
    ASSERT_TRUE(QDir().mkpath(root));
    ASSERT_TRUE(notices.wait(10000));
    EXPECT_EQ(notices.takeFirst().at(0).toInt(), int(Platform::DeviceFolderWatcher::Connected));
    EXPECT_TRUE(changes.isEmpty());

    // Filled one step at a time, as a copy into it goes: each folder on the
    // way is followed once it is there, and the file once it exists, also
    // when it is written after it was made.
    const struct
    {
        const char *step;
        std::function<bool()> act;
    } steps[] = {
        {"a folder at the top", [&] { return QDir().mkdir(root + QStringLiteral("/Program Files")); }},
        {"the folder below", [&] { return QDir().mkdir(root + QStringLiteral("/Program Files/Zarvo")); }},
        {"the database's folder", [&] { return QDir().mkdir(root + QStringLiteral("/Program Files/Zarvo/Db")); }},
        {"the database made empty",
         [&] {
             QFile file(database);
             return file.open(QIODevice::WriteOnly);
         }},
        {"the database written",
         [&] {
             QFile file(database);
             return file.open(QIODevice::Append) && file.write(QByteArray(4096, 'd')) == 4096;
         }},
        {"the registry file written",
         [&] { return !TestFolders::writeFile(QStringLiteral("Devices/Phone/registry.ini"), "[Special]\n").isEmpty(); }},
    };
    for (const auto &step : steps) {
        SCOPED_TRACE(step.step);
        changes.clear();
        ASSERT_TRUE(step.act());
        ASSERT_TRUE(changes.wait(10000));
    }
    EXPECT_TRUE(notices.isEmpty());

    // Gone: a disconnection.
    ASSERT_TRUE(QDir(root).removeRecursively());
    ASSERT_TRUE(notices.wait(10000));
    EXPECT_EQ(notices.takeFirst().at(0).toInt(), int(Platform::DeviceFolderWatcher::Disconnected));
}

// A file written beside the device folder, in the folder above it that is
// watched for the device folder's coming and going, is no change of the
// device: once the watcher has looked at that change, nothing is told.
TEST(DeviceFolder, WatcherTellsNothingOfAFileWrittenBesideTheDeviceFolder)
{
    const QString root = TestFolders::file(QStringLiteral("Devices/Phone"));
    ASSERT_TRUE(QDir().mkpath(root));
    Platform::DeviceFolderWatcher watcher(root);
    ASSERT_EQ(watcher.state(), DeviceFolder::State::Present);
    QSignalSpy notices(&watcher, &Platform::DeviceFolderWatcher::notice);
    QSignalSpy changes(&watcher, &Platform::DeviceFolderWatcher::contentChanged);
    // What the system's watch sees, told after the watcher has looked.
    auto *system = watcher.findChild<QFileSystemWatcher *>();
    ASSERT_NE(system, nullptr);
    ASSERT_TRUE(system->directories().contains(TestFolders::file(QStringLiteral("Devices"))));
    QSignalSpy seen(system, &QFileSystemWatcher::directoryChanged);

    TestFolders::writeFile(QStringLiteral("Devices/beside.txt"), "not the device's");
    ASSERT_TRUE(seen.wait(10000));
    EXPECT_EQ(seen.first().at(0).toString(), TestFolders::file(QStringLiteral("Devices")));
    // Whatever the look posted is delivered now.
    QCoreApplication::sendPostedEvents(&watcher, QEvent::MetaCall);
    EXPECT_TRUE(changes.isEmpty());
    EXPECT_TRUE(notices.isEmpty());

    // The same write inside the device folder is told.
    TestFolders::writeFile(QStringLiteral("Devices/Phone/inside.txt"), "the device's");
    ASSERT_TRUE(changes.wait(10000));
    EXPECT_TRUE(notices.isEmpty());
}

TEST(RemovableMedia, RemovableDisksAndTheUsersDesktopMounts)
{
    // A fake /sys/class/block: sdb is removable, sda is not; partitions are
    // links into their disk's folder, as the kernel shows them.
    const QString sys = TestFolders::file(QStringLiteral("sys"));
    TestFolders::writeFile(QStringLiteral("sys/devices/sdb/removable"), "1\n");
    TestFolders::writeFile(QStringLiteral("sys/devices/sdb/sdb1/partition"), "1\n");
    TestFolders::writeFile(QStringLiteral("sys/devices/sda/removable"), "0\n");
    TestFolders::writeFile(QStringLiteral("sys/devices/sda/sda2/partition"), "2\n");
    QDir().mkpath(sys + QStringLiteral("/block"));
    QFile::link(sys + QStringLiteral("/devices/sdb/sdb1"), sys + QStringLiteral("/block/sdb1"));
    QFile::link(sys + QStringLiteral("/devices/sdb"), sys + QStringLiteral("/block/sdb"));
    QFile::link(sys + QStringLiteral("/devices/sda/sda2"), sys + QStringLiteral("/block/sda2"));

    const QList<Platform::RemovableMedia::Volume> volumes = {
        {QStringLiteral("/"), QStringLiteral("/dev/sda2")},
        {QStringLiteral("/mnt/key"), QStringLiteral("/dev/sdb1")},
        {QStringLiteral("/mnt/card"), QStringLiteral("/dev/sdb")},
        {QStringLiteral("/media/lea/PHONE"), QStringLiteral("/dev/sdc1")},
        {QStringLiteral("/run/media/lea/CAMERA"), QStringLiteral("/dev/sdd1")},
        {QStringLiteral("/media/other/KEY"), QStringLiteral("/dev/sde1")},
        {QStringLiteral("/proc"), QStringLiteral("proc")},
    };
    EXPECT_EQ(Platform::RemovableMedia::Select(volumes, sys + QStringLiteral("/block"), QStringLiteral("lea")),
              (QStringList{QStringLiteral("/media/lea/PHONE"), QStringLiteral("/mnt/card"),
                           QStringLiteral("/mnt/key"), QStringLiteral("/run/media/lea/CAMERA")}));
}
