#include "ProjectMenuSource.h"

#include "WidgetIds.h"

#include <QAction>
#include <QMenu>

namespace {

// A command, a separator (0) or a pop-up (its negative key, then its items
// at depth 1).
struct MenuRow
{
    int id;
    int depth;
};
constexpr MenuRow ContextMenuRows[] = {
    {32784, 0}, {32785, 0}, {32787, 0}, {0, 0},
    {32789, 0}, {32791, 0}, {33145, 0}, {0, 0},
    {-2, 0},    {33081, 1}, {-3, 0},    {-4, 0}, {-7, 0}, {33060, 0}, {0, 0},
    {33136, 0}, {0, 0},     {-5, 0},    {-6, 0}, {0, 0},  {32997, 0},
};

} // namespace

void ProjectMenuSource::Fill(QMenu *menu, const std::function<QAction *(int id)> &existing)
{
    QMenu *popup = nullptr;
    for (const MenuRow &row : ContextMenuRows) {
        QMenu *into = row.depth == 1 && popup ? popup : menu;
        if (row.id == 0) {
            into->addSeparator();
        } else if (row.id < 0) {
            popup = into->addMenu(QString());
            WidgetIds::SetPopupKey(popup, row.id);
        } else if (QAction *own = existing ? existing(row.id) : nullptr) {
            into->addAction(own);
        } else {
            QAction *action = into->addAction(QString());
            WidgetIds::SetCommandId(action, row.id);
        }
    }
}

QAction *ProjectMenuSource::FindCommand(const QMenu *menu, int id)
{
    for (QAction *action : menu->actions()) {
        if (WidgetIds::CommandId(action) == id)
            return action;
    }
    return nullptr;
}

QAction *ProjectMenuSource::FindPopup(const QMenu *menu, int key)
{
    for (QAction *action : menu->actions()) {
        int k = 0;
        if (action->menu() && WidgetIds::PopupKey(action->menu(), k) && k == key)
            return action;
    }
    return nullptr;
}

void ProjectMenuSource::RemoveWithSeparatorAbove(QMenu *menu, QAction *action)
{
    if (!action)
        return;
    const QList<QAction *> actions = menu->actions();
    const qsizetype at = actions.indexOf(action);
    if (at > 0 && actions.at(at - 1)->isSeparator())
        menu->removeAction(actions.at(at - 1));
    menu->removeAction(action);
}
