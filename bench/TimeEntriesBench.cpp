// Time entries of ten years (about 40 000 rows): one day's entries, the 42
// days of a month view (also read into the day cache), an insertion that
// overwrites its neighbours, and the newest entry and the recent
// combinations, each through the database layer and as the bare SQL of the
// same rows on the same file (for the last two, the plain statements over
// the whole table); and the first and last instants of 100 000 entries,
// none, the oldest half or all of them deleted.
#include "BenchFolder.h"
#include "CAppData.h"
#include "CBdD.h"
#include "CDayCache.h"
#include "Formatter.h"
#include "LocalTime.h"
#include "TenYearsOfEntries.h"
#include "tTacheParams.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QCoreApplication>
#include <QDateTime>

#include <map>
#include <memory>
#include <vector>

using Platform::Formatter;

namespace {

using namespace TenYears;

const QDate ShownDay(2026, 6, 10);
// Argument 0: a day of the last year; 1: a day of the first years.
QDate dayOf(const benchmark::State &state)
{
    return state.range(0) == 0 ? ShownDay : QDate(2018, 6, 13);
}
// The rule a day's entries follow, as the layer once asked it (every entry
// ending after the day's start): the layer must give the same rows.
QString plainDayQuery(const QDate &day)
{
    return Formatter::sprintf(
        u"Select Id FROM Taches Where Debut <= %I64d and (Fin > %I64d or Fin=0) and Deleted=0 order by Debut asc",
        {Platform::LocalTime::midnight(day.addDays(1)) - 1, Platform::LocalTime::midnight(day)});
}

// The 42 days around the argument's day read by the layer give the same
// entries as the plain rule.
bool sameAsThePlainRule(const benchmark::State &state)
{
    Bare bare;
    CBdD db(databasePath());
    const QDate first = dayOf(state).addDays(-20);
    for (int i = 0; i < 42; ++i) {
        std::vector<tTacheParams> list;
        db.LoadTimeEntries(list, first.addDays(i));
        std::vector<int> ids;
        for (const tTacheParams &e : list)
            ids.push_back(e.Id);
        if (ids != bare.ids(plainDayQuery(first.addDays(i))))
            return false;
    }
    return true;
}

void LayerOneDay(benchmark::State &state)
{
    CBdD db(databasePath());
    std::vector<tTacheParams> list;
    for (auto _ : state) {
        db.LoadTimeEntries(list, dayOf(state));
        benchmark::DoNotOptimize(list.data());
    }
    state.counters["rows"] = static_cast<double>(list.size());
}

void BareOneDay(benchmark::State &state)
{
    Bare bare;
    for (auto _ : state)
        benchmark::DoNotOptimize(bareRows(bare.db, dayQuery(dayOf(state), bare.longest())));
}

void LayerMonthView(benchmark::State &state)
{
    if (!sameAsThePlainRule(state)) {
        state.SkipWithError("the layer's entries differ from the plain rule's");
        return;
    }
    CBdD db(databasePath());
    std::vector<std::vector<tTacheParams>> days(42);
    const QDate first = dayOf(state).addDays(-20);
    for (auto _ : state) {
        for (int i = 0; i < 42; ++i)
            db.LoadTimeEntries(days[static_cast<size_t>(i)], first.addDays(i));
        benchmark::DoNotOptimize(days.data());
    }
}

void BareMonthView(benchmark::State &state)
{
    Bare bare;
    const QDate first = dayOf(state).addDays(-20);
    for (auto _ : state) {
        for (int i = 0; i < 42; ++i)
            benchmark::DoNotOptimize(bareRows(bare.db, dayQuery(first.addDays(i), bare.longest())));
    }
}

// The 42 days by the plain rule, every entry ending after each day's start,
// as the layer read them before it bounded the ends.
void BarePlainMonthView(benchmark::State &state)
{
    Bare bare;
    const QDate first = dayOf(state).addDays(-20);
    for (auto _ : state) {
        for (int i = 0; i < 42; ++i)
            benchmark::DoNotOptimize(bare.ids(plainDayQuery(first.addDays(i))));
    }
}

// The insertion overwrites three neighbours of ShownDay: 08:45-09:25 is
// cut, 09:30-10:10 deleted and 10:15-10:55 moved. Between iterations the
// neighbours are put back and the new row removed (not timed).
struct InsertScene
{
    qint64 start = Platform::LocalTime::atMinute(ShownDay, 9 * 60 + 10);
    qint64 end = Platform::LocalTime::atMinute(ShownDay, 10 * 60 + 20);
    std::vector<int> ids;
    std::vector<std::pair<qint64, qint64>> times;

    explicit InsertScene(Bare &bare)
    {
        sqlite3_stmt *stmt = nullptr;
        const QByteArray sql = Formatter::sprintf(
            u"select Id, Debut, Fin from Taches where Debut < %I64d and Fin > %I64d order by Debut", {end, start})
                                   .toUtf8();
        sqlite3_prepare_v2(bare.db, sql.constData(), -1, &stmt, nullptr);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            ids.push_back(sqlite3_column_int(stmt, 0));
            times.emplace_back(sqlite3_column_int64(stmt, 1), sqlite3_column_int64(stmt, 2));
        }
        sqlite3_finalize(stmt);
    }

    void restore(Bare &bare) const
    {
        bare.exec(QStringLiteral("BEGIN IMMEDIATE TRANSACTION"));
        for (size_t i = 0; i < ids.size(); ++i)
            bare.exec(Formatter::sprintf(u"update Taches set Debut=%I64d, Fin=%I64d, Deleted=0 where Id=%d",
                                         {times[i].first, times[i].second, ids[i]}));
        bare.exec(Formatter::sprintf(u"delete from Taches where Debut=%I64d and Fin=%I64d", {start, end}));
        bare.exec(QStringLiteral("COMMIT TRANSACTION"));
    }
};

void LayerInsertOverwrite(benchmark::State &state)
{
    Bare bare;
    const InsertScene scene(bare);
    CBdD db(databasePath());
    for (auto _ : state) {
        tTacheFull e;
        e.Debut = scene.start;
        e.Fin = scene.end;
        e.IdProjet = 32;
        e.Title = QStringLiteral("Nouvelle");
        if (!db.InsertTimeEntry(e, CBdD::OverwriteNeighbours))
        {
            state.SkipWithError(qPrintable(QStringLiteral("InsertTimeEntry failed: %1").arg(db.LastCode())));
            break;
        }
        state.PauseTiming();
        scene.restore(bare);
        state.ResumeTiming();
    }
}

// The same changes as bare statements: read the collisions, cut, delete,
// move, insert, each row stamped, in one transaction; no undo, no 'Modif',
// no id counter.
void BareInsertOverwrite(benchmark::State &state)
{
    Bare bare;
    const InsertScene scene(bare);
    int next = 10000000;
    for (auto _ : state) {
        bare.exec(QStringLiteral("BEGIN IMMEDIATE TRANSACTION"));
        benchmark::DoNotOptimize(bareRows(
            bare.db, Formatter::sprintf(u"Select * FROM Taches Where Deleted=0 and Id <> -1 and Debut < %I64d and "
                                        u"(Fin > %I64d or Fin=0) order by Debut",
                                        {scene.end, scene.start})));
        bare.exec(Formatter::sprintf(u"update Taches set Fin=%I64d, Date_Modif=%I64d, Origine_Modif=1 Where Id in (%d)",
                                     {scene.start, scene.start, scene.ids[0]}));
        bare.exec(Formatter::sprintf(u"update Taches set Deleted=1, Date_Modif=%I64d, Origine_Modif=1 Where Id in (%d)",
                                     {scene.start, scene.ids[1]}));
        bare.exec(Formatter::sprintf(u"update Taches set Debut=%I64d, Date_Modif=%I64d, Origine_Modif=1 Where Id in (%d)",
                                     {scene.end, scene.start, scene.ids[2]}));
        bare.exec(Formatter::sprintf(
            u"insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,Facture,IdTauxHoraire,Date_Modif,Origine_Modif,"
            u"Deleted,Title,Notes) VALUES (%d,%I64d,%I64d,32,-1,0,-1,%I64d,1,0,'Nouvelle','')",
            {next++, scene.start, scene.end, scene.start}));
        bare.exec(QStringLiteral("COMMIT TRANSACTION"));
        state.PauseTiming();
        scene.restore(bare);
        state.ResumeTiming();
    }
}

// The 42 days of a month view read into an empty day cache, through its
// default source on the same file: against BareMonthView.
void CacheMonthView(benchmark::State &state)
{
    CAppData::SetCurrentDatabasePath(databasePath());
    CDayCache cache;
    const QDate first = dayOf(state).addDays(-20);
    for (auto _ : state) {
        cache.Clear();
        cache.Load(first, first.addDays(41));
        benchmark::DoNotOptimize(cache.GetEntry(first, 0));
    }
    CBdD::CloseSharedConnection();
}

// The newest entry by start and the ten recent combinations, read from the
// top of the index by start, against the statements that sort or group the
// whole table.
void LayerNewestEntry(benchmark::State &state)
{
    CBdD db(databasePath());
    tTacheFull entry;
    for (auto _ : state)
        benchmark::DoNotOptimize(db.GetNewestTimeEntry(entry));
}

void PlainNewestEntry(benchmark::State &state)
{
    Bare bare;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            bareRows(bare.db, QStringLiteral("select Taches.* from Taches Where Deleted=0 order by Debut desc LIMIT 1")));
}

void LayerRecentCombinations(benchmark::State &state)
{
    CBdD db(databasePath());
    for (auto _ : state) {
        std::vector<tHistory> recent;
        db.ReadRecentCombinations(recent);
        benchmark::DoNotOptimize(recent.data());
    }
}

void PlainRecentCombinations(benchmark::State &state)
{
    Bare bare;
    for (auto _ : state)
        benchmark::DoNotOptimize(bareRows(
            bare.db, QStringLiteral("select IdProjet, IdActivite, IdTauxHoraire, max(Debut) as maxDeb from Taches "
                                    "where Deleted=0 group by IdProjet,IdActivite,IdTauxHoraire order by maxDeb desc "
                                    "limit 10")));
}

// The first start and the last end of the entries, which a report over
// the whole database asks at each build, over 100 000 entries (25 years):
// through the layer on a connection opened for it (its first read, as a
// report's build makes it) and on one kept open, against the plain
// statements that sort every start and the one that walks the index of the
// newest starts from its far end. The layer's argument is the share, in
// per cent, of the oldest entries deleted: a deleted entry is kept until a
// synchronisation purges it, so a user who never synchronises keeps them
// all.
constexpr int BoundsYears = 25;
const char *const SortedFirstStart = "select Debut from Taches where Deleted=0 order by Debut asc limit 1";
const char *const IndexedFirstStart = "select Debut from Taches where Deleted=0 order by -Debut desc limit 1";

// The bounds' entries with the oldest `percent` per cent of them deleted,
// built once for each share.
QString boundsDatabase(int percent)
{
    if (percent == 0)
        return databasePathOfYears(BoundsYears);
    static std::map<int, QString> built;
    auto found = built.find(percent);
    if (found == built.end()) {
        const QString p =
            Bench::folder().path() + QStringLiteral("/Zarvo-%1-deleted%2.sdb").arg(BoundsYears).arg(percent);
        buildEntries(p, FirstDay.addYears(10 - BoundsYears));
        CBdD db(p);
        db.Execute(Formatter::sprintf(u"update Taches set Deleted=1 where Id in (select Id from Taches order by "
                                      u"Debut limit (select count(*) from Taches) * %d / 100)",
                                      {percent}));
        found = built.emplace(percent, p).first;
    }
    return found->second;
}

void LayerEntryBoundsCold(benchmark::State &state)
{
    const QString path = boundsDatabase(int(state.range(0)));
    QDateTime first, last;
    for (auto _ : state) {
        state.PauseTiming();
        {
            auto db = std::make_unique<CBdD>(path);
            state.ResumeTiming();
            benchmark::DoNotOptimize(db->GetTimeEntryBounds(first, last));
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
    state.counters["first"] = static_cast<double>(first.toSecsSinceEpoch());
}

void LayerEntryBoundsWarm(benchmark::State &state)
{
    CBdD db(boundsDatabase(int(state.range(0))));
    QDateTime first, last;
    for (auto _ : state)
        benchmark::DoNotOptimize(db.GetTimeEntryBounds(first, last));
    state.counters["first"] = static_cast<double>(first.toSecsSinceEpoch());
}

// The statement `arg` (0 sorted, 1 indexed) on a fresh connection.
void BareFirstStartCold(benchmark::State &state)
{
    const QByteArray path = databasePathOfYears(BoundsYears).toUtf8();
    const char *sql = state.range(0) == 0 ? SortedFirstStart : IndexedFirstStart;
    for (auto _ : state) {
        state.PauseTiming();
        sqlite3 *db = nullptr;
        sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        state.ResumeTiming();
        benchmark::DoNotOptimize(bareRows(db, QString::fromLatin1(sql)));
        state.PauseTiming();
        sqlite3_close(db);
        state.ResumeTiming();
    }
}

void BareFirstStartWarm(benchmark::State &state)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(databasePathOfYears(BoundsYears).toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    const QString sql = QString::fromLatin1(state.range(0) == 0 ? SortedFirstStart : IndexedFirstStart);
    for (auto _ : state)
        benchmark::DoNotOptimize(bareRows(db, sql));
    sqlite3_close(db);
}

} // namespace

BENCHMARK(LayerOneDay)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BareOneDay)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(LayerMonthView)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BareMonthView)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BarePlainMonthView)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(CacheMonthView)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(LayerInsertOverwrite)->Unit(benchmark::kMicrosecond);
BENCHMARK(BareInsertOverwrite)->Unit(benchmark::kMicrosecond);
BENCHMARK(LayerNewestEntry)->Unit(benchmark::kMicrosecond);
BENCHMARK(PlainNewestEntry)->Unit(benchmark::kMicrosecond);
BENCHMARK(LayerRecentCombinations)->Unit(benchmark::kMicrosecond);
BENCHMARK(PlainRecentCombinations)->Unit(benchmark::kMicrosecond);
BENCHMARK(LayerEntryBoundsCold)->Arg(0)->Arg(50)->Arg(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(LayerEntryBoundsWarm)->Arg(0)->Arg(50)->Arg(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BareFirstStartCold)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BareFirstStartWarm)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    Bench::keepEnvironmentInFolder();
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
