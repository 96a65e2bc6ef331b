// What the Gantt chart draws, without a window: the ticks of each level,
// the header, days off, the rows' bars and markers and the predecessor
// links, from rows of a grid stand-in, the clock fixed on Monday 4 March
// 2024 (TZ=Europe/Paris).
#include "CForecastRows.h"
#include "ColorRef.h"
#include "GanttLayout.h"
#include "GanttScale.h"
#include "LocalTime.h"
#include "PlanningFixture.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>

#include <algorithm>

namespace {

// The grid's rows as the chart reads them: a header of 30 pixels and rows
// of 20 from its bottom, the first shown row and the selection set by the
// test.
class FakeRows : public CForecastRows
{
public:
    std::vector<CProject *> nodes;
    int first = 0;
    int perPage = 20;
    int selected = -1;
    int rowHeight = 20;
    static constexpr int Header = 30;

    int RowCount() const override { return int(nodes.size()); }
    int FirstVisibleRow() const override { return first; }
    int RowsPerPage() const override { return perPage; }
    int RowHeight() const override { return rowHeight; }
    int HeaderHeight() const override { return Header; }
    CProject *RowNode(int row) const override
    {
        return row >= 0 && row < RowCount() ? nodes[size_t(row)] : nullptr;
    }
    bool IsTotalRow(int row) const override { return row == 0; }
    QRect RowRectangle(int row) const override
    {
        return QRect(0, Header + (row - first) * rowHeight, 500, rowHeight);
    }
    int SelectedRow() const override { return selected; }
    void SelectRow(int row) override { selected = row; }
};

class GanttLayoutTest : public PlanningFixture
{
protected:
    void SetUp() override
    {
        PlanningFixture::SetUp();
        rows.nodes.push_back(store.GetRoot());
    }

    // A layout of 800 x 400 at `level`, centred on `centre`.
    void build(int level, qint64 centre, int height = 400)
    {
        scale.SetLevel(level);
        scale.SetWidth(800);
        scale.SetCentre(centre);
        GanttLayout::tInput in;
        in.scale = &scale;
        in.rows = &rows;
        in.config = &config;
        in.now = now;
        in.height = height;
        in.highlight = QColor(0, 0, 200);
        in.metrics = headerMetrics ? headerMetrics : &metrics;
        layout = std::make_unique<GanttLayout>(in);
        layout->Build();
    }
    std::vector<tGanttItem> items(tGanttItem::Role role, int row = -2) const
    {
        std::vector<tGanttItem> out;
        for (const tGanttItem &item : layout->Items())
            if (item.role == role && (row == -2 || item.row == row))
                out.push_back(item);
        return out;
    }
    int px(qint64 t) const { return scale.TimeToPixel(t); }
    // A top-level project whose computed forecast runs from `start` to `end`
    // with an hour of work to do, shown as the next row.
    CProject *leaf(int id, qint64 start, qint64 end, const Edit &edit = {})
    {
        CProject *node = add(id, QStringLiteral("P%1").arg(id), -1, [&edit](tForecast &f) {
            f.Total = 3600;
            if (edit)
                edit(f);
        });
        node->m_computedStart = start;
        node->m_computedEnd = end;
        rows.nodes.push_back(node);
        return node;
    }

    FakeRows rows;
    GanttScale scale{96};
    QFontMetrics metrics{QApplication::font()};
    // The header's font when a test sets one, else `metrics`.
    const QFontMetrics *headerMetrics = nullptr;
    std::unique_ptr<GanttLayout> layout;
};

std::vector<QDateTime> locals(const std::vector<qint64> &times)
{
    std::vector<QDateTime> out;
    for (qint64 t : times)
        out.push_back(Platform::LocalTime::toLocal(t));
    return out;
}

} // namespace

TEST_F(GanttLayoutTest, TicksFollowTheLevelsStepOnLocalHoursMidnightsAndMonthStarts)
{
    struct Case
    {
        int level;
        qint64 left;
        int firstDay; // 1 Sunday .. 7 Saturday
        QDateTime first, second;
    };
    const auto dt = [](int y, int m, int d, int h = 0, int min = 0) { return QDateTime(QDate(y, m, d), QTime(h, min)); };
    const Case cases[] = {
        {0, At(2024, 3, 6, 10, 40), 1, dt(2024, 3, 6, 10, 30), dt(2024, 3, 6, 11)},
        {2, At(2024, 3, 6, 10, 20), 1, dt(2024, 3, 6, 9), dt(2024, 3, 6, 12)},
        {4, At(2024, 3, 6, 10, 20), 1, dt(2024, 3, 6, 0), dt(2024, 3, 6, 12)},
        {5, At(2024, 3, 6, 10, 20), 1, dt(2024, 3, 6), dt(2024, 3, 7)},
        // Wednesday 6 March: weeks begin on Monday the 4th or Sunday the 3rd.
        {8, At(2024, 3, 6, 12), 2, dt(2024, 3, 4), dt(2024, 3, 11)},
        {8, At(2024, 3, 6, 12), 1, dt(2024, 3, 3), dt(2024, 3, 10)},
        {10, At(2024, 3, 6, 12), 1, dt(2024, 3, 1), dt(2024, 4, 1)},
        {11, At(2024, 3, 6, 12), 1, dt(2024, 1, 1), dt(2024, 4, 1)},
        {12, At(2024, 8, 6, 12), 1, dt(2024, 7, 1), dt(2025, 1, 1)},
        {13, At(2024, 8, 6, 12), 1, dt(2024, 1, 1), dt(2025, 1, 1)},
    };
    for (const Case &c : cases) {
        const std::vector<qint64> ticks = GanttLayout::TickTimes(c.level, c.left, c.left + 30 * 86400, c.firstDay);
        ASSERT_GE(ticks.size(), 2u) << c.level;
        EXPECT_EQ(Platform::LocalTime::toLocal(ticks[0]), c.first) << c.level;
        EXPECT_EQ(Platform::LocalTime::toLocal(ticks[1]), c.second) << c.level;
        EXPECT_LE(ticks[0], c.left) << c.level;
        EXPECT_GT(ticks.back(), c.left + 30 * 86400) << c.level;
    }
}

TEST_F(GanttLayoutTest, TicksStayOnLocalTimeAcrossTheSpringClockChange)
{
    // Sunday 31 March 2024: 02:00 becomes 03:00.
    const auto days = locals(GanttLayout::TickTimes(5, At(2024, 3, 29, 12), At(2024, 4, 3, 0), 1));
    for (const QDateTime &d : days)
        EXPECT_EQ(d.time(), QTime(0, 0)) << d.toString().toStdString();
    const auto weeks = locals(GanttLayout::TickTimes(8, At(2024, 3, 20, 0), At(2024, 4, 20, 0), 1));
    for (const QDateTime &d : weeks) {
        EXPECT_EQ(d.time(), QTime(0, 0));
        EXPECT_EQ(d.date().dayOfWeek(), Qt::Sunday);
    }
    const auto hours = locals(GanttLayout::TickTimes(1, At(2024, 3, 30, 23), At(2024, 3, 31, 6), 1));
    for (size_t i = 0; i < hours.size(); ++i) {
        EXPECT_EQ(hours[i].time().minute(), 0);
        if (i > 0) {
            EXPECT_LT(hours[i - 1], hours[i]);
        }
    }
    // Two weeks a tick: the same weeks wherever the chart begins.
    const std::vector<qint64> a = GanttLayout::TickTimes(9, At(2024, 3, 6, 0), At(2024, 6, 1, 0), 2);
    const std::vector<qint64> b = GanttLayout::TickTimes(9, At(2024, 3, 13, 0), At(2024, 6, 1, 0), 2);
    EXPECT_TRUE(std::find(a.begin(), a.end(), b[1]) != a.end());
}

TEST_F(GanttLayoutTest, HeaderIsABlueToWhiteBandWithLabelsOfTheLevel)
{
    build(5, At(2024, 3, 12, 0));
    const std::vector<tGanttItem> stripes = items(tGanttItem::HeaderStripe);
    ASSERT_EQ(stripes.size(), size_t(FakeRows::Header));
    EXPECT_EQ(stripes.front().rect, QRect(0, FakeRows::Header - 1, 800, 1));
    EXPECT_EQ(stripes.front().colour, QColor(180, 205, 255));
    EXPECT_EQ(stripes.back().rect.top(), 0);
    EXPECT_GT(stripes.back().colour.red(), 250);

    QStringList labels;
    for (const tGanttItem &label : items(tGanttItem::Label))
        labels << label.text;
    // The days of the month below, the month and year above.
    EXPECT_TRUE(labels.contains(QStringLiteral("04")));
    EXPECT_TRUE(labels.contains(QStringLiteral("mars 2024")));

    build(10, At(2024, 6, 12, 0));
    labels.clear();
    for (const tGanttItem &label : items(tGanttItem::Label))
        labels << label.text;
    EXPECT_TRUE(labels.contains(QStringLiteral("juin")));
    EXPECT_TRUE(labels.contains(QStringLiteral("2024")));
}

// At every level the labels read: each holds its text whole, and none runs
// into its neighbour; where the months' full names do not fit a tick's
// centimetre (three months a centimetre), they are abbreviated. The same
// with a header font half as large again, where many labels no longer fit
// their cells and must be shortened or left out: a label of the upper band
// then still ends the mark's gap before the next mark.
TEST_F(GanttLayoutTest, HeaderLabelsFitAndNeverRunIntoEachOther)
{
    QFont larger = QApplication::font();
    larger.setPixelSize(qRound(QFontInfo(larger).pixelSize() * 1.5));
    const QFontMetrics largerMetrics(larger);
    ASSERT_GT(largerMetrics.horizontalAdvance(QStringLiteral("mars 2024")),
              metrics.horizontalAdvance(QStringLiteral("mars 2024")) * 4 / 3);
    // The gap the chart leaves after each mark of the upper band.
    constexpr int MarkGap = 5;
    struct Font
    {
        const char *name;
        const QFontMetrics *used;
    };
    int labelsNormal = 0, labelsLarger = 0;
    for (const Font &font : {Font{"normal", &metrics}, Font{"larger", &largerMetrics}}) {
        headerMetrics = font.used;
        for (int level = 0; level < GanttScale::LevelCount; ++level) {
            SCOPED_TRACE(testing::Message() << font.name << " font, level " << level);
            build(level, At(2024, 6, 12, 0));
            std::vector<tGanttItem> upper, lower;
            for (const tGanttItem &label : items(tGanttItem::Label))
                (label.rect.top() == 0 ? upper : lower).push_back(label);
            (font.used == &metrics ? labelsNormal : labelsLarger) += int(upper.size() + lower.size());
            // At the coarsest level a year's centimetre is narrower than
            // the larger font's year: its cells stay empty rather than
            // overflow.
            if (font.used == &metrics || level != GanttScale::CoarsestLevel) {
                EXPECT_GE(lower.size(), 5u);
            }
            // Below a year a centimetre, the upper band names the day,
            // month or year the ticks lie in, in one form or another.
            if (level != GanttScale::CoarsestLevel) {
                EXPECT_GE(upper.size(), 1u);
            }
            std::vector<int> upperMarks, lowerMarks;
            for (const tGanttItem &mark : items(tGanttItem::HeaderMark))
                (mark.line.y1() == 0 ? upperMarks : lowerMarks).push_back(mark.line.x1());
            std::sort(upperMarks.begin(), upperMarks.end());
            std::sort(lowerMarks.begin(), lowerMarks.end());
            for (std::vector<tGanttItem> *half : {&upper, &lower}) {
                std::sort(half->begin(), half->end(),
                          [](const tGanttItem &a, const tGanttItem &b) { return a.rect.left() < b.rect.left(); });
                for (size_t i = 0; i < half->size(); ++i) {
                    const tGanttItem &label = (*half)[i];
                    const int textWidth = font.used->horizontalAdvance(label.text);
                    EXPECT_LE(textWidth, label.rect.width()) << label.text.toStdString();
                    if (i > 0) {
                        EXPECT_LT((*half)[i - 1].rect.right(), label.rect.left())
                            << (*half)[i - 1].text.toStdString() << " runs into " << label.text.toStdString();
                    }
                }
            }
            // A label in a cell of the lower band lies between its marks.
            for (const tGanttItem &label : lower) {
                const auto next = std::upper_bound(lowerMarks.begin(), lowerMarks.end(), label.rect.left());
                if (label.flags & Qt::AlignHCenter && next != lowerMarks.end()
                    && std::find(lowerMarks.begin(), lowerMarks.end(), label.rect.left()) != lowerMarks.end()) {
                    EXPECT_LE(label.rect.right(), *next) << label.text.toStdString();
                }
            }
            // A label of the upper band starts the gap after its mark and
            // its text ends at least the gap before the next mark.
            for (const tGanttItem &label : upper) {
                const auto next = std::upper_bound(upperMarks.begin(), upperMarks.end(), label.rect.left());
                EXPECT_NE(std::find(upperMarks.begin(), upperMarks.end(), label.rect.left() - MarkGap), upperMarks.end())
                    << label.text.toStdString();
                if (next == upperMarks.end())
                    continue;
                EXPECT_LE(label.rect.left() + font.used->horizontalAdvance(label.text) + MarkGap, *next)
                    << label.text.toStdString();
                EXPECT_LE(label.rect.right(), *next) << label.text.toStdString();
            }
        }
    }
    headerMetrics = nullptr;
    // The larger font did leave labels out or shorten them.
    EXPECT_LT(labelsLarger, labelsNormal);

    const double cm = scale.PixelsPerCm();
    ASSERT_GT(metrics.horizontalAdvance(QStringLiteral("juillet")) + 6, cm)
        << "the test font writes juillet within a centimetre";
    for (int level : {11, 12}) {
        build(level, At(2024, 6, 12, 0));
        QStringList labels;
        for (const tGanttItem &label : items(tGanttItem::Label))
            labels << label.text;
        EXPECT_TRUE(labels.contains(QStringLiteral("juil."))) << level << ": " << labels.join(u' ').toStdString();
        EXPECT_FALSE(labels.contains(QStringLiteral("juillet"))) << level;
        EXPECT_FALSE(labels.contains(QStringLiteral("octobre"))) << level;
    }
}

TEST_F(GanttLayoutTest, DaysOffAreGreyUpToADayACentimetre)
{
    // Monday to Friday worked: Saturday 9 and Sunday 10 March greyed as one.
    build(5, At(2024, 3, 12, 0));
    const std::vector<tGanttItem> grey = items(tGanttItem::DayOff);
    ASSERT_FALSE(grey.empty());
    const auto covers = [&grey](int x) {
        return std::any_of(grey.begin(), grey.end(), [x](const tGanttItem &g) { return g.rect.left() <= x && x <= g.rect.right(); });
    };
    EXPECT_TRUE(covers(px(At(2024, 3, 9, 12))));
    EXPECT_TRUE(covers(px(At(2024, 3, 10, 12))));
    EXPECT_FALSE(covers(px(At(2024, 3, 11, 12))));
    EXPECT_FALSE(covers(px(At(2024, 3, 8, 12))));
    EXPECT_EQ(grey.front().rect.top(), FakeRows::Header);

    // A day off in the week is grey too.
    config.daysOff.SetRange(QDate(2024, 3, 13), QDate(2024, 3, 13), true);
    build(5, At(2024, 3, 12, 0));
    const std::vector<tGanttItem> withHoliday = items(tGanttItem::DayOff);
    EXPECT_TRUE(std::any_of(withHoliday.begin(), withHoliday.end(), [this](const tGanttItem &g) {
        return g.rect.left() <= px(At(2024, 3, 13, 12)) && px(At(2024, 3, 13, 12)) <= g.rect.right();
    }));

    build(6, At(2024, 3, 12, 0));
    EXPECT_TRUE(items(tGanttItem::DayOff).empty());
}

TEST_F(GanttLayoutTest, RowsDrawTheirPeriodsMarkersAndLoneDates)
{
    // 1: nothing to do, forecast start and end together: a diamond.
    CProject *milestone = add(1, QStringLiteral("Jalon"), -1);
    milestone->m_computedStart = milestone->m_computedEnd = At(2024, 3, 8, 17);
    rows.nodes.push_back(milestone);
    // 2: a fixed end alone: a small box.
    rows.nodes.push_back(add(2, QStringLiteral("Fin"), -1, [this](tForecast &f) {
        f.TypeDateFin = 1;
        f.DateFin = At(2024, 3, 15, 0);
    }));
    // 3: a parent whose activity was worked on 2 to 4 March and which
    // itself on 1 March.
    CProject *parent = add(3, QStringLiteral("Parent"), -1, [](tForecast &f) { f.bModeAuto = true; });
    store.AddTaskStatistics(3, 31, 2, 7200, At(2024, 3, 2, 9), At(2024, 3, 4, 9));
    store.AddTaskStatistics(3, -2, 1, 3600, At(2024, 3, 1, 9), At(2024, 3, 1, 10));
    rows.nodes.push_back(parent);
    // 4: completed with work recorded: its dashes only.
    CProject *done = leaf(4, At(2024, 3, 5, 0), At(2024, 3, 6, 0), Completed);
    tasks(4, -2, 3, 3600 * 5);
    // 5: planned 4 to 8 March, forecast 5 to 7 March.
    CProject *open = leaf(5, At(2024, 3, 5, 8), At(2024, 3, 7, 17), [this](tForecast &f) {
        f.TypeDateDebut = 1;
        f.DateDebut = At(2024, 3, 4, 0);
        f.TypeDateFin = 1;
        f.DateFin = At(2024, 3, 8, 0);
    });
    rows.selected = 1;
    build(5, At(2024, 3, 12, 0));
    const std::vector<tGanttProject> &visible = layout->VisibleRows();
    ASSERT_EQ(visible.size(), 6u);
    EXPECT_EQ(visible[0].right, GanttScale::NoStartPixel); // the total row

    // The diamond: 8 pixels wide at the end date, its left slopes in the
    // highlight of the selected row.
    const int marker = px(At(2024, 3, 8, 17));
    const std::vector<tGanttItem> diamond = items(tGanttItem::Diamond, 1);
    ASSERT_EQ(diamond.size(), 1u);
    EXPECT_EQ(diamond[0].polygon.boundingRect().left(), marker - 4);
    EXPECT_EQ(diamond[0].polygon.boundingRect().right(), marker + 4);
    EXPECT_EQ(visible[1].left, marker - 4);
    EXPECT_EQ(visible[1].right, marker);
    ASSERT_EQ(items(tGanttItem::MarkerEdge, 1).size(), 1u);
    EXPECT_EQ(items(tGanttItem::MarkerEdge, 1)[0].colour, QColor(0, 0, 200));

    // The lone fixed end: black, white and the row's colour, 5 pixels wide.
    const std::vector<tGanttItem> box = items(tGanttItem::SingleDate, 2);
    ASSERT_EQ(box.size(), 3u);
    EXPECT_EQ(box[0].rect.width(), 5);
    EXPECT_EQ(box[0].rect.center().x(), px(At(2024, 3, 15, 0)));
    EXPECT_EQ(box[0].colour, QColor(Qt::black));
    EXPECT_EQ(box[1].colour, QColor(Qt::white));
    EXPECT_EQ(box[2].colour, ColorRefToQColor(rows.nodes[2]->GetColor()));

    // The parent's dashes: the upper half over its activity's work, the
    // whole height over its own.
    const std::vector<tGanttItem> dashes = items(tGanttItem::RecordedWork, 3);
    ASSERT_EQ(dashes.size(), 2u);
    EXPECT_EQ(dashes[0].rect.left(), px(At(2024, 3, 2, 9)));
    EXPECT_LT(dashes[0].rect.bottom(), dashes[1].rect.bottom());
    EXPECT_EQ(dashes[1].rect.left(), px(At(2024, 3, 1, 9)));
    EXPECT_EQ(dashes[0].anchor, dashes[1].anchor);
    EXPECT_TRUE(items(tGanttItem::ForecastBar, 3).empty());

    // Completed: dashes, no bar, no marker.
    EXPECT_EQ(items(tGanttItem::RecordedWork, 4).size(), 1u);
    EXPECT_TRUE(items(tGanttItem::ForecastBar, 4).empty());
    EXPECT_TRUE(items(tGanttItem::Hourglass, 4).empty());
    EXPECT_TRUE(done->IsCompleted());

    // Planned period checkered from a pixel right of its start, its
    // outline drawn last, and the forecast bar.
    const std::vector<tGanttItem> planned = items(tGanttItem::PlannedPeriod, 5);
    ASSERT_EQ(planned.size(), 1u);
    EXPECT_EQ(planned[0].rect.left(), px(At(2024, 3, 4, 0)) + 1);
    const std::vector<tGanttItem> outline = items(tGanttItem::PlannedOutline, 5);
    ASSERT_EQ(outline.size(), 2u);
    EXPECT_EQ(outline[0].rect.left(), px(At(2024, 3, 4, 0)));
    EXPECT_EQ(&layout->Items().back() - &layout->Items().front(),
              std::find_if(layout->Items().begin(), layout->Items().end(),
                           [](const tGanttItem &i) { return i.role == tGanttItem::PlannedOutline && i.colour == Qt::white; })
                  - layout->Items().begin());
    const std::vector<tGanttItem> bar = items(tGanttItem::ForecastBar, 5);
    ASSERT_EQ(bar.size(), 1u);
    EXPECT_EQ(bar[0].rect.left(), px(At(2024, 3, 5, 8)));
    EXPECT_EQ(visible[5].right, px(At(2024, 3, 8, 0)));
    EXPECT_EQ(open->GetChildCount(), 0);

    // The range of the dates drawn.
    EXPECT_EQ(layout->RangeStart(), At(2024, 3, 1, 9));
    EXPECT_EQ(layout->RangeEnd(), At(2024, 3, 15, 0));
}

TEST_F(GanttLayoutTest, AnOpenNodeWhoseForecastEndsAtItsStartShowsAnHourglass)
{
    CProject *node = leaf(1, At(2024, 3, 6, 0), At(2024, 3, 6, 0));
    tasks(1, -2, 1, 1800);
    build(5, At(2024, 3, 12, 0));
    EXPECT_TRUE(items(tGanttItem::ForecastBar, 1).empty());
    EXPECT_EQ(items(tGanttItem::Hourglass, 1).size(), 2u);
    EXPECT_EQ(items(tGanttItem::MarkerEdge, 1)[0].colour, QColor(Qt::white));
    EXPECT_EQ(layout->VisibleRows()[1].right, px(node->GetEndDate()));
}

TEST_F(GanttLayoutTest, LinksAreRedWhenTheSuccessorStartsFirstAndOnlyFromActivePredecessors)
{
    const auto after = [](int id, int type = 2) {
        return [id, type](tForecast &f) {
            f.TypeDateDebut = type;
            f.Predecesseurs = QStringLiteral(";%1,-2,0,4;").arg(id);
        };
    };
    leaf(1, At(2024, 3, 5, 8), At(2024, 3, 7, 17));        // row 1: A
    leaf(2, At(2024, 3, 6, 8), At(2024, 3, 8, 17), after(1)); // row 2: starts before A ends
    leaf(3, At(2024, 3, 8, 8), At(2024, 3, 9, 17), after(1, 3)); // row 3: after A
    leaf(4, At(2024, 3, 8, 8), At(2024, 3, 9, 17), after(5)); // row 4: after an inactive one
    leaf(5, At(2024, 3, 5, 8), At(2024, 3, 6, 17), Inactive); // row 5
    leaf(6, At(2024, 3, 8, 8), At(2024, 3, 9, 17), after(1, 0)); // row 6: own start, no link
    CProject *held = leaf(7, 0, 0, Inactive);                // row 7: an inactive parent
    CProject *child = add(71, QStringLiteral("Sous"), 7);    // row 8: its child
    child->m_computedStart = At(2024, 3, 5, 8);
    child->m_computedEnd = At(2024, 3, 6, 17);
    rows.nodes.push_back(child);
    leaf(8, At(2024, 3, 8, 8), At(2024, 3, 9, 17), after(71)); // row 9
    ASSERT_TRUE(held->GetChildCount() == 1);
    build(5, At(2024, 3, 12, 0));

    const std::vector<tGanttItem> red = items(tGanttItem::Link, 2);
    ASSERT_EQ(red.size(), 1u);
    EXPECT_EQ(red[0].colour, QColor(255, 0, 0));
    // From A's end at the middle of its row, to B's start + 4, down into B.
    const tGanttProject &a = layout->VisibleRows()[1];
    const tGanttProject &b = layout->VisibleRows()[2];
    EXPECT_EQ(red[0].polygon.first(), QPoint(a.right, FakeRows::Header + 20 + 2 + (20 - 6) / 2));
    EXPECT_EQ(red[0].polygon[1].x(), b.left + 4);
    EXPECT_EQ(red[0].polygon.last().y(), FakeRows::Header + 2 * 20 + 2);
    ASSERT_EQ(items(tGanttItem::LinkHead, 2).size(), 1u);
    EXPECT_EQ(items(tGanttItem::LinkHead, 2)[0].polygon.boundingRect().size(), QSize(7, 5));

    ASSERT_EQ(items(tGanttItem::Link, 3).size(), 1u);
    EXPECT_EQ(items(tGanttItem::Link, 3)[0].colour, QColor(Qt::black));
    EXPECT_TRUE(items(tGanttItem::Link, 4).empty());
    EXPECT_TRUE(items(tGanttItem::Link, 6).empty());
    EXPECT_TRUE(items(tGanttItem::Link, 9).empty());
}

TEST_F(GanttLayoutTest, LinksOutOfViewEndAtTheEdges)
{
    const auto after = [](int id) {
        return [id](tForecast &f) { f.Predecesseurs = QStringLiteral(";%1,-2,0,4;").arg(id); };
    };
    leaf(1, At(2024, 3, 5, 0), At(2024, 3, 6, 0));           // row 1, above the view
    leaf(2, At(2024, 3, 9, 0), At(2024, 3, 10, 0), after(6)); // row 2, above: successor of row 6
    leaf(3, At(2024, 3, 7, 0), At(2024, 3, 8, 0), after(1));  // row 3, shown
    leaf(4, At(2024, 3, 7, 0), At(2024, 3, 8, 0), after(8));  // row 4, shown
    leaf(5, At(2024, 3, 5, 0), At(2024, 3, 6, 0));            // row 5, shown
    leaf(6, At(2024, 3, 5, 0), At(2024, 3, 6, 0));            // row 6, shown
    leaf(7, At(2024, 3, 5, 0), At(2024, 3, 6, 0));            // row 7, below
    leaf(8, At(2024, 3, 5, 0), At(2024, 3, 6, 0));            // row 8, below
    leaf(9, At(2024, 3, 9, 0), At(2024, 3, 10, 0), after(5)); // row 9, below: successor of row 5
    rows.first = 3;
    rows.perPage = 3; // rows 3 to 6 drawn
    build(5, At(2024, 3, 12, 0), 200);
    ASSERT_EQ(layout->VisibleRows().size(), 4u);
    const int bottom = 200 - 1;

    // An arrow down from the header to row 3, up from the bottom to row 4.
    const std::vector<tGanttItem> down = items(tGanttItem::Link, 3);
    ASSERT_EQ(down.size(), 1u);
    EXPECT_EQ(down[0].polygon.first().y(), FakeRows::Header + 1);
    EXPECT_EQ(down[0].polygon.first().x(), px(At(2024, 3, 7, 0)) + 4);
    EXPECT_EQ(items(tGanttItem::LinkHead, 3).size(), 1u);
    const std::vector<tGanttItem> up = items(tGanttItem::Link, 4);
    ASSERT_EQ(up.size(), 1u);
    EXPECT_EQ(up[0].polygon.first().y(), bottom);
    EXPECT_EQ(items(tGanttItem::LinkHead, 4).size(), 1u);

    // Lines without a head from rows 5 and 6 to the successors out of view.
    const std::vector<tGanttItem> toBelow = items(tGanttItem::Link, 5);
    ASSERT_EQ(toBelow.size(), 1u);
    EXPECT_EQ(toBelow[0].polygon.last(), QPoint(px(At(2024, 3, 9, 0)) + 4, bottom));
    EXPECT_TRUE(items(tGanttItem::LinkHead, 5).empty());
    const std::vector<tGanttItem> toAbove = items(tGanttItem::Link, 6);
    ASSERT_EQ(toAbove.size(), 1u);
    EXPECT_EQ(toAbove[0].polygon.last().y(), FakeRows::Header + 1);
}

TEST_F(GanttLayoutTest, WithoutRowsOrDatesOnlyTheHeaderAndBackgroundAreDrawn)
{
    const auto rowItems = [this] {
        return std::count_if(layout->Items().begin(), layout->Items().end(), [](const tGanttItem &i) { return i.row >= 0; });
    };
    // A row height of 0: no row, no separator, no selection.
    leaf(1, At(2024, 3, 5, 0), At(2024, 3, 6, 0));
    rows.rowHeight = 0;
    rows.selected = 1;
    build(5, At(2024, 3, 12, 0));
    EXPECT_EQ(rowItems(), 0);
    EXPECT_TRUE(items(tGanttItem::Separator).empty());
    EXPECT_TRUE(items(tGanttItem::Selection).empty());
    EXPECT_EQ(items(tGanttItem::HeaderStripe).size(), size_t(FakeRows::Header));

    // Dates before 1970 have no pixel: nothing for the row.
    rows.rowHeight = 20;
    rows.selected = -1;
    rows.nodes.resize(1);
    leaf(2, -86400 * 400, -86400 * 300, [](tForecast &f) {
        f.TypeDateFin = 1;
        f.DateFin = -86400;
    });
    build(5, At(2024, 3, 12, 0));
    EXPECT_EQ(rowItems(), 0);
    EXPECT_EQ(layout->VisibleRows()[1].right, GanttScale::NoStartPixel);
    EXPECT_EQ(layout->RangeStart(), 0);

    // No grid at all.
    GanttLayout::tInput in;
    in.scale = &scale;
    in.config = &config;
    in.height = 300;
    GanttLayout bare(in);
    bare.Build();
    EXPECT_TRUE(bare.VisibleRows().empty());
}

TEST_F(GanttLayoutTest, TheSelectedRowAndTheNowLineLieInTheBody)
{
    leaf(1, At(2024, 3, 5, 0), At(2024, 3, 6, 0));
    leaf(2, At(2024, 3, 5, 0), At(2024, 3, 6, 0));
    rows.selected = 2;
    build(5, At(2024, 3, 12, 0));
    const std::vector<tGanttItem> band = items(tGanttItem::Selection);
    ASSERT_EQ(band.size(), 1u);
    EXPECT_EQ(band[0].rect, QRect(0, FakeRows::Header + 2 * 20, 800, 20));
    const std::vector<tGanttItem> nowLine = items(tGanttItem::NowLine);
    ASSERT_EQ(nowLine.size(), 1u);
    EXPECT_EQ(nowLine[0].line, QLine(px(now), FakeRows::Header, px(now), 399));
    EXPECT_EQ(items(tGanttItem::Separator).front().line.y1(), FakeRows::Header + 19);

    // Scrolled past the selection: no band.
    rows.first = 1;
    rows.selected = 0;
    build(5, At(2024, 3, 12, 0));
    EXPECT_TRUE(items(tGanttItem::Selection).empty());
}
