#include "ImageList.h"

#include <QGuiApplication>
#include <QPainter>
#include <QStandardPaths>
#include <QStringList>
#include <QSvgRenderer>

namespace {
qreal pixelRatio()
{
    return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
}
} // namespace

ImageList::ImageList(int cellSize)
    : m_cellSize(cellSize > 0 ? cellSize : 16)
{
    UseFallbackIconTheme();
}

void ImageList::UseFallbackIconTheme()
{
    // Without a desktop (no platform theme) the standard icon folders are
    // not even searched.
    QStringList paths = QIcon::themeSearchPaths();
    for (const QString &folder : QStandardPaths::locateAll(QStandardPaths::GenericDataLocation,
                                                           QStringLiteral("icons"),
                                                           QStandardPaths::LocateDirectory)) {
        if (!paths.contains(folder))
            paths << folder;
    }
    if (paths != QIcon::themeSearchPaths())
        QIcon::setThemeSearchPaths(paths);
    const QString breeze = QStringLiteral("breeze");
    const QString basic = QStringLiteral("hicolor");
    if (QIcon::fallbackThemeName().isEmpty() || QIcon::fallbackThemeName() == basic)
        QIcon::setFallbackThemeName(breeze);
    // A desktop without a theme of its own gets Breeze outright: the
    // fallback is only asked from a theme.
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == basic)
        QIcon::setThemeName(breeze);
}

void ImageList::Put(int index, const QPixmap &pixmap)
{
    if (index < 0)
        return;
    if (size_t(index) >= m_pixmaps.size())
        m_pixmaps.resize(size_t(index) + 1);
    m_pixmaps[size_t(index)] = pixmap;
}

QPixmap ImageList::Cell(const QImage &image) const
{
    const qreal ratio = pixelRatio();
    const int side = qRound(m_cellSize * ratio);
    QImage cell = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (cell.size() != QSize(side, side))
        cell = cell.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPixmap pixmap = QPixmap::fromImage(cell);
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

bool ImageList::SetThemeIcon(int index, const QString &iconName)
{
    const QIcon icon = QIcon::fromTheme(iconName);
    if (icon.isNull())
        return false;
    const qreal ratio = pixelRatio();
    const int side = qRound(m_cellSize * ratio);
    QImage image = icon.pixmap(QSize(side, side), 1.0).toImage();
    if (image.isNull())
        return false;
    Put(index, Cell(image));
    return true;
}

bool ImageList::SetSvg(int index, const QString &path)
{
    QSvgRenderer renderer(path);
    if (!renderer.isValid())
        return false;
    const qreal ratio = pixelRatio();
    const int side = qRound(m_cellSize * ratio);
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(0, 0, side, side));
    painter.end();
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(ratio);
    Put(index, pixmap);
    return true;
}

void ImageList::SetImage(int index, const QImage &image)
{
    if (!image.isNull())
        Put(index, Cell(image));
}

int ImageList::AddStrip(const QImage &strip, QColor transparent)
{
    const int first = Count();
    if (strip.isNull())
        return first;
    QImage source = strip.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = transparent.rgb() & 0x00FFFFFF;
    for (int y = 0; y < source.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(source.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            if ((line[x] & 0x00FFFFFF) == key)
                line[x] = 0;
        }
    }
    int index = first;
    for (int x = 0; x + m_cellSize <= source.width(); x += m_cellSize)
        Put(index++, Cell(source.copy(x, 0, m_cellSize, qMin(source.height(), m_cellSize))));
    return first;
}

bool ImageList::HasImage(int index) const
{
    return index >= 0 && size_t(index) < m_pixmaps.size() && !m_pixmaps[size_t(index)].isNull();
}

QPixmap ImageList::Pixmap(int index) const
{
    return HasImage(index) ? m_pixmaps[size_t(index)] : QPixmap();
}

QIcon ImageList::Icon(int index) const
{
    return HasImage(index) ? QIcon(m_pixmaps[size_t(index)]) : QIcon();
}

void ImageList::Draw(QPainter &painter, int index, const QPoint &topLeft) const
{
    if (HasImage(index))
        painter.drawPixmap(topLeft, m_pixmaps[size_t(index)]);
}
