#include "CTreeWidgetFiller.h"

#include <QTreeWidget>
#include <QTreeWidgetItem>

CTreeWidgetFiller::CTreeWidgetFiller(QTreeWidget *tree, bool checkBoxes, ImageProvider images)
    : m_tree(tree), m_checkBoxes(checkBoxes), m_images(std::move(images))
{
}

CTreeWidgetFiller::~CTreeWidgetFiller()
{
    HandOver();
}

void CTreeWidgetFiller::BeginFill()
{
    ++m_fillDepth;
}

void CTreeWidgetFiller::EndFill()
{
    if (m_fillDepth > 0 && --m_fillDepth == 0)
        HandOver();
}

void CTreeWidgetFiller::HandOver()
{
    if (!m_heldTopItems.isEmpty()) {
        m_tree->addTopLevelItems(m_heldTopItems);
        m_heldTopItems.clear();
    }
    for (auto it = m_heldExpansion.cbegin(); it != m_heldExpansion.cend(); ++it) {
        if (it.value())
            it.key()->setExpanded(true);
    }
    m_heldExpansion.clear();
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
    if (!parent && m_fillDepth > 0)
        m_heldTopItems.append(item);
    else
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
    if (!item)
        return;
    QTreeWidgetItem *it = toItem(item);
    if (!it->treeWidget())
        m_heldExpansion.insert(it, expand); // applied when it is in the widget
    else if (it->isExpanded() != expand)
        it->setExpanded(expand);
}

void CTreeWidgetFiller::SelectItem(Item item)
{
    HandOver();
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
    QTreeWidgetItem *it = toItem(item);
    m_heldTopItems.removeOne(it);
    // Held states of the item and of everything below it go with it.
    for (auto held = m_heldExpansion.begin(); held != m_heldExpansion.end();) {
        bool below = false;
        for (QTreeWidgetItem *p = held.key(); p && !below; p = p->parent())
            below = p == it;
        held = below ? m_heldExpansion.erase(held) : std::next(held);
    }
    delete it;
}

CTreeFiller::Item CTreeWidgetFiller::GetChildItem(Item parent) const
{
    if (!parent && !m_heldTopItems.isEmpty() && m_tree->topLevelItemCount() == 0)
        return m_heldTopItems.first();
    QTreeWidgetItem *p = parentItem(parent);
    return p->childCount() > 0 ? p->child(0) : nullptr;
}

CTreeFiller::Item CTreeWidgetFiller::GetNextSiblingItem(Item item) const
{
    if (!item)
        return nullptr;
    QTreeWidgetItem *it = toItem(item);
    if (!it->parent() && !it->treeWidget()) {
        // A top-level item held back: its siblings are the others held.
        const qsizetype i = m_heldTopItems.indexOf(it);
        return i >= 0 && i + 1 < m_heldTopItems.size() ? m_heldTopItems[i + 1] : nullptr;
    }
    QTreeWidgetItem *p = it->parent() ? it->parent() : m_tree->invisibleRootItem();
    const int i = p->indexOfChild(it);
    if (i >= 0 && i + 1 < p->childCount())
        return p->child(i + 1);
    // After the last top-level item of the widget come those held back.
    return !it->parent() && !m_heldTopItems.isEmpty() ? m_heldTopItems.first() : nullptr;
}
