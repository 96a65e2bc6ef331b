#include "CDlgSynchro.h"

#include "CDlgInsertion.h"
#include "CInfosProgression.h"
#include "ContextHelp.h"
#include "DialogAnswers.h"
#include "Texts.h"
#include "TranslateWidgets.h"
#include "WidgetIds.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QThread>
#include <QVBoxLayout>

// The run's steps, told from the worker to the dialog's thread; the cancel
// flag is read where the run is.
class CDlgSynchro::Steps : public SyncSteps
{
public:
    explicit Steps(CDlgSynchro *dialog)
        : m_dialog(dialog)
    {
    }
    void AppendStep(int textId, int state) override
    {
        CInfosProgression *list = m_dialog->m_steps;
        QMetaObject::invokeMethod(
            list, [list, textId, state] { list->AppendStep(Platform::Texts::get(textId), state); },
            Qt::QueuedConnection);
    }
    void SetLastStepState(int state) override
    {
        CInfosProgression *list = m_dialog->m_steps;
        QMetaObject::invokeMethod(list, [list, state] { list->SetLastStepState(state); }, Qt::QueuedConnection);
    }
    bool Cancelled() override { return m_dialog->m_state.load() == 1; }

private:
    CDlgSynchro *m_dialog;
};

CDlgSynchro::CDlgSynchro(SyncFileStages::Setup setup, QWidget *parent)
    : QDialog(parent)
    , m_setup(std::move(setup))
{
    setModal(true);
    WidgetIds::SetDialogId(this, DialogId);
    m_steps = new CInfosProgression(this);
    WidgetIds::SetControlId(m_steps, StepListId);
    m_icon = new QLabel(this);
    WidgetIds::SetControlId(m_icon, IconId);
    m_icon->setPixmap(QIcon::fromTheme(QStringLiteral("folder-sync")).pixmap(32, 32));
    m_status = new QLabel(this);
    WidgetIds::SetControlId(m_status, StatusLineId);
    QFont large = font();
    large.setPointSizeF(large.pointSizeF() * 1.5);
    large.setWeight(QFont::Normal);
    m_status->setFont(large);
    QPalette palette = m_status->palette();
    palette.setColor(QPalette::WindowText, QColor(0x0E, 0x47, 0xCB));
    m_status->setPalette(palette);
    m_status->setText(Platform::Texts::get(389));
    m_reason = new QLabel(this);
    m_reason->setWordWrap(true);
    m_reason->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_reason->hide();
    m_close = new QPushButton(this);
    WidgetIds::SetControlId(m_close, 1);
    m_cancel = new QPushButton(this);
    WidgetIds::SetControlId(m_cancel, 2);
    m_close->hide();
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &CDlgSynchro::CancelRun);

    auto *top = new QHBoxLayout;
    top->addWidget(m_icon, 0, Qt::AlignTop);
    top->addWidget(m_status, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_close);
    buttons->addWidget(m_cancel);
    ContextHelp::Install(this, DialogId);
    ContextHelp::AddButton(buttons, this);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_reason);
    layout->addWidget(m_steps, 1);
    layout->addLayout(buttons);
    TranslateDialog(this, DialogId);
}

CDlgSynchro::~CDlgSynchro()
{
    if (m_worker) {
        m_state.store(1);
        // The worker may be waiting for this thread (a question): let it.
        while (!m_worker->wait(20))
            QCoreApplication::processEvents();
        delete m_worker;
    }
}

int CDlgSynchro::exec()
{
    if (DialogAnswers<CDlgSynchro> *answers = DialogAnswers<CDlgSynchro>::Active())
        return answers->Answer(*this);
    return QDialog::exec();
}

void CDlgSynchro::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_running && !m_ended)
        QMetaObject::invokeMethod(this, &CDlgSynchro::Start, Qt::QueuedConnection);
}

void CDlgSynchro::Start()
{
    if (m_running || m_ended)
        return;
    m_running = true;
    SyncFileStages::Setup setup = m_setup;
    setup.askOverlap = [this](const std::vector<tTacheFull> &entries) {
        SyncFileStages::OverlapAnswer answer;
        QMetaObject::invokeMethod(this, [&] { answer = AskOverlap(entries); }, Qt::BlockingQueuedConnection);
        return answer;
    };
    if (m_setup.emptyUndo) {
        setup.emptyUndo = [this] {
            QMetaObject::invokeMethod(this, [this] { m_setup.emptyUndo(); }, Qt::BlockingQueuedConnection);
        };
    }
    setup.beginFinalisation = [this] {
        int open = 0;
        if (!m_state.compare_exchange_strong(open, 2))
            return false;
        QMetaObject::invokeMethod(m_cancel, [this] { m_cancel->setEnabled(false); }, Qt::QueuedConnection);
        return true;
    };
    m_worker = QThread::create([this, setup] {
        Steps steps(this);
        SyncRun run(SyncFileStages::Make(setup));
        const SyncRun::Outcome outcome = run.Run(steps);
        const QString reason = run.Reason();
        QMetaObject::invokeMethod(this, [this, outcome, reason] { Finish(outcome, reason); }, Qt::QueuedConnection);
    });
    m_worker->start();
}

SyncFileStages::OverlapAnswer CDlgSynchro::AskOverlap(const std::vector<tTacheFull> &entries)
{
    SyncFileStages::OverlapAnswer answer;
    CDlgInsertion dialog(true, this);
    dialog.SetDatabasePath(m_setup.copyPath);
    dialog.SetEntries(entries);
    if (dialog.exec() != QDialog::Accepted) {
        answer.cancelled = true;
        return answer;
    }
    answer.fit = dialog.Method() == CDlgInsertion::FitIntoFreeTime;
    answer.applyToAll = dialog.ApplyToNext();
    return answer;
}

void CDlgSynchro::WaitForEnd()
{
    while (!m_ended) {
        if (!m_running)
            Start();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (m_worker && m_worker->isFinished())
            QCoreApplication::processEvents();
    }
}

void CDlgSynchro::CancelRun()
{
    int open = 0;
    if (m_state.compare_exchange_strong(open, 1))
        m_cancel->setEnabled(false);
}

void CDlgSynchro::Finish(SyncRun::Outcome outcome, const QString &reason)
{
    if (m_worker) {
        m_worker->wait();
        delete m_worker;
        m_worker = nullptr;
    }
    m_running = false;
    m_ended = true;
    m_outcome = outcome;
    m_cancel->hide();
    m_close->show();
    m_close->setFocus();
    m_status->setText(Platform::Texts::get(SyncRun::TextId(outcome)));
    m_reason->setText(reason);
    m_reason->setVisible(!reason.isEmpty());
    if (outcome != SyncRun::Outcome::Succeeded)
        m_icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(32, 32));
    emit runEnded(int(outcome));
}

void CDlgSynchro::closeEvent(QCloseEvent *event)
{
    if (!m_ended) {
        // The window stays until the run has ended: its close asks the run
        // to stop, as "Annuler" does.
        CancelRun();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void CDlgSynchro::reject()
{
    // Escape is the button shown: "Annuler" while the run goes on (heard
    // until its finalisation starts), "Fermer" once it has ended.
    if (!m_ended) {
        CancelRun();
        return;
    }
    accept();
}
