#include "CConfiguration.h"

#include <benchmark/benchmark.h>

#include <QDateTime>
#include <cstdlib>

// The forecast scheduler asks these questions thousands of times per run.
namespace {

qint64 at(int y, int m, int d, int h = 0, int mi = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, mi), Qt::LocalTime).toSecsSinceEpoch();
}

void setUp(CConfiguration &config, bool withDaysOff, bool withBooked)
{
    config.workingDays.ParseDay(0, u"480,720;780,1020;");
    config.workingDays.UpdateTotals();
    if (withDaysOff) {
        // Public holidays and three weeks of summer.
        const int days[][2] = {{1, 1}, {4, 6}, {5, 1}, {5, 8}, {5, 14}, {5, 25}, {7, 14}, {8, 15}, {11, 1}, {11, 11}, {12, 25}};
        for (int year = 2026; year <= 2027; ++year) {
            for (const auto &d : days)
                config.daysOff.SetRange(QDate(year, d[0], d[1]), QDate(year, d[0], d[1]), false);
            config.daysOff.SetRange(QDate(year, 8, 3), QDate(year, 8, 21), false);
        }
    }
    if (withBooked) {
        std::vector<tDebutFin> booked;
        for (int i = 0; i < 20; ++i)
            booked.push_back({at(2026, 1, 5 + i, 9), at(2026, 1, 5 + i, 11)});
        config.SetBookedIntervals(booked);
    }
}

void BM_GetWorkingDurationOneYear(benchmark::State &state)
{
    CConfiguration config;
    setUp(config, state.range(0) != 0, state.range(1) != 0);
    const qint64 from = at(2026, 1, 5, 10, 17);
    const qint64 to = at(2027, 1, 6, 15, 42);
    for (auto _ : state)
        benchmark::DoNotOptimize(config.GetWorkingDuration(to, from));
}
BENCHMARK(BM_GetWorkingDurationOneYear)->ArgNames({"daysOff", "booked"})->Args({0, 0})->Args({1, 0})->Args({1, 1});

void BM_AddWorkingTime1000Hours(benchmark::State &state)
{
    CConfiguration config;
    setUp(config, state.range(0) != 0, state.range(1) != 0);
    const qint64 from = at(2026, 1, 5, 10, 17);
    for (auto _ : state)
        benchmark::DoNotOptimize(config.AddWorkingTime(from, 1000 * 3600));
}
BENCHMARK(BM_AddWorkingTime1000Hours)->ArgNames({"daysOff", "booked"})->Args({0, 0})->Args({1, 0})->Args({1, 1});

void BM_NextWorkingTime(benchmark::State &state)
{
    CConfiguration config;
    setUp(config, true, false);
    const qint64 from = at(2026, 12, 24, 18, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(config.NextWorkingTime(from));
}
BENCHMARK(BM_NextWorkingTime);

} // namespace

BENCHMARK_MAIN();
