#include "CBigHeaderCtrl.h"

#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyleOptionHeader>

CBigHeaderCtrl::CBigHeaderCtrl(QWidget *parent)
    : QHeaderView(Qt::Horizontal, parent)
{
    connect(this, &QHeaderView::sortIndicatorChanged, this, [this](int logicalIndex, Qt::SortOrder order) {
        m_sortStates.clear();
        if (logicalIndex >= 0)
            m_sortStates.insert(logicalIndex, order == Qt::AscendingOrder ? 1 : -1);
        viewport()->update();
    });
}

void CBigHeaderCtrl::SetTall(bool tall)
{
    m_tall = tall;
    updateGeometry();
    viewport()->update();
}

void CBigHeaderCtrl::SetSortState(int logicalIndex, int state)
{
    if (state == 0)
        m_sortStates.remove(logicalIndex);
    else
        m_sortStates.insert(logicalIndex, state);
    viewport()->update();
}

void CBigHeaderCtrl::ClearSortStates()
{
    m_sortStates.clear();
    viewport()->update();
}

QSize CBigHeaderCtrl::sizeHint() const
{
    QSize size = QHeaderView::sizeHint();
    if (m_tall)
        size.setHeight(int(size.height() * 1.5));
    return size;
}

QRect CBigHeaderCtrl::SortMarkRect(const QRect &section, bool tall, bool pressed)
{
    int left = section.left();
    int top = section.top();
    int right = section.left() + section.width();
    int bottom = section.top() + section.height();
    if (tall) {
        const int sixth = (bottom - top) / 6;
        top += sixth;
        bottom -= sixth;
    }
    left += 5;
    top += 5;
    right -= 5;
    bottom -= 5;
    left = right - (bottom - top);
    if (pressed) {
        ++left;
        ++right;
        ++top;
        ++bottom;
    }
    // An equilateral mark: its height is 0.866 of its width.
    const int shrink = int((right - left) * 0.134);
    top += shrink / 2;
    bottom -= shrink - shrink / 2;
    return QRect(left, top, right - left, bottom - top);
}

void CBigHeaderCtrl::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && sectionsClickable())
        m_pressed = logicalIndexAt(event->position().toPoint());
    QHeaderView::mousePressEvent(event);
}

void CBigHeaderCtrl::mouseReleaseEvent(QMouseEvent *event)
{
    m_pressed = -1;
    QHeaderView::mouseReleaseEvent(event);
    viewport()->update();
}

void CBigHeaderCtrl::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    if (!rect.isValid())
        return;
    painter->save();

    // Background and border as the style draws them.
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.rect = rect;
    option.section = logicalIndex;
    option.text.clear();
    option.icon = QIcon();
    option.sortIndicator = QStyleOptionHeader::None;
    if (m_pressed == logicalIndex)
        option.state |= QStyle::State_Sunken;
    style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);

    QRect rest = rect;
    const int sort = SortState(logicalIndex);
    if (sort != 0) {
        const QRect mark = SortMarkRect(rect, m_tall, m_pressed == logicalIndex);
        QPainterPath triangle;
        if (sort > 0) {
            triangle.moveTo(mark.left(), mark.top() + mark.height());
            triangle.lineTo(mark.left() + mark.width() / 2.0, mark.top());
            triangle.lineTo(mark.left() + mark.width(), mark.top() + mark.height());
        } else {
            triangle.moveTo(mark.left(), mark.top());
            triangle.lineTo(mark.left() + mark.width() / 2.0, mark.top() + mark.height());
            triangle.lineTo(mark.left() + mark.width(), mark.top());
        }
        triangle.closeSubpath();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->fillPath(triangle, palette().color(QPalette::ButtonText));
        painter->setRenderHint(QPainter::Antialiasing, false);
        rest.setRight(mark.left() - 1 - 1);
    }

    QAbstractItemModel *itemModel = model();
    if (!itemModel) {
        painter->restore();
        return;
    }

    int textLeft = rest.left();
    const QVariant decoration = itemModel->headerData(logicalIndex, orientation(), Qt::DecorationRole);
    QPixmap image;
    const int iconSize = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    if (decoration.canConvert<QIcon>())
        image = qvariant_cast<QIcon>(decoration).pixmap(QSize(iconSize, iconSize), devicePixelRatio());
    else if (decoration.canConvert<QPixmap>())
        image = qvariant_cast<QPixmap>(decoration);
    if (!image.isNull()) {
        const QSize size = image.deviceIndependentSize().toSize();
        const int x = rest.left() + 1;
        const int y = rest.top() + (rest.height() - size.height()) / 2;
        painter->drawPixmap(x, y, image);
        textLeft = x + size.width();
    }

    const QString text = itemModel->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
    if (!text.isEmpty()) {
        QRect textRect(QPoint(textLeft + 5, rest.top()), QPoint(rest.right() - 5, rest.bottom()));
        const QVariant alignmentData = itemModel->headerData(logicalIndex, orientation(), Qt::TextAlignmentRole);
        Qt::Alignment alignment = alignmentData.isValid() ? Qt::Alignment(alignmentData.toInt()) : defaultAlignment();
        alignment = (alignment & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter;
        const QVariant fontData = itemModel->headerData(logicalIndex, orientation(), Qt::FontRole);
        if (fontData.canConvert<QFont>())
            painter->setFont(qvariant_cast<QFont>(fontData));
        const QString shown = painter->fontMetrics().elidedText(text, Qt::ElideRight, qMax(0, textRect.width()));
        painter->setPen(palette().color(QPalette::ButtonText));
        painter->drawText(textRect, int(alignment) | Qt::TextSingleLine, shown);
    }
    painter->restore();
}
