#include "CRangeSlider.h"

#include "BitmapResources.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace {

// Row of the channel picture where the zone strips begin.
constexpr int kZoneBandTop = 17;

} // namespace

CRangeSlider::CRangeSlider(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    m_model.geometry.channelWidth = width();
    m_model.geometry.channelHeight = height();
}

bool CRangeSlider::SetChannelBitmaps()
{
    return SetChannelBitmaps(LoadBitmapResource(482), LoadBitmapResource(483));
}

bool CRangeSlider::SetChannelBitmaps(const QImage &channel, const QImage &zoneStrips)
{
    m_channel = QPixmap();
    m_zoneStrips = QPixmap();
    if (channel.isNull() || zoneStrips.isNull())
        return false;
    m_channel = QPixmap::fromImage(channel);
    m_zoneStrips = QPixmap::fromImage(zoneStrips);
    m_zoneBandTop = kZoneBandTop;
    ApplyChannelSize();
    update();
    return true;
}

void CRangeSlider::ApplyChannelSize()
{
    if (m_channel.isNull())
        return;
    // A vertical slider shows the channel turned on its side.
    const QSize size = m_model.geometry.vertical ? m_channel.size().transposed() : m_channel.size();
    m_model.geometry.channelWidth = size.width();
    m_model.geometry.channelHeight = size.height();
    setFixedSize(size);
}

bool CRangeSlider::SetThumbBitmaps()
{
    return SetThumbBitmaps(LoadBitmapResource(484), LoadBitmapResource(485));
}

bool CRangeSlider::SetThumbBitmaps(const QImage &thumb, const QImage &selectedThumb)
{
    m_thumb = QPixmap();
    m_selectedThumb = QPixmap();
    if (thumb.isNull() || selectedThumb.isNull())
        return false;
    m_thumb = TransparentByCornerPixel(thumb);
    m_selectedThumb = TransparentByCornerPixel(selectedThumb);
    m_model.geometry.thumbWidth = thumb.width();
    m_model.geometry.thumbHeight = thumb.height();
    if (m_channel.isNull()) {
        m_model.geometry.channelWidth = width();
        m_model.geometry.channelHeight = height();
    }
    update();
    return true;
}

void CRangeSlider::SetRange(int minimum, int maximum)
{
    m_model.geometry.minimum = minimum;
    m_model.geometry.maximum = maximum;
    m_model.geometry.SetPos(m_model.geometry.position);
    update();
}

void CRangeSlider::SetPos(int value)
{
    m_model.geometry.SetPos(value);
    update();
}

void CRangeSlider::SetMargins(int left, int top, int right, int bottom)
{
    SliderGeometry &g = m_model.geometry;
    g.marginLeft = left;
    g.marginTop = top;
    g.marginRight = right;
    g.marginBottom = bottom;
    update();
}

void CRangeSlider::SetVertical(bool vertical)
{
    m_model.geometry.vertical = vertical;
    ApplyChannelSize();
    update();
}

void CRangeSlider::SetDrawFocusRect(bool draw)
{
    m_drawFocusRect = draw;
    update();
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

QSize CRangeSlider::sizeHint() const
{
    if (!m_channel.isNull())
        return m_model.geometry.vertical ? m_channel.size().transposed() : m_channel.size();
    return QWidget::sizeHint();
}

int CRangeSlider::AxisCoordinate(const QPoint &point) const
{
    return m_model.geometry.vertical ? point.y() : point.x();
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
    emit changing(m_id, m_model.geometry.position);
    update();
}

void CRangeSlider::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging)
        return;
    if (!m_model.MouseMove(AxisCoordinate(event->position().toPoint())))
        return;
    update();
    emit changing(m_id, m_model.geometry.position);
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
    emit changed(m_id, m_model.geometry.position);
}

void CRangeSlider::keyPressEvent(QKeyEvent *event)
{
    const std::optional<int> next = m_model.geometry.PositionAfterKey(event->key());
    if (!next) {
        QWidget::keyPressEvent(event);
        return;
    }
    SetPos(*next);
    emit changed(m_id, m_model.geometry.position);
}

void CRangeSlider::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void CRangeSlider::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

void CRangeSlider::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_channel.isNull()) {
        m_model.geometry.channelWidth = width();
        m_model.geometry.channelHeight = height();
    }
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
        if (!m_zoneStrips.isNull() && enabled) {
            const int half = m_zoneStrips.height() / 2;
            for (size_t i = 0; i < zones.size(); ++i) {
                const tZone &zone = zones[i];
                const int sourceY = int(i) == m_model.selected ? half : 0;
                const int w = zone.pixelTo - zone.pixelFrom;
                painter.drawPixmap(QRect(zone.pixelFrom, m_zoneBandTop, w, half), m_zoneStrips,
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
            PaintThumb(painter, m_selectedThumb, zone.pixelFrom);
            PaintThumb(painter, m_selectedThumb, zone.pixelTo);
        }
    }

    if (hasFocus() && m_drawFocusRect && enabled) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect();
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}
