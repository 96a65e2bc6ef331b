#include "CZarvoWinApp.h"

#include "CAnnulation.h"
#include "CAppData.h"
#include "CBdD.h"
#include "CConfiguration.h"
#include "CDayCache.h"
#include "CFirstDayOfWeek.h"
#include "CMainFrame.h"
#include "CMainFrameViews.h"
#include "CMyMFCToolBarDateTimeCtrl.h"
#include "CProjectStore.h"
#include "CSingleInstance.h"
#include "CSplashScreenEx.h"
#include "FolderMovePlan.h"
#include "CUsers.h"
#include "Clock.h"
#include "Formatter.h"
#include "ImageList.h"
#include "IntParse.h"
#include "LocalTime.h"
#include "MessageBoxParams.h"
#include "MessageBus.h"
#include "RegisteredMessages.h"
#include "RichMessageBox.h"
#include "Settings.h"
#include "Texts.h"
#include "ZarvoVersion.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QFileInfo>
#include <QMainWindow>
#include <QMdiArea>
#include <QTimer>

#include <utility>

namespace {

CZarvoWinApp *&instance()
{
    static CZarvoWinApp *app = nullptr;
    return app;
}

// The layout versions of this program: a saved layout of another version is
// dropped at start-up.
constexpr int WorkspaceVersion = 1;
constexpr int ToolbarsVersion = 2;

} // namespace

CZarvoWinApp::CZarvoWinApp()
    : m_commonTexts(CommonTextCount)
    , m_users(std::make_unique<CUsers>())
    , m_store(std::make_unique<CProjectStore>())
    , m_history(std::make_unique<CAnnulation>())
    , m_config(std::make_unique<CConfiguration>())
    , m_dayCache(std::make_unique<CDayCache>())
{
    instance() = this;
    PlugIntoDataStore();
}

CZarvoWinApp::~CZarvoWinApp()
{
    // Nothing of the data store may reach the members once they go.
    CBdD::CloseSharedConnection();
    CAppData::Clear();
    CFirstDayOfWeek::SetProvider({});
    delete m_mainWindow.data();
    m_bus.reset();
    m_instance.reset();
    m_dayCache.reset();
    m_config.reset();
    m_history.reset();
    m_store.reset();
    m_users.reset();
    if (instance() == this)
        instance() = nullptr;
}

CZarvoWinApp *CZarvoWinApp::Instance()
{
    return instance();
}

void CZarvoWinApp::PlugIntoDataStore()
{
    CAppData::SetUsers(m_users.get());
    m_users->ProvideCurrentDatabasePath();
    CAppData::SetProjectStore(m_store.get());
    CAppData::SetAnnulation(m_history.get());
    CAppData::SetConfiguration(m_config.get());
    // The calendars of the controls start their weeks on the configured day.
    CFirstDayOfWeek::SetProvider([this] { return m_config->firstDayOfWeek; });
    CAppData::SetCurrentEntry(&m_current);
    CAppData::SetAfterBatchHook([](CBdD &db) { db.RefreshCurrentEntry(); });
    CAppData::SetAutoBackupHook([this] { BackupDatabase(true, -1, true, true); });
    CAppData::SetUserBackupHook([this](int userId) { return BackupDatabase(false, userId, true, false); });

    CUsers::ReloadHooks hooks;
    hooks.refreshFromNetwork = [this] { UpdateFromLan(false); };
    hooks.refreshForecastView = [this] {
        if (m_frame.refreshForecastView)
            m_frame.refreshForecastView();
        else
            m_store->ComputeForecast();
    };
    hooks.reloadViews = [this] { ReloadAll(); };
    hooks.upgradeNotice = [this](const QString &notice) { OnUpgradeNotice(notice); };
    hooks.laterUsersDatabase = [this](const QString &path, int version) {
        m_usersNotice = Platform::Formatter::sprintf(Platform::Texts::get(TextLaterUsersDatabase),
                                                     {QDir::toNativeSeparators(path), version});
        if (!m_inStartup)
            ShowPendingNotice();
    };
    m_users->SetReloadHooks(std::move(hooks));
    // A network update put off while an editor held the store's nodes runs
    // once the last one closed.
    m_store->SetHoldEndedHook([this] {
        if (!m_networkUpdatePutOff)
            return;
        const bool interactive = m_networkUpdateInteractive;
        m_networkUpdatePutOff = false;
        m_networkUpdateInteractive = false;
        UpdateFromLan(interactive);
    });
}

// ---------------------------------------------------------------------------
// Start-up
// ---------------------------------------------------------------------------

bool CZarvoWinApp::InitInstance()
{
    m_currentDate = Platform::LocalTime::localDate(Platform::Clock::now());

    // One running copy per user: a second one brings the first forward.
    m_instance = std::make_unique<CSingleInstance>();
    if (!m_instance->Acquire())
        return false;
    m_bus = std::make_unique<Platform::MessageBus>();
    m_bus->setHandler([this](const Platform::MessageBus::Message &m) -> qint64 {
        if (m.message == m_instance->ProbeMessage())
            return AnswerProbe();
        if (m.message == Platform::MessageBus::registerMessage(RegisteredMessages::RefreshFromTray)) {
            if (CMainFrame *frame = MainFrame())
                return frame->OnRefreshFromTray();
        }
        return 0;
    });
    m_bus->listen();

    {
        Platform::Settings settings;
        CheckLayoutVersion(settings);
    }

    if (m_startup.chooseLanguage)
        m_startup.chooseLanguage();
    m_config->LoadTexts();
    if (m_startup.loadReportColumns)
        m_startup.loadReportColumns();
    if (m_startup.loadImageLists)
        m_startup.loadImageLists();

    m_mainWindow = m_mainWindowFactory ? m_mainWindowFactory() : new CMainFrame(*this);
    if (!m_mainWindow)
        return false;
    if (CMainFrame *frame = MainFrame()) {
        m_frame.statusText = [frame](const QString &text) { frame->ShowStatusText(text); };
        ConnectCommands(frame->Commands());
    }

    m_config->Load();
    // The frame's calendars were made before the settings were read: they
    // take the configured first day of the week now.
    if (CMainFrameViews *views = FrameViews())
        views->ReloadDayNames();
    RunFirstStart();
    // A move of the folders' files killed while it removed the originals
    // is ended before anything reads the folders.
    FolderMovePlan::FinishInterrupted({m_config->usersFolder, m_config->dataFolder, m_config->backupFolder});

    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QPointer<QWidget> splash = m_startup.showSplash ? m_startup.showSplash() : nullptr;
    if (m_startup.prepareReportPlaceholders)
        m_startup.prepareReportPlaceholders();
    m_users->LoadSelectedUser();
    if (m_config->lanTime != -1)
        UpdateFromLan(false);
    // The splash closes itself after its display time.
    CSplashScreenEx::WaitUntilClosed(splash);
    QGuiApplication::restoreOverrideCursor();

    if (m_startup.restoreTaskPane)
        m_startup.restoreTaskPane();
    // The forecast window takes the loaded user's layout.
    if (CMainFrame *frame = MainFrame())
        frame->RefreshForecastWindow(false, true, false, true);
    if (m_startup.openCalendar)
        m_startup.openCalendar();
    CMainFrame *frame = MainFrame();
    bool forecastActive = false;
    if (m_startup.restoreForecastView)
        forecastActive = m_startup.restoreForecastView();
    else if (frame)
        forecastActive = frame->RestoreForecastView();
    if (m_startup.reopenReports)
        m_startup.reopenReports();
    if (frame) {
        if (forecastActive && frame->ForecastFrame())
            frame->MdiArea()->setActiveSubWindow(frame->ForecastFrame());
        else if (frame->CalendarFrame())
            frame->MdiArea()->setActiveSubWindow(frame->CalendarFrame());
    }
    if (m_startup.updateToolBarForActiveView)
        m_startup.updateToolBarForActiveView();
    else if (frame)
        frame->UpdateToolBarForActiveView();

    if (frame)
        frame->RestoreWorkspace();
    m_mainWindow->show();
    if (frame)
        frame->FillUserCombo();
    UpdateMainTitle();
    // The commands were first set before the user's database was open.
    UpdateCommandStates();
    m_ready = true;
    m_inStartup = false;
    ShowPendingNotice();
    return true;
}

int CZarvoWinApp::CheckLayoutVersion(Platform::Settings &settings)
{
    if (settings.getInt(u"Misc", u"", u"Workspace", 0) != WorkspaceVersion) {
        settings.setInt(u"Misc", u"", u"Workspace", WorkspaceVersion);
        ResetSavedLayout(settings, true);
        return 2;
    }
    if (settings.getInt(u"Misc", u"", u"Toolbars", 0) != ToolbarsVersion) {
        settings.setInt(u"Misc", u"", u"Toolbars", ToolbarsVersion);
        ResetSavedLayout(settings, false);
        return 1;
    }
    return 0;
}

void CZarvoWinApp::ResetSavedLayout(Platform::Settings &settings, bool all)
{
    const QString base = QStringLiteral("Workspace/");
    QStringList sections;
    for (const QString &key : settings.allKeys()) {
        if (!key.startsWith(base))
            continue;
        const qsizetype slash = key.indexOf(u'/', base.size());
        if (slash < 0)
            continue; // a value of the base itself, not a saved layout
        const QString section = key.mid(base.size(), slash - base.size());
        if ((all || section.startsWith(QLatin1String("MFCToolBar"))) && !sections.contains(section))
            sections.append(section);
    }
    for (const QString &section : sections)
        settings.removePrefix(base + section + u'/');
}

QWidget *CZarvoWinApp::ShowSplash()
{
    const QString version = Platform::Formatter::sprintf(
        u"%s %d.%d.%d", {Platform::Texts::get(206), ZARVO_VERSION_MAJOR, ZARVO_VERSION_MINOR, ZARVO_VERSION_PATCH});
    return CSplashScreenEx::ShowStartupSplash(m_mainWindow, version, Platform::Texts::get(207),
                                              Platform::Texts::get(388));
}

void CZarvoWinApp::RunFirstStart()
{
    const QString &data = m_config->dataFolder;
    if (!data.isEmpty() && QFileInfo(data).isDir())
        return;
    if (m_startup.runFirstStartWizard)
        m_startup.runFirstStartWizard();
    // Whatever the wizard's outcome, the tray program starts when installed.
    const QString tray = TrayProgramPath();
    if (QFileInfo(tray).isFile() && m_trayLauncher)
        m_trayLauncher(tray);
}

bool CZarvoWinApp::StartProgramDetached(const QString &path)
{
    return QProcess::startDetached(path, {});
}

QString CZarvoWinApp::TrayProgramPath() const
{
    const QString folder = m_programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : m_programFolder;
    return QDir(folder).filePath(QStringLiteral("ZarvoTray"));
}

CMainFrame *CZarvoWinApp::MainFrame() const
{
    return qobject_cast<CMainFrame *>(m_mainWindow.data());
}

// ---------------------------------------------------------------------------
// Title, notices, messages
// ---------------------------------------------------------------------------

QString CZarvoWinApp::MainTitle() const
{
    // Without a user the program's name alone, not an empty pair of
    // parentheses after it.
    const QString program = Platform::Texts::get(128);
    const QString user = m_users->GetCurrentName();
    if (user.trimmed().isEmpty())
        return program;
    return Platform::Formatter::sprintf(u"%s (%s)", {program, user});
}

void CZarvoWinApp::UpdateMainTitle()
{
    if (m_mainWindow)
        m_mainWindow->setWindowTitle(MainTitle());
}

void CZarvoWinApp::OnUpgradeNotice(const QString &notice)
{
    m_notice = notice;
    m_noticePending = true;
    if (!m_inStartup)
        ShowPendingNotice();
}

QString CZarvoWinApp::UpgradeNoticeText(const QString &notice, int *textId)
{
    int id = 0;
    QString message;
    if (notice.startsWith(QLatin1String("Error"))) {
        id = 618;
        const int code = Platform::wtoi(QStringView(notice).mid(qMin<qsizetype>(8, notice.size())));
        message = Platform::Formatter::sprintf(
            Platform::Texts::get(618),
            {code});
    } else if (notice.startsWith(QLatin1String("Version : "))) {
        // A file of a later version: not opened, not changed.
        const CBdD::tUpgradeResult refused = CBdD::tUpgradeResult::FromDeferredNotice(notice);
        id = refused.TextId();
        message = refused.Text();
    } else if (notice.isEmpty()) {
        id = 620;
        message = Platform::Texts::get(620);
    } else {
        id = 621;
        // The French text names no path, so the notice is not shown.
        message = Platform::Formatter::sprintf(
            Platform::Texts::get(621), {notice});
    }
    if (textId)
        *textId = id;
    return message;
}

void CZarvoWinApp::ShowPendingNotice()
{
    if (!m_usersNotice.isEmpty()) {
        const QString message = std::exchange(m_usersNotice, QString());
        ShowMessage(MessageBoxType::IconExclamation, Platform::Texts::get(173), message);
    }
    if (!m_noticePending)
        return;
    int id = 0;
    const QString message = UpgradeNoticeText(m_notice, &id);
    m_noticePending = false;
    m_notice.clear();
    if (id == 618 || id == CBdD::TextTooNew)
        ShowMessage(MessageBoxType::IconExclamation, Platform::Texts::get(173), message);
    else
        ShowMessage(MessageBoxType::IconAsterisk, Platform::Texts::get(222), message);
}

int CZarvoWinApp::ShowMessage(quint32 type, const QString &caption, const QString &message)
{
    return RichMessageBox(type, m_mainWindow, message, caption);
}

// ---------------------------------------------------------------------------
// The running copy
// ---------------------------------------------------------------------------

qint64 CZarvoWinApp::AnswerProbe()
{
    // Brought forward once the answer is on its way.
    if (m_mainWindow)
        QTimer::singleShot(0, m_mainWindow, [this] { BringMainWindowForward(); });
    return m_instance->ProbeMessage();
}

void CZarvoWinApp::BringMainWindowForward()
{
    if (!m_mainWindow)
        return;
    if (m_mainWindow->isMinimized())
        m_mainWindow->showNormal();
    m_mainWindow->raise();
    m_mainWindow->activateWindow();
}
