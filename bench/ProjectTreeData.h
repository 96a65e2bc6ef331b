#pragma once
// The project tree of the store's benchmarks: 2 000 projects, 20 000
// activity nodes below them and the statistics of 100 000 time entries, as
// records in memory and as a user database (built once per run).
#include "BenchFolder.h"
#include "CBdD.h"
#include "CProjectStore.h"
#include "Formatter.h"

#include <QString>
#include <vector>

namespace ProjectTreeData {

using Platform::Formatter;

constexpr int Projects = 2000;
constexpr int ActivitiesPerProject = 10; // 20 000 activity nodes
constexpr int EntriesPerNode = 5;        // 100 000 recorded entries
constexpr int Activities = 200;

inline int parentOf(int id)
{
    return id <= 100 ? -1 : id / 10;
}

// The records of the tree.
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

inline const Fixture &fixture()
{
    static const Fixture f;
    return f;
}

// Writes the tree into the user database at `path`.
inline void writeDatabase(const QString &path)
{
    const Fixture &f = fixture();
    CBdD db(path);
    db.Connection()->BeginTransaction();
    for (const tElement &e : f.projects)
        db.Execute(Formatter::sprintf(
            u"insert into Projets (Id, Nom, Commentaire, Title, Red, Green, Blue, IdTauxHoraire, Visible, "
            u"Deleted, Ordre, Parent, Type, Activity) values (%d, '%s', '', '', 200, 180, 160, -1, 1, 0, 0, "
            u"%d, %d, -1)",
            {e.Id, e.Nom, e.Parent, e.Type}));
    db.Execute(Formatter::sprintf(u"insert into ProjectChilds (IdProject, Childs) values (-1, '%s')",
                                  {f.rootOrder}));
    for (int id = 1; id <= Projects; ++id)
        if (!f.childOrders[size_t(id)].isEmpty())
            db.Execute(Formatter::sprintf(u"insert into ProjectChilds (IdProject, Childs) values (%d, '%s')",
                                          {id, f.childOrders[size_t(id)]}));
    for (const tElement &a : f.activities)
        db.Execute(Formatter::sprintf(
            u"insert into Activites (Id, Nom, Commentaire, Red, Green, Blue, IdTauxHoraire, Visible, "
            u"Deleted, Ordre, Parent) values (%d, '%s', '', 100, 150, 200, -1, 1, 0, 0, -1)",
            {a.Id, a.Nom}));
    int entryId = 1;
    qint64 start = 1'500'000'000;
    for (int round = 0; round < EntriesPerNode; ++round)
        for (int id = 1; id <= Projects; ++id)
            for (int j = 0; j < ActivitiesPerProject; ++j) {
                db.Execute(Formatter::sprintf(
                    u"insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,Facture,IdTauxHoraire,Date_Modif,"
                    u"Origine_Modif,Deleted,Title,Notes) values (%d,%I64d,%I64d,%d,%d,0,-1,%I64d,1,0,'','')",
                    {entryId++, start, start + 1800, id, j * 20 + id % 20, start}));
                start += 1800;
            }
    db.Connection()->CommitTransaction();
}

} // namespace ProjectTreeData
