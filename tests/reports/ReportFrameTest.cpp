// Report windows on temporary databases through a recording host: opening,
// building under the progress dialog, cancels and failures, the refresh
// offered after a change, saving and closing.
#include "CAppData.h"
#include "CDataChangedNotifier.h"
#include "CDlgName.h"
#include "CProgressDlg.h"
#include "CReportFrame.h"
#include "CReportGrid.h"
#include "CReportHost.h"
#include "CReportModel.h"
#include "CReportStore.h"
#include "CReportView.h"
#include "DialogAnswers.h"
#include "Formatter.h"
#include "ImageList.h"
#include "MessageBoxAnswers.h"
#include "MessageBoxParams.h"
#include "ProgressDlgShared.h"
#include "RecordingReportHost.h"
#include "ReportFixture.h"
#include "TestFolders.h"
#include "Texts.h"
#include "tReportDefinition.h"

#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace {

class ReportFrameTest : public ReportFixture
{
protected:
    void SetUp() override
    {
        ReportFixture::SetUp();
        host.database = TestFolders::tempDb(QStringLiteral("Zarvo.sdb"));
        host.reports = TestFolders::file(QStringLiteral("Zarvo.rpt"));
        host.store = &store;
        host.area = &area;
        area.resize(800, 500);
        area.show();
        CBdD db(host.database);
        ASSERT_TRUE(db.IsOpen());
        for (int id : {1, 2, 3, 4})
            db.Execute(Platform::Formatter::sprintf(u"insert into Projets (Id, Nom, Deleted) values (%d, 'P', 0)", {id}));
        db.Execute(u"insert into Activites (Id, Nom, Deleted) values (7, 'A', 0)");
        db.Execute(u"update Infos set Value='1709546400' where Name='Modif'");
        int id = 1;
        for (const auto &[start, project] : std::vector<std::pair<qint64, int>>{
                 {At(2024, 3, 1, 9), 3}, {At(2024, 3, 1, 14), 2}, {At(2024, 3, 2, 9), 4}})
            db.Execute(Platform::Formatter::sprintf(
                u"insert into Taches (Id, Debut, Fin, IdProjet, IdActivite, Facture, IdTauxHoraire, Deleted, Title, "
                u"Notes) values (%d, %I64d, %I64d, %d, 7, 0, 5, 0, '', '')",
                {id++, start, start + 3600, project}));
        definition.Nom = QStringLiteral("Par projet");
        definition.Type = 2;
        definition.Periode = 0;
        definition.Grp = {3, -1, -1, -1, -1};
        definition.Detail = true;
        definition.SetDefaultColumns(definition.Columns);
        ASSERT_TRUE(CReportStore(host.reports).SaveReport(definition));
    }
    void TearDown() override
    {
        CReportFrame::SetBuildFunction({});
        area.closeAllSubWindows();
        for (QMdiSubWindow *w : area.subWindowList())
            delete w;
        ReportFixture::TearDown();
    }
    CReportFrame *open(int id, bool restored = false, int zoom = 2)
    {
        auto *frame = new CReportFrame(host);
        area.addSubWindow(frame);
        frame->show();
        if (!frame->OpenReport(id, false, zoom, restored)) {
            delete frame;
            return nullptr;
        }
        return frame;
    }
    void setModif(const char *value)
    {
        CBdD db(host.database);
        db.Execute(QStringLiteral("update Infos set Value='%1' where Name='Modif'").arg(QLatin1String(value)));
    }
    static QStringList texts(const MessageBoxAnswers &answers)
    {
        QStringList out;
        for (const MessageBoxAnswers::Asked &asked : answers.AskedBoxes())
            out << asked.text;
        return out;
    }

    RecordingHost host;
    QMdiArea area;
    tReportDefinition definition;
};

// A build job that waits until the user cancels, and what happened while
// it waited.
struct HeldBuild
{
    int calls = 0;
    CReportFrame::BuildFunction function()
    {
        return [this](const tReportDefinition &, const QString &, std::shared_ptr<const tReportSnapshot>,
                      CReportModel &, ProgressDlgShared *progress) {
            ++calls;
            progress->WaitForCancel(std::chrono::seconds(20));
            tReportBuildResult result;
            result.Cancelled = true;
            return result;
        };
    }
};

int progressDialogs()
{
    int count = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (qobject_cast<CProgressDlg *>(w) && w->isVisible())
            ++count;
    return count;
}

} // namespace

TEST_F(ReportFrameTest, AReportOpensBuiltWithItsTotals)
{
    CReportFrame *frame = open(definition.Id);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Par projet"));
    EXPECT_EQ(frame->property("reportId").toInt(), definition.Id);
    EXPECT_EQ(frame->Stamp(), QStringLiteral("1709546400"));
    EXPECT_TRUE(frame->View()->Message().isEmpty());
    CReportGrid *grid = frame->View()->Grid();
    ASSERT_EQ(grid->Model(), &frame->View()->Model());
    EXPECT_TRUE(grid->isVisible());
    // Total, Clients, Alpha, entry, Alpha-Web, entry, Interne, entry.
    EXPECT_EQ(grid->RowCount(), 8);
    EXPECT_EQ(frame->View()->Model().TotalRow()->Item().GroupLineOf()->Duree, 3 * 3600);
    EXPECT_GT(grid->ColumnCount(), 1);
    EXPECT_FALSE(frame->Definition().Modified);
    EXPECT_TRUE(frame->View()->IsCommandEnabled(CReportView::CmdRefresh));
    EXPECT_TRUE(frame->View()->IsCommandEnabled(CReportView::CmdExpand));
    EXPECT_TRUE(frame->View()->IsCommandEnabled(CReportView::CmdExport));
    EXPECT_FALSE(frame->View()->IsCommandEnabled(CReportView::CmdSettings)) << "no settings editor yet";

    // A picture of the window for a person, when asked for.
    const QString keep = qEnvironmentVariable("ZARVO_SCREENSHOT_DIR");
    if (!keep.isEmpty()) {
        frame->resize(900, 400);
        QApplication::processEvents();
        frame->grab().save(keep + QStringLiteral("/report-window.png"));
    }

    // A definition stored with its dates in reverse (edited by hand, or by
    // an older program) is built over the period between them.
    tReportDefinition reversed = definition;
    reversed.Id = -1;
    reversed.Nom = QStringLiteral("A rebours");
    reversed.Periode = 9;
    reversed.Debut = QDate(2024, 3, 2);
    reversed.Fin = QDate(2024, 3, 1);
    ASSERT_TRUE(CReportStore(host.reports).SaveReport(reversed));
    CReportFrame *backwards = open(reversed.Id);
    ASSERT_NE(backwards, nullptr);
    EXPECT_TRUE(backwards->View()->Message().isEmpty());
    EXPECT_EQ(backwards->Definition().Debut, QDate(2024, 3, 1));
    EXPECT_EQ(backwards->Definition().Fin, QDate(2024, 3, 2));
    EXPECT_EQ(backwards->View()->Model().TotalRow()->Item().GroupLineOf()->Duree, 3 * 3600);

    // A report id no longer stored opens nothing.
    EXPECT_EQ(open(definition.Id + 100), nullptr);
}

TEST_F(ReportFrameTest, ARestoredReportWaitsForItsActivationWhileReady)
{
    host.ready = false;
    CReportFrame *frame = open(definition.Id, true, 7);
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->IsRestorePending());
    EXPECT_EQ(frame->property("zoom").toInt(), 2) << "a zoom outside 0 to 3 reads 2";
    EXPECT_TRUE(frame->Stamp().isEmpty());
    frame->OnActivated();
    QTest::qWait(50);
    EXPECT_TRUE(frame->IsRestorePending()) << "not while the application is not ready";
    host.ready = true;
    frame->OnActivated();
    QTest::qWait(50);
    EXPECT_FALSE(frame->IsRestorePending());
    EXPECT_EQ(frame->Stamp(), QStringLiteral("1709546400"));
    EXPECT_EQ(frame->View()->Grid()->RowCount(), 8);
}

TEST_F(ReportFrameTest, ACancelledBuildLeavesAnEmptyGridAndOffersNoRefresh)
{
    CReportFrame *frame = open(definition.Id);
    ASSERT_NE(frame, nullptr);
    HeldBuild held;
    CReportFrame::SetBuildFunction(held.function());
    MessageBoxAnswers answers;
    setModif("1709546500");
    int dialogsDuringBuild = -1;
    bool gridHeldModel = true;
    QTimer::singleShot(50, [&] {
        // Timers run inside the dialog: neither a second build nor a
        // refresh question while the first build runs.
        frame->RebuildReport();
        frame->CheckForDataChange();
        frame->OfferRefresh();
        dialogsDuringBuild = progressDialogs();
        gridHeldModel = frame->View()->Grid()->Model() != nullptr;
        if (auto *dialog = qobject_cast<CProgressDlg *>(QApplication::activeModalWidget()))
            dialog->Cancel();
    });
    frame->RebuildReport();
    EXPECT_EQ(held.calls, 1);
    EXPECT_EQ(dialogsDuringBuild, 1);
    EXPECT_FALSE(gridHeldModel) << "the grid lets go of the model while it is filled";
    EXPECT_EQ(frame->View()->Message(), Platform::Texts::get(284));
    EXPECT_EQ(frame->View()->Model().Tree().RowCount(), 0);
    EXPECT_TRUE(frame->Stamp().isEmpty());
    frame->CheckForDataChange();
    EXPECT_TRUE(answers.AskedBoxes().empty());
}

TEST_F(ReportFrameTest, AnUnreadableDatabaseOrAnInvalidStartShowsWhy)
{
    CReportFrame *frame = open(definition.Id);
    ASSERT_NE(frame, nullptr);
    QFile garbage(TestFolders::file(QStringLiteral("garbage.sdb")));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(4096, 'x'));
    garbage.close();
    host.database = garbage.fileName();
    frame->RebuildReport();
    EXPECT_EQ(frame->View()->Message(), Platform::Texts::get(283));
    EXPECT_EQ(frame->View()->Model().Tree().RowCount(), 0);
    EXPECT_TRUE(frame->Stamp().isEmpty());
    EXPECT_FALSE(frame->View()->Grid()->isVisible());
    const QString keep = qEnvironmentVariable("ZARVO_SCREENSHOT_DIR");
    if (!keep.isEmpty()) {
        frame->resize(700, 300);
        QApplication::processEvents();
        frame->grab().save(keep + QStringLiteral("/report-window-read-error.png"));
    }

    // Custom dates without a valid start: 430 and no build at all.
    HeldBuild held;
    CReportFrame::SetBuildFunction(held.function());
    frame->Definition().Periode = 9;
    frame->Definition().Debut = QDate();
    frame->RebuildReport();
    EXPECT_EQ(held.calls, 0);
    EXPECT_EQ(frame->View()->Message(), Platform::Texts::get(430));
}

TEST_F(ReportFrameTest, TwoReportsOnAChangedDatabaseAskInTurn)
{
    CReportFrame *first = open(definition.Id);
    CReportFrame *second = open(definition.Id);
    ASSERT_TRUE(first && second);
    MessageBoxAnswers answers;
    first->CheckForDataChange();
    second->CheckForDataChange();
    EXPECT_TRUE(answers.AskedBoxes().empty()) << "nothing changed";

    setModif("1709546500");
    answers.Push(MessageBoxAnswer::No);
    answers.Push(MessageBoxAnswer::No);
    first->CheckForDataChange();
    second->CheckForDataChange();
    EXPECT_EQ(texts(answers), QStringList(2, Platform::Texts::get(433)));
    // No keeps the new stamp: the same change is not offered again.
    first->CheckForDataChange();
    second->CheckForDataChange();
    EXPECT_EQ(answers.AskedBoxes().size(), 2u);
    EXPECT_EQ(first->Stamp(), QStringLiteral("1709546500"));

    // A change announced within the same second still counts; Yes builds.
    CAppData::DataChangedNotifier().Send(CDataChangedNotifier::TimeEntries, 0);
    EXPECT_TRUE(first->HasDataChanged());
    answers.Push(MessageBoxAnswer::Yes);
    first->CheckForDataChange();
    EXPECT_EQ(answers.AskedBoxes().size(), 3u);
    EXPECT_FALSE(first->HasDataChanged());
    EXPECT_EQ(first->View()->Grid()->RowCount(), 8);
}

// One change, one question: once the user answered Non, the same change
// is offered neither by the report's own check, nor by its activation,
// nor by a window that handles the change's notice before the report
// window does (as the main window does, which was made first), whichever
// asked first; the next change is offered again. A change the stamp shows
// and one announced within the same second alike.
TEST_F(ReportFrameTest, NonAnswersTheChangeForEveryWindowThatWouldAsk)
{
    // A handler of the notices connected before the report window exists.
    QPointer<CReportFrame> frame;
    bool checkOnNotice = false;
    QObject handler;
    QObject::connect(&CAppData::DataChangedNotifier(), &CDataChangedNotifier::dataChanged, &handler, [&] {
        if (checkOnNotice && frame)
            frame->CheckForDataChange();
    });
    frame = open(definition.Id);
    ASSERT_TRUE(frame);
    auto *refreshTimer = frame->findChild<QTimer *>(QString::number(CReportFrame::RefreshTimerId));
    ASSERT_NE(refreshTimer, nullptr);
    MessageBoxAnswers answers;
    struct Case
    {
        const char *what;
        const char *stamp; // the database's stamp after the change; null: the same second
        bool handlerAsks;  // the handler that comes first asks, else the report's own check
    };
    const Case cases[] = {
        {"asked while the notice is handled", "1709546500", true},
        {"asked by the report's check", "1709546600", false},
        {"within the second, asked while the notice is handled", nullptr, true},
        {"within the second, asked by the report's check", nullptr, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const size_t before = answers.AskedBoxes().size();
        const auto asked = [&] { return answers.AskedBoxes().size() - before; };
        checkOnNotice = c.handlerAsks;
        answers.Push(MessageBoxAnswer::No);
        if (c.stamp)
            setModif(c.stamp);
        CAppData::DataChangedNotifier().Send(CDataChangedNotifier::ProjectFields, 3);
        if (!c.handlerAsks) {
            EXPECT_EQ(asked(), 0u);
            frame->CheckForDataChange();
        }
        ASSERT_EQ(asked(), 1u);
        EXPECT_EQ(answers.AskedBoxes().back().text, Platform::Texts::get(433));
        // Every way the window would ask again.
        frame->CheckForDataChange();
        EXPECT_FALSE(frame->HasDataChanged());
        frame->OnActivated();
        EXPECT_FALSE(refreshTimer->isActive()) << "the activation offers it again";
        EXPECT_EQ(asked(), 1u);
        if (c.stamp) {
            EXPECT_EQ(frame->Stamp(), QString::fromLatin1(c.stamp));
        }
    }
    checkOnNotice = false;
    EXPECT_EQ(answers.Remaining(), 0);
}

TEST_F(ReportFrameTest, ClosingAsksOnlyForAChangedReport)
{
    MessageBoxAnswers answers;
    QPointer<CReportFrame> frame = open(definition.Id);
    ASSERT_TRUE(frame);
    EXPECT_TRUE(frame->close());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(answers.AskedBoxes().empty());

    // Changed and unnamed: "Nouveau"; Cancel keeps it open.
    frame = open(-1);
    ASSERT_TRUE(frame);
    frame->Definition().Modified = true;
    answers.Push(MessageBoxAnswer::Cancel);
    EXPECT_FALSE(frame->close());
    ASSERT_EQ(answers.AskedBoxes().size(), 1u);
    EXPECT_EQ(answers.AskedBoxes()[0].text,
              Platform::Formatter::sprintf(Platform::Texts::get(330), {QStringLiteral("Nouveau")}));
    // No closes it without saving.
    answers.Push(MessageBoxAnswer::No);
    EXPECT_TRUE(frame->close());

    // Yes with a save that fails: 226, open and still changed.
    frame = open(definition.Id);
    frame->Definition().Modified = true;
    host.reports = TestFolders::file(QStringLiteral("missing/folder/Zarvo.rpt"));
    answers.Push(MessageBoxAnswer::Yes);
    answers.Push(MessageBoxAnswer::Ok);
    EXPECT_FALSE(frame->close());
    EXPECT_EQ(texts(answers).mid(2), (QStringList{Platform::Formatter::sprintf(Platform::Texts::get(330),
                                                                                {QStringLiteral("Par projet")}),
                                                  Platform::Texts::get(226)}));
    EXPECT_TRUE(frame->Definition().Modified);
    EXPECT_EQ(host.paneReloads, 0);
    // Yes with a save that lands closes it.
    host.reports = TestFolders::file(QStringLiteral("Zarvo.rpt"));
    answers.Push(MessageBoxAnswer::Yes);
    EXPECT_TRUE(frame->close());
    EXPECT_EQ(host.paneReloads, 1);
}

TEST_F(ReportFrameTest, SaveAsWithATakenName)
{
    CReportFrame *frame = open(definition.Id);
    ASSERT_NE(frame, nullptr);
    MessageBoxAnswers answers;
    DialogAnswers<CDlgName> names;
    const auto type = [](const QString &name) {
        return [name](CDlgName &dialog) {
            dialog.NameEdit()->setText(name);
            dialog.OnOk();
            return dialog.result();
        };
    };
    // An empty name is refused by the prompt: nothing is saved.
    names.Push(type(QString()));
    answers.Push(MessageBoxAnswer::Ok);
    EXPECT_FALSE(frame->View()->SaveAs());
    EXPECT_EQ(texts(answers), QStringList{Platform::Texts::get(331)});

    // The name exists once: No saves a second report of that name.
    names.Push(type(QStringLiteral("Par projet")));
    answers.Push(MessageBoxAnswer::No);
    frame->Definition().Modified = true;
    ASSERT_TRUE(frame->View()->SaveAs());
    EXPECT_EQ(texts(answers).mid(1),
              QStringList{Platform::Formatter::sprintf(Platform::Texts::get(640), {QStringLiteral("Par projet")})});
    int found = -1;
    EXPECT_EQ(CReportStore(host.reports).FindReportByName(QStringLiteral("Par projet"), found), 2);
    EXPECT_NE(frame->Definition().Id, definition.Id);
    EXPECT_EQ(frame->property("reportId").toInt(), frame->Definition().Id);
    EXPECT_FALSE(frame->Definition().Modified);
    EXPECT_EQ(host.paneReloads, 1);

    // Twice now: Yes saves a third, No stops.
    names.Push(type(QStringLiteral("Par projet")));
    answers.Push(MessageBoxAnswer::No);
    EXPECT_FALSE(frame->View()->SaveAs());
    EXPECT_EQ(CReportStore(host.reports).FindReportByName(QStringLiteral("Par projet"), found), 2);
    EXPECT_EQ(answers.AskedBoxes().back().text,
              Platform::Formatter::sprintf(Platform::Texts::get(641), {QStringLiteral("Par projet")}));

    // A failed save as keeps the name, the id and the title.
    const int id = frame->Definition().Id;
    host.reports = TestFolders::file(QStringLiteral("missing/folder/Zarvo.rpt"));
    names.Push(type(QStringLiteral("Autre nom")));
    answers.Push(MessageBoxAnswer::Ok);
    EXPECT_FALSE(frame->View()->SaveAs());
    EXPECT_EQ(answers.AskedBoxes().back().text, Platform::Texts::get(226));
    EXPECT_EQ(frame->Definition().Nom, QStringLiteral("Par projet"));
    EXPECT_EQ(frame->Definition().Id, id);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Par projet"));
}
