#include "MainFramePlacement.h"

#include "ScreenFit.h"

QSize MainFramePlacement::Minimum(const QRect &available, const QMargins &frame)
{
    return MinimumSize.boundedTo(ScreenFit::Room(available, frame));
}

QRect MainFramePlacement::First(const QRect &available, const QMargins &frame)
{
    const QSize size = PreferredSize.boundedTo(ScreenFit::Room(available, frame));
    const int outerWidth = size.width() + frame.left() + frame.right();
    const int outerHeight = size.height() + frame.top() + frame.bottom();
    const QPoint corner(available.left() + (available.width() - outerWidth) / 2 + frame.left(),
                        available.top() + (available.height() - outerHeight) / 2 + frame.top());
    return ScreenFit::Fit(QRect(corner, size), available, frame);
}
