// The commands of a report window without the window: which are
// available, what the context menu holds, the commands on the checked and
// the selected entries on a real database, and the export command.
#include "CBdD.h"
#include "CDlgExport.h"
#include "CReadOnlyCB.h"
#include "CDlgModifTasks.h"
#include "CDlgTask.h"
#include "DesktopOpen.h"
#include "DialogAnswers.h"
#include "ExportFixture.h"
#include "FileCommit.h"
#include "Formatter.h"
#include "MessageBoxAnswers.h"
#include "MessageBoxParams.h"
#include "ReportEntryCommands.h"
#include "ReportExportCommand.h"
#include "ReportExportOptions.h"
#include "ReportViewCommands.h"
#include "Settings.h"
#include "TestFolders.h"
#include "Texts.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QUrl>

namespace Commands = ReportViewCommands;

TEST(ReportViewCommandsTest, AvailabilityFollowsModeKindAndLines)
{
    Commands::tState detail;
    detail.Kind = 0;
    detail.Detail = true;
    detail.HasLines = true;
    Commands::tState grouped = detail;
    grouped.Detail = false;
    Commands::tState cross = detail;
    cross.Kind = 3;
    Commands::tState crossByProject = cross;
    crossByProject.GrpCol = 3;
    Commands::tState tracking = detail;
    tracking.Kind = 4;
    Commands::tState empty = detail;
    empty.HasLines = false;
    Commands::tState printed = detail;
    printed.PrintLayoutShown = true;
    Commands::tState selected = detail;
    selected.EntrySelected = true;
    Commands::tState chooser = tracking;
    chooser.ColumnChooser = true;
    Commands::tState crossChooser = cross;
    crossChooser.ColumnChooser = true;

    struct Case
    {
        const char *what;
        Commands::tState state;
        int command;
        bool enabled;
    };
    const Case cases[] = {
        {"export", detail, Commands::Export, true},
        {"export, no line", empty, Commands::Export, false},
        {"export, print layout", printed, Commands::Export, false},
        {"print, data mode", detail, Commands::Print, true},
        {"print, print layout", printed, Commands::Print, true},
        {"print, no line", empty, Commands::Print, false},
        {"bill detail", detail, Commands::Bill, true},
        {"bill kind 2", [&] { auto s = detail; s.Kind = 2; return s; }(), Commands::MenuBill, true},
        {"bill without detail", grouped, Commands::Bill, false},
        {"bill cross table", cross, Commands::Bill, false},
        {"bill tracking", tracking, Commands::Bill, false},
        {"bill, no line", empty, Commands::Bill, false},
        {"delete detail", detail, Commands::DeleteChecked, true},
        {"change grouped", grouped, Commands::ChangeChecked, false},
        {"columns, cross table by project", crossByProject, Commands::Columns, true},
        {"columns, cross table by date", crossChooser, Commands::MenuColumns, false},
        {"columns, no chooser yet", detail, Commands::Columns, false},
        {"columns, chooser", chooser, Commands::Columns, true},
        {"columns, print layout", [&] { auto s = crossByProject; s.PrintLayoutShown = true; return s; }(),
         Commands::Columns, false},
        {"expand", detail, Commands::Expand, true},
        {"groups only, no line", empty, Commands::GroupsOnly, false},
        {"edit entry, none selected", detail, Commands::EditEntry, false},
        {"edit entry", selected, Commands::EditEntry, true},
        {"show in calendar", selected, Commands::ShowInCalendar, true},
        {"print layout not there yet", detail, Commands::PrintLayout, false},
        {"settings editor not there yet", detail, Commands::EditSettings, false},
        {"refresh", empty, Commands::Refresh, true},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Commands::IsEnabled(c.command, c.state), c.enabled) << c.what;
    for (int kind : {0, 1, 2, 3, 4})
        for (bool d : {false, true})
            EXPECT_EQ(Commands::HasCheckBoxes(kind, d), kind <= 2 && d) << kind << d;
}

TEST(ReportViewCommandsTest, TheContextMenuIsTrimmedByKind)
{
    using V = std::vector<int>;
    const int sub = Commands::CheckedEntriesMenu;
    const V whole{32972, 32973, 0, 32974, 32975, 0, sub};
    struct Case
    {
        int kind;
        bool detail;
        int grpCol;
        V items;
    };
    const Case cases[] = {
        {0, true, 0, whole},       {2, true, 0, whole},      {1, false, 0, V{32972, 32973}},
        {3, true, 0, V{32973}},    {3, true, 3, V{32972, 32973}}, {4, true, 0, V{32972, 32973}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Commands::ContextMenuItems(c.kind, c.detail, c.grpCol), c.items) << c.kind << c.detail << c.grpCol;
    EXPECT_EQ(Commands::CheckedEntriesMenuItems(), (V{33013, 33014, 33015}));
}

namespace {

// The change dialog answered as a user who clears the rate.
int clearTheRate(CDlgModifTasks &dialog)
{
    qobject_cast<QAbstractButton *>(dialog.Control(CDlgModifTasks::IdRateBox))->click();
    qobject_cast<QAbstractButton *>(dialog.Control(CDlgModifTasks::IdOk))->click();
    return dialog.result();
}

// Entries 1 to 4 in a user database; 2 and 4 invoiced.
class EntryCommandsTest : public ExportFixture
{
protected:
    void SetUp() override
    {
        ExportFixture::SetUp();
        path = TestFolders::tempDb(QStringLiteral("Zarvo.sdb"));
        CAppData::SetCurrentDatabasePath(path);
        CBdD db;
        ASSERT_TRUE(db.IsOpen());
        // One write to the disk for the whole fixture.
        ASSERT_TRUE(db.Connection()->BeginTransaction());
        for (int id : {1, 2, 3, 4})
            db.Execute(Platform::Formatter::sprintf(u"insert into Projets (Id, Nom, Deleted) values (%d, 'P', 0)", {id}));
        db.Execute(u"insert into Activites (Id, Nom, Deleted) values (7, 'A', 0)");
        std::vector<tReportEntry> entries;
        for (int id : {1, 2, 3, 4}) {
            tReportEntry e = entry(id, At(2024, 3, id, 9), 3600, 4, 5, QStringLiteral("T%1").arg(id));
            e.Facture = id % 2 == 0;
            entries.push_back(e);
            db.Execute(Platform::Formatter::sprintf(
                u"insert into Taches (Id, Debut, Fin, IdProjet, IdActivite, Facture, IdTauxHoraire, Deleted, Title, "
                u"Notes) values (%d, %I64d, %I64d, 4, 7, %d, 5, 0, '%s', '')",
                {id, e.Debut, e.Fin, int(e.Facture), e.Title}));
        }
        ASSERT_TRUE(db.Connection()->CommitTransaction());
        model.SetShowCheckBoxes(true);
        build(entries, {0, 9});
    }
    void check(std::initializer_list<int> ids)
    {
        const CReportRowTree &tree = model.Tree();
        for (CTreeItem *row = tree.FirstRoot(); row; row = tree.GetNextItem(tree.FirstRoot(), row, false)) {
            const tReportEntry *e = row->Item().EntryOf();
            if (e && std::find(ids.begin(), ids.end(), e->Id) != ids.end())
                model.Tree().ToggleCheck(row);
        }
    }
    // "id:column" of every entry, in id order.
    QString column(const char *name)
    {
        CBdD db;
        auto rows = db.Query(QStringLiteral("select Id, %1 from Taches order by Id").arg(QLatin1String(name)));
        QStringList out;
        for (bool more = rows && rows->MoveFirst(); more; more = rows->MoveNext())
            out << rows->GetValueAt(0) + u':' + rows->GetValueAt(1);
        return out.join(u' ');
    }

    QString path;
};

} // namespace

TEST_F(EntryCommandsTest, BillingMarksOnlyTheCheckedEntries)
{
    MessageBoxAnswers answers;
    answers.AnswerNotices();
    {
        CBdD db;
        EXPECT_FALSE(ReportEntryCommands::Bill(nullptr, model, db));
    }
    ASSERT_EQ(answers.AskedBoxes().size(), 1u);
    EXPECT_EQ(answers.AskedBoxes()[0].text, Platform::Texts::get(566)) << "nothing checked";

    check({1});
    answers.Push(MessageBoxAnswer::No);
    answers.Push(MessageBoxAnswer::Yes);
    CBdD db;
    EXPECT_FALSE(ReportEntryCommands::Bill(nullptr, model, db));
    EXPECT_EQ(column("Facture"), QStringLiteral("1:0 2:1 3:0 4:1"));
    EXPECT_TRUE(ReportEntryCommands::Bill(nullptr, model, db));
    EXPECT_EQ(answers.AskedBoxes().back().text, Platform::Texts::get(425));
    EXPECT_EQ(column("Facture"), QStringLiteral("1:1 2:1 3:0 4:1")) << "invoiced entries left unticked stay invoiced";
}

TEST_F(EntryCommandsTest, InvoicingLeavesTheEntriesAlreadyInvoicedUntouched)
{
    CBdD db;
    ASSERT_EQ(db.Execute(u"update Taches set Date_Modif=1000, Origine_Modif=7"), 0);
    check({2, 3}); // 2 invoiced, 3 not
    MessageBoxAnswers answers;
    answers.Push(MessageBoxAnswer::Yes);
    EXPECT_TRUE(ReportEntryCommands::Bill(nullptr, model, db));
    EXPECT_EQ(column("Facture"), QStringLiteral("1:0 2:1 3:1 4:1"));
    EXPECT_EQ(column("Date_Modif"), QStringLiteral("1:1000 2:1000 3:%1 4:1000").arg(now));
    EXPECT_EQ(column("Origine_Modif"), QStringLiteral("1:7 2:7 3:1 4:7"));
}

TEST_F(EntryCommandsTest, DeletingAsksWithTheCountAndSoftDeletes)
{
    check({1, 3});
    MessageBoxAnswers answers;
    answers.Push(MessageBoxAnswer::Yes);
    CBdD db;
    EXPECT_TRUE(ReportEntryCommands::DeleteChecked(nullptr, model, db));
    EXPECT_EQ(answers.AskedBoxes()[0].text, QStringLiteral("Voulez-vous vraiment supprimer 2 tâches ?"));
    EXPECT_EQ(column("Deleted"), QStringLiteral("1:1 2:0 3:1 4:0"));

    check({1, 3, 4}); // unchecks 1 and 3
    answers.Push(MessageBoxAnswer::No);
    EXPECT_FALSE(ReportEntryCommands::DeleteChecked(nullptr, model, db));
    EXPECT_EQ(answers.AskedBoxes()[1].text, Platform::Texts::get(564));
    EXPECT_EQ(column("Deleted"), QStringLiteral("1:1 2:0 3:1 4:0"));
}

TEST_F(EntryCommandsTest, TheChangeDialogsAnswerReassigns)
{
    check({2, 4});
    DialogAnswers<CDlgModifTasks> dialogs;
    dialogs.Push(clearTheRate);
    MessageBoxAnswers answers;
    answers.Push(MessageBoxAnswer::Yes);
    CBdD db;
    EXPECT_TRUE(ReportEntryCommands::ChangeChecked(nullptr, model, db));
    EXPECT_EQ(answers.AskedBoxes()[0].text, QStringLiteral("Voulez-vous vraiment modifier 2 tâches ?"));
    EXPECT_EQ(column("IdTauxHoraire"), QStringLiteral("1:5 2:-1 3:5 4:-1"));
    EXPECT_EQ(column("IdProjet"), QStringLiteral("1:4 2:4 3:4 4:4"));

    dialogs.Push(QDialog::Rejected);
    EXPECT_FALSE(ReportEntryCommands::ChangeChecked(nullptr, model, db));
    EXPECT_EQ(answers.AskedBoxes().size(), 1u) << "a cancelled dialog asks nothing more";
}

// Entries changed while the change dialog was open: one given another rate
// by another window is changed again only when the user says so, one
// deleted meanwhile is left as it is, and "Annuler" writes nothing.
TEST_F(EntryCommandsTest, EntriesChangedWhileTheChangeDialogIsOpenAreNotWrittenOverInSilence)
{
    check({1, 2, 3});
    const auto meanwhile = [](QStringList statements) {
        return [statements](CDlgModifTasks &dialog) {
            for (const QString &sql : statements)
                EXPECT_EQ(CBdD().Execute(sql), 0) << sql.toStdString();
            return clearTheRate(dialog);
        };
    };
    DialogAnswers<CDlgModifTasks> dialogs;
    MessageBoxAnswers answers;
    CBdD db;

    dialogs.Push(meanwhile({QStringLiteral("update Taches set IdTauxHoraire=6 where Id=2")}));
    answers.Push(MessageBoxAnswer::Yes);
    answers.Push(MessageBoxAnswer::Custom1 + 2);
    EXPECT_FALSE(ReportEntryCommands::ChangeChecked(nullptr, model, db));
    ASSERT_EQ(answers.AskedBoxes().size(), 2u);
    EXPECT_EQ(answers.AskedBoxes()[1].text,
              QStringLiteral("Tâches cochées modifiées entre-temps, par le lanceur rapide ou par une autre fenêtre de "
                             "Zarvo : 1.\n\nVoulez-vous les modifier aussi ?"));
    EXPECT_EQ(column("IdTauxHoraire"), QStringLiteral("1:5 2:6 3:5 4:5")) << "Annuler";

    dialogs.Push(meanwhile({QStringLiteral("update Taches set IdTauxHoraire=7 where Id=2"),
                            QStringLiteral("update Taches set Deleted=1 where Id=3")}));
    answers.Push(MessageBoxAnswer::Yes);
    answers.Push(MessageBoxAnswer::Custom1);
    EXPECT_TRUE(ReportEntryCommands::ChangeChecked(nullptr, model, db));
    EXPECT_EQ(column("IdTauxHoraire"), QStringLiteral("1:-1 2:7 3:5 4:5")) << "only the others";

    dialogs.Push(meanwhile({QStringLiteral("update Taches set IdTauxHoraire=8 where Id=2")}));
    answers.Push(MessageBoxAnswer::Yes);
    answers.Push(MessageBoxAnswer::Custom1 + 1);
    EXPECT_TRUE(ReportEntryCommands::ChangeChecked(nullptr, model, db));
    EXPECT_EQ(column("IdTauxHoraire"), QStringLiteral("1:-1 2:-1 3:5 4:5")) << "these too; the deleted one left";
    EXPECT_EQ(column("Deleted"), QStringLiteral("1:0 2:0 3:1 4:0"));
}

TEST_F(EntryCommandsTest, AWriteThatFailsIsToldAndRefreshesNothing)
{
    check({1, 3});
    MessageBoxAnswers answers;
    for (int i = 0; i < 6; ++i)
        answers.Push(MessageBoxAnswer::Yes);
    DialogAnswers<CDlgModifTasks> dialogs;
    dialogs.Push(clearTheRate);
    CBdD readOnly(path, CBdD::ReadOnly);
    ASSERT_TRUE(readOnly.IsOpen());
    EXPECT_FALSE(ReportEntryCommands::Bill(nullptr, model, readOnly));
    EXPECT_FALSE(ReportEntryCommands::DeleteChecked(nullptr, model, readOnly));
    EXPECT_FALSE(ReportEntryCommands::ChangeChecked(nullptr, model, readOnly));
    int told = 0;
    for (const auto &box : answers.AskedBoxes())
        told += box.text == Platform::Texts::get(226) ? 1 : 0;
    EXPECT_EQ(told, 3);
    EXPECT_EQ(column("Facture") + u' ' + column("Deleted") + u' ' + column("IdTauxHoraire"),
              QStringLiteral("1:0 2:1 3:0 4:1 1:0 2:0 3:0 4:0 1:5 2:5 3:5 4:5"));
}

TEST_F(EntryCommandsTest, EditingOpensTheEntryAsStoredAndShowingGivesItsLocalDay)
{
    CBdD db;
    db.Execute(u"update Taches set Title='changed meanwhile' where Id=3");
    tReportEntry shown;
    shown.Id = 3;
    shown.Debut = At(2024, 3, 31, 0, 30); // the night of the clock change
    QString opened;
    DialogAnswers<CDlgTask> dialogs;
    dialogs.Push([&](CDlgTask &dialog) {
        opened = dialog.Entry().Title;
        return int(QDialog::Accepted);
    });
    EXPECT_TRUE(ReportEntryCommands::EditEntry(nullptr, shown, db));
    EXPECT_EQ(opened, QStringLiteral("changed meanwhile"));
    dialogs.Push(QDialog::Rejected);
    EXPECT_FALSE(ReportEntryCommands::EditEntry(nullptr, shown, db));
    db.Execute(u"delete from Taches where Id=3");
    EXPECT_TRUE(ReportEntryCommands::EditEntry(nullptr, shown, db)) << "gone: the report is refreshed";
    EXPECT_EQ(dialogs.Asked(), 2);
    EXPECT_EQ(ReportEntryCommands::EntryDate(shown), QDate(2024, 3, 31));
    shown.Debut = At(2024, 3, 30, 23, 59, 59);
    EXPECT_EQ(ReportEntryCommands::EntryDate(shown), QDate(2024, 3, 30));
}

namespace {

class ExportCommandTest : public ExportFixture
{
protected:
    void SetUp() override
    {
        ExportFixture::SetUp();
        definition.Nom = QStringLiteral("Bilan: mars/avril");
        build(trickyEntries());
        ReportExportCommand::SetSaveFileChooser([this](QWidget *, const QString &proposed, const QString &filter) {
            proposals << proposed;
            filters << filter;
            return target;
        });
        Platform::SetUrlOpener([this](const QUrl &url) {
            opened << url;
            return openResult;
        });
    }
    void TearDown() override
    {
        ReportExportCommand::SetSaveFileChooser({});
        Platform::SetUrlOpener({});
        ExportFixture::TearDown();
    }
    // Answers the export dialog with a format, the lines and a separator
    // item.
    void choose(int format, int mode = 0, int separatorItem = 0)
    {
        dialogs.Push([format, mode, separatorItem](CDlgExport &dialog) {
            dialog.FormatCombo()->setCurrentIndex(ReportExportOptions::IndexOfFormat(format, false));
            dialog.DataCombo()->setCurrentIndex(mode);
            dialog.SeparatorCombo()->setCurrentIndex(separatorItem);
            dialog.OnOk();
            return dialog.result();
        });
    }
    bool run()
    {
        return ReportExportCommand::Run(nullptr, model, definition, lastFormat,
                                        [this](const QString &text) { status << text; });
    }

    DialogAnswers<CDlgExport> dialogs;
    MessageBoxAnswers boxes;
    QString target;
    QStringList proposals;
    QStringList filters;
    QList<QUrl> opened;
    bool openResult = true;
    QStringList status;
    int lastFormat = 1;
};

} // namespace

TEST_F(ExportCommandTest, ASpreadsheetIsWrittenThenOfferedToOpen)
{
    target = TestFolders::file(QStringLiteral("bilan"));
    choose(ReportExportOptions::Spreadsheet);
    boxes.Push(MessageBoxAnswer::Yes);
    EXPECT_TRUE(run());
    EXPECT_EQ(proposals, QStringList{QStringLiteral("Bilan marsavril.xls")});
    EXPECT_EQ(filters, QStringList{Platform::Texts::get(670)});
    EXPECT_TRUE(QFileInfo::exists(target + QStringLiteral(".xls"))) << "the extension is added";
    ASSERT_EQ(boxes.AskedBoxes().size(), 1u);
    EXPECT_EQ(boxes.AskedBoxes()[0].text,
              Platform::Formatter::sprintf(Platform::Texts::get(672), {target + QStringLiteral(".xls")}));
    EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(target + QStringLiteral(".xls"))});
    EXPECT_EQ(status, (QStringList{Platform::Texts::get(505), QString()}));
    EXPECT_EQ(lastFormat, ReportExportOptions::Spreadsheet);

    // The next time opens on that format; the file cannot be opened.
    openResult = false;
    dialogs.Push([](CDlgExport &dialog) {
        EXPECT_EQ(dialog.FormatCombo()->currentIndex(), 0);
        dialog.OnOk();
        return dialog.result();
    });
    boxes.Push(MessageBoxAnswer::Yes);
    boxes.Push(MessageBoxAnswer::Ok);
    EXPECT_TRUE(run());
    ASSERT_EQ(boxes.AskedBoxes().size(), 3u);
    EXPECT_EQ(boxes.AskedBoxes()[2].text,
              Platform::Formatter::sprintf(Platform::Texts::get(673), {target + QStringLiteral(".xls")}));
}

TEST_F(ExportCommandTest, ALockedTargetAsksToRetryAndCancelLeavesIt)
{
    target = TestFolders::writeFile(QStringLiteral("locked.xls"), "the previous export");
    // The target cannot be replaced (locked, immutable, held by another
    // program), as the file system would refuse it.
    int refused = 0;
    Platform::FileCommit::setFault([&](const QString &path) {
        refused += path == target ? 1 : 0;
        return path == target;
    });
    choose(ReportExportOptions::Spreadsheet);
    boxes.Push(MessageBoxAnswer::Retry);
    boxes.Push(MessageBoxAnswer::Cancel);
    const bool written = run();
    Platform::FileCommit::setFault({});
    EXPECT_FALSE(written);
    EXPECT_EQ(refused, 2) << "written, then written again on Retry";
    ASSERT_EQ(boxes.AskedBoxes().size(), 2u);
    const QString locked = Platform::Formatter::sprintf(Platform::Texts::get(671), {target});
    EXPECT_EQ(boxes.AskedBoxes()[0].text, locked);
    EXPECT_EQ(boxes.AskedBoxes()[1].text, locked);
    EXPECT_EQ(TestFolders::readFile(target), QByteArray("the previous export"));
    EXPECT_EQ(QDir(QFileInfo(target).path()).entryList({QStringLiteral("locked*")}, QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("locked.xls")});
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(ExportCommandTest, ATooLargeReportNamesTheCsvExport)
{
    definition.Grp = {-1, -1, -1, -1, -1};
    std::vector<tReportEntry> entries;
    for (int i = 0; i < 65535; ++i)
        entries.push_back(entry(i + 1, At(2024, 3, 1, 9) + i * 60, 60, 4, -1));
    build(entries, {0});
    target = TestFolders::writeFile(QStringLiteral("big.xls"), "old");
    choose(ReportExportOptions::Spreadsheet);
    boxes.Push(MessageBoxAnswer::Ok);
    EXPECT_FALSE(run());
    ASSERT_EQ(boxes.AskedBoxes().size(), 1u);
    EXPECT_EQ(boxes.AskedBoxes()[0].text, Platform::Texts::get(21401));
    EXPECT_TRUE(boxes.AskedBoxes()[0].text.contains(QStringLiteral("*.csv")));
    EXPECT_EQ(TestFolders::readFile(target), QByteArray("old"));
}

TEST_F(ExportCommandTest, CsvGoesWhereTheDialogSaysWithItsSeparator)
{
    target = TestFolders::file(QStringLiteral("out.csv"));
    choose(ReportExportOptions::Csv, 2, ReportExportOptions::SemicolonItem);
    EXPECT_TRUE(run());
    EXPECT_EQ(proposals, QStringList{QString()});
    EXPECT_EQ(filters, QStringList{Platform::Texts::get(328)});
    const QByteArray bytes = TestFolders::readFile(target);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF" + model.GetColumnCaptions().join(u';').toUtf8() + "\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), 4);
    EXPECT_TRUE(boxes.AskedBoxes().empty()) << "nothing to open, nothing to tell";
    EXPECT_EQ(lastFormat, ReportExportOptions::Csv);

    // A folder that is not there: 329 with the path.
    target = TestFolders::file(QStringLiteral("missing/out.csv"));
    choose(ReportExportOptions::Csv);
    boxes.Push(MessageBoxAnswer::Ok);
    EXPECT_FALSE(run());
    ASSERT_EQ(boxes.AskedBoxes().size(), 1u);
    EXPECT_EQ(boxes.AskedBoxes()[0].text, Platform::Formatter::sprintf(Platform::Texts::get(329), {target}));

    // Cancelling the file dialog or the options writes nothing.
    target.clear();
    choose(ReportExportOptions::Csv);
    EXPECT_FALSE(run());
    dialogs.Push(QDialog::Rejected);
    EXPECT_FALSE(run());
    EXPECT_EQ(boxes.AskedBoxes().size(), 1u);
}
