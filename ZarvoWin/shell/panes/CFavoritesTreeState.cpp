#include "CFavoritesTreeState.h"

#include "CTreeWidgetFiller.h"
#include "CUsers.h"
#include "CViewTree.h"
#include "tProjectTreeState.h"

#include <QStringList>
#include <QTreeWidget>
#include <algorithm>
#include <functional>
#include <limits>

namespace {

const QString RootName = QStringLiteral("Favoris Root");
const QString PosName = QStringLiteral("Favoris Pos");
const QString CollapsedName = QStringLiteral("Favoris Collapsed");

int imageOf(const QTreeWidgetItem *item)
{
    return CViewTree::ItemImage(item);
}

int dataOf(const QTreeWidgetItem *item)
{
    return int(CViewTree::ItemData(item));
}

bool isGroup(const QTreeWidgetItem *item)
{
    const int image = imageOf(item);
    return image != CFavoritesTreeState::FavoriteImage && image != CFavoritesTreeState::HistoryImage;
}

// Depth first below `item`, `item` left out.
void walkBelow(QTreeWidgetItem *item, const std::function<void(QTreeWidgetItem *)> &visit)
{
    if (!item)
        return;
    for (int i = 0; i < item->childCount(); ++i) {
        visit(item->child(i));
        walkBelow(item->child(i), visit);
    }
}

} // namespace

void CFavoritesTreeState::Reset(bool isGrouped)
{
    favoritesExpanded = true;
    historyExpanded = true;
    firstVisibleKind = KindFirstRoot;
    firstVisibleData = -1;
    selectedKind = KindNone;
    selectedData = -1;
    collapsedGroups.clear();
    grouped = isGrouped;
}

void CFavoritesTreeState::Read(const QString &root, const QString &pos, const QString &collapsed)
{
    Reset(grouped);
    if (root.contains(u';')) {
        favoritesExpanded = root.front() != u'0';
        historyExpanded = root.back() != u'0';
    }
    const QList<QStringView> fields = QStringView(pos).split(u';');
    int *values[] = {&firstVisibleKind, &firstVisibleData, &selectedKind, &selectedData};
    for (qsizetype i = 0; !pos.isEmpty() && i < 4 && i < fields.size(); ++i)
        *values[i] = TreeStateText::FieldOr(fields[i], *values[i]);
    // Every number followed by ";" is a collapsed group.
    const QList<QStringView> groups = QStringView(collapsed).split(u';');
    for (qsizetype i = 0; i + 1 < groups.size(); ++i) {
        const int id = TreeStateText::FieldOr(groups[i], std::numeric_limits<int>::min());
        if (id != std::numeric_limits<int>::min())
            collapsedGroups.insert(id, false);
    }
}

QString CFavoritesTreeState::RootText() const
{
    return QStringLiteral("%1;%2").arg(int(favoritesExpanded)).arg(int(historyExpanded));
}

QString CFavoritesTreeState::PosText() const
{
    return QStringLiteral("%1;%2;%3;%4").arg(firstVisibleKind).arg(firstVisibleData).arg(selectedKind).arg(selectedData);
}

QString CFavoritesTreeState::CollapsedText() const
{
    QList<int> ids = collapsedGroups.keys();
    std::sort(ids.begin(), ids.end());
    QString text;
    for (int id : std::as_const(ids))
        text += QString::number(id) + u';';
    return text;
}

void CFavoritesTreeState::LoadState(CUsers &users)
{
    Reset(grouped);
    QStringList values = {RootName, PosName, CollapsedName};
    if (!users.GetUserSettings(values))
        return;
    Read(values.value(0), values.value(1), values.value(2));
}

bool CFavoritesTreeState::WriteState(CUsers &users) const
{
    return users.SetUserSettings({RootName, PosName, CollapsedName}, {RootText(), PosText(), CollapsedText()});
}

int CFavoritesTreeState::KindOf(const QTreeWidget &tree, const QTreeWidgetItem *item,
                                const QTreeWidgetItem *favorites, const QTreeWidgetItem *history)
{
    if (!item)
        return KindNone;
    if (item == tree.topLevelItem(0))
        return KindFirstRoot;
    if (item == favorites)
        return KindFavoritesRoot;
    if (item == history)
        return KindHistoryRoot;
    const int image = imageOf(item);
    if (image == FavoriteImage)
        return KindFavorite;
    if (image == HistoryImage)
        return KindHistory;
    return KindGroup;
}

void CFavoritesTreeState::RecordState(const QTreeWidget &tree, const QTreeWidgetItem *favorites,
                                      const QTreeWidgetItem *history)
{
    collapsedGroups.clear();
    favoritesExpanded = !favorites || favorites->childCount() == 0 || favorites->isExpanded();
    historyExpanded = !history || history->childCount() == 0 || history->isExpanded();
    const auto *view = qobject_cast<const CViewTree *>(&tree);
    const QTreeWidgetItem *first = view ? view->FirstVisibleItem() : tree.topLevelItem(0);
    const QTreeWidgetItem *selected = tree.currentItem();
    if (selected && !selected->isSelected())
        selected = nullptr;
    auto classify = [&](const QTreeWidgetItem *item, int &kind, int &data) {
        kind = KindOf(tree, item, favorites, history);
        data = kind == KindGroup || kind == KindFavorite || kind == KindHistory ? dataOf(item) : -1;
    };
    classify(first, firstVisibleKind, firstVisibleData);
    classify(selected, selectedKind, selectedData);
    if (grouped && favorites) {
        walkBelow(const_cast<QTreeWidgetItem *>(favorites), [this](QTreeWidgetItem *item) {
            if (isGroup(item) && item->childCount() > 0 && !item->isExpanded())
                collapsedGroups.insert(dataOf(item), false);
        });
    }
}

QTreeWidgetItem *CFavoritesTreeState::Find(const QTreeWidget &tree, int kind, int data, QTreeWidgetItem *favorites,
                                           QTreeWidgetItem *history)
{
    auto directChild = [data](QTreeWidgetItem *parent, bool group) -> QTreeWidgetItem * {
        for (int i = 0; parent && i < parent->childCount(); ++i) {
            QTreeWidgetItem *child = parent->child(i);
            if (dataOf(child) == data && (group ? isGroup(child) : imageOf(child) == HistoryImage))
                return child;
        }
        return nullptr;
    };
    switch (kind) {
    case KindFirstRoot:
        return tree.topLevelItem(0);
    case KindFavoritesRoot:
        return favorites;
    case KindHistoryRoot:
        return history;
    case KindGroup:
        return directChild(favorites, true);
    case KindFavorite: {
        QTreeWidgetItem *found = nullptr;
        walkBelow(favorites, [&found, data](QTreeWidgetItem *item) {
            if (!found && imageOf(item) == FavoriteImage && dataOf(item) == data)
                found = item;
        });
        return found;
    }
    case KindHistory:
        return directChild(history, false);
    default:
        return nullptr;
    }
}

void CFavoritesTreeState::RestoreTreeFromState(QTreeWidget &tree, QTreeWidgetItem *favorites,
                                                QTreeWidgetItem *history) const
{
    if (favorites)
        favorites->setExpanded(favoritesExpanded);
    if (history)
        history->setExpanded(historyExpanded);
    walkBelow(favorites, [this](QTreeWidgetItem *item) {
        if (isGroup(item) && item->childCount() > 0)
            item->setExpanded(!collapsedGroups.contains(dataOf(item)));
    });
    QTreeWidgetItem *selected = Find(tree, selectedKind, selectedData, favorites, history);
    QTreeWidgetItem *first = Find(tree, firstVisibleKind, firstVisibleData, favorites, history);
    QTreeWidgetItem *top = first ? first : favorites;
    if (top) {
        if (auto *view = qobject_cast<CViewTree *>(&tree))
            view->ScrollToTop(top);
        else
            tree.scrollToItem(top, QAbstractItemView::PositionAtTop);
    }
    if (selected) {
        tree.setCurrentItem(selected);
        selected->setSelected(true);
    } else {
        tree.clearSelection();
    }
}
