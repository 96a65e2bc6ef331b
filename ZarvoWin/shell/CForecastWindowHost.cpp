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
