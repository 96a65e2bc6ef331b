#include "CConfiguration.h"
#include "CDatabaseFile.h"
#include "Formatter.h"
#include "RecordedTotalsCache.h"
#include "ShortBusyWait.h"
#include "TestDatabase.h"

#include <QFile>

using Platform::Formatter;

namespace {

// Ids are fixed so that the tables below can name them.
constexpr int P3 = 3, P4 = 4, Child5 = 5;
constexpr int A7 = 7, A8 = 8, DeletedA9 = 9;
constexpr qint64 T0 = 1'700'000'000; // Tuesday 14 November 2023, 23:13 in Paris

class ForecastTotalsTest : public TestDatabase
{
protected:
    void SetUp() override
    {
        Platform::Clock::setFixedNow(T0);
        TestDatabase::SetUp();
        CAppData::SetConfiguration(&config);
        CBdD db;
        ASSERT_TRUE(db.IsOpen());
        ASSERT_TRUE(db.RunBatch({
            QStringLiteral("insert into Projets(Id, Nom, Parent, Deleted) values (3, 'Alpha', -1, 0)"),
            QStringLiteral("insert into Projets(Id, Nom, Parent, Deleted) values (4, 'Beta', -1, 0)"),
            QStringLiteral("insert into Projets(Id, Nom, Parent, Deleted) values (5, 'Gamma', 3, 0)"),
            QStringLiteral("insert into Projets(Id, Nom, Parent, Deleted) values (6, 'Old', -1, 1)"),
            QStringLiteral("insert into Activites(Id, Nom, Deleted) values (7, 'Dev', 0)"),
            QStringLiteral("insert into Activites(Id, Nom, Deleted) values (8, 'Test', 0)"),
            QStringLiteral("insert into Activites(Id, Nom, Deleted) values (9, 'Gone', 1)"),
        }));
    }

    void addEntry(int id, int project, int activity, qint64 start, qint64 end, qint64 stamp = T0 - 100)
    {
        CBdD db;
        ASSERT_EQ(db.Execute(Formatter::sprintf(
                      u"insert into Taches(Id, Debut, Fin, IdProjet, IdActivite, Deleted, Date_Modif) "
                      u"values (%d, %I64d, %I64d, %d, %d, 0, %I64d)",
                      {id, start, end, project, activity, stamp})),
                  0);
    }

    // "count/seconds/first/last" of a node, or "-" when there is none.
    QString totals(int project, int activity) const
    {
        const CProject *node =
            project == -1 && activity != -2 ? store.GetRoot()->FindActivityChild(activity)
                                             : store.FindNode(activity, project);
        if (!node)
            return QStringLiteral("-");
        const tForecast &f = node->Forecast();
        return QStringLiteral("%1/%2/%3/%4")
            .arg(f.NbTaches)
            .arg(f.TotalTaches)
            .arg(f.MinDeb ? f.MinDeb - T0 : 0)
            .arg(f.MaxFin ? f.MaxFin - T0 : 0);
    }

    // Every node's totals, depth first, for comparing two loads.
    static void dump(const CProject *node, QString &out)
    {
        const tForecast &f = node->Forecast();
        out += QStringLiteral("[%1,%2:%3/%4/%5/%6]")
                   .arg(node->ProjectId())
                   .arg(node->ActivityId())
                   .arg(f.NbTaches)
                   .arg(f.TotalTaches)
                   .arg(f.MinDeb)
                   .arg(f.MaxFin);
        for (const CProject *c : node->Children())
            dump(c, out);
    }
    QString dumpAll() const
    {
        QString out;
        dump(store.GetRoot(), out);
        return out;
    }
    // The same figures from a fresh store filled by a full load, summed
    // from the entries (no sums kept from an earlier load).
    QString dumpOfFullLoad()
    {
        QFile::remove(RecordedTotalsCache::FileFor(path));
        return dumpOfFreshStore();
    }
    // The figures a fresh store loads, as a new run of the program does.
    QString dumpOfFreshStore()
    {
        CProjectStore fresh;
        CAppData::SetProjectStore(&fresh);
        reload();
        QString out;
        dump(fresh.GetRoot(), out);
        CAppData::SetProjectStore(&store);
        return out;
    }

    CConfiguration config;
};

} // namespace

TEST_F(ForecastTotalsTest, TotalsGoToTheNodesTheSettingsMake)
{
    addEntry(100, P3, A7, T0 - 7200, T0 - 3600);     // 1 h on Alpha / Dev
    addEntry(101, P3, A7, T0 - 3000, T0 - 2400);     // 10 min on Alpha / Dev
    addEntry(102, P3, -1, T0 - 9000, T0 - 8400);     // no activity
    addEntry(103, P3, DeletedA9, T0 - 500, T0 - 200); // deleted activity
    addEntry(104, 42, A8, T0 - 1000, T0 - 900);      // unknown project
    addEntry(105, 6, -1, T0 - 1000, T0 - 950);       // deleted project
    addEntry(106, P4, A8, T0 - 600, 0);              // running: counts nowhere
    addEntry(107, Child5, A8, T0 - 400, T0 - 100);

    struct Case
    {
        bool showActivities;
        int project, activity;
        const char *expected;
    };
    const Case cases[] = {
        // Activities are nodes of the plan.
        {true, P3, A7, "2/4200/-7200/-2400"},
        {true, P3, -2, "2/900/-9000/-200"}, // no activity + deleted activity
        {true, -1, A8, "1/100/-1000/-900"}, // unknown project: the root's activity
        {true, -1, -2, "1/50/-1000/-950"},  // deleted project, no activity
        {true, P4, A8, "-"},                // only a running entry
        {true, P4, -2, "0/0/0/0"},
        {true, Child5, A8, "1/300/-400/-100"},
        // Without activities everything adds to the project's own node.
        {false, P3, A7, "-"},
        {false, P3, -2, "4/5100/-9000/-200"},
        {false, -1, -2, "2/150/-1000/-900"},
        {false, P4, -2, "0/0/0/0"},
        {false, Child5, -2, "1/300/-400/-100"},
    };
    for (const Case &c : cases) {
        config.showActivities = c.showActivities;
        reload();
        EXPECT_EQ(totals(c.project, c.activity), QString::fromLatin1(c.expected))
            << "activities " << c.showActivities << " node " << c.project << "," << c.activity;
    }
}

TEST_F(ForecastTotalsTest, ForecastRowsBecomeNodesByTheSettings)
{
    CBdD db;
    ASSERT_TRUE(db.RunBatch({
        QStringLiteral("insert into Forecast(IdProject, IdActivity, Prevu, Priority) values (3, -2, 10, 1)"),
        QStringLiteral("insert into Forecast(IdProject, IdActivity, Prevu, Priority) values (3, 7, 4, 2)"),
        QStringLiteral("insert into Forecast(IdProject, IdActivity, Prevu) values (3, -1, 2)"),
        QStringLiteral("insert into Forecast(IdProject, IdActivity, Prevu) values (4, 9, 3)"),
        QStringLiteral("insert into Forecast(IdProject, IdActivity, Prevu) values (6, -2, 3)"),
        QStringLiteral("insert into Forecast(IdProject, IdActivity, Prevu, Deleted) values (4, 8, 3, 1)"),
    }));
    struct Case
    {
        bool showActivities, showUndefined;
        const char *children3; // activity children of Alpha
        const char *children4;
    };
    const Case cases[] = {
        {true, false, "7", ""},
        {true, true, "-1,7", ""},
        {false, true, "", ""},
    };
    for (const Case &c : cases) {
        config.showActivities = c.showActivities;
        config.forecastRunningOnActivity = c.showUndefined;
        reload();
        auto activities = [](const CProject *n) {
            QStringList ids;
            for (const CProject *child : n->Children())
                if (child->IsActivity())
                    ids << QString::number(child->ActivityId());
            ids.sort();
            return ids.join(u',');
        };
        EXPECT_EQ(activities(store.GetNode(P3)), QString::fromLatin1(c.children3));
        EXPECT_EQ(activities(store.GetNode(P4)), QString::fromLatin1(c.children4));
        EXPECT_EQ(store.GetNode(P3)->Forecast().Priority, 1);
        if (c.showActivities) {
            EXPECT_EQ(store.FindNode(A7, P3)->Forecast().Priority, 2);
        }
    }
}

TEST_F(ForecastTotalsTest, LoadAfterChangesEqualsAFullLoad)
{
    addEntry(100, P3, A7, T0 - 7200, T0 - 3600, T0 - 50);
    addEntry(101, P4, A8, T0 - 3000, T0 - 2400, T0 - 50);
    addEntry(102, P3, A8, T0 - 9000, T0 - 8400, T0 - 60);
    reload();
    const qint64 firstLoad = store.m_totalsLoadTime;
    EXPECT_EQ(firstLoad, T0 - 50);

    // Nothing changed: nothing is added and the time stays.
    {
        CBdD db;
        EXPECT_FALSE(db.InitForecast(false));
    }
    EXPECT_EQ(store.m_totalsLoadTime, firstLoad);
    EXPECT_EQ(dumpAll(), dumpOfFullLoad());

    struct Step
    {
        const char *what;
        std::function<bool(CBdD &)> change;
    };
    const Step steps[] = {
        {"edit the times of an entry",
         [](CBdD &db) { return db.SetTimeEntryTimes(100, T0 - 7000, T0 - 3000); }},
        {"move an entry to another project",
         [](CBdD &db) { return db.ReassignTimeEntries(P4, A7, CBdD::Unchanged, QStringLiteral("(102)")); }},
        // Same second as the load before: still seen.
        {"delete an entry in the same second",
         [](CBdD &db) { return db.DeleteTimeEntry(101); }},
        {"edit again in the same second",
         [](CBdD &db) { return db.SetTimeEntryTimes(100, T0 - 7100, T0 - 3000); }},
    };
    const qint64 now = T0; // every step lands in the same second
    for (const Step &step : steps) {
        {
            CBdD db;
            ASSERT_TRUE(step.change(db)) << step.what;
            EXPECT_TRUE(db.InitForecast(false)) << step.what;
        }
        EXPECT_EQ(store.m_totalsLoadTime, now) << step.what;
        EXPECT_EQ(dumpAll(), dumpOfFullLoad()) << step.what;
        if (QByteArray(step.what).contains("move")) {
            // The moved entry left Alpha's node for Test, which goes away.
            EXPECT_EQ(totals(P3, A8), QStringLiteral("-"));
            EXPECT_EQ(totals(P4, A7), QStringLiteral("1/600/-9000/-8400"));
        }
    }
    // A later second, then nothing more: the time advances once.
    Platform::Clock::setFixedNow(T0 + 5);
    {
        CBdD db;
        ASSERT_TRUE(db.SetTimeEntryTimes(100, T0 - 7100, T0 - 3100));
        EXPECT_TRUE(db.InitForecast(false));
        EXPECT_FALSE(db.InitForecast(false));
    }
    EXPECT_EQ(store.m_totalsLoadTime, T0 + 5);
    EXPECT_EQ(dumpAll(), dumpOfFullLoad());
    EXPECT_EQ(totals(P3, A7), QStringLiteral("1/4000/-7100/-3100"));
}

// Entries an import stamped in one second, loaded in a later second: what
// the load keeps to notice a change is a few numbers, not the imported
// rows, and every later change is still seen: a new stamp, an undo that
// puts an older stamp back, and, for a load made within the newest stamp's
// second, values exchanged between two entries in that second.
TEST_F(ForecastTotalsTest, ChangesAfterALoadAreSeenHoweverManyEntriesShareTheNewestStamp)
{
    const qint64 imported = T0 - 100;
    {
        CBdD db;
        ASSERT_TRUE(db.Connection()->BeginTransaction());
        for (int i = 0; i < 3000; ++i)
            addEntry(1000 + 3 * i, i % 2 ? P3 : P4, i % 3 ? A7 : A8, T0 - 90000 + 20 * i, T0 - 90000 + 20 * i + 10,
                     imported);
        ASSERT_TRUE(db.Connection()->CommitTransaction());
    }
    reload();
    EXPECT_EQ(store.m_totalsLoadTime, imported);
    EXPECT_LT(store.m_totalsBoundary.size(), 40);
    {
        CBdD db;
        EXPECT_FALSE(db.InitForecast(false));
    }

    // Two changes in a later second.
    Platform::Clock::setFixedNow(T0 + 10);
    {
        CBdD db;
        ASSERT_TRUE(db.SetTimeEntryTimes(1000, T0 - 90000, T0 - 80000));
        EXPECT_TRUE(db.InitForecast(false));
        EXPECT_FALSE(db.InitForecast(false));
        ASSERT_TRUE(db.SetTimeEntryTimes(1003, T0 - 89980, T0 - 70000));
        EXPECT_TRUE(db.InitForecast(false));
    }
    EXPECT_EQ(dumpAll(), dumpOfFullLoad());

    // Loaded in a later second again, then the second change undone: its
    // entry takes the import's stamp back, the first keeps the newest one.
    Platform::Clock::setFixedNow(T0 + 20);
    {
        CBdD db;
        EXPECT_TRUE(db.InitForecast(true));
    }
    ASSERT_EQ(history.Undo(), CAnnulation::Outcome::Done);
    {
        CBdD db;
        EXPECT_TRUE(db.InitForecast(false));
    }
    EXPECT_EQ(store.m_totalsLoadTime, T0 + 10);
    EXPECT_EQ(dumpAll(), dumpOfFullLoad());

    // Within one second: two entries stamped then exchange their projects,
    // which leaves the count and the newest stamp as they were.
    Platform::Clock::setFixedNow(T0 + 30);
    addEntry(20001, P3, A7, T0 - 500, T0 - 400, T0 + 30);
    addEntry(20004, P4, A7, T0 - 300, T0 - 250, T0 + 30);
    {
        CBdD db;
        EXPECT_TRUE(db.InitForecast(false));
        ASSERT_EQ(db.Execute(u"update Taches set IdProjet = case Id when 20001 then 4 else 3 end "
                             u"where Id in (20001, 20004)"),
                  0);
        EXPECT_TRUE(db.InitForecast(false));
    }
    EXPECT_EQ(dumpAll(), dumpOfFullLoad());
}

// A load after changes whose reads fail (the other program holds the file
// while it commits) leaves the tree and its totals as they were, and the
// next load catches up.
TEST_F(ForecastTotalsTest, LoadAfterChangesThatCannotReadKeepsTheTotals)
{
    addEntry(100, P3, A7, T0 - 7200, T0 - 3600, T0 - 50);
    reload();
    const QString loaded = dumpAll();
    ASSERT_EQ(totals(P3, A7), QStringLiteral("1/3600/-7200/-3600"));
    addEntry(101, P3, A7, T0 - 1800, T0 - 600, T0);

    {
        const ShortBusyWait noWait;
        CBdD db;
        SQLite::CmyDataBase other;
        ASSERT_EQ(other.Open(path), 0);
        ASSERT_EQ(other.Execute(u"BEGIN EXCLUSIVE"), 0);
        EXPECT_FALSE(db.InitForecast(false));
    }
    EXPECT_EQ(dumpAll(), loaded);
    EXPECT_EQ(store.m_totalsLoadTime, T0 - 50);

    {
        CBdD db;
        EXPECT_TRUE(db.InitForecast(false));
    }
    EXPECT_EQ(totals(P3, A7), QStringLiteral("2/4800/-7200/-600"));
    EXPECT_EQ(dumpAll(), dumpOfFullLoad());
}

TEST_F(ForecastTotalsTest, LoadAfterAnUndoEqualsAFullLoad)
{
    addEntry(100, P3, A7, T0 - 7200, T0 - 3600, T0 - 50);
    reload();
    Platform::Clock::setFixedNow(T0 + 10);
    {
        CBdD db;
        ASSERT_TRUE(db.SetTimeEntryTimes(100, T0 - 7200, T0 - 1800));
        EXPECT_TRUE(db.InitForecast(false));
    }
    EXPECT_EQ(totals(P3, A7), QStringLiteral("1/5400/-7200/-1800"));
    // The undo puts the entry's older stamp back: still noticed.
    ASSERT_EQ(history.Undo(), CAnnulation::Outcome::Done);
    {
        CBdD db;
        EXPECT_TRUE(db.InitForecast(false));
    }
    EXPECT_EQ(totals(P3, A7), QStringLiteral("1/3600/-7200/-3600"));
    EXPECT_EQ(dumpAll(), dumpOfFullLoad());
}

TEST_F(ForecastTotalsTest, BookedTimeIsForgottenWhenTheStoreIsReloadedOrEntriesChange)
{
    addEntry(100, P3, A7, T0 + 3600, T0 + 7200);
    reload();
    store.BookedPeriods() = {{T0 + 3600, T0 + 7200}};
    store.m_bookedFrom = T0;
    config.SetBookedIntervals(store.BookedPeriods());

    {
        CBdD db;
        EXPECT_FALSE(db.InitForecast(false)); // no change: kept
    }
    EXPECT_EQ(store.m_bookedFrom, T0);

    {
        CBdD db;
        ASSERT_TRUE(db.DeleteTimeEntry(100));
        db.InitForecast(false);
    }
    EXPECT_EQ(store.m_bookedFrom, 0);
    EXPECT_TRUE(store.BookedPeriods().empty());
    EXPECT_TRUE(config.BookedIntervals().IsEmpty());

    store.m_bookedFrom = T0;
    store.BookedPeriods() = {{T0 + 3600, T0 + 7200}};
    store.Clear(); // a user switch empties the store first
    EXPECT_EQ(store.m_bookedFrom, 0);
    EXPECT_TRUE(store.BookedPeriods().empty());
}

// Booked time that could not be read (the other program holding the file
// while it commits) is not kept as "nothing booked": the next run reads it.
TEST_F(ForecastTotalsTest, BookedTimeThatCannotBeReadIsReadAgain)
{
    addEntry(100, P3, A7, T0 + 3600, T0 + 7200);
    reload();
    {
        const ShortBusyWait noWait;
        SQLite::CmyDataBase other;
        ASSERT_EQ(other.Open(path), 0);
        ASSERT_EQ(other.Execute(u"BEGIN EXCLUSIVE"), 0);
        store.LoadTaskPeriods(T0);
    }
    EXPECT_EQ(store.m_bookedFrom, 0);
    store.LoadTaskPeriods(T0);
    EXPECT_EQ(store.m_bookedFrom, T0);
    ASSERT_EQ(store.BookedPeriods().size(), 1u);
    EXPECT_EQ(store.BookedPeriods()[0].Fin, T0 + 7200);
}

TEST_F(ForecastTotalsTest, OneForecastRowByRowid)
{
    CBdD db;
    ASSERT_EQ(db.Execute(u"insert into Forecast(IdProject, IdActivity, Prevu, TypePrevu, DateDebut, "
                         u"TypeDateDebut, DateFin, DateAlerte, Status, Total, Priority, Title, Notes, "
                         u"bJours, bModeAuto, bPrevuAuto, Predecesseurs, Deleted) values "
                         u"(3, 7, 12, 2, 4000000000, 1, NULL, 5, 4, 3600, 3, 'T''1', 'n', 1, 0, 1, "
                         u"';4,-2,0,4;', 1)"),
              0);
    const qint64 rowid = db.Connection()->GetLastInsertRowId();
    tForecast f;
    ASSERT_TRUE(db.GetForecast(f, rowid)); // deleted rows too
    EXPECT_EQ(f.IdProject, 3);
    EXPECT_EQ(f.IdActivity, 7);
    EXPECT_EQ(f.Prevu, 12);
    EXPECT_EQ(f.TypePrevu, 2);
    EXPECT_EQ(f.DateDebut, 4'000'000'000LL);
    EXPECT_EQ(f.TypeDateDebut, 1);
    EXPECT_EQ(f.DateFin, 0); // NULL
    EXPECT_EQ(f.DateAlerte, 5);
    EXPECT_EQ(f.Status, 4);
    EXPECT_EQ(f.Total, 3600);
    EXPECT_EQ(f.Priority, 3);
    EXPECT_EQ(f.Title, QStringLiteral("T'1"));
    EXPECT_TRUE(f.bJours);
    EXPECT_FALSE(f.bModeAuto);
    EXPECT_EQ(f.Predecesseurs, QStringLiteral(";4,-2,0,4;"));

    tForecast untouched;
    untouched.Prevu = 99;
    EXPECT_TRUE(db.GetForecast(untouched, rowid + 100)); // no row: the query still ran
    EXPECT_EQ(untouched.Prevu, 99);

    CBdD closed{QString()};
    EXPECT_FALSE(closed.GetForecast(untouched, rowid));
}

TEST_F(ForecastTotalsTest, DeletingAForecastRowIsOneUndoGroupAndReloadsTheTree)
{
    {
        CBdD db;
        ASSERT_EQ(db.Execute(u"insert into Forecast(IdProject, IdActivity, Prevu, Deleted) values (3, 7, 4, 0)"), 0);
    }
    reload();
    ASSERT_NE(store.FindNode(A7, P3), nullptr);
    ASSERT_FALSE(history.CanUndo());
    {
        CBdD db;
        ASSERT_TRUE(db.DeleteForecast(P3, A7));
    }
    EXPECT_EQ(store.FindNode(A7, P3), nullptr); // tree reloaded without the row
    {
        CBdD db;
        SQLite::MyTablePtr t = db.Query(u"select Deleted, Date_Modif from Forecast");
        ASSERT_TRUE(t.hasRows());
        EXPECT_EQ(t->GetCell(0, 0), QStringLiteral("1"));
        EXPECT_EQ(t->GetCell(0, 1), QString::number(T0));
    }
    ASSERT_EQ(history.Undo(), CAnnulation::Outcome::Done);
    EXPECT_FALSE(history.CanUndo()); // the whole deletion was one group
    {
        CBdD db;
        EXPECT_EQ(db.Query(u"select Deleted from Forecast")->GetCell(0, 0), QStringLiteral("0"));
    }
    // A failure (no connection) writes nothing.
    CBdD closed{QString()};
    EXPECT_FALSE(closed.DeleteForecast(P3, A7));
}

TEST_F(ForecastTotalsTest, PredecessorNamesInBothStoredForms)
{
    reload();
    struct Case
    {
        const char *text;
        const char *expected;
    };
    const Case cases[] = {
        {";4,-2,0,4;;5,9,2,4;", "Beta\r\nGamma"},           // links wrapped, activity deleted
        {";4,-2,0,4;5,7,2,4;", "Beta\r\nGamma / Dev"},      // links closed by ';' only
        {";4,-2,0,4;;5,7,2,4;", "Beta\r\nGamma / Dev"},
        {"3;", "Alpha"},                                      // project id alone
        {";-1,8,0,4;;6,-2,0,4;;42;", "Test"},                 // activity alone; deleted, unknown
        {";-1,-1,0,4;", ""},
        {"", ""},
    };
    CBdD db;
    for (const Case &c : cases) {
        QString out = QStringLiteral("stale");
        db.FormatPredecessorNames(QString::fromUtf8(c.text), out);
        EXPECT_EQ(out, QString::fromUtf8(c.expected)) << c.text;
    }
    // Loading a node's links reads both forms alike.
    CProject a(&store), b(&store);
    a.LoadPredecessors(QStringLiteral(";4,-2,0,4;;5,7,2,3;"));
    b.LoadPredecessors(QStringLiteral(";4,-2,0,4;5,7,2,3;"));
    EXPECT_EQ(a.Predecessors(), b.Predecessors());
    ASSERT_EQ(b.Predecessors().size(), 2u);
    EXPECT_EQ(b.Predecessors()[1].LagUnit, CPredecessor::UnitHours);

    CBdD closed{QString()};
    QString out = QStringLiteral("stale");
    closed.FormatPredecessorNames(QStringLiteral(";4;"), out);
    EXPECT_TRUE(out.isEmpty());
}

// A new run takes the sums kept from the last one while the entries are as
// they were, and sums the entries again after any change the change test
// sees, whoever made it; a store sums them again at every later load.
TEST_F(ForecastTotalsTest, ANewRunTakesTheKeptSumsOnlyWhileTheEntriesAreAsTheyWere)
{
    addEntry(100, P3, A7, T0 - 7200, T0 - 3600, T0 - 50);
    addEntry(101, P4, A8, T0 - 3000, T0 - 2400, T0 - 50);
    addEntry(102, P3, A8, T0 - 9000, T0 - 8400, T0 - 60);
    reload();
    const QString summed = dumpAll();

    // Kept sums whose change test holds are taken as they stand: marked,
    // they show in a new run, and never in a later load of the same store.
    RecordedTotalsCache::Snapshot kept;
    ASSERT_TRUE(RecordedTotalsCache::Load(path, kept));
    ASSERT_FALSE(kept.rows.empty());
    for (RecordedTotalsCache::Row &row : kept.rows)
        row.count += 1000;
    ASSERT_TRUE(RecordedTotalsCache::Save(kept));
    EXPECT_NE(dumpOfFreshStore(), summed);
    reload();
    EXPECT_EQ(dumpAll(), summed);

    struct Step
    {
        const char *what;
        std::function<void()> change;
    };
    const auto otherProgram = [this](const QString &sql) {
        SQLite::CmyDataBase other;
        ASSERT_EQ(other.Open(path), 0);
        ASSERT_EQ(other.Execute(sql), 0);
    };
    const Step steps[] = {
        {"an entry added with an older stamp", [this] { addEntry(103, P4, A7, T0 - 500, T0 - 100, T0 - 900); }},
        {"an entry moved by the other program",
         [&] { otherProgram(QStringLiteral("update Taches set IdProjet=4, Date_Modif=%1 where Id=100").arg(T0 + 10)); }},
        {"an entry deleted in the second of the newest stamp",
         [&] { otherProgram(QStringLiteral("update Taches set Deleted=1, Date_Modif=%1 where Id=101").arg(T0 + 10)); }},
        {"the newest entries gone, as an older copy has them",
         [&] { otherProgram(QStringLiteral("delete from Taches where Date_Modif=%1").arg(T0 + 10)); }},
        {"an older copy put back",
         [&] {
             const QString older = path + QStringLiteral(".older");
             ASSERT_TRUE(CDatabaseFile::CopyLive(path, older, CDatabaseFile::Target::Replace));
             otherProgram(QStringLiteral("update Taches set IdProjet=3, Date_Modif=%1 where Id=102").arg(T0 + 20));
             dumpOfFullLoad();
             ASSERT_TRUE(CDatabaseFile::ReplaceLive(older, path));
             EXPECT_FALSE(QFile::exists(RecordedTotalsCache::FileFor(path)));
         }},
        {"the sums made by project alone", [this] { config.showActivities = false; }},
        {"a cut file", [this] { QFile(RecordedTotalsCache::FileFor(path)).resize(40); }},
        {"another database's file", [this] {
             RecordedTotalsCache::Snapshot other;
             ASSERT_TRUE(RecordedTotalsCache::Load(path, other));
             other.databasePath = path + QStringLiteral(".other");
             for (RecordedTotalsCache::Row &row : other.rows)
                 row.count += 1000;
             ASSERT_TRUE(RecordedTotalsCache::Save(other));
             QFile::remove(RecordedTotalsCache::FileFor(path));
             ASSERT_TRUE(QFile::rename(RecordedTotalsCache::FileFor(other.databasePath),
                                       RecordedTotalsCache::FileFor(path)));
         }},
    };
    for (const Step &step : steps) {
        dumpOfFullLoad(); // sums kept of the entries as they are
        step.change();
        const QString newRun = dumpOfFreshStore();
        EXPECT_EQ(newRun, dumpOfFullLoad()) << step.what;
    }
}
