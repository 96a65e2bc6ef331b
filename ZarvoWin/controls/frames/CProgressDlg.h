#pragma once
#include "ProgressDlgShared.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <thread>

class QLabel;
class QProgressBar;
class QPushButton;

// The results a progress dialog ends with.
enum UPDResult : int {
    UPD_SUCCESS = 1,       // the job returned 1
    UPD_FAILURE = 2,       // the job returned anything else
    UPD_NO_THREAD = 3,     // the worker thread could not be started
    UPD_CANCELLED = 0x10002 // the user cancelled, whatever the job returned
};

// Runs one long job on a worker thread while a small modal dialog shows a
// step text, a busy bar and Cancel. The thread starts when the dialog is
// first shown; the dialog ends with the job's result (UPDResult). Callers
// treat 1 as success and anything above 0xFFFF as cancelled.
//
// Cancelling is cooperative: it sets the shared cancelled flag, which the
// job polls. No thread is ever killed: the dialog, DoModal and the
// destructor always wait for the thread they started.
//
// Controls: the step text (object name "1065"), the bar ("1066") and
// Cancel ("2").
class CProgressDlg : public QDialog
{
    Q_OBJECT
public:
    static constexpr int DialogId = 337;
    static constexpr int TextControl = 1065;
    static constexpr int ProgressControl = 1066;
    static constexpr int CancelControl = 2;

    CProgressDlg(QWidget *owner, ProgressDlgShared::Job job, void *jobParameter, const QString &title,
                 bool allowCancel);
    ~CProgressDlg() override;

    // Clears what a previous run left, shows the dialog modally, runs the
    // job and returns its result.
    int DoModal();

    ProgressDlgShared &Shared() { return m_shared; }
    // The result once the dialog has ended (0 before).
    int Result() const { return m_result; }
    QString StepText() const;
    bool CancelEnabled() const;

    // For tests: asked before the worker thread is started; returning true
    // makes the start fail as a real one would. Unset in the program.
    using ThreadStartFault = std::function<bool()>;
    static void SetThreadStartFault(ThreadStartFault fault);

    // What the private messages of the dialog did; interface thread only.
    void DisableCancel();
    void EnableCancel();
    void End(int result);
    void SetPos(int position);
    void SetText(const QString &text);
    void Cancel();

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;
    void closeEvent(QCloseEvent *event) override;

private:
    void StartWorker();
    void Cleanup();

    ProgressDlgShared m_shared;
    bool m_allowCancel;
    QString m_title;
    QString m_cancelText;
    QLabel *m_text = nullptr;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_cancel = nullptr;
    std::thread m_thread;
    bool m_started = false;
    bool m_ended = false;
    int m_result = 0;
};
