// Loading a large project tree into the store and filling a tree with it.
#include "CProjectStore.h"
#include "CTreeWidgetFiller.h"

#include <QApplication>
#include <QTreeWidget>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

constexpr int Projects = 2000;
constexpr int ActivitiesPerProject = 10; // 20 000 activity nodes
constexpr int EntriesPerNode = 5;        // 100 000 recorded entries
constexpr int Activities = 200;

int parentOf(int id)
{
    return id <= 100 ? -1 : id / 10;
}

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
    void DeleteItem(Item) override {}
    Item GetChildItem(Item) const override { return nullptr; }
    Item GetNextSiblingItem(Item) const override { return nullptr; }
};

struct Fixture
{
    std::vector<tElement> projects; // in the order the database gives them
    std::vector<QString> childOrders;
    std::vector<tElement> activities;

    Fixture()
    {
        std::vector<std::vector<int>> children(Projects + 1);
        std::vector<int> top;
        for (int id = 1; id <= Projects; ++id)
            (parentOf(id) == -1 ? top : children[size_t(parentOf(id))]).push_back(id);
        // Every child order lists the children backwards, the opposite of
        // the name order in which they arrive.
        auto order = [](const std::vector<int> &ids) {
            QString text;
            for (auto it = ids.rbegin(); it != ids.rend(); ++it)
                text += u';' + QString::number(*it);
            return text.isEmpty() ? text : text + u';';
        };
        rootOrder = order(top);
        childOrders.resize(Projects + 1);
        for (int id = 1; id <= Projects; ++id)
            childOrders[size_t(id)] = order(children[size_t(id)]);
        // Depth first, children in name order, as the load walks the table.
        std::vector<int> stack(top.rbegin(), top.rend());
        while (!stack.empty()) {
            const int id = stack.back();
            stack.pop_back();
            tElement e;
            e.Id = id;
            e.Nom = QStringLiteral("Projet %1").arg(id, 4, 10, QLatin1Char('0'));
            e.Parent = parentOf(id);
            e.Type = id % 6;
            projects.push_back(e);
            const auto &c = children[size_t(id)];
            stack.insert(stack.end(), c.rbegin(), c.rend());
        }
        for (int a = 0; a < Activities; ++a) {
            tElement e;
            e.Id = a;
            e.Nom = QStringLiteral("Activité %1").arg(a);
            activities.push_back(e);
        }
    }
    QString rootOrder;

    void load(CProjectStore &store) const
    {
        store.Clear();
        for (const tElement &a : activities)
            store.SetActivity(a.Id, a);
        store.GetRoot()->SetChildOrder(rootOrder);
        for (const tElement &e : projects)
            store.AddProject(e, store.GetNode(e.Parent), childOrders[size_t(e.Id)]);
        for (int round = 0; round < EntriesPerNode; ++round)
            for (int id = 1; id <= Projects; ++id)
                for (int j = 0; j < ActivitiesPerProject; ++j)
                    store.AddTaskStatistics(id, j * 20 + id % 20, 1, 3600, 1000 + round,
                                            5000 + round);
    }
};

const Fixture &fixture()
{
    static const Fixture f;
    return f;
}

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

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
