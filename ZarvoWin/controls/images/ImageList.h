#pragma once
#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QString>

#include <vector>

class QPainter;
class QPoint;

// A list of square images of one size (16 or 24 pixels for the panes),
// addressed by index. An index gets its image from the desktop's icon
// theme (Breeze when the desktop has none), from an SVG file rendered at
// the cell size, from an image, or from a strip cut into cells. An index
// that holds no image draws nothing.
class ImageList
{
public:
    explicit ImageList(int cellSize);

    int CellSize() const { return m_cellSize; }
    // One more than the highest index that was given an image.
    int Count() const { return int(m_pixmaps.size()); }

    // An icon of the desktop's theme by its freedesktop.org name; false
    // (the index left empty) when the theme has no such icon.
    bool SetThemeIcon(int index, const QString &iconName);
    // An SVG file (a path or a ":/" resource) drawn at the cell size;
    // false when it cannot be read.
    bool SetSvg(int index, const QString &path);
    // An image scaled to the cell size.
    void SetImage(int index, const QImage &image);
    // Cuts a strip into square cells of CellSize() from the left, with
    // `transparent` (cyan by default) made transparent, and appends them.
    // Returns the index of the first.
    int AddStrip(const QImage &strip, QColor transparent = QColor(0, 255, 255));

    bool HasImage(int index) const;
    // Null when the index holds no image.
    QPixmap Pixmap(int index) const;
    QIcon Icon(int index) const;
    // Draws the image with its top left at `topLeft`; nothing when the
    // index holds none.
    void Draw(QPainter &painter, int index, const QPoint &topLeft) const;

    // Makes Breeze the theme of last resort for icons of the theme (done
    // by every list; the application may call it first).
    static void UseFallbackIconTheme();

private:
    void Put(int index, const QPixmap &pixmap);
    QPixmap Cell(const QImage &image) const;

    int m_cellSize;
    std::vector<QPixmap> m_pixmaps;
};
