#pragma once
#include "TreeLines.h"

#include <QAbstractScrollArea>

class CBigHeaderCtrl;
class CTreeGridRows;
class QStandardItemModel;

// A list whose rows form a tree, drawn by the control itself under a
// header of columns: frameless, one row per line, rows of the font's
// height + its leading + 4 pixels, a single selected row drawn in the
// highlight colours whether or not the control has the focus. The rows
// come from a row source (CTreeGridRows), which holds no widget; only the
// rows that meet the painted area are drawn, each by DrawRow, which the
// derived grid gives.
//
// The vertical scroll bar counts rows (its value is the first visible
// row); the horizontal one counts pixels and moves the header with the
// rows. A first row asked for while the control is hidden or has no height
// is kept and applied once it shows with a height.
//
// A press takes the focus and goes to RowPressed, which handles the check
// box (with check boxes on, through ToggleRowCheck) and the +/- box
// (expanding or collapsing through ToggleExpanded); a press that is not
// handled selects the row under it, or clears the selection below the last
// row. Up, Down, Page Up, Page Down, Home and End move the selection;
// Space ticks the selected row with check boxes on, else goes to
// SpacePressed; Delete tells deletePressed; Left and Right scroll
// sideways; the wheel takes the focus and scrolls.
class CTreeGridCtrl : public QAbstractScrollArea
{
    Q_OBJECT
public:
    explicit CTreeGridCtrl(QWidget *parent = nullptr);
    ~CTreeGridCtrl() override;

    // Not owned; null shows no rows.
    void SetRows(CTreeGridRows *rows);
    CTreeGridRows *Rows() const { return m_rows; }
    int RowCount() const;
    // After the row source changed its rows: the scroll range follows, the
    // selection stays on its index when it still exists, the rows repaint.
    void RowsChanged();

    // --- Columns -------------------------------------------------------
    CBigHeaderCtrl *Header() const { return m_header; }
    void SetColumnCount(int count);
    int ColumnCount() const;
    void SetColumnCaption(int column, const QString &caption);
    QString ColumnCaption(int column) const;
    // Left, right or centre.
    void SetColumnAlignment(int column, Qt::Alignment alignment);
    Qt::Alignment ColumnAlignment(int column) const;
    // The column's cells in the row, in viewport coordinates.
    QRect CellRect(int column, const QRect &rowRect) const;
    // The column shown first (its left edge is the rows' left edge).
    int FirstShownColumn() const;
    // Light grey lines between rows and between columns.
    void SetGridLines(bool gridLines);
    bool HasGridLines() const { return m_gridLines; }

    // --- Rows and scrolling ----------------------------------------------
    int RowHeight() const;
    int HeaderHeight() const;
    int FirstVisibleRow() const;
    // Scrolls so that `row` is the first visible row (as far as the rows
    // below allow); kept for later while the control has no height.
    void SetFirstVisibleRow(int row);
    // The rows that fit whole in the viewport (at least 1).
    int RowsPerPage() const;
    // The row's rectangle in viewport coordinates (it may lie outside).
    QRect RowRect(int row) const;
    // The row under a viewport y; -1 for none.
    int RowAt(int y) const;
    void EnsureVisible(int row);

    // --- Selection -------------------------------------------------------
    // -1 for none.
    int SelectedRow() const { return m_selected; }
    // Selects a row (-1 clears), repaints what changed and tells
    // currentRowChanged when the row changed.
    void SetSelectedRow(int row);

    // The indentation of one level and the height of the row images
    // (those of the small image list).
    void SetIndent(int indent, int imageHeight);
    int Indent() const { return m_indent; }
    int ImageHeight() const { return m_imageHeight; }

    // A check box per row, after the row's image in the first column; off
    // at creation.
    void SetCheckBoxes(bool checkBoxes);
    bool HasCheckBoxes() const { return m_checkBoxes; }
    // Where a press ticks the row: the indent-wide band after the row's
    // image (left + depth * indent, one indent more with an image, + 2),
    // both edges excluded. Null without check boxes.
    QRect CheckZone(int row, const QRect &rowRect) const;

    // The tree lines and the +/- box of a row.
    tTreeRowLines RowLines(int row, const QRect &rowRect) const;
    // Draws them: grey lines, the white box with its grey border and the
    // black sign.
    static void DrawTreeLines(QPainter &painter, const tTreeRowLines &lines);
    // A cell's text, the way every further column of a tree grid shows it:
    // shortened with "..." to the cell width minus 12, drawn 6 pixels in
    // from each side on one vertically centred line, in the column's
    // alignment when it fits whole, else left-aligned.
    static void DrawCellText(QPainter &painter, const QRect &cell, const QString &text,
                             Qt::Alignment alignment);

signals:
    // The first visible row may have changed (scroll, wheel, size).
    void firstRowChanged();
    void currentRowChanged(int row);
    void rowDoubleClicked(int row);
    void deletePressed();

protected:
    // Draws row `row` in `rowRect` (viewport coordinates); `clip` is the
    // area being painted.
    virtual void DrawRow(QPainter &painter, int row, const QRect &rowRect, const QRect &clip) = 0;
    // A press or double click on `row` (-1 below the rows) at a viewport
    // point; true when handled there (no selection follows). The base
    // toggles the row's expansion on its +/- box.
    virtual bool RowPressed(int row, const QPoint &pos, Qt::KeyboardModifiers modifiers);
    // Expands a collapsed row or collapses an expanded one; true when
    // something changed. The base does nothing.
    virtual bool ToggleExpanded(int row);
    // Space on the selected row without check boxes. The base does nothing.
    virtual void SpacePressed(int row);
    // Whether the row shows an image before its label (the check zone lies
    // after it). The base has none.
    virtual bool RowHasImage(int row) const;
    // Ticks or unticks the row (a press in its check zone, Space). The base
    // does nothing.
    virtual void ToggleRowCheck(int row);
    // Drawn below the last row and right of the columns.
    virtual QColor BackgroundColor() const;

    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void changeEvent(QEvent *event) override;

    void UpdateScrollBars();
    void UpdateHeaderGeometry();

private:
    void ApplyPendingFirstRow();

    CTreeGridRows *m_rows = nullptr;
    CBigHeaderCtrl *m_header = nullptr;
    QStandardItemModel *m_headerModel = nullptr;
    int m_selected = -1;
    int m_pendingFirstRow = -1;
    int m_indent = 16;
    int m_imageHeight = 16;
    bool m_gridLines = false;
    bool m_checkBoxes = false;
};
