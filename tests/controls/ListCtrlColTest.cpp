#include "CListCtrlCol.h"
#include "ImageList.h"
#include "ListCtrlColRules.h"
#include "UiUtilities.h"

#include "QStringPrinter.h"

#include <QApplication>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <string>

namespace {

std::string joined(const std::vector<char> &rows)
{
    return std::string(rows.begin(), rows.end());
}

} // namespace

TEST(ListCtrlColRules, MovesAndSwapsOfRows)
{
    struct Case
    {
        const char *what;
        bool swap;
        int target; // or the first row of a swap
        bool before;
        int source; // or the second row of a swap
        bool done;
        const char *rows;
    };
    const Case cases[] = {
        {"4 after 3: already there", false, 3, false, 4, false, "ABCDEF"},
        {"4 before 5: already there", false, 5, true, 4, false, "ABCDEF"},
        {"onto itself", false, 2, true, 2, false, "ABCDEF"},
        {"target out of range", false, 6, true, 1, false, "ABCDEF"},
        {"source out of range", false, 1, true, -1, false, "ABCDEF"},
        {"0 after 2", false, 2, false, 0, true, "BCADEF"},
        {"5 before 0", false, 0, true, 5, true, "FABCDE"},
        {"1 before 4", false, 4, true, 1, true, "ACDBEF"},
        {"4 after 1", false, 1, false, 4, true, "ABECDF"},
        {"3 after 4", false, 4, false, 3, true, "ABCEDF"},
        {"5 before 4", false, 4, true, 5, true, "ABCDFE"},
        {"swap the ends", true, 0, false, 5, true, "FBCDEA"},
        {"swap a row with itself", true, 2, false, 2, false, "ABCDEF"},
        {"swap out of range", true, 2, false, 6, false, "ABCDEF"},
    };
    for (const Case &c : cases) {
        std::vector<char> rows{'A', 'B', 'C', 'D', 'E', 'F'};
        const bool done = c.swap ? ListCtrlColRules::SwapItems(rows, c.target, c.source)
                                 : ListCtrlColRules::MoveItem(rows, c.target, c.before, c.source);
        EXPECT_EQ(done, c.done) << c.what;
        EXPECT_EQ(joined(rows), c.rows) << c.what;
    }
}

TEST(ListCtrlColRules, AlignmentZonesByX)
{
    // A cell from 100 to 200 (exclusive): left 106..121, centre 142..157,
    // right 178..193.
    const std::pair<int, int> cases[] = {
        {105, -1}, {106, 0}, {121, 0}, {122, -1}, {141, -1}, {142, 2}, {150, 2}, {157, 2},
        {158, -1}, {177, -1}, {178, 1}, {193, 1}, {194, -1}, {199, -1},
    };
    for (const auto &[x, alignment] : cases)
        EXPECT_EQ(ListCtrlColRules::AlignmentAt(x, 100, 200), alignment) << x;
    EXPECT_EQ(ListCtrlColRules::AlignmentText(ListCtrlColRules::AlignRight), QStringLiteral("R"));
}

// The cell cut differs from EllipsizeText at the boundary: a text exactly
// as wide as the space is cut, so it never touches the next cell.
TEST(ListCtrlColRules, CellTextsAreCutBeforeTheyFillTheSpace)
{
    const QFontMetrics metrics(QApplication::font());
    const QString text = QStringLiteral("Durée facturable");
    const int exact = metrics.horizontalAdvance(text);
    EXPECT_EQ(ListCtrlColRules::CutText(metrics, text, exact + 1), text);
    const QString cut = ListCtrlColRules::CutText(metrics, text, exact);
    EXPECT_TRUE(cut.endsWith(QStringLiteral("...")));
    EXPECT_LT(metrics.horizontalAdvance(cut), exact);
    EXPECT_EQ(EllipsizeText(metrics, text, exact, true), text);
    // At least one character stays, however narrow the space.
    EXPECT_EQ(ListCtrlColRules::CutText(metrics, text, 1), QStringLiteral("D..."));
}

namespace {

QImage square(QColor colour)
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Three rows "Date", "Projet", "Durée" with a check box each, a second
// column of notes and an alignment column; check images 0 white and
// 1 black, alignment images 2 grey and 3 red.
struct List
{
    ImageList images{16};
    CListCtrlCol list;
    List()
    {
        images.SetImage(0, square(Qt::white));
        images.SetImage(1, square(Qt::black));
        images.SetImage(2, square(Qt::gray));
        images.SetImage(3, square(Qt::red));
        list.setColumnCount(3);
        list.SetCheckBoxes(true);
        list.SetAlignmentColumn(2);
        list.SetImageList(&images);
        const char *names[] = {"Date", "Projet", "Durée"};
        const char *aligns[] = {"L", "C", "R"};
        for (int i = 0; i < 3; ++i) {
            auto *item = new QTreeWidgetItem(&list, {QString::fromUtf8(names[i]), QStringLiteral("note %1").arg(i),
                                                     QString::fromLatin1(aligns[i])});
            item->setData(0, Qt::UserRole, 100 + i);
            item->setCheckState(0, i == 1 ? Qt::Checked : Qt::Unchecked);
        }
        for (int c = 0; c < 3; ++c)
            list.setColumnWidth(c, 120);
        list.resize(420, 150);
        list.show();
    }
    QRect cell(int row, int column) { return list.visualRect(list.model()->index(row, column)); }
    QRgb pixel(const QPoint &at) { return list.viewport()->grab().toImage().pixel(at); }
};

} // namespace

TEST(CListCtrlCol, MoveItemCarriesTextsDataAndCheck)
{
    List l;
    EXPECT_FALSE(l.list.MoveItem(1, false, 2)); // already after it
    EXPECT_TRUE(l.list.MoveItem(0, true, 1));
    QTreeWidgetItem *first = l.list.topLevelItem(0);
    EXPECT_EQ(first->text(0), QStringLiteral("Projet"));
    EXPECT_EQ(first->text(1), QStringLiteral("note 1"));
    EXPECT_EQ(first->text(2), QStringLiteral("C"));
    EXPECT_EQ(first->data(0, Qt::UserRole).toInt(), 101);
    EXPECT_TRUE(l.list.IsChecked(0));
    EXPECT_FALSE(l.list.IsChecked(1));

    EXPECT_TRUE(l.list.SwapItems(0, 2));
    EXPECT_EQ(l.list.topLevelItem(0)->text(0), QStringLiteral("Durée"));
    EXPECT_TRUE(l.list.IsChecked(2));
    EXPECT_FALSE(l.list.SwapItems(1, 1));
    EXPECT_FALSE(l.list.SwapItems(1, 3));
}

TEST(CListCtrlCol, RowsAreDrawnWithTheImages)
{
    List l;
    EXPECT_EQ(l.cell(0, 0).height(), ListCtrlColRules::RowHeight);
    // The check image sits in the 20 pixels left of the text.
    const QRect date = l.cell(0, 0), projet = l.cell(1, 0);
    EXPECT_EQ(l.pixel(QPoint(date.left() + 8, date.top() + 8)), qRgb(255, 255, 255));
    EXPECT_EQ(l.pixel(QPoint(projet.left() + 8, projet.top() + 8)), qRgb(0, 0, 0));
    // Alignment images: the chosen one red, the others grey.
    const QRect align = l.cell(1, 2);
    const int left = align.left(), right = align.left() + align.width();
    EXPECT_EQ(l.pixel(QPoint(left + 10, align.top() + 8)), QColor(Qt::gray).rgb());
    EXPECT_EQ(l.pixel(QPoint(left + (right - left) / 2, align.top() + 8)), qRgb(255, 0, 0));
    EXPECT_EQ(l.pixel(QPoint(right - 10, align.top() + 8)), QColor(Qt::gray).rgb());
}

TEST(CListCtrlCol, ClicksOnTheImages)
{
    List l;
    QSignalSpy spy(&l.list, &CListCtrlCol::alignmentClicked);
    const QRect align = l.cell(2, 2);
    const int left = align.left(), right = align.left() + align.width(), y = align.center().y();
    QTest::mouseClick(l.list.viewport(), Qt::LeftButton, {}, QPoint(left + 10, y));
    QTest::mouseClick(l.list.viewport(), Qt::LeftButton, {}, QPoint(right - 10, y));
    QTest::mouseClick(l.list.viewport(), Qt::LeftButton, {}, QPoint(left + (right - left) / 2, y));
    QTest::mouseClick(l.list.viewport(), Qt::LeftButton, {}, QPoint(left + 30, y)); // between two images
    ASSERT_EQ(spy.count(), 3);
    const int expected[] = {0, 1, 2};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(spy.at(i).at(0).toInt(), 2);
        EXPECT_EQ(spy.at(i).at(1).toInt(), expected[i]);
    }

    // A click left of the text toggles the box, once.
    const QRect date = l.cell(0, 0);
    QTest::mouseClick(l.list.viewport(), Qt::LeftButton, {}, QPoint(date.left() + 8, date.center().y()));
    EXPECT_TRUE(l.list.IsChecked(0));
    QTest::mouseClick(l.list.viewport(), Qt::LeftButton, {}, QPoint(date.left() + 40, date.center().y()));
    EXPECT_TRUE(l.list.IsChecked(0)); // on the text: a selection only
    EXPECT_EQ(l.list.currentItem(), l.list.topLevelItem(0));
}

TEST(CListCtrlCol, NoColumnNarrowerThan80)
{
    List l;
    l.list.setColumnWidth(1, 40);
    EXPECT_EQ(l.list.columnWidth(1), 80);
    // Dragged by the mouse on the header's edge.
    QHeaderView *header = l.list.header();
    const int edge = header->sectionViewportPosition(1) + header->sectionSize(1) - 1;
    const int y = header->height() / 2;
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, QPoint(edge, y));
    QMouseEvent move(QEvent::MouseMove, QPointF(edge - 60, y), header->viewport()->mapToGlobal(QPointF(edge - 60, y)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(header->viewport(), &move);
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, QPoint(edge - 60, y));
    EXPECT_EQ(l.list.columnWidth(1), 80);
    l.list.setColumnWidth(1, 150);
    EXPECT_EQ(l.list.columnWidth(1), 150);
}
