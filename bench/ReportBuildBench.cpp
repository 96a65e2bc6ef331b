// Building reports over ten years of entries (about 100 000, a few hundred
// projects, some entries over midnight, one running): the whole build of a
// time report grouped by project, activity and day without detail, against
// the bare grouped SQL of the same sums stepped on the same file; the same
// report with detail, a cross table by month, and a second build on the
// tree the first one kept. And fitting the columns of the report with
// detail to their texts, as its window does after each build, against that
// build.
//
// Two measures need a process of their own for each sample, which the
// benchmark starts as a child of itself on the database it made: the first
// report a fresh process builds (without detail), against the bare grouped
// SQL run afterwards in that same process, as every user meets it with the
// first report of a session; and the memory the process keeps once a
// report with detail has been closed, after one and after two of them.
#include "BenchFolder.h"
#include "BuildReportData.h"
#include "CBdD.h"
#include "CProjectStore.h"
#include "CReportGrid.h"
#include "CReportModel.h"
#include "Formatter.h"
#include "LocalTime.h"
#include "tReportDefinition.h"
#include "tReportSnapshot.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

using Platform::Formatter;

namespace {

const QDate FirstDay(2017, 1, 2);
const QDate LastDay(2026, 12, 31);
constexpr int EntriesPerDay = 27;
constexpr int TopProjects = 30;
constexpr int SubProjects = 9; // below each top-level project: 300 projects in all
constexpr int Activities = 40;

int projectOf(int n)
{
    return 1 + (n * 7) % (TopProjects * (SubProjects + 1));
}

const QString &databasePath()
{
    static const QString path = [] {
        const QString p = Bench::folder().path() + QStringLiteral("/Reports.sdb");
        CBdD db(p);
        db.Connection()->BeginTransaction();
        for (int id = 1; id <= TopProjects * (SubProjects + 1); ++id) {
            const int parent = id <= TopProjects ? -1 : 1 + (id - TopProjects - 1) % TopProjects;
            db.Execute(Formatter::sprintf(u"insert into Projets (Id, Nom, Parent, Deleted) values (%d, 'Projet %d', %d, 0)",
                                          {id, id, parent}));
        }
        for (int id = 1; id <= Activities; ++id)
            db.Execute(Formatter::sprintf(u"insert into Activites (Id, Nom, Deleted) values (%d, 'Activité %d', 0)",
                                          {id, id}));
        db.Execute(u"insert into TauxHoraire (Id, Nom, Valeur, Deleted) values (1, 'Normal', 62.5, 0)");
        int id = 1;
        for (QDate d = FirstDay; d <= LastDay; d = d.addDays(1)) {
            for (int k = 0; k < EntriesPerDay; ++k) {
                const qint64 start = Platform::LocalTime::atMinute(d, 7 * 60 + 30 * k);
                // Every tenth day the last entry runs on past midnight.
                const qint64 end = k == EntriesPerDay - 1 && d.day() % 10 == 0 ? start + 5 * 3600 : start + 25 * 60;
                const bool running = d == LastDay && k == EntriesPerDay - 1;
                db.Execute(Formatter::sprintf(
                    u"insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,Facture,IdTauxHoraire,Date_Modif,"
                    u"Origine_Modif,Deleted,Title,Notes) values (%d,%I64d,%I64d,%d,%d,%d,1,%I64d,1,0,'Tâche %d','Note')",
                    {id, start, running ? qint64(0) : end, projectOf(id), 1 + id % Activities, id % 2, start, id}));
                ++id;
            }
        }
        db.Connection()->CommitTransaction();
        return p;
    }();
    return path;
}

std::shared_ptr<const tReportSnapshot> snapshot()
{
    static const std::shared_ptr<const tReportSnapshot> taken = [] {
        CProjectStore store;
        for (int id = 1; id <= TopProjects * (SubProjects + 1); ++id) {
            tElement e;
            e.Id = id;
            e.Nom = QStringLiteral("Projet %1").arg(id);
            e.Parent = id <= TopProjects ? -1 : 1 + (id - TopProjects - 1) % TopProjects;
            store.AddProject(e, e.Parent == -1 ? nullptr : store.GetNode(e.Parent), QString());
        }
        for (int id = 1; id <= Activities; ++id) {
            tElement a;
            a.Id = id;
            a.Nom = QStringLiteral("Activité %1").arg(id);
            store.SetActivity(id, a);
        }
        store.SetRate(1, tRate{QStringLiteral("Normal"), QString(), 62.5f});
        return std::make_shared<const tReportSnapshot>(tReportSnapshot::Take(&store));
    }();
    return taken;
}

tReportDefinition grouped(bool detail)
{
    tReportDefinition d;
    d.Type = 0;
    d.Periode = 0;
    d.Grp = {3, 4, 2, -1, -1};
    d.Detail = detail;
    d.Projets.clear();
    d.Activites.clear();
    d.SetDefaultColumns(d.Columns);
    // With its entries, the report shows their titles too.
    if (detail)
        d.Columns.ShowKind(9);
    return d;
}

// A first build makes a new model (a report window's first build; the
// model is destroyed outside the timing); a second build refreshes the
// tree the previous one kept.
void build(benchmark::State &state, const tReportDefinition &definition, bool keepTree)
{
    const QString path = databasePath();
    auto model = std::make_unique<CReportModel>();
    if (keepTree)
        BuildReportData(definition, path, snapshot(), *model, nullptr);
    int rows = 0;
    for (auto _ : state) {
        if (!keepTree) {
            state.PauseTiming();
            model = std::make_unique<CReportModel>();
            state.ResumeTiming();
        }
        const tReportBuildResult result = BuildReportData(definition, path, snapshot(), *model, nullptr);
        if (!result.Ok)
            state.SkipWithError("the build failed");
        rows = model->Tree().RowCount();
    }
    state.counters["rows"] = double(rows);
}

void BuildGroupedWithoutDetail(benchmark::State &state)
{
    build(state, grouped(false), false);
}

// One run of the bare grouped SQL of the report's sums; the number of
// groups it stepped.
int runBareGroupedSql(sqlite3 *db)
{
    const char *sql = "select IdProjet, IdActivite, date(Debut, 'unixepoch', 'localtime') as Jour, sum(Fin - Debut) "
                      "from Taches where Deleted=0 group by IdProjet, IdActivite, Jour";
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
    int groups = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        benchmark::DoNotOptimize(sqlite3_column_int(stmt, 0));
        benchmark::DoNotOptimize(sqlite3_column_int(stmt, 1));
        benchmark::DoNotOptimize(sqlite3_column_text(stmt, 2));
        benchmark::DoNotOptimize(sqlite3_column_int64(stmt, 3));
        ++groups;
    }
    sqlite3_finalize(stmt);
    return groups;
}

void BareGroupedSql(benchmark::State &state)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(databasePath().toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    int groups = 0;
    for (auto _ : state)
        groups = runBareGroupedSql(db);
    sqlite3_close(db);
    state.counters["rows"] = groups;
}

void BuildGroupedWithDetail(benchmark::State &state)
{
    build(state, grouped(true), false);
}

void BuildCrossTableByMonth(benchmark::State &state)
{
    tReportDefinition d;
    d.Type = 3;
    d.Periode = 0;
    d.Grp = {0, 3, -1, -1, -1};
    d.Grp_Col = 1;
    d.Projets.clear();
    d.Activites.clear();
    build(state, d, false);
}

void SecondBuildOnTheKeptTree(benchmark::State &state)
{
    build(state, grouped(true), true);
}

// The grid over the model the build made, its columns fitted to their
// texts as the report window fits them after a build.
void FitColumnsOfTheReportWithDetail(benchmark::State &state)
{
    CReportModel model;
    if (!BuildReportData(grouped(true), databasePath(), snapshot(), model, nullptr).Ok)
        state.SkipWithError("the build failed");
    CReportGrid grid;
    grid.SetModel(&model);
    grid.BuildColumns();
    grid.resize(1600, 900);
    for (auto _ : state)
        grid.AutoFitColumns(-1, false);
    state.counters["rows"] = double(model.Tree().RowCount());
    state.counters["columns"] = double(grid.ColumnCount());
}

// --- In a process of its own ---------------------------------------------

constexpr const char *FirstBuildMode = "--first-build-of-a-fresh-process";
constexpr const char *ClosedReportsMode = "--memory-after-closing-reports";

// The resident memory of this process, in MiB.
double residentMiB()
{
    QFile status(QStringLiteral("/proc/self/statm"));
    if (!status.open(QIODevice::ReadOnly))
        return 0.0;
    const QList<QByteArray> fields = status.readAll().simplified().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * 4096.0 / (1024.0 * 1024.0) : 0.0;
}

// The milliseconds of processor time this thread has used.
double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// The child's side: its first work is the build (the snapshot taken
// before it, as the window takes it before the worker starts), then the
// bare SQL three times; prints whether the build succeeded, then the
// build's and the SQL's (median) milliseconds, of the clock and of the
// processor.
int firstBuildOfAFreshProcess(const QString &path)
{
    const std::shared_ptr<const tReportSnapshot> taken = snapshot();
    CReportModel model;
    QElapsedTimer timer;
    timer.start();
    double cpu = threadCpuMs();
    const bool built = BuildReportData(grouped(false), path, taken, model, nullptr).Ok;
    const double build = double(timer.nsecsElapsed()) / 1e6;
    const double buildCpu = threadCpuMs() - cpu;
    sqlite3 *db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    std::vector<std::pair<double, double>> sql;
    for (int i = 0; i < 3; ++i) {
        timer.restart();
        cpu = threadCpuMs();
        runBareGroupedSql(db);
        sql.emplace_back(double(timer.nsecsElapsed()) / 1e6, threadCpuMs() - cpu);
    }
    sqlite3_close(db);
    std::sort(sql.begin(), sql.end());
    std::vector<double> sqlCpu{sql[0].second, sql[1].second, sql[2].second};
    std::sort(sqlCpu.begin(), sqlCpu.end());
    std::printf("%d %.3f %.3f %.3f %.3f\n", built ? 1 : 0, build, sql[1].first, buildCpu, sqlCpu[1]);
    return built ? 0 : 1;
}

// The child's side: once a window has been shown, a report with detail
// opened as its window opens it (the build, the grid over the model, its
// columns fitted) and closed, twice; prints the resident MiB before the
// first, after the first closed and after the second closed.
int memoryAfterClosingReports(const QString &path)
{
    const std::shared_ptr<const tReportSnapshot> taken = snapshot();
    {
        // The program stands as it does when a report opens: a window of
        // its own has been shown (its style, fonts and texts are loaded).
        CReportModel empty;
        CReportGrid grid;
        grid.SetModel(&empty);
        grid.resize(1600, 900);
        grid.show();
        QCoreApplication::processEvents();
        grid.AutoFitColumns(-1, false);
    }
    QCoreApplication::processEvents();
    const double start = residentMiB();
    double closed[2] = {0.0, 0.0};
    for (double &after : closed) {
        {
            auto model = std::make_unique<CReportModel>();
            if (!BuildReportData(grouped(true), path, taken, *model, nullptr).Ok)
                return 1;
            auto grid = std::make_unique<CReportGrid>();
            grid->SetModel(model.get());
            grid->BuildColumns();
            grid->resize(1600, 900);
            grid->AutoFitColumns(-1, false);
            // The window goes: the grid first, then the model it showed.
            grid.reset();
            model.reset();
        }
        QCoreApplication::processEvents();
        after = residentMiB();
    }
    std::printf("%.3f %.3f %.3f\n", start, closed[0], closed[1]);
    return 0;
}

// The parent's side: one child per iteration, its printed numbers read.
QList<double> runChild(benchmark::State &state, const char *mode)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(mode), databasePath()});
    if (!child.waitForFinished(600000) || child.exitCode() != 0) {
        state.SkipWithError("the child process failed");
        return {};
    }
    QList<double> numbers;
    for (const QByteArray &field : child.readAllStandardOutput().simplified().split(' '))
        numbers << field.toDouble();
    return numbers;
}

// Manual time: the build's; counters: the build over the SQL, by the clock
// and by the processor time of each (which a busy machine's waits for a
// processor leave out), and the SQL's milliseconds.
void FirstBuildOfAFreshProcess(benchmark::State &state)
{
    for (auto _ : state) {
        const QList<double> n = runChild(state, FirstBuildMode);
        if (n.size() != 5 || n[0] != 1.0 || n[2] <= 0.0 || n[4] <= 0.0) {
            state.SkipWithError("the child's build failed");
            break;
        }
        state.SetIterationTime(n[1] / 1000.0);
        state.counters["build_over_sql"] = n[1] / n[2];
        state.counters["build_over_sql_cpu"] = n[3] / n[4];
        state.counters["sql_ms"] = n[2];
    }
}

// Counters: the resident MiB the process keeps more than at its start,
// after one and after two reports with detail were closed.
void MemoryAfterClosingDetailReports(benchmark::State &state)
{
    for (auto _ : state) {
        const QList<double> n = runChild(state, ClosedReportsMode);
        if (n.size() != 3) {
            state.SkipWithError("the child's report failed");
            break;
        }
        state.counters["start_MiB"] = n[0];
        state.counters["kept_after_one_MiB"] = n[1] - n[0];
        state.counters["kept_after_two_MiB"] = n[2] - n[0];
    }
}

} // namespace

BENCHMARK(BuildGroupedWithoutDetail)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BareGroupedSql)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BuildGroupedWithDetail)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BuildCrossTableByMonth)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(SecondBuildOnTheKeptTree)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(FitColumnsOfTheReportWithDetail)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(FirstBuildOfAFreshProcess)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(MemoryAfterClosingDetailReports)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true);

int main(int argc, char **argv)
{
    qputenv("TZ", "Europe/Paris");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A child: the database is its parent's, and so is the environment.
    if (argc == 3 && (qstrcmp(argv[1], FirstBuildMode) == 0 || qstrcmp(argv[1], ClosedReportsMode) == 0)) {
        QApplication app(argc, argv);
        const QString path = QString::fromLocal8Bit(argv[2]);
        return qstrcmp(argv[1], FirstBuildMode) == 0 ? firstBuildOfAFreshProcess(path)
                                                      : memoryAfterClosingReports(path);
    }
    Bench::keepEnvironmentInFolder();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
