#pragma once
#include "TrayMenuModel.h"
#include "TrayWindowSizing.h"

#include <QBasicTimer>
#include <QMenu>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class CDayCtrl;
class CMyDesktopButton;
class CTrayToolTip;
class CViewTask;
class COwnerDrawListBox;
class CMyMFCButton;
class CViewResume;
class CZarvoTrayApp;
class QAction;
class QFrame;
class QTabWidget;
class QToolBar;
class QToolButton;
class TrayIcon;
namespace Platform { class PowerEvents; }

// The tray program's one window. It owns the icon in the notification area
// and its pop-up menu, starts, stops, pauses and resumes time entries, and,
// when shown, stacks its views in a narrow panel under a caption band:
// toolbar, summary panel, day strip, current-task button and the favourites
// and history in two tabs. Its timer polls the database every 10 seconds;
// the change notices of the main program and the reloads keep it in step.
//
// With a notification area the window is a frameless panel that closing
// only hides; without one it is a normal window, shown at start, that every
// hide (closing, Escape, the automatic hiding after a start) minimises, and
// every command stays within reach of its menu button. A notification area
// that appears or goes later is followed: at the poll, and whenever the
// window is about to go out of the way.
//
// Every end of the program (Quitter, the session's end, a copy started to
// end this one) goes through the application's quit, which this window
// lets through once it recorded what was open.
class CZarvoTrayDlg : public QWidget
{
    Q_OBJECT
public:
    // The windows other parts of the tray bring (the task, options, user
    // and Infos windows): a command whose window is not there is greyed.
    struct tDialogs
    {
        // Each returns true when it was accepted (a task was started, the
        // options or the user changed).
        std::function<bool(QWidget *owner)> newTask;
        // With `layoutChanged` set when the views to show changed.
        std::function<bool(QWidget *owner, bool &layoutChanged)> options;
        std::function<bool(QWidget *owner)> chooseUser;
        // Opens or closes the Infos window: closes it where the user sees
        // it, shows it otherwise (also one minimised along with this
        // window, which the window manager took out of view with it).
        std::function<void()> toggleInfos;
        // Whether the Infos window is open; whether the user sees it (open,
        // and not minimised along with this window); its refresh.
        std::function<bool()> infosOpen;
        std::function<bool()> infosShown;
        std::function<void()> refreshInfos;
        // Sets the open Infos window's opacity (1..255).
        std::function<void(int alpha)> applyOpacity;
    };
    static tDialogs &Dialogs();
    // The toolbar's show commands' texts while their window shows.
    static constexpr int TextHideWindowCommand = 20200;
    static constexpr int TextHideInfosCommand = 20201;
    // A window manager's title bar: its icon, its buttons and their room,
    // counted in widths of the bar's height.
    static constexpr int TitleBarButtons = 6;
    // A wake or a start could not take the entry ended at the sleep up
    // again: told once, tried again at each poll.
    static constexpr int TextStandbyRetry = 26200;

    CZarvoTrayDlg(CZarvoTrayApp &app, const QStringList &arguments);
    ~CZarvoTrayDlg() override;

    // The initialisation: the icon, the views, the size and place, the
    // first reload; shown when it may show. False when it cannot start.
    bool Initialise();
    bool IsInitialised() const { return m_initialised; }
    bool StartVisible() const { return m_startVisible; }
    bool HasTrayIcon() const { return m_trayAvailable; }
    // Whether the program is ending (its windows then close for good).
    bool IsEnding() const { return m_ending; }
    // Whether a standby record waits for the next poll to be applied.
    bool StandbyRetryPending() const { return m_standbyRetry; }
    TrayIcon *Icon() const { return m_icon.get(); }

    // --- Operations (also reached by the other tray windows) -------------
    void ShowOrHide();
    void HideWindow();
    void StartMainProgram();
    void PauseOrResume();
    void NewTask();
    void ChooseUser();
    void Options();
    void ToggleInfos();
    void Sort(int mode);
    void Help();
    // Ends the program as every quit does (see eventFilter).
    void Quit();
    // The notification area, looked at again: the window becomes the panel
    // behind a new icon, or a normal window within reach when the area went.
    void FollowNotificationArea();
    // A start from favourite `id` (or recent combination number `id`);
    // `keepWindow` for a favourite chosen in the pop-up menu. `shownFrom`
    // is the database the choice was offered from (a menu built earlier;
    // empty: the current one): an id of another user's database is never
    // started in this one, the start is refused saying the user changed.
    void StartFrom(int id, bool favourite, bool keepWindow, const QString &shownFrom = QString());
    // The icon's pop-up menu, built again at each call, shown at `where`.
    void ShowPopupMenu(const QPoint &where);
    // The left click on the icon, by "LeftClick".
    void OnLeftClick();
    // A second copy of the program asked for this one.
    void OnWake();
    // The main program's change notice (0..5; others are ignored).
    void OnChangeNotice(int kind);
    // The timer's poll; a user database that appeared or went since the
    // last reload is reloaded instead, and without a user the user is
    // chosen again (from the settings and the users database).
    void OnPollTimer();
    // The machine goes to sleep or the session ends: the running entry
    // ends now and a record of it is kept (with "EndTaskOnStandby"). The
    // record is written first, so that a program killed before it ends
    // leaves nothing ended without a record; a record whose entry did not
    // end then is never acted on.
    void OnSuspend();
    // For tests: called after each step of OnSuspend, so that a test can
    // cut the program short between them. Unset in the program.
    enum class StandbyStep { Recorded, Ended };
    using StandbyStepHook = std::function<void(StandbyStep)>;
    static void SetStandbyStepHook(StandbyStepHook hook);
    // The machine woke up: the record decides (with "EndTaskOnStandby").
    void OnResume();
    // The session or the machine ends: as a sleep, then the program ends.
    void OnSessionEnding();
    void Poll();
    void Reload(bool onlyIfShown, bool newUser);
    void LayoutViews();
    // The favourites of the last pop-up menu, by command - 32783.
    const std::vector<int> &FavouriteIds() const { return m_favouriteIds; }
    QMenu *PopupMenu() const { return m_popup; }
    TrayWindowSizing::tViews Views() const;

    // Views, for the tests and the other tray windows.
    CViewResume *Summary() const { return m_resume; }
    CMyMFCButton *MessageButton() const { return m_message; }
    QToolBar *ToolBar() const { return m_toolbar; }
    QTabWidget *Tabs() const { return m_tabs; }
    COwnerDrawListBox *FavouritesList() const { return m_favouritesList; }
    COwnerDrawListBox *HistoryList() const { return m_historyList; }
    CDayCtrl *DayStrip() const { return m_day; }
    CViewTask *TaskButton() const { return m_task; }
    // A toolbar command's text as its tip shows it now: the show commands
    // read as hide commands while their window shows.
    QString CommandText(int id);
    CMyDesktopButton *HideButton() const { return m_hideButton; }
    CMyDesktopButton *MenuButton() const { return m_menuButton; }
    QAction *Command(int id) const;
    int CaptionHeight() const { return m_captionHeight; }

protected:
    // The application's quit: what is open is recorded, then every window
    // is closed (this one included) and the program ends; a window that
    // refuses keeps it running.
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    void BuildViews();
    void BuildToolBar();
    void Retranslate();
    void RefreshViews();
    void ApplyCompact(bool wasCompact);
    void ApplySizeLimits();
    // The screens' available geometries, the primary screen's first.
    static QList<QRect> WorkAreas();
    // The window manager's frame around the inside (none while unknown).
    QMargins FrameMargins() const;
    // After the program placed or sized the window: the whole frame moved
    // within the work area of its screen, once the frame is known.
    void KeepOnScreen();
    void ResizeOnScreen(const QSize &size);
    void UpdateCommands();
    void ShowWindow();
    // Out of the way: hidden behind the icon, minimised without one.
    void Conceal();
    void RecordVisible(bool visible);
    bool InfosShown() const;
    bool InfosOpen() const;
    bool RefuseFutureTask();
    void WriteFailed();
    void SortIcon();
    void FillFavouritesMenu(QMenu *menu, const QString &shownFrom);
    // The two lists refilled from the data last loaded.
    void FillLists();
    // The tips of the toolbar's buttons.
    void AttachToolTips();
    // The current-task button after a reload, with the window laid out
    // again when its height changed.
    void UpdateTaskButton();
    // The size limits and height again after the views' sizes changed: as
    // high as the views need, exactly that without the favourites.
    void FitViews();
    // Acts on the standby record: at start or on waking. False when the
    // Infos window is to open (at start, after the initialisation).
    void ApplyStandbyRecord(bool atStart, bool &openInfos);
    // What is open and the favourites' view, kept for the next start.
    void RecordOpenWindows();
    // The application's quit: every window closed, this one included.
    // False when one refused.
    bool PrepareToEnd();
    // The window's kind for the notification area there is now: a panel
    // behind the icon, or a normal window.
    void ApplyWindowKind();

    CZarvoTrayApp &m_app;
    std::unique_ptr<TrayIcon> m_icon;
    bool m_trayAvailable = false;
    bool m_startVisible = false;
    bool m_initialised = false;
    bool m_ending = false;
    // A standby record to apply again at the next poll, and whether its
    // failure was told.
    bool m_standbyRetry = false;
    bool m_standbyTold = false;
    // The program placed or sized the window: its frame is to be kept on
    // the screen (the user's own moves are left as they are).
    bool m_keepOnScreen = false;
    int m_captionHeight = 0;
    QBasicTimer m_pollTimer;
    Platform::PowerEvents *m_power = nullptr;

    CMyDesktopButton *m_hideButton = nullptr;
    CMyDesktopButton *m_menuButton = nullptr;
    QToolBar *m_toolbar = nullptr;
    QToolButton *m_sortButton = nullptr;
    QMenu *m_sortMenu = nullptr;
    CViewResume *m_resume = nullptr;
    CDayCtrl *m_day = nullptr;
    CViewTask *m_task = nullptr;
    QTabWidget *m_tabs = nullptr;
    COwnerDrawListBox *m_favouritesList = nullptr;
    COwnerDrawListBox *m_historyList = nullptr;
    // The user whose view the favourites list shows (-1: none yet).
    int m_listUser = -1;
    CMyMFCButton *m_message = nullptr;
    QPointer<QMenu> m_popup;
    std::vector<int> m_favouriteIds;
};
