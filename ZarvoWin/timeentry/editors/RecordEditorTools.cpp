#include "RecordEditorTools.h"

#include "CAppData.h"
#include "CBdD.h"
#include "CProjectStore.h"
#include "CTreeWidgetFiller.h"
#include "RecordEditorServices.h"
#include "CComboBoxFiller.h"
#include "MessageBoxParams.h"
#include "RichMessageBox.h"
#include "Texts.h"

#include <QComboBox>
#include <QHash>
#include <QTreeWidget>
#include <vector>

namespace RecordEditorTools {

int Ask(QWidget *owner, quint32 type, const QString &text, int captionId)
{
    return RichMessageBox(type, owner, text, Platform::Texts::get(captionId));
}

void ShowNameMissing(QWidget *owner)
{
    Ask(owner, MessageBoxType::Ok | MessageBoxType::IconExclamation, Platform::Texts::get(174), 173);
}

void ShowWriteFailure(QWidget *owner)
{
    Ask(owner, MessageBoxType::Ok | MessageBoxType::IconExclamation, Platform::Texts::get(226), 173);
}

void FillRateList(QComboBox *combo, int currentId)
{
    combo->clear();
    CComboBoxFiller filler(combo);
    filler.SetCurSel(filler.AddItem(Platform::Texts::get(185), -1, -1, 0));
    CBdD db;
    db.FillRateCombo(filler, currentId);
}

int SelectedData(const QComboBox *combo)
{
    const int row = combo->currentIndex();
    if (row < 0)
        return -1;
    const QVariant data = combo->itemData(row, CComboBoxFiller::DataRole);
    return data.isValid() ? data.toInt() : -1;
}

bool SelectRowWithData(QComboBox *combo, qint64 data, int firstRow)
{
    for (int row = qMax(0, firstRow); row < combo->count(); ++row) {
        const QVariant value = combo->itemData(row, CComboBoxFiller::DataRole);
        if (value.isValid() && value.toLongLong() == data) {
            combo->setCurrentIndex(row);
            return true;
        }
    }
    return false;
}

namespace {

constexpr int TopImage = 1;

int itemId(const QTreeWidgetItem *item)
{
    return int(item->data(0, CTreeWidgetFiller::DataRole).toLongLong());
}

} // namespace

QTreeWidgetItem *FillParentTree(QTreeWidget *tree, int excludedId)
{
    tree->clear();
    auto *top = new QTreeWidgetItem;
    top->setText(0, Platform::Texts::get(146));
    top->setIcon(0, RecordEditorServices::Image(TopImage));
    top->setData(0, CTreeWidgetFiller::DataRole, QVariant::fromValue<qlonglong>(-1));
    tree->addTopLevelItem(top);
    if (const CProjectStore *store = CAppData::ProjectStore()) {
        // One icon per image, asked once.
        QHash<int, QIcon> icons;
        CTreeWidgetFiller filler(tree, false, [&icons](int image) {
            auto it = icons.find(image);
            if (it == icons.end())
                it = icons.insert(image, RecordEditorServices::Image(image));
            return it.value();
        });
        store->FillProjectTree(filler, top, false, true, nullptr, QString(), QString());
    }
    top->setExpanded(true);
    if (excludedId != -1) {
        if (QTreeWidgetItem *own = FindParentItem(tree, excludedId); own && own != top)
            delete own;
    }
    return top;
}

QTreeWidgetItem *FindParentItem(const QTreeWidget *tree, int projectId)
{
    std::vector<QTreeWidgetItem *> pending;
    for (int i = tree->topLevelItemCount() - 1; i >= 0; --i)
        pending.push_back(tree->topLevelItem(i));
    while (!pending.empty()) {
        QTreeWidgetItem *item = pending.back();
        pending.pop_back();
        if (itemId(item) == projectId)
            return item;
        for (int i = item->childCount() - 1; i >= 0; --i)
            pending.push_back(item->child(i));
    }
    return nullptr;
}

} // namespace RecordEditorTools
