#include "CPaneMenuRules.h"

QList<CPaneMenuRules::ItemState> CPaneMenuRules::Items(const State &s, bool withTabbedDocument)
{
    // A pane hidden at the frame's edge offers only to leave that mode.
    const bool free = !s.autoHidden;
    QList<ItemState> items;
    items.append({Floating, s.canFloat && free, s.floats});
    items.append({Docking, s.anyDockSide && free, !s.floats && free && !s.tabbed});
    if (withTabbedDocument)
        items.append({TabbedDocument, free, s.tabbed});
    items.append({AutoHide, s.canAutoHide && !s.floats, s.autoHidden});
    items.append({Hide, s.canClose && free, false});
    return items;
}
