#include "CListCtrlCol.h"

#include "ListCtrlColDelegate.h"

#include <QHeaderView>
#include <QMouseEvent>

CListCtrlCol::CListCtrlCol(QWidget *parent)
    : QTreeWidget(parent)
{
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setItemsExpandable(false);
    setAllColumnsShowFocus(true);
    setItemDelegate(new ListCtrlColDelegate(this));
    header()->setMinimumSectionSize(ListCtrlColRules::MinimumColumnWidth);
    header()->setStretchLastSection(false);
    connect(header(), &QHeaderView::sectionResized, this, &CListCtrlCol::OnSectionResized);
}

void CListCtrlCol::SetImageList(const ImageList *images)
{
    m_images = images;
    viewport()->update();
}

void CListCtrlCol::SetCheckBoxes(bool checkBoxes)
{
    m_checkBoxes = checkBoxes;
    viewport()->update();
}

void CListCtrlCol::SetAlignmentColumn(int column)
{
    m_alignmentColumn = column;
    viewport()->update();
}

void CListCtrlCol::SetMenuBarSelection(bool menuBar)
{
    m_menuBarSelection = menuBar;
    viewport()->update();
}

void CListCtrlCol::SetDropTargetRow(int row)
{
    m_dropTargetRow = row;
    viewport()->update();
}

bool CListCtrlCol::IsChecked(int row) const
{
    const QTreeWidgetItem *item = topLevelItem(row);
    return item && item->checkState(0) == Qt::Checked;
}

void CListCtrlCol::SetChecked(int row, bool checked)
{
    if (QTreeWidgetItem *item = topLevelItem(row))
        item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
}

void CListCtrlCol::OnSectionResized(int column, int, int newSize)
{
    // Widths set from code too; a hidden column keeps its 0.
    if (newSize >= 0 && newSize < ListCtrlColRules::MinimumColumnWidth && !header()->isSectionHidden(column))
        header()->resizeSection(column, ListCtrlColRules::MinimumColumnWidth);
}

bool CListCtrlCol::MoveItem(int target, bool before, int source)
{
    const int to = ListCtrlColRules::MoveDestination(topLevelItemCount(), target, before, source);
    if (to < 0)
        return false;
    const bool wasCurrent = currentItem() == topLevelItem(source);
    setUpdatesEnabled(false);
    // The item itself moves: texts, data and check state go with it.
    QTreeWidgetItem *item = takeTopLevelItem(source);
    insertTopLevelItem(to, item);
    if (wasCurrent)
        setCurrentItem(item);
    setUpdatesEnabled(true);
    viewport()->update();
    return true;
}

bool CListCtrlCol::SwapItems(int a, int b)
{
    if (!ListCtrlColRules::CanSwap(topLevelItemCount(), a, b))
        return false;
    const int first = std::min(a, b);
    const int second = std::max(a, b);
    setUpdatesEnabled(false);
    QTreeWidgetItem *later = takeTopLevelItem(second);
    QTreeWidgetItem *earlier = takeTopLevelItem(first);
    insertTopLevelItem(first, later);
    insertTopLevelItem(second, earlier);
    setUpdatesEnabled(true);
    viewport()->update();
    return true;
}

void CListCtrlCol::mousePressEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    const QModelIndex index = indexAt(at);
    if (m_images && event->button() == Qt::LeftButton && index.isValid() && !index.parent().isValid()) {
        const QRect cell = visualRect(index);
        if (m_checkBoxes && index.column() == 0 && at.x() < cell.left() + ListCtrlColRules::CheckAreaWidth) {
            SetChecked(index.row(), !IsChecked(index.row()));
            event->accept();
            return;
        }
        if (index.column() == m_alignmentColumn) {
            const ListCtrlColRules::Alignment alignment =
                ListCtrlColRules::AlignmentAt(at.x(), cell.left(), cell.left() + cell.width());
            if (alignment != ListCtrlColRules::NoAlignment) {
                emit alignmentClicked(index.row(), alignment);
                event->accept();
                return;
            }
        }
    }
    QTreeWidget::mousePressEvent(event);
}
