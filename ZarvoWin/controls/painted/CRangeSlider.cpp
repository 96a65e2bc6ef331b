#include "CRangeSlider.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

CRangeSlider::CRangeSlider(QWidget *parent)
    : CPaintedSlider({482, 483, 484, 485}, parent)
{
    ApplyChannelSize();
}

QSize CRangeSlider::ChannelSizeOnScreen() const
{
    return m_model.geometry.vertical ? m_channel.size().transposed() : m_channel.size();
}

void CRangeSlider::SetSelectedIndex(int index)
{
    m_model.selected = index;
    update();
}

void CRangeSlider::AppendZone(int from, int to)
{
    m_model.AppendZone(from, to);
    update();
}

void CRangeSlider::RemoveSelectedZone()
{
    m_model.RemoveSelectedZone();
    update();
}

void CRangeSlider::ResetSelection()
{
    m_model.ResetSelection();
    update();
}

bool CRangeSlider::SetSelectedZone(int kind, int value)
{
    const bool edited = m_model.SetSelectedZone(kind, value);
    update();
    return edited;
}

void CRangeSlider::AddScaleMark(int value, const QString &label)
{
    m_model.AddScaleMark(value, label);
    update();
}

void CRangeSlider::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    m_dragging = true;
    m_model.ButtonDown(AxisCoordinate(event->position().toPoint()));
    emit changing(Id(), m_model.geometry.position);
    update();
}

void CRangeSlider::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging)
        return;
    if (!m_model.MouseMove(AxisCoordinate(event->position().toPoint())))
        return;
    update();
    emit changing(Id(), m_model.geometry.position);
}

void CRangeSlider::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_dragging) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_dragging = false;
    m_model.ButtonUp();
    update();
    emit changed(Id(), m_model.geometry.position);
}

void CRangeSlider::keyPressEvent(QKeyEvent *event)
{
    const std::optional<int> next = m_model.geometry.PositionAfterKey(event->key());
    if (!next) {
        QWidget::keyPressEvent(event);
        return;
    }
    SetPos(*next);
    emit changed(Id(), m_model.geometry.position);
}

void CRangeSlider::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled() && m_dragging) {
        m_dragging = false;
        m_model.ButtonUp();
    }
    QWidget::changeEvent(event);
}

void CRangeSlider::PaintThumb(QPainter &painter, const QPixmap &thumb, int pixel)
{
    const SliderGeometry &g = m_model.geometry;
    if (g.vertical)
        painter.drawPixmap(g.marginLeft, pixel - g.thumbHeight / 2, thumb);
    else
        painter.drawPixmap(pixel - g.thumbWidth / 2, g.marginTop, thumb);
}

void CRangeSlider::PaintScale(QPainter &painter)
{
    painter.save();
    painter.setFont(QApplication::font());
    const QFontMetrics metrics(painter.font());
    QPen dotted(QColor(100, 100, 100), 1, Qt::DotLine);
    for (const tScale &mark : m_model.ScaleMarks()) {
        const int w = metrics.horizontalAdvance(mark.label);
        const int h = metrics.height();
        painter.setPen(Qt::black);
        const QRect box(QPoint(mark.pixel - w / 2 - 1, 0), QPoint(mark.pixel + w / 2 + 1 - 1, h - 1));
        painter.drawText(box, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip, mark.label);
        painter.setPen(dotted);
        painter.drawLine(mark.pixel, h + 1, mark.pixel, m_model.geometry.marginTop);
    }
    painter.restore();
}

void CRangeSlider::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const bool enabled = isEnabled();
    const SliderGeometry &g = m_model.geometry;
    const auto &zones = m_model.zones;

    if (!m_channel.isNull()) {
        painter.save();
        // A vertical slider is the horizontal one with its axes exchanged.
        if (g.vertical)
            painter.setTransform(QTransform(0, 1, 1, 0, 0, 0));
        painter.drawPixmap(0, 0, m_channel);
        if (!m_activeChannel.isNull() && enabled) {
            const int half = m_activeChannel.height() / 2;
            for (size_t i = 0; i < zones.size(); ++i) {
                const tZone &zone = zones[i];
                const int sourceY = int(i) == m_model.selected ? half : 0;
                const int w = zone.pixelTo - zone.pixelFrom;
                painter.drawPixmap(QRect(zone.pixelFrom, kZoneBandTop, w, half), m_activeChannel,
                                   QRect(zone.pixelFrom, sourceY, w, half));
            }
        }
        painter.restore();
    }

    if (!g.vertical)
        PaintScale(painter);

    if (!m_thumb.isNull() && enabled) {
        for (size_t i = 0; i < zones.size(); ++i) {
            if (int(i) == m_model.selected)
                continue;
            PaintThumb(painter, m_thumb, zones[i].pixelFrom);
            PaintThumb(painter, m_thumb, zones[i].pixelTo);
        }
        if (m_model.HasSelectedZone()) {
            const tZone &zone = zones[size_t(m_model.selected)];
            PaintThumb(painter, m_activeThumb, zone.pixelFrom);
            PaintThumb(painter, m_activeThumb, zone.pixelTo);
        }
    }

    PaintFocusRect(painter);
}
