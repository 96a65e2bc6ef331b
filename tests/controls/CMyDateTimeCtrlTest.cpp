#include "CFirstDayOfWeek.h"
#include "CMyDateTimeCtrl.h"

#include <QCalendarWidget>
#include <QLocale>
#include <QTest>
#include <gtest/gtest.h>

TEST(CFirstDayOfWeek, ProgramWeekdaysToQtAndBack)
{
    const Qt::DayOfWeek qt[] = {Qt::Sunday, Qt::Monday, Qt::Tuesday, Qt::Wednesday,
                                Qt::Thursday, Qt::Friday, Qt::Saturday};
    for (int weekday = 1; weekday <= 7; ++weekday) {
        EXPECT_EQ(CFirstDayOfWeek::ToQt(weekday), qt[weekday - 1]) << weekday;
        EXPECT_EQ(CFirstDayOfWeek::FromQt(qt[weekday - 1]), weekday) << weekday;
    }
    // Locales whose weeks start on Saturday keep it.
    EXPECT_EQ(CFirstDayOfWeek::FromLocale(QLocale(QLocale::Arabic, QLocale::Egypt)), 7);
    EXPECT_EQ(CFirstDayOfWeek::FromLocale(QLocale(QLocale::French, QLocale::France)), 2);
    EXPECT_EQ(CFirstDayOfWeek::FromLocale(QLocale(QLocale::English, QLocale::UnitedStates)), 1);
    // A value the settings should never hold: the system's first day.
    EXPECT_EQ(CFirstDayOfWeek::ToQt(0), QLocale::system().firstDayOfWeek());
    EXPECT_EQ(CFirstDayOfWeek::ToQt(8), QLocale::system().firstDayOfWeek());
}

// The drop-down calendar reads the configured day each time it opens.
TEST(CMyDateTimeCtrl, TheCalendarStartsOnTheConfiguredDayAtEachOpening)
{
    int setting = 1;
    CFirstDayOfWeek::SetProvider([&setting] { return setting; });
    CMyDateTimeCtrl picker;
    picker.setDate(QDate(2024, 3, 31));
    picker.show();
    QCalendarWidget *calendar = picker.calendarWidget();

    struct Case
    {
        int setting;
        Qt::DayOfWeek firstColumn;
    };
    const Case cases[] = {{2, Qt::Monday}, {1, Qt::Sunday}, {7, Qt::Saturday}, {0, QLocale::system().firstDayOfWeek()}};
    Qt::DayOfWeek shown = calendar->firstDayOfWeek();
    EXPECT_EQ(shown, Qt::Sunday); // the setting when the picker was made
    for (const Case &c : cases) {
        setting = c.setting;
        EXPECT_EQ(calendar->firstDayOfWeek(), shown); // until it opens
        QTest::mouseClick(&picker, Qt::LeftButton, {}, QPoint(picker.width() - 6, picker.height() / 2));
        ASSERT_TRUE(calendar->isVisible()) << c.setting;
        EXPECT_EQ(calendar->firstDayOfWeek(), c.firstColumn) << c.setting;
        QTest::keyClick(calendar, Qt::Key_Escape);
        EXPECT_FALSE(calendar->isVisible());
        shown = c.firstColumn;
    }
    CFirstDayOfWeek::SetProvider({});
}
