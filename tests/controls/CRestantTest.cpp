#include "BudgetGaugeLayout.h"
#include "CRestant.h"

#include <QImage>

#include "PixelColours.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// A 200 x 40 gauge with the default green, yellow, red and texts written
// simply.
struct Gauge
{
    CRestant gauge;
    Gauge()
    {
        gauge.resize(200, 40);
        gauge.SetTextFunctions([](qint64 amount, bool inDays, bool compact) {
            return QString::number(amount) + (inDays ? QStringLiteral("j") : QString())
                   + (compact ? QStringLiteral("c") : QString());
        },
                               [](double ratio) { return QString::number(ratio * 100, 'f', 2) + QStringLiteral(" %"); });
    }
    QImage Shot() { return gauge.grab().toImage(); }
};

const QRgb kGreen = qRgb(0, 255, 0), kYellow = qRgb(255, 255, 0), kRed = qRgb(255, 0, 0);

} // namespace

TEST(CRestantTest, LayoutOfTheBar)
{
    struct Case
    {
        const char *name;
        bool enabled;
        qint64 planned, used;
        double ratio;
        bool useRatio;
        int mid;
        BudgetGaugeLayout::Kind kind;
        int split, source, width;
        bool endColour;
    };
    using K = BudgetGaugeLayout;
    const Case cases[] = {
        {"half used", true, 100, 50, 0, false, 50, K::Filled, 100, 0, 100, false},
        {"all used", true, 100, 100, 0, false, 50, K::Filled, 100, 0, 200, false},
        {"150 %", true, 100, 150, 0, false, 50, K::Filled, 100, 100, 100, true},
        {"200 %", true, 100, 200, 0, false, 50, K::Filled, 100, 200, 0, true},
        {"250 %", true, 100, 250, 0, false, 50, K::Filled, 100, 200, 0, true},
        {"given ratio", true, 0, 0, 0.25, true, 50, K::Filled, 100, 0, 50, false},
        {"negative share", true, 100, -50, 0, false, 50, K::Filled, 100, 0, 0, false},
        {"middle at 30 %", true, 100, 50, 0, false, 30, K::Filled, 60, 0, 100, false},
        {"middle above 100 %", true, 100, 50, 0, false, 150, K::Filled, 200, 0, 100, false},
        {"middle below 0 %", true, 100, 50, 0, false, -10, K::Filled, 0, 0, 100, false},
        {"disabled", false, 100, 50, 0, false, 50, K::Disabled, 0, 0, 0, false},
        {"nothing planned", true, 0, 50, 0, false, 50, K::NoData, 0, 0, 0, false},
        {"nothing used", true, 100, 0, 0, false, 50, K::NoData, 0, 0, 0, false},
        {"ratio not a number", true, 0, 0, kNaN, true, 50, K::NoData, 0, 0, 0, false},
        {"ratio infinite", true, 0, 0, kInf, true, 50, K::NoData, 0, 0, 0, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const BudgetGaugeLayout l =
            BudgetGaugeLayout::Compute(200, c.enabled, c.planned, c.used, c.ratio, c.useRatio, c.mid);
        EXPECT_EQ(l.kind, c.kind);
        if (l.kind != K::Filled)
            continue;
        EXPECT_EQ(l.split, c.split);
        EXPECT_EQ(l.gradientSource, c.source);
        EXPECT_EQ(l.gradientWidth, c.width);
        EXPECT_EQ(l.restIsEndColour, c.endColour);
    }
}

TEST(CRestantTest, PaintedColoursAtWidth200)
{
    Gauge g;
    const QRgb window = g.gauge.palette().color(QPalette::Base).rgb();
    const QRgb frame = g.gauge.palette().color(QPalette::Mid).rgb();

    // Half used: green to yellow up to the middle, window colour after it.
    g.gauge.planned = 100;
    g.gauge.used = 50;
    QImage shot = g.Shot();
    EXPECT_TRUE(Near(shot.pixel(1, 3), kGreen, 12));
    EXPECT_TRUE(Near(shot.pixel(98, 3), kYellow, 12));
    EXPECT_TRUE(Near(shot.pixel(101, 3), window, 0));
    EXPECT_TRUE(Near(shot.pixel(198, 3), window, 0));
    EXPECT_TRUE(Near(shot.pixel(0, 0), frame, 0));
    EXPECT_TRUE(Near(shot.pixel(199, 39), frame, 0));

    // All used: the whole gradient, ending red.
    g.gauge.used = 100;
    shot = g.Shot();
    EXPECT_TRUE(Near(shot.pixel(1, 3), kGreen, 12));
    EXPECT_TRUE(Near(shot.pixel(198, 3), kRed, 12));

    // 150 %: the gradient slides left by half, red fills the right half.
    g.gauge.used = 150;
    shot = g.Shot();
    EXPECT_TRUE(Near(shot.pixel(1, 3), kYellow, 12));
    EXPECT_TRUE(Near(shot.pixel(101, 3), kRed, 0));
    EXPECT_TRUE(Near(shot.pixel(198, 3), kRed, 0));

    // 250 %: red all over.
    g.gauge.used = 250;
    shot = g.Shot();
    for (int x : {1, 50, 100, 150, 198})
        EXPECT_TRUE(Near(shot.pixel(x, 3), kRed, 0)) << x;
}

TEST(CRestantTest, DisabledAndNoDataShowNoBar)
{
    const auto interior = [](const QImage &shot, QRgb colour) {
        for (int y = 1; y < shot.height() - 1; ++y)
            for (int x = 1; x < shot.width() - 1; ++x)
                if (!Near(shot.pixel(x, y), colour, 0))
                    return false;
        return true;
    };

    Gauge g;
    g.gauge.planned = 100;
    g.gauge.used = 50;
    g.gauge.setEnabled(false);
    EXPECT_TRUE(interior(g.Shot(), g.gauge.palette().color(QPalette::Window).rgb()));

    g.gauge.setEnabled(true);
    g.gauge.used = 0;
    EXPECT_TRUE(interior(g.Shot(), qRgb(255, 255, 255)));
    EXPECT_TRUE(g.gauge.Text().isEmpty());

    g.gauge.useRatio = true;
    g.gauge.ratio = kNaN;
    EXPECT_TRUE(interior(g.Shot(), qRgb(255, 255, 255)));
    EXPECT_TRUE(g.gauge.Text().isEmpty());
}

TEST(CRestantTest, TextsFromTheOwnersFunctions)
{
    Gauge g;
    g.gauge.planned = 3600;
    g.gauge.used = 5400;
    EXPECT_EQ(g.gauge.Text(), QStringLiteral("5400 / 3600 = 150.00 %"));
    g.gauge.inDays = true;
    g.gauge.compact = true;
    EXPECT_EQ(g.gauge.Text(), QStringLiteral("5400jc / 3600jc = 150.00 %"));

    g.gauge.useRatio = true;
    g.gauge.ratio = 0.125;
    EXPECT_EQ(g.gauge.Text(), QStringLiteral("12.50 %"));

    // The text is written in black over the bar.
    g.gauge.resize(300, 40);
    const QImage shot = g.Shot();
    int black = 0;
    for (int x = 0; x < shot.width(); ++x)
        black += qGray(shot.pixel(x, 20)) < 60 ? 1 : 0;
    EXPECT_GT(black, 0);

    // No functions given: no text.
    CRestant bare;
    bare.planned = 10;
    bare.used = 5;
    EXPECT_TRUE(bare.Text().isEmpty());
}

TEST(CRestantTest, OwnColoursAndMiddle)
{
    Gauge g;
    g.gauge.SetColours({0xFF0000, 0x00FF00, 0x0000FF}, 20); // blue, green, red
    g.gauge.planned = 10;
    g.gauge.used = 10;
    const QImage shot = g.Shot();
    EXPECT_TRUE(Near(shot.pixel(1, 3), qRgb(0, 0, 255), 12));
    EXPECT_TRUE(Near(shot.pixel(39, 3), qRgb(0, 255, 0), 12));
    EXPECT_TRUE(Near(shot.pixel(198, 3), qRgb(255, 0, 0), 12));
}
