// A window on its screen: the room a screen leaves it with the window
// manager's frame and what a window too large for it gives up, over a
// table of screens and frames; and a window whose scrolling part gives up
// just that, only where its screen is too small for it.
#include "CFitScrollArea.h"
#include "ScreenFit.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <string>

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
    {"640x480", QRect(0, 0, 640, 480)},
    {"800x600", QRect(0, 0, 800, 600)},
    {"800x600 with a bottom panel", QRect(0, 0, 800, 560)},
    {"1024x768 with a top panel", QRect(0, 28, 1024, 740)},
    {"1280x800", QRect(0, 0, 1280, 800)},
    {"1920x1080 right of a first", QRect(1920, 0, 1920, 1080)},
};

const Frame Frames[] = {
    {"none", QMargins()},
    {"thin", QMargins(1, 23, 1, 1)},
    {"wide", QMargins(4, 30, 4, 4)},
};

// The windows of the program, by their smallest insides: the report
// columns for every report (968 wide before they scrolled), the options
// (813), the project editor (805), the synchronisation (640 by 161).
const QSize Windows[] = {{968, 262}, {813, 404}, {805, 423}, {640, 161}, {495, 308}};

} // namespace

TEST(ScreenFitTest, AWindowGivesUpWhatItsScreenLacksWithTheFrameAndNothingMore)
{
    for (const Screen &screen : Screens) {
        for (const Frame &frame : Frames) {
            SCOPED_TRACE(std::string(screen.name) + ", frame " + frame.name);
            const QSize room = ScreenFit::Room(screen.available, frame.margins);
            EXPECT_EQ(room.width(), screen.available.width() - frame.margins.left() - frame.margins.right());
            EXPECT_EQ(room.height(), screen.available.height() - frame.margins.top() - frame.margins.bottom());
            for (const QSize &minimum : Windows) {
                const QSize excess = ScreenFit::Excess(minimum, room);
                // Given up, the window and its frame lie within the free area.
                const QRect fitted = ScreenFit::Fit(QRect(screen.available.topLeft(), minimum - excess),
                                                    screen.available, frame.margins);
                EXPECT_EQ(fitted.size(), minimum - excess);
                EXPECT_TRUE(ScreenFit::Fits(fitted, screen.available, frame.margins));
                // Nothing is given up where there is room, and no more than lacks.
                EXPECT_EQ(excess.width(), std::max(0, minimum.width() - room.width()));
                EXPECT_EQ(excess.height(), std::max(0, minimum.height() - room.height()));
            }
        }
    }
    // A screen of a few pixels still leaves one.
    EXPECT_EQ(ScreenFit::Room(QRect(0, 0, 20, 20), QMargins(10, 30, 10, 10)), QSize(1, 1));
}

TEST(ScreenFitTest, AFrameIsAssumedUntilTheWindowManagerGivesOne)
{
    QWidget window;
    const QMargins assumed = ScreenFit::FrameOf(&window);
    EXPECT_GE(assumed.left(), 4);
    EXPECT_GE(assumed.top(), 24 + assumed.left());
    EXPECT_EQ(ScreenFit::RoomFor(&window), ScreenFit::Room(ScreenFit::AvailableFor(&window), assumed));
}

namespace {

// A dialog as the frames of settings pages are: a page of a given smallest
// size, which scrolls, above a button.
class PageDialog : public QDialog
{
public:
    explicit PageDialog(const QSize &pageMinimum)
    {
        page = new QLabel(QStringLiteral("page"));
        page->setMinimumSize(pageMinimum);
        area = new CFitScrollArea(page, this);
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(area, 1);
        layout->addWidget(new QPushButton(QStringLiteral("OK"), this));
    }
    QSize Natural() { return layout()->totalMinimumSize(); }

    QLabel *page = nullptr;
    CFitScrollArea *area = nullptr;
};

} // namespace

TEST(ScreenFitTest, TheScrollingPartGivesUpOnlyWhatTheScreenLacks)
{
    const QSize room = ScreenFit::RoomFor(nullptr);
    ASSERT_GT(room.width(), 400);

    // A page that fits: the dialog is as it would be without the area.
    {
        PageDialog fitting(QSize(room.width() - 200, 200));
        const QSize natural = fitting.Natural();
        EXPECT_EQ(ScreenFit::ShrinkParts(&fitting, {fitting.area}), QSize(0, 0));
        EXPECT_EQ(fitting.area->minimumSizeHint(), fitting.page->minimumSize());
        EXPECT_EQ(fitting.layout()->totalMinimumSize(), natural);
        fitting.show();
        QApplication::processEvents();
        EXPECT_FALSE(fitting.area->horizontalScrollBar()->isVisible());
        EXPECT_FALSE(fitting.area->verticalScrollBar()->isVisible());
    }

    // A page 100 pixels too wide: the dialog gives up the 100 pixels and
    // fits; the page keeps its size and scrolls across, with room below
    // for the scroll bar so that it does not scroll down as well.
    PageDialog wide(QSize(room.width() + 100, 200));
    const QSize natural = wide.Natural();
    ASSERT_GT(natural.width(), room.width());
    const QSize given = ScreenFit::ShrinkParts(&wide, {wide.area});
    EXPECT_EQ(given.width(), natural.width() - room.width());
    EXPECT_EQ(wide.minimumSize().width(), room.width());
    EXPECT_LE(wide.minimumSize().height(), room.height());
    wide.resize(wide.minimumSize());
    wide.show();
    QApplication::processEvents();
    EXPECT_LE(wide.width(), room.width());
    EXPECT_EQ(wide.page->width(), room.width() + 100);
    EXPECT_TRUE(wide.area->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(wide.area->verticalScrollBar()->isVisible());
    EXPECT_EQ(wide.area->viewport()->height(), wide.page->height());

    // The page made narrower (the dialog on a larger screen): the area has
    // its own smallest size back, and nothing is given up.
    wide.page->setMinimumSize(room.width() - 300, 200);
    EXPECT_EQ(ScreenFit::ShrinkParts(&wide, {wide.area}), QSize(0, 0));
    EXPECT_EQ(wide.area->minimumSize(), QSize(0, 0));
    EXPECT_EQ(wide.layout()->totalMinimumSize().width(), wide.Natural().width());
    EXPECT_LT(wide.layout()->totalMinimumSize().width(), room.width());
}

TEST(ScreenFitTest, AWindowIsMadeNoLargerThanItsRoom)
{
    QDialog window;
    const QSize room = ScreenFit::RoomFor(&window);
    window.resize(room + QSize(300, 200));
    ScreenFit::Into(&window);
    EXPECT_EQ(window.size(), room);
    // Never below its smallest size, which the window must mend itself.
    window.setMinimumSize(room.width() + 50, 10);
    ScreenFit::Into(&window);
    EXPECT_EQ(window.width(), room.width() + 50);
    // Shown, it lies within the free area with its frame.
    window.setMinimumSize(10, 10);
    window.move(-500, -500);
    window.show();
    ScreenFit::Into(&window);
    EXPECT_TRUE(ScreenFit::Fits(window.geometry(), ScreenFit::AvailableFor(&window), ScreenFit::FrameOf(&window)))
        << window.geometry().x() << "," << window.geometry().y();
}
