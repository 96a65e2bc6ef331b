// One stamped write of a time entry (id allocation, insert with its undo
// pair, row and 'Modif' stamps, change broadcast, commit, notice to the
// main frame) against a bare BEGIN IMMEDIATE; INSERT; COMMIT on the same
// file in the same run.
#include "CAnnulation.h"
#include "CAppData.h"
#include "CBdD.h"
#include "QuoteSql.h"

#include "Clock.h"
#include "Formatter.h"

#include <benchmark/benchmark.h>

#include <QDir>

#include "MessageBus.h"

#include <chrono>
#include <ctime>
#include <cstring>
#include <QFile>
#include <QTemporaryDir>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using Platform::Formatter;

namespace {

struct Fixture
{
    Fixture()
    {
        // Endpoints and files of the benchmark's own, never the user's.
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.path()));
        path = dir.path() + QStringLiteral("/Zarvo.sdb");
        CAppData::SetAnnulation(&history);
        CAppData::SetCurrentDatabasePath(path);
        CBdD create;
    }
    QTemporaryDir dir;
    QString path;
    CAnnulation history;
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

QString insertStatement(int id, qint64 start)
{
    return Formatter::sprintf(u"insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, "
                              u"Deleted, Title, Notes) values (%d, %I64d, %I64d, %d, %d, 0, -1, 0, '%s', '')",
                              {id, start, start + 3600, 32, 32, QuoteSql(u"Réunion d'équipe")});
}

double threadCpuNs()
{
    timespec ts{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e9 + static_cast<double>(ts.tv_nsec);
}

bool stampedWrite(qint64 start)
{
    CBdD db;
    if (!db.BeginWrite())
        return false;
    const int id = db.AllocateRowId(CBdD::TableTaches);
    db.ExecuteWithUndo(insertStatement(id, start), Formatter::sprintf(u"delete from Taches where Id=%d", {id}));
    db.StampRow(CBdD::TableTaches, id);
    const bool ok = db.EndWrite();
    CBdD::SendDataChanged(0, 0);
    return ok;
}

// A bare endpoint standing for the tray companion: every change broadcast
// connects to it, as it does while the other program runs. Drained after
// each write, counting the broadcasts that reached it.
class TrayPeer
{
public:
    TrayPeer()
    {
        const QByteArray path = QFile::encodeName(Platform::MessageBus::endpointFolder()
                                                  + QStringLiteral("/%1-9999.sock").arg(::getpid()));
        ::unlink(path.constData());
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::memcpy(addr.sun_path, path.constData(), static_cast<size_t>(path.size()));
        m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (m_fd < 0 || ::bind(m_fd, reinterpret_cast<const sockaddr *>(&addr), sizeof(addr)) != 0
            || ::listen(m_fd, 4096) != 0) {
            if (m_fd >= 0)
                ::close(m_fd);
            m_fd = -1;
        }
        m_path = path;
    }
    ~TrayPeer()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        ::unlink(m_path.constData());
    }
    bool ok() const { return m_fd >= 0; }
    // The broadcasts waiting since the last call.
    int drain()
    {
        int n = 0;
        for (;;) {
            const int c = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC);
            if (c < 0)
                break;
            ::close(c);
            ++n;
        }
        return n;
    }

private:
    int m_fd = -1;
    QByteArray m_path;
};

// One write that inserts and stamps `rows` entries, as a write that
// changes several rows does (an overwrite cutting its neighbours, a move
// writing two child lists and the moved project, a copied subtree).
bool stampedWriteOfRows(qint64 start, int rows)
{
    CBdD db;
    if (!db.BeginWrite())
        return false;
    for (int i = 0; i < rows; ++i) {
        const int id = db.AllocateRowId(CBdD::TableTaches);
        db.ExecuteWithUndo(insertStatement(id, start + 5400 * i),
                           Formatter::sprintf(u"delete from Taches where Id=%d", {id}));
        db.StampRow(CBdD::TableTaches, id);
    }
    const bool ok = db.EndWrite();
    CBdD::SendDataChanged(0, 0);
    return ok;
}

bool bareWrite(SQLite::CmyDataBase &db, int id, qint64 start)
{
    return db.Execute(u"BEGIN IMMEDIATE TRANSACTION") == 0 && db.Execute(insertStatement(id, start)) == 0
           && db.Execute(u"COMMIT TRANSACTION") == 0;
}

void StampedWrite(benchmark::State &state)
{
    fixture();
    CBdD outer; // keeps the shared connection open, as the running program does
    qint64 start = 1700000000;
    for (auto _ : state) {
        if (!stampedWrite(start)) {
            state.SkipWithError("write failed");
            break;
        }
        start += 5400;
    }
}
BENCHMARK(StampedWrite)->Unit(benchmark::kMicrosecond);

// Several stamped rows in one write, with the other program's endpoint
// listening; the counter gives the change broadcasts one write posted.
void StampedWriteOfRows(benchmark::State &state)
{
    fixture();
    CBdD outer;
    TrayPeer tray;
    if (!tray.ok()) {
        state.SkipWithError("no endpoint");
        return;
    }
    const int rows = static_cast<int>(state.range(0));
    static qint64 start = 2000000000;
    double broadcasts = 0;
    for (auto _ : state) {
        if (!stampedWriteOfRows(start, rows)) {
            state.SkipWithError("write failed");
            break;
        }
        start += 5400 * rows;
        broadcasts += tray.drain();
    }
    state.counters["rows"] = rows;
    state.counters["broadcasts_per_write"] = broadcasts / static_cast<double>(state.iterations());
}
BENCHMARK(StampedWriteOfRows)->Arg(1)->Arg(3)->Arg(20)->Unit(benchmark::kMicrosecond);

// One change broadcast alone: the runtime folder listed, one connection to
// the other program's endpoint.
void ChangeBroadcast(benchmark::State &state)
{
    fixture();
    TrayPeer tray;
    if (!tray.ok()) {
        state.SkipWithError("no endpoint");
        return;
    }
    int n = 0;
    for (auto _ : state) {
        CBdD::PostChange(0);
        if (++n % 256 == 0)
            tray.drain();
    }
    tray.drain();
}
BENCHMARK(ChangeBroadcast)->Unit(benchmark::kMicrosecond);

void BareWrite(benchmark::State &state)
{
    fixture();
    SQLite::CmyDataBase db;
    db.Open(fixture().path);
    // Ids never repeat across runs: a refused insert would commit nothing.
    static int id = 10000000;
    qint64 start = 1800000000;
    for (auto _ : state) {
        if (!bareWrite(db, id, start)) {
            state.SkipWithError("COMMIT failed");
            break;
        }
        id += 3;
        start += 5400;
    }
}
BENCHMARK(BareWrite)->Unit(benchmark::kMicrosecond);

// Both writes in turn, so that both see the same disk and the same load;
// the counters give their mean times and the ratio.
void StampedOverBare(benchmark::State &state)
{
    fixture();
    CBdD outer;
    SQLite::CmyDataBase bare;
    bare.Open(fixture().path);
    static int id = 20000000;
    qint64 start = 1900000000;
    double stampedNs = 0;
    double bareNs = 0;
    double stampedCpuNs = 0;
    double bareCpuNs = 0;
    for (auto _ : state) {
        const double c0 = threadCpuNs();
        const auto t0 = std::chrono::steady_clock::now();
        const bool a = stampedWrite(start);
        const auto t1 = std::chrono::steady_clock::now();
        const double c1 = threadCpuNs();
        const bool b = bareWrite(bare, id, start + 1);
        const auto t2 = std::chrono::steady_clock::now();
        const double c2 = threadCpuNs();
        if (!a || !b) {
            state.SkipWithError("write failed");
            break;
        }
        stampedNs += std::chrono::duration<double, std::nano>(t1 - t0).count();
        bareNs += std::chrono::duration<double, std::nano>(t2 - t1).count();
        stampedCpuNs += c1 - c0;
        bareCpuNs += c2 - c1;
        id += 3;
        start += 5400;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["stamped_us"] = stampedNs / n / 1000.0;
    state.counters["bare_us"] = bareNs / n / 1000.0;
    state.counters["ratio"] = bareNs > 0 ? stampedNs / bareNs : 0.0;
    // The processor time of this thread alone: what the write convention
    // itself costs, without the wait for the disk that other work on the
    // machine lengthens.
    state.counters["stamped_cpu_us"] = stampedCpuNs / n / 1000.0;
    state.counters["bare_cpu_us"] = bareCpuNs / n / 1000.0;
    state.counters["cpu_ratio"] = bareCpuNs > 0 ? stampedCpuNs / bareCpuNs : 0.0;
}
BENCHMARK(StampedOverBare)->Unit(benchmark::kMicrosecond)->Repetitions(3);

} // namespace

BENCHMARK_MAIN();
