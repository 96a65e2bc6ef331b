#pragma once
#include "CMainFrameViews.h"

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
    // The calendar pane and the toolbar's date picker start their weeks on
    // the configured first day again.
    void ReloadDayNames() override;

private:
    CMainFrame &m_frame;
};
