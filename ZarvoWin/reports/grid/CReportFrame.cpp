#include "CReportFrame.h"

#include "CAppData.h"
#include "CBdD.h"
#include "CDataChangedNotifier.h"
#include "CProgressDlg.h"
#include "CReportGrid.h"
#include "CReportHost.h"
#include "CReportModel.h"
#include "CReportStore.h"
#include "CReportView.h"
#include "Formatter.h"
#include "MessageBoxParams.h"
#include "ReportPeriod.h"
#include "RichMessageBox.h"
#include "Texts.h"
#include "tReportSnapshot.h"

#include <QCloseEvent>
#include <QIcon>
#include <QMdiArea>
#include <QTimer>

namespace {

QList<CReportFrame *> &frames()
{
    static QList<CReportFrame *> list;
    return list;
}

CReportFrame::BuildFunction &buildFunction()
{
    static CReportFrame::BuildFunction build;
    return build;
}

CReportFrame::SettingsEditor &settingsEditor()
{
    static CReportFrame::SettingsEditor editor;
    return editor;
}

// One refresh question on screen for every report window at a time.
bool g_askingRefresh = false;

QString applicationTitle()
{
    return Platform::Texts::get(128);
}

} // namespace

void CReportFrame::SetBuildFunction(BuildFunction build)
{
    buildFunction() = std::move(build);
}

void CReportFrame::SetSettingsEditor(SettingsEditor editor)
{
    settingsEditor() = std::move(editor);
}

bool CReportFrame::HasSettingsEditor()
{
    return bool(settingsEditor());
}

const QList<CReportFrame *> &CReportFrame::AllFrames()
{
    return frames();
}

CReportFrame::CReportFrame(CReportHost &host, QWidget *parent)
    : QMdiSubWindow(parent)
    , m_host(host)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(QIcon::fromTheme(QStringLiteral("x-office-spreadsheet")));
    m_view = new CReportView(*this, host, m_definition, this);
    setWidget(m_view);
    frames().append(this);

    m_restoreTimer = new QTimer(this);
    m_restoreTimer->setObjectName(QString::number(RestoreTimerId));
    m_restoreTimer->setSingleShot(true);
    m_restoreTimer->setInterval(TimerDelayMs);
    connect(m_restoreTimer, &QTimer::timeout, this, &CReportFrame::ApplyRestore);
    m_refreshTimer = new QTimer(this);
    m_refreshTimer->setObjectName(QString::number(RefreshTimerId));
    m_refreshTimer->setSingleShot(true);
    m_refreshTimer->setInterval(TimerDelayMs);
    connect(m_refreshTimer, &QTimer::timeout, this, &CReportFrame::OfferRefresh);

    connect(this, &QMdiSubWindow::windowStateChanged, this, [this](Qt::WindowStates before, Qt::WindowStates now) {
        if (!(before & Qt::WindowActive) && (now & Qt::WindowActive))
            OnActivated();
    });
    connect(m_view, &CReportView::commandStatesChanged, this, [this] { m_host.UpdateCommandStates(); });
    UpdateTitle();
}

CReportFrame::~CReportFrame()
{
    frames().removeAll(this);
}

void CReportFrame::UpdateTitle()
{
    setWindowTitle(m_definition.GetDisplayName());
    setProperty("reportId", m_definition.Id);
    setProperty("preview", m_pendingRestore ? m_restoredPreview : m_view->IsPrintLayout());
    setProperty("zoom", m_pendingRestore ? m_restoredZoom : m_view->Zoom());
}

bool CReportFrame::OpenReport(int id, bool preview, int zoom, bool restored)
{
    if (id != -1 && !CReportStore(m_host.ReportDatabasePath()).LoadReport(id, m_definition))
        return false;
    // A new report starts in its settings; leaving them leaves no report.
    if (id == -1 && !restored && settingsEditor()) {
        UpdateTitle();
        return EditReportSettings();
    }
    if (zoom < 0 || zoom > 3)
        zoom = 2;
    if (restored) {
        m_pendingRestore = true;
        m_restoredPreview = preview;
        m_restoredZoom = zoom;
        UpdateTitle();
    } else {
        m_pendingRestore = false;
        UpdateTitle();
        RebuildReport();
    }
    return true;
}

void CReportFrame::OnActivated()
{
    m_host.UpdateCommandStates();
    if (!m_host.IsReady())
        return;
    if (m_pendingRestore) {
        m_pendingRestore = false;
        m_restoreTimer->start();
    } else if (!m_building && !m_stamp.isEmpty() && HasDataChanged()) {
        m_refreshTimer->start();
    }
}

void CReportFrame::ApplyRestore()
{
    m_view->SetZoom(m_restoredZoom);
    m_view->ShowMode(m_restoredPreview);
    UpdateTitle();
    m_view->Refresh();
}

void CReportFrame::ShowDateError()
{
    m_view->SetMessage(Platform::Texts::get(430));
    m_view->Model().Tree().DeleteAll();
    m_view->Grid()->RowsChanged();
}

void CReportFrame::RebuildReport()
{
    // Timers fire inside the progress dialog's loop: a second build would
    // fill the model the first one is filling.
    if (m_building)
        return;
    ResolvePeriodDates(m_definition.Periode, m_definition.Debut, m_definition.Fin);
    if (m_definition.Type != 4 && m_definition.Periode != 0 && !m_definition.Debut.isValid()) {
        ShowDateError();
        return;
    }
    m_building = true;
    // A change announced from here on, while the build reads, is one the
    // build may have missed.
    const quint64 notices = CAppData::DataChangedNotifier().Sent();
    m_view->SetBuilding(true);
    m_host.UpdateCommandStates();

    // The build reads copies only: the definition, the database's path and
    // the projects as they are now.
    const tReportDefinition definition = m_definition;
    const QString path = m_host.DatabasePath();
    std::shared_ptr<const tReportSnapshot> snapshot = m_host.ProjectSnapshot();
    CReportModel *model = &m_view->Model();
    model->SetShowCheckBoxes(m_view->Grid()->HasCheckBoxes());
    const BuildFunction build = buildFunction() ? buildFunction() : BuildFunction(BuildReportData);
    tReportBuildResult result;
    CProgressDlg dialog(
        m_host.OwnerWindow(),
        [&](ProgressDlgShared &shared) -> quint8 {
            result = build(definition, path, snapshot, *model, &shared);
            return result.Ok ? 1 : 0;
        },
        nullptr, Platform::Texts::get(282), true);
    const int outcome = dialog.DoModal();

    if (outcome == UPD_SUCCESS && result.Ok) {
        m_stamp = result.Stamp;
        m_stampNotices = notices;
        m_view->SetMessage(QString());
    } else {
        m_stamp.clear();
        model->Tree().DeleteAll();
        m_view->SetMessage(Platform::Texts::get(outcome > 0xFFFF ? 284 : 283));
    }
    m_building = false;
    m_view->SetBuilding(false);
    m_host.UpdateCommandStates();
}

bool CReportFrame::EditReportSettings()
{
    if (!settingsEditor() || m_building)
        return false;
    tReportDefinition copy = m_definition;
    if (!settingsEditor()(copy, m_host.OwnerWindow()))
        return false;
    copy.NormaliseProjectList();
    m_definition = copy;
    m_definition.Modified = true;
    m_view->Model().SetFullReset(true);
    ResolvePeriodDates(m_definition.Periode, m_definition.Debut, m_definition.Fin);
    if (m_definition.Periode != 0 && !m_definition.Debut.isValid()) {
        ShowDateError();
        return false;
    }
    UpdateTitle();
    RebuildReport();
    return true;
}

int CReportFrame::QuerySaveReport()
{
    if (!m_definition.Modified)
        return MessageBoxAnswer::Yes;
    if (QMdiArea *area = m_host.MdiArea())
        area->setActiveSubWindow(this);
    const QString text = Platform::Formatter::sprintf(Platform::Texts::get(330), {m_definition.GetDisplayName()});
    const int answer = RichMessageBox(MessageBoxType::YesNoCancel | MessageBoxType::IconQuestion,
                                      m_host.OwnerWindow(), text, applicationTitle());
    if (answer == MessageBoxAnswer::Yes)
        return m_view->Save() ? MessageBoxAnswer::Yes : MessageBoxAnswer::Cancel;
    return answer == MessageBoxAnswer::No ? MessageBoxAnswer::No : MessageBoxAnswer::Cancel;
}

void CReportFrame::closeEvent(QCloseEvent *event)
{
    // A build ends first: its dialog holds the model.
    if (m_building || (!m_host.ClosingWithoutQuestion() && QuerySaveReport() == MessageBoxAnswer::Cancel)) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}

QString CReportFrame::CurrentStamp() const
{
    CBdD main(m_host.DatabasePath(), CBdD::ReadOnly);
    QString stamp;
    if (!main.IsOpen() || !main.GetModifStamp(stamp))
        return QString();
    return stamp;
}

bool CReportFrame::HasDataChanged() const
{
    if (m_stamp.isEmpty())
        return false;
    // The stamp holds whole seconds: a change announced since counts even
    // when the stamp reads the same.
    return CAppData::DataChangedNotifier().Sent() != m_stampNotices || CurrentStamp() != m_stamp;
}

void CReportFrame::CheckForDataChange()
{
    if (m_building || m_stamp.isEmpty())
        return;
    if (HasDataChanged())
        OfferRefresh();
}

void CReportFrame::OfferRefresh()
{
    // Not while the program closes or the windows are asked to save: the
    // question would stack on theirs for a report about to go.
    if (g_askingRefresh || m_building || m_stamp.isEmpty() || !m_host.IsReady())
        return;
    g_askingRefresh = true;
    const int answer = RichMessageBox(MessageBoxType::YesNo | MessageBoxType::IconQuestion, m_host.OwnerWindow(),
                                      Platform::Texts::get(433), applicationTitle());
    g_askingRefresh = false;
    if (answer == MessageBoxAnswer::Yes) {
        m_view->Refresh();
    } else {
        // The same change is not offered again, by whichever window would
        // ask next: the database as it is now and every notice sent so far,
        // the one being handled while this was asked included, count as
        // seen.
        const QString now = CurrentStamp();
        if (!now.isEmpty())
            m_stamp = now;
        m_stampNotices = CAppData::DataChangedNotifier().Sent();
    }
}
