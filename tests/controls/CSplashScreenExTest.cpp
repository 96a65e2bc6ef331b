#include "BitmapResources.h"
#include "Clock.h"
#include "CSplashScreenEx.h"
#include "KeyColourRegion.h"
#include "SplashProgress.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QRgb kMagenta = qRgb(255, 0, 255);
const QRgb kBarColour = qRgb(0x05, 0xD6, 0x2A); // 0x2AD605

QImage Filled(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// The region as its pixels, one by one.
bool RegionIsExactly(const QRegion &region, const QImage &image, const std::function<bool(int, int)> &kept)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (region.contains(QPoint(x, y)) != kept(x, y))
                return false;
    return region.boundingRect().isEmpty() || image.rect().contains(region.boundingRect());
}

void DeleteLaterNow()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A splash as start-up makes it: picture, three lines and the bar.
QPointer<CSplashScreenEx> StartupSplash(int style, int displayTime, bool withBar = true)
{
    QPointer<CSplashScreenEx> splash = new CSplashScreenEx;
    EXPECT_TRUE(splash->Create(style, nullptr, displayTime));
    EXPECT_TRUE(splash->SetBitmap());
    splash->SetText(0, QStringLiteral("Version 1.0.0"));
    splash->SetTextRect(0, 210, 120, 430, 200);
    splash->SetTextColour(0, 0x8F471F);
    splash->SetText(2, QStringLiteral("Initialisation en cours ..."));
    splash->SetTextRect(2, 20, 290, 220, 315);
    if (withBar)
        splash->SetProgressBar(0x2AD605, 6, 318, 408, 338);
    return splash;
}

} // namespace

TEST(KeyColourRegionTest, CasesOfKeyColour)
{
    // No magenta: the whole picture in one rectangle.
    const QImage blue = Filled(20, 10, qRgb(0, 0, 255));
    const QRegion whole = RegionOutsideKeyColour(blue);
    EXPECT_EQ(whole, QRegion(0, 0, 20, 10));
    EXPECT_EQ(whole.rectCount(), 1);

    // All magenta: nothing.
    EXPECT_TRUE(RegionOutsideKeyColour(Filled(20, 10, kMagenta)).isEmpty());
    EXPECT_TRUE(RegionOutsideKeyColour(QImage()).isEmpty());

    // Each component within 20 of the key's is cut, one beyond is kept.
    const QRgb row[] = {qRgb(0, 0, 255),   qRgb(0xEB, 0x10, 0xEB), kMagenta,
                        qRgb(234, 0, 255), qRgb(255, 21, 255),     qRgb(255, 20, 235)};
    QImage strip(6, 1, QImage::Format_RGB32);
    for (int x = 0; x < 6; ++x)
        strip.setPixel(x, 0, row[x]);
    const QRegion cut = RegionOutsideKeyColour(strip);
    EXPECT_EQ(cut, QRegion(0, 0, 1, 1) + QRegion(3, 0, 2, 1));

    // Bounds are clamped at 0: black keyed with 20 of tolerance.
    QImage dark(3, 1, QImage::Format_RGB32);
    dark.setPixel(0, 0, qRgb(10, 20, 0));
    dark.setPixel(1, 0, qRgb(21, 0, 0));
    dark.setPixel(2, 0, qRgb(0, 0, 0));
    EXPECT_EQ(RegionOutsideKeyColour(dark, 0x000000, 20), QRegion(1, 0, 1, 1));
}

TEST(KeyColourRegionTest, CheckerboardOfManyRunsIsExact)
{
    // 100 runs per row, 5000 in all.
    QImage board(200, 50, QImage::Format_RGB32);
    for (int y = 0; y < board.height(); ++y)
        for (int x = 0; x < board.width(); ++x)
            board.setPixel(x, y, (x + y) % 2 == 0 ? qRgb(30, 30, 30) : kMagenta);
    const QRegion region = RegionOutsideKeyColour(board);
    EXPECT_EQ(region.rectCount(), 5000);
    EXPECT_TRUE(RegionIsExactly(region, board, [](int x, int y) { return (x + y) % 2 == 0; }));
}

TEST(KeyColourRegionTest, StartupPictureHasACleanEdge)
{
    const QImage picture = LoadBitmapResource(387).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(picture.size(), QSize(430, 344));
    const QRegion shape = RegionOutsideKeyColour(picture);
    const auto isKey = [&](int x, int y) {
        const QRgb p = picture.pixel(x, y);
        return qRed(p) >= 235 && qGreen(p) <= 20 && qBlue(p) >= 235;
    };
    EXPECT_TRUE(RegionIsExactly(shape, picture, [&](int x, int y) { return !isKey(x, y); }));
    // The corners are cut, the middle is kept, and no pink fringe stays
    // inside the shape: its edge is drawn without blending into magenta.
    EXPECT_FALSE(shape.contains(QPoint(0, 0)));
    EXPECT_FALSE(shape.contains(QPoint(429, 343)));
    EXPECT_TRUE(shape.contains(QPoint(215, 172)));
    int fringe = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = picture.pixel(x, y);
            if (shape.contains(QPoint(x, y)) && qRed(p) > qGreen(p) + 60 && qBlue(p) > qGreen(p) + 60)
                ++fringe;
        }
    EXPECT_EQ(fringe, 0);
}

TEST(SplashProgressTest, StepAndInterval)
{
    struct Case
    {
        const char *name;
        int displayTime;
        bool bar;
        int left, right;
        bool timed;
        int step, interval, ticks; // ticks until the bar is full
    };
    const Case cases[] = {
        {"start-up values", 3000, true, 6, 408, true, 5, 37, 20},
        {"two seconds", 2000, true, 6, 408, true, 7, 34, 15},
        {"one millisecond", 1, true, 0, 402, true, 100, 30, 1},
        {"no bar", 3000, false, 6, 408, true, 0, 3000, 0},
        {"bar of no width", 3000, true, 10, 10, true, 0, 3000, 0},
        {"bar reversed", 3000, true, 20, 10, true, 0, 3000, 0},
        {"no display time", 0, true, 6, 408, false, 0, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SplashProgress p;
        p.SetBar(c.bar, c.left, c.right);
        EXPECT_EQ(p.Start(c.displayTime), c.timed);
        EXPECT_EQ(p.Step(), c.step);
        EXPECT_EQ(p.Interval(), c.interval);
        if (!c.timed)
            continue;
        for (int i = 0; i < c.ticks; ++i)
            EXPECT_TRUE(p.Tick()) << i;
        EXPECT_EQ(p.Percentage(), c.ticks ? 100 : 0);
        EXPECT_EQ(p.FilledWidth(), c.ticks ? c.right - c.left : 0);
        EXPECT_FALSE(p.Tick()); // time to close
    }

    // Ticks held back are caught up with, never going back; once the
    // closing tick is due, it closes.
    {
        SplashProgress p;
        p.SetBar(true, 6, 408);
        p.Start(3000);
        EXPECT_TRUE(p.TickTo(0));
        EXPECT_EQ(p.Percentage(), 5);
        EXPECT_TRUE(p.TickTo(8));
        EXPECT_EQ(p.Percentage(), 40);
        EXPECT_TRUE(p.TickTo(3));
        EXPECT_EQ(p.Percentage(), 45);
        EXPECT_TRUE(p.TickTo(20));
        EXPECT_EQ(p.Percentage(), 100);
        EXPECT_FALSE(p.TickTo(20));
        p.Start(3000);
        EXPECT_FALSE(p.TickTo(21));
    }

    // A new showing starts empty.
    SplashProgress p;
    p.SetBar(true, 6, 408);
    p.Start(3000);
    p.Tick();
    p.Tick();
    EXPECT_EQ(p.FilledWidth(), 40);
    p.Start(3000);
    EXPECT_EQ(p.Percentage(), 0);
}

TEST(CSplashScreenExTest, ShapedFramelessWindowOnTop)
{
    QPointer<CSplashScreenEx> splash = StartupSplash(15, 3000);
    EXPECT_EQ(splash->size(), QSize(430, 344));
    EXPECT_TRUE(splash->isWindow());
    const Qt::WindowFlags flags = splash->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_EQ(splash->mask(), splash->Shape());
    EXPECT_EQ(splash->Shape(), RegionOutsideKeyColour(LoadBitmapResource(387)));
    // Even unshaped, the window never shows the magenta around the picture.
    const QImage shot = splash->grab().toImage();
    EXPECT_NE(shot.pixel(0, 0), kMagenta);
    EXPECT_NE(shot.pixel(429, 343), kMagenta);

    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(splash->Position(), area.topLeft() + QPoint((area.width() - 430) / 2, (area.height() - 344) / 2));

    splash->Show();
    EXPECT_TRUE(splash->isVisible());
    EXPECT_EQ(splash->pos(), splash->Position());
    EXPECT_TRUE(splash->Timer().isActive());
    delete splash;
}

TEST(CSplashScreenExTest, CentredOnItsParent)
{
    QWidget frame;
    frame.setGeometry(100, 80, 900, 700);
    QPointer<CSplashScreenEx> splash = new CSplashScreenEx;
    splash->Create(CSplashScreenEx::CenterOnParent, &frame, 3000);
    ASSERT_TRUE(splash->SetBitmap());
    const QRect area = frame.frameGeometry();
    EXPECT_EQ(splash->Position(), area.topLeft() + QPoint((area.width() - 430) / 2, (area.height() - 344) / 2));
    EXPECT_TRUE(splash->isWindow());
    delete splash;
}

TEST(CSplashScreenExTest, MissingPictureLeavesNoShape)
{
    QPointer<CSplashScreenEx> splash = new CSplashScreenEx;
    splash->Create(0, nullptr, 3000);
    EXPECT_FALSE(splash->SetBitmap(QImage()));
    EXPECT_TRUE(splash->Shape().isEmpty());
    EXPECT_TRUE(splash->mask().isEmpty());
    delete splash;
}

// The program's clock in milliseconds, held still or moved by the test.
class HeldClock
{
public:
    HeldClock()
    {
        Platform::Clock::setTickSource([this] { return ms; });
    }
    ~HeldClock() { Platform::Clock::reset(); }
    qint64 ms = 1000;
};

TEST(CSplashScreenExTest, TimerFillsTheBarThenCloses)
{
    const HeldClock clock; // each tick comes on time
    QPointer<CSplashScreenEx> splash = StartupSplash(15, 3000);
    splash->Show();
    ASSERT_TRUE(splash->Timer().isActive());
    EXPECT_EQ(splash->Timer().interval(), 37);
    EXPECT_EQ(splash->Progress().Step(), 5);

    for (int i = 0; i < 10; ++i)
        splash->OnTimer();
    EXPECT_EQ(splash->Progress().Percentage(), 50);
    QImage shot = splash->grab().toImage();
    EXPECT_EQ(shot.pixel(6, 328), kBarColour);
    EXPECT_EQ(shot.pixel(6 + 200, 328), kBarColour);
    EXPECT_NE(shot.pixel(6 + 202, 328), kBarColour);

    // The version line, in its colour, within its rectangle.
    int inked = 0;
    for (int y = 120; y < 200; ++y)
        for (int x = 210; x < 430; ++x) {
            const QRgb p = shot.pixel(x, y);
            inked += qAbs(qRed(p) - 0x1F) < 40 && qAbs(qGreen(p) - 0x47) < 40 && qAbs(qBlue(p) - 0x8F) < 40;
        }
    EXPECT_GT(inked, 20);

    for (int i = 0; i < 10; ++i)
        splash->OnTimer();
    shot = splash->grab().toImage();
    EXPECT_EQ(shot.pixel(407, 328), kBarColour);
    EXPECT_TRUE(splash->isVisible());

    splash->OnTimer(); // full: the next tick closes
    ASSERT_FALSE(splash.isNull());
    EXPECT_FALSE(splash->isVisible());
    EXPECT_FALSE(splash->Timer().isActive());
    DeleteLaterNow();
    EXPECT_TRUE(splash.isNull());
}

// Work that holds the program (the start's data load) holds the timer too:
// the run goes on by the time since the showing, so that it overlaps the
// work rather than starting after it, and a run already over closes the
// window at the first tick.
TEST(CSplashScreenExTest, ARunHeldBackCatchesUpWithTheTime)
{
    HeldClock clock;
    QPointer<CSplashScreenEx> splash = StartupSplash(15, 3000);
    splash->Show();
    // Painted before Show returns, ahead of any work.
    ASSERT_NE(splash->windowHandle(), nullptr);
    EXPECT_TRUE(splash->windowHandle()->isExposed());

    clock.ms += 500; // 13 ticks of 37 ms were held back
    splash->OnTimer();
    EXPECT_EQ(splash->Progress().Percentage(), 65);
    splash->OnTimer(); // on time again: one step
    EXPECT_EQ(splash->Progress().Percentage(), 70);
    EXPECT_TRUE(splash->isVisible());

    QPointer<CSplashScreenEx> late = StartupSplash(15, 3000);
    late->Show();
    clock.ms += 2000; // longer than the whole run (21 ticks, 777 ms)
    late->OnTimer();
    DeleteLaterNow();
    EXPECT_TRUE(late.isNull());
    delete splash;
}

TEST(CSplashScreenExTest, WithoutABarTheFirstTickCloses)
{
    for (bool zeroWidth : {false, true}) {
        SCOPED_TRACE(zeroWidth ? "bar of no width" : "no bar");
        QPointer<CSplashScreenEx> splash = StartupSplash(0, 3000, false);
        if (zeroWidth)
            splash->SetProgressBar(0x2AD605, 10, 318, 10, 338);
        splash->Show();
        EXPECT_EQ(splash->Timer().interval(), 3000);
        const QImage shot = splash->grab().toImage();
        EXPECT_NE(shot.pixel(10, 328), kBarColour);
        splash->OnTimer();
        DeleteLaterNow();
        EXPECT_TRUE(splash.isNull());
    }
}

TEST(CSplashScreenExTest, ClosesOnInputOnlyWhenAsked)
{
    QLineEdit elsewhere;
    for (bool closeOnInput : {false, true}) {
        SCOPED_TRACE(closeOnInput ? "with 0x20" : "without 0x20");
        // A display time of 0: no timer at all.
        QPointer<CSplashScreenEx> splash = StartupSplash(closeOnInput ? CSplashScreenEx::CloseOnInput : 0, 0);
        splash->Show();
        EXPECT_FALSE(splash->Timer().isActive());

        QTest::mouseClick(splash, Qt::LeftButton, {}, QPoint(200, 150));
        DeleteLaterNow();
        EXPECT_EQ(splash.isNull(), closeOnInput);
        if (splash) {
            EXPECT_TRUE(splash->isVisible());
            QTest::keyClick(&elsewhere, Qt::Key_A);
            EXPECT_EQ(elsewhere.text(), QStringLiteral("a"));
            delete splash;
        }
    }

    // A key pressed in another window closes it too, and is not typed.
    elsewhere.clear();
    QPointer<CSplashScreenEx> splash = StartupSplash(CSplashScreenEx::CloseOnInput, 0);
    splash->Show();
    QTest::keyClick(&elsewhere, Qt::Key_B);
    EXPECT_TRUE(elsewhere.text().isEmpty());
    DeleteLaterNow();
    EXPECT_TRUE(splash.isNull());

    // Gone, it no longer watches the program's input.
    QTest::keyClick(&elsewhere, Qt::Key_C);
    EXPECT_EQ(elsewhere.text(), QStringLiteral("c"));
}

TEST(CSplashScreenExTest, WaitUntilClosedEndsWhenTheWindowGoes)
{
    CSplashScreenEx::WaitUntilClosed(nullptr);
    QPointer<QWidget> none;
    CSplashScreenEx::WaitUntilClosed(none);

    QPointer<CSplashScreenEx> splash = StartupSplash(CSplashScreenEx::CloseOnInput, 0);
    splash->Show();
    // The key waits in the queue: the loop delivers it, the window closes
    // and is deleted, and the wait ends.
    QCoreApplication::postEvent(splash, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    CSplashScreenEx::WaitUntilClosed(splash);
    EXPECT_TRUE(splash.isNull());
}

TEST(CSplashScreenExTest, CreateEmptiesTheFirstLine)
{
    QPointer<CSplashScreenEx> splash = new CSplashScreenEx;
    splash->SetText(0, QStringLiteral("old"));
    splash->SetText(1, QStringLiteral("kept"));
    splash->SetText(3, QStringLiteral("ignored"));
    splash->Create(CSplashScreenEx::CloseOnInput, nullptr, 1234);
    EXPECT_TRUE(splash->Text(0).isEmpty());
    EXPECT_EQ(splash->Text(1), QStringLiteral("kept"));
    EXPECT_TRUE(splash->Text(3).isEmpty());
    EXPECT_EQ(splash->DisplayTime(), 1234);
    EXPECT_EQ(splash->Style(), int(CSplashScreenEx::CloseOnInput));
    delete splash;
}

TEST(CSplashScreenExTest, StartupSplashAsTheProgramShowsIt)
{
    QPointer<CSplashScreenEx> splash = CSplashScreenEx::ShowStartupSplash(
        nullptr, QStringLiteral("Version 1.0.0"), QStringLiteral("Suivi du temps et des projets"),
        QStringLiteral("Initialisation en cours ..."));
    ASSERT_FALSE(splash.isNull());
    EXPECT_TRUE(splash->isVisible());
    EXPECT_EQ(splash->Style(), 15);
    EXPECT_EQ(splash->DisplayTime(), 3000);
    EXPECT_EQ(splash->Timer().interval(), 37);
    EXPECT_EQ(splash->size(), QSize(430, 344));
    EXPECT_EQ(splash->Text(2), QStringLiteral("Initialisation en cours ..."));

    // Version in blue on the right, the initialising line in grey at the
    // bottom left; the empty bar waits above the bottom edge.
    const QImage shot = splash->grab().toImage();
    const auto inked = [&](const QRect &area, QRgb colour) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) {
                const QRgb p = shot.pixel(x, y);
                n += qAbs(qRed(p) - qRed(colour)) < 30 && qAbs(qGreen(p) - qGreen(colour)) < 30
                     && qAbs(qBlue(p) - qBlue(colour)) < 30;
            }
        return n;
    };
    EXPECT_GT(inked(QRect(210, 120, 220, 80), qRgb(0x1F, 0x47, 0x8F)), 20);
    EXPECT_GT(inked(QRect(20, 290, 200, 25), qRgb(0x50, 0x50, 0x50)), 20);
    EXPECT_GT(inked(QRect(210, 220, 220, 60), qRgb(0, 0, 0)), 20);
    EXPECT_EQ(inked(QRect(7, 319, 400, 18), kBarColour), 0);
    delete splash;
}
