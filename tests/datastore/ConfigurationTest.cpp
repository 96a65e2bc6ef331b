#include "CAppData.h"
#include "CConfiguration.h"
#include "Clock.h"
#include "Settings.h"
#include "Texts.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <functional>
#include <limits>

namespace {

qint64 at(int y, int m, int d, int h = 0, int mi = 0, int s = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, mi, s), Qt::LocalTime).toSecsSinceEpoch();
}

const QLocale kFrench(QLocale::French, QLocale::France);
const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);

// Qt's locale data may put a narrow or a plain no-break space in numbers.
QString plainSpaces(QString s)
{
    s.replace(QChar(0x202F), u' ');
    s.replace(QChar(0x00A0), u' ');
    return s;
}

} // namespace

TEST(Configuration, DefaultsOfAnEmptyStore)
{
    Platform::Settings settings;
    CConfiguration c;
    c.SetLocale(kFrench);
    c.Load(settings);
    EXPECT_EQ(c.firstDayOfWeek, 2); // Monday in France
    EXPECT_TRUE(c.firstDayFromLocale);
    EXPECT_EQ(c.weekNumbering, 1);
    const std::array<bool, 7> monToFri{false, true, true, true, true, true, false};
    EXPECT_EQ(c.workDays, monToFri);
    EXPECT_EQ(c.workingDays.GetDaySeconds(0), 8 * 3600);
    EXPECT_EQ(c.workingDays.GetDaySeconds(3), 8 * 3600);
    EXPECT_EQ(c.daysOff.GetCount(), 0);
    EXPECT_TRUE(c.dataFolder.isEmpty());
    EXPECT_EQ(c.lanTime, -1);
    EXPECT_TRUE(c.backup);
    EXPECT_EQ(c.backupPeriode, 3);
    EXPECT_EQ(c.backupKeep, 5);
    EXPECT_EQ(c.reportTextPos, 2);
    EXPECT_TRUE(c.longDates);
    EXPECT_EQ(c.durationPattern, u"%1!d!:%2!02d!");
    EXPECT_EQ(c.progressColours[2], 0x0000FFu);
    EXPECT_EQ(c.progressMid, 50);
    EXPECT_EQ(c.iconOrText, 2);
    EXPECT_TRUE(c.realTime);
    EXPECT_EQ(c.grid, 5);
    EXPECT_FALSE(c.logErrors);
    // The tray companion formats durations with the pattern written back.
    EXPECT_EQ(settings.getString(u"Config", u"Format", u"sDuree"), u"%1!d!:%2!02d!");
}

TEST(Configuration, CorrectionsOnReading)
{
    struct Value { const char16_t *section, *name, *value; };
    struct Case
    {
        const char *name;
        std::vector<Value> values;
        std::function<void(const CConfiguration &)> check;
    };
    const Case cases[] = {
        {"Grid 20 becomes 5", {{u"Align", u"Grid", u"20"}}, [](const CConfiguration &c) { EXPECT_EQ(c.grid, 5); }},
        {"Grid 10 kept", {{u"Align", u"Grid", u"10"}}, [](const CConfiguration &c) { EXPECT_EQ(c.grid, 10); }},
        {"Grid 15 kept", {{u"Align", u"Grid", u"15"}}, [](const CConfiguration &c) { EXPECT_EQ(c.grid, 15); }},
        {"Pct 150 becomes 100", {{u"Forecast", u"PctNonComptabilise", u"150"}},
         [](const CConfiguration &c) { EXPECT_EQ(c.pctNonComptabilise, 100); }},
        {"Pct -3 becomes 0", {{u"Forecast", u"PctNonComptabilise", u"-3"}},
         [](const CConfiguration &c) { EXPECT_EQ(c.pctNonComptabilise, 0); }},
        {"Pct 40 kept", {{u"Forecast", u"PctNonComptabilise", u"40"}},
         [](const CConfiguration &c) { EXPECT_EQ(c.pctNonComptabilise, 40); }},
        {"Duree 7 becomes 0", {{u"Format", u"Duree", u"7"}}, [](const CConfiguration &c) {
             EXPECT_EQ(c.durationCode, 0);
             EXPECT_EQ(c.durationPattern, u"%1!d!:%2!02d!");
         }},
        {"Duree 2", {{u"Format", u"Duree", u"2"}}, [](const CConfiguration &c) {
             EXPECT_EQ(c.durationPattern, u"%1!d! h %2!02d! min");
             EXPECT_EQ(c.FormatDuration(9720), u"2 h 42 min");
         }},
        {"Keep 2 with Periode 3 becomes 4", {{u"Backup", u"Keep", u"2"}, {u"Backup", u"Periode", u"3"}},
         [](const CConfiguration &c) { EXPECT_EQ(c.backupKeep, 4); }},
        {"Keep equal to Periode is raised", {{u"Backup", u"Keep", u"6"}, {u"Backup", u"Periode", u"6"}},
         [](const CConfiguration &c) { EXPECT_EQ(c.backupKeep, 7); }},
        {"Keep above Periode kept", {{u"Backup", u"Keep", u"9"}}, [](const CConfiguration &c) { EXPECT_EQ(c.backupKeep, 9); }},
        {"default Keep under Periode 8", {{u"Backup", u"Periode", u"8"}},
         [](const CConfiguration &c) { EXPECT_EQ(c.backupKeep, 9); }},
        {"Periode at the largest int raises Keep without overflowing", {{u"Backup", u"Periode", u"2147483647"}},
         [](const CConfiguration &c) {
             EXPECT_EQ(c.backupKeep, std::numeric_limits<int>::max());
             EXPECT_EQ(c.GetPeriodStart(true), 0);
         }},
        {"folders get a final separator",
         {{u"Rep", u"Data", u"/home/u/Zarvo"}, {u"Rep", u"Users", u"/home/u/Zarvo/Users/"},
          {u"Lan", u"Rep", u"/mnt/share"}, {u"Backup", u"Rep", u""}},
         [](const CConfiguration &c) {
             EXPECT_EQ(c.dataFolder, u"/home/u/Zarvo/");
             EXPECT_EQ(c.usersFolder, u"/home/u/Zarvo/Users/");
             EXPECT_EQ(c.lanFolder, u"/mnt/share/");
             EXPECT_EQ(c.backupFolder, u"");
         }},
        {"LogErrors only when exactly 1", {{u"Misc", u"LogErrors", u"2"}},
         [](const CConfiguration &c) { EXPECT_FALSE(c.logErrors); }},
        {"LogErrors 1", {{u"Misc", u"LogErrors", u"1"}}, [](const CConfiguration &c) { EXPECT_TRUE(c.logErrors); }},
        {"FirstDayOfWeek kept", {{u"Affichage", u"FirstDayOfWeek", u"7"}}, [](const CConfiguration &c) {
             EXPECT_EQ(c.firstDayOfWeek, 7);
             EXPECT_FALSE(c.firstDayFromLocale);
         }},
        {"WorkDays", {{u"Affichage", u"WorkDays", u"1,0,0,1,0,0,1"}}, [](const CConfiguration &c) {
             const std::array<bool, 7> expected{true, false, false, true, false, false, true};
             EXPECT_EQ(c.workDays, expected);
         }},
        {"short WorkDays", {{u"Affichage", u"WorkDays", u"1,1"}}, [](const CConfiguration &c) {
             const std::array<bool, 7> expected{true, true, false, false, false, false, false};
             EXPECT_EQ(c.workDays, expected);
         }},
        {"hours when WorkingDay is empty",
         {{u"Affichage", u"WorkingDay", u""}, {u"Affichage", u"StartHour", u"7"}, {u"Affichage", u"EndHour", u"2000"}},
         [](const CConfiguration &c) {
             const std::vector<tWorkingPeriode> expected{{420, 1080}};
             EXPECT_EQ(c.workingDays.Set(0).periods, expected);
             EXPECT_EQ(c.workingDays.GetDaySeconds(0), 11 * 3600);
         }},
        {"an hour beyond the day is refused", {{u"Affichage", u"WorkingDay", u""}, {u"Affichage", u"StartHour", u"100"}},
         [](const CConfiguration &c) {
             const std::vector<tWorkingPeriode> expected{{360, 1080}};
             EXPECT_EQ(c.workingDays.Set(0).periods, expected);
         }},
        {"weekday texts",
         {{u"Affichage", u"WorkingDay_3", u"d;480,600;"}, {u"Affichage", u"WorkingDay_2", u";"},
          {u"Affichage", u"WorkingDay_4", u"540,600;"}},
         [](const CConfiguration &c) {
             EXPECT_TRUE(c.workingDays.Set(3).useDefault);
             EXPECT_EQ(c.workingDays.Set(3).periods.size(), 1u);
             EXPECT_EQ(c.workingDays.GetDaySeconds(3), 8 * 3600);
             EXPECT_EQ(c.workingDays.GetDaySeconds(4), 3600);
             EXPECT_FALSE(c.IsWorkingDay(QDate(2026, 3, 2))); // Monday has no period of its own
         }},
        {"days off", {{u"Affichage", u"DayOff", u"46083;46085,46086;"}}, [](const CConfiguration &c) {
             EXPECT_FALSE(c.IsWorkingDay(QDate(2026, 3, 2)));
             EXPECT_TRUE(c.IsWorkingDay(QDate(2026, 3, 3)));
             EXPECT_FALSE(c.IsWorkingDay(QDate(2026, 3, 5)));
         }},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        Platform::Settings settings;
        for (const QString &key : settings.allKeys())
            settings.remove(key, {}, {});
        for (const Value &v : k.values)
            settings.setString(u"Config", v.section, v.name, QString::fromUtf16(v.value));
        CConfiguration c;
        c.Load(settings);
        k.check(c);
    }
}

TEST(Configuration, StoredDurationPatternIsKept)
{
    Platform::Settings settings;
    settings.setString(u"Config", u"Format", u"sDuree", QStringLiteral("%1!d!h%2!02d!"));
    settings.setInt(u"Config", u"Format", u"Duree", 1);
    CConfiguration c;
    c.Load(settings);
    EXPECT_EQ(settings.getString(u"Config", u"Format", u"sDuree"), u"%1!d!h%2!02d!");
    EXPECT_EQ(c.durationPattern, u"%1!d! h %2!02d!");
}

TEST(Configuration, ReloadForgetsRemovedWeekdayTexts)
{
    Platform::Settings settings;
    settings.setString(u"Config", u"Affichage", u"WorkingDay_2", QStringLiteral("600,660;"));
    CConfiguration c;
    c.Load(settings);
    EXPECT_EQ(c.workingDays.GetDaySeconds(2), 3600);
    settings.remove(u"Config", u"Affichage", u"WorkingDay_2");
    c.Load(settings);
    EXPECT_EQ(c.workingDays.GetDaySeconds(2), 8 * 3600);
}

TEST(Configuration, FirstDayOfWeekFromTheLocale)
{
    struct Case { Qt::DayOfWeek qt; int expected; };
    const Case cases[] = {{Qt::Monday, 2}, {Qt::Friday, 6}, {Qt::Saturday, 7}, {Qt::Sunday, 1}};
    for (const Case &k : cases)
        EXPECT_EQ(int(k.qt) % 7 + 1, k.expected);
    const QLocale saturdayFirst(QLocale::Arabic, QLocale::Egypt);
    ASSERT_EQ(saturdayFirst.firstDayOfWeek(), Qt::Saturday);
    Platform::Settings settings;
    settings.setInt(u"Config", u"Affichage", u"FirstDayOfWeek", 9);
    CConfiguration c;
    c.SetLocale(saturdayFirst);
    c.Load(settings);
    EXPECT_EQ(c.firstDayOfWeek, 7);
    EXPECT_TRUE(c.firstDayFromLocale);
    c.SetLocale(kEnglish);
    c.Load(settings);
    EXPECT_EQ(c.firstDayOfWeek, 1);
}

TEST(Configuration, DatePatternConversion)
{
    struct Case { const char16_t *pattern, *expected; };
    const Case cases[] = {
        {u"dddd d MMMM yyyy", u"%5!s! %7!1d! %2!s! %1!4d!"},
        {u"dd/MM/yyyy", u"%7!02d!/%4!02d!/%1!4d!"},
        {u"ddd d MMM yy", u"%6!s! %7!1d! %3!s! %8!02d!"},
        {u"M/d/y", u"%4!1d!/%7!1d!/%8!1d!"},
        {u"yyyyy-MM-dd", u"%1!4d!-%4!02d!-%7!02d!"},
        {u"dddd, MMMM d, yyyy", u"%5!s!, %2!s! %7!1d!, %1!4d!"},
        // Quoted text passes unchanged, even when it holds field letters.
        {u"dddd d 'de' MMMM 'de' yyyy", u"%5!s! %7!1d! de %2!s! de %1!4d!"},
        {u"'day' d", u"day %7!1d!"},
        {u"d 'o''clock'", u"%7!1d! o'clock"},
        {u"d''M", u"%7!1d!'%4!1d!"},
        {u"'unclosed d", u"unclosed d"},
        {u"ddddd", u"%5!s!%7!1d!"},
        {u"d %", u"%7!1d! %%"},
        {u"", u""},
    };
    for (const Case &k : cases)
        EXPECT_EQ(CConfiguration::ConvertDatePattern(k.pattern), QString::fromUtf16(k.expected))
            << QString::fromUtf16(k.pattern).toStdString();
}

TEST(Configuration, LocaleFormats)
{
    CConfiguration c;
    c.SetLocale(kFrench);
    EXPECT_FALSE(c.monthBeforeDay);
    EXPECT_EQ(c.longDatePattern, CConfiguration::ConvertDatePattern(kFrench.dateFormat(QLocale::LongFormat)));
    EXPECT_EQ(c.GetTimeFormatWithoutSeconds(), u"HH:mm");
    c.SetLocale(kEnglish);
    EXPECT_TRUE(c.monthBeforeDay);
    EXPECT_EQ(c.GetTimeFormatWithoutSeconds(), u"h:mm AP");
    EXPECT_EQ(c.FormatMinutesOfDay(545), u"9:05 AM");
    c.SetLocale(QLocale(QLocale::Japanese, QLocale::Japan)); // year first
    EXPECT_TRUE(c.monthBeforeDay);
    c.SetLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_FALSE(c.monthBeforeDay);
}

TEST(Configuration, Durations)
{
    CConfiguration c;
    struct Case { qint64 seconds; bool force; const char16_t *expected; };
    const Case cases[] = {
        {0, false, u"0:00"},   {29, false, u"0:00"},       {30, false, u"0:01"},
        {3570, false, u"1:00"}, {9720, false, u"2:42"},    {100 * 3600 + 59 * 60 + 40, false, u"101:00"},
        {-60, false, u""},     {-60, true, u"-0:01"},
    };
    for (const Case &k : cases)
        EXPECT_EQ(c.FormatDuration(k.seconds, k.force), QString::fromUtf16(k.expected)) << k.seconds;
    EXPECT_EQ(CConfiguration::FormatHoursMinutes(9720), u"2:42");
    EXPECT_EQ(CConfiguration::FormatHoursMinutes(36000000), u"10000:00");
    EXPECT_EQ(CConfiguration::FormatHoursMinutesSeconds(3725, true), u"1:02:05");
    EXPECT_EQ(CConfiguration::FormatHoursMinutesSeconds(3725, false), u"1:02");

    c.durationCode = 1;
    c.LoadDurationFormat();
    struct Re { const char16_t *text, *expected; };
    const Re re[] = {
        {u"1:02:05", u"1 h 02"}, {u"2:42", u"2 h 42"}, {u"", u""}, {u"abc", u"abc"}, {u"1:75", u"1:75"},
    };
    for (const Re &r : re)
        EXPECT_EQ(c.ReformatDuration(QString::fromUtf16(r.text)), QString::fromUtf16(r.expected));
    EXPECT_EQ(CConfiguration::ReformatHoursMinutes(QStringLiteral("3:04:40")), u"3:05");
}

TEST(Configuration, DurationsAtTheEndsOfTheRange)
{
    // An hour count too large for seconds is no duration: the text stays as
    // it is instead of wrapping round into a wrong or negative one.
    for (const char16_t *text : {u"2562047788015216:00", u"2562047788015215:59:59", u"9223372036854775807:00:00"}) {
        qint64 seconds = -1;
        EXPECT_FALSE(CConfiguration::ParseDuration(text, seconds)) << QString::fromUtf16(text).toStdString();
        EXPECT_EQ(CConfiguration::ReformatHoursMinutes(QString::fromUtf16(text)), QString::fromUtf16(text));
    }
    qint64 seconds = 0;
    EXPECT_TRUE(CConfiguration::ParseDuration(u"2562047788015215:00", seconds));
    EXPECT_EQ(seconds, 2562047788015215LL * 3600);
    // The largest magnitudes are shown rounded, never wrapped.
    const qint64 big = std::numeric_limits<qint64>::max();
    EXPECT_EQ(CConfiguration::FormatHoursMinutes(big), u"2562047788015215:30");
    EXPECT_EQ(CConfiguration::FormatHoursMinutes(-big), u"-2562047788015215:30");
    CConfiguration c;
    EXPECT_EQ(c.FormatDuration(big - 1), u"2562047788015215:30");
}

TEST(Configuration, DurationsInWorkingDays)
{
    CConfiguration c;
    c.workingDays.ParseDay(0, u"480,720;780,1020;");
    c.workingDays.UpdateTotals();
    constexpr qint64 H = 3600;
    struct Case { qint64 seconds; bool inDays, compact; const char16_t *expected; };
    const Case cases[] = {
        {std::numeric_limits<qint64>::min(), true, false, u""},
        {std::numeric_limits<qint64>::max(), true, false, u""},
        {3 * H, true, false, u"3:00"},
        {8 * H, true, false, u"1 jour 0:00"},
        {20 * H, true, false, u"2 jour(s) 4:00"},
        {20 * H, true, true, u"2 j 4:00"},
        {-20 * H, true, false, u"- 2 jour(s) 4:00"},
        {-3 * H, true, false, u"- 3:00"},
        {20 * H, false, false, u"20:00"},
    };
    for (const Case &k : cases)
        EXPECT_EQ(c.FormatDurationInDays(k.seconds, k.inDays, k.compact), QString::fromUtf16(k.expected)) << k.seconds;
    c.workingDays.ParseDay(0, u"");
    c.workingDays.UpdateTotals();
    EXPECT_EQ(c.FormatDurationInDays(20 * H, true), u"20:00");
}

TEST(Configuration, Dates)
{
    CConfiguration c;
    c.SetLocale(kFrench);
    const qint64 t = at(2026, 12, 9, 14, 30, 12);
    EXPECT_EQ(c.FormatDate(t, true), u"mercredi 9 décembre 2026");
    EXPECT_EQ(c.FormatDate(t, false), u"09/12/2026");
    EXPECT_EQ(c.FormatDate(t, false, true), u"09/12/2026 14:30");
    EXPECT_EQ(c.FormatDate(0, true), u"");
    EXPECT_EQ(c.FormatDate(-5, true), u"");
    c.longDates = false;
    EXPECT_EQ(c.FormatDate(t, true), u"09/12/2026");
    EXPECT_EQ(c.FormatDate(t, true, false, true), u"mercredi 9 décembre 2026");
    c.longDates = true;
    EXPECT_EQ(c.FormatOleDate(QDate(2026, 3, 2), true), u"lundi 2 mars 2026");
    EXPECT_EQ(c.FormatOleDate(QDate(), true), u"");
    EXPECT_EQ(c.FormatIsoDate(QStringLiteral("2026-03-02")), u"lundi 2 mars 2026");
    EXPECT_EQ(c.FormatIsoDate(QStringLiteral("2026-13-02")), u"");
    EXPECT_EQ(c.GetDayName(QDate(2026, 3, 1)), u"dimanche");
    EXPECT_EQ(c.FormatDayMonth(QDate(2026, 2, 3), false), u"3 févr.");
    EXPECT_EQ(c.FormatMonthDay(3, 2), u"2 mars");
    EXPECT_EQ(c.FormatMonthYear(QDate(2026, 3, 2)), u"mars 2026");
    EXPECT_EQ(c.FormatMonthNumberYear(13, 2026), u"");
    EXPECT_EQ(CConfiguration::FormatClockTime(at(2026, 3, 2, 9, 5)), u"09:05");
    EXPECT_EQ(c.FormatLocaleTime(at(2026, 3, 2, 9, 5, 7), true), u"09:05:07");
    EXPECT_EQ(c.FormatLocaleTime(0), u"");
    EXPECT_EQ(c.FormatMinutesOfDay(545), u"09:05");
    EXPECT_EQ(c.FormatMinutesOfDay(1440), u"");

    struct Range { QDate a, b; const char16_t *dayFirst, *monthFirst; };
    const Range ranges[] = {
        {QDate(2026, 3, 2), QDate(2026, 3, 8), u"2 - 8 mars 2026", u"mars 2 - 8,2026"},
        {QDate(2026, 2, 28), QDate(2026, 3, 6), u"28 février - 6 mars 2026", u"février 28 - mars 6,2026"},
        {QDate(2025, 12, 29), QDate(2026, 1, 4), u"29 décembre 2025 - 4 janvier 2026",
         u"décembre 29,2025 - janvier 4,2026"},
    };
    for (const Range &r : ranges) {
        c.monthBeforeDay = false;
        EXPECT_EQ(c.FormatDateRange(r.a, r.b), QString::fromUtf16(r.dayFirst));
        c.monthBeforeDay = true;
        EXPECT_EQ(c.FormatDateRange(r.a, r.b), QString::fromUtf16(r.monthFirst));
    }

    c.daysOff.SetRange(QDate(2026, 3, 2), QDate(2026, 3, 4), false);
    QString first, last;
    EXPECT_TRUE(c.daysOff.FormatRange(0, first, last, c.ShortDateFormatter()));
    EXPECT_EQ(first, u"02/03/2026");
    EXPECT_EQ(last, u"04/03/2026");
    EXPECT_FALSE(c.daysOff.FormatRange(1, first, last, c.ShortDateFormatter()));
}

TEST(Configuration, NamesFromTheInterfaceTexts)
{
    Platform::Texts::setProvider([](int id) { return id == 264 ? QStringLiteral("January") : QString(); });
    CConfiguration c;
    EXPECT_EQ(c.monthNames[0], u"January");
    EXPECT_EQ(c.monthNames[1], u"février");
    Platform::Texts::setProvider({});
    c.LoadTexts();
    EXPECT_EQ(c.monthNames[0], u"janvier");
    EXPECT_EQ(c.shortDayNames[0], u"dim.");
    EXPECT_EQ(c.dayNames[6], u"samedi");
}

TEST(Configuration, NumbersAndMoney)
{
    CConfiguration c;
    c.SetLocale(kFrench);
    EXPECT_EQ(CConfiguration::FormatPercent(42), u"42 %");
    EXPECT_EQ(c.FormatPercentDecimal(0.1234), u"12,34 %");
    EXPECT_EQ(c.FormatPercentDecimal(-0.1), u"");
    EXPECT_EQ(c.FormatPercentDecimal(std::numeric_limits<double>::max()), u"");
    EXPECT_EQ(plainSpaces(c.FormatCurrency(1234.5)), u"1 234,50 €");
    c.SetLocale(kEnglish);
    EXPECT_EQ(c.FormatPercentDecimal(0.1234), u"12.34 %");
    EXPECT_EQ(c.FormatCurrency(12.5), u"$12.50");
}

TEST(Configuration, BackupPeriodStart)
{
    Platform::Clock::setFixedNow(at(2026, 3, 30, 12));
    CConfiguration c;
    c.backupPeriode = 3;
    c.backupKeep = 5;
    // A week back crosses the spring change: still noon on the wall clock.
    EXPECT_EQ(c.GetPeriodStart(false), at(2026, 3, 23, 12));
    EXPECT_EQ(c.GetPeriodStart(true), at(2026, 2, 28, 12));
    c.backupKeep = 9;
    EXPECT_EQ(c.GetPeriodStart(true), 0);
}

TEST(Configuration, ReachedThroughTheApplicationRegistry)
{
    CConfiguration c;
    EXPECT_EQ(CAppData::Configuration(), nullptr);
    CAppData::SetConfiguration(&c);
    EXPECT_EQ(CAppData::Configuration(), &c);
    CAppData::Clear();
    EXPECT_EQ(CAppData::Configuration(), nullptr);
}
