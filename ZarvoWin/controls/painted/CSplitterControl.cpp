#include "CSplitterControl.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>

CSplitterControl::CSplitterControl(QWidget *parent)
    : QWidget(parent)
{
    setCursor(Qt::SizeVerCursor);
}

void CSplitterControl::Create(const QRect &rect, QWidget *parent)
{
    QRect bar = rect;
    if (rect.width() < rect.height()) {
        m_orientation = VerticalBar;
        bar.setWidth(kThickness);
    } else {
        m_orientation = HorizontalBar;
        bar.setHeight(kThickness);
    }
    if (parent != parentWidget())
        setParent(parent);
    setGeometry(bar);
    setCursor(m_orientation == VerticalBar ? Qt::SizeHorCursor : Qt::SizeVerCursor);
    m_minimum = m_maximum = CentreAlongAxis();
    show();
}

int CSplitterControl::CentreAlongAxis() const
{
    const QRect g = geometry();
    return m_orientation == VerticalBar ? g.left() + g.width() / 2 : g.top() + g.height() / 2;
}

void CSplitterControl::SetRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = maximum;
}

void CSplitterControl::AttachPair(QWidget *before, QWidget *after)
{
    m_before = before;
    m_after = after;
}

void CSplitterControl::ChangeWidth(int side, QWidget *control, int delta)
{
    if (!control || !control->parentWidget())
        return;
    QRect g = control->geometry();
    if (side == RightSide)
        g.setRight(g.right() + delta);
    else if (side == LeftSide)
        g.setLeft(g.left() - delta);
    control->setGeometry(g);
    control->update();
}

void CSplitterControl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.setPen(QColor(200, 200, 200));
    painter.drawLine(0, 0, 0, height() - 1);
    painter.drawLine(width() - 1, 0, width() - 1, height() - 1);
}

void CSplitterControl::ShowLineAt(int position)
{
    QWidget *host = parentWidget();
    if (!host)
        return;
    if (!m_line)
        m_line = new QRubberBand(QRubberBand::Line, host);
    // Three pixels centred on the border's new place, across the bar.
    const QRect g = geometry();
    if (m_orientation == VerticalBar)
        m_line->setGeometry(position - 1, g.top(), 3, g.height());
    else
        m_line->setGeometry(g.left(), position - 1, g.width(), 3);
    m_line->show();
    m_line->raise();
}

void CSplitterControl::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !parentWidget()) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_dragging = true;
    m_tracked = m_downPosition = CentreAlongAxis();
    ShowLineAt(m_tracked);
}

void CSplitterControl::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging)
        return;
    const QPoint inParent = mapToParent(event->position().toPoint());
    const int along = m_orientation == VerticalBar ? inParent.x() : inParent.y();
    m_tracked = qMax(m_minimum, qMin(m_maximum, along));
    ShowLineAt(m_tracked);
}

void CSplitterControl::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_dragging) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_dragging = false;
    delete m_line;
    m_line = nullptr;
    QWidget *owner = parentWidget();
    if (!owner)
        return;
    // The bar's centre goes where the line was.
    QRect g = geometry();
    if (m_orientation == VerticalBar)
        g.moveLeft(m_tracked - g.width() / 2);
    else
        g.moveTop(m_tracked - g.height() / 2);
    setGeometry(g);
    const int delta = m_tracked - m_downPosition;
    if (m_before && m_after) {
        ChangeWidth(RightSide, m_before, delta);
        ChangeWidth(LeftSide, m_after, -delta);
        owner->repaint();
    } else {
        emit moved(m_id, delta);
    }
}
