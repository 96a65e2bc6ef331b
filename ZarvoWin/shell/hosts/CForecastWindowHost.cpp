#include "CForecastWindowHost.h"

#include "CMainFrame.h"
#include "CProject.h"
#include "CZarvoWinApp.h"

CForecastWindowHost::CForecastWindowHost(CZarvoWinApp &app, QObject *parent)
    : QObject(parent), m_app(app)
{
}

bool CForecastWindowHost::EditNode(const CProject &node)
{
    CZarvoWinApp::Openers &windows = m_app.Windows();
    if (node.IsActivity())
        return windows.editActivityRow && windows.editActivityRow(node.ProjectId(), node.ActivityId());
    return windows.editProject && windows.editProject(node.ProjectId());
}

void CForecastWindowHost::ShowStatusText(const QString &text)
{
    if (CMainFrame *frame = m_app.MainFrame())
        frame->ShowStatusText(text);
}

bool CForecastWindowHost::NewNode(int parentId, bool activity)
{
    CZarvoWinApp::Openers &windows = m_app.Windows();
    if (activity)
        return windows.newActivityRow && windows.newActivityRow(parentId);
    return windows.newProject && windows.newProject(parentId);
}

bool CForecastWindowHost::CopyProject(int projectId, int parentId, int referenceId, bool before)
{
    CZarvoWinApp::Openers &windows = m_app.Windows();
    return windows.copyProject && windows.copyProject(projectId, parentId, referenceId, before);
}

void CForecastWindowHost::StartTask(int projectId, int activityId)
{
    m_app.StartProjectTask(projectId, activityId);
}
