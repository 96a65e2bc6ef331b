#include "CDrawObject.h"

#include "TemplateTokens.h"

#include <QIODevice>

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
