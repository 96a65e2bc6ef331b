#pragma once
#include <QRect>

class CProject;

// The project-tracking window's decisions that need no window: where the
// toolbar, the grid, the splitter and the chart stand, which commands are
// enabled and checked, and what a dragged node does over a row. The view
// asks them and only paints and routes events.
class ForecastViewRules
{
public:
    // ---- layout -----------------------------------------------------------
    static constexpr int SplitterWidth = 6;
    static constexpr int GridMinimum = 200;
    static constexpr double DefaultRatio = 0.70;

    struct tLayout
    {
        QRect toolbar;
        QRect grid;
        QRect splitter; // empty while the chart is hidden
        QRect chart;    // empty while the chart is hidden
        int minimum = 0; // the splitter's range
        int maximum = 0;
    };
    // The window's client area: the toolbar across the top at its height;
    // below it, with the chart shown, the border at width x ratio kept
    // within [200, width - 6] (the 200 yielding to a narrow window), the
    // splitter 6 pixels wide centred on it, the grid left of it and the
    // chart right of it; without the chart the grid takes the whole width.
    static tLayout Layout(int width, int height, int toolbarHeight, double ratio, bool chartShown);
    // The stored "Pos Splitter" in per cent as a ratio: above 100 counts as
    // 100; 0 or less is no usable value and gives the default.
    static double RatioFromSetting(int percent);
    static int RatioToSetting(double ratio);

    // ---- commands -----------------------------------------------------------
    // What the command states are computed from, read from the grid, the
    // chart and the selected node when they are asked.
    struct tViewState
    {
        bool rowSelected = false;  // a row other than the total row
        const CProject *node = nullptr; // its node (null for none)
        bool showActivities = true;
        int filterMode = 0;
        bool hideCompleted = false;
        bool hideInactive = false;
        int sortId = -1;
        bool chartShown = true;
        bool canZoomIn = false;
        bool canZoomOut = false;
    };
    struct tCommandState
    {
        bool enabled = false;
        bool checked = false;
        bool operator==(const tCommandState &other) const = default;
    };
    static tCommandState CommandState(int id, const tViewState &state);

    // The command ids of the view.
    enum Command : int {
        CmdColumns = 33005,
        CmdFilterMenu = 33003,
        CmdShowAll = 33006,
        CmdShowTicked = 33007,
        CmdTickRows = 33008,
        CmdHideCompleted = 33009,
        CmdHideInactive = 33038,
        CmdDefaultOrder = 33103,
        CmdFirstSort = 33104, // + column id 0..16
        CmdLastSort = 33120,
        CmdSelectChildren = 33136,
        CmdRefresh = 33033,
        CmdToggleChart = 33034,
        CmdZoomOut = 33035,
        CmdZoomIn = 33037,
        CmdNow = 33137,
        CmdAddProject = 32784,
        CmdAddActivity = 32785,
        CmdAddRate = 32787,
        CmdEdit = 32789,
        CmdDelete = 32791,
        CmdCopyProject = 33145,
        CmdResumeNow = 32997,
        CmdInitialise = 33060,
        CmdTypePlaceholder = 33081,
        CmdFirstType = 33082, // + type 0..5
        CmdLastType = 33090,
        CmdFirstStatus = 33061, // + Status 0..5
        CmdLastStatus = 33070,
        CmdFirstPriority = 33071, // + Priority 0..5
        CmdLastPriority = 33080,
        CmdManual = 33140,
        CmdAutomatic = 33141,
    };

    // ---- drag and drop ------------------------------------------------------
    // The effect of dropping `dragged` on the row of `target` (the total
    // row's node is the store's root): 0 none, 2 into, 8 / 16 before /
    // after, 32 into as a copy, 64 / 128 before / after as a copy. The same
    // answer rules the drag-over and the drop.
    static int DropEffect(const CProject *target, const CProject *dragged, bool onText, bool upperHalf, bool ctrl);
    // The drop's mode from the effect: 0 into the target, 1 before, 2 after.
    static int DropMode(int effect);
    static bool IsCopy(int effect) { return effect >= 32; }
};
