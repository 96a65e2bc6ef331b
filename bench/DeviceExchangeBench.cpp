// A whole copy of a ten-year database (about 40 000 time entries, every one
// still to be synchronised) from a device folder over the local database
// and back, against the safe copy of the same file alone (CopyLive) in the
// same run: the difference is the upgrade check, the purge that marks every
// row synchronised and compacts the file, the full check before anything is
// replaced, and the two writes (device, then local). Medians of five runs.
#include "BenchFolder.h"
#include "TenYearsOfEntries.h"

#include "CDatabaseFile.h"
#include "DeviceExchange.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <benchmark/benchmark.h>

namespace {

QString inFolder(const QString &name)
{
    return Bench::folder().path() + u'/' + name;
}

const QString &deviceRoot()
{
    static const QString root = [] {
        const QString r = inFolder(QStringLiteral("Device"));
        QDir().mkpath(r + QStringLiteral("/Program Files/Zarvo/Db"));
        QFile registry(r + QStringLiteral("/registry.ini"));
        registry.open(QIODevice::WriteOnly);
        registry.write("[HKLM\\Software\\Apps\\Quellmark Zarvo]\nInstallDir=\\Program Files\\Zarvo\\\n");
        return r;
    }();
    return root;
}

// Both sides back to ten years of unsynchronised entries.
void restoreBothSides(const QString &local, const QString &device)
{
    if (!CDatabaseFile::CopyLive(TenYears::databasePath(), local, CDatabaseFile::Target::Replace)
        || !CDatabaseFile::CopyLive(TenYears::databasePath(), device, CDatabaseFile::Target::Replace))
        qFatal("the benchmark's databases could not be put in place");
}

void BM_CopyLiveAlone(benchmark::State &state)
{
    const QString target = inFolder(QStringLiteral("alone.sdb"));
    for (auto _ : state) {
        if (!CDatabaseFile::CopyLive(TenYears::databasePath(), target, CDatabaseFile::Target::Replace))
            state.SkipWithError("copy failed");
    }
}
BENCHMARK(BM_CopyLiveAlone)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_WholeCopy(benchmark::State &state)
{
    const int direction = int(state.range(0));
    const QString local = inFolder(QStringLiteral("users/Bench/Zarvo.sdb"));
    const QString device = deviceRoot() + QStringLiteral("/Program Files/Zarvo/Db/Zarvo.sdb");
    QDir().mkpath(QFileInfo(local).path());
    restoreBothSides(local, device);
    DeviceExchange exchange(deviceRoot());
    if (!exchange.Connect() || !exchange.LocateDeviceDatabase())
        qFatal("the benchmark's device folder is not found");
    exchange.SetAssociatedUser(1, QStringLiteral("Bench"), local);
    DeviceExchange::WholeCopyOptions options;
    options.backupFirst = false;
    for (auto _ : state) {
        state.PauseTiming();
        restoreBothSides(local, device);
        state.ResumeTiming();
        if (exchange.CopyWholeDatabase(direction, options) != DeviceExchange::WholeCopyResult::Copied)
            state.SkipWithError("whole copy failed");
    }
}
BENCHMARK(BM_WholeCopy)
    ->Arg(0)
    ->Arg(1)
    ->ArgNames({"direction"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Bench::keepEnvironmentInFolder();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
