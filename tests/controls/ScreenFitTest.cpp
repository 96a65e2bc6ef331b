// A window on its screen: the room a screen leaves it with the window
// manager's frame and what a window too large for it gives up, over a
// table of screens and frames; and a window whose scrolling part gives up
// just that, only where its screen is too small for it: a page through its
// fields across and by scrolling downwards, a list both ways.
#include "CFitScrollArea.h"
#include "ScreenFit.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <algorithm>
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

// A dialog as the frames of settings pages are: a page that scrolls, above
// a button. The page holds a list to choose from whose longest item is
// `itemWidth` characters, a text beside it, and a button under them.
class PageDialog : public QDialog
{
public:
    explicit PageDialog(int itemWidth, int pageHeight = 200)
    {
        page = new QWidget;
        page->setMinimumHeight(pageHeight);
        combo = new QComboBox(page);
        combo->addItems({QStringLiteral("court"), QString(itemWidth, u'm')});
        text = new QLabel(QStringLiteral("Position du logo :"), page);
        button = new QPushButton(QStringLiteral("Parcourir…"), page);
        auto *row = new QHBoxLayout;
        row->addWidget(text);
        row->addWidget(combo, 1);
        auto *column = new QVBoxLayout(page);
        column->addLayout(row);
        column->addWidget(button, 0, Qt::AlignRight);
        column->addStretch(1);
        area = new CFitScrollArea(page, this);
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(area, 1);
        layout->addWidget(new QPushButton(QStringLiteral("OK"), this));
    }
    QSize Natural() { return layout()->totalMinimumSize(); }
    // How far right the page's children reach within the area's view.
    int Reach() const
    {
        int right = 0;
        for (const QWidget *child : page->findChildren<QWidget *>())
            if (child->isVisible() && !child->isWindow())
                right = std::max(right, child->mapTo(area->viewport(), QPoint(child->width(), 0)).x());
        return right;
    }

    QWidget *page = nullptr;
    QComboBox *combo = nullptr;
    QLabel *text = nullptr;
    QPushButton *button = nullptr;
    CFitScrollArea *area = nullptr;
};

// A window whose scrolling part is a list, which may scroll both ways.
class ListDialog : public QDialog
{
public:
    explicit ListDialog(const QSize &listMinimum)
    {
        list = new QListWidget(this);
        list->setMinimumSize(listMinimum);
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(list, 1);
        layout->addWidget(new QPushButton(QStringLiteral("OK"), this));
    }
    QListWidget *list = nullptr;
};

} // namespace

TEST(ScreenFitTest, ThePageGivesUpWidthThroughItsFieldsAndScrollsOnlyDownwards)
{
    const QSize room = ScreenFit::RoomFor(nullptr);
    ASSERT_GT(room.width(), 400);
    const int character = QFontMetrics(QApplication::font()).averageCharWidth();

    // A page that fits: the dialog is as it would be without the area.
    {
        PageDialog fitting(10);
        const QSize natural = fitting.Natural();
        EXPECT_EQ(ScreenFit::ShrinkParts(&fitting, {fitting.area}), QSize(0, 0));
        EXPECT_EQ(fitting.area->minimumSizeHint(), QSize(fitting.page->minimumSizeHint().width(), 200));
        EXPECT_EQ(fitting.layout()->totalMinimumSize(), natural);
        fitting.show();
        QApplication::processEvents();
        EXPECT_FALSE(fitting.area->horizontalScrollBar()->isVisible());
        EXPECT_FALSE(fitting.area->verticalScrollBar()->isVisible());
    }

    // A page too wide and too high by its list's longest item: the list
    // gives up width, the text and the buttons keep theirs, the page lays
    // out within the area's width, and only a downward scroll remains.
    PageDialog wide(room.width() / character + 40, room.height() + 100);
    const QSize natural = wide.Natural();
    ASSERT_GT(natural.width(), room.width());
    const QSize given = ScreenFit::ShrinkParts(&wide, {wide.area});
    EXPECT_GE(given.width(), natural.width() - room.width());
    EXPECT_GE(given.height(), natural.height() - room.height());
    EXPECT_LE(wide.minimumSize().width(), room.width());
    EXPECT_LE(wide.minimumSize().height(), room.height());
    wide.resize(wide.minimumSize());
    wide.show();
    QApplication::processEvents();
    EXPECT_LE(wide.width(), room.width());
    EXPECT_FALSE(wide.area->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(wide.area->verticalScrollBar()->isVisible());
    EXPECT_EQ(wide.page->width(), wide.area->viewport()->width());
    EXPECT_LE(wide.Reach(), wide.area->viewport()->width());
    EXPECT_LT(wide.combo->width(), wide.combo->sizeHint().width());
    EXPECT_GE(wide.text->width(), wide.text->minimumSizeHint().width());
    EXPECT_GE(wide.button->width(), wide.button->sizeHint().width());

    // The page made small again (the dialog on a larger screen): the list
    // and the area have their own smallest sizes back, and nothing is given
    // up.
    wide.combo->hide();
    wide.page->setMinimumHeight(100);
    EXPECT_EQ(ScreenFit::ShrinkParts(&wide, {wide.area}), QSize(0, 0));
    EXPECT_EQ(wide.area->minimumSize(), QSize(0, 0));
    EXPECT_EQ(wide.combo->minimumSize(), QSize(0, 0));
    EXPECT_EQ(wide.layout()->totalMinimumSize().width(), wide.Natural().width());
    EXPECT_LT(wide.layout()->totalMinimumSize().width(), room.width());
}

// A page that shows a wider field once its window is shown (a date
// ticked): the area tells its window, which fits its screen again.
TEST(ScreenFitTest, AFieldShownLaterFitsTheWindowAgain)
{
    const QSize room = ScreenFit::RoomFor(nullptr);
    const int character = QFontMetrics(QApplication::font()).averageCharWidth();
    PageDialog dialog(10);
    auto *later = new QComboBox(dialog.page);
    later->addItem(QString(room.width() / character + 20, u'm'));
    dialog.page->layout()->addWidget(later);
    later->hide();
    int fitted = 0;
    QObject::connect(dialog.area, &CFitScrollArea::contentsMinimumChanged, &dialog, [&] {
        ++fitted;
        ScreenFit::ShrinkParts(&dialog, {dialog.area});
        ScreenFit::Into(&dialog);
    });
    EXPECT_EQ(ScreenFit::ShrinkParts(&dialog, {dialog.area}), QSize(0, 0));
    dialog.show();
    QApplication::processEvents();
    fitted = 0;

    later->show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return fitted > 0 && dialog.width() <= room.width(); }));
    QApplication::processEvents();
    EXPECT_LE(dialog.width(), room.width());
    EXPECT_FALSE(dialog.area->horizontalScrollBar()->isVisible());
    EXPECT_LE(dialog.Reach(), dialog.area->viewport()->width());
    EXPECT_LT(later->width(), later->sizeHint().width());
}

// A list that is the scrolling part scrolls across as well, as lists do:
// it gives up just what the screen lacks across, with room below for its
// scroll bar so that it does not scroll down as well.
TEST(ScreenFitTest, AListGivesUpOnlyWhatTheScreenLacks)
{
    const QSize room = ScreenFit::RoomFor(nullptr);
    ListDialog wide(QSize(room.width() + 100, 200));
    const QSize natural = wide.layout()->totalMinimumSize();
    ASSERT_GT(natural.width(), room.width());
    const QSize given = ScreenFit::ShrinkParts(&wide, {wide.list});
    EXPECT_EQ(given.width(), natural.width() - room.width());
    EXPECT_EQ(wide.minimumSize().width(), room.width());
    EXPECT_EQ(wide.list->minimumHeight(),
              200 + wide.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, wide.list));
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

// A window opens centred over the window it belongs to, unless that puts
// it or its frame past the free area's edge, where it stands against it.
TEST(ScreenFitTest, AWindowOpensOverItsOwnerWithinTheFreeArea)
{
    const QRect screen(0, 0, 1280, 800);
    const QMargins frame(4, 28, 4, 4);
    struct Case
    {
        const char *name;
        QSize size;
        QRect owner;
        QRect placed;
    };
    const Case cases[] = {
        {"centred over a main window filling the screen", {700, 460}, {4, 28, 1272, 768}, {290, 182, 700, 460}},
        {"centred over a smaller owner", {400, 300}, {600, 200, 600, 400}, {700, 250, 400, 300}},
        {"odd sizes: the extra pixel to the right and below", {401, 301}, {600, 200, 600, 400}, {699, 249, 401, 301}},
        {"an owner at the right edge: against the edge with its frame", {700, 460}, {1000, 300, 280, 200},
         {576, 170, 700, 460}},
        {"an owner above the screen's top", {700, 460}, {300, -300, 600, 400}, {250, 28, 700, 460}},
        {"as large as the room", {1272, 768}, {300, 100, 400, 300}, {4, 28, 1272, 768}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QRect placed = ScreenFit::Over(c.size, c.owner, screen, frame);
        EXPECT_EQ(placed, c.placed) << placed.x() << "," << placed.y() << " " << placed.width() << "x"
                                    << placed.height();
        EXPECT_TRUE(ScreenFit::Fits(placed, screen, frame));
    }
}
