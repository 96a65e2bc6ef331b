// The comparison and the merge of a device synchronisation on two ten-year
// databases (40 000 time entries each, 2 000 projects with their plans and
// child lists, 2 000 rows differing over the tables): the comparison into
// a review list with its texts, against the bare joins it runs (the same
// SELECTs stepped with sqlite3_step on a plain connection), both also on
// a twenty-year pair, and twenty years against ten pairwise; the check of
// the device copy it starts with; and the merge of the suggested
// decisions into a fresh copy. Then the analysis and the run as the
// synchronisation dialogs do them, each beside its parts in the same run:
// the analysis (copy from the device folder, upgrade, comparison) bare, as
// SyncAnalysis runs it, and on the progress dialog's worker; the run
// (merge, overlaps answered once for all, favourite order, purge, device
// write, local replacement) bare, as SyncRun sequences it, and in the run
// dialog with its worker and step list; and the dialogs' share measured
// pairwise, parts then dialog in each iteration ("dialog/parts"); and the
// run against the comparison and the merge, pairwise as well, with the
// changed entries over every year or in the oldest one, beside the digest
// that checks a kept copy.
#include "BenchFolder.h"
#include "TenYearsOfEntries.h"

#include "CBdD.h"
#include "CConfiguration.h"
#include "CDatabaseFile.h"
#include "CDlgInsertion.h"
#include "CViewAnimInsert.h"
#include "CDlgSynchro.h"
#include "CProgressDlg.h"
#include "DeviceExchange.h"
#include "DialogAnswers.h"
#include "SyncAnalysis.h"
#include "SyncFileStages.h"
#include "SyncPending.h"
#include "SyncRun.h"
#include "CSynchroListCtrl.h"
#include "Formatter.h"
#include "SyncReviewList.h"
#include "SyncSteps.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMouseEvent>
#include <QImage>
#include <algorithm>
#include <map>
#include <memory>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

using Platform::Formatter;

constexpr int Projects = 2000;
constexpr int FirstProject = 32;

QString pathOf(const char *name)
{
    return Bench::folder().path() + u'/' + QLatin1String(name);
}

void run(const QString &path, const QStringList &statements)
{
    SQLite::CmyDataBase db;
    db.Open(path);
    db.Execute(u"begin");
    for (const QString &sql : statements)
        db.Execute(sql);
    db.Execute(u"commit");
    if (db.GetLastCode() != 0)
        qFatal("the benchmark's databases could not be built");
}

// Where the entries changed on either side lie: spread over every year,
// or all in the oldest one.
enum class Spread { AllYears, OldestYear };

// The local database and the device's copy, built once for each length
// of history and spread of the changes.
struct Pair
{
    QString local;
    QString device;
    int differences = 0;

    Pair(int years, Spread spread)
    {
        const QString name = QStringLiteral("%1-%2").arg(years).arg(spread == Spread::AllYears ? "all" : "oldest");
        local = Bench::folder().path() + QStringLiteral("/local-") + name + QStringLiteral(".sdb");
        device = Bench::folder().path() + QStringLiteral("/device-") + name + QStringLiteral(".sdb");
        QFile::copy(TenYears::databasePathOfYears(years), local);
        QStringList common;
        // Projects under each other, ten to a parent, each with its own
        // plan and child list; activities, rates, favourites.
        for (int k = 0; k < Projects; ++k) {
            const int id = FirstProject + 3 * k;
            const int parent = k < 100 ? -1 : FirstProject + 3 * (k / 10);
            common << Formatter::sprintf(u"insert into Projets (Id, Nom, Parent, Date_Modif, Origine_Modif, Deleted) "
                                         u"values (%d, 'Projet %d', %d, 1500000000, 0, 0)",
                                         {id, k, parent});
            common << Formatter::sprintf(u"insert into Forecast (IdProject, IdActivity, Title, Date_Modif, "
                                         u"Origine_Modif, Deleted) values (%d, -2, '', 1500000000, 0, 0)",
                                         {id});
            common << Formatter::sprintf(u"insert into ProjectChilds (IdProject, Childs, Date_Modif, Origine_Modif) "
                                         u"values (%d, ';A31;;A34;', 1500000000, 0)",
                                         {id});
        }
        for (int k = 0; k < 100; ++k)
            common << Formatter::sprintf(u"insert into Activites (Id, Nom, Date_Modif, Origine_Modif, Deleted) "
                                         u"values (%d, 'Activité %d', 1500000000, 0, 0)",
                                         {31 + 3 * k, k});
        for (int k = 0; k < 20; ++k)
            common << Formatter::sprintf(u"insert into TauxHoraire (Id, Nom, Valeur, Date_Modif, Origine_Modif, "
                                         u"Deleted) values (%d, 'Taux %d', 50, 1500000000, 0, 0)",
                                         {2 + 3 * k, k});
        for (int k = 0; k < 100; ++k)
            common << Formatter::sprintf(u"insert into Favoris (Id, IdProject, IdActivite, Title, Ordre, Date_Modif, "
                                         u"Origine_Modif, Deleted) values (%d, %d, 31, '', %d, 1500000000, 0, 0)",
                                         {2 + 3 * k, FirstProject + 3 * k, k});
        common << QStringLiteral("update Taches set Date_Modif=1500000000, Origine_Modif=0");
        run(local, common);
        QFile::copy(local, device);

        // 2 000 differences: rows changed on either side, rows made on
        // either side, over the tables.
        QStringList here, there;
        const auto change = [&](QStringList &side, const char16_t *table, const char16_t *key, qint64 id,
                                const char16_t *column) {
            side << Formatter::sprintf(u"update %s set %s='changed %I64d', Date_Modif=1600000000 where %s=%I64d",
                                       {table, column, id, key, id});
            ++differences;
        };
        // 1 300 entries changed, one in 30 of every ten years, or one in
        // three of the oldest year.
        const int step = spread == Spread::AllYears ? 3 * years : 3;
        for (int id = 1; id <= 1300; ++id)
            change(id % 4 == 0 ? here : there, u"Taches", u"Id", step * id, u"Title");
        for (int k = 0; k < 200; ++k) {
            for (QStringList *side : {&here, &there}) {
                *side << Formatter::sprintf(
                    u"insert into Taches (Id, Debut, Fin, IdProjet, IdActivite, IdTauxHoraire, Facture, Title, Notes, "
                    u"Date_Modif, Origine_Modif, Deleted) values (%d, %d, %d, %d, 31, -1, 0, '', '', 1600000000, 1, 0)",
                    {side == &here ? 200000 + 3 * k : 300000 + 3 * k, 1700000000 + 3600 * k, 1700001800 + 3600 * k,
                     FirstProject + 3 * k});
                ++differences;
            }
        }
        for (int k = 0; k < 150; ++k)
            change(k % 3 == 0 ? here : there, u"Projets", u"Id", FirstProject + 3 * 10 * k, u"Nom");
        for (int k = 0; k < 100; ++k)
            change(k % 2 == 0 ? here : there, u"Forecast", u"IdProject", FirstProject + 3 * 7 * k, u"Title");
        for (int k = 0; k < 50; ++k)
            change(k % 2 == 0 ? here : there, u"Favoris", u"Id", 2 + 3 * k, u"Title");
        // And the project order, one decision.
        here << QStringLiteral("update ProjectChilds set Childs=';A34;;A31;' where IdProject=32");
        ++differences;
        run(local, here);
        run(device, there);
    }
};

Pair &pairOf(int years, Spread spread)
{
    static std::map<std::pair<int, Spread>, std::unique_ptr<Pair>> pairs;
    std::unique_ptr<Pair> &p = pairs[{years, spread}];
    if (!p)
        p = std::make_unique<Pair>(years, spread);
    return *p;
}

// The ten-year pair with its changes over every year.
Pair &pair()
{
    return pairOf(10, Spread::AllYears);
}

// The SELECTs of the comparison, as it runs them.
QStringList comparisonQueries()
{
    QStringList queries;
    const auto side = [](const char16_t *s, const QString &t, const QString &extra) {
        return Formatter::sprintf(u"%s.%s.Id, coalesce(cast(%s.%s.Date_Modif as integer),0), "
                                  u"coalesce(%s.%s.Deleted<>0,0)%s",
                                  {s, t, s, t, s, t, extra});
    };
    for (const char16_t *table : {u"Projets", u"Activites", u"TauxHoraire", u"Favoris", u"Taches"}) {
        const QString t = QString::fromUtf16(table);
        const bool entries = t == u"Taches";
        const auto names = [&](const char16_t *s) {
            if (entries)
                return Formatter::sprintf(u", %s.Taches.Title, %s.Taches.IdProjet, %s.Taches.IdActivite", {s, s, s});
            if (t == u"Favoris")
                return Formatter::sprintf(u", %s.Favoris.Title, %s.Favoris.IdProject, %s.Favoris.IdActivite", {s, s, s});
            return Formatter::sprintf(u", %s.%s.Nom", {s, t});
        };
        const auto order = [&](const char16_t *s) {
            return entries ? Formatter::sprintf(u" order by %s.Taches.Debut", {s}) : QString();
        };
        queries << Formatter::sprintf(u"select %s from Ppc.%s not indexed left outer join main.%s on main.%s.Id=Ppc.%s.Id "
                                      u"where main.%s.Id is null and coalesce(Ppc.%s.Deleted<>0,0)=0%s",
                                      {side(u"Ppc", t, names(u"Ppc")), t, t, t, t, t, t, order(u"Ppc")});
        queries << Formatter::sprintf(
            u"select %s, %s from Ppc.%s not indexed cross join main.%s on main.%s.Id=Ppc.%s.Id "
            u"where coalesce(cast(main.%s.Date_Modif as integer),0) != coalesce(cast(Ppc.%s.Date_Modif as integer),0) "
            u"and (coalesce(main.%s.Deleted<>0,0)=0 or coalesce(Ppc.%s.Deleted<>0,0)=0)%s",
            {side(u"main", t, names(u"main")), side(u"Ppc", t, names(u"Ppc")), t, t, t, t, t, t, t, t, order(u"Ppc")});
        queries << Formatter::sprintf(u"select %s from main.%s not indexed left outer join Ppc.%s on Ppc.%s.Id=main.%s.Id "
                                      u"where Ppc.%s.Id is null and coalesce(main.%s.Deleted<>0,0)=0%s",
                                      {side(u"main", t, names(u"main")), t, t, t, t, t, t, order(u"main")});
    }
    for (const char16_t *s : {u"main", u"Ppc"})
        queries << Formatter::sprintf(u"select rowid, quote(IdProject), quote(IdActivity), "
                                      u"coalesce(cast(Date_Modif as integer),0), coalesce(Deleted<>0,0), Title, "
                                      u"IdProject, IdActivity from %s.Forecast",
                                      {s});
    const char16_t *join = u"main.ProjectChilds.IdProject=Ppc.ProjectChilds.IdProject";
    queries << Formatter::sprintf(u"select 1 from main.ProjectChilds left outer join Ppc.ProjectChilds on %s "
                                  u"where Ppc.ProjectChilds.rowid is null limit 1", {join});
    queries << Formatter::sprintf(u"select 1 from Ppc.ProjectChilds left outer join main.ProjectChilds on %s "
                                  u"where main.ProjectChilds.rowid is null limit 1", {join});
    queries << Formatter::sprintf(u"select 1 from Ppc.ProjectChilds inner join main.ProjectChilds on %s "
                                  u"where main.ProjectChilds.Childs is not Ppc.ProjectChilds.Childs limit 1", {join});
    // The names of each side, read once.
    for (const char16_t *s : {u"main", u"Ppc"}) {
        queries << Formatter::sprintf(u"select Id, Nom, Parent from %s.Projets", {s});
        queries << Formatter::sprintf(u"select Id, Nom from %s.Activites", {s});
    }
    return queries;
}

class NoSteps : public SyncSteps
{
public:
    void AppendStep(int, int) override {}
    void SetLastStepState(int) override {}
    bool Cancelled() override { return false; }
};

bool compareIntoList(const Pair &p)
{
    SyncReviewList list;
    int count = 0;
    CBdD db(p.local, CBdD::ReadOnly);
    return db.CompareDatabases(p.device, list, nullptr, count, CConfiguration()) == CBdD::CompareOutcome::Compared
           && count == p.differences;
}

// The comparison of a pair holding as many years as the argument.
void BM_CompareIntoReviewList(benchmark::State &state)
{
    const Pair &p = pairOf(int(state.range(0)), Spread::AllYears);
    for (auto _ : state) {
        if (!compareIntoList(p))
            state.SkipWithError("the comparison did not find the differences");
    }
}
BENCHMARK(BM_CompareIntoReviewList)->Unit(benchmark::kMillisecond)->Arg(10)->Arg(20)->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_CompareBareJoins(benchmark::State &state)
{
    const Pair &p = pairOf(int(state.range(0)), Spread::AllYears);
    const QStringList queries = comparisonQueries();
    for (auto _ : state) {
        sqlite3 *db = nullptr;
        sqlite3_open_v2(p.local.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_exec(db, ("attach database '" + p.device.toUtf8() + "' as Ppc").constData(), nullptr, nullptr,
                     nullptr);
        int rows = 0;
        for (const QString &sql : queries)
            rows += TenYears::bareRows(db, sql);
        benchmark::DoNotOptimize(rows);
        sqlite3_close(db);
    }
}
BENCHMARK(BM_CompareBareJoins)->Unit(benchmark::kMillisecond)->Arg(10)->Arg(20)->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The part of the comparison that looks at the copy before reading it.
void BM_CheckDeviceCopy(benchmark::State &state)
{
    const Pair &p = pair();
    for (auto _ : state) {
        if (!CBdD::CheckDeviceCopy(p.device))
            state.SkipWithError("the copy was refused");
    }
}
BENCHMARK(BM_CheckDeviceCopy)->Unit(benchmark::kMillisecond);

// The merge of the suggested decisions, each time into a fresh copy.
void BM_MergeIntoCopy(benchmark::State &state)
{
    const Pair &p = pair();
    SyncReviewList list;
    int count = 0;
    {
        CBdD db(p.local, CBdD::ReadOnly);
        db.CompareDatabases(p.device, list, nullptr, count, CConfiguration());
    }
    const QString work = pathOf("work.sdb");
    NoSteps steps;
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(work);
        QFile::copy(p.device, work);
        state.ResumeTiming();
        CBdD db(p.local, CBdD::ReadOnly);
        bool touched = false;
        if (!db.ApplySynchronisation(work, list, steps, touched))
            state.SkipWithError("the merge failed");
    }
}
BENCHMARK(BM_MergeIntoCopy)->Unit(benchmark::kMillisecond);

// The review once the comparison has handed its list over: the list
// control takes it (the model reset) and paints its first page at
// 1280 x 800, to set beside the comparison's time above.
void BM_ReviewFillAndFirstPaint(benchmark::State &state)
{
    const Pair &p = pair();
    const CConfiguration formats;
    SyncReviewList list;
    int count = 0;
    {
        CBdD db(p.local, CBdD::ReadOnly);
        if (db.CompareDatabases(p.device, list, nullptr, count, formats) != CBdD::CompareOutcome::Compared) {
            state.SkipWithError("the comparison failed");
            return;
        }
    }
    CSynchroListCtrl view;
    view.resize(1280, 800);
    view.show();
    QImage page(view.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        view.SetList(nullptr);
        view.SetList(&list);
        view.viewport()->render(&page);
        benchmark::DoNotOptimize(page.bits());
    }
    state.counters["rows"] = list.Count();
}
BENCHMARK(BM_ReviewFillAndFirstPaint)->Unit(benchmark::kMillisecond);


// The device as a folder holding the pair's device database, and the
// files of one analysis or run, put back before each iteration.
struct Exchange
{
    QString root = pathOf("Device");
    QString deviceDb = root + QStringLiteral("/Program Files/Zarvo/Db/Zarvo.sdb");
    QString copy = pathOf("Ppc.sdb");
    QString local = pathOf("run-local.sdb");
    DeviceExchange exchange{root};

    Exchange()
    {
        QDir().mkpath(QFileInfo(deviceDb).absolutePath());
        QFile registry(root + QStringLiteral("/registry.ini"));
        registry.open(QIODevice::WriteOnly);
        registry.write("[HKLM\\Software\\Apps\\Quellmark Zarvo]\r\nInstallDir=\\Program Files\\Zarvo\\\r\n");
        registry.close();
        Reset();
        if (!exchange.Connect() || !exchange.LocateDeviceDatabase())
            qFatal("the device folder could not be reached");
    }
    // Both sides as the pair holds them, the copy as the analysis left it.
    void Reset(const Pair &p = pair())
    {
        for (const QString &file : {deviceDb, copy, local})
            QFile::remove(file);
        QFile::copy(p.device, deviceDb);
        QFile::copy(p.device, copy);
        QFile::copy(p.local, local);
    }
};

Exchange &exchange()
{
    static Exchange e;
    return e;
}

SyncAnalysis::Input analysisInput()
{
    Exchange &e = exchange();
    SyncAnalysis::Input in;
    in.exchange = e.exchange;
    in.copyPath = e.copy;
    in.localPath = pair().local;
    in.minimumMs = 0;
    return in;
}

// The analysis's parts one after the other: the copy from the device
// folder, its upgrade, the comparison.
bool analysisParts(const SyncAnalysis::Input &in)
{
    SyncReviewList list;
    int count = 0;
    bool ok = in.exchange.CopyDatabaseFromDevice(in.copyPath);
    {
        CBdD copy(in.copyPath, CBdD::OtherFile);
        ok = ok && copy.UpdateDb().outcome == CBdD::tUpgradeResult::Outcome::Current;
    }
    CBdD local(in.localPath, CBdD::ReadOnly);
    return ok && local.CompareDatabases(in.copyPath, list, nullptr, count, in.formats) == CBdD::CompareOutcome::Compared
           && count == pair().differences;
}

// As the synchronisation dialog runs it: in the progress dialog, on its worker.
bool analysisInDialog(const SyncAnalysis::Input &in)
{
    SyncAnalysis::Result result;
    CProgressDlg progress(
        nullptr,
        [&in, &result](ProgressDlgShared &shared) -> quint8 {
            result = SyncAnalysis::Run(in, &shared);
            return result.outcome == SyncAnalysis::Outcome::Differences ? 1 : 2;
        },
        nullptr, QStringLiteral("Analyse"), true);
    return progress.DoModal() == UPD_SUCCESS && result.count == pair().differences;
}

void BM_AnalysisParts(benchmark::State &state)
{
    exchange().Reset();
    const SyncAnalysis::Input in = analysisInput();
    for (auto _ : state) {
        if (!analysisParts(in))
            state.SkipWithError("the analysis's parts failed");
    }
}
BENCHMARK(BM_AnalysisParts)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_Analysis(benchmark::State &state)
{
    exchange().Reset();
    const SyncAnalysis::Input in = analysisInput();
    for (auto _ : state) {
        const SyncAnalysis::Result result = SyncAnalysis::Run(in, nullptr);
        if (result.outcome != SyncAnalysis::Outcome::Differences || result.count != pair().differences)
            state.SkipWithError("the analysis failed");
    }
}
BENCHMARK(BM_Analysis)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_AnalysisInProgressDialog(benchmark::State &state)
{
    exchange().Reset();
    const SyncAnalysis::Input in = analysisInput();
    for (auto _ : state) {
        if (!analysisInDialog(in))
            state.SkipWithError("the analysis failed");
    }
}
BENCHMARK(BM_AnalysisInProgressDialog)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The review's list with the suggested decisions, and the local change
// counter of the comparison's read.
struct RunInput
{
    SyncReviewList list;
    std::optional<quint32> counter;
    explicit RunInput(const Pair &p)
    {
        int count = 0;
        CBdD db(p.local, CBdD::ReadOnly);
        db.CompareDatabases(p.device, list, nullptr, count, CConfiguration(), &counter);
    }
};

RunInput &runInput(const Pair &p = pair())
{
    static std::map<const Pair *, std::unique_ptr<RunInput>> inputs;
    std::unique_ptr<RunInput> &r = inputs[&p];
    if (!r)
        r = std::make_unique<RunInput>(p);
    return *r;
}

SyncFileStages::Setup runSetup(const Pair &p = pair())
{
    Exchange &e = exchange();
    SyncFileStages::Setup setup;
    setup.localPath = e.local;
    setup.copyPath = e.copy;
    setup.list = &runInput(p).list;
    setup.exchange = e.exchange;
    setup.localCounter = runInput(p).counter;
    // As the dialog runs it: the merged copy kept for the user before the
    // device is written.
    setup.userId = 1;
    setup.askOverlap = [](const std::vector<tTacheFull> &) {
        SyncFileStages::OverlapAnswer answer;
        answer.applyToAll = true;
        return answer;
    };
    return setup;
}

// The run's parts one after the other: the merge, the overlaps (answered
// once for all), the favourite order, the purge, the device write and the
// local replacement.
bool runParts(const SyncFileStages::Setup &setup)
{
    Exchange &e = exchange();
    NoSteps steps;
    bool ok = true;
    {
        CBdD local(e.local, CBdD::ReadOnly);
        bool touched = false;
        ok = local.ApplySynchronisation(e.copy, *setup.list, steps, touched);
        ok = ok && SyncFileStages::ResolveOverlaps(e.copy, *setup.list, steps, setup.askOverlap);
        ok = ok && local.MergeFavoriteOrder(e.copy, steps) == CBdD::MergeOutcome::Done;
    }
    {
        CBdD copy(e.copy, CBdD::OtherFile);
        ok = ok && copy.PurgeSyncedChanges();
    }
    return ok && e.exchange.CopyDatabaseToDevice(e.copy) && CDatabaseFile::ReplaceLive(e.copy, e.local);
}

void click(QWidget *widget)
{
    const QPointF at = QRectF(widget->rect()).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
}

// As the review runs it: the run dialog in its own modal loop, its worker
// and its step list, the overlaps asked once in the insertion dialog with
// "apply to all" ticked; it closes at its end.
bool runInDialog(SyncFileStages::Setup setup)
{
    setup.askOverlap = {};
    DialogAnswers<CDlgInsertion> questions;
    questions.Push([](CDlgInsertion &question) {
        static_cast<QCheckBox *>(question.Control(CDlgInsertion::IdApplyToNext))->click();
        click(question.ChoiceButton(CDlgInsertion::OthersGiveWay));
        return question.result();
    });
    CDlgSynchro run(setup);
    QObject::connect(&run, &CDlgSynchro::runEnded, &run, &QDialog::accept);
    run.exec();
    return run.Outcome() == SyncRun::Outcome::Succeeded;
}

void BM_RunParts(benchmark::State &state)
{
    const SyncFileStages::Setup setup = runSetup();
    for (auto _ : state) {
        state.PauseTiming();
        exchange().Reset();
        state.ResumeTiming();
        if (!runParts(setup))
            state.SkipWithError("the run's parts failed");
    }
}
BENCHMARK(BM_RunParts)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_Run(benchmark::State &state)
{
    const SyncFileStages::Setup setup = runSetup();
    for (auto _ : state) {
        state.PauseTiming();
        exchange().Reset();
        state.ResumeTiming();
        NoSteps steps;
        if (SyncRun(SyncFileStages::Make(setup)).Run(steps) != SyncRun::Outcome::Succeeded)
            state.SkipWithError("the run failed");
    }
}
BENCHMARK(BM_Run)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_RunInDialog(benchmark::State &state)
{
    const SyncFileStages::Setup setup = runSetup();
    for (auto _ : state) {
        state.PauseTiming();
        exchange().Reset();
        state.ResumeTiming();
        if (!runInDialog(setup))
            state.SkipWithError("the run failed");
    }
}
BENCHMARK(BM_RunInDialog)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The dialogs' share measured pairwise: each iteration runs the parts and
// then the same work as the dialog runs it, on the same files, so that the
// disk's ups and downs (the work writes and syncs whole databases) fall on
// both alike. The counter is the median of the iterations' ratios.
double medianOf(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

template <class Parts, class Dialog>
void measureShare(benchmark::State &state, Parts parts, Dialog dialog)
{
    std::vector<double> ratios;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        const bool partsDone = parts();
        const qint64 partsNs = timer.nsecsElapsed();
        timer.restart();
        const bool dialogDone = dialog();
        const qint64 dialogNs = timer.nsecsElapsed();
        if (!partsDone || !dialogDone)
            state.SkipWithError("the work failed");
        ratios.push_back(double(dialogNs) / double(std::max<qint64>(1, partsNs)));
    }
    state.counters["dialog/parts"] = medianOf(ratios);
}

// The run against the comparison and the merge, pairwise: each iteration
// compares both databases and merges the differences into a fresh copy,
// then runs the whole synchronisation on fresh files (the files put back
// untimed), so that the disk's ups and downs fall on both alike; then it
// takes the digest of the merged rows, as the check of a kept copy does
// before it finishes a stopped run. The counters are the medians of the
// iterations' ratios. The argument: the changed entries spread over the
// ten years (0), or all in the oldest year (1).
void BM_RunAgainstCompareAndMerge(benchmark::State &state)
{
    const Pair &p = pairOf(10, state.range(0) == 0 ? Spread::AllYears : Spread::OldestYear);
    const SyncFileStages::Setup setup = runSetup(p);
    const QString work = pathOf("work.sdb");
    std::vector<double> ratios;
    std::vector<double> digests;
    std::vector<double> compareNs, mergeNs, runsNs;
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(work);
        QFile::copy(p.device, work);
        exchange().Reset(p);
        state.ResumeTiming();
        QElapsedTimer timer;
        timer.start();
        NoSteps steps;
        bool ok = false;
        {
            SyncReviewList list;
            int count = 0;
            CBdD db(p.local, CBdD::ReadOnly);
            bool touched = false;
            ok = db.CompareDatabases(p.device, list, nullptr, count, CConfiguration()) == CBdD::CompareOutcome::Compared;
            compareNs.push_back(double(timer.nsecsElapsed()));
            ok = ok && db.ApplySynchronisation(work, list, steps, touched);
        }
        const qint64 compareAndMergeNs = timer.nsecsElapsed();
        timer.restart();
        ok = ok && SyncRun(SyncFileStages::Make(setup)).Run(steps) == SyncRun::Outcome::Succeeded;
        const qint64 runNs = timer.nsecsElapsed();
        timer.restart();
        // The local database now holds the kept copy's rows.
        ok = ok && !SyncPending::Digest(exchange().local).isEmpty();
        const qint64 digestNs = timer.nsecsElapsed();
        if (!ok)
            state.SkipWithError("the work failed");
        ratios.push_back(double(runNs) / double(std::max<qint64>(1, compareAndMergeNs)));
        digests.push_back(double(digestNs) / double(std::max<qint64>(1, runNs)));
        mergeNs.push_back(double(compareAndMergeNs) - compareNs.back());
        runsNs.push_back(double(runNs));
    }
    state.counters["run/(compare+merge)"] = medianOf(ratios);
    state.counters["digest/run"] = medianOf(digests);
    // Medians in milliseconds.
    state.counters["compare"] = medianOf(compareNs) / 1e6;
    state.counters["merge"] = medianOf(mergeNs) / 1e6;
    state.counters["run"] = medianOf(runsNs) / 1e6;
}
BENCHMARK(BM_RunAgainstCompareAndMerge)->Unit(benchmark::kMillisecond)->Arg(0)->Arg(1)->Iterations(9);

// The comparison at twenty years against ten, pairwise: each iteration
// compares the ten-year pair, then the twenty-year one. The counter is the
// median of the iterations' ratios.
void BM_CompareTwentyAgainstTenYears(benchmark::State &state)
{
    const Pair &ten = pairOf(10, Spread::AllYears);
    const Pair &twenty = pairOf(20, Spread::AllYears);
    std::vector<double> ratios;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        bool ok = compareIntoList(ten);
        const qint64 tenNs = timer.nsecsElapsed();
        timer.restart();
        ok = ok && compareIntoList(twenty);
        const qint64 twentyNs = timer.nsecsElapsed();
        if (!ok)
            state.SkipWithError("the comparison did not find the differences");
        ratios.push_back(double(twentyNs) / double(std::max<qint64>(1, tenNs)));
    }
    state.counters["20y/10y"] = medianOf(ratios);
}
BENCHMARK(BM_CompareTwentyAgainstTenYears)->Unit(benchmark::kMillisecond)->Iterations(15);

void BM_AnalysisDialogShare(benchmark::State &state)
{
    exchange().Reset();
    const SyncAnalysis::Input in = analysisInput();
    measureShare(state, [&in] { return analysisParts(in); }, [&in] { return analysisInDialog(in); });
}
BENCHMARK(BM_AnalysisDialogShare)->Unit(benchmark::kMillisecond)->Iterations(21);

void BM_RunDialogShare(benchmark::State &state)
{
    const SyncFileStages::Setup setup = runSetup();
    measureShare(
        state, [&setup] { exchange().Reset(); return runParts(setup); },
        [&setup] { exchange().Reset(); return runInDialog(setup); });
}
BENCHMARK(BM_RunDialogShare)->Unit(benchmark::kMillisecond)->Iterations(9);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Bench::keepEnvironmentInFolder();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
