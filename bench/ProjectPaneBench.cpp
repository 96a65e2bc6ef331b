// The project pane on the store benchmark's tree (2 000 projects, 100 000
// recorded entries), with 200 projects stored as collapsed: filling the
// whole tree and rebuilding the projects branch with the state restored,
// against loading the store from the database (what every change of the
// projects costs before the pane redraws), in the same run.
#include "BenchFolder.h"
#include "CBdD.h"
#include "CPaneProject.h"
#include "CProject.h"
#include "CProjectStore.h"
#include "CUsers.h"
#include "CViewTree.h"
#include "CZarvoWinApp.h"
#include "ProjectTreeData.h"
#include "Settings.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <functional>
#include <benchmark/benchmark.h>

namespace {

using namespace ProjectTreeData;

// Projects 10 to 209 stored as collapsed: the 191 of them that have
// sub-projects show collapsed, but for the two above the selection.
QString collapsedIds()
{
    QStringList ids;
    for (int id = 10; id < 210; ++id)
        ids << QString::number(id);
    return ids.join(u',');
}

// The application with user "Anne" on the tree's database.
struct Scene
{
    CZarvoWinApp app;
    Scene()
    {
        const QString users = Bench::folder().path() + QStringLiteral("/users/");
        QDir().mkpath(users + QStringLiteral("Anne"));
        {
            Platform::Settings settings;
            settings.setString(u"Config", u"Rep", u"Users", users);
            settings.setString(u"Config", u"Rep", u"Data", Bench::folder().path() + QStringLiteral("/"));
        }
        const QString path = users + QStringLiteral("Anne/Zarvo.sdb");
        if (!QFileInfo::exists(path))
            writeDatabase(path);
        tUsers anne;
        anne.Nom = QStringLiteral("Anne");
        if (app.Users().AddUser(anne) == CUsers::Done)
            app.Users().SwitchUser(anne.Id);
        app.Users().SetUserSettings({QStringLiteral("Projects Root"), QStringLiteral("Projects Pos"),
                                     QStringLiteral("Projects Collapsed")},
                                    {QStringLiteral("1;1;1"), QStringLiteral("5;1500;0;5;1500;0"), collapsedIds()});
    }
};

Scene &scene()
{
    static Scene s;
    return s;
}

void checkTree(benchmark::State &state, CPaneProject &pane)
{
    int items = 0;
    int collapsed = 0;
    std::function<void(QTreeWidgetItem *)> count = [&](QTreeWidgetItem *item) {
        for (int i = 0; i < item->childCount(); ++i) {
            ++items;
            if (item->child(i)->childCount() && !item->child(i)->isExpanded())
                ++collapsed;
            count(item->child(i));
        }
    };
    if (pane.ProjectsRoot())
        count(pane.ProjectsRoot());
    state.counters["projects"] = items;
    state.counters["collapsed"] = collapsed;
    // The selected project's two collapsed parents open to show it.
    if (items != Projects || collapsed != 189)
        state.SkipWithError("the tree is not the whole tree with its collapsed projects");
}

// What every rebuild of the model costs: activities, then the projects with
// their forecast rows and recorded-time totals.
void BM_LoadStoreFromDatabase(benchmark::State &state)
{
    Scene &s = scene();
    for (auto _ : state) {
        CBdD db;
        db.LoadActivities(nullptr, nullptr, true, QString());
        db.LoadProjects(-1, nullptr);
        benchmark::DoNotOptimize(s.app.ProjectStore().GetProjectCount());
    }
    state.counters["projects"] = s.app.ProjectStore().GetProjectCount();
}
BENCHMARK(BM_LoadStoreFromDatabase)->Unit(benchmark::kMillisecond);

// The whole tree: the state read, projects from the store, activities and
// rates from the database, the state put back.
void BM_PaneFillTree(benchmark::State &state)
{
    Scene &s = scene();
    CPaneProject pane(s.app);
    pane.resize(300, 600);
    pane.show();
    for (auto _ : state) {
        pane.FillTree();
        benchmark::DoNotOptimize(pane.ProjectsRoot());
    }
    checkTree(state, pane);
}
BENCHMARK(BM_PaneFillTree)->Unit(benchmark::kMillisecond);

// The projects branch after a change: the state taken, the branch rebuilt,
// the state put back.
void BM_PaneReloadProjects(benchmark::State &state)
{
    Scene &s = scene();
    CPaneProject pane(s.app);
    pane.resize(300, 600);
    pane.show();
    for (auto _ : state) {
        pane.ReloadBranch(true);
        benchmark::DoNotOptimize(pane.ProjectsRoot());
    }
    checkTree(state, pane);
}
BENCHMARK(BM_PaneReloadProjects)->Unit(benchmark::kMillisecond);

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
