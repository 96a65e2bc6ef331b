#include "TrayDialogs.h"

#include "CDlgOptions.h"
#include "CDlgTask.h"
#include "CDlgUser.h"
#include "CMyDesktopAlertWnd.h"
#include "CZarvoTrayApp.h"
#include "CZarvoTrayDlg.h"
#include "TrayWindowSizing.h"
#include "WidgetIds.h"

#include <QAbstractButton>
#include <QLayout>
#include <QPointer>
#include <QScreen>

namespace {

// OK and Annuler, numbered alike in every dialog of the tray.
constexpr int OkId = CDlgTask::OkButton;
constexpr int CancelId = CDlgTask::CancelButton;
static_assert(CDlgOptions::OkButton == OkId && CDlgUser::OkButton == OkId);
static_assert(CDlgOptions::CancelButton == CancelId && CDlgUser::CancelButton == CancelId);
// A window manager's edge around a window, as thick as most draw it.
constexpr int EdgeGuess = 4;

QPointer<CMyDesktopAlertWnd> &infos()
{
    static QPointer<CMyDesktopAlertWnd> window;
    return window;
}

// Whether the user sees the Infos window: open, and not minimised along
// with the tray window, as window managers take a window's own windows out
// of view with it.
bool infosInView()
{
    return infos() && infos()->isVisible() && !infos()->isMinimized();
}

// A dialog of the tray opened while the Infos window shows, which stays on
// top of the other windows: the dialog comes above it too, and opens out of
// its way where the screen has the room, or at least with its OK and
// Annuler clear of it; otherwise where the window manager would put it,
// centred over `owner` (or the screen while the owner is out of view).
void clearOfInfos(QDialog &dialog, QWidget *owner)
{
    if (!infosInView())
        return;
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    dialog.adjustSize();
    if (dialog.layout())
        dialog.layout()->activate();
    const QRect obstacle = infos()->frameGeometry();
    const QScreen *screen = infos()->screen();
    const QRect area = screen ? screen->availableGeometry() : QRect();
    // Not framed yet: the frame the window manager gives the owner stands
    // for the dialog's, or, where it gives the owner none (a panel behind
    // the icon), a title bar of a line of text over thin edges.
    QWidget *over = owner && owner->isVisible() && !owner->isMinimized() ? owner->window() : nullptr;
    QMargins margins = over ? TrayWindowSizing::FrameMargins(over->frameGeometry(), over->geometry(), true,
                                                             over->windowState())
                            : QMargins();
    if (margins.isNull())
        margins = QMargins(EdgeGuess, dialog.fontMetrics().height() + 2 * EdgeGuess, EdgeGuess, EdgeGuess);
    QRect frame(QPoint(0, 0), dialog.size().grownBy(margins));
    frame.moveCenter(over ? over->frameGeometry().center() : area.center());
    frame.moveTopLeft(TrayWindowSizing::KeepWithin(frame, area));
    // The buttons that end the dialog, OK and Annuler (the whole dialog
    // where it has none).
    QRect buttons;
    for (QAbstractButton *button : dialog.findChildren<QAbstractButton *>()) {
        const int id = WidgetIds::ControlId(button);
        if (id == OkId || id == CancelId)
            buttons |= QRect(button->mapTo(&dialog, QPoint(0, 0)), button->size());
    }
    if (buttons.isNull())
        buttons = dialog.rect();
    buttons.translate(frame.topLeft() + QPoint(margins.left(), margins.top()));
    const QPoint place = TrayWindowSizing::ClearOf(frame, buttons, obstacle, area);
    if (place != frame.topLeft())
        dialog.move(place);
}

} // namespace

CMyDesktopAlertWnd *TrayDialogs::Infos()
{
    return infos().data();
}

void TrayDialogs::Install(CZarvoTrayApp &app)
{
    CZarvoTrayDlg::tDialogs &d = CZarvoTrayDlg::Dialogs();
    d.newTask = [&app](QWidget *owner) {
        CDlgTask dialog(app, owner);
        clearOfInfos(dialog, owner);
        return dialog.exec() == QDialog::Accepted;
    };
    d.options = [&app](QWidget *owner, bool &layoutChanged) {
        CDlgOptions dialog(app, owner);
        clearOfInfos(dialog, owner);
        const bool accepted = dialog.exec() == QDialog::Accepted;
        layoutChanged = dialog.IsLayoutChanged();
        return accepted;
    };
    d.chooseUser = [&app](QWidget *owner) {
        CDlgUser dialog(app, owner);
        clearOfInfos(dialog, owner);
        return dialog.exec() == QDialog::Accepted;
    };
    d.toggleInfos = [&app] {
        if (infosInView()) {
            infos()->close();
            return;
        }
        // One closed a moment ago and not yet gone, or one out of view with
        // the minimised tray window: made anew, where the user sees it.
        delete infos().data();
        CZarvoTrayDlg *tray = app.Window();
        if (!tray)
            return;
        // What the window shows is read first, even while the tray window
        // is hidden.
        tray->Reload(false, true);
        infos() = new CMyDesktopAlertWnd(app, *tray);
        infos()->Open();
    };
    d.infosOpen = [] { return infos() && infos()->isVisible(); };
    d.infosShown = [] { return infosInView(); };
    d.refreshInfos = [] {
        if (infos() && infos()->isVisible())
            infos()->Refresh();
    };
    d.applyOpacity = [](int alpha) {
        if (infos())
            infos()->SetAlpha(alpha);
    };
}
