// The display page: its window-free editor of the working week, and the
// page itself in a frame.
#include "CConfiguration.h"
#include "CFormattedSpin.h"
#include "COptAffichage.h"
#include "COptionsContext.h"
#include "Formatter.h"
#include "CPrefsDialog.h"
#include "CRangeSlider.h"
#include "QStringPrinter.h"
#include "Settings.h"
#include "Texts.h"
#include "WorkingWeekEditor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

using Periods = WorkingWeekEditor::Periods;
using WorkDays = std::array<bool, 7>;
constexpr WorkDays mondayToFriday{false, true, true, true, true, true, false};

// A settings file with a standard day 8:00-12:00, 13:00-17:00 (480
// minutes), Monday following it but keeping 9:00-10:00 of its own,
// Wednesday with 9:00-12:00 of its own, Saturday worked on its own
// 10:00-11:00 but not among the work days.
void writeWeek()
{
    Platform::Settings s;
    s.setString(u"Config", u"Affichage", u"WorkingDay", QStringLiteral("480,720;780,1020;"));
    s.setString(u"Config", u"Affichage", u"WorkingDay_2", QStringLiteral("d;540,600;"));
    s.setString(u"Config", u"Affichage", u"WorkingDay_4", QStringLiteral("540,720;"));
    s.setString(u"Config", u"Affichage", u"WorkingDay_7", QStringLiteral("600,660;"));
    s.sync();
}

Periods periods(std::initializer_list<std::pair<int, int>> list)
{
    Periods out;
    for (const auto &[start, end] : list)
        out.push_back({start, end});
    return out;
}

class WorkingWeekEditorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        writeWeek();
        Platform::Settings s;
        config.Load(s);
        editor.Load(config);
    }
    CConfiguration config;
    WorkingWeekEditor editor;
    WorkingWeekEditor::DayView view;
};

} // namespace

TEST_F(WorkingWeekEditorTest, AWeekdayThatFollowsTheStandardDayKeepsItsOwnList)
{
    ASSERT_TRUE(editor.SwitchDay(0, false, {}, false, view));
    EXPECT_FALSE(view.weekday);
    EXPECT_EQ(view.periods, periods({{480, 720}, {780, 1020}}));

    // Monday follows: the slider shows the standard day, read-only.
    ASSERT_TRUE(editor.SwitchDay(2, false, view.periods, false, view));
    EXPECT_TRUE(view.weekday);
    EXPECT_TRUE(view.follows);
    EXPECT_FALSE(view.sliderEnabled);
    EXPECT_FALSE(view.showDefaultButton);
    EXPECT_EQ(view.periods, periods({{480, 720}, {780, 1020}}));

    // Unchecking the box brings its own list back, untouched.
    ASSERT_TRUE(editor.SwitchDay(2, false, view.periods, true, view));
    EXPECT_FALSE(view.follows);
    EXPECT_TRUE(view.sliderEnabled);
    EXPECT_TRUE(view.showDefaultButton);
    EXPECT_EQ(view.periods, periods({{540, 600}}));

    // Edited, then following again: its list is kept for later.
    const Periods edited = periods({{540, 660}});
    ASSERT_TRUE(editor.SwitchDay(2, true, edited, true, view));
    EXPECT_TRUE(view.follows);
    EXPECT_EQ(view.periods, periods({{480, 720}, {780, 1020}}));
    EXPECT_EQ(editor.Days().Set(2).periods, edited);
    EXPECT_TRUE(editor.Days().Set(2).useDefault);

    // Choosing the day already shown changes nothing.
    EXPECT_FALSE(editor.SwitchDay(2, true, view.periods, false, view));
    // Leaving it does not store the standard day's periods over its own.
    ASSERT_TRUE(editor.SwitchDay(4, true, view.periods, false, view));
    EXPECT_EQ(editor.Days().Set(2).periods, edited);
    EXPECT_EQ(view.periods, periods({{540, 720}}));
}

TEST_F(WorkingWeekEditorTest, TotalsCountTheWorkedDaysAndWarnOfADayNotWorked)
{
    struct Case
    {
        const char *name;
        int day;
        Periods slider;
        WorkDays workDays;
        qint64 dayMinutes;
        bool warning;
        qint64 weekMinutes;
    };
    // Standard 480; Monday follows (480); Tuesday, Thursday, Friday follow
    // too; Wednesday 180 of its own.
    const Case cases[] = {
        {"standard day, as loaded", 0, periods({{480, 720}, {780, 1020}}), mondayToFriday, 480, false,
         4 * 480 + 180},
        {"standard day being shortened", 0, periods({{480, 720}}), mondayToFriday, 240, false, 4 * 240 + 180},
        {"Wednesday being edited", 4, periods({{540, 600}}), mondayToFriday, 60, false, 4 * 480 + 60},
        {"Saturday, not a work day", 7, periods({{600, 660}}), mondayToFriday, 0, true, 4 * 480 + 180},
        {"Saturday once worked", 7, periods({{600, 660}}), {false, true, true, true, true, true, true}, 60,
         false, 4 * 480 + 180 + 60},
        {"no day worked", 3, periods({{480, 720}}), {}, 0, true, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        WorkingWeekEditor fresh;
        fresh.Load(config);
        ASSERT_TRUE(fresh.SwitchDay(c.day, false, {}, false, view));
        const WorkingWeekEditor::Totals totals = fresh.ComputeTotals(c.workDays, c.slider);
        EXPECT_EQ(totals.daySeconds, c.dayMinutes * 60);
        EXPECT_EQ(totals.notWorked, c.warning);
        EXPECT_EQ(totals.weekSeconds, c.weekMinutes * 60);
    }
}

TEST_F(WorkingWeekEditorTest, TheSystemChoiceFollowsTheLocaleAndASaturdayStaysSaturday)
{
    struct Case
    {
        int entry;
        QLocale locale;
        int firstDay;
        bool follows;
        int stored;
    };
    const Case cases[] = {
        {0, QLocale(QLocale::Arabic, QLocale::Egypt), 7, true, 0}, // Saturday first
        {0, QLocale(QLocale::French, QLocale::France), 2, true, 0},
        {0, QLocale(QLocale::English, QLocale::UnitedStates), 1, true, 0},
        {7, QLocale(QLocale::French, QLocale::France), 7, false, 7},
        {2, QLocale(QLocale::Arabic, QLocale::Egypt), 2, false, 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.entry);
        WorkingWeekEditor fresh;
        fresh.Load(config);
        const auto result = fresh.Finish(c.entry, 0, mondayToFriday, false, {}, c.locale);
        EXPECT_EQ(result.firstDayOfWeek, c.firstDay);
        EXPECT_EQ(result.firstDayFromLocale, c.follows);
        Platform::Settings s;
        WorkingWeekEditor::Apply(result, config, s);
        EXPECT_EQ(s.getInt(u"Config", u"Affichage", u"FirstDayOfWeek", -1), c.stored);

        // Read back under that locale, the day still follows it.
        CConfiguration reread;
        reread.SetLocale(c.locale);
        reread.Load(s);
        EXPECT_EQ(reread.firstDayOfWeek, c.firstDay);
        EXPECT_EQ(reread.firstDayFromLocale, c.follows);
    }
}

namespace {

class DisplayPageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        writeWeek();
        Platform::Settings s;
        config.Load(s);
        context.systemLocale = [] { return QLocale(QLocale::Arabic, QLocale::Egypt); };
        frame.AddPage(&page, 0, QStringLiteral("Affichage"));
        frame.show();
        slider = control<CRangeSlider>(COptAffichage::Slider);
        start = control<CFormattedSpin>(COptAffichage::StartSpin);
        end = control<CFormattedSpin>(COptAffichage::EndSpin);
        day = control<QComboBox>(COptAffichage::DayCombo);
    }

    template<typename W>
    W *control(int id)
    {
        W *w = page.findChild<W *>(QString::number(id));
        EXPECT_NE(w, nullptr) << id;
        return w;
    }
    void chooseDay(int index)
    {
        day->setFocus();
        while (day->currentIndex() < index)
            QTest::keyClick(day, Qt::Key_Down);
        while (day->currentIndex() > index)
            QTest::keyClick(day, Qt::Key_Up);
    }
    // Clicks the middle of a zone of the slider.
    void selectZone(int index)
    {
        const auto &zone = slider->Zones()[size_t(index)];
        QTest::mouseClick(slider, Qt::LeftButton, {},
                          QPoint((zone.pixelFrom + zone.pixelTo) / 2, slider->ZoneBandTop() + 5));
    }
    static QString storedText(QStringView name)
    {
        Platform::Settings s;
        return s.getString(u"Config", u"Affichage", name, QStringLiteral("<none>"));
    }

    CConfiguration config;
    COptionsContext context{config};
    COptAffichage page{context};
    CPrefsDialog frame;
    CRangeSlider *slider = nullptr;
    CFormattedSpin *start = nullptr;
    CFormattedSpin *end = nullptr;
    QComboBox *day = nullptr;
};

} // namespace

TEST_F(DisplayPageTest, TheSpinsMoveTheSelectedPeriodWithinItsNeighboursAndShowTimes)
{
    ASSERT_EQ(slider->Zones().size(), 2u);
    EXPECT_FALSE(start->isEnabled());
    EXPECT_FALSE(control<QToolButton>(COptAffichage::DeletePeriod)->isVisible());

    selectZone(1);
    EXPECT_EQ(slider->SelectedZone(), 1);
    EXPECT_TRUE(start->isEnabled());
    EXPECT_EQ(start->text(), config.FormatMinutesOfDay(780));
    EXPECT_TRUE(control<QToolButton>(COptAffichage::DeletePeriod)->isVisible());

    // Down from 13:00 by the arrows: the first period ends at 12:00, so the
    // start stops there, and the spin shows where it went.
    start->setValue(600);
    EXPECT_EQ(slider->Zones()[1].from, 720);
    EXPECT_EQ(start->value(), 720);
    // The end goes up to midnight, shown as such.
    end->setFocus();
    end->setValue(1500);
    EXPECT_EQ(slider->Zones()[1].to, 1440);
    EXPECT_EQ(end->text(), Platform::Texts::get(111));
    EXPECT_EQ(control<QLabel>(COptAffichage::DayTotal)->text(),
              Platform::Formatter::sprintf(Platform::Texts::get(523), {config.FormatDuration((240 + 720) * 60, true)}));

    // Deleting the last period selects the one before it.
    QTest::mouseClick(control<QToolButton>(COptAffichage::DeletePeriod), Qt::LeftButton);
    ASSERT_EQ(slider->Zones().size(), 1u);
    EXPECT_EQ(slider->SelectedZone(), 0);
    EXPECT_EQ(end->value(), 720);
}

TEST_F(DisplayPageTest, ADayNotWorkedShowsTheWarningAndAZeroTotal)
{
    auto *icon = control<QLabel>(COptAffichage::NotWorkedIcon);
    auto *follow = control<QCheckBox>(COptAffichage::FollowCheck);
    EXPECT_FALSE(follow->isVisible()); // the standard day
    chooseDay(4); // Wednesday
    EXPECT_TRUE(follow->isVisible());
    EXPECT_FALSE(follow->isChecked());
    EXPECT_FALSE(icon->isVisible());
    QTest::mouseClick(control<QCheckBox>(1130), Qt::LeftButton); // Wednesday worked no more
    EXPECT_TRUE(icon->isVisible());
    EXPECT_EQ(control<QLabel>(COptAffichage::DayTotal)->text(),
              Platform::Formatter::sprintf(Platform::Texts::get(523), {config.FormatDuration(0, true)}));
    EXPECT_EQ(control<QLabel>(COptAffichage::WeekTotal)->text(),
              Platform::Formatter::sprintf(Platform::Texts::get(631), {config.FormatDuration(4 * 480 * 60, true)}));

    // "Défaut" copies the standard day into Wednesday.
    QTest::mouseClick(control<QPushButton>(COptAffichage::DefaultButton), Qt::LeftButton);
    EXPECT_EQ(slider->Zones().size(), 2u);
}

TEST_F(DisplayPageTest, TabRunsAlongTheWorkingDaysAsTheyAreShown)
{
    QApplication::setActiveWindow(&frame);
    // Monday (1128) to Saturday (1133), then Sunday (1134), then the day.
    const int order[] = {1128, 1129, 1130, 1131, 1132, 1133, 1134};
    QWidget *focus = control<QCheckBox>(order[0]);
    focus->setFocus();
    for (const int next : order) {
        SCOPED_TRACE(next);
        EXPECT_EQ(QApplication::focusWidget(), control<QCheckBox>(next));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(QApplication::focusWidget(), day);
}

TEST_F(DisplayPageTest, OkWritesTheExactValuesAndCancelWritesNothing)
{
    // Cancel first, on a second frame: nothing reaches the settings.
    {
        CConfiguration other;
        COptionsContext otherContext(other);
        COptAffichage cancelled(otherContext);
        CPrefsDialog second;
        second.AddPage(&cancelled, 0, QStringLiteral("Affichage"));
        second.show();
        QTest::mouseClick(cancelled.findChild<QCheckBox *>(QStringLiteral("1133")), Qt::LeftButton);
        QTest::mouseClick(second.CancelButton(), Qt::LeftButton);
    }
    EXPECT_EQ(storedText(u"WorkDays"), QStringLiteral("<none>"));
    EXPECT_EQ(storedText(u"FirstDayOfWeek"), QStringLiteral("<none>"));

    // Wednesday follows the standard day now; Saturday is worked; weeks
    // counted from 1 January; "<Système>" under a Saturday-first locale.
    chooseDay(4);
    QTest::mouseClick(control<QCheckBox>(COptAffichage::FollowCheck), Qt::LeftButton);
    QTest::mouseClick(control<QCheckBox>(1133), Qt::LeftButton);
    auto *week = control<QComboBox>(COptAffichage::WeekNumberingCombo);
    week->setFocus();
    QTest::keyClick(week, Qt::Key_Down);
    EXPECT_EQ(control<QComboBox>(COptAffichage::FirstDayCombo)->currentIndex(), 0);
    QTest::mouseClick(frame.OkButton(), Qt::LeftButton);

    EXPECT_EQ(storedText(u"FirstDayOfWeek"), QStringLiteral("0"));
    EXPECT_EQ(storedText(u"WeekNumbering"), QStringLiteral("0"));
    EXPECT_EQ(storedText(u"WorkDays"), QStringLiteral("0,1,1,1,1,1,1"));
    EXPECT_EQ(storedText(u"WorkingDay"), QStringLiteral("480,720;780,1020;"));
    EXPECT_EQ(storedText(u"WorkingDay_2"), QStringLiteral("d;540,600;"));
    EXPECT_EQ(storedText(u"WorkingDay_4"), QStringLiteral("d;540,720;"));
    EXPECT_EQ(storedText(u"WorkingDay_7"), QStringLiteral("600,660;"));
    EXPECT_EQ(config.firstDayOfWeek, 7);
    EXPECT_TRUE(config.firstDayFromLocale);
    EXPECT_EQ(config.weekNumbering, 0);
    EXPECT_TRUE(config.workDays[6]);
    EXPECT_TRUE(config.workingDays.Set(4).useDefault);
}
