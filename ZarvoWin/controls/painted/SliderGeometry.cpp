#include "SliderGeometry.h"

#include <QtGlobal>
#include <QtCore/qnamespace.h>

#include <climits>
#include <cmath>

namespace {

// Truncation toward zero that stays defined for values no int can hold.
int TruncateToInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= double(INT_MAX))
        return INT_MAX;
    if (value <= double(INT_MIN))
        return INT_MIN;
    return int(value);
}

} // namespace

int SliderGeometry::StartPixel() const
{
    return StartMargin() + ThumbExtent() / 2;
}

int SliderGeometry::ValueToPixel(int value) const
{
    const double span = double(ChannelExtent()) - EndMargin() - ThumbExtent() - StartMargin();
    const double range = double(maximum) - minimum;
    if (range == 0 || span <= 0)
        return StartPixel();
    const double scaled = span * (double(value) - minimum) / range;
    const qint64 pixel = qint64(StartMargin()) + TruncateToInt(scaled) + ThumbExtent() / 2;
    return int(qBound(qint64(INT_MIN), pixel, qint64(INT_MAX)));
}

int SliderGeometry::PixelToValue(int pixel) const
{
    const double span = double(ChannelExtent()) - EndMargin() - StartMargin() - ThumbExtent();
    const double range = double(maximum) - minimum;
    if (range == 0 || span <= 0)
        return minimum;
    const double offset = double(pixel) - ThumbExtent() / 2 - StartMargin();
    return TruncateToInt(minimum + offset / span * range);
}

int SliderGeometry::Clamp(int value) const
{
    return qMax(minimum, qMin(maximum, value));
}

bool SliderGeometry::SetPos(int value)
{
    const int clamped = Clamp(value);
    if (clamped == position)
        return false;
    position = clamped;
    return true;
}

std::optional<int> SliderGeometry::PositionAfterKey(int key) const
{
    qint64 next;
    switch (key) {
    case Qt::Key_PageUp:
        next = qint64(position) - pageSize;
        break;
    case Qt::Key_PageDown:
        next = qint64(position) + pageSize;
        break;
    case Qt::Key_End:
        next = maximum;
        break;
    case Qt::Key_Home:
        next = minimum;
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        next = qint64(position) + 1;
        break;
    case Qt::Key_Left:
    case Qt::Key_Up:
        next = qint64(position) - 1;
        break;
    default:
        return std::nullopt;
    }
    return Clamp(int(qBound(qint64(INT_MIN), next, qint64(INT_MAX))));
}
