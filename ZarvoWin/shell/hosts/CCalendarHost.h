#pragma once
#include "CTimeEntryHost.h"

#include <QObject>
#include <QPointer>

class CChildFrame;
class CMainFrame;
class CZarvoWinApp;

// What the calendar window asks of the application, forwarded to the
// application object and the main frame; it keeps the selected entry that
// the week and month views share. It lives as a child of the main frame,
// so it outlasts the calendar window inside it.
class CCalendarHost : public QObject, public CTimeEntryHost
{
    Q_OBJECT
public:
    CCalendarHost(CZarvoWinApp &app, CMainFrame &frame);

    // Opens the calendar window as the frame's main document and connects
    // the entry commands of the main menu and toolbar to it.
    static CChildFrame *OpenCalendar(CZarvoWinApp &app);

    QDate CurrentDate() const override;
    void SetCurrentDate(const QDate &date, bool reload) override;
    int RunningEntryId() const override;
    qint64 RunningEntryStart() const override;
    CDayCache &DayCache() override;
    int SelectedEntryId() const override { return m_selectedId; }
    void SetSelectedEntryId(int id) override;
    void RefreshViews() override;
    void ShowDayView() override;
    void ShowStatusText(const QString &text) override;
    bool OpenEntryDialog(tTacheFull &entry, int mode) override;
    int ChooseOverlapResolution(const std::vector<tTacheFull> &entries) override;
    void StartTask(const tTacheFull &entry, int favoriteId) override;
    void PauseTask() override;

    // The entry commands of the frame follow the calendar's state.
    void UpdateCommandStates();

private:
    CZarvoWinApp &m_app;
    CMainFrame &m_frame;
    QPointer<CChildFrame> m_calendar;
    int m_selectedId = -1;
};
