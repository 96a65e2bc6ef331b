// The project picker on the store benchmark's tree (2 000 projects with
// 20 000 activity nodes below them, shown with the projects): from the
// dialog made to the dialog shown with the tree filled, a subtree taken
// out and a deep node selected and scrolled to.
#include "CAppData.h"
#include "CDlgSelectProject.h"
#include "CProjectStore.h"
#include "ProjectTreeData.h"

#include <QApplication>
#include <QTreeWidget>
#include <functional>
#include <benchmark/benchmark.h>

namespace {

using namespace ProjectTreeData;

struct Scene
{
    CProjectStore store;
    Scene()
    {
        fixture().load(store);
        CAppData::SetProjectStore(&store);
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

void BM_PickerOpens(benchmark::State &state)
{
    Scene &s = scene();
    CProject *excluded = s.store.GetNode(150); // with its 10 sub-projects
    CProject *selected = s.store.GetNode(1999);
    int items = 0;
    for (auto _ : state) {
        CDlgSelectProject dialog;
        dialog.SetExcluded(excluded);
        dialog.SetSelected(selected);
        dialog.SetLag(2, CDlgSelectProject::Days);
        dialog.Prepare();
        dialog.show();
        QApplication::processEvents();
        items = countItems(dialog.Tree()->invisibleRootItem());
        state.PauseTiming();
        dialog.hide();
        state.ResumeTiming();
    }
    state.counters["items"] = items;
    // The top item, and every node but the 11 projects taken out with
    // their activity rows.
    const int expected = 1 + (Projects - 11) * (1 + ActivitiesPerProject);
    if (items != expected)
        state.SkipWithError("the tree is not the whole tree less the excluded subtree");
}
BENCHMARK(BM_PickerOpens)->Unit(benchmark::kMillisecond);

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
