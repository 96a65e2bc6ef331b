#include "CTreeGridCtrl.h"
#include "CTreeGridRows.h"
#include "TreeLines.h"
#include "UiUtilities.h"

#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <set>

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

namespace {

// A flat list of rows under one root, that records which rows it drew.
class CountingRows : public CTreeGridRows
{
public:
    int count = 1000;
    int RowCount() const override { return count; }
    tTreeRowShape RowShape(int row) const override
    {
        tTreeRowShape shape;
        shape.depth = row == 0 ? 1 : 2;
        shape.hasChildren = row == 0;
        shape.hasLaterSibling = row > 0 && row < count - 1;
        shape.ancestorHasLaterSibling = {false};
        return shape;
    }
};

class CountingGrid : public CTreeGridCtrl
{
public:
    std::set<int> drawn;
    int toggled = -1;

protected:
    void DrawRow(QPainter &painter, int row, const QRect &rowRect, const QRect &) override
    {
        drawn.insert(row);
        painter.fillRect(rowRect, Qt::white);
    }
    bool ToggleExpanded(int row) override
    {
        toggled = row;
        return true;
    }
};

} // namespace

TEST(CTreeGridCtrl, OnlyTheVisibleRowsAreDrawnAndTheKeysMoveTheSelection)
{
    CountingRows rows;
    CountingGrid grid;
    grid.SetRows(&rows);
    grid.SetColumnCount(2);
    grid.resize(400, 10 * grid.RowHeight() + grid.HeaderHeight() + grid.horizontalScrollBar()->sizeHint().height());
    grid.show();
    grid.grab();
    EXPECT_FALSE(grid.drawn.empty());
    EXPECT_LE(grid.drawn.size(), size_t(grid.RowsPerPage() + 1));
    EXPECT_EQ(*grid.drawn.begin(), 0);

    QSignalSpy firstRow(&grid, &CTreeGridCtrl::firstRowChanged);
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_End);
    EXPECT_EQ(grid.SelectedRow(), 999);
    EXPECT_EQ(grid.FirstVisibleRow(), 1000 - grid.RowsPerPage());
    EXPECT_GE(firstRow.count(), 1);
    grid.drawn.clear();
    grid.grab();
    EXPECT_GE(*grid.drawn.begin(), 1000 - grid.RowsPerPage() - 1);
    QTest::keyClick(&grid, Qt::Key_PageUp);
    EXPECT_EQ(grid.SelectedRow(), 999 - grid.RowsPerPage() + 1);
    QTest::keyClick(&grid, Qt::Key_Home);
    EXPECT_EQ(grid.SelectedRow(), 0);
    EXPECT_EQ(grid.FirstVisibleRow(), 0);

    // The root's box toggles it and leaves the selection; below the rows
    // the selection clears.
    grid.SetSelectedRow(3);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.RowLines(0, grid.RowRect(0)).box.center());
    EXPECT_EQ(grid.toggled, 0);
    EXPECT_EQ(grid.SelectedRow(), 3);
    rows.count = 2;
    grid.RowsChanged();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, QPoint(100, 5 * grid.RowHeight()));
    EXPECT_EQ(grid.SelectedRow(), -1);
}
