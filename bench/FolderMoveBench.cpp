// Moving a users folder of 20 users, the current user's database 50 MB,
// as the folder options move it (databases copied through SQLite's backup,
// flushed and checked, other files compared, locks held, originals
// removed last), against `cp -a` then `rm -r` of the same tree in the same
// run. Each iteration moves the tree to the other of two places.
//
// The options' move flushes the copies to the disk before it removes the
// originals; the plain `cp -a` does not, and `rm -r` then removes files
// the disk never held, which costs next to nothing. The shell's figures
// are given both ways.
#include "BenchFolder.h"
#include "FolderMovePlan.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <sqlite3.h>

namespace {

constexpr int UserCount = 20;

void makeDatabase(const QString &path, int megabytes, int rows)
{
    QDir().mkpath(path.left(path.lastIndexOf(u'/')));
    sqlite3 *db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    QByteArray sql = "create table Taches(Id integer primary key, Title text, Notes blob); begin;";
    for (int i = 0; i < rows; ++i)
        sql += "insert into Taches(Title, Notes) values('Tâche " + QByteArray::number(i) + "', randomblob(" +
               QByteArray::number(megabytes * 1024 * 1024 / rows) + "));";
    sql += "commit;";
    sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

QString userName(int i)
{
    return QStringLiteral("Utilisateur %1").arg(i, 2, 10, QLatin1Char('0'));
}

// The two places the tree goes between; the tree starts in the first.
const QStringList &places()
{
    static const QStringList folders = [] {
        const QString root = Bench::folder().path();
        const QString first = root + QStringLiteral("/A/Users/");
        makeDatabase(first + QStringLiteral("Users.sdb"), 1, 20);
        for (int i = 0; i < UserCount; ++i) {
            const QString user = first + userName(i) + u'/';
            // The current user's database is 50 MB, the others 1 MB.
            makeDatabase(user + QStringLiteral("Zarvo.sdb"), i == 0 ? 50 : 1, i == 0 ? 5000 : 200);
            makeDatabase(user + QStringLiteral("Zarvo.rpt"), 1, 10);
            QFile notes(user + QStringLiteral("notes.txt"));
            notes.open(QIODevice::WriteOnly);
            notes.write(QByteArray(20000, 'n'));
        }
        return QStringList{first, root + QStringLiteral("/B/Users/")};
    }();
    return folders;
}

QStringList entries()
{
    QStringList names{QStringLiteral("Users.sdb")};
    for (int i = 0; i < UserCount; ++i)
        names << userName(i);
    return names;
}

qint64 treeBytes(const QString &folder)
{
    qint64 bytes = 0;
    QDir dir(folder);
    for (const QFileInfo &info : dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        bytes += info.isDir() ? treeBytes(info.filePath()) : info.size();
    }
    return bytes;
}

void BM_MoveUsersFolder(benchmark::State &state)
{
    int from = 0;
    const QStringList &folders = places();
    qint64 copyMs = 0;
    qint64 removeMs = 0;
    for (auto _ : state) {
        QElapsedTimer phase;
        phase.start();
        FolderMovePlan plan;
        FolderMovePlan::Move move;
        move.source = folders[from];
        move.target = folders[1 - from];
        move.entries = entries();
        move.lockDatabases = true;
        plan.Add(move);
        const bool copied = plan.Copy();
        copyMs += phase.restart();
        if (!copied || !plan.RemoveOriginals()) {
            state.SkipWithError("the move failed");
            break;
        }
        removeMs += phase.elapsed();
        from = 1 - from;
    }
    // Where the time goes: the copy (with its flushes and checks) and the
    // removal of the originals.
    state.counters["copy_ms"] = benchmark::Counter(double(copyMs), benchmark::Counter::kAvgIterations);
    state.counters["remove_ms"] = benchmark::Counter(double(removeMs), benchmark::Counter::kAvgIterations);
    state.counters["MB"] = double(treeBytes(folders[from])) / (1024 * 1024);
    // Leave the tree where it started.
    if (from == 1) {
        FolderMovePlan plan;
        plan.Add({folders[1], folders[0], entries(), {}, true});
        plan.Copy();
        plan.RemoveOriginals();
    }
}
BENCHMARK(BM_MoveUsersFolder)->Unit(benchmark::kMillisecond)->UseRealTime();

// `cp -a` then `rm -r`; with a flush between them (arg 1), the copy is on
// the disk before the originals go, as the options' move makes sure.
void BM_CopyThenRemoveWithTheShell(benchmark::State &state)
{
    const bool flush = state.range(0) != 0;
    int from = 0;
    const QStringList &folders = places();
    for (auto _ : state) {
        const QString source = folders[from].chopped(1);
        const QString target = folders[1 - from].chopped(1);
        QDir().mkpath(target.left(target.lastIndexOf(u'/')));
        if (QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-a"), source, target}) != 0
            || (flush && QProcess::execute(QStringLiteral("sync"), {QStringLiteral("-f"), target}) != 0)
            || QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-r"), source}) != 0) {
            state.SkipWithError("cp, sync or rm failed");
            break;
        }
        from = 1 - from;
    }
    if (from == 1) {
        QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-a"), folders[1].chopped(1), folders[0].chopped(1)});
        QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-r"), folders[1].chopped(1)});
    }
}
BENCHMARK(BM_CopyThenRemoveWithTheShell)->Arg(0)->Arg(1)->ArgNames({"flushed"})->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    Bench::keepEnvironmentInFolder();
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    places();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
