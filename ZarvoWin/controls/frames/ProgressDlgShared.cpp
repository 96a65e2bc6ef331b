#include "ProgressDlgShared.h"

ProgressDlgShared::ProgressDlgShared(Job job, void *jobParameter)
    : m_job(std::move(job))
    , m_jobParameter(jobParameter)
{
}

bool ProgressDlgShared::HasWindow() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return bool(m_sink);
}

bool ProgressDlgShared::SendText(const QString &text)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_sink || m_cancelled.load())
        return false;
    m_sink(text);
    return true;
}

bool ProgressDlgShared::WaitForCancel(std::chrono::milliseconds timeout) const
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_cancelledChanged.wait_for(lock, timeout, [this] { return m_cancelled.load(); });
}

void ProgressDlgShared::AttachWindow(TextSink sink)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_sink = std::move(sink);
}

void ProgressDlgShared::DetachWindow()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_sink = nullptr;
}

void ProgressDlgShared::SetCancelled(bool cancelled)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_cancelled.store(cancelled);
    }
    m_cancelledChanged.notify_all();
}

int ProgressDlgShared::RunJob()
{
    m_running.store(true);
    int result = 2;
    if (!m_cancelled.load() && m_job)
        result = m_job(*this) == 1 ? 1 : 2;
    m_running.store(false);
    return result;
}
