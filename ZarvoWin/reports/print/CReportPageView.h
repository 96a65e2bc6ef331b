#pragma once
#include "CPageZoomLayout.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <vector>

class QScrollBar;

// The print layout's pages on screen: a grey area with the pages placed
// by the zoom layout, and its scroll bars. Pages are drawn into a cache of
// page images as long as one screen shows; when the first visible page
// moves, the images still showing a page are kept and only the newly
// visible pages are drawn. Images are drawn at the displayed size (the
// page drawn through a smooth reduction) and never larger than actual
// size: larger zooms stretch them on screen.
class CReportPageView : public QWidget
{
    Q_OBJECT
public:
    // Draws page `page` (from 1) in the coordinates of the page at actual
    // size onto a white device (the painter reduces it when it shows
    // smaller).
    using PageDrawer = std::function<void(QPainter &painter, int page)>;

    explicit CReportPageView(QWidget *parent = nullptr);
    ~CReportPageView() override;

    void SetPageDrawer(PageDrawer drawer) { m_drawer = std::move(drawer); }
    // The page size at actual size (screen pixels), the page count and the
    // screen's resolution the images are made for; keeps the first
    // visible page and draws the cache again.
    void SetPages(QSize pageSize, int pageCount, int dotsPerInch);
    // Frees the page images; nothing shows until SetPages.
    void Clear();

    int Zoom() const { return m_mode; }
    // Sets the zoom mode (outside 0 to 3: 2) and lays the screen out again.
    void SetZoom(int mode);
    const CPageZoomLayout &Layout() const { return m_layout; }
    int Position() const { return m_position; }
    int HorizontalPosition() const { return m_horizontalPosition; }
    int FirstVisiblePage() const;
    int PageCount() const { return m_pageCount; }
    QSize PageSize() const { return m_pageSize; }

    // Paging.
    void GoToFirstPage();
    void GoToLastPage();
    void GoToNextPage();
    void GoToPreviousPage();
    void ScrollTo(int position);
    void ScrollHorizontallyTo(int position);

    // The page images and which page each holds (0: none).
    const std::vector<QImage> &CacheImages() const { return m_images; }
    const std::vector<int> &CachePages() const { return m_cachePages; }
    // How many pages were drawn into images since the view was made.
    int PagesDrawn() const { return m_pagesDrawn; }
    // The area the pages are placed in.
    QSize AreaSize() const;

signals:
    // The zoom mode changed by itself (window width no longer fits), or
    // the first visible page moved: the commands may change.
    void stateChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void Recompute();
    void UpdateScrollBars();
    void FillCache();
    QImage DrawPageImage(int page);
    void MoveTo(int position);

    PageDrawer m_drawer;
    CPageZoomLayout m_layout;
    QScrollBar *m_vertical = nullptr;
    QScrollBar *m_horizontal = nullptr;
    QSize m_pageSize;
    int m_pageCount = 0;
    int m_dotsPerInch = 96;
    int m_mode = CPageZoomLayout::ActualSize;
    int m_position = 0;
    int m_horizontalPosition = 0;
    std::vector<QImage> m_images;
    std::vector<int> m_cachePages;
    int m_cacheFirst = -1;
    int m_pagesDrawn = 0;
    bool m_updatingBars = false;
};
