#include "ForecastPlanningRules.h"

#include "CConfiguration.h"
#include "CDlgForecast.h"
#include "CProject.h"
#include "Formatter.h"
#include "Texts.h"

namespace {

constexpr Platform::TextId OneTask = 545;
constexpr Platform::TextId SeveralTasks = 22206;

} // namespace

int ForecastPlanningRules::StartType(bool wished, bool predecessors)
{
    if (wished && predecessors)
        return 3;
    if (wished)
        return 1;
    return predecessors ? 2 : 0;
}

qint64 ForecastPlanningRules::TotalFromProgress(int percent, qint64 doneWithExtra)
{
    if (percent <= 0)
        return 0;
    percent = qMin(percent, 100);
    return doneWithExtra * 100 / percent;
}

ForecastPlanningRules::tFigures ForecastPlanningRules::Figures(const CProject &node, const CConfiguration &config)
{
    tFigures figures;
    const bool inDays = node.Forecast().bJours;
    const auto text = [&config, inDays](qint64 seconds) { return config.FormatDurationInDays(seconds, inDays); };
    figures.plannedWork = node.GetPlannedWork();
    figures.planned = text(figures.plannedWork);
    if (!node.Children().empty()) {
        qint64 children = 0;
        for (const CProject *child : node.Children())
            children += child->GetExpectedWork();
        figures.showChildren = true;
        if (children > 0)
            figures.childrenExpected = text(children);
    }
    figures.done = text(node.GetDoneWork(false));
    figures.doneWork = node.GetDoneWork(true);
    figures.doneWithExtra = text(figures.doneWork);
    const int tasks = node.GetTaskCount();
    if (tasks == 1)
        figures.taskCount = Platform::Texts::get(OneTask);
    else if (tasks > 1)
        figures.taskCount = Platform::Formatter::sprintf(Platform::Texts::get(SeveralTasks), {tasks});
    figures.expectedWork = node.GetExpectedWork();
    if (figures.expectedWork != 0)
        figures.expected = text(figures.expectedWork);
    const qint64 remaining = figures.expectedWork - figures.doneWork;
    if (remaining >= 0)
        figures.remaining = text(remaining);
    figures.progress = CDlgForecast::CompletionPercent(figures.doneWork, node.GetEstimatedTotal());
    return figures;
}

ForecastPlanningRules::tControlStates ForecastPlanningRules::ControlStates(const CProject &node, bool alertChecked)
{
    tControlStates states;
    const tForecast &f = node.Forecast();
    const bool parentOfOthers = !node.Children().empty();
    states.modeEnabled = parentOfOthers;
    if (parentOfOthers && f.bModeAuto) {
        states.wishedCheckEnabled = false;
        states.startPickers = false;
        states.asap = false;
        states.plannedEditable = false;
        states.progressEditable = false;
        states.extraRow = false;
    } else {
        states.startPickers = StartIsWished(f.TypeDateDebut);
        states.asap = !states.startPickers;
        states.progressEditable = !node.IsCompleted();
    }
    states.endPickers = f.TypeDateFin != 0;
    states.alertPickers = alertChecked;
    return states;
}
