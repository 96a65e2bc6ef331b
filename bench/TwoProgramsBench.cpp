// Two programs write one user database at once through the data store, each
// write opening the file, as the windows do; with and without a third
// program reading one day's entries in a loop, started first and reading
// before the writers begin. Writes per second of both together, the
// reader's reads per second meanwhile, and the writes and reads that failed
// (there must be none).
#include "BenchFolder.h"
#include "CBdD.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>

#include <cstdio>

namespace {

constexpr int WritesEach = 200;

// The last line a peer printed, split at blanks; empty when it failed.
QStringList result(QProcess &peer)
{
    if (!peer.waitForFinished(-1) || peer.exitCode() != 0)
        return {};
    const QList<QByteArray> lines = peer.readAllStandardOutput().trimmed().split('\n');
    return QString::fromUtf8(lines.last()).split(u' ');
}

// Waits for the reader's line "ready": it has read once and reads on.
bool readerReads(QProcess &reader)
{
    while (!reader.canReadLine()) {
        if (!reader.waitForReadyRead(-1))
            return false;
    }
    return reader.readLine().trimmed() == "ready";
}

void TwoWriters(benchmark::State &state)
{
    const bool withReader = state.range(0) == 1;
    int run = 0;
    double failedWrites = 0;
    double failedReads = 0;
    double reads = 0;
    double readingMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString name = QStringLiteral("%1-%2").arg(state.range(0)).arg(run++);
        const QString path = Bench::folder().path() + QStringLiteral("/Two%1.sdb").arg(name);
        const QString stop = Bench::folder().path() + QStringLiteral("/stop%1").arg(name);
        { CBdD created(path); }
        QProcess reader;
        if (withReader) {
            reader.start(QStringLiteral(DATASTORE_PEER), {QStringLiteral("read"), path, stop});
            if (!readerReads(reader)) {
                state.SkipWithError("the reader did not start");
                break;
            }
        }
        QProcess a;
        QProcess b;
        a.start(QStringLiteral(DATASTORE_PEER), {QStringLiteral("write"), path, QString::number(WritesEach), "A"});
        b.start(QStringLiteral(DATASTORE_PEER), {QStringLiteral("write"), path, QString::number(WritesEach), "B"});
        a.waitForStarted(-1);
        b.waitForStarted(-1);
        state.ResumeTiming();
        a.write("go\n");
        b.write("go\n");
        const QStringList ra = result(a);
        const QStringList rb = result(b);
        state.PauseTiming();
        QFile(stop).open(QIODevice::WriteOnly);
        if (ra.size() != 3 || rb.size() != 3) {
            state.SkipWithError("a writer did not finish");
            break;
        }
        failedWrites += ra[2].toInt() + rb[2].toInt();
        if (withReader) {
            const QStringList rr = result(reader);
            reads += rr.value(1).toInt();
            readingMs += rr.value(3).toDouble();
            std::fputs(reader.readAllStandardError().constData(), stderr);
            failedReads += rr.value(2).toInt();
        }
        state.ResumeTiming();
    }
    state.counters["writes/s"] = benchmark::Counter(2.0 * WritesEach * static_cast<double>(state.iterations()),
                                                    benchmark::Counter::kIsRate);
    state.counters["failed writes"] = failedWrites;
    state.counters["reads"] = reads;
    state.counters["reads/s"] = readingMs > 0 ? 1000.0 * reads / readingMs : 0.0;
    state.counters["failed reads"] = failedReads;
}

} // namespace

BENCHMARK(TwoWriters)->Arg(0)->Arg(1)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    Bench::keepEnvironmentInFolder();
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
