#include "DeviceExchange.h"

#include "CAnnulation.h"
#include "CAppData.h"
#include "CBdD.h"
#include "CDatabaseFile.h"
#include "CUsers.h"
#include "Clock.h"
#include "CmyDataBase.h"
#include "QStringPrinter.h"
#include "Settings.h"
#include "TestFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

constexpr const char *InstallKey = "[HKLM\\Software\\Apps\\Quellmark Zarvo]\r\nInstallDir=";

// A device folder of the test's own, files put on it by their path below
// its root, and databases of the program on either side.
class DeviceExchangeTest : public ::testing::Test
{
protected:
    void SetUp() override { Platform::Clock::setFixedNow(1'700'000'000); }
    void TearDown() override
    {
        CDatabaseFile::SetFaultHook({});
        CBdD::CloseSharedConnection();
        CAppData::Clear();
        CUsers::SetUsersFolderSource({});
    }

    QString root() const { return TestFolders::file(QStringLiteral("Device")); }
    QString onDevice(const QString &below) const { return root() + u'/' + below; }
    void put(const QString &below, const QByteArray &data) const
    {
        TestFolders::writeFile(QStringLiteral("Device/") + below, data);
    }

    // A database of the current schema with one project and one entry of
    // its own (named `tag`), one row deleted and one changed here, as a
    // side holds before a synchronisation.
    static void makeDatabase(const QString &path, const QString &tag)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        CBdD db(path);
        ASSERT_TRUE(db.IsOpen()) << path.toStdString();
        for (const QString &sql : {
                 QStringLiteral("insert into Projets (Id,Nom,Parent,Deleted,Date_Modif,Origine_Modif) "
                                "values (32,'%1',-1,0,1000,1)"),
                 QStringLiteral("insert into Projets (Id,Nom,Parent,Deleted,Date_Modif,Origine_Modif) "
                                "values (35,'%1 supprimé',-1,1,1000,1)"),
                 QStringLiteral("insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,IdTauxHoraire,Deleted,"
                                "Date_Modif,Origine_Modif,Title) values (101,1000,2000,32,-1,-1,0,1000,1,'%1')"),
             })
            ASSERT_EQ(db.Execute(sql.arg(tag)), 0) << sql.toStdString();
    }
    // A device database at its usual place below a base.
    void makeDeviceDatabase(const QString &baseBelowRoot, const QString &tag)
    {
        makeDatabase(onDevice(baseBelowRoot + QStringLiteral("/Db/Zarvo.sdb")), tag);
    }

    // The first column of a query, read by the sqlite3 program: an
    // independent reader of the file.
    static QStringList shell(const QString &path, const QString &sql)
    {
        QProcess process;
        process.start(QStringLiteral("sqlite3"), {path, sql});
        EXPECT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        return QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    }

    // An exchange connected to the device folder, its database located.
    DeviceExchange connected(const QString &base)
    {
        put(QStringLiteral("registry.ini"), QByteArray(InstallKey) + base.toUtf8() + "\r\n");
        DeviceExchange exchange(root());
        EXPECT_TRUE(exchange.Connect());
        EXPECT_TRUE(exchange.LocateDeviceDatabase());
        return exchange;
    }
};

} // namespace

TEST_F(DeviceExchangeTest, ConnectingIsTheFolderBeingThere)
{
    DeviceExchange exchange(root());
    EXPECT_FALSE(exchange.Connect());
    EXPECT_FALSE(exchange.IsReady());
    put(QStringLiteral("Program Files/Zarvo/Db/Zarvo.sdb"), "x");
    put(QStringLiteral("Program Files/Zarvo/Id.txt"), "Léa");
    put(QStringLiteral("registry.ini"), QByteArray(InstallKey) + "\\Elsewhere\r\n");
    ASSERT_TRUE(exchange.Connect());
    EXPECT_TRUE(exchange.IsReady());
    ASSERT_TRUE(exchange.LocateDeviceDatabase());
    ASSERT_TRUE(exchange.ReadDeviceUserName());
    exchange.SetAssociatedUser(7, QStringLiteral("Léa"), QStringLiteral("/x/Zarvo.sdb"));
    exchange.Disconnect();
    EXPECT_FALSE(exchange.IsConnected());
    EXPECT_TRUE(exchange.DeviceBase().isEmpty());
    EXPECT_TRUE(exchange.DeviceUserName().isEmpty());
    EXPECT_EQ(exchange.GetLocalUserId(), -1);
    EXPECT_TRUE(exchange.GetLocalDatabasePath().isEmpty());
    EXPECT_TRUE(exchange.GetUserFolder().isEmpty());
}

TEST_F(DeviceExchangeTest, LocatingTheDeviceDatabase)
{
    // "Database_Location=" with its value's "é" on bytes 100 and 101.
    const QByteArray padding = "; " + QByteArray(100 - 2 - 1 - 18 - 6, 'x') + "\n";
    const QByteArray acrossChunks = padding + "Database_Location=Carte é\r\n";
    ASSERT_EQ(acrossChunks.indexOf("é"), 100);
    const struct
    {
        const char *name;
        QByteArray registry;
        QList<std::pair<QString, QByteArray>> files;
        bool found;
        QString base;
    } cases[] = {
        {"application data first",
         QByteArray(InstallKey) + "\\Program Files\\Zarvo\r\n[Special]\r\n26=\\Application Data\r\n",
         {{"Application Data/Zarvo/Db/Zarvo.sdb", "x"}, {"Program Files/Zarvo/Db/Zarvo.sdb", "x"}},
         true, "\\Application Data\\Zarvo\\"},
        {"a storage card named by Zarvo.ini",
         "[Special]\r\n26=\\Application Data\\\r\n" + QByteArray(InstallKey) + "\\Program Files\\Zarvo\\\r\n",
         {{"Application Data/Zarvo/Zarvo.ini", "[Options]\r\nDatabase_Location=Storage Card\r\nOther=1\r\n"},
          {"Storage Card/Zarvo/Db/Zarvo.sdb", "x"}},
         true, "\\Storage Card\\Zarvo\\"},
        {"a character across the first hundred bytes", "[Special]\r\n26=\\Application Data\r\n" + QByteArray(InstallKey) + "\\P\r\n",
         {{"Application Data/Zarvo/Zarvo.ini", acrossChunks}, {"Carte é/Zarvo/Db/Zarvo.sdb", "x"}},
         true, "\\Carte é\\Zarvo\\"},
        {"an empty location leaves the candidate", "[Special]\r\n26=\\Application Data\r\n" + QByteArray(InstallKey) + "\\P\r\n",
         {{"Application Data/Zarvo/Zarvo.ini", "Database_Location=\r\n"}, {"Application Data/Zarvo/Db/Zarvo.sdb", "x"}},
         true, "\\Application Data\\Zarvo\\"},
        {"a huge binary Zarvo.ini is read within bounds", "[Special]\r\n26=\\Application Data\r\n" + QByteArray(InstallKey) + "\\P\r\n",
         {{"Application Data/Zarvo/Zarvo.ini", QByteArray(70 * 1024, '\0') + "\nDatabase_Location=Storage Card\r\n"},
          {"Application Data/Zarvo/Db/Zarvo.sdb", "x"}, {"Storage Card/Zarvo/Db/Zarvo.sdb", "x"}},
         true, "\\Application Data\\Zarvo\\"},
        {"invalid UTF-8 around the location", "[Special]\r\n26=\\Application Data\r\n" + QByteArray(InstallKey) + "\\P\r\n",
         {{"Application Data/Zarvo/Zarvo.ini", "\xff\xfe\nDatabase_Location=Storage Card\r\n\xc3"},
          {"Storage Card/Zarvo/Db/Zarvo.sdb", "x"}},
         true, "\\Storage Card\\Zarvo\\"},
        {"a location leading out of the device", "[Special]\r\n26=\\Application Data\r\n" + QByteArray(InstallKey) + "\\P\r\n",
         {{"Application Data/Zarvo/Zarvo.ini", "Database_Location=..\\x\r\n"}, {"../x/Zarvo/Db/Zarvo.sdb", "x"}},
         false, QString()},
        {"the install folder, any case on disk", QByteArray(InstallKey) + "\\Storage Card\\Zarvo\r\n",
         {{"STORAGE CARD/zarvo/DB/zarvo.sdb", "x"}}, true, "\\Storage Card\\Zarvo\\"},
        {"the program files last", QByteArray(InstallKey) + "\\Elsewhere\\\r\n",
         {{"Program Files/Zarvo/Db/Zarvo.sdb", "x"}}, true, "\\Program Files\\Zarvo\\"},
        {"no install folder ends the search", "[Special]\r\n26=\\Application Data\r\n",
         {{"Program Files/Zarvo/Db/Zarvo.sdb", "x"}}, false, "\\Application Data\\Zarvo\\"},
        {"a garbled registry reads as none", "garbled\r\n" + QByteArray(InstallKey) + "\\Elsewhere\r\n",
         {{"Program Files/Zarvo/Db/Zarvo.sdb", "x"}}, false, QString()},
        {"nothing on the device", QByteArray(InstallKey) + "\\Elsewhere\r\n", {}, false, QString()},
        {"a folder where the database should be", QByteArray(InstallKey) + "\\Elsewhere\r\n",
         {{"Program Files/Zarvo/Db/Zarvo.sdb/inside", "x"}}, false, QString()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QDir(root()).removeRecursively();
        QDir(TestFolders::file(QStringLiteral("x"))).removeRecursively();
        put(QStringLiteral("registry.ini"), c.registry);
        for (const auto &[path, data] : c.files)
            put(path, data);
        DeviceExchange exchange(root());
        ASSERT_TRUE(exchange.Connect());
        EXPECT_EQ(exchange.LocateDeviceDatabase(), c.found);
        EXPECT_EQ(exchange.DeviceBase(), c.base);
        EXPECT_EQ(QFileInfo(exchange.DeviceDatabaseFile()).isFile(), c.found);
    }
}

TEST_F(DeviceExchangeTest, UsbDatabasePathsAndTheScanOfRemovableVolumes)
{
    const struct
    {
        const char *path;
        const char *base; // null: refused
    } cases[] = {
        {"/media/lea/KEY/Zarvo/Db/Zarvo.sdb", "/media/lea/KEY/Zarvo/"},
        {"/media/lea/KEY/ZARVO/DB/zarvo.SDB", "/media/lea/KEY/ZARVO/"},
        {"/Db/Zarvo.sdb", "/"},
        {"/media/lea/KEY/Zarvo/MyDb/Zarvo.sdb", nullptr},
        {"/media/lea/KEY/Zarvo/Db/Zarvo.sdb.bak", nullptr},
        {"/media/lea/KEY/Zarvo/Db/OldZarvo.sdb", nullptr},
        {"Zarvo.sdb", nullptr},
        {"Db/Zarvo.sdb", nullptr},
        {"", nullptr},
    };
    for (const auto &c : cases) {
        QString base;
        EXPECT_EQ(DeviceExchange::IsUsbDatabasePath(QString::fromUtf8(c.path), &base), c.base != nullptr) << c.path;
        if (c.base) {
            EXPECT_EQ(base, QString::fromUtf8(c.base)) << c.path;
        }
    }

    // Three volumes in mount-path order: the first holds no database, the
    // second one in other letter cases, the third one as written.
    const QString volumes = TestFolders::file(QStringLiteral("media"));
    TestFolders::writeFile(QStringLiteral("media/A/Zarvo/Db/Other.sdb"), "x");
    TestFolders::writeFile(QStringLiteral("media/B/ZARVO/db/zarvo.SDB"), "x");
    TestFolders::writeFile(QStringLiteral("media/C/Zarvo/Db/Zarvo.sdb"), "x");
    DeviceExchange exchange(root());
    exchange.SetTransport(DeviceExchange::Transport::UsbDisk);
    EXPECT_FALSE(exchange.ScanUsbDrives({volumes + QStringLiteral("/A"), volumes + QStringLiteral("/missing")}));
    EXPECT_TRUE(exchange.UsbDatabasePath().isEmpty());
    EXPECT_FALSE(exchange.IsReady());
    ASSERT_TRUE(exchange.ScanUsbDrives(
        {volumes + QStringLiteral("/A"), volumes + QStringLiteral("/B"), volumes + QStringLiteral("/C")}));
    EXPECT_EQ(exchange.UsbDatabasePath(), QFileInfo(volumes).canonicalFilePath() + QStringLiteral("/B/ZARVO/db/zarvo.SDB"));
    EXPECT_TRUE(exchange.IsReady());
    ASSERT_TRUE(exchange.LocateDeviceDatabase());
    EXPECT_EQ(exchange.DeviceBase(), QFileInfo(volumes).canonicalFilePath() + QStringLiteral("/B/ZARVO/"));
    EXPECT_EQ(exchange.DeviceDatabaseFile(), exchange.UsbDatabasePath());

    exchange.SetUsbDatabasePath(volumes + QStringLiteral("/A/Zarvo/Db/Other.sdb"));
    EXPECT_FALSE(exchange.LocateDeviceDatabase());
    EXPECT_TRUE(exchange.DeviceBase().isEmpty());
}

TEST_F(DeviceExchangeTest, TheAssociationFile)
{
    const QString hundred = QString(50, QChar(0xE9)); // 100 bytes of UTF-8
    const QString hundredAndOne = hundred + u'a';
    put(QStringLiteral("Program Files/Zarvo/Db/Zarvo.sdb"), "x");
    DeviceExchange device = connected(QStringLiteral("\\Program Files\\Zarvo\\"));
    const QString idFile = onDevice(QStringLiteral("Program Files/Zarvo/Id.txt"));
    for (const QString &name : {QStringLiteral("Élodie Mäkinen"), hundred}) {
        ASSERT_TRUE(device.WriteDeviceUserName(name));
        EXPECT_EQ(TestFolders::readFile(idFile), name.toUtf8());
        ASSERT_TRUE(device.ReadDeviceUserName());
        EXPECT_EQ(device.DeviceUserName(), name);
    }
    // Cut to a hundred bytes, the name would never match its user again.
    EXPECT_FALSE(device.WriteDeviceUserName(hundredAndOne));
    EXPECT_EQ(TestFolders::readFile(idFile), hundred.toUtf8());
    EXPECT_FALSE(device.WriteDeviceUserName(QString()));

    // Whatever the device holds reads as bounded text.
    const struct
    {
        const char *name;
        QByteArray file;
        QString read;
    } reads[] = {
        {"longer than a name", QByteArray(5000, 'a'), QString(100, u'a')},
        {"invalid UTF-8", "L\xff\xfe" "a", QStringLiteral("L\uFFFD\uFFFDa")},
        {"binary", QByteArray("a\0b", 3), QString::fromUtf8(QByteArray("a\0b", 3))},
    };
    for (const auto &r : reads) {
        put(QStringLiteral("Program Files/Zarvo/Id.txt"), r.file);
        ASSERT_TRUE(device.ReadDeviceUserName()) << r.name;
        EXPECT_EQ(device.DeviceUserName(), r.read) << r.name;
    }

    // On a USB disk: the first line of a text file, and no limit of a hundred bytes.
    put(QStringLiteral("Key/Zarvo/Db/Zarvo.sdb"), "x");
    DeviceExchange usb(root());
    usb.SetTransport(DeviceExchange::Transport::UsbDisk);
    usb.SetUsbDatabasePath(onDevice(QStringLiteral("Key/Zarvo/Db/Zarvo.sdb")));
    EXPECT_FALSE(usb.ReadDeviceUserName()); // not located yet
    ASSERT_TRUE(usb.LocateDeviceDatabase());
    EXPECT_FALSE(usb.ReadDeviceUserName()); // no file yet
    put(QStringLiteral("Key/Zarvo/Id.txt"), "\xEF\xBB\xBFLéa Dupré\r\nAutre ligne\r\n");
    ASSERT_TRUE(usb.ReadDeviceUserName());
    EXPECT_EQ(usb.DeviceUserName(), QStringLiteral("Léa Dupré"));
    ASSERT_TRUE(usb.WriteDeviceUserName(hundredAndOne));
    ASSERT_TRUE(usb.ReadDeviceUserName());
    EXPECT_EQ(usb.DeviceUserName(), hundredAndOne);
    put(QStringLiteral("Key/Zarvo/Id.txt"), QByteArray(1 << 20, 'z'));
    ASSERT_TRUE(usb.ReadDeviceUserName());
    EXPECT_EQ(usb.DeviceUserName().size(), Platform::DeviceFolder::MaxTextFileSize);

    // A device taken away cannot be associated.
    QDir(onDevice(QStringLiteral("Key"))).removeRecursively();
    EXPECT_FALSE(usb.WriteDeviceUserName(QStringLiteral("Léa")));
}

TEST_F(DeviceExchangeTest, TheDeviceNameFindsItsUser)
{
    const QString usersFolder = TestFolders::file(QStringLiteral("users/"));
    QDir().mkpath(usersFolder);
    CUsers::SetUsersFolderSource([usersFolder] { return usersFolder; });
    CUsers users;
    tUsers lea;
    lea.Nom = QStringLiteral("Léa");
    ASSERT_EQ(users.AddUser(lea), CUsers::Done);

    put(QStringLiteral("Program Files/Zarvo/Db/Zarvo.sdb"), "x");
    DeviceExchange exchange = connected(QStringLiteral("\\Program Files\\Zarvo\\"));
    put(QStringLiteral("Program Files/Zarvo/Id.txt"), "Léa");
    ASSERT_TRUE(exchange.ReadDeviceUserName());
    ASSERT_TRUE(exchange.FindAssociatedUser(users));
    EXPECT_EQ(exchange.GetLocalUserId(), lea.Id);
    EXPECT_EQ(exchange.GetUserFolder(), QStringLiteral("Léa"));
    EXPECT_EQ(exchange.GetLocalDatabasePath(), usersFolder + QStringLiteral("Léa/Zarvo.sdb"));

    put(QStringLiteral("Program Files/Zarvo/Id.txt"), "Personne");
    ASSERT_TRUE(exchange.ReadDeviceUserName());
    EXPECT_FALSE(exchange.FindAssociatedUser(users));
    EXPECT_EQ(exchange.GetLocalUserId(), -1);
    EXPECT_TRUE(exchange.GetLocalDatabasePath().isEmpty());
}

TEST_F(DeviceExchangeTest, CopiesFromTheDeviceTakeOnlyItsWholeDatabase)
{
    makeDeviceDatabase(QStringLiteral("Program Files/Zarvo"), QStringLiteral("Appareil"));
    DeviceExchange exchange = connected(QStringLiteral("\\Program Files\\Zarvo\\"));
    const QString working = DeviceExchange::WorkingFile(DeviceExchange::DeviceCopyFile);
    ASSERT_FALSE(working.isEmpty());
    ASSERT_TRUE(exchange.CopyDatabaseFromDevice(working));
    EXPECT_EQ(shell(working, QStringLiteral("select Nom from Projets where Id=32")), QStringList{"Appareil"});
    EXPECT_FALSE(QFileInfo::exists(CDatabaseFile::PartPath(working)));

    const QString device = exchange.DeviceDatabaseFile();
    const QByteArray kept = TestFolders::readFile(working);
    const QByteArray original = TestFolders::readFile(device);
    EXPECT_EQ(exchange.RefusedVersion(), -1);
    // The version of a refused file is told only for a file of a later
    // version, read there without writing it.
    const struct
    {
        const char *name;
        std::function<void()> spoil;
        int refusedVersion;
    } refusals[] = {
        {"not a database", [&] { TestFolders::writeFile(QStringLiteral("Device/Program Files/Zarvo/Db/Zarvo.sdb"), "texte"); },
         -1},
        {"a later version",
         [&] {
             SQLite::CmyDataBase db;
             ASSERT_EQ(db.Open(device), 0);
             ASSERT_EQ(db.Execute(u"update Infos set Value='3' where Name='VersionDB'"), 0);
         },
         3},
        {"a journal beside it", [&] { put(QStringLiteral("Program Files/Zarvo/Db/Zarvo.sdb-journal"), "j"); }, -1},
        {"a write-ahead log beside it", [&] { put(QStringLiteral("Program Files/Zarvo/Db/Zarvo.sdb-wal"), "w"); }, -1},
        {"a trigger",
         [&] {
             SQLite::CmyDataBase db;
             ASSERT_EQ(db.Open(device), 0);
             ASSERT_EQ(db.Execute(u"create trigger T after delete on Taches begin delete from Projets; end"), 0);
         },
         -1},
        {"no database", [&] { QFile::remove(device); }, -1},
    };
    // Over a working copy kept from before, and where there is none yet.
    const QString none = TestFolders::file(QStringLiteral("work/none.sdb"));
    QDir().mkpath(QFileInfo(none).absolutePath());
    for (const auto &r : refusals) {
        r.spoil();
        EXPECT_FALSE(exchange.CopyDatabaseFromDevice(working)) << r.name;
        EXPECT_EQ(TestFolders::readFile(working), kept) << r.name;
        EXPECT_FALSE(QFileInfo::exists(CDatabaseFile::PartPath(working))) << r.name;
        EXPECT_FALSE(exchange.CopyDatabaseFromDevice(none)) << r.name;
        EXPECT_EQ(QDir(QFileInfo(none).absolutePath()).entryList(QDir::Files | QDir::Hidden), QStringList()) << r.name;
        const QByteArray spoilt = TestFolders::readFile(device);
        EXPECT_EQ(exchange.RefusedVersion(), r.refusedVersion) << r.name;
        EXPECT_EQ(TestFolders::readFile(device), spoilt) << r.name;
        QFile::remove(device + QStringLiteral("-journal"));
        QFile::remove(device + QStringLiteral("-wal"));
        TestFolders::writeFile(QStringLiteral("Device/Program Files/Zarvo/Db/Zarvo.sdb"), original);
    }
}

TEST_F(DeviceExchangeTest, WritingBackNeedsTheDeviceDatabase)
{
    makeDeviceDatabase(QStringLiteral("Program Files/Zarvo"), QStringLiteral("Appareil"));
    DeviceExchange exchange = connected(QStringLiteral("\\Program Files\\Zarvo\\"));
    const QString local = TestFolders::file(QStringLiteral("work/Ppc.sdb"));
    makeDatabase(local, QStringLiteral("Fusion"));
    ASSERT_TRUE(exchange.CopyDatabaseToDevice(local));
    EXPECT_EQ(shell(exchange.DeviceDatabaseFile(), QStringLiteral("select Nom from Projets where Id=32")),
              QStringList{"Fusion"});
    EXPECT_EQ(TestFolders::readFile(onDevice(QStringLiteral("Program Files/Zarvo/Db/Sync.txt"))), QByteArray("Sync"));

    // The device's database was removed: only the marker is written.
    QDir(onDevice(QStringLiteral("Program Files/Zarvo/Db"))).removeRecursively();
    QDir().mkpath(onDevice(QStringLiteral("Program Files/Zarvo/Db")));
    EXPECT_FALSE(exchange.CopyDatabaseToDevice(local));
    EXPECT_EQ(QDir(onDevice(QStringLiteral("Program Files/Zarvo/Db"))).entryList(QDir::Files),
              QStringList{"Sync.txt"});

    // A file that could not replace a user's database goes nowhere, nor
    // does a sound database of an earlier version, which the device
    // program could not read.
    makeDeviceDatabase(QStringLiteral("Program Files/Zarvo"), QStringLiteral("Appareil"));
    const QByteArray device = TestFolders::readFile(exchange.DeviceDatabaseFile());
    const QString foreign = TestFolders::writeFile(QStringLiteral("work/foreign.sdb"), "not a database");
    EXPECT_FALSE(exchange.CopyDatabaseToDevice(foreign));
    const QString older = TestFolders::file(QStringLiteral("work/older.sdb"));
    makeDatabase(older, QStringLiteral("Ancienne"));
    {
        SQLite::CmyDataBase db;
        ASSERT_EQ(db.Open(older), 0);
        for (const char *sql : {"drop table Forecast", "drop table ProjectChilds", "alter table Projets drop column Type",
                                "alter table Projets drop column Activity", "alter table Projets drop column Title",
                                "update Infos set Value='1' where Name='VersionDB'"})
            ASSERT_EQ(db.Execute(QString::fromUtf8(sql)), 0) << sql;
    }
    const CDatabaseFile::CheckResult olderCheck = CDatabaseFile::CheckReplacement(older);
    ASSERT_TRUE(olderCheck.ok());
    ASSERT_EQ(olderCheck.version, 1);
    EXPECT_FALSE(exchange.CopyDatabaseToDevice(older));
    EXPECT_EQ(TestFolders::readFile(exchange.DeviceDatabaseFile()), device);
    put(QStringLiteral("Program Files/Zarvo/Db/Zarvo.sdb-journal"), "left by the device");
    EXPECT_FALSE(exchange.CopyDatabaseToDevice(local));
    EXPECT_EQ(TestFolders::readFile(exchange.DeviceDatabaseFile()), device);
}

TEST_F(DeviceExchangeTest, ACopyCutShortLeavesTheDeviceDatabaseAsItWas)
{
    makeDeviceDatabase(QStringLiteral("Program Files/Zarvo"), QStringLiteral("Appareil"));
    DeviceExchange exchange = connected(QStringLiteral("\\Program Files\\Zarvo\\"));
    const QString local = TestFolders::file(QStringLiteral("work/Ppc.sdb"));
    makeDatabase(local, QStringLiteral("Fusion"));
    const QString device = exchange.DeviceDatabaseFile();
    const QByteArray deviceBytes = TestFolders::readFile(device);
    const QByteArray localBytes = TestFolders::readFile(local);
    const QString away = root() + QStringLiteral(".away");

    const struct
    {
        const char *name;
        CDatabaseFile::FaultHook hook;
    } faults[] = {
        {"a step fails", [](CDatabaseFile::Stage) { return true; }},
        {"the device is pulled out",
         [&](CDatabaseFile::Stage) {
             EXPECT_TRUE(QDir().rename(root(), away));
             return false;
         }},
    };
    for (const auto &f : faults) {
        SCOPED_TRACE(f.name);
        CDatabaseFile::SetFaultHook(f.hook);
        EXPECT_FALSE(exchange.CopyDatabaseToDevice(local));
        CDatabaseFile::SetFaultHook({});
        if (QFileInfo::exists(away)) {
            ASSERT_TRUE(QDir().rename(away, root()));
        }
        EXPECT_FALSE(QFileInfo::exists(CDatabaseFile::PartPath(device)));
        EXPECT_EQ(TestFolders::readFile(device), deviceBytes);
        EXPECT_EQ(shell(device, QStringLiteral("pragma integrity_check")), QStringList{"ok"});
        EXPECT_EQ(TestFolders::readFile(local), localBytes);
    }
}

TEST_F(DeviceExchangeTest, WholeCopiesLeaveBothSidesTheSamePurgedFile)
{
    const QString usersFolder = TestFolders::file(QStringLiteral("users/"));
    const QString shared = TestFolders::file(QStringLiteral("lan"));
    const QString sharedCopy = shared + QStringLiteral("/Léa/Zarvo.sdb");
    const QString local = usersFolder + QStringLiteral("Léa/Zarvo.sdb");
    const QString workingCopy = DeviceExchange::WorkingFile(DeviceExchange::WholeCopyFile);
    int backups = 0;
    CAppData::SetUserBackupHook([&](int userId) {
        EXPECT_EQ(userId, 4);
        ++backups;
        return true;
    });
    CAnnulation history;
    CAppData::SetAnnulation(&history);

    const QString purgedLeft = QStringLiteral(
        "select (select count(*) from Projets where Deleted<>0 or Origine_Modif<>0)"
        " + (select count(*) from Taches where Deleted<>0 or Origine_Modif<>0)");
    const QString contents = QStringLiteral("select Id||'|'||Nom from Projets order by Id");
    for (const int direction : {0, 1}) {
        for (const bool currentUser : {true, false}) {
            SCOPED_TRACE(testing::Message() << "direction " << direction << (currentUser ? ", current user" : ""));
            QDir(root()).removeRecursively();
            QFile::remove(local);
            makeDeviceDatabase(QStringLiteral("Program Files/Zarvo"), QStringLiteral("Appareil"));
            makeDatabase(local, QStringLiteral("Local"));
            TestFolders::writeFile(QStringLiteral("lan/Léa/Zarvo.sdb"), "old shared copy");
            history.Reset();
            history.AddStep(QStringLiteral("redo"), QStringLiteral("undo"));
            backups = 0;

            DeviceExchange exchange = connected(QStringLiteral("\\Program Files\\Zarvo\\"));
            exchange.SetAssociatedUser(4, QStringLiteral("Léa"), local);
            DeviceExchange::WholeCopyOptions options;
            options.sharedFolder = shared;
            options.currentUser = currentUser;
            const DeviceExchange::WholeCopyResult result = exchange.CopyWholeDatabase(direction, options);
            ASSERT_EQ(result, DeviceExchange::WholeCopyResult::Copied);
            EXPECT_EQ(DeviceExchange::TextId(result), 243);

            const QString winner = direction == 0 ? QStringLiteral("Appareil") : QStringLiteral("Local");
            for (const QString &side : {exchange.DeviceDatabaseFile(), local}) {
                EXPECT_EQ(shell(side, contents), QStringList{QStringLiteral("32|") + winner});
                EXPECT_EQ(shell(side, purgedLeft), QStringList{"0"});
                EXPECT_EQ(shell(side, QStringLiteral("select Value from Infos where Name='Backup'")),
                          QStringList{"1700000000"});
            }
            EXPECT_FALSE(QFileInfo::exists(workingCopy));
            EXPECT_FALSE(QFileInfo::exists(sharedCopy));
            EXPECT_EQ(backups, 1);
            EXPECT_EQ(history.CanUndo(), !currentUser);
        }
    }

    // Without the backup asked for, none is made.
    DeviceExchange exchange = connected(QStringLiteral("\\Program Files\\Zarvo\\"));
    exchange.SetAssociatedUser(4, QStringLiteral("Léa"), local);
    DeviceExchange::WholeCopyOptions noBackup;
    noBackup.backupFirst = false;
    backups = 0;
    EXPECT_EQ(exchange.CopyWholeDatabase(1, noBackup), DeviceExchange::WholeCopyResult::Copied);
    EXPECT_EQ(backups, 0);
}

TEST_F(DeviceExchangeTest, AFailedWholeCopyLeavesTheLocalDatabase)
{
    const QString local = TestFolders::file(QStringLiteral("users/Léa/Zarvo.sdb"));
    makeDeviceDatabase(QStringLiteral("Program Files/Zarvo"), QStringLiteral("Appareil"));
    makeDatabase(local, QStringLiteral("Local"));
    const QByteArray localBytes = TestFolders::readFile(local);
    CAnnulation history;
    CAppData::SetAnnulation(&history);
    history.AddStep(QStringLiteral("redo"), QStringLiteral("undo"));

    DeviceExchange exchange = connected(QStringLiteral("\\Program Files\\Zarvo\\"));
    exchange.SetAssociatedUser(4, QStringLiteral("Léa"), local);
    DeviceExchange::WholeCopyOptions options;
    options.currentUser = true;
    // The device write fails: a journal the device program left.
    put(QStringLiteral("Program Files/Zarvo/Db/Zarvo.sdb-journal"), "j");
    for (const int direction : {0, 1}) {
        const DeviceExchange::WholeCopyResult result = exchange.CopyWholeDatabase(direction, options);
        EXPECT_EQ(result, DeviceExchange::WholeCopyResult::Failed);
        EXPECT_EQ(DeviceExchange::TextId(result), 244);
    }
    QFile::remove(onDevice(QStringLiteral("Program Files/Zarvo/Db/Zarvo.sdb-journal")));
    // The device's database carries code of its own, which the purge of the
    // copy would run and the local database would keep.
    const QString device = exchange.DeviceDatabaseFile();
    const struct
    {
        const char16_t *code;
        const char16_t *undo;
    } codes[] = {
        {u"create trigger Espion after delete on Projets begin "
         u"insert into Activites (Id,Nom,Deleted) values (900,'espion',0); end",
         u"drop trigger Espion"},
        {u"create view Vue as select * from Taches", u"drop view Vue"},
        {u"create virtual table Cherche using rtree(Id, Debut, Fin)", u"drop table Cherche"},
    };
    for (const auto &c : codes) {
        SCOPED_TRACE(QString::fromUtf16(c.code).toStdString());
        {
            SQLite::CmyDataBase db;
            ASSERT_EQ(db.Open(device), 0);
            ASSERT_EQ(db.Execute(c.code), 0);
        }
        const QByteArray deviceBytes = TestFolders::readFile(device);
        EXPECT_EQ(exchange.CopyWholeDatabase(0, options), DeviceExchange::WholeCopyResult::Failed);
        EXPECT_EQ(TestFolders::readFile(local), localBytes);
        EXPECT_EQ(TestFolders::readFile(device), deviceBytes);
        EXPECT_TRUE(history.CanUndo());
        SQLite::CmyDataBase db;
        ASSERT_EQ(db.Open(device), 0);
        ASSERT_EQ(db.Execute(c.undo), 0);
    }
    // The device's database is no database.
    put(QStringLiteral("Program Files/Zarvo/Db/Zarvo.sdb"), "texte");
    EXPECT_EQ(exchange.CopyWholeDatabase(0, options), DeviceExchange::WholeCopyResult::Failed);
    EXPECT_EQ(TestFolders::readFile(local), localBytes);
    EXPECT_TRUE(history.CanUndo());
    EXPECT_FALSE(QFileInfo::exists(DeviceExchange::WorkingFile(DeviceExchange::WholeCopyFile)));

    // Without an associated user there is nothing to copy.
    exchange.SetAssociatedUser(-1, QString(), QString());
    EXPECT_EQ(exchange.CopyWholeDatabase(1, options), DeviceExchange::WholeCopyResult::Failed);
}

TEST_F(DeviceExchangeTest, TheWorkingFolderIsPrivate)
{
    const QString expected = TestFolders::root() + QStringLiteral("/home/.cache/Zarvo");
    ASSERT_TRUE(QDir().mkpath(expected));
    ASSERT_EQ(::chmod(QFile::encodeName(expected).constData(), 0755), 0);
    EXPECT_EQ(DeviceExchange::WorkingFolder(), expected);
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(expected).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0700u);
    EXPECT_EQ(DeviceExchange::WorkingFile(DeviceExchange::DeviceCopyFile), expected + QStringLiteral("/Ppc.sdb"));

    // A link in its place (to a folder others may read) is not taken.
    ASSERT_TRUE(QDir(expected).removeRecursively());
    ASSERT_TRUE(QDir().mkpath(TestFolders::file(QStringLiteral("shared"))));
    ASSERT_TRUE(QFile::link(TestFolders::file(QStringLiteral("shared")), expected));
    EXPECT_TRUE(DeviceExchange::WorkingFolder().isEmpty());
    EXPECT_TRUE(DeviceExchange::WorkingFile(DeviceExchange::WholeCopyFile).isEmpty());
}
