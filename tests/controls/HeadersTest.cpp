#include "CBigHeaderCtrl.h"
#include "CMyFatHeader.h"

#include <QApplication>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>

#include <gtest/gtest.h>

namespace {

QStandardItemModel *ThreeColumns(QObject *parent)
{
    auto *model = new QStandardItemModel(2, 3, parent);
    model->setHorizontalHeaderLabels({QStringLiteral("Projet"), QStringLiteral("Activité"),
                                      QStringLiteral("Une colonne au titre bien trop long pour elle")});
    return model;
}

// A table with the given header, shown so that the view lays it out.
int HeaderHeightIn(QHeaderView *header, const QFont &font)
{
    QTableView view;
    view.setFont(font);
    view.setModel(ThreeColumns(&view));
    if (header)
        view.setHorizontalHeader(header);
    view.resize(400, 200);
    view.show();
    QApplication::processEvents();
    return view.horizontalHeader()->height();
}

QFont WithPointSize(int points)
{
    QFont font = QApplication::font();
    font.setPointSize(points);
    return font;
}

} // namespace

TEST(HeadersTest, HeightsUnderTwoFonts)
{
    for (int points : {8, 20}) {
        SCOPED_TRACE(points);
        const QFont font = WithPointSize(points);
        const int standard = HeaderHeightIn(nullptr, font);

        EXPECT_EQ(HeaderHeightIn(new CMyFatHeader, font), 40);

        auto *tall = new CBigHeaderCtrl;
        tall->SetTall(true);
        EXPECT_EQ(HeaderHeightIn(tall, font), int(standard * 1.5));

        EXPECT_EQ(HeaderHeightIn(new CBigHeaderCtrl, font), standard);
    }
}

TEST(HeadersTest, SortMarkSquareAtTheRightEnd)
{
    struct Case
    {
        const char *name;
        QRect section;
        bool tall, pressed;
        QRect mark;
    };
    // Square of side h - 10 (h less two sixths when tall) against the right
    // edge less 5, one pixel further when pressed, then 0.134 of its width
    // taken off its height.
    const Case cases[] = {
        {"standard", QRect(0, 0, 100, 30), false, false, QRect(75, 6, 20, 18)},
        {"pressed", QRect(0, 0, 100, 30), false, true, QRect(76, 7, 20, 18)},
        {"tall", QRect(0, 0, 100, 45), true, false, QRect(74, 13, 21, 19)},
        {"second column", QRect(100, 0, 80, 30), false, false, QRect(155, 6, 20, 18)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CBigHeaderCtrl::SortMarkRect(c.section, c.tall, c.pressed), c.mark);
    }
}

TEST(HeadersTest, PaintsSortMarksAndShortensLongTitles)
{
    QTableView view;
    auto *header = new CBigHeaderCtrl;
    header->SetTall(true);
    view.setModel(ThreeColumns(&view));
    view.setHorizontalHeader(header);
    view.resize(460, 200);
    header->resizeSection(0, 120);
    header->resizeSection(1, 120);
    header->resizeSection(2, 120);
    view.show();
    QApplication::processEvents();

    // Darkest pixel inside a rectangle of the header.
    const auto darkest = [&](const QImage &shot, const QRect &area) {
        int best = 255;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                best = qMin(best, qGray(shot.pixel(x, y)));
        return best;
    };
    const int h = header->height();
    const QRect mark0 = CBigHeaderCtrl::SortMarkRect(QRect(0, 0, 120, h), true, false);
    const QRect mark1 = CBigHeaderCtrl::SortMarkRect(QRect(120, 0, 120, h), true, false);

    QImage shot = header->grab().toImage();
    const int plain = darkest(shot, mark0);

    // Two columns sorted at once, one each way.
    header->SetSortState(0, 1);
    header->SetSortState(1, -1);
    shot = header->grab().toImage();
    EXPECT_LT(darkest(shot, mark0), plain - 60);
    EXPECT_LT(darkest(shot, mark1), plain - 60);
    // Ascending points up: its top row is narrower than its bottom row.
    const auto inkOnRow = [&](const QRect &mark, int y) {
        int ink = 0;
        for (int x = mark.left(); x <= mark.right(); ++x)
            ink += qGray(shot.pixel(x, y)) < plain - 60 ? 1 : 0;
        return ink;
    };
    EXPECT_LT(inkOnRow(mark0, mark0.top() + 1), inkOnRow(mark0, mark0.bottom() - 1));
    EXPECT_GT(inkOnRow(mark1, mark1.top() + 1), inkOnRow(mark1, mark1.bottom() - 1));

    // The view's own sort indicator leaves a single sorted column.
    header->setSortIndicator(2, Qt::DescendingOrder);
    EXPECT_EQ(header->SortState(0), 0);
    EXPECT_EQ(header->SortState(1), 0);
    EXPECT_EQ(header->SortState(2), -1);

    // The long title stays within its column, left of the mark.
    shot = header->grab().toImage();
    const QRect mark2 = CBigHeaderCtrl::SortMarkRect(QRect(240, 0, 120, h), true, false);
    EXPECT_LT(darkest(shot, mark2), plain - 60);
    const QRect gap(mark2.left() - 1, mark2.top(), 1, mark2.height());
    EXPECT_GT(darkest(shot, gap), plain - 60);
}
