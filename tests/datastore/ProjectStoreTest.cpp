#include "CProjectStore.h"
#include "Clock.h"
#include "RecordingFillers.h"
#include "Texts.h"

#include <QComboBox>
#include <QStringList>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

namespace {

tElement element(int id, const QString &name, int parent = -1, int type = 0)
{
    tElement e;
    e.Id = id;
    e.Nom = name;
    e.Parent = parent;
    e.Type = type;
    e.Color = 0x112233;
    return e;
}

tElement activity(int id, const QString &name, quint32 color = 0x445566)
{
    tElement e;
    e.Id = id;
    e.Nom = name;
    e.Color = color;
    return e;
}

CProject *add(CProjectStore &store, int id, const QString &name, int parent = -1,
              const QString &childOrder = QString(), int type = 0)
{
    return store.AddProject(element(id, name, parent, type), store.GetNode(parent), childOrder);
}

// "3 A7 5": project ids, and activity ids marked with A.
QString childKeys(const CProject *node)
{
    QStringList keys;
    for (const CProject *child : node->Children())
        keys << (child->IsActivity() ? QStringLiteral("A%1").arg(child->ActivityId())
                                     : QString::number(child->ProjectId()));
    return keys.join(u' ');
}

class ProjectStoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Platform::Clock::setFixedNow(1'700'000'000);
        Platform::Clock::setTickSource([this] { return tick; });
    }
    void TearDown() override { Platform::Clock::reset(); }

    qint64 tick = 1000;
    CProjectStore store;
};

} // namespace

// ---------------------------------------------------------------- placement

struct PlacementCase
{
    const char *name;
    const char *childOrder;
    const char *arrivals; // in order: "3" a project, "A7" an activity
    const char *expected;
};

TEST_F(ProjectStoreTest, PlacesChildrenByTheChildOrderText)
{
    const PlacementCase cases[] = {
        {"activity listed before project arrives last", ";A7;3;", "3 A7", "A7 3"},
        {"listed order wins over arrival order", ";5;3;4;", "3 4 5", "5 3 4"},
        {"unlisted child goes last", ";5;3;", "3 9 5", "5 3 9"},
        {"empty text appends projects", "", "5 3 4", "5 3 4"},
        {"empty text sorts activities after projects", "", "5 3 A2 A1 A7", "5 3 A1 A2 A7"},
        {"an activity that came first stays first", "", "A2 5", "A2 5"},
        {"stray separators and junk are ignored", ";;5;;x;3;A;", "3 5", "5 3"},
        {"repeated id keeps its first place", ";4;3;4;", "3 4", "4 3"},
        {"unknown ids change nothing", ";99;4;98;3;", "3 4", "4 3"},
        {"missing final separator still read", ";4;3", "3 4", "4 3"},
    };
    // Activity names: 1 "Alpha", 2 "Beta", 7 "Gamma".
    for (const auto &c : cases) {
        CProjectStore s;
        s.SetActivity(1, activity(1, QStringLiteral("Alpha")));
        s.SetActivity(2, activity(2, QStringLiteral("Beta")));
        s.SetActivity(7, activity(7, QStringLiteral("Gamma")));
        CProject *parent = s.AddProject(element(100, QStringLiteral("P")), nullptr,
                                        QString::fromLatin1(c.childOrder));
        for (const QString &a : QString::fromLatin1(c.arrivals).split(u' ')) {
            if (a.startsWith(u'A'))
                s.AddTaskStatistics(100, a.mid(1).toInt(), 1, 60, 10, 70);
            else
                s.AddProject(element(a.toInt(), QStringLiteral("N") + a, 100), parent, QString());
        }
        EXPECT_EQ(childKeys(parent), QString::fromLatin1(c.expected)) << c.name;
    }
}

TEST_F(ProjectStoreTest, DamagedChildOrderStillLoadsEveryProjectOnce)
{
    CProject *root = store.GetRoot();
    root->SetChildOrder(QStringLiteral(";3;;3;x;A;-;7;999;2"));
    for (int id : {1, 2, 3, 4, 7})
        add(store, id, QStringLiteral("P%1").arg(id));
    // A project already known is not added again.
    EXPECT_EQ(add(store, 3, QStringLiteral("again")), nullptr);
    EXPECT_EQ(childKeys(root), QStringLiteral("3 7 2 1 4"));
    EXPECT_EQ(store.GetProjectCount(), 5);
    root->BuildChildOrder();
    EXPECT_EQ(root->GetChildOrder(), QStringLiteral(";3;7;2;1;4;"));
}

// A load hands every child of one parent to the store at once; the order
// must be the one that adding them one after the other gives, whatever the
// text, the arrival order and the children the parent already holds.
TEST_F(ProjectStoreTest, ChildrenAddedAtOnceStandWhereOneByOneWouldPlaceThem)
{
    std::mt19937 random(20261209);
    auto pick = [&](int n) { return int(random() % unsigned(n)); };
    const QStringList junk = {QString(), QStringLiteral("x"), QStringLiteral("A"), QStringLiteral("-"),
                              QStringLiteral("99"), QStringLiteral("A98")};
    for (int round = 0; round < 2000; ++round) {
        // A child-order text listing some of the ids 1..14 (projects) and
        // activities 1..4, with repeats and junk; sometimes none at all.
        QString text;
        if (pick(8) != 0) {
            const int entries = pick(20);
            for (int i = 0; i < entries; ++i) {
                const int kind = pick(10);
                if (kind < 6)
                    text += u';' + QString::number(1 + pick(14));
                else if (kind < 8)
                    text += QStringLiteral(";A%1").arg(1 + pick(4));
                else
                    text += u';' + junk[pick(int(junk.size()))];
            }
            if (pick(4) != 0)
                text += u';';
        }
        // Children the parent holds already: some projects placed by the
        // text, some activity nodes, and now and then one put in front out
        // of the text's order (as a move leaves it until the text is rebuilt).
        std::vector<int> ids(14);
        std::iota(ids.begin(), ids.end(), 1);
        std::shuffle(ids.begin(), ids.end(), random);
        const int before = pick(4);
        std::vector<int> arrivals(ids.begin() + before, ids.begin() + before + pick(11));
        if (!arrivals.empty() && pick(5) == 0)
            arrivals.push_back(arrivals[size_t(pick(int(arrivals.size())))]); // known already
        const int activities = pick(3);
        const bool outOfOrder = pick(4) == 0;

        CProjectStore one;
        CProjectStore all;
        CProject *parents[2];
        for (CProjectStore *s : {&one, &all}) {
            for (int a = 1; a <= 4; ++a)
                s->SetActivity(a, activity(a, QStringLiteral("Act%1").arg(5 - a)));
            CProject *parent = s->AddProject(element(100, QStringLiteral("P")), nullptr, text);
            for (int i = 0; i < before; ++i)
                s->AddProject(element(ids[size_t(i)], QStringLiteral("E"), 100), parent, QString());
            for (int a = 1; a <= activities; ++a)
                s->AddTaskStatistics(100, a, 1, 60, 10, 70);
            if (outOfOrder && parent->GetChildCount() > 1) {
                CProject *moved = parent->GetChild(parent->GetChildCount() - 1);
                parent->RemoveChild(moved);
                parent->InsertChildAt(0, moved);
            }
            parents[s == &one ? 0 : 1] = parent;
        }
        std::vector<CProjectStore::tNewProject> batch;
        for (int id : arrivals) {
            one.AddProject(element(id, QStringLiteral("N%1").arg(id), 100), parents[0], QString());
            batch.push_back({element(id, QStringLiteral("N%1").arg(id), 100), QString()});
        }
        const std::vector<CProject *> nodes = all.AddProjects(batch, parents[1]);

        SCOPED_TRACE(QStringLiteral("text \"%1\", %2 before, %3 activities%4")
                         .arg(text)
                         .arg(before)
                         .arg(activities)
                         .arg(outOfOrder ? QStringLiteral(", out of order") : QString())
                         .toStdString());
        ASSERT_EQ(childKeys(parents[1]), childKeys(parents[0]));
        ASSERT_EQ(nodes.size(), arrivals.size());
        for (size_t i = 0; i < nodes.size(); ++i) {
            const bool repeated = std::find(arrivals.begin(), arrivals.begin() + long(i), arrivals[i])
                                  != arrivals.begin() + long(i);
            ASSERT_EQ(nodes[i] != nullptr, !repeated);
            if (nodes[i]) {
                EXPECT_EQ(nodes[i], all.GetNode(arrivals[i]));
                EXPECT_EQ(nodes[i]->GetParent(), parents[1]);
            }
        }
        ASSERT_EQ(all.GetProjectCount(), one.GetProjectCount());
    }
    // Nothing to add changes nothing.
    CProject *root = store.GetRoot();
    EXPECT_TRUE(store.AddProjects({}, nullptr).empty());
    EXPECT_EQ(root->GetChildCount(), 0);
}

TEST_F(ProjectStoreTest, BuildChildOrderWritesProjectsAndActivities)
{
    CProject *p = add(store, 1, QStringLiteral("P"));
    add(store, 2, QStringLiteral("C"), 1);
    store.AddTaskStatistics(1, 12, 1, 60, 100, 160);
    p->BuildChildOrder();
    EXPECT_EQ(p->GetChildOrder(), QStringLiteral(";2;A12;"));
    CProject *empty = add(store, 3, QStringLiteral("E"));
    empty->BuildChildOrder();
    EXPECT_EQ(empty->GetChildOrder(), QString());
}

// ---------------------------------------------------------------- statistics

TEST_F(ProjectStoreTest, StatisticsCreateActivityNodesAndKeepProjectDates)
{
    CProject *p = add(store, 4, QStringLiteral("P4"));
    store.AddTaskStatistics(4, -2, 2, 600, 5000, 9000);
    struct Step
    {
        int activity, count;
        qint64 seconds, first, last;
        bool created;
        qint64 expectFirst, expectLast, expectSeconds;
    } steps[] = {
        {9, 3, 1200, 2000, 4000, true, 2000, 4000, 1200},
        {9, 1, 60, 3000, 3500, false, 2000, 4000, 1260},  // inside: dates unchanged
        {9, 1, 60, 1000, 8000, false, 1000, 8000, 1320},  // wider: both move
        {9, 1, 60, 0, 0, false, 1000, 8000, 1380},        // no dates: kept
    };
    for (const auto &s : steps) {
        const qint64 before = store.LastModified();
        store.Touch();
        EXPECT_EQ(store.AddTaskStatistics(4, s.activity, s.count, s.seconds, s.first, s.last),
                  s.created);
        const CProject *node = store.FindNode(9, 4);
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->Forecast().MinDeb, s.expectFirst);
        EXPECT_EQ(node->Forecast().MaxFin, s.expectLast);
        EXPECT_EQ(node->Forecast().TotalTaches, s.expectSeconds);
        (void)before;
    }
    EXPECT_EQ(p->Forecast().MinDeb, 5000);
    EXPECT_EQ(p->Forecast().MaxFin, 9000);
    EXPECT_EQ(p->GetTaskCount(false), 2);
    EXPECT_EQ(p->GetTaskCount(true), 8);
    EXPECT_EQ(p->GetDoneWork(false), 600 + 1380);
    // An unknown project adds nothing.
    EXPECT_FALSE(store.AddTaskStatistics(77, 9, 1, 1, 1, 1));
}

TEST_F(ProjectStoreTest, ForecastRecordCreatesActivityNodeAndKeepsStatistics)
{
    add(store, 4, QStringLiteral("P4"));
    store.AddTaskStatistics(4, 9, 2, 100, 10, 20);
    tForecast f;
    f.IdProject = 4;
    f.IdActivity = 9;
    f.Status = 4;
    f.Prevu = 3;
    f.Predecesseurs = QStringLiteral(";4,-2,0,4;");
    EXPECT_TRUE(store.SetForecast(f));  // status changed
    EXPECT_FALSE(store.SetForecast(f)); // nothing changed
    const CProject *node = store.FindNode(9, 4);
    EXPECT_EQ(node->Forecast().NbTaches, 2);
    EXPECT_EQ(node->Forecast().Prevu, 3);
    EXPECT_EQ(node->Predecessors().size(), 1u);
    f.IdActivity = 11;
    EXPECT_TRUE(store.SetForecast(f)); // node created
    EXPECT_NE(store.FindNode(11, 4), nullptr);
    // The root's own row sets only its display flag.
    tForecast rootRow;
    rootRow.IdProject = -1;
    rootRow.bJours = true;
    rootRow.Status = 4;
    store.SetForecast(rootRow);
    EXPECT_TRUE(store.GetRoot()->Forecast().bJours);
    EXPECT_EQ(store.GetRoot()->Forecast().Status, 1);
}

// ---------------------------------------------------------------- reparenting

TEST_F(ProjectStoreTest, ReparentingMakesUpwardWalksFollowTheNewParent)
{
    add(store, 1, QStringLiteral("Alpha"));
    add(store, 2, QStringLiteral("Beta"));
    add(store, 3, QStringLiteral("Child"), 1);
    store.AddTaskStatistics(3, 8, 1, 60, 1, 2);
    store.SetActivity(8, activity(8, QStringLiteral("Dev")));
    tForecast done;
    done.IdProject = 2;
    done.Status = tForecast::StatusCompleted;
    store.SetForecast(done);

    const CProject *act = store.FindNode(8, 3);
    EXPECT_EQ(act->GetFullName(), QStringLiteral("Alpha / Child / Dev"));
    EXPECT_FALSE(act->IsCompleted());

    tElement moved = element(3, QStringLiteral("Child"), 2);
    store.UpdateProject(moved);
    EXPECT_EQ(act->GetFullName(), QStringLiteral("Beta / Child / Dev"));
    EXPECT_TRUE(act->IsCompleted());
    EXPECT_EQ(childKeys(store.GetNode(1)), QString());
    EXPECT_EQ(childKeys(store.GetNode(2)), QStringLiteral("3"));
    EXPECT_EQ(store.GetNodeFullName(3, 8), QStringLiteral("Beta / Child / Dev"));

    // A project cannot be moved below its own child.
    store.UpdateProject(element(2, QStringLiteral("Beta"), 3));
    EXPECT_TRUE(store.GetNode(2)->IsTopLevel());
    EXPECT_EQ(store.GetNode(2)->Element().Parent, -1);
}

struct MoveCase
{
    const char *name;
    int node, target, mode;
    bool ok;
    const char *orderOf1, *orderOf2, *orderOfRoot;
    const char *write;
};

TEST_F(ProjectStoreTest, MoveNodeRebuildsAndWritesTheChildOrders)
{
    const MoveCase cases[] = {
        {"last child of another", 11, 2, 0, true, "12", "21 11", "1 2", "1:;12;|2:;21;11;|11"},
        {"before a node of another parent", 11, 21, 1, true, "12", "11 21", "1 2", "1:;12;|2:;11;21;|11"},
        {"after a node in the same parent", 11, 12, 2, true, "12 11", "21", "1 2", "1:;12;11;|-2:|-1"},
        {"to the top level", 21, 1, 1, true, "11 12", "", "21 1 2", "2:|-1:;21;1;2;|21"},
        {"into itself", 1, 1, 0, false, "11 12", "21", "1 2", ""},
        {"below its own child", 1, 11, 0, false, "11 12", "21", "1 2", ""},
    };
    // A write that fails leaves every node where it was, in the model as
    // in the database.
    for (const bool writeFails : {false, true}) {
        for (const auto &c : cases) {
            const std::string name = std::string(c.name) + (writeFails ? " (write fails)" : "");
            CProjectStore s;
            QString written;
            s.SetChildOrderWriter([&](int p1, const QString &c1, int p2, const QString &c2, int m) {
                written = QStringLiteral("%1:%2|%3:%4|%5").arg(p1).arg(c1).arg(p2).arg(c2).arg(m);
                return !writeFails;
            });
            add(s, 1, QStringLiteral("A"));
            add(s, 2, QStringLiteral("B"));
            add(s, 11, QStringLiteral("A1"), 1);
            add(s, 12, QStringLiteral("A2"), 1);
            add(s, 21, QStringLiteral("B1"), 2);
            EXPECT_EQ(s.MoveNode(s.GetNode(c.node), s.GetNode(c.target), c.mode), c.ok && !writeFails) << name;
            EXPECT_EQ(childKeys(s.GetNode(1)), QString::fromLatin1(writeFails ? "11 12" : c.orderOf1)) << name;
            EXPECT_EQ(childKeys(s.GetNode(2)), QString::fromLatin1(writeFails ? "21" : c.orderOf2)) << name;
            EXPECT_EQ(childKeys(s.GetRoot()), QString::fromLatin1(writeFails ? "1 2" : c.orderOfRoot)) << name;
            EXPECT_EQ(written, QString::fromLatin1(c.write)) << name;
            const CProject *moved = s.GetNode(c.node);
            EXPECT_EQ(moved->Element().Parent, moved->GetParent()->ProjectId()) << name;
        }
    }
}

// ---------------------------------------------------------------- recent list

struct HistoryCase
{
    const char *name;
    int loaded;                        // entries loaded first: (i, i, i) for i in 1..loaded
    std::vector<std::array<int, 3>> adds;
    const char *expected;              // project ids front to back
};

TEST_F(ProjectStoreTest, RecentListKeepsNewestFirstWithoutDuplicates)
{
    const HistoryCase cases[] = {
        {"same combination twice", 0, {{5, 1, 1}, {5, 1, 1}}, "5"},
        {"known entry moves to the front", 3, {{2, 2, 2}}, "2 1 3"},
        {"entry at the front stays", 3, {{1, 1, 1}}, "1 2 3"},
        {"other rate is another entry", 1, {{1, 1, 7}}, "1 1"},
        {"nine entries drop the last", 9, {{50, 0, 0}}, "50 1 2 3 4 5 6 7 8"},
        {"longer loaded list keeps its length", 12, {{50, 0, 0}}, "50 1 2 3 4 5 6 7 8 9 10 11"},
        {"short list grows", 2, {{50, 0, 0}}, "50 1 2"},
    };
    for (const auto &c : cases) {
        CProjectStore s;
        for (int i = 1; i <= c.loaded; ++i)
            s.AppendHistory(i, i, i);
        for (const auto &a : c.adds)
            s.AddHistory(a[0], a[1], a[2]);
        QStringList ids;
        int p, a, r;
        for (int i = 0; s.GetHistoryEntry(i, p, a, r); ++i)
            ids << QString::number(p);
        EXPECT_EQ(ids.join(u' '), QString::fromLatin1(c.expected)) << c.name;
        EXPECT_FALSE(s.GetHistoryEntry(-1, p, a, r));
        EXPECT_EQ(p, -1);
        EXPECT_EQ(r, -1);
    }
}

// ---------------------------------------------------------------- predecessor texts

struct PredecessorTextCase
{
    const char *text;
    const char *expected; // "p,a,lag,unit" entries separated by blanks
    const char *saved;
};

TEST_F(ProjectStoreTest, PredecessorTextsAreReadAndWritten)
{
    const PredecessorTextCase cases[] = {
        {";12,-2,3,3;;15;", "12,-2,3,3 15,-2,0,4", ";12,-2,3,3;;15,-2,0,4;"},
        {"", "", ""},
        {";;;", "", ""},
        {";7,9;", "7,9,0,4", ";7,9,0,4;"},
        {";7,9,2,1;", "7,9,2,4", ";7,9,2,4;"},  // any unit but hours becomes days
        {"8,3,1,3", "8,3,1,3", ";8,3,1,3;"},     // no separators at all
        {"; ;4,-2,5,4;", "4,-2,5,4", ";4,-2,5,4;"},
    };
    for (const auto &c : cases) {
        CProject node;
        node.LoadPredecessors(QString::fromLatin1(c.text));
        QStringList got;
        for (const CPredecessor &l : node.Predecessors())
            got << QStringLiteral("%1,%2,%3,%4").arg(l.IdProject).arg(l.IdActivity).arg(l.Lag).arg(l.LagUnit);
        EXPECT_EQ(got.join(u' '), QString::fromLatin1(c.expected)) << c.text;
        EXPECT_EQ(node.SavePredecessors(), QString::fromLatin1(c.saved)) << c.text;
    }
}

TEST_F(ProjectStoreTest, PredecessorLagsAndTheirTexts)
{
    struct
    {
        int lag, unit;
        qint64 seconds;
        const char *text;
    } cases[] = {
        {3, 3, 3 * 3600, "3 heure(s)"},
        {2, 4, 2 * 86400, "2 jour(s)"},
        {0, 4, 0, ""},
        {-1, 3, 0, "-1 heure(s)"},
    };
    for (const auto &c : cases) {
        CPredecessor p{1, -2, c.lag, c.unit};
        EXPECT_EQ(p.GetLag(), c.seconds);
        EXPECT_EQ(p.FormatLag(), QString::fromUtf8(c.text));
    }
}

TEST_F(ProjectStoreTest, PredecessorEditsRewriteTheText)
{
    CProject *n = add(store, 1, QStringLiteral("N"));
    add(store, 2, QStringLiteral("P2"));
    add(store, 3, QStringLiteral("P3"));
    n->SetPredecessor(2, -2, 1, 4);
    n->SetPredecessor(3, -2, 2, 3);
    n->SetPredecessor(2, -2, 5, 3); // existing link: lag changes
    EXPECT_EQ(n->Forecast().Predecesseurs, QStringLiteral(";2,-2,5,3;;3,-2,2,3;"));
    EXPECT_TRUE(n->ReplacePredecessor(3, -2, 4, 7, 0, 4));
    EXPECT_EQ(n->Forecast().Predecesseurs, QStringLiteral(";2,-2,5,3;;4,7,0,4;"));
    EXPECT_TRUE(n->RemovePredecessor(2, -2));
    EXPECT_FALSE(n->RemovePredecessor(2, -2));
    EXPECT_EQ(n->Forecast().Predecesseurs, QStringLiteral(";4,7,0,4;"));
    // The walk skips links whose node does not exist.
    CProject::PredecessorCursor cursor;
    EXPECT_EQ(n->NextPredecessor(cursor, true), nullptr);
}

TEST_F(ProjectStoreTest, InheritedPredecessorsAreWalkedUpToTheTopLevel)
{
    add(store, 1, QStringLiteral("Top"));
    add(store, 2, QStringLiteral("Mid"), 1);
    CProject *leaf = add(store, 3, QStringLiteral("Leaf"), 2);
    add(store, 7, QStringLiteral("X"));
    add(store, 8, QStringLiteral("Y"));
    store.GetNode(1)->SetPredecessor(7, -2, 0, 4);
    store.GetNode(2)->SetPredecessor(99, -2, 0, 4); // no such node
    leaf->SetPredecessor(8, -2, 0, 4);
    QStringList seen;
    CProject::PredecessorCursor cursor;
    while (const CPredecessor *p = leaf->NextPredecessor(cursor, true))
        seen << QString::number(p->IdProject);
    EXPECT_EQ(seen.join(u' '), QStringLiteral("8 7"));
    CProject::PredecessorCursor own;
    EXPECT_EQ(leaf->NextPredecessor(own, false)->IdProject, 8);
    EXPECT_EQ(leaf->NextPredecessor(own, false), nullptr);
    EXPECT_TRUE(store.GetNode(2)->HasPredecessors(false));
    leaf->RemovePredecessor(8, -2);
    EXPECT_FALSE(leaf->HasPredecessors(false));
    EXPECT_TRUE(leaf->HasPredecessors(true));

    QString up;
    leaf->AppendIdList(up, false, false);
    EXPECT_EQ(up, QStringLiteral(";3,-2;2,-2;1,-2;"));
    QString down = QStringLiteral("Id in (1");
    store.GetNode(1)->AppendIdList(down, true, true);
    EXPECT_EQ(down, QStringLiteral("Id in (1,2,3"));
}

// ---------------------------------------------------------------- loops

TEST_F(ProjectStoreTest, PredecessorLoopIsRefusedAndNeverStored)
{
    CProject *a = add(store, 1, QStringLiteral("A"));
    CProject *b = add(store, 2, QStringLiteral("B"));
    CProject *c = add(store, 3, QStringLiteral("C"));
    CProject *a1 = add(store, 11, QStringLiteral("A1"), 1);

    EXPECT_EQ(store.AddPredecessorLink(b, a, 1, 4), CProjectStore::LinkAdded);
    EXPECT_EQ(store.AddPredecessorLink(c, b, 0, 4), CProjectStore::LinkAdded);
    EXPECT_EQ(store.AddPredecessorLink(c, b, 0, 4), CProjectStore::LinkExists);

    struct
    {
        const char *name;
        CProject *node, *predecessor;
    } loops[] = {
        {"direct loop", a, b},
        {"loop through a chain", a, c},
        {"link to itself", a, a},
        {"link to own child", a, a1},
        {"child linked to an ancestor", a1, a},
        {"child of a linked project", a1, c},
    };
    for (const auto &l : loops) {
        const QString before = l.node->Forecast().Predecesseurs;
        EXPECT_EQ(store.AddPredecessorLink(l.node, l.predecessor, 0, 4), CProjectStore::LinkLoop)
            << l.name;
        EXPECT_EQ(l.node->Forecast().Predecesseurs, before) << l.name;
    }
    EXPECT_EQ(CProjectStore::PredecessorMessage(CProjectStore::LinkLoop, QString()),
              QStringLiteral("Vous ne pouvez pas lier un projet avec un de ses enfants."));
    EXPECT_EQ(CProjectStore::PredecessorMessage(CProjectStore::LinkExists, QStringLiteral("A / B")),
              QStringLiteral("'A / B' est déjà dans la liste des prédécesseurs."));
    EXPECT_TRUE(store.CheckPredecessorLoops(QString(), QStringLiteral(";1,-2;")));
    EXPECT_TRUE(store.CheckPredecessorLoops(QStringLiteral(";1,-2;"), QString()));
    // The candidate "2" (no activity) is the project node of B, whose chain
    // reaches A.
    EXPECT_FALSE(store.CheckPredecessorLoops(QStringLiteral(";1,-2;"), QStringLiteral(";2;")));
}

TEST_F(ProjectStoreTest, LoopCheckOutOfTimeAddsNothingAndSaysSo)
{
    CProject *a = add(store, 1, QStringLiteral("A"));
    CProject *b = add(store, 2, QStringLiteral("B"));
    store.AddPredecessorLink(b, a, 0, 4);
    // The clock jumps past the budget as soon as the check has started.
    int calls = 0;
    Platform::Clock::setTickSource([&] { return calls++ == 0 ? 0 : 5000; });
    EXPECT_EQ(store.AddPredecessorLink(a, b, 0, 4), CProjectStore::LinkTimedOut);
    EXPECT_EQ(a->Forecast().Predecesseurs, QString());
}

// A check that could not finish accepts nothing: a loop must never be
// stored because the time ran out.
TEST_F(ProjectStoreTest, LoopChecksOutOfTimeRefuseMovesAndChains)
{
    CProject *a = add(store, 1, QStringLiteral("A"));
    add(store, 2, QStringLiteral("B"));
    CProject *c = add(store, 3, QStringLiteral("C"));
    CProject *a1 = add(store, 11, QStringLiteral("A1"), 1);
    ASSERT_TRUE(c->CanAdopt(a1));
    ASSERT_TRUE(store.CheckPredecessorLoops(QStringLiteral(";1,-2;"), QStringLiteral(";2;")));
    int calls = 0;
    Platform::Clock::setTickSource([&] { return calls++ == 0 ? 0 : 5000; });
    EXPECT_FALSE(c->CanAdopt(a1));
    EXPECT_EQ(a1->GetParent(), a);
    calls = 0;
    EXPECT_FALSE(store.CheckPredecessorLoops(QStringLiteral(";1,-2;"), QStringLiteral(";2;")));
}

TEST_F(ProjectStoreTest, CanAdoptRefusesDescendantsAndLoopsAndRestoresTheTree)
{
    CProject *a = add(store, 1, QStringLiteral("A"));
    CProject *b = add(store, 2, QStringLiteral("B"));
    CProject *c = add(store, 3, QStringLiteral("C"));
    CProject *a1 = add(store, 11, QStringLiteral("A1"), 1);
    add(store, 12, QStringLiteral("A2"), 1);
    store.AddPredecessorLink(b, a, 0, 4); // B waits for A

    EXPECT_FALSE(a->CanAdopt(a));
    EXPECT_FALSE(a1->CanAdopt(a));
    // B under A would wait for its own parent.
    EXPECT_FALSE(a->CanAdopt(b));
    // A under B: A's subtree becomes B's, and B waits for A.
    EXPECT_FALSE(b->CanAdopt(a));
    EXPECT_TRUE(c->CanAdopt(a1));
    EXPECT_TRUE(store.GetRoot()->CanAdopt(a1));
    EXPECT_EQ(childKeys(a), QStringLiteral("11 12"));
    EXPECT_EQ(childKeys(c), QString());
    EXPECT_EQ(childKeys(b), QString());
    EXPECT_EQ(a1->GetParent(), a);
}

// ---------------------------------------------------------------- work figures

TEST_F(ProjectStoreTest, WorkFiguresAndTheirSentinels)
{
    CProject *empty = add(store, 1, QStringLiteral("Empty"));
    EXPECT_EQ(empty->GetExpectedWork(), 0);
    EXPECT_EQ(empty->GetRemainingWork(), CProject::NoWork);
    EXPECT_EQ(empty->GetProgress(), CProject::NoRatio);
    EXPECT_EQ(empty->GetPlannedRatio(), CProject::NoRatio);
    EXPECT_TRUE(empty->HasNoWork());

    struct Case
    {
        const char *name;
        int prevu, typePrevu, dureeSupp, status;
        qint64 total, recorded;
        qint64 planned, done, doneExtra, expected, remaining, estimated;
        double progress;
    } cases[] = {
        {"planned hours, half done", 2, 1, 0, 1, 0, 3600, 7200, 3600, 3600, 7200, 3600, 0, 0.5},
        {"planned minutes with extra", 30, 0, 10, 1, 0, 600, 1800, 600, 1200, 1800, 600, 0, 1200.0 / 1800},
        {"total overrides planned", 1, 1, 0, 1, 9000, 3600, 3600, 3600, 3600, 9000, 5400, 9000, 0.4},
        {"overrun: done is expected", 1, 1, 0, 1, 0, 7200, 3600, 7200, 7200, 7200, 0, 0, 1.0},
        {"working days", 1, 2, 0, 1, 0, 0, 8 * 3600, 0, 0, 8 * 3600, 8 * 3600, 0, 0.0},
        {"completed", 2, 1, 0, 4, 0, 3600, 7200, 3600, 3600, 7200, 0, 3600, 0.5},
        {"unknown unit", 2, 9, 0, 1, 0, 0, 0, 0, 0, 0, CProject::NoWork, 0, CProject::NoRatio},
    };
    int id = 100;
    for (const auto &c : cases) {
        CProject *n = add(store, ++id, QString::fromLatin1(c.name));
        tForecast f;
        f.IdProject = id;
        f.Prevu = c.prevu;
        f.TypePrevu = c.typePrevu;
        f.DureeSupp = c.dureeSupp;
        f.TypeDureeSupp = 0;
        f.Status = c.status;
        f.Total = c.total;
        store.SetForecast(f);
        if (c.recorded)
            store.AddTaskStatistics(id, -2, 1, c.recorded, 10, 20);
        EXPECT_EQ(n->GetPlannedWork(), c.planned) << c.name;
        EXPECT_EQ(n->GetDoneWork(false), c.done) << c.name;
        EXPECT_EQ(n->GetDoneWork(true), c.doneExtra) << c.name;
        EXPECT_EQ(n->GetExpectedWork(), c.expected) << c.name;
        EXPECT_EQ(n->GetRemainingWork(), c.remaining) << c.name;
        EXPECT_EQ(n->GetEstimatedTotal(), c.estimated) << c.name;
        EXPECT_DOUBLE_EQ(n->GetProgress(), c.progress) << c.name;
    }
}

TEST_F(ProjectStoreTest, ChildrenCarryTheWorkInAutomaticMode)
{
    CProject *p = add(store, 1, QStringLiteral("P"));
    add(store, 2, QStringLiteral("C1"), 1);
    add(store, 3, QStringLiteral("C2"), 1);
    auto forecast = [&](int id, int prevu, bool autoMode, qint64 total = 0) {
        tForecast f;
        f.IdProject = id;
        f.Prevu = prevu;
        f.bModeAuto = autoMode;
        f.Total = total;
        store.SetForecast(f);
    };
    forecast(1, 10, true);
    forecast(2, 2, false);
    forecast(3, 0, false);
    store.AddTaskStatistics(2, -2, 1, 1800, 10, 20);
    EXPECT_EQ(p->GetPlannedWork(false), 2 * 3600);
    EXPECT_EQ(p->GetPlannedWork(true), 0); // strict: C2 has none
    EXPECT_EQ(p->GetExpectedWork(), 2 * 3600);
    EXPECT_EQ(p->GetOwnRemainingWork(), 0);
    EXPECT_EQ(p->GetRemainingWork(), 2 * 3600 - 1800);

    // Not automatic: the node's own estimate beyond its children's.
    forecast(1, 10, false);
    EXPECT_EQ(p->GetExpectedWork(), 10 * 3600);
    EXPECT_EQ(p->GetOwnRemainingWork(), 10 * 3600 - 2 * 3600);
    store.AddTaskStatistics(1, -2, 1, 3600, 10, 20);
    EXPECT_EQ(p->GetOwnRemainingWork(), 10 * 3600 - 2 * 3600 - 3600);
    forecast(1, 1, false);
    EXPECT_EQ(p->GetOwnRemainingWork(), 0);
}

TEST_F(ProjectStoreTest, RunningEntryCountsOnItsNodeAndMarksItsAncestors)
{
    add(store, 1, QStringLiteral("Top"));
    CProject *p = add(store, 2, QStringLiteral("P"), 1);
    add(store, 3, QStringLiteral("Other"));
    store.AddTaskStatistics(2, 5, 1, 100, 10, 20);
    CProject *act = store.FindNode(5, 2);
    tProjectContext &ctx = store.Context();
    EXPECT_FALSE(p->IsRunning(true));

    ctx.runningFlag = 0;
    ctx.runningProject = 2;
    ctx.runningActivity = 5;
    ctx.runningSeconds = 50;
    struct
    {
        const char *name;
        bool showActivities, showUndefined;
        int activity;
        bool act, project, projectSubtree, top, other;
    } cases[] = {
        {"activity node runs", true, false, 5, true, false, true, true, false},
        {"no activity nodes shown", false, false, 5, true, true, true, true, false},
        {"no activity counts on the project", true, false, -1, false, true, true, true, false},
        {"undefined activity shown apart", true, true, -1, false, false, true, true, false},
    };
    for (const auto &c : cases) {
        ctx.showActivities = c.showActivities;
        ctx.showUndefinedActivity = c.showUndefined;
        ctx.runningActivity = c.activity;
        EXPECT_EQ(act->IsRunning(false), c.act) << c.name;
        EXPECT_EQ(p->IsRunning(false), c.project) << c.name;
        EXPECT_EQ(p->IsRunning(true), c.projectSubtree) << c.name;
        EXPECT_EQ(store.GetNode(1)->IsRunning(true), c.top) << c.name;
        EXPECT_FALSE(store.GetNode(1)->IsRunning(false)) << c.name;
        EXPECT_EQ(store.GetNode(3)->IsRunning(true), c.other) << c.name;
    }
    ctx.showActivities = true;
    ctx.runningActivity = 5;
    EXPECT_EQ(act->GetDoneWork(false), 150);
    EXPECT_EQ(store.GetNode(1)->GetDoneWork(false), 150);
    EXPECT_EQ(act->GetActualEnd(), Platform::Clock::now());

    // The seconds of the running entry count once in the project's figures,
    // also when both the project node and its activity node are marked
    // running; with no node of its own, the activity leaves them to the
    // project node.
    struct
    {
        const char *name;
        bool showActivities, showUndefined;
        int activity;
        qint64 project, top;
    } counted[] = {
        {"activity node shown", true, false, 5, 150, 150},
        {"activity nodes not shown", false, false, 5, 150, 150},
        {"activity without a node", true, false, 6, 150, 150},
        {"no activity", true, false, -1, 150, 150},
        {"no activity, shown apart", true, true, -1, 150, 150},
    };
    for (const auto &c : counted) {
        ctx.showActivities = c.showActivities;
        ctx.showUndefinedActivity = c.showUndefined;
        ctx.runningActivity = c.activity;
        EXPECT_EQ(p->GetDoneWork(false), c.project) << c.name;
        EXPECT_EQ(store.GetNode(1)->GetDoneWork(false), c.top) << c.name;
    }
}

TEST_F(ProjectStoreTest, AlertsAndFixedEnds)
{
    const qint64 now = Platform::Clock::now();
    struct
    {
        const char *name;
        int typeDateFin, status;
        qint64 dateFin, alert, computedEnd;
        int state;
    } cases[] = {
        {"nothing set", 0, 1, 0, 0, 0, 0},
        {"alert reached", 0, 1, 0, now - 10, 0, 1},
        {"alert ahead", 0, 1, 0, now + 10, 0, 0},
        {"deadline passed", 1, 1, now - 10, 0, 0, 2},
        {"forecast after deadline", 1, 1, now + 100, 0, now + 200, 2},
        {"forecast before deadline", 1, 1, now + 100, 0, now + 50, 0},
        {"completed is never late", 1, 4, now - 10, 0, 0, 0},
        {"deadline not fixed", 0, 1, now - 10, 0, 0, 0},
    };
    int id = 0;
    for (const auto &c : cases) {
        CProject *n = add(store, ++id, QString::fromLatin1(c.name));
        tForecast f;
        f.IdProject = id;
        f.TypeDateFin = c.typeDateFin;
        f.Status = c.status;
        f.DateFin = c.dateFin;
        f.DateAlerte = c.alert;
        store.SetForecast(f);
        n->m_computedEnd = c.computedEnd;
        EXPECT_EQ(n->GetAlertState(), c.state) << c.name;
        EXPECT_EQ(n->GetFixedEnd(), c.typeDateFin == 1 ? c.dateFin : 0) << c.name;
    }
}

// ---------------------------------------------------------------- filling controls

namespace {

// A tree of two top-level projects, a sub-project and two activities.
void buildSmallTree(CProjectStore &s)
{
    s.SetActivity(3, activity(3, QStringLiteral("Réunion")));
    s.SetActivity(12, activity(12, QStringLiteral("Développement")));
    add(s, 1, QStringLiteral("Client l'Étoile; \"A\""), -1, QString(), 1);
    add(s, 2, QStringLiteral("Проект"), -1, QString(), 4);
    add(s, 5, QStringLiteral("Sub"), 1, QString(), 9);
    s.AddTaskStatistics(1, 12, 1, 60, 1, 2);
    s.AddTaskStatistics(5, 3, 1, 60, 1, 2);
}

} // namespace

TEST_F(ProjectStoreTest, TreeFilledThroughTheInterfaceMatchesTheWidget)
{
    buildSmallTree(store);
    const char *collapsed = ";5,-2;";
    const char *checkedCases[] = {"", ";1,-2;5,3;", "(1,5)"};
    for (const char *checked : checkedCases) {
        for (bool activities : {true, false}) {
            RecordingTree recorded;
            store.FillProjectTree(recorded, nullptr, activities, true, nullptr,
                                  QString::fromLatin1(checked), QString::fromLatin1(collapsed));
            QTreeWidget widget;
            CTreeWidgetFiller filler(&widget, true);
            store.FillProjectTree(filler, nullptr, activities, true, nullptr,
                                  QString::fromLatin1(checked), QString::fromLatin1(collapsed));
            widget.show();
            EXPECT_EQ(dump(recorded), dump(widget)) << checked;
        }
    }
    RecordingTree recorded;
    store.FillProjectTree(recorded, nullptr, true, true, nullptr, QStringLiteral(";1,-2;5,3;"),
                          QStringLiteral(";5,-2;"));
    EXPECT_EQ(dump(recorded),
              QStringLiteral("Client l'Étoile; \"A\" [img 23, data 1, checked, open]\n"
                             "  Sub [img -1, data 5, closed]\n"
                             "    Réunion [img 16, data 5, checked]\n"
                             "  Développement [img 16, data 1]\n"
                             "Проект [img 18, data 2]\n"));
}

TEST_F(ProjectStoreTest, ActivityIdListChecksExactlyItsProjects)
{
    buildSmallTree(store);
    RecordingTree recorded;
    store.FillProjectTree(recorded, nullptr, false, false, nullptr, QStringLiteral("(2,5)"),
                          QString());
    ASSERT_EQ(recorded.top.children.size(), 2u);
    const RecordedItem &first = *recorded.top.children[0];
    EXPECT_FALSE(first.checked);
    EXPECT_TRUE(first.expanded);
    EXPECT_EQ(first.data, reinterpret_cast<qintptr>(store.GetNode(1)));
    EXPECT_TRUE(first.children[0]->checked);
    EXPECT_TRUE(recorded.top.children[1]->checked);
    // From a start node: only what lies below it.
    RecordingTree below;
    store.FillProjectTree(below, nullptr, true, true, store.GetNode(1), QString(), QString());
    EXPECT_EQ(below.top.children.size(), 2u);
}

TEST_F(ProjectStoreTest, ProjectComboListsProjectsDepthFirstWithIndent)
{
    buildSmallTree(store);
    RecordingCombo combo;
    store.FillProjectCombo(combo, nullptr, 5);
    ASSERT_EQ(combo.items.size(), 3u);
    EXPECT_EQ(combo.items[1].text, QStringLiteral("Sub"));
    EXPECT_EQ(combo.items[1].indent, 1);
    EXPECT_EQ(combo.items[1].image, -1);
    EXPECT_EQ(combo.items[2].data, 2);
    EXPECT_EQ(combo.selection, 1);

    QComboBox widget;
    CComboBoxFiller filler(&widget);
    store.FillProjectCombo(filler, nullptr, 2);
    ASSERT_EQ(widget.count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(widget.itemText(i), combo.items[size_t(i)].text);
        EXPECT_EQ(widget.itemData(i, CComboBoxFiller::IndentRole).toInt(), combo.items[size_t(i)].indent);
        EXPECT_EQ(widget.itemData(i).toLongLong(), combo.items[size_t(i)].data);
    }
    EXPECT_EQ(widget.currentIndex(), 2);
}

TEST_F(ProjectStoreTest, HistoryTreeReusesItemsAndDropsTheSurplus)
{
    buildSmallTree(store);
    int loads = 0;
    store.SetHistoryLoader([&](CProjectStore &s) {
        ++loads;
        s.ClearPart(3);
        s.AppendHistory(5, 3, -1);
        s.AppendHistory(2, 12, -1);
    });
    QTreeWidget widget;
    CTreeWidgetFiller filler(&widget);
    CTreeFiller::Item top = filler.InsertItem(nullptr, QStringLiteral("Récents"), -1, -1, 0);
    store.FillHistoryTree(filler, top, false); // empty list: loaded
    EXPECT_EQ(loads, 1);
    QTreeWidgetItem *topItem = CTreeWidgetFiller::toItem(top);
    ASSERT_EQ(topItem->childCount(), 2);
    QTreeWidgetItem *firstItem = topItem->child(0);
    EXPECT_EQ(firstItem->text(0), QStringLiteral("Client l'Étoile; \"A\" / Sub - Réunion"));

    store.AddHistory(1, 12, -1);
    store.FillHistoryTree(filler, top, false);
    EXPECT_EQ(loads, 1);
    ASSERT_EQ(topItem->childCount(), 3);
    EXPECT_EQ(topItem->child(0), firstItem); // reused
    EXPECT_EQ(firstItem->text(0), QStringLiteral("Client l'Étoile; \"A\" - Développement"));

    store.FillHistoryTree(filler, top, true); // reload: two entries again
    EXPECT_EQ(loads, 2);
    EXPECT_EQ(topItem->childCount(), 2);

    // Every item carries the recent entry's image, a reused one too (here
    // an item that held something else before), so that a window can tell
    // recent entries from its other items.
    filler.SetItemImage(topItem->child(0), 7, 7);
    store.FillHistoryTree(filler, top, false);
    for (int i = 0; i < topItem->childCount(); ++i) {
        EXPECT_EQ(topItem->child(i)->data(0, CTreeWidgetFiller::ImageRole).toInt(), CProjectStore::HistoryImage);
        EXPECT_EQ(topItem->child(i)->data(0, CTreeWidgetFiller::SelectedImageRole).toInt(),
                  CProjectStore::HistoryImage);
    }
}

TEST_F(ProjectStoreTest, LookUpsOfUnknownIds)
{
    buildSmallTree(store);
    tRate r;
    r.Nom = QStringLiteral("Standard");
    r.Valeur = 12.5f;
    store.SetRate(4, r);
    tElement e;
    EXPECT_FALSE(store.GetProject(99, e));
    EXPECT_FALSE(store.GetProject(-1, e));
    EXPECT_TRUE(store.GetProject(2, e));
    EXPECT_EQ(e.Nom, QStringLiteral("Проект"));
    EXPECT_EQ(store.GetProjectName(99), QString());
    EXPECT_EQ(store.GetActivityName(99), QString());
    EXPECT_EQ(store.GetActivityColor(99), 0x808080u);
    EXPECT_EQ(store.GetActivityColor(3), 0x445566u);
    EXPECT_EQ(store.FindNode(3, 5)->GetColor(), 0x445566u);
    EXPECT_FLOAT_EQ(store.GetRateValue(4), 12.5f);
    EXPECT_FLOAT_EQ(store.GetRateValue(5), 0.0f);
    EXPECT_EQ(store.FindNode(-2, 99), nullptr);
    EXPECT_EQ(store.FindNode(77, 1), nullptr);
    EXPECT_EQ(store.GetNodeFullName(99, -2), QString());
    EXPECT_EQ(store.GetNodeFullName(2, 3), QStringLiteral("Проект / Réunion"));

    store.ClearPart(0);
    EXPECT_EQ(store.GetProjectCount(), 0);
    EXPECT_EQ(store.GetRoot()->GetChildCount(), 0);
    EXPECT_EQ(store.GetNode(-1), store.GetRoot());
    EXPECT_EQ(store.LastModified(), 0);
    EXPECT_NE(store.GetActivity(3), nullptr);
    store.Clear();
    EXPECT_EQ(store.GetActivity(3), nullptr);
    EXPECT_EQ(store.GetRate(4), nullptr);
}

TEST_F(ProjectStoreTest, ComesBeforeFollowsDepthFirstOrder)
{
    buildSmallTree(store);
    const CProject *p1 = store.GetNode(1), *sub = store.GetNode(5), *p2 = store.GetNode(2);
    const CProject *dev = store.FindNode(12, 1);
    EXPECT_TRUE(p1->ComesBefore(sub));
    EXPECT_TRUE(sub->ComesBefore(dev));
    EXPECT_TRUE(dev->ComesBefore(p2));
    EXPECT_FALSE(p2->ComesBefore(sub));
    EXPECT_FALSE(sub->ComesBefore(p1));
    EXPECT_EQ(store.FindNode(3, 5)->FindAncestorBelow(store.GetRoot()), p1);
    EXPECT_TRUE(p1->HasSubProjects());
    EXPECT_FALSE(sub->HasSubProjects());
}
