// The print layout's zoom arithmetic without a window: factors and sizes
// per zoom mode, scroll ranges, the page cache's length, paging and where
// the visible pages go.
#include "CPageZoomLayout.h"

#include <gtest/gtest.h>

namespace {

struct tCase
{
    const char *name;
    int mode;
    QSize page;
    QSize area;
    int pages;
    double factor;
    QSize displayed;
    QSize image;
    int gap;
    int perRow;
    int rows;
    int scrollPage;
    int scrollMax;
    int cache;
    bool horizontal;
};

const tCase Cases[] = {
    // A4 at 96 dpi: 793 by 1122 pixels, a gap of 15 - 1122 mod 5.
    {"actual size", 2, {793, 1122}, {1000, 800}, 5, 1.0, {793, 1122}, {793, 1122}, 13, 1, 1, 160, 1137, 2, false},
    {"actual size, narrow", 2, {793, 1122}, {700, 800}, 5, 1.0, {793, 1122}, {793, 1122}, 13, 1, 1, 160, 1137, 2, true},
    {"one page", 1, {793, 1122}, {1000, 581}, 5, 0.5, {396, 561}, {396, 561}, 14, 1, 1, 115, 577, 2, false},
    {"several, side by side", 0, {793, 1122}, {1000, 581}, 5, 0.5, {396, 561}, {396, 561}, 14, 2, 1, 1, 2, 2, false},
    {"several, four a row", 0, {800, 1000}, {1710, 520}, 10, 0.5, {400, 500}, {400, 500}, 15, 4, 1, 1, 2, 4, false},
    // Stacked gives the larger factor, and only one page fits a row.
    {"several, one a row", 0, {800, 1000}, {520, 2020}, 10, 0.625, {500, 625}, {500, 625}, 15, 1, 1, 404, 1283, 5,
     false},
    // Wider than actual size: images stay at actual size.
    {"window width", 3, {800, 1000}, {1020, 700}, 3, 1.25, {1000, 1250}, {800, 1000}, 15, 1, 1, 140, 762, 2, false},
    {"mode out of range", 7, {800, 1000}, {1020, 700}, 3, 1.0, {800, 1000}, {800, 1000}, 15, 1, 1, 140, 612, 2,
     false},
    {"a paper of size 0", 1, {0, 0}, {100, 100}, 1, 80.0, {80, 80}, {1, 1}, 15, 1, 1, 19, 22, 2, false},
    {"no pages", 2, {800, 1000}, {1020, 700}, 0, 1.0, {800, 1000}, {800, 1000}, 15, 1, 1, 140, 3, 0, false},
};

} // namespace

TEST(PageZoomLayoutTest, EachModeGivesItsFactorSizesAndScrollRanges)
{
    for (const tCase &c : Cases) {
        SCOPED_TRACE(c.name);
        CPageZoomLayout layout;
        layout.Compute(c.mode, c.page, c.area, c.pages);
        EXPECT_DOUBLE_EQ(layout.Factor(), c.factor);
        EXPECT_EQ(layout.DisplayedSize(), c.displayed);
        EXPECT_EQ(layout.ImageSize(), c.image);
        EXPECT_EQ(layout.Gap(), c.gap);
        EXPECT_EQ(layout.PagesPerRow(), c.perRow);
        EXPECT_EQ(layout.Rows(), c.rows);
        EXPECT_EQ(layout.ScrollPage(), c.scrollPage);
        EXPECT_EQ(layout.ScrollMaximum(), c.scrollMax);
        EXPECT_EQ(layout.CacheLength(), c.cache);
        EXPECT_EQ(layout.HasHorizontalScroll(), c.horizontal);
    }
}

TEST(PageZoomLayoutTest, OnePageARowPagesToTheStartOfEachPageAndStopsAtTheLast)
{
    CPageZoomLayout layout;
    // Half size: 400 by 500 pages, 515 pixels (103 units) from one to the next.
    layout.Compute(CPageZoomLayout::OnePage, {800, 1000}, {1000, 520}, 3);
    ASSERT_EQ(layout.ScrollPage(), 103);
    EXPECT_EQ(layout.ScrollLimit(), 312 - 103);

    EXPECT_EQ(layout.FirstVisiblePage(0), 1);
    EXPECT_EQ(layout.NextPagePosition(0), 103);
    EXPECT_EQ(layout.FirstVisiblePage(103), 2);
    EXPECT_EQ(layout.NextPagePosition(103), 206);
    EXPECT_EQ(layout.FirstVisiblePage(206), 3);
    EXPECT_FALSE(layout.CanGoToNextPage(206));
    EXPECT_EQ(layout.NextPagePosition(206), 206);
    EXPECT_EQ(layout.LastPagePosition(), 206);

    // Back: to the start of the page before the one at the top.
    EXPECT_EQ(layout.PreviousPagePosition(206), 103);
    EXPECT_EQ(layout.PreviousPagePosition(150), 0);
    EXPECT_EQ(layout.PreviousPagePosition(0), 0);
    EXPECT_FALSE(layout.CanGoToPreviousPage(50));
    EXPECT_TRUE(layout.CanGoToPreviousPage(103));

    EXPECT_EQ(layout.ClampScroll(-4), 0);
    EXPECT_EQ(layout.ClampScroll(1000), 209);
    EXPECT_EQ(layout.PositionOfPage(99), 206);
}

TEST(PageZoomLayoutTest, SeveralPagesARowPageByScreens)
{
    CPageZoomLayout layout;
    layout.Compute(CPageZoomLayout::SeveralPages, {800, 1000}, {1710, 520}, 10);
    ASSERT_EQ(layout.PagesPerRow(), 4);
    EXPECT_EQ(layout.FirstVisiblePage(1), 5);
    EXPECT_EQ(layout.NextPagePosition(0), 1);
    EXPECT_EQ(layout.NextPagePosition(2), 2);
    EXPECT_TRUE(layout.CanGoToNextPage(1));
    EXPECT_FALSE(layout.CanGoToNextPage(2));
    EXPECT_EQ(layout.PreviousPagePosition(1), 0);
    EXPECT_EQ(layout.LastPagePosition(), 2);
    EXPECT_EQ(layout.PositionOfPage(9), 2);
    // A scroll page of one screen reaches the maximum itself.
    EXPECT_EQ(layout.ClampScroll(5), 2);
}

TEST(PageZoomLayoutTest, PagesArePlacedCentredOrInEvenMargins)
{
    CPageZoomLayout one;
    one.Compute(CPageZoomLayout::OnePage, {800, 1000}, {1000, 520}, 3);
    auto placed = one.Placements(0, 0);
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_EQ(placed[0].Page, 1);
    EXPECT_EQ(placed[0].Rect, QRect(300, 15, 400, 500));
    // Half way down the first page the second shows below it.
    placed = one.Placements(50, 0);
    ASSERT_EQ(placed.size(), 2u);
    EXPECT_EQ(placed[0].Rect.top(), 15 - 250);
    EXPECT_EQ(placed[1].Page, 2);
    EXPECT_EQ(placed[1].Rect.top(), 15 - 250 + 515);

    CPageZoomLayout wide;
    wide.Compute(CPageZoomLayout::ActualSize, {800, 1000}, {700, 600}, 2);
    ASSERT_TRUE(wide.HasHorizontalScroll());
    EXPECT_EQ(wide.Placements(0, 30)[0].Rect.left(), 10 - 30);
    EXPECT_EQ(wide.ClampHorizontal(500), 820 - 700);

    CPageZoomLayout several;
    several.Compute(CPageZoomLayout::SeveralPages, {800, 1000}, {1710, 520}, 10);
    placed = several.Placements(0, 0);
    ASSERT_EQ(placed.size(), 4u);
    EXPECT_EQ(placed[0].Rect, QRect(22, 10, 400, 500));
    EXPECT_EQ(placed[1].Rect.topLeft(), QPoint(22 + 422, 10));
    // The last screen holds what is left.
    placed = several.Placements(2, 0);
    ASSERT_EQ(placed.size(), 2u);
    EXPECT_EQ(placed[0].Page, 9);
    EXPECT_EQ(placed[1].Page, 10);
}

TEST(PageZoomLayoutTest, WindowWidthFitsOnlyUpToThePageAndTwentyPixels)
{
    EXPECT_TRUE(CPageZoomLayout::WindowWidthFits(800, 820));
    EXPECT_FALSE(CPageZoomLayout::WindowWidthFits(800, 821));
}
