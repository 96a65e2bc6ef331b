#include "CPaneViews.h"

#include "ApplicationImages.h"
#include "CBdD.h"
#include "CMainFrame.h"
#include "CPaneProject.h"
#include "CPaneReport.h"
#include "CPaneTask.h"
#include "CViewTree.h"

namespace {

template <typename Pane>
Pane *pane(CMainFrame &frame)
{
    return qobject_cast<Pane *>(frame.Pane(Pane::PaneNumber));
}

} // namespace

CPaneViews::CPaneViews(CMainFrame &frame)
    : m_frame(frame)
{
}

void CPaneViews::RefreshForecast(bool reload, bool keepScroll)
{
    (void)keepScroll;
    if (!reload)
        return;
    CBdD db;
    db.LoadProjects(-1, nullptr);
}

void CPaneViews::ReloadProjectsBranch()
{
    if (auto *p = pane<CPaneProject>(m_frame))
        p->ReloadBranch(true);
}

void CPaneViews::ReloadActivitiesBranch()
{
    if (auto *p = pane<CPaneProject>(m_frame))
        p->ReloadBranch(false);
}

void CPaneViews::ReloadRatesBranch()
{
    if (auto *p = pane<CPaneProject>(m_frame))
        p->ReloadRates();
}

void CPaneViews::RefreshProjectItem(int projectId)
{
    if (auto *p = pane<CPaneProject>(m_frame))
        p->RefreshProjectItem(projectId);
}

void CPaneViews::ReloadProjectTree()
{
    if (auto *p = pane<CPaneProject>(m_frame))
        p->FillTree();
}

void CPaneViews::RefreshTaskPane()
{
    if (auto *p = pane<CPaneTask>(m_frame))
        p->Refresh(true, true);
}

void CPaneViews::RefillReportPane(bool keepViewState)
{
    if (auto *p = pane<CPaneReport>(m_frame))
        p->FillTree(keepViewState);
}

void CPaneViews::SaveTreeStates()
{
    if (auto *p = pane<CPaneProject>(m_frame)) {
        p->SaveTreeState();
        p->WriteTreeState();
    }
    if (auto *p = pane<CPaneTask>(m_frame))
        p->SaveStateForSwitch();
}

void CPaneViews::ReloadToolbarImages()
{
    for (int id : {CPaneProject::PaneNumber, CPaneTask::PaneNumber, CPaneReport::PaneNumber}) {
        if (CMyDockablePane *p = m_frame.Pane(id))
            SetPaneTreeImageList(p->findChild<CViewTree *>());
    }
}
