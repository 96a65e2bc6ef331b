#pragma once
#include <functional>

class QAction;
class QMenu;

// Menu 495, the context menu the project pane and the project-tracking
// grid share, as rows: commands, separators and pop-ups (by their negative
// keys), each window then removing and filling what it does not offer.
class ProjectMenuSource
{
public:
    // Adds the rows to `menu`: a command is the action `existing` gives
    // for its id, or a new action carrying the id; a pop-up is an empty
    // menu carrying its key (the type pop-up holds its placeholder 33081).
    static void Fill(QMenu *menu, const std::function<QAction *(int id)> &existing);

    static QAction *FindCommand(const QMenu *menu, int id);
    // The action of the pop-up with `key`; null when there is none.
    static QAction *FindPopup(const QMenu *menu, int key);
    // Removes `action` and the separator right above it.
    static void RemoveWithSeparatorAbove(QMenu *menu, QAction *action);
};
