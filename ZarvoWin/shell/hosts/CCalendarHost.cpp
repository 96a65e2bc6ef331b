#include "CCalendarHost.h"

#include "CChildFrame.h"
#include "CCommandTable.h"
#include "CDlgInsertion.h"
#include "CDlgTask.h"
#include "CMainFrame.h"
#include "CZarvoWinApp.h"

#include <QMdiArea>
#include <QTabBar>

namespace {

// The entry commands of the main menu and toolbar that the calendar's
// shown view takes.
constexpr int CalendarCommands[] = {32900, 32902, 32904, 32910, 32912};

} // namespace

CCalendarHost::CCalendarHost(CZarvoWinApp &app, CMainFrame &frame)
    : QObject(&frame), m_app(app), m_frame(frame)
{
}

CChildFrame *CCalendarHost::OpenCalendar(CZarvoWinApp &app)
{
    CMainFrame *frame = app.MainFrame();
    if (!frame)
        return nullptr;
    auto *host = new CCalendarHost(app, *frame);
    auto *calendar = new CChildFrame(*host);
    host->m_calendar = calendar;
    QMdiArea *area = frame->MdiArea();
    area->addSubWindow(calendar);
    calendar->showMaximized();
    // The calendar is never closed: its tab has no close button.
    if (auto *tabs = area->findChild<QTabBar *>()) {
        const int index = int(area->subWindowList().indexOf(calendar));
        if (index >= 0 && index < tabs->count())
            tabs->setTabButton(index, QTabBar::RightSide, nullptr);
    }
    frame->SetCalendarFrame(calendar);
    CCommandTable &commands = frame->Commands();
    for (int id : CalendarCommands) {
        commands.SetHandler(id, [host, id] {
            if (host->m_calendar && host->m_calendar->IsCommandEnabled(id))
                host->m_calendar->OnCommand(id);
            host->UpdateCommandStates();
        });
    }
    host->UpdateCommandStates();
    // The view commands come alive with the window.
    app.UpdateCommandStates();
    return calendar;
}

void CCalendarHost::UpdateCommandStates()
{
    CCommandTable &commands = m_frame.Commands();
    for (int id : CalendarCommands)
        commands.SetEnabled(id, m_calendar && m_calendar->IsCommandEnabled(id));
}

QDate CCalendarHost::CurrentDate() const
{
    return m_app.CurrentDate();
}

void CCalendarHost::SetCurrentDate(const QDate &date, bool reload)
{
    m_app.SetCurrentDate(date, reload);
}

int CCalendarHost::RunningEntryId() const
{
    return m_app.CurrentEntry().Entry.Id;
}

qint64 CCalendarHost::RunningEntryStart() const
{
    return m_app.CurrentEntry().Entry.Debut;
}

CDayCache &CCalendarHost::DayCache()
{
    return m_app.DayCache();
}

void CCalendarHost::SetSelectedEntryId(int id)
{
    m_selectedId = id;
    UpdateCommandStates();
}

void CCalendarHost::RefreshViews()
{
    m_app.RefreshViews();
    UpdateCommandStates();
}

void CCalendarHost::ShowDayView()
{
    m_app.SetViewType(CChildFrame::DayView);
}

void CCalendarHost::ShowStatusText(const QString &text)
{
    m_frame.ShowStatusText(text);
}

bool CCalendarHost::OpenEntryDialog(tTacheFull &entry, int mode)
{
    CDlgTask dialog(mode == DeleteEntry ? CDlgTask::DeleteMode : CDlgTask::EditMode, &entry, m_app.MainWindow());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    entry = dialog.Entry();
    return true;
}

int CCalendarHost::ChooseOverlapResolution(const std::vector<tTacheFull> &entries)
{
    switch (CDlgInsertion::Ask(entries, m_app.MainWindow())) {
    case CDlgInsertion::OthersGiveWay: return OthersGiveWay;
    case CDlgInsertion::FitIntoFreeTime: return FitIntoFreeTime;
    default: return Cancelled;
    }
}

void CCalendarHost::StartTask(const tTacheFull &entry, int favoriteId)
{
    m_app.StartTask(entry, favoriteId);
}

void CCalendarHost::PauseTask()
{
    m_app.OnPause();
}
