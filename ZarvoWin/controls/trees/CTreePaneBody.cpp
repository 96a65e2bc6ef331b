#include "CTreePaneBody.h"

#include "CClassToolBar.h"
#include "CViewTree.h"

#include <QPainter>

CTreePaneBody::CTreePaneBody(CClassToolBar *toolBar, CViewTree *tree, QWidget *parent)
    : QWidget(parent)
    , m_toolBar(toolBar)
    , m_tree(tree)
{
    m_toolBar->setParent(this);
    m_tree->setParent(this);
    m_tree->setFrameShape(QFrame::NoFrame);
    setFocusProxy(m_tree);
    setFocusPolicy(Qt::StrongFocus);
    LayOut();
}

QRect CTreePaneBody::ToolBarRect(const QSize &size, int toolBarHeight)
{
    return QRect(0, 0, size.width(), qMax(0, toolBarHeight));
}

QRect CTreePaneBody::TreeRect(const QSize &size, int toolBarHeight)
{
    const int top = qMax(0, toolBarHeight);
    return QRect(1, top + 1, qMax(0, size.width() - 2), qMax(0, size.height() - top - 2));
}

QSize CTreePaneBody::sizeHint() const
{
    return QSize(200, 200);
}

QSize CTreePaneBody::minimumSizeHint() const
{
    return QSize(m_toolBar->minimumSizeHint().width(), m_toolBar->sizeHint().height() + 40);
}

void CTreePaneBody::LayOut()
{
    const int height = m_toolBar->sizeHint().height();
    m_toolBar->setGeometry(ToolBarRect(size(), height));
    m_tree->setGeometry(TreeRect(size(), height));
}

void CTreePaneBody::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    LayOut();
}

void CTreePaneBody::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.setBrush(Qt::NoBrush);
    // Just outside the tree.
    const QRect tree = m_tree->geometry();
    painter.drawRect(tree.adjusted(-1, -1, 0, 0));
}
