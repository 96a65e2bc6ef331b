#include "MakeFileName.h"

QString MakeFileName(const QString &name)
{
    QString file = name;
    file.removeIf([](QChar c) { return QStringView(u"\"/\\:<>?*|").contains(c); });
    return file;
}
