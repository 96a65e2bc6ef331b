#include "ComboTreeLines.h"

std::vector<QLine> ComboTreeLines::Segments(const DepthAt &depthAt, int count, int index,
                                            const QRect &rect, int iconWidth, int iconHeight)
{
    std::vector<QLine> lines;
    if (index < 0 || index >= count)
        return lines;
    const int depth = depthAt(index);
    if (depth <= 0)
        return lines;
    const int half = iconWidth / 2;
    const int top = rect.top();
    const int bottom = rect.top() + rect.height() - 1;
    auto column = [&](int level) { return rect.left() + (level - 1) * iconWidth + half; };
    const int x = column(depth);
    const int middle = top + (rect.height() - iconHeight) / 2 + half;

    // The item's own branch: it goes on when a sibling comes before any
    // shallower item.
    bool sibling = false;
    for (int i = index + 1; i < count; ++i) {
        const int d = depthAt(i);
        if (d <= depth) {
            sibling = d == depth;
            break;
        }
    }
    lines.emplace_back(x, middle, x + half - 1, middle);
    if (sibling)
        lines.emplace_back(x, top, x, bottom);
    else
        lines.emplace_back(x, top, x, middle - 1);

    // Each shallower item met below (each shallower than the last one met)
    // is a later sibling of an ancestor, whose line passes this item.
    int shallowest = depth;
    for (int i = index + 1; i < count && shallowest > 1; ++i) {
        const int d = depthAt(i);
        if (d <= 0)
            break;
        if (d < shallowest) {
            lines.emplace_back(column(d), top, column(d), bottom);
            shallowest = d;
        }
    }
    return lines;
}

std::vector<QLine> ComboTreeLines::Segments(const std::vector<int> &depths, int index, const QRect &rect,
                                            int iconWidth, int iconHeight)
{
    return Segments([&depths](int i) { return depths[size_t(i)]; }, int(depths.size()), index, rect,
                    iconWidth, iconHeight);
}
