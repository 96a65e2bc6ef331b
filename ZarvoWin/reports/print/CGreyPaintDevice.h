#pragma once
#include <QPaintDevice>

#include <memory>

class QPainter;
class QPaintEngine;

// A device that passes everything drawn on it to a painter open on another
// device, each colour, gradient stop and picture turned to its grey on the
// way: a print asked in greyscale to a writer that knows only colour. It
// measures as the other device does, so that pages lay out alike.
class CGreyPaintDevice : public QPaintDevice
{
public:
    // `target` stays open on `device` while this one is painted on.
    CGreyPaintDevice(QPainter &target, const QPaintDevice &device);
    ~CGreyPaintDevice() override;

    QPaintEngine *paintEngine() const override;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    const QPaintDevice &m_device;
    std::unique_ptr<QPaintEngine> m_engine;
};
