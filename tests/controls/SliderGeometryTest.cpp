#include "DayGeometry.h"
#include "SliderGeometry.h"

#include <QtCore/qnamespace.h>

#include <gtest/gtest.h>

#include <climits>

TEST(SliderGeometryTest, DayValuesAndPixelsBothWays)
{
    const SliderGeometry g = DayGeometry();
    // Value -> pixel -> value loses a little: the figures hosts rely on.
    const int table[][3] = {
        {0, 1, 0},
        {360, 100, 359},
        {720, 199, 718},
        {1080, 298, 1077},
        {1440, 398, 1440},
    };
    for (const auto &row : table) {
        SCOPED_TRACE(row[0]);
        EXPECT_EQ(g.ValueToPixel(row[0]), row[1]);
        EXPECT_EQ(g.PixelToValue(row[1]), row[2]);
    }
    EXPECT_EQ(g.StartPixel(), 1);
}

TEST(SliderGeometryTest, VerticalUsesHeightAndTopBottomMargins)
{
    SliderGeometry g;
    g.vertical = true;
    g.channelWidth = 5; // across the axis: ignored
    g.channelHeight = 110;
    g.marginTop = 3;
    g.marginBottom = 2;
    g.marginLeft = 50;
    g.thumbHeight = 5;
    g.thumbWidth = 99;
    // span = 110 - 2 - 5 - 3 = 100 pixels for 0..100
    EXPECT_EQ(g.ValueToPixel(0), 3 + 2);
    EXPECT_EQ(g.ValueToPixel(37), 3 + 37 + 2);
    EXPECT_EQ(g.PixelToValue(3 + 37 + 2), 37);
    EXPECT_EQ(g.CrossMargin(), 50);
}

TEST(SliderGeometryTest, EmptyRangeOrNarrowChannelGivesTheStart)
{
    struct Case
    {
        const char *name;
        int width, thumb, minimum, maximum;
    };
    const Case cases[] = {
        {"maximum equals minimum", 400, 7, 50, 50},
        {"no channel (picture missing)", 0, 7, 0, 100},
        {"channel only as wide as margins and thumb", 7, 7, 0, 100},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SliderGeometry g;
        g.channelWidth = c.width;
        g.thumbWidth = c.thumb;
        g.marginLeft = 0;
        g.minimum = c.minimum;
        g.maximum = c.maximum;
        EXPECT_EQ(g.ValueToPixel(c.maximum), c.thumb / 2);
        EXPECT_EQ(g.PixelToValue(300), c.minimum);
    }
}

TEST(SliderGeometryTest, ExtremeValuesStayDefined)
{
    SliderGeometry g;
    g.channelWidth = 100;
    g.minimum = INT_MIN;
    g.maximum = INT_MAX;
    EXPECT_EQ(g.ValueToPixel(INT_MIN), 0);
    EXPECT_EQ(g.ValueToPixel(INT_MAX), 100);
    EXPECT_EQ(g.PixelToValue(INT_MAX), INT_MAX);
    EXPECT_EQ(g.PixelToValue(INT_MIN), INT_MIN);
}

TEST(SliderGeometryTest, KeysMoveThePositionWithinTheRange)
{
    struct Case
    {
        int key, from, expected;
    };
    const Case cases[] = {
        {Qt::Key_PageDown, 90, 100}, {Qt::Key_PageDown, 30, 50}, {Qt::Key_PageUp, 10, 0},
        {Qt::Key_PageUp, 50, 30},    {Qt::Key_Home, 77, 0},      {Qt::Key_End, 3, 100},
        {Qt::Key_Right, 100, 100},   {Qt::Key_Down, 5, 6},       {Qt::Key_Left, 0, 0},
        {Qt::Key_Up, 5, 4},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "key " << c.key << " from " << c.from);
        SliderGeometry g; // 0..100, page 20
        g.position = c.from;
        const std::optional<int> next = g.PositionAfterKey(c.key);
        ASSERT_TRUE(next.has_value());
        EXPECT_EQ(*next, c.expected);
    }
    SliderGeometry g;
    EXPECT_FALSE(g.PositionAfterKey(Qt::Key_Space).has_value());
    EXPECT_FALSE(g.PositionAfterKey(Qt::Key_Tab).has_value());

    g.position = 5;
    EXPECT_TRUE(g.SetPos(150));
    EXPECT_EQ(g.position, 100);
    EXPECT_FALSE(g.SetPos(100));
    EXPECT_TRUE(g.SetPos(-4));
    EXPECT_EQ(g.position, 0);
}
