#pragma once
#include "ListCtrlColRules.h"

#include <QTreeWidget>

#include <functional>

class ImageList;

// A list of rows with columns (the report-column dialog orders the columns
// of a report in it) whose rows it draws itself once it has an image list:
// 18-pixel rows, check boxes from images 0 (unchecked) and 1 (checked),
// texts cut with "..." (ListCtrlColRules::CutText), and one optional
// alignment column whose cells show three images, left, centre and right
// (image 3 for the chosen one, as its text "L", "C" or "R" says, image 2
// for the others). A click on one of them tells `alignmentClicked`; the
// owner sets the cell's text. Without an image list, Qt draws the rows.
//
// Rows are the top-level items; the check state and the alignment text
// live in the items, so a move or a swap carries them with the texts and
// the item data. No column gets narrower than 80 pixels.
class CListCtrlCol : public QTreeWidget
{
    Q_OBJECT
public:
    // Number of the notification, kept for owners that dispatch on it.
    static constexpr int UWM_COLUMN_ALIGN = 0x8069;

    explicit CListCtrlCol(QWidget *parent = nullptr);

    // Not owned; null gives Qt's own drawing.
    void SetImageList(const ImageList *images);
    const ImageList *Images() const { return m_images; }
    // Check boxes left of column 0's text.
    void SetCheckBoxes(bool checkBoxes);
    bool HasCheckBoxes() const { return m_checkBoxes; }
    // The column that shows the alignment images; -1 for none.
    void SetAlignmentColumn(int column);
    int AlignmentColumn() const { return m_alignmentColumn; }
    // Selected rows in the menu bar's colour rather than the highlight.
    void SetMenuBarSelection(bool menuBar);
    bool HasMenuBarSelection() const { return m_menuBarSelection; }
    // The edit in which column 0's text is renamed in place (the other
    // columns are never edited); Qt's own edit when unset.
    using LabelEditor = std::function<QWidget *(QWidget *parent)>;
    void SetLabelEditor(LabelEditor editor) { m_labelEditor = std::move(editor); }
    const LabelEditor &LabelEditFactory() const { return m_labelEditor; }
    // The row shown as the target of a drag (-1 for none).
    void SetDropTargetRow(int row);
    int DropTargetRow() const { return m_dropTargetRow; }

    bool IsChecked(int row) const;
    void SetChecked(int row, bool checked);

    // Moves row `source` just before or after row `target` (see
    // ListCtrlColRules::MoveDestination); false when refused.
    bool MoveItem(int target, bool before, int source);
    // Exchanges two rows; false for equal or out-of-range rows.
    bool SwapItems(int a, int b);

signals:
    // An alignment image was clicked: the row and the alignment chosen
    // (ListCtrlColRules::Alignment).
    void alignmentClicked(int row, int alignment);

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    void OnSectionResized(int column, int oldSize, int newSize);

    const ImageList *m_images = nullptr;
    bool m_checkBoxes = false;
    int m_alignmentColumn = -1;
    bool m_menuBarSelection = false;
    int m_dropTargetRow = -1;
    LabelEditor m_labelEditor;
};
