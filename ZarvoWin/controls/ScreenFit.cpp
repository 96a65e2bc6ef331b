#include "ScreenFit.h"

#include <QAbstractScrollArea>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QStyle>
#include <QVariant>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace {

// The first coordinate of an inside of `length` that keeps it and its
// frame (`before`, `after`) between `low` and `low + span`, moved the least
// from `wanted`.
int within(int wanted, int length, int before, int after, int low, int span)
{
    const int first = low + before;
    const int last = low + span - after - length;
    return std::max(first, std::min(wanted, last));
}

// The part's smallest size as it was made, before any fitting lowered it.
constexpr char OwnMinimum[] = "screenFitOwnMinimum";

// The window's smallest inside as its layout has it now.
QSize layoutMinimum(QWidget *window)
{
    QLayout *layout = window->layout();
    if (!layout)
        return window->minimumSizeHint().expandedTo(window->minimumSize());
    // Every cached size below is read again: a part hidden in a stack of
    // pages tells no layout of its change.
    layout->invalidate();
    layout->activate();
    return layout->totalMinimumSize();
}

} // namespace

QSize ScreenFit::Room(const QRect &available, const QMargins &frame)
{
    return QSize(std::max(1, available.width() - frame.left() - frame.right()),
                 std::max(1, available.height() - frame.top() - frame.bottom()));
}

QRect ScreenFit::Fit(const QRect &inside, const QRect &available, const QMargins &frame)
{
    const QSize size = inside.size().boundedTo(Room(available, frame)).expandedTo(QSize(1, 1));
    const int x = within(inside.left(), size.width(), frame.left(), frame.right(), available.left(), available.width());
    const int y = within(inside.top(), size.height(), frame.top(), frame.bottom(), available.top(), available.height());
    return QRect(QPoint(x, y), size);
}

bool ScreenFit::Fits(const QRect &inside, const QRect &available, const QMargins &frame)
{
    return available.contains(inside.marginsAdded(frame));
}

QSize ScreenFit::Excess(const QSize &minimum, const QSize &room)
{
    return QSize(std::max(0, minimum.width() - room.width()), std::max(0, minimum.height() - room.height()));
}

QRect ScreenFit::AvailableFor(const QWidget *window)
{
    const QScreen *screen = window ? window->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

QMargins ScreenFit::FrameOf(const QWidget *window)
{
    if (window && window->isVisible() && window->windowHandle()) {
        const QMargins known = window->windowHandle()->frameMargins();
        if (!known.isNull())
            return known;
    }
    const QStyle *style = window ? window->style() : nullptr;
    const int border = std::max(4, style ? style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, window) : 0);
    const int title = std::max(24, style ? style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window) : 0);
    return QMargins(border, title + border, border, border);
}

QSize ScreenFit::RoomFor(const QWidget *window)
{
    return Room(AvailableFor(window), FrameOf(window));
}

QSize ScreenFit::ShrinkParts(QWidget *window, const QList<QWidget *> &parts)
{
    if (!window)
        return QSize();
    const auto ownMinimum = [](QWidget *part) {
        QVariant own = part->property(OwnMinimum);
        if (!own.isValid()) {
            own = part->minimumSize();
            part->setProperty(OwnMinimum, own);
        }
        return own.toSize();
    };
    for (QWidget *part : parts) {
        part->setMinimumSize(ownMinimum(part));
        // What the part needs may have changed since its layout asked.
        part->updateGeometry();
    }
    const QSize natural = layoutMinimum(window);
    const QSize excess = Excess(natural, RoomFor(window));
    if (excess == QSize(0, 0) || parts.isEmpty())
        return QSize(0, 0);
    for (QWidget *part : parts) {
        // The part's smallest size as its layout takes it: its own where it
        // set one, else what its contents need.
        const QSize own = ownMinimum(part);
        const QSize hint = part->minimumSizeHint();
        const QSize current(own.width() > 0 ? own.width() : hint.width(), own.height() > 0 ? own.height() : hint.height());
        const int line = part->fontMetrics().height();
        QSize lowered = (current - excess).expandedTo(QSize(8 * line, 4 * line).boundedTo(current));
        // The scroll bar that comes takes room across: it is added, so
        // that one scrolling way does not bring the other.
        const int bar = qobject_cast<QAbstractScrollArea *>(part)
                            ? part->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, part)
                            : 0;
        if (excess.width() > 0 && excess.height() == 0)
            lowered.setHeight(current.height() + bar);
        if (excess.height() > 0 && excess.width() == 0)
            lowered.setWidth(current.width() + bar);
        part->setMinimumSize(lowered.width() != current.width() ? lowered.width() : own.width(),
                             lowered.height() != current.height() ? lowered.height() : own.height());
    }
    return Excess(natural, layoutMinimum(window));
}

void ScreenFit::Into(QWidget *window)
{
    if (!window)
        return;
    const QRect available = AvailableFor(window);
    const QMargins frame = FrameOf(window);
    const QSize size = window->size().boundedTo(Room(available, frame)).expandedTo(window->minimumSize());
    if (window->isVisible()) {
        const QRect fitted = Fit(QRect(window->geometry().topLeft(), size), available, frame);
        if (fitted != window->geometry())
            window->setGeometry(QRect(fitted.topLeft(), size));
    } else if (size != window->size()) {
        window->resize(size);
    }
}
