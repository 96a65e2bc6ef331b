// Where the main window goes on its screen: the first size and a saved one
// fitted to the screen's free area, the window manager's frame included,
// over a table of screens and frames.
#include "MainFramePlacement.h"
#include "ScreenFit.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct Screen
{
    const char *name;
    QRect available;
};

struct Frame
{
    const char *name;
    QMargins margins;
};

const Screen Screens[] = {
    {"1280x800 without panel", QRect(0, 0, 1280, 800)},
    {"1280x800 with a top panel", QRect(0, 28, 1280, 772)},
    {"800x600", QRect(0, 0, 800, 600)},
    {"800x600 with a bottom panel", QRect(0, 0, 800, 560)},
    {"1920x1080 with a left dock", QRect(64, 0, 1856, 1080)},
    {"second screen right of a first", QRect(1920, 0, 1280, 1024)},
    {"second screen above a first", QRect(0, -768, 1024, 768)},
};

const Frame Frames[] = {
    {"none", QMargins()},
    {"thin", QMargins(1, 23, 1, 1)},
    {"wide", QMargins(4, 30, 4, 4)},
};

std::string trace(const Screen &screen, const Frame &frame)
{
    return std::string(screen.name) + ", frame " + frame.name;
}

} // namespace

TEST(MainFramePlacementTest, TheFirstWindowLiesWithinTheFreeAreaFrameIncluded)
{
    for (const Screen &screen : Screens) {
        for (const Frame &frame : Frames) {
            SCOPED_TRACE(trace(screen, frame));
            const QRect first = MainFramePlacement::First(screen.available, frame.margins);
            const QRect outer = first.marginsAdded(frame.margins);
            EXPECT_TRUE(screen.available.contains(outer))
                << outer.x() << "," << outer.y() << " " << outer.width() << "x" << outer.height();
            EXPECT_TRUE(ScreenFit::Fits(first, screen.available, frame.margins));
            // As large as preferred where there is room, else all the room.
            const int roomWidth = screen.available.width() - frame.margins.left() - frame.margins.right();
            const int roomHeight = screen.available.height() - frame.margins.top() - frame.margins.bottom();
            EXPECT_EQ(first.width(), std::min(1200, roomWidth));
            EXPECT_EQ(first.height(), std::min(800, roomHeight));
            // Centred: the free area left and right differ by a pixel at most.
            EXPECT_LE(std::abs((outer.left() - screen.available.left()) - (screen.available.right() - outer.right())), 1);
            EXPECT_LE(std::abs((outer.top() - screen.available.top()) - (screen.available.bottom() - outer.bottom())), 1);
            // The smallest size the user may drag it to fits too, and is
            // the usual one where it can be.
            const QSize minimum = MainFramePlacement::Minimum(screen.available, frame.margins);
            EXPECT_LE(minimum.width(), roomWidth);
            EXPECT_LE(minimum.height(), roomHeight);
            EXPECT_EQ(minimum, QSize(std::min(800, roomWidth), std::min(500, roomHeight)));
            EXPECT_LE(minimum.width(), first.width());
            EXPECT_LE(minimum.height(), first.height());
        }
    }
    // The case that was seen: a 1280x800 screen and a 1200x800 window at
    // y 20 whose bottom lay below the screen.
    const QRect seen(40, 20, 1200, 800);
    EXPECT_FALSE(ScreenFit::Fits(seen, QRect(0, 0, 1280, 800), QMargins(1, 23, 1, 1)));
    EXPECT_EQ(MainFramePlacement::First(QRect(0, 0, 1280, 800), QMargins(1, 23, 1, 1)), QRect(40, 23, 1200, 776));
}

TEST(MainFramePlacementTest, ASavedWindowIsFittedToTheScreenAsItIsNow)
{
    struct Saved
    {
        const char *name;
        QRect inside;
    };
    // Saved on a larger screen, beyond an edge, on a screen gone, or
    // higher than any screen.
    const Saved saved[] = {
        {"larger than any screen", QRect(0, 0, 2400, 1500)},
        {"beyond the right edge", QRect(1100, 100, 900, 600)},
        {"above the top", QRect(100, -400, 900, 600)},
        {"on a screen gone", QRect(3000, 1200, 1000, 700)},
        {"left of the screen", QRect(-1500, 50, 1000, 700)},
        {"small and inside", QRect(200, 150, 400, 300)},
    };
    for (const Screen &screen : Screens) {
        for (const Frame &frame : Frames) {
            for (const Saved &s : saved) {
                SCOPED_TRACE(trace(screen, frame) + ", saved " + s.name);
                const QRect fitted = ScreenFit::Fit(s.inside, screen.available, frame.margins);
                EXPECT_TRUE(screen.available.contains(fitted.marginsAdded(frame.margins)));
                // Never larger than saved, and only as much smaller as the
                // screen needs.
                const int roomWidth = screen.available.width() - frame.margins.left() - frame.margins.right();
                const int roomHeight = screen.available.height() - frame.margins.top() - frame.margins.bottom();
                EXPECT_EQ(fitted.width(), std::min(s.inside.width(), roomWidth));
                EXPECT_EQ(fitted.height(), std::min(s.inside.height(), roomHeight));
                // A window that fits stays where it was.
                if (ScreenFit::Fits(s.inside, screen.available, frame.margins)) {
                    EXPECT_EQ(fitted, s.inside);
                }
            }
        }
    }
    // Moved the least: a window 100 pixels beyond the right edge comes
    // back by 100 pixels and keeps its height and top.
    EXPECT_EQ(ScreenFit::Fit(QRect(481, 100, 900, 600), QRect(0, 0, 1280, 800), QMargins(1, 23, 1, 1)),
              QRect(379, 100, 900, 600));
}
