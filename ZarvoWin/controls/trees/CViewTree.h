#pragma once
#include <QTreeWidget>

class ImageList;
class QTreeWidgetItem;

// The tree of the docking panes: one column without header, as wide as the
// pane (a long name is cut with "..." and told whole as its tooltip), each
// item's picture drawn from the tree's image list by the index the item
// keeps under CTreeWidgetFiller::ImageRole, so that switching to a list of
// another size is one call. A double click is the pane's command rather
// than an expand or collapse; the Delete key, a drag from an item and a
// double click are handed to the pane as signals.
class CViewTree : public QTreeWidget
{
    Q_OBJECT
public:
    static constexpr int ControlId = 2;

    explicit CViewTree(QWidget *parent = nullptr);

    // The list the pictures come from (not owned; null: none). The row
    // height follows the list's cell size.
    void SetImageList(const ImageList *list);
    const ImageList *GetImageList() const { return m_images; }

    // What an item keeps: its image index (-1 none) and its data.
    static int ItemImage(const QTreeWidgetItem *item);
    static qint64 ItemData(const QTreeWidgetItem *item);
    static void SetItemImage(QTreeWidgetItem *item, int image);

    // The rectangle of an item's picture and text, in viewport
    // coordinates (empty for a hidden item): what a drop "on the item"
    // means; a point to its right is beyond the label.
    QRect ItemLabelRect(const QTreeWidgetItem *item) const;

    // The items shown from the top of the viewport down, in order, as far
    // as expanded branches go (the first visible item first).
    QTreeWidgetItem *FirstVisibleItem() const;
    // The position of `item` among the shown items counted from the first
    // visible one; -1 when it is above it or hidden in a collapsed branch.
    int VisibleIndex(const QTreeWidgetItem *item) const;
    // Scrolls so that `item` is the first visible item (as far as the
    // scroll range allows).
    void ScrollToTop(QTreeWidgetItem *item);

signals:
    void doubleClicked(QTreeWidgetItem *item);
    void deletePressed();
    // A drag begins on `item` with the keys held when it began.
    void dragRequested(QTreeWidgetItem *item, Qt::KeyboardModifiers keys);

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void startDrag(Qt::DropActions supportedActions) override;

private:
    const ImageList *m_images = nullptr;
    class QStyledItemDelegate *m_delegate = nullptr;
};
