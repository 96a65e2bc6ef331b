// Backing up and replacing a database of ten years of time entries (about
// 40 000 rows) through the online backup, against a plain copy of the same
// file (with and without flushing it to disk) in the same run.
#include "BenchFolder.h"
#include "CBdD.h"
#include "CDatabaseFile.h"
#include "Formatter.h"
#include "LocalTime.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>

#include <fcntl.h>
#include <unistd.h>

using Platform::Formatter;

namespace {

const QString &databasePath()
{
    static const QString path = [] {
        const QString p = Bench::folder().path() + QStringLiteral("/Zarvo.sdb");
        CBdD db(p);
        db.Connection()->BeginTransaction();
        int id = 1;
        for (QDate d(2017, 1, 2); d <= QDate(2026, 12, 31); d = d.addDays(1)) {
            for (int k = 0; k < 11; ++k) {
                const qint64 start = Platform::LocalTime::atMinute(d, 8 * 60 + 45 * k);
                db.Execute(Formatter::sprintf(
                    u"insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,Facture,IdTauxHoraire,Date_Modif,"
                    u"Origine_Modif,Deleted,Title,Notes) values (%d,%I64d,%I64d,%d,%d,%d,-1,%I64d,1,0,'Tâche %d','')",
                    {id, start, start + 40 * 60, 32 + 3 * (id % 40), 31 + 3 * (id % 12), id % 2, start, id}));
                ++id;
            }
        }
        db.Connection()->CommitTransaction();
        return p;
    }();
    return path;
}

QString target(const char *name)
{
    return Bench::folder().path() + u'/' + QLatin1String(name);
}

void BM_PlainCopy(benchmark::State &state)
{
    const QString source = databasePath();
    const QString copy = target("plain.sdb");
    const bool flush = state.range(0) != 0;
    for (auto _ : state) {
        QFile::remove(copy);
        QFile::copy(source, copy);
        if (flush) {
            const int fd = ::open(QFile::encodeName(copy).constData(), O_RDONLY);
            ::fsync(fd);
            ::close(fd);
        }
    }
    state.counters["bytes"] = double(QFile(source).size());
}
BENCHMARK(BM_PlainCopy)->Arg(0)->Arg(1)->ArgNames({"flushed"})->Unit(benchmark::kMillisecond);

void BM_BackupCopy(benchmark::State &state)
{
    const QString source = databasePath();
    const QString copy = target("backup.sdb");
    for (auto _ : state) {
        QFile::remove(copy);
        if (!CDatabaseFile::CopyLive(source, copy, CDatabaseFile::Target::FreeName))
            state.SkipWithError("copy failed");
    }
}
BENCHMARK(BM_BackupCopy)->Unit(benchmark::kMillisecond);

void BM_ReplaceOpenDatabase(benchmark::State &state)
{
    const QString incoming = databasePath();
    const QString live = target("live.sdb");
    CDatabaseFile::CopyLive(incoming, live, CDatabaseFile::Target::Replace);
    // The tray keeps the database open while it is replaced.
    CBdD tray(live);
    for (auto _ : state) {
        if (!CDatabaseFile::ReplaceLive(incoming, live))
            state.SkipWithError("replacement failed");
    }
}
BENCHMARK(BM_ReplaceOpenDatabase)->Unit(benchmark::kMillisecond);

void BM_CheckFile(benchmark::State &state)
{
    const QString source = databasePath();
    for (auto _ : state)
        benchmark::DoNotOptimize(CDatabaseFile::Check(source).ok());
}
BENCHMARK(BM_CheckFile)->Unit(benchmark::kMillisecond);

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
