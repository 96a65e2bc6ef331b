#include "ShellWindows.h"

#include "CAutoUpdater.h"
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
}
