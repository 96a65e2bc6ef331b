#include "TrayWindowSizing.h"

#include "TrayCaption.h"

#include <algorithm>
#include <optional>

namespace {
constexpr int Margin = 5;
}

int TrayWindowSizing::RequiredHeight(const tViews &v)
{
    int h = v.showToolBar ? v.toolbar.height() + Margin : Margin;
    if (v.compact) {
        h += v.messageHeight + Margin;
    } else {
        if (v.showResume)
            h += v.resume.height() + Margin;
        if (v.showDay)
            h += v.dayHeight + Margin;
        if (v.showTask)
            h += v.task.height() + Margin;
        if (v.showFav)
            h += 2 * v.resume.height() + Margin;
    }
    return h + v.captionHeight;
}

int TrayWindowSizing::RequiredWidth(const tViews &v)
{
    int w = v.task.width() + 2 * Margin;
    if (v.showToolBar)
        w = std::max(w, v.toolbar.width());
    if (v.showResume)
        w = std::max(w, v.resume.width() + 2 * Margin);
    // The two caption buttons always fit, and the caption's text beside
    // them as far as the screen allows.
    const int buttons = 2 * (v.captionButton.width() + 6) + 1;
    int caption = std::max(TrayCaption::TextLeft + v.captionTextWidth + TrayCaption::TextGap + buttons,
                           v.titleBarWidth);
    if (v.widest > 0)
        caption = std::min(caption, v.widest);
    return std::max({w, buttons, caption});
}

QSize TrayWindowSizing::Limit(const tViews &v, const QSize &wanted)
{
    const int width = std::max(wanted.width(), RequiredWidth(v));
    const int required = RequiredHeight(v);
    const bool tabs = v.showFav && !v.compact;
    return QSize(width, tabs ? std::max(wanted.height(), required) : required);
}

TrayWindowSizing::tLayout TrayWindowSizing::Layout(const tViews &v, const QSize &client)
{
    tLayout l;
    const QSize button(v.captionButton.width() + 6, v.captionButton.height() + 6);
    l.hideButton = QRect(QPoint(client.width() - button.width(), 0), button);
    l.menuButton = QRect(QPoint(client.width() - 2 * button.width() - 1, 0), button);
    int y = v.captionHeight + Margin;
    if (v.showToolBar) {
        l.toolbar = QRect(0, v.captionHeight, client.width(), v.toolbar.height());
        y += v.toolbar.height();
    }
    const int width = client.width() - 2 * Margin;
    const auto place = [&](QRect &r, int height) {
        r = QRect(Margin, y, width, height);
        y += height + Margin;
    };
    if (v.compact) {
        place(l.message, v.messageHeight);
        return l;
    }
    if (v.showResume)
        place(l.resume, v.resume.height());
    if (v.showDay)
        place(l.day, v.dayHeight);
    if (v.showTask)
        place(l.task, v.task.height());
    if (v.showFav)
        l.tabs = QRect(Margin, y, width, std::max(0, client.height() - Margin - y));
    return l;
}

QRect TrayWindowSizing::WorkAreaOf(const QRect &frame, const QList<QRect> &workAreas)
{
    QRect best;
    qint64 bestArea = 0;
    for (const QRect &area : workAreas) {
        const QRect common = area.intersected(frame);
        const qint64 size = common.isValid() ? qint64(common.width()) * common.height() : 0;
        if (size > bestArea) {
            best = area;
            bestArea = size;
        }
    }
    return bestArea > 0 ? best : workAreas.value(0);
}

QPoint TrayWindowSizing::KeepWithin(const QRect &frame, const QRect &workArea)
{
    if (!workArea.isValid())
        return frame.topLeft();
    const int x = std::max(workArea.left(), std::min(frame.left(), workArea.right() + 1 - frame.width()));
    const int y = std::max(workArea.top(), std::min(frame.top(), workArea.bottom() + 1 - frame.height()));
    return QPoint(x, y);
}

QMargins TrayWindowSizing::FrameMargins(const QRect &frame, const QRect &inside, bool visible,
                                        Qt::WindowStates states)
{
    if (!visible || (states & Qt::WindowMinimized))
        return QMargins();
    const QMargins margins(inside.left() - frame.left(), inside.top() - frame.top(), frame.right() - inside.right(),
                           frame.bottom() - inside.bottom());
    if (margins.left() < 0 || margins.top() < 0 || margins.right() < 0 || margins.bottom() < 0)
        return QMargins();
    return margins;
}

QPoint TrayWindowSizing::ClearOf(const QRect &frame, const QRect &part, const QRect &obstacle, const QRect &workArea)
{
    if (!frame.intersects(obstacle) || !workArea.isValid())
        return frame.topLeft();
    // The whole frame clear first, then at least its part; each by the
    // shortest of the four moves that the work area holds.
    for (const QRect &clear : {frame, part}) {
        const QPoint moves[] = {
            QPoint(obstacle.left() - ClearGap - 1 - clear.right(), 0),
            QPoint(obstacle.right() + ClearGap + 1 - clear.left(), 0),
            QPoint(0, obstacle.top() - ClearGap - 1 - clear.bottom()),
            QPoint(0, obstacle.bottom() + ClearGap + 1 - clear.top()),
        };
        std::optional<QPoint> best;
        for (const QPoint &move : moves) {
            QRect moved = frame.translated(move);
            moved.moveTopLeft(KeepWithin(moved, workArea));
            const QPoint shift = moved.topLeft() - frame.topLeft();
            if (!workArea.contains(moved) || clear.translated(shift).intersects(obstacle))
                continue;
            if (!best || shift.manhattanLength() < (*best - frame.topLeft()).manhattanLength())
                best = moved.topLeft();
        }
        if (best)
            return *best;
    }
    return frame.topLeft();
}

QRect TrayWindowSizing::Place(const tViews &v, const TraySettings::tPlacement &saved, const QList<QRect> &workAreas,
                              const QMargins &frameMargins)
{
    const QRect primary = workAreas.value(0);
    QSize size = Limit(v, QSize(saved.width, saved.height));
    const QSize margins(frameMargins.left() + frameMargins.right(), frameMargins.top() + frameMargins.bottom());
    if (primary.isValid())
        size = size.boundedTo(primary.size() - margins).expandedTo(QSize(1, 1));
    QRect frame(QPoint(saved.left, saved.top), size + margins);
    if (saved.left == 0 || saved.top == 0) {
        if (primary.isValid())
            frame.moveBottomRight(primary.bottomRight());
    } else {
        frame.moveTopLeft(KeepWithin(frame, WorkAreaOf(frame, workAreas)));
    }
    return QRect(frame.topLeft(), size);
}
