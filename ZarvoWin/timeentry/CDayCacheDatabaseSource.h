#pragma once
#include "CBdD.h"
#include "CDayCacheSource.h"

// The day cache's source on the current user's database, open for as long
// as the source lives.
class CDayCacheDatabaseSource : public CDayCacheSource
{
public:
    CDayCacheDatabaseSource() = default;

    bool ReadStamp(QString &stamp) override;
    bool ReadDay(const QDate &day, std::vector<tTacheParams> &entries) override;

private:
    CBdD m_db;
};
