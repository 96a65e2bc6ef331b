#pragma once
#include <QLine>
#include <QRect>
#include <functional>
#include <vector>

// The tree lines of one item of a list whose items are indented by depth
// (the project combo box's list): the item's own branch, a stub towards
// its icon on a line that goes on down when a later sibling follows, or
// stops at the stub for the last child; and the lines of its ancestors
// that go on past it towards their own later siblings.
//
// An item of depth d (1 or more) has its branch at x = rect.left() +
// (d - 1) * iconWidth + iconWidth / 2, and its middle at y = rect.top() +
// (rect.height() - iconHeight) / 2 + iconWidth / 2. Items of depth 0 carry
// no lines. Segments are in pixels, both ends included, as a one-pixel pen
// draws them.
class ComboTreeLines
{
public:
    // The depth of item i of `count` items.
    using DepthAt = std::function<int(int i)>;

    static std::vector<QLine> Segments(const DepthAt &depthAt, int count, int index, const QRect &rect,
                                       int iconWidth, int iconHeight);
    static std::vector<QLine> Segments(const std::vector<int> &depths, int index, const QRect &rect,
                                       int iconWidth, int iconHeight);
};
