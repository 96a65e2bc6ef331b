#include "Clock.h"
#include "UiUtilities.h"

#include <gtest/gtest.h>

namespace {

double luminance(quint32 c)
{
    return 0.2126 * (c & 0xFF) + 0.7152 * ((c >> 8) & 0xFF) + 0.0722 * ((c >> 16) & 0xFF);
}

TEST(UiUtilitiesTest, RandomLightColorIsLightEnough)
{
    // Tick counts that are multiples of 256 start from black: the three
    // channels rise together to a grey just bright enough.
    for (qint64 tick : {0LL, 256LL * 7}) {
        Platform::Clock::setTickSource([tick] { return tick; });
        const quint32 c = GetRandomLightColor();
        EXPECT_EQ(c & 0xFF, (c >> 8) & 0xFF);
        EXPECT_EQ(c & 0xFF, (c >> 16) & 0xFF);
        EXPECT_GE(luminance(c), 159.99);
        EXPECT_LT(luminance(c), 162.0);
    }
    // Every start ends light enough; a start that already is comes back
    // unchanged.
    for (qint64 tick = 0; tick < 256; ++tick) {
        SCOPED_TRACE(tick);
        const int r = int(tick), g = (r * r) % 256, b = (g * g) % 256;
        const quint32 raw = quint32(r) | (quint32(g) << 8) | (quint32(b) << 16);
        Platform::Clock::setTickSource([tick] { return tick; });
        const quint32 c = GetRandomLightColor();
        EXPECT_GE(luminance(c), 159.99);
        if (luminance(raw) >= 160.0) {
            EXPECT_EQ(c, raw);
        }
    }
    Platform::Clock::reset();
}

} // namespace

TEST(UiUtilitiesTest, ContrastTextAndImages)
{
    EXPECT_EQ(GetContrastTextColor(0x00FFFF), 0u);        // yellow
    EXPECT_EQ(GetContrastTextColor(0xFF0000), 0xFFFFFFu); // blue
    EXPECT_EQ(GetContrastTextColor(0xFFFFFF), 0u);
    EXPECT_EQ(GetContrastTextColor(0x000000), 0xFFFFFFu);
    const int states[][2] = {{0, 15}, {1, 23}, {2, 22}, {3, 1}, {4, 18}, {5, 24}, {6, -1}, {-1, -1}};
    for (const auto &s : states)
        EXPECT_EQ(GetProjectStateImage(s[0]), s[1]) << s[0];
    const int rows[][2] = {{0, 2}, {1, 3}, {2, 3}, {3, -1}};
    for (const auto &r : rows)
        EXPECT_EQ(GetReportRowImage(r[0]), r[1]) << r[0];
}
