#include "CDayCacheDatabaseSource.h"

#include "CmyDataBase.h"

#include <sqlite3.h>

CDayCacheDatabaseSource::CDayCacheDatabaseSource()
{
    SQLite::CmyDataBase *connection = m_db.Connection();
    // A deferred transaction takes the read lock at the first statement and
    // keeps it; a transaction already open (a write of the caller) is left
    // alone and read inside.
    if (connection && connection->Handle() && sqlite3_get_autocommit(connection->Handle()))
        m_snapshot = sqlite3_exec(connection->Handle(), "BEGIN DEFERRED", nullptr, nullptr, nullptr) == SQLITE_OK;
}

CDayCacheDatabaseSource::~CDayCacheDatabaseSource()
{
    if (m_snapshot)
        sqlite3_exec(m_db.Connection()->Handle(), "COMMIT", nullptr, nullptr, nullptr);
}

bool CDayCacheDatabaseSource::ReadStamp(QString &stamp)
{
    // Two users' files may hold the same stamp (new files hold an empty
    // one): the file is part of it, so that the cache never shows the
    // entries of the database it read before.
    QString modif;
    const bool read = m_db.GetModifStamp(modif);
    stamp = m_db.GetPath() + u'\n' + modif;
    return read;
}

bool CDayCacheDatabaseSource::ReadDay(const QDate &day, std::vector<tTacheParams> &entries)
{
    return m_db.LoadTimeEntries(entries, day);
}
