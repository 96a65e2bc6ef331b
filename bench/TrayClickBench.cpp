// A click in the tray, as the tray makes it: the user's database opened for
// the action, a start from a favourite, a pause or a resume written, the
// file let go; against a bare BEGIN IMMEDIATE, a one-row INSERT and a
// COMMIT on an open connection to the same file, taken in turn in the same
// run, medians; and the same clicks on a file kept open, which shows what
// opening the file for each action costs. All on a database of ten years
// of entries (about 40 000) with 100 favourites and 200 projects. Beside
// them, what the tray's window will read: its 10-second poll when nothing
// changed, and a full reload of the store, the favourites and today's
// entries.
#include "BenchFolder.h"
#include "CAppData.h"
#include "CTrayDatabase.h"
#include "CTrayProjectStore.h"
#include "Clock.h"
#include "TenYearsOfEntries.h"
#include "TrayTexts.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

qint64 g_now = 0;

const QString &traysFile()
{
    static const QString path = [] {
        const QString &p = TenYears::databasePath();
        CBdD db(p);
        db.Connection()->BeginTransaction();
        for (int f = 0; f < 100; ++f)
            db.Execute(TenYears::Formatter::sprintf(
                u"insert into Favoris (Id,IdProject,IdActivite,IdTauxHoraire,Ordre,Date_Modif,Origine_Modif,"
                u"Deleted,Title) values (%d,32,31,-1,%d,0,1,0,'Favori %d')",
                {2 + 3 * f, f, f}));
        // 40 clients of 4 sites each, the activities and rates the entries
        // name, all stamped long before the clicks.
        for (int c = 0; c < 40; ++c) {
            const int client = 32 + 3 * c;
            db.Execute(TenYears::Formatter::sprintf(
                u"insert into Projets (Id,Nom,Parent,Red,Green,Blue,Type,Activity,IdTauxHoraire,Deleted,Date_Modif,"
                u"Origine_Modif) values (%d,'Client %d',-1,10,20,30,0,31,-1,0,1000,1)",
                {client, c}));
            for (int k = 0; k < 4; ++k)
                db.Execute(TenYears::Formatter::sprintf(
                    u"insert into Projets (Id,Nom,Parent,Red,Green,Blue,Type,Activity,IdTauxHoraire,Deleted,"
                    u"Date_Modif,Origine_Modif) values (%d,'Site %d',%d,10,20,30,1,34,-1,0,1000,1)",
                    {1000 + 4 * c + k, k, client}));
        }
        for (int a = 0; a < 12; ++a)
            db.Execute(TenYears::Formatter::sprintf(
                u"insert into Activites (Id,Nom,Red,Green,Blue,Deleted,Date_Modif,Origine_Modif) "
                u"values (%d,'Activité %d',1,2,3,0,1000,1)",
                {31 + 3 * a, a}));
        for (int r = 0; r < 5; ++r)
            db.Execute(TenYears::Formatter::sprintf(
                u"insert into TauxHoraire (Id,Nom,Valeur,Deleted,Date_Modif,Origine_Modif) "
                u"values (%d,'Taux %d',%d,0,1000,1)",
                {2 + 3 * r, r, 40 + 10 * r}));
        db.Connection()->CommitTransaction();
        // Every click comes a minute after the one before, after all data.
        g_now = QDateTime(QDate(2027, 1, 4), QTime(8, 0)).toSecsSinceEpoch();
        Platform::Clock::setNowSource([] { return g_now; });
        return p;
    }();
    return path;
}

CTrayProjectStore &trayProcess()
{
    static CTrayProjectStore store;
    static const bool setUp = [] {
        CTrayDatabase::SetUpProcess(store);
        return true;
    }();
    (void)setUp;
    return store;
}

using Clock = std::chrono::steady_clock;

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
    return v[v.size() / 2];
}

// One bare write on an open connection: BEGIN IMMEDIATE, a one-row INSERT,
// COMMIT, into a table without an index, or into Taches (with every index
// a click keeps; the row is a deleted one, so that no read sees it). Its
// time in milliseconds.
double bareWrite(sqlite3 *db, bool intoTaches)
{
    static int id = 50000001;
    g_now += 60;
    const QByteArray insert =
        intoTaches ? QStringLiteral("insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,Facture,IdTauxHoraire,"
                                    "Deleted,Title,Notes,Date_Modif,Origine_Modif) values (%1,%2,%3,32,31,0,-1,1,'',"
                                    "'',%2,1)")
                         .arg(id += 3)
                         .arg(g_now)
                         .arg(g_now + 60)
                         .toUtf8()
                   : QStringLiteral("insert into Bare(Debut) values (%1)").arg(g_now).toUtf8();
    const auto start = Clock::now();
    sqlite3_exec(db, "BEGIN IMMEDIATE TRANSACTION", nullptr, nullptr, nullptr);
    sqlite3_exec(db, insert.constData(), nullptr, nullptr, nullptr);
    const int rc = sqlite3_exec(db, "COMMIT TRANSACTION", nullptr, nullptr, nullptr);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    return rc == SQLITE_OK ? ms : -1;
}

// The three clicks in turn, each followed by the two bare writes, so that
// all meet the same load of the machine's disk: a start from a favourite
// (the entry running before ends), a pause, a resume. With argument 0 each
// click opens the file for itself, as the tray does; with 1 they share one
// connection, which leaves the writes alone. The counters are the medians
// in milliseconds and their ratios to the bare write without an index
// (_x) and into Taches (_xt).
void ClicksAgainstBareWrites(benchmark::State &state)
{
    trayProcess();
    const QString &path = traysFile();
    const bool ownOpen = state.range(0) == 0;
    sqlite3 *bare = nullptr;
    sqlite3_open(path.toUtf8().constData(), &bare);
    sqlite3_exec(bare, "create table if not exists Bare(Id integer primary key, Debut integer)", nullptr, nullptr,
                 nullptr);
    std::unique_ptr<CTrayDatabase> shared;
    if (!ownOpen)
        shared = std::make_unique<CTrayDatabase>(path);
    const auto click = [&](const std::function<bool(CTrayDatabase &)> &write) {
        const auto start = Clock::now();
        bool ok = false;
        if (ownOpen) {
            CTrayDatabase db(path);
            ok = write(db);
        } else {
            ok = write(*shared);
        }
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        return ok ? ms : -1;
    };
    std::vector<double> favourite, pause, resume, plain, taches;
    bool failed = false;
    const auto bareWrites = [&] {
        const double b = bareWrite(bare, false);
        const double t = bareWrite(bare, true);
        failed = failed || b < 0 || t < 0;
        plain.push_back(b);
        taches.push_back(t);
    };
    for (auto _ : state) {
        tTacheFull last;
        const double f = click([&](CTrayDatabase &db) {
            g_now += 60;
            tTacheFull task;
            const int id = 2 + 3 * int(g_now / 60 % 100);
            task.Debut = g_now;
            return db.GetFavourite(task, id, true) && db.StartTask(task, id) && db.GetLastTask(last);
        });
        bareWrites();
        const double p = click([&](CTrayDatabase &db) {
            g_now += 60;
            return db.StopTask(last.Id, g_now);
        });
        bareWrites();
        const double r = click([&](CTrayDatabase &db) {
            g_now += 60;
            tTacheFull again = last;
            again.Debut = g_now;
            again.Fin = 0;
            return db.StartTask(again, -1);
        });
        bareWrites();
        if (f < 0 || p < 0 || r < 0 || failed) {
            state.SkipWithError("a write failed");
            break;
        }
        favourite.push_back(f);
        pause.push_back(p);
        resume.push_back(r);
    }
    shared.reset();
    sqlite3_close(bare);
    const double b = median(plain);
    const double t = median(taches);
    state.counters["bare_ms"] = b;
    state.counters["bare_taches_ms"] = t;
    for (const auto &[name, times] : {std::pair{"favourite", &favourite}, {"pause", &pause}, {"resume", &resume}}) {
        const double m = median(*times);
        state.counters[std::string(name) + "_ms"] = m;
        state.counters[std::string(name) + "_x"] = b > 0 ? m / b : 0;
        state.counters[std::string(name) + "_xt"] = t > 0 ? m / t : 0;
    }
}

// Opening the file for an action, and reading the newest entry, alone.
void TrayOpen(benchmark::State &state)
{
    trayProcess();
    const QString &path = traysFile();
    for (auto _ : state) {
        CTrayDatabase db(path);
        if (state.range(0) == 1) {
            tTacheFull last;
            db.GetLastTask(last);
        }
    }
}

// The tray window's 10-second poll when nothing changed: the file opened,
// 'Modif' read, and each part of the store found current.
void TrayPoll(benchmark::State &state)
{
    CTrayProjectStore &store = trayProcess();
    const QString &path = traysFile();
    {
        CTrayDatabase db(path);
        db.LoadProjects(store);
        db.LoadActivities(store);
        db.LoadRates(store);
    }
    for (auto _ : state) {
        CTrayDatabase db(path);
        QString stamp;
        db.GetModifStamp(stamp);
        if (db.LoadProjects(store) || db.LoadActivities(store) || db.LoadRates(store)) {
            state.SkipWithError("a current part was read again");
            break;
        }
    }
}

// A full reload, as after a change of user: every part of the store read
// anew, the favourites grouped by project, today's entries and the newest
// one.
void TrayReload(benchmark::State &state)
{
    CTrayProjectStore &store = trayProcess();
    const QString &path = traysFile();
    const TrayTexts texts;
    const QDate today = QDateTime::fromSecsSinceEpoch(g_now).date();
    for (auto _ : state) {
        store.Clear();
        CTrayDatabase db(path);
        db.LoadProjects(store);
        db.LoadActivities(store);
        db.LoadRates(store);
        db.LoadHistory(store);
        std::vector<DataItems> items;
        std::vector<tTacheFull> tasks;
        bool running = false;
        tTacheFull last;
        if (!db.FillFavourites(items, 1, store, texts) || !db.LoadDayTasks(tasks, today, running)
            || !db.GetLastTask(last) || items.empty()) {
            state.SkipWithError("a read failed");
            break;
        }
    }
}

} // namespace

BENCHMARK(ClicksAgainstBareWrites)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(5.0);
BENCHMARK(TrayOpen)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(TrayPoll)->Unit(benchmark::kMicrosecond);
BENCHMARK(TrayReload)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    Bench::keepEnvironmentInFolder();
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    CAppData::Clear();
    return 0;
}
