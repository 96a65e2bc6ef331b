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
    for (auto &[parent, children] : m_heldChildren)
        parent->addChildren(children);
    m_heldChildren.clear();
    m_heldParent.clear();
    for (auto it = m_heldExpansion.cbegin(); it != m_heldExpansion.cend(); ++it) {
        if (it.value())
            it.key()->setExpanded(true);
    }
    m_heldExpansion.clear();
}

const QList<QTreeWidgetItem *> *CTreeWidgetFiller::HeldUnder(QTreeWidgetItem *parent) const
{
    if (!parent)
        return &m_heldTopItems;
    for (const auto &[p, children] : m_heldChildren) {
        if (p == parent)
            return &children;
    }
    return nullptr;
}

QList<QTreeWidgetItem *> *CTreeWidgetFiller::HeldUnder(QTreeWidgetItem *parent)
{
    return const_cast<QList<QTreeWidgetItem *> *>(std::as_const(*this).HeldUnder(parent));
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
    QTreeWidgetItem *p = toItem(parent);
    if (m_fillDepth > 0 && (!p || p->treeWidget())) {
        // Held back: the parent is the top or already shown.
        QList<QTreeWidgetItem *> *held = HeldUnder(p);
        if (!held) {
            m_heldChildren.append(qMakePair(p, QList<QTreeWidgetItem *>()));
            held = &m_heldChildren.last().second;
        }
        held->append(item);
        m_heldParent.insert(item, p);
    } else {
        parentItem(parent)->addChild(item);
    }
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

void CTreeWidgetFiller::SetItemImage(Item item, int image, int selectedImage)
{
    if (!item)
        return;
    QTreeWidgetItem *it = toItem(item);
    it->setData(0, ImageRole, image);
    it->setData(0, SelectedImageRole, selectedImage);
    if (m_images)
        it->setIcon(0, image >= 0 ? m_images(image) : QIcon());
}

void CTreeWidgetFiller::DeleteItem(Item item)
{
    QTreeWidgetItem *it = toItem(item);
    auto isBelow = [it](QTreeWidgetItem *candidate) {
        for (QTreeWidgetItem *p = candidate; p; p = p->parent()) {
            if (p == it)
                return true;
        }
        return false;
    };
    // Held items go with the item they were to join.
    if (IsHeld(it)) {
        if (QList<QTreeWidgetItem *> *held = HeldUnder(m_heldParent.value(it)))
            held->removeOne(it);
        m_heldParent.remove(it);
    }
    for (qsizetype i = m_heldChildren.size() - 1; i >= 0; --i) {
        if (!isBelow(m_heldChildren[i].first))
            continue;
        for (QTreeWidgetItem *child : std::as_const(m_heldChildren[i].second)) {
            m_heldParent.remove(child);
            for (auto held = m_heldExpansion.begin(); held != m_heldExpansion.end();) {
                bool under = false;
                for (QTreeWidgetItem *p = held.key(); p && !under; p = p->parent())
                    under = p == child;
                held = under ? m_heldExpansion.erase(held) : std::next(held);
            }
            delete child;
        }
        m_heldChildren.removeAt(i);
    }
    // Held states of the item and of everything below it go with it.
    for (auto held = m_heldExpansion.begin(); held != m_heldExpansion.end();)
        held = isBelow(held.key()) ? m_heldExpansion.erase(held) : std::next(held);
    delete it;
}

CTreeFiller::Item CTreeWidgetFiller::GetChildItem(Item parent) const
{
    QTreeWidgetItem *p = parentItem(parent);
    if (p->childCount() > 0)
        return p->child(0);
    const QList<QTreeWidgetItem *> *held = HeldUnder(toItem(parent));
    return held && !held->isEmpty() ? held->first() : nullptr;
}

CTreeFiller::Item CTreeWidgetFiller::GetNextSiblingItem(Item item) const
{
    if (!item)
        return nullptr;
    QTreeWidgetItem *it = toItem(item);
    if (IsHeld(it)) {
        // A held item: its siblings are the others held under its parent.
        const QList<QTreeWidgetItem *> *held = HeldUnder(m_heldParent.value(it));
        const qsizetype i = held ? held->indexOf(it) : -1;
        return i >= 0 && i + 1 < held->size() ? held->at(i + 1) : nullptr;
    }
    QTreeWidgetItem *parent = it->parent();
    QTreeWidgetItem *p = parent ? parent : m_tree->invisibleRootItem();
    const int i = p->indexOfChild(it);
    if (i >= 0 && i + 1 < p->childCount())
        return p->child(i + 1);
    // After the last child in the widget come those held under its parent.
    if (i < 0)
        return nullptr;
    const QList<QTreeWidgetItem *> *held = HeldUnder(parent);
    return held && !held->isEmpty() ? held->first() : nullptr;
}
