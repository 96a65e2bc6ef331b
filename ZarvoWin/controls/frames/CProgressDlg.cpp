#include "CProgressDlg.h"

#include "Texts.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <system_error>

namespace {

CProgressDlg::ThreadStartFault &threadStartFault()
{
    static CProgressDlg::ThreadStartFault fault;
    return fault;
}

} // namespace

void CProgressDlg::SetThreadStartFault(ThreadStartFault fault)
{
    threadStartFault() = std::move(fault);
}

CProgressDlg::CProgressDlg(QWidget *owner, ProgressDlgShared::Job job, void *jobParameter,
                           const QString &title, bool allowCancel)
    : QDialog(owner)
    , m_shared(std::move(job), jobParameter)
    , m_allowCancel(allowCancel)
    , m_title(title.left(255))
    , m_cancelText(Platform::Texts::get(315).left(255))
{
    setProperty("dialogId", DialogId);
    setModal(true);
    // Without Cancel the window has no Close either.
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
    if (allowCancel)
        flags |= Qt::WindowCloseButtonHint;
    setWindowFlags(flags);

    auto *layout = new QVBoxLayout(this);
    m_text = new QLabel(this);
    m_text->setObjectName(QString::number(TextControl));
    m_text->setProperty("controlId", TextControl);
    m_text->setTextFormat(Qt::PlainText);
    // Room for a step text of about forty characters.
    m_text->setMinimumWidth(fontMetrics().averageCharWidth() * 44);
    layout->addWidget(m_text);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QString::number(ProgressControl));
    m_progress->setProperty("controlId", ProgressControl);
    m_progress->setRange(0, 0); // busy, like a marquee
    m_progress->setTextVisible(false);
    layout->addWidget(m_progress);

    auto *row = new QHBoxLayout;
    row->addStretch(1);
    m_cancel = new QPushButton(Platform::Texts::get(247), this);
    m_cancel->setObjectName(QString::number(CancelControl));
    m_cancel->setProperty("controlId", CancelControl);
    connect(m_cancel, &QPushButton::clicked, this, &CProgressDlg::Cancel);
    row->addWidget(m_cancel);
    layout->addLayout(row);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

CProgressDlg::~CProgressDlg()
{
    Cleanup();
}

void CProgressDlg::Cleanup()
{
    // Asks a job still running to stop, then waits for it: whatever the
    // running flag says, a thread this dialog started is always joined.
    m_shared.SetCancelled(true);
    m_shared.DetachWindow();
    if (m_thread.joinable())
        m_thread.join();
    m_shared.SetCancelled(false);
}

int CProgressDlg::DoModal()
{
    Cleanup();
    m_started = false;
    m_ended = false;
    m_result = 0;
    exec();
    Cleanup();
    return m_result;
}

void CProgressDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_started) {
        m_started = true;
        StartWorker();
    }
}

void CProgressDlg::StartWorker()
{
    if (!m_allowCancel)
        DisableCancel();
    else
        EnableCancel();
    m_text->clear();
    setWindowTitle(m_title);
    // Step texts come from the worker as copies, queued to this thread.
    m_shared.AttachWindow([this](const QString &text) {
        QMetaObject::invokeMethod(this, [this, text] { SetText(text); }, Qt::QueuedConnection);
    });
    bool started = false;
    try {
        if (!threadStartFault() || !threadStartFault()())
            m_thread = std::thread([this] {
                const int result = m_shared.RunJob();
                const int code = m_shared.IsCancelled() ? int(UPD_CANCELLED) : result;
                // The dialog outlives this thread (it joins it before it
                // goes), so posting to it here is safe.
                QMetaObject::invokeMethod(this, [this, code] { End(code); }, Qt::QueuedConnection);
            });
        started = m_thread.joinable();
    } catch (const std::system_error &) {
    }
    if (!started) {
        m_shared.DetachWindow();
        // Ended from the event loop: while the dialog is first shown, exec()
        // has not begun its loop yet, and a dialog ended now would stay
        // hidden behind a loop that nothing ends.
        QMetaObject::invokeMethod(this, [this] { End(UPD_NO_THREAD); }, Qt::QueuedConnection);
    }
}

// Closing the window follows the Cancel button (see closeEvent); the
// window flags are left alone, since changing them hides the window.
void CProgressDlg::DisableCancel()
{
    m_cancel->setEnabled(false);
}

void CProgressDlg::EnableCancel()
{
    m_cancel->setEnabled(true);
}

void CProgressDlg::End(int result)
{
    if (m_ended)
        return;
    m_ended = true;
    m_result = result;
    m_shared.DetachWindow();
    // The thread is joined by DoModal and the destructor, never here: a
    // job still running must not hold up the interface thread.
    done(result);
}

void CProgressDlg::SetPos(int position)
{
    if (m_progress->maximum() == 0)
        m_progress->setRange(0, 100);
    m_progress->setValue(position);
}

void CProgressDlg::SetText(const QString &text)
{
    // Once cancelling has begun the cancel text stays.
    if (m_shared.IsCancelled())
        return;
    m_text->setText(text);
}

void CProgressDlg::Cancel()
{
    if (!m_cancel->isEnabled() || m_ended)
        return;
    m_shared.SetCancelled(true);
    m_text->setText(m_cancelText);
    DisableCancel();
}

QString CProgressDlg::StepText() const
{
    return m_text->text();
}

bool CProgressDlg::CancelEnabled() const
{
    return m_cancel->isEnabled();
}

void CProgressDlg::reject()
{
    // Escape is Cancel; the dialog ends only when the job has ended.
    Cancel();
}

void CProgressDlg::closeEvent(QCloseEvent *event)
{
    if (m_ended) {
        QDialog::closeEvent(event);
        return;
    }
    Cancel();
    event->ignore();
}
