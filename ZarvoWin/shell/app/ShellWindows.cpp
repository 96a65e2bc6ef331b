#include "ShellWindows.h"

#include "CAnnulation.h"
#include "CAutoUpdater.h"
#include "CConnexion.h"
#include "CUsers.h"
#include "CViewSynchro.h"
#include "CDlgAbout.h"
#include "CDlgAssocier.h"
#include "CDlgBackup.h"
#include "CDlgUsers.h"
#include "CMainFrame.h"
#include "CConfiguration.h"
#include "CWizardConfig.h"
#include "CWizardUser.h"
#include "CZarvoWinApp.h"
#include "DeviceFolder.h"

#include <QPointer>

void RegisterShellWindows(CZarvoWinApp &app, CLanguageSelector &languages)
{
    app.Startup().runFirstStartWizard = [&app, &languages] {
        CWizardConfig wizard(app.Users(), languages, [&app] { app.ReloadLanguageTexts(); }, app.MainWindow());
        wizard.DoModal();
        // The folders it stored are the settings' from now on.
        app.Configuration().Load();
    };
    app.Windows().sampleData = [&app, &languages](int &userId) {
        CWizardUser wizard(app.Users(), languages, true, app.MainWindow());
        if (wizard.DoModal() != 1)
            return false;
        userId = wizard.CreatedUserId();
        return true;
    };
    app.Windows().updateCheck = [&app] { CAutoUpdater::RunCheck(app.MainWindow()); };
    app.Windows().about = [&app] {
        CDlgAbout box(app.MainWindow());
        box.exec();
    };
    app.Windows().backupList = [&app] {
        CDlgBackup dialog(app, app.MainWindow());
        dialog.exec();
    };
    // The new-user wizard as the users dialogs run it: the new user's id.
    const auto newUser = [&app, &languages](QWidget *owner) {
        CWizardUser wizard(app.Users(), languages, false, owner);
        return wizard.DoModal() == 1 ? wizard.CreatedUserId() : -1;
    };
    app.Windows().manageUsers = [&app, newUser](int &userId) {
        CDlgUsers dialog(app.Users(), app.Configuration(), newUser, app.MainWindow());
        if (dialog.exec() != QDialog::Accepted)
            return false;
        userId = dialog.ChosenUserId();
        return true;
    };
    // The synchronisation dialog stays open beside the main window (its
    // review is a tab there); a second command brings it forward.
    app.Windows().syncDevice = [&app, newUser](bool &) {
        static QPointer<CConnexion> open;
        if (open) {
            if (!open->isVisible() && open->ReviewPending() && open->Review())
                open->Review()->Open();
            else {
                open->show();
                open->raise();
                open->activateWindow();
            }
            return false;
        }
        CConnexion::Hooks hooks;
        hooks.addUser = newUser;
        hooks.chooseUser = [&app](int &userId) { return app.Windows().associateUser && app.Windows().associateUser(userId); };
        hooks.currentUserId = [&app] { return app.Users().GetCurrentId(); };
        hooks.emptyUndo = [&app] { app.Annulation().Reset(); };
        hooks.sharedFolder = [&app] { return app.Configuration().lanFolder; };
        hooks.backupFirst = [&app] { return app.Configuration().backupSynchro; };
        auto *dialog = new CConnexion(app.Users(), app.MainFrame(), hooks, Platform::DeviceFolder::ConfiguredRoot(),
                                      app.MainWindow());
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        open = dialog;
        app.SetDeviceSyncOpen(true);
        QObject::connect(dialog, &QDialog::finished, dialog, [&app, dialog] {
            app.SetDeviceSyncOpen(false);
            app.AfterDeviceSync(dialog->UsersAdded());
        });
        dialog->show();
        return false;
    };
    app.Windows().associateUser = [&app, newUser](int &userId) {
        const auto usersChanged = [&app] {
            if (CMainFrame *frame = app.MainFrame())
                frame->FillUserCombo();
        };
        CDlgAssocier dialog(app.Users(), userId, newUser, usersChanged, app.MainWindow());
        if (dialog.exec() != QDialog::Accepted)
            return false;
        userId = dialog.ChosenUserId();
        return true;
    };
}
