// The work the week view does each time it draws its grid anew, without
// the painting: a busy week (7 days of 40 entries, some overlapping) laid
// out in tracks, then the plan of every entry box with its text cut by the
// widths of real fonts.
#include "BenchFolder.h"
#include "CConfiguration.h"
#include "CProjectStore.h"
#include "CTextMeasure.h"
#include "CWeekGeometry.h"
#include "DayLayout.h"
#include "EntryBoxPlan.h"
#include "tDayColumn.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDateTime>
#include <QFont>
#include <QFontMetrics>
#include <QTime>

#include <array>
#include <vector>

namespace {

const QDate FirstDay(2026, 3, 23);
constexpr int EntriesPerDay = 40;
constexpr int Width = 1400;
constexpr int Height = 900;

struct BusyWeek
{
    std::array<std::vector<tTacheParams>, 7> days;
    std::array<tDayColumn, 7> columns;
    CProjectStore store;
    CConfiguration config;

    BusyWeek()
    {
        for (int p = 0; p < 10; ++p) {
            tElement e;
            e.Id = 32 + 3 * p;
            e.Nom = QStringLiteral("Projet %1").arg(p);
            store.AddProject(e, nullptr, QString());
            tElement a;
            a.Id = 31 + 3 * p;
            a.Nom = QStringLiteral("Activité %1").arg(p);
            store.SetActivity(a.Id, a);
        }
        for (int d = 0; d < 7; ++d) {
            const QDate day = FirstDay.addDays(d);
            columns[size_t(d)].Date = day;
            columns[size_t(d)].left = CWeekGeometry::ColumnLeft(d, Width, 7);
            columns[size_t(d)].right = CWeekGeometry::ColumnRight(d, Width, 7);
            qint64 start = QDateTime(day, QTime(7, 0)).toSecsSinceEpoch();
            for (int k = 0; k < EntriesPerDay; ++k) {
                tTacheParams e;
                e.Id = d * 100 + k;
                // Every third entry starts within the one before it.
                e.Debut = k % 3 == 2 ? start - 10 * 60 : start;
                e.Fin = e.Debut + 20 * 60;
                start = e.Fin;
                e.IdProjet = 32 + 3 * (k % 10);
                e.IdActivite = 31 + 3 * (k % 10);
                if (k % 4 == 0)
                    e.Title = QStringLiteral("Réunion de suivi du projet numéro %1").arg(k);
                if (k % 5 == 0)
                    e.Notes = QStringLiteral("à rappeler");
                days[size_t(d)].push_back(e);
            }
        }
    }
};

BusyWeek &week()
{
    static BusyWeek w;
    return w;
}

CWeekGeometry geometry(int zoom)
{
    CWeekGeometry g;
    g.zoomLevel = zoom;
    g.scrollPos = 84; // 7:00 at zoom 5
    g.Relayout(Height);
    return g;
}

qint64 layOut(const CWeekGeometry &g, qint64 now)
{
    qint64 total = 0;
    BusyWeek &w = week();
    for (size_t d = 0; d < 7; ++d) {
        const tDayLayout layout = LayoutDay(w.days[d], w.columns[d].Date, g.hourHeight, now);
        w.columns[d].trackCount = layout.trackCount;
        total += layout.total;
    }
    return total;
}

void WeekLayout(benchmark::State &state)
{
    const CWeekGeometry g = geometry(int(state.range(0)));
    const qint64 now = QDateTime(FirstDay.addDays(3), QTime(12, 0)).toSecsSinceEpoch();
    for (auto _ : state)
        benchmark::DoNotOptimize(layOut(g, now));
}

// Argument 1: widths from shaping each text (QFontMetrics); 0: from the
// advances of its characters (CTextMeasure, as the view measures).
void WeekLayoutAndBoxes(benchmark::State &state)
{
    const CWeekGeometry g = geometry(int(state.range(0)));
    const qint64 now = QDateTime(FirstDay.addDays(3), QTime(12, 0)).toSecsSinceEpoch();
    BusyWeek &w = week();
    QFont bold;
    bold.setBold(true);
    const QFontMetrics boldMetrics(bold);
    const QFontMetrics normalMetrics{QFont()};
    tEntryBoxSettings s;
    s.headerHeight = g.headerHeight;
    s.scrollPos = g.scrollPos;
    s.clientBottom = Height;
    s.dayCount = 7;
    s.today = FirstDay.addDays(3);
    s.colourType = 0;
    s.store = &w.store;
    s.config = &w.config;
    s.texts = tEntryBoxTexts::Load();
    s.lineHeight = boldMetrics.height();
    const CTextMeasure boldMeasure(bold);
    const CTextMeasure normalMeasure{QFont()};
    if (state.range(1) == 1) {
        s.boldWidth = [&boldMetrics](QStringView t) { return boldMetrics.horizontalAdvance(t.toString()); };
        s.normalWidth = [&normalMetrics](QStringView t) { return normalMetrics.horizontalAdvance(t.toString()); };
    } else {
        s.boldWidth = [&boldMeasure](QStringView t) { return boldMeasure.Width(t); };
        s.normalWidth = [&normalMeasure](QStringView t) { return normalMeasure.Width(t); };
    }
    int pieces = 0;
    for (auto _ : state) {
        layOut(g, now);
        pieces = 0;
        for (size_t d = 0; d < 7; ++d) {
            for (const tTacheParams &e : w.days[d]) {
                const tEntryBoxPlan plan = PlanEntryBox(e, w.columns[d], d == 6, s);
                for (const tEntryBoxPlan::tLine &line : plan.lines)
                    pieces += int(line.pieces.size());
            }
        }
        benchmark::DoNotOptimize(pieces);
    }
    state.counters["pieces"] = pieces;
}

} // namespace

// Zoom 5 (60 pixels an hour: boxes of one or two lines) and 9 (180: up to
// four lines each).
BENCHMARK(WeekLayout)->Arg(5)->Arg(9)->Unit(benchmark::kMicrosecond);
BENCHMARK(WeekLayoutAndBoxes)->Args({5, 0})->Args({9, 0})->Args({5, 1})->Args({9, 1})->Unit(benchmark::kMicrosecond);

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
