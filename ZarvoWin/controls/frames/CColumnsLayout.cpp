#include "CColumnsLayout.h"

#include <algorithm>

CColumnsLayout::CColumnsLayout(QWidget *parent, int gap)
    : QBoxLayout(LeftToRight, parent)
    , m_gap(gap)
{
}

void CColumnsLayout::SetMayStack(bool may)
{
    if (may == m_mayStack)
        return;
    m_mayStack = may;
    invalidate();
}

void CColumnsLayout::AddColumn(QLayout *column, int stretch)
{
    // The gap is a spacer of the box, which turns with it.
    if (count() > 0 && m_gap > 0)
        addSpacing(m_gap);
    addLayout(column, stretch);
}

namespace {

// The sizes of the columns shown (a hidden widget is no column, a gap is
// none), added up one way and the largest the other.
struct Columns
{
    int count = 0;
    QSize minimumSum{0, 0}, minimumMost{0, 0}, hintSum{0, 0}, hintMost{0, 0};
};

Columns measure(const QBoxLayout &layout)
{
    Columns c;
    for (int i = 0; i < layout.count(); ++i) {
        QLayoutItem *item = layout.itemAt(i);
        if (!item || item->isEmpty() || item->spacerItem())
            continue;
        ++c.count;
        const QSize minimum = item->minimumSize();
        const QSize hint = item->sizeHint();
        c.minimumSum += minimum;
        c.hintSum += hint;
        c.minimumMost = c.minimumMost.expandedTo(minimum);
        c.hintMost = c.hintMost.expandedTo(hint);
    }
    return c;
}

} // namespace

int CColumnsLayout::SideBySideWidth() const
{
    const Columns c = measure(*this);
    const QMargins margins = contentsMargins();
    return c.minimumSum.width() + std::max(0, c.count - 1) * (std::max(0, spacing()) + m_gap) + margins.left()
           + margins.right();
}

QSize CColumnsLayout::sizeHint() const
{
    const Columns c = measure(*this);
    const QMargins margins = contentsMargins();
    // As a box's, never below its smallest size side by side.
    const int between = std::max(0, c.count - 1) * (std::max(0, spacing()) + m_gap);
    const QSize hint = QSize(c.hintSum.width() + between, c.hintMost.height())
                           .expandedTo(QSize(c.minimumSum.width() + between, c.minimumMost.height()));
    return hint + QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
}

QSize CColumnsLayout::minimumSize() const
{
    const Columns c = measure(*this);
    const QMargins margins = contentsMargins();
    const int height = Stacked() ? c.minimumSum.height() + std::max(0, c.count - 1) * (std::max(0, spacing()) + m_gap)
                                 : c.minimumMost.height();
    if (!m_mayStack)
        return QSize(SideBySideWidth(), height + margins.top() + margins.bottom());
    return QSize(c.minimumMost.width(), height) + QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
}

void CColumnsLayout::setGeometry(const QRect &rect)
{
    // Turned the other way, the layout asks for its place again: its
    // smallest height is not the same, and the page above it hears of it.
    const Direction wanted = !m_mayStack || rect.width() >= SideBySideWidth() ? LeftToRight : TopToBottom;
    if (wanted != direction())
        setDirection(wanted);
    QBoxLayout::setGeometry(rect);
}
