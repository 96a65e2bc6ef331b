#pragma once
#include <QList>

class CTranslationStore;
class QMenu;
class QMenuBar;
class QWidget;

// Puts the texts of the interface language on a window and its menus, in
// place. Windows build their controls without texts and carry their ids
// (WidgetIds); the same walk gives the French of the program and every other
// language, since a store falls back to the compiled-in French.

// The window's caption becomes the dialog text of (dialogId, -1); every
// button (push, check, radio, tool), group box and label below it that
// carries a control id gets the text of (dialogId, control id). Edits, combo
// boxes and lists keep their contents. A widget that carries a dialog id of
// its own is translated with it, not here. A lookup that finds nothing
// anywhere leaves the text as it was.
void TranslateDialogWithStore(QWidget *window, CTranslationStore &store, int dialogId);
// The same with a store of its own.
void TranslateDialog(QWidget *window, int dialogId);

// Every command of the menu (by its command id) and every pop-up (by its
// key, kept beside its text) gets the menu text of (menuId, that number);
// pop-ups are translated recursively with the same menu id. Separators and
// items without a number are left alone.
void TranslateMenu(QMenu *menu, int menuId, CTranslationStore &store);
void TranslateMenu(QMenuBar *bar, int menuId, CTranslationStore &store);

// For the tests of windows: the control ids of a dialog, and the numbers of
// a menu's items, that have no text in the store (nor in the French).
QList<int> ControlsWithoutText(QWidget *window, CTranslationStore &store, int dialogId);
QList<int> MenuItemsWithoutText(QMenu *menu, int menuId, CTranslationStore &store);
