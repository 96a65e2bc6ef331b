#include "ForecastViewRules.h"

#include "CProject.h"

#include <QtGlobal>
#include <cmath>

ForecastViewRules::tLayout ForecastViewRules::Layout(int width, int height, int toolbarHeight, double ratio,
                                                     bool chartShown)
{
    tLayout layout;
    width = qMax(0, width);
    height = qMax(0, height);
    toolbarHeight = qBound(0, toolbarHeight, height);
    layout.toolbar = QRect(0, 0, width, toolbarHeight);
    const int top = toolbarHeight;
    const int rest = height - toolbarHeight;
    if (!chartShown) {
        layout.grid = QRect(0, top, width, rest);
        return layout;
    }
    layout.minimum = GridMinimum;
    layout.maximum = width - SplitterWidth;
    // The maximum wins over the minimum: a narrow window keeps a sliver of
    // chart rather than pushing the splitter out of it.
    int x = int(width * ratio);
    x = qMax(x, GridMinimum);
    x = qMin(x, width - SplitterWidth);
    const int half = SplitterWidth / 2;
    layout.splitter = QRect(x - half, top, SplitterWidth, rest);
    layout.grid = QRect(0, top, qMax(0, x - half), rest);
    layout.chart = QRect(x + half, top, qMax(0, width - (x + half)), rest);
    return layout;
}

double ForecastViewRules::RatioFromSetting(int percent)
{
    if (percent <= 0)
        return DefaultRatio;
    return qMin(percent, 100) / 100.0;
}

int ForecastViewRules::RatioToSetting(double ratio)
{
    return qBound(0, int(ratio * 100), 100);
}

ForecastViewRules::tCommandState ForecastViewRules::CommandState(int id, const tViewState &state)
{
    const CProject *node = state.node;
    const bool row = state.rowSelected && node;
    const bool parentOfOthers = node && !node->Children().empty();
    switch (id) {
    case CmdShowAll:
    case CmdShowTicked:
    case CmdTickRows:
        return {true, state.filterMode == id - CmdShowAll};
    case CmdHideCompleted:
        return {true, state.hideCompleted};
    case CmdHideInactive:
        return {true, state.hideInactive};
    case CmdColumns:
    case CmdFilterMenu:
    case CmdSelectChildren:
    case CmdRefresh:
    case CmdToggleChart:
    case CmdAddProject:
    case CmdInitialise:
        return {true, id == CmdToggleChart && state.chartShown};
    case CmdZoomOut:
        return {state.chartShown && state.canZoomOut, false};
    case CmdZoomIn:
        return {state.chartShown && state.canZoomIn, false};
    case CmdNow:
        return {state.chartShown, false};
    case CmdAddActivity:
        return {state.showActivities, false};
    case CmdEdit:
    case CmdDelete:
    case CmdResumeNow:
        return {row, false};
    case CmdCopyProject:
        return {row && !node->IsActivity(), false};
    case CmdManual:
        return {parentOfOthers, parentOfOthers && !node->Forecast().bModeAuto};
    case CmdAutomatic:
        return {parentOfOthers, parentOfOthers && node->Forecast().bModeAuto};
    default:
        break;
    }
    if (id >= CmdDefaultOrder && id <= CmdLastSort) {
        const int sortId = state.sortId >= 0 && state.sortId <= 16 ? state.sortId : -1;
        return {true, id - CmdFirstSort == sortId};
    }
    if (id >= CmdTypePlaceholder && id <= CmdLastType) {
        if (!node)
            return {false, false};
        if (node->IsActivity())
            return {true, id == CmdTypePlaceholder};
        return {true, id - CmdFirstType == node->Element().Type};
    }
    if (id >= CmdFirstStatus && id <= CmdLastStatus) {
        if (!node)
            return {false, false};
        const int status = node->Forecast().Status;
        // A status that an ancestor imposes cannot be changed here.
        const bool inherited = (node->IsCompleted() && status != tForecast::StatusCompleted)
                               || (node->IsInactive() && status != tForecast::StatusInactive);
        return {!inherited, id - CmdFirstStatus == status};
    }
    if (id >= CmdFirstPriority && id <= CmdLastPriority) {
        if (!node)
            return {false, false};
        return {true, id - CmdFirstPriority == node->Forecast().Priority};
    }
    return {false, false};
}

int ForecastViewRules::DropEffect(const CProject *target, const CProject *dragged, bool onText, bool upperHalf,
                                  bool ctrl)
{
    if (!target || !dragged || dragged->IsRoot())
        return 0;
    const bool draggedProject = !dragged->IsActivity();
    if (target->IsRoot()) {
        // The total row: to the top level.
        if (!draggedProject)
            return 0;
        if (ctrl)
            return 32;
        return dragged->IsTopLevel() ? 0 : 2;
    }
    if (target == dragged)
        return draggedProject && onText && ctrl ? (upperHalf ? 64 : 128) : 0;
    if (draggedProject) {
        if (target->HasAncestor(dragged))
            return 0;
        if (onText) {
            if (ctrl)
                return upperHalf ? 64 : 128;
            return upperHalf ? 8 : 16;
        }
        if (target->IsActivity())
            return 0;
        if (ctrl)
            return 32;
        return target != dragged->GetParent() ? 2 : 0;
    }
    // An activity row moves among its project's rows only.
    if (onText && target->GetParent() == dragged->GetParent())
        return upperHalf ? 8 : 16;
    return 0;
}

int ForecastViewRules::DropMode(int effect)
{
    switch (effect) {
    case 8:
    case 64:
        return 1;
    case 16:
    case 128:
        return 2;
    default:
        return 0;
    }
}
