// The review of a device synchronisation as a tab of the running frame:
// opened through the frame's host, with the common toolbar groups only,
// and ended as "Annuler" by closing its tab, another user or the program's
// end.
#include "AppFixture.h"
#include "CMainFrame.h"
#include "CSynchroListCtrl.h"
#include "CViewDetailSynchro.h"
#include "CViewSynchro.h"
#include "ContextHelp.h"
#include "HelpTopics.h"
#include "CMyDockablePane.h"
#include "CmyDataBase.h"
#include "SyncReviewModel.h"
#include "tElement.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <vector>

namespace {

class SyncReviewTabTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        bob = addUser(QStringLiteral("Bob"));
        anne = addUser(QStringLiteral("Anne"));
        {
            CBdD db(databaseOf(QStringLiteral("Anne")));
            tElement kitchen;
            kitchen.Nom = QStringLiteral("Cuisine");
            kitchen.Commentaire = QStringLiteral("Refaire la cuisine et le cellier");
            kitchen.Type = 2;
            ASSERT_TRUE(db.SaveProject(&kitchen, nullptr));
            tElement bath;
            bath.Nom = QStringLiteral("Salle de bains");
            ASSERT_TRUE(db.SaveProject(&bath, nullptr));
        }
        // The device's copy: the same database, one project renamed there
        // later, another one new there.
        device = TestFolders::file(QStringLiteral("Ppc.sdb"));
        ASSERT_TRUE(QFile::copy(databaseOf(QStringLiteral("Anne")), device));
        SQLite::CmyDataBase db;
        ASSERT_EQ(db.Open(device), 0);
        ASSERT_EQ(db.Execute(u"update Projets set Nom='Cuisine et cellier', Date_Modif=Date_Modif+3600, "
                             u"Origine_Modif=0 where Nom='Cuisine';"
                             u"insert into Projets (Id, Nom, Parent, Type, Date_Modif, Origine_Modif, Deleted) "
                             u"values (9001, 'Garage', -1, 0, 4102444800, 0, 0)"),
                  0);
        db.Close();
        ASSERT_TRUE(app->InitInstance());
        frame = app->MainFrame();
        ASSERT_NE(frame, nullptr);
        frame->resize(1280, 800);
        frame->show();
    }

    // A review of Anne's database against the device's copy, open in its tab.
    QPointer<CViewSynchro> openReview()
    {
        auto *view = new CViewSynchro(frame);
        view->SetCancelHandler([this] { ++cancels; });
        QSignalSpy loaded(view, &CViewSynchro::differencesLoaded);
        EXPECT_TRUE(view->LoadDifferences(device, databaseOf(QStringLiteral("Anne"))));
        EXPECT_TRUE(loaded.wait(30000));
        view->Open();
        return view;
    }

    int anne = -1;
    int bob = -1;
    int cancels = 0;
    QString device;
    CMainFrame *frame = nullptr;
};

// Every warning Qt prints while it lives.
class WarningRecorder
{
public:
    WarningRecorder() { s_previous = qInstallMessageHandler(&WarningRecorder::record); }
    ~WarningRecorder() { qInstallMessageHandler(s_previous); }
    static QStringList &warnings()
    {
        static QStringList list;
        return list;
    }

private:
    static void record(QtMsgType type, const QMessageLogContext &context, const QString &text)
    {
        if (type == QtWarningMsg)
            warnings() << text;
        if (s_previous)
            s_previous(type, context, text);
    }
    static inline QtMessageHandler s_previous = nullptr;
};

} // namespace

TEST_F(SyncReviewTabTest, TheReviewIsATabOfTheDocumentAreaWithTheCommonToolbar)
{
    QPointer<CViewSynchro> view = openReview();
    ASSERT_TRUE(view);
    QMdiSubWindow *tab = frame->SyncReviewFrame();
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(tab->widget(), view.data());
    EXPECT_EQ(frame->MdiArea()->currentSubWindow(), tab);
    EXPECT_EQ(view->Count(), 2);
    EXPECT_EQ(tab->windowTitle(), u"Synchronisation (2 éléments)");
    EXPECT_EQ(frame->ActiveChildKind(), CMainFrame::ChildSynchro);
    // Neither the calendar's nor the reports' buttons.
    for (int calendarOrReport : {32849, 32850, 32803}) {
        QAction *button = frame->ToolBarAction(calendarOrReport);
        ASSERT_NE(button, nullptr) << calendarOrReport;
        EXPECT_FALSE(button->isVisible()) << calendarOrReport;
    }
    // The project types come from the application's pictures.
    const int row = 1;
    view->ShowElement(row);
    EXPECT_EQ(view->ElementPane(CViewSynchro::Local)->Kind(), 1);

    // A picture of the tab for a person to look at.
    const QImage shot = frame->grab().toImage();
    EXPECT_FALSE(shot.isNull());
    const QString keep = qEnvironmentVariable("ZARVO_SCREENSHOT_DIR");
    if (!keep.isEmpty())
        shot.save(keep + QStringLiteral("/sync-review-tab.png"));

    // A new comparison retitles the tab.
    QSignalSpy loaded(view.data(), &CViewSynchro::differencesLoaded);
    ASSERT_TRUE(view->LoadDifferences(databaseOf(QStringLiteral("Anne")), databaseOf(QStringLiteral("Anne"))));
    ASSERT_TRUE(loaded.wait(30000));
    EXPECT_EQ(tab->windowTitle(), u"Synchronisation (0 éléments)");

    // Another tab: the calendar's buttons come back.
    frame->MdiArea()->setActiveSubWindow(frame->CalendarFrame());
    EXPECT_NE(frame->ActiveChildKind(), CMainFrame::ChildSynchro);
    EXPECT_EQ(cancels, 0);
}

TEST_F(SyncReviewTabTest, ClosingTheTabIsCancel)
{
    QPointer<CViewSynchro> view = openReview();
    frame->SyncReviewFrame()->close();
    EXPECT_EQ(cancels, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(view);
    EXPECT_EQ(frame->SyncReviewFrame(), nullptr);

    // Its "Annuler" button closes the tab the same way.
    view = openReview();
    view->CancelButtonCtrl()->click();
    EXPECT_EQ(cancels, 2);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(view);

    // One review at a time: a second one ends the first.
    QPointer<CViewSynchro> first = openReview();
    QPointer<CViewSynchro> second = openReview();
    EXPECT_EQ(cancels, 3);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(first);
    ASSERT_TRUE(second);
    EXPECT_EQ(frame->SyncReviewFrame()->widget(), second.data());
}

TEST_F(SyncReviewTabTest, AnotherUserOrTheProgramsEndCancelsAnOpenReview)
{
    QPointer<CViewSynchro> view = openReview();
    ASSERT_TRUE(app->SwitchUser(bob));
    EXPECT_EQ(cancels, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(view);
    EXPECT_EQ(frame->SyncReviewFrame(), nullptr);

    view = openReview();
    frame->close();
    EXPECT_EQ(cancels, 2);
}

// F1 in the review opens the review's own page, once; and F1 in every pane
// around it and in the main window opens one page too: one F1 per context,
// never two that would make Qt find the key ambiguous and answer neither.
TEST_F(SyncReviewTabTest, F1OpensTheReviewsOwnPageOnceAndNoF1IsAmbiguous)
{
    std::vector<quint32> opened;
    ContextHelp::SetOpener([&opened](quint32 context) { opened.push_back(context); }, [] { return true; });
    app->UpdateCommandStates();
    WarningRecorder recorder;
    WarningRecorder::warnings().clear();

    QPointer<CViewSynchro> view = openReview();
    ASSERT_TRUE(view);
    QApplication::setActiveWindow(frame);
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    const auto pressF1 = [&opened](QWidget *on) {
        opened.clear();
        on->setFocus();
        QTest::keyClick(on, Qt::Key_F1);
        return opened;
    };
    EXPECT_EQ(pressF1(view->ListCtrl()), std::vector<quint32>{ContextHelp::DialogContext(CViewSynchro::DialogId)});
    EXPECT_EQ(pressF1(view->SynchroniseButtonCtrl()),
              std::vector<quint32>{ContextHelp::DialogContext(CViewSynchro::DialogId)});

    // The panes around it keep the help's first page, or their own.
    int panes = 0;
    for (QDockWidget *pane : frame->findChildren<QDockWidget *>()) {
        if (!pane->isVisible() || !pane->widget())
            continue;
        SCOPED_TRACE(pane->windowTitle().toStdString());
        QWidget *inside = pane->widget();
        for (QWidget *w : inside->findChildren<QWidget *>()) {
            if (w->isVisible() && (w->focusPolicy() & Qt::TabFocus)) {
                inside = w;
                break;
            }
        }
        EXPECT_EQ(pressF1(inside).size(), 1u) << inside->metaObject()->className();
        ++panes;
    }
    EXPECT_GE(panes, 3);
    // The main window itself: the help's first page.
    EXPECT_EQ(pressF1(frame), std::vector<quint32>{quint32(HelpTopics::ContentsTopic)});
    // Back in the review: its own page again.
    EXPECT_EQ(pressF1(view->ListCtrl()), std::vector<quint32>{ContextHelp::DialogContext(CViewSynchro::DialogId)});
    for (const QString &warning : WarningRecorder::warnings())
        EXPECT_FALSE(warning.contains(QStringLiteral("Ambiguous"))) << warning.toStdString();
    ContextHelp::SetOpener({});
}
