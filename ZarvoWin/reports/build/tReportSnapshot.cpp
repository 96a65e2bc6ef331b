#include "tReportSnapshot.h"

#include "CAppData.h"
#include "CConfiguration.h"
#include "CProject.h"
#include "CProjectStore.h"
#include "tReportEntry.h"

namespace {

void copyNode(const CProject &node, int parentIndex, tReportSnapshot &snapshot, int &order)
{
    const int index = int(snapshot.Nodes.size());
    snapshot.Nodes.push_back({node.ProjectId(), node.ActivityId(), parentIndex, {}});
    if (parentIndex >= 0)
        snapshot.Nodes[size_t(parentIndex)].Children.push_back(index);
    for (const CProject *child : node.Children()) {
        if (!child->IsActivity()) {
            const tElement &e = child->Element();
            snapshot.Projects.insert(child->ProjectId(),
                                     {child->ProjectId(), node.IsRoot() ? -1 : node.ProjectId(), e.Nom, e.Title,
                                      e.Commentaire, e.Type, order++});
        }
        copyNode(*child, index, snapshot, order);
    }
}

} // namespace

tReportSnapshot tReportSnapshot::Take(const CProjectStore *store)
{
    tReportSnapshot snapshot;
    if (!store)
        store = CAppData::ProjectStore();
    if (!store)
        return snapshot;
    snapshot.Separator = store->Context().separator;
    int order = 0;
    copyNode(*store->GetRoot(), -1, snapshot, order);
    for (auto it = store->Activities().cbegin(); it != store->Activities().cend(); ++it)
        snapshot.Activities.insert(it.key(), {it->Nom, it->Commentaire});
    for (auto it = store->Rates().cbegin(); it != store->Rates().cend(); ++it)
        snapshot.Rates.insert(it.key(), {it->Nom, it->Commentaire, it->Valeur});
    return snapshot;
}

const tReportSnapshot::tProject *tReportSnapshot::Project(int id) const
{
    const auto it = Projects.constFind(id);
    return it == Projects.cend() ? nullptr : &*it;
}

QString tReportSnapshot::ProjectName(int id) const
{
    const tProject *p = Project(id);
    return p ? p->Nom : QString();
}

QString tReportSnapshot::ActivityName(int id) const
{
    const auto it = Activities.constFind(id);
    return it == Activities.cend() ? QString() : it->Nom;
}

float tReportSnapshot::RateValue(int id) const
{
    const auto it = Rates.constFind(id);
    return it == Rates.cend() ? 0.0f : it->Valeur;
}

double tReportSnapshot::LineCost(const tReportEntry &entry) const
{
    const float amount = float(double(entry.Seconds()) * double(RateValue(entry.IdTauxHoraire)) / 3600.0);
    return CConfiguration::RoundCurrency(double(amount));
}

std::vector<int> tReportSnapshot::Ancestry(int projectId) const
{
    std::vector<int> chain;
    // A parent loop in a damaged file must not hang the build.
    for (const tProject *p = Project(projectId); p && chain.size() <= size_t(Projects.size());
         p = Project(p->Parent))
        chain.insert(chain.begin(), p->Id);
    return chain;
}

QString tReportSnapshot::FullName(int projectId) const
{
    QString name;
    for (int id : Ancestry(projectId))
        name = name.isEmpty() ? ProjectName(id) : name + Separator + ProjectName(id);
    return name;
}
