// The table of local midnights answers as the time-zone conversion does,
// whatever order the instants come in, over the clock changes too.
#include "LocalDayCache.h"
#include "LocalTime.h"

#include <QDateTime>
#include <gtest/gtest.h>

TEST(LocalDayCache, AnswersAsTheConversionInAnyOrder)
{
    const auto at = [](int y, int m, int d, int h, int min = 0) {
        return QDateTime(QDate(y, m, d), QTime(h, min)).toSecsSinceEpoch();
    };
    const qint64 instants[] = {
        at(2024, 3, 31, 12),     at(2024, 3, 31, 0),      at(2024, 3, 30, 23, 59), at(2024, 4, 1, 0),
        at(2023, 12, 31, 23, 59), at(2024, 10, 27, 2, 30), at(2024, 10, 27, 23, 59), at(2019, 6, 1, 8),
        at(2030, 1, 1, 0),       at(2024, 3, 31, 1, 59),  at(2024, 10, 28, 0),
    };
    LocalDayCache cache;
    for (qint64 t : instants) {
        const LocalDayCache::tDay day = cache.Day(t);
        const QDate date = Platform::LocalTime::localDate(t);
        EXPECT_EQ(day.Date, date) << t;
        EXPECT_EQ(day.Start, Platform::LocalTime::midnight(date)) << t;
        EXPECT_EQ(day.End, Platform::LocalTime::midnight(date.addDays(1))) << t;
    }
    EXPECT_EQ(cache.Day(at(2024, 3, 31, 12)).End - cache.Day(at(2024, 3, 31, 12)).Start, 23 * 3600);
    EXPECT_EQ(cache.Day(at(2024, 10, 27, 12)).End - cache.Day(at(2024, 10, 27, 12)).Start, 25 * 3600);
    // Far from every day met: answered alone, still right.
    const qint64 far = at(2300, 5, 5, 5);
    EXPECT_EQ(cache.Day(far).Date, QDate(2300, 5, 5));
}
