#pragma once
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
class CConfiguration;
class CDayCache;
class CMainFrame;
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
        std::function<void()> reloadViews;
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
    // The folder the programs are installed in (by default this program's).
    void SetProgramFolder(const QString &folder) { m_programFolder = folder; }

    // --- Operations --------------------------------------------------------
    // "Zarvo ( <user> )" on the main window; nothing without one.
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
    bool HasPendingNotice() const { return m_noticePending; }
    // The text and its number for a deferred notice ("Error : <code>", a
    // copy path or empty).
    static QString UpgradeNoticeText(const QString &notice, int *textId);
    void ShowPendingNotice();

    // Backups of a user's database; true when a copy was made.
    bool BackupDatabase(bool currentUser, int userId, bool automatic, bool checkDue);
    // Takes an updated database from the network folder.
    void UpdateFromLan(bool interactive);
    // Rebuilds what is held in memory after the current database was
    // replaced (network update, restore of a backup).
    void ReloadReplacedDatabase();

    // The current date, shown in the date picker; with `reload` the
    // calendar window shows it.
    void SetCurrentDate(const QDate &date, bool reload);
    // Makes another user the current one and refreshes what shows the user.
    bool SwitchUser(int userId);

    // A message box owned by the main window (MessageBoxType flags); tests
    // answer it through the message boxes' next-answer seam.
    int ShowMessage(quint32 type, const QString &caption, const QString &text);

    // The single-instance probe's answer, given while this copy runs.
    qint64 AnswerProbe();

private:
    void PlugIntoDataStore();
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
    tCurrentEntry m_current;
    QPointer<QMainWindow> m_mainWindow;
    bool m_ready = false;
    bool m_inStartup = true;
    bool m_noticePending = false;
    QString m_notice;

    std::unique_ptr<CSingleInstance> m_instance;
    std::unique_ptr<Platform::MessageBus> m_bus;
    StartupSteps m_startup;
    FrameHooks m_frame;
    MainWindowFactory m_mainWindowFactory;
    ProgramLauncher m_trayLauncher;
    QString m_programFolder;
};
