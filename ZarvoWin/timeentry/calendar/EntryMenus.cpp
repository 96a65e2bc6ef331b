#include "EntryMenus.h"

#include "CTranslationStore.h"
#include "CViewCommandTarget.h"
#include "TranslateWidgets.h"
#include "WidgetIds.h"

#include <QMenu>

namespace EntryMenus {

namespace {

Presenter &presenter()
{
    static Presenter p;
    return p;
}

} // namespace

std::unique_ptr<QMenu> Build(int menuId, bool entryHit, QWidget *parent)
{
    auto menu = std::make_unique<QMenu>(parent);
    const auto add = [&menu](int id) { WidgetIds::SetCommandId(menu->addAction(QString()), id); };
    if (entryHit) {
        add(menuId == RunningMenu ? EndTask : Resume);
        menu->addSeparator();
    }
    for (int id : {Add, Edit, Delete})
        add(id);
    menu->addSeparator();
    add(SaveAsFavorite);
    menu->addSeparator();
    for (int id : {Cut, Copy, Paste})
        add(id);
    CTranslationStore store;
    TranslateMenu(menu.get(), menuId, store);
    return menu;
}

void Run(int menuId, bool entryHit, CViewCommandTarget &view, QWidget *owner, const QPoint &globalPos)
{
    std::unique_ptr<QMenu> menu = Build(menuId, entryHit, owner);
    for (QAction *action : menu->actions()) {
        if (const int id = CommandOf(action); id != 0)
            action->setEnabled(view.IsCommandEnabled(id));
    }
    const int chosen = CommandOf(Present(*menu, globalPos));
    if (chosen != 0 && view.IsCommandEnabled(chosen))
        view.OnCommand(chosen);
}

QAction *Present(QMenu &menu, const QPoint &globalPos)
{
    if (presenter())
        return presenter()(menu, globalPos);
    return menu.exec(globalPos);
}

void SetPresenter(Presenter p)
{
    presenter() = std::move(p);
}

int CommandOf(const QAction *action)
{
    return action ? WidgetIds::CommandId(action) : 0;
}

} // namespace EntryMenus
