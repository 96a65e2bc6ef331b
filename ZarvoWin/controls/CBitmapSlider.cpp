#include "CBitmapSlider.h"

#include "BitmapResources.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include <cstdlib>

CBitmapSlider::CBitmapSlider(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    m_geometry.channelWidth = width();
    m_geometry.channelHeight = height();
}

bool CBitmapSlider::SetChannelBitmaps()
{
    return SetChannelBitmaps(LoadBitmapResource(474), LoadBitmapResource(476));
}

bool CBitmapSlider::SetChannelBitmaps(const QImage &channel, const QImage &activeChannel)
{
    m_channel = QPixmap();
    m_activeChannel = QPixmap();
    if (channel.isNull() || activeChannel.isNull())
        return false;
    m_channel = QPixmap::fromImage(channel);
    m_activeChannel = QPixmap::fromImage(activeChannel);
    m_geometry.channelWidth = channel.width();
    m_geometry.channelHeight = channel.height();
    setFixedSize(channel.size());
    update();
    return true;
}

bool CBitmapSlider::SetThumbBitmaps()
{
    return SetThumbBitmaps(LoadBitmapResource(477), LoadBitmapResource(475));
}

bool CBitmapSlider::SetThumbBitmaps(const QImage &thumb, const QImage &activeThumb)
{
    m_thumb = QPixmap();
    m_activeThumb = QPixmap();
    if (thumb.isNull() || activeThumb.isNull())
        return false;
    m_thumb = TransparentByCornerPixel(thumb);
    m_activeThumb = TransparentByCornerPixel(activeThumb);
    m_geometry.thumbWidth = thumb.width();
    m_geometry.thumbHeight = thumb.height();
    if (m_channel.isNull()) {
        m_geometry.channelWidth = width();
        m_geometry.channelHeight = height();
    }
    update();
    return true;
}

void CBitmapSlider::SetRange(int minimum, int maximum)
{
    m_geometry.minimum = minimum;
    m_geometry.maximum = maximum;
    m_geometry.SetPos(m_geometry.position);
    update();
}

void CBitmapSlider::SetPos(int value)
{
    m_geometry.SetPos(value);
    update();
}

void CBitmapSlider::SetMargins(int left, int top, int right, int bottom)
{
    m_geometry.marginLeft = left;
    m_geometry.marginTop = top;
    m_geometry.marginRight = right;
    m_geometry.marginBottom = bottom;
    update();
}

void CBitmapSlider::SetVertical(bool vertical)
{
    m_geometry.vertical = vertical;
    update();
}

void CBitmapSlider::SetDrawFocusRect(bool draw)
{
    m_drawFocusRect = draw;
    update();
}

QSize CBitmapSlider::sizeHint() const
{
    if (!m_channel.isNull())
        return m_channel.size();
    return QWidget::sizeHint();
}

int CBitmapSlider::AxisCoordinate(const QPoint &point) const
{
    return m_geometry.vertical ? point.y() : point.x();
}

void CBitmapSlider::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    if (m_notifyOnly) {
        emit clicked(m_id);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    m_dragging = true;
    const int mouse = AxisCoordinate(event->position().toPoint());
    // A press on the thumb keeps the grip; a press beside it makes the
    // thumb jump under the mouse.
    m_grabOffset = mouse - m_geometry.ValueToPixel(m_geometry.position);
    if (std::abs(m_grabOffset) > m_geometry.ThumbExtent() / 2)
        m_grabOffset = 0;
    DragTo(mouse);
    update();
}

void CBitmapSlider::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging)
        return;
    DragTo(AxisCoordinate(event->position().toPoint()));
}

void CBitmapSlider::DragTo(int coordinate)
{
    const int half = m_geometry.ThumbExtent() / 2;
    const int low = m_geometry.StartMargin() + half;
    const int high = m_geometry.ChannelExtent() - m_geometry.EndMargin() - half;
    const int pixel = qMax(low, qMin(high, coordinate - m_grabOffset));
    if (pixel == m_geometry.ValueToPixel(m_geometry.position))
        return;
    m_geometry.position = m_geometry.Clamp(m_geometry.PixelToValue(pixel));
    update();
    emit moving(m_id, m_geometry.position);
}

void CBitmapSlider::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_dragging) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_dragging = false;
    update();
    emit moved(m_id, m_geometry.position);
}

void CBitmapSlider::keyPressEvent(QKeyEvent *event)
{
    const std::optional<int> next = m_geometry.PositionAfterKey(event->key());
    if (!next) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (m_notifyOnly) {
        emit clicked(m_id);
        return;
    }
    m_geometry.position = *next;
    update();
    emit moved(m_id, m_geometry.position);
}

void CBitmapSlider::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void CBitmapSlider::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

void CBitmapSlider::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_channel.isNull()) {
        m_geometry.channelWidth = width();
        m_geometry.channelHeight = height();
    }
}

void CBitmapSlider::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        m_dragging = false;
    QWidget::changeEvent(event);
}

void CBitmapSlider::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const bool enabled = isEnabled();
    const int pixel = m_geometry.ValueToPixel(m_geometry.position);

    if (!m_channel.isNull()) {
        if (m_activeChannel.isNull() || !enabled) {
            painter.drawPixmap(0, 0, m_channel);
        } else if (m_geometry.vertical) {
            // The filled part runs from the minimum end (top) to the thumb.
            painter.drawPixmap(QRect(0, pixel, width(), height() - pixel), m_channel,
                               QRect(0, pixel, width(), height() - pixel));
            painter.drawPixmap(QRect(0, 0, width(), pixel), m_activeChannel, QRect(0, 0, width(), pixel));
        } else {
            painter.drawPixmap(QRect(pixel, 0, width() - pixel, height()), m_channel,
                               QRect(pixel, 0, width() - pixel, height()));
            painter.drawPixmap(QRect(0, 0, pixel, height()), m_activeChannel, QRect(0, 0, pixel, height()));
        }
    }

    if (!m_thumb.isNull() && enabled) {
        const QPixmap &thumb = m_dragging ? m_activeThumb : m_thumb;
        if (m_geometry.vertical)
            painter.drawPixmap(m_geometry.marginLeft, pixel - m_geometry.thumbHeight / 2, thumb);
        else
            painter.drawPixmap(pixel - m_geometry.thumbWidth / 2, m_geometry.marginTop, thumb);
    }

    if (hasFocus() && m_drawFocusRect && enabled) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect();
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}
