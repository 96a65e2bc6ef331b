#pragma once
#include "CBdD.h"
#include "CDayCacheSource.h"

// The day cache's source on the current user's database, open for as long
// as the source lives. Outside a transaction of its caller, everything it
// reads comes from one snapshot of the file: the stamp and the days agree
// even while the other program writes, and the file is locked once for
// the whole load instead of once per statement.
class CDayCacheDatabaseSource : public CDayCacheSource
{
public:
    CDayCacheDatabaseSource();
    ~CDayCacheDatabaseSource() override;
    CDayCacheDatabaseSource(const CDayCacheDatabaseSource &) = delete;
    CDayCacheDatabaseSource &operator=(const CDayCacheDatabaseSource &) = delete;

    bool ReadStamp(QString &stamp) override;
    bool ReadDay(const QDate &day, std::vector<tTacheParams> &entries) override;

private:
    CBdD m_db;
    bool m_snapshot = false;
};
