#include "CStretchInView.h"

#include <QEvent>
#include <QScrollArea>
#include <QWidget>

#include <algorithm>

CStretchInView::CStretchInView(QWidget *stretching, QWidget *lowest)
    : QObject(stretching)
    , m_stretching(stretching)
    , m_lowest(lowest)
{
    stretching->installEventFilter(this);
}

int CStretchInView::Room(int view, int contents, int above, int under, int least)
{
    if (contents <= view)
        return QWIDGETSIZE_MAX;
    return std::max(least, view - above - under);
}

void CStretchInView::FindArea()
{
    if (m_area)
        return;
    for (QWidget *w = m_stretching->parentWidget(); w; w = w->parentWidget()) {
        auto *area = qobject_cast<QScrollArea *>(w);
        if (area && area->widget() && area->widget()->isAncestorOf(m_stretching)) {
            m_area = area;
            area->viewport()->installEventFilter(this);
            area->widget()->installEventFilter(this);
            return;
        }
    }
}

void CStretchInView::Fit()
{
    if (!m_stretching || !m_lowest)
        return;
    FindArea();
    const auto *area = qobject_cast<QScrollArea *>(m_area.data());
    QWidget *contents = area ? area->widget() : nullptr;
    if (!contents || !m_stretching->isVisible())
        return;
    // Where the widget and what lies under it stand in the contents, as
    // laid out now; the view shows the contents from their top.
    const int above = m_stretching->mapTo(contents, QPoint(0, 0)).y();
    const int lowestBottom = m_lowest->mapTo(contents, QPoint(0, m_lowest->height())).y();
    const int under = std::max(0, lowestBottom - above - m_stretching->height());
    const int least = std::max(m_stretching->minimumSizeHint().height(), m_stretching->minimumHeight());
    const int room = Room(area->viewport()->height(), contents->height(), above, under, least);
    if (room != m_stretching->maximumHeight())
        m_stretching->setMaximumHeight(room);
}

bool CStretchInView::eventFilter(QObject *watched, QEvent *event)
{
    // The view or the contents it scrolls resized (the window, or another
    // page that needs more height), or the widget's page shown.
    const auto *area = qobject_cast<QScrollArea *>(m_area.data());
    const bool view = area && (watched == area->viewport() || watched == area->widget())
                      && event->type() == QEvent::Resize;
    const bool shown = watched == m_stretching && event->type() == QEvent::Show;
    if (view || shown)
        Fit();
    return QObject::eventFilter(watched, event);
}
