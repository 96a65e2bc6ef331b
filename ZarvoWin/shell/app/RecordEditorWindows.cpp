#include "RecordEditorWindows.h"

#include "CDlgActivity.h"
#include "CDlgCopyProject.h"
#include "CDlgFavoris.h"
#include "CDlgForecast.h"
#include "CDlgName.h"
#include "CDlgRate.h"
#include "CMainFrame.h"
#include "CMainFrameViews.h"
#include "CProject.h"
#include "CProjectStore.h"
#include "CZarvoWinApp.h"
#include "EntryDialogServices.h"
#include "ForecastPages.h"
#include "ImageList.h"
#include "RecordEditorServices.h"

#include <QApplication>

namespace {

// The window the editors belong to: the dialog the user works in when an
// editor is opened from one, else the main window.
QWidget *owner(const CZarvoWinApp &app)
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return app.MainWindow();
}

// The node of a project id in the application's store; null for -1 and
// for an id the store does not hold.
CProject *projectNode(CZarvoWinApp &app, int id)
{
    if (id == -1)
        return nullptr;
    CProject *node = app.ProjectStore().GetNode(id);
    return node && !node->IsRoot() ? node : nullptr;
}

// The project editor on a new project below `parent` (null: at the top)
// or on an existing project.
bool runProjectEditor(CZarvoWinApp &app, bool isNew, CProject *node)
{
    CDlgForecast editor(isNew, false, node, CDlgForecast::GeneralTab, owner(app));
    return editor.exec() == QDialog::Accepted;
}

// The activity (or rate) editor on `id`, -1 for a new record: the id of
// the record stored by its closing save, -1 when it closed without one.
// "Enregistrer" may have stored records before "Fermer": the panes hear of
// them through the store's change notices either way.
template <class Editor>
int runRecordEditor(CZarvoWinApp &app, int id, void (Editor::*load)(int))
{
    Editor editor(owner(app));
    (editor.*load)(id);
    return editor.exec() == QDialog::Accepted ? editor.Record().Id : -1;
}

int runActivityEditor(CZarvoWinApp &app, int id)
{
    return runRecordEditor(app, id, &CDlgActivity::LoadActivity);
}

int runRateEditor(CZarvoWinApp &app, int id)
{
    return runRecordEditor(app, id, &CDlgRate::LoadRate);
}

} // namespace

void RegisterRecordEditors(CZarvoWinApp &app)
{
    RecordEditorServices &services = RecordEditorServices::Registered();
    services.image = [&app](int image) { return app.Images(false).Icon(image); };
    // The planning pages of the project editor; the notes page is its own.
    services.forecastPage = &MakeForecastPage;
    services.reloadRates = [&app] {
        if (CMainFrame *frame = app.MainFrame())
            frame->Views().ReloadRatesBranch();
    };

    CZarvoWinApp::Openers &windows = app.Windows();
    windows.newProject = [&app](int parentId) { return runProjectEditor(app, true, projectNode(app, parentId)); };
    windows.editProject = [&app](int projectId) {
        CProject *node = projectNode(app, projectId);
        return node && runProjectEditor(app, false, node);
    };
    windows.editActivityRow = [&app](int projectId, int activityId) {
        CProject *node = app.ProjectStore().FindNode(activityId, projectId);
        return node && !node->IsRoot() && node->IsActivity() && runProjectEditor(app, false, node);
    };
    windows.newActivityRow = [&app](int projectId) {
        CDlgForecast editor(true, true, projectNode(app, projectId), CDlgForecast::GeneralTab, owner(app));
        return editor.exec() == QDialog::Accepted;
    };
    windows.newActivity = [&app] { return runActivityEditor(app, -1) != -1; };
    windows.editActivity = [&app](int activityId) { return runActivityEditor(app, activityId) != -1; };
    windows.newRate = [&app] { return runRateEditor(app, -1) != -1; };
    windows.editRate = [&app](int rateId) { return runRateEditor(app, rateId) != -1; };
    windows.editFavorite = [&app](int favoriteId) {
        CDlgFavoris editor(favoriteId, owner(app));
        return editor.exec() == QDialog::Accepted;
    };
    windows.copyProject = [&app](int projectId, int parentId, int referenceId, bool before) {
        CProject *source = projectNode(app, projectId);
        if (!source)
            return false;
        CProjectStore &store = app.ProjectStore();
        CProject *target = parentId == -1 ? store.GetRoot() : projectNode(app, parentId);
        if (!target)
            return false;
        CDlgCopyProject dialog(owner(app));
        dialog.SetProjects(source, target);
        if (referenceId != -1)
            dialog.SetSibling(projectNode(app, referenceId), before);
        return dialog.exec() == QDialog::Accepted;
    };
    // The entry dialogs' "Ajouter" buttons: the id of the record made.
    EntryDialogServices &entry = EntryDialogServices::Registered();
    entry.newProject = [&app] {
        CDlgForecast editor(owner(app));
        editor.exec();
        return editor.SavedId();
    };
    entry.newActivity = [&app] { return runActivityEditor(app, -1); };
    entry.newRate = [&app] { return runRateEditor(app, -1); };

    windows.askName = [&app](QString &name) {
        CDlgName prompt(name, owner(app));
        if (prompt.exec() != QDialog::Accepted)
            return false;
        name = prompt.GetName();
        return true;
    };
}
