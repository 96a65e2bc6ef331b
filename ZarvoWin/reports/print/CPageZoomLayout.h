#pragma once
#include <QRect>
#include <QSize>

#include <vector>

// Where the pages of the print layout go on screen, without a window: the
// zoom factor of each zoom mode, the displayed page size and the gap
// between pages, how many pages share a row and a screen, the scroll
// ranges, how many page images the cache holds, which page is the first
// visible one for a scroll position, the positions paging moves to, and
// the place of each visible page.
//
// With one page per row the vertical position counts 5-pixel units; with
// several pages per row it counts screens.
class CPageZoomLayout
{
public:
    enum Mode { SeveralPages = 0, OnePage = 1, ActualSize = 2, WindowWidth = 3 };
    static constexpr int ScrollUnit = 5;

    // A visible page: its number (from 1) and where it is drawn.
    struct tPlacement
    {
        int Page = 0;
        QRect Rect;
    };

    // Recomputes everything from the page size at actual size, the page
    // area and the page count. A mode outside 0..3 counts as actual size;
    // an empty page counts as one pixel square.
    void Compute(int mode, QSize page, QSize area, int pageCount);

    int Mode() const { return m_mode; }
    double Factor() const { return m_factor; }
    QSize PageSize() const { return m_page; }
    QSize AreaSize() const { return m_area; }
    QSize DisplayedSize() const { return m_displayed; }
    // The size page images are drawn at: the displayed size up to actual
    // size, never larger (larger zooms stretch them when shown).
    QSize ImageSize() const { return m_image; }
    int Gap() const { return m_gap; }
    int PagesPerRow() const { return m_perRow; }
    int Rows() const { return m_rows; }
    int PageCount() const { return m_pageCount; }
    int CacheLength() const { return m_cacheLength; }

    int ScrollMaximum() const { return m_scrollMax; }
    int ScrollPage() const { return m_scrollPage; }
    // The largest position the scroll bar reaches: the maximum less a
    // page, the maximum itself when a page is one screen.
    int ScrollLimit() const;
    int ClampScroll(int position) const;
    bool HasHorizontalScroll() const { return m_horizontal; }
    int HorizontalMaximum() const { return m_page.width() + 20; }
    int HorizontalPage() const { return m_area.width(); }
    int ClampHorizontal(int position) const;

    int FirstVisiblePage(int position) const;
    // The position that shows page `page` first (clamped to the pages).
    int PositionOfPage(int page) const;
    int FirstPagePosition() const { return 0; }
    int LastPagePosition() const;
    int NextPagePosition(int position) const;
    int PreviousPagePosition(int position) const;
    bool CanGoToNextPage(int position) const;
    bool CanGoToPreviousPage(int position) const { return FirstVisiblePage(position) > 1; }

    // The pages visible at these positions, in the order the cache holds
    // them.
    std::vector<tPlacement> Placements(int position, int horizontalPosition) const;

    // Whether "window width" fits: the page at actual size plus 20 is not
    // narrower than the area.
    static bool WindowWidthFits(int pageWidth, int areaWidth) { return pageWidth + 20 >= areaWidth; }

private:
    int PageStep() const { return (m_displayed.height() + m_gap) / ScrollUnit; }

    int m_mode = ActualSize;
    double m_factor = 1.0;
    QSize m_page{1, 1};
    QSize m_area;
    QSize m_displayed{1, 1};
    QSize m_image{1, 1};
    int m_gap = 15;
    int m_perRow = 1;
    int m_rows = 1;
    int m_pageCount = 0;
    int m_cacheLength = 0;
    int m_scrollMax = 0;
    int m_scrollPage = 1;
    bool m_horizontal = false;
};
