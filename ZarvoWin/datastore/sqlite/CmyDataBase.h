#pragma once
#include "MyTablePtr.h"

#include <QString>

#include <chrono>

struct sqlite3;

namespace SQLite {

// One connection to an SQLite file. Statements are complete SQL texts;
// results are materialised in full. The last result code is kept in
// `lastCode`: Execute and Query only ever overwrite it with a failure, so a
// failure in a run of statements stays visible after later successes;
// the open and transaction calls always store their own code.
class CmyDataBase
{
public:
    CmyDataBase() = default;
    virtual ~CmyDataBase();
    CmyDataBase(const CmyDataBase &) = delete;
    CmyDataBase &operator=(const CmyDataBase &) = delete;

    // Opens (creating a missing file). A null path opens a private
    // temporary database.
    int Open(const QString &path);
    // Opens an existing file read-only.
    int OpenReadOnly(const QString &path);
    // Opens an existing file for reading and writing; a missing file is
    // not created (SQLITE_CANTOPEN).
    int OpenExisting(const QString &path);
    void Close();

    MyTablePtr Query(QStringView sql);
    int Execute(QStringView sql);
    qint64 GetLastInsertRowId() const;
    // Rows changed by the last INSERT, UPDATE or DELETE that ran.
    int GetChanges() const;

    // "BEGIN IMMEDIATE TRANSACTION", retried every 50 ms while the
    // database is busy, at most 11 attempts in all.
    bool BeginTransaction();
    bool CommitTransaction();
    bool RollbackTransaction();
    // Rolls back after a failure, keeping the failure's code as the last
    // code (the rollback's own result would hide it); a code of 0 is kept
    // as 1, so that the failure never reads as success.
    void RollbackAfterFailure(int code);
    void RollbackAfterFailure() { RollbackAfterFailure(m_lastCode); }

    int GetLastCode() const { return m_lastCode; }
    void SetLastCode(int code) { m_lastCode = code; }
    QString GetPath() const { return m_path; }
    bool IsOpen() const { return m_handle != nullptr; }
    sqlite3 *Handle() const { return m_handle; }

    // Tunables of the busy retry.
    static constexpr int BusyRetries = 10;
    static constexpr int BusySleepMs = 50;

    // Every connection waits this long for a lock the other program holds
    // (it commits, or reads while this one wants to commit) before a
    // statement, a read included, gives up as busy. The open checks, the
    // reads and BEGIN and COMMIT all wait; BEGIN and COMMIT then still retry
    // as above. Set for connections opened afterwards.
    static constexpr int DefaultBusyTimeoutMs = 5000;
    static int BusyTimeoutMs();
    static void SetBusyTimeoutMs(int ms);
    // The wait of this open connection alone.
    void SetBusyTimeout(int ms);
    // How often a waiting statement looks at the lock again. Two programs
    // writing in turn leave the file free for a millisecond or two between
    // their commits; a wait that looked only every 100 ms (SQLite's own)
    // would miss those gaps for seconds.
    static constexpr int BusyPollMs = 1;

private:
    static int WaitForLock(void *connection, int attempt);
    int OpenWith(const QString &path, int flags);
    int ExecuteStoring(const char *sql);

    sqlite3 *m_handle = nullptr;
    int m_lastCode = 0;
    QString m_path;
    int m_busyTimeoutMs = 0;
    std::chrono::steady_clock::time_point m_busySince;
};

} // namespace SQLite
