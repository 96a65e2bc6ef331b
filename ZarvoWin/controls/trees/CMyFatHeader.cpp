#include "CMyFatHeader.h"

#include <QPainter>
#include <QStyleOptionHeader>

CMyFatHeader::CMyFatHeader(QWidget *parent)
    : QHeaderView(Qt::Horizontal, parent)
{
}

QSize CMyFatHeader::sizeHint() const
{
    QSize size = QHeaderView::sizeHint();
    size.setHeight(kHeight);
    return size;
}

void CMyFatHeader::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    if (m_imageSize <= 0 || !model()) {
        QHeaderView::paintSection(painter, rect, logicalIndex);
        return;
    }
    // The standard header draws images at the small icon size: the
    // section's frame comes from the style, the image and caption from here.
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.rect = rect;
    option.section = logicalIndex;
    painter->save();
    style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);

    constexpr int Margin = 4;
    QRect free = rect.adjusted(Margin, 0, -Margin, 0);
    const QVariant decoration = model()->headerData(logicalIndex, orientation(), Qt::DecorationRole);
    QPixmap image = decoration.value<QPixmap>();
    if (image.isNull())
        image = decoration.value<QIcon>().pixmap(m_imageSize, m_imageSize);
    if (!image.isNull()) {
        const int top = rect.top() + (rect.height() - m_imageSize) / 2;
        painter->drawPixmap(QRect(free.left(), top, m_imageSize, m_imageSize), image);
        free.setLeft(free.left() + m_imageSize + Margin);
    }
    const QString text = model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
    const QVariant align = model()->headerData(logicalIndex, orientation(), Qt::TextAlignmentRole);
    const Qt::Alignment alignment =
        align.isValid() ? Qt::Alignment(align.toInt()) : Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter);
    painter->setPen(palette().color(QPalette::ButtonText));
    painter->drawText(free, int(alignment | Qt::AlignVCenter),
                      fontMetrics().elidedText(text, Qt::ElideRight, std::max(0, free.width())));
    painter->restore();
}
