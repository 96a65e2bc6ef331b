#include "CAnnulation.h"
#include "CAppData.h"
#include "CBdD.h"
#include "CDataChangedNotifier.h"
#include "QuoteSql.h"
#include "RegisteredMessages.h"
#include "ShortBusyWait.h"
#include "TestFolders.h"
#include "tElement.h"
#include "tForecast.h"

#include "Clock.h"
#include "Formatter.h"
#include "MessageBus.h"
#include "Settings.h"
#include "QStringPrinter.h"

#include <gtest/gtest.h>

#include <ostream>

#include <sqlite3.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>

using Platform::Formatter;

namespace {

QString cell(CBdD &db, const QString &sql)
{
    SQLite::MyTablePtr t = db.Query(sql);
    return t.hasRows() ? t->GetCell(0, 0) : QStringLiteral("<none>");
}

// The application's history and the current user's file, as the shell
// sets them up.
class WriteTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Platform::Clock::setFixedNow(1700000000);
        path = TestFolders::tempDb(QStringLiteral("Zarvo.sdb"));
        CAppData::SetAnnulation(&history);
        CAppData::SetCurrentDatabasePath(path);
    }
    void TearDown() override
    {
        CBdD::CloseSharedConnection();
        CAppData::Clear();
    }

    // One stamped insert of a time entry, as the time-entry writes do it.
    bool insertEntry(const QString &title, int *id = nullptr)
    {
        CBdD db;
        if (!db.BeginWrite())
            return false;
        const int newId = db.AllocateRowId(CBdD::TableTaches);
        db.ExecuteWithUndo(
            Formatter::sprintf(u"insert into Taches(Id, Debut, Fin, IdProjet, IdActivite, IdTauxHoraire, Facture, "
                               u"Deleted, Title) values (%d, %I64d, %I64d, 32, 32, -1, 0, 0, '%s')",
                               {newId, Platform::Clock::now(), Platform::Clock::now() + 60, QuoteSql(title)}),
            Formatter::sprintf(u"delete from Taches where Id=%d", {newId}));
        db.StampRow(CBdD::TableTaches, newId);
        if (id)
            *id = newId;
        return db.EndWrite();
    }

    QString path;
    CAnnulation history;
};

} // namespace

TEST_F(WriteTest, IdsAdvanceByThreePerOriginAndUndoRestoresThem)
{
    struct Case
    {
        int code;
        QList<int> ids;
    };
    const QList<Case> cases = {
        {CBdD::TableProjets, {32, 35, 38}},
        {CBdD::TableActivites, {32, 35}},
        {CBdD::TableTaches, {101, 104}},
        {CBdD::TableFavoris, {2, 5}},
        {CBdD::TableTauxHoraire, {2}},
        {CBdD::TableForecast, {-1}},
        {0, {-1}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.code);
        for (int expected : c.ids) {
            CBdD db;
            ASSERT_TRUE(db.BeginWrite());
            EXPECT_EQ(db.AllocateRowId(c.code), expected);
            EXPECT_TRUE(db.EndWrite());
        }
    }
    CBdD db;
    EXPECT_EQ(cell(db, "select Pc from NextRowId where Name='Taches'"), "107");
    // Undo the TauxHoraire, both Favoris and the last Taches allocation
    // (writes that allocated nothing left no group).
    for (int i = 0; i < 4; ++i)
        ASSERT_EQ(history.Undo(), CAnnulation::Outcome::Done);
    EXPECT_EQ(cell(db, "select Pc from NextRowId where Name='Taches'"), "104");
    EXPECT_EQ(cell(db, "select Pc from NextRowId where Name='Favoris'"), "2");
    ASSERT_EQ(history.Redo(), CAnnulation::Outcome::Done);
    EXPECT_EQ(cell(db, "select Pc from NextRowId where Name='Taches'"), "107");

    // The counting form counts live rows.
    ASSERT_TRUE(insertEntry(QStringLiteral("a")));
    int id = 0;
    ASSERT_TRUE(insertEntry(QStringLiteral("b"), &id));
    db.Execute(Formatter::sprintf(u"update Taches set Deleted=1 where Id=%d", {id}));
    EXPECT_EQ(db.AllocateRowId(CBdD::TableTaches, false), 1);
    EXPECT_EQ(db.AllocateRowId(CBdD::TableForecast, false), -1);
    CBdD none{QString()};
    EXPECT_EQ(none.AllocateRowId(CBdD::TableTaches), -1);
    EXPECT_FALSE(none.BeginWrite());
}

TEST_F(WriteTest, StampedInsertIsOneUndoableGroup)
{
    {
        CBdD db;
        db.Execute(u"update Infos set Value='1600000000' where Name='Modif'");
    }
    int id = 0;
    ASSERT_TRUE(insertEntry(QStringLiteral("l'été; drop table Taches; -- 日本"), &id));
    EXPECT_EQ(id, 101);
    CBdD db;
    EXPECT_EQ(cell(db, "select Title from Taches where Id=101"), QStringLiteral("l'été; drop table Taches; -- 日本"));
    EXPECT_EQ(cell(db, "select Date_Modif || '/' || Origine_Modif from Taches where Id=101"), "1700000000/1");
    EXPECT_EQ(cell(db, "select Value from Infos where Name='Modif'"), "1700000000");
    ASSERT_EQ(history.Steps().size(), 4u); // id, insert, row stamp, Modif
    EXPECT_EQ(history.Steps().front().group, history.Steps().back().group);

    EXPECT_EQ(history.Undo(), CAnnulation::Outcome::Done);
    EXPECT_EQ(cell(db, "select count(*) from Taches"), "0");
    EXPECT_EQ(cell(db, "select Value from Infos where Name='Modif'"), "1600000000");
    EXPECT_EQ(cell(db, "select Pc from NextRowId where Name='Taches'"), "101");
    EXPECT_EQ(history.Undo(), CAnnulation::Outcome::Nothing);

    EXPECT_EQ(history.Redo(), CAnnulation::Outcome::Done);
    EXPECT_EQ(cell(db, "select Title || '|' || Date_Modif from Taches where Id=101"),
              QStringLiteral("l'été; drop table Taches; -- 日本|1700000000"));
    EXPECT_EQ(history.Redo(), CAnnulation::Outcome::Nothing);
}

TEST_F(WriteTest, StampUndoWritesOldValuesBackQuotedOrNull)
{
    // Values an older origin left: a text stamp with a quote, and NULL.
    {
        CBdD db;
        db.Execute(u"insert into Projets(Id, Nom, Date_Modif, Origine_Modif) values (40, 'P', 'x''y', NULL)");
        db.Execute(u"update Infos set Value=NULL where Name='Modif'");
    }
    {
        CBdD db;
        ASSERT_TRUE(db.BeginWrite());
        db.StampRow(CBdD::TableProjets, 40);
        ASSERT_TRUE(db.EndWrite());
    }
    ASSERT_EQ(history.Undo(), CAnnulation::Outcome::Done);
    CBdD db;
    EXPECT_EQ(cell(db, "select Date_Modif || '|' || typeof(Origine_Modif) from Projets"), "x'y|null");
    EXPECT_EQ(cell(db, "select typeof(Value) from Infos where Name='Modif'"), "null");
}

TEST_F(WriteTest, SnapshotAndWhereRecordRestoreEveryColumn)
{
    CBdD db;
    db.Execute(u"insert into TauxHoraire values (4, 'Standard', NULL, 55.0, 1000, 1, 0, 0)");
    EXPECT_EQ(db.SnapshotRow(CBdD::TableTauxHoraire, 4),
              "update TauxHoraire set Id='4' ,Nom='Standard' ,Commentaire=NULL ,Valeur='55.0' ,Date_Modif='1000' "
              ",Origine_Modif='1' ,Deleted='0' ,Share='0' where rowid=4");
    EXPECT_TRUE(db.SnapshotRow(CBdD::TableTauxHoraire, 99).isEmpty());
    EXPECT_TRUE(db.SnapshotRow(CBdD::TableProjectChilds, 1).isEmpty());

    // A batch change of several entries, stamped, undone as one group.
    db.Execute(u"insert into Taches(Id, Title, Notes, Facture, Date_Modif, Origine_Modif) values "
               u"(101, 'a''b', NULL, 0, 5, 1), (104, 'ç;', 'n', 0, 6, 1), (107, 'c', 'n', 1, 7, 1)");
    ASSERT_TRUE(db.BeginWrite());
    const QString redo = QStringLiteral("update Taches set Facture=1 where Facture=0");
    db.RecordUndoWhere(redo, CBdD::TableTaches, QStringLiteral("Facture=0"));
    db.Execute(redo);
    db.StampTimeEntriesWhere(QStringLiteral("Id in (101, 104)"));
    ASSERT_TRUE(db.EndWrite());
    EXPECT_EQ(cell(db, "select group_concat(Facture || Date_Modif, ',') from Taches"),
              "11700000000,11700000000,17");
    ASSERT_EQ(history.Undo(), CAnnulation::Outcome::Done);
    EXPECT_EQ(cell(db, "select group_concat(Id || Title || ifnull(Notes, 'NULL') || Facture || Date_Modif, ',') "
                       "from Taches"),
              QStringLiteral("101a'bNULL05,104ç;n06,107cn17"));

    // No matching row: the redo is still recorded.
    ASSERT_TRUE(db.BeginWrite());
    db.RecordUndoWhere(QStringLiteral("update Taches set Facture=2 where Id=1"), CBdD::TableTaches,
                       QStringLiteral("Id=1"));
    ASSERT_TRUE(db.EndWrite());
    EXPECT_EQ(history.Steps().back().redo, "update Taches set Facture=2 where Id=1");
    EXPECT_TRUE(history.Steps().back().undo.isEmpty());
}

TEST_F(WriteTest, FailedStatementOrCommitRollsBackAndDropsTheGroup)
{
    Platform::Settings().setInt(u"Config", u"Misc", u"LogErrors", 1);
    ASSERT_TRUE(insertEntry(QStringLiteral("kept")));
    const size_t kept = history.Steps().size();
    {
        CBdD db;
        ASSERT_TRUE(db.BeginWrite());
        db.AllocateRowId(CBdD::TableTaches);
        db.ExecuteWithUndo(QStringLiteral("insert into Nowhere values (1)"), QString());
        EXPECT_FALSE(db.EndWrite());
        EXPECT_EQ(db.LastCode(), SQLITE_ERROR);
        db.LogSqlError(QStringLiteral("Test"));
    }
    EXPECT_EQ(history.Steps().size(), kept);
    CBdD db;
    EXPECT_EQ(cell(db, "select Pc from NextRowId where Name='Taches'"), "104");
    // The write logs its own failure; the code stays for the caller's log.
    const QByteArray log = TestFolders::readFile(CBdD::LogPathFor(path));
    EXPECT_EQ(log, "14/11/2023 23:13:20 : sqlite error '1' in 'EndWrite'\n"
                   "14/11/2023 23:13:20 : sqlite error '1' in 'Test'\n");

    // A COMMIT that fails (a deferred constraint) lands nothing either.
    db.Execute(u"PRAGMA foreign_keys=ON");
    db.Execute(u"create table Lien(IdTache integer references Taches(Id) deferrable initially deferred)");
    ASSERT_TRUE(db.BeginWrite());
    db.ExecuteWithUndo(QStringLiteral("insert into Lien values (999)"), QStringLiteral("delete from Lien"));
    db.StampRow(CBdD::TableTaches, 101);
    EXPECT_EQ(db.LastCode(), 0);
    EXPECT_FALSE(db.EndWrite());
    EXPECT_EQ(db.LastCode(), SQLITE_CONSTRAINT);
    EXPECT_EQ(history.Steps().size(), kept);
    EXPECT_EQ(cell(db, "select count(*) from Lien"), "0");
    EXPECT_EQ(cell(db, "select Value from Infos where Name='Modif'"), "1700000000");
    db.Execute(u"PRAGMA foreign_keys=OFF");

    // A write that failed before recording anything leaves the previous
    // group alone, and the next write still opens its own group.
    ASSERT_TRUE(db.BeginWrite());
    db.Execute(u"insert into Nowhere values (1)");
    EXPECT_FALSE(db.EndWrite());
    EXPECT_EQ(history.Steps().size(), kept);
    ASSERT_TRUE(insertEntry(QStringLiteral("next")));
    EXPECT_EQ(history.Steps().back().group, history.Steps()[kept - 1].group + 1);
}

TEST_F(WriteTest, SharedConnectionIsOpenedOnceAndFollowsTheUser)
{
    {
        CBdD outer;
        ASSERT_TRUE(outer.IsOpen());
        {
            CBdD inner;
            EXPECT_EQ(inner.Connection(), outer.Connection());
        }
        EXPECT_TRUE(CBdD::SharedConnection().IsOpen());
    }
    EXPECT_FALSE(CBdD::SharedConnection().IsOpen());

    const QString other = TestFolders::tempDb(QStringLiteral("Autre.sdb"));
    CBdD first;
    ASSERT_TRUE(first.IsOpen());
    CAppData::SetCurrentDatabasePath(other);
    CBdD second;
    ASSERT_TRUE(second.IsOpen());
    EXPECT_EQ(CBdD::SharedConnection().GetPath(), other);
    EXPECT_TRUE(QFileInfo::exists(other));

    CAppData::SetCurrentDatabasePath(QString());
    CBdD noUser;
    EXPECT_FALSE(noUser.IsOpen());
}

TEST_F(WriteTest, LogIsWrittenOnlyWhenAskedAndKeepsItsSecondHalf)
{
    CBdD db;
    db.Connection()->SetLastCode(SQLITE_BUSY);
    db.LogSqlError(QStringLiteral("Off"));
    EXPECT_FALSE(QFileInfo::exists(CBdD::LogPathFor(path)));

    Platform::Settings().setInt(u"Config", u"Misc", u"LogErrors", 1);
    // 40 000 bytes of numbered 100-byte lines.
    QByteArray old;
    for (int i = 0; i < 400; ++i)
        old += QByteArray::number(i).rightJustified(4, '0') + QByteArray(95, 'x') + '\n';
    {
        QFile f(CBdD::LogPathFor(path));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(old);
    }
    db.LogSqlError(QStringLiteral("UpdateDb"), true);
    EXPECT_EQ(db.LastCode(), 0);
    const QByteArray log = TestFolders::readFile(CBdD::LogPathFor(path));
    const QByteArray line = "14/11/2023 23:13:20 : sqlite error '5' in 'UpdateDb'\n";
    // The middle byte (20 026) lies in line 200; whole lines from 201 on stay.
    EXPECT_EQ(log, old.mid(201 * 100) + line);
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(path).path() + "/Zarvo.newlog"));

    // Without room for the second file the log starts again with the line.
    {
        QFile f(CBdD::LogPathFor(path));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(old);
    }
    ASSERT_TRUE(QDir().mkdir(QFileInfo(path).path() + "/Zarvo.newlog"));
    db.Connection()->SetLastCode(SQLITE_BUSY);
    db.LogSqlError(QStringLiteral("UpdateDb"));
    EXPECT_EQ(TestFolders::readFile(CBdD::LogPathFor(path)), line);

    // Only the file's own extension is replaced.
    EXPECT_EQ(CBdD::LogPathFor("/a.b/Zarvo.sdb"), "/a.b/Zarvo.log");
    EXPECT_EQ(CBdD::LogPathFor("/a.b/Zarvo"), "/a.b/Zarvo.log");
}

// A program may decide itself whether failures are logged, and name its
// lines after the date (the tray does both).
TEST_F(WriteTest, AProgramsOwnLogSwitchAndTag)
{
    CBdD db;
    const struct
    {
        CAppData::SqlLogSwitch logSwitch;
        int setting;
        const char *tag;
        QByteArray line; // empty: nothing written
    } cases[] = {
        {CAppData::SqlLogSwitch::On, 0, "ZarvoTray", "14/11/2023 23:13:20 ZarvoTray : sqlite error '5' in 'UpdateDb'\n"},
        {CAppData::SqlLogSwitch::Off, 1, "ZarvoTray", ""},
        {CAppData::SqlLogSwitch::FromSettings, 1, "", "14/11/2023 23:13:20 : sqlite error '5' in 'UpdateDb'\n"},
        {CAppData::SqlLogSwitch::FromSettings, 0, "ZarvoTray", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        QFile::remove(CBdD::LogPathFor(path));
        Platform::Settings().setInt(u"Config", u"Misc", u"LogErrors", c.setting);
        CAppData::SetSqlLog(c.logSwitch);
        CAppData::SetSqlLogTag(QString::fromLatin1(c.tag));
        db.Connection()->SetLastCode(SQLITE_BUSY);
        db.LogSqlError(QStringLiteral("UpdateDb"));
        EXPECT_EQ(TestFolders::readFile(CBdD::LogPathFor(path)), c.line);
    }
}

// The tray's landed writes post its refresh message, once each, and never
// the change notice, which the tray's own endpoint would take for a new
// user; a write rolled back posts nothing.
TEST_F(WriteTest, TheTraysWritesPostTheRefreshMessageInstead)
{
    CAppData::SetLandedWriteNotice(CAppData::LandedWriteMessage::RefreshFromTray);
    CAppData::SetAnnulation(nullptr);
    Platform::MessageBus endpoint;
    ASSERT_TRUE(endpoint.listen());
    QSignalSpy spy(&endpoint, &Platform::MessageBus::received);
    const quint32 refresh = Platform::MessageBus::registerMessage(RegisteredMessages::RefreshFromTray);
    ASSERT_TRUE(insertEntry(QStringLiteral("a")));
    {
        CBdD db;
        ASSERT_TRUE(db.BeginWrite());
        db.StampRow(CBdD::TableTaches, 101);
        EXPECT_FALSE(db.EndWrite(false));
    }
    ASSERT_TRUE(insertEntry(QStringLiteral("b")));
    // Posts reach an endpoint of this process in order: a last message of
    // the test's own tells that every earlier one arrived.
    const quint32 last = Platform::MessageBus::registerMessage(u"WriteTest last message");
    Platform::MessageBus::post(last, 0, 0);
    const auto message = [&](qsizetype i) { return spy.at(i).at(0).value<Platform::MessageBus::Message>().message; };
    while (spy.isEmpty() || message(spy.count() - 1) != last)
        ASSERT_TRUE(spy.wait(30000));
    ASSERT_EQ(spy.count(), 3);
    EXPECT_EQ(message(0), refresh);
    EXPECT_EQ(message(1), refresh);
}

TEST_F(WriteTest, DataChangedReachesTheReceiverBeforeSendReturns)
{
    QList<QPair<qint64, qint64>> seen;
    QObject receiver;
    QObject::connect(&CAppData::DataChangedNotifier(), &CDataChangedNotifier::dataChanged, &receiver,
                     [&seen](qint64 w, qint64 l) { seen.append({w, l}); });
    CBdD::SendDataChanged(CDataChangedNotifier::TimeEntries, 1);
    CBdD::SendDataChanged(CDataChangedNotifier::ProjectFields, 32);
    EXPECT_EQ(seen, (QList<QPair<qint64, qint64>>{{0, 1}, {1, 32}}));
    EXPECT_EQ(CDataChangedNotifier::UWM_DATA_CHANGED, 0x806Au);
}

TEST_F(WriteTest, LockedFileOrBusyCommitLandsNothing)
{
    Platform::Settings().setInt(u"Config", u"Misc", u"LogErrors", 1);
    ASSERT_TRUE(insertEntry(QStringLiteral("kept")));
    const size_t kept = history.Steps().size();
    const auto unchanged = [&] {
        CBdD db;
        EXPECT_EQ(cell(db, "select count(*) from Taches"), "1");
        EXPECT_EQ(cell(db, "select Pc from NextRowId where Name='Taches'"), "104");
        EXPECT_EQ(history.Steps().size(), kept);
    };

    // The other program holds the write lock past every wait and retry:
    // the write does not start.
    const ShortBusyWait noWait;
    SQLite::CmyDataBase other;
    ASSERT_EQ(other.Open(path), 0);
    ASSERT_TRUE(other.BeginTransaction());
    EXPECT_FALSE(insertEntry(QStringLiteral("refused")));
    other.RollbackTransaction();
    unchanged();

    // The other program is in the middle of a read that outlasts the
    // retries: the COMMIT cannot land, the write is rolled back.
    ASSERT_EQ(other.Execute(u"BEGIN"), 0);
    ASSERT_TRUE(other.Query(u"select count(*) from Taches").hasRows());
    {
        CBdD db;
        ASSERT_TRUE(db.BeginWrite());
        db.AllocateRowId(CBdD::TableTaches);
        db.StampRow(CBdD::TableTaches, 101);
        EXPECT_FALSE(db.EndWrite());
        EXPECT_EQ(db.LastCode(), SQLITE_BUSY);
    }
    ASSERT_EQ(other.Execute(u"COMMIT"), 0);
    unchanged();

    // Each write given up for the busy file left its line in the log.
    EXPECT_EQ(TestFolders::readFile(CBdD::LogPathFor(path)),
              "14/11/2023 23:13:20 : sqlite error '5' in 'BeginWrite'\n"
              "14/11/2023 23:13:20 : sqlite error '5' in 'EndWrite'\n");

    // Once the file is free again, writes land as before.
    int id = 0;
    ASSERT_TRUE(insertEntry(QStringLiteral("next"), &id));
    EXPECT_EQ(id, 104);
}

// The other program reloads on every change broadcast: a write posts one,
// however many rows it stamps, and a write that is rolled back none.
TEST_F(WriteTest, OneWritePostsOneBroadcastHoweverManyRowsItStamps)
{
    Platform::MessageBus tray;
    ASSERT_TRUE(tray.listen());
    QSignalSpy spy(&tray, &Platform::MessageBus::received);
    auto received = [&] {
        QCoreApplication::processEvents();
        QStringList out;
        for (const QList<QVariant> &args : spy)
            out << QString::number(args.at(0).value<Platform::MessageBus::Message>().wParam);
        spy.clear();
        return out.join(u',');
    };
    ASSERT_TRUE(insertEntry(QStringLiteral("a")));
    ASSERT_TRUE(insertEntry(QStringLiteral("b")));
    EXPECT_EQ(received(), u"0,0"); // two writes

    for (bool commit : {true, false}) {
        SCOPED_TRACE(commit ? "committed" : "rolled back");
        CBdD db;
        ASSERT_TRUE(db.BeginWrite());
        db.StampRow(CBdD::TableTaches, 101);
        db.StampRow(CBdD::TableTaches, 104);
        db.StampTimeEntriesWhere(QStringLiteral("Id in (101,104)"));
        db.StampRow(0, 0);
        EXPECT_EQ(received(), u"") << "nothing is posted before the write ends";
        EXPECT_EQ(db.EndWrite(commit), commit);
        EXPECT_EQ(received(), commit ? u"0" : u"");
    }

    // A write whose COMMIT fails (a deferred constraint) announces nothing:
    // the other program would reload for a change that never landed.
    {
        CBdD db;
        db.Execute(u"PRAGMA foreign_keys=ON");
        db.Execute(u"create table Lien(IdTache integer references Taches(Id) deferrable initially deferred)");
        ASSERT_TRUE(db.BeginWrite());
        db.ExecuteWithUndo(QStringLiteral("insert into Lien values (999)"), QStringLiteral("delete from Lien"));
        db.StampRow(CBdD::TableTaches, 101);
        EXPECT_FALSE(db.EndWrite());
        EXPECT_EQ(received(), u"") << "a failed COMMIT posts nothing";
        db.Execute(u"PRAGMA foreign_keys=OFF");
    }

    // A project with its plan: two stamped rows, one broadcast for the write
    // and the one that follows its commit.
    tElement project;
    project.Nom = QStringLiteral("P");
    tForecast plan;
    {
        CBdD db;
        ASSERT_TRUE(db.SaveProject(&project, &plan));
    }
    EXPECT_EQ(received(), u"0,1");

    // A stamp outside any write is posted at once, as before.
    {
        CBdD db;
        db.StampRow(CBdD::TableTaches, 101);
    }
    EXPECT_EQ(received(), u"0");
}

TEST_F(WriteTest, StampsPostTheChangeBroadcast)
{
    Platform::MessageBus tray;
    ASSERT_TRUE(tray.listen());
    QSignalSpy spy(&tray, &Platform::MessageBus::received);
    const quint32 change = Platform::MessageBus::registerMessage(RegisteredMessages::ZarvoChange);

    ASSERT_TRUE(insertEntry(QStringLiteral("a")));
    {
        CBdD db;
        ASSERT_TRUE(db.BeginWrite());
        db.StampTimeEntriesWhere(QStringLiteral("Id=101"));
        ASSERT_TRUE(db.EndWrite());
    }
    // One broadcast per stamp, each with wParam 0 and lParam 0.
    while (spy.count() < 2)
        ASSERT_TRUE(spy.wait(30000));
    for (const QList<QVariant> &args : spy) {
        const auto m = args.at(0).value<Platform::MessageBus::Message>();
        EXPECT_EQ(m.message, change);
        EXPECT_EQ(m.wParam, 0u);
        EXPECT_EQ(m.lParam, 0);
    }
}
