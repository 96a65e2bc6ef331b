#pragma once
#include "CTreeFiller.h"

#include <QHash>
#include <QIcon>
#include <QList>
#include <QPair>
#include <Qt>
#include <functional>

class QTreeWidget;
class QTreeWidgetItem;

// Fills a QTreeWidget (column 0). The image index and the item data are
// kept on each item under the roles below, and the icon comes from the
// image provider when one is given. Check boxes are shown only when the
// filler is made with them, as a tree control has them only when asked.
//
// Between BeginFill and EndFill, new items whose parent is the top of the
// tree or an item already in the widget are built apart from it, with
// everything below them, and handed to it at EndFill with their expanded
// states: the widget then takes a branch of thousands of items in one step
// per parent instead of one notice per item.
class CTreeWidgetFiller : public CTreeFiller
{
public:
    static constexpr int DataRole = Qt::UserRole;
    static constexpr int ImageRole = Qt::UserRole + 1;
    static constexpr int SelectedImageRole = Qt::UserRole + 2;

    using ImageProvider = std::function<QIcon(int image)>;

    explicit CTreeWidgetFiller(QTreeWidget *tree, bool checkBoxes = false,
                               ImageProvider images = {});
    // Hands over what is still held back.
    ~CTreeWidgetFiller() override;
    CTreeWidgetFiller(const CTreeWidgetFiller &) = delete;
    CTreeWidgetFiller &operator=(const CTreeWidgetFiller &) = delete;

    Item InsertItem(Item parent, const QString &text, int image, int selectedImage,
                    qintptr data) override;
    void SetCheck(Item item, bool checked) override;
    void Expand(Item item, bool expand) override;
    void SelectItem(Item item) override;
    void SetItemText(Item item, const QString &text) override;
    void SetItemData(Item item, qintptr data) override;
    void SetItemImage(Item item, int image, int selectedImage) override;
    void DeleteItem(Item item) override;
    Item GetChildItem(Item parent) const override;
    Item GetNextSiblingItem(Item item) const override;
    void BeginFill() override;
    void EndFill() override;

    static QTreeWidgetItem *toItem(Item item) { return static_cast<QTreeWidgetItem *>(item); }

private:
    QTreeWidgetItem *parentItem(Item item) const;
    // Gives the widget the items held back, then their expanded states.
    void HandOver();

    // The items held back under `parent` (null: the top of the tree).
    QList<QTreeWidgetItem *> *HeldUnder(QTreeWidgetItem *parent);
    const QList<QTreeWidgetItem *> *HeldUnder(QTreeWidgetItem *parent) const;
    bool IsHeld(QTreeWidgetItem *item) const { return m_heldParent.contains(item); }

    QTreeWidget *m_tree;
    bool m_checkBoxes;
    ImageProvider m_images;
    int m_fillDepth = 0;
    QList<QTreeWidgetItem *> m_heldTopItems;
    // Items held back below items of the widget, by parent, in the order
    // the parents first got one.
    QList<QPair<QTreeWidgetItem *, QList<QTreeWidgetItem *>>> m_heldChildren;
    // Every item held back (top or child) and the parent it goes to.
    QHash<QTreeWidgetItem *, QTreeWidgetItem *> m_heldParent;
    // Items not yet in the widget and whether they are to be expanded.
    QHash<QTreeWidgetItem *, bool> m_heldExpansion;
};
