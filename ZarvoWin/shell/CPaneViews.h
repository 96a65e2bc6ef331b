#pragma once
#include "CMainFrameViews.h"

class CMainFrame;

// What the main frame asks of its project, task and report panes, passed
// to them; the views of other windows keep the defaults until they are
// built.
class CPaneViews : public CMainFrameViews
{
public:
    explicit CPaneViews(CMainFrame &frame);

    // Until the forecast view refreshes itself (and its reload re-reads the
    // project model), a reload re-reads the model here, so that the project
    // pane rebuilt next shows the change.
    void RefreshForecast(bool reload, bool keepScroll) override;

    void ReloadProjectsBranch() override;
    void ReloadActivitiesBranch() override;
    void ReloadRatesBranch() override;
    void RefreshProjectItem(int projectId) override;
    void ReloadProjectTree() override;
    void RefreshTaskPane() override;
    void RefillReportPane(bool keepViewState) override;
    void SaveTreeStates() override;
    void ReloadToolbarImages() override;

private:
    CMainFrame &m_frame;
};
