#pragma once
#include <QPoint>
#include <functional>
#include <memory>

class CViewCommandTarget;
class QAction;
class QMenu;
class QWidget;

// The context menus of the calendar views: 407 for no entry or a finished
// one, 408 for a running entry (its first item ends it instead of
// resuming it). Built in code; every item carries its command id and takes
// its text from the menu texts of the interface language.
namespace EntryMenus {

constexpr int FinishedMenu = 407;
constexpr int RunningMenu = 408;

// The commands of the menus.
constexpr int Resume = 32997;
constexpr int EndTask = 32921;
constexpr int Add = 32899;
constexpr int Edit = 32900;
constexpr int Delete = 32902;
constexpr int SaveAsFavorite = 32967;
constexpr int Cut = 32910;
constexpr int Copy = 32904;
constexpr int Paste = 32906;
// Commands of the main menu and the keys the views take too.
constexpr int PasteOnCurrentDate = 32912;
constexpr int CancelDrag = 33010;

// Menu `menuId` (407 or 408); without an entry under the click the first
// item and the separator after it are left out.
std::unique_ptr<QMenu> Build(int menuId, bool entryHit, QWidget *parent);

// Shows menu `menuId` of a view at a screen point, each item enabled as
// the view enables its command, and runs the command chosen.
void Run(int menuId, bool entryHit, CViewCommandTarget &view, QWidget *owner, const QPoint &globalPos);

// Shows the menu at a screen point and gives the chosen item (null when
// none). Tests replace the presenter to read the menu instead.
using Presenter = std::function<QAction *(QMenu &menu, const QPoint &globalPos)>;
QAction *Present(QMenu &menu, const QPoint &globalPos);
// Sets the presenter; an empty one restores the menu's own modal loop.
void SetPresenter(Presenter presenter);

// The command id of a menu item; 0 for none.
int CommandOf(const QAction *action);

} // namespace EntryMenus
