#include "TimeEntryWindows.h"

#include "CDlgListEnCours.h"
#include "CDlgTask.h"
#include "CZarvoWinApp.h"

void RegisterTimeEntryWindows(CZarvoWinApp &app)
{
    CZarvoWinApp::Openers &windows = app.Windows();
    windows.entryDialog = [&app](tTacheFull &entry) {
        CDlgTask dialog(CDlgTask::EditMode, &entry, app.MainWindow());
        if (dialog.exec() != QDialog::Accepted)
            return false;
        entry = dialog.Entry();
        return true;
    };
    windows.runningEntries = [&app] {
        CDlgListEnCours dialog(app.MainWindow());
        return dialog.exec() == QDialog::Accepted;
    };
}
