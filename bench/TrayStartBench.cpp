// The data part of the tray's start: the choice of the user (a read-only
// look at the users database), the upgrade check, the project store, the
// favourites, the recent combinations, today's entries and the first poll;
// against opening the same file and one bare committed insert, taken in
// turn in the same run, medians. On one year and on ten years of entries
// (11 a day), each with 40 projects, 12 activities and 100 favourites. And
// the poll that finds nothing changed.
#include "BenchFolder.h"
#include "CAppData.h"
#include "CUsers.h"
#include "CZarvoTrayApp.h"
#include "Clock.h"
#include "Settings.h"
#include "TenYearsOfEntries.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
const qint64 Now = QDateTime(QDate(2026, 12, 31), QTime(18, 0)).toSecsSinceEpoch();

QString usersFolder()
{
    return Bench::folder().path() + QStringLiteral("/users/");
}

// The projects, activities and favourites both files hold.
void addRecords(CBdD &db)
{
    for (int p = 0; p < 40; ++p)
        db.Execute(TenYears::Formatter::sprintf(
            u"insert into Projets (Id,Nom,Parent,Deleted,Date_Modif,Origine_Modif,IdTauxHoraire) values "
            u"(%d,'Projet %d',%d,0,1,1,-1)",
            {32 + 3 * p, p, p < 8 ? -1 : 32 + 3 * (p % 8)}));
    for (int a = 0; a < 12; ++a)
        db.Execute(TenYears::Formatter::sprintf(u"insert into Activites (Id,Nom,Deleted,Date_Modif,Origine_Modif,"
                                                u"IdTauxHoraire) values (%d,'Activité %d',0,1,1,-1)",
                                                {31 + 3 * a, a}));
    for (int f = 0; f < 100; ++f)
        db.Execute(TenYears::Formatter::sprintf(
            u"insert into Favoris (Id,IdProject,IdActivite,IdTauxHoraire,Ordre,Date_Modif,Origine_Modif,Deleted,"
            u"Title) values (%d,%d,%d,-1,%d,1,1,0,'Favori %d')",
            {2 + 3 * f, 32 + 3 * (f % 40), 31 + 3 * (f % 12), f, f}));
}

// The users "un" (one year) and "dix" (ten years) in a users folder.
void makeUsers()
{
    static const bool made = [] {
        QDir().mkpath(usersFolder() + QStringLiteral("un"));
        QDir().mkpath(usersFolder() + QStringLiteral("dix"));
        // Ten years: the shared file, with the records added, copied in
        // before anything opens it.
        {
            CBdD db(TenYears::databasePath());
            db.Connection()->BeginTransaction();
            addRecords(db);
            db.Connection()->CommitTransaction();
        }
        QFile::copy(TenYears::databasePath(), usersFolder() + QStringLiteral("dix/Zarvo.sdb"));
        {
            CBdD db(usersFolder() + QStringLiteral("un/Zarvo.sdb"));
            db.Connection()->BeginTransaction();
            addRecords(db);
            int id = 1;
            for (QDate d(2026, 1, 1); d <= TenYears::LastDay; d = d.addDays(1)) {
                for (int k = 0; k < TenYears::EntriesPerDay; ++k, ++id) {
                    const qint64 start = Platform::LocalTime::atMinute(d, 8 * 60 + 45 * k);
                    db.Execute(TenYears::Formatter::sprintf(
                        u"insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,Facture,IdTauxHoraire,Date_Modif,"
                        u"Origine_Modif,Deleted,Title,Notes) values (%d,%I64d,%I64d,%d,%d,0,-1,%I64d,1,0,'Tâche %d',"
                        u"'')",
                        {id, start, start + 40 * 60, 32 + 3 * (id % 40), 31 + 3 * (id % 12), start, id}));
                }
            }
            db.Connection()->CommitTransaction();
        }
        sqlite3 *users = nullptr;
        sqlite3_open((usersFolder() + QStringLiteral("Users.sdb")).toUtf8().constData(), &users);
        sqlite3_exec(users,
                     "create table Users (Id integer PRIMARY KEY AUTOINCREMENT, Nom text, Selected integer, Key text, "
                     "Color int, TypeColor int, LastBackup int);"
                     "insert into Users (Id, Nom, Selected) values (1, 'un', 1), (2, 'dix', 0);",
                     nullptr, nullptr, nullptr);
        sqlite3_close(users);
        Platform::Settings settings;
        settings.setString(u"Config", u"Rep", u"Users", usersFolder());
        settings.setInt(u"Tray", u"User", u"Auto", 0);
        Platform::Clock::setFixedNow(Now);
        return true;
    }();
    (void)made;
}

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
    return v[v.size() / 2];
}

double ms(Clock::time_point since)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

// Opening the file, then BEGIN IMMEDIATE, a one-row INSERT and COMMIT.
double openAndBareWrite(const QString &path, qint64 value)
{
    const auto start = Clock::now();
    sqlite3 *db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_exec(db, "BEGIN IMMEDIATE TRANSACTION", nullptr, nullptr, nullptr);
    sqlite3_exec(db, QByteArray("insert into Bare(Debut) values (" + QByteArray::number(value) + ")").constData(),
                 nullptr, nullptr, nullptr);
    const int rc = sqlite3_exec(db, "COMMIT TRANSACTION", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    const double t = ms(start);
    return rc == SQLITE_OK ? t : -1;
}

// Argument: the user (1 one year, 2 ten years). Counters: the medians in
// milliseconds and the start's ratio to the bare open and write.
void StartAgainstOpenAndBareWrite(benchmark::State &state)
{
    makeUsers();
    const int user = int(state.range(0));
    Platform::Settings().setInt(u"Tray", u"User", u"Id", user);
    const QString path = usersFolder() + (user == 1 ? QStringLiteral("un") : QStringLiteral("dix")) +
        QStringLiteral("/Zarvo.sdb");
    {
        sqlite3 *db = nullptr;
        sqlite3_open(path.toUtf8().constData(), &db);
        sqlite3_exec(db, "create table if not exists Bare(Id integer primary key, Debut integer)", nullptr, nullptr,
                     nullptr);
        sqlite3_close(db);
    }
    std::vector<double> starts, bare;
    qint64 value = 0;
    int favourites = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        {
            CZarvoTrayApp app;
            app.LoadSettings();
            app.SelectUserAndDatabase();
            app.ReloadData(false);
            favourites = int(app.Favourites().size());
            benchmark::DoNotOptimize(app.TodayText());
        }
        starts.push_back(ms(start));
        const double b = openAndBareWrite(path, ++value);
        if (b < 0 || favourites != 100) {
            state.SkipWithError("the start or the bare write failed");
            break;
        }
        bare.push_back(b);
    }
    const double s = median(starts);
    const double b = median(bare);
    state.counters["start_ms"] = s;
    state.counters["open_write_ms"] = b;
    state.counters["start_x"] = b > 0 ? s / b : 0;
}

// The poll of the timer when nothing changed: 'Modif' read, texts made.
void PollUnchanged(benchmark::State &state)
{
    makeUsers();
    Platform::Settings().setInt(u"Tray", u"User", u"Id", 2);
    CZarvoTrayApp app;
    app.LoadSettings();
    app.SelectUserAndDatabase();
    app.ReloadData(false);
    for (auto _ : state)
        benchmark::DoNotOptimize(app.PollData());
}

} // namespace

BENCHMARK(StartAgainstOpenAndBareWrite)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(PollUnchanged)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    Bench::keepEnvironmentInFolder();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    CAppData::Clear();
    return 0;
}
