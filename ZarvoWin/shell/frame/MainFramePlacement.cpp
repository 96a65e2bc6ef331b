#include "MainFramePlacement.h"

#include <algorithm>

namespace {

// The room the free area leaves for the inside.
QSize room(const QRect &available, const QMargins &frame)
{
    return QSize(std::max(1, available.width() - frame.left() - frame.right()),
                 std::max(1, available.height() - frame.top() - frame.bottom()));
}

// The first coordinate of an inside of `length` that keeps it and its
// frame (`before`, `after`) between `low` and `low + span`, moved the least
// from `wanted`.
int within(int wanted, int length, int before, int after, int low, int span)
{
    const int first = low + before;
    const int last = low + span - after - length;
    return std::max(first, std::min(wanted, last));
}

} // namespace

QSize MainFramePlacement::Minimum(const QRect &available, const QMargins &frame)
{
    return MinimumSize.boundedTo(room(available, frame));
}

QRect MainFramePlacement::First(const QRect &available, const QMargins &frame)
{
    const QSize size = PreferredSize.boundedTo(room(available, frame));
    const int outerWidth = size.width() + frame.left() + frame.right();
    const int outerHeight = size.height() + frame.top() + frame.bottom();
    const QPoint corner(available.left() + (available.width() - outerWidth) / 2 + frame.left(),
                        available.top() + (available.height() - outerHeight) / 2 + frame.top());
    return Fit(QRect(corner, size), available, frame);
}

QRect MainFramePlacement::Fit(const QRect &inside, const QRect &available, const QMargins &frame)
{
    const QSize size = inside.size().boundedTo(room(available, frame)).expandedTo(QSize(1, 1));
    const int x = within(inside.left(), size.width(), frame.left(), frame.right(), available.left(), available.width());
    const int y = within(inside.top(), size.height(), frame.top(), frame.bottom(), available.top(), available.height());
    return QRect(QPoint(x, y), size);
}

bool MainFramePlacement::Fits(const QRect &inside, const QRect &available, const QMargins &frame)
{
    return available.contains(inside.marginsAdded(frame));
}
