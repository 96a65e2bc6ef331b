#include "TreeLines.h"

#include <algorithm>

tTreeRowLines TreeLines::Segments(const tTreeRowShape &shape, const QRect &row, int indent,
                                  int imageHeight, int labelLimit)
{
    tTreeRowLines result;
    const int depth = std::max(shape.depth, 1);
    const int top = row.top();
    const int bottom = row.top() + row.height() - 1;
    const int x = LevelX(row, depth, indent);
    const int middle = MiddleY(row, indent, imageHeight);

    if (depth > 1) {
        // The row's own branch, down to its middle or on past it, and the
        // stub across to its label.
        result.lines.emplace_back(x, top, x, shape.hasLaterSibling ? bottom : middle);
        const int stubEnd = std::min(row.left() + depth * indent, labelLimit) - 1;
        if (stubEnd > x)
            result.lines.emplace_back(x + 1, middle, stubEnd, middle);
        // The ancestors' lines that pass the row towards their later siblings.
        const int levels = std::min(int(shape.ancestorHasLaterSibling.size()), depth - 1);
        for (int k = 1; k <= levels; ++k) {
            if (shape.ancestorHasLaterSibling[size_t(k - 1)]) {
                const int ax = LevelX(row, k, indent);
                result.lines.emplace_back(ax, top, ax, bottom);
            }
        }
    }

    if (shape.hasChildren) {
        const int width = indent / 2 + 3;
        const int height = imageHeight / 2 + 3;
        result.box = QRect(x - width / 2, middle - height / 2, width, height);
        result.sign.emplace_back(x - 2, middle, x + 2, middle);
        if (shape.collapsed) {
            result.sign.emplace_back(x, middle - 2, x, middle + 2);
        } else {
            // Towards the first child, from below the row's image.
            const int imageBottom = row.top() + (row.height() - imageHeight) / 2 + imageHeight;
            const int childX = x + indent;
            if (imageBottom <= bottom)
                result.lines.emplace_back(childX, imageBottom, childX, bottom);
        }
    }
    return result;
}
