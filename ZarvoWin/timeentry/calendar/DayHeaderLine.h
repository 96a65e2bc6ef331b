#pragma once
#include "EntryBoxPlan.h"

#include <QString>
#include <QStringList>

// A line of a day's header in the week and month views: a text at its
// left (the day, its week) and one at its right (the day's total). Where
// they do not both fit, the left one takes a shorter form, never a cut
// one.
struct tDayHeaderLine
{
    QString left;
    QString right;
    friend bool operator==(const tDayHeaderLine &, const tDayHeaderLine &) = default;
};

// The first of `lefts` (longest first) that leaves `right` its room in
// `width` pixels, a space's width between them; where even the last does
// not, the last alone: the day matters more than its total.
tDayHeaderLine FitDayHeaderLine(const QStringList &lefts, const QString &right, int width, const TextWidth &measure);
