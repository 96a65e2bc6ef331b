// The project-tracking grid over the large forecast plan: a refresh that
// rebuilds the rows, runs the scheduler and sorts by the remaining work,
// followed by one paint of a 1600 x 900 grid, beside the scheduler alone in
// the same run and the same refresh without the scheduler (the grid's own
// share); and the 30-second timer's refresh when nothing changed and
// "Real Time" is off.
#include "BenchFolder.h"
#include "CForecastGridCtrl.h"
#include "ForecastImages.h"
#include "ForecastPlan.h"
#include "ImageList.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

// The grid of the plan at 1600 x 900, its database and users left out, its
// default columns and the notes shown, sorted by the remaining work.
struct Grid
{
    Bench::ForecastPlan plan;
    ImageList images{16};
    CForecastGridCtrl grid{nullptr, &plan.store};

    Grid()
    {
        for (int i : {0, 1, 2, 3, 8, 10, 15, 16, 18, 22, 23, 24, 28}) {
            QImage square(16, 16, QImage::Format_ARGB32_Premultiplied);
            square.fill(QColor::fromHsv((i * 37) % 360, 160, 220));
            images.SetImage(i, square);
        }
        ForecastGridModel::tData &data = grid.Model().Data();
        data.reloadProjects = {};
        data.readForecastChanges = [] { return false; };
        data.readUserSettings = [](QStringList &) { return false; };
        data.writeUserSettings = [](const QStringList &, const QStringList &) { return true; };
        data.realTime = [] { return false; };
        grid.SetSmallImageList(&images);
        grid.SetStateImageList(&ForecastImages::StateImages());
        grid.LoadColumns();
        grid.Columns().push_back({16, true});
        grid.BuildColumns();
        grid.resize(1600, 900);
        grid.show();
        grid.Refresh(false, true, true, true);
        grid.Model().SetSort(12, true);
        QApplication::processEvents();
    }
    void Paint(QImage &target)
    {
        QPainter painter(&target);
        grid.render(&painter);
    }
};

void BM_ComputeForecastAlone(benchmark::State &state)
{
    Bench::ForecastPlan plan;
    for (auto _ : state) {
        const tForecastRun run = plan.store.ComputeForecast();
        benchmark::DoNotOptimize(run.ran);
    }
}
BENCHMARK(BM_ComputeForecastAlone)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_RebuildScheduleSortAndPaint(benchmark::State &state)
{
    Grid g;
    QImage target(1600, 900, QImage::Format_ARGB32_Premultiplied);
    int rows = 0;
    for (auto _ : state) {
        g.plan.store.Touch(); // the store changed: the rows are built again
        const ForecastGridModel::tRefreshResult done = g.grid.Refresh(false, false, true, true);
        g.Paint(target);
        benchmark::DoNotOptimize(done.rebuilt);
        rows = g.grid.RowCount();
    }
    state.counters["rows"] = rows;
    state.counters["shown"] = g.grid.RowsPerPage();
}
BENCHMARK(BM_RebuildScheduleSortAndPaint)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The grid's own share of the same refresh: the rows built again, sorted
// by the remaining work and painted, the scheduler left out ("Real Time"
// off, no recompute asked).
void BM_RebuildSortAndPaint(benchmark::State &state)
{
    Grid g;
    QImage target(1600, 900, QImage::Format_ARGB32_Premultiplied);
    int scheduled = 0;
    for (auto _ : state) {
        g.plan.store.Touch();
        const ForecastGridModel::tRefreshResult done = g.grid.Refresh(false, false, false, true);
        g.Paint(target);
        scheduled += done.scheduled;
    }
    state.counters["scheduled"] = scheduled;
}
BENCHMARK(BM_RebuildSortAndPaint)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_PaintAlone(benchmark::State &state)
{
    Grid g;
    QImage target(1600, 900, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state)
        g.Paint(target);
}
BENCHMARK(BM_PaintAlone)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Nothing changed and "Real Time" off: no rebuild, no sort, no scheduler
// in the store's order (argument -1); sorted by the remaining work
// (argument 12), which moves with the running task, the rows are sorted
// again and nothing else.
void BM_IdleTimerRefresh(benchmark::State &state)
{
    Grid g;
    g.grid.Model().SetSort(int(state.range(0)), true);
    int rebuilt = 0, resorted = 0, scheduled = 0;
    for (auto _ : state) {
        const ForecastGridModel::tRefreshResult done = g.grid.Refresh(false, false, false, true);
        rebuilt += done.rebuilt;
        resorted += done.resorted;
        scheduled += done.scheduled;
    }
    state.counters["rebuilt"] = rebuilt;
    state.counters["resorted"] = resorted;
    state.counters["scheduled"] = scheduled;
}
BENCHMARK(BM_IdleTimerRefresh)->Arg(-1)->Arg(12)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    Bench::keepEnvironmentInFolder();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
