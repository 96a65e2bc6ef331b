#include "CFrameViews.h"

#include "CFirstDayOfWeek.h"
#include "CMainFrame.h"
#include "CMyMFCToolBarDateTimeCtrl.h"
#include "CPaneCalendar.h"

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
}
