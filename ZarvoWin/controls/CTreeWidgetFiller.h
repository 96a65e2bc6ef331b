#pragma once
#include "CTreeFiller.h"

#include <QIcon>
#include <Qt>
#include <functional>

class QTreeWidget;
class QTreeWidgetItem;

// Fills a QTreeWidget (column 0). The image index and the item data are
// kept on each item under the roles below, and the icon comes from the
// image provider when one is given. Check boxes are shown only when the
// filler is made with them, as a tree control has them only when asked.
class CTreeWidgetFiller : public CTreeFiller
{
public:
    static constexpr int DataRole = Qt::UserRole;
    static constexpr int ImageRole = Qt::UserRole + 1;
    static constexpr int SelectedImageRole = Qt::UserRole + 2;

    using ImageProvider = std::function<QIcon(int image)>;

    explicit CTreeWidgetFiller(QTreeWidget *tree, bool checkBoxes = false,
                               ImageProvider images = {});

    Item InsertItem(Item parent, const QString &text, int image, int selectedImage,
                    qintptr data) override;
    void SetCheck(Item item, bool checked) override;
    void Expand(Item item, bool expand) override;
    void SelectItem(Item item) override;
    void SetItemText(Item item, const QString &text) override;
    void SetItemData(Item item, qintptr data) override;
    void DeleteItem(Item item) override;
    Item GetChildItem(Item parent) const override;
    Item GetNextSiblingItem(Item item) const override;

    static QTreeWidgetItem *toItem(Item item) { return static_cast<QTreeWidgetItem *>(item); }

private:
    QTreeWidgetItem *parentItem(Item item) const;

    QTreeWidget *m_tree;
    bool m_checkBoxes;
    ImageProvider m_images;
};
