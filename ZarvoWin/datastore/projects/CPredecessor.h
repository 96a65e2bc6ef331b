#pragma once
#include <QString>
#include <QtGlobal>

class CProject;
class CProjectTree;

// A planning dependency of a node: it waits for the node (project id,
// activity id) to end, plus a lag.
struct CPredecessor
{
    static constexpr int UnitHours = 3;
    static constexpr int UnitDays = 4;

    int IdProject = -1;
    int IdActivity = -2; // -2: the project node
    int Lag = 0;
    int LagUnit = UnitDays;

    CProject *GetNode(const CProjectTree &store) const;
    // The lag in seconds: days for unit 4, else hours; 0 when the value is
    // not positive.
    qint64 GetLag() const;
    // "%d heure(s)" or "%d jour(s)" from the language texts; empty for 0.
    QString FormatLag() const;
    // The ";%d,%d;" key of the linked node.
    QString Key() const;

    bool operator==(const CPredecessor &o) const
    {
        return IdProject == o.IdProject && IdActivity == o.IdActivity && Lag == o.Lag
            && LagUnit == o.LagUnit;
    }
};
