#include "CZarvoTrayDlg.h"

#include "CDayCtrl.h"
#include "CLanguageSelector.h"
#include "CMyDesktopButton.h"
#include "CMyMFCButton.h"
#include "COwnerDrawListBox.h"
#include "CTrayDatabase.h"
#include "CTrayToolTip.h"
#include "CViewResume.h"
#include "CViewTask.h"
#include "CZarvoTrayApp.h"
#include "Clock.h"
#include "ContextHelp.h"
#include "HelpTopics.h"
#include "LocalTime.h"
#include "MessageBoxParams.h"
#include "PowerEvents.h"
#include "RichMessageBox.h"
#include "Settings.h"
#include "TrayCaption.h"
#include "TrayCommands.h"
#include "TrayStandby.h"
#include "TrayUserChange.h"
#include "TrayIcon.h"
#include "WidgetIds.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>

#include <map>

using namespace TrayCommands;

namespace {

// The toolbar's commands in order, with their pictures from the desktop's
// icon theme.
struct ToolCommand
{
    int id;
    const char *icon;
};
const ToolCommand ToolCommands[] = {
    {TrayCommands::Quit, "application-exit"},     {StartZarvo, "chronometer"},   {TrayCommands::ShowWindow, "window"},
    {ShowInfos, "dialog-information"}, {TrayCommands::NewTask, "document-new"}, {SortButton, "view-sort"},
    {TrayCommands::ChooseUser, "system-users"},   {TrayCommands::Options, "configure"},        {TrayCommands::Help, "help-contents"},
};

// The sort button's picture for each order: by use, by project, by activity.
const char *const SortIcons[] = {"view-sort", "view-list-tree", "view-list-details"};

// A placeholder's height in lines of the window's font.
int lines(const QWidget *w, int count)
{
    return w->fontMetrics().height() * count + 8;
}

CZarvoTrayDlg::StandbyStepHook &standbyStepHook()
{
    static CZarvoTrayDlg::StandbyStepHook hook;
    return hook;
}

void stepHook(CZarvoTrayDlg::StandbyStep step)
{
    if (standbyStepHook())
        standbyStepHook()(step);
}

} // namespace

CZarvoTrayDlg::tDialogs &CZarvoTrayDlg::Dialogs()
{
    static tDialogs dialogs;
    return dialogs;
}

CZarvoTrayDlg::CZarvoTrayDlg(CZarvoTrayApp &app, const QStringList &arguments)
    : QWidget(nullptr)
    , m_app(app)
{
    setObjectName(QStringLiteral("ZarvoTrayWindow"));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/zarvo.svg")));
    // "-v" at the end of the command line shows the window at start.
    const QString line = arguments.mid(1).join(u' ').trimmed().toLower();
    m_startVisible = line.endsWith(QStringLiteral("-v"));
    Platform::Settings settings;
    if (m_startVisible)
        settings.setInt(u"Tray", u"Dialog", u"Visible", 1);
    else
        m_startVisible = settings.getInt(u"Tray", u"Dialog", u"Visible", 0) != 0;
}

CZarvoTrayDlg::~CZarvoTrayDlg()
{
    if (m_icon)
        m_icon->Hide();
}

QAction *CZarvoTrayDlg::Command(int id) const
{
    for (QAction *action : findChildren<QAction *>()) {
        if (WidgetIds::CommandId(action) == id)
            return action;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------
// Initialisation
// ---------------------------------------------------------------------------

bool CZarvoTrayDlg::Initialise()
{
    m_icon = m_app.MakeIcon();
    m_trayAvailable = m_icon && m_icon->IsAvailable();
    // Without a notification area the window is the only way in: a normal
    // window, always shown at start.
    ApplyWindowKind();
    if (!m_trayAvailable)
        m_startVisible = true;
    BuildViews();
    // The icon is asked for even where no notification area shows it yet:
    // one that appears later shows it at once.
    if (m_icon) {
        m_icon->Show(windowIcon(), m_app.Text(CZarvoTrayApp::ProgramNameText));
        connect(m_icon.get(), &TrayIcon::leftClicked, this, &CZarvoTrayDlg::OnLeftClick);
        connect(m_icon.get(), &TrayIcon::rightClicked, this, &CZarvoTrayDlg::ShowPopupMenu);
    }
    // Every quit of the application passes here first.
    QCoreApplication::instance()->installEventFilter(this);
    m_pollTimer.start(CZarvoTrayApp::PollIntervalMs, this);

    // The first reload decides between the views and the message, then the
    // size and place follow the views that show.
    m_app.ReloadData(false);
    FillLists();
    ApplyCompact(false);
    RefreshViews();
    const TraySettings::tPlacement saved = TraySettings::LoadPlacement(Platform::Settings());
    // The message's height follows the width, and so do the size limits:
    // both are measured again at the width the window takes, so that its
    // first frame shows the message whole.
    QRect placed;
    for (int pass = 0; pass < 3; ++pass) {
        ApplySizeLimits();
        const QRect again = TrayWindowSizing::Place(Views(), saved, WorkAreas(), FrameMargins());
        if (pass > 0 && again == placed)
            break;
        placed = again;
        resize(placed.size());
    }
    move(placed.topLeft());
    // The window manager's frame is known only once the window shows: the
    // place is checked again then.
    m_keepOnScreen = true;
    LayoutViews();
    m_initialised = true;
    // A record left by a sleep or the session's end is applied at start,
    // whatever "EndTaskOnStandby" says.
    bool openInfos = Platform::Settings().getInt(u"Tray", u"PopupInfos", u"Visible", 0) != 0;
    ApplyStandbyRecord(true, openInfos);
    m_power = new Platform::PowerEvents(this);
    connect(m_power, &Platform::PowerEvents::suspending, this, &CZarvoTrayDlg::OnSuspend);
    connect(m_power, &Platform::PowerEvents::sessionEnding, this, &CZarvoTrayDlg::OnSessionEnding);
    connect(m_power, &Platform::PowerEvents::resumed, this, &CZarvoTrayDlg::OnResume);
    if (m_startVisible)
        ShowWindow();
    if (openInfos && Dialogs().toggleInfos && !InfosShown())
        Dialogs().toggleInfos();
    return true;
}

void CZarvoTrayDlg::OnSuspend()
{
    if (!m_app.Settings().endTaskOnStandby || m_app.IsCompact())
        return;
    // The poll's copy may be ten seconds old: the newest entry again.
    m_app.ReadLastTask();
    const tTacheFull last = m_app.LastTask();
    if (last.Id == -1 || !last.IsRunning())
        return;
    const qint64 now = Platform::Clock::now();
    // The record before the end: the session may end this program at any
    // moment after it was told, and an entry ended without its record
    // would never be taken up. A record whose entry still runs is harmless:
    // only an entry that ended at the record's moment is taken up.
    Platform::Settings settings;
    TrayStandby::Write(settings, m_app.User().userId, last.Id, now);
    stepHook(StandbyStep::Recorded);
    bool stopped = false;
    {
        CTrayDatabase db(m_app.User().databasePath);
        stopped = db.StopTask(last.Id, now);
    }
    // A stop that failed leaves nothing to take up again.
    if (!stopped) {
        TrayStandby::Clear(settings, {m_app.User().userId, last.Id, now});
        return;
    }
    stepHook(StandbyStep::Ended);
    m_app.ForgetModif();
}

void CZarvoTrayDlg::SetStandbyStepHook(StandbyStepHook hook)
{
    standbyStepHook() = std::move(hook);
}

void CZarvoTrayDlg::OnResume()
{
    if (!m_app.Settings().endTaskOnStandby)
        return;
    bool openInfos = false;
    ApplyStandbyRecord(false, openInfos);
    if (openInfos && Dialogs().toggleInfos && !InfosShown())
        Dialogs().toggleInfos();
}

void CZarvoTrayDlg::OnSessionEnding()
{
    OnSuspend();
    Quit();
}

void CZarvoTrayDlg::ApplyStandbyRecord(bool atStart, bool &openInfos)
{
    Platform::Settings settings;
    const TrayStandby::tRecord record = TrayStandby::Read(settings);
    m_standbyRetry = false;
    if (!record.HoldsTask())
        return;
    // Without a database to read the record waits, untold: a user's file
    // that comes back is dealt with at a later poll, another user's record
    // is cleared then.
    if (m_app.IsCompact()) {
        m_standbyRetry = true;
        return;
    }
    // The newest entry read afresh; a file held by another program decides
    // nothing yet.
    bool done = m_app.ReadLastTask();
    const tTacheFull last = m_app.LastTask();
    const qint64 now = Platform::Clock::now();
    const TrayStandby::Action action =
        done ? TrayStandby::Decide(record, m_app.User().userId, last, now, m_app.Settings().actionOnRestart)
             : TrayStandby::Action::Nothing;
    switch (action) {
    case TrayStandby::Action::Reopen: {
        CTrayDatabase db(m_app.User().databasePath);
        done = db.ReopenTask(last.Id, record.time);
        break;
    }
    case TrayStandby::Action::RestartCopy: {
        tTacheFull again = last;
        again.Id = -1;
        again.Debut = now;
        again.Fin = 0;
        CTrayDatabase db(m_app.User().databasePath);
        done = db.StartTask(again, -1);
        break;
    }
    case TrayStandby::Action::ShowInfos:
        openInfos = true;
        break;
    case TrayStandby::Action::ShowWindow:
        if (atStart)
            m_startVisible = true;
        else if (!isVisible() || isMinimized())
            ShowOrHide();
        break;
    case TrayStandby::Action::Nothing:
        break;
    }
    // The record stays until the entry is taken up: the next poll tries
    // again, and the user hears of it once.
    if (!done) {
        m_standbyRetry = true;
        if (!m_standbyTold) {
            m_standbyTold = true;
            RichMessageBox(MessageBoxType::IconExclamation, this, m_app.Text(TextStandbyRetry), m_app.Text(124));
        }
        return;
    }
    TrayStandby::Clear(settings, record);
    m_standbyTold = false;
    if (action == TrayStandby::Action::Nothing)
        return;
    m_app.ForgetModif();
    Reload(true, false);
}

void CZarvoTrayDlg::BuildViews()
{
    const int glyph = std::max(16, fontMetrics().height());
    m_captionHeight = glyph + 6;

    m_hideButton = new CMyDesktopButton(this);
    WidgetIds::SetControlId(m_hideButton, TrayCommands::HideButton);
    m_hideButton->SetGlyph(CMyDesktopButton::Glyph::Close);
    m_hideButton->SetCaptionButton(true);
    connect(m_hideButton, &QToolButton::clicked, this, &CZarvoTrayDlg::HideWindow);
    m_menuButton = new CMyDesktopButton(this);
    WidgetIds::SetControlId(m_menuButton, TrayCommands::MenuButton);
    m_menuButton->SetGlyph(CMyDesktopButton::Glyph::DownArrow);
    m_menuButton->SetCaptionButton(true);
    connect(m_menuButton, &QToolButton::clicked, this,
            [this] { ShowPopupMenu(m_menuButton->mapToGlobal(QPoint(0, m_menuButton->height()))); });

    BuildToolBar();

    m_resume = new CViewResume(m_app, this, this);
    connect(m_resume, &CViewResume::pauseOrResume, this, [this] {
        PauseOrResume();
    });
    connect(m_resume, &CViewResume::chooseUser, this, &CZarvoTrayDlg::ChooseUser);

    m_day = new CDayCtrl(m_app, this);
    m_day->setFixedHeight(lines(this, 2));
    m_task = new CViewTask(m_app, this);
    m_task->setFixedHeight(lines(this, 4));
    m_task->PreferredHeight();
    connect(m_task, &QAbstractButton::clicked, this, [this] { PauseOrResume(); });
    m_tabs = new QTabWidget(this);
    m_favouritesList = new COwnerDrawListBox(true, m_app.Store(), m_app.Texts());
    WidgetIds::SetControlId(m_favouritesList, TrayCommands::FavouritesList);
    m_historyList = new COwnerDrawListBox(false, m_app.Store(), m_app.Texts());
    WidgetIds::SetControlId(m_historyList, TrayCommands::HistoryList);
    m_tabs->addTab(m_favouritesList, QString());
    m_tabs->addTab(m_historyList, QString());
    connect(m_favouritesList, &COwnerDrawListBox::startRequested, this,
            [this](int id) { StartFrom(id, true, false); });
    connect(m_historyList, &COwnerDrawListBox::startRequested, this,
            [this](int index) { StartFrom(index, false, false); });

    m_message = new CMyMFCButton(this);
    WidgetIds::SetControlId(m_message, TrayCommands::MessageButton);
    m_message->setIcon(QIcon::fromTheme(QStringLiteral("dialog-warning")));
    m_message->setIconSize(QSize(32, 32));
    m_message->SetWordWrap(true);
    m_message->SetClickable(false);
    m_message->hide();
    AttachToolTips();
    Retranslate();
    // F1 anywhere in the window opens its page.
    ContextHelp::Install(this, [] { return quint32(HelpTopics::TrayWindowTopic); });
}

void CZarvoTrayDlg::AttachToolTips()
{
    // One tip per toolbar button, its text read at each show.
    for (QAction *action : m_toolbar->actions()) {
        QWidget *button = m_toolbar->widgetForAction(action);
        const int id = WidgetIds::CommandId(action);
        if (!button || id == 0 || id == -1)
            continue;
        auto *tip = new CTrayToolTip(false, button);
        tip->Attach(button, [this, id](const QPoint &, tToolTipContent &content) {
            content = CTrayToolTip::CommandContent(CommandText(id));
            return !content.title.isEmpty();
        });
    }
}

QString CZarvoTrayDlg::CommandText(int id)
{
    if (id == TrayCommands::ShowWindow && isVisible() && !isMinimized())
        return m_app.Text(TextHideWindowCommand);
    if (id == ShowInfos && InfosShown())
        return m_app.Text(TextHideInfosCommand);
    return m_app.Text(id);
}

void CZarvoTrayDlg::UpdateTaskButton()
{
    if (!m_task->UpdateTaskState())
        return;
    m_task->setFixedHeight(m_task->PreferredHeight());
    if (m_initialised)
        FitViews();
}

void CZarvoTrayDlg::FitViews()
{
    ApplySizeLimits();
    const int required = TrayWindowSizing::RequiredHeight(Views());
    if (height() < required || !m_app.Settings().showFav)
        ResizeOnScreen(QSize(width(), required));
    LayoutViews();
}

void CZarvoTrayDlg::BuildToolBar()
{
    m_toolbar = new QToolBar(this);
    m_toolbar->setIconSize(QSize(16, 16));
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);
    std::map<int, void (CZarvoTrayDlg::*)()> handlers = {
        {TrayCommands::Quit, &CZarvoTrayDlg::Quit},       {StartZarvo, &CZarvoTrayDlg::StartMainProgram},
        {TrayCommands::ShowWindow, &CZarvoTrayDlg::ShowOrHide}, {ShowInfos, &CZarvoTrayDlg::ToggleInfos},
        {TrayCommands::NewTask, &CZarvoTrayDlg::NewTask}, {TrayCommands::ChooseUser, &CZarvoTrayDlg::ChooseUser},
        {TrayCommands::Options, &CZarvoTrayDlg::Options}, {TrayCommands::Help, &CZarvoTrayDlg::Help},
    };
    for (const ToolCommand &c : ToolCommands) {
        QAction *action = m_toolbar->addAction(QIcon::fromTheme(QString::fromLatin1(c.icon)), QString());
        WidgetIds::SetCommandId(action, c.id);
        auto handler = handlers.find(c.id);
        if (handler != handlers.end())
            connect(action, &QAction::triggered, this, handler->second);
    }
    // The sort button drops the sort menu down.
    m_sortMenu = new QMenu(this);
    WidgetIds::SetPopupKey(m_sortMenu, SortMenu);
    auto *group = new QActionGroup(m_sortMenu);
    const int sorts[] = {SortByUse, SortByProject, SortByActivity};
    for (int i = 0; i < 3; ++i) {
        QAction *action = m_sortMenu->addAction(QIcon::fromTheme(QString::fromLatin1(SortIcons[i])), QString());
        WidgetIds::SetCommandId(action, sorts[i]);
        action->setCheckable(true);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, i] { Sort(i); });
    }
    QAction *sort = Command(SortButton);
    sort->setMenu(m_sortMenu);
    m_sortButton = qobject_cast<QToolButton *>(m_toolbar->widgetForAction(sort));
    if (m_sortButton)
        m_sortButton->setPopupMode(QToolButton::InstantPopup);
    SortIcon();
}

void CZarvoTrayDlg::Retranslate()
{
    // Each toolbar command's text is "description\nlabel".
    for (const ToolCommand &c : ToolCommands) {
        QAction *action = Command(c.id);
        const QString text = m_app.Text(c.id);
        const qsizetype cut = text.indexOf(u'\n');
        const QString label = cut < 0 ? text : text.mid(cut + 1);
        const QString description = cut < 0 ? QString() : text.left(cut);
        action->setText(label);
        action->setToolTip(description.isEmpty() ? label : label + u'\n' + description);
    }
    for (QAction *action : m_sortMenu->actions())
        action->setText(m_app.MenuText(SortMenu, WidgetIds::CommandId(action)));
    m_tabs->setTabText(0, m_app.Text(111));
    m_tabs->setTabText(1, m_app.Text(112));
    m_favouritesList->viewport()->update();
    m_historyList->viewport()->update();
    m_resume->Retranslate();
    m_hideButton->setToolTip(m_app.Text(113));
    m_menuButton->setToolTip(QString());
    UpdateCommands();
}

void CZarvoTrayDlg::UpdateCommands()
{
    const tDialogs &d = Dialogs();
    Command(TrayCommands::NewTask)->setEnabled(bool(d.newTask) && TrayMenuModel::CanStart(m_app.LastTask(), Platform::Clock::now()));
    Command(TrayCommands::ChooseUser)->setEnabled(bool(d.chooseUser));
    Command(TrayCommands::Options)->setEnabled(bool(d.options));
    Command(ShowInfos)->setEnabled(bool(d.toggleInfos));
    Command(TrayCommands::Help)->setEnabled(ContextHelp::IsAvailable());
    Command(StartZarvo)->setEnabled(QFileInfo(QDir(m_app.ProgramFolder()).filePath(QStringLiteral("Zarvo"))).isFile());
    m_resume->UserButton()->SetClickable(bool(d.chooseUser));
}

void CZarvoTrayDlg::SortIcon()
{
    const int mode = std::clamp(m_app.Settings().sortMode, 0, 2);
    Command(SortButton)->setIcon(QIcon::fromTheme(QString::fromLatin1(SortIcons[mode])));
    const QList<QAction *> sorts = m_sortMenu->actions();
    if (mode < sorts.size())
        sorts[mode]->setChecked(true);
}

// ---------------------------------------------------------------------------
// Size and layout
// ---------------------------------------------------------------------------

QList<QRect> CZarvoTrayDlg::WorkAreas()
{
    QList<QRect> areas;
    if (const QScreen *primary = QGuiApplication::primaryScreen())
        areas << primary->availableGeometry();
    for (const QScreen *screen : QGuiApplication::screens()) {
        if (screen != QGuiApplication::primaryScreen())
            areas << screen->availableGeometry();
    }
    return areas;
}

QMargins CZarvoTrayDlg::FrameMargins() const
{
    return TrayWindowSizing::FrameMargins(frameGeometry(), geometry(), isVisible(), windowState());
}

void CZarvoTrayDlg::KeepOnScreen()
{
    if (!m_keepOnScreen || !isVisible() || isMinimized() || isMaximized())
        return;
    const QMargins margins = FrameMargins();
    QRect frame = geometry().marginsAdded(margins);
    // A frameless panel's frame is its inside; a window manager's frame is
    // known once it differs from the inside. Until then the place is kept
    // on the screen as if there were none, and checked again.
    if (m_trayAvailable || !margins.isNull()) {
        // The window manager's title bar, known now, may ask for more room.
        const int required = TrayWindowSizing::RequiredWidth(Views());
        if (width() < required) {
            ApplySizeLimits();
            if (width() < required)
                resize(required, height());
            // Kept on the screen at the resize.
            return;
        }
        m_keepOnScreen = false;
    }
    const QRect area = TrayWindowSizing::WorkAreaOf(frame, WorkAreas());
    // A frame larger than the screen (a caption measured before the frame
    // was known): the inside made smaller, down to what the views need.
    if (area.isValid() && (frame.width() > area.width() || frame.height() > area.height())) {
        ApplySizeLimits();
        const QSize fits =
            size().boundedTo(area.size() - (frame.size() - size())).expandedTo(minimumSize());
        if (fits != size()) {
            resize(fits);
            frame = geometry().marginsAdded(margins);
        }
    }
    const QPoint place = TrayWindowSizing::KeepWithin(frame, area);
    if (place != frame.topLeft())
        move(place);
}

void CZarvoTrayDlg::ResizeOnScreen(const QSize &size)
{
    m_keepOnScreen = true;
    // The new size may reach the window only with its resize event, which
    // keeps it on the screen then.
    if (size == this->size())
        KeepOnScreen();
    else
        resize(size);
}

TrayWindowSizing::tViews CZarvoTrayDlg::Views() const
{
    const TraySettings &s = m_app.Settings();
    TrayWindowSizing::tViews v;
    v.captionHeight = m_captionHeight;
    v.captionButton = QSize(m_captionHeight - 6, m_captionHeight - 6);
    v.toolbar = m_toolbar->sizeHint();
    v.resume = m_resume->RecordedSize();
    v.dayHeight = m_day->height();
    v.task = QSize(m_resume->RecordedSize().width(), m_task->height());
    v.showToolBar = s.showToolBar;
    v.showResume = s.showResume;
    v.showDay = s.showDay;
    v.showTask = s.showTask;
    v.showFav = s.showFav;
    v.compact = m_app.IsCompact();
    // The caption's title, as wide as the screen lets it be.
    QFont bold = font();
    bold.setBold(true);
    v.captionTextWidth = QFontMetrics(bold).horizontalAdvance(windowTitle());
    const QMargins margins = FrameMargins();
    const QRect frame = geometry().marginsAdded(margins);
    const QRect area = TrayWindowSizing::WorkAreaOf(frame, WorkAreas());
    v.widest = area.isValid() ? std::max(1, area.width() - (frame.width() - this->width())) : 0;
    // A window manager's title bar repeats the title beside its buttons,
    // about as wide as the bar is high each, in a bold font of its own: the
    // title counted a tenth wider than in ours.
    const int bar = margins.top() - margins.bottom();
    if (!m_trayAvailable && bar > 0)
        v.titleBarWidth = v.captionTextWidth * 11 / 10 + TitleBarButtons * bar - margins.left() - margins.right();
    const int width = std::max(TrayWindowSizing::RequiredWidth(v), this->width()) - 10;
    v.messageHeight = m_message->heightForWidth(width);
    return v;
}

void CZarvoTrayDlg::ApplySizeLimits()
{
    const TrayWindowSizing::tViews v = Views();
    const QSize least = TrayWindowSizing::Limit(v, QSize(0, 0));
    // A larger least size grows the window at once: kept on the screen.
    if (least.width() > width() || least.height() > height())
        m_keepOnScreen = true;
    setMinimumSize(least);
    const bool tabs = v.showFav && !v.compact;
    setMaximumHeight(tabs ? QWIDGETSIZE_MAX : least.height());
}

void CZarvoTrayDlg::LayoutViews()
{
    const bool shown = isVisible();
    if (shown)
        setUpdatesEnabled(false);
    const TrayWindowSizing::tViews v = Views();
    const TrayWindowSizing::tLayout l = TrayWindowSizing::Layout(v, size());
    m_hideButton->setGeometry(l.hideButton);
    m_menuButton->setGeometry(l.menuButton);
    const auto place = [](QWidget *w, const QRect &r) {
        w->setVisible(!r.isNull());
        if (!r.isNull())
            w->setGeometry(r);
    };
    place(m_toolbar, l.toolbar);
    place(m_message, l.message);
    place(m_resume, l.resume);
    place(m_day, l.day);
    place(m_task, l.task);
    place(m_tabs, l.tabs);
    if (shown) {
        setUpdatesEnabled(true);
        update();
    }
}

void CZarvoTrayDlg::ApplyCompact(bool wasCompact)
{
    m_message->setText(m_app.CompactMessage());
    ApplySizeLimits();
    const bool compact = m_app.IsCompact();
    if (compact != wasCompact && m_initialised) {
        const QSize wanted = compact || !m_app.Settings().showFav
            ? QSize(width(), 0)
            : QSize(width(), Platform::Settings().getInt(u"Tray", u"Dialog", u"Height", 0));
        ResizeOnScreen(TrayWindowSizing::Limit(Views(), wanted));
    }
    LayoutViews();
    if (Dialogs().refreshInfos && compact != wasCompact)
        Dialogs().refreshInfos();
}

void CZarvoTrayDlg::resizeEvent(QResizeEvent *)
{
    if (m_initialised) {
        Platform::Settings settings;
        settings.setInt(u"Tray", u"Dialog", u"Width", width());
        if (m_app.Settings().showFav && !m_app.IsCompact())
            settings.setInt(u"Tray", u"Dialog", u"Height", height());
    }
    LayoutViews();
    KeepOnScreen();
}

void CZarvoTrayDlg::moveEvent(QMoveEvent *)
{
    if (!m_initialised)
        return;
    Platform::Settings settings;
    settings.setInt(u"Tray", u"Dialog", u"Left", x());
    settings.setInt(u"Tray", u"Dialog", u"Top", y());
    KeepOnScreen();
}

void CZarvoTrayDlg::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    KeepOnScreen();
}

void CZarvoTrayDlg::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // Brought back by the window manager (its list of windows, Alt+Tab):
    // a place checked while minimised is checked now.
    if (event->type() == QEvent::WindowStateChange && isVisible() && !isMinimized())
        KeepOnScreen();
}

void CZarvoTrayDlg::paintEvent(QPaintEvent *)
{
    // The caption band with the day's title; a frameless panel draws its
    // own edge.
    QPainter p(this);
    TrayCaption::Paint(p, *this, m_captionHeight, windowTitle(), m_menuButton->x() - TrayCaption::TextGap,
                       m_trayAvailable);
}

void CZarvoTrayDlg::mousePressEvent(QMouseEvent *event)
{
    // The user moves or sizes the window from here on.
    m_keepOnScreen = false;
    if (event->button() != Qt::LeftButton || !windowHandle())
        return QWidget::mousePressEvent(event);
    // A frameless panel is resized from its edges and moved from anywhere
    // else inside it.
    if (m_trayAvailable) {
        constexpr int grip = 5;
        const QPoint p = event->position().toPoint();
        Qt::Edges edges;
        if (p.x() < grip)
            edges |= Qt::LeftEdge;
        if (p.x() >= width() - grip)
            edges |= Qt::RightEdge;
        if (p.y() >= height() - grip)
            edges |= Qt::BottomEdge;
        if (p.y() < 2 && p.x() < width() - 2 * m_captionHeight)
            edges |= Qt::TopEdge;
        if (edges && windowHandle()->startSystemResize(edges))
            return;
    }
    if (!windowHandle()->startSystemMove())
        QWidget::mousePressEvent(event);
}

void CZarvoTrayDlg::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_pollTimer.timerId())
        OnPollTimer();
    else
        QWidget::timerEvent(event);
}

void CZarvoTrayDlg::keyPressEvent(QKeyEvent *event)
{
    // Escape hides the window as closing it does.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        HideWindow();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CZarvoTrayDlg::closeEvent(QCloseEvent *event)
{
    // The program's end closes it for good.
    if (m_ending) {
        event->accept();
        return;
    }
    // Closing never ends the program: it hides the panel, or minimises the
    // normal window when there is no notification area to come back from.
    event->ignore();
    HideWindow();
}

// ---------------------------------------------------------------------------
// Refresh
// ---------------------------------------------------------------------------

void CZarvoTrayDlg::RefreshViews()
{
    setWindowTitle(m_app.Title());
    // A longer title widens the window, within the screen.
    if (m_initialised) {
        const int required = TrayWindowSizing::RequiredWidth(Views());
        if (width() < required) {
            ApplySizeLimits();
            ResizeOnScreen(QSize(required, height()));
        }
    }
    // Also while no notification area shows it: one may appear.
    if (m_icon)
        m_icon->SetTip(m_app.IconTip());
    if (Dialogs().refreshInfos)
        Dialogs().refreshInfos();
    m_day->SetDay(Platform::LocalTime::localDate(Platform::Clock::now()));
    if (m_day->isVisible())
        m_day->update();
    UpdateTaskButton();
    m_resume->Refresh();
    UpdateCommands();
    update(QRect(0, 0, width(), m_captionHeight));
}

void CZarvoTrayDlg::Poll()
{
    m_app.PollData();
    RefreshViews();
}

void CZarvoTrayDlg::OnPollTimer()
{
    FollowNotificationArea();
    if (m_standbyRetry) {
        bool openInfos = false;
        ApplyStandbyRecord(false, openInfos);
        if (openInfos && Dialogs().toggleInfos && !InfosShown())
            Dialogs().toggleInfos();
    }
    // Without a user (none made yet, none selected, or no users folder) the
    // user is chosen again: the main program may have made one since.
    if (m_app.User().databasePath.isEmpty()) {
        Reload(false, true);
        return;
    }
    // A database that went or came back since the last reload: reload.
    const bool exists = m_app.DatabaseExists();
    const bool missingShown = m_app.Compact() == CZarvoTrayApp::CompactReason::NoDatabase
        || m_app.Compact() == CZarvoTrayApp::CompactReason::NoUsers;
    if (exists == missingShown)
        Reload(false, false);
    else
        Poll();
}

void CZarvoTrayDlg::Reload(bool onlyIfShown, bool newUser)
{
    if (onlyIfShown && !isVisible() && !InfosShown())
        return;
    const bool wasCompact = m_app.IsCompact();
    m_app.ReloadData(newUser);
    FillLists();
    ApplyCompact(wasCompact);
    RefreshViews();
}

void CZarvoTrayDlg::OnChangeNotice(int kind)
{
    if (kind < 0 || kind > 5)
        return;
    // The main program wrote its settings before it told: read them again
    // before any of its values is taken.
    Platform::Settings().sync();
    switch (kind) {
    case 0:
        m_app.ForgetModif();
        Reload(false, true);
        break;
    case 1:
        m_app.ForgetModif();
        Reload(false, false);
        break;
    case 2:
        if (CLanguageSelector *languages = m_app.Languages()) {
            languages->ChooseLanguage();
            languages->ApplyRunTimeLocale();
        }
        m_app.ReloadTexts();
        Retranslate();
        Reload(true, false);
        break;
    case 3:
        if (CLanguageSelector *languages = m_app.Languages())
            languages->ChooseHelpLanguage();
        UpdateCommands();
        break;
    case 4: {
        const QString pattern = m_app.Texts().DurationPatternText();
        m_app.Texts().LoadFormats(Platform::Settings());
        m_app.ForgetModif();
        Reload(true, false);
        // The Infos window's form depends on the pattern: made again.
        if (pattern != m_app.Texts().DurationPatternText() && InfosShown() && Dialogs().toggleInfos) {
            Dialogs().toggleInfos();
            QTimer::singleShot(100, this, [] {
                if (Dialogs().toggleInfos && !(Dialogs().infosShown && Dialogs().infosShown()))
                    Dialogs().toggleInfos();
            });
        }
        break;
    }
    case 5:
        if (m_app.ApplyVisualStyle())
            update();
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------
// Showing and hiding
// ---------------------------------------------------------------------------

bool CZarvoTrayDlg::InfosShown() const
{
    return Dialogs().infosShown && Dialogs().infosShown();
}

bool CZarvoTrayDlg::InfosOpen() const
{
    return Dialogs().infosOpen && Dialogs().infosOpen();
}

void CZarvoTrayDlg::RecordVisible(bool visible)
{
    Platform::Settings().setInt(u"Tray", u"Dialog", u"Visible", visible ? 1 : 0);
}

void CZarvoTrayDlg::ShowWindow()
{
    if (!isVisible() || isMinimized())
        m_keepOnScreen = true;
    show();
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void CZarvoTrayDlg::ShowOrHide()
{
    if (isVisible() && !isMinimized()) {
        HideWindow();
        return;
    }
    Reload(false, true);
    m_startVisible = true;
    ShowWindow();
    RecordVisible(true);
}

void CZarvoTrayDlg::Conceal()
{
    // Without an icon to come back from, a hidden window would be lost:
    // every hide minimises instead. The notification area may have gone
    // since it was last looked at.
    FollowNotificationArea();
    if (m_trayAvailable)
        hide();
    else
        showMinimized();
}

void CZarvoTrayDlg::HideWindow()
{
    Conceal();
    RecordVisible(false);
}

void CZarvoTrayDlg::OnLeftClick()
{
    switch (m_app.Settings().leftClick) {
    case 0: ShowOrHide(); break;
    case 1: StartMainProgram(); break;
    case 2:
        m_app.ReadLastTask();
        if (TrayMenuModel::CanStart(m_app.LastTask(), Platform::Clock::now()))
            NewTask();
        break;
    case 3: ToggleInfos(); break;
    default: break;
    }
}

void CZarvoTrayDlg::OnWake()
{
    FollowNotificationArea();
    if (isVisible() && !isMinimized()) {
        ShowWindow();
        return;
    }
    if (isVisible() || !m_trayAvailable) {
        // A minimised normal window comes back.
        ShowWindow();
        return;
    }
    OnLeftClick();
}

// ---------------------------------------------------------------------------
// The pop-up menu
// ---------------------------------------------------------------------------

void CZarvoTrayDlg::ShowPopupMenu(const QPoint &where)
{
    if (m_popup)
        m_popup->deleteLater();
    m_popup = new QMenu(this);
    WidgetIds::SetPopupKey(m_popup, IconMenu);
    m_favouriteIds.clear();
    // What the menu offers belongs to this database: a user chosen in the
    // main program while it is open does not get its commands.
    const QString shownFrom = m_app.User().databasePath;
    m_app.ReadLastTask();
    const qint64 now = Platform::Clock::now();
    const bool canStart = TrayMenuModel::CanStart(m_app.LastTask(), now);
    const tDialogs &d = Dialogs();
    const auto items = TrayMenuModel::Build(m_app.LastTask(), now, m_app.Settings().leftClick,
                                            isVisible() && !isMinimized(), InfosShown());
    for (const TrayMenuModel::Item &item : items) {
        if (item.IsSeparator()) {
            m_popup->addSeparator();
            continue;
        }
        if (item.IsPopup()) {
            QMenu *sub = m_popup->addMenu(m_app.MenuText(IconMenu, item.command));
            WidgetIds::SetPopupKey(sub, item.command);
            sub->setEnabled(item.enabled);
            if (canStart && !m_app.IsCompact()) {
                if (item.command == FavouritesPopup)
                    FillFavouritesMenu(sub, shownFrom);
                else
                    m_app.Store().AppendHistoryMenu(*sub, FirstRecent);
            }
            if (item.command == HistoryPopup) {
                for (QAction *action : sub->actions()) {
                    const int index = WidgetIds::CommandId(action) - FirstRecent;
                    connect(action, &QAction::triggered, this,
                            [this, index, shownFrom] { StartFrom(index, false, false, shownFrom); });
                }
            }
            continue;
        }
        QAction *action = m_popup->addAction(
            item.stringId ? m_app.Text(item.stringId) : m_app.MenuText(IconMenu, item.command));
        WidgetIds::SetCommandId(action, item.command);
        bool enabled = item.enabled;
        switch (item.command) {
        case StartZarvo: enabled = Command(StartZarvo)->isEnabled(); break;
        case ShowInfos: enabled = bool(d.toggleInfos); break;
        case TrayCommands::NewTask: enabled = enabled && bool(d.newTask); break;
        case TrayCommands::Options: enabled = bool(d.options); break;
        case TrayCommands::Help: enabled = ContextHelp::IsAvailable(); break;
        default: break;
        }
        action->setEnabled(enabled);
        if (item.isDefault) {
            QFont bold = action->font();
            bold.setBold(true);
            action->setFont(bold);
            m_popup->setDefaultAction(action);
        }
        switch (item.command) {
        case StartZarvo: connect(action, &QAction::triggered, this, &CZarvoTrayDlg::StartMainProgram); break;
        case TrayCommands::ShowWindow: connect(action, &QAction::triggered, this, &CZarvoTrayDlg::ShowOrHide); break;
        case ShowInfos: connect(action, &QAction::triggered, this, &CZarvoTrayDlg::ToggleInfos); break;
        case TrayCommands::NewTask: connect(action, &QAction::triggered, this, &CZarvoTrayDlg::NewTask); break;
        case Pause:
        case Resume: {
            const auto undone = item.command == Pause ? TrayUserChange::Undone::Stop : TrayUserChange::Undone::Start;
            connect(action, &QAction::triggered, this, [this, shownFrom, undone] {
                if (TrayUserChange::StillCurrent(m_app, shownFrom, this, undone))
                    PauseOrResume();
            });
            break;
        }
        case TrayCommands::Options: connect(action, &QAction::triggered, this, &CZarvoTrayDlg::Options); break;
        case TrayCommands::Help: connect(action, &QAction::triggered, this, &CZarvoTrayDlg::Help); break;
        case TrayCommands::Quit: connect(action, &QAction::triggered, this, &CZarvoTrayDlg::Quit); break;
        default: break;
        }
    }
    m_popup->popup(where);
    m_popup->activateWindow();
}

void CZarvoTrayDlg::FillFavouritesMenu(QMenu *menu, const QString &shownFrom)
{
    const auto lines = TrayMenuModel::FavouriteLines(m_app.Favourites(), m_favouriteIds, MaxFavouriteCommands);
    // Each level's menu: a group opens a sub-menu for the lines below it.
    std::vector<QMenu *> levels{menu};
    for (const TrayMenuModel::FavouriteLine &line : lines) {
        const size_t level = std::min<size_t>(size_t(std::max(0, line.level)), levels.size() - 1);
        levels.resize(level + 1);
        QMenu *parent = levels.back();
        if (line.command == 0) {
            levels.push_back(parent->addMenu(line.item->Text));
            continue;
        }
        QString text = line.item->Text;
        if (text.isEmpty())
            text = m_app.Store().GetProjectFullName(line.item->IdProject);
        text.replace(u'&', QStringLiteral("&&"));
        QAction *action = parent->addAction(text);
        WidgetIds::SetCommandId(action, line.command);
        const int index = line.command - FirstFavourite;
        connect(action, &QAction::triggered, this, [this, index, shownFrom] {
            if (index < int(m_favouriteIds.size()))
                StartFrom(m_favouriteIds[size_t(index)], true, true, shownFrom);
        });
    }
}

// ---------------------------------------------------------------------------
// Commands
// ---------------------------------------------------------------------------

void CZarvoTrayDlg::StartMainProgram()
{
    const QString program = QDir(m_app.ProgramFolder()).filePath(QStringLiteral("Zarvo"));
    if (QFileInfo(program).isFile())
        m_app.StartProgram(program);
}

bool CZarvoTrayDlg::RefuseFutureTask()
{
    const tTacheFull &last = m_app.LastTask();
    const qint64 now = Platform::Clock::now();
    if (last.Id == -1 || (last.Debut <= now && last.Fin <= now))
        return false;
    RichMessageBox(MessageBoxType::IconExclamation, this, m_app.Text(120), m_app.Text(124));
    return true;
}

void CZarvoTrayDlg::WriteFailed()
{
    RichMessageBox(MessageBoxType::IconExclamation, this, m_app.Text(123), m_app.Text(124));
}

void CZarvoTrayDlg::StartFrom(int id, bool favourite, bool keepWindow, const QString &shownFrom)
{
    if (id == -1)
        return;
    // The window's lists are filled again with a change of user; a menu
    // is not.
    if (!shownFrom.isEmpty()
        && !TrayUserChange::StillCurrent(m_app, shownFrom, this, TrayUserChange::Undone::Start))
        return;
    if (m_app.IsCompact())
        return;
    m_app.ReadLastTask();
    if (RefuseFutureTask())
        return;
    tTacheFull task;
    bool ok = true;
    {
        CTrayDatabase db(m_app.User().databasePath);
        if (favourite) {
            ok = db.GetFavourite(task, id, false);
        } else {
            ok = id >= 0 && id < MaxRecentCommands
                && m_app.Store().Store().GetHistoryEntry(id, task.IdProjet, task.IdActivite, task.IdTauxHoraire);
        }
        if (ok) {
            task.Debut = Platform::Clock::now();
            task.Fin = 0;
            ok = db.StartTask(task, favourite ? id : -1);
        }
    }
    if (!ok) {
        WriteFailed();
        // A favourite gone meanwhile: the lists show what is left.
        Reload(false, false);
        return;
    }
    // 'Modif' holds whole seconds: this write may have left it as read.
    m_app.ForgetModif();
    if (m_app.Settings().autoHide && !keepWindow) {
        if (InfosShown())
            Poll();
        HideWindow();
    } else {
        Reload(true, false);
    }
}

void CZarvoTrayDlg::PauseOrResume()
{
    m_app.ReadLastTask();
    const tTacheFull last = m_app.LastTask();
    if (last.Id == -1 || m_app.IsCompact())
        return;
    if (RefuseFutureTask())
        return;
    bool ok = false;
    {
        CTrayDatabase db(m_app.User().databasePath);
        if (last.Fin != 0) {
            tTacheFull again = last;
            again.Id = -1;
            again.Debut = Platform::Clock::now();
            again.Fin = 0;
            ok = db.StartTask(again, -1);
        } else {
            ok = db.StopTask(last.Id, Platform::Clock::now());
        }
    }
    if (!ok) {
        WriteFailed();
        Reload(false, false);
        return;
    }
    m_app.ForgetModif();
    Reload(true, false);
}

void CZarvoTrayDlg::NewTask()
{
    if (!Dialogs().newTask)
        return;
    m_app.ReadLastTask();
    if (RefuseFutureTask())
        return;
    if (!Dialogs().newTask(this))
        return;
    m_app.ForgetModif();
    if (m_app.Settings().autoHide)
        Conceal();
    else
        Reload(true, false);
}

void CZarvoTrayDlg::ChooseUser()
{
    if (Dialogs().chooseUser && Dialogs().chooseUser(this))
        Reload(false, true);
}

void CZarvoTrayDlg::Options()
{
    bool layoutChanged = false;
    if (!Dialogs().options || !Dialogs().options(this, layoutChanged) || !layoutChanged)
        return;
    FitViews();
}

void CZarvoTrayDlg::ToggleInfos()
{
    if (Dialogs().toggleInfos)
        Dialogs().toggleInfos();
}

void CZarvoTrayDlg::Sort(int mode)
{
    m_app.Settings().sortMode = std::clamp(mode, 0, 2);
    Platform::Settings().setInt(u"Tray", u"Favoris", u"Sorting", m_app.Settings().sortMode);
    SortIcon();
    m_favouritesList->ResetViewState();
    m_app.LoadFavourites();
    FillLists();
}

void CZarvoTrayDlg::FillLists()
{
    // Another user: the view kept for that user, if any.
    const int user = m_app.User().userId;
    if (user != m_listUser) {
        if (m_listUser != -1)
            m_favouritesList->SaveViewState(m_listUser);
        m_favouritesList->LoadViewState(user);
        m_listUser = user;
    }
    m_favouritesList->SetRecords(m_app.Favourites(), m_app.Settings().sortMode);
    m_historyList->SetHistoryCount(std::min(m_app.Store().Store().GetHistoryCount(), int(MaxRecentCommands)));
}

void CZarvoTrayDlg::Help()
{
    // The program's help says when its pages are missing or no browser
    // opened them.
    if (ContextHelp::IsAvailable())
        ContextHelp::Open(HelpTopics::TrayWindowTopic);
}

void CZarvoTrayDlg::Quit()
{
    RecordOpenWindows();
    QCoreApplication::quit();
}

void CZarvoTrayDlg::RecordOpenWindows()
{
    // Before anything closes: closing the Infos window now must not count
    // as the user closing it.
    Platform::Settings settings;
    settings.setInt(u"Tray", u"PopupInfos", u"Visible", InfosOpen() ? 1 : 0);
    if (m_listUser != -1)
        m_favouritesList->SaveViewState(m_listUser);
    settings.sync();
}

bool CZarvoTrayDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == QCoreApplication::instance() && event->type() == QEvent::Quit && !m_ending) {
        // Held back when a window refused to close; otherwise Qt's own
        // handling closes what is left and ends the loop.
        if (!PrepareToEnd()) {
            event->ignore();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool CZarvoTrayDlg::PrepareToEnd()
{
    RecordOpenWindows();
    m_ending = true;
    // As Qt's own quit: every window is asked to close, and one that
    // refuses keeps the program running.
    QList<QPointer<QWindow>> windows;
    for (QWindow *window : QGuiApplication::topLevelWindows())
        windows << window;
    for (const QPointer<QWindow> &window : windows) {
        if (window && window->handle() && !window->close()) {
            m_ending = false;
            // This window may have closed already: back within reach.
            if (!isVisible() && !m_trayAvailable)
                showMinimized();
            return false;
        }
    }
    if (m_icon)
        m_icon->Hide();
    return true;
}

void CZarvoTrayDlg::ApplyWindowKind()
{
    if (m_trayAvailable)
        setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    else
        setWindowFlags(Qt::Window);
}

void CZarvoTrayDlg::FollowNotificationArea()
{
    const bool available = m_icon && m_icon->IsAvailable();
    if (available == m_trayAvailable || m_ending)
        return;
    const bool inView = isVisible() && !isMinimized();
    m_trayAvailable = available;
    // Changing the kind hides the window, and gives it a frame or takes it
    // away: its place is checked again once it shows.
    ApplyWindowKind();
    m_keepOnScreen = true;
    if (m_initialised) {
        ApplySizeLimits();
        LayoutViews();
    }
    if (inView)
        ShowWindow();
    else if (!available)
        // No icon to come back from: within reach, as a hidden window is
        // here.
        showMinimized();
    // Otherwise it stays hidden behind the icon that shows now.
}
