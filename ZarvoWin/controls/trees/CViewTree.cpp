#include "CViewTree.h"
#include "CutTextTips.h"

#include "CTreeWidgetFiller.h"
#include "ImageList.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace {

// Draws each item's picture from the tree's image list.
class ImageListDelegate : public QStyledItemDelegate
{
public:
    explicit ImageListDelegate(CViewTree *tree)
        : QStyledItemDelegate(tree)
        , m_tree(tree)
    {
    }

    // The option an item is drawn with (text, picture and their sizes).
    void Prepare(QStyleOptionViewItem *option, const QModelIndex &index) const { initStyleOption(option, index); }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const ImageList *list = m_tree->GetImageList();
        if (!list)
            return;
        const QVariant image = index.data(CTreeWidgetFiller::ImageRole);
        const int cell = list->CellSize();
        option->decorationSize = QSize(cell, cell);
        if (image.isValid() && list->HasImage(image.toInt())) {
            option->icon = list->Icon(image.toInt());
            option->features |= QStyleOptionViewItem::HasDecoration;
        }
    }

private:
    CViewTree *m_tree;
};

} // namespace

CViewTree::CViewTree(QWidget *parent)
    : QTreeWidget(parent)
{
    setObjectName(QString::number(ControlId));
    setColumnCount(1);
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setExpandsOnDoubleClick(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setUniformRowHeights(true);
    m_delegate = new ImageListDelegate(this);
    setItemDelegate(m_delegate);
    // The one column fills the pane: a long name is cut with "..." and
    // told whole as the item's tooltip, rather than widening the tree.
    header()->setSectionResizeMode(QHeaderView::Stretch);
    header()->setStretchLastSection(true);
    setTextElideMode(Qt::ElideRight);
    CutTextTips::Apply(this);
}

void CViewTree::SetImageList(const ImageList *list)
{
    m_images = list;
    const int cell = list ? list->CellSize() : 16;
    setIconSize(QSize(cell, cell));
    // Rows take the height of the new pictures.
    scheduleDelayedItemsLayout();
    viewport()->update();
}

int CViewTree::ItemImage(const QTreeWidgetItem *item)
{
    if (!item)
        return -1;
    const QVariant image = item->data(0, CTreeWidgetFiller::ImageRole);
    return image.isValid() ? image.toInt() : -1;
}

qint64 CViewTree::ItemData(const QTreeWidgetItem *item)
{
    return item ? item->data(0, CTreeWidgetFiller::DataRole).toLongLong() : 0;
}

void CViewTree::SetItemImage(QTreeWidgetItem *item, int image)
{
    if (!item)
        return;
    item->setData(0, CTreeWidgetFiller::ImageRole, image);
    item->setData(0, CTreeWidgetFiller::SelectedImageRole, image);
}

QRect CViewTree::ItemLabelRect(const QTreeWidgetItem *item) const
{
    const QModelIndex index = indexFromItem(item);
    const QRect row = visualRect(index);
    if (!index.isValid() || row.isEmpty())
        return QRect();
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = row;
    option.index = index;
    static_cast<const ImageListDelegate *>(m_delegate)->Prepare(&option, index);
    QStyle *s = style();
    const QRect text = s->subElementRect(QStyle::SE_ItemViewItemText, &option, this);
    const QRect icon = s->subElementRect(QStyle::SE_ItemViewItemDecoration, &option, this);
    QRect label = text;
    if (option.features & QStyleOptionViewItem::HasDecoration)
        label = label.united(icon);
    // The text's box reaches the end of the column: the label ends where
    // the text does.
    const int margin = s->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const int textWidth = option.fontMetrics.horizontalAdvance(option.text) + 2 * margin;
    label.setRight(qMin(label.right(), text.left() + textWidth - 1));
    return label;
}

QTreeWidgetItem *CViewTree::FirstVisibleItem() const
{
    return itemFromIndex(indexAt(QPoint(0, 0)));
}

int CViewTree::VisibleIndex(const QTreeWidgetItem *item) const
{
    if (!item)
        return -1;
    int index = 0;
    for (QTreeWidgetItem *it = FirstVisibleItem(); it; it = itemBelow(it), ++index) {
        if (it == item)
            return index;
    }
    return -1;
}

void CViewTree::ScrollToTop(QTreeWidgetItem *item)
{
    // Scrolling to an item would open the branches above it: an item inside
    // a collapsed branch gives its place to the branch's shown item.
    QTreeWidgetItem *shown = item;
    for (QTreeWidgetItem *p = item ? item->parent() : nullptr; p; p = p->parent()) {
        if (!p->isExpanded())
            shown = p;
    }
    if (shown)
        scrollToItem(shown, QAbstractItemView::PositionAtTop);
}

void CViewTree::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTreeWidgetItem *item = itemAt(event->position().toPoint());
    if (item && event->button() == Qt::LeftButton) {
        setCurrentItem(item);
        emit doubleClicked(item);
        event->accept();
        return;
    }
    QTreeWidget::mouseDoubleClickEvent(event);
}

void CViewTree::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        emit deletePressed();
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void CViewTree::startDrag(Qt::DropActions)
{
    if (QTreeWidgetItem *item = currentItem())
        emit dragRequested(item, QApplication::keyboardModifiers());
}
