#include "TextFormatFlags.h"

#include <QFontMetrics>
#include <QPainter>

TextFormatFlags::Mapped TextFormatFlags::ToQt(quint32 flags)
{
    Mapped m;
    int qt = 0;
    if (flags & Right)
        qt |= Qt::AlignRight;
    else if (flags & Centre)
        qt |= Qt::AlignHCenter;
    else
        qt |= Qt::AlignLeft;
    const bool single = flags & SingleLine;
    if (single && (flags & Bottom))
        qt |= Qt::AlignBottom;
    else if (single && (flags & Middle))
        qt |= Qt::AlignVCenter;
    else
        qt |= Qt::AlignTop;
    if (single)
        qt |= Qt::TextSingleLine;
    else if (flags & WordWrap)
        qt |= Qt::TextWordWrap;
    if (flags & ExpandTabs)
        qt |= Qt::TextExpandTabs;
    if (!(flags & NoAmpersand))
        qt |= Qt::TextShowMnemonic;
    if (flags & NoClip)
        qt |= Qt::TextDontClip;
    m.qtFlags = qt;
    if (flags & MiddleEllipsis)
        m.elide = Qt::ElideMiddle;
    else if (flags & (EndEllipsis | WordEllipsis))
        m.elide = Qt::ElideRight;
    return m;
}

void TextFormatFlags::Draw(QPainter &painter, const QRect &rect, const QString &text, const Mapped &format)
{
    QString shown = text;
    // Shortening applies to a line: each line of the text on its own.
    if (format.elide != Qt::ElideNone && !(format.qtFlags & Qt::TextWordWrap)) {
        const QFontMetrics metrics = painter.fontMetrics();
        QStringList lines = text.split(u'\n');
        for (QString &line : lines)
            line = metrics.elidedText(line, format.elide, rect.width(), format.qtFlags & Qt::TextShowMnemonic);
        shown = lines.join(u'\n');
    }
    // Qt keeps the text inside the rectangle unless Qt::TextDontClip is set.
    painter.drawText(rect, format.qtFlags, shown);
}
