#include "CZarvoTrayApp.h"

#include "CAppData.h"
#include "CLanguageSelector.h"
#include "CSingleInstance.h"
#include "CTranslationStore.h"
#include "CTrayDatabase.h"
#include "CZarvoTrayDlg.h"
#include "Clock.h"
#include "Formatter.h"
#include "LocalTime.h"
#include "LookPalette.h"
#include "RegisteredMessages.h"
#include "Settings.h"
#include "SystemTrayIcon.h"
#include "TrayAutostart.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <ctime>

namespace {
CZarvoTrayApp *s_application = nullptr;

quint32 message(const char16_t *name)
{
    return Platform::MessageBus::registerMessage(QStringView(name));
}

CZarvoTrayApp::IconFactory &defaultIconFactory()
{
    static CZarvoTrayApp::IconFactory factory;
    return factory;
}
} // namespace

CZarvoTrayApp::CZarvoTrayApp(CLanguageSelector *languages)
    : m_languages(languages)
{
    s_application = this;
    CTrayDatabase::SetUpProcess(m_store);
}

CZarvoTrayApp::~CZarvoTrayApp()
{
    m_ownedWindow.reset();
    // The dialogs' openers were installed against this application: none of
    // them may outlive it and be called by the window of a later one.
    if (s_application == this)
        CZarvoTrayDlg::Dialogs() = {};
    if (CAppData::ProjectStore() == &m_store.Store())
        CAppData::SetProjectStore(nullptr);
    if (s_application == this)
        s_application = nullptr;
}

CZarvoTrayApp *CZarvoTrayApp::Application()
{
    return s_application;
}

// ---------------------------------------------------------------------------
// Seams
// ---------------------------------------------------------------------------

std::unique_ptr<TrayIcon> CZarvoTrayApp::MakeIcon() const
{
    if (m_iconFactory)
        return m_iconFactory();
    if (defaultIconFactory())
        return defaultIconFactory()();
    return std::make_unique<SystemTrayIcon>();
}

void CZarvoTrayApp::SetDefaultIconFactory(IconFactory factory)
{
    defaultIconFactory() = std::move(factory);
}

bool CZarvoTrayApp::StartProgram(const QString &program) const
{
    if (m_starter)
        return m_starter(program);
    return QProcess::startDetached(program, {});
}

QString CZarvoTrayApp::ProgramFolder() const
{
    return m_programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : m_programFolder;
}

QString CZarvoTrayApp::ProgramPath() const
{
    return m_programFolder.isEmpty() ? QCoreApplication::applicationFilePath()
                                     : QDir(m_programFolder).filePath(QStringLiteral("ZarvoTray"));
}

// ---------------------------------------------------------------------------
// Start-up
// ---------------------------------------------------------------------------

bool CZarvoTrayApp::InitInstance(const QStringList &arguments)
{
    // One running copy per user: a second one wakes the first and ends,
    // or ends it when asked to.
    const bool quit = arguments.mid(1).contains(QString::fromUtf16(QuitArgument), Qt::CaseInsensitive);
    m_instance = CSingleInstance::ForTray();
    if (!m_instance->Acquire()) {
        if (m_instance->RunningCopyAnswered())
            Platform::MessageBus::post(message(quit ? QuitMessageName : WakeMessageName), 0, 0);
        return false;
    }
    // Nothing runs that could be ended: nothing starts either.
    if (quit) {
        m_instance.reset();
        return false;
    }
    m_bus = std::make_unique<Platform::MessageBus>();
    m_bus->setHandler([this](const Platform::MessageBus::Message &m) { return HandleMessage(m); });
    m_bus->listen();

    LoadSettings();
    SelectUserAndDatabase();
    ApplyVisualStyle();

    return CreateWindow(arguments) != nullptr;
}

CZarvoTrayDlg *CZarvoTrayApp::CreateWindow(const QStringList &arguments)
{
    if (m_window)
        return m_window;
    m_ownedWindow = std::make_unique<CZarvoTrayDlg>(*this, arguments);
    // The application's window already while it initialises: the Infos
    // window it opens at the end (kept open at the last quit, or asked for
    // by a standby record) is made through the application.
    m_window = m_ownedWindow.get();
    if (!m_window->Initialise()) {
        m_window = nullptr;
        m_ownedWindow.reset();
        return nullptr;
    }
    return m_window;
}

void CZarvoTrayApp::LoadSettings()
{
    Platform::Settings settings;
    m_settings.Load(settings);
    {
        CTranslationStore store(m_languages, CTranslationStore::Program::Tray);
        m_texts.Load(store, settings);
    }
    CTrayDatabase::SetLogOn(true);
}

void CZarvoTrayApp::SelectUserAndDatabase()
{
    Platform::Settings settings;
    // The main program may have chosen another user or folder meanwhile.
    settings.sync();
    const QString previous = m_user.databasePath;
    m_user = TrayUserChoice::Select(settings);
    if (m_user.databasePath != previous) {
        m_upgradeBlock = CompactReason::None;
        m_reloadModif.clear();
        ForgetModif();
    }
    UpgradeDatabase();
}

void CZarvoTrayApp::UpgradeDatabase()
{
    m_upgradeBlock = CompactReason::None;
    m_upgradeCode = 0;
    if (m_user.databasePath.isEmpty() || !QFileInfo(m_user.databasePath).isFile())
        return;
    CTrayDatabase db(m_user.databasePath);
    // A later version's file is not opened, but the upgrade still says so.
    const CBdD::tUpgradeResult result = db.UpdateDb();
    using Outcome = CBdD::tUpgradeResult::Outcome;
    switch (result.outcome) {
    case Outcome::NotOpen:
        // Not a database of this program: as if there were none.
        m_upgradeBlock = CompactReason::NoDatabase;
        break;
    case Outcome::TooNew:
        m_upgradeBlock = CompactReason::TooNew;
        break;
    case Outcome::Failed:
    case Outcome::NoCopy:
        m_upgradeBlock = CompactReason::UpgradeFailed;
        m_upgradeCode = result.code;
        break;
    default:
        // Opened but still not writable: not ours to write.
        if (!db.CanWrite())
            m_upgradeBlock = CompactReason::UpgradeFailed;
        break;
    }
}

bool CZarvoTrayApp::ApplyVisualStyle()
{
    const int stored = Platform::Settings().getInt(u"Workspace", u"", u"ApplicationLook", -999);
    // Compared before the default replaces a missing value, so a missing
    // value reports a change each time, as the main program's start does.
    if (stored == m_appliedLook)
        return false;
    m_appliedLook = stored == -999 ? LookPalette::DefaultLook : stored;
    LookPalette::Apply(m_appliedLook);
    return true;
}

bool CZarvoTrayApp::IsStartWithWindows() const
{
    return TrayAutostart::IsOn(ProgramPath());
}

bool CZarvoTrayApp::SetStartWithWindows(bool on)
{
    return TrayAutostart::Set(on, ProgramPath());
}

void CZarvoTrayApp::SetOpacity(int alpha, bool preview)
{
    if (!preview)
        m_settings.opacity = alpha;
    if (CZarvoTrayDlg::Dialogs().applyOpacity)
        CZarvoTrayDlg::Dialogs().applyOpacity(alpha);
}

// ---------------------------------------------------------------------------
// Texts
// ---------------------------------------------------------------------------

QString CZarvoTrayApp::Text(int id)
{
    const qint64 key = id;
    auto it = m_textCache.constFind(key);
    if (it != m_textCache.constEnd())
        return *it;
    CTranslationStore store(m_languages, CTranslationStore::Program::Tray);
    return m_textCache.insert(key, store.GetString(id)).value();
}

QString CZarvoTrayApp::MenuText(int menuId, int itemId)
{
    const qint64 key = (qint64(menuId) << 32) | quint32(itemId);
    auto it = m_textCache.constFind(key);
    if (it != m_textCache.constEnd())
        return *it;
    CTranslationStore store(m_languages, CTranslationStore::Program::Tray);
    return m_textCache.insert(key, store.GetMenuString(menuId, itemId)).value();
}

void CZarvoTrayApp::ReloadTexts()
{
    m_textCache.clear();
    CTranslationStore store(m_languages, CTranslationStore::Program::Tray);
    m_texts.Load(store, Platform::Settings());
}

// ---------------------------------------------------------------------------
// Data
// ---------------------------------------------------------------------------

bool CZarvoTrayApp::DatabaseExists() const
{
    return !m_user.databasePath.isEmpty() && QFileInfo(m_user.databasePath).isFile();
}

void CZarvoTrayApp::SetCompact(CompactReason reason)
{
    m_compact = reason;
    switch (reason) {
    case CompactReason::None: m_compactMessage.clear(); break;
    case CompactReason::NoUsers: m_compactMessage = Text(122); break;
    case CompactReason::NoDatabase: m_compactMessage = Text(119); break;
    case CompactReason::TooNew: m_compactMessage = Text(TextTooNew); break;
    case CompactReason::UpgradeFailed:
        m_compactMessage = Platform::Formatter::sprintf(Text(TextUpgradeFailed), {m_upgradeCode});
        break;
    }
}

bool CZarvoTrayApp::ReloadData(bool newUser)
{
    if (newUser) {
        m_store.Clear();
        SelectUserAndDatabase();
    } else if (m_upgradeBlock != CompactReason::None) {
        // A file that could not be brought up to date is tried again.
        UpgradeDatabase();
    }
    if (!DatabaseExists()) {
        SetCompact(m_user.usersDatabase.isEmpty() ? CompactReason::NoUsers : CompactReason::NoDatabase);
        m_favourites.clear();
        PollData();
        return false;
    }
    if (m_upgradeBlock != CompactReason::None) {
        SetCompact(m_upgradeBlock);
        m_favourites.clear();
        PollData();
        return false;
    }
    SetCompact(CompactReason::None);
    {
        CTrayDatabase db(m_user.databasePath);
        QString modif;
        db.GetModifStamp(modif);
        // A newer 'Modif' may come from a change the stamps of the tables
        // do not show (a file put in place of the other): read every part.
        if (modif != m_reloadModif) {
            m_store.ForgetLoadTimes();
            m_reloadModif = modif;
        }
        db.LoadProjects(m_store);
        db.LoadActivities(m_store);
        db.LoadRates(m_store);
        db.LoadHistory(m_store);
        std::vector<DataItems> favourites;
        if (db.FillFavourites(favourites, m_settings.sortMode, m_store, m_texts))
            m_favourites = std::move(favourites);
    }
    PollData();
    return true;
}

bool CZarvoTrayApp::LoadFavourites()
{
    if (IsCompact() || !DatabaseExists())
        return false;
    CTrayDatabase db(m_user.databasePath);
    std::vector<DataItems> favourites;
    if (!db.FillFavourites(favourites, m_settings.sortMode, m_store, m_texts))
        return false;
    m_favourites = std::move(favourites);
    return true;
}

bool CZarvoTrayApp::ReadLastTask()
{
    if (!DatabaseExists()) {
        m_lastTask.Reset();
        return false;
    }
    CTrayDatabase db(m_user.databasePath);
    return db.GetLastTask(m_lastTask);
}

bool CZarvoTrayApp::PollData()
{
    // The time zone may have changed since the last poll.
    tzset();
    const qint64 now = Platform::Clock::now();
    const QDate today = Platform::LocalTime::localDate(now);
    bool read = false;
    {
        QString modif;
        bool modifRead = false;
        std::unique_ptr<CTrayDatabase> db;
        if (DatabaseExists()) {
            db = std::make_unique<CTrayDatabase>(m_user.databasePath);
            modifRead = db->GetModifStamp(modif);
        }
        if (!modifRead)
            modif.clear();
        if (!m_modifKnown || modif != m_lastModif || today != m_lastDay) {
            m_lastModif = modif;
            m_modifKnown = true;
            m_lastDay = today;
            m_today.clear();
            m_lastTask.Reset();
            if (db && db->IsOpen()) {
                db->GetLastTask(m_lastTask);
                bool running = false;
                db->LoadDayTasks(m_today, today, running);
            }
            read = true;
        }
    }
    m_totals = m_texts.ComputeToday(m_today, now);
    // "..." stands for no running entry. Without a user there is no day to
    // tell: the program's name alone.
    const bool running = m_totals.lastTaskText != u"...";
    if (m_user.userName.isEmpty())
        m_title = Text(ProgramNameText);
    else
        m_title = Platform::Formatter::sprintf(Text(running ? 116 : 102), {m_user.userName, m_totals.todayText});
    return read;
}

void CZarvoTrayApp::ForgetModif()
{
    m_modifKnown = false;
}

// ---------------------------------------------------------------------------
// Messages
// ---------------------------------------------------------------------------

qint64 CZarvoTrayApp::HandleMessage(const Platform::MessageBus::Message &m)
{
    if (m.message == message(RegisteredMessages::AreYouZarvoTray))
        return static_cast<qint64>(m.message);
    if (!m_window)
        return 0;
    if (m.message == message(WakeMessageName)) {
        m_window->OnWake();
        return 0;
    }
    if (m.message == message(QuitMessageName)) {
        m_window->Quit();
        return 0;
    }
    if (m.message == message(RegisteredMessages::ZarvoChange))
        m_window->OnChangeNotice(int(m.wParam > 1000 ? 1000 : m.wParam));
    return 0;
}
