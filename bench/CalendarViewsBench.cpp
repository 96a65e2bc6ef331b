// The calendar windows drawn and driven offscreen, each beside the bare SQL
// that reads what they show from the same file in the same run:
// - a busy week (7 days of 30 entries with titles and notes) at 1280 x 800:
//   the cached image drawn anew, a repaint with the drag ghost only, and
//   the handling and repaint of one move of a drag;
// - the month view on ten years of entries: the 42 days read into an empty
//   day cache, the 42 cells painted, and a switch between the week and the
//   month inside the cached range.
#include "BenchFolder.h"
#include "CAppData.h"
#include "CBdD.h"
#include "CCalendarCtrl.h"
#include "CChildFrame.h"
#include "CConfiguration.h"
#include "CDayCache.h"
#include "CProjectStore.h"
#include "CTimeEntryHost.h"
#include "CWeekCtrl.h"
#include "Clock.h"
#include "Formatter.h"
#include "LocalTime.h"
#include "TenYearsOfEntries.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QApplication>
#include <QDateTime>
#include <QImage>
#include <QMouseEvent>
#include <QTime>

#include <cstring>
#include <memory>

using Platform::Formatter;

namespace {

const QDate BusyMonday(2026, 3, 23);
constexpr int BusyEntriesPerDay = 30;
const QSize WeekClient(1280, 800);

class BenchHost : public CTimeEntryHost
{
public:
    QDate CurrentDate() const override { return current; }
    void SetCurrentDate(const QDate &date, bool) override { current = date; }
    int RunningEntryId() const override { return -1; }
    qint64 RunningEntryStart() const override { return 0; }
    CDayCache &DayCache() override { return cache; }
    int SelectedEntryId() const override { return -1; }
    void SetSelectedEntryId(int) override {}
    void RefreshViews() override {}
    void ShowDayView() override {}
    void ShowStatusText(const QString &) override {}
    bool OpenEntryDialog(tTacheFull &, int) override { return false; }
    int ChooseOverlapResolution(const std::vector<tTacheFull> &) override { return Cancelled; }
    void StartTask(const tTacheFull &, int) override {}
    void PauseTask() override {}

    QDate current;
    CDayCache cache;
};

// 7 days of 30 entries from 7:00, 20 minutes each, every third starting
// inside the one before; titles on every other one, notes on every fifth.
const QString &busyWeekPath()
{
    static const QString path = [] {
        const QString p = Bench::folder().path() + QStringLiteral("/BusyWeek.sdb");
        CBdD db(p);
        db.Connection()->BeginTransaction();
        for (int i = 0; i < 10; ++i) {
            db.Execute(Formatter::sprintf(u"insert into Projets (Id,Nom,Title,Commentaire,Red,Green,Blue,IdTauxHoraire,"
                                          u"Visible,Ordre,Date_Modif,Origine_Modif,Deleted,Parent,Type,Activity) values "
                                          u"(%d,'Projet %d','','',%d,200,120,-1,1,%d,0,1,0,-1,0,-1)",
                                          {32 + 3 * i, i, 20 * i, i}));
            db.Execute(Formatter::sprintf(u"insert into Activites (Id,Nom,Commentaire,Red,Green,Blue,IdTauxHoraire,"
                                          u"Visible,Ordre,Date_Modif,Origine_Modif,Deleted) values "
                                          u"(%d,'Activité %d','',120,%d,200,-1,1,%d,0,1,0)",
                                          {31 + 3 * i, i, 20 * i, i}));
        }
        int id = 1;
        for (int d = 0; d < 7; ++d) {
            qint64 start = QDateTime(BusyMonday.addDays(d), QTime(7, 0)).toSecsSinceEpoch();
            for (int k = 0; k < BusyEntriesPerDay; ++k, ++id) {
                const qint64 debut = k % 3 == 2 ? start - 10 * 60 : start;
                const qint64 fin = debut + 20 * 60;
                start = fin;
                db.Execute(Formatter::sprintf(
                    u"insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,Facture,IdTauxHoraire,Date_Modif,"
                    u"Origine_Modif,Deleted,Title,Notes) values (%d,%I64d,%I64d,%d,%d,0,-1,%I64d,1,0,'%s','%s')",
                    {id, debut, fin, 32 + 3 * (k % 10), 31 + 3 * (k % 10), debut,
                     k % 2 == 0 ? QStringLiteral("Réunion de suivi du projet numéro %1").arg(k) : QString(),
                     k % 5 == 0 ? QStringLiteral("À rappeler avant vendredi") : QString()}));
            }
        }
        db.Execute(u"update NextRowId set Pc=100001 where Name='Taches'");
        db.Connection()->CommitTransaction();
        return p;
    }();
    return path;
}

// The program's registry of data objects on one database.
struct Registry
{
    CConfiguration config;
    CProjectStore store;

    explicit Registry(const QString &path)
    {
        config.firstDayOfWeek = 2;
        CAppData::SetConfiguration(&config);
        CAppData::SetProjectStore(&store);
        CAppData::SetCurrentDatabasePath(path);
        CBdD db;
        db.LoadActivities(nullptr, nullptr, true, QString());
        db.LoadProjects(-1, nullptr);
    }
    ~Registry()
    {
        CBdD::CloseSharedConnection();
        CAppData::Clear();
    }
};

// The week of the busy days, shown offscreen in its window.
struct BusyWeek
{
    Registry registry{busyWeekPath()};
    BenchHost host;
    CChildFrame frame{host};

    BusyWeek()
    {
        host.current = BusyMonday.addDays(2);
        Platform::Clock::setFixedNow(QDateTime(BusyMonday.addDays(3), QTime(12, 0)).toSecsSinceEpoch());
        frame.SetViewType(CChildFrame::WeekView, true);
        frame.show();
        CWeekCtrl &week = *frame.Week();
        frame.resize(frame.size() + WeekClient - week.viewport()->size());
        QCoreApplication::processEvents();
        week.Reload();
    }
    ~BusyWeek() { Platform::Clock::reset(); }
    CWeekCtrl &view() { return *frame.Week(); }
    void mouse(QEvent::Type type, const QPoint &p, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QMouseEvent event(type, p, view().viewport()->mapToGlobal(p), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(view().viewport(), &event);
    }
};

// Counts the statements run on the shared connection while it lives, and
// apart the reads of a day's entries.
struct StatementCounter
{
    CBdD db; // keeps the shared connection open: the views borrow it
    int statements = 0;
    int dayReads = 0;
    StatementCounter() { sqlite3_trace_v2(db.Connection()->Handle(), SQLITE_TRACE_STMT, &count, this); }
    ~StatementCounter() { sqlite3_trace_v2(db.Connection()->Handle(), 0, nullptr, nullptr); }
    static int count(unsigned, void *self, void *, void *sql)
    {
        auto *counter = static_cast<StatementCounter *>(self);
        ++counter->statements;
        if (std::strstr(static_cast<const char *>(sql), "FROM Taches Where"))
            ++counter->dayReads;
        return 0;
    }
};

void WeekFullRedraw(benchmark::State &state)
{
    BusyWeek week;
    QImage target(WeekClient, QImage::Format_RGB32);
    const int before = week.view().RedrawCount();
    for (auto _ : state) {
        week.view().MarkDirty();
        week.view().viewport()->render(&target);
    }
    state.counters["redraws"] = benchmark::Counter(week.view().RedrawCount() - before, benchmark::Counter::kAvgIterations);
}

// A drag on Wednesday's 9:00 entry, the ghost moved a pixel at a time.
void WeekGhostRepaint(benchmark::State &state)
{
    BusyWeek week;
    QImage target(WeekClient, QImage::Format_RGB32);
    week.view().viewport()->render(&target);
    const QPoint grab(65 + 2 * ((WeekClient.width() - 64) / 7) + 20, 0);
    const CWeekGeometry &g = week.view().Geometry();
    const QPoint at(grab.x(), g.GridTop() + 9 * g.hourHeight + 5);
    week.mouse(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
    week.mouse(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    week.mouse(QEvent::MouseMove, at + QPoint(0, 10), Qt::NoButton, Qt::LeftButton);
    week.view().viewport()->render(&target);
    if (!week.view().IsDragActive()) {
        state.SkipWithError("no drag");
        return;
    }
    const int before = week.view().RedrawCount();
    for (auto _ : state)
        week.view().viewport()->render(&target);
    state.counters["redraws"] = week.view().RedrawCount() - before;
}

// Press, moves in steps of three pixels (counted), Escape.
void WeekDragMoves(benchmark::State &state)
{
    BusyWeek week;
    QImage target(WeekClient, QImage::Format_RGB32);
    week.view().viewport()->render(&target);
    const CWeekGeometry &g = week.view().Geometry();
    const QPoint at(65 + 2 * ((WeekClient.width() - 64) / 7) + 20, g.GridTop() + 9 * g.hourHeight + 5);
    StatementCounter counter;
    week.mouse(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
    week.mouse(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    const int before = week.view().RedrawCount();
    int i = 0;
    for (auto _ : state) {
        // Down and back within the client, away from the scrolling bands.
        const int step = i++ % 300;
        week.mouse(QEvent::MouseMove, at + QPoint(step % 97, step < 150 ? step : 300 - step), Qt::NoButton,
                   Qt::LeftButton);
        week.view().viewport()->render(&target);
    }
    state.counters["redraws"] = week.view().RedrawCount() - before;
    state.counters["statements"] = counter.statements;
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&week.view(), &escape);
    week.mouse(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}

// The eight days a week view reads, and one of them, as bare SQL.
void BareWeekDays(benchmark::State &state)
{
    sqlite3 *db = nullptr;
    sqlite3_open(busyWeekPath().toUtf8().constData(), &db);
    const int days = int(state.range(0));
    const QDate first = days == 1 ? BusyMonday.addDays(2) : BusyMonday;
    for (auto _ : state) {
        for (int i = 0; i < days; ++i)
            benchmark::DoNotOptimize(TenYears::bareRows(db, TenYears::dayQuery(first.addDays(i), 20 * 60)));
    }
    sqlite3_close(db);
}

// The month view on ten years of data.
struct TenYearsMonth
{
    Registry registry{TenYears::databasePath()};
    BenchHost host;
    CChildFrame frame{host};

    TenYearsMonth()
    {
        host.current = QDate(2026, 8, 10); // six rows of weeks from Monday: all 42 cells
        frame.SetViewType(CChildFrame::MonthView, true);
        frame.resize(1280, 800);
        frame.show();
        QCoreApplication::processEvents();
    }
    CCalendarCtrl &month() { return *frame.Month(); }
};

void MonthReloadIntoEmptyCache(benchmark::State &state)
{
    TenYearsMonth view;
    for (auto _ : state) {
        view.host.cache.Clear();
        view.month().Reload();
    }
}

void MonthBare42Days(benchmark::State &state)
{
    TenYears::Bare bare;
    const QDate first(2026, 7, 27); // the first cell of August 2026, weeks from Monday
    // Each day as the layer reads it: the longest entry's length, then the
    // entries around the day (BareMonthView of the time entries benchmark).
    for (auto _ : state) {
        for (int i = 0; i < 42; ++i)
            benchmark::DoNotOptimize(TenYears::bareRows(bare.db, TenYears::dayQuery(first.addDays(i), bare.longest())));
    }
}

void MonthPaint42Cells(benchmark::State &state)
{
    TenYearsMonth view;
    QImage target(view.month().size(), QImage::Format_RGB32);
    for (auto _ : state)
        view.month().render(&target);
    state.counters["rows"] = view.month().Rows();
}

// Week to month and back inside the month's cached days: day queries
// counted apart from the check of the change stamp (each reload reads the
// stamp inside a read transaction of its own: three statements).
void SwitchWeekAndMonth(benchmark::State &state)
{
    TenYearsMonth view;
    StatementCounter counter;
    for (auto _ : state) {
        view.frame.SetViewType(CChildFrame::WeekView);
        view.frame.SetViewType(CChildFrame::MonthView);
    }
    state.counters["statements per switch"] = benchmark::Counter(counter.statements, benchmark::Counter::kAvgIterations);
    state.counters["day reads"] = counter.dayReads;
}

} // namespace

BENCHMARK(WeekFullRedraw)->Unit(benchmark::kMillisecond);
BENCHMARK(WeekGhostRepaint)->Unit(benchmark::kMillisecond);
BENCHMARK(WeekDragMoves)->Iterations(500)->Unit(benchmark::kMillisecond);
BENCHMARK(BareWeekDays)->Arg(8)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(MonthReloadIntoEmptyCache)->Unit(benchmark::kMillisecond);
BENCHMARK(MonthBare42Days)->Unit(benchmark::kMillisecond);
BENCHMARK(MonthPaint42Cells)->Unit(benchmark::kMillisecond);
BENCHMARK(SwitchWeekAndMonth)->Unit(benchmark::kMillisecond);

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
