#pragma once
#include "CTrayProjectStore.h"
#include "DataItems.h"
#include "MessageBus.h"
#include "TraySettings.h"
#include "TrayTexts.h"
#include "TrayUserChoice.h"
#include "tTacheFull.h"

#include <QDate>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class CLanguageSelector;
class CSingleInstance;
class CZarvoTrayDlg;
class TrayIcon;

// The tray program's process-wide state: its settings, the current user and
// database, the project store, the shared texts and the state of the day
// that the poll keeps; the start-up with the hand-off to a copy already
// running; and the messages of the other program. Made in main() after
// QApplication; the tray window and its views reach it as the application.
//
// Everything that reads the database lives here without a window (the
// window's poll and reload call ReloadData and PollData), so the data part
// of the start can be measured and tested on its own.
class CZarvoTrayApp : public QObject
{
    Q_OBJECT
public:
    // The time between two polls of the database.
    static constexpr int PollTimerId = 1024;
    static constexpr int PollIntervalMs = 10000;
    // Texts of ours in the tray's string table: the user's database was
    // made by a later version; its upgrade failed.
    static constexpr int TextTooNew = 20100;
    static constexpr int TextUpgradeFailed = 20101;
    // The program's name ("Zarvo").
    static constexpr int ProgramNameText = 57344;
    // The registered message a second copy posts to wake the running one.
    static constexpr const char16_t *WakeMessageName = u"UWM_ZARVO_TRAY_WAKE_6F1B2C3D-4E5F-4A6B-8C7D-9E0F1A2B3C4D";
    // The one a copy started with QuitArgument posts to end the running one.
    static constexpr const char16_t *QuitMessageName = u"UWM_ZARVO_TRAY_QUIT_2A7C4E91-5B3D-4F08-9E6A-1C8B7D2F4A53";
    static constexpr const char16_t *QuitArgument = u"--quit";

    explicit CZarvoTrayApp(CLanguageSelector *languages = nullptr);
    ~CZarvoTrayApp() override;
    CZarvoTrayApp(const CZarvoTrayApp &) = delete;
    CZarvoTrayApp &operator=(const CZarvoTrayApp &) = delete;

    // The one application object (null when none lives).
    static CZarvoTrayApp *Application();

    // --- Seams ------------------------------------------------------------
    // The notification-area icon (by default the desktop's, through Qt).
    using IconFactory = std::function<std::unique_ptr<TrayIcon>()>;
    void SetIconFactory(IconFactory factory) { m_iconFactory = std::move(factory); }
    std::unique_ptr<TrayIcon> MakeIcon() const;
    // The icon of every application that was given none of its own (null:
    // the desktop's); a program built for tests sets it before the start.
    static void SetDefaultIconFactory(IconFactory factory);
    // Starts a program without arguments and without waiting (by default
    // QProcess::startDetached); false when it could not start.
    using ProgramStarter = std::function<bool(const QString &program)>;
    void SetProgramStarter(ProgramStarter starter) { m_starter = std::move(starter); }
    bool StartProgram(const QString &program) const;
    // The folder of this program (by default the running program's).
    void SetProgramFolder(const QString &folder) { m_programFolder = folder; }
    QString ProgramFolder() const;
    QString ProgramPath() const;

    // --- Start-up -----------------------------------------------------------
    // The start: one copy per user (a second one wakes the first and returns
    // false, so its process ends with 0), the settings, the user, the look,
    // then the window, shown when "-v" ends the command line or it was shown
    // when the tray last ended. With QuitArgument on the command line the
    // copy running is asked to end instead, and none starts. False when the
    // program must end.
    bool InitInstance(const QStringList &arguments);
    // The window, made and initialised once (with the icon the factory
    // gives); null when it could not start.
    CZarvoTrayDlg *CreateWindow(const QStringList &arguments);
    // The tray settings (base "Tray"); switches the SQL error log on.
    void LoadSettings();
    // The current user and database (read-only look at the users), then the
    // upgrade of that database.
    void SelectUserAndDatabase();
    // The main program's look ("Workspace/ApplicationLook"); true when it
    // changed since the last call.
    bool ApplyVisualStyle();
    // The start with the session (the options dialog's check box).
    bool IsStartWithWindows() const;
    bool SetStartWithWindows(bool on);
    // The Infos window's opacity: shown on it when it is open, and kept
    // (not written) unless only previewed.
    void SetOpacity(int alpha, bool preview);

    // --- Data ----------------------------------------------------------------
    // Why the window shows only a message.
    enum class CompactReason { None, NoUsers, NoDatabase, TooNew, UpgradeFailed };
    // The data part of a reload: with `newUser` the store is emptied and the
    // user chosen again; then the compact decision, and when the database
    // can be used, the project store (parts the database changed), the
    // favourites in the sort order, the recent combinations and a poll.
    // True when the views can show (not compact).
    bool ReloadData(bool newUser);
    // The data part of a poll: the day's entries and the newest entry are
    // read again only when 'Modif' or the day changed; the totals and the
    // title are made again from memory every time. True when it read.
    bool PollData();
    // A change notice: the next poll reads even when 'Modif' did not move
    // (it holds whole seconds, so a change within the second the tray last
    // read would be missed).
    void ForgetModif();

    TraySettings &Settings() { return m_settings; }
    const TraySettings &Settings() const { return m_settings; }
    const TrayUserChoice &User() const { return m_user; }
    CTrayProjectStore &Store() { return m_store; }
    TrayTexts &Texts() { return m_texts; }
    const TrayTexts &Texts() const { return m_texts; }
    // A text of the tray's string table in the interface language.
    QString Text(int id);
    // A menu item's text (menus 130 and 463) in the interface language.
    QString MenuText(int menuId, int itemId);
    // Forgets the texts read, after a change of language.
    void ReloadTexts();

    bool IsCompact() const { return m_compact != CompactReason::None; }
    CompactReason Compact() const { return m_compact; }
    QString CompactMessage() const { return m_compactMessage; }
    // Whether the user's database file exists now.
    bool DatabaseExists() const;

    const tTacheFull &LastTask() const { return m_lastTask; }
    const std::vector<tTacheFull> &TodayTasks() const { return m_today; }
    const TrayTexts::tToday &Today() const { return m_totals; }
    QString TodayText() const { return m_totals.todayText; }
    QString LastTaskText() const { return m_totals.lastTaskText; }
    // "user : today" (102), or with "(en cours…)" while an entry runs
    // (116); the program's name while no user is known. The icon's tip is
    // the same, cut to 127 characters.
    QString Title() const { return m_title; }
    QString IconTip() const { return m_title.left(127); }
    const std::vector<DataItems> &Favourites() const { return m_favourites; }
    // Reads the favourites again in `SortMode` order; false when unread.
    bool LoadFavourites();
    // Reads the newest entry again (the menu and the quick starts check it).
    bool ReadLastTask();

    CZarvoTrayDlg *Window() const { return m_window; }
    CLanguageSelector *Languages() const { return m_languages; }

    // The answer to a message of the bus: the probe's own number to a
    // second copy's probe; the wake and the change notices reach the window.
    qint64 HandleMessage(const Platform::MessageBus::Message &message);

private:
    void SetCompact(CompactReason reason);
    // Tries the upgrade of the user's database; remembers a file it must
    // not write.
    void UpgradeDatabase();

    CLanguageSelector *m_languages = nullptr;
    IconFactory m_iconFactory;
    ProgramStarter m_starter;
    QString m_programFolder;

    std::unique_ptr<CSingleInstance> m_instance;
    std::unique_ptr<Platform::MessageBus> m_bus;
    CZarvoTrayDlg *m_window = nullptr;
    std::unique_ptr<CZarvoTrayDlg> m_ownedWindow;

    TraySettings m_settings;
    TrayUserChoice m_user;
    CTrayProjectStore m_store;
    TrayTexts m_texts;
    QHash<qint64, QString> m_textCache;
    int m_appliedLook = -1;

    // The state of the upgrade of the current user's database.
    CompactReason m_upgradeBlock = CompactReason::None;
    int m_upgradeCode = 0;

    CompactReason m_compact = CompactReason::None;
    QString m_compactMessage;
    // The day state.
    QString m_lastModif;
    bool m_modifKnown = false;
    QDate m_lastDay;
    QString m_reloadModif;
    std::vector<tTacheFull> m_today;
    tTacheFull m_lastTask;
    TrayTexts::tToday m_totals;
    QString m_title;
    std::vector<DataItems> m_favourites;
};
