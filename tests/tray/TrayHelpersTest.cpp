// The tray's window-free helpers: its start with the session, the choice
// of the user, its settings, the icon menu and the window's size rules.
#include "CUsers.h"
#include "CmyDataBase.h"
#include "DataItems.h"
#include "QStringPrinter.h"
#include "Settings.h"
#include "TestFolders.h"
#include "TrayAutostart.h"
#include "TrayCommands.h"
#include "TrayMenuModel.h"
#include "TraySettings.h"
#include "TrayUserChoice.h"
#include "TrayWindowSizing.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace TrayCommands;

// ---------------------------------------------------------------------------
// Start with the session
// ---------------------------------------------------------------------------

TEST(TrayAutostartTest, ExecQuotesAndEscapesThePath)
{
    struct Case
    {
        QString program;
        QString exec;
    };
    const Case cases[] = {
        {QStringLiteral("/usr/bin/ZarvoTray"), QStringLiteral("\"/usr/bin/ZarvoTray\"")},
        {QStringLiteral("/opt/mes outils/ZarvoTray"), QStringLiteral("\"/opt/mes outils/ZarvoTray\"")},
        // Inside the quotes '"' gets a backslash; the string value doubles
        // every backslash once more.
        {QStringLiteral("/opt/\"x\"/ZarvoTray"), QStringLiteral("\"/opt/\\\\\"x\\\\\"/ZarvoTray\"")},
        {QStringLiteral("/opt/100%/ZarvoTray"), QStringLiteral("\"/opt/100%%/ZarvoTray\"")},
        {QStringLiteral("/opt/$HOME`x`/Zar\\vo"), QStringLiteral("\"/opt/\\\\$HOME\\\\`x\\\\`/Zar\\\\\\\\vo\"")},
        {QStringLiteral("/opt/a\nb/ZarvoTray"), QString()},
        {QString(), QString()},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TrayAutostart::ExecValue(c.program), c.exec) << c.program.toStdString();
}

TEST(TrayAutostartTest, TheEntryRoundTripsAndCountsOnlyForThisProgram)
{
    const QString config = TestFolders::root() + QStringLiteral("/config");
    qputenv("XDG_CONFIG_HOME", config.toUtf8());
    const QString program = QStringLiteral("/opt/Mes \"outils\" 100%/ZarvoTray");
    const QString entry = TrayAutostart::EntryPath();
    EXPECT_EQ(entry, config + QStringLiteral("/autostart/ZarvoTray.desktop"));

    EXPECT_FALSE(TrayAutostart::IsOn(program));
    ASSERT_TRUE(TrayAutostart::Set(true, program));
    EXPECT_TRUE(TrayAutostart::IsOn(program));
    EXPECT_FALSE(TrayAutostart::IsOn(QStringLiteral("/usr/bin/ZarvoTray"))) << "another program";
    const QString text = QString::fromUtf8(TestFolders::readFile(entry));
    EXPECT_TRUE(text.startsWith(QStringLiteral("[Desktop Entry]\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nExec=") + TrayAutostart::ExecValue(program) + u'\n'));

    // Written by hand without quotes, or switched off by the desktop: off.
    const QString plain = QStringLiteral("/usr/bin/ZarvoTray");
    TestFolders::writeFile(QStringLiteral("config/autostart/ZarvoTray.desktop"),
                           "[Desktop Entry]\nType=Application\nExec=/usr/bin/ZarvoTray\n");
    EXPECT_FALSE(TrayAutostart::IsOn(plain));
    ASSERT_TRUE(TrayAutostart::Set(true, plain));
    EXPECT_TRUE(TrayAutostart::IsOn(plain));
    QFile::remove(entry);
    TestFolders::writeFile(QStringLiteral("config/autostart/ZarvoTray.desktop"),
                           "[Desktop Entry]\nExec=\"/usr/bin/ZarvoTray\"\nHidden=true\n");
    EXPECT_FALSE(TrayAutostart::IsOn(plain));

    ASSERT_TRUE(TrayAutostart::Set(false, plain));
    EXPECT_FALSE(QFileInfo::exists(entry));
    EXPECT_TRUE(TrayAutostart::Set(false, plain)) << "already off";
    EXPECT_FALSE(TrayAutostart::Set(true, QStringLiteral("/a\tb"))) << "no Exec can hold it";
    EXPECT_FALSE(QFileInfo::exists(entry));
}

// ---------------------------------------------------------------------------
// Settings
// ---------------------------------------------------------------------------

TEST(TraySettingsTest, DefaultsAndValuesOutOfRange)
{
    Platform::Settings s;
    TraySettings t;
    t.Load(s);
    EXPECT_EQ(t.leftClick, 0);
    EXPECT_EQ(t.opacity, 255);
    EXPECT_TRUE(t.autoHide && t.showToolBar && t.showResume && t.showDay && t.showTask && t.showFav);

    s.setInt(u"Tray", u"Config", u"LeftClick", 9);
    s.setInt(u"Tray", u"Config", u"Opacity", 300);
    s.setInt(u"Tray", u"Config", u"ActionOnRestart", -1);
    s.setInt(u"Tray", u"Favoris", u"Sorting", 2);
    s.setInt(u"Tray", u"Config", u"ShowDay", 0);
    t.Load(s);
    EXPECT_EQ(t.leftClick, 0);
    EXPECT_EQ(t.opacity, 255);
    EXPECT_EQ(t.actionOnRestart, 0);
    EXPECT_EQ(t.sortMode, 2);
    EXPECT_FALSE(t.showDay);
    s.setInt(u"Tray", u"Config", u"LeftClick", 3);
    s.setInt(u"Tray", u"Config", u"Opacity", -4);
    t.Load(s);
    EXPECT_EQ(t.leftClick, 3);
    EXPECT_EQ(t.opacity, 0);

    s.setInt(u"Tray", u"Dialog", u"Width", -20);
    s.setInt(u"Tray", u"Dialog", u"Left", 40);
    s.setInt(u"Tray", u"Dialog", u"Visible", 1);
    const TraySettings::tPlacement p = TraySettings::LoadPlacement(s);
    EXPECT_EQ(p.width, 0);
    EXPECT_EQ(p.left, 40);
    EXPECT_EQ(p.top, 0);
    EXPECT_TRUE(p.visible);
}

// ---------------------------------------------------------------------------
// The user
// ---------------------------------------------------------------------------

namespace {

class TrayUserChoiceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = TestFolders::root() + QStringLiteral("/users/");
        ASSERT_TRUE(QDir().mkpath(folder));
        CUsers::SetUsersFolderSource({});
    }
    void makeUsers(std::initializer_list<std::pair<const char *, int>> users)
    {
        SQLite::CmyDataBase db;
        ASSERT_EQ(db.Open(folder + QStringLiteral("Users.sdb")), 0);
        ASSERT_EQ(db.Execute(u"create table Users (Id integer PRIMARY KEY AUTOINCREMENT, Nom text, Selected integer, "
                             u"Key text, Color int, TypeColor int, LastBackup int)"),
                  0);
        for (const auto &[name, selected] : users)
            ASSERT_EQ(db.Execute(QStringLiteral("insert into Users (Nom, Selected) values ('%1', %2)")
                                     .arg(QString::fromUtf8(name))
                                     .arg(selected)),
                      0);
    }
    QString folder;
    Platform::Settings settings;
};

} // namespace

TEST_F(TrayUserChoiceTest, FollowsTheMainProgramOrKeepsItsOwnAndCreatesNothing)
{
    // The users folder is written with or without its final "/".
    settings.setString(u"Config", u"Rep", u"Users", folder.chopped(1));
    TrayUserChoice c = TrayUserChoice::Select(settings);
    EXPECT_TRUE(c.autoUser);
    EXPECT_EQ(c.usersFolder, folder);
    EXPECT_EQ(c.usersDatabase, folder + QStringLiteral("Users.sdb"));
    EXPECT_EQ(c.userId, -1);
    EXPECT_TRUE(c.databasePath.isEmpty());
    settings.setInt(u"Tray", u"User", u"Auto", 0);
    settings.setInt(u"Tray", u"User", u"Id", 2);
    c = TrayUserChoice::Select(settings);
    EXPECT_TRUE(c.userName.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("Users.sdb"))) << "a fixed user creates nothing either";

    makeUsers({{"Anne", 0}, {"Zoé", 1}});
    const QByteArray before = TestFolders::readFile(folder + QStringLiteral("Users.sdb"));
    struct Case
    {
        int autoUser;
        int id;
        QString name;
    };
    const Case cases[] = {
        {1, -1, QStringLiteral("Zoé")}, // the main program's selection
        {0, 1, QStringLiteral("Anne")}, // the tray's own
        {0, -1, QString()},             // none chosen
        {0, 7, QString()},              // gone
    };
    for (const Case &k : cases) {
        settings.setInt(u"Tray", u"User", u"Auto", k.autoUser);
        settings.setInt(u"Tray", u"User", u"Id", k.id);
        c = TrayUserChoice::Select(settings);
        EXPECT_EQ(c.userName, k.name) << k.autoUser << ' ' << k.id;
        EXPECT_EQ(c.databasePath, k.name.isEmpty() ? QString() : folder + k.name + QStringLiteral("/Zarvo.sdb"));
    }
    EXPECT_EQ(TestFolders::readFile(folder + QStringLiteral("Users.sdb")), before);
}

TEST_F(TrayUserChoiceTest, ANameThatCannotBeAFolderGivesNoDatabase)
{
    settings.setString(u"Config", u"Rep", u"Users", folder);
    makeUsers({{"../../etc", 1}, {"..", 0}});
    TrayUserChoice c = TrayUserChoice::Select(settings);
    EXPECT_EQ(c.userId, 1);
    EXPECT_TRUE(c.userName.isEmpty());
    EXPECT_TRUE(c.databasePath.isEmpty());
    EXPECT_FALSE(c.usersDatabase.isEmpty()) << "so the window says the user has no database (119)";
    settings.setInt(u"Tray", u"User", u"Auto", 0);
    settings.setInt(u"Tray", u"User", u"Id", 2);
    c = TrayUserChoice::Select(settings);
    EXPECT_TRUE(c.databasePath.isEmpty());
}

// ---------------------------------------------------------------------------
// The icon menu
// ---------------------------------------------------------------------------

namespace {

tTacheFull entry(qint64 start, qint64 end)
{
    tTacheFull t;
    t.Id = 5;
    t.Debut = start;
    t.Fin = end;
    return t;
}

} // namespace

TEST(TrayMenuModelTest, ItemsFollowTheNewestEntryTheLeftClickAndWhatShows)
{
    const qint64 now = 100000;
    struct Case
    {
        const char *what;
        tTacheFull last;
        int leftClick;
        bool shown;
        int pauseOrResume;
        bool canStart;
        int defaultCommand;
    };
    const Case cases[] = {
        {"none known", tTacheFull(), 0, false, Pause, true, ShowWindow},
        {"running", entry(now - 60, 0), 1, true, Pause, true, StartZarvo},
        {"ended", entry(now - 60, now - 10), 2, false, Resume, true, NewTask},
        {"ends now", entry(now - 60, now), 3, false, Resume, true, ShowInfos},
        {"starts in the future", entry(now + 1, 0), 9, false, Pause, false, ShowWindow},
        {"ended in the future", entry(now - 60, now + 60), -1, false, Resume, false, ShowWindow},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(TrayMenuModel::CanStart(c.last, now), c.canStart);
        const auto items = TrayMenuModel::Build(c.last, now, c.leftClick, c.shown, c.shown);
        ASSERT_EQ(items.size(), 13u);
        const int commands[] = {StartZarvo, ShowWindow, ShowInfos, 0, NewTask, c.pauseOrResume, FavouritesPopup,
                                HistoryPopup, 0, Options, Help, 0, Quit};
        int defaults = 0;
        for (size_t i = 0; i < items.size(); ++i) {
            EXPECT_EQ(items[i].command, commands[i]) << i;
            const bool startItem = i >= 4 && i <= 7;
            EXPECT_EQ(items[i].enabled, !startItem || c.canStart) << i;
            if (items[i].isDefault) {
                ++defaults;
                EXPECT_EQ(items[i].command, c.defaultCommand);
            }
        }
        EXPECT_EQ(defaults, 1);
        EXPECT_EQ(items[1].stringId, c.shown ? 113 : 0);
        EXPECT_EQ(items[2].stringId, c.shown ? 183 : 0);
    }
}

TEST(TrayMenuModelTest, TheFavouritesStopAtTheLimitAndKeepTheirGroups)
{
    std::vector<DataItems> items;
    items.push_back({DataItems::ExpandedGroup, QStringLiteral("Client"), -1, -1, 0, 1});
    for (int i = 0; i < 150; ++i)
        items.push_back({DataItems::Entry, QStringLiteral("a%1").arg(i), 1, -1, 1, 1000 + i});
    items.push_back({DataItems::ExpandedGroup, QStringLiteral("Site"), -1, -1, 1, 2});
    for (int i = 0; i < 80; ++i)
        items.push_back({DataItems::Entry, QStringLiteral("b%1").arg(i), 2, -1, 2, 2000 + i});
    items.push_back({DataItems::ExpandedGroup, QStringLiteral("Cut"), -1, -1, 0, 3});
    items.push_back({DataItems::Entry, QStringLiteral("c"), 3, -1, 1, 3000});

    std::vector<int> ids;
    const auto lines = TrayMenuModel::FavouriteLines(items, ids, MaxFavouriteCommands);
    ASSERT_EQ(ids.size(), 200u);
    EXPECT_EQ(ids.front(), 1000);
    EXPECT_EQ(ids.back(), 2049);
    int commands = 0;
    for (const auto &line : lines) {
        if (line.command == 0)
            continue;
        EXPECT_EQ(line.command, FirstFavourite + commands);
        EXPECT_LE(line.command, LastFavourite) << "never a recent combination's command";
        EXPECT_EQ(line.favourite, ids[size_t(commands)]);
        ++commands;
    }
    EXPECT_EQ(commands, 200);
    // The group cut whole by the limit is not shown empty.
    EXPECT_EQ(lines.size(), 202u);
    EXPECT_EQ(lines.back().item->Text, QStringLiteral("b49"));
}

// ---------------------------------------------------------------------------
// The window's size and place
// ---------------------------------------------------------------------------

namespace {

TrayWindowSizing::tViews views()
{
    TrayWindowSizing::tViews v;
    v.captionHeight = 24;
    v.captionButton = QSize(16, 16);
    v.toolbar = QSize(220, 26);
    v.resume = QSize(200, 60);
    v.dayHeight = 40;
    v.task = QSize(230, 70);
    v.messageHeight = 50;
    return v;
}

} // namespace

TEST(TrayWindowSizingTest, RequiredSizeFollowsTheViewsThatShow)
{
    TrayWindowSizing::tViews v = views();
    EXPECT_EQ(TrayWindowSizing::RequiredHeight(v), 26 + 5 + 65 + 45 + 75 + 125 + 24);
    EXPECT_EQ(TrayWindowSizing::RequiredWidth(v), 240);
    v.compact = true;
    EXPECT_EQ(TrayWindowSizing::RequiredHeight(v), 26 + 5 + 55 + 24);
    v.compact = false;
    v.showResume = v.showDay = v.showTask = v.showFav = false;
    EXPECT_EQ(TrayWindowSizing::RequiredHeight(v), 26 + 5 + 24) << "the toolbar and the caption band";
    v.showToolBar = false;
    EXPECT_EQ(TrayWindowSizing::RequiredHeight(v), 5 + 24) << "only the caption band";
    EXPECT_EQ(TrayWindowSizing::RequiredWidth(v), 240) << "the task button's width always counts";

    // Without the tabs the height is exactly the required one.
    EXPECT_EQ(TrayWindowSizing::Limit(v, QSize(100, 900)), QSize(240, 29));
    v = views();
    EXPECT_EQ(TrayWindowSizing::Limit(v, QSize(300, 900)), QSize(300, 900));
    EXPECT_EQ(TrayWindowSizing::Limit(v, QSize(0, 0)), QSize(240, 365));
}

TEST(TrayWindowSizingTest, ViewsStackUnderTheCaptionAndTheTabsTakeTheRest)
{
    TrayWindowSizing::tViews v = views();
    const auto l = TrayWindowSizing::Layout(v, QSize(300, 500));
    EXPECT_EQ(l.hideButton, QRect(278, 0, 22, 22));
    EXPECT_EQ(l.menuButton, QRect(255, 0, 22, 22));
    EXPECT_EQ(l.toolbar, QRect(0, 24, 300, 26));
    EXPECT_EQ(l.resume, QRect(5, 55, 290, 60));
    EXPECT_EQ(l.day, QRect(5, 120, 290, 40));
    EXPECT_EQ(l.task, QRect(5, 165, 290, 70));
    EXPECT_EQ(l.tabs, QRect(5, 240, 290, 255));
    EXPECT_TRUE(l.message.isNull());
    v.compact = true;
    v.showToolBar = false;
    const auto c = TrayWindowSizing::Layout(v, QSize(300, 500));
    EXPECT_EQ(c.message, QRect(5, 29, 290, 50));
    EXPECT_TRUE(c.toolbar.isNull() && c.resume.isNull() && c.tabs.isNull());
}

TEST(TrayWindowSizingTest, TheWholeFrameIsPlacedWithinTheWorkAreaOfItsScreen)
{
    const TrayWindowSizing::tViews v = views(); // 240 x 365 at least
    // A panel at the bottom of the first screen; a second screen at its
    // right, its own panel on top.
    const QList<QRect> one{QRect(0, 0, 1600, 960)};
    const QList<QRect> two{QRect(0, 0, 1600, 960), QRect(1600, 40, 1280, 984)};
    const QMargins none;
    const QMargins frame(4, 28, 4, 4);
    struct Case
    {
        const char *what;
        QList<QRect> areas;
        QMargins margins;
        TraySettings::tPlacement saved;
        QRect placed; // where to move the frame, and the inside's size
    };
    const Case cases[] = {
        {"never saved, no frame", one, none, {0, 0, 0, 0, false}, QRect(1360, 595, 240, 365)},
        {"never saved, framed: the frame in the corner", one, frame, {0, 0, 0, 0, false},
         QRect(1352, 563, 240, 365)},
        {"left 0", one, frame, {0, 300, 260, 400, false}, QRect(1332, 528, 260, 400)},
        {"saved within", one, frame, {100, 200, 260, 400, false}, QRect(100, 200, 260, 400)},
        {"size 0 kept in place", one, none, {100, 200, 0, 0, false}, QRect(100, 200, 240, 365)},
        {"saved with its bottom under the panel: moved up", one, frame, {100, 700, 260, 400, false},
         QRect(100, 528, 260, 400)},
        {"saved across the right edge: moved left", one, frame, {1500, 200, 260, 400, false},
         QRect(1332, 200, 260, 400)},
        {"off every screen: into the first", two, frame, {5000, -3000, 260, 400, false}, QRect(1332, 0, 260, 400)},
        {"on the second screen, under its panel: moved down", two, frame, {2000, 10, 260, 400, false},
         QRect(2000, 40, 260, 400)},
        {"mostly on the second screen: within it", two, frame, {1550, 300, 260, 400, false},
         QRect(1600, 300, 260, 400)},
        {"larger than the work area", one, frame, {10, 10, 4000, 4000, false}, QRect(0, 0, 1592, 928)},
    };
    for (const Case &c : cases) {
        const QRect placed = TrayWindowSizing::Place(v, c.saved, c.areas, c.margins);
        EXPECT_EQ(placed, c.placed) << c.what;
        const QRect wholeFrame(placed.topLeft(), placed.size().grownBy(c.margins));
        const QRect area = TrayWindowSizing::WorkAreaOf(wholeFrame, c.areas);
        EXPECT_TRUE(area.contains(wholeFrame)) << c.what;
    }
    // Without any screen, the saved place as it was.
    EXPECT_EQ(TrayWindowSizing::Place(v, {100, 200, 260, 400, false}, {}, frame), QRect(100, 200, 260, 400));
}

TEST(TrayWindowSizingTest, TheCaptionWidensTheWindowWithinTheScreen)
{
    TrayWindowSizing::tViews v = views();
    // 6 + text + 5 + two buttons of 22 with a pixel between them.
    v.captionTextWidth = 150;
    EXPECT_EQ(TrayWindowSizing::RequiredWidth(v), 240) << "the views are wider";
    v.captionTextWidth = 250;
    EXPECT_EQ(TrayWindowSizing::RequiredWidth(v), 6 + 250 + 5 + 45);
    v.captionTextWidth = 5000;
    v.widest = 1592;
    EXPECT_EQ(TrayWindowSizing::RequiredWidth(v), 1592) << "never wider than the screen for its caption";
    v.widest = 200;
    EXPECT_EQ(TrayWindowSizing::RequiredWidth(v), 240) << "but always as wide as the views";
    // A window manager's title bar that would cut the title widens it too.
    v.captionTextWidth = 150;
    v.widest = 0;
    v.titleBarWidth = 380;
    EXPECT_EQ(TrayWindowSizing::RequiredWidth(v), 380);
    v.widest = 300;
    EXPECT_EQ(TrayWindowSizing::RequiredWidth(v), 300);
}

// A dialog of the tray opened while the Infos window shows goes out of its
// way by the shortest move the work area holds, or at least with its
// buttons out of it.
TEST(TrayWindowSizingTest, ADialogOpensClearOfTheInfosWindow)
{
    const QRect wide(0, 0, 1280, 800);
    const QRect small(0, 0, 800, 600);
    // The Infos window where it opens the first time, in the corner.
    const QRect wideCorner(1032, 697, 240, 95);
    const QRect smallCorner(552, 473, 240, 95);
    const struct
    {
        const char *what;
        QRect area, infos, frame, buttons;
        QPoint expected;
    } cases[] = {
        {"away from the Infos window: where it is", wide, wideCorner, QRect(100, 100, 400, 440),
         QRect(300, 500, 190, 30), QPoint(100, 100)},
        {"over it in the corner: just above it, nearer than left of it", wide, wideCorner,
         QRect(900, 350, 380, 440), QRect(1080, 750, 190, 30), QPoint(900, 249)},
        {"too tall for the room above it: left of it", small, smallCorner, QRect(280, 0, 520, 560),
         QRect(600, 520, 190, 30), QPoint(24, 0)},
        {"no room for the whole dialog: its buttons clear, right of it", small, QRect(300, 250, 240, 95),
         QRect(150, 40, 500, 520), QRect(480, 300, 160, 30), QPoint(218, 40)},
        {"no room even for the buttons: where it is", QRect(0, 0, 400, 300), QRect(0, 0, 400, 300),
         QRect(0, 0, 300, 200), QRect(100, 150, 190, 30), QPoint(0, 0)},
    };
    for (const auto &c : cases) {
        const QPoint place = TrayWindowSizing::ClearOf(c.frame, c.buttons, c.infos, c.area);
        EXPECT_EQ(place, c.expected) << c.what;
        const QRect moved(place, c.frame.size());
        EXPECT_TRUE(c.area.contains(moved)) << c.what;
        if (c.expected != c.frame.topLeft() || !c.frame.intersects(c.infos)) {
            const QRect buttons = c.buttons.translated(place - c.frame.topLeft());
            EXPECT_FALSE(buttons.intersects(c.infos)) << c.what;
        }
    }
    // The room kept between the dialog and the Infos window.
    const QRect above(QPoint(900, 249), QSize(380, 440));
    EXPECT_EQ(wideCorner.top() - above.bottom() - 1, TrayWindowSizing::ClearGap);
}
