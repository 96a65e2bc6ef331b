#include "CDayCacheDatabaseSource.h"

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
