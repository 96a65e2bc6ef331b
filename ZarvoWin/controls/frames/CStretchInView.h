#pragma once
#include <QObject>
#include <QPointer>

class QAbstractScrollArea;
class QWidget;

// A widget that stretches over its page (a list above its buttons), on a
// page that an area scrolls downwards (CFitScrollArea): where the page is
// taller than the area's view, as when another page of the same stack
// needs that height, the widget gives up height so that what the page
// holds under it, down to `lowest`, shows in the view without scrolling.
// Where the view holds the whole page it takes the height its layout
// gives it, and it never goes below its own smallest height. The page's
// layout keeps what lies under the widget right under it (a stretch
// after it takes the height given up).
//
// Made with the widget, whose child it is; it finds the area once the
// widget is shown, and follows the sizes of the view and of what it
// scrolls from then on.
class CStretchInView : public QObject
{
    Q_OBJECT
public:
    CStretchInView(QWidget *stretching, QWidget *lowest);

    // The most height the widget may take: the view's height less what
    // lies above the widget and under it, never below `least`; unbounded
    // (QWIDGETSIZE_MAX) where the view holds the whole of the contents.
    static int Room(int view, int contents, int above, int under, int least);

    // Bounds the widget's height anew (done at each change of the view).
    void Fit();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FindArea();

    QPointer<QWidget> m_stretching;
    QPointer<QWidget> m_lowest;
    QPointer<QAbstractScrollArea> m_area;
};
