#include "TranslateWidgets.h"

#include "CTranslationStore.h"
#include "WidgetIds.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

#include <functional>

namespace {

bool takesText(const QWidget *w)
{
    return qobject_cast<const QAbstractButton *>(w) || qobject_cast<const QGroupBox *>(w)
           || qobject_cast<const QLabel *>(w);
}

void setText(QWidget *w, const QString &text)
{
    if (auto *button = qobject_cast<QAbstractButton *>(w))
        button->setText(text);
    else if (auto *group = qobject_cast<QGroupBox *>(w))
        group->setTitle(text);
    else if (auto *label = qobject_cast<QLabel *>(w))
        label->setText(text);
}

// Calls `visit` for every widget below `parent` that carries a control id
// and takes a text, skipping what carries a dialog id of its own.
void forEachControl(QWidget *parent, const std::function<void(QWidget *, int)> &visit)
{
    for (QObject *child : parent->children()) {
        auto *w = qobject_cast<QWidget *>(child);
        if (!w || WidgetIds::DialogId(w) != 0)
            continue;
        const int id = WidgetIds::ControlId(w);
        if (id != -1 && takesText(w))
            visit(w, id);
        forEachControl(w, visit);
    }
}

// Calls `visit` with every numbered item of the menu's actions, pop-ups
// first-hand (their items follow).
void forEachItem(const QList<QAction *> &actions, const std::function<void(QAction *, int)> &visit)
{
    for (QAction *action : actions) {
        if (action->isSeparator())
            continue;
        if (QMenu *popup = action->menu()) {
            int key = 0;
            if (WidgetIds::PopupKey(popup, key))
                visit(action, key);
            forEachItem(popup->actions(), visit);
            continue;
        }
        const int id = WidgetIds::CommandId(action);
        if (id != 0)
            visit(action, id);
    }
}

void translateActions(const QList<QAction *> &actions, int menuId, CTranslationStore &store)
{
    forEachItem(actions, [&](QAction *action, int number) {
        const QString text = store.GetMenuString(menuId, number);
        if (!text.isEmpty())
            action->setText(text);
    });
}

} // namespace

void TranslateDialogWithStore(QWidget *window, CTranslationStore &store, int dialogId)
{
    const QString caption = store.GetDialogString(dialogId, -1);
    if (!caption.isEmpty())
        window->setWindowTitle(caption);
    forEachControl(window, [&](QWidget *w, int id) {
        const QString text = store.GetDialogString(dialogId, id);
        if (!text.isEmpty())
            setText(w, text);
    });
}

void TranslateDialog(QWidget *window, int dialogId)
{
    CTranslationStore store;
    TranslateDialogWithStore(window, store, dialogId);
}

void TranslateMenu(QMenu *menu, int menuId, CTranslationStore &store)
{
    translateActions(menu->actions(), menuId, store);
}

void TranslateMenu(QMenuBar *bar, int menuId, CTranslationStore &store)
{
    translateActions(bar->actions(), menuId, store);
}

QList<int> ControlsWithoutText(QWidget *window, CTranslationStore &store, int dialogId)
{
    QList<int> missing;
    forEachControl(window, [&](QWidget *, int id) {
        if (store.GetDialogString(dialogId, id).isEmpty())
            missing.append(id);
    });
    return missing;
}

QList<int> MenuItemsWithoutText(QMenu *menu, int menuId, CTranslationStore &store)
{
    QList<int> missing;
    forEachItem(menu->actions(), [&](QAction *, int number) {
        if (store.GetMenuString(menuId, number).isEmpty())
            missing.append(number);
    });
    return missing;
}
