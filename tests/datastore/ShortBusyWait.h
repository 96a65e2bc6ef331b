#pragma once
// For a test in which another connection holds the file past every wait:
// connections opened while this lives (and the one given, when one is)
// wait `ms` for a lock instead of seconds, so that the failure comes at
// once. The waits are put back afterwards.
#include "CmyDataBase.h"

class ShortBusyWait
{
public:
    explicit ShortBusyWait(int ms = 0)
        : m_saved(SQLite::CmyDataBase::BusyTimeoutMs())
    {
        SQLite::CmyDataBase::SetBusyTimeoutMs(ms);
    }
    // Also for `open`, a connection opened before.
    explicit ShortBusyWait(SQLite::CmyDataBase &open, int ms = 0)
        : ShortBusyWait(ms)
    {
        m_open = &open;
        open.SetBusyTimeout(ms);
    }
    ~ShortBusyWait()
    {
        SQLite::CmyDataBase::SetBusyTimeoutMs(m_saved);
        if (m_open)
            m_open->SetBusyTimeout(m_saved);
    }
    ShortBusyWait(const ShortBusyWait &) = delete;
    ShortBusyWait &operator=(const ShortBusyWait &) = delete;

private:
    int m_saved;
    SQLite::CmyDataBase *m_open = nullptr;
};
