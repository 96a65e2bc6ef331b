#pragma once
#include "CCommandRules.h"
#include "tForecastWindow.h"
#include "tCurrentEntry.h"

#include <QDate>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class CAnnulation;
class CCommandTable;
class CConfiguration;
class CDayCache;
class ImageList;
class CMainFrame;
class CMainFrameViews;
class CProjectStore;
class CSingleInstance;
class CUsers;
class QWidget;
namespace Platform {
class MessageBus;
class Settings;
} // namespace Platform

// The one application object of the main program, made in main() after the
// QApplication. It owns every long-lived piece of state (users, project
// store, undo history, settings, running entry...), plugs them into the data
// store's registry (CAppData) and the users' reload hooks, and runs the
// start-up sequence.
//
// Windows of later issues reach it through the named seams below: each is an
// std::function that their issue sets once; an unset seam is a step that is
// skipped. Tests set them to recording stand-ins.
class CZarvoWinApp
{
public:
    // The shared texts the main frame fills from the translation store.
    static constexpr int CommonTextCount = 32;
    enum CommonText { TextIdle = 0, TextError = 1, TextConfirmation = 2, TextWriteFailed = 3 };

    // Start-up steps that belong to windows built by other issues.
    struct StartupSteps
    {
        std::function<void()> chooseLanguage;       // the language selector
        std::function<void()> loadReportColumns;    // the report column catalogue
        std::function<void()> loadImageLists;       // the 16 and 24 px image lists
        std::function<QWidget *()> showSplash;      // the splash screen (null: none)
        std::function<void()> runFirstStartWizard;  // the first-run wizard, modal
        std::function<void()> prepareReportPlaceholders;
        std::function<void()> restoreTaskPane;      // the favourites tree
        std::function<void()> openCalendar;         // the main document frame
        // The forecast window the frame holds (unset: an empty window).
        std::function<tForecastWindow(QWidget *parent)> makeForecastWindow;
        std::function<bool()> restoreForecastView;  // true: it became active
        std::function<void()> reopenReports;        // reports on screen at the last close
        std::function<void()> updateToolBarForActiveView;
    };

    // What the main frame offers the application (set by the frame).
    struct FrameHooks
    {
        // Shows a text in the status bar; an empty text puts the idle text back.
        std::function<void(const QString &)> statusText;
        // The refreshes after a replaced or reloaded database.
        std::function<void()> refreshAfterChange;
        std::function<void()> forgetCallingReport;
        std::function<void()> refreshForecastView;
    };

    // Starts a program of the installation; false when it did not start.
    using ProgramLauncher = std::function<bool(const QString &path)>;
    // Makes the main window; null when it cannot be made. Unset: the main
    // frame.
    using MainWindowFactory = std::function<QMainWindow *()>;

    CZarvoWinApp();
    ~CZarvoWinApp();
    CZarvoWinApp(const CZarvoWinApp &) = delete;
    CZarvoWinApp &operator=(const CZarvoWinApp &) = delete;

    // The one application object while it lives; null otherwise.
    static CZarvoWinApp *Instance();

    // Runs the start-up; false when the process must end (a second copy, or
    // no main window).
    bool InitInstance();

    // --- Owned state ----------------------------------------------------
    CUsers &Users() { return *m_users; }
    CProjectStore &ProjectStore() { return *m_store; }
    CAnnulation &Annulation() { return *m_history; }
    CConfiguration &Configuration() { return *m_config; }
    CDayCache &DayCache() { return *m_dayCache; }
    // The application's image lists: 24 pixels with `big`, else 16.
    ImageList &Images(bool big);
    tCurrentEntry &CurrentEntry() { return m_current; }
    QDate CurrentDate() const { return m_currentDate; }
    void SetCurrentDateValue(const QDate &date) { m_currentDate = date; }
    QStringList &CommonTexts() { return m_commonTexts; }
    QString CommonTextAt(int index) const { return m_commonTexts.value(index); }
    QList<QPointer<QWidget>> &ReportWindows() { return m_reportWindows; }
    QMainWindow *MainWindow() const { return m_mainWindow; }
    // The main frame, when the main window is one.
    CMainFrame *MainFrame() const;
    bool IsReady() const { return m_ready; }
    void SetReady(bool ready) { m_ready = ready; }
    bool InStartup() const { return m_inStartup; }

    // --- Seams -----------------------------------------------------------
    StartupSteps &Startup() { return m_startup; }
    FrameHooks &Frame() { return m_frame; }
    void SetMainWindowFactory(MainWindowFactory factory) { m_mainWindowFactory = std::move(factory); }
    void SetTrayLauncher(ProgramLauncher launcher) { m_trayLauncher = std::move(launcher); }
    // The program's own launcher: starts `path` without arguments and
    // without waiting for it.
    static bool StartProgramDetached(const QString &path);
    // The folder the programs are installed in (by default this program's).
    void SetProgramFolder(const QString &folder) { m_programFolder = folder; }

    // --- Operations --------------------------------------------------------
    // "Zarvo ( <user> )" on the main window; "Zarvo" alone without a user.
    void UpdateMainTitle();
    QString MainTitle() const;
    // Removes saved window layouts below the base "Workspace": with `all`
    // every section, else the toolbars' ("MFCToolBar..."). Values set
    // directly in the base (the visual style) stay.
    static void ResetSavedLayout(Platform::Settings &settings, bool all);
    // Compares the stored layout version with this program's and resets
    // what changed; returns 2 (everything), 1 (toolbars) or 0.
    static int CheckLayoutVersion(Platform::Settings &settings);

    // The start-up picture with the version and the initialising line.
    QWidget *ShowSplash();

    // The first-run check: the wizard when the data folder is not set or
    // missing, then the tray program when it is installed beside this one.
    void RunFirstStart();
    QString TrayProgramPath() const;

    // A database upgrade's notice: kept while starting, shown at once after.
    void OnUpgradeNotice(const QString &notice);
    bool HasPendingNotice() const { return m_noticePending || !m_usersNotice.isEmpty(); }
    // The text and its number for a deferred notice ("Error : <code>",
    // "Version : <version>", a copy path or empty).
    static QString UpgradeNoticeText(const QString &notice, int *textId);
    // A text of ours: the users database is of a later version (its path
    // and version), so nothing of the users changes.
    static constexpr int TextLaterUsersDatabase = 20200;
    void ShowPendingNotice();

    // Backups of a user's database; true when a copy was made.
    bool BackupDatabase(bool currentUser, int userId, bool automatic, bool checkDue);
    // Takes an updated database from the network folder. While an editor
    // holds the project store's nodes (the project editor open) the update
    // is put off until it closes: replacing the database reloads the store.
    void UpdateFromLan(bool interactive);
    bool IsNetworkUpdatePutOff() const { return m_networkUpdatePutOff; }
    // Rebuilds what is held in memory after the current database was
    // replaced (network update, restore of a backup).
    void ReloadReplacedDatabase();
    // Writes a backup into the current user's database, all or nothing,
    // then reloads everything held from it. The backup must be a database
    // of ours this program reads, whole; otherwise (or when another program
    // holds the database's lock) nothing is changed and false is returned.
    bool RestoreBackup(const QString &backupPath);
    // Whether a file is a whole database of ours of a version this program
    // reads (looked at read-only).
    static bool IsRestorableBackup(const QString &path);

    // The current date, shown in the date picker; with `reload` the
    // calendar window shows it.
    void SetCurrentDate(const QDate &date, bool reload);
    // Makes another user the current one: the report windows are asked to
    // save first (Cancel stops it), closed, and the new user's reopened.
    bool SwitchUser(int userId);

    // The windows of later issues, each registered once by its own issue:
    // a command whose window has no opener stays greyed, and a branch of a
    // command that needs one opens nothing and writes nothing.
    struct OptionsRequest
    {
        QList<CCommandRules::OptionsPageEntry> pages;
        int startIndex = 0;
    };
    struct Openers
    {
        std::function<void()> about;                        // 57664
        // 32784: the project editor on a new project below `parentId`
        // (-1: at the top); true on OK.
        std::function<bool(int parentId)> newProject;
        std::function<bool()> newActivity;                  // 32785
        std::function<bool()> newRate;                      // 32787
        std::function<bool(tTacheFull &entry)> entryDialog; // the time-entry dialog on an entry
        std::function<bool()> runningEntries;               // the list of running entries
        std::function<bool(const OptionsRequest &)> options; // 32796
        std::function<void()> backupList;                   // 32896
        std::function<bool(int &userId)> manageUsers;       // 32956; the user chosen on OK
        std::function<bool(int &userId)> sampleData;        // 32959; the user made on OK
        // 32794; true when the synchronisation ended within the call (the
        // after-steps then run at once), false when its window stays open
        // (it runs CZarvoWinApp::AfterDeviceSync when it closes).
        std::function<bool(bool &usersChanged)> syncDevice;
        // The device synchronisation's choice of the local user a device
        // goes with; `userId` in: the user to preselect, out: the choice.
        std::function<bool(int &userId)> associateUser;
        std::function<bool()> renameColumns;                // 32977
        // A report window (57600 with -1); a restored one (the reports of
        // the last run) applies its mode and zoom once activated.
        std::function<QWidget *(int reportId, bool preview, int zoom, bool restored)> reportFrame;
        std::function<void()> updateCheck;                  // 32933
        // The save-file question of "save as"; the program asks the file
        // dialog, tests answer here. Empty: cancelled.
        std::function<QString(const QString &suggestedName)> saveFileName;
        // The number of interface languages installed (the options frame
        // shows its general page only with more than one).
        std::function<int()> languageCount;
        // The record editors the panes open on an item; true on OK.
        std::function<bool(int projectId)> editProject;
        // The project editor on the activity row of a project.
        std::function<bool(int projectId, int activityId)> editActivityRow;
        // The project editor on a new activity row of the project
        // `projectId` (-1: a row without a project chosen yet).
        std::function<bool(int projectId)> newActivityRow;
        std::function<bool(int activityId)> editActivity;
        std::function<bool(int rateId)> editRate;
        std::function<bool(int favoriteId)> editFavorite; // -1: a new favourite
        // The copy of a project below `parentId`; with a sibling of
        // reference (-1: none) the copy goes before or after it.
        std::function<bool(int projectId, int parentId, int referenceId, bool before)> copyProject;
        // The one-field name prompt on `name`; true on OK with the typed name.
        std::function<bool(QString &name)> askName;
    };
    Openers &Windows() { return m_openers; }

    // What the report windows offer the user switch and the close of the
    // program (the report issue sets them). Each report window carries its
    // report id, preview flag and zoom mode (0 several pages, 1 one page,
    // 2 actual size, 3 window width) as the properties "reportId",
    // "preview" and "zoom".
    struct OnScreenReport
    {
        int reportId = -1;
        bool preview = false;
        int zoom = 2;
    };
    struct ReportHooks
    {
        std::function<bool(QWidget *window)> querySave; // false: Cancel
        std::function<void(const QList<OnScreenReport> &)> saveOnScreen;
        std::function<void()> reopenOnScreen;
        std::function<int(int reportId)> reportType;    // -1 when not found
        // Whether a new report can be made (it starts in its settings).
        std::function<bool()> canMakeNew;
    };
    ReportHooks &Reports() { return m_reportHooks; }

    // --- Commands ----------------------------------------------------------
    // Gives every command of the table its handler; called once the frame
    // exists.
    void ConnectCommands(CCommandTable &commands);
    // Enables and checks the commands by the program's state (undo, redo,
    // running entries, views, openers); after every change.
    void UpdateCommandStates();

    void OnToday();
    // The calendar window in front, with the focus (nothing without one).
    void BringCalendarForward();
    void MoveCurrentDate(int days);
    void MoveMonth(int direction);
    void GoToDate(const QDate &date, QWidget *callingReport);
    QWidget *CallingReport() const { return m_callingReport; }
    void SetViewType(int viewType);
    void RefreshAfterChange(bool force, bool second);
    void RefreshViews();
    void ReloadAll();
    void RefreshForecast(bool force);
    void ReloadLanguageTexts();

    void OnUndo();
    void OnRedo();
    bool StartTask(tTacheFull entry, int favoriteId);
    bool StartFavoriteOrRecent(int key, bool isFavorite, bool withDialog);
    bool StartProjectTask(int projectId, int activityId);
    bool StartActivityTask(int activityId);
    bool OnPause();
    bool OnResume();
    void OnAddTask();
    void OnNewReport();
    QWidget *OpenReport(int reportId, bool preview, int zoom, bool atStartup);
    void RenameReportWindow(int reportId, const QString &title);
    void ForgetReport(int reportId);
    bool IsClosingForSwitch() const { return m_closingForSwitch; }
    // The program's close: every report window may save first (Cancel on
    // any keeps the program open), then the list of the reports on screen
    // is kept for the next start. No report offers a refresh while it asks,
    // nor after it gave its consent.
    bool CloseReportWindows();
    void ShowOptions(int startPage);
    void OnSyncDevice();
    // What follows a device synchronisation dialog once it closed: the
    // users' lists when users were added, the database reloaded (it may
    // have been replaced), the undo history and the commands' states.
    void AfterDeviceSync(bool usersChanged);
    // While a synchronisation is open, the network update never replaces
    // the database the synchronisation is about to write.
    void SetDeviceSyncOpen(bool open) { m_deviceSyncOpen = open; }
    bool IsDeviceSyncOpen() const { return m_deviceSyncOpen; }
    void OnManageUsers();
    void OnSampleData();
    void OnRenameColumns();
    // Copies the current database to a file the user names; false when
    // nothing was written.
    bool OnSaveDatabaseAs();

    // A message box owned by the main window (MessageBoxType flags); tests
    // answer it through the message boxes' next-answer seam.
    int ShowMessage(quint32 type, const QString &caption, const QString &text);

    // The single-instance probe's answer, given while this copy runs.
    qint64 AnswerProbe();

private:
    // Undo or redo one group, then refresh what it changed or tell a failure.
    void ReplayHistory(bool undo);
    // Asks every report window to save; false at the first Cancel.
    // `onScreen` gets the stored reports among them.
    bool QuerySaveReportWindows(QList<OnScreenReport> &onScreen);
    // Another database became current, or the current one was replaced:
    // the day cache and the calendar window's entries (selection,
    // clipboard, drag) are dropped, so that no id of the previous database
    // is used on this one. Every reload after such a change runs it first.
    void ForgetDatabase();
    void PlugIntoDataStore();
    void ShowWriteFailure();
    CMainFrameViews *FrameViews() const;
    void BringMainWindowForward();

    // Members in the order the application builds them; destroyed in reverse.
    QList<QPointer<QWidget>> m_reportWindows;
    QStringList m_commonTexts;
    QDate m_currentDate;
    std::unique_ptr<CUsers> m_users;
    std::unique_ptr<CProjectStore> m_store;
    std::unique_ptr<CAnnulation> m_history;
    std::unique_ptr<CConfiguration> m_config;
    std::unique_ptr<CDayCache> m_dayCache;
    std::unique_ptr<ImageList> m_images[2]; // 16 and 24 pixels, made on first use
    tCurrentEntry m_current;
    QPointer<QMainWindow> m_mainWindow;
    bool m_ready = false;
    bool m_inStartup = true;
    bool m_noticePending = false;
    // The refusal of a users database of a later version, until shown.
    QString m_usersNotice;
    QString m_notice;

    std::unique_ptr<CSingleInstance> m_instance;
    std::unique_ptr<Platform::MessageBus> m_bus;
    StartupSteps m_startup;
    FrameHooks m_frame;
    MainWindowFactory m_mainWindowFactory;
    ProgramLauncher m_trayLauncher;
    QString m_programFolder;
    Openers m_openers;
    ReportHooks m_reportHooks;
    QPointer<QWidget> m_callingReport;
    bool m_closingForSwitch = false;
    bool m_deviceSyncOpen = false;
    bool m_networkUpdatePutOff = false;
    bool m_networkUpdateInteractive = false;
};
