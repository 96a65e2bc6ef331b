#include "ScreenFit.h"

#include "CColumnsLayout.h"

#include <QAbstractScrollArea>
#include <QComboBox>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionComboBox>
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

// Every size `item` and the items inside it keep from before.
void forget(QLayoutItem *item)
{
    item->invalidate();
    if (QLayout *layout = item->layout()) {
        for (int i = 0; i < layout->count(); ++i)
            forget(layout->itemAt(i));
    }
}

// The window's smallest inside as its layouts would have it now. Every
// size they keep is forgotten, the deepest first (a changed field tells
// none above it while its page is not shown yet, nor across the view of a
// scrolling part), but nothing is placed anew: the window does not grow
// to a smallest size that is only being tried.
QSize layoutMinimum(QWidget *window)
{
    const QList<QWidget *> all = window->findChildren<QWidget *>();
    for (auto it = all.crbegin(); it != all.crend(); ++it) {
        if (QLayout *inner = (*it)->layout())
            forget(inner);
        (*it)->updateGeometry();
    }
    QLayout *layout = window->layout();
    if (!layout)
        return window->minimumSizeHint().expandedTo(window->minimumSize());
    forget(layout);
    return layout->totalMinimumSize();
}

// The window's layout placed by the sizes settled on.
void settle(QWidget *window)
{
    if (QLayout *layout = window->layout()) {
        layout->invalidate();
        layout->activate();
    }
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

int ScreenFit::NarrowestField(const QWidget *field)
{
    const auto *combo = qobject_cast<const QComboBox *>(field);
    if (!combo)
        return field ? field->minimumSizeHint().width() : 0;
    // A few characters beside the arrow (and the icon, where the items
    // show one).
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    const QFontMetrics metrics = combo->fontMetrics();
    QSize contents(metrics.averageCharWidth() * 6, metrics.height());
    if (!combo->iconSize().isEmpty() && combo->count() > 0 && !combo->itemIcon(0).isNull())
        contents.rwidth() += combo->iconSize().width() + 4;
    const int least = combo->style()->sizeFromContents(QStyle::CT_ComboBox, &option, contents, combo).width();
    return std::min(least, combo->minimumSizeHint().width());
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
    // The part's smallest size as its layout takes it: its own where it set
    // one, else what its contents need.
    const auto needed = [&ownMinimum](QWidget *part) {
        const QSize own = ownMinimum(part);
        const QSize hint = part->minimumSizeHint();
        return QSize(own.width() > 0 ? own.width() : hint.width(), own.height() > 0 ? own.height() : hint.height());
    };
    const auto barOf = [](QWidget *part) {
        return qobject_cast<QAbstractScrollArea *>(part)
                   ? part->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, part)
                   : 0;
    };
    // A part that never scrolls across: its contents keep their width, and
    // the page may grow downwards as it lays out in it.
    const auto downwardsOnly = [](QWidget *part) {
        const auto *scrolling = qobject_cast<QAbstractScrollArea *>(part);
        return scrolling && scrolling->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff;
    };
    // Its width with room for the vertical scroll bar, its own height.
    const auto keepBarRoom = [&](QWidget *part) {
        part->setMinimumSize(ownMinimum(part));
        layoutMinimum(window);
        part->setMinimumSize(needed(part).width() + barOf(part), ownMinimum(part).height());
    };

    // The fields narrowed before, the columns stacked and the parts, as
    // they were made.
    const QList<QComboBox *> fields = window->findChildren<QComboBox *>();
    for (QComboBox *field : fields) {
        if (field->property(OwnMinimum).isValid())
            field->setMinimumSize(ownMinimum(field));
    }
    QList<CColumnsLayout *> columns;
    for (QLayout *layout : window->findChildren<QLayout *>()) {
        if (auto *found = dynamic_cast<CColumnsLayout *>(layout)) {
            found->SetMayStack(false);
            columns << found;
        }
    }
    for (QWidget *part : parts)
        part->setMinimumSize(ownMinimum(part));
    const QSize natural = layoutMinimum(window);
    const QSize room = RoomFor(window);
    QSize excess = Excess(natural, room);
    if (excess == QSize(0, 0) || parts.isEmpty()) {
        settle(window);
        return QSize(0, 0);
    }
    for (QWidget *part : parts) {
        if (downwardsOnly(part))
            keepBarRoom(part);
    }
    excess = Excess(layoutMinimum(window), room);
    if (excess.width() > 0) {
        for (QComboBox *field : fields) {
            const QSize own = ownMinimum(field);
            // Its own smallest width where it set one (never raised).
            const int least = own.width() > 0 ? std::min(own.width(), NarrowestField(field)) : NarrowestField(field);
            field->setMinimumSize(least, own.height());
        }
        for (QWidget *part : parts) {
            if (downwardsOnly(part))
                keepBarRoom(part);
        }
        excess = Excess(layoutMinimum(window), room);
    }
    if (excess.width() > 0 && !columns.isEmpty()) {
        // Still too wide: the columns of pages may stand one under the
        // other.
        for (CColumnsLayout *layout : columns)
            layout->SetMayStack(true);
        for (QWidget *part : parts) {
            if (downwardsOnly(part))
                keepBarRoom(part);
        }
        excess = Excess(layoutMinimum(window), room);
    }
    for (QWidget *part : parts) {
        const QSize current = needed(part);
        const int line = part->fontMetrics().height();
        QSize lowered = (current - excess).expandedTo(QSize(8 * line, 4 * line).boundedTo(current));
        if (downwardsOnly(part)) {
            part->setMinimumSize(part->minimumWidth(), lowered.height());
            continue;
        }
        // The scroll bar that comes takes room across: it is added, so
        // that one scrolling way does not bring the other.
        const int bar = barOf(part);
        if (excess.width() > 0 && excess.height() == 0)
            lowered.setHeight(current.height() + bar);
        if (excess.height() > 0 && excess.width() == 0)
            lowered.setWidth(current.width() + bar);
        const QSize own = ownMinimum(part);
        part->setMinimumSize(lowered.width() != current.width() ? lowered.width() : own.width(),
                             lowered.height() != current.height() ? lowered.height() : own.height());
    }
    const QSize given = Excess(natural, layoutMinimum(window));
    settle(window);
    return given;
}

QRect ScreenFit::Over(const QSize &size, const QRect &owner, const QRect &available, const QMargins &frame)
{
    const QPoint corner =
        owner.topLeft() + QPoint((owner.width() - size.width()) / 2, (owner.height() - size.height()) / 2);
    return Fit(QRect(corner, size), available, frame);
}

void ScreenFit::Into(QWidget *window)
{
    if (!window)
        return;
    // Shown for the first time where nobody placed it, it opens over the
    // window it belongs to, as a dialog does, rather than where it was
    // made; at the size it shows at, with what was built while it was
    // being shown (its pages) laid out.
    const bool placed = window->testAttribute(Qt::WA_Moved)
                        || (window->windowHandle() && window->windowHandle()->isVisible());
    if (window->isVisible() && !placed && window->layout())
        window->layout()->activate();
    const QRect available = AvailableFor(window);
    const QMargins frame = FrameOf(window);
    const QSize size = window->size().boundedTo(Room(available, frame)).expandedTo(window->minimumSize());
    if (!window->isVisible()) {
        if (size != window->size())
            window->resize(size);
        return;
    }
    if (!placed) {
        const QWidget *owner = window->parentWidget() ? window->parentWidget()->window() : nullptr;
        window->setGeometry(Over(size, owner && owner->isVisible() ? owner->geometry() : available, available, frame));
        return;
    }
    const QRect fitted = Fit(QRect(window->geometry().topLeft(), size), available, frame);
    if (fitted != window->geometry())
        window->setGeometry(QRect(fitted.topLeft(), size));
}
