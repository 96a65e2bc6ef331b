#include "CTransparentImage.h"

#include "ColorRef.h"

#include <QPainter>

CTransparentImage::CTransparentImage(QWidget *parent)
    : QWidget(parent)
{
}

void CTransparentImage::SetTransparentColor(quint32 colour)
{
    m_transparent = colour;
    m_masked = QPixmap();
    update();
}

void CTransparentImage::SetImage(const QImage &image)
{
    m_image = image;
    m_masked = QPixmap();
    updateGeometry();
    update();
}

void CTransparentImage::SetIcon(const QPixmap &icon)
{
    m_icon = icon;
    updateGeometry();
    update();
}

QSize CTransparentImage::sizeHint() const
{
    if (!m_icon.isNull())
        return m_icon.deviceIndependentSize().toSize();
    if (!m_image.isNull())
        return m_image.size();
    return QWidget::sizeHint();
}

void CTransparentImage::resizeEvent(QResizeEvent *event)
{
    m_masked = QPixmap();
    QWidget::resizeEvent(event);
}

const QPixmap &CTransparentImage::Masked()
{
    if (m_masked.isNull() && !m_image.isNull() && !size().isEmpty()) {
        // Scaled pixel for pixel, so no colour is blended into the
        // transparent one and the mask stays exact.
        const QImage scaled =
            m_image.convertToFormat(QImage::Format_RGB32).scaled(size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
        m_masked = QPixmap::fromImage(scaled);
        const QColor key = ColorRefToQColor(m_transparent);
        // QPixmap's mask "in colour" is the one where that colour is see-through.
        m_masked.setMask(m_masked.createMaskFromColor(key, Qt::MaskInColor));
    }
    return m_masked;
}

void CTransparentImage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_icon.isNull()) {
        painter.drawPixmap(0, 0, m_icon);
        return;
    }
    const QPixmap &masked = Masked();
    if (!masked.isNull())
        painter.drawPixmap(0, 0, masked);
}
