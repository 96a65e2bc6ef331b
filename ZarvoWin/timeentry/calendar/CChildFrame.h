#pragma once
#include "CViewCommandTarget.h"

#include <QMdiSubWindow>

class CCalendarCtrl;
class CTimeEntryHost;
class CWeekCtrl;
class QStackedWidget;

// The calendar window, the program's main document: a window of the main
// frame's document area holding the week and day view and the month view,
// one shown at a time. The view type (1 day, 2 week, 3 month) is kept in
// the settings ("Misc" "View") from one run to the next. The user cannot
// close it; it lives as long as the main frame. Both views keep their
// zoom, scroll position and selection while the other one is shown.
class CChildFrame : public QMdiSubWindow, public CViewCommandTarget
{
    Q_OBJECT
public:
    static constexpr int DayView = 1;
    static constexpr int WeekView = 2;
    static constexpr int MonthView = 3;

    explicit CChildFrame(CTimeEntryHost &host, QWidget *parent = nullptr);
    ~CChildFrame() override;

    // Shows the view of `type` (an unknown type shows the week); nothing
    // happens when it is already shown, unless forced. The week re-aligns
    // on the current date when the week view is chosen.
    void SetViewType(int type, bool force = false);
    int ViewType() const { return m_viewType; }
    // The 30-second refresh of the running entry: the running entry's box
    // grows without reading the database.
    void RefreshRunningTask();
    // After the options changed: the week re-aligns on the first day of the
    // week; the day view is left as it is.
    void ReloadView();
    // Reloads the shown view (a change of date or data).
    void ReloadShownView();
    // Moves the shown days of the week and day view.
    void ShiftDays(int n);
    // Another database became current (a user switch, a restore, a
    // network update): no entry of the previous one stays selected, copied,
    // hovered or held in a drag. The caller reloads the views afterwards.
    void OnDatabaseChanged();

    CWeekCtrl *Week() const { return m_week; }
    CCalendarCtrl *Month() const { return m_month; }
    QWidget *ShownView() const;

    // The commands of the shown view.
    bool HandlesCommand(int id) const override;
    bool IsCommandEnabled(int id) const override;
    void OnCommand(int id) override;

    // The view type read from the settings: 1 to 3, else the week.
    static int StoredViewType();

protected:
    void closeEvent(QCloseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    bool event(QEvent *event) override;

private:
    CViewCommandTarget *ShownTarget() const;
    void ShowTitleOf(QWidget *view);
    void OnViewTitle(QWidget *view, const QString &title);

    CTimeEntryHost &m_host;
    QStackedWidget *m_stack = nullptr;
    CWeekCtrl *m_week = nullptr;
    CCalendarCtrl *m_month = nullptr;
    int m_viewType = WeekView;
};
