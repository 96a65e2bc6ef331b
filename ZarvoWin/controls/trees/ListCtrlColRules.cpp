#include "ListCtrlColRules.h"

#include <QFontMetrics>

ListCtrlColRules::Alignment ListCtrlColRules::AlignmentAt(int x, int left, int right)
{
    auto within = [x](int from, int to) { return x >= from && x < to; };
    if (within(left + 6, left + 22))
        return AlignLeft;
    if (within(right - 22, right - 6))
        return AlignRight;
    const int middle = left + (right - left) / 2;
    if (within(middle - 8, middle + 8))
        return AlignCentre;
    return NoAlignment;
}

QString ListCtrlColRules::AlignmentText(Alignment alignment)
{
    switch (alignment) {
    case AlignLeft: return QStringLiteral("L");
    case AlignRight: return QStringLiteral("R");
    case AlignCentre: return QStringLiteral("C");
    case NoAlignment: break;
    }
    return QString();
}

QString ListCtrlColRules::CutText(const QFontMetrics &metrics, const QString &text, int width)
{
    if (metrics.horizontalAdvance(text) < width)
        return text;
    const QString dots = QStringLiteral("...");
    const int dotsWidth = metrics.horizontalAdvance(dots);
    QString kept = text;
    while (kept.size() > 1 && dotsWidth + metrics.horizontalAdvance(kept) >= width) {
        kept.chop(1);
        // Never half of a surrogate pair.
        if (!kept.isEmpty() && kept.back().isHighSurrogate())
            kept.chop(1);
    }
    return kept + dots;
}

int ListCtrlColRules::MoveDestination(int count, int target, bool before, int source)
{
    if (target < 0 || target >= count || source < 0 || source >= count || target == source)
        return -1;
    if ((source == target + 1 && !before) || (target == source + 1 && before))
        return -1;
    // Once the source is out, the target moves up one when it was below.
    const int targetAfterRemoval = source < target ? target - 1 : target;
    return before ? targetAfterRemoval : targetAfterRemoval + 1;
}

bool ListCtrlColRules::CanSwap(int count, int a, int b)
{
    return a != b && a >= 0 && b >= 0 && a < count && b < count;
}
