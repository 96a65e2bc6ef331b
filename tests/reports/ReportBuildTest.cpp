// A whole build without a window: the stamp, the model, failures, cancels
// and the snapshot the build reads instead of the live store.
#include "BuildReportData.h"
#include "CReportModel.h"
#include "Formatter.h"
#include "ProgressDlgShared.h"
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
