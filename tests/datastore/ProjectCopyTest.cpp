#include "CConfiguration.h"
#include "CDataChangedNotifier.h"
#include "Formatter.h"
#include "TestDatabase.h"

using Platform::Formatter;

namespace {

// Source (10) holds, in this order, Sub A (14), the activity Dev (7) and
// Sub B (12, with Leaf 16); Other (20) is a second top-level project. New
// project ids are handed out from 32 by steps of 3.
class ProjectCopyTest : public TestDatabase
{
protected:
    void SetUp() override
    {
        Platform::Clock::setFixedNow(1'700'000'000);
        TestDatabase::SetUp();
        CAppData::SetConfiguration(&config);
        QObject::connect(&CAppData::DataChangedNotifier(), &CDataChangedNotifier::dataChanged,
                         [this](qint64 w, qint64) { notices << w; });
        open(QStringLiteral("Zarvo.sdb"));
    }
    // A new file with the fixture's rows, loaded into the store.
    void open(const QString &name)
    {
        CBdD::CloseSharedConnection();
        history.Reset();
        path = TestFolders::tempDb(name);
        CAppData::SetCurrentDatabasePath(path);
        CBdD db;
        ASSERT_TRUE(db.RunBatch({
            QStringLiteral("insert into Projets(Id, Nom, Parent, Deleted, Red, Green, Blue, IdTauxHoraire, Commentaire) "
                           "values (10, 'Source', -1, 0, 1, 2, 3, 4, 'c''est')"),
            QStringLiteral("insert into Projets(Id, Nom, Parent, Deleted) values (14, 'Sub A', 10, 0)"),
            QStringLiteral("insert into Projets(Id, Nom, Parent, Deleted) values (12, 'Sub B', 10, 0)"),
            QStringLiteral("insert into Projets(Id, Nom, Parent, Deleted) values (16, 'Leaf', 12, 0)"),
            QStringLiteral("insert into Projets(Id, Nom, Parent, Deleted) values (20, 'Other', -1, 0)"),
            QStringLiteral("insert into Activites(Id, Nom, Deleted) values (7, 'Dev', 0)"),
            QStringLiteral("insert into Forecast(IdProject, IdActivity, Prevu, Priority, Predecesseurs, Title) "
                           "values (10, -2, 5, 2, ';20,-2,0,4;', 'l''été')"),
            QStringLiteral("insert into Forecast(IdProject, IdActivity, Prevu) values (10, 7, 3)"),
            QStringLiteral("insert into Forecast(IdProject, IdActivity, Prevu) values (12, -2, 2)"),
            QStringLiteral("insert into ProjectChilds(IdProject, Childs) values (10, ';14;A7;12;')"),
        }));
        reload();
    }
    QString rows(QStringView sql)
    {
        CBdD db;
        SQLite::MyTablePtr t = db.Query(sql);
        QStringList out;
        for (int r = 0; t && r < t->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < t->columnCount(); ++c)
                cells << t->GetCell(r, c);
            out << cells.join(u',');
        }
        return out.join(u'|');
    }

    CConfiguration config;
    QList<qint64> notices;
};

} // namespace

TEST_F(ProjectCopyTest, SubtreeIsCopiedWithNewIdsPlansAndRemappedChildLists)
{
    int id = -1;
    {
        CBdD db;
        id = db.CreateProject(store.GetNode(10), -1, QStringLiteral("Copie"), true, true, nullptr, false);
    }
    EXPECT_EQ(id, 32);
    EXPECT_EQ(rows(u"select Id, Nom, Parent, Red, Green, Blue, IdTauxHoraire, Commentaire, Date_Modif "
                   u"from Projets where Id >= 32 order by Id"),
              QStringLiteral("32,Copie,-1,1,2,3,4,c'est,1700000000|35,Sub A,32,0,0,0,0,,1700000000|"
                             "38,Sub B,32,0,0,0,0,,1700000000|41,Leaf,38,0,0,0,0,,1700000000"));
    // Plans copied without their links; the new child list names the new ids.
    EXPECT_EQ(rows(u"select IdProject, IdActivity, Prevu, Priority, Predecesseurs, Title from Forecast "
                   u"where IdProject >= 32 order by IdProject, IdActivity"),
              QStringLiteral("32,-2,5,2,,l'été|32,7,3,0,,|38,-2,2,0,,"));
    EXPECT_EQ(rows(u"select Childs from ProjectChilds where IdProject=32"), QStringLiteral(";35;A7;38;"));
    EXPECT_EQ(notices, QList<qint64>{CDataChangedNotifier::ProjectTree});

    // Without children and plans only the project itself.
    {
        CBdD db;
        EXPECT_EQ(db.CreateProject(store.GetNode(10), 20, QStringLiteral("Seul"), false, false, nullptr, false), 44);
    }
    EXPECT_EQ(rows(u"select count() from Projets where Parent=44"), QStringLiteral("0"));
    EXPECT_EQ(rows(u"select count() from Forecast where IdProject=44"), QStringLiteral("0"));

    // The reloaded tree shows the copy in its child order.
    reload();
    const CProject *copy = store.GetNode(32);
    ASSERT_NE(copy, nullptr);
    QStringList names;
    for (const CProject *c : copy->Children())
        names << c->GetName();
    EXPECT_EQ(names.join(u','), QStringLiteral("Sub A,Dev,Sub B"));
}

TEST_F(ProjectCopyTest, CopyIsPlacedBeforeOrAfterASibling)
{
    struct Case
    {
        int parent;
        int siblingProject, siblingActivity; // the reference node
        bool before;
        const char *storedOrder;             // the parent's row beforehand (null: none)
        const char *expected;
    };
    const Case cases[] = {
        {-1, 20, -2, true, ";20;10;", ";32;20;10;"},
        {-1, 20, -2, false, ";20;10;", ";20;32;10;"},
        {-1, 10, -2, false, nullptr, ";20;10;32;"}, // no stored order: written from the tree
        {10, 10, 7, true, ";14;A7;12;", ";14;32;A7;12;"},
        {10, 10, 7, false, ";14;A7;12;", ";14;A7;32;12;"},
        {10, 12, -2, false, ";14;A7;12;", ";14;A7;12;32;"},
        {10, 14, -2, true, ";14;A7;12;", ";32;14;A7;12;"},
    };
    for (const Case &c : cases) {
        open(QStringLiteral("case%1.sdb").arg(&c - cases)); // a fresh file for each case
        {
            CBdD db;
            db.Execute(u"delete from ProjectChilds where IdProject=-1");
            if (c.storedOrder && c.parent == -1)
                db.Execute(Formatter::sprintf(u"insert into ProjectChilds(IdProject, Childs) values (-1, '%s')",
                                              {QString::fromLatin1(c.storedOrder)}));
        }
        reload();
        const CProject *sibling = store.FindNode(c.siblingActivity, c.siblingProject);
        ASSERT_NE(sibling, nullptr);
        int id = -1;
        {
            CBdD db;
            id = db.CreateProject(store.GetNode(14), c.parent, QStringLiteral("Nouveau"), true, true,
                                  sibling, c.before);
        }
        EXPECT_EQ(id, 32);
        EXPECT_EQ(rows(Formatter::sprintf(u"select Childs from ProjectChilds where IdProject=%d", {c.parent})),
                  QString::fromLatin1(c.expected))
            << c.parent << " " << c.siblingProject << "," << c.siblingActivity << " before " << c.before;
        EXPECT_EQ(rows(Formatter::sprintf(u"select Date_Modif is not null from ProjectChilds where IdProject=%d",
                                          {c.parent})),
                  QStringLiteral("1"));
        // One undo step takes everything back.
        ASSERT_EQ(history.Undo(), CAnnulation::Outcome::Done);
        EXPECT_FALSE(history.CanUndo());
        EXPECT_EQ(rows(Formatter::sprintf(u"select Childs from ProjectChilds where IdProject=%d", {c.parent})),
                  c.storedOrder ? QString::fromLatin1(c.storedOrder) : QString());
        EXPECT_EQ(rows(u"select count() from Projets where Id >= 41 or Id = 32"), QStringLiteral("0"));
        EXPECT_EQ(rows(u"select Pc from NextRowId where Name='Projets'"), QStringLiteral("32"));
    }
}

TEST_F(ProjectCopyTest, AFailureLeavesNothing)
{
    {
        CBdD db;
        ASSERT_EQ(db.Execute(u"create trigger NoChilds before insert on ProjectChilds "
                             u"begin select raise(abort, 'refused'); end"),
                  0);
    }
    const QString before = rows(u"select count() from Projets") + rows(u"select count() from Forecast");
    {
        CBdD db;
        EXPECT_EQ(db.CreateProject(store.GetNode(10), -1, QStringLiteral("Copie"), true, true, nullptr, false), -1);
    }
    EXPECT_EQ(rows(u"select count() from Projets") + rows(u"select count() from Forecast"), before);
    EXPECT_EQ(rows(u"select Pc from NextRowId where Name='Projets'"), QStringLiteral("32"));
    EXPECT_FALSE(history.CanUndo());
    EXPECT_TRUE(notices.isEmpty());

    CBdD closed{QString()};
    EXPECT_EQ(closed.CreateProject(store.GetNode(10), -1, QStringLiteral("x"), true, true, nullptr, false), -1);
}
