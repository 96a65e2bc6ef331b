#include "ReportHeaderLayout.h"

#include <algorithm>

namespace ReportHeaderLayout {

int NormalisedPosition(int position)
{
    return position == Centre || position == Right ? position : Left;
}

namespace {

qint64 Scaled(qint64 pixels, int imageDpi, int deviceDpi, int screenDpi)
{
    const int from = imageDpi > 0 ? imageDpi : screenDpi;
    const int to = deviceDpi > 0 ? deviceDpi : screenDpi;
    if (pixels <= 0 || from <= 0 || to <= 0)
        return 0;
    // pixels fit in 32 bits and so does the resolution: the product fits in 64.
    return std::min(pixels * to / from, MaxExtent);
}

bool Present(const QSize &size)
{
    return size.width() > 0 && size.height() > 0;
}

} // namespace

QSize LogoSizeOnDevice(qint64 width, qint64 height, int imageXDpi, int imageYDpi, int deviceXDpi,
                       int deviceYDpi, int screenXDpi, int screenYDpi)
{
    width = std::clamp<qint64>(width, 0, 0xFFFFFFFFLL);
    height = std::clamp<qint64>(height, 0, 0xFFFFFFFFLL);
    const qint64 w = Scaled(width, imageXDpi, deviceXDpi, screenXDpi);
    const qint64 h = Scaled(height, imageYDpi, deviceYDpi, screenYDpi);
    if (w <= 0 || h <= 0)
        return QSize();
    return QSize(int(w), int(h));
}

int PlaceHorizontally(const QRect &band, int width, int position)
{
    const qint64 left = band.left();
    const qint64 free = qint64(band.width()) - width;
    qint64 x = left;
    switch (NormalisedPosition(position)) {
    case Centre:
        x = left + free / 2;
        break;
    case Right:
        x = left + free;
        break;
    default:
        break;
    }
    return int(std::clamp<qint64>(x, -MaxExtent * 2, MaxExtent * 2));
}

int TextTop(const QRect &band, const QSize &logo, int logoPosition, int textPosition)
{
    const bool under = Present(logo) && NormalisedPosition(logoPosition) == NormalisedPosition(textPosition);
    return under ? band.top() + logo.height() : band.top();
}

Band Arrange(const QRect &band, const QSize &logo, int logoPosition, const QSize &text, int textPosition)
{
    Band out;
    const bool hasLogo = Present(logo);
    const bool hasText = Present(text);
    qint64 height = 0;
    if (hasLogo) {
        out.logo = QRect(PlaceHorizontally(band, logo.width(), logoPosition), band.top(), logo.width(), logo.height());
        height = logo.height();
    }
    if (hasText) {
        const int top = TextTop(band, logo, logoPosition, textPosition);
        out.text = QRect(PlaceHorizontally(band, text.width(), textPosition), top, text.width(), text.height());
        if (!hasLogo)
            height = text.height();
        else if (top != band.top())
            height = qint64(logo.height()) + text.height();
        else
            height = std::max<qint64>(logo.height(), text.height());
    }
    out.height = int(std::min<qint64>(height, MaxExtent * 2));
    return out;
}

} // namespace ReportHeaderLayout
