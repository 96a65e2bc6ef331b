#pragma once
#include "tTacheParams.h"

#include <QDate>
#include <QString>
#include <vector>

// What the day cache reads during one load: the database's change stamp
// and the entries of single days. One source is made per load, so that
// the database is opened for the length of that load only.
class CDayCacheSource
{
public:
    virtual ~CDayCacheSource() = default;

    // A text that changes whenever the entries may have changed: the
    // Infos value 'Modif' of the database, and which database it is
    // (emptied first). False when it could not be read.
    virtual bool ReadStamp(QString &stamp) = 0;
    // The entries shown on the local calendar day `day`, in start order,
    // with the display fields of new display entries (the array is
    // emptied first). False when they could not be read.
    virtual bool ReadDay(const QDate &day, std::vector<tTacheParams> &entries) = 0;
};
