#include "KeyColourRegion.h"

QRegion RegionOutsideKeyColour(const QImage &image, quint32 keyColorRef, int tolerance)
{
    QRegion region;
    if (image.isNull())
        return region;
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    const int keyRed = int(keyColorRef & 0xFF);
    const int keyGreen = int((keyColorRef >> 8) & 0xFF);
    const int keyBlue = int((keyColorRef >> 16) & 0xFF);
    const int lowRed = qMax(0, keyRed - tolerance), highRed = qMin(255, keyRed + tolerance);
    const int lowGreen = qMax(0, keyGreen - tolerance), highGreen = qMin(255, keyGreen + tolerance);
    const int lowBlue = qMax(0, keyBlue - tolerance), highBlue = qMin(255, keyBlue + tolerance);
    const auto isKey = [&](QRgb p) {
        const int r = qRed(p), g = qGreen(p), b = qBlue(p);
        return r >= lowRed && r <= highRed && g >= lowGreen && g <= highGreen && b >= lowBlue && b <= highBlue;
    };

    // Rows are added top to bottom and runs left to right, the order in
    // which QRegion appends a rectangle without re-sorting its bands.
    const int width = pixels.width();
    for (int y = 0; y < pixels.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(pixels.constScanLine(y));
        int x = 0;
        while (x < width) {
            while (x < width && isKey(line[x]))
                ++x;
            const int start = x;
            while (x < width && !isKey(line[x]))
                ++x;
            if (x > start)
                region += QRect(start, y, x - start, 1);
        }
    }
    return region;
}
