// Backups of the user database: names, due check, clashes and pruning.
#include "CBackupFiles.h"
#include "CConfiguration.h"
#include "CDatabaseFile.h"
#include "CmyDataBase.h"
#include "Clock.h"
#include "QStringPrinter.h"
#include "TestFolders.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

// 15 January 2013, 09:30:00 in Paris.
const QDateTime Base(QDate(2013, 1, 15), QTime(9, 30, 0));

class BackupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Platform::Clock::setFixedNow(Base.toSecsSinceEpoch());
        root = TestFolders::root() + QStringLiteral("/Backups/");
        QDir().mkpath(root);
        settings.backup = true;
        settings.backupFolder = root;
        settings.backupPeriode = 0; // one day
        settings.backupKeep = 3;    // seven days
        database = TestFolders::tempDb(QStringLiteral("Zarvo.sdb"));
        SQLite::CmyDataBase db;
        ASSERT_EQ(db.Open(database), 0);
        db.Execute(u"create table Infos (Name text, Value text)");
        db.Execute(u"insert into Infos values ('VersionDB','2')");
    }
    void TearDown() override { Platform::Clock::reset(); }

    bool automatic(bool checkDue = true)
    {
        return CBackupFiles::Make(settings, {database, QStringLiteral("Anne"), true, checkDue});
    }
    bool manual() { return CBackupFiles::Make(settings, {database, QStringLiteral("Anne"), false, false}); }
    QString folder() const { return root + QStringLiteral("Anne/"); }
    QStringList files() const { return QDir(folder()).entryList(QDir::Files, QDir::Name); }
    void touch(const QString &name) const { QFile(folder() + name).open(QIODevice::WriteOnly); }
    static void at(const QDateTime &t) { Platform::Clock::setFixedNow(t.toSecsSinceEpoch()); }

    CConfiguration settings;
    QString root;
    QString database;
};

} // namespace

TEST(BackupNamesTest, OnlyTheExactFormIsABackup)
{
    EXPECT_EQ(CBackupFiles::FileName(QStringLiteral("Zarvo"), u'A', Base, QStringLiteral(".sdb")),
              QStringLiteral("Zarvo_A20130115093000.sdb"));
    const struct
    {
        const char *name;
        bool read;
        QDateTime stamp;
    } cases[] = {
        {"Zarvo_A20130115093000.sdb", true, Base},
        {"Zarvo_A20241231235959.sdb", true, QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59))},
        {"Zarvo_A_old.sdb", false, {}},
        {"Zarvo_A2013011509300.sdb", false, {}},   // 13 digits
        {"Zarvo_A201301150930001.sdb", false, {}}, // 15 digits
        {"Zarvo_A2013011509300x.sdb", false, {}},
        {"Zarvo_A20131315093000.sdb", false, {}}, // month 13
        {"Zarvo_A20130115250000.sdb", false, {}}, // hour 25
        {"Zarvo_M20130115093000.sdb", false, {}}, // other kind
        {"Other_A20130115093000.sdb", false, {}},
        {"Zarvo_A20130115093000.bak", false, {}},
        {"Zarvo_A20130115093000.sdb.part", false, {}},
    };
    for (const auto &c : cases) {
        QDateTime stamp;
        EXPECT_EQ(CBackupFiles::ReadStamp(QString::fromLatin1(c.name), QStringLiteral("Zarvo"), u'A',
                                          QStringLiteral(".sdb"), stamp),
                  c.read)
            << c.name;
        if (c.read) {
            EXPECT_EQ(stamp, c.stamp) << c.name;
        }
    }
}

TEST_F(BackupTest, TheFirstAutomaticBackupMakesTheFolderAndAWholeCopy)
{
    ASSERT_FALSE(QFileInfo::exists(folder()));
    ASSERT_TRUE(automatic());
    ASSERT_EQ(files(), QStringList{QStringLiteral("Zarvo_A20130115093000.sdb")});
    const CDatabaseFile::CheckResult copy = CDatabaseFile::Check(folder() + files().front());
    EXPECT_TRUE(copy.ok());
    EXPECT_EQ(copy.version, 2);
}

TEST_F(BackupTest, AnAutomaticBackupIsMadeOnlyWhenDue)
{
    ASSERT_TRUE(automatic());
    const struct
    {
        int periode;
        QDateTime now;
        bool made;
    } cases[] = {
        {0, Base.addSecs(3600), false},         // one day: an hour later
        {0, Base.addDays(1), false}, // exactly a day: the last copy is not earlier
        {0, Base.addDays(1).addSecs(1), true},
        {3, Base.addDays(6), false}, // a week
        {3, Base.addDays(8), true},
    };
    for (const auto &c : cases) {
        // Each case starts from the one copy made at Base.
        for (const QString &f : files()) {
            if (f != QStringLiteral("Zarvo_A20130115093000.sdb"))
                QFile::remove(folder() + f);
        }
        settings.backupPeriode = c.periode;
        at(c.now);
        EXPECT_EQ(automatic(), c.made) << c.now.toString().toStdString();
    }
    // Without a due check (the synchronisation's backup) a copy is always made.
    at(Base.addSecs(60));
    EXPECT_TRUE(automatic(false));
}

TEST_F(BackupTest, TheMostRecentAutomaticBackupDecidesWhetherOneIsDue)
{
    settings.backupKeep = 9; // nothing pruned: the old copies stay in the folder
    QDir().mkpath(folder());
    for (const char *old : {"Zarvo_A20121201093000.sdb", "Zarvo_A20130110093000.sdb", "Zarvo_A20120615093000.sdb"})
        touch(QString::fromLatin1(old));
    ASSERT_TRUE(automatic()); // the recent one, at Base
    at(Base.addSecs(3600));
    EXPECT_FALSE(automatic());
    at(Base.addDays(1).addSecs(1));
    EXPECT_TRUE(automatic());
}

TEST_F(BackupTest, ForeignAndFutureNamesNeitherStopNorPruneBackups)
{
    QDir().mkpath(folder());
    // A later stamp (the clock was set back since) and names of other forms.
    touch(QStringLiteral("Zarvo_A20300101000000.sdb"));
    touch(QStringLiteral("Zarvo_A_old.sdb"));
    touch(QStringLiteral("Zarvo_A99999999999999.sdb"));
    ASSERT_TRUE(automatic());
    // Two weeks on: the retention of a week prunes the January copy only.
    touch(QStringLiteral("Zarvo_M20130101000000.sdb"));
    at(Base.addDays(14));
    ASSERT_TRUE(automatic());
    EXPECT_EQ(files(), (QStringList{QStringLiteral("Zarvo_A20130129093000.sdb"),
                                    QStringLiteral("Zarvo_A20300101000000.sdb"),
                                    QStringLiteral("Zarvo_A99999999999999.sdb"),
                                    QStringLiteral("Zarvo_A_old.sdb"),
                                    QStringLiteral("Zarvo_M20130101000000.sdb")}));
}

TEST_F(BackupTest, KeepAllNeverPrunes)
{
    settings.backupKeep = 9;
    ASSERT_TRUE(automatic());
    at(Base.addDays(400));
    ASSERT_TRUE(automatic());
    EXPECT_EQ(files().size(), 2);
}

TEST_F(BackupTest, ClashingNamesMoveTheStampOnBySeconds)
{
    ASSERT_TRUE(manual());
    ASSERT_TRUE(manual());
    EXPECT_EQ(files(), (QStringList{QStringLiteral("Zarvo_M20130115093000.sdb"),
                                    QStringLiteral("Zarvo_M20130115093001.sdb")}));
    // Twenty names taken after the first one: the twenty-first second is the
    // last one tried, then no copy.
    for (int s = 2; s <= CBackupFiles::MaxClashes; ++s)
        touch(CBackupFiles::FileName(QStringLiteral("Zarvo"), u'M', Base.addSecs(s), QStringLiteral(".sdb")));
    EXPECT_FALSE(manual());
    EXPECT_EQ(files().size(), CBackupFiles::MaxClashes + 1);
}

TEST_F(BackupTest, NothingIsWrittenWithoutBackupsARootOrAUsableName)
{
    // A manual backup right after an automatic one is still made.
    ASSERT_TRUE(automatic());
    EXPECT_TRUE(manual());
    const int made = static_cast<int>(files().size());

    settings.backup = false;
    EXPECT_FALSE(manual());
    EXPECT_FALSE(automatic(false));
    settings.backup = true;
    settings.backupFolder = root + QStringLiteral("missing/");
    EXPECT_FALSE(manual());
    settings.backupFolder = root;
    EXPECT_FALSE(CBackupFiles::Make(settings, {QString(), QStringLiteral("Anne"), false, false}));
    for (const char *name : {"..", "", "a/b", "."})
        EXPECT_FALSE(CBackupFiles::Make(settings, {database, QString::fromLatin1(name), false, false})) << name;
    EXPECT_EQ(files().size(), made);
    EXPECT_EQ(QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{QStringLiteral("Anne")});
}

TEST_F(BackupTest, ACopyTakenDuringAnotherConnectionsWriteOpensWhole)
{
    SQLite::CmyDataBase writer;
    ASSERT_EQ(writer.Open(database), 0);
    ASSERT_TRUE(writer.BeginTransaction());
    writer.Execute(u"create table Pending (x)");
    writer.Execute(u"insert into Infos values ('Mark','uncommitted')");
    ASSERT_TRUE(manual());
    writer.RollbackTransaction();
    const QString copy = folder() + files().front();
    ASSERT_TRUE(CDatabaseFile::Check(copy).ok());
    SQLite::CmyDataBase read;
    ASSERT_EQ(read.OpenReadOnly(copy), 0);
    EXPECT_EQ(read.Query(u"select count(*) from Infos")->GetCell(0, 0), QStringLiteral("1"));
}
