// The report grid over a detail report of 10 000 visible rows (entries
// grouped by project and day), scrolled page by page with each page
// painted offscreen into a 1600 x 900 picture, beside a bare QTreeView
// over the same rows' texts computed beforehand, in the same run; the
// statements run on an open database meanwhile are counted (the grid reads
// only its model). And the expand and collapse of every group of a report
// of 100 000 entries.
#include "BenchFolder.h"
#include "CBdD.h"
#include "CConfiguration.h"
#include "CReportGrid.h"
#include "CReportModel.h"
#include "ImageList.h"
#include "tReportDefinition.h"
#include "tReportSnapshot.h"

#include <QApplication>
#include <QDateTime>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <memory>

namespace {

constexpr int Projects = 20;

tReportSnapshot snapshot()
{
    tReportSnapshot s;
    for (int p = 1; p <= Projects; ++p) {
        tReportSnapshot::tProject project;
        project.Id = p;
        project.Nom = QStringLiteral("Projet numéro %1").arg(p);
        project.Order = p;
        s.Projects.insert(p, project);
    }
    s.Activities.insert(1, {QStringLiteral("Développement"), QString()});
    s.Rates.insert(1, {QStringLiteral("Standard"), QString(), 60.0f});
    return s;
}

// A time and cost report by project and day with its entries, `entries`
// of them, four a day.
struct Report
{
    CConfiguration config;
    tReportDefinition definition;
    CReportModel model;

    explicit Report(int entries)
    {
        definition.Type = 2;
        definition.Detail = true;
        definition.Grp = {3, 2, -1, -1, -1};
        definition.SetDefaultColumns(definition.Columns);
        definition.Columns.ShowKind(9);
        model.SetConfiguration(&config);
        model.SetDefinition(definition);
        model.SetSnapshot(std::make_shared<tReportSnapshot>(snapshot()));
        model.ResetForRefresh();
        model.BuildColumns();
        model.SetTotalRow(QStringLiteral("Total :"), true);
        const qint64 first = QDateTime(QDate(2020, 1, 6), QTime(8, 0)).toSecsSinceEpoch();
        for (int n = 0; n < entries; ++n) {
            tReportEntry e;
            e.Id = n + 1;
            e.Debut = first + qint64(n / 4) * 86400 + (n % 4) * 7200;
            e.Fin = e.Debut + 5400;
            // A day's four entries on one project: one day group each.
            e.IdProjet = 1 + (n / 4) % Projects;
            e.IdActivite = 1;
            e.IdTauxHoraire = 1;
            e.Title = QStringLiteral("Tâche %1 du rapport").arg(n);
            model.AddEntryLine(e);
        }
        model.ShowRows();
    }
};

ImageList &images()
{
    static ImageList list(16);
    static bool filled = false;
    if (!filled) {
        for (int i = 0; i < 20; ++i) {
            QImage square(16, 16, QImage::Format_ARGB32_Premultiplied);
            square.fill(QColor::fromHsv((i * 37) % 360, 160, 220));
            list.SetImage(i, square);
        }
        filled = true;
    }
    return list;
}

class FixedHeightDelegate : public QStyledItemDelegate
{
public:
    explicit FixedHeightDelegate(int height) : m_height(height) {}
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(), m_height);
    }

private:
    int m_height;
};

// Counts the statements run on an open database while it lives.
struct StatementCounter
{
    std::unique_ptr<CBdD> db;
    int statements = 0;
    StatementCounter()
        : db(std::make_unique<CBdD>(Bench::folder().path() + QStringLiteral("/Zarvo.sdb")))
    {
        sqlite3_trace_v2(db->Connection()->Handle(), SQLITE_TRACE_STMT, &count, this);
    }
    ~StatementCounter() { sqlite3_trace_v2(db->Connection()->Handle(), 0, nullptr, nullptr); }
    static int count(unsigned, void *self, void *, void *)
    {
        ++static_cast<StatementCounter *>(self)->statements;
        return 0;
    }
};

void BM_ScrollReportGridByPages(benchmark::State &state)
{
    // 10 021 visible rows: the total, 20 projects, 2 000 days and 8 000
    // entries.
    Report report(8000);
    CReportGrid grid;
    grid.SetSmallImageList(&images());
    grid.SetDefinition(&report.definition);
    grid.SetModel(&report.model);
    grid.RelabelColumns();
    grid.resize(1600, 900);
    grid.show();
    QApplication::processEvents();
    QImage target(grid.size(), QImage::Format_RGB32);
    StatementCounter counter;
    const int rows = grid.RowCount();
    const int page = grid.RowsPerPage();
    for (auto _ : state) {
        for (int first = 0; first < rows; first += page) {
            grid.SetFirstVisibleRow(first);
            QPainter painter(&target);
            grid.render(&painter);
        }
    }
    state.counters["rows"] = rows;
    state.counters["pages"] = (rows + page - 1) / page;
    state.counters["sql_statements"] = counter.statements;
    state.counters["row_height"] = grid.RowHeight();
}
BENCHMARK(BM_ScrollReportGridByPages)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_ScrollBareTreeViewByPages(benchmark::State &state)
{
    Report report(8000);
    const CReportRowTree &tree = report.model.Tree();
    const int columns = report.model.ColumnCount();
    QStandardItemModel texts(tree.RowCount(), columns);
    for (int c = 0; c < columns; ++c)
        texts.setHeaderData(c, Qt::Horizontal, report.model.Columns()[size_t(c)].Caption);
    for (int r = 0; r < tree.RowCount(); ++r)
        for (int c = 0; c < columns; ++c)
            texts.setItem(r, c, new QStandardItem(report.model.GetCellText(c, tree.VisibleRow(r), false, true)));
    // Rows as tall as the grid's, so that both paint the same pages.
    const int rowHeight = CReportGrid().RowHeight();
    QTreeView view;
    FixedHeightDelegate delegate(rowHeight);
    view.setItemDelegate(&delegate);
    view.setUniformRowHeights(true);
    view.setRootIsDecorated(false);
    view.setModel(&texts);
    view.resize(1600, 900);
    view.show();
    for (int c = 0; c < columns; ++c)
        view.setColumnWidth(c, 150);
    QApplication::processEvents();
    QImage target(view.size(), QImage::Format_RGB32);
    const int rows = texts.rowCount();
    const int page = std::max(view.viewport()->height() / std::max(view.sizeHintForRow(0), 1), 1);
    state.counters["row_height"] = view.sizeHintForRow(0);
    for (auto _ : state) {
        for (int first = 0; first < rows; first += page) {
            view.verticalScrollBar()->setValue(first);
            QPainter painter(&target);
            view.render(&painter);
        }
    }
    state.counters["rows"] = rows;
    state.counters["pages"] = (rows + page - 1) / page;
}
BENCHMARK(BM_ScrollBareTreeViewByPages)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_ExpandAll(benchmark::State &state)
{
    Report report(100000);
    CReportGrid grid;
    grid.SetModel(&report.model);
    for (auto _ : state) {
        state.PauseTiming();
        report.model.CollapseAll();
        state.ResumeTiming();
        grid.ExpandAll();
    }
    state.counters["rows"] = grid.RowCount();
}
BENCHMARK(BM_ExpandAll)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_CollapseAll(benchmark::State &state)
{
    Report report(100000);
    CReportGrid grid;
    grid.SetModel(&report.model);
    for (auto _ : state) {
        state.PauseTiming();
        report.model.ExpandAll();
        state.ResumeTiming();
        grid.CollapseAll();
    }
    state.counters["rows"] = grid.RowCount();
}
BENCHMARK(BM_CollapseAll)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

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
