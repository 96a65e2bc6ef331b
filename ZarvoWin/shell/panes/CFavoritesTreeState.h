#pragma once
#include <QHash>
#include <QString>

class CUsers;
class QTreeWidget;
class QTreeWidgetItem;

// What the task pane keeps of its tree for each user: whether the
// favourites and the history branches are open, the first visible and the
// selected item (by kind and data) and, when the favourites are grouped,
// the collapsed groups. It reads and writes the per-user values
// "Favoris Root", "Favoris Pos" and "Favoris Collapsed", takes the state
// from a tree and puts it back on a refilled one.
class CFavoritesTreeState
{
public:
    // Kinds of a remembered item.
    enum Kind {
        KindNone = -1,
        KindFirstRoot = 0,
        KindFavoritesRoot = 1,
        KindHistoryRoot = 2,
        KindGroup = 3,
        KindFavorite = 4,
        KindHistory = 5,
    };
    // Pictures that tell a favourite and a recent entry from a group.
    static constexpr int FavoriteImage = 20;
    static constexpr int HistoryImage = 21;

    bool favoritesExpanded = true;
    bool historyExpanded = true;
    int firstVisibleKind = KindFirstRoot;
    int firstVisibleData = -1;
    int selectedKind = KindNone;
    int selectedData = -1;
    // The ids of the collapsed groups (every entry is false: collapsed).
    QHash<int, bool> collapsedGroups;
    bool grouped = false;

    // Back to the defaults (both branches open, nothing remembered),
    // grouped or not.
    void Reset(bool isGrouped);

    // The state the three stored values give, defaults first; `grouped`
    // is kept.
    void Read(const QString &root, const QString &pos, const QString &collapsed);
    QString RootText() const;
    QString PosText() const;
    QString CollapsedText() const;
    // The same through the current user's settings in `users`; a read that
    // fails leaves the defaults, a write without a user writes nothing.
    void LoadState(CUsers &users);
    bool WriteState(CUsers &users) const;

    // Takes the state of `tree`, whose top items are the two branches.
    void RecordState(const QTreeWidget &tree, const QTreeWidgetItem *favorites, const QTreeWidgetItem *history);
    // Puts it back on `tree` after a refill: branches and groups opened or
    // closed, the first visible item scrolled to the top, the selection.
    void RestoreTreeFromState(QTreeWidget &tree, QTreeWidgetItem *favorites, QTreeWidgetItem *history) const;

    // The kind of an item of the tree.
    static int KindOf(const QTreeWidget &tree, const QTreeWidgetItem *item, const QTreeWidgetItem *favorites,
                      const QTreeWidgetItem *history);
    // The item a kind and data name; null when there is none.
    static QTreeWidgetItem *Find(const QTreeWidget &tree, int kind, int data, QTreeWidgetItem *favorites,
                                 QTreeWidgetItem *history);
};
