#include "CReportPageView.h"

#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace {

QImage WhitePage(QSize size, int dotsPerInch)
{
    QImage image(size, QImage::Format_RGB32);
    // Fonts and pictures are measured by the device's resolution: the
    // screen's, as the page would show at actual size.
    const int dotsPerMetre = qRound(dotsPerInch / 0.0254);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    return image;
}

} // namespace

CReportPageView::CReportPageView(QWidget *parent)
    : QWidget(parent)
    , m_vertical(new QScrollBar(Qt::Vertical, this))
    , m_horizontal(new QScrollBar(Qt::Horizontal, this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    m_horizontal->hide();
    connect(m_vertical, &QScrollBar::valueChanged, this, [this](int value) {
        if (!m_updatingBars)
            MoveTo(value);
    });
    connect(m_horizontal, &QScrollBar::valueChanged, this, [this](int value) {
        if (!m_updatingBars)
            ScrollHorizontallyTo(value);
    });
}

CReportPageView::~CReportPageView() = default;

QSize CReportPageView::AreaSize() const
{
    const int bar = m_vertical->sizeHint().width();
    const int below = m_horizontal->isVisible() ? m_horizontal->sizeHint().height() : 0;
    return QSize(std::max(width() - bar, 0), std::max(height() - below, 0));
}

void CReportPageView::SetPages(QSize pageSize, int pageCount, int dotsPerInch)
{
    m_pageSize = pageSize;
    m_pageCount = std::max(pageCount, 0);
    m_dotsPerInch = dotsPerInch > 0 ? dotsPerInch : 96;
    Recompute();
}

void CReportPageView::Clear()
{
    m_pageCount = 0;
    m_images.clear();
    m_cachePages.clear();
    m_cacheFirst = -1;
    m_position = 0;
    m_horizontalPosition = 0;
    update();
}

void CReportPageView::SetZoom(int mode)
{
    m_mode = (mode < 0 || mode > 3) ? int(CPageZoomLayout::ActualSize) : mode;
    if (m_pageCount > 0)
        Recompute();
}

int CReportPageView::FirstVisiblePage() const
{
    if (m_pageCount <= 0)
        return 0;
    return std::clamp(m_layout.FirstVisiblePage(m_position), 1, m_pageCount);
}

void CReportPageView::Recompute()
{
    const int firstBefore = std::max(FirstVisiblePage(), 1);
    const int barWidth = m_vertical->sizeHint().width();
    const QSize area(std::max(width() - barWidth, 0), std::max(height(), 0));
    // The window's width no longer fits when the window grew past the
    // page: actual size takes over.
    if (m_mode == CPageZoomLayout::WindowWidth && !CPageZoomLayout::WindowWidthFits(m_pageSize.width(), area.width()))
        m_mode = CPageZoomLayout::ActualSize;
    m_layout.Compute(m_mode, m_pageSize, area, m_pageCount);
    if (m_layout.HasHorizontalScroll()) {
        const QSize shorter(area.width(), std::max(area.height() - m_horizontal->sizeHint().height(), 0));
        m_layout.Compute(m_mode, m_pageSize, shorter, m_pageCount);
    }

    m_images.assign(size_t(std::max(m_layout.CacheLength(), 0)), QImage());
    m_cachePages.assign(m_images.size(), 0);
    m_cacheFirst = -1;
    m_position = m_layout.ClampScroll(m_layout.PositionOfPage(std::min(firstBefore, std::max(m_pageCount, 1))));
    m_horizontalPosition = m_layout.ClampHorizontal(m_horizontalPosition);
    UpdateScrollBars();
    FillCache();
    update();
    emit stateChanged();
}

void CReportPageView::UpdateScrollBars()
{
    m_updatingBars = true;
    const int barWidth = m_vertical->sizeHint().width();
    const int barHeight = m_horizontal->sizeHint().height();
    const bool horizontal = m_layout.HasHorizontalScroll() && m_pageCount > 0;
    m_horizontal->setVisible(horizontal);
    m_vertical->setGeometry(width() - barWidth, 0, barWidth, std::max(height() - (horizontal ? barHeight : 0), 0));
    m_vertical->setRange(0, m_layout.ScrollLimit());
    m_vertical->setPageStep(m_layout.ScrollPage());
    m_vertical->setSingleStep(1);
    m_vertical->setValue(m_position);
    if (horizontal) {
        m_horizontal->setGeometry(0, height() - barHeight, std::max(width() - barWidth, 0), barHeight);
        m_horizontal->setRange(0, std::max(0, m_layout.HorizontalMaximum() - m_layout.HorizontalPage()));
        m_horizontal->setPageStep(m_layout.HorizontalPage());
        m_horizontal->setValue(m_horizontalPosition);
    }
    m_updatingBars = false;
}

QImage CReportPageView::DrawPageImage(int page)
{
    ++m_pagesDrawn;
    const QSize actual = m_pageSize.expandedTo(QSize(1, 1));
    QImage image = WhitePage(m_layout.ImageSize().expandedTo(QSize(1, 1)), m_dotsPerInch);
    if (m_drawer) {
        QPainter painter(&image);
        // A reduced page is drawn reduced, smoothly, at the screen's
        // resolution: its texts keep the measures the pages were broken
        // with, and no page is drawn larger than it shows.
        if (image.size() != actual) {
            painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
            painter.scale(double(image.width()) / actual.width(), double(image.height()) / actual.height());
        }
        m_drawer(painter, page);
    }
    return image;
}

void CReportPageView::FillCache()
{
    const int first = FirstVisiblePage();
    if (first == m_cacheFirst || m_images.empty())
        return;
    // The ring turns: an image that still shows a visible page moves to
    // its new place, and only the others are drawn.
    std::vector<QImage> images(m_images.size());
    std::vector<int> pages(m_images.size(), 0);
    for (size_t i = 0; i < images.size(); ++i) {
        const int page = first + int(i);
        if (page < 1 || page > m_pageCount)
            continue;
        const qint64 old = m_cacheFirst < 0 ? -1 : qint64(page) - m_cacheFirst;
        if (old >= 0 && old < qint64(m_images.size()) && m_cachePages[size_t(old)] == page) {
            images[i] = std::move(m_images[size_t(old)]);
        } else {
            images[i] = DrawPageImage(page);
        }
        pages[i] = page;
    }
    m_images = std::move(images);
    m_cachePages = std::move(pages);
    m_cacheFirst = first;
}

void CReportPageView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(QPalette::Dark));
    if (m_pageCount <= 0 || m_images.empty())
        return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.setClipRect(QRect(QPoint(0, 0), AreaSize()));
    for (const CPageZoomLayout::tPlacement &placed : m_layout.Placements(m_position, m_horizontalPosition)) {
        const qint64 index = qint64(placed.Page) - m_cacheFirst;
        if (m_cacheFirst < 0 || index < 0 || index >= qint64(m_images.size()) || m_images[size_t(index)].isNull())
            continue;
        const QImage &image = m_images[size_t(index)];
        if (image.size() == placed.Rect.size())
            painter.drawImage(placed.Rect.topLeft(), image);
        else
            painter.drawImage(placed.Rect, image);
    }
}

void CReportPageView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_pageCount > 0)
        Recompute();
    else
        UpdateScrollBars();
}

void CReportPageView::MoveTo(int position)
{
    position = m_layout.ClampScroll(position);
    if (position == m_position)
        return;
    m_position = position;
    UpdateScrollBars();
    FillCache();
    update();
    emit stateChanged();
}

void CReportPageView::ScrollTo(int position)
{
    MoveTo(position);
}

void CReportPageView::ScrollHorizontallyTo(int position)
{
    position = m_layout.ClampHorizontal(position);
    if (position == m_horizontalPosition)
        return;
    m_horizontalPosition = position;
    UpdateScrollBars();
    update();
}

void CReportPageView::GoToFirstPage()
{
    MoveTo(m_layout.FirstPagePosition());
}

void CReportPageView::GoToLastPage()
{
    MoveTo(m_layout.LastPagePosition());
}

void CReportPageView::GoToNextPage()
{
    MoveTo(m_layout.NextPagePosition(m_position));
}

void CReportPageView::GoToPreviousPage()
{
    MoveTo(m_layout.PreviousPagePosition(m_position));
}

void CReportPageView::wheelEvent(QWheelEvent *event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0 || m_pageCount <= 0) {
        event->ignore();
        return;
    }
    const int notches = std::max(1, std::abs(delta) / 120);
    MoveTo(m_position + (delta < 0 ? 1 : -1) * notches * m_layout.ScrollPage());
    event->accept();
}

void CReportPageView::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Down: MoveTo(m_position + 1); break;
    case Qt::Key_Up: MoveTo(m_position - 1); break;
    case Qt::Key_PageDown: MoveTo(m_position + m_layout.ScrollPage()); break;
    case Qt::Key_PageUp: MoveTo(m_position - m_layout.ScrollPage()); break;
    case Qt::Key_Home: GoToFirstPage(); break;
    case Qt::Key_End: GoToLastPage(); break;
    case Qt::Key_Right: ScrollHorizontallyTo(m_horizontalPosition + 1); break;
    case Qt::Key_Left: ScrollHorizontallyTo(m_horizontalPosition - 1); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}
