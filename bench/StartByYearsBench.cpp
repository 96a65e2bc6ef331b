// What the start costs as a user's database grows: one, ten and twenty
// years of time entries (fifteen a working day, 2 000 projects, 30
// activities), and twenty years whose entries were all stamped in one second
// (as an import or a synchronisation leaves them).
//
// BM_LoadUserData is the data part of the start: the selected user read from
// the users database, the user's database opened, its activities, project
// tree, plan rows, recorded totals, running entry and recent combinations
// loaded. BM_StartToFirstPaintedFrame is the whole start (offscreen, with
// the calendar window, without the splash's display time) up to the first
// painted main frame.
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
#include "LocalTime.h"
#include "RecordEditorWindows.h"
#include "Settings.h"
#include "ShellWindows.h"
#include "TimeEntryWindows.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
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

void fillDatabase(const QString &path, int years, bool stampedTogether)
{
    CBdD db(path);
    db.Connection()->BeginTransaction();
    for (int a = 0; a < 30; ++a)
        db.Execute(Formatter::sprintf(u"insert into Activites (Id,Nom,Commentaire,Red,Green,Blue,IdTauxHoraire,"
                                      u"Visible,Ordre,Date_Modif,Origine_Modif,Deleted) values "
                                      u"(%d,'Activité %02d','',200,200,200,-1,1,0,0,2,0)",
                                      {31 + 3 * a, a}));
    QString topChilds = QStringLiteral(";");
    for (int p = 0; p < 2000; ++p) {
        const int id = 32 + 3 * p;
        const int parent = p < 100 ? -1 : 32 + 3 * (p % 100);
        db.Execute(Formatter::sprintf(u"insert into Projets (Id,Nom,Parent,Deleted,Type,Visible,Date_Modif,"
                                      u"Origine_Modif) values (%d,'Projet %d',%d,0,0,1,0,2)",
                                      {id, p, parent}));
        db.Execute(Formatter::sprintf(u"insert into Forecast (IdProject,IdActivity) values (%d,-2)", {id}));
        if (parent == -1)
            topChilds += Formatter::sprintf(u"%d;", {id});
    }
    db.Execute(Formatter::sprintf(u"insert into ProjectChilds (IdProject,Childs) values (-1,'%s')", {topChilds}));
    int entry = 101;
    for (QDate d = LastDay.addYears(-years).addDays(1); d <= LastDay; d = d.addDays(1)) {
        if (d.dayOfWeek() > 5)
            continue;
        for (int k = 0; k < 15; ++k) {
            const qint64 start = Platform::LocalTime::atMinute(d, 8 * 60 + 30 * k);
            db.Execute(Formatter::sprintf(
                u"insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,Facture,IdTauxHoraire,Date_Modif,"
                u"Origine_Modif,Deleted,Title,Notes) values (%d,%I64d,%I64d,%d,%d,0,-1,%I64d,2,0,'','')",
                {entry, start, start + 25 * 60, 32 + 3 * (entry % 2000), 31 + 3 * (entry % 30),
                 stampedTogether ? ImportSecond : start}));
            entry += 3;
        }
    }
    db.Connection()->CommitTransaction();
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
        fillDatabase(user.GetDatabasePath(true), years, stampedTogether);
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

void BM_StartToFirstPaintedFrame(benchmark::State &state)
{
    selectScene(int(state.range(0)), state.range(1) != 0);
    CLanguageSelector languages;
    CLanguageSelector::SetApplication(&languages);
    for (auto _ : state) {
        CZarvoWinApp zarvo;
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
