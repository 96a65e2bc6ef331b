#pragma once
#include <QMargins>
#include <QRect>
#include <QSize>

// The main window's sizes on its screen, as plain rules on rectangles:
// `available` is the screen's free area (without panels and docks),
// `frame` the margins the window manager's frame adds around the window's
// inside. Every rectangle returned is the inside; with its frame it lies
// within the free area. A saved place is fitted as any window's is
// (ScreenFit).
class MainFramePlacement
{
public:
    // The inside the window has at its first start, and the smallest the
    // user may drag it to, where the screen allows them.
    static constexpr QSize PreferredSize{1200, 800};
    static constexpr QSize MinimumSize{800, 500};

    // The smallest inside: MinimumSize, less where the free area less the
    // frame is smaller.
    static QSize Minimum(const QRect &available, const QMargins &frame);
    // The first inside: PreferredSize, smaller where the free area less
    // the frame is smaller, centred in the free area.
    static QRect First(const QRect &available, const QMargins &frame);
};
