#include "CPredecessor.h"

#include "CProjectTree.h"
#include "Formatter.h"
#include "Texts.h"

CProject *CPredecessor::GetNode(const CProjectTree &store) const
{
    return store.FindNode(IdActivity, IdProject);
}

qint64 CPredecessor::GetLag() const
{
    if (Lag <= 0)
        return 0;
    return LagUnit == UnitDays ? qint64(Lag) * 86400 : qint64(Lag) * 3600;
}

QString CPredecessor::FormatLag() const
{
    if (Lag == 0)
        return QString();
    const QString format = LagUnit == UnitDays
        ? Platform::Texts::get(663)
        : Platform::Texts::get(662);
    return Platform::Formatter::sprintf(format, {Lag});
}

QString CPredecessor::Key() const
{
    return Platform::Formatter::sprintf(u";%d,%d;", {IdProject, IdActivity});
}
