#include "CGreyPaintDevice.h"

#include <QBrush>
#include <QGradient>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPixmap>

namespace {

QColor grey(const QColor &colour)
{
    const int g = qGray(colour.rgb());
    return QColor(g, g, g, colour.alpha());
}

QImage greyImage(const QImage &image)
{
    // Alpha kept, so that a see-through logo stays see-through.
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const int g = qGray(line[x]);
            line[x] = qRgba(g, g, g, qAlpha(line[x]));
        }
    }
    return out;
}

QBrush greyBrush(const QBrush &brush)
{
    if (const QGradient *gradient = brush.gradient()) {
        QGradient copy = *gradient;
        QGradientStops stops = copy.stops();
        for (QGradientStop &stop : stops)
            stop.second = grey(stop.second);
        copy.setStops(stops);
        QBrush out(copy);
        out.setTransform(brush.transform());
        return out;
    }
    QBrush out = brush;
    if (!brush.textureImage().isNull())
        out.setTextureImage(greyImage(brush.textureImage()));
    out.setColor(grey(brush.color()));
    return out;
}

QPen greyPen(const QPen &pen)
{
    QPen out = pen;
    out.setBrush(greyBrush(pen.brush()));
    return out;
}

// Hands each call on to the target painter, greyed; the painter on the
// grey device keeps the state, the target follows it.
class GreyEngine : public QPaintEngine
{
public:
    explicit GreyEngine(QPainter &target) : QPaintEngine(AllFeatures), m_target(target) {}

    bool begin(QPaintDevice *) override { return m_target.isActive(); }
    bool end() override { return true; }
    Type type() const override { return User; }

    void updateState(const QPaintEngineState &state) override
    {
        const DirtyFlags dirty = state.state();
        if (dirty & DirtyTransform)
            m_target.setTransform(state.transform());
        if (dirty & DirtyPen)
            m_target.setPen(greyPen(state.pen()));
        if (dirty & DirtyBrush)
            m_target.setBrush(greyBrush(state.brush()));
        if (dirty & DirtyBrushOrigin)
            m_target.setBrushOrigin(state.brushOrigin());
        if (dirty & DirtyFont)
            m_target.setFont(state.font());
        if (dirty & DirtyBackground)
            m_target.setBackground(greyBrush(state.backgroundBrush()));
        if (dirty & DirtyBackgroundMode)
            m_target.setBackgroundMode(state.backgroundMode());
        if (dirty & DirtyHints)
            m_target.setRenderHints(state.renderHints());
        if (dirty & DirtyCompositionMode)
            m_target.setCompositionMode(state.compositionMode());
        if (dirty & DirtyOpacity)
            m_target.setOpacity(state.opacity());
        if (dirty & DirtyClipRegion)
            m_target.setClipRegion(state.clipRegion(), state.clipOperation());
        if (dirty & DirtyClipPath)
            m_target.setClipPath(state.clipPath(), state.clipOperation());
        if (dirty & DirtyClipEnabled)
            m_target.setClipping(state.isClipEnabled());
    }

    void drawRects(const QRectF *rects, int count) override { m_target.drawRects(rects, count); }
    void drawLines(const QLineF *lines, int count) override { m_target.drawLines(lines, count); }
    void drawEllipse(const QRectF &rect) override { m_target.drawEllipse(rect); }
    void drawPath(const QPainterPath &path) override { m_target.drawPath(path); }
    void drawPoints(const QPointF *points, int count) override { m_target.drawPoints(points, count); }
    void drawPolygon(const QPointF *points, int count, PolygonDrawMode mode) override
    {
        switch (mode) {
        case PolylineMode:
            m_target.drawPolyline(points, count);
            break;
        case ConvexMode:
            m_target.drawConvexPolygon(points, count);
            break;
        case WindingMode:
            m_target.drawPolygon(points, count, Qt::WindingFill);
            break;
        case OddEvenMode:
            m_target.drawPolygon(points, count, Qt::OddEvenFill);
            break;
        }
    }
    void drawPixmap(const QRectF &rect, const QPixmap &pixmap, const QRectF &source) override
    {
        m_target.drawImage(rect, greyImage(pixmap.toImage()), source);
    }
    void drawImage(const QRectF &rect, const QImage &image, const QRectF &source,
                   Qt::ImageConversionFlags flags) override
    {
        m_target.drawImage(rect, greyImage(image), source, flags);
    }
    void drawTiledPixmap(const QRectF &rect, const QPixmap &pixmap, const QPointF &offset) override
    {
        m_target.drawTiledPixmap(rect, QPixmap::fromImage(greyImage(pixmap.toImage())), offset);
    }
    // Text stays text (found by a search in the file), in the pen's grey.
    void drawTextItem(const QPointF &position, const QTextItem &item) override
    {
        m_target.drawTextItem(position, item);
    }

private:
    QPainter &m_target;
};

} // namespace

CGreyPaintDevice::CGreyPaintDevice(QPainter &target, const QPaintDevice &device)
    : m_device(device), m_engine(std::make_unique<GreyEngine>(target))
{
}

CGreyPaintDevice::~CGreyPaintDevice() = default;

QPaintEngine *CGreyPaintDevice::paintEngine() const
{
    return m_engine.get();
}

int CGreyPaintDevice::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth:
        return m_device.width();
    case PdmHeight:
        return m_device.height();
    case PdmWidthMM:
        return m_device.widthMM();
    case PdmHeightMM:
        return m_device.heightMM();
    case PdmNumColors:
        return m_device.colorCount();
    case PdmDepth:
        return m_device.depth();
    case PdmDpiX:
        return m_device.logicalDpiX();
    case PdmDpiY:
        return m_device.logicalDpiY();
    case PdmPhysicalDpiX:
        return m_device.physicalDpiX();
    case PdmPhysicalDpiY:
        return m_device.physicalDpiY();
    case PdmDevicePixelRatio:
        return int(m_device.devicePixelRatio());
    case PdmDevicePixelRatioScaled:
        return int(m_device.devicePixelRatioF() * devicePixelRatioFScale());
    }
    return QPaintDevice::metric(metric);
}
