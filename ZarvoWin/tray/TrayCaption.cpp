#include "TrayCaption.h"

#include <QLinearGradient>
#include <QPainter>
#include <QWidget>

void TrayCaption::Paint(QPainter &p, const QWidget &window, int height, const QString &title, int textRight, bool edge)
{
    const QPalette &palette = window.palette();
    p.fillRect(window.rect(), palette.window());
    const QRect band(0, 0, window.width(), height);
    QLinearGradient fill(band.topLeft(), band.bottomLeft());
    const QColor base = palette.color(QPalette::Highlight);
    fill.setColorAt(0, base.lighter(150));
    fill.setColorAt(1, base);
    p.fillRect(band, fill);
    p.setPen(palette.color(QPalette::HighlightedText));
    QFont bold = window.font();
    bold.setBold(true);
    p.setFont(bold);
    const QRect text(QPoint(TextLeft, 0), QPoint(textRight, height - 1));
    p.drawText(text, Qt::AlignVCenter | Qt::AlignLeft, QFontMetrics(bold).elidedText(title, Qt::ElideRight, text.width()));
    if (edge) {
        p.setPen(palette.color(QPalette::Mid));
        p.drawRect(window.rect().adjusted(0, 0, -1, -1));
    }
}
