// The forecast scheduler over a large plan: 2 000 projects, 10 000
// activities, 3 000 predecessor links and two years of booked time (see
// ForecastPlan.h).
#include "ForecastPlan.h"

#include <benchmark/benchmark.h>

namespace {

void BM_ComputeForecast(benchmark::State &state)
{
    Bench::ForecastPlan plan(int(state.range(0)));
    const int Projects = plan.Projects;
    int placed = 0;
    qint64 lastEnd = 0;
    for (auto _ : state) {
        const tForecastRun run = plan.store.ComputeForecast();
        benchmark::DoNotOptimize(run.timedOut);
        placed = 0;
        for (int id = 1; id <= Projects; ++id)
            for (const CProject *a : plan.store.GetNode(id)->Children())
                if (a->IsActivity() && a->m_computedEnd > 0) {
                    ++placed;
                    lastEnd = std::max(lastEnd, a->m_computedEnd);
                }
    }
    state.counters["activitiesPlaced"] = placed;
    state.counters["bookedIntervals"] = plan.bookedCount;
    state.counters["daysAhead"] = double(lastEnd - plan.now) / 86400.0;
}
BENCHMARK(BM_ComputeForecast)->ArgName("scale")->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
