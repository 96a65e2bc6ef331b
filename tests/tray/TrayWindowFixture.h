#pragma once
// The tray window offscreen, with a fake notification-area icon and a fixed
// clock, on a user database that the test writes as the main program would;
// shared by the tests of the window and of the windows it opens.
#include "CAppData.h"
#include "CDayCtrl.h"
#include "CTrayToolTip.h"
#include "CViewTask.h"
#include "DayStripGeometry.h"
#include "CBdD.h"
#include "CMyDesktopButton.h"
#include "CMyMFCButton.h"
#include "COwnerDrawListBox.h"
#include "CUsers.h"
#include "CViewResume.h"
#include "CZarvoTrayApp.h"
#include "CZarvoTrayDlg.h"
#include "Clock.h"
#include "CmyDataBase.h"
#include "FakeTrayIcon.h"
#include "LocalTime.h"
#include "LookPalette.h"
#include "MessageBoxAnswers.h"
#include "QStringPrinter.h"
#include "RegisteredMessages.h"
#include "Settings.h"
#include "TestFolders.h"
#include "TrayCommands.h"
#include "TrayDialogs.h"
#include "TrayTestUsers.h"
#include "WidgetIds.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QHelpEvent>
#include <QFile>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QScrollBar>

using namespace TrayCommands;

class TrayWindowFixture : public ::testing::Test
{
protected:
    // Tuesday 10 March 2026 in Paris.
    static inline const QDate Today{2026, 3, 10};
    static qint64 at(int h, int m, const QDate &day = Today) { return Platform::LocalTime::atMinute(day, h * 60 + m); }

    void SetUp() override
    {
        now = at(18, 0);
        Platform::Clock::setNowSource([this] { return now; });
        folder = MakeTrayTestUsers();
        ASSERT_FALSE(folder.isEmpty());
        path = folder + QStringLiteral("Anne/Zarvo.sdb");
        makeDatabase();
    }
    void TearDown() override
    {
        window = nullptr;
        app.reset();
        CZarvoTrayDlg::Dialogs() = {};
        CAppData::Clear();
    }
    void makeDatabase()
    {
        CBdD db(path);
        ASSERT_TRUE(db.IsOpen());
        db.Execute(u"insert into Projets (Id,Nom,Parent,Deleted,Date_Modif,Origine_Modif) values (32,'Client',-1,0,1,1)");
        db.Execute(u"insert into Favoris (Id,IdProject,IdActivite,IdTauxHoraire,Ordre,Date_Modif,Origine_Modif,"
                   u"Deleted,Title) values (2,32,-1,-1,5,1,1,0,'Réunion')");
    }
    // A time entry put in by another program, and 'Modif' stamped as its
    // writes stamp it.
    void put(int id, qint64 start, qint64 end) const
    {
        SQLite::CmyDataBase db;
        ASSERT_EQ(db.Open(path), 0);
        ASSERT_EQ(db.Execute(QStringLiteral("insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,Facture,"
                                            "IdTauxHoraire,Date_Modif,Origine_Modif,Deleted,Title,Notes) values "
                                            "(%1,%2,%3,32,-1,0,-1,%2,1,0,'','')")
                                 .arg(id)
                                 .arg(start)
                                 .arg(end)),
                  0);
        ASSERT_EQ(db.Execute(QStringLiteral("update Infos set Value='%1' where Name='Modif'").arg(now)), 0);
    }
    // A second user, Bruno, whose own database holds another project 32
    // and another favourite 2; the path of his database.
    QString addBruno() const
    {
        const QString bruno = folder + QStringLiteral("Bruno/Zarvo.sdb");
        EXPECT_TRUE(QDir().mkpath(folder + QStringLiteral("Bruno")));
        SQLite::CmyDataBase users;
        EXPECT_EQ(users.Open(folder + QStringLiteral("Users.sdb")), 0);
        EXPECT_EQ(users.Execute(u"insert into Users (Nom, Selected) values ('Bruno', 0)"), 0);
        CBdD db(bruno);
        EXPECT_TRUE(db.IsOpen());
        db.Execute(u"insert into Projets (Id,Nom,Parent,Deleted,Date_Modif,Origine_Modif) values (32,'Autre',-1,0,1,1)");
        db.Execute(u"insert into Favoris (Id,IdProject,IdActivite,IdTauxHoraire,Ordre,Date_Modif,Origine_Modif,"
                   u"Deleted,Title) values (2,32,-1,-1,5,1,1,0,'Courrier')");
        return bruno;
    }
    // The main program makes `name` its user and tells the tray.
    void mainSelects(const QString &name)
    {
        SQLite::CmyDataBase users;
        ASSERT_EQ(users.Open(folder + QStringLiteral("Users.sdb")), 0);
        ASSERT_EQ(users.Execute(QStringLiteral("update Users set Selected=(Nom='%1')").arg(name)), 0);
        notice(0);
        ASSERT_EQ(app->User().userName, name);
    }
    // The entries of a user's database, "Id/Debut/Fin/Title" in id order.
    static QString entriesOf(const QString &database)
    {
        SQLite::CmyDataBase db;
        db.OpenReadOnly(database);
        SQLite::MyTablePtr t = db.Query(u"select group_concat(Id||'/'||Debut||'/'||Fin||'/'||Title, ' ') from "
                                        u"(select * from Taches order by Id)");
        return t.hasRows() ? t->GetCell(0, 0) : QStringLiteral("<none>");
    }
    QString cell(const QString &sql) const
    {
        SQLite::CmyDataBase db;
        db.OpenReadOnly(path);
        SQLite::MyTablePtr t = db.Query(sql);
        return t.hasRows() ? t->GetCell(0, 0) : QStringLiteral("<none>");
    }

    void start(bool trayAvailable = true, const QStringList &arguments = {QStringLiteral("ZarvoTray")})
    {
        makeApp(trayAvailable);
        app->LoadSettings();
        app->SelectUserAndDatabase();
        window = app->CreateWindow(arguments);
        ASSERT_NE(window, nullptr);
    }
    // The program's start as main() makes it: the dialogs installed, then
    // the start with its single-instance hand-off, each once.
    void startAsProgram(bool trayAvailable = true, const QStringList &arguments = {QStringLiteral("ZarvoTray")})
    {
        makeApp(trayAvailable);
        TrayDialogs::Install(*app);
        ASSERT_TRUE(app->InitInstance(arguments));
        window = app->Window();
        ASSERT_NE(window, nullptr);
    }
    void makeApp(bool trayAvailable)
    {
        app = std::make_unique<CZarvoTrayApp>();
        app->SetIconFactory([this, trayAvailable] {
            auto fake = std::make_unique<FakeTrayIcon>(trayAvailable);
            icon = fake.get();
            return fake;
        });
        app->SetProgramStarter([this](const QString &program) {
            started << program;
            return true;
        });
        app->SetProgramFolder(TestFolders::root());
    }
    void notice(quint64 kind)
    {
        app->HandleMessage({Platform::MessageBus::registerMessage(RegisteredMessages::ZarvoChange), kind, 0});
    }
    QList<QAction *> menuItems() const { return window->PopupMenu()->actions(); }
    QAction *menuItem(int command) const
    {
        for (QAction *a : menuItems())
            if (WidgetIds::CommandId(a) == command)
                return a;
        return nullptr;
    }

    qint64 now = 0;
    QString folder;
    QString path;
    Platform::Settings settings;
    std::unique_ptr<CZarvoTrayApp> app;
    CZarvoTrayDlg *window = nullptr;
    FakeTrayIcon *icon = nullptr;
    QStringList started;
};

// Collects the statements every connection of this process runs (with
// sqlite3_auto_extension(installTrace)).
inline QStringList *s_statements = nullptr;
inline int traceStatement(unsigned, void *, void *p, void *)
{
    if (s_statements)
        *s_statements << QString::fromUtf8(sqlite3_sql(static_cast<sqlite3_stmt *>(p)));
    return 0;
}
inline int installTrace(sqlite3 *db, char **, const void *)
{
    sqlite3_trace_v2(db, SQLITE_TRACE_STMT, &traceStatement, nullptr);
    return SQLITE_OK;
}
