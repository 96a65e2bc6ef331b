#include "CPageZoomLayout.h"

#include <algorithm>
#include <cmath>

void CPageZoomLayout::Compute(int mode, QSize page, QSize area, int pageCount)
{
    m_mode = (mode < SeveralPages || mode > WindowWidth) ? ActualSize : mode;
    m_page = QSize(std::max(page.width(), 1), std::max(page.height(), 1));
    m_area = QSize(std::max(area.width(), 0), std::max(area.height(), 0));
    m_pageCount = std::max(pageCount, 0);
    const double w = m_page.width();
    const double h = m_page.height();
    const double aw = m_area.width();
    const double ah = m_area.height();

    switch (m_mode) {
    case SeveralPages: {
        // Two pages side by side, or one above the other: whichever shows
        // them larger.
        const double sideBySide = std::min((aw - 30) / (2 * w), (ah - 20) / h);
        const double stacked = std::min((aw - 20) / w, (ah - 20) / (2 * h));
        m_factor = std::max(sideBySide, stacked);
        break;
    }
    case OnePage:
        m_factor = std::min((aw - 20) / w, (ah - 20) / h);
        break;
    case WindowWidth:
        m_factor = (aw - 20) / w;
        break;
    default:
        m_factor = 1.0;
        break;
    }
    // A window too small for any page still shows a sliver of one.
    if (!(m_factor > 0.0))
        m_factor = 1.0 / std::max(w, h);
    m_horizontal = m_mode == ActualSize && aw < w + 20;

    m_displayed = QSize(std::max(1, int(w * m_factor)), std::max(1, int(h * m_factor)));
    m_gap = 15 - m_displayed.height() % 5;
    m_image = m_factor <= 1.0 ? m_displayed : m_page;

    m_perRow = 1;
    if (m_mode == SeveralPages)
        m_perRow = std::max(1, int(aw - 10) / (m_displayed.width() + 10));

    if (m_perRow == 1) {
        m_rows = 1;
        m_scrollPage = m_mode == OnePage ? PageStep() : int(ah) / ScrollUnit;
        m_scrollMax = int((qint64(m_gap) + qint64(m_displayed.height() + m_gap) * m_pageCount) / ScrollUnit);
        if (m_mode == OnePage)
            m_cacheLength = 2;
        else
            m_cacheLength = std::min(m_pageCount, int(ah) / (m_displayed.height() + 2 * m_gap) + 2);
    } else {
        m_rows = std::max(1, int(ah - 10) / (m_displayed.height() + 10));
        const int screen = m_perRow * m_rows;
        m_scrollMax = std::max(0, (m_pageCount + screen - 1) / screen - 1);
        m_scrollPage = 1;
        m_cacheLength = screen;
    }
    m_scrollPage = std::max(m_scrollPage, 1);
}

int CPageZoomLayout::ScrollLimit() const
{
    return std::max(0, m_scrollPage == 1 ? m_scrollMax : m_scrollMax - m_scrollPage);
}

int CPageZoomLayout::ClampScroll(int position) const
{
    return std::clamp(position, 0, ScrollLimit());
}

int CPageZoomLayout::ClampHorizontal(int position) const
{
    if (!m_horizontal)
        return 0;
    return std::clamp(position, 0, std::max(0, HorizontalMaximum() - HorizontalPage()));
}

int CPageZoomLayout::FirstVisiblePage(int position) const
{
    if (m_perRow == 1)
        return position * ScrollUnit / (m_displayed.height() + m_gap) + 1;
    return m_rows * position * m_perRow + 1;
}

int CPageZoomLayout::PositionOfPage(int page) const
{
    page = std::clamp(page, 1, std::max(m_pageCount, 1));
    if (m_perRow == 1)
        return PageStep() * (page - 1);
    return (page - 1) / (m_perRow * m_rows);
}

int CPageZoomLayout::LastPagePosition() const
{
    if (m_perRow == 1)
        return ClampScroll(PageStep() * std::max(m_pageCount - 1, 0));
    return ClampScroll(m_scrollMax);
}

int CPageZoomLayout::NextPagePosition(int position) const
{
    if (m_perRow == 1)
        return ClampScroll(PageStep() * (std::min(m_pageCount, FirstVisiblePage(position) + 1) - 1));
    return ClampScroll(std::min(position + 1, m_scrollMax));
}

int CPageZoomLayout::PreviousPagePosition(int position) const
{
    if (m_perRow == 1) {
        const int first = FirstVisiblePage(position);
        return first > 1 ? ClampScroll(PageStep() * (first - 2)) : 0;
    }
    return ClampScroll(std::max(position - 1, 0));
}

bool CPageZoomLayout::CanGoToNextPage(int position) const
{
    if (m_perRow == 1)
        return FirstVisiblePage(position) < m_pageCount;
    return position < m_scrollMax;
}

std::vector<CPageZoomLayout::tPlacement> CPageZoomLayout::Placements(int position, int horizontalPosition) const
{
    std::vector<tPlacement> placed;
    const int first = FirstVisiblePage(position);
    const int dw = m_displayed.width();
    const int dh = m_displayed.height();
    if (m_perRow == 1) {
        const int x = m_horizontal ? 10 - horizontalPosition : (m_area.width() - dw) / 2;
        qint64 y = m_gap + qint64(dh + m_gap) * (first - 1) - qint64(ScrollUnit) * position;
        for (int i = 0, page = first; i < m_cacheLength && page <= m_pageCount && y < m_area.height();
             ++i, ++page, y += dh + m_gap)
            placed.push_back({page, QRect(x, int(y), dw, dh)});
        return placed;
    }
    const int m = (m_area.width() - m_perRow * dw) / (m_perRow + 1);
    const int v = (m_area.height() - m_rows * dh) / (m_rows + 1);
    int page = first;
    for (int row = 0; row < m_rows; ++row) {
        for (int column = 0; column < m_perRow; ++column, ++page) {
            if (page > m_pageCount)
                return placed;
            placed.push_back({page, QRect(m + (m + dw) * column, v + (v + dh) * row, dw, dh)});
        }
    }
    return placed;
}
