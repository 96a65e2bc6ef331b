#include "CPrefsStatic.h"

#include "ColorRef.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace {
constexpr int TextMargin = 5;
constexpr int ConstantHeight = 18;
} // namespace

CPrefsStatic::CPrefsStatic(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void CPrefsStatic::SetText(const QString &text)
{
    m_text = text;
    update();
}

void CPrefsStatic::SetConstantText(const QString &text)
{
    if (text == m_constantText)
        return;
    m_constantText = text;
    m_background = QPixmap();
    update();
}

void CPrefsStatic::SetFontFace(const QString &face)
{
    m_face = face;
    m_background = QPixmap();
    updateGeometry();
    update();
}

void CPrefsStatic::SetFontHeight(int pixels)
{
    m_height = std::max(1, pixels);
    updateGeometry();
    update();
}

void CPrefsStatic::SetFontWeight(int weight)
{
    m_weight = weight;
    update();
}

QFont CPrefsStatic::CaptionFont() const
{
    QFont f = font();
    if (m_face.isEmpty())
        return f;
    f.setFamily(m_face);
    f.setPixelSize(m_height);
    f.setWeight(QFont::Weight(std::clamp(m_weight / 10 * 10, 100, 900)));
    return f;
}

void CPrefsStatic::SetTextColor(quint32 colour)
{
    m_textColour = colour;
    m_textColourSet = true;
    update();
}

QColor CPrefsStatic::TextColor() const
{
    return m_textColourSet ? ColorRefToQColor(m_textColour) : palette().color(QPalette::Button);
}

QFont CPrefsStatic::ConstantFont() const
{
    QFont f = font();
    if (!m_face.isEmpty())
        f.setFamily(m_face);
    f.setPixelSize(ConstantHeight);
    f.setBold(true);
    return f;
}

int CPrefsStatic::BandComponent(int component, int k, int bandWidth, int width)
{
    if (width <= 0)
        return component;
    const qint64 reach = qint64(k) * bandWidth;
    const qint64 value = component - reach * reach * component / (qint64(width) * width);
    return int(std::clamp<qint64>(value, 0, 255));
}

QImage CPrefsStatic::MakeBackground(const QSize &size, const QColor &face, const QString &constantText,
                                    const QFont &font, const QColor &light, const QColor &dark)
{
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(Qt::black);
    const int w = image.width();
    const int b = std::max(1, w / 128);
    QPainter painter(&image);
    // Band k covers [w - k*b, w - (k-1)*b); the bands stop before one would
    // reach the left edge, which stays black.
    for (int k = 1; w - k * b > 0; ++k) {
        const QColor c(BandComponent(face.red(), k, b, w), BandComponent(face.green(), k, b, w),
                       BandComponent(face.blue(), k, b, w));
        painter.fillRect(QRect(w - k * b, 0, b, image.height()), c);
    }
    if (!constantText.isEmpty()) {
        painter.setFont(font);
        const QRect area(0, 0, w - TextMargin, image.height());
        const int flags = Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine;
        painter.setPen(light);
        painter.drawText(area.translated(1, 1), flags, constantText);
        painter.setPen(dark);
        painter.drawText(area, flags, constantText);
    }
    return image;
}

QSize CPrefsStatic::sizeHint() const
{
    const int captionHeight = QFontMetrics(CaptionFont()).height();
    const int constantHeight = QFontMetrics(ConstantFont()).height();
    return QSize(200, std::max(captionHeight, constantHeight) + 8);
}

QSize CPrefsStatic::minimumSizeHint() const
{
    return QSize(40, sizeHint().height());
}

void CPrefsStatic::paintEvent(QPaintEvent *)
{
    const qreal ratio = devicePixelRatioF();
    if (m_background.isNull() || m_background.size() != size() * ratio) {
        const QPalette &p = palette();
        QFont constantFont = ConstantFont();
        constantFont.setPixelSize(qRound(ConstantHeight * ratio));
        QImage image = MakeBackground(size() * ratio, p.color(QPalette::Button), m_constantText, constantFont,
                                      p.color(QPalette::Light), p.color(QPalette::Dark));
        image.setDevicePixelRatio(ratio);
        m_background = QPixmap::fromImage(image);
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_background);
    if (m_text.isEmpty())
        return;
    painter.setFont(CaptionFont());
    painter.setPen(TextColor());
    painter.drawText(rect().adjusted(TextMargin, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     m_text);
}

void CPrefsStatic::resizeEvent(QResizeEvent *event)
{
    m_background = QPixmap();
    QWidget::resizeEvent(event);
}

void CPrefsStatic::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange
        || event->type() == QEvent::StyleChange)
        m_background = QPixmap();
    QWidget::changeEvent(event);
}
