#pragma once
#include <QMargins>
#include <QRect>
#include <QSize>

// Where the main window lies on its screen, as plain rules on rectangles:
// `available` is the screen's free area (without panels and docks),
// `frame` the margins the window manager's frame adds around the window's
// inside. Every rectangle given or returned is the inside; with its frame
// it lies within the free area.
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
    // An inside (a saved one, one placed before its frame was known)
    // shrunk where it is larger than the free area allows and moved the
    // least so that it lies within it, frame included; unchanged when it
    // already does.
    static QRect Fit(const QRect &inside, const QRect &available, const QMargins &frame);
    // Whether `inside` with its frame lies within the free area.
    static bool Fits(const QRect &inside, const QRect &available, const QMargins &frame);
};
