#include "CmyTreeCtrl.h"

#include <QKeyEvent>
#include <QMouseEvent>

CmyTreeCtrl::CmyTreeCtrl(QWidget *parent)
    : QTreeWidget(parent)
{
}

void CmyTreeCtrl::SetCheckRecursive(QTreeWidgetItem *item, Qt::CheckState state)
{
    if (!item)
        return;
    if (item != invisibleRootItem())
        item->setCheckState(0, state);
    for (int i = 0; i < item->childCount(); ++i)
        SetCheckRecursive(item->child(i), state);
}

void CmyTreeCtrl::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    m_pressed = index.sibling(index.row(), 0);
    if (QTreeWidgetItem *item = itemFromIndex(m_pressed))
        m_pressedState = item->checkState(0);
    QTreeWidget::mousePressEvent(event);
}

void CmyTreeCtrl::mouseReleaseEvent(QMouseEvent *event)
{
    // Qt toggles a box when the button is released over it.
    QTreeWidget::mouseReleaseEvent(event);
    QTreeWidgetItem *item = m_pressed.isValid() ? itemFromIndex(m_pressed) : nullptr;
    m_pressed = QPersistentModelIndex();
    if (item && item->checkState(0) != m_pressedState) {
        SetCheckRecursive(item, item->checkState(0));
        emit checkChanged();
    }
    if (event->button() == Qt::LeftButton) {
        setCurrentItem(nullptr);
        clearSelection();
    }
}

void CmyTreeCtrl::keyPressEvent(QKeyEvent *event)
{
    QTreeWidget::keyPressEvent(event);
    if (event->key() == Qt::Key_Space)
        emit checkChanged();
}
