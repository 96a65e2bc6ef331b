#include "BitmapResources.h"

#include <QPainter>
#include <QSvgRenderer>

namespace {

struct BitmapEntry
{
    int id;
    const char *file;
    int width;
    int height;
};

// The sizes are those the controls' arithmetic relies on; the SVG files
// are drawn on the same grid so that rendering needs no scaling.
constexpr BitmapEntry kBitmaps[] = {
    {387, ":/pictures/splash.svg", 430, 344},
    {429, ":/pictures/wizard_welcome.svg", 150, 300},
    {430, ":/pictures/wizard_side.svg", 150, 300},
    {474, ":/pictures/slider_channel.svg", 160, 20},
    {475, ":/pictures/slider_thumb_dragged.svg", 11, 20},
    {476, ":/pictures/slider_channel_filled.svg", 160, 20},
    {477, ":/pictures/slider_thumb.svg", 11, 20},
    {482, ":/pictures/range_channel.svg", 400, 40},
    {483, ":/pictures/range_zones.svg", 400, 22},
    {484, ":/pictures/range_thumb.svg", 7, 9},
    {485, ":/pictures/range_thumb_selected.svg", 7, 9},
    {508, ":/pictures/grid_snap.svg", 72, 96},
};

} // namespace

QImage LoadBitmapResource(int id)
{
    for (const BitmapEntry &entry : kBitmaps) {
        if (entry.id != id)
            continue;
        QSvgRenderer renderer(QString::fromLatin1(entry.file));
        if (!renderer.isValid())
            return {};
        QImage image(entry.width, entry.height, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter, QRectF(0, 0, entry.width, entry.height));
        return image;
    }
    return {};
}

QPixmap TransparentByCornerPixel(const QImage &image)
{
    if (image.isNull())
        return {};
    QImage keyed = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = keyed.pixel(0, 0);
    for (int y = 0; y < keyed.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x) {
            if (line[x] == key)
                line[x] = 0;
        }
    }
    return QPixmap::fromImage(keyed);
}
