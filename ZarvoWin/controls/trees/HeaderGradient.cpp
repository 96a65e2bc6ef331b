#include "HeaderGradient.h"

#include <algorithm>

quint32 HeaderGradientColor(int position)
{
    const int v = std::clamp(position, 0, 100) * 75 / 100;
    const int red = std::min(180 + v, 255);
    const int green = std::min(205 + 2 * v / 3, 255);
    return quint32(red) | (quint32(green) << 8) | (quint32(255) << 16);
}
