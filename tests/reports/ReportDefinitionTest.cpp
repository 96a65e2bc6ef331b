// Report definitions: defaults, copies, titles, default columns, project
// lists and the dates of the period codes.
#include "CAppData.h"
#include "CBdD.h"
#include "CConfiguration.h"
#include "Clock.h"
#include "MakeFileName.h"
#include "QStringPrinter.h"
#include "ReportColumnCatalogue.h"
#include "ReportPeriod.h"
#include "TestFolders.h"
#include "tReportDefinition.h"
#include "tTacheFull.h"

#include <QDateTime>
#include <gtest/gtest.h>

namespace {

// The keys of the shown columns, in the set's order.
QString shownKeys(const CReportColumnSet &set)
{
    QStringList keys;
    int position = 0;
    while (const tReportColumn *column = set.NextShown(position)) {
        keys << GetReportColumnKey(column->Kind);
        ++position;
    }
    return keys.join(u' ');
}

qint64 localInstant(const QDate &date, int hour, int minute)
{
    return QDateTime(date, QTime(hour, minute)).toSecsSinceEpoch();
}

} // namespace

// A new definition takes today's date and the time report's default
// columns; a copy starts unmodified, an assignment keeps the target's
// flag and takes every other field.
TEST(ReportDefinition, NewCopiedAndAssigned)
{
    Platform::Clock::setFixedNow(localInstant(QDate(2024, 3, 1), 0, 30));
    tReportDefinition d;
    EXPECT_EQ(d.Id, -1);
    EXPECT_EQ(d.Debut, QDate(2024, 3, 1));
    EXPECT_EQ(d.Fin, QDate(2024, 3, 1));
    EXPECT_EQ(d.Modele, QStringLiteral("zarvo"));
    EXPECT_EQ(d.PaperSize, 9);
    EXPECT_TRUE(d.Columns.IsDefault());
    EXPECT_EQ(shownKeys(d.Columns), QStringLiteral("Date Project Activity Debut Fin Duree Facture"));
    EXPECT_FALSE(d.Modified);

    d.Nom = QStringLiteral("Source");
    d.Extra = QStringLiteral("extra");
    d.Grp[2] = 4;
    d.Columns.ShowKind(9);
    d.Modified = true;
    const tReportDefinition copy(d);
    EXPECT_FALSE(copy.Modified);
    EXPECT_EQ(copy.Nom, d.Nom);
    EXPECT_EQ(copy.Extra, d.Extra);
    EXPECT_EQ(copy.Grp[2], 4);
    EXPECT_FALSE(copy.Columns.Differs(d.Columns));

    tReportDefinition modifiedTarget;
    modifiedTarget.Modified = true;
    tReportDefinition cleanTarget;
    d.Modified = false;
    modifiedTarget = d;
    EXPECT_TRUE(modifiedTarget.Modified);
    d.Modified = true;
    cleanTarget = d;
    EXPECT_FALSE(cleanTarget.Modified);
    for (const tReportDefinition *target : {&modifiedTarget, &cleanTarget}) {
        EXPECT_EQ(target->Nom, d.Nom);
        EXPECT_EQ(target->Extra, d.Extra);
        EXPECT_EQ(target->Grp[2], 4);
        EXPECT_FALSE(target->Columns.Differs(d.Columns));
    }
}

TEST(ReportDefinition, DisplayNameAndAutomaticTitle)
{
    tReportDefinition d;
    EXPECT_EQ(d.GetDisplayName(), QStringLiteral("Nouveau"));
    d.Titre = QStringLiteral("Titre");
    EXPECT_EQ(d.GetDisplayName(), QStringLiteral("Titre"));
    d.Nom = QStringLiteral("Nom");
    EXPECT_EQ(d.GetDisplayName(), QStringLiteral("Nom"));

    struct Case
    {
        int kind;
        bool detail;
        int period;
        const char *title;
    };
    const Case cases[] = {
        {0, true, 4, "Détail temps - Mois en cours"},
        {0, false, 0, "Récapitulatif temps - Toutes les dates"},
        {1, true, 6, "Détail coûts - Semaine en cours"},
        {1, false, 1, "Récapitulatif coûts - Année précédente"},
        {2, true, 8, "Détail - Aujourd'hui"},
        {2, false, 7, "Récapitulatif - Hier"},
        {3, true, 3, "Récapitulatif - Mois précédent"},
        {4, true, 4, "Suivi de projets"},
        {0, true, 9, "Détail temps"},
    };
    for (const Case &c : cases) {
        tReportDefinition t;
        t.Type = c.kind;
        t.Detail = c.detail;
        t.Periode = c.period;
        // Shown before it is built (a definition loaded with an empty
        // title), as the same text.
        EXPECT_EQ(t.ShownTitle(), QString::fromUtf8(c.title)) << c.kind << ' ' << c.detail << ' ' << c.period;
        EXPECT_TRUE(t.Titre.isEmpty());
        t.BuildAutoTitle();
        EXPECT_EQ(t.Titre, QString::fromUtf8(c.title)) << c.kind << ' ' << c.detail << ' ' << c.period;
    }
    d.TitreAuto = false;
    d.BuildAutoTitle();
    EXPECT_EQ(d.Titre, QStringLiteral("Titre"));
    EXPECT_EQ(d.ShownTitle(), QStringLiteral("Titre"));
    // A title the user emptied stays empty.
    d.Titre.clear();
    EXPECT_TRUE(d.ShownTitle().isEmpty());
}

// The shown columns a report starts with, by kind, levels and flags.
TEST(ReportDefinition, DefaultColumnsFollowKindLevelsAndFlags)
{
    struct Case
    {
        int kind;
        std::array<int, 5> levels;
        bool detail;
        bool showStatus;
        const char *shown;
    };
    const int x = -1;
    const Case cases[] = {
        {0, {x, x, x, x, x}, true, true, "Date Project Activity Debut Fin Duree Facture"},
        {0, {3, 4, x, x, x}, false, true, "Activity Duree"},
        {0, {2, 3, x, x, x}, true, true, "Activity Debut Fin Duree Facture"},
        {0, {3, x, 4, x, x}, false, true, "Project Duree"},
        {0, {x, x, x, x, x}, false, true, "Duree"},
        {1, {0, 1, x, x, x}, false, true, "Date Rate Cout"},
        {1, {3, x, x, x, x}, true, false, "Date Activity Rate Cout"},
        {2, {4, 3, x, x, x}, true, true, "Date Debut Fin Duree Rate Cout Facture"},
        {2, {1, 2, 3, 4, 0}, false, true, "Date Duree Rate Cout"},
        {3, {3, x, x, x, x}, true, true, ""},
        {4, {x, x, x, x, x}, true, true,
         "ForecastName ForecastPriority ForecastStatus ForecastDateDebut ForecastDateFin ForecastDebutEstime "
         "ForecastFinEstime ForecastPrevu ForecastTotale ForecastDuree ForecastRestant ForecastPourcent"},
    };
    for (const Case &c : cases) {
        tReportDefinition d;
        d.Type = c.kind;
        d.Grp = c.levels;
        d.Detail = c.detail;
        d.ShowStatus = c.showStatus;
        CReportColumnSet set;
        set.SetType(CReportColumnSet::TypeForReportKind(c.kind));
        set.SetDefault(false);
        d.SetDefaultColumns(set);
        EXPECT_EQ(shownKeys(set), QString::fromUtf8(c.shown)) << "kind " << c.kind;
        EXPECT_TRUE(set.IsDefault());
        EXPECT_EQ(set.Count(), c.kind == 3 ? 0 : c.kind == 4 ? 16 : 21);
    }
}

TEST(ReportDefinition, ProjectListsAreNormalisedAndSearched)
{
    struct Case
    {
        int kind;
        const char *list;
        const char *normalised;
    };
    const Case cases[] = {
        {4, "(1,2)", ";1,-2;2,-2;"},
        {4, "(1,x, 3)", ";1,-2;3,-2;"},
        {4, ";12,-2;15,3;", ";12,-2;15,3;"},
        {0, ";12,-2;15,40;12,3;", "(12,15)"},
        {1, "12,-2;abc,3;;15", "(12,15)"},
        {3, " 7 ,-2", "(7)"},
        {0, "(12,15)", "(12,15)"},
        {0, "", ""},
        {2, "abc;x,1;;", "abc;x,1;;"},
    };
    for (const Case &c : cases) {
        tReportDefinition d;
        d.Type = c.kind;
        d.Projets = QString::fromUtf8(c.list);
        d.NormaliseProjectList();
        EXPECT_EQ(d.Projets, QString::fromUtf8(c.normalised)) << c.kind << " " << c.list;
    }

    tReportDefinition d;
    EXPECT_TRUE(d.ContainsProject(5));
    d.Projets = QStringLiteral("(1,12,120)");
    for (int id : {1, 12, 120})
        EXPECT_TRUE(d.ContainsProject(id)) << id;
    for (int id : {2, 20, 11, -1})
        EXPECT_FALSE(d.ContainsProject(id)) << id;
    d.Projets = QStringLiteral("(12)");
    EXPECT_TRUE(d.ContainsProject(12));
    EXPECT_FALSE(d.ContainsProject(1));
}

TEST(ReportDefinition, FileNamesLoseWhatFilesCannotHold)
{
    EXPECT_EQ(MakeFileName(QStringLiteral("a\"b/c\\d:e<f>g?h*i|j")), QStringLiteral("abcdefghij"));
    EXPECT_EQ(MakeFileName(QStringLiteral("L'été 2024 - coûts")), QStringLiteral("L'été 2024 - coûts"));
}

class ReportPeriodTest : public ::testing::Test
{
protected:
    void SetUp() override { CAppData::SetConfiguration(&config); }
    void TearDown() override
    {
        CBdD::CloseSharedConnection();
        CAppData::Clear();
        Platform::Clock::reset();
    }
    CConfiguration config;
};

// The dates of each period code, today being half past midnight in Paris
// (still the day before in UTC).
TEST_F(ReportPeriodTest, DatesOfThePeriodCodes)
{
    struct Case
    {
        QDate today;
        int code;
        int firstDay; // 1 Sunday .. 7 Saturday
        QDate start;
        QDate end;
    };
    const Case cases[] = {
        {{2023, 1, 31}, 4, 1, {2023, 1, 1}, {2023, 1, 31}},
        {{2023, 1, 31}, 3, 1, {2022, 12, 1}, {2022, 12, 31}},
        {{2023, 3, 1}, 7, 1, {2023, 2, 28}, {2023, 2, 28}},
        {{2024, 3, 1}, 7, 1, {2024, 2, 29}, {2024, 2, 29}},
        {{2023, 3, 1}, 3, 1, {2023, 2, 1}, {2023, 2, 28}},
        {{2024, 3, 1}, 3, 1, {2024, 2, 1}, {2024, 2, 29}},
        {{2024, 3, 1}, 8, 1, {2024, 3, 1}, {2024, 3, 1}},
        {{2024, 1, 31}, 1, 1, {2023, 1, 1}, {2023, 12, 31}},
        {{2024, 1, 31}, 2, 1, {2024, 1, 1}, {2024, 12, 31}},
        // 31 January 2023 is a Tuesday.
        {{2023, 1, 31}, 6, 1, {2023, 1, 29}, {2023, 2, 4}},
        {{2023, 1, 31}, 6, 2, {2023, 1, 30}, {2023, 2, 5}},
        {{2023, 1, 31}, 6, 7, {2023, 1, 28}, {2023, 2, 3}},
        {{2023, 1, 31}, 5, 2, {2023, 1, 23}, {2023, 1, 29}},
        {{2023, 1, 30}, 6, 2, {2023, 1, 30}, {2023, 2, 5}},
        {{2023, 1, 28}, 6, 7, {2023, 1, 28}, {2023, 2, 3}},
        // The last Sunday of March 2024, when the clocks go forward.
        {{2024, 3, 31}, 6, 2, {2024, 3, 25}, {2024, 3, 31}},
        {{2024, 3, 31}, 6, 1, {2024, 3, 31}, {2024, 4, 6}},
        {{2024, 3, 31}, 5, 1, {2024, 3, 24}, {2024, 3, 30}},
        {{2024, 3, 31}, 7, 1, {2024, 3, 30}, {2024, 3, 30}},
    };
    for (const Case &c : cases) {
        Platform::Clock::setFixedNow(localInstant(c.today, 0, 30));
        config.firstDayOfWeek = c.firstDay;
        QDate start(2000, 1, 1);
        QDate end(2000, 1, 1);
        GetPeriodDates(c.code, start, end);
        EXPECT_EQ(start, c.start) << c.today.toString(Qt::ISODate).toStdString() << " code " << c.code;
        EXPECT_EQ(end, c.end) << c.today.toString(Qt::ISODate).toStdString() << " code " << c.code;
    }

    // Custom dates and unknown codes stay as they are.
    for (int code : {9, 10, -1}) {
        QDate start(2020, 5, 6);
        QDate end(2020, 7, 8);
        GetPeriodDates(code, start, end);
        EXPECT_EQ(start, QDate(2020, 5, 6));
        EXPECT_EQ(end, QDate(2020, 7, 8));
    }
}

// The whole database: from the first entry's day to the last one's;
// today without a user or without entries.
TEST_F(ReportPeriodTest, TheWholeDatabaseSpansItsEntries)
{
    Platform::Clock::setFixedNow(localInstant(QDate(2024, 3, 1), 0, 30));
    QDate start;
    QDate end;
    GetPeriodDates(0, start, end);
    EXPECT_EQ(start, QDate(2024, 3, 1));
    EXPECT_EQ(end, QDate(2024, 3, 1));

    CAppData::SetCurrentDatabasePath(TestFolders::tempDb(QStringLiteral("Zarvo.sdb")));
    GetPeriodDates(0, start, end);
    EXPECT_EQ(start, QDate(2024, 3, 1));
    EXPECT_EQ(end, QDate(2024, 3, 1));

    for (const auto &[from, to] : {std::pair{QDate(2022, 5, 3), QDate(2022, 5, 3)},
                                   std::pair{QDate(2023, 1, 10), QDate(2023, 1, 11)}}) {
        tTacheFull entry;
        entry.Debut = localInstant(from, 23, 30);
        entry.Fin = localInstant(to, to == from ? 23 : 0, to == from ? 50 : 15);
        CBdD db;
        ASSERT_TRUE(db.SaveTimeEntry(entry));
    }
    GetPeriodDates(0, start, end);
    EXPECT_EQ(start, QDate(2022, 5, 3));
    EXPECT_EQ(end, QDate(2023, 1, 11));
}
