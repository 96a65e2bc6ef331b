#include "CMyStatic.h"

#include "ColorRef.h"

#include <QFontMetrics>
#include <QPainter>

CMyStatic::CMyStatic(QWidget *parent)
    : QWidget(parent)
    , m_format(TextFormatFlags::ToQt(0))
{
}

void CMyStatic::SetText(const QString &text)
{
    m_text = text;
    updateGeometry();
    update();
}

void CMyStatic::SetBkColor(quint32 colour)
{
    m_background = colour;
    update();
}

void CMyStatic::SetTextColor(quint32 colour)
{
    m_textColour = colour;
    update();
}

void CMyStatic::SetOwnFont(const QFont &font)
{
    m_ownFont = font;
    updateGeometry();
    update();
}

void CMyStatic::ClearOwnFont()
{
    m_ownFont.reset();
    updateGeometry();
    update();
}

void CMyStatic::SetTextFormat(quint32 flags)
{
    m_formatFlags = flags;
    m_format = TextFormatFlags::ToQt(flags);
    update();
}

QFont CMyStatic::DrawingFont() const
{
    return m_ownFont ? *m_ownFont : font();
}

QSize CMyStatic::sizeHint() const
{
    const QFontMetrics metrics(DrawingFont());
    return metrics.size(m_format.qtFlags & ~Qt::TextWordWrap, m_text) + QSize(2, 2);
}

void CMyStatic::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), ColorRefToQColor(m_background));
    painter.setFont(DrawingFont());
    painter.setPen(ColorRefToQColor(m_textColour));
    TextFormatFlags::Draw(painter, rect(), m_text, m_format);
}
