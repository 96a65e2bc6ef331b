#include "TrayDialogs.h"

#include "CDlgOptions.h"
#include "CDlgTask.h"
#include "CDlgUser.h"
#include "CMyDesktopAlertWnd.h"
#include "CZarvoTrayApp.h"
#include "CZarvoTrayDlg.h"

#include <QPointer>

namespace {

QPointer<CMyDesktopAlertWnd> &infos()
{
    static QPointer<CMyDesktopAlertWnd> window;
    return window;
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
        return dialog.exec() == QDialog::Accepted;
    };
    d.options = [&app](QWidget *owner, bool &layoutChanged) {
        CDlgOptions dialog(app, owner);
        const bool accepted = dialog.exec() == QDialog::Accepted;
        layoutChanged = dialog.IsLayoutChanged();
        return accepted;
    };
    d.chooseUser = [&app](QWidget *owner) {
        CDlgUser dialog(app, owner);
        return dialog.exec() == QDialog::Accepted;
    };
    d.toggleInfos = [&app] {
        if (infos() && infos()->isVisible()) {
            infos()->close();
            return;
        }
        // One closed a moment ago and not yet gone: made anew.
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
    d.infosShown = [] { return infos() && infos()->isVisible(); };
    d.refreshInfos = [] {
        if (infos() && infos()->isVisible())
            infos()->Refresh();
    };
    d.applyOpacity = [](int alpha) {
        if (infos())
            infos()->SetAlpha(alpha);
    };
}
