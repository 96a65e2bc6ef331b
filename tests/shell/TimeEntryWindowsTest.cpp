// The time-entry dialogs as the application's windows: the pause command
// opens the list of running entries, the add command the entry dialog.
#include "AppFixture.h"
#include "CCommandTable.h"
#include "CMainFrame.h"
#include "CDlgListEnCours.h"
#include "CDlgTask.h"
#include "CListeTache.h"
#include "DialogAnswers.h"
#include "EntryDialogServices.h"
#include "TimeEntryWindows.h"
#include "tElement.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QTest>

namespace {

class TimeEntryWindowsTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        Platform::Clock::setFixedNow(Now);
        addUser(QStringLiteral("Anne"));
        // Two entries running when the program starts.
        for (int id : {300, 303})
            exec(QStringLiteral("insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,IdTauxHoraire,Facture,"
                                "Deleted,Title,Notes,Date_Modif,Origine_Modif) values "
                                "(%1,%2,0,-1,-1,-1,0,0,'','',0,2)")
                     .arg(id)
                     .arg(Now - 3600 + id));
        RegisterTimeEntryWindows(*app);
        // As at a real start, the selected user is read by the start-up.
        app->Users().Clear();
        ASSERT_TRUE(app->InitInstance()); // the real main frame
    }
    void TearDown() override
    {
        EntryDialogServices::Registered() = EntryDialogServices();
        AppFixture::TearDown();
    }
    QAction *command(int id) const { return app->MainFrame()->Commands().Action(id); }
    static QString cell(QStringView sql)
    {
        CBdD db;
        SQLite::MyTablePtr t = db.Query(sql);
        return t.hasRows() ? t->GetCell(0, 0) : QString();
    }
    static void exec(const QString &sql) { ASSERT_EQ(CBdD().Execute(sql), 0) << sql.toStdString(); }

    static constexpr qint64 Now = 1709629200; // Tuesday 5 March 2024, 10:00 in Paris
};

} // namespace

TEST_F(TimeEntryWindowsTest, PauseWithSeveralRunningEntriesOffersTheList)
{
    // Offered from the start, the user's database read.
    ASSERT_TRUE(command(32921)->isEnabled());
    EXPECT_FALSE(command(32920)->isEnabled());
    DialogAnswers<CDlgListEnCours> answers;
    int cards = 0;
    answers.Push([&cards](CDlgListEnCours &list) {
        cards = int(list.List()->Cards().size());
        EXPECT_EQ(list.parentWidget(), CZarvoWinApp::Instance()->MainWindow());
        QTest::mouseClick(static_cast<QAbstractButton *>(list.Control(CDlgListEnCours::IdEndAll)), Qt::LeftButton);
        return list.result();
    });
    command(32921)->trigger();
    EXPECT_EQ(answers.Asked(), 1);
    EXPECT_EQ(cards, 2);
    EXPECT_EQ(cell(u"select group_concat(Fin) from Taches"), QStringLiteral("%1,%1").arg(Now));
    EXPECT_FALSE(command(32921)->isEnabled());
}

TEST_F(TimeEntryWindowsTest, AddingATaskOpensTheEntryDialog)
{
    tElement project;
    project.Nom = QStringLiteral("Chantier");
    {
        CBdD db;
        ASSERT_TRUE(db.SaveProject(&project, nullptr));
        db.LoadProjects(-1, nullptr);
    }
    DialogAnswers<CDlgTask> answers;
    tTacheFull shown;
    answers.Push([&shown, &project](CDlgTask &dialog) {
        shown = dialog.Entry();
        EXPECT_EQ(dialog.Mode(), CDlgTask::EditMode);
        // The project shows its type's picture, as in the project pane.
        const auto *projects = qobject_cast<QComboBox *>(dialog.Control(CDlgTask::IdProject));
        const int item = projects ? projects->findData(project.Id) : -1;
        EXPECT_GE(item, 1);
        EXPECT_FALSE(item >= 1 && projects->itemIcon(item).isNull());
        return QDialog::Rejected;
    });
    command(32938)->trigger();
    EXPECT_EQ(answers.Asked(), 1);
    EXPECT_EQ(shown.Id, -1);
    EXPECT_EQ(shown.Debut, Now);
    EXPECT_EQ(shown.Fin, 0);
    EXPECT_EQ(cell(u"select count(*) from Taches"), QStringLiteral("2"));
}
