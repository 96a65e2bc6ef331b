#pragma once
#include "CForecastHost.h"

#include <QObject>

class CZarvoWinApp;

// What the project-tracking window asks of the application, forwarded to
// the application's openers and the main frame. It lives as a child of the
// window it serves.
class CForecastWindowHost : public QObject, public CForecastHost
{
    Q_OBJECT
public:
    CForecastWindowHost(CZarvoWinApp &app, QObject *parent);

    bool EditNode(const CProject &node) override;
    void ShowStatusText(const QString &text) override;
    bool NewNode(int parentId, bool activity) override;
    bool CopyProject(int projectId, int parentId, int referenceId, bool before) override;
    void StartTask(int projectId, int activityId) override;

private:
    CZarvoWinApp &m_app;
};
