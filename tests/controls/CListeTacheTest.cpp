#include "CListeTache.h"
#include "CRunningCardSource.h"

#include <QApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr quint32 Red = 0x0000FF, Green = 0x00FF00, Blue = 0xFF0000, Yellow = 0x00FFFF;
const QRgb RedRgb = qRgb(255, 0, 0), GreenRgb = qRgb(0, 255, 0), BlueRgb = qRgb(0, 0, 255),
           YellowRgb = qRgb(255, 255, 0);

tRunningCard card(int id, std::optional<quint32> project, std::optional<quint32> activity)
{
    tRunningCard c;
    c.id = id;
    if (project) {
        c.project = QStringLiteral("Projet %1").arg(id);
        c.projectColour = project;
    }
    if (activity) {
        c.activity = QStringLiteral("Activité %1").arg(id);
        c.activityColour = activity;
    }
    c.start = QStringLiteral("lundi 4 mars 2024 10:00");
    return c;
}

struct Source : CRunningCardSource
{
    std::vector<tRunningCard> cards;
    int reads = 0;
    std::vector<tRunningCard> RunningCards() override
    {
        ++reads;
        return cards;
    }
};

// A list of `count` cards in a window `height` pixels high: card i has
// the id 100 + i and the colour of its index in Red, Green, Blue, Yellow.
struct List
{
    CListeTache list;
    List(int count, int height)
    {
        const quint32 colours[] = {Red, Green, Blue, Yellow};
        std::vector<tRunningCard> cards;
        for (int i = 0; i < count; ++i)
            cards.push_back(card(100 + i, colours[i % 4], colours[i % 4]));
        list.SetCards(cards);
        list.resize(300, height);
        list.show();
    }
    QRgb bar(int y) { return list.viewport()->grab().toImage().pixel(10, y); }
};

} // namespace

TEST(CListeTache, BarHalvesTakeTheColoursFound)
{
    using Colours = std::pair<quint32, quint32>;
    EXPECT_EQ(CListeTache::BarColours(card(1, Red, Blue)), Colours(Red, Blue));
    EXPECT_EQ(CListeTache::BarColours(card(1, std::nullopt, Blue)), Colours(Blue, Blue));
    EXPECT_EQ(CListeTache::BarColours(card(1, Red, std::nullopt)), Colours(Red, Red));
    const Colours none = CListeTache::BarColours(card(1, std::nullopt, std::nullopt));
    for (quint32 c : {none.first, none.second}) {
        const double luminance = 0.2126 * (c & 0xFF) + 0.7152 * ((c >> 8) & 0xFF) + 0.0722 * ((c >> 16) & 0xFF);
        EXPECT_GE(luminance, 150) << std::hex << c;
    }

    // As painted: a running entry of a deleted project shows the activity's
    // colour in both halves.
    Source source;
    source.cards = {card(7, Red, Blue), card(8, std::nullopt, Green)};
    CListeTache list;
    list.resize(300, 100);
    list.SetSource(&source);
    list.Reload();
    const QImage shot = list.viewport()->grab().toImage();
    EXPECT_EQ(shot.pixel(10, 5), RedRgb);
    EXPECT_EQ(shot.pixel(10, 40), BlueRgb);
    EXPECT_EQ(shot.pixel(10, 55), GreenRgb);
    EXPECT_EQ(shot.pixel(10, 90), GreenRgb);
    EXPECT_EQ(shot.pixel(1, 5), qRgb(255, 255, 255));      // white around the card
    EXPECT_EQ(shot.pixel(30, 49), qRgb(0x32, 0x32, 0x32)); // the line under the card
}

TEST(CListeTache, AClickGivesTheEntryUnderIt)
{
    List l(2, 200);
    QSignalSpy spy(&l.list, &CListeTache::clicked);
    EXPECT_EQ(l.list.ClickedId(), -1);
    QTest::mouseClick(l.list.viewport(), Qt::LeftButton, {}, QPoint(100, 75));
    EXPECT_EQ(l.list.ClickedId(), 101);
    QTest::mouseClick(l.list.viewport(), Qt::LeftButton, {}, QPoint(100, 120)); // below the last card
    EXPECT_EQ(l.list.ClickedId(), -1);
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 101);
    EXPECT_EQ(spy.at(1).at(0).toInt(), -1);
}

TEST(CListeTache, ScrollsByWholeCards)
{
    // Exactly as many cards as fit: no scroll bar.
    List exact(3, 150);
    QApplication::processEvents(); // the bar shows or hides once its range is known
    EXPECT_EQ(exact.list.verticalScrollBar()->maximum(), 0);
    EXPECT_FALSE(exact.list.verticalScrollBar()->isVisible());

    // Five cards, two whole ones shown: scrolled to the end, the last two.
    List five(5, 120);
    QScrollBar *bar = five.list.verticalScrollBar();
    QApplication::processEvents();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(five.list.PageSize(), 2);
    EXPECT_EQ(bar->maximum(), 3);
    EXPECT_EQ(bar->pageStep(), 2);
    QTest::keyClick(&five.list, Qt::Key_End);
    EXPECT_EQ(five.list.FirstVisible(), 3);
    EXPECT_EQ(five.bar(5), YellowRgb); // card 3
    EXPECT_EQ(five.bar(55), RedRgb);   // card 4
    QTest::mouseClick(five.list.viewport(), Qt::LeftButton, {}, QPoint(100, 60));
    EXPECT_EQ(five.list.ClickedId(), 104);
    QTest::keyClick(&five.list, Qt::Key_PageUp);
    EXPECT_EQ(five.list.FirstVisible(), 1);

    // Loading again shows the first card.
    five.list.SetCards({card(9, Blue, Blue), card(10, Red, Red), card(11, Red, Red)});
    EXPECT_EQ(five.list.FirstVisible(), 0);
    EXPECT_EQ(bar->maximum(), 1);
}

// A window lower than one card still counts one card a page, so the last
// card stays in view when scrolled to the end, never an empty list.
TEST(CListeTache, AWindowLowerThanACardStillShowsOne)
{
    List low(3, 30);
    EXPECT_EQ(low.list.PageSize(), 1);
    EXPECT_EQ(low.list.verticalScrollBar()->maximum(), 2);
    QTest::keyClick(&low.list, Qt::Key_End);
    EXPECT_EQ(low.list.FirstVisible(), 2);
    EXPECT_EQ(low.bar(5), BlueRgb); // card 2
}
