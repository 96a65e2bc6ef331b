// The report model on a small project tree: grouping, refresh, checks,
// exports, project tracking and cross tables.
#include "CReportModel.h"
#include "ReportFixture.h"
#include "UiUtilities.h"
#include "tReportDefinition.h"

namespace {

class ReportModelTest : public ReportFixture
{
protected:
    void SetUp() override
    {
        ReportFixture::SetUp();
        definition.Type = 0;
        definition.Detail = true;
        definition.Projets.clear();
        definition.Activites.clear();
    }

    tReportEntry entry(int id, qint64 start, qint64 seconds, int project = 2, int activity = 7, int rate = -1)
    {
        tReportEntry e;
        e.Id = id;
        e.Debut = start;
        e.Fin = seconds < 0 ? 0 : start + seconds;
        e.IdProjet = project;
        e.IdActivite = activity;
        e.IdTauxHoraire = rate;
        return e;
    }
    // One build of the entries, as the extraction hands them on.
    void build(const std::vector<tReportEntry> &entries)
    {
        definition.SetDefaultColumns(definition.Columns);
        model.SetDefinition(definition);
        model.SetSnapshot(std::make_shared<tReportSnapshot>(snapshot));
        model.ResetForRefresh();
        model.BuildColumns();
        model.SetTotalRow(QStringLiteral("Total :"), true);
        for (const tReportEntry &e : entries)
            model.AddEntryLine(e);
        model.ShowRows();
        model.UpdateCheckStates();
    }
    // Every row under the total, indented by depth, with its duration in
    // minutes for group rows and its id for entries.
    QStringList rows() const { return rowsOf(model); }
    static QStringList rowsOf(const CReportModel &model)
    {
        QStringList out;
        const CReportRowTree &tree = model.Tree();
        const CTreeItem *total = tree.FirstRoot();
        for (const CTreeItem *row = total; row; row = tree.GetNextItem(total, row, false)) {
            const QString indent(2 * (row->Depth() - 1), u' ');
            if (const tReportGroupLine *g = row->Item().GroupLineOf())
                out << indent + model.GetCellText(0, row, false, true) + QStringLiteral(" %1").arg(g->Duree / 60);
            else if (const tReportEntry *e = row->Item().EntryOf())
                out << indent + QStringLiteral("#%1").arg(e->Id);
        }
        return out;
    }
    CTreeItem *find(const QString &name) const
    {
        const CReportRowTree &tree = model.Tree();
        for (CTreeItem *row = tree.FirstRoot(); row; row = tree.GetNextItem(tree.FirstRoot(), row, false)) {
            if (model.GetCellText(0, row, false, true) == name)
                return row;
        }
        return nullptr;
    }

    tReportDefinition definition;
    CReportModel model;
};

} // namespace

TEST_F(ReportModelTest, DateGroupsAddUpAndSortByKey)
{
    definition.Grp = {0, 1, 2, -1, -1};
    build({entry(1, At(2024, 2, 6, 9), 3600), entry(2, At(2024, 2, 6, 14), 1800),
           entry(3, At(2024, 1, 20, 9), 600, 2, 7, 5)});
    EXPECT_EQ(rows(), (QStringList{"Total : 100", "  2024 100", "    janvier 2024 10", "      " +
                                       config.FormatIsoDate("2024-01-20") + " 10",
                                   "        #3", "    février 2024 90",
                                   "      " + config.FormatIsoDate("2024-02-06") + " 90", "        #1", "        #2"}));
    // 10 minutes at 60.0 an hour; the other entries have no rate.
    EXPECT_DOUBLE_EQ(model.TotalRow()->Item().GroupLineOf()->Cout, 10.0);
}

// A day level below another level: each new day gets its own row, found
// by its own key, never the previous day's.
TEST_F(ReportModelTest, DaysBelowProjectsAndActivitiesKeepTheirOwnRows)
{
    definition.Grp = {3, 4, 2, -1, -1};
    definition.Detail = false;
    build({entry(1, At(2024, 3, 1, 9), 600, 4, 7), entry(2, At(2024, 3, 2, 9), 1200, 4, 7),
           entry(3, At(2024, 3, 2, 10), 1800, 4, 8), entry(4, At(2024, 3, 3, 9), 2400, 4, 7)});
    EXPECT_EQ(rows(), (QStringList{"Total : 100", "  Interne 100", "    Analyse 30",
                                   "      " + config.FormatIsoDate("2024-03-02") + " 30", "    Rédaction 70",
                                   "      " + config.FormatIsoDate("2024-03-01") + " 10",
                                   "      " + config.FormatIsoDate("2024-03-02") + " 20",
                                   "      " + config.FormatIsoDate("2024-03-03") + " 40"}));
}

TEST_F(ReportModelTest, ProjectGroupsFollowTheProjectTree)
{
    definition.Grp = {3, -1, -1, -1, -1};
    definition.Detail = false;
    build({entry(1, At(2024, 3, 1, 9), 600, 4), entry(2, At(2024, 3, 1, 10), 1200, 3),
           entry(3, At(2024, 3, 1, 11), 1800, 2), entry(4, At(2024, 3, 1, 12), 2400, 99),
           entry(5, At(2024, 3, 1, 13), 3000, -1)});
    EXPECT_EQ(rows(), (QStringList{"Total : 150", "  Clients 50", "    Alpha 50", "      Alpha-Web 20",
                                   "  Interne 10", "   90"}))
        << "unknown and missing projects share the row of -1, which has no name";
}

TEST_F(ReportModelTest, AProjectSelectionLeavesOutTheRowsItDoesNotName)
{
    definition.Grp = {0, 3, -1, -1, -1};
    definition.Detail = false;
    definition.Projets = QStringLiteral("(3)");
    build({entry(1, At(2024, 3, 1, 9), 600, 3), entry(2, At(2024, 3, 1, 10), 1200, -1)});
    EXPECT_EQ(rows(), (QStringList{"Total : 30", "  2024 30", "    Alpha-Web 10"}))
        << "the parents of the sub-project and the row of -1 are not named";
}

TEST_F(ReportModelTest, ARefreshKeepsExpansionAndChecksAndDropsEmptyGroups)
{
    definition.Grp = {3, 4, -1, -1, -1};
    model.SetShowCheckBoxes(true);
    const std::vector<tReportEntry> all{entry(1, At(2024, 3, 1, 9), 600, 2, 7), entry(2, At(2024, 3, 1, 10), 600, 2, 8),
                                        entry(3, At(2024, 3, 1, 11), 600, 4, 7)};
    build(all);
    CTreeItem *interne = find(QStringLiteral("Interne"));
    ASSERT_TRUE(interne);
    interne->Collapsed = true;
    CTreeItem *second = find(QStringLiteral("Analyse"))->Child(0);
    model.Tree().ToggleCheck(second);
    EXPECT_EQ(model.GetCheckedEntryIds(true), QStringLiteral("(2)"));

    // Entry 1 was deleted meanwhile.
    build({all[1], all[2]});
    EXPECT_EQ(rows(), (QStringList{"Total : 20", "  Clients 10", "    Alpha 10", "      Analyse 10", "        #2",
                                   "  Interne 10", "    Rédaction 10", "      #3"}));
    EXPECT_TRUE(find(QStringLiteral("Interne"))->Collapsed);
    EXPECT_EQ(model.GetCheckedEntryIds(false), QStringLiteral(",2,"));
    EXPECT_EQ(find(QStringLiteral("Alpha"))->Record().Check, 1) << "its only entry is checked";
    EXPECT_EQ(model.TotalRow()->Record().Check, 2);
    QStringList shown;
    for (const CTreeItem *row : model.Tree().VisibleRows())
        shown << model.GetCellText(0, row, false, true);
    EXPECT_EQ(shown.size(), 6) << "nothing below the collapsed Interne";

    model.SetFullReset(true);
    build({all[1]});
    EXPECT_FALSE(find(QStringLiteral("Interne")));
    EXPECT_EQ(model.GetCheckedEntryIds(true), QString()) << "a full reset forgets the checks";
}

TEST_F(ReportModelTest, BillingListsNeedCheckBoxes)
{
    definition.Grp = {3, -1, -1, -1, -1};
    tReportEntry invoiced = entry(1, At(2024, 3, 1, 9), 600);
    invoiced.Facture = true;
    build({invoiced, entry(2, At(2024, 3, 1, 10), 600), entry(3, At(2024, 3, 1, 11), 600)});
    QString billing = QStringLiteral("x");
    QString unbilling = QStringLiteral("x");
    model.GetBillingLists(billing, unbilling);
    EXPECT_EQ(billing, QString());
    EXPECT_EQ(unbilling, QString()) << "nothing un-invoices entries nobody could check";

    model.SetShowCheckBoxes(true);
    model.Tree().ToggleCheck(find(QStringLiteral("Alpha"))->Child(1)); // entry 2
    model.GetBillingLists(billing, unbilling);
    EXPECT_EQ(billing, QStringLiteral("(2)"));
    EXPECT_EQ(unbilling, QStringLiteral("(1)"));
    EXPECT_EQ(model.GetCheckedEntryIds(true), QStringLiteral("(2)"));
}

// Each line costs its amount rounded to the cent (13 minutes at 90,50 € is
// 19,6083 €, shown 19,61 €), and the groups add the lines' rounded amounts
// without losing a cent over many lines, also when the lines are not shown.
TEST_F(ReportModelTest, GroupCostsAreTheSumsOfTheirRoundedLines)
{
    definition.Type = 2;
    definition.Grp = {3, -1, -1, -1, -1};
    definition.Detail = false;
    std::vector<tReportEntry> entries;
    for (int i = 0; i < 40000; ++i)
        entries.push_back(entry(i + 1, At(2024, 3, 1, 9) + i, 13 * 60, 2, 7, 6));
    build(entries);
    EXPECT_NEAR(model.TotalRow()->Item().GroupLineOf()->Cout, 784400.0, 1e-6);
    EXPECT_NEAR(find(QStringLiteral("Alpha"))->Item().GroupLineOf()->Cout, 784400.0, 1e-6);

    definition.Detail = true;
    build({entry(1, At(2024, 3, 1, 9), 13 * 60, 2, 7, 6), entry(2, At(2024, 3, 1, 10), 13 * 60, 2, 7, 6)});
    const CTreeItem *alpha = find(QStringLiteral("Alpha"));
    ASSERT_EQ(alpha->ChildCount(), 2);
    tReportCellValue line;
    tReportCellValue group;
    int cost = -1;
    for (int c = 0; c < model.ColumnCount(); ++c)
        cost = model.Columns()[size_t(c)].Kind == 7 ? c : cost;
    ASSERT_GE(cost, 0);
    ASSERT_TRUE(model.GetCellValue(cost, alpha->Child(0), line));
    ASSERT_TRUE(model.GetCellValue(cost, alpha, group));
    EXPECT_DOUBLE_EQ(line.Value, 19.61);
    EXPECT_EQ(line.Text, config.FormatCurrency(19.61));
    EXPECT_DOUBLE_EQ(group.Value, 39.22);
    EXPECT_EQ(model.GetCellText(cost, alpha, false, true), config.FormatCurrency(39.22));
}

TEST_F(ReportModelTest, ExportModes)
{
    definition.Grp = {3, -1, -1, -1, -1};
    build({entry(1, At(2024, 3, 1, 9), 600, 3), entry(2, At(2024, 3, 1, 10), 1200, 4)});
    const int factureColumn = [&] {
        for (int c = 0; c < model.ColumnCount(); ++c)
            if (model.Columns()[size_t(c)].Kind == 8)
                return c;
        return -1;
    }();
    ASSERT_GE(factureColumn, 0);
    find(QStringLiteral("Alpha"))->Collapsed = true;
    const auto exported = [&](int mode) {
        QStringList firsts;
        QStringList cells;
        for (bool more = model.FirstExportRow(mode, cells); more; more = model.NextExportRow(mode, cells))
            firsts << cells[0] + u'|' + cells[factureColumn];
        return firsts;
    };
    // Entry rows show their date first.
    const QString day = config.FormatDate(At(2024, 3, 1, 9), true) + QStringLiteral("|Non");
    EXPECT_EQ(exported(1), (QStringList{"Total :|", "Clients|", "Alpha|", "Alpha-Web|", day, "Interne|", day}));
    EXPECT_EQ(exported(0), (QStringList{"Total :|", "Clients|", "Alpha|", "Interne|", day}));
    EXPECT_EQ(exported(2), (QStringList{day, day}));
    EXPECT_EQ(model.GetColumnCaptions().size(), model.ColumnCount());
}

TEST_F(ReportModelTest, ProjectTrackingRows)
{
    tForecast activityNode;
    activityNode.IdProject = 2;
    activityNode.IdActivity = 7;
    store.SetForecast(activityNode);
    snapshot = tReportSnapshot::Take(&store);
    model.SetProjectStore(&store);
    const auto tracking = [&](const QString &selection) {
        definition.Type = 4;
        definition.Projets = selection;
        definition.Columns.SetType(CReportColumnSet::TrackingColumns);
        definition.SetDefaultColumns(definition.Columns);
        model.SetDefinition(definition);
        model.SetSnapshot(std::make_shared<tReportSnapshot>(snapshot));
        model.ResetForRefresh();
        model.AddForecastRows();
        model.ShowRows();
        QStringList out;
        for (const CTreeItem *row : model.Tree().VisibleRows())
            out << QString(2 * (row->Depth() - 1), u' ') + model.GetCellText(0, row, false, true);
        return out;
    };
    EXPECT_EQ(tracking(QString()),
              (QStringList{"Projets", "  Clients", "    Alpha", "      Alpha-Web", "      Rédaction", "  Interne"}));
    EXPECT_EQ(tracking(QStringLiteral(";2,-2;3,-2;")), (QStringList{"Projets", "  Alpha", "    Alpha-Web"}));
    EXPECT_EQ(model.GetRowImage(model.Tree().VisibleRow(1)), GetProjectStateImage(0));
}

TEST_F(ReportModelTest, CrossTablesTotalPerColumnAndNameTheirColumns)
{
    definition.Type = 3;
    definition.Grp = {0, 3, -1, -1, -1};
    definition.Grp_Col = 1;
    model.SetDefinition(definition);
    model.SetSnapshot(std::make_shared<tReportSnapshot>(snapshot));
    model.ResetForRefresh();
    model.DefineCrossTabColumns({{37, QString()}, {38, QStringLiteral("01")}, {38, QStringLiteral("03")}, {38, QString()}});
    model.SetTotalRow(QStringLiteral("Total :"), false);
    model.AddCrossTabLine(entry(1, At(2024, 1, 5, 9), 3600, 3), 1);
    model.AddCrossTabLine(entry(2, At(2024, 3, 5, 9), 1800, 3), 2);
    model.AddCrossTabLine(entry(3, At(2024, 3, 6, 9), 600, 4), 2);
    model.ShowRows();
    EXPECT_EQ(model.GetColumnCaptions(), (QStringList{"", "janvier", "mars", "Total"}));
    const auto sums = [&](const QString &name) {
        const CTreeItem *row = name.isEmpty() ? model.TotalRow() : find(name);
        return row ? row->Item().TotalLineOf()->Sums : std::vector<qint64>{};
    };
    EXPECT_EQ(sums(QString()), (std::vector<qint64>{3600, 2400, 6000}));
    EXPECT_EQ(sums(QStringLiteral("Clients")), (std::vector<qint64>{3600, 1800, 5400}));
    EXPECT_EQ(sums(QStringLiteral("Interne")), (std::vector<qint64>{0, 600, 600}));
    EXPECT_EQ(model.GetCellText(1, find(QStringLiteral("Interne")), false, true), QString());

    // Captions of the other column groupings.
    const auto captions = [&](int column, std::array<int, 5> levels, const QString &value, bool full = true) {
        definition.Grp_Col = column;
        definition.Grp = levels;
        definition.DetailCross = full;
        model.SetDefinition(definition);
        model.DefineCrossTabColumns({{37, QString()}, {38, value}, {38, QString()}});
        return model.GetColumnCaptions()[1];
    };
    EXPECT_EQ(captions(1, {3, -1, -1, -1, -1}, "2024-02"), QStringLiteral("février 2024"));
    EXPECT_EQ(captions(2, {0, 1, -1, -1, -1}, "07"), QStringLiteral("07"));
    EXPECT_EQ(captions(2, {0, -1, -1, -1, -1}, "02-07"), config.FormatMonthDay(2, 7));
    EXPECT_EQ(captions(2, {3, -1, -1, -1, -1}, "2024-02-07"), config.FormatIsoDate("2024-02-07"));
    EXPECT_EQ(captions(3, {4, -1, -1, -1, -1}, "3"), QStringLiteral("Clients / Alpha / Alpha-Web"));
    EXPECT_EQ(captions(3, {4, -1, -1, -1, -1}, "2", false), QStringLiteral("Titre Alpha"));
    EXPECT_EQ(captions(3, {4, -1, -1, -1, -1}, "77"), QString());
    EXPECT_EQ(captions(4, {3, -1, -1, -1, -1}, "8"), QStringLiteral("Analyse"));
}

// A refresh keeps the rows of the entries still there, the same rows in the
// same order, and places a new entry among them by its start; the row of
// an entry gone goes.
TEST_F(ReportModelTest, ARefreshKeepsTheRowsOfTheEntriesStillThere)
{
    definition.Grp = {3, 4, 2, -1, -1};
    std::vector<tReportEntry> entries;
    for (int i = 0; i < 50; ++i)
        entries.push_back(entry(i + 1, At(2024, 3, 1, 9) + i * 1000, 600, 2 + i % 3, 7 + i % 2));
    build(entries);
    const auto all = [&] {
        std::vector<const CTreeItem *> out;
        for (const CTreeItem *row = model.TotalRow(); row; row = model.Tree().GetNextItem(model.TotalRow(), row, false))
            out.push_back(row);
        return out;
    };
    const std::vector<const CTreeItem *> before = all();
    const QStringList shown = rows();
    build(entries);
    EXPECT_EQ(all(), before);

    // Entry 4 gone, entry 99 new between entries 6 and 9 (same project and
    // activity); entry 7 moved later.
    std::vector<tReportEntry> changed = entries;
    changed.erase(changed.begin() + 3);
    changed.push_back(entry(99, At(2024, 3, 1, 9) + 5 * 1000 + 500, 600, 3, 8));
    changed[5].Debut += 60;
    changed[5].Fin += 60;
    std::sort(changed.begin(), changed.end(), [](const tReportEntry &a, const tReportEntry &b) { return a.Debut < b.Debut; });
    build(changed);
    CReportModel fresh;
    fresh.SetDefinition(definition);
    fresh.SetSnapshot(std::make_shared<tReportSnapshot>(snapshot));
    fresh.ResetForRefresh();
    fresh.BuildColumns();
    fresh.SetTotalRow(QStringLiteral("Total :"), true);
    for (const tReportEntry &e : changed)
        fresh.AddEntryLine(e);
    fresh.ShowRows();
    EXPECT_EQ(rows(), rowsOf(fresh)) << "as a first build of the same entries";
    EXPECT_NE(rows(), shown);
}

// Two entries of one start under the same group, one of them deleted: the
// refresh keeps the other's row, the same row as before, and the row the
// window had current on it stays followed; the deleted one's row goes.
// Either of the two may be the one deleted.
TEST_F(ReportModelTest, OfTwoEntriesOfOneStartTheOneLeftKeepsItsRow)
{
    definition.Grp = {3, -1, -1, -1, -1};
    const qint64 start = At(2024, 3, 1, 9);
    const std::vector<tReportEntry> both{entry(1, start, 600), entry(2, start, 1200), entry(3, start + 3600, 60)};
    const auto rowOf = [&](int id) -> const CTreeItem * {
        const CReportRowTree &tree = model.Tree();
        for (const CTreeItem *row = tree.FirstRoot(); row; row = tree.GetNextItem(tree.FirstRoot(), row, false))
            if (const tReportEntry *e = row->Item().EntryOf(); e && e->Id == id)
                return row;
        return nullptr;
    };
    for (int gone : {1, 2}) {
        SCOPED_TRACE(gone);
        const int left = 3 - gone;
        model.SetFullReset(true);
        build(both);
        const CTreeItem *leftRow = rowOf(left);
        const CTreeItem *third = rowOf(3);
        ASSERT_TRUE(leftRow && rowOf(gone) && third);
        model.Tree().SetMarkedRow(leftRow);
        std::vector<tReportEntry> changed = both;
        changed.erase(changed.begin() + (gone - 1));
        build(changed);
        EXPECT_EQ(rowOf(left), leftRow) << "the same row";
        EXPECT_EQ(rowOf(3), third);
        EXPECT_EQ(rowOf(gone), nullptr);
        EXPECT_EQ(model.Tree().MarkedRow(), leftRow);
        EXPECT_EQ(leftRow->Item().EntryOf()->Id, left);
        EXPECT_EQ(rows().filter(QStringLiteral("#")).size(), 2) << rows().join(u'|').toStdString();
        EXPECT_EQ(model.TotalRow()->Item().GroupLineOf()->Duree, (left == 1 ? 600 : 1200) + 60);
        // The row followed goes with its entry.
        model.Tree().SetMarkedRow(rowOf(3));
        build({changed[0]});
        EXPECT_EQ(model.Tree().MarkedRow(), nullptr);
        EXPECT_EQ(rowOf(left), leftRow);
    }
}
