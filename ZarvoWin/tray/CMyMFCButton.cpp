#include "CMyMFCButton.h"

#include <QPainter>
#include <QTextLayout>

#include <algorithm>

namespace {
constexpr int Pad = 4;
}

CMyMFCButton::CMyMFCButton(QWidget *parent)
    : QToolButton(parent)
{
    setAutoRaise(true);
    setAutoFillBackground(false);
    setAttribute(Qt::WA_NoSystemBackground);
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
}

QWidget *CMyMFCButton::BackgroundWindow() const
{
    return m_background ? m_background : parentWidget();
}

void CMyMFCButton::SetClickable(bool clickable)
{
    m_clickable = clickable;
    setFocusPolicy(clickable ? Qt::TabFocus : Qt::NoFocus);
    update();
}

void CMyMFCButton::SetWordWrap(bool wrap)
{
    m_wrap = wrap;
    updateGeometry();
    update();
}

int CMyMFCButton::heightForWidth(int width) const
{
    const QSize icon = this->icon().isNull() ? QSize(0, 0) : iconSize();
    const int textWidth = std::max(1, width - 2 * Pad - icon.width() - (icon.isEmpty() ? 0 : Pad));
    const QRect r = fontMetrics().boundingRect(QRect(0, 0, textWidth, 100000), Qt::TextWordWrap, text());
    return std::max(icon.height(), r.height()) + 2 * Pad;
}

QSize CMyMFCButton::sizeHint() const
{
    const QFontMetrics fm(font());
    const QSize icon = this->icon().isNull() ? QSize(0, 0) : iconSize();
    int width = 0;
    int lines = 0;
    for (const QString &line : text().split(u'\n')) {
        width = std::max(width, fm.horizontalAdvance(line));
        ++lines;
    }
    const int textHeight = std::max(1, lines) * fm.height();
    return QSize(icon.width() + (icon.isEmpty() ? 0 : Pad) + width + 2 * Pad,
                 std::max(icon.height(), textHeight) + 2 * Pad);
}

QSize CMyMFCButton::minimumSizeHint() const
{
    return QSize(iconSize().width() + 2 * Pad, sizeHint().height());
}

void CMyMFCButton::paintEvent(QPaintEvent *)
{
    // Nothing is filled: the background window shows behind.
    QPainter p(this);
    const bool hot = m_clickable && isEnabled() && (underMouse() || isDown() || hasFocus());
    if (hot) {
        QLinearGradient fill(0, 0, 0, height());
        fill.setColorAt(0, Qt::white);
        fill.setColorAt(1, isDown() ? QColor(203, 220, 237) : QColor(237, 245, 255));
        p.fillRect(rect(), fill);
        p.setPen(QPen(QColor(185, 215, 252), 2));
        p.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
    QRect area = rect().adjusted(Pad, Pad, -Pad, -Pad);
    if (!icon().isNull()) {
        const QSize size = iconSize();
        const QPixmap pixmap = icon().pixmap(size, devicePixelRatioF(), isEnabled() ? QIcon::Normal : QIcon::Disabled);
        const QRect target(area.left(), area.top() + (area.height() - size.height()) / 2, size.width(), size.height());
        p.drawPixmap(target, pixmap);
        area.setLeft(target.right() + 1 + Pad);
    }
    p.setFont(font());
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    if (m_wrap) {
        p.drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, text());
        return;
    }
    // A line too long for the button is cut with an ellipsis.
    QStringList lines;
    for (const QString &line : text().split(u'\n'))
        lines << fontMetrics().elidedText(line, Qt::ElideRight, std::max(0, area.width()));
    p.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, lines.join(u'\n'));
}
