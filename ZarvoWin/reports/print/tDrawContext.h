#pragma once

#include <QFont>

class QPaintDevice;
class QPainter;
struct tDrawTextStyle;

// What one measure or draw call of the report drawing needs to know of its
// target: the painter (none when only measuring), the device, its pixels
// per tenth of a millimetre across and down, its resolution and the
// screen's, by which the templates' font sizes are scaled. Made from the
// device at each drawing, so that two devices (the page preview and a
// printer) never share factors.
struct tDrawContext
{
    QPainter *Painter = nullptr;
    QPaintDevice *Device = nullptr;
    double ScaleX = 96.0 / 254.0;
    double ScaleY = 96.0 / 254.0;
    int DpiX = 96;
    int DpiY = 96;
    int ScreenDpiX = 96;
    int ScreenDpiY = 96;

    // The factors of the painter's device (measuring and drawing).
    static tDrawContext ForPainter(QPainter *painter);
    // The factors of a device no painter is open on (measuring only).
    static tDrawContext ForDevice(QPaintDevice *device);
    // The primary screen's logical resolution, 96 without a screen.
    static int ScreenDpi(bool vertical);

    // The font of a text style on this device: the style's size is the
    // character height in screen pixels, scaled by the device's resolution
    // over the screen's (kept between 1 and 2000 pixels).
    QFont MakeFont(const tDrawTextStyle &style) const;

    // A length of the template (tenths of a millimetre) in pixels, truncated
    // toward zero and held well inside int.
    int ToPixelsX(double tenths) const { return Clamp(tenths * ScaleX); }
    int ToPixelsY(double tenths) const { return Clamp(tenths * ScaleY); }
    static int Clamp(double pixels);
};
