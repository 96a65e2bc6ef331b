#include "CBitmapSlider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cstdlib>

CBitmapSlider::CBitmapSlider(QWidget *parent)
    : CPaintedSlider({474, 476, 477, 475}, parent)
{
    ApplyChannelSize();
}

void CBitmapSlider::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    if (m_notifyOnly) {
        emit clicked(Id());
        return;
    }
    setFocus(Qt::MouseFocusReason);
    m_dragging = true;
    const int mouse = AxisCoordinate(event->position().toPoint());
    // A press on the thumb keeps the grip; a press beside it makes the
    // thumb jump under the mouse.
    m_grabOffset = mouse - m_measures.ValueToPixel(m_measures.position);
    if (std::abs(m_grabOffset) > m_measures.ThumbExtent() / 2)
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
    const int half = m_measures.ThumbExtent() / 2;
    const int low = m_measures.StartMargin() + half;
    const int high = m_measures.ChannelExtent() - m_measures.EndMargin() - half;
    const int pixel = qMax(low, qMin(high, coordinate - m_grabOffset));
    if (pixel == m_measures.ValueToPixel(m_measures.position))
        return;
    m_measures.position = m_measures.Clamp(m_measures.PixelToValue(pixel));
    update();
    emit moving(Id(), m_measures.position);
}

void CBitmapSlider::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_dragging) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_dragging = false;
    update();
    emit moved(Id(), m_measures.position);
}

void CBitmapSlider::keyPressEvent(QKeyEvent *event)
{
    const std::optional<int> next = m_measures.PositionAfterKey(event->key());
    if (!next) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (m_notifyOnly) {
        emit clicked(Id());
        return;
    }
    m_measures.position = *next;
    update();
    emit moved(Id(), m_measures.position);
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
    const int pixel = m_measures.ValueToPixel(m_measures.position);

    if (!m_channel.isNull()) {
        if (m_activeChannel.isNull() || !enabled) {
            painter.drawPixmap(0, 0, m_channel);
        } else if (m_measures.vertical) {
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
        if (m_measures.vertical)
            painter.drawPixmap(m_measures.marginLeft, pixel - m_measures.thumbHeight / 2, thumb);
        else
            painter.drawPixmap(pixel - m_measures.thumbWidth / 2, m_measures.marginTop, thumb);
    }

    PaintFocusRect(painter);
}
