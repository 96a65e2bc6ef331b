#include "LocalTime.h"

#include <gtest/gtest.h>

namespace LT = Platform::LocalTime;

// The harness runs every test with TZ=Europe/Paris.
TEST(LocalTime, DayBoundariesOnOrdinaryAndDaylightSavingDays)
{
    struct Case { QDate day; qint64 length; };
    const Case cases[] = {
        {QDate(2026, 1, 15), 24 * 3600},
        {QDate(2026, 3, 29), 23 * 3600}, // clocks go forward
        {QDate(2026, 10, 25), 25 * 3600}, // clocks go back
    };
    for (const Case &c : cases) {
        const qint64 start = LT::midnight(c.day);
        EXPECT_EQ(LT::nextDayStart(start) - start, c.length) << c.day.toString().toStdString();
        // Any instant of the day maps back to its midnight.
        EXPECT_EQ(LT::dayStart(start + c.length - 1), start);
        EXPECT_EQ(LT::dayStart(start + c.length / 2), start);
        EXPECT_EQ(LT::localDate(start), c.day);
        EXPECT_EQ(LT::atMinute(c.day, 1440), LT::nextDayStart(start));
    }
    // 15 January 2026 00:00 in Paris is 14 January 23:00 UTC.
    EXPECT_EQ(LT::midnight(QDate(2026, 1, 15)), 1768431600);
}

TEST(LocalTime, MinutesAreWallClockTimes)
{
    // 10:00 on the day clocks go forward is 9 hours after midnight.
    const QDate d(2026, 3, 29);
    EXPECT_EQ(LT::atMinute(d, 600) - LT::midnight(d), 9 * 3600);
    EXPECT_EQ(LT::toLocal(LT::atMinute(d, 600)).time().hour(), 10);
    EXPECT_EQ(LT::atMinute(QDate(), 10), 0);
    EXPECT_EQ(LT::midnight(QDate()), 0);
}

TEST(LocalTime, OleDayNumbers)
{
    EXPECT_EQ(LT::oleDay(QDate(1899, 12, 30)), 0);
    EXPECT_EQ(LT::oleDay(QDate(1900, 1, 1)), 2);
    EXPECT_EQ(LT::oleDay(QDate(2026, 12, 9)), 46365);
    EXPECT_EQ(LT::fromOleDay(46365), QDate(2026, 12, 9));
}
