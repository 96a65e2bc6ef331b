// The report window's commands in a real window on temporary databases:
// check boxes, the context menu, billing, the calendar, the export and the
// project column's options, reached as the user reaches them.
#include "CDlgExport.h"
#include "CDlgOptColProject.h"
#include "CReadOnlyCB.h"
#include "CDlgColumn.h"
#include "CListCtrlCol.h"
#include "CReportFrame.h"
#include "CReportGrid.h"
#include "CReportModel.h"
#include "CReportStore.h"
#include "CReportView.h"
#include "CsvReadBack.h"
#include "CTranslationStore.h"
#include "DialogAnswers.h"
#include "Formatter.h"
#include "MessageBoxAnswers.h"
#include "MessageBoxParams.h"
#include "ReadBack.h"
#include "RecordingReportHost.h"
#include "ReportExportCommand.h"
#include "ReportExportOptions.h"
#include "ReportFixture.h"
#include "TestFolders.h"
#include "Texts.h"
#include "TranslateWidgets.h"
#include "WidgetIds.h"
#include "tReportDefinition.h"

#include <QAction>
#include <QFileInfo>
#include <QJsonArray>
#include <QMdiArea>
#include <QMenu>
#include <QRadioButton>
#include <QTest>
#include <QToolBar>

namespace {

class ReportViewTest : public ReportFixture
{
protected:
    void SetUp() override
    {
        ReportFixture::SetUp();
        host.database = TestFolders::tempDb(QStringLiteral("Zarvo.sdb"));
        host.reports = TestFolders::file(QStringLiteral("Zarvo.rpt"));
        host.store = &store;
        host.area = &area;
        CAppData::SetCurrentDatabasePath(host.database);
        area.resize(900, 500);
        area.show();
        CBdD db(host.database);
        ASSERT_TRUE(db.IsOpen());
        for (int id : {1, 2, 3, 4})
            db.Execute(Platform::Formatter::sprintf(u"insert into Projets (Id, Nom, Deleted) values (%d, 'P%d', 0)",
                                                    {id, id}));
        db.Execute(u"insert into Activites (Id, Nom, Deleted) values (7, 'A', 0)");
        // Entries 1 to 3 on projects 3, 2 and 4; entry 2 invoiced.
        int id = 1;
        for (const auto &[start, project] : std::vector<std::pair<qint64, int>>{
                 {At(2024, 3, 1, 9), 3}, {At(2024, 3, 1, 14), 2}, {At(2024, 3, 2, 9), 4}}) {
            db.Execute(Platform::Formatter::sprintf(
                u"insert into Taches (Id, Debut, Fin, IdProjet, IdActivite, Facture, IdTauxHoraire, Deleted, Title, "
                u"Notes) values (%d, %I64d, %I64d, %d, 7, %d, 5, 0, 'T', '')",
                {id, start, start + 3600, project, id == 2 ? 1 : 0}));
            ++id;
        }
    }
    void TearDown() override
    {
        ReportExportCommand::SetSaveFileChooser({});
        // Closed without asking to save what a test changed.
        for (CReportFrame *frame : CReportFrame::AllFrames())
            frame->Definition().Modified = false;
        area.closeAllSubWindows();
        for (QMdiSubWindow *w : area.subWindowList())
            delete w;
        ReportFixture::TearDown();
    }
    CReportFrame *open(int kind, bool detail = true, int grpCol = 0)
    {
        definition.Nom = QStringLiteral("Rapport %1").arg(kind);
        definition.Type = kind;
        definition.Periode = 0;
        definition.Grp = {3, -1, -1, -1, -1};
        definition.Detail = detail;
        definition.Grp_Col = grpCol;
        definition.SetDefaultColumns(definition.Columns);
        EXPECT_TRUE(CReportStore(host.reports).SaveReport(definition));
        auto *frame = new CReportFrame(host);
        area.addSubWindow(frame);
        frame->show();
        EXPECT_TRUE(frame->OpenReport(definition.Id, false, 2, false));
        return frame;
    }
    static int rowOfEntry(CReportGrid *grid, int id)
    {
        for (int r = 0; r < grid->RowCount(); ++r) {
            const tReportEntry *e = grid->Item(r) ? grid->Item(r)->Item().EntryOf() : nullptr;
            if (e && e->Id == id)
                return r;
        }
        return -1;
    }
    // The menu's items: their texts (sub-menus as "title>"), "-" for a
    // separator, "(greyed)" after an item that is.
    static QStringList items(const QMenu &menu)
    {
        QStringList out;
        for (QAction *action : menu.actions()) {
            if (action->isSeparator())
                out << QStringLiteral("-");
            else if (action->menu())
                out << action->text() + u'>' + items(*action->menu()).join(u'|');
            else
                out << action->text() + (action->isEnabled() ? QString() : QStringLiteral(" (greyed)"));
        }
        return out;
    }
    QString invoiced()
    {
        CBdD db(host.database);
        auto rows = db.Query(u"select Id, Facture from Taches order by Id");
        QStringList out;
        for (bool more = rows && rows->MoveFirst(); more; more = rows->MoveNext())
            out << rows->GetValueAt(0) + u':' + rows->GetValueAt(1);
        return out.join(u' ');
    }

    RecordingHost host;
    QMdiArea area;
    tReportDefinition definition;
};

} // namespace

TEST_F(ReportViewTest, ADetailReportChecksItsEntriesAndBillsOnlyThoseTicked)
{
    CReportFrame *frame = open(2);
    CReportView *view = frame->View();
    CReportGrid *grid = view->Grid();
    EXPECT_TRUE(grid->HasCheckBoxes());
    EXPECT_TRUE(view->Model().ShowCheckBoxes());
    EXPECT_TRUE(view->ToolBarAction(CReportView::CmdBilling)->isEnabled());
    EXPECT_TRUE(view->ToolBarAction(CReportView::CmdExport)->isEnabled());
    EXPECT_TRUE(view->ToolBarAction(CReportView::CmdColumns)->isEnabled());

    // Nothing ticked: 566, nothing written.
    MessageBoxAnswers answers;
    answers.Push(MessageBoxAnswer::Ok);
    view->ToolBarAction(CReportView::CmdBilling)->trigger();
    ASSERT_EQ(answers.AskedBoxes().size(), 1u);
    EXPECT_EQ(answers.AskedBoxes()[0].text, Platform::Texts::get(566));

    // Tick entry 1 with the keyboard: Space on its selected row.
    const int row = rowOfEntry(grid, 1);
    ASSERT_GE(row, 0);
    grid->SetSelectedRow(row);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Space);
    EXPECT_EQ(view->Model().GetCheckedEntryIds(true), QStringLiteral("(1)"));
    answers.Push(MessageBoxAnswer::Yes);
    view->OnCommand(CReportView::CmdBilling);
    EXPECT_EQ(invoiced(), QStringLiteral("1:1 2:1 3:0"));
    EXPECT_EQ(host.viewRefreshes, 1);
    EXPECT_EQ(view->Model().GetCheckedEntryIds(true), QStringLiteral("(1)")) << "checks stay across the refresh";
    const tReportEntry *billed = grid->Item(rowOfEntry(grid, 1))->Item().EntryOf();
    EXPECT_TRUE(billed->Facture) << "the report was built again";
}

// Entries 1, 4 and 5 start at the same second: one of them deleted, the
// refresh keeps the rows of the others, the same rows, and the current row
// stays on the entry it was on; the deleted one's row is gone.
TEST_F(ReportViewTest, ARefreshKeepsTheCurrentRowOnItsEntry)
{
    {
        CBdD db(host.database);
        for (int id : {4, 5})
            ASSERT_EQ(db.Execute(Platform::Formatter::sprintf(
                          u"insert into Taches (Id, Debut, Fin, IdProjet, IdActivite, Facture, IdTauxHoraire, Deleted, "
                          u"Title, Notes) values (%d, %I64d, %I64d, 3, 7, 0, 5, 0, 'T', '')",
                          {id, At(2024, 3, 1, 9), At(2024, 3, 1, 9) + 600 * id})),
                      0);
    }
    CReportFrame *frame = open(0);
    CReportView *view = frame->View();
    CReportGrid *grid = view->Grid();
    const auto remove = [&](int id) {
        CBdD db(host.database);
        ASSERT_EQ(db.Execute(Platform::Formatter::sprintf(u"update Taches set Deleted=1 where Id=%d", {id})), 0);
    };
    for (const auto &[current, gone] : std::vector<std::pair<int, int>>{{5, 4}, {1, 5}}) {
        SCOPED_TRACE(gone);
        const int row = rowOfEntry(grid, current);
        ASSERT_GE(row, 0);
        ASSERT_GE(rowOfEntry(grid, gone), 0);
        grid->SetSelectedRow(row);
        const CTreeItem *item = grid->Item(row);
        remove(gone);
        view->OnCommand(CReportView::CmdRefresh);
        EXPECT_EQ(rowOfEntry(grid, gone), -1);
        ASSERT_GE(grid->SelectedRow(), 0);
        EXPECT_EQ(grid->Item(grid->SelectedRow()), item) << "the same row";
        EXPECT_EQ(grid->SelectedRow(), rowOfEntry(grid, current));
        ASSERT_TRUE(grid->GetSelectedEntry());
        EXPECT_EQ(grid->GetSelectedEntry()->Id, current);
    }
    // A current row whose entry goes leaves no row current.
    grid->SetSelectedRow(rowOfEntry(grid, 1));
    remove(1);
    view->OnCommand(CReportView::CmdRefresh);
    EXPECT_EQ(grid->GetSelectedEntry(), nullptr);
}

TEST_F(ReportViewTest, TheContextMenuFollowsTheKind)
{
    CReportFrame *frame = open(0);
    CReportView *view = frame->View();
    std::unique_ptr<QMenu> menu = view->CreateContextMenu();
    ASSERT_TRUE(menu);
    EXPECT_EQ(items(*menu), (QStringList{"Modifier les colonnes", "Ajuster la largeur des colonnes", "-",
                                         "Éditer la tâche (greyed)", "Afficher la tâche dans la vue calendrier (greyed)",
                                         "-", "Tâches cochées>Facturer|Supprimer|Modifier"}));
    CTranslationStore store;
    EXPECT_EQ(MenuItemsWithoutText(menu.get(), CReportView::ContextMenuId, store), QList<int>{});

    // An entry selected: edit and show it.
    CReportGrid *grid = view->Grid();
    grid->SetSelectedRow(rowOfEntry(grid, 3));
    menu = view->CreateContextMenu();
    EXPECT_TRUE(menu->actions()[3]->isEnabled());
    EXPECT_EQ(WidgetIds::CommandId(menu->actions()[4]), CReportView::CmdShowInCalendar);
    view->OnCommand(WidgetIds::CommandId(menu->actions()[4]));
    EXPECT_EQ(host.dates, QList<QDate>{QDate(2024, 3, 2)});
    EXPECT_EQ(host.calendarCallers, QList<QWidget *>{frame});

    CReportFrame *cross = open(3, true, 0);
    menu = cross->View()->CreateContextMenu();
    EXPECT_EQ(items(*menu), QStringList{"Ajuster la largeur des colonnes"});
    EXPECT_FALSE(cross->View()->Grid()->HasCheckBoxes());
    CReportFrame *grouped = open(1, false);
    EXPECT_EQ(items(*grouped->View()->CreateContextMenu()),
              (QStringList{"Modifier les colonnes", "Ajuster la largeur des colonnes"}));
    EXPECT_FALSE(grouped->View()->IsCommandEnabled(CReportView::CmdBilling));
}

TEST_F(ReportViewTest, ACrossTableByProjectEditsItsProjectColumn)
{
    CReportFrame *frame = open(3, true, 3);
    CReportView *view = frame->View();
    ASSERT_TRUE(frame->Definition().DetailCross);
    const QStringList before = view->Model().GetColumnCaptions();
    ASSERT_TRUE(view->IsCommandEnabled(CReportView::CmdColumns));
    DialogAnswers<CDlgOptColProject> dialogs;
    dialogs.Push([](CDlgOptColProject &dialog) {
        EXPECT_TRUE(dialog.FullNameButton()->isChecked());
        dialog.ShortNameButton()->click();
        dialog.OnOk();
        return dialog.result();
    });
    view->ToolBarAction(CReportView::CmdColumns)->trigger();
    EXPECT_EQ(dialogs.Asked(), 1);
    EXPECT_FALSE(frame->Definition().DetailCross);
    EXPECT_TRUE(frame->Definition().Modified);
    // Project 3 is below 2 below 1: its full name is longer than its name.
    EXPECT_NE(view->Model().GetColumnCaptions(), before);
    EXPECT_TRUE(view->Model().GetColumnCaptions().contains(QStringLiteral("Alpha-Web")));
}

TEST_F(ReportViewTest, TheExportWritesTheReportAndRemembersItsFormatInThisView)
{
    CReportFrame *frame = open(2);
    CReportView *view = frame->View();
    EXPECT_EQ(view->ExportFormat(), 1);
    QString target = TestFolders::file(QStringLiteral("export.xls"));
    ReportExportCommand::SetSaveFileChooser([&](QWidget *, const QString &, const QString &) { return target; });
    const bool officeSuite = ReportExportCommand::HasOfficeSuiteExport();
    DialogAnswers<CDlgExport> dialogs;
    dialogs.Push([](CDlgExport &dialog) {
        EXPECT_EQ(dialog.FormatCombo()->currentIndex(), 0) << "format 1 is not offered: the first item";
        EXPECT_EQ(dialog.DataCombo()->count(), 3);
        dialog.OnOk();
        return dialog.result();
    });
    MessageBoxAnswers boxes;
    boxes.Push(MessageBoxAnswer::No);
    view->OnCommand(CReportView::CmdExport);
    EXPECT_EQ(view->ExportFormat(), ReportExportOptions::Spreadsheet);
    EXPECT_EQ(host.status, (QStringList{Platform::Texts::get(505), QString()}));
    const ReadBack::Check check = ReadBack::read(target);
    ASSERT_TRUE(check.ran);
    const QJsonObject sheet = check.result.value("sheets").toArray().at(0).toObject();
    EXPECT_EQ(sheet.value("nrows").toInt(), view->Grid()->RowCount() + 1);
    const auto cells = ReadBack::cellsOf(sheet);
    const QStringList captions = view->Model().GetColumnCaptions();
    const int duration = int(captions.indexOf(QStringLiteral("Durée")));
    ASSERT_GE(duration, 0);
    EXPECT_NEAR(cells.at({1, duration}).value.toDouble(), 3.0 / 24, 1e-9) << "three hours in all";
    EXPECT_EQ(cells.at({1, duration}).format, QStringLiteral("[h]:mm"));

    // Then the same report as CSV with ";": every cell as the report gives it.
    target = TestFolders::file(QStringLiteral("export.csv"));
    dialogs.Push([officeSuite](CDlgExport &dialog) {
        EXPECT_EQ(dialog.FormatCombo()->currentIndex(),
                  ReportExportOptions::IndexOfFormat(ReportExportOptions::Spreadsheet, officeSuite));
        dialog.FormatCombo()->setCurrentIndex(ReportExportOptions::IndexOfFormat(ReportExportOptions::Csv, officeSuite));
        dialog.SeparatorCombo()->setCurrentIndex(ReportExportOptions::SemicolonItem);
        dialog.OnOk();
        return dialog.result();
    });
    view->OnCommand(CReportView::CmdExport);
    EXPECT_EQ(view->ExportFormat(), ReportExportOptions::Csv);
    std::vector<QStringList> expected{captions};
    QStringList row;
    for (bool more = view->Model().FirstExportRow(0, row); more; more = view->Model().NextExportRow(0, row))
        expected.push_back(row);
    EXPECT_EQ(CsvReadBack::read(target, QStringLiteral(";")), expected);
}

TEST_F(ReportViewTest, TheColumnsCommandChoosesTheReportsColumns)
{
    CReportFrame *frame = open(0);
    CReportView *view = frame->View();
    const int before = view->Grid()->ColumnCount();
    ASSERT_GE(before, 2);
    DialogAnswers<CDlgColumn> answers;
    // Annuler changes nothing.
    answers.Push(QDialog::Rejected);
    view->ToolBarAction(CReportView::CmdColumns)->trigger();
    EXPECT_EQ(view->Grid()->ColumnCount(), before);
    EXPECT_FALSE(frame->Definition().Modified);
    // The last shown column hidden: the grid loses it, the report changed.
    answers.Push([](CDlgColumn &chooser) {
        CListCtrlCol *list = chooser.List();
        int last = -1;
        for (int row = 0; row < list->topLevelItemCount(); ++row) {
            if (list->IsChecked(row))
                last = row;
        }
        list->SetChecked(last, false);
        chooser.OnOk();
        return chooser.result();
    });
    view->ToolBarAction(CReportView::CmdColumns)->trigger();
    EXPECT_EQ(answers.Asked(), 2);
    EXPECT_EQ(view->Grid()->ColumnCount(), before - 1);
    EXPECT_TRUE(frame->Definition().Modified);
    EXPECT_FALSE(frame->Definition().Columns.IsDefault());
}
