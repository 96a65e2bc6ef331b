// Starting a task from a favourite, as the task pane does without windows,
// against a bare save of the same entry through the database layer, on a
// database of ten years of time entries (about 40 000) and 500 favourites,
// in the same run.
#include "BenchFolder.h"
#include "CBdD.h"
#include "CUsers.h"
#include "CZarvoWinApp.h"
#include "Clock.h"
#include "Formatter.h"
#include "LocalTime.h"
#include "Settings.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>

using Platform::Formatter;

namespace {

qint64 g_now = 0;

CZarvoWinApp &application()
{
    static CZarvoWinApp *app = [] {
        const QString users = Bench::folder().path() + QStringLiteral("/users/");
        QDir().mkpath(users + QStringLiteral("Anne"));
        Platform::Settings().setString(u"Config", u"Rep", u"Users", users);
        auto *a = new CZarvoWinApp;
        tUsers anne;
        anne.Nom = QStringLiteral("Anne");
        a->Users().AddUser(anne);
        a->Users().SwitchUser(anne.Id);
        CBdD db;
        db.Connection()->BeginTransaction();
        int entry = 101;
        for (QDate d(2017, 1, 2); d <= QDate(2026, 12, 31); d = d.addDays(1)) {
            if (d.dayOfWeek() > 5)
                continue;
            for (int k = 0; k < 15; ++k) {
                const qint64 start = Platform::LocalTime::atMinute(d, 8 * 60 + 30 * k);
                db.Execute(Formatter::sprintf(
                    u"insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,Facture,IdTauxHoraire,Date_Modif,"
                    u"Origine_Modif,Deleted,Title,Notes) values (%d,%I64d,%I64d,-1,-1,0,-1,%I64d,2,0,'','')",
                    {entry, start, start + 25 * 60, start}));
                entry += 3;
            }
        }
        db.Execute(Formatter::sprintf(u"update NextRowId set Pc=%d where Name='Taches'", {entry}));
        for (int f = 0; f < 500; ++f)
            db.Execute(Formatter::sprintf(
                u"insert into Favoris (Id,IdProject,IdActivite,IdTauxHoraire,Ordre,Date_Modif,Origine_Modif,"
                u"Deleted,Title) values (%d,-1,-1,-1,%d,0,2,0,'Favori %d')",
                {2 + 3 * f, f, f}));
        db.Connection()->CommitTransaction();
        // Every start happens a minute after the one before, after all data.
        g_now = QDateTime(QDate(2027, 1, 4), QTime(8, 0)).toSecsSinceEpoch();
        Platform::Clock::setNowSource([] { return g_now; });
        return a;
    }();
    return *app;
}

void BM_StartFavoriteOrRecent(benchmark::State &state)
{
    CZarvoWinApp &app = application();
    for (auto _ : state) {
        g_now += 60;
        if (!app.StartFavoriteOrRecent(2 + 3 * int(g_now % 500), true, false))
            state.SkipWithError("start failed");
    }
}
BENCHMARK(BM_StartFavoriteOrRecent)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_BareSaveTimeEntry(benchmark::State &state)
{
    application();
    for (auto _ : state) {
        g_now += 60;
        tTacheFull entry;
        entry.Debut = g_now;
        entry.Title = QStringLiteral("Favori");
        CBdD db;
        if (!db.SaveTimeEntry(entry))
            state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_BareSaveTimeEntry)->Unit(benchmark::kMillisecond)->MinTime(2.0);

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
