#include "CConfiguration.h"
#include "tCurrentEntry.h"
#include "CDataChangedNotifier.h"
#include "Formatter.h"
#include "QuoteSql.h"
#include "RecordingFillers.h"
#include "RegisteredMessages.h"
#include "MessageBus.h"
#include "ShortBusyWait.h"
#include "TestDatabase.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QStringList>
#include <functional>
#include <tuple>
#include <QTreeWidget>

using Platform::Formatter;

namespace {

class ProjectsDbTest : public TestDatabase
{
protected:
    void SetUp() override
    {
        Platform::Clock::setFixedNow(1'700'000'000);
        TestDatabase::SetUp();
        QObject::connect(&CAppData::DataChangedNotifier(), &CDataChangedNotifier::dataChanged,
                         [this](qint64 w, qint64 l) { notices << QStringLiteral("%1/%2").arg(w).arg(l); });
        store.Context().formatCurrency = [](double v) {
            return Formatter::sprintf(u"%0.2f EUR", {v});
        };
    }

    QString childNames(const CProject *node)
    {
        QStringList names;
        for (const CProject *c : node->Children())
            names << c->GetName();
        return names.join(u',');
    }

    QStringList notices;
};

} // namespace

TEST_F(ProjectsDbTest, NewProjectWithItsForecastIsOneUndoableGroup)
{
    tElement e;
    e.Nom = QStringLiteral("Nouveau");
    e.Color = 0x030201;
    tForecast f;
    f.IdProject = -1;
    f.Prevu = 12;
    f.Predecesseurs = QStringLiteral(";5,-2,1,4;");
    f.Notes = QStringLiteral("l'été");
    {
        CBdD db;
        ASSERT_TRUE(db.SaveProject(&e, &f));
    }
    EXPECT_NE(e.Id, -1);
    EXPECT_EQ(f.IdProject, e.Id);
    EXPECT_EQ(cell(Formatter::sprintf(u"select Red||','||Green||','||Blue from Projets where Id=%d", {e.Id})),
              QStringLiteral("1,2,3"));
    EXPECT_EQ(cell(Formatter::sprintf(u"select Prevu||Notes||Predecesseurs from Forecast where IdProject=%d", {e.Id})),
              QStringLiteral("12l'été;5,-2,1,4;"));
    EXPECT_NE(cell(Formatter::sprintf(u"select Date_Modif from Forecast where IdProject=%d", {e.Id})),
              QString());
    EXPECT_EQ(notices, QStringList{QStringLiteral("2/0")});

    EXPECT_EQ(history.Undo(), CAnnulation::Outcome::Done);
    EXPECT_EQ(cell(QStringLiteral("select count(*) from Projets")), QStringLiteral("0"));
    EXPECT_EQ(cell(QStringLiteral("select count(*) from Forecast")), QStringLiteral("0"));
    EXPECT_EQ(history.Redo(), CAnnulation::Outcome::Done);
    EXPECT_EQ(cell(QStringLiteral("select count(*) from Forecast")), QStringLiteral("1"));
}

TEST_F(ProjectsDbTest, SavedProjectUpdatesTheStoreInPlaceUnlessItMoved)
{
    const int a = saveProject(QStringLiteral("A"));
    const int b = saveProject(QStringLiteral("B"));
    reload();
    notices.clear();

    tElement e;
    CBdD db;
    ASSERT_TRUE(db.GetElement(true, a, e, false));
    e.Nom = QStringLiteral("A renamed");
    e.Title = QStringLiteral("Titre");
    tForecast f;
    f.IdProject = a;
    f.Status = tForecast::StatusCompleted;
    ASSERT_TRUE(db.SaveProject(&e, &f));
    EXPECT_EQ(notices, QStringList{QStringLiteral("1/%1").arg(a)});
    EXPECT_EQ(store.GetProjectName(a), QStringLiteral("A renamed"));
    EXPECT_TRUE(store.GetNode(a)->IsCompleted());

    // Read back, edited and saved again: the title stays.
    tElement again;
    ASSERT_TRUE(db.GetElement(true, a, again, false));
    EXPECT_EQ(again.Title, QStringLiteral("Titre"));

    notices.clear();
    again.Parent = b;
    ASSERT_TRUE(db.SaveProject(&again, nullptr));
    EXPECT_EQ(notices, QStringList{QStringLiteral("2/0")});
    EXPECT_TRUE(store.GetNode(a)->IsTopLevel()); // the main frame reloads
}

TEST_F(ProjectsDbTest, DeletingAProjectMarksItsSubtreeAndOneUndoRestoresIt)
{
    const int top = saveProject(QStringLiteral("Top"));
    const int mid = saveProject(QStringLiteral("Mid"), top);
    const int leaf = saveProject(QStringLiteral("Leaf"), mid);
    const int other = saveProject(QStringLiteral("Other"));
    for (bool storeKnowsIt : {true, false}) {
        if (storeKnowsIt)
            reload();
        else
            store.Clear();
        notices.clear();
        CBdD db;
        ASSERT_TRUE(db.DeleteProject(top));
        EXPECT_EQ(notices, QStringList{QStringLiteral("2/0")});
        EXPECT_EQ(cell(QStringLiteral("select group_concat(Id) from (select Id from Projets where Deleted=1 order by Id)")),
                  QStringLiteral("%1,%2,%3").arg(top).arg(mid).arg(leaf));
        EXPECT_EQ(cell(Formatter::sprintf(u"select Date_Modif from Projets where Id=%d", {leaf})),
                  QStringLiteral("1700000000"));
        EXPECT_EQ(history.Undo(), CAnnulation::Outcome::Done);
        EXPECT_EQ(cell(QStringLiteral("select count(*) from Projets where Deleted=0")), QStringLiteral("4"));
        reload();
        EXPECT_EQ(store.GetNode(leaf)->GetFullName(), QStringLiteral("Top / Mid / Leaf"));
        EXPECT_NE(store.GetNode(other), nullptr);
    }
}

// A redone deletion is a change of this desktop again, as the deletion
// was: the synchronisation must find it, whatever stamps the undo put back.
TEST_F(ProjectsDbTest, RedoingAProjectDeletionStampsTheRowsAgain)
{
    const int top = saveProject(QStringLiteral("Top"));
    saveProject(QStringLiteral("Leaf"), top);
    reload();
    exec(QStringLiteral("update Projets set Origine_Modif=0, Date_Modif=5")); // synchronised since
    const QString rows = QStringLiteral(
        "select group_concat(Deleted||'/'||Origine_Modif||'/'||Date_Modif) from (select * from Projets order by Id)");
    {
        CBdD db;
        ASSERT_TRUE(db.DeleteProject(top));
    }
    const QString deleted = QStringLiteral("1/1/1700000000,1/1/1700000000");
    EXPECT_EQ(cell(rows), deleted);
    ASSERT_EQ(history.Undo(), CAnnulation::Outcome::Done);
    EXPECT_EQ(cell(rows), QStringLiteral("0/0/5,0/0/5"));
    ASSERT_EQ(history.Redo(), CAnnulation::Outcome::Done);
    EXPECT_EQ(cell(rows), deleted);
}

TEST_F(ProjectsDbTest, DamagedChildOrderLoadsEveryProjectOnceInASoundOrder)
{
    const int a = saveProject(QStringLiteral("Alpha"));
    const int b = saveProject(QStringLiteral("Beta"));
    const int c = saveProject(QStringLiteral("Gamma"));
    const int c1 = saveProject(QStringLiteral("Child 1"), c);
    const int c2 = saveProject(QStringLiteral("Child 2"), c);
    {
        CBdD db;
        // Repeated, unknown and stray entries; the top level listed twice.
        db.Execute(Formatter::sprintf(u"insert into ProjectChilds (IdProject, Childs) values (-1, ';%d;;x;%d;%d;999;A;')",
                                      {c, a, c}));
        db.Execute(u"insert into ProjectChilds (IdProject, Childs) values (-1, ';1;')");
        db.Execute(Formatter::sprintf(u"insert into ProjectChilds (IdProject, Childs) values (%d, ';%d;%d;%d')",
                                      {c, c2, c2, c1}));
        db.Execute(Formatter::sprintf(u"insert into ProjectChilds (IdProject, Childs) values (%d, ';%d;')",
                                      {c, c1}));
    }
    reload();
    EXPECT_EQ(store.GetProjectCount(), 5);
    EXPECT_EQ(childNames(store.GetRoot()), QStringLiteral("Gamma,Alpha,Beta"));
    EXPECT_EQ(childNames(store.GetNode(c)), QStringLiteral("Child 2,Child 1"));
    (void)b;
}

TEST_F(ProjectsDbTest, MovingANodeWritesTheChildListsAndReloadsTheSameOrder)
{
    const int a = saveProject(QStringLiteral("A"));
    const int b = saveProject(QStringLiteral("B"));
    const int a1 = saveProject(QStringLiteral("A1"), a);
    const int a2 = saveProject(QStringLiteral("A2"), a);
    const int b1 = saveProject(QStringLiteral("B1"), b);
    reload();
    notices.clear();
    ASSERT_TRUE(store.MoveNode(store.GetNode(a2), store.GetNode(b1), 1));
    EXPECT_EQ(notices, QStringList{QStringLiteral("0/3")});
    EXPECT_EQ(cell(Formatter::sprintf(u"select Parent from Projets where Id=%d", {a2})), QString::number(b));
    EXPECT_EQ(cell(Formatter::sprintf(u"select Childs from ProjectChilds where IdProject=%d", {b})),
              Formatter::sprintf(u";%d;%d;", {a2, b1}));
    ASSERT_TRUE(store.MoveNode(store.GetNode(b), store.GetNode(a), 1));
    reload();
    EXPECT_EQ(childNames(store.GetRoot()), QStringLiteral("B,A"));
    EXPECT_EQ(childNames(store.GetNode(b)), QStringLiteral("A2,B1"));
    EXPECT_EQ(childNames(store.GetNode(a)), QStringLiteral("A1"));

    // The first move is undone in one step each.
    EXPECT_EQ(history.Undo(), CAnnulation::Outcome::Done);
    EXPECT_EQ(history.Undo(), CAnnulation::Outcome::Done);
    reload();
    EXPECT_EQ(childNames(store.GetNode(a)), QStringLiteral("A1,A2"));
    EXPECT_EQ(childNames(store.GetNode(b)), QStringLiteral("B1"));
    EXPECT_EQ(cell(QStringLiteral("select count(*) from ProjectChilds")), QStringLiteral("0"));
    (void)a1;
}

TEST_F(ProjectsDbTest, MovingAnActivityNodeLeavesItsProjectWhereItIs)
{
    const int top = saveProject(QStringLiteral("Top"));
    const int p = saveProject(QStringLiteral("P"), top);
    const int dev = saveActivity(QStringLiteral("Dev"));
    const int test = saveActivity(QStringLiteral("Test"));
    reload();
    store.AddTaskStatistics(p, dev, 1, 60, 10, 70);
    store.AddTaskStatistics(p, test, 1, 60, 10, 70);
    CProject *project = store.GetNode(p);
    CProject *devNode = store.FindNode(dev, p);
    ASSERT_NE(devNode, nullptr);
    // Last child of its own project, then before its sibling: each writes
    // the project's child list and nothing else.
    for (const auto &[mode, target, order] :
         {std::tuple{0, project, Formatter::sprintf(u";A%d;A%d;", {test, dev})},
          std::tuple{1, store.FindNode(test, p), Formatter::sprintf(u";A%d;A%d;", {dev, test})}}) {
        SCOPED_TRACE(mode);
        ASSERT_TRUE(store.MoveNode(devNode, target, mode));
        EXPECT_EQ(cell(Formatter::sprintf(u"select Childs from ProjectChilds where IdProject=%d", {p})), order);
        EXPECT_EQ(cell(Formatter::sprintf(u"select Parent from Projets where Id=%d", {p})), QString::number(top));
    }
    reload();
    ASSERT_NE(store.GetNode(p), nullptr) << "the project is still in the tree";
    EXPECT_EQ(store.GetNode(p)->GetParent(), store.GetNode(top));
}

TEST_F(ProjectsDbTest, AwkwardNamesAreStoredAndFound)
{
    const QString names[] = {
        QStringLiteral("l'atelier d'été"),
        QStringLiteral("a;b;c'); drop table Projets; --"),
        QStringLiteral("Проект 日本語 \"quoted\""),
        QStringLiteral("%d %s %I64d 100%"),
    };
    for (const QString &name : names) {
        const int activityId = saveActivity(name);
        const int projectId = saveProject(name);
        CBdD db;
        int found = -1;
        EXPECT_TRUE(db.FindActivityByName(name, found)) << name.toStdString();
        EXPECT_EQ(found, activityId);
        QString p, a;
        db.GetElementNames(projectId, activityId, p, a);
        EXPECT_EQ(p, name);
        EXPECT_EQ(a, name);
        tElement rate;
        rate.Nom = name;
        rate.Valeur = 1.5f;
        ASSERT_TRUE(db.SaveRate(rate));
        EXPECT_TRUE(db.FindRateByName(name, found));
        EXPECT_EQ(found, rate.Id);
    }
    reload();
    EXPECT_EQ(store.GetProjectCount(), 4);
    EXPECT_EQ(cell(QStringLiteral("select count(*) from sqlite_master where name='Projets'")), QStringLiteral("1"));
    int none = 7;
    CBdD db;
    EXPECT_FALSE(db.FindActivityByName(QStringLiteral("absent"), none));
    EXPECT_EQ(none, 7);
}

TEST_F(ProjectsDbTest, ActivityListChecksExactlyItsActivities)
{
    const int first = saveActivity(QStringLiteral("Zeta"));
    const int second = saveActivity(QStringLiteral("Alpha"));
    const int third = saveActivity(QStringLiteral("Mu"));
    struct
    {
        QString ids;
        QString expected; // checked names in tree order
    } cases[] = {
        {QString(), QStringLiteral("Alpha,Mu,Zeta")},
        {QStringLiteral("(%1,%2)").arg(first).arg(third), QStringLiteral("Mu,Zeta")},
        {QStringLiteral("(%1)").arg(second), QStringLiteral("Alpha")},
        {QStringLiteral("(99)"), QString()},
    };
    for (const auto &c : cases) {
        RecordingTree tree;
        CBdD db;
        db.LoadActivities(&tree, nullptr, false, c.ids);
        QStringList checked, all;
        for (const auto &item : tree.top.children) {
            all << item->text;
            EXPECT_EQ(item->image, 16);
            if (item->checked)
                checked << item->text;
        }
        EXPECT_EQ(all.join(u','), QStringLiteral("Alpha,Mu,Zeta"));
        EXPECT_EQ(checked.join(u','), c.expected) << c.ids.toStdString();
    }
    EXPECT_TRUE(store.Activities().isEmpty()); // not asked to store
}

TEST_F(ProjectsDbTest, RatesWithAndWithoutAValue)
{
    tElement none, some;
    none.Nom = QStringLiteral("Bénévole");
    some.Nom = QStringLiteral("Standard");
    some.Valeur = 12.5f;
    {
        CBdD db;
        ASSERT_TRUE(db.SaveRate(none));
        ASSERT_TRUE(db.SaveRate(some));
    }
    EXPECT_EQ(cell(Formatter::sprintf(u"select Valeur from TauxHoraire where Id=%d", {some.Id})),
              QStringLiteral("12.5"));
    QTreeWidget widget;
    CTreeWidgetFiller filler(&widget);
    RecordingTree recorded;
    RecordingCombo combo;
    {
        CBdD db;
        db.LoadRates(&filler, nullptr);
        db.LoadRates(&recorded, nullptr);
        db.FillRateCombo(combo, some.Id);
    }
    ASSERT_EQ(widget.topLevelItemCount(), 2);
    EXPECT_EQ(widget.topLevelItem(0)->text(0), QStringLiteral("Bénévole"));
    EXPECT_EQ(widget.topLevelItem(1)->text(0), QStringLiteral("Standard (12.50 EUR)"));
    EXPECT_EQ(dump(recorded), dump(widget));
    EXPECT_EQ(recorded.top.children[1]->image, 17);
    EXPECT_FLOAT_EQ(store.GetRateValue(some.Id), 12.5f);
    ASSERT_EQ(combo.items.size(), 2u);
    EXPECT_EQ(combo.items[1].text, QStringLiteral("Standard (12.50 EUR)"));
    EXPECT_EQ(combo.selection, 1);

    // Deleted: found only when asked for deleted rows too.
    CBdD db;
    ASSERT_TRUE(db.DeleteRate(some.Id));
    tElement r;
    EXPECT_FALSE(db.GetRate(r, some.Id, false));
    EXPECT_EQ(r.Id, -1);
    EXPECT_TRUE(r.Nom.isEmpty());
    EXPECT_TRUE(db.GetRate(r, some.Id, true));
    EXPECT_EQ(r.Nom, QStringLiteral("Standard"));
    EXPECT_FLOAT_EQ(r.Valeur, 12.5f);
    EXPECT_EQ(history.Undo(), CAnnulation::Outcome::Done);
    EXPECT_TRUE(db.GetRate(r, some.Id, false));
}

TEST_F(ProjectsDbTest, ElementComboLeavesOutTheSkippedSubtree)
{
    const int a = saveProject(QStringLiteral("A"));
    const int a1 = saveProject(QStringLiteral("A1"), a);
    saveProject(QStringLiteral("A1x"), a1);
    const int b = saveProject(QStringLiteral("B"));
    const int b1 = saveProject(QStringLiteral("B1"), b);
    struct
    {
        int skip, current;
        const char *expected;
        int selection;
    } cases[] = {
        {-99, b1, "A A1 A1x B B1", 4},
        {a1, b, "A B B1", 1},
        {a, a1, "B B1", -1},
    };
    for (const auto &c : cases) {
        RecordingCombo combo;
        std::vector<int> rates;
        CBdD db;
        db.FillElementCombo(combo, &rates, true, c.current, -1, c.skip);
        QStringList names;
        for (const auto &item : combo.items)
            names << item.text;
        EXPECT_EQ(names.join(u' '), QString::fromLatin1(c.expected));
        EXPECT_EQ(combo.selection, c.selection);
        EXPECT_EQ(rates.size(), combo.items.size());
    }
}

TEST_F(ProjectsDbTest, ActivitiesSavedDeletedAndUndone)
{
    tElement a;
    a.Nom = QStringLiteral("Dev");
    a.Color = 0x0A0B0C;
    a.IdTauxHoraire = 3;
    CBdD db;
    ASSERT_TRUE(db.SaveActivity(a));
    EXPECT_EQ(notices, QStringList{QStringLiteral("3/0")});
    tElement read;
    ASSERT_TRUE(db.GetElement(false, a.Id, read, false));
    EXPECT_EQ(read.Nom, QStringLiteral("Dev"));
    EXPECT_EQ(read.Color, 0x0A0B0Cu);
    EXPECT_EQ(read.IdTauxHoraire, 3);
    EXPECT_EQ(read.Type, 0);
    a.Nom = QStringLiteral("Développement");
    ASSERT_TRUE(db.SaveActivity(a));
    ASSERT_TRUE(db.DeleteActivity(a.Id));
    EXPECT_FALSE(db.GetElement(false, a.Id, read, false));
    EXPECT_EQ(read.Id, -1);
    EXPECT_TRUE(db.GetElement(false, a.Id, read, true));
    EXPECT_EQ(history.Undo(), CAnnulation::Outcome::Done); // the deletion
    EXPECT_EQ(history.Undo(), CAnnulation::Outcome::Done); // the rename
    ASSERT_TRUE(db.GetElement(false, a.Id, read, false));
    EXPECT_EQ(read.Nom, QStringLiteral("Dev"));
}

// Undoing a deletion puts back the flag the row had: a row the other
// program had already deleted, deleted again here before a reload, stays
// deleted; a live row comes back.
TEST_F(ProjectsDbTest, UndoingADeletionPutsBackTheFlagTheRowHad)
{
    const int activity = saveActivity(QStringLiteral("Dev"));
    const int rate = saveRate(QStringLiteral("Standard"));
    int favourite = -1;
    {
        CBdD db;
        ASSERT_EQ(db.AddFavorite(-1, -1, activity, rate, QStringLiteral("Fav"), &favourite), CBdD::FavoriteDone);
    }
    const struct
    {
        const char *table;
        int id;
        bool (CBdD::*remove)(int);
    } cases[] = {
        {"Activites", activity, &CBdD::DeleteActivity},
        {"TauxHoraire", rate, &CBdD::DeleteRate},
        {"Favoris", favourite, &CBdD::DeleteFavorite},
    };
    for (const auto &c : cases) {
        for (const char *before : {"1", "0"}) {
            SCOPED_TRACE(std::string(c.table) + " Deleted=" + before);
            const QString flag = Formatter::sprintf(u"select Deleted from %s where Id=%d", {c.table, c.id});
            exec(Formatter::sprintf(u"update %s set Deleted=%s where Id=%d", {c.table, before, c.id}));
            {
                CBdD db;
                ASSERT_TRUE((db.*c.remove)(c.id));
            }
            EXPECT_EQ(cell(flag), QStringLiteral("1"));
            ASSERT_EQ(history.Undo(), CAnnulation::Outcome::Done);
            EXPECT_EQ(cell(flag), QString::fromLatin1(before));
        }
    }
}

// A reload whose read fails (the other program holds the file while it
// commits) keeps the projects, activities and rates the store holds
// instead of leaving it empty.
TEST_F(ProjectsDbTest, ReloadsThatCannotReadKeepWhatTheStoreHolds)
{
    const int top = saveProject(QStringLiteral("Top"));
    const int activity = saveActivity(QStringLiteral("Dev"));
    const int rate = saveRate(QStringLiteral("Standard"));
    reload();
    {
        CBdD db;
        EXPECT_TRUE(db.LoadRates(nullptr, nullptr));
    }
    ASSERT_NE(store.GetNode(top), nullptr);
    ASSERT_NE(store.GetActivity(activity), nullptr);
    ASSERT_NE(store.GetRate(rate), nullptr);
    {
        const ShortBusyWait noWait;
        CBdD db;
        SQLite::CmyDataBase other;
        ASSERT_EQ(other.Open(path), 0);
        ASSERT_EQ(other.Execute(u"BEGIN EXCLUSIVE"), 0);
        // The branches of a tree filled by these reads are told to stay.
        RecordingTree tree;
        EXPECT_FALSE(db.LoadActivities(&tree, nullptr, true, QString()));
        db.LoadProjects(-1, nullptr);
        EXPECT_FALSE(db.LoadRates(&tree, nullptr));
        EXPECT_TRUE(tree.top.children.empty());
    }
    ASSERT_NE(store.GetNode(top), nullptr);
    EXPECT_EQ(store.GetNode(top)->GetName(), QStringLiteral("Top"));
    EXPECT_NE(store.GetActivity(activity), nullptr);
    EXPECT_NE(store.GetRate(rate), nullptr);
}

TEST_F(ProjectsDbTest, ClosedDatabaseReadsNothingAndLeavesOutputs)
{
    store.SetActivity(1, tElement());
    store.SetRate(1, tRate());
    store.AddProject([] { tElement e; e.Id = 5; return e; }(), nullptr, QString());
    CBdD closed{QString()};
    ASSERT_FALSE(closed.IsOpen());
    tElement e;
    e.Nom = QStringLiteral("kept");
    EXPECT_FALSE(closed.GetElement(true, 1, e, false));
    EXPECT_EQ(e.Nom, QStringLiteral("kept"));
    EXPECT_FALSE(closed.GetRate(e, 1, false));
    EXPECT_EQ(e.Nom, QStringLiteral("kept"));
    QString p = QStringLiteral("x"), a = QStringLiteral("y");
    closed.GetElementNames(1, 1, p, a);
    EXPECT_TRUE(p.isEmpty() && a.isEmpty());
    EXPECT_FALSE(closed.SaveActivity(e));
    closed.LoadProjects(-1, nullptr);
    EXPECT_FALSE(closed.LoadActivities(nullptr, nullptr, true, QString()));
    EXPECT_FALSE(closed.LoadRates(nullptr, nullptr));
    EXPECT_EQ(store.GetProjectCount(), 0);
    EXPECT_TRUE(store.Activities().isEmpty());
    EXPECT_TRUE(store.Rates().isEmpty());
}

TEST_F(ProjectsDbTest, SettingsObjectDrivesUnitsCurrencyAndRunningRules)
{
    CConfiguration config;
    config.workingDays.AddPeriod(0, 9 * 60, 12 * 60); // a default day of 3 hours
    config.workingDays.UpdateTotals();
    CAppData::SetConfiguration(&config);
    const int id = saveProject(QStringLiteral("P"));
    tForecast f;
    f.IdProject = id;
    f.Prevu = 2;
    f.TypePrevu = 2; // working days of the calendar
    CBdD db;
    ASSERT_TRUE(db.SaveProject(nullptr, &f));
    reload();
    tForecast loaded = f;
    store.SetForecast(loaded);
    EXPECT_EQ(store.GetNode(id)->GetPlannedWork(), config.ToSeconds(2, 2));
    EXPECT_EQ(config.ToSeconds(2, 2), 2 * 3 * 3600);
    EXPECT_EQ(CBdD::RateText(QStringLiteral("R"), 12.5),
              QStringLiteral("R (%1)").arg(config.FormatCurrency(12.5)));

    store.AddTaskStatistics(id, 4, 1, 60, 1, 2);
    tCurrentEntry current;
    CAppData::SetCurrentEntry(&current);
    EXPECT_FALSE(store.GetNode(id)->IsRunning(true));
    current.Entry.Id = 9;
    current.Entry.IdProjet = id;
    current.Entry.IdActivite = 4;
    current.Elapsed = 30;
    EXPECT_EQ(store.GetNode(id)->GetDoneWork(false), 60 + 30);
    config.showActivities = false;
    EXPECT_TRUE(store.GetNode(id)->IsRunning(false));
    config.showActivities = true;
    EXPECT_FALSE(store.GetNode(id)->IsRunning(false));
    current.Entry.IdActivite = -1;
    EXPECT_TRUE(store.GetNode(id)->IsRunning(false));
    config.forecastRunningOnActivity = true;
    EXPECT_FALSE(store.GetNode(id)->IsRunning(false));
}

// A write aimed at an id that has no row changes nothing: it reports
// failure, leaves no undo group, stamps nothing and tells nobody.
TEST_F(ProjectsDbTest, WritesToAnIdWithoutARowFailAndLeaveNoTrace)
{
    const int project = saveProject(QStringLiteral("Kept"));
    const int activity = saveActivity(QStringLiteral("Kept"));
    tElement rate;
    rate.Nom = QStringLiteral("Kept");
    {
        CBdD db;
        ASSERT_TRUE(db.SaveRate(rate));
        ASSERT_TRUE(db.DeleteRate(rate.Id)); // a deleted row is still a row
    }
    reload();
    constexpr int Missing = 99'999;
    auto element = [](int id) {
        tElement e;
        e.Id = id;
        e.Nom = QStringLiteral("Fantôme");
        return e;
    };
    const std::vector<std::pair<const char *, std::function<bool(CBdD &)>>> cases = {
        {"SaveProject", [&](CBdD &db) { tElement e = element(Missing); return db.SaveProject(&e, nullptr); }},
        {"SaveProject with a forecast",
         [&](CBdD &db) {
             tElement e = element(Missing);
             tForecast f;
             f.IdProject = Missing;
             return db.SaveProject(&e, &f);
         }},
        {"SaveActivity", [&](CBdD &db) { tElement e = element(Missing); return db.SaveActivity(e); }},
        {"SaveRate", [&](CBdD &db) { tElement e = element(Missing); return db.SaveRate(e); }},
        {"DeleteProject", [&](CBdD &db) { return db.DeleteProject(Missing); }},
        {"DeleteActivity", [&](CBdD &db) { return db.DeleteActivity(Missing); }},
        {"DeleteRate", [&](CBdD &db) { return db.DeleteRate(Missing); }},
        {"SaveChildOrders moving a missing project",
         [&](CBdD &db) { return db.SaveChildOrders(-1, QStringLiteral(";%1;").arg(project), project,
                                                   QStringLiteral(";%1;").arg(Missing), Missing); }},
    };

    Platform::MessageBus tray;
    ASSERT_TRUE(tray.listen());
    QSignalSpy broadcasts(&tray, &Platform::MessageBus::received);
    for (const auto &[name, write] : cases) {
        SCOPED_TRACE(name);
        Platform::Clock::setFixedNow(1'700'000'500);
        QCoreApplication::processEvents();
        broadcasts.clear();
        notices.clear();
        const size_t steps = history.Steps().size();
        const int current = history.Current();
        const QString modif = cell(QStringLiteral("select Value from Infos where Name='Modif'"));
        const QString rows = cell(QStringLiteral(
            "select (select count(*) from Projets)||','||(select count(*) from Activites)||','||"
            "(select count(*) from TauxHoraire)||','||(select count(*) from Forecast)||','||"
            "(select count(*) from ProjectChilds)"));
        {
            CBdD db;
            EXPECT_FALSE(write(db));
        }
        EXPECT_EQ(history.Steps().size(), steps);
        EXPECT_EQ(history.Current(), current);
        EXPECT_EQ(cell(QStringLiteral("select Value from Infos where Name='Modif'")), modif);
        EXPECT_EQ(cell(QStringLiteral(
                      "select (select count(*) from Projets)||','||(select count(*) from Activites)||','||"
                      "(select count(*) from TauxHoraire)||','||(select count(*) from Forecast)||','||"
                      "(select count(*) from ProjectChilds)")),
                  rows);
        // The child-order write tells the main frame whatever its outcome;
        // the others only after a write that landed.
        if (std::string_view(name).starts_with("SaveChildOrders"))
            EXPECT_EQ(notices, QStringList{QStringLiteral("0/3")});
        else
            EXPECT_TRUE(notices.isEmpty()) << notices.join(u' ').toStdString();
        QCoreApplication::processEvents();
        EXPECT_EQ(broadcasts.count(), 0);
    }
    EXPECT_EQ(cell(Formatter::sprintf(u"select Parent from Projets where Id=%d", {project})), u"-1");

    // The rows that exist are still saved, the deleted rate revived by name.
    CBdD db;
    tElement p = element(project);
    EXPECT_TRUE(db.SaveProject(&p, nullptr));
    tElement a = element(activity);
    EXPECT_TRUE(db.SaveActivity(a));
    tElement r = element(rate.Id);
    EXPECT_TRUE(db.SaveRate(r));
    EXPECT_TRUE(db.DeleteActivity(activity));
}

// A project whose Parent holds no value sits at the top level, in the
// store's tree, in the combos and in a single read alike (the column's
// own default is -1, no parent).
TEST_F(ProjectsDbTest, ProjectWithoutParentValueIsTopLevelEverywhere)
{
    const int orphan = saveProject(QStringLiteral("Sans parent"));
    const int child = saveProject(QStringLiteral("Enfant"), orphan);
    const int other = saveProject(QStringLiteral("Autre"));
    {
        CBdD db;
        ASSERT_EQ(db.Execute(Formatter::sprintf(u"update Projets set Parent=NULL where Id=%d", {orphan})), 0);
    }
    reload();
    ASSERT_NE(store.GetNode(orphan), nullptr);
    EXPECT_TRUE(store.GetNode(orphan)->IsTopLevel());
    EXPECT_EQ(store.GetNode(orphan)->Element().Parent, -1);
    ASSERT_NE(store.GetNode(child), nullptr);
    EXPECT_EQ(store.GetNode(child)->GetParent(), store.GetNode(orphan));
    EXPECT_EQ(childNames(store.GetRoot()), QStringLiteral("Autre,Sans parent"));

    RecordingCombo combo;
    CBdD db;
    db.FillElementCombo(combo, nullptr, true, -1, -1, -1);
    QStringList names;
    for (const auto &item : combo.items)
        names << item.text;
    EXPECT_EQ(names, (QStringList{QStringLiteral("Autre"), QStringLiteral("Sans parent"), QStringLiteral("Enfant")}));

    tElement read;
    ASSERT_TRUE(db.GetElement(true, orphan, read, false));
    EXPECT_EQ(read.Parent, -1);
    // Saved as read, it stays where it is: no move, the store is updated in place.
    notices.clear();
    read.Nom = QStringLiteral("Sans parent 2");
    ASSERT_TRUE(db.SaveProject(&read, nullptr));
    EXPECT_EQ(notices, QStringList{QStringLiteral("1/%1").arg(orphan)});
    EXPECT_EQ(store.GetProjectName(orphan), QStringLiteral("Sans parent 2"));
    EXPECT_TRUE(store.GetNode(orphan)->IsTopLevel());
    (void)other;
}
