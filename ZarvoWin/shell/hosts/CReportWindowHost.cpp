#include "CReportWindowHost.h"

#include "CCommandTable.h"
#include "CConfiguration.h"
#include "CLanguageSelector.h"
#include "CMainFrame.h"
#include "CPaneReport.h"
#include "CReportFrame.h"
#include "CReportView.h"
#include "CUsers.h"
#include "CZarvoWinApp.h"
#include "tReportSnapshot.h"

#include <QMdiArea>
#include <QPointer>
#include <QTimer>

CReportWindowHost::CReportWindowHost(CZarvoWinApp &app, CMainFrame &frame)
    : QObject(&frame), m_app(app), m_frame(frame)
{
    setObjectName(QStringLiteral("ReportWindowHost"));
    CCommandTable &commands = frame.Commands();
    for (int id : ReportCommands) {
        commands.SetHandler(id, [this, id] {
            if (CReportFrame *report = ActiveFrame())
                report->View()->OnCommand(id);
            UpdateCommandStates();
        });
    }
    connect(frame.MdiArea(), &QMdiArea::subWindowActivated, this, [this] { UpdateCommandStates(); });
    UpdateCommandStates();
}

CReportWindowHost *CReportWindowHost::Of(CZarvoWinApp &app)
{
    CMainFrame *frame = app.MainFrame();
    if (!frame)
        return nullptr;
    if (auto *host = frame->findChild<CReportWindowHost *>(QString(), Qt::FindDirectChildrenOnly))
        return host;
    return new CReportWindowHost(app, *frame);
}

QWidget *CReportWindowHost::OpenFrame(CZarvoWinApp &app, int id, bool preview, int zoom, bool restored)
{
    CReportWindowHost *host = Of(app);
    if (!host)
        return nullptr;
    auto *report = new CReportFrame(*host);
    QMdiArea *area = host->MdiArea();
    // The window shown before; a new report given up gives it back as it
    // was (showing the new one maximized put it back to its normal size).
    const QList<QMdiSubWindow *> history = area->subWindowList(QMdiArea::ActivationHistoryOrder);
    QPointer<QMdiSubWindow> before = area->currentSubWindow() ? area->currentSubWindow()
                                                              : (history.isEmpty() ? nullptr : history.last());
    const bool beforeMaximized =
        before && (before->isMaximized() || area->viewMode() == QMdiArea::TabbedView);
    area->addSubWindow(report);
    report->showMaximized();
    app.ReportWindows().append(report);
    if (!report->OpenReport(id, preview, zoom, restored)) {
        app.ReportWindows().removeAll(report);
        delete report;
        // The window that was active before the new one comes back.
        if (before) {
            area->setActiveSubWindow(before);
            if (beforeMaximized) {
                before->showMaximized();
                // The document area handles the removed window's going
                // once the events waiting are handled: maximized again then.
                QTimer::singleShot(0, before, [before] {
                    if (before && !before->isMaximized())
                        before->showMaximized();
                });
            }
        }
        host->UpdateCommandStates();
        return nullptr;
    }
    // The settings of a new report were a dialog over it: it is the one
    // shown now.
    if (area->currentSubWindow() != report)
        area->setActiveSubWindow(report);
    host->UpdateCommandStates();
    return report;
}

CReportFrame *CReportWindowHost::ActiveFrame() const
{
    return qobject_cast<CReportFrame *>(m_frame.MdiArea()->currentSubWindow());
}

QWidget *CReportWindowHost::OwnerWindow() const
{
    return &m_frame;
}

QMdiArea *CReportWindowHost::MdiArea() const
{
    return m_frame.MdiArea();
}

const ImageList *CReportWindowHost::SmallImages() const
{
    return &m_app.Images(false);
}

bool CReportWindowHost::IsReady() const
{
    return m_app.IsReady();
}

void CReportWindowHost::ShowStatusText(const QString &text)
{
    m_frame.ShowStatusText(text);
}

void CReportWindowHost::UpdateCommandStates()
{
    const CReportFrame *report = ActiveFrame();
    CCommandTable &commands = m_frame.Commands();
    for (int id : ReportCommands)
        commands.SetEnabled(id, report && report->View()->IsCommandEnabled(id));
    m_frame.UpdateToolBarForActiveView();
}

bool CReportWindowHost::ClosingWithoutQuestion() const
{
    return m_app.IsClosingForSwitch();
}

void CReportWindowHost::RefreshViews()
{
    m_app.RefreshViews();
}

void CReportWindowHost::ReloadReportPane()
{
    if (auto *pane = qobject_cast<CPaneReport *>(m_frame.Pane(CPaneReport::PaneNumber)))
        pane->ReloadTree();
}

void CReportWindowHost::GoToDate(const QDate &date, QWidget *window)
{
    m_app.GoToDate(date, window);
}

QString CReportWindowHost::DatabasePath() const
{
    return m_app.Users().GetCurrentDatabasePath(true);
}

QString CReportWindowHost::ReportDatabasePath() const
{
    return m_app.Users().GetCurrentReportDatabasePath();
}

std::shared_ptr<const tReportSnapshot> CReportWindowHost::ProjectSnapshot() const
{
    return std::make_shared<tReportSnapshot>(tReportSnapshot::Take(&m_app.ProjectStore()));
}

const CProjectStore *CReportWindowHost::ProjectStore() const
{
    return &m_app.ProjectStore();
}

QString CReportWindowHost::UserTemplatesFolder() const
{
    return m_app.Configuration().dataFolder;
}

QString CReportWindowHost::ProgramTemplatesFolder() const
{
    const CLanguageSelector *languages = CLanguageSelector::Application();
    return languages ? languages->GetTemplatesFolder() : QString();
}
