#pragma once
#include <QList>
#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

// How a window lies on its screen, as plain rules on rectangles:
// `available` is the screen's free area (without panels and docks),
// `frame` the margins the window manager's frame adds around the window's
// inside. Every rectangle given or returned is the inside; with its frame
// it lies within the free area.
class ScreenFit
{
public:
    // The largest inside the free area holds with the frame (never below
    // one pixel each way).
    static QSize Room(const QRect &available, const QMargins &frame);
    // An inside shrunk where it is larger than the room and moved the
    // least so that it lies within the free area, frame included;
    // unchanged when it already does.
    static QRect Fit(const QRect &inside, const QRect &available, const QMargins &frame);
    // Whether `inside` with its frame lies within the free area.
    static bool Fits(const QRect &inside, const QRect &available, const QMargins &frame);
    // What a window whose smallest inside is `minimum` must give up, each
    // way, to fit `room`: nothing where it fits.
    static QSize Excess(const QSize &minimum, const QSize &room);

    // The free area of the screen `window` shows on (its parent's, or the
    // first screen, before it is shown).
    static QRect AvailableFor(const QWidget *window);
    // The frame the window manager gave `window`, or until it has framed
    // it, a frame of the style's own size: the title bar and a border.
    static QMargins FrameOf(const QWidget *window);
    // The room `window` has on its screen with its frame.
    static QSize RoomFor(const QWidget *window);

    // Where the window's smallest inside is larger than its room: first,
    // where it is too wide, its fields give up width (a list to choose from
    // down to a few characters: what it shows is cut, its list is whole;
    // texts and buttons keep theirs), and where it still is, the columns of
    // its pages (CColumnsLayout) may stand one under the other; then each
    // of `parts`, scrolling parts of `window` (pages of one stack, or a
    // single one), gives up what the window still must (never below a few
    // lines each way). A part that never scrolls across (its horizontal
    // scroll bar always off) gives up height alone and keeps room across
    // for its vertical scroll bar: its contents lay out within its width.
    // Fields, columns and parts fitted before first get their own sizes
    // back, so that a window on a larger screen loses nothing. Returns what
    // the window gave up.
    static QSize ShrinkParts(QWidget *window, const QList<QWidget *> &parts);
    // The least width `field` may be given on a narrow screen, or its own
    // smallest width where it is no field that gives up width.
    static int NarrowestField(const QWidget *field);
    // An inside of `size` centred over `owner` (an inside too), moved the
    // least so that it lies within the free area with its frame.
    static QRect Over(const QSize &size, const QRect &owner, const QRect &available, const QMargins &frame);

    // The window's size made no larger than its room (and no smaller than
    // its smallest size). Shown, it lies within the free area: moved the
    // least where it was placed (shown before, or moved to a place of its
    // own), else centred over the window it belongs to (over the free
    // area without one), as a dialog opens.
    static void Into(QWidget *window);
};
