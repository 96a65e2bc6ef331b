#pragma once

class QImage;
class QPainter;

// Stretches the top-left `sourceWidth` x `sourceHeight` of `source` over the
// destination rectangle, replacing what stood there, smoothed (the pages
// shrunk into a view stay legible).
void StretchCopy(const QImage &source, int sourceHeight, int sourceWidth, QPainter &destination, int x, int y,
                 int width, int height);
