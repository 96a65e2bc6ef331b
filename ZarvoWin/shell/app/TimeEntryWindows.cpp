#include "TimeEntryWindows.h"

#include "CDlgListEnCours.h"
#include "CDlgTask.h"
#include "CZarvoWinApp.h"
#include "EntryDialogServices.h"
#include "ImageList.h"

void RegisterTimeEntryWindows(CZarvoWinApp &app)
{
    // The project combos show each project's type with the pictures of the
    // project pane.
    EntryDialogServices::Registered().projectImage = [&app](int image) { return app.Images(false).Icon(image); };
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
