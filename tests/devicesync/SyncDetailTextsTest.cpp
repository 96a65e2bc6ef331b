#include "SyncDetailTexts.h"

#include "CConfiguration.h"
#include "QStringPrinter.h"
#include "Texts.h"
#include "tForecast.h"
#include "tTimeEntryDetails.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr qint64 Max = std::numeric_limits<qint64>::max();
constexpr qint64 Min = std::numeric_limits<qint64>::min();
// 2026-03-02 09:00 and 11:30 in Paris.
constexpr qint64 Nine = 1772438400;
constexpr qint64 HalfPastEleven = Nine + 2 * 3600 + 1800;

tTimeEntryDetails entry(qint64 start, qint64 end)
{
    tTimeEntryDetails e;
    e.Id = 7;
    e.Debut = start;
    e.Fin = end;
    e.NomProjet = QStringLiteral("Chantier");
    e.NomActivite = QStringLiteral("Pose");
    e.Rate = QStringLiteral("Normal (45,00)");
    e.Title = QStringLiteral("Cuisine");
    e.Notes = QStringLiteral("Deux jours");
    return e;
}

} // namespace

TEST(SyncDetailTexts, TimeEntryTexts)
{
    const CConfiguration formats;
    const SyncDetailTexts::TaskTexts done = SyncDetailTexts::ForTask(entry(Nine, HalfPastEleven), formats);
    EXPECT_EQ(done.project, u"Chantier");
    EXPECT_EQ(done.activity, u"Pose");
    EXPECT_EQ(done.rate, u"Normal (45,00)");
    EXPECT_EQ(done.title, u"Cuisine");
    EXPECT_EQ(done.notes, u"Deux jours");
    EXPECT_EQ(done.start, formats.FormatDate(Nine, true, true));
    EXPECT_TRUE(done.start.contains(u"2026")) << qPrintable(done.start);
    EXPECT_EQ(done.end, formats.FormatDate(HalfPastEleven, true, true));
    EXPECT_EQ(done.duration, formats.FormatDuration(9000));
    EXPECT_EQ(done.duration, u"2:30");
    EXPECT_EQ(done.invoiced, Platform::Texts::get(375));

    tTimeEntryDetails invoiced = entry(Nine, HalfPastEleven);
    invoiced.Facture = 1;
    EXPECT_EQ(SyncDetailTexts::ForTask(invoiced, formats).invoiced, u"Facturée");

    // A running entry: "En cours…" and no duration.
    const SyncDetailTexts::TaskTexts running = SyncDetailTexts::ForTask(entry(Nine, 0), formats);
    EXPECT_EQ(running.end, u"En cours…");
    EXPECT_TRUE(running.duration.isEmpty());
}

TEST(SyncDetailTexts, TimesFromADeviceThatNoCalendarHolds)
{
    const CConfiguration formats;
    struct Case
    {
        qint64 start, end;
        bool startShown, endShown, durationShown;
    };
    const Case cases[] = {
        {0, HalfPastEleven, false, true, false},
        {-5, HalfPastEleven, false, true, false}, // negative start: no date, no duration
        {Nine, Max, true, false, false},
        {1, Max - 1, true, false, false},
        {Min, Max, false, false, false},          // end - start would overflow
        {Max, Min, false, false, false},
        {Max, Max, false, false, false},          // zero length beyond the calendar
        {HalfPastEleven, Nine, true, true, false}, // ends before it starts: no negative duration
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << " .. " << c.end);
        const SyncDetailTexts::TaskTexts t = SyncDetailTexts::ForTask(entry(c.start, c.end), formats);
        EXPECT_EQ(!t.start.isEmpty(), c.startShown) << qPrintable(t.start);
        EXPECT_EQ(!t.end.isEmpty(), c.endShown) << qPrintable(t.end);
        EXPECT_EQ(!t.duration.isEmpty(), c.durationShown) << qPrintable(t.duration);
    }
}

TEST(SyncDetailTexts, ForecastTexts)
{
    const CConfiguration formats;
    tForecast f;
    f.Priority = 3;
    f.Status = 4;
    f.TypeDateDebut = 1;
    f.DateDebut = Nine;
    f.TypeDateFin = 1;
    f.DateFin = HalfPastEleven;
    f.DateAlerte = Nine;
    f.Prevu = 90;
    f.TypePrevu = 0; // minutes
    f.DureeSupp = 2;
    f.TypeDureeSupp = 1; // hours
    f.Total = 3 * 3600;
    f.bModeAuto = true;
    f.Notes = QStringLiteral("À revoir");
    const SyncDetailTexts::ForecastTexts t = SyncDetailTexts::ForForecast(f, QStringLiteral("Chantier"), formats);
    EXPECT_EQ(t.priorityImage, 2);
    EXPECT_EQ(t.statusImage, 3);
    EXPECT_EQ(t.start, formats.FormatDate(Nine, false, true));
    EXPECT_EQ(t.end, formats.FormatDate(HalfPastEleven, false, true));
    EXPECT_EQ(t.alert, formats.FormatDate(Nine, false, true));
    EXPECT_EQ(t.planned, u"1:30");
    EXPECT_EQ(t.extra, u"2:00");
    EXPECT_EQ(t.estimated, u"3:00");
    EXPECT_EQ(t.predecessors, u"Chantier");
    EXPECT_EQ(t.notes, u"À revoir");
    EXPECT_FALSE(t.afterPredecessors);
    EXPECT_TRUE(t.automatic);
    EXPECT_FALSE(t.days);
}

TEST(SyncDetailTexts, ForecastStartTypesAndEmptyDurations)
{
    const CConfiguration formats;
    // The start date shows for a wished date (1, 3); the tick for a start
    // after the predecessors (2, 3).
    const struct
    {
        int type;
        bool date, after;
    } starts[] = {{0, false, false}, {1, true, false}, {2, false, true}, {3, true, true}};
    for (const auto &s : starts) {
        tForecast f;
        f.TypeDateDebut = s.type;
        f.DateDebut = Nine;
        const SyncDetailTexts::ForecastTexts t = SyncDetailTexts::ForForecast(f, QString(), formats);
        EXPECT_EQ(!t.start.isEmpty(), s.date) << s.type;
        EXPECT_EQ(t.afterPredecessors, s.after) << s.type;
    }
    // Zero or negative amounts leave the durations empty, never "0:00";
    // no fixed end or alert, no date.
    tForecast none;
    none.Prevu = 0;
    none.DureeSupp = -3;
    none.Total = 0;
    none.TypeDateFin = 0;
    none.DateFin = Nine;
    const SyncDetailTexts::ForecastTexts t = SyncDetailTexts::ForForecast(none, QString(), formats);
    EXPECT_TRUE(t.planned.isEmpty()) << qPrintable(t.planned);
    EXPECT_TRUE(t.extra.isEmpty()) << qPrintable(t.extra);
    EXPECT_TRUE(t.estimated.isEmpty()) << qPrintable(t.estimated);
    EXPECT_TRUE(t.end.isEmpty());
    EXPECT_TRUE(t.alert.isEmpty());
}

TEST(SyncDetailTexts, HostileForecastValuesShowNothing)
{
    const CConfiguration formats;
    const struct
    {
        int value;
        int image;
    } ranges[] = {{-5, -1}, {-1, -1}, {0, -1}, {1, 0}, {5, 4}, {6, -1}, {99, -1}};
    for (const auto &r : ranges) {
        tForecast f;
        f.Priority = r.value;
        f.Status = r.value;
        const SyncDetailTexts::ForecastTexts t = SyncDetailTexts::ForForecast(f, QString(), formats);
        EXPECT_EQ(t.priorityImage, r.image) << r.value;
        EXPECT_EQ(t.statusImage, r.image) << r.value;
    }
    tForecast f;
    f.TypeDateDebut = 3;
    f.DateDebut = Max;
    f.TypeDateFin = 1;
    f.DateFin = Min;
    f.DateAlerte = Max;
    f.Total = Max - 1;
    f.Prevu = std::numeric_limits<int>::max();
    f.TypePrevu = 2;
    f.DureeSupp = 5;
    f.TypeDureeSupp = 99;
    const SyncDetailTexts::ForecastTexts t = SyncDetailTexts::ForForecast(f, QString(), formats);
    EXPECT_TRUE(t.start.isEmpty()) << qPrintable(t.start);
    EXPECT_TRUE(t.end.isEmpty()) << qPrintable(t.end);
    EXPECT_TRUE(t.alert.isEmpty()) << qPrintable(t.alert);
    EXPECT_TRUE(t.estimated.isEmpty()) << qPrintable(t.estimated);
    EXPECT_TRUE(t.extra.isEmpty()) << qPrintable(t.extra); // no such unit
}

TEST(SyncDetailTexts, LinesOfEachKindOfElement)
{
    using S = SyncDetailTexts;
    const S::ElementFields project = S::FieldsForKind(1);
    EXPECT_EQ(project.lines, (QList<S::Line>{S::NameLine, S::CommentLine, S::TitleLine, S::TypeLine, S::ParentLine,
                                             S::ActivityLine, S::RateLine}));
    EXPECT_TRUE(project.multiLineComment);
    EXPECT_TRUE(project.typeImage);
    EXPECT_TRUE(project.colourSwatch);
    EXPECT_EQ(project.rateLabel, 231);

    const S::ElementFields activity = S::FieldsForKind(2);
    EXPECT_EQ(activity.lines, (QList<S::Line>{S::NameLine, S::CommentLine, S::RateLine}));
    EXPECT_TRUE(activity.colourSwatch);
    EXPECT_FALSE(activity.typeImage);

    const S::ElementFields rate = S::FieldsForKind(3);
    EXPECT_EQ(rate.lines, activity.lines);
    EXPECT_FALSE(rate.colourSwatch);

    const S::ElementFields favourite = S::FieldsForKind(5);
    EXPECT_EQ(favourite.lines, (QList<S::Line>{S::NameLine, S::CommentLine, S::RateLine, S::TitleLine}));
    EXPECT_EQ(favourite.nameLabel, 237);
    EXPECT_EQ(favourite.commentLabel, 238);
    EXPECT_FALSE(favourite.multiLineComment);

    for (int kind : {0, 4, 7, 9, -1})
        EXPECT_TRUE(S::FieldsForKind(kind).lines.isEmpty()) << kind;
}

TEST(SyncDetailTexts, TypeNames)
{
    EXPECT_EQ(SyncDetailTexts::TypeName(0), u"Projet");
    EXPECT_EQ(SyncDetailTexts::TypeName(5), u"Action");
    for (int type : {-1, 6, 9, std::numeric_limits<int>::min()})
        EXPECT_TRUE(SyncDetailTexts::TypeName(type).isEmpty()) << type;
}
