// From the start of the application object to the first painted main frame
// (offscreen), for a user whose database holds ten years of time entries
// (about 40 000) and 2 000 projects, against opening that database and
// loading its store alone, in the same run.
#include "BenchFolder.h"
#include "CBdD.h"
#include "CMainFrame.h"
#include "CUsers.h"
#include "CZarvoWinApp.h"
#include "Settings.h"
#include "WorkingYearsData.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>

namespace {

QString usersFolder()
{
    return Bench::folder().path() + QStringLiteral("/users/");
}

void scene()
{
    static bool made = false;
    if (made)
        return;
    made = true;
    QDir().mkpath(usersFolder() + QStringLiteral("Anne"));
    QDir().mkpath(Bench::folder().path() + QStringLiteral("/data"));
    {
        Platform::Settings settings;
        settings.setString(u"Config", u"Rep", u"Users", usersFolder());
        settings.setString(u"Config", u"Rep", u"Data", Bench::folder().path() + QStringLiteral("/data/"));
    }
    CZarvoWinApp app;
    tUsers anne;
    anne.Nom = QStringLiteral("Anne");
    app.Users().AddUser(anne);
    app.Users().SwitchUser(anne.Id);
    WorkingYearsData::fill(anne.GetDatabasePath(true), QDate(2017, 1, 2), QDate(2026, 12, 31));
}

void BM_OpenDatabaseAndLoadStore(benchmark::State &state)
{
    scene();
    for (auto _ : state) {
        CZarvoWinApp app;
        app.Users().LoadSelectedUser();
        benchmark::DoNotOptimize(app.CurrentEntry().Entry.Id);
    }
}
BENCHMARK(BM_OpenDatabaseAndLoadStore)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_StartToFirstPaintedFrame(benchmark::State &state)
{
    scene();
    for (auto _ : state) {
        CZarvoWinApp app;
        if (!app.InitInstance()) {
            state.SkipWithError("start-up failed");
            break;
        }
        benchmark::DoNotOptimize(app.MainWindow()->grab().size());
    }
}
BENCHMARK(BM_StartToFirstPaintedFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char **argv)
{
    Bench::keepEnvironmentInFolder();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
