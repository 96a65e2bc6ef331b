// Exporting a report of 65 535 rows (a total and 65 534 entries) of ten
// columns (date, project, activity, start, duration, rate, cost, share,
// title, notes): to a spreadsheet file and to CSV, and to CSV right after a
// refresh from the report grouped by project, against writing the same
// cell texts joined by ";" in a plain buffered file, the texts taken from
// the report in the same pass or computed beforehand.
#include "BenchFolder.h"
#include "CAppData.h"
#include "CConfiguration.h"
#include "CProjectStore.h"
#include "CReportModel.h"
#include "ReportCsvExport.h"
#include "ReportXlsExport.h"
#include "tReportDefinition.h"
#include "tReportSnapshot.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QLocale>

#include <cstdio>
#include <memory>

namespace {

constexpr int Entries = 65534;
constexpr int Projects = 40;
constexpr int Activities = 12;

CConfiguration &configuration()
{
    static CConfiguration config = [] {
        CConfiguration c;
        c.SetLocale(QLocale(QLocale::French, QLocale::France));
        return c;
    }();
    return config;
}

// The report of the entries, flat; when it was grouped by project before,
// refreshed from that: its entries come back after the project rows, which
// the refresh removes only at its end.
std::unique_ptr<CReportModel> makeModel(bool groupedBefore)
{
    CProjectStore store;
    for (int id = 1; id <= Projects; ++id) {
        tElement e;
        e.Id = id;
        e.Nom = QStringLiteral("Projet %1").arg(id);
        store.AddProject(e, nullptr, QString());
    }
    for (int id = 1; id <= Activities; ++id) {
        tElement a;
        a.Id = id;
        a.Nom = QStringLiteral("Activité %1").arg(id);
        store.SetActivity(id, a);
    }
    store.SetRate(1, tRate{QStringLiteral("Normal"), QString(), 62.5f});
    tReportDefinition d;
    d.Type = 2;
    d.Periode = 0;
    d.Grp = {-1, -1, -1, -1, -1};
    d.Detail = true;
    d.Projets.clear();
    d.SetDefaultColumns(d.Columns);
    for (int i = 0; i < d.Columns.Count(); ++i)
        d.Columns[i].Shown = false;
    for (int kind : {0, 1, 2, 3, 5, 6, 7, 19, 9, 10})
        d.Columns.ShowKind(kind);
    auto m = std::make_unique<CReportModel>();
    const auto fill = [&](const tReportDefinition &definition) {
        m->SetDefinition(definition);
        m->SetSnapshot(std::make_shared<tReportSnapshot>(tReportSnapshot::Take(&store)));
        m->ResetForRefresh();
        m->BuildColumns();
        m->SetTotalRow(QStringLiteral("Total :"), true);
        const qint64 first = QDateTime(QDate(2020, 1, 6), QTime(8, 0)).toSecsSinceEpoch();
        for (int i = 0; i < Entries; ++i) {
            tReportEntry e;
            e.Id = i + 1;
            e.Debut = first + qint64(i) * 3 * 3600;
            e.Fin = e.Debut + 1800 + (i % 17) * 300;
            e.IdProjet = 1 + i % Projects;
            e.IdActivite = 1 + i % Activities;
            e.IdTauxHoraire = 1;
            e.Title = QStringLiteral("Tâche %1").arg(i);
            e.Notes = QStringLiteral("Note de la tâche %1, avec \"guillemets\" et ; séparateur").arg(i);
            m->AddEntryLine(e);
        }
        m->ShowRows();
    };
    if (groupedBefore) {
        tReportDefinition byProject = d;
        byProject.Grp = {3, -1, -1, -1, -1};
        fill(byProject);
    }
    fill(d);
    return m;
}

CReportModel &model()
{
    static std::unique_ptr<CReportModel> built = makeModel(false);
    return *built;
}

QString target(const char *name)
{
    return Bench::folder().path() + u'/' + QLatin1String(name);
}

void ExportToXls(benchmark::State &state)
{
    CReportModel &m = model();
    for (auto _ : state) {
        if (ReportXlsExport::Write(m, target("report.xls"), 1) != ReportXlsExport::Result::Written)
            state.SkipWithError("the export failed");
    }
    state.counters["rows"] = Entries + 1;
    state.counters["bytes"] = double(QFile(target("report.xls")).size());
}

void ExportToCsv(benchmark::State &state)
{
    CReportModel &m = model();
    for (auto _ : state) {
        if (!ReportCsvExport::Write(m, target("report.csv"), 1, QStringLiteral(";")))
            state.SkipWithError("the export failed");
    }
    state.counters["rows"] = Entries + 1;
}

// The same export of the report refreshed from one grouped by project, its
// first walk over the rows after the refresh.
void ExportToCsvAfterRegrouping(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<CReportModel> m = makeModel(true);
        state.ResumeTiming();
        if (!ReportCsvExport::Write(*m, target("regrouped.csv"), 1, QStringLiteral(";")))
            state.SkipWithError("the export failed");
        state.PauseTiming();
        m.reset();
        state.ResumeTiming();
    }
    state.counters["rows"] = Entries + 1;
}

void writePlain(FILE *file, const QStringList &row)
{
    const QByteArray line = row.join(u';').toUtf8();
    std::fwrite(line.constData(), 1, size_t(line.size()), file);
    std::fwrite("\r\n", 1, 2, file);
}

// The report's export rows taken as texts and written joined by ";",
// line by line through a buffered C file.
void PlainWriteOfTheReportTexts(benchmark::State &state)
{
    CReportModel &m = model();
    const QByteArray path = QFile::encodeName(target("plain.txt"));
    int rows = 0;
    for (auto _ : state) {
        FILE *file = std::fopen(path.constData(), "wb");
        writePlain(file, m.GetColumnCaptions());
        rows = 1;
        QStringList cells;
        for (bool more = m.FirstExportRow(1, cells); more; more = m.NextExportRow(1, cells), ++rows)
            writePlain(file, cells);
        std::fclose(file);
    }
    state.counters["rows"] = rows;
}

// The same with the texts made once beforehand: the write alone.
void PlainWriteOfPrecomputedTexts(benchmark::State &state)
{
    CReportModel &m = model();
    std::vector<QStringList> rows{m.GetColumnCaptions()};
    QStringList cells;
    for (bool more = m.FirstExportRow(1, cells); more; more = m.NextExportRow(1, cells))
        rows.push_back(cells);
    const QByteArray path = QFile::encodeName(target("plain.txt"));
    for (auto _ : state) {
        FILE *file = std::fopen(path.constData(), "wb");
        for (const QStringList &row : rows)
            writePlain(file, row);
        std::fclose(file);
    }
    state.counters["rows"] = double(rows.size());
}

} // namespace

BENCHMARK(ExportToXls)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(ExportToCsv)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(ExportToCsvAfterRegrouping)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(PlainWriteOfTheReportTexts)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(PlainWriteOfPrecomputedTexts)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

int main(int argc, char **argv)
{
    qputenv("TZ", "Europe/Paris");
    Bench::keepEnvironmentInFolder();
    QCoreApplication app(argc, argv);
    CAppData::SetConfiguration(&configuration());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
