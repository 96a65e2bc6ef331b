#include "CDrawText.h"

CDrawText::CDrawText() : CDrawBox(KindText) {}

void CDrawText::ReadTokens(const QStringList &tokens, const QString &folder)
{
    CDrawBox::ReadTokens(tokens, folder);
    ReadTextTokens(tokens, 12, m_style);
}

QString CDrawText::GetLine() const
{
    return QLatin1String("text=") + GeometryLine() + u';' + TextLine(m_style) + u'\n';
}
