#include "ForecastGridCells.h"
#include "PlanningFixture.h"

namespace {

class ForecastGridCellsTest : public PlanningFixture
{
protected:
    QString cell(int id, int projectId, int activityId = -2) const
    {
        const CProject *node = store.FindNode(activityId, projectId);
        return ForecastGridCells::CellText(id, *node, false);
    }
    QString total(int id) const { return ForecastGridCells::CellText(id, *store.GetRoot(), true); }
    QString date(qint64 t) const { return config.FormatDate(t, config.longDates); }
};

} // namespace

TEST_F(ForecastGridCellsTest, TheTotalRowShowsItsNameTheDoneWorkAndTheTaskCountOnly)
{
    add(1, QStringLiteral("A"), -1, [](tForecast &f) { f.Priority = 3; f.Prevu = 10; });
    add(2, QStringLiteral("B"), 1);
    activity(2, 7, QStringLiteral("Rédaction"));
    tasks(1, -2, 2, 3600);
    tasks(2, 7, 3, 5400);

    EXPECT_EQ(total(0), QStringLiteral("Projets"));
    EXPECT_EQ(total(11), config.FormatDurationInDays(9000, false));
    EXPECT_EQ(total(15), QStringLiteral("5"));
    for (int id : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 13, 14, 16})
        EXPECT_EQ(total(id), QString()) << id;
    // The project row counts its own tasks and those below it.
    EXPECT_EQ(cell(15, 1), QStringLiteral("5"));
    EXPECT_EQ(cell(0, 2, 7), QStringLiteral("Rédaction"));
}

TEST_F(ForecastGridCellsTest, LongTextsLoseTheirLineBreaksAndAreCut)
{
    const QString notes = QStringLiteral("Ligne 1\r\nLigne 2\n") + QString(237, u'x');
    add(1, QStringLiteral("A"), -1, [&](tForecast &f) { f.Notes = notes; });
    // 251 characters without the breaks: shown whole.
    EXPECT_EQ(cell(16, 1), QStringLiteral("Ligne 1Ligne 2") + QString(237, u'x'));

    const QString longer = QString(253, u'y');
    add(2, QStringLiteral("B"), -1, [&](tForecast &f) { f.Notes = u'\n' + longer; });
    EXPECT_EQ(cell(16, 2), QString(252, u'y') + QStringLiteral("..."));
    add(3, QString(252, u'z'), -1);
    EXPECT_EQ(cell(0, 3), QString(252, u'z'));
}

TEST_F(ForecastGridCellsTest, TheShownStatus)
{
    const auto status = [](int s) { return [s](tForecast &f) { f.Status = s; }; };
    add(1, QStringLiteral("auto, no work"), -1, status(1));
    add(2, QStringLiteral("auto, work done"), -1, status(1));
    tasks(2, -2, 1, 600);
    add(3, QStringLiteral("waiting"), -1, status(2));
    add(4, QStringLiteral("in progress"), -1, status(3));
    add(5, QStringLiteral("completed"), -1, Completed);
    add(6, QStringLiteral("inactive"), -1, Inactive);
    add(7, QStringLiteral("below completed"), 5, status(3));
    add(8, QStringLiteral("below inactive"), 6, Completed);
    add(9, QStringLiteral("none"), -1, status(0));
    add(10, QStringLiteral("extra time only"), -1, [](tForecast &f) {
        f.Status = 1;
        f.DureeSupp = 2;
    });

    const std::pair<int, const char *> cases[] = {
        {1, "En attente"}, {2, "En cours"}, {3, "En attente"}, {4, "En cours"}, {5, "Terminée"},
        {6, "Masqué"},     {7, "Terminée"}, {8, "Masqué"},     {9, ""},         {10, "En cours"},
    };
    for (const auto &[id, text] : cases)
        EXPECT_EQ(cell(3, id), QString::fromUtf8(text)) << id;
}

// The forecast start of column 7 over the node's open children and its own
// work.
TEST_F(ForecastGridCellsTest, TheForecastStartColumn)
{
    const qint64 d1 = At(2024, 3, 5, 8), d2 = At(2024, 3, 6, 8), d3 = At(2024, 3, 7, 8);
    const auto start = [](CProject *node, qint64 t) { node->m_computedStart = t; };

    // A leaf shows its own start; a completed one nothing.
    start(add(1, QStringLiteral("leaf"), -1), d2);
    start(add(2, QStringLiteral("done"), -1, Completed), d2);
    // The earliest of the open children; a completed child does not count.
    add(3, QStringLiteral("parent"), -1);
    start(add(31, QStringLiteral("c1"), 3), d3);
    start(add(32, QStringLiteral("c2"), 3), d2);
    start(add(33, QStringLiteral("closed"), 3, Completed), d1);
    // One open child without a start: none.
    add(4, QStringLiteral("parent"), -1);
    start(add(41, QStringLiteral("c1"), 4), d2);
    add(42, QStringLiteral("c2"), 4);
    // Manual mode with work of its own: its own start when earlier, or
    // when the children give none.
    start(add(5, QStringLiteral("manual"), -1, [](tForecast &f) { f.Prevu = 40; }), d1);
    start(add(51, QStringLiteral("c1"), 5, [](tForecast &f) { f.Prevu = 1; }), d2);
    start(add(6, QStringLiteral("manual"), -1, [](tForecast &f) { f.Prevu = 40; }), d3);
    add(61, QStringLiteral("c1"), 6, [](tForecast &f) { f.Prevu = 1; });
    // Automatic mode: its own start never counts.
    start(add(7, QStringLiteral("auto"), -1, [](tForecast &f) {
              f.Prevu = 40;
              f.bModeAuto = true;
          }),
          d1);
    start(add(71, QStringLiteral("c1"), 7, [](tForecast &f) { f.Prevu = 1; }), d2);

    const std::pair<int, qint64> cases[] = {
        {1, d2}, {2, 0}, {3, d2}, {4, 0}, {5, d1}, {6, d3}, {7, d2},
    };
    for (const auto &[id, expected] : cases)
        EXPECT_EQ(cell(7, id), date(expected)) << id;
}

TEST_F(ForecastGridCellsTest, DurationsFollowTheNodesDaysFlag)
{
    add(1, QStringLiteral("hours"), -1, [](tForecast &f) { f.Prevu = 20; });
    add(2, QStringLiteral("days"), -1, [](tForecast &f) {
        f.Prevu = 20;
        f.bJours = true;
    });
    EXPECT_EQ(cell(9, 1), config.FormatDurationInDays(20 * 3600, false));
    EXPECT_EQ(cell(9, 2), config.FormatDurationInDays(20 * 3600, true));
    EXPECT_TRUE(cell(9, 2).contains(QStringLiteral("jour"))) << cell(9, 2).toStdString();
    // Nothing planned: empty; nothing done: still shown.
    add(3, QStringLiteral("empty"), -1);
    EXPECT_EQ(cell(9, 3), QString());
    EXPECT_EQ(cell(12, 3), QString());
    EXPECT_EQ(cell(13, 3), QString());
    EXPECT_EQ(cell(11, 3), config.FormatDurationInDays(0, false));
    EXPECT_EQ(cell(2, 3), QString());
}

TEST(ForecastGridCellsGeometry, ProgressBars)
{
    struct Case
    {
        double value;
        int shift, gradientEnd, windowEnd;
    };
    const Case cases[] = {
        {0.0, 0, 0, 100},  {0.25, 0, 25, 100}, {1.0, 0, 100, 100},
        {1.5, 50, 50, 50}, {2.0, 100, 0, 0},   {3.0, 100, 0, 0},
        {CProject::NoRatio, 0, 0, 100},
    };
    for (const Case &c : cases) {
        const ForecastGridCells::tProgressBar bar = ForecastGridCells::ProgressBar(c.value, 100);
        EXPECT_EQ(bar.shift, c.shift) << c.value;
        EXPECT_EQ(bar.gradientEnd, c.gradientEnd) << c.value;
        EXPECT_EQ(bar.windowEnd, c.windowEnd) << c.value;
    }
    EXPECT_EQ(ForecastGridCells::GradientSplit(80, 50), 40);
    EXPECT_EQ(ForecastGridCells::GradientSplit(80, 150), 80);
    EXPECT_EQ(ForecastGridCells::GradientSplit(80, -5), 0);
}

TEST(ForecastGridCellsGeometry, TextStartAndAutoFit)
{
    // Depth 2, 16-pixel images: after the node's image and, when ticking
    // rows, the check image.
    EXPECT_EQ(ForecastGridCells::TextStart(0, 2, 16, true, false, false), 50);
    EXPECT_EQ(ForecastGridCells::TextStart(0, 2, 16, true, true, false), 66);
    EXPECT_EQ(ForecastGridCells::TextStart(-10, 1, 16, false, false, true), 24);
    EXPECT_EQ(ForecastGridCells::AutoFitWidth(40, 120, false), 130);
    EXPECT_EQ(ForecastGridCells::AutoFitWidth(500, 120, false), 310);
    EXPECT_EQ(ForecastGridCells::AutoFitWidth(40, 900, true), 320);
}
