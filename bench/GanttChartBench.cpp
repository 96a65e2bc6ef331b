// The Gantt chart beside the project-tracking grid over the large forecast
// plan (3 000 links, the scheduler run): a full repaint of a 1600 x 900
// chart and a pan step with its repaint, against a bare fill of the same
// image in the same run; and the picture's layout alone.
#include "BenchFolder.h"
#include "CForecastGridCtrl.h"
#include "CGanttCtrl.h"
#include "ForecastImages.h"
#include "ForecastPlan.h"
#include "GanttLayout.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

// The grid and the chart, 1600 x 900 each, side by side; the grid scrolled
// half-way down its 12 000 rows so that links reach the shown rows from
// above and below; the chart at a zoom level (a week a centimetre, or
// three months, where the shown rows' whole plan and its links are in
// view).
struct Chart
{
    Bench::ForecastPlan plan;
    QWidget window;
    CForecastGridCtrl *grid = nullptr;
    CGanttCtrl *chart = nullptr;

    explicit Chart(int level)
    {
        window.resize(3200, 900);
        grid = new CForecastGridCtrl(&window, &plan.store);
        ForecastGridModel::tData &data = grid->Model().Data();
        data.reloadProjects = {};
        data.readForecastChanges = [] { return false; };
        data.readUserSettings = [](QStringList &) { return false; };
        data.writeUserSettings = [](const QStringList &, const QStringList &) { return true; };
        data.realTime = [] { return false; };
        grid->SetStateImageList(&ForecastImages::StateImages());
        grid->LoadColumns();
        grid->setGeometry(0, 0, 1600, 900);
        chart = new CGanttCtrl(grid, nullptr, &window);
        chart->setGeometry(1600, 0, 1600, 900);
        window.show();
        grid->Refresh(false, true, true, true);
        grid->SetFirstVisibleRow(grid->RowCount() / 2);
        QApplication::processEvents();
        chart->OnZoomLevel(level);
        chart->OnNow();
    }
    void Paint(QImage &target) const
    {
        QPainter painter(&target);
        chart->render(&painter);
    }
    void Mouse(QEvent::Type type, const QPoint &pos)
    {
        QMouseEvent event(type, pos, chart->mapToGlobal(pos), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(chart, &event);
    }
};

void BM_BareFill(benchmark::State &state)
{
    QImage target(1600, 900, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&target);
        painter.fillRect(target.rect(), Qt::white);
    }
}
BENCHMARK(BM_BareFill)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_FullRepaint(benchmark::State &state)
{
    Chart c(int(state.range(0)));
    QImage target(1600, 900, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state)
        c.Paint(target);
    state.counters["rows"] = double(c.chart->VisibleRows().size());
}
BENCHMARK(BM_FullRepaint)->Arg(8)->Arg(11)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The mouse held down moves 8 pixels one way, then back: each step moves
// the timeline and paints the chart again.
void BM_PanStepAndRepaint(benchmark::State &state)
{
    Chart c(int(state.range(0)));
    QImage target(1600, 900, QImage::Format_ARGB32_Premultiplied);
    const QPoint press(800, 450);
    c.Mouse(QEvent::MouseButtonPress, press);
    int step = 0;
    for (auto _ : state) {
        c.Mouse(QEvent::MouseMove, press + QPoint(step++ % 2 == 0 ? 8 : 0, 0));
        c.Paint(target);
    }
    c.Mouse(QEvent::MouseButtonRelease, press);
}
BENCHMARK(BM_PanStepAndRepaint)->Arg(8)->Arg(11)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// What the paint lays out before drawing: the shown rows' dates and the
// links that reach them.
void BM_LayoutAlone(benchmark::State &state)
{
    Chart c(int(state.range(0)));
    const QFontMetrics metrics = c.chart->fontMetrics();
    GanttLayout::tInput in;
    in.scale = &c.chart->Scale();
    in.rows = c.grid;
    in.config = &c.plan.config;
    in.now = c.plan.now;
    in.height = c.chart->ChartHeight();
    in.metrics = &metrics;
    size_t items = 0, links = 0, bars = 0;
    for (auto _ : state) {
        GanttLayout layout(in);
        layout.Build();
        items = layout.Items().size();
        links = bars = 0;
        for (const tGanttItem &item : layout.Items()) {
            links += item.role == tGanttItem::Link;
            bars += item.role == tGanttItem::ForecastBar;
        }
    }
    state.counters["items"] = double(items);
    state.counters["links"] = double(links);
    state.counters["bars"] = double(bars);
}
BENCHMARK(BM_LayoutAlone)->Arg(8)->Arg(11)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

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
