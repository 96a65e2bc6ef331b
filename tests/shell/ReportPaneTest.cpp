// The report pane, built for real offscreen on a report database of the
// test's own user.
#include "PaneFixture.h"
#include "CPaneReport.h"
#include "CReportStore.h"
#include "CViewTree.h"
#include "CmyDataBase.h"
#include "DamagedPage.h"
#include "Formatter.h"
#include "MyTable.h"
#include "Texts.h"
#include "WidgetIds.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QMenu>
#include <QTest>
#include <QTreeWidgetItem>

namespace {

class ReportPaneTest : public PaneFixture
{
protected:
    void SetUp() override
    {
        PaneFixture::SetUp();
        path = app->Users().GetCurrentReportDatabasePath();
        ASSERT_TRUE(CReportStore(path).OpenDatabase(true));
    }
    void TearDown() override
    {
        pane.reset();
        PaneFixture::TearDown();
    }
    void addReport(int id, const QString &name)
    {
        SQLite::CmyDataBase db;
        ASSERT_EQ(db.Open(path), 0);
        ASSERT_EQ(db.Execute(QStringLiteral("insert into Reports (Id, Nom, Type) values (%1, '%2', 0)")
                                 .arg(id)
                                 .arg(QString(name).replace(u'\'', QStringLiteral("''")))),
                  0);
    }
    QString reportCell(const QString &sql) const
    {
        SQLite::CmyDataBase db;
        db.OpenReadOnly(path);
        SQLite::MyTablePtr t = db.Query(sql);
        return t.hasRows() ? t->GetCell(0, 0) : QStringLiteral("<none>");
    }
    CPaneReport &makePane(int height = 400)
    {
        pane = std::make_unique<CPaneReport>(*app);
        pane->resize(240, height);
        pane->show();
        return *pane;
    }
    void select(QTreeWidgetItem *item) { PaneFixture::select(pane->Tree(), item); }
    QStringList names() const
    {
        QStringList list;
        for (int i = 0; pane->Root() && i < pane->Root()->childCount(); ++i)
            list << pane->Root()->child(i)->text(0);
        return list;
    }

    QString path;
    std::unique_ptr<CPaneReport> pane;
};

} // namespace

TEST_F(ReportPaneTest, TheRootHoldsTheReportsInNameOrder)
{
    addReport(3, QStringLiteral("Mensuel"));
    addReport(7, QStringLiteral("Annuel"));
    makePane();
    ASSERT_EQ(pane->Tree()->topLevelItemCount(), 1);
    EXPECT_EQ(pane->Root()->text(0), QStringLiteral("Rapports"));
    EXPECT_TRUE(pane->Root()->isExpanded());
    EXPECT_EQ(names(), (QStringList{QStringLiteral("Annuel"), QStringLiteral("Mensuel")}));
    EXPECT_EQ(CViewTree::ItemImage(pane->Root()->child(0)), CReportStore::ReportImage);
    EXPECT_EQ(CViewTree::ItemData(pane->Root()->child(0)), 7);
    pane->Root()->setExpanded(false);
    EXPECT_EQ(CViewTree::ItemImage(pane->Root()), 0);
}

// Menu 368 only on a report; on the root nothing shows and the commands
// are off. Open and rename wait for their windows.
TEST_F(ReportPaneTest, MenuAndCommandsOnlyForAReport)
{
    addReport(3, QStringLiteral("Mensuel"));
    makePane();
    select(pane->Root());
    EXPECT_EQ(pane->BuildContextMenu(pane->Root()), nullptr);
    for (int id : {CPaneReport::CmdOpen, CPaneReport::CmdRename, CPaneReport::CmdDelete})
        EXPECT_FALSE(pane->Action(id)->isEnabled()) << id;

    select(pane->Root()->child(0));
    std::unique_ptr<QMenu> menu = pane->BuildContextMenu(pane->Root()->child(0));
    ASSERT_NE(menu, nullptr);
    QStringList shown;
    for (QAction *action : menu->actions())
        shown << QString::number(WidgetIds::CommandId(action)) + u' ' + action->text();
    EXPECT_EQ(shown, (QStringList{QStringLiteral("32835 Ouvrir"), QStringLiteral("32839 Renommer"),
                                  QStringLiteral("32836 Supprimer")}));
    EXPECT_TRUE(pane->Action(CPaneReport::CmdDelete)->isEnabled());
    EXPECT_FALSE(pane->Action(CPaneReport::CmdOpen)->isEnabled());
    EXPECT_FALSE(pane->Action(CPaneReport::CmdRename)->isEnabled());

    QList<int> opened;
    app->Windows().reportFrame = [&opened](int id, bool, int, bool) {
        opened << id;
        return nullptr;
    };
    pane->UpdateCommandStates();
    EXPECT_TRUE(pane->Action(CPaneReport::CmdOpen)->isEnabled());
    QTest::mouseDClick(pane->Tree()->viewport(), Qt::LeftButton, {},
                       pane->Tree()->visualItemRect(pane->Root()->child(0)).center());
    EXPECT_EQ(opened, QList<int>{3});
}

// No, or a remembered No, keeps the report; Yes removes it, detaches the
// window that shows it and leaves the root open; a delete that cannot be
// written is told and changes nothing.
TEST_F(ReportPaneTest, DeletingAsksAndDetachesTheWindow)
{
    answers->AnswerNotices();
    addReport(3, QStringLiteral("Mensuel"));
    addReport(7, QStringLiteral("Annuel"));
    makePane();
    QWidget window;
    window.setProperty("reportId", 3);
    app->ReportWindows().append(&window);

    select(pane->Root()->child(1));
    answers->Push(MessageBoxAnswer::No);
    QTest::keyClick(pane->Tree(), Qt::Key_Delete);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, QStringLiteral("Voulez-vous vraiment supprimer 'Mensuel' ?"));
    EXPECT_EQ(names().size(), 2);

    Platform::Settings().setInt(u"MsgBox", {}, u"13", MessageBoxAnswer::No);
    pane->OnDelete();
    EXPECT_EQ(boxes().size(), 1u);
    EXPECT_EQ(names().size(), 2);

    Platform::Settings().remove(u"MsgBox", {}, u"13");
    select(pane->Root()->child(1));
    answers->Push(MessageBoxAnswer::Yes);
    pane->Action(CPaneReport::CmdDelete)->trigger();
    EXPECT_EQ(names(), QStringList{QStringLiteral("Annuel")});
    EXPECT_EQ(window.property("reportId").toInt(), -1);
    EXPECT_TRUE(pane->Root()->isExpanded());
    EXPECT_EQ(reportCell(QStringLiteral("select count(*) from Reports")), QStringLiteral("1"));
    clearBoxes();

    window.setProperty("reportId", 7);
    select(pane->Root()->child(0));
    answers->Push(MessageBoxAnswer::Yes);
    {
        const HeldFile held(path);
        pane->OnDelete();
    }
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_EQ(boxes()[1].text, QStringLiteral("Erreur lors de l'écriture dans la base de données."));
    EXPECT_EQ(window.property("reportId").toInt(), 7);
    EXPECT_EQ(names(), QStringList{QStringLiteral("Annuel")});
    app->ReportWindows().clear();
}

// A rename takes the name as typed and retitles the window; the first
// visible report stays first across a reload, the first child included.
TEST_F(ReportPaneTest, RenamingKeepsTheFirstVisibleReport)
{
    answers->AnswerNotices();
    for (int i = 1; i <= 30; ++i)
        addReport(i, QStringLiteral("Rapport %1").arg(i, 2, 10, QLatin1Char('0')));
    makePane(160);
    QWidget window;
    window.setProperty("reportId", 12);
    app->ReportWindows().append(&window);
    app->Windows().askName = [](QString &name) {
        name = QStringLiteral("L'été");
        return true;
    };
    pane->UpdateCommandStates();

    QTreeWidgetItem *tenth = pane->Root()->child(9);
    pane->Tree()->ScrollToTop(tenth);
    ASSERT_EQ(pane->Tree()->FirstVisibleItem(), tenth);
    select(pane->Root()->child(11)); // "Rapport 12"
    pane->Action(CPaneReport::CmdRename)->trigger();
    EXPECT_EQ(reportCell(QStringLiteral("select Nom from Reports where Id=12")), QStringLiteral("L'été"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("L'été"));
    EXPECT_EQ(pane->Root()->child(0)->text(0), QStringLiteral("L'été")); // name order
    EXPECT_EQ(CViewTree::ItemData(pane->Tree()->FirstVisibleItem()), 10);

    // A rename that cannot be written is told; name and title stay.
    clearBoxes();
    select(pane->Root()->child(0));
    app->Windows().askName = [](QString &name) {
        name = QStringLiteral("Autre");
        return true;
    };
    {
        const HeldFile held(path);
        pane->OnRename();
    }
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, QStringLiteral("Erreur lors de l'écriture dans la base de données."));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("L'été"));
    EXPECT_EQ(reportCell(QStringLiteral("select Nom from Reports where Id=12")), QStringLiteral("L'été"));

    // The first child as the first visible item.
    pane->Tree()->ScrollToTop(pane->Root()->child(0));
    ASSERT_EQ(pane->Tree()->FirstVisibleItem(), pane->Root()->child(0));
    pane->ReloadTree();
    EXPECT_EQ(pane->Tree()->FirstVisibleItem(), pane->Root()->child(0));
    app->ReportWindows().clear();
}

// A report file that cannot be read (damaged, one damaged page, cut in
// half, of a later version, or another program's database) leaves the pane
// empty: the user
// is told once, the file named, however often the pane is filled again,
// and the file keeps its bytes.
TEST_F(ReportPaneTest, AnUnreadableReportFileIsToldOnceAndKept)
{
    answers->AnswerNotices();
    for (int i = 1; i <= 200; ++i)
        addReport(i, QStringLiteral("Rapport %1 %2").arg(i).arg(QString(100, u'x')));
    const QByteArray whole = TestFolders::readFile(path);
    const auto put = [this](const QByteArray &bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    };
    QByteArray damaged = whole;
    damaged.replace(4096, damaged.size() - 4096, QByteArray(damaged.size() - 4096, '\x5a'));
    const QString foreign = TestFolders::tempDb(QStringLiteral("foreign.sdb"));
    {
        SQLite::CmyDataBase db;
        ASSERT_EQ(db.Open(foreign), 0);
        ASSERT_EQ(db.Execute(u"create table Notes(Id integer, Text text)"), 0);
        ASSERT_EQ(db.Execute(u"insert into Notes values (1, 'à garder')"), 0);
    }
    // One page that reads as a page of one row fewer: SQLite lists the
    // others without an error.
    const QByteArray onePageShort = DamagedPage::oneRowShort(whole, "Rapport");
    ASSERT_FALSE(onePageShort.isEmpty());
    const struct
    {
        const char *what;
        std::function<void()> arrange;
    } cases[] = {
        {"damaged", [&] { put(damaged); }},
        {"one damaged page", [&] { put(onePageShort); }},
        {"cut in half", [&] { put(whole.left(whole.size() / 2)); }},
        {"of a later version",
         [&] {
             put(whole);
             SQLite::CmyDataBase db;
             ASSERT_EQ(db.Open(path), 0);
             ASSERT_EQ(db.Execute(u"update Infos set Value='2' where Name='VersionDB'"), 0);
         }},
        {"another program's database",
         [&] { put(TestFolders::readFile(foreign)); }},
    };
    const QString told = Platform::Formatter::sprintf(Platform::Texts::get(CPaneReport::UnreadableText),
                                                      {QDir::toNativeSeparators(path)});
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        c.arrange();
        const QByteArray before = TestFolders::readFile(path);
        clearBoxes();
        makePane();
        pane->ReloadTree();
        pane->FillTree(true);
        QCoreApplication::processEvents();
        EXPECT_TRUE(names().isEmpty());
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].icon, MessageBoxType::IconExclamation);
        EXPECT_EQ(boxes()[0].text, told);
        EXPECT_TRUE(boxes()[0].text.contains(path));
        EXPECT_EQ(TestFolders::readFile(path), before);
        pane.reset();
    }
    // The file mended by hand: the reports are back, and nothing is said.
    put(whole);
    clearBoxes();
    makePane();
    QCoreApplication::processEvents();
    EXPECT_EQ(names().size(), 200);
    EXPECT_TRUE(boxes().empty());
}
