// Report windows in the running frame with the real registration: opened
// from the report pane, driven from the main toolbar, asked to save when
// the program closes, and reopened at the next start and after a change
// of user.
#include "AppFixture.h"
#include "CAppData.h"
#include "CDataChangedNotifier.h"
#include "CCalendarHost.h"
#include "CChildFrame.h"
#include "CCommandTable.h"
#include "CDlgColumn.h"
#include "CLanguageSelector.h"
#include "CListCtrlCol.h"
#include "CMainFrame.h"
#include "CMainFrameViews.h"
#include "CPaneReport.h"
#include "CComboBoxSuper.h"
#include "CDlgCopyProject.h"
#include "CDlgForecast.h"
#include "CProject.h"
#include "CProjectStore.h"
#include "EntryDialogServices.h"
#include "RecordEditorServices.h"
#include "RecordEditorWindows.h"
#include "CReportFrame.h"
#include "CReportGrid.h"
#include "CReportModel.h"
#include "CReportPageView.h"
#include "CReportPapers.h"
#include "CReportStore.h"
#include "CReportTemplate.h"
#include "CReportView.h"
#include "CReportWindowHost.h"
#include "CTreeItem.h"
#include "CViewTree.h"
#include "CWizardDialog.h"
#include "DialogAnswers.h"
#include "Formatter.h"
#include "ReportColumnCatalogue.h"
#include "ReportRegistration.h"
#include "Settings.h"
#include "TestFolders.h"
#include "Texts.h"
#include "tElement.h"
#include "tReportDefinition.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidgetItem>

#include <functional>

namespace {

// The interface language (French) registered as the program's start does,
// its folder holding the delivered templates; unregistered when it goes.
struct tRegisteredLanguage
{
    tRegisteredLanguage()
    {
        languages.SetLanguage(1036);
        CLanguageSelector::SetApplication(&languages);
    }
    ~tRegisteredLanguage() { CLanguageSelector::SetApplication(nullptr); }
    CLanguageSelector languages;
};

class ReportWindowsTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        bob = addUser(QStringLiteral("Bob"));
        bobs = saveReport(QStringLiteral("Bob"), QStringLiteral("Rapport de Bob"));
        CReportStore(usersFolder + QStringLiteral("Bob/Zarvo.rpt")).SaveOnScreenReports({{bobs, false, 1}});
        anne = addUser(QStringLiteral("Anne"));
        annes = saveReport(QStringLiteral("Anne"), QStringLiteral("Rapport d'Anne"));
        {
            CBdD db(databaseOf(QStringLiteral("Anne")));
            tElement project;
            project.Nom = QStringLiteral("Alpha");
            ASSERT_TRUE(db.SaveProject(&project, nullptr));
            const qint64 start = QDateTime(QDate(2024, 3, 1), QTime(9, 0)).toSecsSinceEpoch();
            db.Execute(Platform::Formatter::sprintf(
                u"insert into Taches (Id, Debut, Fin, IdProjet, IdActivite, Facture, IdTauxHoraire, Deleted, "
                u"Title, Notes) values (1, %I64d, %I64d, %d, -1, 0, -1, 0, '', '')",
                {start, start + 3600, project.Id}));
        }
        start();
    }
    void start()
    {
        RegisterReports(*app);
        app->Startup().openCalendar = [this] { CCalendarHost::OpenCalendar(*app); };
        ASSERT_TRUE(app->InitInstance());
        frame = app->MainFrame();
        ASSERT_NE(frame, nullptr);
        frame->resize(1200, 800);
        frame->show();
        QApplication::processEvents();
    }
    void restart()
    {
        ASSERT_TRUE(frame->close());
        app.reset();
        app = std::make_unique<CZarvoWinApp>();
        start();
    }
    int saveReport(const QString &user, const QString &name)
    {
        tReportDefinition d;
        d.Nom = name;
        d.Periode = 0;
        d.Grp = {3, -1, -1, -1, -1};
        d.SetDefaultColumns(d.Columns);
        EXPECT_TRUE(CReportStore(usersFolder + user + QStringLiteral("/Zarvo.rpt")).SaveReport(d));
        return d.Id;
    }
    QList<CReportFrame *> reports() const
    {
        QList<CReportFrame *> list;
        for (const QPointer<QWidget> &w : std::as_const(app->ReportWindows()))
            if (auto *r = qobject_cast<CReportFrame *>(w.data()))
                list << r;
        return list;
    }
    CReportFrame *openFromPane()
    {
        auto *pane = qobject_cast<CPaneReport *>(frame->Pane(CPaneReport::PaneNumber));
        EXPECT_NE(pane, nullptr);
        QTreeWidgetItem *item = pane->Root()->child(0);
        pane->Tree()->setCurrentItem(item);
        item->setSelected(true);
        pane->UpdateCommandStates();
        EXPECT_TRUE(pane->Action(CPaneReport::CmdOpen)->isEnabled());
        pane->OnOpen();
        return reports().isEmpty() ? nullptr : reports().last();
    }

    int anne = -1, bob = -1, annes = -1, bobs = -1;
    CMainFrame *frame = nullptr;
};

} // namespace

TEST_F(ReportWindowsTest, ThePaneOpensABuiltReportThatTheMainToolbarDrives)
{
    EXPECT_FALSE(frame->Commands().Action(32815)->isEnabled()) << "no report window yet";
    CReportFrame *report = openFromPane();
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(frame->MdiArea()->currentSubWindow(), report);
    EXPECT_EQ(frame->ActiveChildKind(), CMainFrame::ChildReport);
    EXPECT_EQ(report->windowTitle(), QStringLiteral("Rapport d'Anne"));
    EXPECT_FALSE(report->Stamp().isEmpty());
    EXPECT_GE(report->View()->Grid()->RowCount(), 2);
    // The settings and a new report come with the report wizard; printing
    // lays the pages out from the data too.
    for (int id : {32815, 32832, 32875, 32818, 32803, 57600, 57607})
        EXPECT_TRUE(frame->Commands().Action(id)->isEnabled()) << id;
    // A second open of the same report shows its window again.
    app->OpenReport(annes, false, 2, false);
    EXPECT_EQ(reports().size(), 1);

    // Refresh from the main toolbar builds it again: a new entry shows.
    {
        CBdD db(databaseOf(QStringLiteral("Anne")));
        const qint64 start = QDateTime(QDate(2024, 3, 2), QTime(9, 0)).toSecsSinceEpoch();
        db.Execute(Platform::Formatter::sprintf(
            u"insert into Taches (Id, Debut, Fin, IdProjet, IdActivite, Facture, IdTauxHoraire, Deleted, "
            u"Title, Notes) values (2, %I64d, %I64d, -1, -1, 0, -1, 0, '', '')",
            {start, start + 60}));
    }
    const int before = report->View()->Grid()->RowCount();
    frame->Commands().Action(32815)->trigger();
    EXPECT_GT(report->View()->Grid()->RowCount(), before);
}

TEST_F(ReportWindowsTest, ANewReportStartsInItsSettings)
{
    CReportFrame *first = openFromPane();
    ASSERT_NE(first, nullptr);
    DialogAnswers<CWizardDialog> answers;
    // Annuler: no new window, the report shown before is active again.
    answers.Push(QDialog::Rejected);
    frame->Commands().Action(57600)->trigger();
    EXPECT_EQ(answers.Asked(), 1);
    EXPECT_EQ(reports().size(), 1);
    EXPECT_EQ(frame->MdiArea()->currentSubWindow(), first);
    EXPECT_TRUE(first->isMaximized());

    // Terminer: the new report is built in a window of its own.
    answers.Push([](CWizardDialog &wizard) {
        wizard.accept();
        return wizard.result();
    });
    frame->Commands().Action(57600)->trigger();
    ASSERT_EQ(reports().size(), 2);
    CReportFrame *made = reports().last();
    EXPECT_EQ(frame->MdiArea()->currentSubWindow(), made);
    EXPECT_EQ(made->Definition().Id, -1);
    EXPECT_FALSE(made->Stamp().isEmpty());
    EXPECT_GE(made->View()->Grid()->RowCount(), 2);

    // The settings of an open report: Terminer builds it again.
    answers.Push([](CWizardDialog &wizard) {
        wizard.accept();
        return wizard.result();
    });
    frame->Commands().Action(32803)->trigger();
    EXPECT_EQ(answers.Asked(), 3);
    EXPECT_TRUE(made->Definition().Modified);
}

TEST_F(ReportWindowsTest, RenamedColumnsRelabelTheOpenReports)
{
    CReportFrame *report = openFromPane();
    ASSERT_NE(report, nullptr);
    ASSERT_TRUE(frame->Commands().Action(32977)->isEnabled());
    // The first column the report shows, renamed for every report.
    int position = 0;
    const tReportColumn *shown = report->Definition().Columns.NextShown(position);
    ASSERT_NE(shown, nullptr);
    const int kind = shown->Kind;
    DialogAnswers<CDlgColumn> answers;
    answers.Push([kind](CDlgColumn &chooser) {
        EXPECT_FALSE(chooser.IsReportMode());
        for (int row = 0; row < chooser.List()->topLevelItemCount(); ++row) {
            if (chooser.List()->topLevelItem(row)->data(0, Qt::UserRole).toInt() == kind)
                chooser.Rename(row, QStringLiteral("Renommée"));
        }
        chooser.OnOk();
        return chooser.result();
    });
    frame->Commands().Action(32977)->trigger();
    EXPECT_EQ(answers.Asked(), 1);
    EXPECT_EQ(GetReportColumnCaptionOverride(kind), QStringLiteral("Renommée"));
    EXPECT_TRUE(Platform::Settings().contains(u"Colonnes", GetReportColumnKey(kind), u"Name"));
    EXPECT_TRUE(report->View()->Model().GetColumnCaptions().contains(QStringLiteral("Renommée")));
    SetReportColumnOverride(kind, QString(), -1);
}

TEST_F(ReportWindowsTest, ClosingTheProgramAsksAChangedReportAndCancelKeepsItOpen)
{
    CReportFrame *report = openFromPane();
    ASSERT_NE(report, nullptr);
    report->Definition().Modified = true;
    clearBoxes();
    answers->Push(MessageBoxAnswer::Cancel);
    EXPECT_FALSE(frame->close());
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text,
              Platform::Formatter::sprintf(Platform::Texts::get(330), {QStringLiteral("Rapport d'Anne")}));
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(reports().size(), 1);

    // No closes the program without saving; the report is on screen at
    // the next start.
    answers->Push(MessageBoxAnswer::No);
    restart();
    ASSERT_EQ(reports().size(), 1);
    EXPECT_EQ(reports()[0]->Definition().Id, annes);
}

// Affichage > Journée, Semaine and Mois (and their toolbar buttons) with a
// report in front: the calendar comes forward, its tab scrolled into view
// in a full tab bar, and shows that view.
TEST_F(ReportWindowsTest, TheViewCommandsBringTheCalendarForwardInThatView)
{
    auto *calendar = qobject_cast<CChildFrame *>(frame->CalendarFrame());
    ASSERT_NE(calendar, nullptr);
    auto *tabs = frame->MdiArea()->findChild<QTabBar *>();
    ASSERT_NE(tabs, nullptr);
    const auto calendarTab = [&] { return int(frame->MdiArea()->subWindowList().indexOf(calendar)); };
    ASSERT_GE(calendarTab(), 0);

    // Enough reports to fill the tab bar, the last one in front.
    QList<QWidget *> opened;
    for (int i = 0; i < 8; ++i) {
        const int id = saveReport(QStringLiteral("Anne"), QStringLiteral("Rapport %1").arg(i));
        opened << app->OpenReport(id, false, 2, false);
        ASSERT_NE(opened.last(), nullptr);
    }
    frame->resize(700, 600);
    QApplication::processEvents();
    auto *report = qobject_cast<QMdiSubWindow *>(opened.last());
    ASSERT_NE(report, nullptr);
    const struct
    {
        int command;
        int view;
    } cases[] = {{32800, CChildFrame::DayView},
                 {32802, CChildFrame::MonthView},
                 {32801, CChildFrame::WeekView},
                 {32802, CChildFrame::MonthView}};
    for (const auto &c : cases) {
        frame->MdiArea()->setActiveSubWindow(report);
        report->widget()->setFocus();
        QApplication::processEvents();
        ASSERT_EQ(frame->MdiArea()->currentSubWindow(), report);
        ASSERT_FALSE(tabs->rect().contains(tabs->tabRect(calendarTab()))) << "the bar is full";
        QAction *action = frame->Commands().Action(c.command);
        ASSERT_TRUE(action->isEnabled());
        action->trigger();
        QApplication::processEvents();
        EXPECT_EQ(frame->MdiArea()->currentSubWindow(), calendar) << c.command;
        EXPECT_EQ(calendar->ViewType(), c.view);
        EXPECT_TRUE(action->isChecked());
        EXPECT_TRUE(calendar->ShownView()->isVisible());
        EXPECT_EQ(tabs->currentIndex(), calendarTab());
        EXPECT_TRUE(tabs->rect().contains(tabs->tabRect(calendarTab()))) << "the calendar's tab in view";
        EXPECT_EQ(tabs->tabText(calendarTab()), calendar->windowTitle());
        EXPECT_FALSE(calendar->windowTitle().isEmpty());
    }
}

// A changed report whose data changed since its build: closing the
// program asks to save it and nothing else, neither when it is brought
// forward to be asked nor when the timer ticks while the question is open
// or once the program has the user's consent.
TEST_F(ReportWindowsTest, ClosingWithAStaleChangedReportAsksOnlyToSaveIt)
{
    CReportFrame *report = openFromPane();
    ASSERT_NE(report, nullptr);
    auto *refreshTimer = report->findChild<QTimer *>(QString::number(CReportFrame::RefreshTimerId));
    ASSERT_NE(refreshTimer, nullptr);
    report->Definition().Modified = true;
    const QString saveQuestion =
        Platform::Formatter::sprintf(Platform::Texts::get(330), {QStringLiteral("Rapport d'Anne")});
    bool timerStarted = true;
    // The calendar in front and the report's data changed; the question
    // waits while the main window's timer ticks.
    const auto staleBehindTheCalendar = [&] {
        CAppData::DataChangedNotifier().Send(CDataChangedNotifier::TimeEntries, 0);
        ASSERT_TRUE(report->HasDataChanged());
        frame->MdiArea()->setActiveSubWindow(frame->CalendarFrame());
        QApplication::processEvents();
        clearBoxes();
        timerStarted = true;
    };
    const auto whileAsked = [&] {
        timerStarted = refreshTimer->isActive();
        frame->Views().CheckActiveReport();
    };

    staleBehindTheCalendar();
    answers->PushAfter(whileAsked, MessageBoxAnswer::Cancel);
    EXPECT_FALSE(frame->close());
    EXPECT_FALSE(timerStarted) << "brought forward to be asked, the report offers no refresh";
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, saveQuestion);
    // Kept open by Annuler, the report offers the refresh at the next tick.
    ASSERT_EQ(frame->MdiArea()->currentSubWindow(), report);
    clearBoxes();
    answers->Push(MessageBoxAnswer::No);
    frame->Views().CheckActiveReport();
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, Platform::Texts::get(433));

    staleBehindTheCalendar();
    answers->PushAfter(whileAsked, MessageBoxAnswer::No);
    EXPECT_TRUE(frame->close());
    EXPECT_FALSE(timerStarted);
    // A tick after the consent, before the program has gone.
    frame->Views().CheckActiveReport();
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, saveQuestion);
}

TEST_F(ReportWindowsTest, TheReportsOnScreenComeBackAfterAStartAndAUserSwitch)
{
    ASSERT_NE(openFromPane(), nullptr);
    restart();
    ASSERT_EQ(reports().size(), 1);
    CReportFrame *report = reports()[0];
    // Reopened as restored: built once the application is ready and its
    // window the current one.
    QTest::qWait(100);
    EXPECT_FALSE(report->IsRestorePending());
    EXPECT_FALSE(report->Stamp().isEmpty());

    ASSERT_TRUE(app->SwitchUser(bob));
    QTest::qWait(100);
    ASSERT_EQ(reports().size(), 1);
    EXPECT_EQ(reports()[0]->Definition().Id, bobs);
    EXPECT_EQ(reports()[0]->windowTitle(), QStringLiteral("Rapport de Bob"));
    EXPECT_EQ(reports()[0]->property("zoom").toInt(), 1);
    ASSERT_TRUE(app->SwitchUser(anne));
    QTest::qWait(100);
    ASSERT_EQ(reports().size(), 1);
    EXPECT_EQ(reports()[0]->Definition().Id, annes);
}

// Ctrl+P on a report shown as data prints its pages, as the print layout
// lays them out, and the window stays in the data; with nothing to print
// the command is greyed and the key does nothing.
TEST_F(ReportWindowsTest, CtrlPInTheDataPrintsTheReportsPages)
{
    // The interface language, whose folder holds the delivered templates.
    const tRegisteredLanguage french;
    const QString folder = TestFolders::file(QStringLiteral("printed"));
    ASSERT_TRUE(QDir().mkpath(folder));
    CReportPapers::Instance().SetPrinterSource([folder] {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(folder + QStringLiteral("/last.pdf"));
        return printer;
    });
    struct ResetPrinter
    {
        ~ResetPrinter() { CReportPapers::Instance().SetPrinterSource({}); }
    } reset;
    CReportFrame *report = openFromPane();
    ASSERT_NE(report, nullptr);
    ASSERT_FALSE(report->View()->IsPrintLayout());
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    EXPECT_TRUE(frame->Commands().Action(57607)->isEnabled());

    DialogAnswers<QPrintDialog> answers;
    QString file;
    bool pagesBehind = false;
    answers.Push([&](QPrintDialog &dialog) {
        file = dialog.printer()->outputFileName();
        pagesBehind = report->View()->IsPrintLayout() && report->View()->PageView()->PageCount() == dialog.maxPage();
        return int(QDialog::Accepted);
    });
    QTest::keyClick(frame, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(answers.Asked(), 1);
    EXPECT_TRUE(pagesBehind) << "the dialog prints the pages of the print layout";
    EXPECT_TRUE(file.startsWith(folder + u'/')) << qPrintable(file);
    ASSERT_TRUE(QFileInfo(file).isFile());
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(printed.contains(QStringLiteral("Alpha"))) << qPrintable(printed);
    EXPECT_FALSE(report->View()->IsPrintLayout()) << "back in the data";
    EXPECT_TRUE(report->View()->Grid()->isVisible());

    // A report that shows a message in place of its lines: greyed, and
    // Ctrl+P does nothing.
    report->View()->SetMessage(QStringLiteral("Rien"));
    CReportWindowHost::Of(*app)->UpdateCommandStates();
    EXPECT_FALSE(frame->Commands().Action(57607)->isEnabled());
    QTest::keyClick(frame, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(answers.Asked(), 1);
}

TEST_F(ReportWindowsTest, AReportClosedInPrintLayoutReopensThereAtItsZoom)
{
    CReportFrame *report = openFromPane();
    ASSERT_NE(report, nullptr);
    report->View()->OnCommand(CReportView::CmdPrintLayout);
    report->View()->OnCommand(CReportView::CmdOnePage);
    ASSERT_TRUE(report->View()->IsPrintLayout());
    // Printing comes with the print layout, on the main toolbar too.
    EXPECT_TRUE(frame->Commands().Action(57607)->isEnabled());
    restart();
    ASSERT_EQ(reports().size(), 1);
    report = reports()[0];
    QTRY_VERIFY(!report->IsRestorePending() && !report->Stamp().isEmpty());
    EXPECT_TRUE(report->View()->IsPrintLayout());
    EXPECT_EQ(report->View()->Zoom(), 1);
    EXPECT_GT(report->View()->PageView()->PageCount(), 0);
}

// The running program finds its print templates: the user's templates
// folder of the settings first, then the delivered ones of the interface
// language beside the program.
TEST_F(ReportWindowsTest, TheHostGivesTheTemplateFoldersInTheirOrder)
{
    const tRegisteredLanguage french;
    CReportWindowHost *host = CReportWindowHost::Of(*app);
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(host->UserTemplatesFolder(), dataFolder);
    EXPECT_TRUE(host->ProgramTemplatesFolder().endsWith(QStringLiteral("/Fra/Templates/")))
        << host->ProgramTemplatesFolder().toStdString();
    CReportTemplate delivered;
    ASSERT_EQ(delivered.Load(host->UserTemplatesFolder(), QStringLiteral("zarvo"), host->ProgramTemplatesFolder()),
              CReportTemplate::Loaded);
    EXPECT_TRUE(delivered.GetPath().startsWith(host->ProgramTemplatesFolder()));

    TestFolders::writeFile(QStringLiteral("data/zarvo.tpl"), "[Zarvo template, Version=4]\n");
    CReportTemplate own;
    ASSERT_EQ(own.Load(host->UserTemplatesFolder(), QStringLiteral("zarvo"), host->ProgramTemplatesFolder()),
              CReportTemplate::Loaded);
    EXPECT_EQ(own.GetVersion(), 4);
}

// "Afficher la tâche dans la vue calendrier" from a report's menu brings
// the calendar forward on the entry's day.
TEST_F(ReportWindowsTest, ShowingAnEntryInTheCalendarBringsTheCalendarForward)
{
    CReportFrame *report = openFromPane();
    ASSERT_NE(report, nullptr);
    CReportGrid *grid = report->View()->Grid();
    int row = -1;
    for (int r = 0; r < grid->RowCount() && row < 0; ++r)
        if (grid->Item(r) && grid->Item(r)->Item().EntryOf())
            row = r;
    ASSERT_GE(row, 0);
    grid->SetSelectedRow(row);
    grid->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(frame->MdiArea()->currentSubWindow(), report);
    report->View()->OnCommand(CReportView::CmdShowInCalendar);
    QApplication::processEvents();
    EXPECT_EQ(frame->MdiArea()->currentSubWindow(), frame->CalendarFrame());
    EXPECT_EQ(app->CurrentDate(), QDate(2024, 3, 1));
}

// One change to the database, one question, in the running program: with
// a report in front, a project's type changed in the project editor and a
// project copied with the copy dialog are each offered once, however many
// notices the change sends; after Non neither the main window's timer nor
// the report's activation offers it again. The next change is offered.
TEST_F(ReportWindowsTest, OneChangeIsOfferedOnceAndNonSilencesIt)
{
    const RecordEditorServices savedEditors = RecordEditorServices::Registered();
    const EntryDialogServices savedEntries = EntryDialogServices::Registered();
    struct Restore
    {
        const RecordEditorServices &editors;
        const EntryDialogServices &entries;
        ~Restore()
        {
            RecordEditorServices::Registered() = editors;
            EntryDialogServices::Registered() = entries;
        }
    } restore{savedEditors, savedEntries};
    RegisterRecordEditors(*app);
    CReportFrame *report = openFromPane();
    ASSERT_NE(report, nullptr);
    auto *refreshTimer = report->findChild<QTimer *>(QString::number(CReportFrame::RefreshTimerId));
    ASSERT_NE(refreshTimer, nullptr);
    const int alpha = app->ProjectStore().GetRoot()->GetChild(0)->ProjectId();
    DialogAnswers<CDlgForecast> editor;
    DialogAnswers<CDlgCopyProject> copier;
    // Alpha's type changed in the project editor (3 where it is 2, else 2).
    const auto changeType = [&] {
        editor.Push([](CDlgForecast &d) {
            d.TypeList()->setCurrentIndex(d.TypeList()->currentIndex() == 2 ? 3 : 2);
            d.OnOk();
            return d.result();
        });
        return app->Windows().editProject(alpha);
    };
    const struct
    {
        const char *what;
        std::function<bool()> change;
    } cases[] = {
        {"a project's type changed", changeType},
        {"a project copied",
         [&] {
             copier.Push([](CDlgCopyProject &d) {
                 d.OnCopy();
                 return d.result();
             });
             return app->Windows().copyProject(alpha, -1, -1, true);
         }},
        {"the same project's type changed again", changeType},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(frame->MdiArea()->currentSubWindow(), report);
        clearBoxes();
        answers->Push(MessageBoxAnswer::No);
        ASSERT_TRUE(c.change());
        QApplication::processEvents();
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].text, Platform::Texts::get(433));
        // The main window's timer, then the report brought forward again.
        frame->Views().CheckActiveReport();
        frame->MdiArea()->setActiveSubWindow(frame->CalendarFrame());
        QApplication::processEvents();
        frame->MdiArea()->setActiveSubWindow(report);
        QApplication::processEvents();
        EXPECT_FALSE(refreshTimer->isActive()) << "offered again on the report's activation";
        frame->Views().CheckActiveReport();
        EXPECT_EQ(boxes().size(), 1u);
    }
    EXPECT_EQ(answers->Remaining(), 0);
}
