// The pairs page of the report settings on the store benchmark's tree
// (2 000 projects with 20 000 activity nodes below them) against a bare
// tree widget filled with the same checkable items, in the same run: the
// page made and shown with its tree filled, and every item checked by
// "select all" against checking every item of the bare tree.
#include "ApplicationImageList.h"
#include "CAppData.h"
#include "CProjectStore.h"
#include "CReportProject.h"
#include "CmyTreeCtrl.h"
#include "ImageList.h"
#include "ProjectTreeData.h"
#include "tReportDefinition.h"
#include "tReportSnapshot.h"

#include <QApplication>
#include <QTreeWidget>
#include <benchmark/benchmark.h>

namespace {

using namespace ProjectTreeData;

struct Scene
{
    CProjectStore store;
    tReportSnapshot snapshot;
    tReportDefinition definition;
    ImageList images{16};
    Scene()
    {
        FillApplicationImages(images);
        fixture().load(store);
        CAppData::SetProjectStore(&store);
        snapshot = tReportSnapshot::Take(&store);
        definition.Type = 4;
    }
};

Scene &scene()
{
    static Scene s;
    return s;
}

int countItems(QTreeWidgetItem *item)
{
    int n = item->childCount();
    for (int i = 0; i < item->childCount(); ++i)
        n += countItems(item->child(i));
    return n;
}

// The same items the page makes, in a bare tree.
void fillBare(QTreeWidget &tree, const tReportSnapshot &snapshot)
{
    const auto &nodes = snapshot.Nodes;
    std::function<void(int, QTreeWidgetItem *, QList<QTreeWidgetItem *> &)> add =
        [&](int index, QTreeWidgetItem *parent, QList<QTreeWidgetItem *> &top) {
            const tReportSnapshot::tNode &node = nodes[size_t(index)];
            const QString text = node.ActivityId != -2 ? snapshot.ActivityName(node.ActivityId)
                                                       : snapshot.ProjectName(node.ProjectId);
            auto *item = new QTreeWidgetItem(QStringList(text));
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            item->setCheckState(0, Qt::Checked);
            item->setData(0, Qt::UserRole, node.ProjectId);
            item->setData(0, Qt::UserRole + 1, node.ActivityId);
            if (parent)
                parent->addChild(item);
            else
                top.append(item);
            for (int child : node.Children)
                add(child, item, top);
        };
    QList<QTreeWidgetItem *> top;
    for (int child : nodes[0].Children)
        add(child, nullptr, top);
    tree.addTopLevelItems(top);
}

void checkAll(QTreeWidgetItem *item, Qt::CheckState state)
{
    for (int i = 0; i < item->childCount(); ++i) {
        item->child(i)->setCheckState(0, state);
        checkAll(item->child(i), state);
    }
}

void BM_PairsPageOpens(benchmark::State &state)
{
    Scene &s = scene();
    int items = 0;
    for (auto _ : state) {
        QWidget host;
        host.resize(600, 500);
        CReportProject page(true, true);
        page.SetSnapshot(&s.snapshot);
        page.SetShowActivities(true);
        page.SetImages(&s.images);
        page.SetDefinition(&s.definition);
        page.Create(&host);
        page.resize(600, 500);
        host.show();
        QApplication::processEvents();
        items = countItems(page.TreeBox()->invisibleRootItem());
        state.PauseTiming();
        host.hide();
        state.ResumeTiming();
    }
    state.counters["items"] = items;
    if (items != Projects * (1 + ActivitiesPerProject))
        state.SkipWithError("the page's tree is not the whole tree");
}
BENCHMARK(BM_PairsPageOpens)->Unit(benchmark::kMillisecond);

void BM_BareTreeOpens(benchmark::State &state)
{
    Scene &s = scene();
    int items = 0;
    for (auto _ : state) {
        QWidget host;
        host.resize(600, 500);
        QTreeWidget tree(&host);
        tree.setHeaderHidden(true);
        tree.setUniformRowHeights(true);
        tree.resize(600, 500);
        fillBare(tree, s.snapshot);
        host.show();
        QApplication::processEvents();
        items = countItems(tree.invisibleRootItem());
        state.PauseTiming();
        host.hide();
        state.ResumeTiming();
    }
    state.counters["items"] = items;
}
BENCHMARK(BM_BareTreeOpens)->Unit(benchmark::kMillisecond);

void BM_PairsPageSelectAll(benchmark::State &state)
{
    Scene &s = scene();
    QWidget host;
    CReportProject page(true, true);
    page.SetSnapshot(&s.snapshot);
    page.SetDefinition(&s.definition);
    page.Create(&host);
    host.show();
    QApplication::processEvents();
    for (auto _ : state) {
        state.PauseTiming();
        page.CheckAll(false);
        state.ResumeTiming();
        page.CheckAll(true);
    }
    bool all = false;
    page.CheckedPairs(all);
    if (!all)
        state.SkipWithError("not every item is checked");
}
BENCHMARK(BM_PairsPageSelectAll)->Unit(benchmark::kMillisecond);

void BM_BareTreeCheckAll(benchmark::State &state)
{
    Scene &s = scene();
    QWidget host;
    QTreeWidget tree(&host);
    fillBare(tree, s.snapshot);
    host.show();
    QApplication::processEvents();
    for (auto _ : state) {
        state.PauseTiming();
        checkAll(tree.invisibleRootItem(), Qt::Unchecked);
        state.ResumeTiming();
        checkAll(tree.invisibleRootItem(), Qt::Checked);
    }
}
BENCHMARK(BM_BareTreeCheckAll)->Unit(benchmark::kMillisecond);

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
