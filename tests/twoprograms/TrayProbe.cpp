// What a test reads of, and does in, the running tray program through its
// driver: the newest entry it shows, its window's title, the message it
// shows in place of its views, its favourites, what its current-task
// button and day strip draw, a poll, its poll timer stopped, a click on a
// favourite's row, a command of the icon's menu, how its windows show,
// whether a dialog lies clear of the Infos window and a click on it where
// the display shows it, a move of the window as the user makes one.
//
// With ZARVO_TEST_NOTIFICATION_AREA=1 in its environment the program
// believes the desktop has a notification area (where the display has
// none, as offscreen).
#include "CDayCtrl.h"
#include "CMyDesktopAlertWnd.h"
#include "COwnerDrawListBox.h"
#include "CViewTask.h"
#include "CZarvoTrayApp.h"
#include "CZarvoTrayDlg.h"
#include "ProgramDriver.h"
#include "TrayCommands.h"
#include "TrayDialogs.h"
#include "TrayIcon.h"
#include "WidgetIds.h"

#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <QTimerEvent>
#include <QWindow>

#if ZARVO_TEST_XCB
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <iterator>
#endif

namespace {

// Whether the believed notification area is there: a test takes it away
// as a panel that ends would.
bool &areaBelieved()
{
    static bool there = true;
    return there;
}

// An icon in a notification area that the display does not have.
class BelievedIcon : public TrayIcon
{
public:
    bool IsAvailable() const override { return areaBelieved(); }
    void Show(const QIcon &, const QString &) override {}
    void SetTip(const QString &) override {}
    void Hide() override {}
};

void believeInANotificationArea()
{
    if (qEnvironmentVariable("ZARVO_TEST_NOTIFICATION_AREA") == u"1")
        CZarvoTrayApp::SetDefaultIconFactory([] { return std::make_unique<BelievedIcon>(); });
}

Q_COREAPP_STARTUP_FUNCTION(believeInANotificationArea)

// The window's poll timer while a test has it stopped (0: it runs).
struct StoppedTimer
{
    int id = 0;
    Qt::TimerType type = Qt::CoarseTimer;
};
StoppedTimer &stopped()
{
    static StoppedTimer timer;
    return timer;
}

// The id of the window's 10-second timer, running or stopped; 0 for none.
int pollTimerId(CZarvoTrayApp &app, Qt::TimerType *type = nullptr)
{
    if (stopped().id != 0)
        return stopped().id;
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    if (!app.Window() || !dispatcher)
        return 0;
    for (const QAbstractEventDispatcher::TimerInfo &timer : dispatcher->registeredTimers(app.Window())) {
        if (timer.interval == CZarvoTrayApp::PollIntervalMs) {
            if (type)
                *type = timer.timerType;
            return timer.timerId;
        }
    }
    return 0;
}

// Starts the stopped timer again, as it was.
void restartPollTimer(CZarvoTrayApp &app)
{
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    if (stopped().id == 0 || !dispatcher || !app.Window())
        return;
    dispatcher->registerTimer(stopped().id, CZarvoTrayApp::PollIntervalMs, stopped().type, app.Window());
    stopped() = StoppedTimer();
}

// How the window manager holds the window (ICCCM's WM_STATE): Normal,
// Iconic, or Withdrawn where it holds it no more (or not yet); Unknown on a
// display that is no X server. A state the program asked for is one the
// user sees only once the window manager has taken it.
enum class Held { Unknown, Withdrawn, Normal, Iconic };

Held heldByWindowManager(const QWidget &window)
{
#if ZARVO_TEST_XCB
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return Held::Unknown;
    if (!window.internalWinId())
        return Held::Withdrawn;
    xcb_connection_t *c = x11->connection();
    const char name[] = "WM_STATE";
    xcb_intern_atom_reply_t *atom =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, std::strlen(name), name), nullptr);
    const xcb_atom_t wmState = atom ? atom->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(atom);
    if (wmState == XCB_ATOM_NONE)
        return Held::Withdrawn;
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, xcb_window_t(window.internalWinId()), wmState, wmState, 0, 1), nullptr);
    quint32 state = 0; // WithdrawnState
    if (reply && reply->format == 32 && xcb_get_property_value_length(reply) >= 4)
        std::memcpy(&state, xcb_get_property_value(reply), sizeof(state));
    std::free(reply);
    return state == 1 ? Held::Normal : state == 3 ? Held::Iconic : Held::Withdrawn;
#else
    Q_UNUSED(window);
    return Held::Unknown;
#endif
}

#if ZARVO_TEST_XCB
// Sends the window manager the client message `name` about `window`, its
// first data words `data`, through the root window as a pager does; false
// where the message cannot be sent.
bool askWindowManager(const QWidget &window, const char *name, std::initializer_list<quint32> data)
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection() || !window.internalWinId())
        return false;
    xcb_connection_t *c = x11->connection();
    xcb_intern_atom_reply_t *atom =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr);
    if (!atom)
        return false;
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = xcb_window_t(window.internalWinId());
    event.type = atom->atom;
    std::copy_n(data.begin(), std::min(data.size(), std::size(event.data.data32)), event.data.data32);
    std::free(atom);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char *>(&event));
    xcb_flush(c);
    return true;
}
#endif

// Asks the window manager to bring the window back, as its list of windows
// (a pager) does; false on a display that is no X server.
bool restoreByWindowManager(const QWidget &window)
{
#if ZARVO_TEST_XCB
    return askWindowManager(window, "_NET_ACTIVE_WINDOW", {2}); // from a pager
#else
    Q_UNUSED(window);
    return false;
#endif
}

// Asks the window manager to move the window's frame to `place` (its top
// left corner), as the user's direct action does (a drag of its title bar,
// a pager): the program is told of the move as of any the user makes.
// False on a display that is no X server.
bool moveByWindowManager(const QWidget &window, const QPoint &place)
{
#if ZARVO_TEST_XCB
    // The frame's top left (north-west gravity), x and y given, from the
    // user's direct action.
    return askWindowManager(window, "_NET_MOVERESIZE_WINDOW",
                            {XCB_GRAVITY_NORTH_WEST | (1u << 8) | (1u << 9) | (2u << 12), quint32(place.x()),
                             quint32(place.y())});
#else
    Q_UNUSED(window);
    Q_UNUSED(place);
    return false;
#endif
}

QString rectText(const QRect &r)
{
    return QStringLiteral("%1,%2,%3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// How the user sees `window`, a window of the program: "shown" once the
// window manager (where there is one) holds it in view and it is exposed,
// "minimised" once it holds it minimised, "hidden" when the program does
// not show it; "unsettled" while the window manager has not yet taken the
// state the program asked for.
QString seenAs(const QWidget *window)
{
    const Held held = window ? heldByWindowManager(*window) : Held::Unknown;
    const bool known = held == Held::Unknown;
    if (!window || !window->isVisible())
        return known || held == Held::Withdrawn ? QStringLiteral("hidden") : QStringLiteral("unsettled");
    if (window->isMinimized())
        return known || held == Held::Iconic ? QStringLiteral("minimised") : QStringLiteral("unsettled");
    return known || (held == Held::Normal && window->windowHandle() && window->windowHandle()->isExposed())
        ? QStringLiteral("shown")
        : QStringLiteral("unsettled");
}

// The control `id` of the modal dialog shown, or null.
QWidget *modalControl(int id)
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal)
        return nullptr;
    for (QAbstractButton *button : modal->findChildren<QAbstractButton *>()) {
        if (WidgetIds::ControlId(button) == id && button->isVisible())
            return button;
    }
    return nullptr;
}

// Whether OK (1) and Annuler (2) of the modal dialog lie clear of the Infos
// window and on top at their middle, and the dialog on top where it meets
// the Infos window, as the display stacks the windows: "clear", or what is
// wrong.
QString dialogClear()
{
    QWidget *modal = QApplication::activeModalWidget();
    const CMyDesktopAlertWnd *infos = TrayDialogs::Infos();
    if (!modal)
        return QStringLiteral("none");
    if (seenAs(modal) != u"shown" || modal->frameGeometry() == modal->geometry())
        return QStringLiteral("unsettled");
    if (!infos || seenAs(infos) != u"shown")
        return QStringLiteral("no infos");
    for (int id : {1, 2}) {
        QWidget *button = modalControl(id);
        if (!button)
            return QStringLiteral("no button %1").arg(id);
        const QRect rect(button->mapToGlobal(QPoint(0, 0)), button->size());
        if (rect.intersects(infos->frameGeometry()))
            return QStringLiteral("button %1 at %2 under the Infos window at %3")
                .arg(id)
                .arg(rectText(rect), rectText(infos->frameGeometry()));
        QWidget *top = QApplication::widgetAt(rect.center());
        if (top != button)
            return QStringLiteral("button %1 covered by %2")
                .arg(id)
                .arg(top ? QString::fromLatin1(top->window()->metaObject()->className()) : QStringLiteral("nothing"));
    }
    // Where the dialog meets the Infos window, the dialog is on top.
    const QRect common = modal->geometry().intersected(infos->frameGeometry());
    if (!common.isEmpty()) {
        const QWidget *top = QApplication::widgetAt(common.center());
        if (!top || top->window() != modal)
            return QStringLiteral("under the Infos window at ") + rectText(common);
    }
    return QStringLiteral("clear");
}

//   ready              -> 1 once its window is made
//   last               -> "ID START END" of the newest entry it read
//   title              -> the window's title
//   message            -> the message shown in place of the views, or none
//   favourites         -> the favourites' ids, in the list's order
//   day                -> "ID:END ..." of today's entries (the day strip's)
//   today              -> today's total
//   user               -> the current user's name
//   task-button        -> "label=value|..." of the lines the current-task
//                         button paints (painted now)
//   day-strip          -> "START-END ..." of the bars the day strip draws,
//                         in minutes of the day
//   poll               -> ok once the window's poll timer has run, as
//                         it does every 10 seconds
//   poll-timer off|on  -> ok: the window's timer stopped (only a change
//                         notice, or a poll asked here, then reads the
//                         database) or started again
//   click-favourite ID -> ok when the favourite's row was clicked, else none
//   menu COMMAND       -> ok when the icon's menu (built as a right click
//                         builds it) had the command and it was chosen;
//                         disabled or none otherwise
//   window             -> shown, minimised or hidden once the window
//                         manager holds the window so (where there is
//                         one), and the program has seen it mapped;
//                         "unsettled" before
//   hide               -> ok once the window was hidden as Escape hides it
//   restore            -> ok once a minimised window was asked back, as
//                         the window manager's list of windows brings it
//                         (by the window manager where there is one)
//   area on|off        -> ok: the believed notification area comes or goes
//                         (seen at the next poll)
//   infos              -> 1 while the Infos window is open and the user
//                         sees it (held in view by the window manager
//                         where there is one), "minimised" while it is
//                         open but minimised along with the window,
//                         "unsettled" before the window manager took it,
//                         0 while it is closed
//   infos-place        -> "corner" while the Infos window lies in the
//                         bottom right corner of its screen's work area
//                         (within 16 pixels of its right and bottom
//                         edges), else "at FRAME AREA"
//   dialog-clear       -> "clear" once the modal dialog shown is framed and
//                         its OK (1) and Annuler (2) lie outside the Infos
//                         window, each on top at its middle as the display
//                         stacks the windows, and the dialog is on top
//                         where it meets the Infos window; "none" without
//                         a modal dialog, else what is wrong
//   click-shown ID     -> "ok CLASS": a click at the middle of the modal
//                         dialog's button ID, on the widget the display
//                         shows on top there, whose window is of class
//                         CLASS; "none" without that button
//   drag-past-right N  -> ok once the window manager was asked, as the
//                         user's drag asks it, to move the window's frame
//                         N pixels past its screen's right edge
//   past-right         -> how many pixels the frame reaches past its
//                         screen's right edge (negative: short of it) once
//                         a window manager framed the window, "unframed"
//                         before
//   framed             -> 1 once a window manager framed the window, else 0
//   wide               -> "ok" once the window is framed and as wide as the
//                         window manager's title bar needs for the title
//                         (its text a tenth wider in bold, a button as wide
//                         as the bar is high for each of TitleBarButtons),
//                         else "narrow WIDTH NEED"
//   frame              -> "inside" once a window manager framed the window
//                         and the whole frame lies within its screen's work
//                         area, "unframed FRAME" before, else
//                         "outside FRAME AREA"
bool probe(const QStringList &words, QString &answer)
{
    CZarvoTrayApp *app = CZarvoTrayApp::Application();
    const QString key = words.value(0);
    if (!app)
        return false;
    if (key == u"ready") {
        answer = app->Window() ? QStringLiteral("1") : QStringLiteral("0");
    } else if (key == u"last") {
        const tTacheFull &e = app->LastTask();
        answer = QStringLiteral("%1 %2 %3").arg(e.Id).arg(e.Debut).arg(e.Fin);
    } else if (key == u"title") {
        answer = app->Title();
    } else if (key == u"message") {
        answer = app->IsCompact() ? app->CompactMessage() : QStringLiteral("none");
    } else if (key == u"favourites") {
        QStringList ids;
        for (const DataItems &item : app->Favourites()) {
            if (!item.IsGroup())
                ids << QString::number(item.Id);
        }
        answer = ids.join(u' ');
    } else if (key == u"day") {
        // Today's entries, as the day strip draws them.
        QStringList entries;
        for (const tTacheFull &e : app->TodayTasks())
            entries << QStringLiteral("%1:%2").arg(e.Id).arg(e.Fin);
        answer = entries.join(u' ');
    } else if (key == u"today") {
        answer = app->TodayText();
    } else if (key == u"user") {
        answer = app->User().userName;
    } else if (key == u"task-button") {
        QStringList lines;
        if (CViewTask *button = app->Window() ? app->Window()->TaskButton() : nullptr) {
            button->grab();
            for (const TaskButtonLayout::tLine &line : button->PaintedLines())
                lines << line.label + u'=' + line.value;
        }
        answer = lines.join(u'|');
    } else if (key == u"day-strip") {
        QStringList bars;
        if (CDayCtrl *strip = app->Window() ? app->Window()->DayStrip() : nullptr) {
            const DayStripGeometry geometry = strip->Geometry();
            for (const DayStripGeometry::tSpan &span : geometry.Spans()) {
                if (span.drawn)
                    bars << QStringLiteral("%1-%2").arg(span.startMinute).arg(span.endMinute);
            }
        }
        answer = bars.join(u' ');
    } else if (key == u"poll") {
        // The window's own 10-second timer, fired now.
        const int id = pollTimerId(*app);
        answer = QStringLiteral("none");
        if (id != 0) {
            QTimerEvent tick(id);
            QCoreApplication::sendEvent(app->Window(), &tick);
            answer = QStringLiteral("ok");
        }
    } else if (key == u"poll-timer") {
        answer = QStringLiteral("none");
        QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
        if (!dispatcher)
            return true;
        if (words.value(1) == u"on") {
            restartPollTimer(*app);
            answer = QStringLiteral("ok");
        } else if (stopped().id != 0) {
            answer = QStringLiteral("ok");
        } else if (const int id = pollTimerId(*app, &stopped().type); id != 0 && dispatcher->unregisterTimer(id)) {
            stopped().id = id;
            // Running again before the window goes, which stops it itself.
            static const bool restartAtQuit = (QObject::connect(qApp, &QCoreApplication::aboutToQuit, app, [app] {
                                                   restartPollTimer(*app);
                                               }),
                                               true);
            Q_UNUSED(restartAtQuit);
            answer = QStringLiteral("ok");
        }
    } else if (key == u"click-favourite") {
        answer = QStringLiteral("none");
        auto *list = qobject_cast<COwnerDrawListBox *>(ProgramDriver::FindControl(TrayCommands::FavouritesList));
        if (!list || !list->isVisible())
            return true;
        const int id = words.value(1).toInt();
        for (int row = 0; row < list->Model().RowCount(); ++row) {
            if (list->Model().IsHeader(row) || list->Model().StartId(row) != id)
                continue;
            list->SetTopRow(row);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->RowRect(row).center());
            answer = QStringLiteral("ok");
            break;
        }
    } else if (key == u"menu") {
        answer = QStringLiteral("none");
        CZarvoTrayDlg *window = app->Window();
        if (!window)
            return true;
        window->ShowPopupMenu(QPoint(100, 100));
        const int command = words.value(1).toInt();
        for (QAction *action : window->PopupMenu()->actions()) {
            if (WidgetIds::CommandId(action) != command)
                continue;
            if (!action->isEnabled()) {
                answer = QStringLiteral("disabled");
                return true;
            }
            // Chosen as a click chooses it: the menu closes first.
            answer = QStringLiteral("ok");
            window->PopupMenu()->hide();
            action->trigger();
            return true;
        }
    } else if (key == u"window") {
        answer = seenAs(app->Window());
    } else if (key == u"hide" || key == u"restore") {
        CZarvoTrayDlg *window = app->Window();
        answer = QStringLiteral("none");
        if (!window)
            return true;
        if (key == u"hide")
            window->HideWindow();
        else if (!window->isMinimized())
            return true;
        else if (!restoreByWindowManager(*window))
            window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        answer = QStringLiteral("ok");
    } else if (key == u"area") {
        areaBelieved() = words.value(1) == u"on";
        answer = QStringLiteral("ok");
    } else if (key == u"infos") {
        const CMyDesktopAlertWnd *infos = TrayDialogs::Infos();
        const QString seen = seenAs(infos);
        answer = seen == u"shown" ? QStringLiteral("1") : seen == u"hidden" ? QStringLiteral("0") : seen;
    } else if (key == u"infos-place") {
        const CMyDesktopAlertWnd *infos = TrayDialogs::Infos();
        const QScreen *screen = infos ? infos->screen() : nullptr;
        const QRect frame = infos ? infos->frameGeometry() : QRect();
        const QRect area = screen ? screen->availableGeometry() : QRect();
        const bool corner = area.contains(frame) && area.right() - frame.right() <= 16
            && area.bottom() - frame.bottom() <= 16;
        answer = corner ? QStringLiteral("corner") : QStringLiteral("at ") + rectText(frame) + u' ' + rectText(area);
    } else if (key == u"dialog-clear") {
        answer = dialogClear();
    } else if (key == u"click-shown") {
        answer = QStringLiteral("none");
        QWidget *button = modalControl(words.value(1).toInt());
        if (!button)
            return true;
        const QPoint middle = button->mapToGlobal(button->rect().center());
        QWidget *top = QApplication::widgetAt(middle);
        if (!top)
            return true;
        answer = QStringLiteral("ok ") + QString::fromLatin1(top->window()->metaObject()->className());
        QTest::mouseClick(top, Qt::LeftButton, {}, top->mapFromGlobal(middle));
    } else if (key == u"drag-past-right") {
        CZarvoTrayDlg *window = app->Window();
        const QScreen *screen = window ? window->screen() : nullptr;
        answer = QStringLiteral("none");
        if (!screen)
            return true;
        const QRect frame = window->frameGeometry();
        const int left = screen->geometry().right() + words.value(1).toInt() - frame.width() + 1;
        if (moveByWindowManager(*window, QPoint(left, frame.top())))
            answer = QStringLiteral("ok");
    } else if (key == u"past-right") {
        const CZarvoTrayDlg *window = app->Window();
        const QScreen *screen = window ? window->screen() : nullptr;
        if (!window || !screen || !window->isVisible() || window->frameGeometry() == window->geometry())
            answer = QStringLiteral("unframed");
        else
            answer = QString::number(window->frameGeometry().right() - screen->geometry().right());
    } else if (key == u"framed") {
        const CZarvoTrayDlg *window = app->Window();
        answer = window && window->frameGeometry() != window->geometry() ? QStringLiteral("1") : QStringLiteral("0");
    } else if (key == u"wide") {
        const CZarvoTrayDlg *window = app->Window();
        const QRect frame = window ? window->frameGeometry() : QRect();
        const QRect inside = window ? window->geometry() : QRect();
        QFont bold = window ? window->font() : QFont();
        bold.setBold(true);
        const int bar = (inside.top() - frame.top()) - (frame.bottom() - inside.bottom());
        const int need = QFontMetrics(bold).horizontalAdvance(window ? window->windowTitle() : QString()) * 11 / 10
            + CZarvoTrayDlg::TitleBarButtons * bar - (frame.width() - inside.width());
        answer = window && frame != inside && inside.width() >= need
            ? QStringLiteral("ok")
            : QStringLiteral("narrow %1 %2").arg(inside.width()).arg(need);
    } else if (key == u"frame") {
        const CZarvoTrayDlg *window = app->Window();
        const QRect frame = window ? window->frameGeometry() : QRect();
        const QScreen *screen = window ? window->screen() : nullptr;
        const QRect area = screen ? screen->availableGeometry() : QRect();
        if (!window || !window->isVisible() || frame == window->geometry())
            answer = QStringLiteral("unframed") + (window ? u' ' + rectText(frame) : QString());
        else if (area.contains(frame))
            answer = QStringLiteral("inside");
        else
            answer = QStringLiteral("outside ") + rectText(frame) + u' ' + rectText(area);
    } else {
        return false;
    }
    return true;
}

const bool registered = (ProgramDriver::AddProbe(probe), true);

} // namespace
