#include "TrayWindowSizing.h"

#include <algorithm>

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
    // The two caption buttons always fit.
    return std::max(w, 2 * (v.captionButton.width() + 6) + 1);
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

QRect TrayWindowSizing::Place(const tViews &v, const TraySettings::tPlacement &saved, const QRect &workArea,
                              const QList<QRect> &screens)
{
    QSize size = Limit(v, QSize(saved.width, saved.height));
    if (workArea.isValid())
        size = size.boundedTo(workArea.size()).expandedTo(QSize(1, 1));
    QRect r(QPoint(saved.left, saved.top), size);
    if (saved.left == 0 || saved.top == 0) {
        if (workArea.isValid())
            r.moveBottomRight(workArea.bottomRight());
        return r;
    }
    const bool onAScreen = std::any_of(screens.begin(), screens.end(), [&r](const QRect &s) {
        // At least a corner's worth of the window must show to be reached.
        return s.intersected(r).width() >= 16 && s.intersected(r).height() >= 16;
    });
    if (!onAScreen && workArea.isValid()) {
        r.moveLeft(std::clamp(r.left(), workArea.left(), workArea.right() - r.width() + 1));
        r.moveTop(std::clamp(r.top(), workArea.top(), workArea.bottom() - r.height() + 1));
    }
    return r;
}
