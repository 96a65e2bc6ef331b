#pragma once
#include <QLine>
#include <QRect>
#include <vector>

// Where a row stands in its tree, as its lines and +/- box show it.
struct tTreeRowShape
{
    // 1 for a root row (no parent), its parent's depth + 1 below.
    int depth = 1;
    bool hasChildren = false;
    bool collapsed = false;
    // A later sibling follows the row under the same parent.
    bool hasLaterSibling = false;
    // For each ancestor, by its depth (index 0 for depth 1, up to depth
    // - 2): whether a later sibling follows that ancestor.
    std::vector<bool> ancestorHasLaterSibling;
};

// The drawing of a row's place in its tree: grey lines, the +/- box and
// its black sign. Segments are in pixels, both ends included, as a
// one-pixel pen draws them.
struct tTreeRowLines
{
    std::vector<QLine> lines; // grey
    QRect box;                // null when the row has no children
    std::vector<QLine> sign;  // black, drawn over the white box
};

// The tree lines of one row of a tree grid whose rows are indented by
// `indent` pixels a level, with images `imageHeight` pixels high.
//
// The line of depth k lies at x = row.left() + k * indent - indent / 2;
// a row's middle at y = row.top() + (row.height() - imageHeight) / 2 +
// indent / 2. A row below a parent gets its own vertical line from its top
// down to its middle, on to its bottom when a later sibling follows, and a
// stub at the middle across to its label (left + depth * indent, never
// past `labelLimit`); each ancestor with a later sibling passes the row by
// a line over its whole height. A root row gets none of these. A row with
// children gets a box of (indent / 2 + 3) x (imageHeight / 2 + 3) pixels
// centred on its own line at its middle, with a minus, or a plus when
// collapsed; an expanded row's line goes on from below its image to its
// bottom one level further right, towards its first child.
class TreeLines
{
public:
    static tTreeRowLines Segments(const tTreeRowShape &shape, const QRect &row, int indent,
                                  int imageHeight, int labelLimit);
    // The x of the line of depth `depth`.
    static int LevelX(const QRect &row, int depth, int indent) { return row.left() + depth * indent - indent / 2; }
    static int MiddleY(const QRect &row, int indent, int imageHeight)
    {
        return row.top() + (row.height() - imageHeight) / 2 + indent / 2;
    }
};
