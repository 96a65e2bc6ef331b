// The tray's texts and its durations, dates, times and today's totals.
#include "TrayFixture.h"

#include "CTranslationStore.h"
#include "Settings.h"

namespace {

class TrayTextsTest : public TrayFixture
{
protected:
    void SetUp() override
    {
        TrayFixture::SetUp();
        load();
    }
    void load()
    {
        CTranslationStore french(nullptr, CTranslationStore::Program::Tray);
        texts.SetLocale(QLocale(QLocale::French, QLocale::France));
        texts.Load(french, Platform::Settings());
    }
    static tTacheFull entry(qint64 start, qint64 end)
    {
        tTacheFull e;
        e.Debut = start;
        e.Fin = end;
        return e;
    }

    TrayTexts texts;
};

} // namespace

TEST_F(TrayTextsTest, TheSharedTextsComeFromTheTraysOwnTexts)
{
    EXPECT_EQ(texts.Text(TrayTexts::Project), QStringLiteral("Projet"));
    EXPECT_EQ(texts.Text(TrayTexts::TitleRunning), QStringLiteral("%s : %s (en cours…)"));
    EXPECT_EQ(texts.Text(TrayTexts::NoActivity), QStringLiteral("<Activité non définie>"));
    EXPECT_EQ(texts.Text(TrayTexts::Rate), QStringLiteral("Taux :"));
    EXPECT_EQ(texts.DurationPatternText(), QStringLiteral("%1!d!:%2!02d!"));
    EXPECT_EQ(TrayTexts().Text(TrayTexts::ClickToPause), QStringLiteral("(Cliquez pour mettre en pause)"));
}

// Durations are rounded to the nearest minute in the main program's
// pattern; a pattern edited by hand still gives a readable text.
TEST_F(TrayTextsTest, DurationsInTheMainProgramsPattern)
{
    const struct
    {
        const char *pattern; // "Config/Format/sDuree"; null: not set
        qint64 seconds;
        const char *text;
    } cases[] = {
        {nullptr, 89, "0:01"},        {nullptr, 90, "0:02"},          {nullptr, 3599, "1:00"},
        {nullptr, 65 * 60, "1:05"},   {nullptr, 0, "0:00"},           {nullptr, -1, ""},
        {nullptr, 1000 * 3600 + 29, "1000:00"},
        {"%1!d! h %2!02d!", 3930, "1 h 06"},
        {"", 3930, "1:06"},
        {"%1!s!", 3930, "1"},
        {"100%", 3930, "100%"},
        {"%3!d!:%1!d!", 3930, "%3!d!:1"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.pattern ? c.pattern : "(default)");
        SCOPED_TRACE(c.seconds);
        Platform::Settings settings;
        if (c.pattern)
            settings.setString(u"Config", u"Format", u"sDuree", QString::fromUtf8(c.pattern));
        else
            settings.remove(u"Config", u"Format", u"sDuree");
        texts.LoadFormats(settings);
        EXPECT_EQ(texts.DurationText(c.seconds), QString::fromUtf8(c.text));
    }
}

// Dates with the tray's day and month names, long when asked and set;
// times and amounts in the locale's forms.
TEST_F(TrayTextsTest, DatesTimesAndAmounts)
{
    const qint64 t = at(QDate(2026, 3, 2), 9, 5) + 7;
    EXPECT_EQ(texts.DateText(t, true, false), QStringLiteral("lundi 2 mars 2026"));
    EXPECT_EQ(texts.DateText(t, false, true), QStringLiteral("02/03/2026 09:05"));
    EXPECT_EQ(texts.DateText(0, true, false), QString());
    Platform::Settings().setInt(u"Config", u"Format", u"Date", 0);
    texts.LoadFormats(Platform::Settings());
    EXPECT_FALSE(texts.LongDate());
    EXPECT_EQ(texts.DateText(t, true, false), QStringLiteral("02/03/2026"));
    EXPECT_EQ(texts.TimeText(t, false), QStringLiteral("09:05"));
    EXPECT_EQ(texts.TimeText(t, true), QStringLiteral("09:05:07"));
    EXPECT_EQ(texts.TimeText(0, true), QString());
    EXPECT_EQ(texts.CurrencyText(65), QStringLiteral("65,00\u00A0€"));
    // A locale whose short date writes the year with two digits keeps two.
    texts.SetLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(texts.DateText(t, false, false), QStringLiteral("3/2/26"));
}

// Today's totals count each entry from the later of its start and
// midnight, a running one up to now; the last entry's time shows while it
// runs.
TEST_F(TrayTextsTest, TodaysTotals)
{
    const qint64 yesterday = at(Today.addDays(-1), 22, 0);
    const struct
    {
        const char *what;
        std::vector<tTacheFull> today;
        const char *total;
        const char *last;
    } cases[] = {
        {"nothing", {}, "0:00", "..."},
        {"running since yesterday, from midnight", {entry(yesterday, 0)}, "18:00", "18:00"},
        {"the last one ended", {entry(at(9, 0), at(10, 0)), entry(at(11, 0), at(11, 30))}, "1:30", "..."},
        {"ended, then running", {entry(at(9, 0), at(10, 0)), entry(at(17, 15), 0)}, "1:45", "0:45"},
        {"running from a later time", {entry(at(9, 0), at(10, 0)), entry(at(19, 0), 0)}, "1:00", "0:00"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const TrayTexts::tToday today = texts.ComputeToday(c.today, now);
        EXPECT_EQ(today.todayText, QString::fromUtf8(c.total));
        EXPECT_EQ(today.lastTaskText, QString::fromUtf8(c.last));
    }
    // On the day of the spring clock change, midnight is 23 hours before
    // 23:00.
    const QDate spring(2026, 3, 29);
    EXPECT_EQ(texts.ComputeToday({entry(at(spring.addDays(-1), 20, 0), 0)}, at(spring, 23, 0)).todayText,
              QStringLiteral("22:00"));
}
