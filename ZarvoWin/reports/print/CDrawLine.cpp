#include "CDrawLine.h"

#include <QPainter>
#include <QPen>

#include <algorithm>

CDrawLine::CDrawLine() : CDrawObject(KindLine) {}

QString CDrawLine::GetLine() const
{
    return QLatin1String("line=") + GeometryLine() + u'\n';
}

void CDrawLine::Draw(const tDrawContext &context, tBand &band, const QStringList *, const std::vector<tColumn> *, int)
{
    if (!context.Painter)
        return;
    const Qt::PenStyle style = ToPenStyle(Border.PenStyle);
    if (style == Qt::NoPen)
        return;
    const tBand rect = ObjectRect(context, band);
    QPainter &painter = *context.Painter;
    QPen pen(ToColour(Border.Colour));
    pen.setStyle(style);
    pen.setWidth(std::clamp(context.ToPixelsX(Border.Width), 0, 1000));
    pen.setCapStyle(Qt::FlatCap);
    const QPen previous = painter.pen();
    painter.setPen(pen);
    // Horizontal when the height is 0, vertical when the width is 0.
    DrawSegment(painter, rect.Left, rect.Top, rect.Right, rect.Bottom);
    painter.setPen(previous);
}
