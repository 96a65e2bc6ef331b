#include "DayHeaderLine.h"

tDayHeaderLine FitDayHeaderLine(const QStringList &lefts, const QString &right, int width, const TextWidth &measure)
{
    if (lefts.isEmpty())
        return {QString(), right};
    const int rightWidth = right.isEmpty() ? 0 : measure(right) + measure(u" ");
    for (const QString &left : lefts) {
        if (measure(left) + rightWidth <= width)
            return {left, right};
    }
    return {lefts.back(), QString()};
}
