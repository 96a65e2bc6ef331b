#include "BitmapResources.h"
#include "CRangeSlider.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include "PixelColours.h"

#include <gtest/gtest.h>

namespace {

constexpr int kId = 1334;

// Set up as the display options do: pictures, a day in minutes, margins
// -2, 29, -2, 0, no focus rectangle, marks at 6:00, 12:00 and 18:00, and
// the periods 8:00-12:00 and 13:30-18:00 (the second selected).
struct DaySlider
{
    CRangeSlider slider;
    QSignalSpy changing{&slider, &CRangeSlider::changing};
    QSignalSpy changed{&slider, &CRangeSlider::changed};

    DaySlider()
    {
        slider.SetId(kId);
        EXPECT_TRUE(slider.SetChannelBitmaps());
        EXPECT_TRUE(slider.SetThumbBitmaps());
        slider.SetRange(0, 1440);
        slider.SetMargins(-2, 29, -2, 0);
        slider.SetDrawFocusRect(false);
        slider.AddScaleMark(360, QStringLiteral("6:00"));
        slider.AddScaleMark(720, QStringLiteral("12:00"));
        slider.AddScaleMark(1080, QStringLiteral("18:00"));
        slider.AppendZone(480, 720);
        slider.AppendZone(810, 1080);
        slider.SetSelectedIndex(1);
    }
};

} // namespace

TEST(CRangeSliderTest, TakesItsPicturesSizesAndBand)
{
    DaySlider d;
    EXPECT_EQ(d.slider.size(), QSize(400, 40));
    EXPECT_EQ(d.slider.ZoneBandTop(), 17);
    EXPECT_EQ(d.slider.ValueToPixel(720), 199);
    EXPECT_EQ(d.slider.PixelToValue(199), 718);
    EXPECT_EQ(d.slider.GetTotalSeconds(), (240 + 270) * 60);
}

TEST(CRangeSliderTest, MouseReportsChangingThenChanged)
{
    DaySlider d;
    d.slider.SetPos(12);
    QTest::mousePress(&d.slider, Qt::LeftButton, {}, QPoint(211, 33)); // in the gap
    EXPECT_TRUE(d.slider.IsDragging());
    ASSERT_EQ(d.slider.Zones().size(), 3u);
    EXPECT_EQ(d.slider.SelectedZone(), 1);
    ASSERT_EQ(d.changing.count(), 1);
    EXPECT_EQ(d.changing.at(0), (QList<QVariant>{kId, 12}));

    QTest::mouseMove(&d.slider, QPoint(218, 33));
    EXPECT_EQ(d.changing.count(), 2);
    EXPECT_EQ(d.slider.Zones()[1].pixelTo, 218);
    EXPECT_EQ(d.changed.count(), 0);

    QTest::mouseRelease(&d.slider, Qt::LeftButton, {}, QPoint(218, 33));
    EXPECT_FALSE(d.slider.IsDragging());
    ASSERT_EQ(d.changed.count(), 1);
    EXPECT_EQ(d.changed.at(0), (QList<QVariant>{kId, 12}));

    // Not dragging: moves change nothing and report nothing.
    QTest::mouseMove(&d.slider, QPoint(300, 33));
    EXPECT_EQ(d.changing.count(), 2);
    EXPECT_EQ(d.slider.Zones()[1].pixelTo, 218);
}

TEST(CRangeSliderTest, KeysStepThePositionOnly)
{
    DaySlider d;
    d.slider.SetPageSize(60);
    const std::vector<CRangeSlider::tZone> before = d.slider.Zones();
    const struct
    {
        Qt::Key key;
        int position;
    } steps[] = {{Qt::Key_PageDown, 60}, {Qt::Key_Right, 61}, {Qt::Key_End, 1440},
                 {Qt::Key_Down, 1440},   {Qt::Key_Home, 0},    {Qt::Key_Up, 0}};
    for (const auto &s : steps) {
        d.changed.clear();
        QTest::keyClick(&d.slider, s.key);
        EXPECT_EQ(d.slider.GetPos(), s.position) << s.key;
        ASSERT_EQ(d.changed.count(), 1);
        EXPECT_EQ(d.changed.at(0), (QList<QVariant>{kId, s.position}));
    }
    ASSERT_EQ(d.slider.Zones().size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(d.slider.Zones()[i].from, before[i].from);
        EXPECT_EQ(d.slider.Zones()[i].pixelTo, before[i].pixelTo);
    }
    EXPECT_EQ(d.changing.count(), 0);
}

TEST(CRangeSliderTest, PaintsStripsThumbsAndScale)
{
    DaySlider d;
    const QRgb channel = qRgb(0xf6, 0xf8, 0xfa), zone = qRgb(0xa9, 0xd6, 0xf1), selected = qRgb(0x3d, 0xae, 0xe9);
    const QRgb thumb = qRgb(0xd3, 0xd9, 0xdf), selectedThumb = qRgb(0x3d, 0xae, 0xe9);

    QImage shot = d.slider.grab().toImage();
    EXPECT_TRUE(Near(shot.pixel(60, 22), channel));
    EXPECT_TRUE(Near(shot.pixel(160, 22), zone));
    EXPECT_TRUE(Near(shot.pixel(260, 22), selected));
    EXPECT_TRUE(Near(shot.pixel(133, 34), thumb));
    EXPECT_TRUE(Near(shot.pixel(224, 34), selectedThumb));
    EXPECT_TRUE(Near(shot.pixel(298, 34), selectedThumb));

    // Each mark: a dotted grey line under its label, down to the channel.
    const int labelHeight = QFontMetrics(QApplication::font()).height();
    for (int x : {100, 199, 298}) {
        int grey = 0;
        for (int y = labelHeight + 1; y < 17; ++y)
            grey += Near(shot.pixel(x, y), qRgb(100, 100, 100)) ? 1 : 0;
        EXPECT_GT(grey, 0) << x;
    }

    // Another selection swaps the strips.
    d.slider.SetSelectedIndex(0);
    shot = d.slider.grab().toImage();
    EXPECT_TRUE(Near(shot.pixel(160, 22), selected));
    EXPECT_TRUE(Near(shot.pixel(260, 22), zone));

    // Disabled: the bare channel.
    d.slider.setEnabled(false);
    shot = d.slider.grab().toImage();
    EXPECT_TRUE(Near(shot.pixel(160, 22), channel));
    EXPECT_FALSE(Near(shot.pixel(133, 34), thumb));
}

TEST(CRangeSliderTest, MissingPicturesAreRefusedAndNothingBreaks)
{
    CRangeSlider slider;
    EXPECT_FALSE(slider.SetChannelBitmaps(LoadBitmapResource(482), QImage()));
    EXPECT_FALSE(slider.SetChannelBitmaps(QImage(), LoadBitmapResource(483)));
    EXPECT_FALSE(slider.SetThumbBitmaps(LoadBitmapResource(484), QImage()));
    EXPECT_FALSE(slider.SetThumbBitmaps(QImage(), LoadBitmapResource(485)));
    EXPECT_EQ(slider.ZoneBandTop(), 0);

    // Edits without a selected zone fail; a press still makes a zone.
    EXPECT_FALSE(slider.SetSelectedZone(2, 10));
    slider.resize(200, 30);
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(50, 10));
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(50, 10));
    EXPECT_EQ(slider.Zones().size(), 1u);
    EXPECT_TRUE(slider.SetSelectedZone(3, 90));
    slider.grab();
}

TEST(CRangeSliderTest, VerticalSliderRunsDownItsHeight)
{
    CRangeSlider slider;
    ASSERT_TRUE(slider.SetChannelBitmaps());
    ASSERT_TRUE(slider.SetThumbBitmaps());
    slider.SetVertical(true);
    slider.SetRange(0, 1440);
    slider.SetMargins(29, -2, 0, -2); // across, then along the axis
    slider.SetDrawFocusRect(false);
    EXPECT_EQ(slider.size(), QSize(40, 400));
    slider.AppendZone(480, 720);
    EXPECT_EQ(slider.Zones()[0].pixelFrom, 133);
    EXPECT_EQ(slider.Zones()[0].pixelTo, 199);

    // The strip lies across the band, turned on its side.
    const QImage shot = slider.grab().toImage();
    EXPECT_TRUE(Near(shot.pixel(22, 160), qRgb(0xa9, 0xd6, 0xf1)));
    EXPECT_TRUE(Near(shot.pixel(22, 60), qRgb(0xf6, 0xf8, 0xfa)));

    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(20, 260));
    QTest::mouseMove(&slider, QPoint(20, 280));
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(20, 280));
    ASSERT_EQ(slider.Zones().size(), 2u);
    EXPECT_EQ(slider.Zones()[1].pixelFrom, 260);
    EXPECT_EQ(slider.Zones()[1].pixelTo, 280);
}
