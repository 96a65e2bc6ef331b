// Building reports over ten years of entries (about 100 000, a few hundred
// projects, some entries over midnight, one running): the whole build of a
// time report grouped by project, activity and day without detail, against
// the bare grouped SQL of the same sums stepped on the same file; the same
// report with detail, a cross table by month, and a second build on the
// tree the first one kept. And fitting the columns of the report with
// detail to their texts, as its window does after each build, against that
// build.
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

#include <memory>

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

void BareGroupedSql(benchmark::State &state)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(databasePath().toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    const char *sql = "select IdProjet, IdActivite, date(Debut, 'unixepoch', 'localtime') as Jour, sum(Fin - Debut) "
                      "from Taches where Deleted=0 group by IdProjet, IdActivite, Jour";
    int groups = 0;
    for (auto _ : state) {
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
        groups = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            benchmark::DoNotOptimize(sqlite3_column_int(stmt, 0));
            benchmark::DoNotOptimize(sqlite3_column_int(stmt, 1));
            benchmark::DoNotOptimize(sqlite3_column_text(stmt, 2));
            benchmark::DoNotOptimize(sqlite3_column_int64(stmt, 3));
            ++groups;
        }
        sqlite3_finalize(stmt);
    }
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

} // namespace

BENCHMARK(BuildGroupedWithoutDetail)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BareGroupedSql)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BuildGroupedWithDetail)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BuildCrossTableByMonth)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(SecondBuildOnTheKeptTree)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(FitColumnsOfTheReportWithDetail)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

int main(int argc, char **argv)
{
    qputenv("TZ", "Europe/Paris");
    Bench::keepEnvironmentInFolder();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
