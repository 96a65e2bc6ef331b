#include "TreeLines.h"
#include "UiUtilities.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

std::string written(const std::vector<QLine> &lines)
{
    std::ostringstream text;
    for (const QLine &l : lines)
        text << "(" << l.x1() << "," << l.y1() << "-" << l.x2() << "," << l.y2() << ")";
    return text.str();
}

std::string written(const QRect &box)
{
    if (box.isNull())
        return "none";
    std::ostringstream text;
    text << box.x() << "," << box.y() << " " << box.width() << "x" << box.height();
    return text.str();
}

} // namespace

// A row from y 20 to 41, 16-pixel indents and images: the lines of depth
// 1, 2, 3 lie at x 8, 24, 40, the rows' middle at y 31.
TEST(TreeLines, SegmentsOfARow)
{
    struct Case
    {
        const char *what;
        tTreeRowShape shape;
        int labelLimit;
        const char *lines;
        const char *box;
        const char *sign;
    };
    const Case cases[] = {
        {"root row with children, collapsed", {1, true, true, false, {}}, 300, "", "3,26 11x11",
         "(6,31-10,31)(8,29-8,33)"},
        {"root row without children", {1, false, false, true, {}}, 300, "", "none", ""},
        {"last child", {2, false, false, false, {false}}, 300, "(24,20-24,31)(25,31-31,31)", "none", ""},
        {"child with a later sibling", {2, false, false, true, {false}}, 300, "(24,20-24,41)(25,31-31,31)",
         "none", ""},
        {"depth 3 below an ancestor with a later sibling, expanded", {3, true, false, true, {false, true}}, 300,
         "(40,20-40,41)(41,31-47,31)(24,20-24,41)(56,39-56,41)", "35,26 11x11", "(38,31-42,31)"},
        {"a narrow first column cuts the stub", {3, false, false, false, {true, false}}, 40,
         "(40,20-40,31)(8,20-8,41)", "none", ""},
    };
    const QRect row(0, 20, 300, 22);
    for (const Case &c : cases) {
        const tTreeRowLines lines = TreeLines::Segments(c.shape, row, 16, 16, c.labelLimit);
        EXPECT_EQ(written(lines.lines), c.lines) << c.what;
        EXPECT_EQ(written(lines.box), c.box) << c.what;
        EXPECT_EQ(written(lines.sign), c.sign) << c.what;
    }
}

TEST(TreeLines, PointsInABoxExcludeItsRightAndBottomEdges)
{
    EXPECT_TRUE(IsPointInBox(35, 26, 11, 11, QPoint(35, 26)));
    EXPECT_TRUE(IsPointInBox(35, 26, 11, 11, QPoint(45, 36)));
    EXPECT_FALSE(IsPointInBox(35, 26, 11, 11, QPoint(46, 30)));
    EXPECT_FALSE(IsPointInBox(35, 26, 11, 11, QPoint(40, 37)));
    EXPECT_FALSE(IsPointInBox(35, 26, 11, 11, QPoint(34, 30)));
}
