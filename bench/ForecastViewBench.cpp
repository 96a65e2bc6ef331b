// The project-tracking window over the large forecast plan at 1600 x 900:
// the plan shown after a change (the rows rebuilt, the scheduler run, grid
// and chart painted) beside the scheduler alone in the same run, and one
// wheel step over the grid repainting both.
#include "BenchFolder.h"
#include "CAppData.h"
#include "CForecastGridCtrl.h"
#include "CGanttCtrl.h"
#include "CViewForecast.h"
#include "ForecastPlan.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWheelEvent>
#include <benchmark/benchmark.h>

namespace {

struct View
{
    Bench::ForecastPlan plan;
    std::unique_ptr<CViewForecast> view;

    View()
    {
        CAppData::SetProjectStore(&plan.store);
        CAppData::SetConfiguration(&plan.config);
        view = std::make_unique<CViewForecast>(nullptr, nullptr, nullptr, &plan.store);
        ForecastGridModel::tData &data = view->Grid()->Model().Data();
        data.reloadProjects = {};
        data.readForecastChanges = [] { return false; };
        data.readUserSettings = [](QStringList &) { return false; };
        data.writeUserSettings = [](const QStringList &, const QStringList &) { return true; };
        data.realTime = [] { return false; };
        view->resize(1600, 900);
        view->show();
        view->Grid()->Refresh(false, true, true, true);
        view->Grid()->SetFirstVisibleRow(view->Grid()->RowCount() / 2);
        QApplication::processEvents();
    }
    ~View()
    {
        view.reset();
        CAppData::Clear();
    }
    void Paint(QImage &target) const
    {
        QPainter painter(&target);
        view->render(&painter);
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

// What a change shows: the store moved on, the rows built again, the plan
// computed, the window (toolbar, grid, chart) painted.
void BM_PlanShown(benchmark::State &state)
{
    View v;
    QImage target(1600, 900, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        v.plan.store.Touch();
        const ForecastGridModel::tRefreshResult done = v.view->Grid()->Refresh(false, false, true, true);
        v.Paint(target);
        benchmark::DoNotOptimize(done.scheduled);
    }
    state.counters["rows"] = v.view->Grid()->RowCount();
}
BENCHMARK(BM_PlanShown)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// One wheel step over the grid (three rows), then grid and chart painted.
void BM_WheelStep(benchmark::State &state)
{
    View v;
    QImage target(1600, 900, QImage::Format_ARGB32_Premultiplied);
    QWidget *viewport = v.view->Grid()->viewport();
    const QPointF at(viewport->width() / 2.0, viewport->height() / 2.0);
    int step = 0;
    for (auto _ : state) {
        const int delta = (step++ / 50) % 2 == 0 ? -120 : 120;
        QWheelEvent wheel(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &wheel);
        v.Paint(target);
    }
    state.counters["first"] = v.view->Grid()->FirstVisibleRow();
}
BENCHMARK(BM_WheelStep)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

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
