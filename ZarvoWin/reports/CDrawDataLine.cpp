#include "CDrawDataLine.h"

#include "TemplateTokens.h"

using namespace TemplateTokens;

CDrawDataLine::CDrawDataLine() : CDrawBox(KindDataLine)
{
    PerMille = true;
    Width = 1000;
}

void CDrawDataLine::ReadTokens(const QStringList &tokens, const QString &folder)
{
    CDrawBox::ReadTokens(tokens, folder);
    ReadTextTokens(tokens, 12, m_style);
    FirstColumnIndent = Number(tokens, 22);
    Separator.Sides = Number(tokens, 23);
    Separator.PenStyle = Number(tokens, 24);
    Separator.Colour = Colour(tokens, 25);
    Separator.Width = Number(tokens, 26);
    LabelSpan = Number(tokens, 27);
}

QString CDrawDataLine::GetLine() const
{
    return QLatin1String("data=") + GeometryLine() + u';' + TextLine(m_style)
        + QStringLiteral(";%1;%2;%3;%4;%5;%6\n")
              .arg(FirstColumnIndent)
              .arg(Separator.Sides)
              .arg(Separator.PenStyle)
              .arg(Separator.Colour)
              .arg(Separator.Width)
              .arg(LabelSpan);
}
