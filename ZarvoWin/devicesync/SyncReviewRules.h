#pragma once
#include "SyncItem.h"

// What the review of a device synchronisation decides without a window:
// which decisions a row allows, where the three action icons of a row
// stand and which one a point falls on, how wide the name columns are, and
// which detail panes show a kind of element.
class SyncReviewRules
{
public:
    static constexpr int ActionCount = 3;
    static constexpr int IconSize = 20;  // the review's pictures
    static constexpr int RowHeight = 21;
    static constexpr int ActionColumn = 2;

    // Whether `action` may become the row's decision: taking the device's
    // row needs a live device row and is never offered for the project
    // order (kind 9); deleting is offered for every kind but the project
    // order; taking the local row needs a live local row. A null item (a
    // group row) allows nothing.
    static bool IsActionAllowed(int action, const SyncItem *item);

    // The space between the icons of an action cell `cellWidth` wide:
    // max(0, (width - 60) / 4), so that a narrow cell has them touch.
    static int IconGap(int cellWidth);
    // The left edge of the icon of `action` (0..2) in a cell starting at
    // `cellLeft`.
    static int IconLeft(int cellLeft, int cellWidth, int action);

    // The action whose third of the cell lies under `x` (third = width / 3;
    // none for a cell narrower than 3 pixels): -1 left of the cell or, for a
    // click, past its third part; a tooltip (`clampToLast`) takes the last
    // action for the remainder on the right.
    static int ActionAt(int x, int cellLeft, int cellWidth, bool clampToLast);

    // The width of each of the two name columns (device and local), which
    // share what the three others leave of the view; never below 0.
    static int NameColumnWidth(int viewWidth, int otherColumnsWidth);

    // The detail panes that show an element of a kind.
    enum class Panes { None, Elements, TimeEntries, Forecasts };
    static Panes PanesForKind(int kind);
    // Whether the element panes of a kind stop below the type line (an
    // activity, a rate or a favourite has no project-only fields).
    static bool ShortElementPanes(int kind);
};
