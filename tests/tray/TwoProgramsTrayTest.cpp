// The main program's data store in this process and the tray in a process
// of its own (tray_peer), on one user database made by the main program:
// each sees what the other starts and stops, ids are never shared, a lock
// held by a third program fails a start cleanly, and the tray's landed
// writes post its refresh message, one each.
#include "CAnnulation.h"
#include "ChildProcess.h"
#include "RegisteredMessages.h"
#include "ShortBusyWait.h"
#include "TrayFixture.h"

#include "MessageBus.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>

namespace {

// Every wait is for an event, bounded far beyond what a loaded machine
// needs; nothing is timed.
constexpr int Patience = 300000;

class TrayPeer
{
public:
    explicit TrayPeer(const QString &path)
        : m_child(QStringLiteral(TRAY_PEER), {path}, {}, Patience)
    {
        m_child.AskToEndWith("quit\n");
    }
    bool started() { return m_child.Started(); }
    // Sends a command; the line it answers (empty when the peer ended).
    void send(const QString &command)
    {
        m_sent = command;
        m_child.Process().write((command + u'\n').toUtf8());
    }
    QString answer() { return m_child.Line("the answer to \"" + m_sent.toStdString() + '"'); }
    QString ask(const QString &command)
    {
        send(command);
        return answer();
    }

private:
    ChildProcess m_child;
    QString m_sent;
};

// This process is the main program: its undo history, its store, the
// current user's file, its change notice.
class TwoProgramsTray : public TrayFixture
{
protected:
    void SetUp() override
    {
        TrayFixture::SetUp();
        CAppData::Clear();
        CAppData::SetAnnulation(&history);
        CAppData::SetProjectStore(&mainStore);
        CAppData::SetCurrentDatabasePath(path);
    }
    void TearDown() override
    {
        CBdD::CloseSharedConnection();
        TrayFixture::TearDown();
    }
    static tTacheFull running(qint64 start, const QString &title)
    {
        tTacheFull e;
        e.Debut = start;
        e.Title = title;
        return e;
    }
    static tTacheFull newest()
    {
        CBdD db;
        tTacheFull e;
        db.GetNewestTimeEntry(e);
        return e;
    }

    CAnnulation history;
    CProjectStore mainStore;
};

} // namespace

// Starts and stops of either program are what the other reads next; the
// ids stay three apart and unshared, and 'Modif' takes each write's time.
TEST_F(TwoProgramsTray, EachSeesTheOthersStartsAndStops)
{
    TrayPeer tray(path);
    ASSERT_TRUE(tray.started());
    const qint64 t0 = at(9, 0);

    now = t0;
    {
        CBdD db;
        ASSERT_TRUE(db.SaveTimeEntry(running(t0, QStringLiteral("Zarvo"))));
    }
    const int first = newest().Id;
    EXPECT_EQ(tray.ask(QStringLiteral("last")), QStringLiteral("%1 %2 0").arg(first).arg(t0));
    EXPECT_EQ(tray.ask(QStringLiteral("modif")), QString::number(t0));

    // The tray starts another entry: the main program's one ends there.
    ASSERT_EQ(tray.ask(QStringLiteral("now %1").arg(t0 + 60)), QStringLiteral("ok"));
    ASSERT_EQ(tray.ask(QStringLiteral("start -1 %1 Depuis la barre").arg(t0 + 60)), QStringLiteral("1"));
    tTacheFull e;
    {
        CBdD db;
        ASSERT_TRUE(db.GetTimeEntry(e, first));
    }
    EXPECT_EQ(e.Fin, t0 + 60);
    const tTacheFull second = newest();
    EXPECT_EQ(second.Title, QStringLiteral("Depuis la barre"));
    EXPECT_TRUE(second.IsRunning());
    EXPECT_EQ(cell(QStringLiteral("select Value from Infos where Name='Modif'")), QString::number(t0 + 60));

    // The main program stops it; the tray reads the stop, and a stop of its
    // own comes too late and writes nothing.
    now = t0 + 120;
    {
        CBdD db;
        ASSERT_TRUE(db.StopTimeEntry(second.Id, t0 + 120));
    }
    EXPECT_EQ(tray.ask(QStringLiteral("last")), QStringLiteral("%1 %2 %3").arg(second.Id).arg(t0 + 60).arg(t0 + 120));
    ASSERT_EQ(tray.ask(QStringLiteral("now %1").arg(t0 + 180)), QStringLiteral("ok"));
    EXPECT_EQ(tray.ask(QStringLiteral("stop %1 %2").arg(second.Id).arg(t0 + 180)), QStringLiteral("0"));
    EXPECT_EQ(tray.ask(QStringLiteral("modif")), QString::number(t0 + 120));
    // The tray runs it again after its short standby? Not with another end.
    EXPECT_EQ(tray.ask(QStringLiteral("reopen %1 %2").arg(second.Id).arg(t0 + 100)), QStringLiteral("0"));

    // Writes in turn: every id once, all of this desktop's series.
    for (int i = 0; i < 5; ++i) {
        now = t0 + 300 + 120 * i;
        {
            CBdD db;
            ASSERT_TRUE(db.SaveTimeEntry(running(now, QStringLiteral("main %1").arg(i))));
        }
        ASSERT_EQ(tray.ask(QStringLiteral("now %1").arg(now + 60)), QStringLiteral("ok"));
        ASSERT_EQ(tray.ask(QStringLiteral("start -1 %1 tray %2").arg(now + 60).arg(i)), QStringLiteral("1"));
    }
    EXPECT_EQ(cell(QStringLiteral("select count(*) from Taches")), QStringLiteral("12"));
    EXPECT_EQ(cell(QStringLiteral("select count(distinct Id) from Taches")), QStringLiteral("12"));
    EXPECT_EQ(cell(QStringLiteral("select count(*) from Taches where (Id - 101) % 3 <> 0")), QStringLiteral("0"));
    EXPECT_EQ(cell(QStringLiteral("select count(*) from Taches where Fin=0")), QStringLiteral("1"));
    EXPECT_EQ(cell(QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
}

// A third program holding the write lock past every wait, or reading
// through the tray's commit: a start that reports success is in the file,
// one that reports failure left nothing, and only landed writes are
// announced, each with the refresh message, never the change notice.
TEST_F(TwoProgramsTray, LocksOfAThirdProgramAndTheRefreshMessage)
{
    Platform::MessageBus endpoint;
    ASSERT_TRUE(endpoint.listen());
    QSignalSpy spy(&endpoint, &Platform::MessageBus::received);
    const quint32 refresh = Platform::MessageBus::registerMessage(RegisteredMessages::RefreshFromTray);
    const quint32 change = Platform::MessageBus::registerMessage(RegisteredMessages::ZarvoChange);
    const quint32 last = Platform::MessageBus::registerMessage(u"TwoProgramsTray last message");

    put(101, at(9, 0), 0);
    exec(QStringLiteral("update NextRowId set Pc=104 where Name='Taches'"));
    TrayPeer tray(path);
    ASSERT_TRUE(tray.started());
    ASSERT_EQ(tray.ask(QStringLiteral("now %1").arg(at(10, 0))), QStringLiteral("ok"));
    int landed = 0;

    // RESERVED held: the start waits, gives up, and writes nothing.
    {
        SQLite::CmyDataBase third;
        ASSERT_EQ(third.Open(path), 0);
        ASSERT_TRUE(third.BeginTransaction());
        const QString before = dump();
        ASSERT_EQ(tray.ask(QStringLiteral("busy 0")), QStringLiteral("ok"));
        EXPECT_EQ(tray.ask(QStringLiteral("start -1 %1 bloqué").arg(at(10, 0))), QStringLiteral("0"));
        third.RollbackTransaction();
        EXPECT_EQ(dump(), before);
    }

    // SHARED held through the whole commit: the start fails, nothing kept.
    {
        SQLite::CmyDataBase third;
        ASSERT_EQ(third.Open(path), 0);
        ASSERT_EQ(third.Execute(u"BEGIN"), 0);
        third.Query(u"select count(*) from Taches");
        const QString before = dump();
        EXPECT_EQ(tray.ask(QStringLiteral("start -1 %1 lu").arg(at(10, 0))), QStringLiteral("0"));
        third.Execute(u"COMMIT");
        EXPECT_EQ(dump(), before);
    }

    // SHARED let go while the tray writes: the start lands, whole.
    ASSERT_EQ(tray.ask(QStringLiteral("busy 5000")), QStringLiteral("ok"));
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        SQLite::CmyDataBase third;
        ASSERT_EQ(third.Open(path), 0);
        ASSERT_EQ(third.Execute(u"BEGIN"), 0);
        third.Query(u"select count(*) from Taches");
        const QString title = QStringLiteral("attendu %1").arg(i);
        tray.send(QStringLiteral("start -1 %1 %2").arg(at(10, 1 + i)).arg(title));
        // Until the tray has begun writing (its journal is there), then
        // later each time.
        const QString journal = path + QStringLiteral("-journal");
        QDeadlineTimer deadline(Patience);
        while (!QFileInfo::exists(journal) && !deadline.hasExpired())
            QCoreApplication::processEvents();
        for (int k = 0; k < 1000 * i; ++k)
            QCoreApplication::processEvents();
        third.Execute(u"COMMIT");
        const QString answer = tray.answer();
        EXPECT_EQ(answer, QStringLiteral("1"));
        EXPECT_EQ(cell(QStringLiteral("select count(*) from Taches where Title='%1'").arg(title)),
                  answer == u"1" ? QStringLiteral("1") : QStringLiteral("0"));
        landed += answer == u"1" ? 1 : 0;
    }

    // A stop, a stop too late, a start from a favourite that has no row.
    const QString lastTask = tray.ask(QStringLiteral("last"));
    const QString id = lastTask.section(u' ', 0, 0);
    EXPECT_EQ(tray.ask(QStringLiteral("stop %1 %2").arg(id).arg(at(10, 30))), QStringLiteral("1"));
    ++landed;
    EXPECT_EQ(tray.ask(QStringLiteral("stop %1 %2").arg(id).arg(at(10, 31))), QStringLiteral("0"));
    EXPECT_EQ(tray.ask(QStringLiteral("start 4242 %1 perdu").arg(at(10, 40))), QStringLiteral("0"));
    EXPECT_EQ(cell(QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));

    // The tray's messages, up to a last one of its own.
    ASSERT_EQ(tray.ask(QStringLiteral("post TwoProgramsTray last message")), QStringLiteral("ok"));
    const auto message = [&](qsizetype i) { return spy.at(i).at(0).value<Platform::MessageBus::Message>().message; };
    QDeadlineTimer deadline(Patience);
    while ((spy.isEmpty() || message(spy.count() - 1) != last) && !deadline.hasExpired())
        spy.wait(1000);
    QList<quint32> seen;
    for (qsizetype i = 0; i < spy.count(); ++i)
        seen << message(i);
    EXPECT_EQ(seen.count(refresh), landed);
    EXPECT_EQ(seen.count(change), 0);
    EXPECT_EQ(seen.count(last), 1);
}
