#include "StretchCopy.h"

#include <QImage>
#include <QPainter>

void StretchCopy(const QImage &source, int sourceHeight, int sourceWidth, QPainter &destination, int x, int y,
                 int width, int height)
{
    if (source.isNull() || sourceWidth <= 0 || sourceHeight <= 0 || width <= 0 || height <= 0)
        return;
    destination.save();
    destination.setRenderHint(QPainter::SmoothPixmapTransform, true);
    destination.setCompositionMode(QPainter::CompositionMode_Source);
    destination.drawImage(QRect(x, y, width, height), source, QRect(0, 0, sourceWidth, sourceHeight));
    destination.restore();
}
