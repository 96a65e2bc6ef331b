#pragma once
#include <QString>
#include <QtGlobal>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

// What a job running on the progress dialog's worker thread shares with the
// dialog. It holds no window: the job reads the cancelled flag and reports
// step texts, which travel to the dialog as copies; nothing the job calls
// here waits for the interface thread.
class ProgressDlgShared
{
public:
    // The job: returns 1 on success, anything else on failure.
    using Job = std::function<quint8(ProgressDlgShared &shared)>;
    // Where step texts go while the dialog's window exists; it must not
    // block (the dialog queues the text to its own thread).
    using TextSink = std::function<void(const QString &text)>;

    ProgressDlgShared(Job job, void *jobParameter);
    ProgressDlgShared(const ProgressDlgShared &) = delete;
    ProgressDlgShared &operator=(const ProgressDlgShared &) = delete;

    // The caller's context, passed through unchanged.
    void *JobParameter() const { return m_jobParameter; }
    bool IsRunning() const { return m_running.load(); }
    bool IsCancelled() const { return m_cancelled.load(); }
    // True while the dialog's window exists.
    bool HasWindow() const;

    // Shows a step text in the dialog: only while its window exists and
    // the user has not cancelled; false when the text was dropped.
    bool SendText(const QString &text);
    // Waits until the user cancels or `timeout` passes; true when
    // cancelled. For jobs that would otherwise sleep between attempts.
    bool WaitForCancel(std::chrono::milliseconds timeout) const;

    // --- The dialog's side --------------------------------------------
    void AttachWindow(TextSink sink);
    void DetachWindow();
    void SetCancelled(bool cancelled);
    // The worker thread's run: marks running, calls the job unless
    // cancelled already, and gives the job's result (1 success, 2 failure).
    int RunJob();

private:
    Job m_job;
    void *m_jobParameter;
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_cancelled{false};
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_cancelledChanged;
    TextSink m_sink;
};
