// The texts and values of report cells under French settings.
#include "CReportCells.h"
#include "ReportColumnCatalogue.h"
#include "ReportFixture.h"
#include "Texts.h"
#include "tReportItem.h"

namespace {

class ReportCellsTest : public ReportFixture
{
protected:
    QString text(int column, int kind, const tReportItem &row) const
    {
        return cells().CellText(column, kind, row, &total, false, true);
    }
    tReportCellValue value(int column, int kind, const tReportItem &row) const
    {
        return cells().CellValue(column, kind, row, &total);
    }
    CReportCells cells() const { return CReportCells(config, snapshot, labels, &store); }
    static tReportItem entryRow(const tReportEntry &e)
    {
        tReportItem item;
        item.SetEntry(e);
        return item;
    }
    void setTotal(qint64 seconds, double cost)
    {
        tReportGroupLine group;
        group.Title = QStringLiteral("Total :");
        group.Duree = seconds;
        group.Cout = cost;
        total.SetGroupLine(group);
    }

    tReportItem total;
};

tReportEntry finished()
{
    tReportEntry e;
    e.Id = 10;
    e.Debut = At(2024, 3, 4, 9, 15);
    e.Fin = At(2024, 3, 4, 10, 45); // 1 h 30
    e.IdProjet = 3;
    e.IdActivite = 7;
    e.IdTauxHoraire = 6;
    e.Title = QStringLiteral("Maquette");
    e.Notes = QStringLiteral("Première\r\nversion");
    return e;
}

} // namespace

TEST_F(ReportCellsTest, AFinishedEntryRow)
{
    setTotal(3 * 3600, 271.5);
    const tReportItem row = entryRow(finished());
    const std::pair<int, QString> cases[] = {
        {0, config.FormatDate(At(2024, 3, 4, 9, 15), true)},
        {1, QStringLiteral("Alpha-Web")},
        {2, QStringLiteral("Rédaction")},
        {3, QStringLiteral("09:15")},
        {4, QStringLiteral("10:45")},
        {5, config.FormatDuration(5400)},
        {6, config.FormatCurrency(90.5)},
        {7, config.FormatCurrency(135.75)},
        {8, QString()},
        {9, QStringLiteral("Maquette")},
        {10, QStringLiteral("Premièreversion")},
        {11, QStringLiteral("Clients / Alpha / Alpha-Web")},
        {12, QString()},
        {13, QString()},
        {14, QStringLiteral("Écrire")},
        {15, QStringLiteral("Urgent")},
        {16, QStringLiteral("Tarif Urgent")},
        {19, QStringLiteral("50,00 %")},
        {20, QStringLiteral("50,00 %")},
    };
    for (const auto &[kind, expected] : cases)
        EXPECT_EQ(text(3, kind, row), expected) << kind;

    // Half an hour at 60 an hour in a report of an hour costing 120: the
    // cost's share of the total cost, not the time's share of the time.
    tReportEntry half = finished();
    half.Fin = half.Debut + 1800;
    half.IdTauxHoraire = 5;
    setTotal(3600, 120.0);
    const tReportItem halfRow = entryRow(half);
    EXPECT_DOUBLE_EQ(value(3, 20, halfRow).Value, 0.25);
    EXPECT_EQ(text(3, 20, halfRow), QStringLiteral("25,00 %"));
    EXPECT_DOUBLE_EQ(value(3, 19, halfRow).Value, 0.5);
}

// The cells ask for four date flags (long when set, with the time, the
// time's format, always long); the settings' formatter takes three.
TEST_F(ReportCellsTest, TheDateFlagsMapOntoTheSettingsFormatter)
{
    const qint64 t = At(2024, 3, 4, 9, 15);
    const tReportItem row = entryRow(finished());
    config.longDates = true;
    EXPECT_EQ(text(0, 0, row), QStringLiteral("lundi 4 mars 2024"));
    EXPECT_EQ(text(0, 17, row), QStringLiteral("lundi 4 mars 2024"));
    EXPECT_EQ(text(0, 18, row), QStringLiteral("04/03/2024"));
    config.longDates = false;
    EXPECT_EQ(text(0, 0, row), QStringLiteral("04/03/2024"));
    EXPECT_EQ(text(0, 17, row), QStringLiteral("lundi 4 mars 2024"));
    EXPECT_EQ(CReportCells::FormatDate(config, t, true, true, false, false), QStringLiteral("04/03/2024 09:15"));
    EXPECT_EQ(CReportCells::FormatDate(config, t, false, false, true, true), QStringLiteral("lundi 4 mars 2024"));
    EXPECT_EQ(CReportCells::FormatDate(config, 0, true, true, true, true), QString());
}

TEST_F(ReportCellsTest, ARunningEntryShowsItsStartOnlyAndTakesNoShare)
{
    setTotal(3600, 60.0);
    tReportEntry e = finished();
    e.Fin = 0;
    const tReportItem row = entryRow(e);
    EXPECT_EQ(text(1, 3, row), QStringLiteral("09:15"));
    for (int kind : {4, 5, 7, 19, 20}) {
        EXPECT_EQ(text(1, kind, row), QString()) << kind;
        EXPECT_EQ(value(1, kind, row).Text, QString()) << "exported " << kind;
    }
    EXPECT_EQ(text(1, 6, row), config.FormatCurrency(90.5));
}

TEST_F(ReportCellsTest, UnknownProjectAndActivityAreNamedInTheFirstColumnOnly)
{
    tReportEntry e = finished();
    e.IdProjet = -1;
    e.IdActivite = 99; // vanished since the snapshot
    e.IdTauxHoraire = 42;
    const tReportItem row = entryRow(e);
    EXPECT_EQ(text(0, 1, row), QStringLiteral("<Projet non défini>"));
    EXPECT_EQ(text(2, 1, row), QString());
    EXPECT_EQ(text(0, 2, row), QStringLiteral("<Activité non définie>"));
    EXPECT_EQ(text(2, 2, row), QString());
    for (int kind : {11, 12, 13, 14, 15, 16})
        EXPECT_EQ(text(2, kind, row), QString()) << kind;
    EXPECT_EQ(text(2, 6, row), config.FormatCurrency(0.0));
}

TEST_F(ReportCellsTest, LongTextsAreCutOnScreenAndWholeInPrint)
{
    tReportEntry e = finished();
    e.Notes = QString(150, u'a') + QStringLiteral("\r\n") + QString(150, u'b');
    const tReportItem row = entryRow(e);
    const QString shown = cells().CellText(1, 10, row, nullptr, false, true);
    EXPECT_EQ(shown, QString(150, u'a') + QString(102, u'b') + QStringLiteral("..."));
    EXPECT_EQ(cells().CellText(1, 10, row, nullptr, true, false), e.Notes);

    // The cut starts one character past the limit.
    const std::pair<int, QString> titles[] = {
        {252, QString(252, u't')},
        {253, QString(252, u't') + QStringLiteral("...")},
    };
    for (const auto &[length, expected] : titles) {
        e.Title = QString(length, u't');
        EXPECT_EQ(cells().CellText(1, 9, entryRow(e), nullptr, false, true), expected) << length;
    }
}

TEST_F(ReportCellsTest, GroupRows)
{
    setTotal(4 * 3600, 0.0);
    const auto group = [](int level, const QString &key, int id, qint64 seconds, double cost) {
        tReportItem item;
        tReportGroupLine g;
        g.Title = key;
        g.LevelKind = level;
        g.KeyId = id;
        g.Duree = seconds;
        g.Cout = cost;
        item.SetGroupLine(g);
        return item;
    };
    const tReportItem month = group(1, QStringLiteral("2024-02"), -1, 3600, 60.0);
    EXPECT_EQ(text(0, 5, month), QStringLiteral("février 2024"));
    EXPECT_EQ(text(1, 5, month), config.FormatDuration(3600));
    EXPECT_EQ(text(1, 7, month), config.FormatCurrency(60.0));
    EXPECT_EQ(text(1, 19, month), QStringLiteral("25,00 %"));
    EXPECT_EQ(text(1, 20, month), QString()) << "a total cost of 0 gives no share";
    EXPECT_EQ(text(1, 9, month), QString());
    EXPECT_EQ(text(0, 1, group(2, QStringLiteral("2024-03-04"), -1, 0, 0)), config.FormatIsoDate("2024-03-04"));
    EXPECT_EQ(text(0, 1, group(3, QStringLiteral("ancien nom"), 2, 0, 0)), QStringLiteral("Alpha"));
    EXPECT_EQ(text(0, 1, group(3, QString(), -1, 0, 0)), QString());
    EXPECT_EQ(text(0, 1, group(4, QString(), 8, 0, 0)), QStringLiteral("Analyse"));
    EXPECT_EQ(text(0, 1, group(0, QStringLiteral("2024"), -1, 0, 0)), QStringLiteral("2024"));
    EXPECT_EQ(text(0, 1, total), QStringLiteral("Total :"));

    const tReportCellValue rateCell = value(1, 6, month);
    EXPECT_EQ(rateCell.Text, QString());
    EXPECT_EQ(rateCell.Kind, CrossTabLabelKind);
    const tReportCellValue costCell = value(1, 7, month);
    EXPECT_DOUBLE_EQ(costCell.Value, 60.0);
    EXPECT_EQ(costCell.Kind, 7);
    EXPECT_DOUBLE_EQ(value(1, 19, month).Value, 0.25);
}

TEST_F(ReportCellsTest, CrossTableCellsLeaveZeroEmpty)
{
    tReportItem row;
    row.SetTotalLine(QStringLiteral("2024"), 3);
    tReportTotalLine *line = row.TotalLineOf();
    line->LevelKind = 0;
    line->Sums = {0, 5400, 5400};
    EXPECT_EQ(text(0, 37, row), QStringLiteral("2024"));
    EXPECT_EQ(text(1, 38, row), QString());
    EXPECT_EQ(text(2, 38, row), config.FormatDuration(5400));
    EXPECT_EQ(text(3, 38, row), config.FormatDuration(5400));
    EXPECT_EQ(text(4, 38, row), QString());
    const tReportCellValue cell = value(2, 38, row);
    EXPECT_EQ(cell.Text, QStringLiteral("1:30"));
    EXPECT_DOUBLE_EQ(cell.Value, 5400.0);
    EXPECT_EQ(value(1, 38, row).Kind, CrossTabLabelKind);
}

TEST_F(ReportCellsTest, ExportValuesUseHoursMinutesAndClockTimes)
{
    config.durationCode = 1;
    config.LoadDurationFormat();
    const tReportItem row = entryRow(finished());
    EXPECT_EQ(value(1, 5, row).Text, QStringLiteral("1:30"));
    EXPECT_DOUBLE_EQ(value(1, 5, row).Value, 5400.0);
    EXPECT_EQ(value(1, 3, row).Text, QStringLiteral("09:15"));
    EXPECT_EQ(value(1, 4, row).Text, QStringLiteral("10:45"));
    EXPECT_DOUBLE_EQ(value(1, 6, row).Value, 90.5);
    EXPECT_DOUBLE_EQ(value(1, 7, row).Value, 135.75);
    EXPECT_EQ(value(1, 7, row).Kind, 7);
    EXPECT_EQ(value(1, 10, row).Text, finished().Notes) << "exports keep the texts whole";

    tReportItem text;
    text.SetTextLine(QStringLiteral("Semaine"), {QStringLiteral("2:05"), QStringLiteral("note")});
    EXPECT_EQ(value(1, 38, text).Text, QStringLiteral("2:05"));
    EXPECT_EQ(value(2, 9, text).Text, QStringLiteral("note"));
    EXPECT_EQ(value(0, 37, text).Text, QStringLiteral("Semaine"));
    EXPECT_EQ(value(3, 9, text).Text, QString());
}

TEST_F(ReportCellsTest, ProjectTrackingRows)
{
    const auto node = [](int project, int activity) {
        tReportItem item;
        item.SetPair(project, activity);
        return item;
    };
    tForecast f = store.GetNode(2)->Forecast();
    f.Priority = 4;
    f.Status = 1;
    f.Prevu = 2;
    store.SetForecast(f);
    tForecast a;
    a.IdProject = 2;
    a.IdActivity = 7;
    a.Status = 5;
    store.SetForecast(a);
    store.AddTaskStatistics(2, -2, 3, 7200, now - 7200, now);

    EXPECT_EQ(text(0, 21, node(-1, -2)), QStringLiteral("Projets"));
    EXPECT_EQ(text(1, 22, node(-1, -2)), QString());
    EXPECT_EQ(text(0, 21, node(2, -2)), QStringLiteral("Alpha"));
    EXPECT_EQ(text(0, 21, node(2, 7)), QStringLiteral("Rédaction"));
    EXPECT_EQ(text(1, 22, node(2, -2)), QStringLiteral("Haute"));
    EXPECT_EQ(text(1, 22, node(3, -2)), QString());
    EXPECT_EQ(text(1, 23, node(2, -2)), QStringLiteral("En cours")) << "automatic with work done";
    EXPECT_EQ(text(1, 23, node(2, 7)), QStringLiteral("Masqué"));
    EXPECT_EQ(text(1, 31, node(2, -2)), config.FormatDurationInDays(7200, false));
    EXPECT_EQ(text(1, 35, node(2, -2)), QStringLiteral("3"));
    EXPECT_EQ(text(1, 21, node(99, -2)), QString()) << "a node gone from the store";
    // Neither planned work nor time done: no plan, but none done shows.
    EXPECT_EQ(text(1, 29, node(4, -2)), QString());
    EXPECT_EQ(text(1, 31, node(4, -2)), QStringLiteral("0:00"));
    // Exports read work as hours and minutes whatever the node counts in.
    EXPECT_EQ(value(1, 31, node(2, -2)).Text, QStringLiteral("2:00"));
    EXPECT_DOUBLE_EQ(value(1, 35, node(2, -2)).Value, 3.0);
}

TEST_F(ReportCellsTest, TheLabelsFollowTheLanguage)
{
    EXPECT_EQ(labels.Yes, QStringLiteral("Oui"));
    EXPECT_EQ(labels.Statuses[4], QStringLiteral("Terminée"));
    EXPECT_EQ(labels.Priorities[1], QStringLiteral("Très basse"));
    EXPECT_EQ(labels.MonthNames[0], QStringLiteral("janvier"));
    Platform::Texts::setProvider([](int id) { return id == 164 ? QStringLiteral("Yes") : QString(); });
    labels.Load(&config);
    Platform::Texts::setProvider({});
    EXPECT_EQ(labels.Yes, QStringLiteral("Yes"));
    EXPECT_EQ(labels.No, QStringLiteral("Non"));
}
