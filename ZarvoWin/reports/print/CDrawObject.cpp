#include "CDrawObject.h"

#include "TemplateTokens.h"

#include <QColor>
#include <QIODevice>
#include <QPainter>
#include <QPen>

#include <algorithm>

using namespace TemplateTokens;

CDrawObject::~CDrawObject() = default;

void CDrawObject::ReadTokens(const QStringList &tokens, const QString &)
{
    Top = Number(tokens, 0);
    Height = Number(tokens, 1);
    HorizontalAnchor = Number(tokens, 2);
    PerMille = Flag(tokens, 3);
    Offset = Number(tokens, 4);
    Width = Number(tokens, 5);
    Border.Sides = Number(tokens, 6);
    Border.Width = Number(tokens, 7);
    Border.PenStyle = Number(tokens, 8);
    Border.Colour = Colour(tokens, 9);
    Fill = Flag(tokens, 10);
    FillColour = Colour(tokens, 11);
}

void CDrawObject::WriteLine(QIODevice &file) const
{
    file.write(EncodeWindows1252(GetLine()));
}

QString CDrawObject::GeometryLine() const
{
    return QStringLiteral("%1;%2;%3;%4;%5;%6;%7;%8;%9;%10;%11;%12")
        .arg(Top)
        .arg(Height)
        .arg(HorizontalAnchor)
        .arg(PerMille ? 1 : 0)
        .arg(Offset)
        .arg(Width)
        .arg(Border.Sides)
        .arg(Border.Width)
        .arg(Border.PenStyle)
        .arg(Border.Colour)
        .arg(Fill ? 1 : 0)
        .arg(FillColour);
}

void CDrawObject::ReadTextTokens(const QStringList &tokens, qsizetype first, tDrawTextStyle &style)
{
    style.Label = Text(tokens, first).replace(QLatin1String("\\n"), QLatin1String("\n"));
    style.FaceName = Text(tokens, first + 1);
    style.Size = Number(tokens, first + 2);
    style.Bold = Flag(tokens, first + 3);
    style.Italic = Flag(tokens, first + 4);
    style.Underline = Flag(tokens, first + 5);
    style.StrikeOut = Flag(tokens, first + 6);
    style.TextColour = Colour(tokens, first + 7);
    style.TextFormat = Number(tokens, first + 8);
    style.Margin = Number(tokens, first + 9);
}

QString CDrawObject::TextLine(const tDrawTextStyle &style)
{
    QString label = style.Label;
    label.replace(u'\n', QLatin1String("\\n"));
    // Each piece is appended on its own: a label may hold "%1".
    return label + u';' + style.FaceName + u';'
        + QStringLiteral("%1;%2;%3;%4;%5;%6;%7;%8")
              .arg(style.Size)
              .arg(style.Bold ? 1 : 0)
              .arg(style.Italic ? 1 : 0)
              .arg(style.Underline ? 1 : 0)
              .arg(style.StrikeOut ? 1 : 0)
              .arg(style.TextColour)
              .arg(style.TextFormat)
              .arg(style.Margin);
}

QString CDrawObject::GetText() const
{
    const tDrawTextStyle *s = TextStyle();
    return s ? s->Label : QString();
}

void CDrawObject::SetText(const QString &text)
{
    if (tDrawTextStyle *s = TextStyle())
        s->Label = QString(text).replace(QLatin1String("\\n"), QLatin1String("\n"));
}

#define ZARVO_TEXT_FIELD(Getter, Setter, Type, Field, Empty)                                       \
    Type CDrawObject::Getter() const                                                               \
    {                                                                                              \
        const tDrawTextStyle *s = TextStyle();                                                     \
        return s ? s->Field : Empty;                                                               \
    }                                                                                              \
    void CDrawObject::Setter(Type value)                                                           \
    {                                                                                              \
        if (tDrawTextStyle *s = TextStyle())                                                       \
            s->Field = value;                                                                      \
    }

QString CDrawObject::GetFontName() const
{
    const tDrawTextStyle *s = TextStyle();
    return s ? s->FaceName : QString();
}

void CDrawObject::SetFontName(const QString &name)
{
    if (tDrawTextStyle *s = TextStyle())
        s->FaceName = name;
}

ZARVO_TEXT_FIELD(GetFontSize, SetFontSize, int, Size, 0)
ZARVO_TEXT_FIELD(GetBold, SetBold, bool, Bold, false)
ZARVO_TEXT_FIELD(GetItalic, SetItalic, bool, Italic, false)
ZARVO_TEXT_FIELD(GetUnderline, SetUnderline, bool, Underline, false)
ZARVO_TEXT_FIELD(GetStrikeOut, SetStrikeOut, bool, StrikeOut, false)
ZARVO_TEXT_FIELD(GetTextColor, SetTextColor, int, TextColour, 0)
ZARVO_TEXT_FIELD(GetTextFormat, SetTextFormat, int, TextFormat, 0)
ZARVO_TEXT_FIELD(GetMargin, SetMargin, int, Margin, 0)

#undef ZARVO_TEXT_FIELD

// --------------------------------------------------------------- drawing

int CDrawObject::Measure(const tDrawContext &, const tBand &, const QStringList *, const std::vector<tColumn> *) const
{
    return 0;
}

void CDrawObject::CreateResources(const tDrawContext &) {}

void CDrawObject::ReleaseResources() {}

tBand CDrawObject::ObjectRect(const tDrawContext &context, const tBand &band) const
{
    // 64-bit and double arithmetic: a template's numbers reach int's limits.
    const qint64 available = qint64(band.Right) - band.Left;
    qint64 left = 0;
    qint64 right = 0;
    if (PerMille) {
        const qint64 offset = available * Offset / 1000;
        const qint64 width = available * Width / 1000;
        if (HorizontalAnchor == AnchorLeft) {
            left = band.Left + offset;
            right = left + width;
        } else if (HorizontalAnchor == AnchorRight) {
            right = band.Right - offset;
            left = right - width;
        } else if (HorizontalAnchor == AnchorCentre) {
            left = available / 2 + band.Left - width / 2;
            right = left + width;
        }
    } else {
        const qint64 offset = context.ToPixelsX(Offset);
        const qint64 width = context.ToPixelsX(Width);
        if (HorizontalAnchor == AnchorLeft) {
            left = band.Left + offset;
            right = left + width;
        } else if (HorizontalAnchor == AnchorRight) {
            right = band.Right - offset;
            left = right - width;
        } else if (HorizontalAnchor == AnchorCentre) {
            left = available / 2 + band.Left - width / 2;
            right = left + width;
        }
    }
    qint64 top = qint64(band.Top) + context.ToPixelsY(Top);
    qint64 bottom = top + context.ToPixelsY(Height);
    left = std::max<qint64>(left, band.Left);
    right = std::min<qint64>(right, band.Right);
    top = std::max<qint64>(top, band.Top);
    bottom = std::min<qint64>(bottom, band.Bottom);
    // Far offsets stay at the band's edge, and a negative width or height is
    // an empty rectangle, never a reversed one.
    left = std::min<qint64>(left, band.Right);
    top = std::min<qint64>(top, band.Bottom);
    right = std::max(right, left);
    bottom = std::max(bottom, top);
    return {int(left), int(top), int(right), int(bottom)};
}

QColor CDrawObject::ToColour(int colour)
{
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

Qt::PenStyle CDrawObject::ToPenStyle(int style)
{
    switch (style) {
    case 1:
        return Qt::DashLine;
    case 2:
        return Qt::DotLine;
    case 3:
        return Qt::DashDotLine;
    case 4:
        return Qt::DashDotDotLine;
    case 5:
        return Qt::NoPen;
    default:
        return Qt::SolidLine;
    }
}

Qt::Alignment CDrawObject::ToAlignment(int format)
{
    Qt::Alignment alignment = (format & 1) ? Qt::AlignHCenter : (format & 2) ? Qt::AlignRight : Qt::AlignLeft;
    alignment |= (format & 4) ? Qt::AlignVCenter : (format & 8) ? Qt::AlignBottom : Qt::AlignTop;
    return alignment;
}

void CDrawObject::DrawSegment(QPainter &painter, int x1, int y1, int x2, int y2)
{
    // The end point is left out, as the page's other edges are exclusive.
    if (y1 == y2) {
        if (x2 == x1)
            return;
        x2 += x2 > x1 ? -1 : 1;
    } else if (x1 == x2) {
        y2 += y2 > y1 ? -1 : 1;
    }
    painter.drawLine(x1, y1, x2, y2);
}

void CDrawObject::DrawFill(const tDrawContext &context, const tBand &rect) const
{
    if (Fill && context.Painter && rect.Width() > 0 && rect.Height() > 0)
        context.Painter->fillRect(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()), ToColour(FillColour));
}

void CDrawObject::DrawBorder(const tDrawContext &context, const tBand &rect) const
{
    if (Border.Sides == 0 || !context.Painter)
        return;
    const Qt::PenStyle style = ToPenStyle(Border.PenStyle);
    if (style == Qt::NoPen)
        return;
    QPainter &painter = *context.Painter;
    // The border is one pixel whatever its width (a width of 0 is the
    // device's thinnest line, one pixel too), so the right and bottom sides
    // stand on the rectangle's last pixels.
    const int w = 1;
    QPen pen(ToColour(Border.Colour));
    pen.setStyle(style);
    pen.setWidth(0);
    const QPen previous = painter.pen();
    const bool antialiased = painter.testRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(pen);
    if (Border.Sides & CBorderLine::Left)
        DrawSegment(painter, rect.Left, rect.Top, rect.Left, rect.Bottom + 1);
    if (Border.Sides & CBorderLine::Top)
        DrawSegment(painter, rect.Left, rect.Top, rect.Right + 1, rect.Top);
    if (Border.Sides & CBorderLine::Right)
        DrawSegment(painter, rect.Right - w, rect.Top, rect.Right - w, rect.Bottom + 1);
    if (Border.Sides & CBorderLine::Bottom)
        DrawSegment(painter, rect.Left, rect.Bottom - w, rect.Right + 1, rect.Bottom - w);
    painter.setPen(previous);
    painter.setRenderHint(QPainter::Antialiasing, antialiased);
}
