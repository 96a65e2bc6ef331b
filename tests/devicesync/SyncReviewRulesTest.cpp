#include "SyncReviewRules.h"

#include <gtest/gtest.h>

namespace {

SyncItem item(int kind, qint64 deviceId, qint64 localId, bool deviceDeleted, bool localDeleted)
{
    SyncItem i;
    i.kind = kind;
    i.deviceId = deviceId;
    i.localId = localId;
    i.deviceDeleted = deviceDeleted ? 1 : 0;
    i.localDeleted = localDeleted ? 1 : 0;
    return i;
}

} // namespace

TEST(SyncReviewRules, ActionsAllowedByWhatEachSideHolds)
{
    struct Case
    {
        int kind;
        qint64 deviceId, localId;
        bool deviceDeleted, localDeleted;
        bool takeDevice, remove, keepLocal;
    };
    const Case cases[] = {
        // both sides live
        {1, 5, 5, false, false, true, true, true},
        // only on the device / only here
        {2, 5, -1, false, false, true, true, false},
        {3, -1, 5, false, false, false, true, true},
        // a deleted side cannot be taken
        {4, 5, 5, true, false, false, true, true},
        {5, 5, 5, false, true, true, true, false},
        {7, 5, 5, true, true, false, true, false},
        // the project order: only the local order, whatever its ids say
        {9, 0, -1, false, false, false, false, false},
        {9, 3, 4, false, false, false, false, true},
        {9, 3, 4, false, true, false, false, false},
    };
    for (const Case &c : cases) {
        const SyncItem i = item(c.kind, c.deviceId, c.localId, c.deviceDeleted, c.localDeleted);
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << " device " << c.deviceId << (c.deviceDeleted ? "d" : "")
                                        << " local " << c.localId << (c.localDeleted ? "d" : ""));
        EXPECT_EQ(SyncReviewRules::IsActionAllowed(SyncItem::TakeDevice, &i), c.takeDevice);
        EXPECT_EQ(SyncReviewRules::IsActionAllowed(SyncItem::Delete, &i), c.remove);
        EXPECT_EQ(SyncReviewRules::IsActionAllowed(SyncItem::KeepLocal, &i), c.keepLocal);
        EXPECT_FALSE(SyncReviewRules::IsActionAllowed(3, &i));
        EXPECT_FALSE(SyncReviewRules::IsActionAllowed(-1, &i));
    }
    // A group row has no decision to change.
    for (int action = 0; action < 3; ++action)
        EXPECT_FALSE(SyncReviewRules::IsActionAllowed(action, nullptr));
}

TEST(SyncReviewRules, ThePartOfTheActionCellUnderAPoint)
{
    struct Case
    {
        int x, left, width;
        int click, tip;
    };
    const Case cases[] = {
        {100, 100, 100, 0, 0},   // the first pixel
        {132, 100, 100, 0, 0},   // last pixel of the first third (third = 33)
        {133, 100, 100, 1, 1},
        {165, 100, 100, 1, 1},
        {166, 100, 100, 2, 2},
        {198, 100, 100, 2, 2},
        {199, 100, 100, -1, 2},  // the pixel left over past three thirds
        {99, 100, 100, -1, -1},  // left of the cell
        {120, 100, 50, 1, 1},    // a 50-pixel cell: thirds of 16
        {148, 100, 50, -1, 2},
        {100, 100, 2, -1, -1},   // too narrow for thirds
        {101, 100, 0, -1, -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "x " << c.x << " cell " << c.left << "+" << c.width);
        EXPECT_EQ(SyncReviewRules::ActionAt(c.x, c.left, c.width, false), c.click);
        EXPECT_EQ(SyncReviewRules::ActionAt(c.x, c.left, c.width, true), c.tip);
    }
}

TEST(SyncReviewRules, IconsSpreadOverTheCellAndTouchInANarrowOne)
{
    // 100 pixels: gap (100 - 60) / 4 = 10.
    EXPECT_EQ(SyncReviewRules::IconGap(100), 10);
    EXPECT_EQ(SyncReviewRules::IconLeft(200, 100, 0), 210);
    EXPECT_EQ(SyncReviewRules::IconLeft(200, 100, 1), 240);
    EXPECT_EQ(SyncReviewRules::IconLeft(200, 100, 2), 270);
    // Narrower than the three icons: they touch, never overlap.
    for (int width : {60, 59, 30, 0}) {
        EXPECT_EQ(SyncReviewRules::IconGap(width), 0) << width;
        EXPECT_EQ(SyncReviewRules::IconLeft(0, width, 2), 40) << width;
    }
    // Each icon stands in the third a click on it chooses.
    for (int width : {60, 75, 100, 300}) {
        for (int action = 0; action < 3; ++action) {
            const int centre = SyncReviewRules::IconLeft(0, width, action) + SyncReviewRules::IconSize / 2;
            EXPECT_EQ(SyncReviewRules::ActionAt(centre, 0, width, false), action) << width << " " << action;
        }
    }
}

TEST(SyncReviewRules, NameColumnsShareTheRestAndNeverGoBelowZero)
{
    EXPECT_EQ(SyncReviewRules::NameColumnWidth(1000, 400), 300);
    EXPECT_EQ(SyncReviewRules::NameColumnWidth(401, 400), 0);
    EXPECT_EQ(SyncReviewRules::NameColumnWidth(200, 400), 0);
    EXPECT_EQ(SyncReviewRules::NameColumnWidth(0, 400), 0);
}

TEST(SyncReviewRules, PanesOfEachKind)
{
    using P = SyncReviewRules::Panes;
    const std::pair<int, P> cases[] = {{1, P::Elements}, {2, P::Elements},   {3, P::Elements},
                                       {4, P::TimeEntries}, {5, P::Elements}, {7, P::Forecasts},
                                       {9, P::None},     {0, P::None},       {6, P::None}};
    for (const auto &[kind, panes] : cases)
        EXPECT_EQ(SyncReviewRules::PanesForKind(kind), panes) << kind;
    for (int kind : {2, 3, 5})
        EXPECT_TRUE(SyncReviewRules::ShortElementPanes(kind)) << kind;
    for (int kind : {1, 4, 7, 9})
        EXPECT_FALSE(SyncReviewRules::ShortElementPanes(kind)) << kind;
}
