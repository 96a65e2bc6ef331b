#include "CFitScrollArea.h"

#include <QEvent>
#include <QTimer>

CFitScrollArea::CFitScrollArea(QWidget *contents, QWidget *parent)
    : QScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    // Never across: the contents lay out within the width they are given.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Tab goes from the last field before it to the first inside it.
    setFocusPolicy(Qt::NoFocus);
    // The window's own face shows through, as without the area.
    viewport()->setAutoFillBackground(false);
    setWidget(contents);
    contents->setAutoFillBackground(false);
    contents->installEventFilter(this);
}

bool CFitScrollArea::eventFilter(QObject *watched, QEvent *event)
{
    // The contents' layout changed (a page built, a field shown): the
    // window's layout hears of it as it would without the area, whose
    // viewport passes nothing on.
    if (watched == widget() && event->type() == QEvent::LayoutRequest) {
        updateGeometry();
        const QSize now = widget()->minimumSizeHint();
        if (isVisible() && now != m_lastMinimum && !m_pending) {
            m_pending = true;
            QTimer::singleShot(0, this, [this] {
                m_pending = false;
                emit contentsMinimumChanged();
            });
        }
        m_lastMinimum = now;
    }
    return QScrollArea::eventFilter(watched, event);
}

QSize CFitScrollArea::sizeHint() const
{
    // The contents' own, as where they stood without the area: a plain
    // scroll area's is capped at a few dozen lines.
    const QWidget *contents = widget();
    return contents ? contents->sizeHint() : QScrollArea::sizeHint();
}

QSize CFitScrollArea::minimumSizeHint() const
{
    const QWidget *contents = widget();
    if (!contents)
        return QScrollArea::minimumSizeHint();
    // The contents' own smallest size: an explicit one where they set it.
    const QSize hint = contents->minimumSizeHint();
    const QSize own = contents->minimumSize();
    return QSize(own.width() > 0 ? own.width() : hint.width(), own.height() > 0 ? own.height() : hint.height());
}
