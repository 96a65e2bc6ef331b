#include "CViewSynchro.h"

#include "CAppData.h"
#include "ContextHelp.h"
#include "CMyToolTipCtrl.h"
#include "CSyncHost.h"
#include "CSynchroListCtrl.h"
#include "CViewDetailSynchro.h"
#include "CViewDetailSynchroForecast.h"
#include "CViewDetailSynchroTask.h"
#include "Formatter.h"
#include "ProgressDlgShared.h"
#include "SyncImages.h"
#include "SyncReviewModel.h"
#include "SyncReviewRules.h"
#include "Texts.h"
#include "TranslateWidgets.h"
#include "WidgetIds.h"
#include "tElement.h"
#include "tForecast.h"
#include "tTimeEntryDetails.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStyle>
#include <QThread>
#include <QVBoxLayout>

#include <limits>

namespace {

CViewSynchro::OpenObserver &openObserver()
{
    static CViewSynchro::OpenObserver observer;
    return observer;
}

// A row number of a side as the database layer reads it: a number from the
// device that no int holds names no row here.
bool asRowId(qint64 id, int &out)
{
    if (id < 0 || id > std::numeric_limits<int>::max())
        return false;
    out = int(id);
    return true;
}

} // namespace

CViewSynchro::CViewSynchro(CSyncHost *host, QWidget *parent)
    : QWidget(parent)
    , m_host(host)
    , m_listCtrl(new CSynchroListCtrl(this))
    , m_toolTip(new CMyToolTipCtrl(this))
    , m_icon(new QLabel(this))
    , m_message(new QLabel(this))
    , m_messageBox(new QWidget(this))
    , m_synchronise(new QPushButton(this))
    , m_cancel(new QPushButton(this))
    , m_buttons(new QWidget(this))
    , m_bottom(new QGridLayout)
{
    if (const CConfiguration *config = CAppData::Configuration())
        m_formats = *config;
    WidgetIds::SetControlId(m_listCtrl, ListId);
    WidgetIds::SetControlId(m_synchronise, SynchroniseButton);
    WidgetIds::SetControlId(m_cancel, CancelButton);
    m_icon->setObjectName(QStringLiteral("messageIcon"));
    m_message->setObjectName(QStringLiteral("messageText"));
    m_message->setWordWrap(true);
    m_message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_icon->setAlignment(Qt::AlignTop);
    m_icon->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_message->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);

    m_listCtrl->SetList(&m_list);
    m_toolTip->SetImageList(&SyncImages::ToolTipImages());
    m_listCtrl->SetToolTipCtrl(m_toolTip);
    m_synchronise->setIcon(SyncImages::SynchroniseIcon());

    // The panes of each side stacked: one kind shows at a time.
    const ImageList *typeImages = m_host ? m_host->SmallImages() : nullptr;
    for (int side = Device; side <= Local; ++side) {
        const QString caption = Platform::Texts::get(side == Device ? 230 : 229);
        auto *box = new QWidget(this);
        auto *layout = new QVBoxLayout(box);
        layout->setContentsMargins(0, 0, 0, 0);
        m_elementPanes[size_t(side)] = new CViewDetailSynchro(box);
        m_elementPanes[size_t(side)]->SetTypeImages(typeImages);
        m_taskPanes[size_t(side)] = new CViewDetailSynchroTask(box);
        m_forecastPanes[size_t(side)] = new CViewDetailSynchroForecast(box);
        for (CSyncDetailPane *pane : std::initializer_list<CSyncDetailPane *>{
                 m_elementPanes[size_t(side)], m_taskPanes[size_t(side)], m_forecastPanes[size_t(side)]}) {
            pane->SetCaption(caption);
            layout->addWidget(pane);
        }
        layout->addStretch(1);
        m_sides[size_t(side)] = box;
    }

    auto *messageLayout = new QHBoxLayout(m_messageBox);
    messageLayout->setContentsMargins(0, 0, 0, 0);
    messageLayout->addWidget(m_icon, 0, Qt::AlignTop);
    messageLayout->addWidget(m_message, 1);
    auto *buttonsLayout = new QHBoxLayout(m_buttons);
    buttonsLayout->setContentsMargins(0, 0, 0, 0);
    buttonsLayout->setSpacing(Margin);
    buttonsLayout->addWidget(m_synchronise);
    buttonsLayout->addWidget(m_cancel);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(Margin, Margin, Margin, Margin);
    layout->setSpacing(Margin);
    layout->addWidget(m_listCtrl, 1);
    layout->addLayout(m_bottom);
    m_bottom->setHorizontalSpacing(Margin);
    m_bottom->setVerticalSpacing(Margin);
    m_bottom->setColumnStretch(0, 1);
    m_bottom->setColumnStretch(1, 1);

    connect(m_synchronise, &QPushButton::clicked, this, &CViewSynchro::OnSynchronise);
    connect(m_cancel, &QPushButton::clicked, this, &CViewSynchro::Cancel);
    connect(m_listCtrl, &CSynchroListCtrl::rowClicked, this, &CViewSynchro::ShowElement);
    connect(m_listCtrl->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (current.isValid())
                    ShowElement(current.row());
            });

    ContextHelp::Install(this, DialogId);
    Retranslate();
    ResetPanes();
    SetMessage(QString());
}

CViewSynchro::~CViewSynchro()
{
    // A thread is never killed: the comparison is asked to stop and waited
    // for.
    if (m_worker) {
        m_job->SetCancelled(true);
        m_worker->wait();
        delete m_worker;
    }
}

void CViewSynchro::SetOpenObserver(OpenObserver observer)
{
    openObserver() = std::move(observer);
}

void CViewSynchro::Retranslate()
{
    TranslateDialog(this, DialogId);
    m_listCtrl->Retranslate();
    for (int side = Device; side <= Local; ++side) {
        const QString caption = Platform::Texts::get(side == Device ? 230 : 229);
        m_elementPanes[size_t(side)]->Retranslate();
        m_taskPanes[size_t(side)]->Retranslate();
        m_forecastPanes[size_t(side)]->Retranslate();
        m_elementPanes[size_t(side)]->SetCaption(caption);
        m_taskPanes[size_t(side)]->SetCaption(caption);
        m_forecastPanes[size_t(side)]->SetCaption(caption);
    }
    SetMessage(m_noBlockingMessage ? QString() : m_message->text());
    UpdateTitle();
}

void CViewSynchro::UpdateTitle()
{
    setWindowTitle(Title());
    // The tab shows its document's title.
    if (auto *tab = qobject_cast<QMdiSubWindow *>(parentWidget()))
        tab->setWindowTitle(windowTitle());
}

QString CViewSynchro::Title() const
{
    return Platform::Formatter::sprintf(Platform::Texts::get(395), {m_count});
}

// ---------------------------------------------------------------------------
// The differences
// ---------------------------------------------------------------------------

bool CViewSynchro::LoadDifferences(const QString &devicePath, const QString &localPath)
{
    if (m_worker)
        return false;
    m_devicePath = devicePath;
    m_localPath = localPath;
    if (const CConfiguration *config = CAppData::Configuration())
        m_formats = *config;
    // Nothing of the previous review can be decided on meanwhile.
    m_listCtrl->SetList(nullptr);
    m_list.Clear();
    m_count = 0;
    m_listCtrl->SetList(&m_list);
    m_shownRow = -2;
    ShowElement(-1);
    m_synchronise->setEnabled(false);
    m_job = std::make_unique<ProgressDlgShared>(nullptr, nullptr);
    m_loaded = std::make_unique<SyncReviewList>();
    m_loadedCount = 0;
    m_loadedOutcome = CBdD::CompareOutcome::Failed;
    // The worker is given copies: the paths, the formats and a list of its
    // own, which this thread takes over once it has ended.
    m_worker = QThread::create([this, devicePath, localPath, formats = m_formats, job = m_job.get(),
                                list = m_loaded.get()] {
        int count = 0;
        CBdD local(localPath, CBdD::ReadOnly);
        const CBdD::CompareOutcome outcome = local.CompareDatabases(devicePath, *list, job, count, formats);
        m_loadedOutcome = outcome;
        m_loadedCount = count;
    });
    connect(m_worker, &QThread::finished, this, &CViewSynchro::AdoptDifferences, Qt::QueuedConnection);
    m_worker->start();
    return true;
}

bool CViewSynchro::IsLoading() const
{
    return m_worker != nullptr;
}

void CViewSynchro::CancelLoading()
{
    if (m_job)
        m_job->SetCancelled(true);
}

void CViewSynchro::AdoptDifferences()
{
    if (!m_worker)
        return;
    m_worker->wait();
    delete m_worker;
    m_worker = nullptr;
    m_outcome = m_loadedOutcome;
    m_listCtrl->SetList(nullptr);
    // Only a whole comparison is reviewed: a failed or stopped one leaves
    // nothing to decide on.
    if (m_outcome == CBdD::CompareOutcome::Compared) {
        m_list = std::move(*m_loaded);
        m_count = m_loadedCount;
    } else {
        m_list.Clear();
        m_count = 0;
    }
    m_loaded.reset();
    ShowDifferences();
    emit differencesLoaded(m_outcome, m_count);
}

void CViewSynchro::TakeDifferences(const QString &devicePath, const QString &localPath, SyncReviewList list,
                                   int count)
{
    if (m_worker)
        return;
    m_devicePath = devicePath;
    m_localPath = localPath;
    if (const CConfiguration *config = CAppData::Configuration())
        m_formats = *config;
    m_listCtrl->SetList(nullptr);
    m_list = std::move(list);
    m_count = count;
    m_outcome = CBdD::CompareOutcome::Compared;
    ShowDifferences();
}

void CViewSynchro::ShowDifferences()
{
    m_listCtrl->SetList(&m_list);
    m_shownRow = -2; // so that ShowElement(-1) resets the panes
    ShowElement(-1);
    m_synchronise->setEnabled(m_noBlockingMessage);
    UpdateTitle();
}

// ---------------------------------------------------------------------------
// The tab
// ---------------------------------------------------------------------------

void CViewSynchro::Open()
{
    UpdateTitle();
    if (m_host)
        m_host->ShowSyncReview(this);
    else
        show();
}

void CViewSynchro::Cancel()
{
    if (m_host)
        m_host->CloseSyncReview(this);
    else
        close();
}

void CViewSynchro::EndReview()
{
    m_ended = true;
    Cancel();
}

void CViewSynchro::closeEvent(QCloseEvent *event)
{
    if (!m_ended) {
        m_ended = true;
        CancelLoading();
        if (m_cancelHandler)
            m_cancelHandler();
    }
    event->accept();
}

// ---------------------------------------------------------------------------
// Synchronising and messages
// ---------------------------------------------------------------------------

void CViewSynchro::OnSynchronise()
{
    if (!m_noBlockingMessage || IsLoading())
        return;
    // The backup goes first; the synchronisation goes on whatever came of it.
    const CConfiguration *config = CAppData::Configuration();
    if (!config || config->backupSynchro)
        CAppData::BackupUserForSync(m_userId);
    if (m_runner)
        m_runner(*this);
}

void CViewSynchro::SetMessage(const QString &text)
{
    const bool blocking = !text.isEmpty();
    const QStyle::StandardPixmap icon = blocking ? QStyle::SP_MessageBoxWarning : QStyle::SP_MessageBoxInformation;
    const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    m_icon->setPixmap(style()->standardIcon(icon, nullptr, this).pixmap(side, side));
    m_message->setText(blocking ? text : Platform::Texts::get(376) + u'\n');
    m_synchronise->setEnabled(!blocking);
    m_noBlockingMessage = !blocking;
    LayoutPanes();
}

QString CViewSynchro::MessageShown() const
{
    return m_message->text();
}

// ---------------------------------------------------------------------------
// Detail panes
// ---------------------------------------------------------------------------

void CViewSynchro::ResetPanes()
{
    for (int side = Device; side <= Local; ++side) {
        m_elementPanes[size_t(side)]->Clear();
        m_elementPanes[size_t(side)]->SetKind(0);
        m_taskPanes[size_t(side)]->Clear();
        m_forecastPanes[size_t(side)]->Clear();
    }
}

void CViewSynchro::ClearSide(Side side)
{
    m_elementPanes[size_t(side)]->Clear();
    m_taskPanes[size_t(side)]->Clear();
    m_forecastPanes[size_t(side)]->Clear();
}

void CViewSynchro::ShowElement(int row)
{
    if (row == m_shownRow)
        return;
    m_shownRow = row;
    const SyncItem *item = m_list.Item(row);
    if (!item || item->kind == CBdD::TableProjectChilds) {
        ResetPanes();
        LayoutPanes();
        return;
    }
    // Both files are only read: a missing one is never created.
    if (openObserver()) {
        openObserver()(m_devicePath);
        openObserver()(m_localPath);
    }
    CBdD device(m_devicePath, CBdD::ReadOnly);
    CBdD local(m_localPath, CBdD::ReadOnly);
    for (int side = Device; side <= Local; ++side)
        m_elementPanes[size_t(side)]->SetKind(item->kind);
    ShowSide(Device, device, *item);
    ShowSide(Local, local, *item);
    LayoutPanes();
}

void CViewSynchro::ShowSide(Side side, CBdD &db, const SyncItem &item)
{
    const qint64 rowId = side == Device ? item.deviceId : item.localId;
    int id = -1;
    bool found = false;
    if (rowId != -1 && db.IsOpen()) {
        CViewDetailSynchro *pane = m_elementPanes[size_t(side)];
        switch (item.kind) {
        case CBdD::TableProjets:
        case CBdD::TableActivites: {
            const bool project = item.kind == CBdD::TableProjets;
            tElement element;
            if (!asRowId(rowId, id) || !db.GetElement(project, id, element, true))
                break;
            tElement rate;
            const bool hasRate = element.IdTauxHoraire != -1 && db.GetRate(rate, element.IdTauxHoraire, true);
            QString parentName, activityName;
            if (project) {
                tElement other;
                if (element.Parent != -1 && db.GetElement(true, element.Parent, other, false))
                    parentName = other.Nom;
                if (element.Activity != -1 && db.GetElement(false, element.Activity, other, false))
                    activityName = other.Nom;
            }
            pane->ShowElement(element, hasRate ? &rate : nullptr, parentName, activityName);
            found = true;
            break;
        }
        case CBdD::TableTauxHoraire: {
            tElement rate;
            if (asRowId(rowId, id) && db.GetRate(rate, id, true)) {
                pane->ShowRate(rate);
                found = true;
            }
            break;
        }
        case CBdD::TableTaches: {
            tTimeEntryDetails details;
            if (asRowId(rowId, id) && db.GetTimeEntryDetails(details, id)) {
                m_taskPanes[size_t(side)]->ShowTask(details, m_formats);
                found = true;
            }
            break;
        }
        case CBdD::TableFavoris: {
            QString project, activity, rate, title;
            if (asRowId(rowId, id) && db.DescribeFavorite(id, project, activity, rate, title)) {
                pane->ShowFavorite(project, activity, rate, title);
                found = true;
            }
            break;
        }
        case CBdD::TableForecast: {
            tForecast forecast;
            bool rowFound = false;
            if (db.GetForecast(forecast, rowId, &rowFound) && rowFound) {
                QString names;
                if (!forecast.Predecesseurs.isEmpty())
                    db.FormatPredecessorNames(forecast.Predecesseurs, names);
                m_forecastPanes[size_t(side)]->ShowForecast(names, forecast, m_formats);
                found = true;
            }
            break;
        }
        default:
            break;
        }
    }
    if (!found)
        ClearSide(side);
}

void CViewSynchro::LayoutPanes()
{
    const SyncItem *item = m_list.Item(m_shownRow);
    const bool rowShown = item && item->kind != CBdD::TableProjectChilds;
    const SyncReviewRules::Panes panes = rowShown ? SyncReviewRules::PanesForKind(item->kind)
                                                  : SyncReviewRules::Panes::None;
    for (int side = Device; side <= Local; ++side) {
        m_elementPanes[size_t(side)]->setVisible(panes == SyncReviewRules::Panes::Elements);
        m_taskPanes[size_t(side)]->setVisible(panes == SyncReviewRules::Panes::TimeEntries);
        m_forecastPanes[size_t(side)]->setVisible(panes == SyncReviewRules::Panes::Forecasts);
    }
    const bool anyPane = panes != SyncReviewRules::Panes::None;
    m_bottom->removeWidget(m_sides[Device]);
    m_bottom->removeWidget(m_sides[Local]);
    m_bottom->removeWidget(m_messageBox);
    m_bottom->removeWidget(m_buttons);
    if (anyPane) {
        // The two sides side by side; the message above the buttons on
        // their right, shown only while it blocks.
        m_bottom->addWidget(m_sides[Device], 0, 0, 2, 1);
        m_bottom->addWidget(m_sides[Local], 0, 1, 2, 1);
        m_bottom->addWidget(m_messageBox, 0, 2);
        m_bottom->addWidget(m_buttons, 1, 2, Qt::AlignRight | Qt::AlignBottom);
        m_messageBox->setVisible(!m_noBlockingMessage);
        m_bottom->setColumnStretch(0, 1);
        m_bottom->setColumnStretch(1, 1);
        m_bottom->setColumnStretch(2, 0);
        m_message->setMaximumWidth(m_buttons->sizeHint().width() * 2);
    } else {
        // The message along the bottom, the buttons at its right.
        m_bottom->addWidget(m_messageBox, 0, 0, 1, 2);
        m_bottom->addWidget(m_buttons, 0, 2, Qt::AlignRight | Qt::AlignBottom);
        m_messageBox->setVisible(true);
        m_bottom->setColumnStretch(0, 1);
        m_bottom->setColumnStretch(1, 1);
        m_bottom->setColumnStretch(2, 0);
        m_message->setMaximumWidth(QWIDGETSIZE_MAX);
    }
    m_sides[Device]->setVisible(anyPane);
    m_sides[Local]->setVisible(anyPane);
}
