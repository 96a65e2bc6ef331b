// The days-off page in a real frame: the month shown, days marked on the
// calendar, ranges added between two dates, lines deleted, OK and Cancel.
#include "CConfiguration.h"
#include "CMyDateTimeCtrl.h"
#include "COptDayOff.h"
#include "COptionsContext.h"
#include "CPrefsDialog.h"
#include "CSmallCalendar.h"
#include "Clock.h"
#include "DateFieldTyping.h"
#include "Formatter.h"
#include "LocalTime.h"
#include "QStringPrinter.h"
#include "Settings.h"
#include "Texts.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QListWidget>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>

namespace {

int ole(int y, int m, int d)
{
    return Platform::LocalTime::oleDay(QDate(y, m, d));
}

class DaysOffPageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Platform::Clock::setFixedNow(QDateTime(QDate(2024, 5, 15), QTime(10, 0)).toSecsSinceEpoch());
        // 1 May, 8 to 10 May, 25 December.
        config.daysOff.FromText(QStringLiteral("%1;%2,%3;%4;")
                                    .arg(ole(2024, 5, 1))
                                    .arg(ole(2024, 5, 8))
                                    .arg(ole(2024, 5, 10))
                                    .arg(ole(2024, 12, 25)));
        page = std::make_unique<COptDayOff>(context);
        frame.AddPage(page.get(), 0, QStringLiteral("Vacances"));
        frame.show();
        list = control<QListWidget>(COptDayOff::DaysList);
        calendar = control<CSmallCalendar>(COptDayOff::Calendar);
    }
    void TearDown() override { Platform::Clock::reset(); }

    template<typename W>
    W *control(int id)
    {
        W *w = page->findChild<W *>(QString::number(id));
        EXPECT_NE(w, nullptr) << id;
        return w;
    }
    QStringList lines() const
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }
    QString day(int y, int m, int d) const { return config.FormatOleDate(QDate(y, m, d), false); }
    QString range(const QString &first, const QString &last) const
    {
        return Platform::Formatter::message(Platform::Texts::get(114), {first, last});
    }
    // Clicks a day of the shown month on the calendar.
    void clickDay(const QDate &date, Qt::KeyboardModifiers modifiers = {})
    {
        const SmallCalendarLayout layout = calendar->Layout();
        const int index = int(layout.firstShown.daysTo(date));
        QTest::mouseClick(calendar, Qt::LeftButton, modifiers, layout.DayCell(index).center());
    }

    CConfiguration config;
    COptionsContext context{config};
    CPrefsDialog frame;
    std::unique_ptr<COptDayOff> page;
    QListWidget *list = nullptr;
    CSmallCalendar *calendar = nullptr;
};

} // namespace

TEST(DaysOffMonths, TheMonthStaysWithinTheYearsOffered)
{
    struct Case
    {
        QDate from;
        int step;
        QDate expected;
    };
    const Case cases[] = {
        {QDate(2024, 12, 1), 1, QDate(2025, 1, 1)},  {QDate(2024, 1, 1), -1, QDate(2023, 12, 1)},
        {QDate(2100, 12, 1), 1, QDate(2100, 12, 1)}, {QDate(1900, 1, 1), -1, QDate(1900, 1, 1)},
        {QDate(2100, 11, 1), 1, QDate(2100, 12, 1)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(COptDayOff::StepMonth(c.from, c.step), c.expected) << c.from.toString().toStdString();
}

TEST_F(DaysOffPageTest, TheListShowsDaysAndRangesAndTheCalendarMarksThem)
{
    EXPECT_EQ(page->ShownMonth(), QDate(2024, 5, 1));
    EXPECT_EQ(lines(), (QStringList{day(2024, 5, 1), range(day(2024, 5, 8), day(2024, 5, 10)), day(2024, 12, 25)}));
    EXPECT_EQ(control<QComboBox>(COptDayOff::MonthCombo)->currentText(), config.monthNames[4]);
    EXPECT_EQ(control<QSpinBox>(COptDayOff::YearSpin)->value(), 2024);

    // A click marks a day; Shift and a click marks up to it.
    clickDay(QDate(2024, 5, 20));
    clickDay(QDate(2024, 5, 22), Qt::ShiftModifier);
    EXPECT_EQ(lines(), (QStringList{day(2024, 5, 1), range(day(2024, 5, 8), day(2024, 5, 10)),
                                    range(day(2024, 5, 20), day(2024, 5, 22)), day(2024, 12, 25)}));
    // The next month, from the button; the combo and the year follow.
    QTest::mouseClick(control<QToolButton>(COptDayOff::NextMonth), Qt::LeftButton);
    EXPECT_EQ(page->ShownMonth(), QDate(2024, 6, 1));
    EXPECT_EQ(calendar->Month().month(), 6);
    EXPECT_EQ(control<QComboBox>(COptDayOff::MonthCombo)->currentIndex(), 5);

    // Choosing the line of Christmas shows December.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(3)).center());
    EXPECT_EQ(page->ShownMonth(), QDate(2024, 12, 1));
    EXPECT_EQ(control<QSpinBox>(COptDayOff::YearSpin)->value(), 2024);
    EXPECT_TRUE(control<QToolButton>(COptDayOff::DeleteDays)->isEnabled());
}

TEST_F(DaysOffPageTest, ARangeBetweenTheTwoDatesMergesWithItsNeighbours)
{
    auto *start = control<CMyDateTimeCtrl>(COptDayOff::StartDate);
    auto *end = control<CMyDateTimeCtrl>(COptDayOff::EndDate);
    // The dates never cross: each follows the other when it must.
    start->setDate(QDate(2024, 5, 7));
    EXPECT_EQ(end->date(), QDate(2024, 5, 15)); // today, still after
    end->setDate(QDate(2024, 5, 2));
    EXPECT_EQ(start->date(), QDate(2024, 5, 2));
    // A typed date moves the other once whole: "08/07" passes by 8 May,
    // which is no end for a range from 10 May.
    start->setDate(QDate(2024, 5, 10));
    end->setDate(QDate(2024, 5, 20));
    DateFieldTyping::Type(end, -1, QStringLiteral("08/07/2024"));
    QTest::keyClick(end, Qt::Key_Return);
    EXPECT_EQ(end->date(), QDate(2024, 7, 8));
    EXPECT_EQ(start->date(), QDate(2024, 5, 10));
    start->setDate(QDate(2024, 5, 2));
    end->setDate(QDate(2024, 5, 7));

    QTest::mouseClick(control<QToolButton>(COptDayOff::AddRange), Qt::LeftButton);
    // 1 May, 2 to 7 May and 8 to 10 May are one range now.
    EXPECT_EQ(lines(), (QStringList{range(day(2024, 5, 1), day(2024, 5, 10)), day(2024, 12, 25)}));
    EXPECT_EQ(page->ShownMonth(), QDate(2024, 5, 1));
}

// A date typed into one field moves the other as soon as it is whole, its
// year typed, while the field still has the focus; never a date met on
// the way (a part of one digit ended by its separator gives one too).
TEST_F(DaysOffPageTest, TheOtherDateFollowsATypedDateOnceItIsWhole)
{
    const DateFieldTyping::FrenchFields french;
    QApplication::setActiveWindow(&frame);
    auto *start = control<CMyDateTimeCtrl>(COptDayOff::StartDate);
    auto *end = control<CMyDateTimeCtrl>(COptDayOff::EndDate);
    const struct
    {
        const char *what;
        CMyDateTimeCtrl *typed;
        QDate start, end; // before the typing
        const char *first, *rest;
        QDate startAfter, endAfter;
    } cases[] = {
        {"the start after the end", start, QDate(2026, 12, 1), QDate(2026, 12, 1), "24/12", "/2026",
         QDate(2026, 12, 24), QDate(2026, 12, 24)},
        {"the end before the start", end, QDate(2026, 12, 24), QDate(2026, 12, 24), "02/01", "/2025",
         QDate(2025, 1, 2), QDate(2025, 1, 2)},
        {"the end of one-digit parts, passing before the start", end, QDate(2026, 12, 24), QDate(2026, 12, 24),
         "2/1/", "2027", QDate(2026, 12, 24), QDate(2027, 1, 2)},
        {"the start of one-digit parts, passing after the end", start, QDate(2026, 1, 2), QDate(2026, 3, 1),
         "9/1", "/2026", QDate(2026, 1, 9), QDate(2026, 3, 1)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        start->setDate(c.start);
        end->setDate(c.end);
        CMyDateTimeCtrl *other = c.typed == start ? end : start;
        const QDate otherBefore = other->date();
        DateFieldTyping::Type(c.typed, -1, QString::fromLatin1(c.first));
        EXPECT_EQ(other->date(), otherBefore) << "nothing follows a date being typed";
        QTest::keyClicks(c.typed, QString::fromLatin1(c.rest));
        EXPECT_EQ(QApplication::focusWidget(), c.typed) << "still typed into";
        EXPECT_EQ(start->date(), c.startAfter);
        EXPECT_EQ(end->date(), c.endAfter);
    }
}

// A click on another part of the field being typed goes on with the typing
// and takes nothing yet: the other date does not follow a date met on the
// way (24 December, the start's day typed before its month).
TEST_F(DaysOffPageTest, AClickOnAnotherPartOfTheTypedFieldTakesNothingYet)
{
    const DateFieldTyping::FrenchFields french;
    QApplication::setActiveWindow(&frame);
    auto *start = control<CMyDateTimeCtrl>(COptDayOff::StartDate);
    auto *end = control<CMyDateTimeCtrl>(COptDayOff::EndDate);
    start->setDate(QDate(2026, 12, 1));
    end->setDate(QDate(2026, 12, 15));
    DateFieldTyping::Type(start, 0, QStringLiteral("24"));
    ASSERT_EQ(start->text(), QStringLiteral("24/12/2026"));
    // The month clicked in the same field, then typed.
    DateFieldTyping::Type(start, 4, QStringLiteral("11"));
    ASSERT_EQ(start->text(), QStringLiteral("24/11/2026"));
    EXPECT_EQ(end->date().toString(Qt::ISODate), QStringLiteral("2026-12-15"))
        << "the end followed a date met while typing";
    QTest::keyClick(start, Qt::Key_Return);
    EXPECT_EQ(start->date().toString(Qt::ISODate), QStringLiteral("2026-11-24"));
    EXPECT_EQ(end->date().toString(Qt::ISODate), QStringLiteral("2026-12-15"));
}

TEST_F(DaysOffPageTest, SelectedLinesAreDeletedEvenApartAndOkStoresTheList)
{
    clickDay(QDate(2024, 5, 29));
    ASSERT_EQ(list->count(), 4);
    // Lines 0 and 2, not next to each other.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->visualItemRect(list->item(2)).center());
    QTest::mouseClick(control<QToolButton>(COptDayOff::DeleteDays), Qt::LeftButton);
    EXPECT_EQ(lines(), (QStringList{range(day(2024, 5, 8), day(2024, 5, 10)), day(2024, 12, 25)}));
    EXPECT_FALSE(control<QToolButton>(COptDayOff::DeleteDays)->isEnabled());

    // Select all, then none.
    QTest::mouseClick(control<QPushButton>(COptDayOff::SelectAll), Qt::LeftButton);
    EXPECT_EQ(list->selectedItems().size(), 2);
    QTest::mouseClick(control<QPushButton>(COptDayOff::SelectNone), Qt::LeftButton);
    EXPECT_TRUE(list->selectedItems().isEmpty());

    // Nothing reached the settings before OK.
    EXPECT_EQ(config.daysOff.GetCount(), 3);
    Platform::Settings before;
    EXPECT_FALSE(before.contains(u"Config", u"Affichage", u"DayOff"));
    QTest::mouseClick(frame.OkButton(), Qt::LeftButton);
    Platform::Settings s;
    EXPECT_EQ(s.getString(u"Config", u"Affichage", u"DayOff"),
              QStringLiteral("%1,%2;%3;").arg(ole(2024, 5, 8)).arg(ole(2024, 5, 10)).arg(ole(2024, 12, 25)));
    EXPECT_EQ(config.daysOff.GetCount(), 2);
}

TEST_F(DaysOffPageTest, TheYearAndMonthChosenShowThatMonthAndCancelStoresNothing)
{
    auto *year = control<QSpinBox>(COptDayOff::YearSpin);
    year->setFocus();
    QTest::keyClick(year, Qt::Key_Up);
    EXPECT_EQ(page->ShownMonth(), QDate(2025, 5, 1));
    auto *month = control<QComboBox>(COptDayOff::MonthCombo);
    month->setFocus();
    QTest::keyClick(month, Qt::Key_Up);
    EXPECT_EQ(page->ShownMonth(), QDate(2025, 4, 1));
    clickDay(QDate(2025, 4, 21));
    EXPECT_EQ(list->count(), 4);
    QTest::mouseClick(frame.CancelButton(), Qt::LeftButton);
    Platform::Settings s;
    EXPECT_FALSE(s.contains(u"Config", u"Affichage", u"DayOff"));
    EXPECT_EQ(config.daysOff.GetCount(), 3);
}

TEST_F(DaysOffPageTest, TabFollowsThePageAsItReads)
{
    QApplication::setActiveWindow(&frame);
    // The delete button stays out while nothing is selected; the calendar
    // takes no focus.
    const int order[] = {COptDayOff::PreviousMonth, COptDayOff::MonthCombo, COptDayOff::YearSpin,
                         COptDayOff::NextMonth,     COptDayOff::DaysList,   COptDayOff::SelectAll,
                         COptDayOff::SelectNone,    COptDayOff::StartDate};
    control<QWidget>(order[0])->setFocus();
    for (const int id : order) {
        SCOPED_TRACE(id);
        ASSERT_EQ(QApplication::focusWidget(), control<QWidget>(id));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
}
