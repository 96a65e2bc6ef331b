// Restoring a 50 MB backup into the live database while another process
// reads it, and a manual backup of that database while another process
// writes into it every 100 ms, against the sqlite3 shell's ".restore" and
// ".backup" on the same files in the same run. The look at a backup before
// a restore is timed apart.
#include "BenchFolder.h"
#include "CBdD.h"
#include "CDatabaseFile.h"
#include "CZarvoWinApp.h"
#include "Formatter.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace {

QString inFolder(const char *name)
{
    return Bench::folder().path() + u'/' + QLatin1String(name);
}

// A database of about 50 MB: entries with notes of some length.
const QString &backupPath()
{
    static const QString path = [] {
        const QString p = inFolder("Zarvo_M20260101120000.sdb");
        CBdD db(p);
        db.Connection()->BeginTransaction();
        const QString notes(400, u'n');
        for (int id = 1; id <= 100000; ++id)
            db.Execute(Platform::Formatter::sprintf(
                u"insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,Facture,IdTauxHoraire,Date_Modif,"
                u"Origine_Modif,Deleted,Title,Notes) values (%d,%d,%d,-1,-1,0,-1,%d,1,0,'Tâche %d','%s')",
                {id, 1000 * id, 1000 * id + 600, 1000 * id, id, notes}));
        db.Connection()->CommitTransaction();
        return p;
    }();
    return path;
}

QString shell()
{
    return QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
}

// Another process on the live database for the length of a benchmark: a
// reader in a loop, or a writer every 100 ms.
class OtherProcess
{
public:
    OtherProcess(const QString &database, bool writer)
    {
        const QString sql = writer ? QStringLiteral("insert into Infos(Name,Value) values ('w',1);")
                                   : QStringLiteral("select count(*) from Taches;");
        m_stop = database + QStringLiteral(".stop");
        QFile::remove(m_stop);
        const QString loop =
            QStringLiteral("while [ ! -e '%5' ]; do %1 -cmd '.timeout 2000' '%2' \"%3\" >/dev/null 2>&1; %4 done")
                .arg(shell(), database, sql, writer ? QStringLiteral("sleep 0.1;") : QString(), m_stop);
        m_process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), loop});
        m_process.waitForStarted();
    }
    ~OtherProcess()
    {
        // The loop ends after its current statement.
        QFile stop(m_stop);
        stop.open(QIODevice::WriteOnly);
        stop.close();
        m_process.waitForFinished(-1);
    }

private:
    QString m_stop;
    QProcess m_process;
};

bool runShell(const QString &database, const QString &command)
{
    QProcess process;
    process.start(shell(), {QStringLiteral("-cmd"), QStringLiteral(".timeout 2000"), database, command});
    const bool done = process.waitForFinished(-1) && process.exitCode() == 0;
    if (!done)
        qWarning("%s", process.readAllStandardError().constData());
    return done;
}

void BM_CheckBackup(benchmark::State &state)
{
    const QString backup = backupPath();
    for (auto _ : state)
        benchmark::DoNotOptimize(CZarvoWinApp::IsRestorableBackup(backup));
    state.counters["MB"] = double(QFile(backup).size()) / 1e6;
}
BENCHMARK(BM_CheckBackup)->Unit(benchmark::kMillisecond);

void BM_RestoreWhileRead(benchmark::State &state)
{
    const QString backup = backupPath();
    const QString live = inFolder("live.sdb");
    const bool ours = state.range(0) != 0;
    CDatabaseFile::CopyLive(backup, live, CDatabaseFile::Target::Replace);
    OtherProcess reader(live, false);
    for (auto _ : state) {
        const bool done = ours ? CDatabaseFile::ReplaceLive(backup, live)
                               : runShell(live, QStringLiteral(".restore '%1'").arg(backup));
        if (!done)
            state.SkipWithError("restore failed");
    }
}
BENCHMARK(BM_RestoreWhileRead)->Arg(1)->Arg(0)->ArgNames({"ours"})->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_BackupWhileWritten(benchmark::State &state)
{
    const QString live = inFolder("written.sdb");
    const QString copy = inFolder("copy.sdb");
    const bool ours = state.range(0) != 0;
    CDatabaseFile::CopyLive(backupPath(), live, CDatabaseFile::Target::Replace);
    OtherProcess writer(live, true);
    for (auto _ : state) {
        QFile::remove(copy);
        const bool done = ours ? CDatabaseFile::CopyLive(live, copy, CDatabaseFile::Target::Replace)
                               : runShell(live, QStringLiteral(".backup '%1'").arg(copy));
        if (!done)
            state.SkipWithError("backup failed");
    }
}
BENCHMARK(BM_BackupWhileWritten)->Arg(1)->Arg(0)->ArgNames({"ours"})->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Bench::keepEnvironmentInFolder();
    if (shell().isEmpty())
        qWarning("no sqlite3 shell: the comparisons fail");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
