// The application's commands: navigation, views, undo and redo, starting
// and pausing time entries, user switch, options, save as.
#include "CZarvoWinApp.h"

#include "CAnnulation.h"
#include "CAppData.h"
#include "CBdD.h"
#include "CCommandTable.h"
#include "CConfiguration.h"
#include "CDataChangedNotifier.h"
#include "CDatabaseFile.h"
#include "CDayCache.h"
#include "CMainFrame.h"
#include "CMainFrameViews.h"
#include "CMyMFCToolBarDateTimeCtrl.h"
#include "CPaneCommandTarget.h"
#include "CProjectStore.h"
#include "CUsers.h"
#include "ContextHelp.h"
#include "HelpTopics.h"
#include "Clock.h"
#include "Formatter.h"
#include "LocalTime.h"
#include "MessageBoxParams.h"
#include "RichMessageBox.h"
#include "Texts.h"
#include "tElement.h"
#include "UnattendedDialogs.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <sys/stat.h>

namespace {

// The wait cursor for the length of a command.
class WaitCursor
{
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

// A new entry running from now on the given ids.
tTacheFull newEntry(int project, int activity, int rate)
{
    tTacheFull entry;
    entry.IdProjet = project;
    entry.IdActivite = activity;
    entry.IdTauxHoraire = rate;
    entry.Debut = Platform::Clock::now();
    entry.Fin = 0;
    return entry;
}

// Whether two paths name one file (the same path, a symbolic or a hard link).
bool sameFile(const QString &a, const QString &b)
{
    struct stat sa{};
    struct stat sb{};
    if (::stat(QFile::encodeName(a).constData(), &sa) != 0 || ::stat(QFile::encodeName(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

constexpr int ViewCommands[] = {32800, 32801, 32802};

// The pane around the focused widget that takes `id`, if any.
CPaneCommandTarget *focusedTarget(int id)
{
    for (QWidget *w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        if (auto *target = dynamic_cast<CPaneCommandTarget *>(w); target && target->HandlesCommand(id))
            return target;
    }
    return nullptr;
}

} // namespace

CMainFrameViews *CZarvoWinApp::FrameViews() const
{
    CMainFrame *frame = MainFrame();
    return frame ? &frame->Views() : nullptr;
}

void CZarvoWinApp::ShowWriteFailure()
{
    ShowMessage(MessageBoxType::IconExclamation, Platform::Texts::get(173),
                Platform::Texts::get(226));
}

// ---------------------------------------------------------------------------
// The command table
// ---------------------------------------------------------------------------

void CZarvoWinApp::ConnectCommands(CCommandTable &commands)
{
    const auto on = [&commands](int id, std::function<void()> handler) { commands.SetHandler(id, std::move(handler)); };
    on(57664, [this] {
        if (m_openers.about)
            m_openers.about();
    });
    on(57600, [this] { OnNewReport(); });
    on(57670, [] { ContextHelp::Open(HelpTopics::ContentsTopic); });
    on(32816, [this] { OnToday(); });
    on(32784, [this] {
        if (m_openers.newProject && m_openers.newProject(-1))
            RefreshAfterChange(false, false);
    });
    on(32785, [this] {
        if (m_openers.newActivity && m_openers.newActivity())
            RefreshAfterChange(false, false);
    });
    on(32787, [this] {
        if (m_openers.newRate && m_openers.newRate())
            RefreshAfterChange(false, false);
    });
    on(32794, [this] { OnSyncDevice(); });
    on(32796, [this] { ShowOptions(0); });
    on(32800, [this] { SetViewType(1); });
    on(32801, [this] { SetViewType(2); });
    on(32802, [this] { SetViewType(3); });
    on(32849, [this] { MoveCurrentDate(-1); });
    on(32850, [this] { MoveCurrentDate(1); });
    on(32852, [this] { MoveCurrentDate(-7); });
    on(32856, [this] { MoveCurrentDate(7); });
    on(32854, [this] { MoveMonth(-1); });
    on(32858, [this] { MoveMonth(1); });
    on(32933, [this] {
        if (m_openers.updateCheck)
            m_openers.updateCheck();
    });
    on(32942, [this] { OnUndo(); });
    on(32943, [this] { OnRedo(); });
    on(32896, [this] {
        if (m_openers.backupList)
            m_openers.backupList();
    });
    on(32956, [this] { OnManageUsers(); });
    on(32959, [this] { OnSampleData(); });
    on(32977, [this] { OnRenameColumns(); });
    on(32938, [this] { OnAddTask(); });
    on(32921, [this] { OnPause(); });
    on(32920, [this] { OnResume(); });
    on(33138, [this] { OnSaveDatabaseAs(); });
    for (int id : {32789, 32791}) {
        on(id, [id] {
            if (CPaneCommandTarget *target = focusedTarget(id))
                target->OnCommand(id);
        });
    }
    QObject::connect(qApp, &QApplication::focusChanged, &commands, [&commands] {
        for (int id : {32789, 32791})
            commands.SetEnabled(id, focusedTarget(id) != nullptr);
    });

    auto *views = new QActionGroup(&commands);
    views->setExclusive(true);
    for (int id : ViewCommands) {
        commands.Action(id)->setCheckable(true);
        views->addAction(commands.Action(id));
    }
    QObject::connect(&CAppData::DataChangedNotifier(), &CDataChangedNotifier::dataChanged, &commands,
                     [this] { UpdateCommandStates(); });
    UpdateCommandStates();
}

void CZarvoWinApp::UpdateCommandStates()
{
    CMainFrame *frame = MainFrame();
    if (!frame)
        return;
    CCommandTable &commands = frame->Commands();
    commands.SetEnabled(32942, m_history->CanUndo());
    commands.SetEnabled(32943, m_history->CanRedo());
    int running = 0;
    {
        CBdD db;
        running = db.IsOpen() ? db.CountRunningEntries() : 0;
    }
    // A read that failed leaves both offered: the command tells the failure.
    commands.SetEnabled(32921, running > 0 || running == CBdD::ReadFailed);
    commands.SetEnabled(32920, running <= 0);

    const bool calendar = frame->CalendarFrame() != nullptr;
    const int viewType = calendar ? frame->Views().CalendarViewType() : 0;
    for (int i = 0; i < 3; ++i) {
        QAction *action = commands.Action(ViewCommands[i]);
        commands.SetEnabled(ViewCommands[i], calendar);
        if (viewType == i + 1) {
            action->setChecked(true);
        } else if (action->isChecked()) {
            // None checked without a calendar window.
            action->actionGroup()->setExclusive(false);
            action->setChecked(false);
            action->actionGroup()->setExclusive(true);
        }
    }
    const std::pair<int, bool> openers[] = {
        {57664, bool(m_openers.about)},         {32784, bool(m_openers.newProject)},
        {32785, bool(m_openers.newActivity)},   {32787, bool(m_openers.newRate)},
        {32794, bool(m_openers.syncDevice)},    {32796, bool(m_openers.options)},
        {32896, bool(m_openers.backupList)},    {32956, bool(m_openers.manageUsers)},
        {32959, bool(m_openers.sampleData)},    {32977, bool(m_openers.renameColumns)},
        {32938, bool(m_openers.entryDialog)},   {57600, bool(m_openers.reportFrame) && m_reportHooks.canMakeNew && m_reportHooks.canMakeNew()},
        {32933, bool(m_openers.updateCheck)},
    };
    for (const auto &[id, available] : openers)
        commands.SetEnabled(id, available);
    commands.SetEnabled(33138, m_users->Current() != nullptr);
    commands.SetEnabled(57670, ContextHelp::IsAvailable());
    for (int id : {32789, 32791})
        commands.SetEnabled(id, focusedTarget(id) != nullptr);
}

// ---------------------------------------------------------------------------
// Navigation and views
// ---------------------------------------------------------------------------

void CZarvoWinApp::SetCurrentDate(const QDate &date, bool reload)
{
    if (!date.isValid())
        return;
    m_currentDate = date;
    if (CMainFrame *frame = MainFrame()) {
        frame->Views().SelectCalendarDate(date);
        if (frame->DatePicker())
            frame->DatePicker()->SetTimeAll(date);
        if (reload && frame->CalendarFrame())
            frame->Views().RefreshActiveViews();
    }
}

void CZarvoWinApp::OnToday()
{
    SetCurrentDate(Platform::LocalTime::localDate(Platform::Clock::now()), true);
    BringCalendarForward();
}

void CZarvoWinApp::BringCalendarForward()
{
    CMainFrame *frame = MainFrame();
    QMdiSubWindow *calendar = frame ? frame->CalendarFrame() : nullptr;
    if (!calendar)
        return;
    // Its tab becomes the current one, scrolled into view in a full bar.
    frame->MdiArea()->setActiveSubWindow(calendar);
    // The focus goes with it: left in the window that was in front, it
    // would bring that window forward again when the main window is
    // activated (after a menu, for one).
    calendar->setFocus(Qt::OtherFocusReason);
}

void CZarvoWinApp::MoveCurrentDate(int days)
{
    m_currentDate = m_currentDate.addDays(days);
    if (CMainFrame *frame = MainFrame()) {
        frame->Views().SelectCalendarDate(m_currentDate);
        if (frame->DatePicker())
            frame->DatePicker()->SetTimeAll(m_currentDate);
        if (frame->Views().CalendarViewType() != 3)
            frame->Views().ShiftWeek(days);
    }
}

void CZarvoWinApp::MoveMonth(int direction)
{
    SetCurrentDate(CCommandRules::MonthStep(m_currentDate, direction), true);
}

void CZarvoWinApp::GoToDate(const QDate &date, QWidget *callingReport)
{
    SetCurrentDate(date, true);
    m_callingReport = callingReport;
    BringCalendarForward();
    if (CMainFrame *frame = MainFrame())
        frame->UpdateToolBarForActiveView();
}

void CZarvoWinApp::SetViewType(int viewType)
{
    CMainFrame *frame = MainFrame();
    if (!frame || !frame->CalendarFrame())
        return;
    // The view is shown: with a report or the project tracking in front,
    // the calendar comes forward.
    BringCalendarForward();
    frame->Views().SetCalendarViewType(viewType);
    frame->UpdateToolBarForActiveView();
    UpdateCommandStates();
}

void CZarvoWinApp::RefreshAfterChange(bool force, bool second)
{
    if (CMainFrameViews *views = FrameViews()) {
        views->ReloadProjectsBranch();
        views->RefreshForecast(force, second);
        views->ReloadActivitiesBranch();
        views->ReloadRatesBranch();
        views->RefreshTaskPane();
        views->RefillReportPane(true);
        MainFrame()->FillUserCombo();
    }
    RefreshViews();
}

void CZarvoWinApp::RefreshViews()
{
    if (CMainFrameViews *views = FrameViews())
        views->RefreshActiveViews();
    UpdateCommandStates();
}

void CZarvoWinApp::ForgetDatabase()
{
    m_dayCache->Clear();
    if (CMainFrameViews *views = FrameViews())
        views->OnDatabaseChanged();
}

void CZarvoWinApp::ReloadAll()
{
    ForgetDatabase();
    if (CMainFrameViews *views = FrameViews()) {
        views->ReloadForecastZoom();
        views->RefreshForecast(true, false);
        views->ReloadProjectTree();
        views->RefreshTaskPane();
        views->RefillReportPane(false);
        MainFrame()->FillUserCombo();
    }
    RefreshViews();
    UpdateMainTitle();
}

void CZarvoWinApp::RefreshForecast(bool force)
{
    if (CMainFrameViews *views = FrameViews())
        views->RefreshForecast(force, false);
}

void CZarvoWinApp::ReloadLanguageTexts()
{
    m_config->LoadTexts();
    m_config->LoadDurationFormat();
    if (CMainFrame *frame = MainFrame()) {
        frame->ApplyLanguage(false);
        frame->Views().RefreshActiveViews();
        frame->Views().RefreshReportLabels();
    }
}

// ---------------------------------------------------------------------------
// Undo and redo
// ---------------------------------------------------------------------------

void CZarvoWinApp::OnUndo()
{
    ReplayHistory(true);
}

void CZarvoWinApp::OnRedo()
{
    ReplayHistory(false);
}

void CZarvoWinApp::ReplayHistory(bool undo)
{
    CAnnulation::Outcome outcome;
    {
        WaitCursor wait;
        outcome = undo ? m_history->Undo() : m_history->Redo();
    }
    if (outcome == CAnnulation::Outcome::Done) {
        m_current.Elapsed = 0;
        // The replay may leave the change stamp on the second the day cache
        // was read in: it is read again whatever the stamp says.
        m_dayCache->MarkForReload();
        RefreshAfterChange(true, false);
        CBdD::PostChange(0);
    } else if (outcome == CAnnulation::Outcome::Failed) {
        ShowWriteFailure();
    }
    UpdateCommandStates();
}

// ---------------------------------------------------------------------------
// Starting, pausing, resuming
// ---------------------------------------------------------------------------

bool CZarvoWinApp::StartTask(tTacheFull entry, int favoriteId)
{
    CBdD db;
    std::vector<int> running;
    const int count = db.CountRunningEntries(&running);
    qint64 runningStart = 0;
    bool readFailed = false;
    if (count == 1) {
        tTacheFull current;
        readFailed = !db.GetTimeEntry(current, running.front());
        runningStart = current.Debut;
    }
    bool entriesAfter = false;
    if (!readFailed && count != CBdD::ReadFailed && count <= 1 && !(count == 1 && runningStart >= entry.Debut))
        entriesAfter = db.HasEntriesAfter(entry.Debut, &readFailed);

    switch (CCommandRules::DecideStart(count, runningStart, entry.Debut, entriesAfter, readFailed)) {
    case CCommandRules::StartDecision::ReadFailed:
        ShowWriteFailure();
        return false;
    case CCommandRules::StartDecision::Dialog:
        // Without the entry dialog nothing is written.
        if (m_openers.entryDialog && m_openers.entryDialog(entry))
            RefreshAfterChange(false, false);
        return false;
    case CCommandRules::StartDecision::Save:
        break;
    }
    // The entry and the favourite's order land in one write, one undo group.
    if (!db.SaveTimeEntry(entry, favoriteId)) {
        ShowWriteFailure();
        return false;
    }
    RefreshViews();
    UpdateCommandStates();
    return true;
}

bool CZarvoWinApp::StartFavoriteOrRecent(int key, bool isFavorite, bool withDialog)
{
    int project = -1;
    int activity = -1;
    int rate = -1;
    QString title;
    if (isFavorite) {
        CBdD db;
        if (!db.GetFavorite(key, project, activity, rate, title))
            return false;
    } else if (!m_store->GetHistoryEntry(key, project, activity, rate)) {
        return false;
    }
    tTacheFull entry = newEntry(project, activity, rate);
    entry.Title = title;
    if (withDialog) {
        if (m_openers.entryDialog && m_openers.entryDialog(entry))
            RefreshViews();
        return false;
    }
    return StartTask(entry, isFavorite ? key : -1);
}

bool CZarvoWinApp::StartProjectTask(int projectId, int activityId)
{
    tElement project;
    if (!m_store->GetProject(projectId, project))
        return false;
    const int activity = activityId == -2 ? project.Activity : activityId;
    return StartTask(newEntry(projectId, activity, project.IdTauxHoraire), -1);
}

bool CZarvoWinApp::StartActivityTask(int activityId)
{
    return StartTask(newEntry(-1, activityId, -1), -1);
}

bool CZarvoWinApp::OnPause()
{
    CBdD db;
    // The user's file gone (removed under the program): said, not listed
    // as no running entry.
    if (!db.IsOpen()) {
        ShowWriteFailure();
        return false;
    }
    std::vector<int> running;
    const int count = db.CountRunningEntries(&running);
    tTacheFull entry;
    if (count == 1 && !db.GetTimeEntry(entry, running.front())) {
        ShowWriteFailure();
        return false;
    }
    const qint64 now = Platform::Clock::now();
    switch (CCommandRules::DecidePause(count, entry.Debut, now)) {
    case CCommandRules::PauseDecision::ReadFailed:
        ShowWriteFailure();
        return false;
    case CCommandRules::PauseDecision::List:
        if (m_openers.runningEntries && m_openers.runningEntries())
            RefreshViews();
        return false;
    case CCommandRules::PauseDecision::Dialog:
        entry.Fin = now;
        if (m_openers.entryDialog && m_openers.entryDialog(entry))
            RefreshViews();
        return false;
    case CCommandRules::PauseDecision::Stop:
        break;
    }
    bool stopped = false;
    {
        WaitCursor wait;
        stopped = db.StopTimeEntry(entry.Id, now);
    }
    if (!stopped) {
        ShowWriteFailure();
        return false;
    }
    RefreshViews();
    return true;
}

bool CZarvoWinApp::OnResume()
{
    tTacheFull last;
    {
        CBdD db;
        if (!db.IsOpen()) {
            ShowWriteFailure();
            return false;
        }
        if (!db.GetLastTimeEntry(last))
            return false;
    }
    tTacheFull entry = newEntry(last.IdProjet, last.IdActivite, last.IdTauxHoraire);
    entry.Facture = last.Facture;
    entry.Title = last.Title;
    entry.Notes = last.Notes;
    if (QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier)) {
        if (m_openers.entryDialog && m_openers.entryDialog(entry))
            RefreshAfterChange(false, false);
        return false;
    }
    return StartTask(entry, -1);
}

void CZarvoWinApp::OnAddTask()
{
    tTacheFull entry = newEntry(-1, -1, -1);
    if (m_openers.entryDialog && m_openers.entryDialog(entry))
        RefreshViews();
}

// ---------------------------------------------------------------------------
// Report windows
// ---------------------------------------------------------------------------

void CZarvoWinApp::OnNewReport()
{
    if (m_openers.reportFrame && m_reportHooks.canMakeNew && m_reportHooks.canMakeNew())
        m_openers.reportFrame(-1, false, 2, false);
    UpdateMainTitle();
}

QWidget *CZarvoWinApp::OpenReport(int reportId, bool preview, int zoom, bool atStartup)
{
    for (const QPointer<QWidget> &window : std::as_const(m_reportWindows)) {
        if (window && window->property("reportId").toInt() == reportId) {
            if (CMainFrame *frame = MainFrame()) {
                for (QMdiSubWindow *sub : frame->MdiArea()->subWindowList()) {
                    if (sub == window || sub->widget() == window)
                        frame->MdiArea()->setActiveSubWindow(sub);
                }
            }
            UpdateMainTitle();
            return window;
        }
    }
    QWidget *window = nullptr;
    const bool known = !m_reportHooks.reportType || m_reportHooks.reportType(reportId) != -1;
    if (known && m_openers.reportFrame)
        window = m_openers.reportFrame(reportId, preview, zoom, atStartup);
    UpdateMainTitle();
    return window;
}

void CZarvoWinApp::RenameReportWindow(int reportId, const QString &title)
{
    for (const QPointer<QWidget> &window : std::as_const(m_reportWindows)) {
        if (window && window->property("reportId").toInt() == reportId)
            window->setWindowTitle(title);
    }
}

void CZarvoWinApp::ForgetReport(int reportId)
{
    for (const QPointer<QWidget> &window : std::as_const(m_reportWindows)) {
        if (window && window->property("reportId").toInt() == reportId)
            window->setProperty("reportId", -1);
    }
}

// ---------------------------------------------------------------------------
// Users
// ---------------------------------------------------------------------------

bool CZarvoWinApp::QuerySaveReportWindows(QList<OnScreenReport> &onScreen)
{
    onScreen.clear();
    // A report brought forward to be asked, or the timer ticking while a
    // question is open, offers no refresh meanwhile.
    const bool wasReady = m_ready;
    m_ready = false;
    const QList<QPointer<QWidget>> windows = m_reportWindows;
    for (const QPointer<QWidget> &window : windows) {
        if (!window)
            continue;
        if (m_reportHooks.querySave && !m_reportHooks.querySave(window)) {
            m_ready = wasReady;
            return false;
        }
        const int id = window->property("reportId").toInt();
        if (window->property("reportId").isValid() && id != -1)
            onScreen.append({id, window->property("preview").toBool(), window->property("zoom").toInt()});
    }
    m_ready = wasReady;
    return true;
}

bool CZarvoWinApp::CloseReportWindows()
{
    QList<OnScreenReport> onScreen;
    if (!QuerySaveReportWindows(onScreen))
        return false;
    // The program closes: nothing more is offered until it has gone.
    m_ready = false;
    if (m_reportHooks.saveOnScreen)
        m_reportHooks.saveOnScreen(onScreen);
    return true;
}

bool CZarvoWinApp::SwitchUser(int userId)
{
    WaitCursor wait;
    CMainFrame *frame = MainFrame();
    QMdiSubWindow *active = frame ? frame->MdiArea()->currentSubWindow() : nullptr;
    if (frame && frame->CalendarFrame() && frame->ActiveChildKind() == CMainFrame::ChildReport)
        frame->MdiArea()->setActiveSubWindow(frame->CalendarFrame());

    // Every report window may save first; Cancel on any stops the switch
    // before anything is closed.
    QList<OnScreenReport> onScreen;
    if (!QuerySaveReportWindows(onScreen))
        return false;
    // A review of a device synchronisation belongs to the previous user's
    // database: it ends as "Annuler".
    if (frame)
        frame->EndSyncReview();
    m_closingForSwitch = true;
    const QList<QPointer<QWidget>> windows = m_reportWindows;
    for (const QPointer<QWidget> &window : windows) {
        // A closed window may live on until the event loop deletes it: it
        // leaves the list at once, so that a report of the next user with
        // the same id is not taken for it.
        if (window && window->close())
            m_reportWindows.removeAll(window);
    }
    m_closingForSwitch = false;
    if (m_reportHooks.saveOnScreen)
        m_reportHooks.saveOnScreen(onScreen);
    if (CMainFrameViews *views = FrameViews())
        views->SaveTreeStates();

    const bool switched = m_users->SwitchUser(userId);

    m_ready = false;
    if (m_reportHooks.reopenOnScreen)
        m_reportHooks.reopenOnScreen();
    if (frame) {
        if (active && frame->MdiArea()->subWindowList().contains(active))
            frame->MdiArea()->setActiveSubWindow(active);
        else if (frame->CalendarFrame())
            frame->MdiArea()->setActiveSubWindow(frame->CalendarFrame());
        frame->FillUserCombo();
    }
    m_ready = true;
    UpdateMainTitle();
    UpdateCommandStates();
    return switched;
}

void CZarvoWinApp::OnManageUsers()
{
    if (!m_openers.manageUsers)
        return;
    int chosen = -1;
    if (m_openers.manageUsers(chosen) && chosen != -1)
        SwitchUser(chosen);
    else
        CBdD::PostChange(0);
    if (CMainFrame *frame = MainFrame())
        frame->FillUserCombo();
    RefreshViews();
}

void CZarvoWinApp::OnSampleData()
{
    if (!m_openers.sampleData)
        return;
    int created = -1;
    if (!m_openers.sampleData(created) || created == -1)
        return;
    SwitchUser(created);
    CMainFrameViews *views = FrameViews();
    if (views)
        views->ZoomForecastToWeek();
    RefreshViews();
    const QString caption = Platform::Texts::get(666);
    if (!m_config->showActivities)
        ShowMessage(MessageBoxType::IconExclamation, caption,
                    Platform::Texts::get(665));
    if (views && views->ForecastHidesCompleted())
        ShowMessage(MessageBoxType::IconAsterisk, caption,
                    Platform::Texts::get(667));
}

void CZarvoWinApp::OnSyncDevice()
{
    if (!m_openers.syncDevice)
        return;
    bool usersChanged = false;
    if (m_openers.syncDevice(usersChanged))
        AfterDeviceSync(usersChanged);
}

void CZarvoWinApp::AfterDeviceSync(bool usersChanged)
{
    if (usersChanged) {
        if (CMainFrame *frame = MainFrame())
            frame->FillUserCombo();
    }
    ReloadReplacedDatabase();
    UpdateCommandStates();
}

void CZarvoWinApp::OnRenameColumns()
{
    if (m_openers.renameColumns && m_openers.renameColumns()) {
        if (CMainFrameViews *views = FrameViews())
            views->RefreshReportLabels();
    }
}

// ---------------------------------------------------------------------------
// Options
// ---------------------------------------------------------------------------

void CZarvoWinApp::ShowOptions(int startPage)
{
    if (!m_openers.options)
        return;
    const int languages = m_openers.languageCount ? m_openers.languageCount() : 1;
    OptionsRequest request;
    request.pages = CCommandRules::OptionsPages(languages);
    request.startIndex = CCommandRules::OptionsStartIndex(startPage, languages);
    const int firstDay = m_config->firstDayOfWeek;
    const bool bigIcon = m_config->bigIcon;
    CMainFrameViews *views = FrameViews();
    if (m_openers.options(request)) {
        if (views) {
            if (m_config->firstDayOfWeek != firstDay)
                views->ReloadDayNames();
            views->RefreshActiveViews();
            views->RefreshForecast(true, false);
            views->RelayoutPreviews();
        }
    } else if (m_config->bigIcon != bigIcon) {
        m_config->bigIcon = bigIcon;
        if (views)
            views->ReloadToolbarImages();
    }
}

// ---------------------------------------------------------------------------
// Save as
// ---------------------------------------------------------------------------

bool CZarvoWinApp::OnSaveDatabaseAs()
{
    const QString current = m_users->GetCurrentDatabasePath(true);
    if (current.isEmpty())
        return false;
    QString path;
    if (m_openers.saveFileName) {
        path = m_openers.saveFileName(QStringLiteral("Zarvo.sdb"));
    } else if (!UnattendedDialogs::Report(QStringLiteral("file dialog to save the database"))) {
        path = QFileDialog::getSaveFileName(m_mainWindow, QString(), QStringLiteral("Zarvo.sdb"),
                                            QStringLiteral("*.sdb (*.sdb);;* (*)"), nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    }
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".sdb");

    const auto failed = [this] {
        ShowMessage(MessageBoxType::IconExclamation, Platform::Texts::get(173),
                    Platform::Texts::get(647));
        return false;
    };
    if (QFileInfo::exists(path)) {
        // The live database itself (by any of its names) is never the target.
        if (sameFile(path, current))
            return failed();
        const QString question = Platform::Formatter::sprintf(
            Platform::Texts::get(648), {path});
        const int answer = ShowMessage(MessageBoxType::OkCancel | MessageBoxType::IconQuestion,
                                       Platform::Texts::get(166), question);
        if (answer == MessageBoxAnswer::Failed || (answer & 0xFFFF) != MessageBoxAnswer::Ok)
            return false;
    }
    if (!CDatabaseFile::CopyLive(current, path, CDatabaseFile::Target::Replace))
        return failed();
    return true;
}
