#include "UiUtilities.h"

#include "CWaitCursor.h"
#include "Clock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

quint32 GetRandomLightColor()
{
    const quint64 tick = static_cast<quint64>(Platform::Clock::tickMs());
    int r = static_cast<int>(tick % 256);
    int g = (r * r) % 256;
    int b = (g * g) % 256;
    for (int raises = 0; raises < 250 && 0.2126 * r + 0.7152 * g + 0.0722 * b < 160.0; ++raises) {
        r = qMin(r + 1, 255);
        g = qMin(g + 1, 255);
        b = qMin(b + 1, 255);
    }
    return static_cast<quint32>(r) | (static_cast<quint32>(g) << 8) | (static_cast<quint32>(b) << 16);
}

bool DeleteUserFiles(const QString &folder, bool databaseOnly)
{
    if (folder.isEmpty())
        return false;
    const QFileInfo info(folder);
    if (!info.exists() && !info.isSymLink())
        return true;
    CWaitCursor wait;
    if (databaseOnly) {
        const QString db = folder.endsWith(u'/') ? folder + QStringLiteral("Zarvo.sdb")
                                                 : folder + QStringLiteral("/Zarvo.sdb");
        if (QFileInfo::exists(db) && !QFile::remove(db))
            return false;
        const QString rpt = db.left(db.lastIndexOf(u'.')) + QStringLiteral(".rpt");
        if (QFileInfo::exists(rpt) && !QFile::remove(rpt))
            return false;
        return true;
    }
    QString path = folder;
    if (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return QFile::moveToTrash(path);
}

quint32 GetContrastTextColor(quint32 background)
{
    const int r = int(background & 0xFF);
    const int g = int((background >> 8) & 0xFF);
    const int b = int((background >> 16) & 0xFF);
    return 0.2126 * r + 0.7152 * g + 0.0722 * b >= 120.0 ? 0u : 0xFFFFFFu;
}

int GetProjectStateImage(int state)
{
    static const int images[] = {15, 23, 22, 1, 18, 24};
    return state >= 0 && state <= 5 ? images[state] : -1;
}

int GetReportRowImage(int kind)
{
    switch (kind) {
    case 0:
        return 2;
    case 1:
    case 2:
        return 3;
    default:
        return -1;
    }
}
