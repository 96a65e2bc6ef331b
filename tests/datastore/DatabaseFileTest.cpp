// Safe copies of live database files: checks, copies into place and
// replacement of an open database.
#include "CBdD.h"
#include "CDatabaseFile.h"
#include "CmyDataBase.h"
#include "QStringPrinter.h"
#include "TestFolders.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <time.h>

using SQLite::CmyDataBase;

namespace {

// A small database with an Infos table, a version and `rows` rows of
// padding (enough rows make it span many pages).
QString makeDatabase(const QString &name, int version, const QString &mark, int rows = 1)
{
    const QString path = TestFolders::tempDb(name);
    CmyDataBase db;
    EXPECT_EQ(db.Open(path), 0);
    db.Execute(u"create table Infos (Name text, Value text)");
    if (version > 0)
        db.Execute(QStringLiteral("insert into Infos values ('VersionDB','%1')").arg(version));
    db.Execute(QStringLiteral("insert into Infos values ('Mark','%1')").arg(mark));
    db.Execute(u"create table Padding (Id integer primary key, Text text)");
    db.BeginTransaction();
    for (int i = 0; i < rows; ++i)
        db.Execute(QStringLiteral("insert into Padding (Text) values ('%1')").arg(QString(1000, QChar(u'a' + i % 26))));
    EXPECT_TRUE(db.CommitTransaction());
    return path;
}

// A user database as the program makes it, marked, with `rows` rows of
// padding: a file that may replace a user's database.
QString makeUserDatabase(const QString &name, const QString &mark, int rows = 1)
{
    const QString path = TestFolders::tempDb(name);
    {
        CBdD made(path);
        EXPECT_TRUE(made.IsOpen());
    }
    CmyDataBase db;
    EXPECT_EQ(db.Open(path), 0);
    db.Execute(QStringLiteral("insert into Infos values ('Mark','%1')").arg(mark));
    db.Execute(u"create table Padding (Id integer primary key, Text text)");
    db.BeginTransaction();
    for (int i = 0; i < rows; ++i)
        db.Execute(QStringLiteral("insert into Padding (Text) values ('%1')").arg(QString(1000, QChar(u'a' + i % 26))));
    EXPECT_TRUE(db.CommitTransaction());
    return path;
}

// A user database as the program makes it, then altered by `changes`.
QString alteredUserDatabase(const QString &name, std::initializer_list<const char16_t *> changes)
{
    const QString path = TestFolders::tempDb(name);
    {
        CBdD made(path);
        EXPECT_TRUE(made.IsOpen());
    }
    CmyDataBase db;
    EXPECT_EQ(db.Open(path), 0);
    for (const char16_t *change : changes)
        EXPECT_EQ(db.Execute(change), 0) << QString::fromUtf16(change).toStdString();
    return path;
}

// Sound pages (the quick check passes it), but an index that no longer
// matches its rows: only the full check finds it.
QString disagreeingIndexDatabase(const QString &name)
{
    return alteredUserDatabase(
        name, {u"insert into Activites(Id, Nom, Deleted) values (700, 'Un', 0), (701, 'Deux', 0)",
               u"create index ParNom on Activites(Nom)", u"PRAGMA writable_schema=ON",
               u"update sqlite_master set sql='CREATE INDEX ParNom on Activites(Deleted)' where name='ParNom'",
               u"PRAGMA writable_schema=OFF"});
}

// Waits until the system's coarse clock has passed the file's last change:
// a check remembers only a file that any later write is bound to give
// another time of change, and a file made a moment ago is not one yet.
void waitUntilSettled(const QString &path)
{
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    timespec now {};
    do {
        clock_gettime(CLOCK_REALTIME_COARSE, &now);
    } while (now.tv_sec < info.st_ctim.tv_sec
             || (now.tv_sec == info.st_ctim.tv_sec && now.tv_nsec <= info.st_ctim.tv_nsec));
}

QString markOf(const QString &path)
{
    CmyDataBase db;
    if (db.OpenReadOnly(path) != 0)
        return QStringLiteral("<cannot open>");
    SQLite::MyTablePtr t = db.Query(u"select Value from Infos where Name='Mark'");
    return t.hasRows() ? t->GetCell(0, 0) : QStringLiteral("<none>");
}

class DatabaseFileTest : public ::testing::Test
{
protected:
    void TearDown() override { CDatabaseFile::SetFaultHook({}); }
};

} // namespace

TEST_F(DatabaseFileTest, CheckTellsWhatAFileIs)
{
    using Status = CDatabaseFile::Status;
    const QString good = makeDatabase(QStringLiteral("good.sdb"), 2, QStringLiteral("g"));
    const QString unversioned = makeDatabase(QStringLiteral("old.sdb"), 0, QStringLiteral("o"));
    const QString text = TestFolders::writeFile(QStringLiteral("text.sdb"), QByteArray(4096, 'x'));
    const QString empty = TestFolders::writeFile(QStringLiteral("empty.sdb"), QByteArray());
    // A database whose table pages were overwritten after the header.
    const QString damaged = makeDatabase(QStringLiteral("damaged.sdb"), 2, QStringLiteral("d"), 200);
    {
        QFile f(damaged);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.seek(3 * 4096);
        f.write(QByteArray(8 * 4096, '\x5a'));
    }
    // One byte short inside its last page: SQLite reads it as a zero.
    const QByteArray bytes = TestFolders::readFile(makeDatabase(QStringLiteral("cut.sdb"), 2, QStringLiteral("c"), 20));
    const QString cut = TestFolders::writeFile(QStringLiteral("cut-short.sdb"), bytes.chopped(1));
    const struct
    {
        QString path;
        Status status;
        int version;
    } cases[] = {
        {good, Status::Ok, 2},
        {unversioned, Status::Ok, 0},
        {TestFolders::file(QStringLiteral("missing.sdb")), Status::Missing, -1},
        {TestFolders::root(), Status::Missing, -1},
        {text, Status::NotDatabase, -1},
        {damaged, Status::Damaged, -1},
        {cut, Status::Truncated, -1},
    };
    for (const auto &c : cases) {
        const CDatabaseFile::CheckResult r = CDatabaseFile::Check(c.path);
        EXPECT_EQ(r.status, c.status) << c.path.toStdString();
        EXPECT_EQ(r.version, c.version) << c.path.toStdString();
    }
    // An empty file is a valid empty database for SQLite, without Infos.
    EXPECT_EQ(CDatabaseFile::Check(empty).version, 0);
    // A look never creates the file it was asked about.
    EXPECT_FALSE(QFileInfo::exists(TestFolders::file(QStringLiteral("missing.sdb"))));
}

TEST_F(DatabaseFileTest, CopyIntoPlaceReplacesOrTakesOnlyAFreeName)
{
    const QString source = makeDatabase(QStringLiteral("source.sdb"), 2, QStringLiteral("new"));
    const QString existing = makeDatabase(QStringLiteral("existing.sdb"), 2, QStringLiteral("old"));
    const QString fresh = TestFolders::file(QStringLiteral("fresh.sdb"));

    ASSERT_TRUE(CDatabaseFile::CopyLive(source, fresh, CDatabaseFile::Target::FreeName));
    EXPECT_EQ(markOf(fresh), QStringLiteral("new"));
    EXPECT_TRUE(CDatabaseFile::Check(fresh).ok());

    EXPECT_FALSE(CDatabaseFile::CopyLive(source, existing, CDatabaseFile::Target::FreeName));
    EXPECT_EQ(markOf(existing), QStringLiteral("old"));

    ASSERT_TRUE(CDatabaseFile::CopyLive(source, existing, CDatabaseFile::Target::Replace));
    EXPECT_EQ(markOf(existing), QStringLiteral("new"));
    EXPECT_FALSE(QFileInfo::exists(CDatabaseFile::PartPath(existing)));

    // A copy onto itself is refused.
    EXPECT_FALSE(CDatabaseFile::CopyLive(source, source, CDatabaseFile::Target::Replace));
    EXPECT_EQ(markOf(source), QStringLiteral("new"));
}

namespace {

mode_t modeOf(const QString &path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return 07777;
    return info.st_mode & 07777;
}

} // namespace

TEST_F(DatabaseFileTest, ACopyIsNoMoreOpenThanItsSourceNorTheTargetItReplaces)
{
    const struct
    {
        const char *name;
        mode_t source;
        mode_t target; // 0: no target before the copy
        mode_t umask;
        CDatabaseFile::Target mode;
        mode_t copy;
    } cases[] = {
        {"owner alone", 0600, 0, 022, CDatabaseFile::Target::FreeName, 0600},
        {"owner and group", 0640, 0, 022, CDatabaseFile::Target::FreeName, 0640},
        {"everyone reads", 0644, 0, 022, CDatabaseFile::Target::FreeName, 0644},
        {"the umask still applies", 0666, 0, 022, CDatabaseFile::Target::FreeName, 0644},
        {"a strict umask", 0644, 0, 077, CDatabaseFile::Target::FreeName, 0600},
        {"never runnable", 0755, 0, 022, CDatabaseFile::Target::FreeName, 0644},
        {"the owner always reads and writes the copy", 0444, 0, 022, CDatabaseFile::Target::FreeName, 0644},
        {"a stricter target keeps its rights", 0644, 0600, 022, CDatabaseFile::Target::Replace, 0600},
        {"a wider target gets the source's", 0640, 0644, 022, CDatabaseFile::Target::Replace, 0640},
        {"no more than either", 0640, 0604, 022, CDatabaseFile::Target::Replace, 0600},
        {"a missing target", 0640, 0, 022, CDatabaseFile::Target::Replace, 0640},
    };
    int round = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString source = makeDatabase(QStringLiteral("source%1.sdb").arg(++round), 2, QStringLiteral("new"));
        const QString target = c.target ? makeDatabase(QStringLiteral("target%1.sdb").arg(round), 2, QStringLiteral("old"))
                                        : TestFolders::file(QStringLiteral("target%1.sdb").arg(round));
        ASSERT_EQ(::chmod(QFile::encodeName(source).constData(), c.source), 0);
        if (c.target) {
            ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), c.target), 0);
        }
        const mode_t before = ::umask(c.umask);
        const bool copied = CDatabaseFile::CopyLive(source, target, c.mode);
        ::umask(before);
        ASSERT_TRUE(copied);
        EXPECT_EQ(markOf(target), QStringLiteral("new"));
        EXPECT_EQ(modeOf(target), c.copy);
    }

    // The files SQLite keeps beside the copy take the copy's rights.
    const QString source = makeDatabase(QStringLiteral("private.sdb"), 2, QStringLiteral("new"));
    ASSERT_EQ(::chmod(QFile::encodeName(source).constData(), 0600), 0);
    for (const char *journal : {"PERSIST", "WAL"}) {
        SCOPED_TRACE(journal);
        const QString copy = TestFolders::file(QStringLiteral("copy-%1.sdb").arg(QLatin1String(journal)));
        ASSERT_TRUE(CDatabaseFile::CopyLive(source, copy, CDatabaseFile::Target::FreeName));
        CmyDataBase db;
        ASSERT_EQ(db.Open(copy), 0);
        db.Execute(QStringLiteral("PRAGMA journal_mode=%1").arg(QLatin1String(journal)));
        ASSERT_EQ(db.Execute(u"insert into Infos values ('More','1')"), 0);
        QStringList beside;
        for (const char *suffix : {"-journal", "-wal", "-shm"}) {
            if (QFileInfo::exists(copy + QLatin1String(suffix)))
                beside << copy + QLatin1String(suffix);
        }
        ASSERT_FALSE(beside.isEmpty());
        for (const QString &file : beside)
            EXPECT_EQ(modeOf(file), 0600u) << file.toStdString();
    }
}

TEST_F(DatabaseFileTest, AFailedCopyLeavesTheTargetAndNoPart)
{
    const QString source = makeDatabase(QStringLiteral("source.sdb"), 2, QStringLiteral("new"));
    const QString target = makeDatabase(QStringLiteral("target.sdb"), 2, QStringLiteral("old"));
    CDatabaseFile::SetFaultHook([](CDatabaseFile::Stage s) { return s == CDatabaseFile::Stage::CopyBeforeRename; });
    EXPECT_FALSE(CDatabaseFile::CopyLive(source, target, CDatabaseFile::Target::Replace));
    EXPECT_EQ(markOf(target), QStringLiteral("old"));
    EXPECT_FALSE(QFileInfo::exists(CDatabaseFile::PartPath(target)));
    // A missing source fails the same way.
    CDatabaseFile::SetFaultHook({});
    EXPECT_FALSE(CDatabaseFile::CopyLive(TestFolders::file(QStringLiteral("none.sdb")), target,
                                         CDatabaseFile::Target::Replace));
    EXPECT_EQ(markOf(target), QStringLiteral("old"));
}

TEST_F(DatabaseFileTest, AJournalBesideTheTargetIsNeverRolledIntoTheCopy)
{
    const QString source = makeDatabase(QStringLiteral("source.sdb"), 2, QStringLiteral("new"));
    // Beside an existing database the journal may be hot: refused.
    const QString existing = makeDatabase(QStringLiteral("existing.sdb"), 2, QStringLiteral("old"));
    TestFolders::writeFile(QStringLiteral("existing.sdb-journal"), QByteArray(512, '\1'));
    EXPECT_FALSE(CDatabaseFile::CopyLive(source, existing, CDatabaseFile::Target::Replace));
    EXPECT_TRUE(QFileInfo::exists(existing + QStringLiteral("-journal")));
    QFile::remove(existing + QStringLiteral("-journal"));
    EXPECT_EQ(markOf(existing), QStringLiteral("old"));
    // Beside a database that is gone it is an orphan: removed, copy made.
    const QString orphan = TestFolders::file(QStringLiteral("gone.sdb"));
    TestFolders::writeFile(QStringLiteral("gone.sdb-journal"), QByteArray(512, '\1'));
    ASSERT_TRUE(CDatabaseFile::CopyLive(source, orphan, CDatabaseFile::Target::FreeName));
    EXPECT_FALSE(QFileInfo::exists(orphan + QStringLiteral("-journal")));
    EXPECT_EQ(markOf(orphan), QStringLiteral("new"));
}

TEST_F(DatabaseFileTest, ACopyTakenDuringAnotherConnectionsWriteIsWhole)
{
    const QString source = makeDatabase(QStringLiteral("source.sdb"), 2, QStringLiteral("committed"), 300);
    CmyDataBase writer;
    ASSERT_EQ(writer.Open(source), 0);
    ASSERT_TRUE(writer.BeginTransaction());
    writer.Execute(u"update Infos set Value='uncommitted' where Name='Mark'");
    writer.Execute(u"delete from Padding where Id > 10");

    const QString copy = TestFolders::file(QStringLiteral("copy.sdb"));
    ASSERT_TRUE(CDatabaseFile::CopyLive(source, copy, CDatabaseFile::Target::FreeName));
    writer.RollbackTransaction();
    ASSERT_TRUE(CDatabaseFile::Check(copy).ok());
    EXPECT_EQ(markOf(copy), QStringLiteral("committed"));
    CmyDataBase check;
    ASSERT_EQ(check.OpenReadOnly(copy), 0);
    EXPECT_EQ(check.Query(u"select count(*) from Padding")->GetCell(0, 0), QStringLiteral("300"));
}

TEST_F(DatabaseFileTest, ReplaceWritesIntoTheOpenDatabaseAllOrNothing)
{
    const QString target = makeUserDatabase(QStringLiteral("Zarvo.sdb"), QStringLiteral("old"), 10);
    const QString source = makeUserDatabase(QStringLiteral("incoming.sdb"), QStringLiteral("new"), 1000);
    // The tray's connection stays open across the replacement.
    CmyDataBase tray;
    ASSERT_EQ(tray.Open(target), 0);
    EXPECT_EQ(tray.Query(u"select Value from Infos where Name='Mark'")->GetCell(0, 0), QStringLiteral("old"));

    // A failure between two steps leaves the old contents, readable.
    int steps = 0;
    CDatabaseFile::SetFaultHook([&steps](CDatabaseFile::Stage s) {
        return s == CDatabaseFile::Stage::ReplaceBetweenSteps && ++steps == 3;
    });
    EXPECT_FALSE(CDatabaseFile::ReplaceLive(source, target));
    EXPECT_EQ(steps, 3);
    EXPECT_EQ(tray.Query(u"select Value from Infos where Name='Mark'")->GetCell(0, 0), QStringLiteral("old"));
    EXPECT_TRUE(CDatabaseFile::Check(target).ok());

    CDatabaseFile::SetFaultHook({});
    ASSERT_TRUE(CDatabaseFile::ReplaceLive(source, target));
    EXPECT_EQ(tray.Query(u"select Value from Infos where Name='Mark'")->GetCell(0, 0), QStringLiteral("new"));
    EXPECT_EQ(tray.Query(u"select count(*) from Padding")->GetCell(0, 0), QStringLiteral("1000"));
}

TEST_F(DatabaseFileTest, ReplaceRefusesASourceThatFailsItsCheck)
{
    const QString target = makeUserDatabase(QStringLiteral("Zarvo.sdb"), QStringLiteral("old"));
    const QString text = TestFolders::writeFile(QStringLiteral("text.sdb"), QByteArray(4096, 'x'));
    EXPECT_FALSE(CDatabaseFile::ReplaceLive(text, target));
    EXPECT_FALSE(CDatabaseFile::ReplaceLive(TestFolders::file(QStringLiteral("none.sdb")), target));
    // The check is the whole one of a replacement: a database of no user
    // schema, or one with code of its own, is refused.
    EXPECT_FALSE(CDatabaseFile::ReplaceLive(makeDatabase(QStringLiteral("other.sdb"), 2, QStringLiteral("o")), target));
    const QString coded = makeUserDatabase(QStringLiteral("coded.sdb"), QStringLiteral("coded"));
    {
        CmyDataBase db;
        ASSERT_EQ(db.Open(coded), 0);
        ASSERT_EQ(db.Execute(u"create trigger T after insert on Taches begin delete from Projets; end"), 0);
    }
    // And a file whose index disagrees with its table, which the quick
    // check passes: the replacement itself makes the full one. A quick
    // check of the file, settled so that a check could be remembered, is
    // not taken for a whole one: the whole check of the same unchanged file
    // still finds it damaged.
    const QString disagreeing = disagreeingIndexDatabase(QStringLiteral("index.sdb"));
    waitUntilSettled(disagreeing);
    ASSERT_EQ(CDatabaseFile::CheckReplacement(disagreeing, CDatabaseFile::Depth::Quick).status,
              CDatabaseFile::Status::Ok);
    EXPECT_EQ(CDatabaseFile::CheckReplacement(disagreeing).status, CDatabaseFile::Status::Damaged);
    const QByteArray before = TestFolders::readFile(target);
    for (const QString &refused : {coded, disagreeing}) {
        SCOPED_TRACE(refused.toStdString());
        EXPECT_FALSE(CDatabaseFile::ReplaceLive(refused, target));
        quint32 counter = 0;
        ASSERT_TRUE(CDatabaseFile::ReadChangeCounter(target, counter));
        EXPECT_EQ(CDatabaseFile::ReplaceLiveIfUnchanged(refused, target, counter),
                  CDatabaseFile::ReplaceResult::Failed);
        EXPECT_EQ(TestFolders::readFile(target), before);
    }
    // The target must exist: a replacement never creates a database.
    const QString source = makeUserDatabase(QStringLiteral("incoming.sdb"), QStringLiteral("new"));
    EXPECT_FALSE(CDatabaseFile::ReplaceLive(source, TestFolders::file(QStringLiteral("absent.sdb"))));
    EXPECT_FALSE(QFileInfo::exists(TestFolders::file(QStringLiteral("absent.sdb"))));
    EXPECT_EQ(markOf(target), QStringLiteral("old"));
}

TEST_F(DatabaseFileTest, AReplacementMustBeAWholeUserDatabaseOfAVersionWeRead)
{
    using Status = CDatabaseFile::Status;
    const auto userDatabase = alteredUserDatabase;
    const QString disagreeing = disagreeingIndexDatabase(QStringLiteral("index.sdb"));
    const struct
    {
        const char *what;
        QString path;
        Status status;
        QString missing;
    } cases[] = {
        {"as made", userDatabase(QStringLiteral("made.sdb"), {}), Status::Ok, {}},
        // What an upgrade adds may be missing; anything else may not.
        {"version 2 before its last column",
         userDatabase(QStringLiteral("noVisible.sdb"), {u"alter table Forecast drop column Visible"}), Status::Ok, {}},
        {"version 1 without the planning tables",
         userDatabase(QStringLiteral("v1.sdb"), {u"drop table Forecast", u"drop table ProjectChilds",
                                                 u"update Infos set Value='1' where Name='VersionDB'"}),
         Status::Ok, {}},
        {"version 2 without them",
         userDatabase(QStringLiteral("v2.sdb"), {u"drop table Forecast", u"drop table ProjectChilds"}),
         Status::NotUserDatabase, QStringLiteral("Forecast")},
        {"a column gone", userDatabase(QStringLiteral("noNotes.sdb"), {u"alter table Taches drop column Notes"}),
         Status::NotUserDatabase, QStringLiteral("Taches.Notes")},
        {"a later version", userDatabase(QStringLiteral("v3.sdb"), {u"update Infos set Value='3' where Name='VersionDB'"}),
         Status::UnknownVersion, {}},
        {"a version below any", userDatabase(QStringLiteral("v-1.sdb"), {u"update Infos set Value='-1' where Name='VersionDB'"}),
         Status::UnknownVersion, {}},
        {"another database", makeDatabase(QStringLiteral("other.sdb"), 2, QStringLiteral("o")), Status::NotUserDatabase,
         QStringLiteral("Activites")},
        // Sound pages (the quick check passes it), but an index that no
        // longer matches its rows.
        {"an index that disagrees with its table", disagreeing, Status::Damaged, {}},
        // Code that would run inside the user's database.
        {"a trigger",
         userDatabase(QStringLiteral("trigger.sdb"),
                      {u"create trigger T after delete on Taches begin delete from Projets; end"}),
         Status::CodeOfItsOwn, {}},
        {"a view", userDatabase(QStringLiteral("view.sdb"), {u"create view V as select * from Taches"}),
         Status::CodeOfItsOwn, {}},
        {"a virtual table",
         userDatabase(QStringLiteral("virtual.sdb"), {u"create virtual table R using rtree(Id, Debut, Fin)"}),
         Status::CodeOfItsOwn, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray before = TestFolders::readFile(c.path);
        const CDatabaseFile::CheckResult r = CDatabaseFile::CheckReplacement(c.path);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.missing, c.missing);
        // Looked at read-only.
        EXPECT_EQ(TestFolders::readFile(c.path), before);
    }
    // The index that disagrees is only found by the full check.
    EXPECT_EQ(CDatabaseFile::CheckReplacement(disagreeing, CDatabaseFile::Depth::Quick).status, Status::Ok);
}

// The whole check of a file is not made again while the file is as it
// was; a file changed since it passed is checked again, also when it
// changed through SQLite within the same tick of the clock.
TEST_F(DatabaseFileTest, AFileChangedSinceItPassedTheWholeCheckIsCheckedAgain)
{
    const QString path = makeUserDatabase(QStringLiteral("checked.sdb"), QStringLiteral("c"), 500);
    ASSERT_TRUE(CDatabaseFile::CheckReplacement(path).ok());
    ASSERT_TRUE(CDatabaseFile::CheckReplacement(path).ok());
    {
        CmyDataBase db;
        ASSERT_EQ(db.Open(path), 0);
        for (const char16_t *sql : {u"insert into Activites(Id, Nom, Deleted) values (700, 'Un', 0), (701, 'Deux', 0)",
                                    u"create index ParNom on Activites(Nom)", u"PRAGMA writable_schema=ON",
                                    u"update sqlite_master set sql='CREATE INDEX ParNom on Activites(Deleted)' "
                                    u"where name='ParNom'",
                                    u"PRAGMA writable_schema=OFF"})
            ASSERT_EQ(db.Execute(sql), 0) << QString::fromUtf16(sql).toStdString();
    }
    EXPECT_EQ(CDatabaseFile::CheckReplacement(path).status, CDatabaseFile::Status::Damaged);
    const QString target = makeUserDatabase(QStringLiteral("Zarvo.sdb"), QStringLiteral("old"));
    const QByteArray before = TestFolders::readFile(target);
    EXPECT_FALSE(CDatabaseFile::ReplaceLive(path, target));
    EXPECT_EQ(TestFolders::readFile(target), before);
    // Another file of the same name in its place is another file.
    const QString sound = makeUserDatabase(QStringLiteral("sound.sdb"), QStringLiteral("s"), 500);
    ASSERT_TRUE(CDatabaseFile::CheckReplacement(sound).ok());
    ASSERT_TRUE(QFile::remove(sound));
    ASSERT_TRUE(QFile::rename(path, sound));
    EXPECT_EQ(CDatabaseFile::CheckReplacement(sound).status, CDatabaseFile::Status::Damaged);
}

TEST_F(DatabaseFileTest, AReplacementOverAStateThatWasCommittedOverIsRefused)
{
    const QString target = makeUserDatabase(QStringLiteral("Zarvo.sdb"), QStringLiteral("old"));
    const QString source = makeUserDatabase(QStringLiteral("incoming.sdb"), QStringLiteral("new"), 100);
    quint32 seen = 0;
    ASSERT_TRUE(CDatabaseFile::ReadChangeCounter(target, seen));
    {
        CmyDataBase other;
        ASSERT_EQ(other.Open(target), 0);
        ASSERT_EQ(other.Execute(u"update Infos set Value='changed' where Name='Mark'"), 0);
    }
    EXPECT_EQ(CDatabaseFile::ReplaceLiveIfUnchanged(source, target, seen),
              CDatabaseFile::ReplaceResult::ChangedMeanwhile);
    EXPECT_EQ(markOf(target), QStringLiteral("changed"));

    ASSERT_TRUE(CDatabaseFile::ReadChangeCounter(target, seen));
    EXPECT_EQ(CDatabaseFile::ReplaceLiveIfUnchanged(source, target, seen), CDatabaseFile::ReplaceResult::Replaced);
    EXPECT_EQ(markOf(target), QStringLiteral("new"));

    // A database that keeps a write-ahead log leaves its counter alone on
    // commit: it cannot be told unchanged.
    const QString logged = makeDatabase(QStringLiteral("wal.sdb"), 2, QStringLiteral("w"));
    {
        CmyDataBase db;
        ASSERT_EQ(db.Open(logged), 0);
        db.Execute(u"PRAGMA journal_mode=WAL");
    }
    EXPECT_FALSE(CDatabaseFile::ReadChangeCounter(logged, seen));
}

// A write over a state the caller read: refused as changed meanwhile when
// another connection committed since, or holds the write lock now (it is
// about to commit), and then the file is left byte for byte.
TEST_F(DatabaseFileTest, AWriteOverAStateReadEarlierLandsOnlyOnThatState)
{
    const struct
    {
        const char *name;
        const char16_t *other; // what another connection does first (null: nothing)
        bool holds;            // it keeps its transaction open during the write
        CDatabaseFile::WriteResult result;
    } cases[] = {
        {"nobody else", nullptr, false, CDatabaseFile::WriteResult::Written},
        {"another connection committed since", u"update Infos set Value='other' where Name='Mark'", false,
         CDatabaseFile::WriteResult::ChangedMeanwhile},
        {"another connection holds the write lock", u"BEGIN IMMEDIATE", true,
         CDatabaseFile::WriteResult::ChangedMeanwhile},
        {"another connection is writing", u"BEGIN EXCLUSIVE", true, CDatabaseFile::WriteResult::ChangedMeanwhile},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString target = makeUserDatabase(QStringLiteral("Zarvo.sdb"), QStringLiteral("old"));
        quint32 seen = 0;
        ASSERT_TRUE(CDatabaseFile::ReadChangeCounter(target, seen));
        CmyDataBase other;
        ASSERT_EQ(other.Open(target), 0);
        if (c.other && !c.holds) {
            ASSERT_EQ(other.Execute(c.other), 0);
        }
        // Read while no connection of this process holds the file: closing
        // a descriptor of it would drop their locks.
        const QByteArray before = TestFolders::readFile(target);
        if (c.other && c.holds) {
            ASSERT_EQ(other.Execute(c.other), 0);
        }
        EXPECT_EQ(CDatabaseFile::WriteIfUnchanged(target, u"update Infos set Value='written' where Name='Mark'"_qs,
                                                  seen),
                  c.result);
        if (c.holds) {
            other.Execute(u"ROLLBACK");
        }
        other.Close();
        if (c.result == CDatabaseFile::WriteResult::Written) {
            EXPECT_EQ(markOf(target), QStringLiteral("written"));
            quint32 after = 0;
            ASSERT_TRUE(CDatabaseFile::ReadChangeCounter(target, after));
            EXPECT_EQ(after, seen + 1);
        } else {
            EXPECT_EQ(TestFolders::readFile(target), before);
            EXPECT_FALSE(QFileInfo::exists(target + QStringLiteral("-journal")));
        }
        QFile::remove(target);
    }
}
