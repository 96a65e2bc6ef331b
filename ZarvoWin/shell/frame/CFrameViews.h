#pragma once
#include "CMainFrameViews.h"

class CChildFrame;
class CMainFrame;

// The panes and views of the running program as the main frame and the
// application reach them: the frame's own answer to CMainFrameViews, over
// the panes it holds. Each pane or view that comes to the frame adds its
// part here.
class CFrameViews : public CMainFrameViews
{
public:
    explicit CFrameViews(CMainFrame &frame);

    // The calendar pane shows the date, without taking it for a user's pick.
    void SelectCalendarDate(const QDate &date) override;
    // The calendar pane, the toolbar's date picker and the calendar window
    // start their weeks on the configured first day again.
    void ReloadDayNames() override;

    // The calendar window: its shown view reloaded after a change, its
    // running entry's box grown by the timer, its view type, its week moved
    // with the current date. After a change the active report is checked
    // once the program is back in its event loop, when every notice of
    // the change has come.
    void RefreshActiveViews() override;
    void OnDatabaseChanged() override;
    void RefreshRunningTask() override;
    int CalendarViewType() const override;
    void SetCalendarViewType(int viewType) override;
    void ShiftWeek(int days) override;
    // The report windows: the active one checks the database for a change,
    // every one takes the texts of the interface language.
    void CheckActiveReport() override;
    void RefreshReportLabels() override;
    void RelayoutPreviews() override;

    // The forecast window refreshes (its reload re-reads the project model);
    // without one, a reload re-reads the model here, so that the project
    // pane rebuilt next shows the change.
    void RefreshForecast(bool reload, bool keepScroll) override;
    void RefreshForecastOnTimer() override;
    // The forecast window's chart: the current user's zoom level, or a
    // week a centimetre.
    void ReloadForecastZoom() override;
    void ZoomForecastToWeek() override;
    bool ForecastHidesCompleted() const override;

    // The project, task and report panes.
    void ReloadProjectsBranch() override;
    void ReloadActivitiesBranch() override;
    void ReloadRatesBranch() override;
    void RefreshProjectItem(int projectId) override;
    void ReloadProjectTree() override;
    void RefreshTaskPane() override;
    void RefillReportPane(bool keepViewState) override;
    void SaveTreeStates() override;
    // Their trees take the image list of the big-icons option again.
    void ReloadToolbarImages() override;

private:
    CChildFrame *Calendar() const;

    CMainFrame &m_frame;
    bool m_reportCheckQueued = false;
};
