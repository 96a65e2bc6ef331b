// The rights of every copy the programs make of a user's database: a
// backup, the network folder's copy, the kept copy of a synchronisation,
// the device's database written and the local one replaced. None is more
// open than the database it comes from, and a folder made to hold copies is
// no more open than the user's own folder.
#include "CAppData.h"
#include "CBackupFiles.h"
#include "CBdD.h"
#include "CConfiguration.h"
#include "CNetworkUpdate.h"
#include "Clock.h"
#include "CmyDataBase.h"
#include "DeviceExchange.h"
#include "FolderMoveMarker.h"
#include "FolderMovePlan.h"
#include "NewUserFiles.h"
#include "RecordedTotalsCache.h"
#include "SyncAnalysis.h"
#include "SyncFileStages.h"
#include "SyncPending.h"
#include "SyncRun.h"
#include "TestFolders.h"
#include "UserSyncSetup.h"
#include "UsersFolder.h"
#include "tUsers.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <string>

#include <sys/stat.h>

namespace {

constexpr int UserId = 7;
constexpr const char *InstallKey = "[HKLM\\Software\\Apps\\Quellmark Zarvo]\r\nInstallDir=\\Program Files\\Zarvo\r\n";

class Steps : public SyncSteps
{
public:
    void AppendStep(int textId, int state) override { list << QStringLiteral("%1:%2").arg(textId).arg(state); }
    void SetLastStepState(int) override {}
    bool Cancelled() override { return false; }
    QStringList list;
};

// The process's umask for the length of one case.
class Umask
{
public:
    explicit Umask(mode_t mask) : m_before(::umask(mask)) {}
    ~Umask() { ::umask(m_before); }
    Umask(const Umask &) = delete;
    Umask &operator=(const Umask &) = delete;

private:
    mode_t m_before;
};

mode_t modeOf(const QString &path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return 07777; // a missing file counts as open to all
    return info.st_mode & 07777;
}

// A mode as it is written, "0640", for the messages of a failure.
std::string octal(mode_t mode)
{
    return QStringLiteral("0%1").arg(mode, 3, 8, QLatin1Char('0')).toStdString();
}

void setMode(const QString &path, mode_t mode)
{
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0) << path.toStdString();
}

void make(const QString &path, std::initializer_list<const char *> statements)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    CBdD db(path);
    ASSERT_TRUE(db.IsOpen());
    for (const char *sql : statements)
        ASSERT_EQ(db.Execute(QString::fromUtf8(sql)), 0) << sql;
}

class CopyModesTest : public ::testing::Test
{
protected:
    void SetUp() override { Platform::Clock::setFixedNow(1'700'000'000); }
    void TearDown() override
    {
        CBdD::CloseSharedConnection();
        CAppData::Clear();
        Platform::Clock::reset();
    }
};

} // namespace

TEST_F(CopyModesTest, NoCopyIsMoreOpenThanItsSource)
{
    const struct
    {
        const char *name;
        mode_t local;  // the user's database
        mode_t device; // the device's database before the run
        mode_t umask;
    } cases[] = {
        {"owner alone", 0600, 0600, 022},
        {"owner and group", 0640, 0640, 022},
        {"everyone reads", 0644, 0644, 022},
        {"the user's database stricter than the device's", 0600, 0644, 022},
        {"group writes, the umask forbids it", 0664, 0664, 022},
        {"a umask stricter than the source", 0644, 0644, 077},
    };
    int round = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const Umask umask(c.umask);
        const QString base = TestFolders::file(QStringLiteral("case%1").arg(++round));
        const QString userFolder = base + QStringLiteral("/users/Anne");
        const QString local = userFolder + QStringLiteral("/Zarvo.sdb");
        const QString root = base + QStringLiteral("/Device");
        const QString deviceDb = root + QStringLiteral("/Program Files/Zarvo/Db/Zarvo.sdb");
        make(local, {"insert into Projets (Id,Nom,Parent,Deleted,Date_Modif,Origine_Modif) values (32,'ici',-1,0,2000,1)",
                     "update Infos set Value='2000' where Name='Modif'"});
        make(deviceDb, {"insert into Projets (Id,Nom,Parent,Deleted,Date_Modif,Origine_Modif) values "
                        "(33,'appareil',-1,0,1500,1)",
                        "update Infos set Value='1500' where Name='Modif'"});
        TestFolders::writeFile(QStringLiteral("case%1/Device/registry.ini").arg(round), InstallKey);
        // The user keeps their folder and database to themselves.
        setMode(userFolder, 0700);
        setMode(local, c.local);
        setMode(deviceDb, c.device);
        const mode_t fromLocal = c.local & ~c.umask;
        const mode_t merged = c.local & c.device & ~c.umask;

        // A backup, in a folder made for it.
        CConfiguration settings;
        settings.backup = true;
        settings.backupFolder = base + QStringLiteral("/Backups/");
        QDir().mkpath(settings.backupFolder);
        ASSERT_TRUE(CBackupFiles::Make(settings, {local, QStringLiteral("Anne"), false, false}));
        const QString backups = settings.backupFolder + QStringLiteral("Anne");
        const QStringList made = QDir(backups).entryList(QDir::Files);
        ASSERT_EQ(made.size(), 1);
        EXPECT_EQ(octal(modeOf(backups + u'/' + made.first())), octal(fromLocal)) << "backup";
        EXPECT_EQ(modeOf(backups) & ~modeOf(userFolder), 0u) << "backup folder";

        // The synchronisation, its copy kept between its two writes.
        DeviceExchange exchange(root);
        ASSERT_TRUE(exchange.Connect());
        ASSERT_TRUE(exchange.LocateDeviceDatabase());
        SyncPending::Drop(UserId);
        const SyncAnalysis::Input in = UserAnalysisInput(exchange, local, UserId);
        const SyncAnalysis::Result analysis = SyncAnalysis::Run(in, nullptr);
        ASSERT_EQ(analysis.outcome, SyncAnalysis::Outcome::Differences);
        SyncRun::Stages stages = SyncFileStages::Make(UserRunSetup(in, analysis));
        mode_t kept = 07777;
        mode_t keptFolder = 07777;
        const auto write = stages.writeDevice;
        stages.writeDevice = [&, write] {
            const QString copy = SyncPending::CopyPath(UserId);
            kept = modeOf(copy);
            keptFolder = modeOf(QFileInfo(copy).absolutePath());
            return write();
        };
        Steps steps;
        ASSERT_EQ(SyncRun(stages).Run(steps), SyncRun::Outcome::Succeeded) << steps.list.join(u' ').toStdString();
        EXPECT_EQ(octal(kept), octal(merged)) << "kept copy";
        EXPECT_EQ(keptFolder & ~modeOf(userFolder), 0u) << "kept copy's folder";
        EXPECT_EQ(octal(modeOf(deviceDb)), octal(merged)) << "device write";
        EXPECT_EQ(octal(modeOf(local)), octal(c.local)) << "local replacement";

        // The network folder's copy, looked at while it is installed.
        const QString share = base + QStringLiteral("/share/");
        const QString shared = CNetworkUpdate::SharedCopyPath(share, QStringLiteral("Anne"));
        make(shared, {"insert into Projets (Id,Nom,Parent,Deleted,Date_Modif,Origine_Modif) values (34,'réseau',-1,0,3000,0)"});
        setMode(shared, c.local);
        const QByteArray tmp = qgetenv("TMPDIR");
        const QString ownTmp = base + QStringLiteral("/tmp");
        QDir().mkpath(ownTmp);
        qputenv("TMPDIR", QFile::encodeName(ownTmp));
        mode_t networkCopy = 07777;
        mode_t networkFolder = 07777;
        CNetworkUpdate::Steps networkSteps;
        networkSteps.backupIfDue = [&] {
            const QStringList folders = QDir(ownTmp).entryList({QStringLiteral("Zarvo-*")}, QDir::Dirs);
            ASSERT_EQ(folders.size(), 1);
            networkFolder = modeOf(ownTmp + u'/' + folders.first());
            networkCopy = modeOf(ownTmp + u'/' + folders.first() + QStringLiteral("/zarvo.db"));
        };
        const CNetworkUpdate::Outcome outcome =
            CNetworkUpdate::Run({share, QStringLiteral("Anne"), local}, networkSteps);
        if (tmp.isNull())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", tmp);
        ASSERT_EQ(outcome, CNetworkUpdate::Outcome::Updated);
        EXPECT_EQ(octal(networkCopy), octal(fromLocal)) << "network folder's copy";
        EXPECT_EQ(networkFolder & ~modeOf(userFolder), 0u) << "network copy's folder";
        EXPECT_EQ(octal(modeOf(local)), octal(c.local)) << "local replaced from the network folder";
        CBdD::CloseSharedConnection();

        // The device's database copied whole for a user whose folder is
        // gone: the folder is made again, for its owner alone.
        const QString gone = base + QStringLiteral("/users/Zoé/Zarvo.sdb");
        exchange.SetAssociatedUser(UserId, QStringLiteral("Zoé"), gone);
        DeviceExchange::WholeCopyOptions whole;
        whole.backupFirst = false;
        ASSERT_EQ(exchange.CopyWholeDatabase(0, whole), DeviceExchange::WholeCopyResult::Copied);
        ASSERT_TRUE(QFileInfo(gone).isFile());
        EXPECT_EQ(octal(modeOf(QFileInfo(gone).absolutePath())), octal(0700)) << "user's folder of a whole copy";
    }
}

// What else is kept of a user's data: the recorded totals kept between runs
// (the sums and the database's path) are no more open than the database,
// in folders only their owner enters, and a new user's folder is the
// user's alone, whatever the umask. A totals file an older version left
// open is narrowed at its next save; the program's folders it left open
// are narrowed as soon as the totals are read, below the user's cache,
// which keeps its rights. A folder the user put a link in place of is
// left as the user made it.
TEST_F(CopyModesTest, TheKeptTotalsAndANewUsersFolderAreAsPrivateAsTheData)
{
    const struct
    {
        const char *name;
        mode_t database;
        mode_t umask;
        mode_t before;  // a totals file left by an older version (0: none)
        mode_t folders; // the cache's folders an older version left (0: none)
        bool link;      // the program's folder in the cache a link of the user's
    } cases[] = {
        {"owner alone", 0600, 022, 0, 0, false},
        {"owner and group", 0640, 022, 0, 0, false},
        {"everyone reads", 0644, 022, 0, 0, false},
        {"a umask stricter than the database", 0644, 077, 0, 0, false},
        {"a file an older version left open", 0600, 022, 0644, 0, false},
        {"folders an older version left open", 0600, 022, 0644, 0755, false},
        {"folders open to the group and its writes", 0640, 002, 0640, 0775, false},
        {"the program's folder a link to one of the user's", 0600, 022, 0, 0755, true},
    };
    const QByteArray cacheBefore = qgetenv("XDG_CACHE_HOME");
    int round = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const Umask umask(c.umask);
        const QString base = TestFolders::file(QStringLiteral("totals%1").arg(++round));
        const QString cache = base + QStringLiteral("/cache");
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cache));
        const QString database = base + QStringLiteral("/Anne/Zarvo.sdb");
        make(database, {"insert into Projets (Id,Nom,Parent,Deleted,Date_Modif,Origine_Modif) values (32,'ici',-1,0,2000,1)"});
        setMode(database, c.database);
        const QString kept = RecordedTotalsCache::FileFor(database);
        ASSERT_TRUE(kept.startsWith(cache + u'/'));
        const QString program = cache + QStringLiteral("/Zarvo");
        const QString totals = QFileInfo(kept).absolutePath();
        ASSERT_EQ(QFileInfo(totals).absolutePath(), program);
        const QString linked = base + QStringLiteral("/elsewhere");
        QDir().mkpath(cache);
        setMode(cache, 0755);
        if (c.link) {
            QDir().mkpath(linked);
            ASSERT_TRUE(QFile::link(linked, program));
            setMode(linked, c.folders);
        }
        if (c.before != 0) {
            TestFolders::writeFile(kept.mid(TestFolders::root().size() + 1), "left by an older version");
            setMode(kept, c.before);
        }
        const auto leaveOpen = [&] {
            if (!c.link)
                setMode(program, c.folders);
            setMode(totals, c.folders);
        };
        // The program's folders, its own alone; the user's cache and a
        // folder a link leads to as they were.
        const auto expectClosed = [&](const char *when) {
            SCOPED_TRACE(when);
            EXPECT_EQ(octal(modeOf(totals)), octal(0700)) << "totals folder";
            EXPECT_EQ(octal(modeOf(program)), octal(c.link ? c.folders : 0700)) << "program's folder";
            EXPECT_EQ(octal(modeOf(cache)), octal(0755)) << "user's cache";
        };
        if (c.folders != 0) {
            QDir().mkpath(totals);
            leaveOpen();
            RecordedTotalsCache::Snapshot unread;
            RecordedTotalsCache::Load(database, unread);
            if (c.before != 0)
                expectClosed("read");
            leaveOpen();
        }

        RecordedTotalsCache::Snapshot snapshot;
        snapshot.databasePath = database;
        snapshot.rows.push_back({32, -1, 3, 5400, 1000, 9000});
        ASSERT_TRUE(RecordedTotalsCache::Save(snapshot));
        EXPECT_EQ(octal(modeOf(kept)), octal(c.database & ~c.umask)) << "totals file";
        expectClosed("written");
        RecordedTotalsCache::Snapshot read;
        ASSERT_TRUE(RecordedTotalsCache::Load(database, read));
        ASSERT_EQ(read.rows.size(), 1u);
        EXPECT_EQ(read.rows.front().total, 5400);

        // A new user's folder, made by the users' dialogs and wizards.
        const QString users = base + QStringLiteral("/users/");
        UsersFolder::SetSource([users] { return users; });
        tUsers user;
        user.Nom = QStringLiteral("Bob");
        EXPECT_TRUE(NewUserFiles::MakeFolder(user));
        UsersFolder::SetSource({});
        EXPECT_EQ(octal(modeOf(users + QStringLiteral("Bob"))), octal(0700 & ~c.umask)) << "new user's folder";
    }
    qputenv("XDG_CACHE_HOME", cacheBefore);
}

// The folders a move of the options makes to hold the users' databases or
// their backups, and the one it sets the locked databases aside in until
// they are deleted, are their owner's alone whatever the umask; a folder
// made for the report templates, and one made above the users' folder on
// the way, follow the umask.
TEST_F(CopyModesTest, AMoveMakesTheFoldersOfTheUsersDatabasesForTheirOwnerAlone)
{
    for (const mode_t mask : {mode_t(022), mode_t(002), mode_t(077)}) {
        SCOPED_TRACE(octal(mask));
        const Umask umask(mask);
        const QString base = TestFolders::file(QStringLiteral("move%1").arg(mask, 3, 8, QLatin1Char('0')));
        const QString from = base + QStringLiteral("/old/Users");
        make(from + QStringLiteral("/Users.sdb"), {});
        make(from + QStringLiteral("/Anne/Zarvo.sdb"),
             {"insert into Projets (Id,Nom,Parent,Deleted,Date_Modif,Origine_Modif) values (32,'ici',-1,0,2000,1)"});
        TestFolders::writeFile(QStringLiteral("move%1/old/Modeles/Facture.tpl").arg(mask, 3, 8, QLatin1Char('0')),
                               "template");

        FolderMovePlan::Move users;
        users.source = from + u'/';
        users.target = base + QStringLiteral("/new/Users/");
        users.entries = {QStringLiteral("Users.sdb"), QStringLiteral("Anne")};
        users.lockDatabases = true;
        users.privateTarget = true;
        FolderMovePlan::Move templates;
        templates.source = base + QStringLiteral("/old/Modeles/");
        templates.target = base + QStringLiteral("/shared/Modeles/");
        FolderMovePlan plan;
        plan.Add(users);
        plan.Add(templates);
        ASSERT_EQ(plan.Check().problem, FolderMovePlan::Problem::None);
        ASSERT_TRUE(plan.Copy());
        EXPECT_EQ(octal(modeOf(base + QStringLiteral("/new/Users"))), octal(0700));
        // The folder above, made on the way, is the user's own place and
        // follows the umask as the templates' do.
        for (const char *made : {"/new", "/shared", "/shared/Modeles"})
            EXPECT_EQ(octal(modeOf(base + QLatin1String(made))), octal(0777 & ~mask)) << made;

        const QString aside = from + u'/' + FolderMoveMarker::AsideFolderName();
        mode_t asideMode = 07777;
        FolderMovePlan::SetFaultHook([&](FolderMovePlan::Stage, const QString &) {
            if (QFileInfo::exists(aside))
                asideMode = modeOf(aside);
            return false;
        });
        const bool removed = plan.RemoveOriginals();
        FolderMovePlan::SetFaultHook({});
        ASSERT_TRUE(removed);
        EXPECT_EQ(octal(asideMode), octal(0700)) << "the databases set aside";
        EXPECT_FALSE(QFileInfo::exists(aside));
        EXPECT_TRUE(QFileInfo(base + QStringLiteral("/new/Users/Anne/Zarvo.sdb")).isFile());
    }
}
