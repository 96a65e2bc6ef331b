#include "ShellWindows.h"

#include "CAutoUpdater.h"
#include "CDlgAbout.h"
#include "CDlgAssocier.h"
#include "CDlgBackup.h"
#include "CDlgUsers.h"
#include "CMainFrame.h"
#include "CConfiguration.h"
#include "CWizardConfig.h"
#include "CWizardUser.h"
#include "CZarvoWinApp.h"

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
