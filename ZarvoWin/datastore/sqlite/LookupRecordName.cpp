#include "LookupRecordName.h"

#include "CmyDataBase.h"
#include "Formatter.h"
#include "MyTable.h"

QString LookupRecordName(int id, int kind, SQLite::CmyDataBase *connection)
{
    if (!connection || !connection->IsOpen())
        return QString();
    const char16_t *format = nullptr;
    switch (kind) {
    case RecordProject: format = u"select Nom from Projets where Id=%d"; break;
    case RecordActivity: format = u"select Nom from Activites where Id=%d"; break;
    case RecordRate: format = u"select Nom from TauxHoraire where Id=%d"; break;
    default: return QString();
    }
    SQLite::MyTablePtr t = connection->Query(Platform::Formatter::sprintf(format, {id}));
    return t.hasRows() ? t->GetCell(0, 0) : QString();
}
