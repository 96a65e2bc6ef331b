#pragma once
#include <QDate>

// What the main frame asks of the panes and views it hosts when data
// changed or time passed. The shell implements it over the panes and views
// of the issues that build them; every call does nothing by default, so a
// part that is not built yet is skipped.
class CMainFrameViews
{
public:
    virtual ~CMainFrameViews() = default;

    // The forecast view: reload the project model, keep the grid's scroll.
    virtual void RefreshForecast(bool reload, bool keepScroll)
    {
        (void)reload;
        (void)keepScroll;
    }
    virtual void RefreshForecastOnTimer() {}
    // The project pane's branches and one project's item.
    virtual void ReloadProjectsBranch() {}
    virtual void ReloadActivitiesBranch() {}
    virtual void RefreshProjectItem(int projectId) { (void)projectId; }
    // The task pane, with its favourites and recent tasks.
    virtual void RefreshTaskPane() {}
    // The calendar window's shown view, then the active report window.
    virtual void RefreshActiveViews() {}
    // The calendar window repaints the running entry.
    virtual void RefreshRunningTask() {}
    // The active report window offers to build its report again when the
    // database changed since its last build.
    virtual void CheckActiveReport() {}
    // The calendar window's view type: 1 day, 2 week, 3 month; 0 without one.
    virtual int CalendarViewType() const { return 0; }
    virtual void SetCalendarViewType(int viewType) { (void)viewType; }
    // The calendar pane and the calendar window follow the current date;
    // the week control moves by `days` (not in the month view).
    virtual void SelectCalendarDate(const QDate &date) { (void)date; }
    virtual void ShiftWeek(int days) { (void)days; }
    // Another database became current: the calendar window lets go of the
    // entries of the previous one (selection, clipboard, drag).
    virtual void OnDatabaseChanged() {}
    // The rest of what a change of data or user reloads.
    virtual void ReloadRatesBranch() {}
    virtual void ReloadProjectTree() {}
    virtual void RefillReportPane(bool keepViewState) { (void)keepViewState; }
    virtual void ReloadForecastZoom() {}
    virtual void SaveTreeStates() {}
    // After a change of language or of the first day of the week.
    virtual void ReloadDayNames() {}
    virtual void RefreshReportLabels() {}
    virtual void RelayoutPreviews() {}
    virtual void ReloadToolbarImages() {}
    // The forecast view's one-week scale, and whether it hides the
    // completed projects.
    virtual void ZoomForecastToWeek() {}
    virtual bool ForecastHidesCompleted() const { return false; }
};
