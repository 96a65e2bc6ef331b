#pragma once
#include <QString>
#include <QtGlobal>

// What the data store needs of a tree control to fill it: items with a
// text, an image index, a number as item data, a check state and an
// expanded state. The data store fills trees only through this interface,
// so that its fill rules run without a window; CTreeWidgetFiller shows the
// same thing in a QTreeWidget.
class CTreeFiller
{
public:
    // An item of the tree; null stands for the top of the tree.
    using Item = void *;

    virtual ~CTreeFiller() = default;

    // Appends an item as the last child of `parent`.
    virtual Item InsertItem(Item parent, const QString &text, int image, int selectedImage,
                            qintptr data) = 0;
    virtual void SetCheck(Item item, bool checked) = 0;
    virtual void Expand(Item item, bool expand) = 0;
    virtual void SelectItem(Item item) = 0;
    virtual void SetItemText(Item item, const QString &text) = 0;
    virtual void SetItemData(Item item, qintptr data) = 0;
    virtual void SetItemImage(Item item, int image, int selectedImage) = 0;
    // Removes the item with everything below it.
    virtual void DeleteItem(Item item) = 0;
    virtual Item GetChildItem(Item parent) const = 0;
    virtual Item GetNextSiblingItem(Item item) const = 0;

    // Around the filling of a whole tree: between the two, a control may
    // hold back showing new items until EndFill, when every item stands
    // as it was filled. Calls may nest; only the outermost EndFill counts.
    virtual void BeginFill() {}
    virtual void EndFill() {}
};
