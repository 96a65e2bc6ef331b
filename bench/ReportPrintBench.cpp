// Printing a report and paging its print layout: 50 pages of the delivered
// "zarvo" template printed to a PDF printer through the print path,
// against the same cell texts drawn at the same places with
// QPainter::drawText alone into a PDF printer; a page step in the one-page
// zoom against drawing one page.
#include "BenchFolder.h"
#include "CAppData.h"
#include "CConfiguration.h"
#include "CProjectStore.h"
#include "CReportGrid.h"
#include "CReportModel.h"
#include "CReportPageView.h"
#include "CReportPrintLayout.h"
#include "CReportTemplate.h"
#include "ReportPlaceholders.h"
#include "ReportPrinting.h"
#include "tReportDefinition.h"
#include "tReportSnapshot.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPrinter>

#include <memory>

namespace {

constexpr int DetailLines = 2600;
constexpr int Projects = 8;
constexpr int PrintedPages = 50;

QImage ScreenPage()
{
    QImage image(793, 1122, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    return image;
}

std::unique_ptr<QPrinter> PdfPrinter()
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(Bench::folder().filePath(QStringLiteral("printed.pdf")));
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setFullPage(true);
    return printer;
}

struct tReport
{
    CConfiguration config;
    CProjectStore store;
    tReportDefinition definition;
    CReportModel model;
    CReportTemplate tpl;
    CReportGrid grid;
    QImage page = ScreenPage();

    tReport()
    {
        CAppData::SetConfiguration(&config);
        CAppData::SetProjectStore(&store);
        InitReportPlaceholders();
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
        definition.Titre = QStringLiteral("Relevé des temps");
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
            model.AddEntryLine(e);
        }
        model.ShowRows();
        tpl.Load(QString(), QStringLiteral(ZARVO_TEMPLATES_DIR_FRA "zarvo.tpl"), QString());
        grid.SetModel(&model);
        grid.BuildColumns();
        grid.SetPrintTemplate(&tpl);
        grid.BuildPrintLines();
        grid.SetUpPrintContext(CReportPrintLayout::PreviewContext, &page, page.rect());
    }
    int Pages() const { return std::min(PrintedPages, grid.PrintLayout().GetPageCount()); }
};

tReport &Report()
{
    static tReport report;
    return report;
}

// The print path: the printer context set up on the printer, then each
// page drawn from the template.
void PrintFiftyPages(benchmark::State &state)
{
    tReport &report = Report();
    for (auto _ : state) {
        auto printer = PdfPrinter();
        ReportPrinting::PrintPages(report.grid, *printer, {1, report.Pages()});
    }
    state.counters["pages"] = report.Pages();
}

// The same cell texts at the same places, nothing else: one drawText a
// cell, each line as tall as the screen's detail line scaled to the printer.
void DrawTextFiftyPages(benchmark::State &state)
{
    tReport &report = Report();
    const CReportPrintLayout &layout = report.grid.PrintLayout();
    const auto &starts = layout.PageStarts();
    const auto &lines = layout.Lines();
    const auto &columns = layout.Columns();
    for (auto _ : state) {
        auto printer = PdfPrinter();
        QPainter painter(printer.get());
        const double scale = printer->logicalDpiY() / 96.0;
        const QRect drawable = layout.DrawableRect(0);
        const int left = int(drawable.left() * scale);
        const int width = int(drawable.width() * scale);
        QFont font(QStringLiteral("Arial"));
        font.setPointSizeF(8);
        painter.setFont(font);
        for (int page = 0; page < report.Pages(); ++page) {
            if (page > 0)
                printer->newPage();
            const int begin = std::max(starts[size_t(page)], 0);
            const int end = page + 1 < int(starts.size()) && starts[size_t(page) + 1] >= 0 ? starts[size_t(page) + 1]
                                                                                            : int(lines.size());
            int y = int(drawable.top() * scale) + int(120 * scale);
            for (int i = begin; i < end; ++i) {
                const QStringList texts = layout.LineTexts(lines[size_t(i)]);
                int x = left;
                for (int c = 0; c < texts.size() && c < int(columns.size()); ++c) {
                    const int w = width * columns[size_t(c)].Width / 1000;
                    painter.drawText(QRect(x, y, w, int(16 * scale)), Qt::AlignLeft | Qt::AlignVCenter, texts[c]);
                    x += w;
                }
                y += int(16 * scale);
            }
        }
    }
}

// One page drawn at actual size into a page image, as the cache does.
void DrawOnePage(benchmark::State &state)
{
    tReport &report = Report();
    QImage image = ScreenPage();
    int page = 1;
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        report.grid.DrawPage(CReportPrintLayout::PreviewContext, painter, page);
        page = page % report.Pages() + 1;
    }
}

// "Page suivante" in the one-page zoom: the view moves and draws the one
// page newly shown, reduced; with argument 1 the whole view (pages, grey
// area, scroll bar) is also painted into an image.
void PageStepOnePageZoom(benchmark::State &state)
{
    const bool repaint = state.range(0) != 0;
    tReport &report = Report();
    CReportPageView view;
    view.resize(1000, 800);
    view.SetPageDrawer(
        [&report](QPainter &painter, int page) { report.grid.DrawPage(CReportPrintLayout::PreviewContext, painter, page); });
    view.SetZoom(1);
    view.SetPages(QSize(793, 1122), report.Pages(), 96);
    QImage screen(view.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        if (!view.Layout().CanGoToNextPage(view.Position())) {
            state.PauseTiming();
            view.GoToFirstPage();
            state.ResumeTiming();
        }
        view.GoToNextPage();
        if (repaint)
            view.render(&screen);
    }
    state.counters["pagesDrawn"] = view.PagesDrawn();
}

} // namespace

BENCHMARK(PrintFiftyPages)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(DrawTextFiftyPages)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(DrawOnePage)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(PageStepOnePageZoom)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

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
