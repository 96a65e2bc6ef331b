#include "CDayCacheDatabaseSource.h"

bool CDayCacheDatabaseSource::ReadStamp(QString &stamp)
{
    return m_db.GetModifStamp(stamp);
}

bool CDayCacheDatabaseSource::ReadDay(const QDate &day, std::vector<tTacheParams> &entries)
{
    return m_db.LoadTimeEntries(entries, day);
}
