#pragma once
#include "tDayColumn.h"
#include "tTacheParams.h"

#include <QLine>
#include <QRect>
#include <QString>
#include <QtGlobal>
#include <span>
#include <vector>

class CConfiguration;
class CWeekGeometry;

// What the week and day view draws over its grid on every repaint, worked
// out without a painter.

// The ghost of a dragged entry: one piece per shown day it touches, the
// start's time above the piece holding the start, the end's time below the
// last piece.
struct tGhostPlan
{
    static constexpr int LabelHeight = 20;

    std::vector<QRect> pieces;
    bool hasStartLabel = false;
    QRect startLabel;
    QString startText;
    bool hasEndLabel = false;
    QRect endLabel;
    QString endText;
};
// The ghost of an entry dragged to `start` .. `end` (a running entry ends
// now: pass the current time with `running`). A ghost shorter than a
// minute is drawn a minute long, kept at its end when the start edge is
// dragged. Pieces span their day's column from the start's row (or the
// header) to the end's row (or the client's bottom); the labels stay
// inside the client.
tGhostPlan PlanGhost(qint64 start, qint64 end, bool resizingStart, bool running, std::span<const tDayColumn> days,
                     const CWeekGeometry &geometry, int clientHeight, const CConfiguration &config);

// The grips of the entry under the pointer: two short dotted lines inside
// the top of its box, and two inside the bottom of a finished entry, in
// the middle of its tracks. A grip whose rows are not on screen is left
// out.
std::vector<QLine> PlanGrips(const tTacheParams &entry, std::span<const tDayColumn> days,
                             const CWeekGeometry &geometry, int clientHeight);
