#include "CSplitterControl.h"

#include <QRubberBand>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A grid and a chart side by side with a bar between them, as the
// project-tracking view lays them out.
struct SideBySide
{
    QWidget host;
    QWidget *left = new QWidget(&host);
    QWidget *right = new QWidget(&host);
    CSplitterControl *bar = new CSplitterControl(&host);
    SideBySide()
    {
        host.resize(600, 300);
        left->setGeometry(0, 0, 200, 300);
        right->setGeometry(205, 0, 395, 300);
        bar->Create(QRect(200, 0, 12, 300), &host);
    }
};

} // namespace

TEST(CSplitterControlTest, OrientationAndThicknessFromTheRectangle)
{
    struct Case
    {
        const char *name;
        QRect rect;
        int orientation;
        QRect bar;
    };
    const Case cases[] = {
        {"narrower than high", QRect(10, 20, 8, 100), CSplitterControl::VerticalBar, QRect(10, 20, 5, 100)},
        {"wider than high", QRect(10, 20, 100, 8), CSplitterControl::HorizontalBar, QRect(10, 20, 100, 5)},
        {"square", QRect(10, 20, 30, 30), CSplitterControl::HorizontalBar, QRect(10, 20, 30, 5)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QWidget host;
        CSplitterControl bar;
        bar.Create(c.rect, &host);
        EXPECT_EQ(bar.parentWidget(), &host);
        EXPECT_EQ(bar.GetOrientation(), c.orientation);
        EXPECT_EQ(bar.geometry(), c.bar);
        EXPECT_EQ(bar.Id(), 2316);
        // Until the host sets it, the range is the bar's centre alone.
        const int centre = c.orientation == CSplitterControl::VerticalBar ? 12 : 22;
        EXPECT_EQ(bar.RangeMin(), centre);
        EXPECT_EQ(bar.RangeMax(), centre);
        EXPECT_EQ(bar.cursor().shape(),
                  c.orientation == CSplitterControl::VerticalBar ? Qt::SizeHorCursor : Qt::SizeVerCursor);
    }
}

TEST(CSplitterControlTest, DragReleasedBeyondTheRangeStopsAtTheBound)
{
    SideBySide s;
    s.bar->SetRange(150, 450);
    QSignalSpy moved(s.bar, &CSplitterControl::moved);

    QTest::mousePress(s.bar, Qt::LeftButton, {}, QPoint(2, 50));
    ASSERT_TRUE(s.bar->IsDragging());
    ASSERT_NE(s.bar->TrackingLine(), nullptr);
    EXPECT_TRUE(s.bar->TrackingLine()->isVisibleTo(&s.host));
    EXPECT_EQ(s.bar->TrackingLine()->geometry(), QRect(201, 0, 3, 300));

    QTest::mouseMove(s.bar, QPoint(700, 50)); // x 900 in the host
    EXPECT_EQ(s.bar->TrackingLine()->geometry(), QRect(449, 0, 3, 300));
    EXPECT_EQ(s.bar->geometry().left(), 200); // the bar waits for the release

    QTest::mouseRelease(s.bar, Qt::LeftButton, {}, QPoint(700, 50));
    EXPECT_FALSE(s.bar->IsDragging());
    EXPECT_EQ(s.bar->TrackingLine(), nullptr);
    EXPECT_EQ(s.bar->geometry(), QRect(448, 0, 5, 300));
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved.at(0), (QList<QVariant>{2316, 450 - 202}));
    // With no pair attached, the owner moves the neighbours itself.
    EXPECT_EQ(s.left->geometry(), QRect(0, 0, 200, 300));

    // Back beyond the other bound.
    QTest::mousePress(s.bar, Qt::LeftButton, {}, QPoint(2, 50));
    QTest::mouseMove(s.bar, QPoint(-1000, 50));
    QTest::mouseRelease(s.bar, Qt::LeftButton, {}, QPoint(-1000, 50));
    EXPECT_EQ(s.bar->geometry().left(), 148);
    ASSERT_EQ(moved.count(), 2);
    EXPECT_EQ(moved.at(1), (QList<QVariant>{2316, 150 - 450}));
}

TEST(CSplitterControlTest, AttachedPairIsResizedInsteadOfNotified)
{
    SideBySide s;
    s.bar->SetRange(100, 500);
    s.bar->AttachPair(s.left, s.right);
    QSignalSpy moved(s.bar, &CSplitterControl::moved);

    QTest::mousePress(s.bar, Qt::LeftButton, {}, QPoint(2, 50));
    QTest::mouseMove(s.bar, QPoint(52, 80));
    QTest::mouseRelease(s.bar, Qt::LeftButton, {}, QPoint(52, 80));
    EXPECT_EQ(moved.count(), 0);
    EXPECT_EQ(s.bar->geometry(), QRect(250, 0, 5, 300));
    EXPECT_EQ(s.left->geometry(), QRect(0, 0, 250, 300));
    EXPECT_EQ(s.right->geometry(), QRect(255, 0, 345, 300));

    // A neighbour that went away: the owner is told instead.
    delete s.right;
    QTest::mousePress(s.bar, Qt::LeftButton, {}, QPoint(2, 50));
    QTest::mouseMove(s.bar, QPoint(-8, 50));
    QTest::mouseRelease(s.bar, Qt::LeftButton, {}, QPoint(-8, 50));
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved.at(0), (QList<QVariant>{2316, -10}));
    EXPECT_EQ(s.left->geometry(), QRect(0, 0, 250, 300));
}

TEST(CSplitterControlTest, HorizontalBarMovesVertically)
{
    QWidget host;
    host.resize(300, 400);
    CSplitterControl bar;
    bar.Create(QRect(0, 200, 300, 40), &host);
    bar.SetRange(50, 350);
    QSignalSpy moved(&bar, &CSplitterControl::moved);
    QTest::mousePress(&bar, Qt::LeftButton, {}, QPoint(100, 2));
    QTest::mouseMove(&bar, QPoint(1000, -100)); // sideways motion counts for nothing
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, QPoint(1000, -100));
    EXPECT_EQ(bar.geometry(), QRect(0, 100 - 2, 300, 5));
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved.at(0), (QList<QVariant>{2316, 100 - 202}));
}

TEST(CSplitterControlTest, ChangeWidthOnEitherSide)
{
    QWidget host;
    QWidget child(&host);
    child.setGeometry(100, 10, 50, 20);
    CSplitterControl::ChangeWidth(CSplitterControl::RightSide, &child, 30);
    EXPECT_EQ(child.geometry(), QRect(100, 10, 80, 20));
    CSplitterControl::ChangeWidth(CSplitterControl::LeftSide, &child, 30);
    EXPECT_EQ(child.geometry(), QRect(70, 10, 110, 20));
    CSplitterControl::ChangeWidth(CSplitterControl::LeftSide, &child, -20);
    EXPECT_EQ(child.geometry(), QRect(90, 10, 90, 20));

    // A control without a parent is left alone.
    QWidget alone;
    alone.setGeometry(0, 0, 10, 10);
    CSplitterControl::ChangeWidth(CSplitterControl::RightSide, &alone, 30);
    EXPECT_EQ(alone.geometry(), QRect(0, 0, 10, 10));
    CSplitterControl::ChangeWidth(CSplitterControl::RightSide, nullptr, 30);
}

TEST(CSplitterControlTest, PaintsAFaceBetweenTwoLightLines)
{
    SideBySide s;
    const QImage shot = s.bar->grab().toImage();
    EXPECT_EQ(shot.pixel(0, 10), qRgb(200, 200, 200));
    EXPECT_EQ(shot.pixel(4, 10), qRgb(200, 200, 200));
    EXPECT_EQ(shot.pixel(2, 10), s.bar->palette().color(QPalette::Window).rgb());
}
