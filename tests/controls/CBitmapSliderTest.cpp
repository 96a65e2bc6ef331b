#include "BitmapResources.h"
#include "CBitmapSlider.h"

#include <QSignalSpy>
#include <QTest>

#include "PixelColours.h"

#include <gtest/gtest.h>

namespace {

constexpr int kId = 1391;

// The slider with its own pictures: a 160-pixel channel and an 11-pixel
// thumb, so value v sits at pixel 5 + trunc(149 v / 100).
struct Slider
{
    CBitmapSlider slider;
    QSignalSpy moving{&slider, &CBitmapSlider::moving};
    QSignalSpy moved{&slider, &CBitmapSlider::moved};
    QSignalSpy clicked{&slider, &CBitmapSlider::clicked};

    Slider()
    {
        slider.SetId(kId);
        EXPECT_TRUE(slider.SetChannelBitmaps());
        EXPECT_TRUE(slider.SetThumbBitmaps());
    }
    void Clear()
    {
        moving.clear();
        moved.clear();
        clicked.clear();
    }
    int Pixel(int value) const { return slider.Geometry().ValueToPixel(value); }
};

QList<QVariant> Args(int id, int position)
{
    return {id, position};
}

} // namespace

TEST(CBitmapSliderTest, TakesItsPicturesSizes)
{
    Slider s;
    EXPECT_EQ(s.slider.size(), QSize(160, 20));
    EXPECT_EQ(s.slider.Geometry().thumbWidth, 11);
    EXPECT_EQ(s.slider.Geometry().thumbHeight, 20);
    EXPECT_EQ(s.Pixel(0), 5);
    EXPECT_EQ(s.Pixel(100), 154);
}

TEST(CBitmapSliderTest, KeysMoveThePositionAndReportIt)
{
    struct Case
    {
        int from;
        Qt::Key key;
        int expected;
    };
    const Case cases[] = {
        {90, Qt::Key_PageDown, 100}, {50, Qt::Key_PageDown, 70}, {10, Qt::Key_PageUp, 0},
        {40, Qt::Key_Home, 0},       {40, Qt::Key_End, 100},     {40, Qt::Key_Right, 41},
        {40, Qt::Key_Down, 41},      {40, Qt::Key_Left, 39},     {0, Qt::Key_Up, 0},
    };
    Slider s;
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "key " << c.key << " from " << c.from);
        s.slider.SetPos(c.from);
        s.Clear();
        QTest::keyClick(&s.slider, c.key);
        EXPECT_EQ(s.slider.GetPos(), c.expected);
        ASSERT_EQ(s.moved.count(), 1);
        EXPECT_EQ(s.moved.at(0), Args(kId, c.expected));
        EXPECT_EQ(s.moving.count(), 0);
    }
    // Other keys are left to the dialog.
    s.Clear();
    QTest::keyClick(&s.slider, Qt::Key_A);
    EXPECT_EQ(s.moved.count(), 0);
}

TEST(CBitmapSliderTest, PressBesideTheThumbJumpsPressOnItKeepsTheGrip)
{
    struct Case
    {
        const char *name;
        int offset;   // from the thumb's centre (pixel 5 at position 0)
        int position; // after the press
    };
    const Case cases[] = {
        {"one pixel beyond half the thumb", 6, 4}, // pixel 11 is value 4
        {"at half the thumb", 5, 0},
        {"on the thumb's centre", 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Slider s;
        QTest::mousePress(&s.slider, Qt::LeftButton, {}, QPoint(5 + c.offset, 10));
        EXPECT_TRUE(s.slider.IsDragging());
        EXPECT_EQ(s.slider.GetPos(), c.position);
        EXPECT_EQ(s.moving.count(), c.position != 0 ? 1 : 0);
        QTest::mouseRelease(&s.slider, Qt::LeftButton, {}, QPoint(5 + c.offset, 10));
        EXPECT_FALSE(s.slider.IsDragging());
        ASSERT_EQ(s.moved.count(), 1);
        EXPECT_EQ(s.moved.at(0), Args(kId, c.position));
    }
}

TEST(CBitmapSliderTest, DragFollowsTheMouseWithinTheChannel)
{
    Slider s;
    s.slider.SetPos(50);
    const int start = s.Pixel(50); // 79
    QTest::mousePress(&s.slider, Qt::LeftButton, {}, QPoint(start + 2, 10));
    EXPECT_EQ(s.moving.count(), 0);

    // The grip is kept: 30 pixels further the thumb's centre is at 109.
    QTest::mouseMove(&s.slider, QPoint(start + 32, 10));
    EXPECT_EQ(s.slider.GetPos(), s.slider.Geometry().PixelToValue(start + 30));
    ASSERT_EQ(s.moving.count(), 1);
    EXPECT_EQ(s.moving.at(0), Args(kId, s.slider.GetPos()));

    // Far beyond either end: the ends of the range.
    QTest::mouseMove(&s.slider, QPoint(500, 10));
    EXPECT_EQ(s.slider.GetPos(), 100);
    QTest::mouseMove(&s.slider, QPoint(-300, 10));
    EXPECT_EQ(s.slider.GetPos(), 0);
    EXPECT_EQ(s.moving.count(), 3);
    EXPECT_EQ(s.moved.count(), 0);

    QTest::mouseRelease(&s.slider, Qt::LeftButton, {}, QPoint(-300, 10));
    ASSERT_EQ(s.moved.count(), 1);
    EXPECT_EQ(s.moved.at(0), Args(kId, 0));

    // Moves after the release drag nothing.
    QTest::mouseMove(&s.slider, QPoint(100, 10));
    EXPECT_EQ(s.slider.GetPos(), 0);
}

TEST(CBitmapSliderTest, NotifyOnlyReportsClicksAndKeysWithoutMoving)
{
    Slider s;
    s.slider.SetNotifyOnly(true);
    s.slider.SetPos(30);
    QTest::mousePress(&s.slider, Qt::LeftButton, {}, QPoint(140, 10));
    QTest::mouseMove(&s.slider, QPoint(150, 10));
    QTest::mouseRelease(&s.slider, Qt::LeftButton, {}, QPoint(150, 10));
    QTest::keyClick(&s.slider, Qt::Key_End);
    QTest::keyClick(&s.slider, Qt::Key_PageDown);
    EXPECT_EQ(s.slider.GetPos(), 30);
    EXPECT_EQ(s.clicked.count(), 3);
    EXPECT_EQ(s.clicked.at(0), QList<QVariant>{kId});
    EXPECT_EQ(s.moving.count(), 0);
    EXPECT_EQ(s.moved.count(), 0);
}

TEST(CBitmapSliderTest, AReleaseWithoutAPressReportsNothing)
{
    Slider s;
    QTest::mouseRelease(&s.slider, Qt::LeftButton, {}, QPoint(40, 10));
    QTest::mousePress(&s.slider, Qt::RightButton, {}, QPoint(40, 10));
    QTest::mouseRelease(&s.slider, Qt::RightButton, {}, QPoint(40, 10));
    EXPECT_EQ(s.moved.count(), 0);
    EXPECT_EQ(s.moving.count(), 0);
    EXPECT_EQ(s.slider.GetPos(), 0);
}

TEST(CBitmapSliderTest, PaintsTheFilledChannelUpToTheThumb)
{
    Slider s;
    s.slider.SetDrawFocusRect(false);
    s.slider.SetPos(50); // thumb over pixels 74..84
    const QRgb filled = qRgb(0x3d, 0xae, 0xe9), groove = qRgb(0xdf, 0xe3, 0xe8);
    const QRgb face = qRgb(0xfc, 0xfc, 0xfc), draggedFace = qRgb(0xe3, 0xf2, 0xfb);

    QImage shot = s.slider.grab().toImage();
    EXPECT_TRUE(Near(shot.pixel(40, 10), filled));
    EXPECT_TRUE(Near(shot.pixel(120, 10), groove));
    EXPECT_TRUE(Near(shot.pixel(79, 4), face));

    QTest::mousePress(&s.slider, Qt::LeftButton, {}, QPoint(79, 10));
    shot = s.slider.grab().toImage();
    EXPECT_TRUE(Near(shot.pixel(79, 4), draggedFace));
    QTest::mouseRelease(&s.slider, Qt::LeftButton, {}, QPoint(79, 10));

    // Disabled: the plain channel, no thumb.
    s.slider.setEnabled(false);
    shot = s.slider.grab().toImage();
    EXPECT_TRUE(Near(shot.pixel(40, 10), groove));
    EXPECT_TRUE(Near(shot.pixel(79, 10), groove));
}

TEST(CBitmapSliderTest, MissingPicturesLeaveAWorkingSlider)
{
    CBitmapSlider slider;
    const QImage thumb = LoadBitmapResource(477);
    EXPECT_FALSE(slider.SetChannelBitmaps(LoadBitmapResource(474), QImage()));
    EXPECT_FALSE(slider.SetThumbBitmaps(thumb, QImage()));
    EXPECT_FALSE(slider.SetThumbBitmaps(QImage(), thumb));

    // No channel and an empty range: no division by zero, the minimum.
    slider.resize(0, 0);
    slider.SetRange(5, 5);
    QSignalSpy moved(&slider, &CBitmapSlider::moved);
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseMove(&slider, QPoint(9, 3));
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(9, 3));
    QTest::keyClick(&slider, Qt::Key_PageDown);
    EXPECT_EQ(slider.GetPos(), 5);
    EXPECT_EQ(moved.count(), 2);
    slider.grab(); // paints without pictures
}
