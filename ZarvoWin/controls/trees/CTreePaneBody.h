#pragma once
#include <QWidget>

class CClassToolBar;
class CViewTree;

// What the project, task and report panes show: their toolbar across the
// top at its own height and their tree below it, 1 pixel inside the rest
// on every side, framed by a 1-pixel line in the palette's shadow colour.
// Focus given to the body goes to the tree.
class CTreePaneBody : public QWidget
{
    Q_OBJECT
public:
    // Takes both widgets as its children.
    CTreePaneBody(CClassToolBar *toolBar, CViewTree *tree, QWidget *parent = nullptr);

    CClassToolBar *ToolBar() const { return m_toolBar; }
    CViewTree *Tree() const { return m_tree; }

    // Where the toolbar and the tree go in a body of `size` with a
    // toolbar `toolBarHeight` high.
    static QRect ToolBarRect(const QSize &size, int toolBarHeight);
    static QRect TreeRect(const QSize &size, int toolBarHeight);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void LayOut();

    CClassToolBar *m_toolBar;
    CViewTree *m_tree;
};
