// Switching between two users whose databases each hold ten years of time
// entries (about 40 000), 2 000 projects with their plans, 30 activities
// and 60 favourites: the data part of the switch (the users database marks
// the new user, the old file is closed and the new one opened, activities,
// projects, plans, recorded totals and the running entry loaded, the
// forecast scheduler run, then the favourites branch and the recent
// combinations filled as the task pane does), without the windows.
#include "BenchFolder.h"
#include "CAnnulation.h"
#include "CAppData.h"
#include "CBdD.h"
#include "CConfiguration.h"
#include "CProjectStore.h"
#include "CTreeFiller.h"
#include "CUsers.h"
#include "Formatter.h"
#include "LocalTime.h"
#include "tCurrentEntry.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>

#include <memory>
#include <vector>

using Platform::Formatter;

namespace {

const QDate FirstDay(2017, 1, 2);
const QDate LastDay(2026, 12, 31);
constexpr int EntriesPerWorkingDay = 15; // about 40 000 over ten years of working days
constexpr int TopProjects = 100;
constexpr int SubProjectsEach = 19; // 100 + 100 * 19 = 2 000 projects
constexpr int Activities = 30;
constexpr int Favourites = 60;

QString usersFolder()
{
    return Bench::folder().path() + QStringLiteral("/users/");
}

// A tree that only keeps its items in memory, as a window's tree would.
class MemoryTree : public CTreeFiller
{
public:
    struct Node
    {
        QString text;
        qintptr data = 0;
        Node *parent = nullptr;
        std::vector<std::unique_ptr<Node>> children;
    };
    Node top;

    static Node *N(Item item) { return static_cast<Node *>(item); }
    Node *node(Item item) { return item ? N(item) : &top; }
    const Node *node(Item item) const { return item ? N(item) : &top; }

    Item InsertItem(Item parent, const QString &text, int, int, qintptr data) override
    {
        auto n = std::make_unique<Node>();
        n->text = text;
        n->data = data;
        n->parent = node(parent);
        Node *raw = n.get();
        node(parent)->children.push_back(std::move(n));
        return raw;
    }
    void SetCheck(Item, bool) override {}
    void Expand(Item, bool) override {}
    void SelectItem(Item) override {}
    void SetItemText(Item item, const QString &text) override { N(item)->text = text; }
    void SetItemData(Item item, qintptr data) override { N(item)->data = data; }
    void SetItemImage(Item, int, int) override {}
    void DeleteItem(Item item) override
    {
        auto &siblings = N(item)->parent->children;
        for (auto it = siblings.begin(); it != siblings.end(); ++it)
            if (it->get() == item) {
                siblings.erase(it);
                return;
            }
    }
    Item GetChildItem(Item parent) const override
    {
        const Node *p = node(parent);
        return p->children.empty() ? nullptr : p->children.front().get();
    }
    Item GetNextSiblingItem(Item item) const override
    {
        const auto &siblings = N(item)->parent->children;
        for (size_t i = 0; i + 1 < siblings.size(); ++i)
            if (siblings[i].get() == item)
                return siblings[i + 1].get();
        return nullptr;
    }
};

void fillDatabase(const QString &path, int seed)
{
    CBdD db(path);
    db.Connection()->BeginTransaction();
    for (int a = 0; a < Activities; ++a)
        db.Execute(Formatter::sprintf(
            u"insert into Activites (Id,Nom,Commentaire,Red,Green,Blue,IdTauxHoraire,Visible,Ordre,Date_Modif,Origine_Modif,Deleted) "
            u"values (%d,'Activité %02d','',200,200,200,-1,1,0,0,2,0)",
            {31 + 3 * a, a}));
    std::vector<int> projects;
    QString topChilds = QStringLiteral(";");
    int id = 32;
    for (int t = 0; t < TopProjects; ++t) {
        const int top = id;
        id += 3;
        QString childs = QStringLiteral(";");
        for (int s = 0; s < SubProjectsEach; ++s) {
            const int sub = id;
            id += 3;
            db.Execute(Formatter::sprintf(
                u"insert into Projets (Id,Nom,Parent,Deleted,Type,Visible,Date_Modif,Origine_Modif) values (%d,'Sous-projet %d.%d',%d,0,0,1,0,2)",
                {sub, t, s, top}));
            db.Execute(Formatter::sprintf(
                u"insert into Forecast (IdProject,IdActivity,Prevu,TypePrevu,bModeAuto,Priority) values (%d,-2,%d,1,0,%d)",
                {sub, 3600 * (10 + (sub + seed) % 50), 1 + sub % 3}));
            childs += Formatter::sprintf(u"%d;", {sub});
            projects.push_back(sub);
        }
        db.Execute(Formatter::sprintf(
            u"insert into Projets (Id,Nom,Parent,Deleted,Type,Visible,Date_Modif,Origine_Modif) values (%d,'Projet %03d',-1,0,0,1,0,2)",
            {top, t}));
        db.Execute(Formatter::sprintf(u"insert into Forecast (IdProject,IdActivity) values (%d,-2)", {top}));
        db.Execute(Formatter::sprintf(u"insert into ProjectChilds (IdProject,Childs) values (%d,'%s')", {top, childs}));
        topChilds += Formatter::sprintf(u"%d;", {top});
        projects.push_back(top);
    }
    db.Execute(Formatter::sprintf(u"insert into ProjectChilds (IdProject,Childs) values (-1,'%s')", {topChilds}));
    db.Execute(Formatter::sprintf(u"update NextRowId set Pc=%d where Name='Projets'", {id}));

    int entry = 101;
    for (QDate d = FirstDay; d <= LastDay; d = d.addDays(1)) {
        if (d.dayOfWeek() > 5)
            continue;
        for (int k = 0; k < EntriesPerWorkingDay; ++k) {
            const qint64 start = Platform::LocalTime::atMinute(d, 8 * 60 + 30 * k);
            const int project = projects[size_t((entry / 3 + seed) % int(projects.size()))];
            db.Execute(Formatter::sprintf(
                u"insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,Facture,IdTauxHoraire,Date_Modif,Origine_Modif,Deleted,Title,Notes) "
                u"values (%d,%I64d,%I64d,%d,%d,0,-1,%I64d,2,0,'','')",
                {entry, start, start + 25 * 60, project, 31 + 3 * (entry % Activities), start}));
            entry += 3;
        }
    }
    db.Execute(Formatter::sprintf(u"update NextRowId set Pc=%d where Name='Taches'", {entry}));
    for (int f = 0; f < Favourites; ++f)
        db.Execute(Formatter::sprintf(
            u"insert into Favoris (Id,IdProject,IdActivite,IdTauxHoraire,Ordre,Date_Modif,Origine_Modif,Deleted,Title) "
            u"values (%d,%d,%d,-1,%d,%d,2,0,'')",
            {2 + 3 * f, projects[size_t((f * 37) % int(projects.size()))], 31 + 3 * (f % Activities), f, f}));
    db.Connection()->CommitTransaction();
}

struct Scene
{
    CProjectStore store;
    CAnnulation history;
    CConfiguration configuration;
    tCurrentEntry running;
    CUsers users;
    MemoryTree favourites;
    qint64 favouritesStamp = 0;
    int ids[2] = {-1, -1};

    Scene()
    {
        QDir().mkpath(usersFolder());
        CUsers::SetUsersFolderSource([] { return usersFolder(); });
        CAppData::SetProjectStore(&store);
        CAppData::SetAnnulation(&history);
        CAppData::SetConfiguration(&configuration);
        CAppData::SetCurrentEntry(&running);
        CAppData::SetUsers(&users);
        users.ProvideCurrentDatabasePath();
        store.SetHistoryLoader([](CProjectStore &) {
            CBdD db;
            db.LoadHistory();
        });
        CUsers::ReloadHooks hooks;
        // What the task pane reloads of the data: its favourites branch and
        // the recent combinations.
        hooks.reloadViews = [this] {
            CBdD db;
            db.LoadFavorites(favourites, nullptr, true, CBdD::FavoritesByUse, favouritesStamp);
            db.LoadHistory();
        };
        users.SetReloadHooks(hooks);
        const QString names[2] = {QStringLiteral("Anne"), QStringLiteral("Bruno")};
        for (int i = 0; i < 2; ++i) {
            QDir().mkpath(usersFolder() + names[i]);
            tUsers u;
            u.Nom = names[i];
            users.AddUser(u);
            ids[i] = u.Id;
            fillDatabase(u.GetDatabasePath(true), i);
        }
        users.SwitchUser(ids[0]);
    }
};

Scene &scene()
{
    static Scene s;
    return s;
}

void SwitchUser(benchmark::State &state)
{
    Scene &s = scene();
    int next = s.users.GetCurrentId() == s.ids[0] ? 1 : 0;
    for (auto _ : state) {
        if (!s.users.SwitchUser(s.ids[next]))
            state.SkipWithError("switch failed");
        next = 1 - next;
    }
    state.counters["projects"] = s.store.GetProjectCount();
    int scheduled = 0;
    std::vector<const CProject *> nodes{s.store.GetRoot()};
    while (!nodes.empty()) {
        const CProject *n = nodes.back();
        nodes.pop_back();
        if (n->m_computedEnd != 0)
            ++scheduled;
        for (const CProject *c : n->Children())
            nodes.push_back(c);
    }
    state.counters["scheduled"] = scheduled;
    state.counters["history"] = s.store.GetHistoryCount();
    state.counters["favourites"] = double(s.favourites.top.children.size());
}

} // namespace

BENCHMARK(SwitchUser)->Unit(benchmark::kMillisecond)->MinTime(3.0);

int main(int argc, char **argv)
{
    Bench::keepEnvironmentInFolder();
    QCoreApplication app(argc, argv);
    scene();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    CBdD::CloseSharedConnection();
    CAppData::Clear();
    return 0;
}
