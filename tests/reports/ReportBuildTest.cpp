// A whole build without a window: the stamp, the model, failures, cancels
// and the snapshot the build reads instead of the live store.
#include "BuildReportData.h"
#include "CReportModel.h"
#include "Formatter.h"
#include "ProgressDlgShared.h"
#include "ReportPeriod.h"
#include "ReportFixture.h"
#include "TestFolders.h"
#include "tReportDefinition.h"

#include <QDir>
#include <QFile>

namespace {

class ReportBuildTest : public ReportFixture
{
protected:
    void SetUp() override
    {
        ReportFixture::SetUp();
        path = TestFolders::tempDb(QStringLiteral("Zarvo.sdb"));
        CBdD db(path);
        ASSERT_TRUE(db.IsOpen());
        for (int id : {1, 2, 3, 4})
            db.Execute(Platform::Formatter::sprintf(u"insert into Projets (Id, Nom, Deleted) values (%d, 'P', 0)", {id}));
        for (int id : {7, 8})
            db.Execute(Platform::Formatter::sprintf(u"insert into Activites (Id, Nom, Deleted) values (%d, 'A', 0)", {id}));
        db.Execute(u"update Infos set Value='1709546400' where Name='Modif'");
        int id = 1;
        for (const auto &[start, project] : std::vector<std::pair<qint64, int>>{
                 {At(2024, 3, 1, 9), 3}, {At(2024, 3, 1, 14), 2}, {At(2024, 3, 2, 9), 4}})
            db.Execute(Platform::Formatter::sprintf(
                u"insert into Taches (Id, Debut, Fin, IdProjet, IdActivite, Facture, IdTauxHoraire, Deleted, Title, "
                u"Notes) values (%d, %I64d, %I64d, %d, 7, 0, 5, 0, '', '')",
                {id++, start, start + 3600, project}));
        definition.Type = 2;
        definition.Periode = 0;
        definition.Grp = {3, -1, -1, -1, -1};
        definition.Detail = true;
        definition.Projets.clear();
        definition.SetDefaultColumns(definition.Columns);
    }
    tReportBuildResult run(ProgressDlgShared *progress = nullptr)
    {
        return BuildReportData(definition, path, std::make_shared<tReportSnapshot>(snapshot), model, progress);
    }

    int column(int kind) const
    {
        for (int c = 0; c < model.ColumnCount(); ++c) {
            if (model.Columns()[size_t(c)].Kind == kind)
                return c;
        }
        return -1;
    }

    QString path;
    tReportDefinition definition;
    CReportModel model;
};

} // namespace

TEST_F(ReportBuildTest, ABuildFillsTheModelAndGivesTheStamp)
{
    // The build's private folder is looked for in a temporary folder of this
    // test's own: other test processes build reports at the same time.
    const QString ownTemp = TestFolders::root() + QStringLiteral("/tmp");
    ASSERT_TRUE(QDir().mkpath(ownTemp));
    const QByteArray previousTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(ownTemp));
    const tReportBuildResult result = run();
    const bool leftNoFolder =
        QDir(ownTemp).entryList({QStringLiteral("zarvo-report-*")}, QDir::Dirs).isEmpty();
    if (previousTemp.isEmpty())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", previousTemp);
    EXPECT_TRUE(result.Ok);
    EXPECT_FALSE(result.Cancelled);
    EXPECT_EQ(result.Stamp, QStringLiteral("1709546400"));
    const tReportGroupLine *total = model.TotalRow()->Item().GroupLineOf();
    EXPECT_EQ(total->Duree, 3 * 3600);
    EXPECT_DOUBLE_EQ(total->Cout, 180.0);
    // Total, Clients, Alpha, entry 2, Alpha-Web, entry 1, Interne, entry 3.
    EXPECT_EQ(model.Tree().RowCount(), 8);
    EXPECT_EQ(model.GetCellText(0, model.Tree().VisibleRow(1), false, true), QStringLiteral("Clients"));
    EXPECT_TRUE(leftNoFolder) << "the build removes its private folder";
}

// Today is a period that has not ended: the piece of today of an entry
// still running reaches the present and counts nothing, never a negative
// or huge figure.
TEST_F(ReportBuildTest, ARunningEntryAddsNothingToToday)
{
    {
        CBdD db(path);
        db.Execute(u"delete from Taches");
        db.Execute(Platform::Formatter::sprintf(
            u"insert into Taches (Id, Debut, Fin, IdProjet, IdActivite, Facture, IdTauxHoraire, Deleted, Title, "
            u"Notes) values (1, %I64d, %I64d, 4, 7, 0, 5, 0, '', ''), (2, %I64d, 0, 4, 7, 0, 5, 0, '', '')",
            {At(2024, 3, 4, 6), At(2024, 3, 4, 7), now - 2 * 3600}));
    }
    definition.Periode = 8;
    GetPeriodDates(definition.Periode, definition.Debut, definition.Fin);
    ASSERT_EQ(definition.Debut, QDate(2024, 3, 4));
    ASSERT_TRUE(run().Ok);
    const CTreeItem *total = model.TotalRow();
    const CTreeItem *interne = total->Child(0);
    ASSERT_EQ(model.GetCellText(0, interne, false, true), QStringLiteral("Interne"));
    EXPECT_EQ(interne->ChildCount(), 2) << "both entries are listed";
    for (const CTreeItem *row : {total, interne}) {
        const tReportGroupLine *sums = row->Item().GroupLineOf();
        EXPECT_EQ(sums->Duree, 3600);
        EXPECT_DOUBLE_EQ(sums->Cout, 60.0);
        EXPECT_EQ(model.GetCellText(column(5), row, false, true), config.FormatDuration(3600));
    }
}

TEST_F(ReportBuildTest, TheBuildReadsTheSnapshotNotTheStoreReloadedMeanwhile)
{
    ProgressDlgShared progress([](ProgressDlgShared &) -> quint8 { return 1; }, nullptr);
    // The interface thread reloads the store while the build runs: here,
    // at each step text.
    progress.AttachWindow([this](const QString &) {
        store.Clear();
        project(9, QStringLiteral("Nouveau"), -1);
    });
    const tReportBuildResult result = run(&progress);
    progress.DetachWindow();
    ASSERT_TRUE(result.Ok);
    EXPECT_EQ(model.GetCellText(0, model.Tree().VisibleRow(1), false, true), QStringLiteral("Clients"));
    EXPECT_DOUBLE_EQ(model.TotalRow()->Item().GroupLineOf()->Cout, 180.0) << "the rates of the snapshot";
}

TEST_F(ReportBuildTest, AFailedOrCancelledBuildLeavesNothing)
{
    ASSERT_TRUE(run().Ok);
    // A missing database: 283, no stamp, an empty model, no file made.
    const QString missing = TestFolders::file(QStringLiteral("gone.sdb"));
    tReportBuildResult result =
        BuildReportData(definition, missing, std::make_shared<tReportSnapshot>(snapshot), model, nullptr);
    EXPECT_FALSE(result.Ok);
    EXPECT_FALSE(result.Cancelled);
    EXPECT_EQ(result.Stamp, QString());
    EXPECT_EQ(model.Tree().RootCount(), 0);
    EXPECT_FALSE(QFile::exists(missing));

    // A list of projects that is not a list of ids.
    definition.Projets = QStringLiteral("(1) or 1=1");
    EXPECT_FALSE(run().Ok);
    definition.Projets.clear();

    // Cancelled by the user: the job reads the flag and leaves nothing.
    ProgressDlgShared job([](ProgressDlgShared &) -> quint8 { return 1; }, nullptr);
    job.SetCancelled(true);
    const tReportBuildResult cancelled = run(&job);
    EXPECT_FALSE(cancelled.Ok);
    EXPECT_TRUE(cancelled.Cancelled);
    EXPECT_EQ(cancelled.Stamp, QString());
    EXPECT_EQ(model.Tree().RootCount(), 0);
}

TEST_F(ReportBuildTest, CrossTablesAndProjectTrackingBuildToo)
{
    definition.Type = 3;
    definition.Grp_Col = 2;
    definition.Grp = {3, -1, -1, -1, -1};
    ASSERT_TRUE(run().Ok);
    EXPECT_EQ(model.ColumnCount(), 4) << "label, two days, total";
    EXPECT_EQ(model.TotalRow()->Item().TotalLineOf()->Sums, (std::vector<qint64>{7200, 3600, 10800}));

    definition.Type = 4;
    definition.Columns.SetType(CReportColumnSet::TrackingColumns);
    definition.SetDefaultColumns(definition.Columns);
    model.SetFullReset(true);
    ASSERT_TRUE(run().Ok);
    EXPECT_EQ(model.Tree().RowCount(), 5) << "the root and four projects";
}
