// Report pages from the delivered "zarvo" template: the pagination of
// 5 000 detail lines below a few project headings on A4 at 96 dpi, against
// measuring the same cell texts in the same fonts and widths with
// QFontMetrics::boundingRect alone; a page drawn; one repaint of the
// template preview.
#include "BenchFolder.h"
#include "CAppData.h"
#include "CConfiguration.h"
#include "CPreviewTemplate.h"
#include "CProjectStore.h"
#include "CReportModel.h"
#include "CReportPrintLayout.h"
#include "CReportTemplate.h"
#include "tReportDefinition.h"
#include "tReportSnapshot.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDateTime>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <memory>

namespace {

constexpr int DetailLines = 5000;
constexpr int Projects = 8;

QImage A4Page()
{
    QImage image(793, 1122, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    return image;
}

struct tReport
{
    CConfiguration config;
    CProjectStore store;
    tReportDefinition definition;
    CReportModel model;
    CReportTemplate tpl;
    CReportPrintLayout layout;
    QImage page = A4Page();

    tReport()
    {
        CAppData::SetConfiguration(&config);
        CAppData::SetProjectStore(&store);
        for (int id = 1; id <= Projects; ++id) {
            tElement e;
            e.Id = id;
            e.Nom = QStringLiteral("Projet numéro %1").arg(id);
            e.Parent = -1;
            store.AddProject(e, nullptr, QString());
        }
        for (int id = 1; id <= 5; ++id) {
            tElement a;
            a.Id = id;
            a.Nom = QStringLiteral("Activité %1").arg(id);
            store.SetActivity(id, a);
        }
        definition.Type = 0;
        definition.Detail = true;
        definition.Grp = {3, -1, -1, -1, -1};
        definition.SetDefaultColumns(definition.Columns);
        model.SetDefinition(definition);
        model.SetSnapshot(std::make_shared<tReportSnapshot>(tReportSnapshot::Take(&store)));
        model.ResetForRefresh();
        model.BuildColumns();
        model.SetTotalRow(QStringLiteral("Total :"), true);
        const qint64 first = QDateTime(QDate(2024, 1, 2), QTime(8, 0)).toSecsSinceEpoch();
        for (int i = 0; i < DetailLines; ++i) {
            tReportEntry e;
            e.Id = i + 1;
            e.Debut = first + qint64(i) * 3600;
            e.Fin = e.Debut + 1800 + (i % 7) * 300;
            e.IdProjet = 1 + i % Projects;
            e.IdActivite = 1 + i % 5;
            e.Notes = i % 3 == 0 ? QStringLiteral("Réunion de suivi avec le client et compte rendu")
                                       : QString();
            model.AddEntryLine(e);
        }
        model.ShowRows();
        tpl.Load(QString(), QStringLiteral(ZARVO_TEMPLATES_DIR_FRA "zarvo.tpl"), QString());
        layout.SetTemplate(&tpl);
        layout.SetConfiguration(&config);
        layout.BuildPrintLines(model);
        layout.SetUpPrintContext(CReportPrintLayout::PreviewContext, &page, page.rect());
    }
};

tReport &Report()
{
    static tReport report;
    return report;
}

void Paginate(benchmark::State &state)
{
    tReport &report = Report();
    for (auto _ : state) {
        report.layout.Paginate(&report.page);
        benchmark::DoNotOptimize(report.layout.GetPageCount());
    }
    state.counters["pages"] = report.layout.GetPageCount();
    state.counters["lines"] = double(report.layout.Lines().size());
}

// The same texts measured in the detail line's font and each column's
// width, nothing else: the floor of any pagination.
void BoundingRectsAlone(benchmark::State &state)
{
    tReport &report = Report();
    const CDrawObject &line = *report.tpl.GetSection(CReportTemplate::DataLineEven)->Objects().front();
    tDrawTextStyle style;
    style.FaceName = line.GetFontName();
    style.Size = line.GetFontSize();
    style.Bold = line.GetBold();
    const tDrawContext context = tDrawContext::ForDevice(&report.page);
    const QFontMetrics metrics(context.MakeFont(style), &report.page);
    const int width = report.layout.DrawableRect(0).width();
    std::vector<QStringList> texts;
    for (const auto &printLine : report.layout.Lines())
        texts.push_back(report.layout.LineTexts(printLine));
    const auto &columns = report.layout.Columns();
    for (auto _ : state) {
        int total = 0;
        for (const QStringList &row : texts) {
            int tallest = 0;
            for (int c = 0; c < row.size() && c < int(columns.size()); ++c) {
                if (row[c].isEmpty())
                    continue;
                const QRect cell(0, 0, std::max(1, width * columns[size_t(c)].Width / 1000), 0);
                tallest = std::max(tallest, metrics.boundingRect(cell, Qt::TextWordWrap, row[c]).height());
            }
            total += tallest;
        }
        benchmark::DoNotOptimize(total);
    }
}

void DrawSecondPage(benchmark::State &state)
{
    tReport &report = Report();
    QImage image = A4Page();
    for (auto _ : state) {
        QPainter painter(&image);
        report.layout.DrawPage(CReportPrintLayout::PreviewContext, painter, 2);
    }
}

void PreviewRepaint(benchmark::State &state)
{
    Report();
    CPreviewTemplate preview;
    preview.SetTemplateFolders(QString(), QStringLiteral(ZARVO_TEMPLATES_DIR_FRA));
    preview.SetMargins(100, 100, 100, 100);
    preview.LoadTemplate(QStringLiteral("zarvo"));
    preview.resize(280, 396);
    QImage shown(280, 396, QImage::Format_RGB32);
    for (auto _ : state) {
        preview.render(&shown);
        benchmark::DoNotOptimize(shown.constBits());
    }
}

} // namespace

BENCHMARK(Paginate)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BoundingRectsAlone)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(DrawSecondPage)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(PreviewRepaint)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

int main(int argc, char **argv)
{
    qputenv("TZ", "Europe/Paris");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Bench::keepEnvironmentInFolder();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
