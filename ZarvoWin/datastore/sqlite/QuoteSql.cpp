#include "QuoteSql.h"

QString QuoteSql(QStringView text)
{
    QString out = text.toString();
    out.replace(u'\'', QStringLiteral("''"));
    return out;
}
