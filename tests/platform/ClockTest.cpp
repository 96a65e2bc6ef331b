#include "Clock.h"

#include <gtest/gtest.h>

using Platform::Clock;

TEST(Clock, SourcesCanBeReplacedAndRestored)
{
    const qint64 real = Clock::now();
    EXPECT_GT(real, 1600000000);
    Clock::setFixedNow(1000);
    EXPECT_EQ(Clock::now(), 1000);
    qint64 tick = 5;
    Clock::setTickSource([&tick] { return tick; });
    EXPECT_EQ(Clock::tickMs(), 5);
    tick = 20005;
    EXPECT_EQ(Clock::tickMs(), 20005);
    Clock::reset();
    EXPECT_GE(Clock::now(), real);
    const qint64 t1 = Clock::tickMs();
    EXPECT_GE(Clock::tickMs(), t1);
}
