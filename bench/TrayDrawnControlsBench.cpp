// The tray's painted controls on a busy day (25 entries over 40 projects and
// 12 activities): a paint of the day strip and of the current-task button
// (also with a title of 100 and of 10 000 characters), and the tip of an
// entry under the mouse, each against a bare fill of an image of the same
// size; every one counts the SQL statements it ran (none is expected:
// everything comes from memory).
#include "BenchFolder.h"
#include "CAppData.h"
#include "CBdD.h"
#include "CDayCtrl.h"
#include "CTrayToolTip.h"
#include "CViewTask.h"
#include "CZarvoTrayApp.h"
#include "Clock.h"
#include "Formatter.h"
#include "LocalTime.h"
#include "Settings.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>

#include <memory>

namespace {

const QDate Day(2026, 12, 15);
const qint64 Now = Platform::LocalTime::atMinute(Day, 17 * 60);

int s_statements = 0;
int countStatement(unsigned, void *, void *, void *)
{
    ++s_statements;
    return 0;
}
int installCounter(sqlite3 *db, char **, const void *)
{
    sqlite3_trace_v2(db, SQLITE_TRACE_STMT, &countStatement, nullptr);
    return SQLITE_OK;
}

// The application with the day loaded, made once.
CZarvoTrayApp &application()
{
    static std::unique_ptr<CZarvoTrayApp> app = [] {
        const QString users = Bench::folder().path() + QStringLiteral("/users/");
        QDir().mkpath(users + QStringLiteral("un"));
        {
            CBdD db(users + QStringLiteral("un/Zarvo.sdb"));
            db.Connection()->BeginTransaction();
            for (int p = 0; p < 40; ++p)
                db.Execute(Platform::Formatter::sprintf(
                    u"insert into Projets (Id,Nom,Parent,Deleted,Date_Modif,Origine_Modif,Red,Green,Blue) values "
                    u"(%d,'Projet %d',-1,0,1,1,%d,120,200)",
                    {32 + p, p, 5 * p}));
            for (int a = 0; a < 12; ++a)
                db.Execute(Platform::Formatter::sprintf(u"insert into Activites (Id,Nom,Deleted,Date_Modif,"
                                                        u"Origine_Modif,Red,Green,Blue) values (%d,'Activité %d',0,1,"
                                                        u"1,200,%d,100)",
                                                        {100 + a, a, 10 * a}));
            for (int k = 0; k < 25; ++k) {
                const qint64 start = Platform::LocalTime::atMinute(Day, 8 * 60 + 20 * k);
                db.Execute(Platform::Formatter::sprintf(
                    u"insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,Facture,IdTauxHoraire,Date_Modif,"
                    u"Origine_Modif,Deleted,Title,Notes) values (%d,%I64d,%I64d,%d,%d,0,-1,%I64d,1,0,'Tâche %d',"
                    u"'Notes %d')",
                    {k + 1, start, k == 24 ? 0 : start + 18 * 60, 32 + k % 40, 100 + k % 12, start, k, k}));
            }
            db.Connection()->CommitTransaction();
        }
        sqlite3 *db = nullptr;
        sqlite3_open((users + QStringLiteral("Users.sdb")).toUtf8().constData(), &db);
        sqlite3_exec(db,
                     "create table Users (Id integer PRIMARY KEY AUTOINCREMENT, Nom text, Selected integer, Key text, "
                     "Color int, TypeColor int, LastBackup int); insert into Users (Id, Nom, Selected) values (1, "
                     "'un', 1);",
                     nullptr, nullptr, nullptr);
        sqlite3_close(db);
        Platform::Settings().setString(u"Config", u"Rep", u"Users", users);
        Platform::Clock::setFixedNow(Now);
        auto made = std::make_unique<CZarvoTrayApp>();
        made->LoadSettings();
        made->SelectUserAndDatabase();
        made->ReloadData(false);
        return made;
    }();
    return *app;
}

// Paints `widget` into an image again and again; counters: statements run,
// and the paint's time against a bare fill of the same image.
void paintAgainstFill(benchmark::State &state, QWidget &widget)
{
    QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
    s_statements = 0;
    sqlite3_auto_extension(reinterpret_cast<void (*)()>(&installCounter));
    for (auto _ : state) {
        widget.render(&image);
        benchmark::DoNotOptimize(image.bits());
    }
    sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(&installCounter));
    const auto start = std::chrono::steady_clock::now();
    constexpr int Fills = 2000;
    for (int i = 0; i < Fills; ++i) {
        QPainter p(&image);
        p.fillRect(image.rect(), Qt::white);
        benchmark::DoNotOptimize(image.bits());
    }
    const double fillUs =
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count() / Fills;
    state.counters["statements"] = s_statements;
    state.counters["fill_us"] = fillUs;
}

void DayStripPaint(benchmark::State &state)
{
    CZarvoTrayApp &app = application();
    if (app.TodayTasks().size() != 25) {
        state.SkipWithError("the day did not load");
        return;
    }
    CDayCtrl day(app);
    day.resize(300, 40);
    paintAgainstFill(state, day);
}

void TaskButtonPaint(benchmark::State &state)
{
    CZarvoTrayApp &app = application();
    CViewTask task(app);
    task.resize(300, 80);
    task.UpdateTaskState();
    paintAgainstFill(state, task);
}

// The current-task button whose entry has a title of state.range(0)
// characters (a pasted text has no length limit): a 10 000-character title
// should cost about what a 100-character one does, since only a box's
// width of it can show.
void TaskButtonPaintLongTitle(benchmark::State &state)
{
    CZarvoTrayApp &app = application();
    const QString title = QStringLiteral("Réunion de chantier ").repeated(int(state.range(0)) / 20 + 1).left(state.range(0));
    {
        CBdD db(app.User().databasePath);
        db.Execute(Platform::Formatter::sprintf(u"update Taches set Title='%s' where Id=25", {title}));
    }
    app.ForgetModif();
    app.PollData();
    if (app.LastTask().Title.size() != state.range(0)) {
        state.SkipWithError("the title did not load");
        return;
    }
    CViewTask task(app);
    task.resize(300, 100);
    task.UpdateTaskState();
    paintAgainstFill(state, task);
    state.counters["title_chars"] = double(state.range(0));
}

// What a mouse move over the strip does: the entry under the point, then
// its tip's texts.
void DayStripHover(benchmark::State &state)
{
    CZarvoTrayApp &app = application();
    CDayCtrl day(app);
    day.resize(300, 40);
    s_statements = 0;
    sqlite3_auto_extension(reinterpret_cast<void (*)()>(&installCounter));
    int x = 0;
    for (auto _ : state) {
        const int entry = day.EntryAt(QPoint(x, 35));
        x = (x + 7) % 300;
        if (entry >= 0)
            benchmark::DoNotOptimize(
                CTrayToolTip::EntryContent(app.TodayTasks()[size_t(entry)], Now, app.Texts(), app.Store()));
    }
    sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(&installCounter));
    state.counters["statements"] = s_statements;
}

} // namespace

BENCHMARK(DayStripPaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(TaskButtonPaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(DayStripHover)->Unit(benchmark::kMicrosecond);
BENCHMARK(TaskButtonPaintLongTitle)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    Bench::keepEnvironmentInFolder();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TZ", "Europe/Paris");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    CAppData::Clear();
    return 0;
}
