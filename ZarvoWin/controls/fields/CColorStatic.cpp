#include "CColorStatic.h"

#include "ColorRef.h"

CColorStatic::CColorStatic(QWidget *parent)
    : QLabel(parent)
    , m_background(QColorToColorRef(palette().color(QPalette::Button)))
{
    setAutoFillBackground(true);
    ApplyColours();
}

void CColorStatic::SetBkColor(quint32 colour)
{
    m_background = colour;
    ApplyColours();
    repaint();
}

void CColorStatic::SetTextColor(quint32 colour)
{
    m_text = colour;
    ApplyColours();
}

void CColorStatic::ApplyColours()
{
    QPalette p = palette();
    p.setColor(QPalette::Window, ColorRefToQColor(m_background));
    p.setColor(QPalette::WindowText, ColorRefToQColor(m_text));
    setPalette(p);
}
