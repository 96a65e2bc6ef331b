#pragma once
#include <QList>

// Which items of a docking pane's menu are offered, greyed and checked, as
// a plain function of the pane's state. Items are named by the numbers of
// their texts: 604 floating, 605 docking, 606 tabbed document, 607 hide
// automatically, 608 hide.
class CPaneMenuRules
{
public:
    enum Item { Floating = 604, Docking = 605, TabbedDocument = 606, AutoHide = 607, Hide = 608 };

    struct State
    {
        bool floats = false;
        bool tabbed = false;     // shown as a tabbed document
        bool autoHidden = false; // hidden at the frame's edge
        bool canFloat = true;
        bool canAutoHide = false;
        bool canClose = true;
        bool anyDockSide = true; // some side of the frame accepts the pane
    };

    struct ItemState
    {
        int item = 0;
        bool enabled = true;
        bool checked = false;
    };

    // The items in menu order; the tabbed-document item only when offered.
    static QList<ItemState> Items(const State &state, bool withTabbedDocument);
};
