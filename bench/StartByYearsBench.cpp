// What the start costs as a user's database grows: one, ten and twenty
// years of time entries (fifteen a working day, 2 000 projects, 30
// activities), and twenty years whose entries were all stamped in one second
// (as an import or a synchronisation leaves them).
//
// BM_LoadUserData is the data part of the start: the selected user read from
// the users database, the user's database opened, its activities, project
// tree, plan rows, recorded totals, running entry and recent combinations
// loaded. Each load is a new run over entries unchanged since the last, which
// takes the recorded totals that run kept; BM_LoadUserDataSummingTotals is
// the same load with none kept (the first run, or after a change), which
// sums every entry. BM_StartToFirstPaintedFrame is the whole start (offscreen, with
// the calendar window, without the splash's display time) up to the first
// painted main frame, wired as the program is.
//
// Arguments: years of entries, then 1 when every entry carries the same
// change stamp.
#include "BenchFolder.h"
#include "CBdD.h"
#include "CCalendarHost.h"
#include "CLanguageSelector.h"
#include "CMainFrame.h"
#include "CProjectStore.h"
#include "CUsers.h"
#include "CZarvoWinApp.h"
#include "Formatter.h"
#include "RecordedTotalsCache.h"
#include "RecordEditorWindows.h"
#include "Settings.h"
#include "ShellWindows.h"
#include "TimeEntryWindows.h"
#include "WorkingYearsData.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHash>

using Platform::Formatter;

namespace {

// The last day of every database; its first day is that many years before.
const QDate LastDay(2026, 6, 30);
// The one second an import stamped every entry with (after every day of
// the entries, as an import made today would).
constexpr qint64 ImportSecond = 1782900000;

QString usersFolder()
{
    return Bench::folder().path() + QStringLiteral("/users/");
}

// Makes (once) the user of the arguments and selects it.
void selectScene(int years, bool stampedTogether)
{
    static bool folders = false;
    if (!folders) {
        folders = true;
        QDir().mkpath(usersFolder());
        QDir().mkpath(Bench::folder().path() + QStringLiteral("/data"));
        Platform::Settings settings;
        settings.setString(u"Config", u"Rep", u"Users", usersFolder());
        settings.setString(u"Config", u"Rep", u"Data", Bench::folder().path() + QStringLiteral("/data/"));
    }
    static QHash<QString, int> made;
    const QString name = Formatter::sprintf(u"Y%d%s", {years, stampedTogether ? u"import" : u""});
    CZarvoWinApp app;
    if (!made.contains(name)) {
        QDir().mkpath(usersFolder() + name);
        tUsers user;
        user.Nom = name;
        app.Users().AddUser(user);
        app.Users().SwitchUser(user.Id);
        WorkingYearsData::fill(user.GetDatabasePath(true), LastDay.addYears(-years).addDays(1), LastDay,
                               stampedTogether ? ImportSecond : 0);
        made.insert(name, user.Id);
    }
    app.Users().SwitchUser(made.value(name));
}

void BM_LoadUserData(benchmark::State &state)
{
    selectScene(int(state.range(0)), state.range(1) != 0);
    for (auto _ : state) {
        CZarvoWinApp app;
        app.Users().LoadSelectedUser();
        // The recent combinations, which the task pane reads at the start.
        CBdD db;
        db.LoadHistory();
        benchmark::DoNotOptimize(app.ProjectStore().GetHistoryCount());
    }
}
BENCHMARK(BM_LoadUserData)
    ->Args({1, 0})
    ->Args({10, 0})
    ->Args({20, 0})
    ->Args({20, 1})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0);

void BM_LoadUserDataSummingTotals(benchmark::State &state)
{
    selectScene(int(state.range(0)), state.range(1) != 0);
    QString database;
    {
        CZarvoWinApp app;
        app.Users().LoadSelectedUser();
        database = app.Users().GetCurrentDatabasePath(true);
    }
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(RecordedTotalsCache::FileFor(database));
        state.ResumeTiming();
        CZarvoWinApp app;
        app.Users().LoadSelectedUser();
        CBdD db;
        db.LoadHistory();
        benchmark::DoNotOptimize(app.ProjectStore().GetHistoryCount());
    }
}
BENCHMARK(BM_LoadUserDataSummingTotals)
    ->Args({1, 0})
    ->Args({20, 0})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0);

void BM_StartToFirstPaintedFrame(benchmark::State &state)
{
    selectScene(int(state.range(0)), state.range(1) != 0);
    CLanguageSelector languages;
    CLanguageSelector::SetApplication(&languages);
    for (auto _ : state) {
        CZarvoWinApp zarvo;
        zarvo.Startup().chooseLanguage = [&languages] {
            languages.ChooseLanguage();
            languages.ApplyRunTimeLocale();
        };
        RegisterShellWindows(zarvo, languages);
        RegisterTimeEntryWindows(zarvo);
        zarvo.Startup().openCalendar = [&zarvo] { CCalendarHost::OpenCalendar(zarvo); };
        RegisterRecordEditors(zarvo);
        if (!zarvo.InitInstance()) {
            state.SkipWithError("start-up failed");
            break;
        }
        benchmark::DoNotOptimize(zarvo.MainWindow()->grab().size());
    }
    CLanguageSelector::SetApplication(nullptr);
}
BENCHMARK(BM_StartToFirstPaintedFrame)
    ->Args({1, 0})
    ->Args({10, 0})
    ->Args({20, 0})
    ->Args({20, 1})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

} // namespace

int main(int argc, char **argv)
{
    Bench::keepEnvironmentInFolder();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TZ", "Europe/Paris");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
