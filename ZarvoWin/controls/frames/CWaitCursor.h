#pragma once

// Shows the wait cursor for the length of one operation (nothing without
// a widget application).
class CWaitCursor
{
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor &) = delete;
    CWaitCursor &operator=(const CWaitCursor &) = delete;

private:
    bool m_active = false;
};
