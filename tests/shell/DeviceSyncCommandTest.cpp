// The device synchronisation as a user reaches it: Outils > "Synchroniser
// un Appareil Mobile" in the running frame, a device folder plugged in,
// the device associated, the analysis, a decision clicked in the review's
// tab, the run, and what the main window does once the dialog closes.
#include "AppFixture.h"
#include "CAnnulation.h"
#include "CCommandTable.h"
#include "CConnexion.h"
#include "CDlgSynchro.h"
#include "CLanguageSelector.h"
#include "CMainFrame.h"
#include "CPaneUser.h"
#include "CSynchroListCtrl.h"
#include "CViewSynchro.h"
#include "CViewUsers.h"
#include "DialogAnswers.h"
#include "ShellWindows.h"
#include "SyncReviewModel.h"
#include "SyncReviewRules.h"
#include "SyncRunAnswers.h"
#include "Texts.h"
#include "tElement.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTest>

namespace {

constexpr const char *InstallKey = "[HKLM\\Software\\Apps\\Quellmark Zarvo]\r\nInstallDir=\\Program Files\\Zarvo\\\r\n";

class DeviceSyncCommandTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        Platform::Clock::setFixedNow(1'700'000'000);
        CConnexion::SetMinimumAnalysisTime(0);
        root = TestFolders::file(QStringLiteral("Device"));
        Platform::Settings().setString(u"Synchronisation", u"", u"DeviceFolder", root);
        Platform::Settings().setInt(u"Synchronisation", u"", u"Wmdc", 1);
        addUser(QStringLiteral("Bob"));
        addUser(QStringLiteral("Anne"));
        {
            CBdD db(databaseOf(QStringLiteral("Anne")));
            tElement kitchen;
            kitchen.Nom = QStringLiteral("Cuisine");
            ASSERT_TRUE(db.SaveProject(&kitchen, nullptr));
        }
        CLanguageSelector::SetApplication(&languages);
        RegisterShellWindows(*app, languages);
        ASSERT_TRUE(app->InitInstance());
        app->Configuration().backupSynchro = false;
        frame = app->MainFrame();
        ASSERT_NE(frame, nullptr);
        frame->resize(1280, 800);
        frame->show();
    }
    void TearDown() override
    {
        AppFixture::TearDown();
        CLanguageSelector::SetApplication(nullptr);
    }

    // The device: Anne's database as it was, with a project of its own.
    void plug(CConnexion &dialog)
    {
        deviceDb = root + QStringLiteral("/Program Files/Zarvo/Db/Zarvo.sdb");
        QDir().mkpath(QFileInfo(deviceDb).absolutePath());
        TestFolders::writeFile(QStringLiteral("Device/registry.ini"), InstallKey);
        {
            CBdD device(deviceDb);
            ASSERT_TRUE(device.IsOpen());
            ASSERT_EQ(device.Execute(QStringLiteral("insert into Projets (Id, Nom, Parent, Type, Date_Modif, "
                                                    "Origine_Modif, Deleted) values (9001, 'Garage', -1, 0, "
                                                    "1600000000, 1, 0)")),
                      0);
        }
        dialog.OnDeviceNotice(0);
    }
    static CConnexion *openDialog()
    {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (auto *dialog = qobject_cast<CConnexion *>(widget); dialog && dialog->isVisible())
                return dialog;
        }
        return nullptr;
    }
    static int countDialogs()
    {
        int count = 0;
        for (QWidget *widget : QApplication::topLevelWidgets())
            count += qobject_cast<CConnexion *>(widget) != nullptr;
        return count;
    }
    static QString json(const QString &path, const QString &sql)
    {
        QProcess process;
        process.start(QStringLiteral("sqlite3"), {QStringLiteral("-json"), path, sql});
        EXPECT_TRUE(process.waitForFinished(60000));
        return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    }
    QAction *command(int id) const { return frame->Commands().Action(id); }

    CLanguageSelector languages;
    CMainFrame *frame = nullptr;
    QString root;
    QString deviceDb;
};

} // namespace

TEST_F(DeviceSyncCommandTest, FromTheMenuToBothDatabasesAlike)
{
    // The after-steps reload the database and refresh the windows once.
    int reloads = 0;
    app->Frame().refreshAfterChange = [this, &reloads] {
        ++reloads;
        app->RefreshAfterChange(false, false);
    };
    // Something to undo in the main window, which the run empties.
    {
        CBdD db;
        tElement living;
        living.Nom = QStringLiteral("Salon");
        ASSERT_TRUE(db.SaveProject(&living, nullptr));
    }
    ASSERT_TRUE(app->Annulation().CanUndo());
    QAction *sync = command(32794);
    ASSERT_NE(sync, nullptr);
    ASSERT_TRUE(sync->isEnabled());
    sync->trigger();
    QPointer<CConnexion> dialog = openDialog();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(app->IsDeviceSyncOpen());

    plug(*dialog);
    auto *combo = static_cast<QComboBox *>(dialog->Control(CConnexion::UsersCombo));
    combo->setCurrentIndex(combo->findText(QStringLiteral("Anne")));
    QTest::mouseClick(dialog->Control(CConnexion::AssociateButton), Qt::LeftButton);
    ASSERT_TRUE(dialog->Control(CConnexion::SynchroniseButton)->isEnabled());
    QTest::mouseClick(dialog->Control(CConnexion::SynchroniseButton), Qt::LeftButton);

    // The review is the frame's tab; the dialog waits hidden.
    ASSERT_TRUE(dialog->ReviewPending());
    CViewSynchro *review = dialog->Review();
    ASSERT_NE(frame->SyncReviewFrame(), nullptr);
    EXPECT_EQ(frame->SyncReviewFrame()->widget(), review);
    EXPECT_TRUE(dialog->isHidden());
    // The command again brings the open synchronisation forward: the tab.
    frame->MdiArea()->setActiveSubWindow(frame->CalendarFrame());
    sync->trigger();
    EXPECT_EQ(countDialogs(), 1);
    EXPECT_EQ(frame->MdiArea()->currentSubWindow(), frame->SyncReviewFrame());

    // The device's new project is refused with a click on its delete icon.
    const SyncReviewList &list = review->List();
    int garage = -1;
    for (int row = 0; row < list.Count(); ++row) {
        if (list.Item(row) && list.Item(row)->kind == CBdD::TableProjets && list.Item(row)->deviceId == 9001)
            garage = row;
    }
    ASSERT_GE(garage, 0);
    CSynchroListCtrl *listCtrl = review->ListCtrl();
    const QRect cell = listCtrl->visualRect(listCtrl->Model()->index(garage, SyncReviewModel::Action));
    QTest::mouseClick(listCtrl->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(SyncReviewRules::IconLeft(cell.left(), cell.width(), SyncItem::Delete)
                                 + SyncReviewRules::IconSize / 2,
                             cell.center().y()));
    ASSERT_EQ(list.Item(garage)->action, SyncItem::Delete);

    DialogAnswers<CDlgSynchro> runs;
    SyncRun::Outcome outcome = SyncRun::Outcome::Failed;
    LetTheNextRunEnd(runs, outcome);
    QTest::mouseClick(review->SynchroniseButtonCtrl(), Qt::LeftButton);
    EXPECT_EQ(outcome, SyncRun::Outcome::Succeeded);
    EXPECT_FALSE(dialog->ReviewPending());
    EXPECT_TRUE(dialog->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frame->SyncReviewFrame(), nullptr);

    const QString local = databaseOf(QStringLiteral("Anne"));
    const QString rows = "select Id, Nom, Deleted, Origine_Modif from Projets order by Id";
    EXPECT_EQ(json(local, rows), json(deviceDb, rows));
    EXPECT_TRUE(json(local, rows).contains("\"Nom\":\"Cuisine\""));
    EXPECT_FALSE(json(local, "select Id from Projets where Id=9001 and Deleted=0").contains("9001"));
    EXPECT_EQ(json(local, "select count(*) n from Projets where Origine_Modif<>0"), "[{\"n\":0}]");
    EXPECT_EQ(static_cast<QLabel *>(dialog->Control(CConnexion::IdenticalText))->text(), Platform::Texts::get(245));
    EXPECT_FALSE(app->Annulation().CanUndo());
    EXPECT_EQ(reloads, 0);

    // Closing the dialog: the main window follows the replaced database,
    // the users pane tells when it was synchronised, the network update
    // may replace the database again.
    QTest::mouseClick(dialog->Control(CConnexion::CloseButton), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(dialog);
    EXPECT_FALSE(app->IsDeviceSyncOpen());
    EXPECT_EQ(reloads, 1);
    ASSERT_NE(frame->UsersPane(), nullptr);
    EXPECT_TRUE(frame->UsersPane()->View()->FirstLineLabel()->text().startsWith(Platform::Texts::get(209)))
        << frame->UsersPane()->View()->FirstLineLabel()->text().toStdString();
}
