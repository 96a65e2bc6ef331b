// Loading a large project tree into the store and filling a tree with it:
// 2 000 projects, 20 000 activity nodes below them and the statistics of
// 100 000 time entries, first from records in memory (the store's own
// cost), then from a user database through the database layer (what the
// program does after start-up or a user switch). Then thousands of
// top-level projects in the worst order for placing them by their child
// order. Last, the loop check of moving a large subtree of a tree with
// a predecessor link on every project.
#include "BenchFolder.h"
#include "ProjectTreeData.h"
#include "CAppData.h"
#include "CBdD.h"
#include "CProjectStore.h"
#include "CTreeWidgetFiller.h"
#include "Formatter.h"

#include <QApplication>
#include <QHash>
#include <QTreeWidget>
#include <benchmark/benchmark.h>
#include <random>
#include <vector>

using Platform::Formatter;

namespace {

using namespace ProjectTreeData;

// A filler that keeps the items in a flat list, as cheap as a tree can be.
class FlatTree : public CTreeFiller
{
public:
    struct Row
    {
        QString text;
        int image;
        qintptr data;
        Item parent;
        bool checked = false, expanded = false;
    };
    std::vector<Row> rows;

    Item InsertItem(Item parent, const QString &text, int image, int, qintptr data) override
    {
        rows.push_back({text, image, data, parent});
        return reinterpret_cast<Item>(rows.size());
    }
    Row &row(Item item) { return rows[reinterpret_cast<size_t>(item) - 1]; }
    void SetCheck(Item item, bool checked) override { row(item).checked = checked; }
    void Expand(Item item, bool expand) override { row(item).expanded = expand; }
    void SelectItem(Item) override {}
    void SetItemText(Item item, const QString &text) override { row(item).text = text; }
    void SetItemData(Item item, qintptr data) override { row(item).data = data; }
    void SetItemImage(Item item, int image, int) override { row(item).image = image; }
    void DeleteItem(Item) override {}
    Item GetChildItem(Item) const override { return nullptr; }
    Item GetNextSiblingItem(Item) const override { return nullptr; }
};


void BM_LoadStore(benchmark::State &state)
{
    CProjectStore store;
    for (auto _ : state) {
        fixture().load(store);
        benchmark::DoNotOptimize(store.GetProjectCount());
    }
}
BENCHMARK(BM_LoadStore)->Unit(benchmark::kMillisecond);

void BM_LoadAndFillTree(benchmark::State &state)
{
    CProjectStore store;
    for (auto _ : state) {
        fixture().load(store);
        FlatTree tree;
        store.FillProjectTree(tree, nullptr, true, true, nullptr, QString(),
                              QStringLiteral(";5,-2;17,-2;"));
        benchmark::DoNotOptimize(tree.rows.size());
    }
}
BENCHMARK(BM_LoadAndFillTree)->Unit(benchmark::kMillisecond);

void BM_FillTreeWidget(benchmark::State &state)
{
    CProjectStore store;
    fixture().load(store);
    for (auto _ : state) {
        QTreeWidget widget;
        CTreeWidgetFiller filler(&widget, true);
        store.FillProjectTree(filler, nullptr, true, true, nullptr, QString(), QString());
        benchmark::DoNotOptimize(widget.topLevelItemCount());
    }
}
BENCHMARK(BM_FillTreeWidget)->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------------
// The same tree in a user database
// ---------------------------------------------------------------------

// Projets with their child lists, Activites, and Taches holding
// EntriesPerNode finished entries for each of the ten activities of every
// project.
const QString &databasePath()
{
    static const QString path = [] {
        const QString p = Bench::folder().path() + QStringLiteral("/Zarvo.sdb");
        ProjectTreeData::writeDatabase(p);
        return p;
    }();
    return path;
}

// Recorded-time totals of every project and activity, as the full load of
// the forecast reads them; run here only when the project load does not
// read them itself.
void loadTotals(CBdD &db, CProjectStore &store)
{
    SQLite::MyTablePtr t = db.Query(
        u"select IdProjet, IdActivite, count() as NbTask, sum(Fin-Debut) as Total, Min(Debut) as MinDeb, "
        u"Max(Fin) as MaxFin FROM Taches where Taches.Deleted=0 and Fin > 0 group by IdProjet, IdActivite");
    for (int r = 0; t && r < t->rowCount(); ++r)
        store.AddTaskStatistics(t->GetCellView(r, 0).toInt(), t->GetCellView(r, 1).toInt(),
                                t->GetCellView(r, 2).toInt(), t->GetCellView(r, 3).toLongLong(),
                                t->GetCellView(r, 4).toLongLong(), t->GetCellView(r, 5).toLongLong());
}

// What the program does to rebuild the model: activities into the store,
// then the project tree (with its forecast rows and totals).
void loadFromDatabase(CBdD &db, CProjectStore &store)
{
    db.LoadActivities(nullptr, nullptr, true, QString());
    db.LoadProjects(-1, nullptr);
    if (store.GetNode(1) && store.GetNode(1)->GetTaskCount(true) == 0)
        loadTotals(db, store);
}

void checkLoaded(benchmark::State &state, const CProjectStore &store)
{
    int activityNodes = 0;
    int entries = 0;
    for (int id = 1; id <= Projects; ++id) {
        const CProject *node = store.GetNode(id);
        if (!node)
            continue;
        for (const CProject *child : node->Children())
            if (child->IsActivity()) {
                ++activityNodes;
                entries += child->GetTaskCount();
            }
    }
    state.counters["projects"] = store.GetProjectCount();
    state.counters["activityNodes"] = activityNodes;
    state.counters["entries"] = entries;
    if (store.GetProjectCount() != Projects || activityNodes != Projects * ActivitiesPerProject
        || entries != Projects * ActivitiesPerProject * EntriesPerNode)
        state.SkipWithError("the store does not hold the whole tree");
}

struct Database
{
    CProjectStore store;
    CBdD db{databasePath()};
    Database() { CAppData::SetProjectStore(&store); }
    ~Database() { CAppData::SetProjectStore(nullptr); }
};

void BM_LoadStoreFromDatabase(benchmark::State &state)
{
    Database d;
    for (auto _ : state) {
        loadFromDatabase(d.db, d.store);
        benchmark::DoNotOptimize(d.store.GetProjectCount());
    }
    checkLoaded(state, d.store);
}
BENCHMARK(BM_LoadStoreFromDatabase)->Unit(benchmark::kMillisecond);

void BM_LoadFromDatabaseAndFillTree(benchmark::State &state)
{
    Database d;
    size_t items = 0;
    for (auto _ : state) {
        loadFromDatabase(d.db, d.store);
        FlatTree tree;
        d.store.FillProjectTree(tree, nullptr, true, true, nullptr, QString(), QStringLiteral(";5,-2;17,-2;"));
        items = tree.rows.size();
        benchmark::DoNotOptimize(items);
    }
    checkLoaded(state, d.store);
    state.counters["items"] = double(items);
}
BENCHMARK(BM_LoadFromDatabaseAndFillTree)->Unit(benchmark::kMillisecond);

// What the project pane does when it rebuilds: its tree emptied, the model
// reloaded and shown again in a QTreeWidget with check boxes.
void BM_LoadFromDatabaseAndFillTreeWidget(benchmark::State &state)
{
    Database d;
    QTreeWidget widget;
    for (auto _ : state) {
        widget.clear();
        loadFromDatabase(d.db, d.store);
        CTreeWidgetFiller filler(&widget, true);
        d.store.FillProjectTree(filler, nullptr, true, true, nullptr, QString(), QStringLiteral(";5,-2;17,-2;"));
        benchmark::DoNotOptimize(widget.topLevelItemCount());
    }
    checkLoaded(state, d.store);
}
BENCHMARK(BM_LoadFromDatabaseAndFillTreeWidget)->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------------
// Many siblings under one parent, in the worst order for their placement
// ---------------------------------------------------------------------

// `count` top-level projects whose child order lists them backwards while
// the load brings them in name order: each one arrives before every
// sibling already placed.
const QString &siblingsDatabasePath(int count)
{
    static QHash<int, QString> paths;
    auto it = paths.constFind(count);
    if (it != paths.constEnd())
        return *it;
    const QString p = Bench::folder().path() + QStringLiteral("/Siblings%1.sdb").arg(count);
    CBdD db(p);
    db.Connection()->BeginTransaction();
    QString order;
    for (int id = count; id >= 1; --id)
        order += u';' + QString::number(id);
    order += u';';
    for (int id = 1; id <= count; ++id)
        db.Execute(Formatter::sprintf(
            u"insert into Projets (Id, Nom, Commentaire, Title, Red, Green, Blue, IdTauxHoraire, Visible, "
            u"Deleted, Ordre, Parent, Type, Activity) values (%d, '%s', '', '', 200, 180, 160, -1, 1, 0, 0, "
            u"-1, 0, -1)",
            {id, QStringLiteral("Projet %1").arg(id, 5, 10, QLatin1Char('0'))}));
    db.Execute(Formatter::sprintf(u"insert into ProjectChilds (IdProject, Childs) values (-1, '%s')", {order}));
    db.Connection()->CommitTransaction();
    return *paths.insert(count, p);
}

void BM_LoadTopLevelSiblingsWorstOrder(benchmark::State &state)
{
    const int count = int(state.range(0));
    CProjectStore store;
    CAppData::SetProjectStore(&store);
    CBdD db{siblingsDatabasePath(count)};
    for (auto _ : state) {
        db.LoadProjects(-1, nullptr);
        benchmark::DoNotOptimize(store.GetRoot()->GetChildCount());
    }
    CAppData::SetProjectStore(nullptr);
    // The child order holds: the last id first.
    const CProject *root = store.GetRoot();
    if (root->GetChildCount() != count || root->GetChild(0)->ProjectId() != count
        || root->GetChild(count - 1)->ProjectId() != 1)
        state.SkipWithError("the siblings are not in their child order");
    state.counters["siblings"] = count;
}
BENCHMARK(BM_LoadTopLevelSiblingsWorstOrder)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);

// Two trees of N projects each, four children to a node; every leaf of the
// first one waits for the second tree's top project (so each link leads to
// N projects, and none closes a loop); and a new top-level project that is
// asked whether it may take project 2 with its subtree (a quarter of the
// first tree): the check follows the links of every node of that subtree.
void BM_MoveLoopCheck(benchmark::State &state)
{
    const int count = int(state.range(0));
    CProjectStore store;
    for (int tree = 0; tree < 2; ++tree) {
        for (int k = 1; k <= count; ++k) {
            tElement e;
            e.Id = tree * count + k;
            e.Nom = QStringLiteral("P%1").arg(e.Id);
            e.Parent = k == 1 ? -1 : tree * count + k / 4 + (k < 4 ? 1 : 0);
            store.AddProject(e, e.Parent == -1 ? nullptr : store.GetNode(e.Parent), QString());
        }
    }
    for (int id = count / 4 + 1; id <= count; ++id)
        store.GetNode(id)->SetPredecessor(count + 1, -2, 0, 4);
    tElement e;
    e.Id = 2 * count + 1;
    e.Nom = QStringLiteral("Nouveau");
    CProject *newParent = store.AddProject(e, nullptr, QString());
    CProject *moved = store.GetNode(2);
    bool allowed = false;
    for (auto _ : state)
        benchmark::DoNotOptimize(allowed = newParent->CanAdopt(moved));
    state.counters["allowed"] = allowed ? 1 : 0;
    state.counters["moved"] = moved->GetChildCount();
}
BENCHMARK(BM_MoveLoopCheck)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Bench::keepEnvironmentInFolder();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
