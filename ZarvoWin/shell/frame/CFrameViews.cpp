#include "CFrameViews.h"

#include "ApplicationImages.h"
#include "CBdD.h"
#include "CChildFrame.h"
#include "CFirstDayOfWeek.h"
#include "CMainFrame.h"
#include "CMyMFCToolBarDateTimeCtrl.h"
#include "CPaneCalendar.h"
#include "CPaneProject.h"
#include "CPaneReport.h"
#include "CPaneTask.h"
#include "CReportFrame.h"
#include "CReportView.h"

#include <QMdiArea>
#include <QTimer>
#include "CViewTree.h"

namespace {

template <typename Pane>
Pane *pane(CMainFrame &frame)
{
    return qobject_cast<Pane *>(frame.Pane(Pane::PaneNumber));
}

} // namespace

CFrameViews::CFrameViews(CMainFrame &frame)
    : m_frame(frame)
{
}

void CFrameViews::SelectCalendarDate(const QDate &date)
{
    if (CPaneCalendar *calendar = m_frame.CalendarPane())
        calendar->SelectDate(date);
}

void CFrameViews::ReloadDayNames()
{
    if (CPaneCalendar *calendar = m_frame.CalendarPane())
        calendar->ApplyFirstDayOfWeek();
    if (CMyMFCToolBarDateTimeCtrl *picker = m_frame.DatePicker())
        picker->SetFirstDayOfWeek(CFirstDayOfWeek::Configured());
    if (CChildFrame *calendar = Calendar())
        calendar->ReloadView();
}

CChildFrame *CFrameViews::Calendar() const
{
    return qobject_cast<CChildFrame *>(m_frame.CalendarFrame());
}

void CFrameViews::RefreshActiveViews()
{
    if (CChildFrame *calendar = Calendar())
        calendar->ReloadShownView();
    // One change may come as several notices sent one after the other (a
    // copied project announces the project tree twice): the report asks
    // once they have all come, so that one answer covers the whole change.
    if (m_reportCheckQueued)
        return;
    m_reportCheckQueued = true;
    QTimer::singleShot(0, &m_frame, [this] {
        m_reportCheckQueued = false;
        CheckActiveReport();
    });
}

void CFrameViews::CheckActiveReport()
{
    QMdiArea *area = m_frame.MdiArea();
    if (auto *report = qobject_cast<CReportFrame *>(area ? area->currentSubWindow() : nullptr))
        report->CheckForDataChange();
}

void CFrameViews::RefreshReportLabels()
{
    for (CReportFrame *report : CReportFrame::AllFrames())
        report->View()->RefreshLabels();
}

void CFrameViews::RelayoutPreviews()
{
    for (CReportFrame *report : CReportFrame::AllFrames())
        report->View()->LayOutPages();
}

void CFrameViews::OnDatabaseChanged()
{
    if (CChildFrame *calendar = Calendar())
        calendar->OnDatabaseChanged();
}

void CFrameViews::RefreshRunningTask()
{
    if (CChildFrame *calendar = Calendar())
        calendar->RefreshRunningTask();
}

int CFrameViews::CalendarViewType() const
{
    const CChildFrame *calendar = Calendar();
    return calendar ? calendar->ViewType() : 0;
}

void CFrameViews::SetCalendarViewType(int viewType)
{
    if (CChildFrame *calendar = Calendar())
        calendar->SetViewType(viewType);
}

void CFrameViews::ShiftWeek(int days)
{
    if (CChildFrame *calendar = Calendar())
        calendar->ShiftDays(days);
}

void CFrameViews::RefreshForecast(bool reload, bool keepScroll)
{
    if (m_frame.ForecastParts().refresh) {
        m_frame.ForecastParts().refresh(reload, false, false, keepScroll);
        return;
    }
    if (!reload)
        return;
    CBdD db;
    db.LoadProjects(-1, nullptr);
}

void CFrameViews::RefreshForecastOnTimer()
{
    if (m_frame.ForecastParts().refreshOnTimer)
        m_frame.ForecastParts().refreshOnTimer();
    else
        m_frame.RefreshForecastWindow(false, false, false, true);
}

bool CFrameViews::ForecastHidesCompleted() const
{
    return m_frame.ForecastParts().hidesCompleted && m_frame.ForecastParts().hidesCompleted();
}

void CFrameViews::ReloadForecastZoom()
{
    if (m_frame.ForecastParts().reloadZoom)
        m_frame.ForecastParts().reloadZoom();
}

void CFrameViews::ZoomForecastToWeek()
{
    if (m_frame.ForecastParts().zoomToWeek)
        m_frame.ForecastParts().zoomToWeek();
}

void CFrameViews::ReloadProjectsBranch()
{
    if (auto *p = pane<CPaneProject>(m_frame))
        p->ReloadBranch(true);
}

void CFrameViews::ReloadActivitiesBranch()
{
    if (auto *p = pane<CPaneProject>(m_frame))
        p->ReloadBranch(false);
}

void CFrameViews::ReloadRatesBranch()
{
    if (auto *p = pane<CPaneProject>(m_frame))
        p->ReloadRates();
}

void CFrameViews::RefreshProjectItem(int projectId)
{
    if (auto *p = pane<CPaneProject>(m_frame))
        p->RefreshProjectItem(projectId);
}

void CFrameViews::ReloadProjectTree()
{
    if (auto *p = pane<CPaneProject>(m_frame))
        p->FillTree();
}

void CFrameViews::RefreshTaskPane()
{
    if (auto *p = pane<CPaneTask>(m_frame))
        p->Refresh(true, true);
}

void CFrameViews::RefillReportPane(bool keepViewState)
{
    if (auto *p = pane<CPaneReport>(m_frame))
        p->FillTree(keepViewState);
}

void CFrameViews::SaveTreeStates()
{
    if (m_frame.ForecastParts().saveSettings)
        m_frame.ForecastParts().saveSettings();
    if (auto *p = pane<CPaneProject>(m_frame)) {
        p->SaveTreeState();
        p->WriteTreeState();
    }
    if (auto *p = pane<CPaneTask>(m_frame))
        p->SaveStateForSwitch();
}

void CFrameViews::ReloadToolbarImages()
{
    for (int id : {CPaneProject::PaneNumber, CPaneTask::PaneNumber, CPaneReport::PaneNumber}) {
        if (CMyDockablePane *p = m_frame.Pane(id))
            SetPaneTreeImageList(p->findChild<CViewTree *>());
    }
}
