// From the start of the application object to the first painted main frame
// (offscreen), for a user whose database holds ten years of time entries
// (about 40 000) and 2 000 projects, against opening that database and
// loading its store alone, in the same run.
#include "BenchFolder.h"
#include "CBdD.h"
#include "CMainFrame.h"
#include "CUsers.h"
#include "CZarvoWinApp.h"
#include "Formatter.h"
#include "LocalTime.h"
#include "Settings.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>

using Platform::Formatter;

namespace {

QString usersFolder()
{
    return Bench::folder().path() + QStringLiteral("/users/");
}

void fillDatabase(const QString &path)
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
    for (QDate d(2017, 1, 2); d <= QDate(2026, 12, 31); d = d.addDays(1)) {
        if (d.dayOfWeek() > 5)
            continue;
        for (int k = 0; k < 15; ++k) {
            const qint64 start = Platform::LocalTime::atMinute(d, 8 * 60 + 30 * k);
            db.Execute(Formatter::sprintf(
                u"insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,Facture,IdTauxHoraire,Date_Modif,"
                u"Origine_Modif,Deleted,Title,Notes) values (%d,%I64d,%I64d,%d,%d,0,-1,%I64d,2,0,'','')",
                {entry, start, start + 25 * 60, 32 + 3 * (entry % 2000), 31 + 3 * (entry % 30), start}));
            entry += 3;
        }
    }
    db.Connection()->CommitTransaction();
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
    fillDatabase(anne.GetDatabasePath(true));
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
