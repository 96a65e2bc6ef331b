#pragma once
#include <QString>
#include <QtGlobal>

class CConfiguration;
class CProject;

// The planning page's decisions without a window: the estimated total a
// progress gives, the figures shown for a node and which controls show or
// take input.
class ForecastPlanningRules
{
public:
    // The start type of the two checks "Début souhaité" and
    // "Prédécesseurs": both 3, the first 1, the second 2, none 0.
    static int StartType(bool wished, bool predecessors);
    static bool StartIsWished(int startType) { return startType == 1 || startType == 3; }
    static bool StartFollowsPredecessors(int startType) { return startType == 2 || startType == 3; }

    // The estimated total of a progress in percent against the work done
    // (with the extra duration): above 100 counts as 100, 0 or less gives
    // 0; else done x 100 / percent in whole seconds.
    static qint64 TotalFromProgress(int percent, qint64 doneWithExtra);

    // What the read-only displays show.
    struct tFigures
    {
        QString planned;          // the node's planned work
        bool showChildren = false; // the children's expected work row
        QString childrenExpected;
        QString done;             // without the extra duration
        QString doneWithExtra;
        QString taskCount;
        QString expected;         // empty for 0
        QString remaining;        // empty when negative
        qint64 plannedWork = 0;
        qint64 expectedWork = 0;
        qint64 doneWork = 0;      // with the extra duration
        int progress = 0;
    };
    static tFigures Figures(const CProject &node, const CConfiguration &config);

    // Which controls show and take input.
    struct tControlStates
    {
        bool wishedCheckEnabled = true;
        bool startPickers = true;  // the start date, time and day buttons
        bool asap = false;         // "Asap" in their place
        bool plannedEditable = true; // amount, spin and unit; else the computed amount
        bool progressEditable = true;
        bool extraRow = true;
        bool endPickers = false;
        bool alertPickers = false;
        bool modeEnabled = false;
    };
    static tControlStates ControlStates(const CProject &node, bool alertChecked);
};
