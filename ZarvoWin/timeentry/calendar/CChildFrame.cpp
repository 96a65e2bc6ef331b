#include "CChildFrame.h"

#include "CCalendarCtrl.h"
#include "CTimeEntryHost.h"
#include "CWeekCtrl.h"
#include "Settings.h"
#include "WeekPictures.h"

#include <QCloseEvent>
#include <QStackedWidget>
#include <QStatusTipEvent>

CChildFrame::CChildFrame(CTimeEntryHost &host, QWidget *parent)
    : QMdiSubWindow(parent), m_host(host)
{
    setWindowIcon(WeekPictures::FrameIcon());
    // The frame has no system menu of its own: it cannot be closed.
    setSystemMenu(nullptr);
    m_stack = new QStackedWidget(this);
    m_month = new CCalendarCtrl(host, m_stack);
    m_week = new CWeekCtrl(host, m_stack);
    m_stack->addWidget(m_month);
    m_stack->addWidget(m_week);
    setWidget(m_stack);
    connect(m_week, &CWeekCtrl::titleChanged, this, [this](const QString &title) { OnViewTitle(m_week, title); });
    connect(m_month, &CCalendarCtrl::titleChanged, this,
            [this](const QString &title) { OnViewTitle(m_month, title); });
    SetViewType(StoredViewType(), true);
}

CChildFrame::~CChildFrame()
{
    Platform::Settings().setInt(u"Misc", u"", u"View", m_viewType);
}

int CChildFrame::StoredViewType()
{
    const int stored = Platform::Settings().getInt(u"Misc", u"", u"View", WeekView);
    return stored >= DayView && stored <= MonthView ? stored : WeekView;
}

QWidget *CChildFrame::ShownView() const
{
    return m_stack->currentWidget();
}

void CChildFrame::SetViewType(int type, bool force)
{
    if (type < DayView || type > MonthView)
        type = WeekView;
    if (!force && type == m_viewType)
        return;
    m_viewType = type;
    if (type == MonthView) {
        m_stack->setCurrentWidget(m_month);
    } else {
        m_week->SetWeekMode(type == WeekView);
        if (type == WeekView)
            m_week->ForgetFirstDay();
        m_stack->setCurrentWidget(m_week);
    }
    ReloadShownView();
    ShowTitleOf(ShownView());
}

void CChildFrame::OnViewTitle(QWidget *view, const QString &title)
{
    if (ShownView() == view && windowTitle() != title)
        setWindowTitle(title);
}

void CChildFrame::ShowTitleOf(QWidget *view)
{
    const QString title = view == m_week ? m_week->Title() : m_month->Title();
    if (!title.isEmpty())
        setWindowTitle(title);
}

void CChildFrame::ReloadShownView()
{
    if (m_viewType == MonthView)
        m_month->Reload();
    else
        m_week->Reload();
}

void CChildFrame::ShiftDays(int n)
{
    if (m_viewType != MonthView)
        m_week->ShiftDays(n);
}

void CChildFrame::OnDatabaseChanged()
{
    m_week->OnDatabaseChanged();
    m_month->ShowEntryTip(nullptr);
    // Last: the commands that follow the selection see the clipboard gone.
    m_host.SetSelectedEntryId(-1);
}

void CChildFrame::RefreshRunningTask()
{
    if (m_viewType == MonthView) {
        m_month->RefreshRunningEntry();
        return;
    }
    if (m_week->IsRunningEntryVisible())
        m_week->MarkDirty();
}

void CChildFrame::ReloadView()
{
    if (m_viewType == MonthView) {
        m_month->Reload();
        return;
    }
    if (m_week->WeekMode()) {
        m_week->ForgetFirstDay();
        m_week->Reload();
    }
}

CViewCommandTarget *CChildFrame::ShownTarget() const
{
    return dynamic_cast<CViewCommandTarget *>(ShownView());
}

bool CChildFrame::HandlesCommand(int id) const
{
    const CViewCommandTarget *target = ShownTarget();
    return target && target->HandlesCommand(id);
}

bool CChildFrame::IsCommandEnabled(int id) const
{
    const CViewCommandTarget *target = ShownTarget();
    return target && target->HandlesCommand(id) && target->IsCommandEnabled(id);
}

void CChildFrame::OnCommand(int id)
{
    if (CViewCommandTarget *target = ShownTarget(); target && target->HandlesCommand(id))
        target->OnCommand(id);
}

void CChildFrame::closeEvent(QCloseEvent *event)
{
    // The calendar stays open for the program's whole run.
    event->ignore();
}

void CChildFrame::focusInEvent(QFocusEvent *event)
{
    QMdiSubWindow::focusInEvent(event);
    if (QWidget *view = ShownView())
        view->setFocus(event->reason());
}

bool CChildFrame::event(QEvent *event)
{
    if (event->type() == QEvent::StatusTip) {
        // A prompt of the calendar's widgets, or the idle text when empty.
        m_host.ShowStatusText(static_cast<QStatusTipEvent *>(event)->tip());
        return true;
    }
    return QMdiSubWindow::event(event);
}
