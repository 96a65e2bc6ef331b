#pragma once
#include "CReportPrintLayout.h"
#include "CTreeGridCtrl.h"

#include <QSet>

class CReportModel;
class CTreeItem;
class ImageList;
struct tReportDefinition;
struct tReportEntry;

// The data face of a report: a tree grid over a report model (group rows
// with their totals, the entries below them, or the project tree), with
// grid lines and the application's 16-pixel images as the indentation.
//
// The header's columns are the model's list columns. Dragging a column to
// another place moves it in the report's column set and marks the
// definition changed (never in a cross table, whose columns are the
// values of a grouping); a width below 50 pixels becomes 50, and a width
// is kept in the column set once the divider is let go; a double click on
// a divider fits that column to its texts.
//
// The grid shows a model it does not own: while a build fills the model
// on another thread, the grid is given none (SetModel(nullptr)) and reads
// nothing of it.
class CReportGrid : public CTreeGridCtrl
{
    Q_OBJECT
public:
    static constexpr int MinimumColumnWidth = 50;
    // Fitting never makes a column wider than this much text, plus 20 for
    // the first column and 10 for the others.
    static constexpr int FitCap = 300;
    // The image of an invoiced entry in the column of the invoiced flag.
    static constexpr int InvoicedImage = 7;
    static constexpr int InvoicedColumnKind = 8;

    explicit CReportGrid(QWidget *parent = nullptr);
    ~CReportGrid() override;

    // The model shown; null shows no rows.
    void SetModel(CReportModel *model);
    CReportModel *Model() const { return m_model; }
    // The definition that moves and widths change (the report window's);
    // the model's copy follows it. Not owned.
    void SetDefinition(tReportDefinition *definition) { m_definition = definition; }
    void SetSmallImageList(const ImageList *images);
    const ImageList *SmallImageList() const { return m_images; }
    // Check boxes before each row's label, in the grid and the model.
    void ShowCheckBoxes(bool show);

    // The header's columns from the model's: captions, alignments, stored
    // widths (100 when none); columns move except in a cross table.
    void BuildColumns();
    // The model reads its captions, alignments and widths again, the
    // header follows, and the columns without a stored width are fitted.
    void RelabelColumns();
    // Fits one column (every column with -1). With `reset` the column's
    // stored width is dropped first; a column with a stored width keeps it.
    void AutoFitColumns(int column, bool reset);
    // The width fitting gives a column: its caption or widest text (the
    // first column's with its indentation, image and check box), at most
    // FitCap, plus 20 in the first column and 10 in the others. The texts
    // measured are those that can be the widest (CReportModel::FitRows)
    // and those on screen, so that the cost does not grow with the entries.
    int FitWidth(int column) const;

    // The row's node; null outside the rows or without a model.
    CTreeItem *Item(int row) const;
    // The entry of the selected row; null when it is no entry row.
    const tReportEntry *GetSelectedEntry() const;

    // With a wait cursor, the rows changed at once and repainted once.
    void ExpandAll();
    void CollapseAll();
    void ShowGroupsOnly();

    // --- Print layout: the report's pages from its template ---------------
    using tLine = CReportPrintLayout::tLine;
    // The template the pages are drawn from (not owned).
    void SetPrintTemplate(CReportTemplate *reportTemplate) { m_printLayout.SetTemplate(reportTemplate); }
    // The model's rows as print lines, the columns shared as on screen.
    void BuildPrintLines();
    void SetUpPrintContext(int context, QPaintDevice *device, const QRect &paper)
    {
        m_printLayout.SetUpPrintContext(context, device, paper);
    }
    void Paginate(QPaintDevice *device) { m_printLayout.Paginate(device); }
    void DrawPage(int context, QPainter &painter, int page) { m_printLayout.DrawPage(context, painter, page); }
    const CReportPrintLayout &PrintLayout() const { return m_printLayout; }

signals:
    // A column was moved: the definition changed.
    void definitionModified();

protected:
    void DrawRow(QPainter &painter, int row, const QRect &rowRect, const QRect &clip) override;
    bool ToggleExpanded(int row) override;
    bool RowHasImage(int row) const override;
    void ToggleRowCheck(int row) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void OnSectionMoved(int logical, int oldVisual, int newVisual);
    void OnSectionResized(int logical, int newSize);
    // The stored width of a list column (-1: none), and setting it in the
    // definition and the model's copy; nothing in a cross table.
    int StoredWidth(int column) const;
    void StoreWidth(int column, int width);
    bool IsCrossTable() const;
    void ToggleOnDoubleClick(int row);
    int FitWidth(int column, const std::vector<const CTreeItem *> &candidates) const;

    CReportModel *m_model = nullptr;
    tReportDefinition *m_definition = nullptr;
    const ImageList *m_images = nullptr;
    bool m_rebuilding = false;
    bool m_headerPressed = false;
    QSet<int> m_resized;
    CReportPrintLayout m_printLayout;
};
