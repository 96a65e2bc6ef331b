#pragma once
#include "CSyncHost.h"
#include "LookPalette.h"
#include "tForecastWindow.h"

#include <QHash>
#include <QMainWindow>
#include <QMargins>
#include <QMdiSubWindow>
#include <QPalette>
#include <QPointer>
#include <functional>

class CCommandTable;
class CMainFrameViews;
class CMyDockablePane;
class CMyMFCToolBarDateTimeCtrl;
class CPaneCalendar;
class CPaneForecast;
class CPaneUser;
class CZarvoWinApp;
class QDockWidget;
class QComboBox;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

// The one top-level window of the main program: menus, the main and users
// toolbars, the status bar, six docking panes, the documents in tabs, and
// the forecast window that lives either in its pane or as a document. It
// passes the data store's change notices on to the panes and views, keeps
// the 30-second timer, the visual style and the saved layout.
class CMainFrame : public QMainWindow, public CSyncHost
{
    Q_OBJECT
public:
    enum PaneId {
        PaneCalendar = 133,
        PaneProject = 134,
        PaneUsers = 135,
        PaneTasks = 136,
        PaneReports = 137,
        PaneForecast = 138,
    };
    enum ChildKind { ChildCalendar = 1, ChildForecast = 2, ChildReport = 3, ChildSynchro = 4 };
    static constexpr int TimerId = 1000;
    static constexpr int TimerIntervalMs = 30000;
    static constexpr int MainToolBarId = 129;
    static constexpr int UsersToolBarId = 469;
    static constexpr int UserComboId = 33000;
    static constexpr int DatePickerId = 33001;
    static constexpr int ForecastWindowId = 522;
    static constexpr int DefaultLook = LookPalette::DefaultLook;
    // How often, and for how long, a window just shown looks for its frame.
    static constexpr int FrameWatchIntervalMs = 50;
    static constexpr int FrameWatchTicks = 40;

    explicit CMainFrame(CZarvoWinApp &app, QWidget *parent = nullptr);
    ~CMainFrame() override;

    CCommandTable &Commands() { return *m_commands; }
    CMyDockablePane *Pane(int id) const { return m_panes.value(id); }
    CPaneCalendar *CalendarPane() const;
    CPaneUser *UsersPane() const;
    CPaneForecast *ForecastPane() const;
    // Puts a pane's window in place (the panes of later issues).
    void SetPaneWidget(int id, QWidget *widget);
    // Fills the project, task and report panes for the current user (once
    // the start-up has loaded it) and restores the favourites tree.
    void FillTreePanes();
    QToolBar *MainToolBar() const { return m_mainToolBar; }
    QToolBar *UsersToolBar() const { return m_usersToolBar; }
    QComboBox *UserCombo() const { return m_userCombo; }
    CMyMFCToolBarDateTimeCtrl *DatePicker() const { return m_datePicker; }
    QMdiArea *MdiArea() const { return m_mdi; }
    // The main toolbar's button of a command (0 and negative numbers are
    // separators by position); null when it has none.
    QAction *ToolBarAction(int id) const { return m_toolBarActions.value(id); }
    // The toolbar buttons of the main toolbar in order (0 for a separator).
    static QList<int> MainToolBarButtons();

    // --- Panes and views -----------------------------------------------------
    // What the frame and the application ask of the panes and views goes to
    // `views` (tests record it); null puts the frame's own (CFrameViews) back.
    void SetViews(CMainFrameViews *views);
    CMainFrameViews &Views() const { return *m_views; }
    // The calendar window (the main document frame), once opened.
    void SetCalendarFrame(QMdiSubWindow *frame) { m_calendarFrame = frame; }
    QMdiSubWindow *CalendarFrame() const { return m_calendarFrame; }
    // Makes a document window around `content`, shown in its tab.
    QMdiSubWindow *CreateChildFrame(QWidget *content, const QString &title);

    // --- Change notices, timer, messages ------------------------------------
    void OnDataChanged(qint64 wParam, qint64 lParam);
    void OnTimer();
    int LanSeconds() const { return m_lanSeconds; }
    qint64 OnAreYouZarvo();
    qint64 OnRefreshFromTray();
    void OnSettingChange();

    // --- Looks, language, users --------------------------------------------
    void OnApplicationLook(int look);
    int ApplicationLook() const { return m_look; }
    void ApplyLanguage(bool firstLoad);
    void FillUserCombo();
    void OnUserSelected(int index);
    void OnDateSelected();

    // --- Toolbar and menus ---------------------------------------------------
    int ActiveChildKind() const;
    void UpdateToolBarForActiveView();
    // The buttons of the main toolbar shown for a child kind and view type.
    static QList<int> HiddenToolBarButtons(int childKind, int viewType);
    // Leaves in `menu` only the previous/next commands of the view type.
    static void FilterNavigationItems(QMenu *menu, int viewType);

    // --- The forecast window --------------------------------------------------
    QWidget *ForecastWindow() const { return m_forecastWindow; }
    // What the frame asks of the forecast window (see tForecastWindow).
    const tForecastWindow &ForecastParts() const { return m_forecast; }
    void RefreshForecastWindow(bool reload, bool restoreSaved, bool recompute, bool keepOffset);
    QMdiSubWindow *ForecastFrame() const { return m_forecastFrame; }
    bool ForecastAsDocument() const { return m_forecastAsDocument; }
    void OnToggleForecastView();
    void ToggleForecastMode();
    void OnForecastFloating();
    void OnForecastDockable();
    // Reopens the forecast window as a document when it was one; true when
    // it was the active window.
    bool RestoreForecastView();
    // The forecast window back into its pane (before its document goes).
    void TakeForecastBack();

    // --- The review of a device synchronisation -----------------------------
    // A tab of the document area with the common toolbar groups only; one
    // review at a time (a new one ends the previous as "Annuler").
    void ShowSyncReview(CViewSynchro *view) override;
    void CloseSyncReview(CViewSynchro *view) override;
    const ImageList *SmallImages() const override;
    QMdiSubWindow *SyncReviewFrame() const { return m_syncFrame; }
    // Ends an open review as "Annuler" (the program closing, another user).
    void EndSyncReview();

    // --- Closing -----------------------------------------------------------------
    // Asks the report windows to save; false (Cancel) keeps the program open.
    void SetCloseReportsHook(std::function<bool()> hook) { m_closeReports = std::move(hook); }
    void SaveWorkspace();
    // Restores the saved layout; false (and the default one) when none or a
    // broken one was saved.
    bool RestoreWorkspace();
    // Sizes and places the window within its screen's free area, frame
    // included: the first size at the first start (`first`), else the
    // present one shrunk and moved where it no longer fits. Once shown, it
    // is placed again when the window manager's frame becomes known.
    void PlaceOnScreen(bool first);
    void ShowMDITabContextMenu(const QPoint &globalPos);
    // A text in the status bar; an empty one puts the idle text back.
    void ShowStatusText(const QString &text);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

private:
    void CreateCommands();
    void CreateMenus();
    void CreateToolBars();
    void CreateDockingWindows();
    CMyDockablePane *MakePane(int id, int caption);
    void DockDefaultLayout();
    // The width a dock area's tabs for `panes` take with their captions whole.
    int TabsWidth(const QList<QDockWidget *> &panes);
    QString IdleText() const;
    void OpenForecastAsDocument();
    void TogglePane(int commandId);
    void UpdateCommandStates();
    // The frame's margins: the window manager's once known, else a guess.
    QMargins FrameMargins() const;
    void PlaceAgainWhenFramed();

    CZarvoWinApp &m_app;
    CCommandTable *m_commands = nullptr;
    QToolBar *m_mainToolBar = nullptr;
    QToolBar *m_usersToolBar = nullptr;
    QComboBox *m_userCombo = nullptr;
    CMyMFCToolBarDateTimeCtrl *m_datePicker = nullptr;
    QHash<int, QAction *> m_toolBarActions;
    QHash<int, CMyDockablePane *> m_panes;
    QMdiArea *m_mdi = nullptr;
    QPointer<QWidget> m_forecastWindow;
    tForecastWindow m_forecast;
    QPointer<QMdiSubWindow> m_forecastFrame;
    QPointer<QMdiSubWindow> m_calendarFrame;
    QPointer<QMdiSubWindow> m_syncFrame;
    bool m_forecastAsDocument = false;
    int m_lanSeconds = 0;
    int m_look = DefaultLook;
    int m_lastChildKind = 0;
    int m_lastViewType = -1;
    CMainFrameViews *m_views = nullptr;
    std::unique_ptr<CMainFrameViews> m_ownViews;
    std::function<bool()> m_closeReports;
    class QTimer *m_timer = nullptr;
    // Polls for the frame once the window is shown, until it is known.
    class QTimer *m_frameWatch = nullptr;
    int m_frameWatchTicks = 0;
    bool m_placeWhenFramed = false;
    bool m_placedFirst = false;
};
