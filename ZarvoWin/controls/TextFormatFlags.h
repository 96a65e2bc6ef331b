#pragma once
#include <QRect>
#include <QString>
#include <Qt>
#include <QtGlobal>

class QPainter;

// The text-drawing flags that the program's windows keep as numbers (a
// static's text format, a list cell's format) and their meaning in Qt.
// The numbers are turned into Qt's flags once, when a window is given
// them, and painting uses the result.
class TextFormatFlags
{
public:
    // Horizontal placement (left when neither is set).
    static constexpr quint32 Centre = 0x1;
    static constexpr quint32 Right = 0x2;
    // Vertical placement, for single lines only (top when neither is set).
    static constexpr quint32 Middle = 0x4;
    static constexpr quint32 Bottom = 0x8;
    static constexpr quint32 WordWrap = 0x10;
    static constexpr quint32 SingleLine = 0x20;
    static constexpr quint32 ExpandTabs = 0x40;
    static constexpr quint32 NoClip = 0x100;
    // '&' is shown as it stands instead of underlining the next letter.
    static constexpr quint32 NoAmpersand = 0x800;
    // A line too long loses its middle (a path) or its end, with "...".
    static constexpr quint32 MiddleEllipsis = 0x4000;
    static constexpr quint32 EndEllipsis = 0x8000;
    static constexpr quint32 WordEllipsis = 0x40000;

    // What the flags mean in Qt: the alignment and text flags for
    // QPainter::drawText, and how a single line too long is shortened.
    struct Mapped
    {
        int qtFlags = Qt::AlignLeft | Qt::AlignTop;
        Qt::TextElideMode elide = Qt::ElideNone;
    };

    static Mapped ToQt(quint32 flags);

    // Draws `text` in `rect` with the mapped flags and the painter's font
    // and pen.
    static void Draw(QPainter &painter, const QRect &rect, const QString &text, const Mapped &format);
};
