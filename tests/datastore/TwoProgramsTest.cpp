// Two programs on one user database: real second processes write and read
// through the data store while this one checks what landed, and the cases
// where one program's undo or failed write met the other's rows.
#include "TestDatabase.h"

#include "CDatabaseFile.h"
#include "ChildProcess.h"
#include "CmyDataBase.h"
#include "WritingPeer.h"
#include "tForecast.h"

#include <QFile>

#include <memory>

namespace {

// Every wait is for an event, bounded far beyond what a loaded machine
// needs; nothing is timed.
constexpr int Patience = 300000;

// A peer of the data store's (its "read" or "write" mode), ended when the
// test ends.
class Peer
{
public:
    explicit Peer(const QStringList &args)
        : child(QStringLiteral(DATASTORE_PEER), args, {}, Patience)
    {
    }
    ~Peer() { child.End(); }
    // Waits for the line "ready" (a reader that made its first read).
    bool ready() { return child.Line("the reader's first read") == u"ready"; }
    // The last line the peer printed once it ended; empty when it did not.
    QString result()
    {
        const ::testing::AssertionResult ended = child.EndsWith(0, "its work");
        EXPECT_TRUE(ended);
        if (!ended)
            return QString();
        const QList<QByteArray> lines = child.Process().readAllStandardOutput().trimmed().split('\n');
        return QString::fromUtf8(lines.last()).trimmed();
    }
    ChildProcess child;
};

using TwoPrograms = TestDatabase;

// Two programs write at once while a third reads one day in a loop, every
// operation opening the file anew: no write fails, no read fails, every row
// is there once and the file is sound.
TEST_F(TwoPrograms, BothWriteWhileAThirdReadsAndNothingFails)
{
    {
        CBdD created(path);
        ASSERT_TRUE(created.IsOpen());
    }
    constexpr int Writes = 150;
    const QString stop = TestFolders::file(QStringLiteral("stop"));
    Peer reader({QStringLiteral("read"), path, stop});
    // The writers begin once the reader reads.
    ASSERT_TRUE(reader.ready());
    Peer a({QStringLiteral("write"), path, QString::number(Writes), QStringLiteral("A")});
    Peer b({QStringLiteral("write"), path, QString::number(Writes), QStringLiteral("B")});
    ASSERT_TRUE(a.child.Started());
    ASSERT_TRUE(b.child.Started());
    a.child.Process().write("go\n");
    b.child.Process().write("go\n");
    const QString expected = QStringLiteral("wrote %1 0").arg(Writes);
    EXPECT_EQ(a.result(), expected);
    EXPECT_EQ(b.result(), expected);
    QFile(stop).open(QIODevice::WriteOnly);
    const QStringList read = reader.result().split(u' ');
    ASSERT_EQ(read.size(), 4);
    EXPECT_GT(read[1].toInt(), 0);
    EXPECT_EQ(read[2], QStringLiteral("0")) << "reads that failed";

    constexpr int Activities = Writes / 5;
    constexpr int Entries = Writes - Activities;
    EXPECT_EQ(cell(QStringLiteral("select count(*) from Taches")), QString::number(2 * Entries));
    EXPECT_EQ(cell(QStringLiteral("select count(distinct Title) from Taches")), QString::number(2 * Entries));
    EXPECT_EQ(cell(QStringLiteral("select count(distinct Nom) from Activites")), QString::number(2 * Activities));
    // Ids of this desktop stay 3 apart and below the counter.
    EXPECT_EQ(cell(QStringLiteral("select count(*) from Taches where (Id - 101) % 3 <> 0")), QStringLiteral("0"));
    EXPECT_EQ(cell(QStringLiteral("select Pc > (select max(Id) from Taches) from NextRowId where Name='Taches'")),
              QStringLiteral("1"));
    EXPECT_EQ(cell(QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
}

// A finished entry saved as the program saves it.
bool saveEntry(const QString &title, qint64 start)
{
    tTacheFull e;
    e.Debut = start;
    e.Fin = start + 600;
    e.Title = title;
    CBdD db;
    return db.SaveTimeEntry(e);
}

// The other program stands in here as writes made with no undo history:
// that is all that tells the two programs apart at the file.
class OtherProgram
{
public:
    explicit OtherProgram(CAnnulation *ours)
        : m_ours(ours)
    {
        CAppData::SetAnnulation(nullptr);
    }
    ~OtherProgram() { CAppData::SetAnnulation(m_ours); }

private:
    CAnnulation *m_ours;
};

// An undo of an insert runs after the other program took the next ids: the
// counter does not go back below them, and a counter that lags anyway (a
// file from an older version) skips the ids in use, so no insert of either
// program fails for good.
TEST_F(TwoPrograms, AnUndoNeverPutsTheIdCounterBelowIdsInUse)
{
    ASSERT_TRUE(saveEntry(QStringLiteral("ours"), 1000000));
    {
        const OtherProgram other(&history);
        ASSERT_TRUE(saveEntry(QStringLiteral("theirs 1"), 2000000));
        ASSERT_TRUE(saveEntry(QStringLiteral("theirs 2"), 3000000));
    }
    ASSERT_EQ(history.Undo(), CAnnulation::Outcome::Done);
    EXPECT_EQ(cell(QStringLiteral("select count(*) from Taches where Id=101")), QStringLiteral("0"));
    EXPECT_EQ(cell(QStringLiteral("select Pc from NextRowId where Name='Taches'")), QStringLiteral("110"));
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(saveEntry(QStringLiteral("next %1").arg(i), 4000000 + i * 1000)) << i;
    {
        const OtherProgram other(&history);
        EXPECT_TRUE(saveEntry(QStringLiteral("theirs 3"), 5000000));
    }
    EXPECT_EQ(cell(QStringLiteral("select group_concat(Id, ' ') from (select Id from Taches order by Id)")),
              QStringLiteral("104 107 110 113 116 119"));

    // A counter found behind the ids in use.
    exec(QStringLiteral("update NextRowId set Pc=101 where Name='Taches'"));
    EXPECT_TRUE(saveEntry(QStringLiteral("healed"), 6000000));
    EXPECT_EQ(cell(QStringLiteral("select Id from Taches where Title='healed'")), QStringLiteral("101"));
    EXPECT_TRUE(saveEntry(QStringLiteral("past the others"), 7000000));
    EXPECT_EQ(cell(QStringLiteral("select Id from Taches where Title='past the others'")), QStringLiteral("122"));
    // Undoing it puts the counter back to that id, not below the others.
    ASSERT_EQ(history.Undo(), CAnnulation::Outcome::Done);
    EXPECT_EQ(cell(QStringLiteral("select Pc from NextRowId where Name='Taches'")), QStringLiteral("122"));
}

// A save whose COMMIT fails leaves the caller's record as it was: saving it
// again inserts the row instead of updating one that was rolled back.
TEST_F(TwoPrograms, ASaveWhoseCommitFailedCanBeSavedAgain)
{
    struct Case
    {
        const char *table;
        std::function<bool(tElement &, tForecast &)> save;
    };
    const Case cases[] = {
        {"Activites", [](tElement &e, tForecast &) { CBdD db; return db.SaveActivity(e); }},
        {"TauxHoraire", [](tElement &e, tForecast &) { CBdD db; return db.SaveRate(e); }},
        {"Projets", [](tElement &e, tForecast &f) { CBdD db; return db.SaveProject(&e, &f); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.table);
        tElement element;
        element.Nom = QStringLiteral("Nouveau");
        tForecast plan;
        plan.IdProject = -1;
        plan.IdActivity = -2;
        {
            // A constraint checked only at COMMIT makes the COMMIT fail.
            CBdD keep;
            keep.Execute(u"PRAGMA foreign_keys=ON");
            keep.Execute(u"create table Lien(IdTache integer references Taches(Id) deferrable initially deferred)");
            keep.Execute(QStringLiteral("create trigger Casse after insert on %1 begin insert into Lien values (999); end")
                             .arg(QLatin1String(c.table)));
            EXPECT_FALSE(c.save(element, plan));
            EXPECT_EQ(element.Id, -1);
            EXPECT_EQ(plan.IdProject, -1);
            keep.Execute(u"drop trigger Casse");
            keep.Execute(u"drop table Lien");
            keep.Execute(u"PRAGMA foreign_keys=OFF");
        }
        ASSERT_TRUE(c.save(element, plan));
        ASSERT_NE(element.Id, -1);
        EXPECT_EQ(cell(QStringLiteral("select Nom from %1 where Id=%2").arg(QLatin1String(c.table)).arg(element.Id)),
                  QStringLiteral("Nouveau"));
        if (QLatin1String(c.table) == QLatin1String("Projets")) {
            EXPECT_EQ(plan.IdProject, element.Id);
        }
    }
}

// What a database holds of the rows a replacement writes: its entries (how
// many, their ids and titles) and its mark; "<cannot open>" or an error.
QString contentOf(const QString &database)
{
    SQLite::CmyDataBase db;
    if (db.OpenReadOnly(database) != 0)
        return QStringLiteral("<cannot open>");
    SQLite::MyTablePtr t = db.Query(u"select (select count(*) || ' ' || total(Id) || ' ' || "
                                    u"length(group_concat(Title)) from Taches), "
                                    u"(select Value from Infos where Name='Mark')");
    return t.hasRows() ? t->GetCell(0, 0) + u' ' + t->GetCell(0, 1) : QStringLiteral("<error>");
}

QString integrityOf(const QString &database)
{
    SQLite::CmyDataBase db;
    if (db.OpenReadOnly(database) != 0)
        return QStringLiteral("<cannot open>");
    SQLite::MyTablePtr t = db.Query(u"PRAGMA integrity_check");
    return t.hasRows() ? t->GetCell(0, 0) : QStringLiteral("<error>");
}

// A user database marked `mark` holding `entries` entries of long titles
// (enough of them make its pages go in several steps of a replacement).
void makeUserDatabase(const QString &database, const QString &mark, int entries)
{
    CBdD made(database);
    ASSERT_TRUE(made.IsOpen());
    ASSERT_TRUE(made.Connection()->BeginTransaction());
    ASSERT_EQ(made.Execute(QStringLiteral("insert into Infos (Name, Value) values ('Mark', '%1')").arg(mark)), 0);
    for (int i = 0; i < entries; ++i) {
        ASSERT_EQ(made.Execute(QStringLiteral("insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,Deleted,Title) "
                                              "values (%1,%2,%3,-1,-1,0,'%4 %1 %5')")
                                   .arg(i + 1)
                                   .arg(1000000 + i * 600)
                                   .arg(1000000 + i * 600 + 500)
                                   .arg(mark, QString(400, u'x'))),
                  0);
    }
    ASSERT_TRUE(made.Connection()->CommitTransaction());
}

// While a database is replaced (a restore, a network update, the local
// write of a synchronisation), the other program saves nothing: its save
// between any two steps of the replacement is refused as busy, and the
// file then holds the new rows alone, sound. Once it is done, the other
// program saves again.
TEST_F(TwoPrograms, NoOtherProgramWritesWhileADatabaseIsReplaced)
{
    const QString incoming = TestFolders::tempDb(QStringLiteral("incoming.sdb"));
    makeUserDatabase(incoming, QStringLiteral("new"), 1500);
    const QString wanted = contentOf(incoming);
    const struct
    {
        const char *what;
        std::function<CDatabaseFile::ReplaceResult()> replace;
    } cases[] = {
        {"over the state the caller read",
         [&] {
             quint32 counter = 0;
             EXPECT_TRUE(CDatabaseFile::ReadChangeCounter(path, counter));
             return CDatabaseFile::ReplaceLiveIfUnchanged(incoming, path, counter);
         }},
        {"whatever the state",
         [&] {
             return CDatabaseFile::ReplaceLive(incoming, path) ? CDatabaseFile::ReplaceResult::Replaced
                                                               : CDatabaseFile::ReplaceResult::Failed;
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        CBdD::CloseSharedConnection();
        QFile::remove(path);
        makeUserDatabase(path, QStringLiteral("old"), 20);
        // This program's own connection stays open, as the program's does.
        CBdD ours;
        ASSERT_EQ(ours.Query(u"select count(*) from Taches")->GetCell(0, 0), QStringLiteral("20"));
        WritingPeer other(QStringLiteral(DATASTORE_PEER), path);
        ASSERT_EQ(other.Insert(QStringLiteral("before")), QStringLiteral("saved"));
        QStringList answers;
        CDatabaseFile::SetFaultHook([&](CDatabaseFile::Stage stage) {
            if (stage == CDatabaseFile::Stage::ReplaceBetweenSteps)
                answers << other.Insert(QStringLiteral("during %1").arg(answers.size()));
            return false;
        });
        const CDatabaseFile::ReplaceResult result = c.replace();
        CDatabaseFile::SetFaultHook({});
        EXPECT_EQ(result, CDatabaseFile::ReplaceResult::Replaced);
        ASSERT_GE(answers.size(), 2);
        EXPECT_EQ(answers.count(QStringLiteral("busy")), answers.size()) << answers.join(u',').toStdString();
        EXPECT_EQ(integrityOf(path), QStringLiteral("ok"));
        EXPECT_EQ(contentOf(path), wanted);
        EXPECT_EQ(ours.Query(u"select Value from Infos where Name='Mark'")->GetCell(0, 0), QStringLiteral("new"));
        // The lock is let go with the last step.
        EXPECT_EQ(other.Insert(QStringLiteral("after")), QStringLiteral("saved"));
        EXPECT_EQ(cell(QStringLiteral("select count(*) from Taches")), QStringLiteral("1501"));
    }
}

} // namespace
