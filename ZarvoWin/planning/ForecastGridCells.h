#pragma once
#include <QString>

class CConfiguration;
class CProject;

// What the cells of the project-tracking grid show, without a window:
// each column's text for a node, the status a node shows, a row's image,
// where a row's name starts, the widths a column fits into, and how a
// progress bar fills its cell.
class ForecastGridCells
{
public:
    // Texts longer than this are cut and end with "...".
    static constexpr int MaxCellText = 252;

    // The text of column `id` for a node; the total row (whose node is the
    // store's root) shows only its name (0), the done work (11) and the
    // task count (15) of all projects. Line breaks are removed and a text
    // longer than 252 characters is cut to 252 followed by "...". Dates
    // and durations follow the settings object (the application's, or the
    // defaults without one).
    static QString CellText(int id, const CProject &node, bool totalRow);
    static QString CellText(int id, const CProject &node, bool totalRow, const CConfiguration &config);

    // The status a node shows: 5 inactive, else 4 completed (both also
    // through an ancestor), else its own status, where "automatic" (1)
    // shows 3 "in progress" once work was done and 2 "waiting" before; 0
    // for none.
    static int ShownStatus(const CProject &node);
    static QString StatusName(int status);
    static QString PriorityName(int priority);
    // Images of the priority and status list: priority p is image p - 1,
    // shown status s image s + 4.
    static int PriorityImage(int priority) { return priority - 1; }
    static int StatusImage(int status) { return status + 4; }

    // The image of a row in the application's small image list: the total
    // row's open folder (1) while expanded, closed (0) while collapsed; a
    // project's type; 16 for an activity.
    static int ItemImage(const CProject &node, bool totalRow, bool collapsed);

    // Where a row's name starts: indented by its depth, after the node's
    // image, the check image (when rows are ticked) and the running-task
    // image, 2 pixels on.
    static int TextStart(int rowLeft, int depth, int indent, bool image, bool checkImage, bool running);
    // The width a divider's double click gives a column: the widest of the
    // start width and the widest cell, at most 300, plus 20 for the name
    // column or 10 for any other.
    static int AutoFitWidth(int startWidth, int widestCell, bool nameColumn);

    // How a progress bar of `width` pixels shows a value: the gradient is
    // drawn from x = -shift (its left part falls outside the cell) up to
    // gradientEnd; the window colour fills from there to windowEnd, and the
    // last colour from windowEnd to the end. Up to 1 the gradient shows the
    // value's share and the window colour the rest; above 1 (at most 2 is
    // shown) the gradient moves left by the excess and the last colour
    // takes its place at the right.
    struct tProgressBar
    {
        int shift = 0;
        int gradientEnd = 0;
        int windowEnd = 0;
    };
    static tProgressBar ProgressBar(double value, int width);
    // Where the gradient turns from the first to the second colour pair:
    // `mid` per cent of the width (mid clamped to 0..100).
    static int GradientSplit(int width, int mid);
    // Whether a progress value is drawn at all (above 0, not "no value").
    static bool HasProgress(double value);
};
