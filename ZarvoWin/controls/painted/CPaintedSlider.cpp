#include "CPaintedSlider.h"

#include "BitmapResources.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

CPaintedSlider::CPaintedSlider(const PictureIds &pictures, QWidget *parent)
    : QWidget(parent)
    , m_pictureIds(pictures)
{
    setFocusPolicy(Qt::StrongFocus);
}

bool CPaintedSlider::SetChannelBitmaps()
{
    return SetChannelBitmaps(LoadBitmapResource(m_pictureIds.channel), LoadBitmapResource(m_pictureIds.activeChannel));
}

bool CPaintedSlider::SetChannelBitmaps(const QImage &channel, const QImage &activeChannel)
{
    m_channel = QPixmap();
    m_activeChannel = QPixmap();
    if (!channel.isNull() && !activeChannel.isNull()) {
        m_channel = QPixmap::fromImage(channel);
        m_activeChannel = QPixmap::fromImage(activeChannel);
    }
    ApplyChannelSize();
    update();
    return !m_channel.isNull();
}

bool CPaintedSlider::SetThumbBitmaps()
{
    return SetThumbBitmaps(LoadBitmapResource(m_pictureIds.thumb), LoadBitmapResource(m_pictureIds.activeThumb));
}

bool CPaintedSlider::SetThumbBitmaps(const QImage &thumb, const QImage &activeThumb)
{
    m_thumb = QPixmap();
    m_activeThumb = QPixmap();
    if (thumb.isNull() || activeThumb.isNull())
        return false;
    m_thumb = TransparentByCornerPixel(thumb);
    m_activeThumb = TransparentByCornerPixel(activeThumb);
    Measures().thumbWidth = thumb.width();
    Measures().thumbHeight = thumb.height();
    ApplyChannelSize();
    update();
    return true;
}

void CPaintedSlider::ApplyChannelSize()
{
    SliderGeometry &g = Measures();
    if (m_channel.isNull()) {
        g.channelWidth = width();
        g.channelHeight = height();
        return;
    }
    const QSize size = ChannelSizeOnScreen();
    g.channelWidth = size.width();
    g.channelHeight = size.height();
    setFixedSize(size);
}

QSize CPaintedSlider::sizeHint() const
{
    if (!m_channel.isNull())
        return ChannelSizeOnScreen();
    return QWidget::sizeHint();
}

void CPaintedSlider::SetRange(int minimum, int maximum)
{
    SliderGeometry &g = Measures();
    g.minimum = minimum;
    g.maximum = maximum;
    g.SetPos(g.position);
    update();
}

void CPaintedSlider::SetPos(int value)
{
    Measures().SetPos(value);
    update();
}

void CPaintedSlider::SetMargins(int left, int top, int right, int bottom)
{
    SliderGeometry &g = Measures();
    g.marginLeft = left;
    g.marginTop = top;
    g.marginRight = right;
    g.marginBottom = bottom;
    update();
}

void CPaintedSlider::SetVertical(bool vertical)
{
    Measures().vertical = vertical;
    ApplyChannelSize();
    update();
}

void CPaintedSlider::SetDrawFocusRect(bool draw)
{
    m_drawFocusRect = draw;
    update();
}

int CPaintedSlider::AxisCoordinate(const QPoint &point) const
{
    return Geometry().vertical ? point.y() : point.x();
}

void CPaintedSlider::PaintFocusRect(QPainter &painter)
{
    if (!hasFocus() || !m_drawFocusRect || !isEnabled())
        return;
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = rect();
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

void CPaintedSlider::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void CPaintedSlider::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

void CPaintedSlider::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_channel.isNull())
        ApplyChannelSize();
}
