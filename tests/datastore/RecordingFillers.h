#pragma once
// Fillers that only record what the data store puts into a tree or a combo
// box, and one text form shared with the Qt widgets so that the two can be
// compared.
#include "CComboFiller.h"
#include "CTreeFiller.h"
#include "CComboBoxFiller.h"
#include "CTreeWidgetFiller.h"

#include <QString>
#include <QTreeWidget>
#include <memory>
#include <vector>

struct RecordedItem
{
    QString text;
    int image = -1;
    int selectedImage = -1;
    qintptr data = 0;
    bool checked = false;
    bool expanded = false;
    RecordedItem *parent = nullptr;
    std::vector<std::unique_ptr<RecordedItem>> children;
};

class RecordingTree : public CTreeFiller
{
public:
    RecordedItem top;
    RecordedItem *selected = nullptr;

    static RecordedItem *R(Item item) { return static_cast<RecordedItem *>(item); }
    RecordedItem *node(Item item) { return item ? R(item) : &top; }
    const RecordedItem *node(Item item) const { return item ? R(item) : &top; }

    Item InsertItem(Item parent, const QString &text, int image, int selectedImage,
                    qintptr data) override
    {
        auto item = std::make_unique<RecordedItem>();
        item->text = text;
        item->image = image;
        item->selectedImage = selectedImage;
        item->data = data;
        item->parent = node(parent);
        RecordedItem *raw = item.get();
        node(parent)->children.push_back(std::move(item));
        return raw;
    }
    void SetCheck(Item item, bool checked) override { R(item)->checked = checked; }
    void Expand(Item item, bool expand) override { R(item)->expanded = expand; }
    void SelectItem(Item item) override { selected = R(item); }
    void SetItemText(Item item, const QString &text) override { R(item)->text = text; }
    void SetItemData(Item item, qintptr data) override { R(item)->data = data; }
    void SetItemImage(Item item, int image, int selectedImage) override
    {
        R(item)->image = image;
        R(item)->selectedImage = selectedImage;
    }
    void DeleteItem(Item item) override
    {
        auto &siblings = R(item)->parent->children;
        for (auto it = siblings.begin(); it != siblings.end(); ++it)
            if (it->get() == item) {
                siblings.erase(it);
                return;
            }
    }
    Item GetChildItem(Item parent) const override
    {
        const RecordedItem *p = node(parent);
        return p->children.empty() ? nullptr : p->children.front().get();
    }
    Item GetNextSiblingItem(Item item) const override
    {
        const auto &siblings = R(item)->parent->children;
        for (size_t i = 0; i + 1 < siblings.size(); ++i)
            if (siblings[i].get() == item)
                return siblings[i + 1].get();
        return nullptr;
    }
};

// One line per item: indent, text, image, data, check and expanded state.
// Leaves print no expanded state: a widget keeps none for them.
inline QString dumpLine(int depth, const QString &text, int image, qintptr data, bool checked,
                        bool expanded, bool leaf)
{
    return QString(depth * 2, u' ') + text + QStringLiteral(" [img %1, data %2%3%4]\n")
        .arg(image)
        .arg(qlonglong(data))
        .arg(checked ? QStringLiteral(", checked") : QString())
        .arg(leaf ? QString() : expanded ? QStringLiteral(", open") : QStringLiteral(", closed"));
}

inline void dumpRecorded(const RecordedItem &item, int depth, QString &out)
{
    for (const auto &child : item.children) {
        out += dumpLine(depth, child->text, child->image, child->data, child->checked,
                        child->expanded, child->children.empty());
        dumpRecorded(*child, depth + 1, out);
    }
}

inline QString dump(const RecordingTree &tree)
{
    QString out;
    dumpRecorded(tree.top, 0, out);
    return out;
}

inline void dumpWidgetItem(const QTreeWidgetItem *item, int depth, QString &out)
{
    for (int i = 0; i < item->childCount(); ++i) {
        const QTreeWidgetItem *child = item->child(i);
        out += dumpLine(depth, child->text(0), child->data(0, CTreeWidgetFiller::ImageRole).toInt(),
                        qintptr(child->data(0, CTreeWidgetFiller::DataRole).toLongLong()),
                        child->checkState(0) == Qt::Checked, child->isExpanded(),
                        child->childCount() == 0);
        dumpWidgetItem(child, depth + 1, out);
    }
}

inline QString dump(const QTreeWidget &tree)
{
    QString out;
    dumpWidgetItem(tree.invisibleRootItem(), 0, out);
    return out;
}

class RecordingCombo : public CComboFiller
{
public:
    struct Entry
    {
        QString text;
        int image;
        qintptr data;
        int indent;
    };
    std::vector<Entry> items;
    int selection = -1;

    int AddItem(const QString &text, int image, qintptr data, int indent) override
    {
        items.push_back({text, image, data, indent});
        return int(items.size()) - 1;
    }
    void SetCurSel(int index) override { selection = index; }
    int GetCount() const override { return int(items.size()); }
};
