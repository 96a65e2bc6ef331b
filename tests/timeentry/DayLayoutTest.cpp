#include "DayLayout.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QTime>

#include <vector>

namespace {

const QDate Day(2026, 3, 10);

qint64 at(int h, int m, int s = 0, QDate day = Day)
{
    return QDateTime(day, QTime(h, m, s)).toSecsSinceEpoch();
}

tTacheParams entry(qint64 debut, qint64 fin)
{
    tTacheParams e;
    e.Id = 1;
    e.Debut = debut;
    e.Fin = fin;
    e.flag = 9; // the layout clears it
    return e;
}

// What the layout writes into one entry.
struct Box
{
    int top, bottom, firstSlot, endSlot;
    friend bool operator==(const Box &, const Box &) = default;
    friend std::ostream &operator<<(std::ostream &os, const Box &b)
    {
        return os << "{" << b.top << ", " << b.bottom << ", " << b.firstSlot << ", " << b.endSlot << "}";
    }
};

struct Case
{
    const char *what;
    std::vector<tTacheParams> entries;
    std::vector<Box> boxes;
    int trackCount;
    qint64 total;
    QDate day = Day;
    qint64 now = at(18, 0);
    int hourHeight = 60;
};

void check(const Case &c)
{
    SCOPED_TRACE(c.what);
    std::vector<tTacheParams> entries = c.entries;
    const tDayLayout result = LayoutDay(entries, c.day, c.hourHeight, c.now);
    EXPECT_EQ(result.trackCount, c.trackCount);
    EXPECT_EQ(result.total, c.total);
    ASSERT_EQ(entries.size(), c.boxes.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        const tTacheParams &e = entries[i];
        EXPECT_EQ((Box{e.top, e.bottom, e.firstSlot, e.endSlot}), c.boxes[i]) << "entry " << i;
        EXPECT_EQ(e.flag, 0);
    }
}

} // namespace

TEST(DayLayout, TracksOfOverlappingAndTouchingEntries)
{
    const std::vector<Case> cases = {
        {"no entry", {}, {}, 1, 0},
        {"three entries, the third back in the first track",
         {entry(at(9, 0), at(10, 0)), entry(at(9, 30), at(11, 0)), entry(at(10, 0), at(10, 30))},
         {{540, 600, 0, 1}, {570, 660, 1, 2}, {600, 630, 0, 1}},
         2,
         3600 + 5400 + 1800},
        {"touching entries share a track and widen over it",
         {entry(at(9, 0), at(10, 0)), entry(at(10, 0), at(11, 0))},
         {{540, 600, 0, 1}, {600, 660, 0, 1}},
         1,
         7200},
        {"touching entries beside one overlapping both",
         {entry(at(9, 0), at(10, 0)), entry(at(9, 30), at(10, 30)), entry(at(10, 0), at(11, 0))},
         {{540, 600, 0, 1}, {570, 630, 1, 2}, {600, 660, 0, 1}},
         2,
         10800},
        // The third entry only touches the second, which sits in the higher
        // track: it does not widen over it.
        {"a touching neighbour in a higher track stops the widening",
         {entry(at(9, 0), at(10, 0)), entry(at(9, 30), at(10, 0)), entry(at(10, 0), at(11, 0))},
         {{540, 600, 0, 1}, {570, 600, 1, 2}, {600, 660, 0, 1}},
         2,
         3600 + 1800 + 3600},
        // The first box touches the third, which sits in the higher
        // track: it keeps half the column.
        {"a touching box in the higher track keeps the first at half the column",
         {entry(at(9, 0), at(10, 0)), entry(at(10, 0), at(11, 0)), entry(at(10, 0), at(11, 0))},
         {{540, 600, 0, 1}, {600, 660, 0, 1}, {600, 660, 1, 2}},
         2,
         3 * 3600},
        {"an entry far below widens over the whole day",
         {entry(at(9, 0), at(10, 0)), entry(at(9, 0), at(10, 0)), entry(at(9, 0), at(10, 0)),
          entry(at(14, 0), at(15, 0))},
         {{540, 600, 0, 1}, {540, 600, 1, 2}, {540, 600, 2, 3}, {840, 900, 0, 3}},
         3,
         4 * 3600},
        {"a freed lower track is taken again",
         {entry(at(8, 0), at(9, 0)), entry(at(8, 30), at(12, 0)), entry(at(9, 0), at(10, 0)),
          entry(at(9, 30), at(11, 0))},
         {{480, 540, 0, 1}, {510, 720, 1, 2}, {540, 600, 0, 1}, {570, 660, 2, 3}},
         3,
         3600 + 12600 + 3600 + 5400},
    };
    for (const Case &c : cases)
        check(c);
}

TEST(DayLayout, ClippingMinimumHeightAndTotals)
{
    const QDate yesterday = Day.addDays(-1);
    const QDate tomorrow = Day.addDays(1);
    const std::vector<Case> cases = {
        {"five minutes are 24 pixels high", {entry(at(9, 0), at(9, 5))}, {{540, 564, 0, 1}}, 1, 300},
        {"an entry of no length", {entry(at(9, 0), at(9, 0))}, {{540, 564, 0, 1}}, 1, 0},
        {"at 23:55 the box is moved up into the day", {entry(at(23, 55), at(23, 58))}, {{1415, 1439, 0, 1}}, 1, 180},
        {"22:00 to 02:00, the first day", {entry(at(22, 0), at(2, 0, 0, tomorrow))}, {{1320, 1439, 0, 1}}, 1, 7199},
        {"22:00 to 02:00, the second day",
         {entry(at(22, 0, 0, yesterday), at(2, 0))},
         {{0, 120, 0, 1}},
         1,
         7200},
        {"running since yesterday 20:00, on today",
         {entry(at(20, 0, 0, yesterday), 0)},
         {{0, 930, 0, 1}},
         1,
         15 * 3600 + 1800,
         Day,
         at(15, 30)},
        {"running since yesterday 20:00, on yesterday",
         {entry(at(20, 0, 0, yesterday), 0)},
         {{1200, 1439, 0, 1}},
         1,
         4 * 3600 - 1,
         yesterday,
         at(15, 30)},
        // A running entry whose start lies ahead of now adds no negative
        // time to its day.
        {"running from a later start", {entry(at(16, 0), 0)}, {{960, 984, 0, 1}}, 1, 0, Day, at(15, 30)},
        {"running from a later start, with another entry",
         {entry(at(9, 0), at(10, 0)), entry(at(16, 0), 0)},
         {{540, 600, 0, 1}, {960, 984, 0, 1}},
         1,
         3600,
         Day,
         at(15, 30)},
        {"ended before the day", {entry(at(22, 0, 0, yesterday), at(23, 0, 0, yesterday))}, {{0, 24, 0, 1}}, 1, 0},
        {"zoom 0: 15 pixels an hour",
         {entry(at(9, 0), at(9, 30)), entry(at(23, 50), at(23, 59))},
         {{135, 159, 0, 1}, {335, 359, 0, 1}},
         1,
         1800 + 540,
         Day,
         at(18, 0),
         15},
        // The days the clocks change last 23 and 25 hours.
        {"the spring Sunday", {entry(at(22, 0, 0, QDate(2026, 3, 28)), at(2, 0, 0, QDate(2026, 3, 30)))},
         {{0, 1439, 0, 1}}, 1, 23 * 3600 - 1, QDate(2026, 3, 29)},
        {"the autumn Sunday", {entry(at(22, 0, 0, QDate(2026, 10, 24)), at(2, 0, 0, QDate(2026, 10, 26)))},
         {{0, 1439, 0, 1}}, 1, 25 * 3600 - 1, QDate(2026, 10, 25)},
    };
    for (const Case &c : cases)
        check(c);
}
