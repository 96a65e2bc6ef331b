#include "InsertDiagram.h"

#include <gtest/gtest.h>

#include <QDateTime>

using namespace InsertDiagram;

namespace {

const QDate Day{2026, 3, 25};

qint64 at(int h, int m)
{
    return QDateTime(Day, QTime(h, m)).toSecsSinceEpoch();
}

tTacheFull entry(qint64 start, qint64 end, int id = -1)
{
    tTacheFull e;
    e.Id = id;
    e.Debut = start;
    e.Fin = end;
    return e;
}

// The button size whose area is 340 x 78 pixels from (10, 40): rows of 26.
const QSize Button{360, 128};

// The bars of the finished movement.
std::vector<tBar> lastFrame(const tLayout &layout, int choice)
{
    bool finished = false;
    int tick = 0;
    std::vector<tBar> bars;
    for (; tick < 10000; ++tick) {
        bars = Frame(layout, choice, tick, &finished);
        if (finished)
            break;
    }
    EXPECT_TRUE(finished);
    return bars;
}

std::vector<std::pair<int, int>> spans(const std::vector<tBar> &bars)
{
    std::vector<std::pair<int, int>> out;
    for (const tBar &b : bars)
        out.emplace_back(b.rect.left(), b.rect.left() + b.rect.width());
    return out;
}

} // namespace

TEST(InsertDiagram, BarsMapTimeOntoTheAreaAroundTheNewEntry)
{
    // 10:00-12:00 overlapping 09:00-10:30 and 11:30-13:00: the area shows
    // 09:30 to 12:30, 340 pixels for three hours.
    const tLayout l = LayOut({entry(at(10, 0), at(12, 0)), entry(at(9, 0), at(10, 30), 1),
                              entry(at(11, 30), at(13, 0), 2)},
                             Button);
    EXPECT_EQ(l.area, QRect(10, 40, 340, 78));
    EXPECT_EQ(l.rowHeight, 26);
    EXPECT_EQ(l.step, 1) << "(340 + 52) / 240";
    EXPECT_EQ(l.shownStart, at(9, 30));
    EXPECT_EQ(l.shownEnd, at(12, 30));
    ASSERT_EQ(l.bars.size(), 3u);
    EXPECT_EQ(l.bars[0], QRect(67, 40, 293 - 67, 26));
    // Before the shown range: just left of the area; after it: just right.
    EXPECT_EQ(l.bars[1], QRect(8, 92, 123 - 8, 26));
    EXPECT_EQ(l.bars[2], QRect(237, 92, 352 - 237, 26));
    // The free time 10:30-11:30.
    EXPECT_TRUE(l.hasGap);
    EXPECT_EQ(l.gapLeft, 123);
    EXPECT_EQ(l.gapRight, 237);
}

TEST(InsertDiagram, ShortBarsAreWidenedAndEmptyOrRunningSpansStillShowTime)
{
    // One minute within three hours is under a pixel: widened to 2 x 26/5.
    const tLayout narrow = LayOut({entry(at(10, 0), at(12, 0)), entry(at(11, 0), at(11, 1), 1)}, Button);
    EXPECT_EQ(narrow.bars[1].width(), 10);
    EXPECT_NEAR(narrow.bars[1].center().x(), 180, 2);

    struct Case
    {
        const char *what;
        std::vector<tTacheFull> entries;
        qint64 span;
        bool gap;
    };
    const Case cases[] = {
        // The length up to the earlier running entry's start is negative.
        {"running beside an earlier running one",
         {entry(at(10, 0), 0), entry(at(9, 0), 0, 1)}, 3600 * 3 / 2, false},
        {"running beside a running one starting with it",
         {entry(at(10, 0), 0), entry(at(10, 0), 0, 1)}, 3600 * 3 / 2, false},
        // Up to the end of the last entry; the entry then runs on after it.
        {"running beside finished ones",
         {entry(at(10, 0), 0), entry(at(9, 0), at(10, 30), 1), entry(at(11, 0), at(12, 0), 2)},
         2 * 3600 * 3 / 2, true},
        {"an entry of no length", {entry(at(10, 0), at(10, 0)), entry(at(9, 0), at(11, 0), 1)},
         3600 * 3 / 2, false},
    };
    for (const Case &c : cases) {
        const tLayout l = LayOut(c.entries, Button);
        EXPECT_EQ(l.shownEnd - l.shownStart, c.span) << c.what;
        EXPECT_EQ(l.hasGap, c.gap) << c.what;
        for (const QRect &bar : l.bars) {
            EXPECT_GE(bar.left(), l.area.left() - 2) << c.what;
            EXPECT_LE(bar.left() + bar.width(), l.area.right() + 3) << c.what;
            EXPECT_GE(bar.width(), 2) << c.what;
        }
    }
    // A running new entry reaches past the area's right edge.
    const tLayout running = LayOut(cases[0].entries, Button);
    EXPECT_EQ(running.bars[0].left() + running.bars[0].width(), running.area.right() + 3);
}

TEST(InsertDiagram, OthersGiveWayShrinksAndSplitsTheCoveredBars)
{
    struct Case
    {
        const char *what;
        tTacheFull existing;
        std::vector<std::pair<int, int>> existingAtEnd; // left, right of its pieces
    };
    // New entry 10:00-12:00 at x 67..293 (as above).
    const Case cases[] = {
        {"overlapping the start", entry(at(9, 0), at(10, 30), 1), {{8, 67}}},
        {"overlapping the end", entry(at(11, 30), at(13, 0), 1), {{293, 352}}},
        {"spanning it", entry(at(9, 0), at(13, 0), 1), {{8, 67}, {293, 352}}},
        {"inside it", entry(at(10, 30), at(11, 0), 1), {}},
        {"beside it", entry(at(9, 30), at(10, 0), 1), {{10, 67}}},
    };
    for (const Case &c : cases) {
        const tLayout l = LayOut({entry(at(10, 0), at(12, 0)), c.existing}, Button);
        bool finished = true;
        const std::vector<tBar> first = Frame(l, OthersGiveWay, 0, &finished);
        EXPECT_EQ(first.back().rect, l.bars[0]) << c.what << ": the new bar is drawn last";
        std::vector<std::pair<int, int>> expected = c.existingAtEnd;
        expected.emplace_back(67, 293);
        EXPECT_EQ(spans(lastFrame(l, OthersGiveWay)), expected) << c.what;
    }
    // Edges move one step a tick: the spanning bar's two pieces after 10.
    const tLayout l = LayOut({entry(at(10, 0), at(12, 0)), entry(at(9, 0), at(13, 0), 1)}, Button);
    bool finished = true;
    const auto tenth = spans(Frame(l, OthersGiveWay, 10, &finished));
    EXPECT_FALSE(finished);
    EXPECT_EQ(tenth, (std::vector<std::pair<int, int>>{{8, 342}, {18, 352}, {67, 293}}));
}

TEST(InsertDiagram, FitIntoFreeTimeMovesTheNewBarDownIntoTheGap)
{
    const tLayout l = LayOut({entry(at(10, 0), at(12, 0)), entry(at(9, 0), at(10, 30), 1),
                              entry(at(11, 30), at(13, 0), 2)},
                             Button);
    const std::vector<tBar> end = lastFrame(l, FitIntoFreeTime);
    ASSERT_EQ(end.size(), 3u);
    EXPECT_EQ(end.back().entry, 0);
    EXPECT_EQ(end.back().rect, QRect(123, 92, 237 - 123, 26));
    // The existing bars stay.
    EXPECT_EQ(end[0].rect, l.bars[1]);
    EXPECT_EQ(end[1].rect, l.bars[2]);

    // Without free time nothing moves.
    const tLayout full = LayOut({entry(at(10, 0), at(12, 0)), entry(at(9, 0), at(13, 0), 1)}, Button);
    EXPECT_FALSE(full.hasGap);
    bool finished = false;
    const std::vector<tBar> still = Frame(full, FitIntoFreeTime, 0, &finished);
    EXPECT_TRUE(finished);
    EXPECT_EQ(still.back().rect, full.bars[0]);
}
