#include "CmyDataBase.h"

#include "UTF8MBSTR.h"

#include <sqlite3.h>

#include <chrono>
#include <thread>

namespace SQLite {

namespace {
int busyTimeoutMs = CmyDataBase::DefaultBusyTimeoutMs;
} // namespace

int CmyDataBase::BusyTimeoutMs()
{
    return busyTimeoutMs;
}

void CmyDataBase::SetBusyTimeoutMs(int ms)
{
    busyTimeoutMs = ms < 0 ? 0 : ms;
}

void CmyDataBase::SetBusyTimeout(int ms)
{
    m_busyTimeoutMs = ms < 0 ? 0 : ms;
}

// SQLite's busy handler: called with the number of times it was called
// before for the same lock; nonzero to try again.
int CmyDataBase::WaitForLock(void *connection, int attempt)
{
    auto *self = static_cast<CmyDataBase *>(connection);
    const auto now = std::chrono::steady_clock::now();
    if (attempt == 0)
        self->m_busySince = now;
    if (now - self->m_busySince >= std::chrono::milliseconds(self->m_busyTimeoutMs))
        return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(BusyPollMs));
    return 1;
}

CmyDataBase::~CmyDataBase()
{
    Close();
}

int CmyDataBase::OpenWith(const QString &path, int flags)
{
    Close();
    UTF8MBSTR utf8(path.isNull() ? QStringView(u"") : QStringView(path));
    sqlite3 *handle = nullptr;
    const int rc = sqlite3_open_v2(utf8.data(), &handle, flags, nullptr);
    if (rc != SQLITE_OK) {
        // A handle is returned even on failure and must be released.
        sqlite3_close(handle);
        m_lastCode = rc;
        return rc;
    }
    // Without a busy handler a read made while the other program commits,
    // or the first look at the file while it writes, fails at once.
    m_busyTimeoutMs = busyTimeoutMs;
    sqlite3_busy_handler(handle, &CmyDataBase::WaitForLock, this);
    m_handle = handle;
    m_lastCode = 0;
    m_path = path;
    return 0;
}

int CmyDataBase::Open(const QString &path)
{
    return OpenWith(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
}

int CmyDataBase::OpenReadOnly(const QString &path)
{
    return OpenWith(path, SQLITE_OPEN_READONLY);
}

int CmyDataBase::OpenExisting(const QString &path)
{
    return OpenWith(path, SQLITE_OPEN_READWRITE);
}

void CmyDataBase::Close()
{
    if (m_handle) {
        sqlite3_close(m_handle);
        m_handle = nullptr;
    }
    m_path.clear();
}

MyTablePtr CmyDataBase::Query(QStringView sql)
{
    if (!m_handle) {
        m_lastCode = 1;
        return MyTablePtr();
    }
    UTF8MBSTR utf8(sql);
    char **result = nullptr;
    int rows = 0;
    int columns = 0;
    char *error = nullptr;
    const int rc = sqlite3_get_table(m_handle, utf8.data(), &result, &rows, &columns, &error);
    if (rc != SQLITE_OK)
        m_lastCode = rc;
    sqlite3_free(error);
    auto table = std::make_unique<MyTable>();
    if (rc == SQLITE_OK && result)
        table->Build(result, rows, columns);
    sqlite3_free_table(result);
    return MyTablePtr(std::move(table));
}

int CmyDataBase::ExecuteStoring(const char *sql)
{
    char *error = nullptr;
    const int rc = sqlite3_exec(m_handle, sql, nullptr, nullptr, &error);
    sqlite3_free(error);
    return rc;
}

int CmyDataBase::Execute(QStringView sql)
{
    if (!m_handle) {
        m_lastCode = 1;
        return 1;
    }
    UTF8MBSTR utf8(sql);
    const int rc = ExecuteStoring(utf8.data());
    if (rc != SQLITE_OK)
        m_lastCode = rc;
    return rc;
}

qint64 CmyDataBase::GetLastInsertRowId() const
{
    return m_handle ? sqlite3_last_insert_rowid(m_handle) : 0;
}

int CmyDataBase::GetChanges() const
{
    return m_handle ? sqlite3_changes(m_handle) : 0;
}

bool CmyDataBase::BeginTransaction()
{
    if (!m_handle) {
        m_lastCode = 1;
        return false;
    }
    m_lastCode = ExecuteStoring("BEGIN IMMEDIATE TRANSACTION");
    for (int retry = 0; retry < BusyRetries && m_lastCode == SQLITE_BUSY; ++retry) {
        std::this_thread::sleep_for(std::chrono::milliseconds(BusySleepMs));
        m_lastCode = ExecuteStoring("BEGIN IMMEDIATE TRANSACTION");
    }
    return m_lastCode == SQLITE_OK;
}

bool CmyDataBase::CommitTransaction()
{
    if (!m_handle) {
        m_lastCode = 1;
        return false;
    }
    m_lastCode = ExecuteStoring("COMMIT TRANSACTION");
    return m_lastCode == SQLITE_OK;
}

bool CmyDataBase::RollbackTransaction()
{
    if (!m_handle) {
        m_lastCode = 1;
        return false;
    }
    m_lastCode = ExecuteStoring("ROLLBACK TRANSACTION");
    return m_lastCode == SQLITE_OK;
}

void CmyDataBase::RollbackAfterFailure(int code)
{
    RollbackTransaction();
    m_lastCode = code != 0 ? code : 1;
}

} // namespace SQLite
