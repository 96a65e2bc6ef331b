// The tray program as a real process on the desktops it meets: with and
// without a notification area, it ends when the user, the session or a
// copy started for it asks, with what was open kept for the next start;
// under a window manager its whole frame lies on the screen.
#include "CBdD.h"
#include "CUsers.h"
#include "ChildProcess.h"
#include "CmyDataBase.h"
#include "DrivenProgram.h"
#include "MissingForOpenbox.h"
#include "PrivateSessionBus.h"
#include "QStringPrinter.h"
#include "Settings.h"
#include "TestEnvironment.h"
#include "tUsers.h"

#include <QDateTime>
#include <QDir>
#include <QPoint>
#include <QProcess>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// Commands of the tray: the Infos window, Quitter.
constexpr int ShowInfos = 33109;
constexpr int Quitter = 33087;

class TrayOnDesktops : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(makeUser(QStringLiteral("Anne"))); }

    // The selected user `name` and the database of their own.
    void makeUser(const QString &name)
    {
        const QString users = TestEnvironment::currentRoot() + QStringLiteral("/users/");
        ASSERT_TRUE(QDir().mkpath(users + name));
        {
            Platform::Settings settings;
            settings.setString(u"Config", u"Rep", u"Users", users);
            settings.sync();
        }
        CUsers all;
        tUsers user;
        user.Nom = name;
        ASSERT_EQ(all.AddUser(user), CUsers::Done);
        path = users + name + QStringLiteral("/Zarvo.sdb");
        {
            CBdD db(path);
            ASSERT_TRUE(db.IsOpen());
        }
        tUsers selected;
        ASSERT_TRUE(all.SelectUser(user.Id, selected));
    }
    // The environment of a tray that believes in a notification area, or
    // that has none (offscreen shows none).
    static QStringList area(bool notificationArea)
    {
        return notificationArea ? QStringList{QStringLiteral("ZARVO_TEST_NOTIFICATION_AREA=1")} : QStringList{};
    }
    static int setting(const char16_t *section, const char16_t *name)
    {
        return Platform::Settings().getInt(u"Tray", section, name, -1);
    }
    static const char *kind(bool notificationArea)
    {
        return notificationArea ? "with a notification area" : "without a notification area";
    }
    // A driver's name of its own for each program a test starts.
    static QString named(const char *name, bool notificationArea)
    {
        return QString::fromLatin1(name) + (notificationArea ? QStringLiteral("-area") : QStringLiteral("-none"));
    }

    QString path;
};

} // namespace

// Quitter in the icon's menu ends the program on both kinds of desktop,
// the Infos window recorded as open; the next start shows it again.
TEST_F(TrayOnDesktops, QuitterEndsTheTrayAndWhatWasOpenComesBack)
{
    for (bool notificationArea : {false, true}) {
        SCOPED_TRACE(kind(notificationArea));
        {
            DrivenProgram tray(QStringLiteral(TRAY_DRIVEN), named("tray", notificationArea), {QStringLiteral("-v")},
                               area(notificationArea));
            ASSERT_TRUE(tray.Ready()) << tray.Output().toStdString();
            ASSERT_EQ(tray.Ask(QStringLiteral("window")), QStringLiteral("shown"));
            ASSERT_EQ(tray.Ask(QStringLiteral("menu %1").arg(ShowInfos)), QStringLiteral("ok"));
            ASSERT_EQ(tray.WaitFor(QStringLiteral("infos"), QStringLiteral("1")), QStringLiteral("ok"));
            ASSERT_EQ(tray.Ask(QStringLiteral("menu %1").arg(Quitter)), QStringLiteral("ok"));
            ASSERT_TRUE(tray.EndsWith(0, "Quitter in the icon's menu"));
        }
        EXPECT_EQ(setting(u"PopupInfos", u"Visible"), 1);
        EXPECT_EQ(setting(u"Dialog", u"Visible"), 1);

        // Started again without "-v": the window and the Infos window as
        // they were.
        DrivenProgram again(QStringLiteral(TRAY_DRIVEN), named("again", notificationArea), {}, area(notificationArea));
        ASSERT_TRUE(again.Ready()) << again.Output().toStdString();
        EXPECT_EQ(again.WaitFor(QStringLiteral("infos"), QStringLiteral("1")), QStringLiteral("ok"));
        EXPECT_EQ(again.Ask(QStringLiteral("window")), QStringLiteral("shown"));
        // Closed by the user, it stays closed.
        ASSERT_EQ(again.Ask(QStringLiteral("menu %1").arg(ShowInfos)), QStringLiteral("ok"));
        ASSERT_EQ(again.WaitFor(QStringLiteral("infos"), QStringLiteral("0")), QStringLiteral("ok"));
        ASSERT_EQ(again.Ask(QStringLiteral("menu %1").arg(Quitter)), QStringLiteral("ok"));
        ASSERT_TRUE(again.EndsWith(0, "Quitter in the icon's menu"));
        EXPECT_EQ(setting(u"PopupInfos", u"Visible"), 0);
    }
}

// "ZarvoTray --quit" ends the copy that runs, on both kinds of desktop, and
// ends at once itself; with none running it starts none.
TEST_F(TrayOnDesktops, ACopyStartedToQuitEndsTheRunningOne)
{
    for (bool notificationArea : {false, true}) {
        SCOPED_TRACE(kind(notificationArea));
        {
            // The Infos window closed at start, opened by the test.
            Platform::Settings settings;
            settings.setInt(u"Tray", u"PopupInfos", u"Visible", 0);
            settings.sync();
        }
        DrivenProgram tray(QStringLiteral(TRAY_DRIVEN), named("tray", notificationArea), {}, area(notificationArea));
        ASSERT_TRUE(tray.Ready()) << tray.Output().toStdString();
        ASSERT_EQ(tray.Ask(QStringLiteral("menu %1").arg(ShowInfos)), QStringLiteral("ok"));
        ASSERT_EQ(tray.WaitFor(QStringLiteral("infos"), QStringLiteral("1")), QStringLiteral("ok"));
        ChildProcess second;
        second.Process().setProcessChannelMode(QProcess::ForwardedChannels);
        second.Start(QStringLiteral(TRAY_PROGRAM), {QStringLiteral("--quit")});
        ASSERT_TRUE(second.EndsWith(0, "its start with \"--quit\""));
        ASSERT_TRUE(tray.EndsWith(0, "a copy started with \"--quit\""));
        EXPECT_EQ(setting(u"PopupInfos", u"Visible"), 1);
    }
    // Nothing to end: the copy asked to quit ends without showing anything.
    DrivenProgram alone(QStringLiteral(TRAY_DRIVEN), QStringLiteral("alone"), {QStringLiteral("--quit")});
    EXPECT_TRUE(alone.EndsWith(0, "its start with \"--quit\" while none ran"));
}

// The session's end, told as logind tells it: the running entry ends with
// a record for the next start, and the program ends on both kinds of
// desktop.
TEST_F(TrayOnDesktops, TheSessionsEndEndsTheRunningEntryAndTheTray)
{
    PrivateSessionBus bus;
    if (bus.Address().isEmpty())
        GTEST_SKIP() << "dbus-daemon is not installed";
    for (bool notificationArea : {false, true}) {
        SCOPED_TRACE(kind(notificationArea));
        const int id = notificationArea ? 102 : 101;
        const qint64 start = QDateTime::currentSecsSinceEpoch() - 3600;
        {
            SQLite::CmyDataBase db;
            ASSERT_EQ(db.Open(path), 0);
            ASSERT_EQ(db.Execute(QStringLiteral("insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,Facture,"
                                                "IdTauxHoraire,Date_Modif,Origine_Modif,Deleted,Title,Notes) values "
                                                "(%1,%2,0,-1,-1,0,-1,%2,1,0,'','')")
                                     .arg(id)
                                     .arg(start)),
                      0);
        }
        QStringList environment = area(notificationArea);
        environment << QStringLiteral("DBUS_SESSION_BUS_ADDRESS=") + bus.Address()
                    << QStringLiteral("ZARVO_POWER_BUS=session");
        DrivenProgram tray(QStringLiteral(TRAY_DRIVEN), named("tray", notificationArea), {}, environment);
        ASSERT_TRUE(tray.Ready()) << tray.Output().toStdString();
        ASSERT_EQ(tray.WaitFor(QStringLiteral("last"), QStringLiteral("%1 %2 0").arg(id).arg(start)),
                  QStringLiteral("ok"));
        QProcess send;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.Address());
        send.setProcessEnvironment(env);
        send.start(QStringLiteral("dbus-send"),
                   {QStringLiteral("--session"), QStringLiteral("--type=signal"), QStringLiteral("/org/freedesktop/login1"),
                    QStringLiteral("org.freedesktop.login1.Manager.PrepareForShutdown"), QStringLiteral("boolean:true")});
        ASSERT_TRUE(send.waitForFinished(DrivenProgram::Patience));
        ASSERT_EQ(send.exitCode(), 0);
        ASSERT_TRUE(tray.EndsWith(0, "the session's end (PrepareForShutdown)"));
        SQLite::CmyDataBase db;
        db.OpenReadOnly(path);
        SQLite::MyTablePtr t = db.Query(QStringLiteral("select Fin from Taches where Id=%1").arg(id));
        ASSERT_TRUE(t.hasRows());
        EXPECT_NE(t->GetCell(0, 0), QStringLiteral("0")) << "the entry still runs";
        EXPECT_EQ(setting(u"StandBy", u"Task"), id);
        // The next start takes the entry up again (a short pause).
        DrivenProgram next(QStringLiteral(TRAY_DRIVEN), named("next", notificationArea), {}, area(notificationArea));
        ASSERT_TRUE(next.Ready()) << next.Output().toStdString();
        EXPECT_EQ(next.WaitFor(QStringLiteral("last"), QStringLiteral("%1 %2 0").arg(id).arg(start)),
                  QStringLiteral("ok"));
        EXPECT_EQ(setting(u"StandBy", u"Task"), -1);
    }
}

namespace {

// The tray started by openbox on a display of its own, `screen` wide and
// high, as in a session: openbox starts it once it manages the display, and
// ends when the tray has ended, which ends the display. No session bus: no
// notification area of the machine's own.
std::unique_ptr<DrivenProgram> underOpenbox(const char *screen, const QString &name, QStringList environment = {})
{
    const QStringList arguments{
        QStringLiteral("-a"),
        QStringLiteral("-s"),
        QStringLiteral("-screen 0 %1x24").arg(QLatin1String(screen)),
        QStringLiteral("openbox"),
        QStringLiteral("--sm-disable"),
        QStringLiteral("--startup"),
        QStringLiteral("sh -c '\"$0\"; openbox --exit' '%1'").arg(QStringLiteral(TRAY_DRIVEN))};
    environment << QStringLiteral("QT_QPA_PLATFORM=xcb") << QStringLiteral("DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent");
    return std::make_unique<DrivenProgram>(QStringLiteral("xvfb-run"), name, arguments, environment);
}

// The window's place and size as saved, and whether it shows at start.
void savePlacement(int left, int top, int width, int height, bool visible = false)
{
    Platform::Settings settings;
    settings.setInt(u"Tray", u"Dialog", u"Left", left);
    settings.setInt(u"Tray", u"Dialog", u"Top", top);
    settings.setInt(u"Tray", u"Dialog", u"Width", width);
    settings.setInt(u"Tray", u"Dialog", u"Height", height);
    settings.setInt(u"Tray", u"Dialog", u"Visible", visible ? 1 : 0);
    settings.sync();
}

} // namespace

// Under a window manager that frames the window (openbox, with no
// notification area), on a display of its own: with a user name no screen
// holds in a caption, and with a saved height beyond the screen, the whole
// frame lies within the work area once the window manager framed it.
TEST_F(TrayOnDesktops, UnderAWindowManagerTheWholeFrameLiesWithinTheWorkArea)
{
    if (const std::string missing = MissingForOpenbox(); !missing.empty())
        GTEST_SKIP() << missing;
    const QString longName(200, u'm');
    ASSERT_NO_FATAL_FAILURE(makeUser(longName));
    const struct
    {
        const char *name;
        const char *screen;
        QString user;
        int left, top, width, height;
    } cases[] = {
        {"a 200-character name, never placed", "1024x768", longName, 0, 0, 0, 0},
        {"a 200-character name, placed at the right", "1024x768", longName, 900, 300, 0, 0},
        {"a saved height beyond the screen", "800x600", QStringLiteral("Anne"), 100, 100, 300, 5000},
        {"a saved size beyond the screen, at its bottom right", "800x600", QStringLiteral("Anne"), 700, 500, 2000,
         3000},
        // Placed where the inside fits but its frame does not: the frame
        // the window manager adds pushes the inside down.
        {"a place whose inside alone fits, at the bottom", "800x600", QStringLiteral("Anne"), 550, 198, 249, 397},
    };
    int run = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ++run;
        savePlacement(c.left, c.top, c.width, c.height);
        {
            CUsers all;
            tUsers user;
            tUsers selected;
            ASSERT_TRUE(all.LoadUserByName(c.user, user));
            ASSERT_TRUE(all.SelectUser(user.Id, selected));
        }
        const std::unique_ptr<DrivenProgram> tray = underOpenbox(c.screen, QStringLiteral("tray-%1").arg(run));
        ASSERT_TRUE(tray->Ready()) << tray->Output().toStdString();
        ASSERT_EQ(tray->Ask(QStringLiteral("user")), c.user);
        EXPECT_EQ(tray->WaitFor(QStringLiteral("frame"), QStringLiteral("inside")), QStringLiteral("ok"));
        EXPECT_EQ(tray->WaitFor(QStringLiteral("window"), QStringLiteral("shown")), QStringLiteral("ok"));
    }
}

// A panel at the bottom of the screen whose notification area goes while
// it is hidden: minimised, then brought back by the user, it is a framed
// window whose frame lies within the work area, though the frame the panel
// did not have would push it below the screen. The window manager frames
// it while it is minimised, where the frame does not fit: the restore, with
// no move or resize of its own, places it. Each step waits for the state
// the window manager settled, not the one the program asked for: a window
// hidden before the program saw it mapped at start was mapped again by
// itself, and one restored before the window manager took it minimised
// stayed minimised.
TEST_F(TrayOnDesktops, APanelWhoseAreaWentComesBackFramedWithinTheWorkArea)
{
    if (const std::string missing = MissingForOpenbox(); !missing.empty())
        GTEST_SKIP() << missing;
    savePlacement(550, 600 - 397 - 2, 249, 397, true);
    const std::unique_ptr<DrivenProgram> tray =
        underOpenbox("800x600", QStringLiteral("tray-panel"), area(true));
    ASSERT_TRUE(tray->Ready()) << tray->Output().toStdString();
    ASSERT_EQ(tray->WaitFor(QStringLiteral("window"), QStringLiteral("shown")), QStringLiteral("ok"));
    ASSERT_EQ(tray->Ask(QStringLiteral("hide")), QStringLiteral("ok"));
    ASSERT_EQ(tray->WaitFor(QStringLiteral("window"), QStringLiteral("hidden")), QStringLiteral("ok"));
    ASSERT_EQ(tray->Ask(QStringLiteral("area off")), QStringLiteral("ok"));
    ASSERT_EQ(tray->Ask(QStringLiteral("poll")), QStringLiteral("ok"));
    ASSERT_EQ(tray->WaitFor(QStringLiteral("window"), QStringLiteral("minimised")), QStringLiteral("ok"));
    ASSERT_EQ(tray->WaitFor(QStringLiteral("framed"), QStringLiteral("1")), QStringLiteral("ok"));
    ASSERT_TRUE(tray->Ask(QStringLiteral("frame")).startsWith(u"outside")) << "the frame fits before the restore";
    ASSERT_EQ(tray->Ask(QStringLiteral("restore")), QStringLiteral("ok"));
    EXPECT_EQ(tray->WaitFor(QStringLiteral("window"), QStringLiteral("shown")), QStringLiteral("ok"));
    EXPECT_EQ(tray->WaitFor(QStringLiteral("frame"), QStringLiteral("inside")), QStringLiteral("ok"));
}

// A window whose saved width is below what the window manager's title bar
// needs for the title (the user's name in it): once framed it is as wide as
// the bar needs, and its frame lies within the work area.
TEST_F(TrayOnDesktops, ASavedWidthBelowWhatTheTitleBarNeedsWidensOnceFramed)
{
    if (const std::string missing = MissingForOpenbox(); !missing.empty())
        GTEST_SKIP() << missing;
    const QString name = QStringLiteral("Marie-Amélie de La Tour d'Auvergne");
    ASSERT_NO_FATAL_FAILURE(makeUser(name));
    savePlacement(0, 0, 100, 0);
    const std::unique_ptr<DrivenProgram> tray = underOpenbox("800x600", QStringLiteral("tray-narrow"));
    ASSERT_TRUE(tray->Ready()) << tray->Output().toStdString();
    ASSERT_EQ(tray->Ask(QStringLiteral("user")), name);
    ASSERT_EQ(tray->WaitFor(QStringLiteral("window"), QStringLiteral("shown")), QStringLiteral("ok"));
    EXPECT_EQ(tray->WaitFor(QStringLiteral("wide"), QStringLiteral("ok")), QStringLiteral("ok"));
    EXPECT_EQ(tray->WaitFor(QStringLiteral("frame"), QStringLiteral("inside")), QStringLiteral("ok"));
}

namespace {

// The commands that open the task dialog and the options, and the
// activities list of the task dialog.
constexpr int NewTask = 33083;
constexpr int Configuration = 33084;
constexpr int ActivityList = 1078;

} // namespace

// The Infos window shown where it opens the first time, in the bottom right
// corner that it shares with the tray window, under a window manager
// (openbox) that keeps it on top of the other windows: the task dialog and
// the options open above it and out of its way, at 1280 by 800 and at 800
// by 600, with and without a notification area. Their OK and Annuler lie
// outside the Infos window, on top where the display shows them, and a
// click there on OK reaches the dialog: the task starts, the options are
// written. An Infos window moved to the middle of a small screen, which no
// dialog can keep clear of, leaves the buttons clear and lies under the
// dialog.
TEST_F(TrayOnDesktops, TheTraysDialogsOpenAboveTheInfosWindowAndOutOfItsWay)
{
    if (const std::string missing = MissingForOpenbox(); !missing.empty())
        GTEST_SKIP() << missing;
    {
        SQLite::CmyDataBase db;
        ASSERT_EQ(db.Open(path), 0);
        ASSERT_EQ(db.Execute(QStringLiteral("insert into Activites (Id,Nom,Ordre,IdTauxHoraire,Deleted,Date_Modif,"
                                            "Origine_Modif) values (7,'Conception',1,-1,0,1,1)")),
                  0);
    }
    const QPoint firstPlace(-1, -1);
    const struct
    {
        const char *screen;
        bool notificationArea;
        QPoint infos;
    } cases[] = {
        {"1280x800", false, firstPlace}, {"1280x800", true, firstPlace}, {"800x600", false, firstPlace},
        {"800x600", true, firstPlace},   {"800x600", false, QPoint(280, 250)},
    };
    int run = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.screen) + ", " + kind(c.notificationArea)
                     + (c.infos == firstPlace ? "" : ", the Infos window in the middle"));
        ++run;
        // The window in its corner, shown and left shown after a start; the
        // Infos window open.
        savePlacement(0, 0, 0, 0, true);
        {
            Platform::Settings settings;
            settings.setInt(u"Tray", u"Config", u"AutoHide", 0);
            settings.setInt(u"Tray", u"PopupInfos", u"Visible", 1);
            settings.setInt(u"Tray", u"PopupInfos", u"Left", c.infos.x());
            settings.setInt(u"Tray", u"PopupInfos", u"Top", c.infos.y());
            settings.remove(u"Tray", u"Config", u"Opacity");
            settings.sync();
        }
        const std::unique_ptr<DrivenProgram> tray =
            underOpenbox(c.screen, QStringLiteral("tray-dialogs-%1").arg(run), area(c.notificationArea));
        ASSERT_TRUE(tray->Ready()) << tray->Output().toStdString();
        ASSERT_EQ(tray->WaitFor(QStringLiteral("window"), QStringLiteral("shown")), QStringLiteral("ok"));
        ASSERT_EQ(tray->WaitFor(QStringLiteral("infos"), QStringLiteral("1")), QStringLiteral("ok"));
        if (c.infos == firstPlace) {
            ASSERT_EQ(tray->Ask(QStringLiteral("infos-place")), QStringLiteral("corner"));
        }
        ASSERT_EQ(tray->Ask(QStringLiteral("hold")), QStringLiteral("ok"));

        ASSERT_EQ(tray->Ask(QStringLiteral("later menu %1").arg(NewTask)), QStringLiteral("ok"));
        ASSERT_EQ(tray->WaitFor(QStringLiteral("modal"), QStringLiteral("CDlgTask")), QStringLiteral("ok"));
        EXPECT_EQ(tray->WaitFor(QStringLiteral("dialog-clear"), QStringLiteral("clear")), QStringLiteral("ok"));
        ASSERT_EQ(tray->Ask(QStringLiteral("key %1 Down").arg(ActivityList)), QStringLiteral("ok"));
        EXPECT_EQ(tray->Ask(QStringLiteral("click-shown 1")), QStringLiteral("ok CDlgTask"));
        ASSERT_EQ(tray->WaitFor(QStringLiteral("modal"), QStringLiteral("none")), QStringLiteral("ok"));
        {
            // One more entry of that activity, started by this run's OK.
            SQLite::CmyDataBase db;
            db.OpenReadOnly(path);
            SQLite::MyTablePtr t = db.Query(QStringLiteral("select count(*) from Taches where IdActivite=7"));
            ASSERT_TRUE(t.hasRows());
            EXPECT_EQ(t->GetCell(0, 0), QString::number(run)) << "no task started";
        }

        ASSERT_EQ(tray->Ask(QStringLiteral("later menu %1").arg(Configuration)), QStringLiteral("ok"));
        ASSERT_EQ(tray->WaitFor(QStringLiteral("modal"), QStringLiteral("CDlgOptions")), QStringLiteral("ok"));
        EXPECT_EQ(tray->WaitFor(QStringLiteral("dialog-clear"), QStringLiteral("clear")), QStringLiteral("ok"));
        EXPECT_EQ(tray->Ask(QStringLiteral("click-shown 1")), QStringLiteral("ok CDlgOptions"));
        ASSERT_EQ(tray->WaitFor(QStringLiteral("modal"), QStringLiteral("none")), QStringLiteral("ok"));
        EXPECT_NE(setting(u"Config", u"Opacity"), -1) << "the options' OK wrote nothing";
    }
}

// Without a notification area, the tray window minimised takes the Infos
// window out of view with it (the window manager minimises a window's own
// windows along): one "Afficher la fenêtre Infos" shows it again, the
// window left minimised, and the next one closes it.
TEST_F(TrayOnDesktops, AfterTheWindowWasMinimisedOneCommandShowsTheInfosWindow)
{
    if (const std::string missing = MissingForOpenbox(); !missing.empty())
        GTEST_SKIP() << missing;
    savePlacement(0, 0, 0, 0, true);
    {
        Platform::Settings settings;
        settings.setInt(u"Tray", u"PopupInfos", u"Visible", 1);
        settings.sync();
    }
    const std::unique_ptr<DrivenProgram> tray = underOpenbox("800x600", QStringLiteral("tray-infos"));
    ASSERT_TRUE(tray->Ready()) << tray->Output().toStdString();
    ASSERT_EQ(tray->WaitFor(QStringLiteral("window"), QStringLiteral("shown")), QStringLiteral("ok"));
    ASSERT_EQ(tray->WaitFor(QStringLiteral("infos"), QStringLiteral("1")), QStringLiteral("ok"));
    ASSERT_EQ(tray->Ask(QStringLiteral("hide")), QStringLiteral("ok"));
    ASSERT_EQ(tray->WaitFor(QStringLiteral("window"), QStringLiteral("minimised")), QStringLiteral("ok"));
    ASSERT_EQ(tray->WaitFor(QStringLiteral("infos"), QStringLiteral("minimised")), QStringLiteral("ok"));
    ASSERT_EQ(tray->Ask(QStringLiteral("menu %1").arg(ShowInfos)), QStringLiteral("ok"));
    EXPECT_EQ(tray->WaitFor(QStringLiteral("infos"), QStringLiteral("1")), QStringLiteral("ok"));
    EXPECT_EQ(tray->Ask(QStringLiteral("window")), QStringLiteral("minimised"));
    ASSERT_EQ(tray->Ask(QStringLiteral("menu %1").arg(ShowInfos)), QStringLiteral("ok"));
    EXPECT_EQ(tray->WaitFor(QStringLiteral("infos"), QStringLiteral("0")), QStringLiteral("ok"));
}

// Once the window manager framed the window, the program's own keeping of
// it on the screen is over: a move that puts the frame 50 pixels past the
// screen's right edge, as the user's drag of its title bar does, is kept.
TEST_F(TrayOnDesktops, AUsersMoveAfterTheWindowWasFramedIsKept)
{
    if (const std::string missing = MissingForOpenbox(); !missing.empty())
        GTEST_SKIP() << missing;
    savePlacement(0, 0, 0, 0, true);
    const std::unique_ptr<DrivenProgram> tray = underOpenbox("800x600", QStringLiteral("tray-drag"));
    ASSERT_TRUE(tray->Ready()) << tray->Output().toStdString();
    ASSERT_EQ(tray->WaitFor(QStringLiteral("window"), QStringLiteral("shown")), QStringLiteral("ok"));
    ASSERT_EQ(tray->WaitFor(QStringLiteral("frame"), QStringLiteral("inside")), QStringLiteral("ok"));
    ASSERT_EQ(tray->Ask(QStringLiteral("drag-past-right 50")), QStringLiteral("ok"));
    EXPECT_EQ(tray->WaitFor(QStringLiteral("past-right"), QStringLiteral("50")), QStringLiteral("ok"));
    // Still there after the window's poll.
    ASSERT_EQ(tray->Ask(QStringLiteral("poll")), QStringLiteral("ok"));
    EXPECT_EQ(tray->Ask(QStringLiteral("past-right")), QStringLiteral("50"));
}
