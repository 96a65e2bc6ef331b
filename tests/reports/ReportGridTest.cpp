// The report grid over a report model: clicks and keys, checks, the
// columns moved, sized and fitted, and what a cut text looks like.
#include "CBigHeaderCtrl.h"
#include "CReportGrid.h"
#include "CReportModel.h"
#include "ImageList.h"
#include "ReportFixture.h"
#include "tReportDefinition.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QSet>
#include <QSignalSpy>
#include <QTest>

namespace {

class ReportGridTest : public ReportFixture
{
protected:
    void SetUp() override
    {
        ReportFixture::SetUp();
        for (int i = 0; i < 20; ++i)
            images.SetImage(i, solid(i));
        definition.Type = 0;
        definition.Detail = true;
        definition.Grp = {3, 2, -1, -1, -1};
        definition.SetDefaultColumns(definition.Columns);
        definition.Columns.ShowKind(9);
        build();
        grid = std::make_unique<CReportGrid>();
        grid->SetSmallImageList(&images);
        grid->SetDefinition(&definition);
        grid->SetModel(&model);
        grid->RelabelColumns();
        grid->resize(700, 400);
        grid->show();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        grid.reset();
        ReportFixture::TearDown();
    }
    static QImage solid(int i)
    {
        QImage image(16, 16, QImage::Format_ARGB32);
        image.fill(QColor::fromHsv(i * 17 % 360, 200, 200));
        return image;
    }
    tReportEntry entry(int id, qint64 start, qint64 seconds, int project)
    {
        tReportEntry e;
        e.Id = id;
        e.Debut = start;
        e.Fin = start + seconds;
        e.IdProjet = project;
        e.IdActivite = 7;
        e.Title = QStringLiteral("Tâche numéro %1").arg(id);
        e.Facture = invoiced.contains(id);
        return e;
    }
    // Alpha-Web under Alpha under Clients; two days there, one in Interne.
    void build()
    {
        model.SetDefinition(definition);
        model.SetSnapshot(std::make_shared<tReportSnapshot>(snapshot));
        model.ResetForRefresh();
        model.BuildColumns();
        model.SetTotalRow(QStringLiteral("Total :"), true);
        model.AddEntryLine(entry(1, At(2024, 3, 1, 9), 3600, 3));
        model.AddEntryLine(entry(2, At(2024, 3, 1, 14), 1800, 3));
        model.AddEntryLine(entry(3, At(2024, 3, 2, 9), 600, 3));
        model.AddEntryLine(entry(4, At(2024, 3, 2, 11), 900, 4));
        model.ShowRows();
    }
    QStringList rows() const
    {
        QStringList out;
        for (int r = 0; r < grid->RowCount(); ++r)
            out << model.GetCellText(0, grid->Item(r), false, true);
        return out;
    }
    int rowOf(const QString &label) const { return int(rows().indexOf(label)); }
    int rowOfEntry(int id) const
    {
        for (int r = 0; r < grid->RowCount(); ++r)
            if (const tReportEntry *e = grid->Item(r)->Item().EntryOf(); e && e->Id == id)
                return r;
        return -1;
    }
    QPoint inRow(int row, int x) const { return QPoint(x, grid->RowRect(row).center().y()); }
    QPoint boxOf(int row) const
    {
        return grid->RowLines(row, grid->RowRect(row)).box.center();
    }
    QPoint checkOf(int row) const { return grid->CheckZone(row, grid->RowRect(row)).center(); }
    int check(int row) const { return grid->Item(row)->Record().Check; }

    ImageList images{16};
    QSet<int> invoiced;
    tReportDefinition definition;
    CReportModel model;
    std::unique_ptr<CReportGrid> grid;
};

} // namespace

TEST_F(ReportGridTest, ClicksAndKeysOnTheRows)
{
    const int clients = rowOf(QStringLiteral("Clients"));
    ASSERT_GE(clients, 0);
    const int before = grid->RowCount();
    grid->SetSelectedRow(0);

    // The +/- box folds the row without selecting it.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, boxOf(clients));
    EXPECT_LT(grid->RowCount(), before);
    EXPECT_EQ(grid->SelectedRow(), 0);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, boxOf(clients));
    EXPECT_EQ(grid->RowCount(), before);

    // A double click on the label folds it too, and selects it.
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, inRow(clients, 200));
    EXPECT_LT(grid->RowCount(), before);
    EXPECT_EQ(grid->SelectedRow(), clients);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, inRow(clients, 200));
    EXPECT_EQ(grid->RowCount(), before);

    // Keys move the selection; Home, End, Page Down stay within the rows.
    grid->setFocus();
    QTest::keyClick(grid.get(), Qt::Key_Home);
    EXPECT_EQ(grid->SelectedRow(), 0);
    QTest::keyClick(grid.get(), Qt::Key_Down);
    EXPECT_EQ(grid->SelectedRow(), 1);
    QTest::keyClick(grid.get(), Qt::Key_End);
    EXPECT_EQ(grid->SelectedRow(), before - 1);
    QTest::keyClick(grid.get(), Qt::Key_PageDown);
    EXPECT_EQ(grid->SelectedRow(), before - 1);
    QTest::keyClick(grid.get(), Qt::Key_Up);
    EXPECT_EQ(grid->SelectedRow(), before - 2);
    // Without check boxes, space ticks nothing.
    QTest::keyClick(grid.get(), Qt::Key_Space);
    EXPECT_EQ(check(before - 2), 0);

    // The selected entry is the one of an entry row only.
    grid->SetSelectedRow(rowOf(QStringLiteral("Clients")));
    EXPECT_EQ(grid->GetSelectedEntry(), nullptr);
    for (int r = 0; r < grid->RowCount(); ++r) {
        if (grid->Item(r)->Item().EntryOf()) {
            grid->SetSelectedRow(r);
            break;
        }
    }
    ASSERT_NE(grid->GetSelectedEntry(), nullptr);
    EXPECT_EQ(grid->GetSelectedEntry()->Id, 1);
}

TEST_F(ReportGridTest, ChecksSpreadDownAndUpAndTheBoxLeavesThemAlone)
{
    grid->ShowCheckBoxes(true);
    const int clients = rowOf(QStringLiteral("Clients"));
    grid->SetSelectedRow(0);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, checkOf(clients));
    EXPECT_EQ(check(clients), 1);
    EXPECT_EQ(grid->SelectedRow(), 0) << "ticking does not select";
    for (int r = clients + 1; r < grid->RowCount() && grid->Item(r)->Depth() > grid->Item(clients)->Depth(); ++r)
        EXPECT_EQ(check(r), 1) << r;
    EXPECT_EQ(check(0), 2) << "the total row is mixed: Interne is not checked";

    // One entry unchecked with space: every row above it is mixed.
    int entry = -1;
    for (int r = clients; r < grid->RowCount() && entry < 0; ++r)
        if (grid->Item(r)->Item().EntryOf())
            entry = r;
    ASSERT_GE(entry, 0);
    grid->SetSelectedRow(entry);
    grid->setFocus();
    QTest::keyClick(grid.get(), Qt::Key_Space);
    EXPECT_EQ(check(entry), 0);
    for (const CTreeItem *up = grid->Item(entry)->Parent(); up; up = up->Parent())
        EXPECT_EQ(up->Record().Check, 2);

    // The +/- box changes neither the checks nor the selection, which
    // follows its row.
    const int interne = rowOf(QStringLiteral("Interne"));
    grid->SetSelectedRow(interne);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, boxOf(clients));
    EXPECT_EQ(check(clients), 2);
    EXPECT_EQ(grid->SelectedRow(), rowOf(QStringLiteral("Interne")));
    EXPECT_LT(grid->SelectedRow(), interne);
    // Left of the check zone, on the row's image: a plain selection.
    const QRect zone = grid->CheckZone(clients, grid->RowRect(clients));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(zone.left() - 4, zone.center().y()));
    EXPECT_EQ(check(clients), 2);
    EXPECT_EQ(grid->SelectedRow(), clients);
}

TEST_F(ReportGridTest, AColumnDraggedMovesInTheDefinitionButNotInACrossTable)
{
    ASSERT_GE(grid->ColumnCount(), 3);
    const QString first = grid->ColumnCaption(1);
    const QString second = grid->ColumnCaption(2);
    const int firstKind = model.Columns()[1].Kind;
    CBigHeaderCtrl *header = grid->Header();
    ASSERT_TRUE(header->sectionsMovable());
    QSignalSpy modified(grid.get(), &CReportGrid::definitionModified);
    header->moveSection(1, 2);
    EXPECT_EQ(modified.count(), 1);
    EXPECT_TRUE(definition.Modified);
    EXPECT_EQ(grid->ColumnCaption(1), second);
    EXPECT_EQ(grid->ColumnCaption(2), first);
    // The header is rebuilt in the set's order: visual and logical agree.
    EXPECT_EQ(header->logicalIndex(1), 1);
    EXPECT_EQ(model.Columns()[2].Kind, firstKind);
    EXPECT_EQ(model.Definition().Columns[model.Columns()[2].SetIndex].Kind, firstKind);
    int shown = 0;
    for (int i = 0; i < definition.Columns.Count(); ++i) {
        if (definition.Columns[i].Shown && shown++ == 2) {
            EXPECT_EQ(definition.Columns[i].Kind, firstKind);
        }
    }

    definition.Modified = false;
    definition.Type = 3;
    definition.Grp = {3, -1, -1, -1, -1};
    definition.Grp_Col = 1;
    model.SetDefinition(definition);
    model.ResetForRefresh();
    model.DefineCrossTabColumns({{37, QString()}, {38, QStringLiteral("2024-03")}, {38, QString()}});
    model.SetTotalRow(QStringLiteral("Total :"), false);
    model.AddCrossTabLine(entry(1, At(2024, 3, 1, 9), 3600, 3), 1);
    model.ShowRows();
    grid->SetModel(&model);
    grid->RelabelColumns();
    EXPECT_FALSE(header->sectionsMovable());
    header->moveSection(1, 2);
    EXPECT_FALSE(definition.Modified);
    EXPECT_EQ(header->logicalIndex(1), 1);
}

TEST_F(ReportGridTest, WidthsKeepFiftyAndAreStoredWhenTheDividerIsLetGo)
{
    QWidget *header = grid->Header()->viewport();
    const auto mouse = [header](QEvent::Type type) {
        QMouseEvent event(type, QPointF(5, 5), header->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(header, &event);
    };
    const int index = model.Columns()[1].SetIndex;
    mouse(QEvent::MouseButtonPress);
    grid->Header()->resizeSection(1, 30);
    EXPECT_EQ(grid->Header()->sectionSize(1), 50);
    EXPECT_EQ(definition.Columns[index].Width, -1) << "not while the divider is held";
    mouse(QEvent::MouseButtonRelease);
    EXPECT_EQ(definition.Columns[index].Width, 50);
    EXPECT_EQ(model.Definition().Columns[index].Width, 50);
    // A stored width is kept by a fit, unless the fit resets it.
    grid->AutoFitColumns(1, false);
    EXPECT_EQ(grid->Header()->sectionSize(1), 50);
    grid->AutoFitColumns(1, true);
    EXPECT_EQ(definition.Columns[index].Width, -1);
    EXPECT_EQ(grid->Header()->sectionSize(1), grid->FitWidth(1));
}

TEST_F(ReportGridTest, FittingCapsTheTextAndAddsItsPadding)
{
    const QFontMetrics metrics(grid->font());
    const int title = model.ColumnSet().IndexOfKind(9);
    int column = -1;
    for (int c = 0; c < model.ColumnCount(); ++c)
        if (model.Columns()[size_t(c)].SetIndex == title)
            column = c;
    ASSERT_GT(column, 0) << "the title column is shown";
    const int width = grid->FitWidth(column);
    const int text = metrics.horizontalAdvance(QStringLiteral("Tâche numéro 4")) + 6;
    EXPECT_GE(width, text + 10);
    EXPECT_LE(width, CReportGrid::FitCap + 10);

    // A very long title: capped at 300 + 10.
    build();
    tReportEntry e = entry(9, At(2024, 3, 3, 9), 60, 4);
    e.Title = QString(200, u'x');
    model.AddEntryLine(e);
    model.ShowRows();
    grid->SetModel(&model);
    EXPECT_EQ(grid->FitWidth(column), CReportGrid::FitCap + 10);
    // The first column: its widest label with the depth's indentation,
    // capped the same way, plus 20.
    EXPECT_LE(grid->FitWidth(0), CReportGrid::FitCap + 20);
    EXPECT_GE(grid->FitWidth(0),
              metrics.horizontalAdvance(QStringLiteral("Alpha-Web")) + 4 * 16 + 4 + 20);
    // A double click on the divider fits the column.
    emit grid->Header()->sectionHandleDoubleClicked(column);
    EXPECT_EQ(grid->Header()->sectionSize(column), CReportGrid::FitCap + 10);
}

// Fitting measures only the rows whose texts can be the widest, which the
// build tells without making every row's text: over a report of many
// entries (dates, names, times, durations, amounts, shares and free texts
// in every shape) the widest of those rows is the widest of all, in every
// column and, in the first, with the depth's indentation; their number
// does not grow with the entries. Once a row has left the tree, a walk
// over the rows finds them instead. The same holds with a negative rate
// (lines of both signs, totals smaller than some lines), with rates all
// below zero (the total, below zero, the widest of its column), with groups
// of both signs whose totals do not cancel (one group's total below zero
// wider than every line, every other group and the report's total) and
// whatever kind of column comes first, where group rows show their names.
TEST_F(ReportGridTest, FittingMeasuresAFewRowsAndFindsTheWidest)
{
    struct Case
    {
        const char *what;
        float standard; // the rate of half the lines
        float urgent;   // the rate of the others; of the opposite sign, each line's opposite
        int firstKind;  // -1: the default columns' first, a name
        // The rate follows the project: the urgent one for one project, the
        // standard one for the two others.
        bool rateByProject = false;
    };
    const Case cases[] = {
        {"a name first", 6000.0f, 9050.5f, -1},
        {"a date first", 6000.0f, 9050.5f, 0},
        {"a duration first", 6000.0f, 9050.5f, 5},
        {"a cost first", 6000.0f, 9050.5f, 7},
        {"a title first", 6000.0f, 9050.5f, 9},
        {"negative rate, a name first", 6000.0f, -6000.0f, -1},
        {"negative rate, a date first", 6000.0f, -6000.0f, 0},
        {"negative rate, a duration first", 6000.0f, -6000.0f, 5},
        {"negative rate, a cost first", 6000.0f, -6000.0f, 7},
        {"negative rate, a title first", 6000.0f, -6000.0f, 9},
        // Small amounts below zero: the total of the many lines, below
        // zero too, has more digits than any line or group.
        {"negative rates only, a name first", -3.0f, -4.5f, -1},
        {"negative rates only, a title first", -3.0f, -4.5f, 9},
        // One project's entries at a rate below zero, the others' above:
        // that project's group total (some -60 000,00 €) is wider than the
        // others' (+27 000,00 €) and than the report's (-6 000,00 €).
        {"groups of both signs, a name first", 9.0f, -20.0f, -1, true},
        {"groups of both signs, a title first", 9.0f, -20.0f, 9, true},
    };
    const QString words[] = {QStringLiteral("Réunion"), QStringLiteral("Analyse"), QStringLiteral("Rédaction"),
                             QStringLiteral("Mise en production")};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        // Amounts wide enough to be, in the first column, wider than the
        // names of the groups above them.
        rate(5, QStringLiteral("Standard"), c.standard);
        rate(6, QStringLiteral("Urgent"), c.urgent);
        const bool mixed = (c.standard < 0) != (c.urgent < 0) && !c.rateByProject;
        // Durations written in words, as a user may choose: in the first
        // column an entry's duration, and not only a group's name, can be
        // the widest text.
        config.durationPattern = QStringLiteral("%1!d! heures et %2!02d! minutes de travail");
        snapshot = tReportSnapshot::Take(&store);
        definition.Type = 2;
        // The long names of day groups would be wider than any entry's
        // text in the first column: a kind of its own comes first in a
        // report grouped by projects alone.
        definition.Grp = {3, c.firstKind == -1 ? 2 : -1, -1, -1, -1};
        definition.SetDefaultColumns(definition.Columns);
        for (int kind : {9, 10, 17, 18, 19, 20})
            definition.Columns.ShowKind(kind);
        if (c.firstKind != -1) {
            definition.Columns.ShowKind(c.firstKind);
            if (definition.Columns.IndexOfKind(c.firstKind) != 0) {
                ASSERT_TRUE(definition.Columns.Move(0, definition.Columns.IndexOfKind(c.firstKind), true));
            }
        }
        // The first fill of a case starts a new tree; the next one
        // refreshes it.
        const auto fill = [&](int days) {
            model.SetDefinition(definition);
            model.SetSnapshot(std::make_shared<tReportSnapshot>(snapshot));
            model.SetFullReset(days == 400);
            model.ResetForRefresh();
            model.BuildColumns();
            model.SetTotalRow(QStringLiteral("Total :"), true);
            int id = 0;
            for (int d = 0; d < days; ++d) {
                for (int k = 0; k < 4; ++k) {
                    // With the negative rate, the entries go in pairs of
                    // one length and project, one at each rate: every
                    // group's amount, and the total's, is 0 and narrower
                    // than the lines'.
                    const int pair = mixed ? k / 2 : k;
                    tReportEntry e = entry(++id, At(2024, 1, 1, 7) + qint64(d) * 86400 + k * 11000 + (d % 60) * 60,
                                           300 + (d * 37 + pair * 1103) % 40000, 2 + (d + pair) % 3);
                    e.IdTauxHoraire = mixed ? (k % 2 ? 6 : 5) : (d + k) % 4 == 0 ? -1 : (d % 2 ? 5 : 6);
                    if (c.rateByProject)
                        e.IdTauxHoraire = e.IdProjet == 2 ? 6 : 5;
                    e.Title = words[(d + k) % 4] + QString::number(d % 97);
                    e.Notes = QString((d * 13 + k) % 60, u'n');
                    model.AddEntryLine(e);
                }
            }
            model.ShowRows();
        };
        const QFontMetrics metrics(grid->font());
        const auto width = [&](int column, const CTreeItem *row) {
            int w = metrics.horizontalAdvance(model.GetCellText(column, row, false, true));
            if (column == 0)
                w += row->Depth() * 16 + (model.GetRowImage(row) >= 0 ? 16 : 0);
            return w;
        };
        fill(400);
        ASSERT_EQ(model.Columns()[0].Kind, c.firstKind == -1 ? 2 : c.firstKind);
        const CReportRowTree &tree = model.Tree();
        ASSERT_GT(tree.RowCount(), 1600);
        const auto widestOfAll = [&](int column) {
            int widest = 0;
            for (int r = 0; r < tree.RowCount(); ++r)
                widest = std::max(widest, width(column, tree.VisibleRow(r)));
            return widest;
        };
        const auto widestOf = [&](int column, const std::vector<const CTreeItem *> &rows) {
            int widest = 0;
            for (const CTreeItem *row : rows)
                widest = std::max(widest, width(column, row));
            return widest;
        };
        const std::vector<std::vector<const CTreeItem *>> found = model.FitRows(0, model.ColumnCount() - 1);
        ASSERT_EQ(found.size(), size_t(model.ColumnCount()));
        for (int col = 0; col < model.ColumnCount(); ++col) {
            SCOPED_TRACE(model.Columns()[size_t(col)].Caption.toStdString());
            EXPECT_EQ(widestOf(col, found[size_t(col)]), widestOfAll(col));
            // Dates in the first column: one row of each weekday and month
            // at each depth of entries and of day groups.
            EXPECT_LT(found[size_t(col)].size(), col == 0 && c.firstKind == 0 ? 600u : 300u);
        }
        if (c.standard < 0 && c.urgent < 0) {
            // The case this is for: the cost column is as wide as the
            // total, which is wider than every line.
            int cost = -1;
            for (int col = 1; col < model.ColumnCount(); ++col)
                if (model.Columns()[size_t(col)].Kind == 7)
                    cost = col;
            ASSERT_GT(cost, 0);
            int widestLine = 0;
            for (int r = 0; r < tree.RowCount(); ++r)
                if (tree.VisibleRow(r) != model.TotalRow())
                    widestLine = std::max(widestLine, width(cost, tree.VisibleRow(r)));
            tReportCellValue total;
            ASSERT_TRUE(model.GetCellValue(cost, model.TotalRow(), total));
            EXPECT_LT(total.Value, 0.0);
            EXPECT_GT(width(cost, model.TotalRow()), widestLine);
            EXPECT_EQ(widestOf(cost, found[size_t(cost)]), width(cost, model.TotalRow()));
        }
        if (c.rateByProject) {
            // The case this is for: a group's total below zero (shown by the
            // group and by its parent projects' groups) is wider than every
            // line, every other group and the report's total, and the rows
            // found hold it.
            int cost = -1;
            for (int col = 1; col < model.ColumnCount(); ++col)
                if (model.Columns()[size_t(col)].Kind == 7)
                    cost = col;
            ASSERT_GT(cost, 0);
            const int widest = widestOfAll(cost);
            std::vector<const CTreeItem *> widestRows;
            for (int r = 0; r < tree.RowCount(); ++r) {
                const CTreeItem *row = tree.VisibleRow(r);
                if (width(cost, row) == widest)
                    widestRows.push_back(row);
            }
            ASSERT_FALSE(widestRows.empty());
            for (const CTreeItem *row : widestRows) {
                ASSERT_NE(row->Item().GroupLineOf(), nullptr)
                    << "a group's total is the widest: " << qPrintable(model.GetCellText(cost, row, false, true));
                tReportCellValue value;
                ASSERT_TRUE(model.GetCellValue(cost, row, value));
                EXPECT_LT(value.Value, 0.0);
            }
            tReportCellValue total;
            ASSERT_TRUE(model.GetCellValue(cost, model.TotalRow(), total));
            EXPECT_LT(width(cost, model.TotalRow()), widest) << "the report's total is narrower";
            const std::vector<const CTreeItem *> &rows = found[size_t(cost)];
            EXPECT_TRUE(std::any_of(widestRows.begin(), widestRows.end(), [&rows](const CTreeItem *row) {
                return std::find(rows.begin(), rows.end(), row) != rows.end();
            })) << "the group's total is measured";
        }

        // Four times the entries: no more rows to measure than the shapes
        // of their texts ask for.
        std::vector<size_t> before;
        for (const auto &rows : found)
            before.push_back(rows.size());
        fill(1600);
        const std::vector<std::vector<const CTreeItem *>> more = model.FitRows(0, model.ColumnCount() - 1);
        for (size_t col = 0; col < more.size(); ++col) {
            EXPECT_LE(more[col].size(), before[col] + 84) << col;
            EXPECT_EQ(widestOf(int(col), more[col]), widestOfAll(int(col))) << col;
        }

        // A row gone (the widest title's): the rows are walked again.
        const int title = [&] {
            for (int col = 0; col < model.ColumnCount(); ++col)
                if (model.Columns()[size_t(col)].Kind == 9)
                    return col;
            return -1;
        }();
        ASSERT_GE(title, 0);
        const CTreeItem *widestTitle = nullptr;
        for (const CTreeItem *row : more[size_t(title)])
            if (row->Item().EntryOf() && (!widestTitle || width(title, row) > width(title, widestTitle)))
                widestTitle = row;
        ASSERT_TRUE(widestTitle);
        model.Tree().DeleteItem(const_cast<CTreeItem *>(widestTitle));
        model.ShowRows();
        const std::vector<std::vector<const CTreeItem *>> walked = model.FitRows(0, model.ColumnCount() - 1);
        for (int col = 0; col < model.ColumnCount(); ++col)
            EXPECT_EQ(widestOf(col, walked[size_t(col)]), widestOfAll(col)) << col;
    }
}

// A right-aligned column: a short text ends at the right edge, a cut one
// starts at the left one.
TEST_F(ReportGridTest, ACutTextIsDrawnFromTheLeft)
{
    const int title = model.ColumnSet().IndexOfKind(9);
    int column = -1;
    for (int c = 0; c < model.ColumnCount(); ++c)
        if (model.Columns()[size_t(c)].SetIndex == title)
            column = c;
    ASSERT_GT(column, 0);
    grid->SetColumnAlignment(column, Qt::AlignRight);
    int row = -1;
    for (int r = 0; r < grid->RowCount() && row < 0; ++r)
        if (grid->Item(r)->Item().EntryOf())
            row = r;
    ASSERT_GE(row, 0);
    const auto inkSpan = [&](int width) {
        grid->Header()->resizeSection(column, width);
        QApplication::processEvents();
        const QImage image = grid->viewport()->grab().toImage();
        const QRect cell = grid->CellRect(column, grid->RowRect(row));
        int left = cell.width(), right = 0;
        for (int y = cell.top() + 2; y < cell.bottom() - 1; ++y) {
            for (int x = cell.left() + 1; x < cell.right() - 1; ++x) {
                if (qGray(image.pixel(x, y)) < 128) {
                    left = std::min(left, x - cell.left());
                    right = std::max(right, x - cell.left());
                }
            }
        }
        return std::make_pair(left, cell.width() - right);
    };
    const QString text = model.GetCellText(column, grid->Item(row), false, true);
    const int textWidth = QFontMetrics(grid->font()).horizontalAdvance(text);
    ASSERT_GT(textWidth, 50 - 12) << "the text must not fit in 50 pixels";
    const auto wide = inkSpan(textWidth + 80);
    EXPECT_LE(wide.second, 10) << "right-aligned when it fits";
    EXPECT_GT(wide.first, 40);
    const auto narrow = inkSpan(50);
    EXPECT_LE(narrow.first, 9) << "left-aligned once cut";
}

// The invoiced flag shows as its picture on the invoiced entry's row and
// nothing on the other, wherever its column stands, the first included.
TEST_F(ReportGridTest, TheInvoicedFlagIsItsPictureInAnyColumn)
{
    invoiced = {2};
    definition.Columns.ShowKind(8);
    for (const bool first : {false, true}) {
        SCOPED_TRACE(first ? "first column" : "a later column");
        if (first) {
            ASSERT_TRUE(definition.Columns.Move(0, definition.Columns.IndexOfKind(8), true));
        }
        build();
        grid->SetModel(&model);
        grid->RelabelColumns();
        QApplication::processEvents();
        int column = -1;
        for (int c = 0; c < model.ColumnCount(); ++c)
            if (model.Columns()[size_t(c)].Kind == CReportGrid::InvoicedColumnKind)
                column = c;
        ASSERT_EQ(column == 0, first);
        grid->Header()->resizeSection(column, 200);
        QApplication::processEvents();
        const QImage image = grid->viewport()->grab().toImage();
        const QRgb picture = solid(CReportGrid::InvoicedImage).pixel(0, 0);
        const int yes = rowOfEntry(2);
        const int no = rowOfEntry(1);
        ASSERT_GE(yes, 0);
        ASSERT_GE(no, 0);
        const auto picturePixels = [&](int row) {
            const QRect cell = grid->CellRect(column, grid->RowRect(row)).intersected(image.rect());
            int count = 0;
            for (int y = cell.top(); y <= cell.bottom(); ++y)
                for (int x = cell.left(); x <= cell.right(); ++x)
                    count += image.pixel(x, y) == picture;
            return count;
        };
        EXPECT_GE(picturePixels(yes), 100) << "the invoiced entry";
        EXPECT_EQ(picturePixels(no), 0) << "an entry not invoiced";
        // Paper and the exports write the flag in words instead.
        EXPECT_EQ(model.GetWrittenText(column, grid->Item(yes), true, false), QStringLiteral("Oui"));
        EXPECT_EQ(model.GetWrittenText(column, grid->Item(no), true, false), QStringLiteral("Non"));
        EXPECT_EQ(model.GetCellText(column, grid->Item(yes), true, false), QString()) << "the screen draws it";
    }
}
