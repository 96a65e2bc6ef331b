#include "CTreeWidgetFiller.h"

#include <QTreeWidget>
#include <QTreeWidgetItem>

CTreeWidgetFiller::CTreeWidgetFiller(QTreeWidget *tree, bool checkBoxes, ImageProvider images)
    : m_tree(tree), m_checkBoxes(checkBoxes), m_images(std::move(images))
{
}

QTreeWidgetItem *CTreeWidgetFiller::parentItem(Item item) const
{
    return item ? toItem(item) : m_tree->invisibleRootItem();
}

CTreeFiller::Item CTreeWidgetFiller::InsertItem(Item parent, const QString &text, int image,
                                                int selectedImage, qintptr data)
{
    auto *item = new QTreeWidgetItem;
    item->setText(0, text);
    item->setData(0, DataRole, QVariant::fromValue<qlonglong>(data));
    item->setData(0, ImageRole, image);
    item->setData(0, SelectedImageRole, selectedImage);
    if (m_images && image >= 0)
        item->setIcon(0, m_images(image));
    if (m_checkBoxes)
        item->setCheckState(0, Qt::Unchecked);
    parentItem(parent)->addChild(item);
    return item;
}

// A state that does not change is not set again: each change is a
// notice to the view, which a tree of many items feels.
void CTreeWidgetFiller::SetCheck(Item item, bool checked)
{
    const Qt::CheckState state = checked ? Qt::Checked : Qt::Unchecked;
    if (item && m_checkBoxes && toItem(item)->checkState(0) != state)
        toItem(item)->setCheckState(0, state);
}

void CTreeWidgetFiller::Expand(Item item, bool expand)
{
    if (item && toItem(item)->isExpanded() != expand)
        toItem(item)->setExpanded(expand);
}

void CTreeWidgetFiller::SelectItem(Item item)
{
    m_tree->setCurrentItem(item ? toItem(item) : nullptr);
}

void CTreeWidgetFiller::SetItemText(Item item, const QString &text)
{
    if (item)
        toItem(item)->setText(0, text);
}

void CTreeWidgetFiller::SetItemData(Item item, qintptr data)
{
    if (item)
        toItem(item)->setData(0, DataRole, QVariant::fromValue<qlonglong>(data));
}

void CTreeWidgetFiller::DeleteItem(Item item)
{
    delete toItem(item);
}

CTreeFiller::Item CTreeWidgetFiller::GetChildItem(Item parent) const
{
    QTreeWidgetItem *p = parentItem(parent);
    return p->childCount() > 0 ? p->child(0) : nullptr;
}

CTreeFiller::Item CTreeWidgetFiller::GetNextSiblingItem(Item item) const
{
    if (!item)
        return nullptr;
    QTreeWidgetItem *it = toItem(item);
    QTreeWidgetItem *p = it->parent() ? it->parent() : m_tree->invisibleRootItem();
    const int i = p->indexOfChild(it);
    return i >= 0 && i + 1 < p->childCount() ? p->child(i + 1) : nullptr;
}
