#pragma once
#include "CFavoritesTreeState.h"
#include "CTreePane.h"
#include "CPaneCommandTarget.h"

#include <memory>

class CClassViewMenuButton;
class QMenu;

// The docking pane "Tâches": the favourites (listed by last use or grouped
// by project or by activity) and the recent combinations of project,
// activity and rate. A double click, "Reprendre maintenant" or a drag onto
// the calendar starts a task from an item. The pane adds, edits and
// deletes favourites, turns a recent entry into a favourite, keeps its sort
// in the settings and its tree state per user.
class CPaneTask : public CTreePane, public CPaneCommandTarget
{
    Q_OBJECT
public:
    static constexpr int PaneNumber = 136;
    static constexpr int CaptionText = 257;
    static constexpr int ToolBarId = 374;
    static constexpr int MenuId = 383;
    static constexpr int SortMenuId = 463;

    enum Command {
        CmdSortButton = 32982,
        CmdAddFavorite = 32883,
        CmdEditFavorite = 32884,
        CmdDeleteFavorite = 32885,
        CmdDelete = 32791,
        CmdMakeFavorite = 32963,
        CmdSortByUse = 32978,
        CmdSortByProject = 32979,
        CmdSortByActivity = 32980,
        CmdResumeNow = 32997,
    };
    // What an item is, read from its picture.
    enum ItemKind { KindOther, KindFavorite, KindHistory, KindGroup };

    explicit CPaneTask(CZarvoWinApp &app, QWidget *parent = nullptr);
    // Writes the tree state of the current user.
    ~CPaneTask() override;

    CClassViewMenuButton *SortButton() const { return m_sortButton; }
    QTreeWidgetItem *FavoritesRoot() const { return m_favoritesRoot; }
    QTreeWidgetItem *HistoryRoot() const { return m_historyRoot; }
    int SortMode() const { return m_sortMode; }
    bool IsBusy() const { return m_busy; }
    const CFavoritesTreeState &State() const { return m_state; }
    // How many times the two branches were refilled.
    int RefillCount() const { return m_refills; }

    // Refills both branches: with `keepState` the tree keeps what it
    // shows, else the state saved for the user comes back; forced, the
    // favourites are read even when they did not change. Skipped while a
    // task is being started from the pane.
    void Refresh(bool keepState, bool force);
    // The state saved at the last exit, once at start-up.
    void RestoreState();
    bool IsTreeReady() const { return m_treeReady; }
    void ApplyLanguage() override;
    // Writes the state for the user shown before a user switch; the next
    // refresh reads the new user's.
    void SaveStateForSwitch();

    int KindOf(const QTreeWidgetItem *item) const;

    void UpdateCommandStates() override;
    // Menu 383 as the context menu shows it on `item` (null: none).
    std::unique_ptr<QMenu> BuildContextMenu(const QTreeWidgetItem *item);
    void OnSort(int command);
    void StartFromItem(bool withDialog);
    void OnAddFavorite();
    void OnEditFavorite();
    void OnDeleteFavorite();
    void OnMakeFavorite();

    // The payload a drag from `item` carries; false for an item that does
    // not drag.
    bool DragInfoOf(const QTreeWidgetItem *item, bool shift, DragInfo &info) const;

    bool HandlesCommand(int id) const override;
    void OnCommand(int id) override;

protected:
    void ShowContextMenu(const QPoint &pos) override;
    void OnTreeDoubleClick() override;
    void OnTreeDeleteKey() override { OnDeleteFavorite(); }
    void OnTreeDrag(QTreeWidgetItem *item, Qt::KeyboardModifiers keys) override;

private:
    enum class StateSource { Record, Load, Keep };
    void CreateActions();
    void Fill(StateSource source, bool force, bool forceHistory);
    static int SortCommandOf(int mode);

    CClassViewMenuButton *m_sortButton = nullptr;
    int m_sortMode = 0;
    int m_sortCommand = CmdSortByUse;
    bool m_treeReady = false;
    QTreeWidgetItem *m_favoritesRoot = nullptr;
    QTreeWidgetItem *m_historyRoot = nullptr;
    qint64 m_favoritesStamp = 0;
    bool m_busy = false;
    bool m_stateOfOtherUser = false;
    int m_refills = 0;
    CFavoritesTreeState m_state;
};
