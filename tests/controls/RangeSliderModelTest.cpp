#include "DayGeometry.h"
#include "RangeSliderModel.h"

#include <gtest/gtest.h>

namespace {

using tZone = RangeSliderModel::tZone;

// The working-periods slider of the display options with two periods: 8:00-12:00 (pixels
// 133..199) and 13:30-18:00 (pixels 224..298).
RangeSliderModel DayModel()
{
    RangeSliderModel m;
    m.geometry = DayGeometry();
    m.AppendZone(480, 720);
    m.AppendZone(810, 1080);
    return m;
}

void ExpectZone(const tZone &z, int from, int to, int pixelFrom, int pixelTo)
{
    EXPECT_EQ(z.from, from);
    EXPECT_EQ(z.to, to);
    EXPECT_EQ(z.pixelFrom, pixelFrom);
    EXPECT_EQ(z.pixelTo, pixelTo);
}

// Zones stay ordered and never overlap, in values and in pixels.
void ExpectOrdered(const RangeSliderModel &m)
{
    for (size_t i = 0; i < m.zones.size(); ++i) {
        EXPECT_LE(m.zones[i].from, m.zones[i].to) << i;
        if (i > 0) {
            EXPECT_LE(m.zones[i - 1].to, m.zones[i].from) << i;
            EXPECT_LE(m.zones[i - 1].pixelTo, m.zones[i].pixelFrom) << i;
        }
    }
}

} // namespace

TEST(RangeSliderModelTest, ZonesAppendedWithTheirPixels)
{
    const RangeSliderModel m = DayModel();
    ASSERT_EQ(m.zones.size(), 2u);
    ExpectZone(m.zones[0], 480, 720, 133, 199);
    ExpectZone(m.zones[1], 810, 1080, 224, 298);
    EXPECT_EQ(m.GetTotalSeconds(), (240 + 270) * 60);
    EXPECT_EQ(RangeSliderModel().GetTotalSeconds(), 0);
}

TEST(RangeSliderModelTest, PressOutsideZonesMakesAnEmptyZoneDecidedByTheFirstMove)
{
    struct Case
    {
        const char *name;
        int c;         // press
        size_t index;  // where the new zone goes
        int value;     // PixelToValue(c)
    };
    const Case cases[] = {
        {"gap between the zones", 211, 1, 761},
        {"before the first zone", 50, 0, 177},
        {"after the last zone", 350, 2, 1265},
    };
    for (const Case &c : cases) {
        for (int direction : {+1, -1}) {
            SCOPED_TRACE(testing::Message() << c.name << (direction > 0 ? ", then right" : ", then left"));
            RangeSliderModel m = DayModel();
            m.ButtonDown(c.c);
            ASSERT_EQ(m.zones.size(), 3u);
            EXPECT_EQ(m.selected, int(c.index));
            EXPECT_EQ(m.DragModeNow(), RangeSliderModel::DragUndecided);
            ExpectZone(m.zones[c.index], c.value, c.value, c.c, c.c);

            // Two pixels either way decide nothing: the zone stays empty.
            for (int d : {2, -2, 1, 0}) {
                EXPECT_TRUE(m.MouseMove(c.c + d));
                ExpectZone(m.zones[c.index], c.value, c.value, c.c, c.c);
                EXPECT_EQ(m.DragModeNow(), RangeSliderModel::DragUndecided);
            }

            // The first larger move picks the end (rightwards) or the start.
            EXPECT_TRUE(m.MouseMove(c.c + 5 * direction));
            const tZone &z = m.zones[c.index];
            if (direction > 0) {
                EXPECT_EQ(m.DragModeNow(), RangeSliderModel::DragEnd);
                ExpectZone(z, c.value, m.PixelToValue(c.c + 5), c.c, c.c + 5);
            } else {
                EXPECT_EQ(m.DragModeNow(), RangeSliderModel::DragStart);
                ExpectZone(z, m.PixelToValue(c.c - 5), c.value, c.c - 5, c.c);
            }
            ExpectOrdered(m);
            m.ButtonUp();
            EXPECT_EQ(m.DragModeNow(), RangeSliderModel::DragNone);
        }
    }
}

TEST(RangeSliderModelTest, PressOnAZonePicksItsEdgeOrTheWholeZone)
{
    struct Case
    {
        const char *name;
        int selectedBefore;
        int c;
        int selectedAfter;
        int mode;
    };
    const Case cases[] = {
        {"start of a zone", -1, 133, 0, RangeSliderModel::DragStart},
        {"half a thumb before its start", -1, 130, 0, RangeSliderModel::DragStart},
        {"end of a zone", -1, 199, 0, RangeSliderModel::DragEnd},
        {"half a thumb after its end", -1, 202, 0, RangeSliderModel::DragEnd},
        {"inside a zone", -1, 160, 0, RangeSliderModel::DragZone},
        {"another zone than the selected one", 1, 201, 0, RangeSliderModel::DragEnd},
        {"inside the selected zone", 1, 260, 1, RangeSliderModel::DragZone},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        RangeSliderModel m = DayModel();
        m.selected = c.selectedBefore;
        m.ButtonDown(c.c);
        EXPECT_EQ(m.zones.size(), 2u);
        EXPECT_EQ(m.selected, c.selectedAfter);
        EXPECT_EQ(m.DragModeNow(), c.mode);
    }
}

TEST(RangeSliderModelTest, TouchingZonesAndEmptyZonesUnderAPress)
{
    // 8:00-12:00 touching 12:00-15:00 at pixel 199; an empty zone at 16:00.
    RangeSliderModel m = DayModel();
    m.zones.clear();
    m.AppendZone(480, 720);
    m.AppendZone(720, 900);
    m.AppendZone(960, 960);
    const int emptyPixel = m.zones[2].pixelFrom;

    const struct
    {
        int selectedBefore, c, selectedAfter, mode;
    } cases[] = {
        {-1, 199, 0, RangeSliderModel::DragEnd},   // the first zone reached wins
        {0, 199, 0, RangeSliderModel::DragEnd},    // the selected zone is tried first
        {1, 199, 1, RangeSliderModel::DragStart},  // ... whichever it is
        {-1, emptyPixel + 1, 2, RangeSliderModel::DragUndecided}, // both edges under the press
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "selected " << c.selectedBefore << " press " << c.c);
        RangeSliderModel copy = m;
        copy.selected = c.selectedBefore;
        copy.ButtonDown(c.c);
        EXPECT_EQ(copy.zones.size(), 3u);
        EXPECT_EQ(copy.selected, c.selectedAfter);
        EXPECT_EQ(copy.DragModeNow(), c.mode);
    }

    // The undecided press on the empty zone: a move right drags its end.
    m.ButtonDown(emptyPixel + 1);
    EXPECT_TRUE(m.MouseMove(emptyPixel + 11));
    EXPECT_EQ(m.DragModeNow(), RangeSliderModel::DragEnd);
    EXPECT_EQ(m.zones[2].pixelFrom, emptyPixel);
    EXPECT_EQ(m.zones[2].pixelTo, emptyPixel + 10);
    EXPECT_GT(m.zones[2].to, 960);
}

TEST(RangeSliderModelTest, DraggedZoneStopsAtItsNeighboursKeepingItsLength)
{
    RangeSliderModel m = DayModel();
    m.ButtonDown(260); // inside 13:30-18:00, 74 pixels long
    ASSERT_EQ(m.DragModeNow(), RangeSliderModel::DragZone);

    // Far left: stops against 8:00-12:00, touching it (12:00 exactly, not
    // the 11:58 its pixel reads back as).
    EXPECT_TRUE(m.MouseMove(0));
    ExpectZone(m.zones[1], 720, m.PixelToValue(273), 199, 273);
    ExpectOrdered(m);

    // Far right: stops at the end of the day.
    EXPECT_TRUE(m.MouseMove(1000));
    ExpectZone(m.zones[1], m.PixelToValue(324), 1440, 324, 398);
    ExpectOrdered(m);

    // Back where it started: the zone as it was at the press.
    EXPECT_TRUE(m.MouseMove(260));
    ExpectZone(m.zones[1], 810, 1080, 224, 298);

    // Ten pixels right.
    EXPECT_TRUE(m.MouseMove(270));
    ExpectZone(m.zones[1], m.PixelToValue(234), m.PixelToValue(308), 234, 308);
}

TEST(RangeSliderModelTest, DraggedEdgesStopAtNeighbourAndOnePixelShortOfTheOtherEdge)
{
    struct Case
    {
        const char *name;
        int press, move;
        int from, to, pixelFrom, pixelTo;
    };
    const Case cases[] = {
        // Start pushed into the previous zone: stops at its end, 12:00.
        {"start left into the neighbour", 224, 100, 720, 1080, 199, 298},
        {"start right past the end", 224, 400, 1073, 1080, 297, 298},
        {"end left past the start", 298, 100, 810, 812, 224, 225},
        {"end right past the day", 298, 420, 810, 1440, 224, 398},
        {"start moved back to the press", 224, 224, 810, 1080, 224, 298},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        RangeSliderModel m = DayModel();
        m.selected = 1;
        m.ButtonDown(c.press);
        if (c.press != c.move) {
            EXPECT_TRUE(m.MouseMove(c.press + (c.move > c.press ? 1 : -1)));
        }
        EXPECT_TRUE(m.MouseMove(c.move));
        ExpectZone(m.zones[1], c.from, c.to, c.pixelFrom, c.pixelTo);
        ExpectOrdered(m);
    }
}

TEST(RangeSliderModelTest, SetSelectedZoneWithinItsBounds)
{
    struct Case
    {
        const char *name;
        int selected, kind, value;
        int from, to;
    };
    const Case cases[] = {
        {"move before the previous zone", 1, 1, 600, 720, 990},
        {"move past the end of the day", 1, 1, 1300, 1170, 1440},
        {"move freely", 1, 1, 900, 900, 1170},
        {"first zone moved before midnight", 0, 1, -50, 0, 240},
        {"first zone moved into the next", 0, 1, 700, 570, 810},
        {"start before the previous end", 1, 2, 700, 720, 1080},
        {"start at the end", 1, 2, 1080, 1080, 1080},
        {"start beyond the end", 1, 2, 1200, 1080, 1080},
        {"start inside", 1, 2, 900, 900, 1080},
        {"end at the start", 1, 3, 810, 810, 810},
        {"end before the start", 1, 3, 700, 810, 810},
        {"end past the day", 1, 3, 1500, 810, 1440},
        {"end into the next zone", 0, 3, 900, 480, 810},
        {"end inside", 1, 3, 1000, 810, 1000},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        RangeSliderModel m = DayModel();
        m.selected = c.selected;
        EXPECT_TRUE(m.SetSelectedZone(c.kind, c.value));
        const tZone &z = m.zones[size_t(c.selected)];
        ExpectZone(z, c.from, c.to, m.ValueToPixel(c.from), m.ValueToPixel(c.to));
        ExpectOrdered(m);
    }

    RangeSliderModel m = DayModel();
    m.selected = 1;
    EXPECT_FALSE(m.SetSelectedZone(4, 900));
    ExpectZone(m.zones[1], 810, 1080, 224, 298);
}

TEST(RangeSliderModelTest, NoValidSelectionEditsAndDragsNothing)
{
    for (int selected : {-1, 2, 99}) {
        SCOPED_TRACE(selected);
        RangeSliderModel m = DayModel();
        m.selected = selected;
        for (int kind : {1, 2, 3})
            EXPECT_FALSE(m.SetSelectedZone(kind, 900));
        EXPECT_FALSE(m.MouseMove(250));
        ExpectZone(m.zones[0], 480, 720, 133, 199);
        ExpectZone(m.zones[1], 810, 1080, 224, 298);
    }

    // The host removed the zone being dragged: later moves do nothing.
    RangeSliderModel m = DayModel();
    m.ButtonDown(260);
    m.zones.pop_back();
    EXPECT_FALSE(m.MouseMove(200));
    EXPECT_EQ(m.zones.size(), 1u);
}

TEST(RangeSliderModelTest, RemovingTheSelectedZoneKeepsTheIndexInRange)
{
    RangeSliderModel m = DayModel();
    m.selected = 1;
    m.RemoveSelectedZone();
    EXPECT_EQ(m.zones.size(), 1u);
    EXPECT_EQ(m.selected, 0);
    m.RemoveSelectedZone();
    EXPECT_TRUE(m.zones.empty());
    EXPECT_EQ(m.selected, -1);
    m.RemoveSelectedZone();
    EXPECT_EQ(m.selected, -1);
}

TEST(RangeSliderModelTest, ScaleMarksSitOnTheirValuesPixels)
{
    RangeSliderModel m = DayModel();
    m.AddScaleMark(360, QStringLiteral("6:00"));
    m.AddScaleMark(720, QStringLiteral("12:00"));
    m.AddScaleMark(1080, QStringLiteral("18:00"));
    ASSERT_EQ(m.ScaleMarks().size(), 3u);
    EXPECT_EQ(m.ScaleMarks()[0].pixel, 100);
    EXPECT_EQ(m.ScaleMarks()[1].pixel, 199);
    EXPECT_EQ(m.ScaleMarks()[2].pixel, 298);
    EXPECT_EQ(m.ScaleMarks()[2].label, QStringLiteral("18:00"));
}
