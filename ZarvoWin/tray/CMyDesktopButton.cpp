#include "CMyDesktopButton.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionToolButton>

CMyDesktopButton::CMyDesktopButton(QWidget *parent)
    : QToolButton(parent)
{
    setAutoRaise(true);
    setFocusPolicy(Qt::TabFocus);
}

void CMyDesktopButton::SetGlyph(Glyph glyph)
{
    m_glyph = glyph;
    update();
}

void CMyDesktopButton::SetCaptionButton(bool caption)
{
    m_caption = caption;
    update();
}

QSize CMyDesktopButton::sizeHint() const
{
    const int side = fontMetrics().height() + 6;
    return QSize(side, side);
}

void CMyDesktopButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const bool hot = underMouse() && isEnabled();
    if (hot || isDown() || hasFocus()) {
        // The tray's hover look: a light gradient in a blue frame.
        QLinearGradient fill(box.topLeft(), box.bottomLeft());
        fill.setColorAt(0, Qt::white);
        fill.setColorAt(1, isDown() ? QColor(203, 220, 237) : QColor(237, 245, 255));
        p.setPen(QPen(QColor(185, 215, 252), hot ? 2 : 1));
        p.setBrush(fill);
        p.drawRoundedRect(box.adjusted(1, 1, -1, -1), 2, 2);
    }
    const QColor ink = isEnabled() ? palette().color(QPalette::WindowText)
                                   : palette().color(QPalette::Disabled, QPalette::WindowText);
    const qreal side = qMin(width(), height()) * 0.36;
    const QPointF c = QRectF(rect()).center();
    switch (m_glyph) {
    case Glyph::Close: {
        p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(c + QPointF(-side / 2, -side / 2), c + QPointF(side / 2, side / 2));
        p.drawLine(c + QPointF(side / 2, -side / 2), c + QPointF(-side / 2, side / 2));
        break;
    }
    case Glyph::DownArrow: {
        QPainterPath arrow;
        arrow.moveTo(c + QPointF(-side / 2, -side / 4));
        arrow.lineTo(c + QPointF(side / 2, -side / 4));
        arrow.lineTo(c + QPointF(0, side / 3));
        arrow.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawPath(arrow);
        break;
    }
    case Glyph::None: {
        const QSize size = iconSize();
        const QIcon::Mode mode = !isEnabled() ? QIcon::Disabled : hot ? QIcon::Active : QIcon::Normal;
        const QPixmap pixmap = icon().pixmap(size, devicePixelRatioF(), mode);
        p.drawPixmap(QRectF(c.x() - size.width() / 2.0, c.y() - size.height() / 2.0, size.width(), size.height()),
                     pixmap, pixmap.rect());
        break;
    }
    }
}
