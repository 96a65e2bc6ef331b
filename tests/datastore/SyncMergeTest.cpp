#include "SyncPair.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>

#include <map>
#include <vector>

namespace {

class SyncMergeTest : public SyncPair
{
};

const char *const Synchronised[] = {"Projets", "Activites", "TauxHoraire", "Taches", "Favoris", "Forecast"};

// What the copy holds of a case's row after the merge: "name/origin/deleted",
// or "none".
QString rowOf(const QString &path, int kind, int id)
{
    SQLite::CmyDataBase db;
    EXPECT_EQ(db.OpenReadOnly(path), 0);
    const QString where = kind == CBdD::TableForecast ? QStringLiteral("IdProject=%1").arg(id)
                                                      : QStringLiteral("Id=%1").arg(id);
    const QString name = kind == CBdD::TableTaches || kind == CBdD::TableFavoris || kind == CBdD::TableForecast
        ? QStringLiteral("Title")
        : QStringLiteral("Nom");
    SQLite::MyTablePtr t = db.Query(QStringLiteral("select %1 || '/' || Origine_Modif || '/' || Deleted from %2 where %3")
                                        .arg(name, CBdD::TableName(kind), where));
    EXPECT_EQ(db.GetLastCode(), 0);
    if (!t.hasRows())
        return QStringLiteral("none");
    EXPECT_EQ(t->rowCount(), 1);
    return t->GetCell(0, 0);
}

// A list built by hand: one element row per decision, grouped by kind.
SyncReviewList listOf(std::initializer_list<SyncItem> items)
{
    SyncReviewList list;
    int kind = 0;
    for (const SyncItem &item : items) {
        if (item.kind != kind) {
            list.AddGroupRow(item.kind);
            kind = item.kind;
        }
        if (item.kind != CBdD::TableProjectChilds)
            list.AddItemRow(item, SyncReviewList::Side::Missing(), SyncReviewList::Side::Missing());
    }
    return list;
}

SyncItem decision(int kind, qint64 deviceId, qint64 localId, int action)
{
    SyncItem item;
    item.kind = kind;
    item.deviceId = deviceId;
    item.localId = localId;
    item.action = action;
    return item;
}

} // namespace

TEST_F(SyncMergeTest, EachAllowedDecisionLeavesTheWinnersRow)
{
    // Every case of the comparison, merged once with each action wherever
    // the review allows it (elsewhere the suggested one).
    for (int chosen : {SyncItem::TakeDevice, SyncItem::Delete, SyncItem::KeepLocal}) {
        SCOPED_TRACE(testing::Message() << "action " << chosen);
        QFile::remove(local);
        QFile::remove(device);
        makeDatabase(QStringLiteral("local/Zarvo.sdb"));
        makeDatabase(QStringLiteral("work/Ppc.sdb"));
        insertCases();
        SyncReviewList list;
        int count = 0;
        ASSERT_EQ(compare(list, count), CBdD::CompareOutcome::Compared);
        QHash<QString, int> actions;
        for (int r = 0; r < list.Count(); ++r) {
            SyncItem *item = list.Item(r);
            if (!item)
                continue;
            if (allowed(*item, chosen))
                item->action = chosen;
            actions.insert(QStringLiteral("%1:%2").arg(item->kind).arg(std::max(item->localId, item->deviceId)),
                           item->action);
        }
        RecordingSteps steps;
        bool touched = false;
        ASSERT_TRUE(merge(list, steps, &touched));
        EXPECT_TRUE(touched);
        EXPECT_EQ(steps.steps, QStringList({"382:1", "383:1", "384:1", "602:1", "385:1", "386:1"}));

        for (int kind : CaseKinds) {
            for (int i = 0; i < int(std::size(Cases)); ++i) {
                const Case &c = Cases[i];
                SCOPED_TRACE(testing::Message() << "kind " << kind << ", case " << i);
                const QString deviceRow = c.device == Absent
                    ? QStringLiteral("none")
                    : QStringLiteral("D%1/0/%2").arg(i).arg(c.device == Deleted ? 1 : 0);
                const auto action = actions.constFind(QStringLiteral("%1:%2").arg(kind).arg(100 + i));
                QString expected = deviceRow; // no decision: the copy keeps the device's row
                if (action != actions.constEnd()) {
                    if (*action == SyncItem::Delete)
                        expected = QStringLiteral("none");
                    else if (*action == SyncItem::KeepLocal)
                        expected = QStringLiteral("L%1/0/0").arg(i);
                }
                EXPECT_EQ(rowOf(device, kind, 100 + i), expected);
            }
        }
        // The local database is only read.
        EXPECT_EQ(cell(local, "select count(*) from Projets where Origine_Modif=1"), "13");
    }
}

TEST_F(SyncMergeTest, PlansAreReplacedWithEveryRowOfTheirNode)
{
    // Row 5 is node 40 here and node 41 on the device; node 42 has three
    // rows on the device, one of them at row 20, which is node 43's here.
    exec(local, QStringLiteral("insert into Forecast (rowid, IdProject, IdActivity, Title, Date_Modif, Origine_Modif, "
                               "Deleted) values (5, 40, -2, 'node 40', 100, 1, 0), (6, 42, 31, 'mine', 300, 1, 0), "
                               "(20, 43, -2, 'node 43', 100, 1, 0), (21, 44, -2, NULL, 300, 1, 0)"));
    exec(device, QStringLiteral("insert into Forecast (rowid, IdProject, IdActivity, Title, Date_Modif, Deleted) values "
                                "(5, 41, -2, 'node 41', 90, 0), (9, 42, 31, 'a', 100, 0), (10, 42, 31, 'b', 200, 0), "
                                "(20, 42, 31, 'c', 50, 0), (30, 44, -2, 'theirs', 400, 0)"));
    SyncReviewList list;
    int count = 0;
    ASSERT_EQ(compare(list, count), CBdD::CompareOutcome::Compared);
    ASSERT_EQ(decisions(list), QStringList({"7:10:6:2", "7:30:21:0", "7:-1:5:2", "7:-1:20:2"}));
    list.Item(2)->action = SyncItem::KeepLocal; // node 44: the local plan after all
    RecordingSteps steps;
    ASSERT_TRUE(merge(list, steps));
    // (The compaction that ends the merge numbers the rows anew.)
    EXPECT_EQ(cell(device, "select group_concat(r, ' ') from (select IdProject || ':' || ifnull(Title, 'NULL') || "
                           "':' || ifnull(Origine_Modif, 'NULL') as r from Forecast order by IdProject)"),
              "40:node 40:0 41:node 41:NULL 42:mine:0 43:node 43:0 44:NULL:0");
}

TEST_F(SyncMergeTest, LocalProjectOrderReplacesTheListsOfItsProjects)
{
    exec(local, QStringLiteral("insert into ProjectChilds (IdProject, Childs, Origine_Modif) values "
                               "(-1, ';32;;35;', 1), (32, ';A31;', 1), (35, NULL, 1)"));
    // 36 was made on the device: its list stays; 32's two rows both go.
    exec(device, QStringLiteral("insert into ProjectChilds (IdProject, Childs, Origine_Modif) values "
                                "(-1, ';35;;32;;36;', 0), (32, ';A34;', 0), (32, ';A37;', 0), (36, ';A31;', 1)"));
    SyncReviewList list;
    int count = 0;
    ASSERT_EQ(compare(list, count), CBdD::CompareOutcome::Compared);
    ASSERT_EQ(count, 1);
    RecordingSteps steps;
    ASSERT_TRUE(merge(list, steps));
    EXPECT_EQ(steps.steps, QStringList({"634:1"}));
    EXPECT_EQ(cell(device, "select group_concat(r, ' ') from (select IdProject || '=' || ifnull(Childs, 'NULL') || "
                           "'/' || Origine_Modif as r from ProjectChilds order by IdProject, Childs)"),
              "-1=;32;;35;/0 32=;A31;/0 35=NULL/0 36=;A31;/0");
}

TEST_F(SyncMergeTest, ProjectsWhoseParentChainBreaksMoveToTheTop)
{
    // Projects changed here: their own parent; a loop of two; a missing
    // parent; a parent deleted on the device; a sound chain through a
    // project of both sides; parent 0, which no project has. One changed on
    // the device: a missing parent.
    const struct
    {
        int id;
        int parent;
        int after;
    } projects[] = {
        {50, 50, -1}, {51, 52, -1}, {52, 51, 51}, {53, 99, -1}, {54, 55, -1}, {56, 57, 57}, {58, 56, 56},
        {59, 0, -1},
    };
    for (const auto &p : projects)
        exec(local, QStringLiteral("insert into Projets (Id, Nom, Parent, Date_Modif, Origine_Modif, Deleted) "
                                   "values (%1, 'p', %2, 20, 1, 0)").arg(p.id).arg(p.parent));
    for (const QString &path : {local, device})
        exec(path, QStringLiteral("insert into Projets (Id, Nom, Parent, Date_Modif, Deleted) values (57, 'top', -1, 5, 0)"));
    exec(device, QStringLiteral("insert into Projets (Id, Nom, Parent, Date_Modif, Deleted) values "
                                "(55, 'gone', -1, 5, 1), (60, 'new', 61, 5, 0)"));
    SyncReviewList list;
    int count = 0;
    ASSERT_EQ(compare(list, count), CBdD::CompareOutcome::Compared);
    RecordingSteps steps;
    ASSERT_TRUE(merge(list, steps));
    for (const auto &p : projects) {
        SCOPED_TRACE(p.id);
        EXPECT_EQ(cell(device, QStringLiteral("select Parent from Projets where Id=%1").arg(p.id)),
                  QString::number(p.after));
    }
    EXPECT_EQ(cell(device, "select Parent from Projets where Id=60"), "-1");
    EXPECT_EQ(cell(device, "select Parent from Projets where Id=55"), "-1");
}

TEST_F(SyncMergeTest, StampAndIdCountersBecomeTheLargerAsNumbers)
{
    exec(local, QStringLiteral("update Infos set Value='1000000000' where Name='Modif'"));
    exec(device, QStringLiteral("update Infos set Value='999999999' where Name='Modif'"));
    // Per column: larger here, larger there, not a number here, not a
    // number there; a counter only this desktop has.
    exec(local, QStringLiteral("update NextRowId set Ppc=100, Pc=1000, Serveur='x' where Name='Taches'"));
    exec(device, QStringLiteral("update NextRowId set Ppc=400, Pc=998, Serveur=102 where Name='Taches'"));
    exec(local, QStringLiteral("update NextRowId set Ppc=7, Pc=NULL, Serveur=9 where Name='Favoris'"));
    exec(device, QStringLiteral("update NextRowId set Ppc='', Pc=5, Serveur=NULL where Name='Favoris'"));
    exec(local, QStringLiteral("insert into NextRowId (Name, Ppc, Pc, Serveur) values ('Extra', 1, 2, 3)"));
    const SyncReviewList list = listOf({decision(CBdD::TableProjectChilds, 0, -1, SyncItem::KeepLocal)});
    RecordingSteps steps;
    ASSERT_TRUE(merge(list, steps));
    EXPECT_EQ(cell(device, "select Value from Infos where Name='Modif'"), "1000000000");
    EXPECT_EQ(cell(device, "select group_concat(r, ' ') from (select Name || '=' || ifnull(Ppc, 'NULL') || ',' || "
                           "ifnull(Pc, 'NULL') || ',' || ifnull(Serveur, 'NULL') as r from NextRowId "
                           "where Name in ('Taches', 'Favoris', 'Extra') order by Name)"),
              "Extra=1,2,3 Favoris=7,5,9 Taches=400,1000,102");

    // A later stamp on the device stays; a local stamp that cannot be read
    // marks the step failed but the merge goes on.
    exec(device, QStringLiteral("update Infos set Value='2000000000' where Name='Modif'"));
    ASSERT_TRUE(merge(list, steps));
    EXPECT_EQ(cell(device, "select Value from Infos where Name='Modif'"), "2000000000");
    exec(local, QStringLiteral("delete from Infos where Name='Modif'"));
    steps.steps.clear();
    ASSERT_TRUE(merge(list, steps));
    EXPECT_EQ(steps.steps, QStringList({"634:2"}));
}

TEST_F(SyncMergeTest, AFailedRowOrACancelLeavesTheCopyAsItWas)
{
    exec(local, QStringLiteral("insert into Projets (Id, Nom, Date_Modif, Origine_Modif, Deleted) values "
                               "(32, 'a', 20, 1, 0), (35, NULL, 20, 1, 0), (38, 'c', 20, 1, 0)"));
    exec(device, QStringLiteral("insert into Projets (Id, Nom, Date_Modif, Deleted) values (32, 'x', 10, 0), (41, 'y', 10, 0)"));
    // The device's table refuses a project without a name.
    exec(device, QStringLiteral("create table P2 as select * from Projets; drop table Projets; "
                                "create table Projets (Id integer primary key, Nom text not null, Title text, "
                                "Commentaire text, Red integer, Green integer, Blue integer, IdTauxHoraire integer, "
                                "Visible integer, Ordre integer, Date_Modif integer, Origine_Modif integer, "
                                "Deleted integer, Share integer, Parent integer default -1, Type integer, "
                                "Activity integer); insert into Projets select * from P2; drop table P2"));
    const QByteArray before = hash(device);
    const SyncReviewList list = listOf({
        decision(CBdD::TableProjets, 32, 32, SyncItem::KeepLocal),
        decision(CBdD::TableProjets, 41, -1, SyncItem::Delete),
        decision(CBdD::TableProjets, -1, 35, SyncItem::KeepLocal),
        decision(CBdD::TableProjets, -1, 38, SyncItem::KeepLocal),
    });
    {
        RecordingSteps steps;
        EXPECT_FALSE(merge(list, steps));
        EXPECT_EQ(hash(device), before);
    }
    exec(local, QStringLiteral("update Projets set Nom='b' where Id=35"));
    const QByteArray stillBefore = hash(device);
    for (int at : {1, 2, 4}) {
        SCOPED_TRACE(at);
        RecordingSteps steps;
        steps.cancelAt = at;
        EXPECT_FALSE(merge(list, steps));
        EXPECT_EQ(hash(device), stillBefore);
    }
    // The control: all four rows merged, though the local connection kept
    // a failure of its own from before (only the merge's count).
    RecordingSteps steps;
    CBdD reader(local, CBdD::ReadOnly);
    EXPECT_NE(reader.Execute(u"select * from NoSuchTable"), 0);
    bool touched = true;
    ASSERT_TRUE(reader.ApplySynchronisation(device, list, steps, touched));
    EXPECT_FALSE(touched);
    EXPECT_NE(reader.LastCode(), 0);
    EXPECT_EQ(cell(device, "select group_concat(Id || Nom) from (select * from Projets order by Id)"), "32a,35b,38c");

    // An empty list: false, and the copy is not even opened.
    const QString missing = TestFolders::file("none/Ppc.sdb");
    CBdD db(local, CBdD::ReadOnly);
    touched = true;
    RecordingSteps none;
    EXPECT_FALSE(db.ApplySynchronisation(missing, SyncReviewList(), none, touched));
    EXPECT_FALSE(touched);
    EXPECT_TRUE(none.steps.isEmpty());
    EXPECT_EQ(none.looks, 0);
    EXPECT_FALSE(db.ApplySynchronisation(missing, list, none, touched));
    EXPECT_FALSE(QFileInfo::exists(missing));
}

TEST_F(SyncMergeTest, FavouriteOrderTakesTheLatestUse)
{
    exec(local, QStringLiteral("insert into Favoris (Id, Ordre, Deleted) values (1, 500, 0), (2, 100, 0), (3, 9000000000, 0)"));
    exec(device, QStringLiteral("insert into Favoris (Id, Ordre, Deleted) values (1, 400, 0), (2, 200, 0), (3, 800000000, 0), "
                                "(4, 50, 0)"));
    const QByteArray before = hash(device);
    for (int at : {1, 3}) {
        RecordingSteps steps;
        steps.cancelAt = at;
        CBdD db(local, CBdD::ReadOnly);
        EXPECT_EQ(db.MergeFavoriteOrder(device, steps), CBdD::MergeOutcome::Cancelled);
        EXPECT_EQ(hash(device), before);
    }
    RecordingSteps steps;
    CBdD db(local, CBdD::ReadOnly);
    EXPECT_EQ(db.MergeFavoriteOrder(device, steps), CBdD::MergeOutcome::Done);
    EXPECT_EQ(cell(device, "select group_concat(Ordre) from (select Ordre from Favoris order by Id)"),
              "500,200,9000000000,50");
    EXPECT_EQ(db.MergeFavoriteOrder(TestFolders::file("none.sdb"), steps), CBdD::MergeOutcome::Failed);
    EXPECT_FALSE(QFileInfo::exists(TestFolders::file("none.sdb")));
}

TEST_F(SyncMergeTest, PurgeEndsTheSynchronisationInOneTransaction)
{
    Platform::Clock::setFixedNow(1700000000);
    const int kinds[] = {CBdD::TableProjets, CBdD::TableActivites, CBdD::TableTauxHoraire, CBdD::TableTaches,
                         CBdD::TableFavoris, CBdD::TableForecast};
    for (int kind : kinds) {
        exec(device, insertRow(kind, 40, "live", 10, false, 1));
        exec(device, insertRow(kind, 41, "gone", 10, true, 1));
        exec(device, insertRow(kind, 42, "synced", 10, false, 0));
    }
    exec(device, QStringLiteral("insert into ProjectChilds (IdProject, Childs, Origine_Modif) values (-1, ';40;', 1)"));
    exec(device, QStringLiteral("delete from Infos where Name='Backup'"));
    {
        CBdD db(device);
        EXPECT_TRUE(db.PurgeSyncedChanges());
    }
    for (const char *table : Synchronised) {
        SCOPED_TRACE(table);
        EXPECT_EQ(cell(device, QStringLiteral("select count(*) from %1 where Deleted<>0").arg(table)), "0");
        EXPECT_EQ(cell(device, QStringLiteral("select count(*) from %1 where Origine_Modif<>0").arg(table)), "0");
        EXPECT_EQ(cell(device, QStringLiteral("select count(*) from %1").arg(table)), "2");
    }
    EXPECT_EQ(cell(device, "select Origine_Modif from ProjectChilds"), "0");
    // A missing stamp row is made.
    EXPECT_EQ(cell(device, "select Value from Infos where Name='Backup'"), "1700000000");

    // A statement that fails leaves the file as it was, and says so.
    exec(device, insertRow(CBdD::TableTaches, 50, "gone", 10, true, 1));
    exec(device, QStringLiteral("alter table Forecast rename column Deleted to Efface"));
    const QByteArray before = hash(device);
    {
        CBdD db(device);
        EXPECT_FALSE(db.PurgeSyncedChanges());
        EXPECT_FALSE(db.PurgeTable(6));
    }
    EXPECT_EQ(hash(device), before);
}

TEST_F(SyncMergeTest, ClearTaskOriginsMarksOnlyChangedEntries)
{
    exec(device, insertRow(CBdD::TableTaches, 40, "a", 10, false, 1));
    exec(device, insertRow(CBdD::TableTaches, 41, "b", 10, false, 2));
    CBdD db(device);
    EXPECT_TRUE(db.ClearTaskOrigins());
    EXPECT_EQ(cell(device, "select group_concat(Origine_Modif) from (select Origine_Modif from Taches order by Id)"),
              "0,2");
    CBdD none{QString()};
    EXPECT_FALSE(none.ClearTaskOrigins());
}

namespace {

// What the model knows of a row.
struct ModelRow
{
    QString name;
    qint64 stamp = 0;
    bool deleted = false;
    qint64 rowId = 0; // plans only
};
using Rows = std::map<qint64, ModelRow>;        // by id
using PlanRows = std::map<int, std::vector<ModelRow>>; // by node

// The suggested action for a row on each side (null: absent), -1 for none.
int modelDecision(const ModelRow *local, const ModelRow *device, bool deviceOnlyListed)
{
    if (!local && !device)
        return -1;
    if (!local)
        return device->deleted || !deviceOnlyListed ? -1 : SyncItem::TakeDevice;
    if (!device)
        return local->deleted ? -1 : SyncItem::KeepLocal;
    if (local->stamp == device->stamp || (local->deleted && device->deleted))
        return -1;
    if (local->stamp < device->stamp)
        return device->deleted ? SyncItem::Delete : SyncItem::TakeDevice;
    return local->deleted ? SyncItem::Delete : SyncItem::KeepLocal;
}

const ModelRow *newest(const PlanRows &plans, int node)
{
    const auto found = plans.find(node);
    if (found == plans.end() || found->second.empty())
        return nullptr;
    const ModelRow *best = &found->second.front();
    for (const ModelRow &row : found->second) {
        if (row.stamp > best->stamp || (row.stamp == best->stamp && row.rowId > best->rowId))
            best = &row;
    }
    return best;
}

int plainIntegrityCheck(const QString &path, QString &answer)
{
    QProcess shell;
    shell.start(QStringLiteral("sqlite3"), {path, QStringLiteral("pragma integrity_check")});
    if (!shell.waitForFinished(60000))
        return -1;
    answer = QString::fromUtf8(shell.readAllStandardOutput()).trimmed();
    return shell.exitCode();
}

} // namespace

TEST_F(SyncMergeTest, RandomPairsAgainstAPlainModel)
{
    const int kinds[] = {CBdD::TableProjets, CBdD::TableActivites, CBdD::TableTauxHoraire, CBdD::TableTaches,
                         CBdD::TableFavoris};
    for (quint32 seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        QFile::remove(local);
        QFile::remove(device);
        makeDatabase(QStringLiteral("local/Zarvo.sdb"));
        makeDatabase(QStringLiteral("work/Ppc.sdb"));
        QRandomGenerator random(seed);
        const auto stamp = [&] { return qint64(10 * (1 + random.bounded(3))); };

        std::map<int, Rows> localRows, deviceRows;
        QStringList inserts[2];
        for (int kind : kinds) {
            for (qint64 id = 1; id <= 30; ++id) {
                for (int side = 0; side < 2; ++side) {
                    const int state = random.bounded(3); // absent, live, deleted
                    if (state == 0)
                        continue;
                    ModelRow row{QStringLiteral("%1%2").arg(side ? "D" : "L").arg(id), stamp(), state == 2};
                    inserts[side] << insertRow(kind, id, row.name, row.stamp, row.deleted, side ? 0 : 1);
                    (side ? deviceRows : localRows)[kind][id] = row;
                }
            }
        }
        // Plans: up to two rows of a node on each side, each side numbering
        // its rows alone.
        PlanRows localPlans, devicePlans;
        for (int side = 0; side < 2; ++side) {
            QSet<qint64> used;
            for (int node = 1; node <= 20; ++node) {
                for (int n = random.bounded(3); n > 0; --n) {
                    qint64 rowId = 0;
                    do
                        rowId = 1 + random.bounded(60);
                    while (used.contains(rowId));
                    used.insert(rowId);
                    ModelRow row{QStringLiteral("%1%2.%3").arg(side ? "D" : "L").arg(node).arg(rowId), stamp(),
                                 random.bounded(4) == 0, rowId};
                    inserts[side] << (
                         QStringLiteral("insert into Forecast (rowid, IdProject, IdActivity, Title, Date_Modif, "
                                        "Origine_Modif, Deleted) values (%1, %2, -2, '%3', %4, %5, %6)")
                             .arg(rowId).arg(node).arg(row.name).arg(row.stamp).arg(side ? 0 : 1).arg(row.deleted));
                    (side ? devicePlans : localPlans)[node].push_back(row);
                }
            }
        }
        exec(local, "begin;" + inserts[0].join(u';') + ";commit");
        exec(device, "begin;" + inserts[1].join(u';') + ";commit");

        SyncReviewList list;
        int count = 0;
        ASSERT_EQ(compare(list, count), CBdD::CompareOutcome::Compared);

        // The same decisions as the model's.
        std::map<QString, int> expected;
        for (int kind : kinds) {
            for (qint64 id = 1; id <= 30; ++id) {
                const auto l = localRows[kind].find(id);
                const auto d = deviceRows[kind].find(id);
                const int action = modelDecision(l == localRows[kind].end() ? nullptr : &l->second,
                                                 d == deviceRows[kind].end() ? nullptr : &d->second, true);
                if (action >= 0)
                    expected[QStringLiteral("%1:%2").arg(kind).arg(id)] = action;
            }
        }
        for (int node = 1; node <= 20; ++node) {
            const int action = modelDecision(newest(localPlans, node), newest(devicePlans, node), false);
            if (action >= 0)
                expected[QStringLiteral("7:%1").arg(node)] = action;
        }
        std::map<QString, int> listed;
        std::map<QString, int> chosen;
        for (int r = 0; r < list.Count(); ++r) {
            SyncItem *item = list.Item(r);
            if (!item || item->kind == CBdD::TableProjectChilds)
                continue;
            QString key;
            if (item->kind == CBdD::TableForecast) {
                const QString name = item->localId != -1 ? list.At(r).local.name : list.At(r).device.name;
                key = QStringLiteral("7:%1").arg(name.mid(1).section(u'.', 0, 0));
            } else {
                key = QStringLiteral("%1:%2").arg(item->kind).arg(std::max(item->localId, item->deviceId));
            }
            listed[key] = item->action;
            // The user's choice, among the allowed actions.
            std::vector<int> choices;
            for (int a : {0, 1, 2}) {
                if (allowed(*item, a))
                    choices.push_back(a);
            }
            item->action = choices[random.bounded(int(choices.size()))];
            chosen[key] = item->action;
        }
        EXPECT_EQ(listed, expected);
        EXPECT_EQ(count, int(expected.size()));

        RecordingSteps steps;
        ASSERT_TRUE(merge(list, steps));

        // Every row is the winner's; none is lost but by a deletion.
        for (int kind : kinds) {
            std::map<qint64, QString> want, have;
            for (qint64 id = 1; id <= 30; ++id) {
                const auto c = chosen.find(QStringLiteral("%1:%2").arg(kind).arg(id));
                const auto d = deviceRows[kind].find(id);
                if (c == chosen.end() || c->second == SyncItem::TakeDevice) {
                    if (d != deviceRows[kind].end())
                        want[id] = d->second.name + (d->second.deleted ? "/1" : "/0");
                } else if (c->second == SyncItem::KeepLocal) {
                    want[id] = localRows[kind][id].name + "/0";
                }
            }
            SQLite::CmyDataBase db;
            ASSERT_EQ(db.OpenReadOnly(device), 0);
            const QString name = kind == CBdD::TableTaches || kind == CBdD::TableFavoris ? "Title" : "Nom";
            SQLite::MyTablePtr rows =
                db.Query(QStringLiteral("select Id, %1, Deleted from %2").arg(name, CBdD::TableName(kind)));
            ASSERT_TRUE(rows);
            for (int r = 0; r < rows->rowCount(); ++r)
                have[rows->GetInt64At(r, 0)] = rows->GetCell(r, 1) + "/" + rows->GetCell(r, 2);
            EXPECT_EQ(have, want) << "kind " << kind;
        }
        std::map<int, QStringList> wantPlans, havePlans;
        for (int node = 1; node <= 20; ++node) {
            const auto c = chosen.find(QStringLiteral("7:%1").arg(node));
            QStringList titles;
            if (c == chosen.end() || c->second == SyncItem::TakeDevice) {
                for (const ModelRow &row : devicePlans[node])
                    titles << row.name;
            } else if (c->second == SyncItem::KeepLocal) {
                titles << newest(localPlans, node)->name;
            }
            titles.sort();
            if (!titles.isEmpty())
                wantPlans[node] = titles;
        }
        SQLite::CmyDataBase db;
        ASSERT_EQ(db.OpenReadOnly(device), 0);
        SQLite::MyTablePtr plans = db.Query(u"select IdProject, Title from Forecast order by Title");
        ASSERT_TRUE(plans);
        for (int r = 0; r < plans->rowCount(); ++r)
            havePlans[plans->GetIntAt(r, 0)] << plans->GetCell(r, 1);
        EXPECT_EQ(havePlans, wantPlans);

        QString answer;
        EXPECT_EQ(plainIntegrityCheck(device, answer), 0);
        EXPECT_EQ(answer, "ok");
    }
}
