#include "tDrawContext.h"

#include "tDrawTextStyle.h"

#include <QGuiApplication>
#include <QPaintDevice>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace {

// Far beyond any page, small enough that sums of a few stay inside int.
constexpr double PixelLimit = 100000000.0;

} // namespace

int tDrawContext::Clamp(double pixels)
{
    if (!(pixels == pixels))
        return 0;
    return int(std::trunc(std::clamp(pixels, -PixelLimit, PixelLimit)));
}

int tDrawContext::ScreenDpi(bool vertical)
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        if (const QScreen *screen = QGuiApplication::primaryScreen()) {
            const double dpi = vertical ? screen->logicalDotsPerInchY() : screen->logicalDotsPerInchX();
            if (dpi >= 1.0)
                return int(std::lround(dpi));
        }
    }
    return 96;
}

tDrawContext tDrawContext::ForDevice(QPaintDevice *device)
{
    tDrawContext context;
    context.Device = device;
    if (device) {
        context.DpiX = std::max(1, device->logicalDpiX());
        context.DpiY = std::max(1, device->logicalDpiY());
    }
    // Floating point: an integer division of the resolution by 254 is 0.
    context.ScaleX = context.DpiX / 254.0;
    context.ScaleY = context.DpiY / 254.0;
    context.ScreenDpiX = ScreenDpi(false);
    context.ScreenDpiY = ScreenDpi(true);
    return context;
}

tDrawContext tDrawContext::ForPainter(QPainter *painter)
{
    tDrawContext context = ForDevice(painter ? painter->device() : nullptr);
    context.Painter = painter;
    return context;
}

QFont tDrawContext::MakeFont(const tDrawTextStyle &style) const
{
    QFont font(style.FaceName);
    const double pixels = std::round(double(style.Size) * DpiY / std::max(1, ScreenDpiY));
    font.setPixelSize(int(std::clamp(pixels, 1.0, 2000.0)));
    font.setWeight(style.Bold ? QFont::Bold : QFont::Normal);
    font.setItalic(style.Italic);
    font.setUnderline(style.Underline);
    font.setStrikeOut(style.StrikeOut);
    return font;
}
