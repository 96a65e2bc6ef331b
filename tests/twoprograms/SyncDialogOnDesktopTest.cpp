// The synchronisation dialog of the main program as a real process under a
// window manager (openbox on a display of its own): which window has the
// keyboard is the window manager's to say, which no offscreen test shows.
#include "CBdD.h"
#include "CUsers.h"
#include "DrivenProgram.h"
#include "MissingForOpenbox.h"
#include "QStringPrinter.h"
#include "Settings.h"
#include "TestEnvironment.h"
#include "tUsers.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

constexpr int SyncCommand = 32794;
// The dialog's "Synchroniser", the review's "Annuler".
constexpr int AnalyseButton = 1086;
constexpr int ReviewCancelButton = 1190;
constexpr const char *InstallKey = "[HKLM\\Software\\Apps\\Quellmark Zarvo]\r\nInstallDir=\\Program Files\\Zarvo\\\r\n";

class SyncDialogOnDesktop : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString root = TestEnvironment::currentRoot();
        const QString users = root + QStringLiteral("/users/");
        const QString data = root + QStringLiteral("/data/");
        const QString device = root + QStringLiteral("/Device");
        ASSERT_TRUE(QDir().mkpath(users + QStringLiteral("Anne")));
        ASSERT_TRUE(QDir().mkpath(data));
        ASSERT_TRUE(QDir().mkpath(device + QStringLiteral("/Program Files/Zarvo/Db")));
        {
            Platform::Settings settings;
            settings.setString(u"Config", u"Rep", u"Users", users);
            settings.setString(u"Config", u"Rep", u"Data", data);
            settings.setString(u"Synchronisation", u"", u"DeviceFolder", device);
            settings.setInt(u"Synchronisation", u"", u"Wmdc", 1);
            settings.sync();
        }
        CUsers all;
        tUsers anne;
        anne.Nom = QStringLiteral("Anne");
        ASSERT_EQ(all.AddUser(anne), CUsers::Done);
        {
            CBdD db(users + QStringLiteral("Anne/Zarvo.sdb"));
            ASSERT_TRUE(db.IsOpen());
        }
        tUsers selected;
        ASSERT_TRUE(all.SelectUser(anne.Id, selected));
        // Anne's device, with a project of its own to review.
        {
            CBdD db(device + QStringLiteral("/Program Files/Zarvo/Db/Zarvo.sdb"));
            ASSERT_TRUE(db.IsOpen());
            ASSERT_EQ(db.Execute(u"insert into Projets (Id,Nom,Parent,Deleted,Date_Modif,Origine_Modif) values "
                                 u"(33,'appareil',-1,0,1500,1)"),
                      0);
        }
        write(device + QStringLiteral("/registry.ini"), InstallKey);
        write(device + QStringLiteral("/Program Files/Zarvo/Id.txt"), "Anne");
    }
    static void write(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
};

// The main program started by openbox on a display of its own, as in a
// session; the display ends with it.
std::unique_ptr<DrivenProgram> underOpenbox(const QString &name)
{
    const QStringList arguments{
        QStringLiteral("-a"),
        QStringLiteral("-s"),
        QStringLiteral("-screen 0 1280x800x24"),
        QStringLiteral("openbox"),
        QStringLiteral("--sm-disable"),
        QStringLiteral("--startup"),
        QStringLiteral("sh -c '\"$0\"; openbox --exit' '%1'").arg(QStringLiteral(ZARVO_DRIVEN))};
    const QStringList environment{QStringLiteral("QT_QPA_PLATFORM=xcb"),
                                  QStringLiteral("DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent")};
    return std::make_unique<DrivenProgram>(QStringLiteral("xvfb-run"), name, arguments, environment);
}

} // namespace

// The review waits in the main window, which has the keyboard; "Annuler"
// there brings the dialog back with the keyboard: Escape goes to it and
// closes it, not to the main window.
TEST_F(SyncDialogOnDesktop, AnnulerInTheReviewGivesTheKeyboardBackToTheDialog)
{
    if (const std::string missing = MissingForOpenbox(); !missing.empty())
        GTEST_SKIP() << missing;
    const std::unique_ptr<DrivenProgram> main = underOpenbox(QStringLiteral("main-sync"));
    ASSERT_TRUE(main->Ready()) << main->Output().toStdString();
    ASSERT_EQ(main->WaitFor(QStringLiteral("active"), QStringLiteral("CMainFrame")), QStringLiteral("ok"));
    ASSERT_EQ(main->Ask(QStringLiteral("trigger %1").arg(SyncCommand)), QStringLiteral("ok"));
    ASSERT_EQ(main->WaitFor(QStringLiteral("active"), QStringLiteral("CConnexion")), QStringLiteral("ok"));

    // The analysis runs in its progress window, which the test lets run.
    ASSERT_EQ(main->Ask(QStringLiteral("hold")), QStringLiteral("ok"));
    ASSERT_EQ(main->Ask(QStringLiteral("later click %1").arg(AnalyseButton)), QStringLiteral("ok"));
    ASSERT_EQ(main->WaitFor(QStringLiteral("modal"), QStringLiteral("none")), QStringLiteral("ok"));
    ASSERT_EQ(main->Ask(QStringLiteral("release")), QStringLiteral("ok"));
    // The review is a tab of the main window, the dialog hidden meanwhile.
    ASSERT_EQ(main->WaitFor(QStringLiteral("active"), QStringLiteral("CMainFrame")), QStringLiteral("ok"));
    ASSERT_FALSE(main->Ask(QStringLiteral("windows")).contains(QStringLiteral("CConnexion")));

    ASSERT_EQ(main->Ask(QStringLiteral("click %1").arg(ReviewCancelButton)), QStringLiteral("ok"));
    EXPECT_EQ(main->WaitFor(QStringLiteral("active"), QStringLiteral("CConnexion")), QStringLiteral("ok"));
    // Escape where the keyboard goes: the dialog's Fermer.
    ASSERT_EQ(main->Ask(QStringLiteral("state press Escape")), QStringLiteral("ok"));
    EXPECT_FALSE(main->Ask(QStringLiteral("windows")).contains(QStringLiteral("CConnexion")));
    EXPECT_TRUE(main->Ask(QStringLiteral("windows")).contains(QStringLiteral("CMainFrame")));
}
