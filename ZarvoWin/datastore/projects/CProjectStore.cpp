#include "CProjectStore.h"

#include "PredecessorGraph.h"

#include "CAppData.h"
#include "CConfiguration.h"
#include "CComboFiller.h"
#include "Clock.h"
#include "Formatter.h"
#include "IntParse.h"
#include "Texts.h"
#include "UiUtilities.h"

#include <QSet>
#include <QStringView>
#include <algorithm>
#include <utility>

using Platform::Formatter;

namespace {

// ";%d,%d;" of one entry of a key list ("%d,%d", or "%d" for a project node).
QString normaliseKey(QStringView entry)
{
    const qsizetype comma = entry.indexOf(u',');
    const int projectId = Platform::wtoi(comma < 0 ? entry : entry.left(comma));
    const int activityId = comma < 0 ? -2 : Platform::wtoi(entry.mid(comma + 1));
    return Formatter::sprintf(u";%d,%d;", {projectId, activityId});
}

QSet<QString> parseKeys(const QString &text)
{
    QSet<QString> keys;
    for (QStringView entry : QStringView(text).split(u';', Qt::SkipEmptyParts))
        if (!entry.trimmed().isEmpty())
            keys.insert(normaliseKey(entry));
    return keys;
}

// One (project id, activity id) key as a number, so that a tree of many
// thousand nodes is filled without building a text per node.
qint64 pairKey(int projectId, int activityId)
{
    return (qint64(projectId) << 32) | quint32(activityId);
}

// The keys of a ";%d,%d;" list ("%d" alone is a project node).
QSet<qint64> parsePairKeys(const QString &text)
{
    QSet<qint64> keys;
    for (QStringView entry : QStringView(text).split(u';', Qt::SkipEmptyParts)) {
        if (entry.trimmed().isEmpty())
            continue;
        const qsizetype comma = entry.indexOf(u',');
        const int projectId = Platform::wtoi(comma < 0 ? entry : entry.left(comma));
        const int activityId = comma < 0 ? -2 : Platform::wtoi(entry.mid(comma + 1));
        keys.insert(pairKey(projectId, activityId));
    }
    return keys;
}

constexpr int ActivityImage = 16;

} // namespace

CProjectStore::CProjectStore() : m_root(this)
{
    m_projects.insert(-1, &m_root);
}

void CProjectStore::SetDatabaseAccess(tDatabaseAccess access)
{
    m_databaseAccessGiven = true;
    if (!m_childOrderWriter)
        m_childOrderWriter = std::move(access.writeChildOrders);
    if (!m_historyLoader)
        m_historyLoader = std::move(access.loadHistory);
    if (!m_bookedPeriodsReader)
        m_bookedPeriodsReader = std::move(access.readBookedPeriods);
    if (!m_nodeReloader)
        m_nodeReloader = std::move(access.reloadNodes);
}

CProjectStore::tNodeHold::tNodeHold(CProjectStore *store)
    : m_store(store)
{
    if (m_store)
        ++m_store->m_nodeHolds;
}

CProjectStore::tNodeHold::~tNodeHold()
{
    Release();
}

void CProjectStore::tNodeHold::Release()
{
    if (CProjectStore *store = std::exchange(m_store, nullptr))
        store->EndHold();
}

void CProjectStore::EndHold()
{
    if (--m_nodeHolds > 0)
        return;
    // What the application put off first: it may read the tree itself,
    // which makes the put-off reload needless.
    if (m_holdEnded)
        m_holdEnded();
    if (m_nodeReloadPutOff && m_nodeHolds == 0) {
        m_nodeReloadPutOff = false;
        if (m_nodeReloader)
            m_nodeReloader();
    }
}

CProjectStore::~CProjectStore() = default;

void CProjectStore::Touch()
{
    m_lastModified = Platform::Clock::now();
    ++m_changeCount;
}

void CProjectStore::Clear()
{
    for (int kind = 0; kind <= 3; ++kind)
        ClearPart(kind);
}

void CProjectStore::ClearPart(int kind)
{
    switch (kind) {
    case 0:
        // A reload put off while the nodes were held is being made.
        m_nodeReloadPutOff = false;
        m_root.ClearChildren();
        m_root.m_element = tElement();
        m_root.m_forecast = tForecast();
        m_root.SetChildOrder(QString());
        m_root.m_predecessors.clear();
        m_root.m_computedStart = m_root.m_computedEnd = m_root.m_remainingWork = 0;
        m_projects.clear();
        m_projects.insert(-1, &m_root);
        m_lastModified = 0;
        ++m_changeCount;
        m_totalsLoadTime = 0;
        m_totalsReadAt = 0;
        m_totalsBoundary.clear();
        ResetBookedPeriods();
        break;
    case 1:
        m_activities.clear();
        break;
    case 2:
        m_rates.clear();
        break;
    case 3:
        m_history.clear();
        break;
    default:
        break;
    }
}

void CProjectStore::ResetBookedPeriods()
{
    m_booked.clear();
    m_bookedFrom = 0;
    if (CConfiguration *config = CAppData::Configuration())
        config->ClearBookedIntervals();
}

// ---------------------------------------------------------------- nodes

CProject *CProjectStore::AddProject(const tElement &element, CProject *parent,
                                    const QString &childOrder)
{
    // -1 is the root's key; a known id is never added twice.
    if (element.Id == -1 || m_projects.contains(element.Id))
        return nullptr;
    auto *node = new CProject(this);
    node->m_element = element;
    node->m_forecast.IdProject = element.Id;
    node->m_forecast.IdActivity = -2;
    node->SetChildOrder(childOrder);
    (parent ? parent : &m_root)->AddChildProject(node);
    m_projects.insert(element.Id, node);
    Touch();
    return node;
}

std::vector<CProject *> CProjectStore::AddProjects(const std::vector<tNewProject> &projects,
                                                   CProject *parent)
{
    std::vector<CProject *> nodes;
    nodes.reserve(projects.size());
    std::vector<CProject *> added;
    added.reserve(projects.size());
    for (const tNewProject &p : projects) {
        if (p.element.Id == -1 || m_projects.contains(p.element.Id)) {
            nodes.push_back(nullptr);
            continue;
        }
        auto *node = new CProject(this);
        node->m_element = p.element;
        node->m_forecast.IdProject = p.element.Id;
        node->m_forecast.IdActivity = -2;
        node->SetChildOrder(p.childOrder);
        m_projects.insert(p.element.Id, node);
        nodes.push_back(node);
        added.push_back(node);
    }
    (parent ? parent : &m_root)->AddChildProjects(added);
    if (!added.empty())
        Touch();
    return nodes;
}

bool CProjectStore::SetForecast(const tForecast &record)
{
    if (record.IdProject == -1) {
        m_root.m_forecast.bJours = record.bJours;
        return false;
    }
    CProject *node = GetNode(record.IdProject);
    if (!node)
        return false;
    const bool changed = node->ApplyForecast(record);
    if (changed)
        Touch();
    return changed;
}

bool CProjectStore::AddTaskStatistics(int projectId, int activityId, int count, qint64 seconds,
                                      qint64 firstStart, qint64 lastEnd)
{
    CProject *node = m_projects.value(projectId, nullptr);
    if (!node)
        return false;
    const bool created = node->AddTaskStatistics(activityId, count, seconds, firstStart, lastEnd);
    if (created)
        Touch();
    return created;
}

CProject *CProjectStore::UpdateProject(const tElement &element)
{
    CProject *node = GetNode(element.Id);
    if (!node)
        return AddProject(element, GetNode(element.Parent), QString());
    tElement copy = element;
    if (node->m_element.Parent != element.Parent) {
        CProject *newParent = GetNode(element.Parent);
        if (!newParent)
            newParent = &m_root;
        // A project cannot move below itself; it then stays where it is.
        if (newParent == node || newParent->HasAncestor(node))
            copy.Parent = node->m_parent ? node->m_parent->ProjectId() : -1;
        else
            ReparentProject(node, node->m_parent, newParent);
    }
    node->m_element = copy;
    Touch();
    return node;
}

void CProjectStore::ReparentProject(CProject *node, CProject *oldParent, CProject *newParent)
{
    if (!node || !newParent || node == newParent || newParent->HasAncestor(node))
        return;
    if (oldParent)
        oldParent->RemoveChild(node);
    newParent->m_children.push_back(node);
    node->m_parent = newParent;
    if (!node->IsActivity())
        node->m_element.Parent = newParent->ProjectId();
    Touch();
}

bool CProjectStore::MoveNode(CProject *node, CProject *target, int mode)
{
    if (!node || !target || node->IsRoot() || node == target || target->HasAncestor(node))
        return false;
    CProject *newParent = mode == 0 ? target : target->m_parent;
    CProject *oldParent = node->m_parent;
    if (!newParent || !oldParent)
        return false;
    // An activity node belongs to its project.
    if (node->IsActivity() && newParent != oldParent)
        return false;

    const int oldIndex = oldParent->IndexOfChild(node);
    const int oldParentId = node->m_element.Parent;
    auto place = [this, node](CProject *from, CProject *to, CProject *reference, int how, int index) {
        from->RemoveChild(node);
        if (reference) {
            const int at = to->IndexOfChild(reference);
            to->m_children.insert(to->m_children.begin() + (how == 1 ? at : at + 1), node);
        } else if (index >= 0 && index <= int(to->m_children.size())) {
            to->m_children.insert(to->m_children.begin() + index, node);
        } else {
            to->m_children.push_back(node);
        }
        node->m_parent = to;
        from->BuildChildOrder();
        if (to != from)
            to->BuildChildOrder();
        Touch();
    };
    place(oldParent, newParent, mode == 0 ? nullptr : target, mode, -1);
    if (!node->IsActivity())
        node->m_element.Parent = newParent->ProjectId();

    if (!m_childOrderWriter)
        return true;
    // An activity node carries its project's id: writing it as the moved
    // project would make that project its own parent. Activities only move
    // within their project, so their parent's list is all there is to write.
    const bool written =
        !node->IsActivity() && (mode == 0 || newParent != oldParent)
            ? m_childOrderWriter(oldParent->ProjectId(), oldParent->GetChildOrder(),
                                 newParent->ProjectId(), newParent->GetChildOrder(),
                                 node->ProjectId())
            : m_childOrderWriter(oldParent->ProjectId(), oldParent->GetChildOrder(), -2, QString(), -1);
    if (!written) {
        // The database keeps the old place: so does the model, or the two
        // would part until the next reload.
        place(newParent, oldParent, nullptr, 0, oldIndex);
        node->m_element.Parent = oldParentId;
    }
    return written;
}

// ---------------------------------------------------------------- look-ups

CProject *CProjectStore::GetNode(int projectId) const
{
    return m_projects.value(projectId, nullptr);
}

CProject *CProjectStore::FindNode(int activityId, int projectId) const
{
    CProject *node = GetNode(projectId);
    if (!node || activityId == -2)
        return node;
    return node->FindActivityChild(activityId);
}

bool CProjectStore::GetProject(int id, tElement &element) const
{
    const CProject *node = GetNode(id);
    if (!node || node->IsRoot())
        return false;
    element = node->m_element;
    return true;
}

QString CProjectStore::GetProjectName(int id) const
{
    const CProject *node = GetNode(id);
    return node && !node->IsRoot() ? node->m_element.Nom : QString();
}

QString CProjectStore::GetActivityName(int id) const
{
    const auto it = m_activities.constFind(id);
    return it == m_activities.constEnd() ? QString() : it->Nom;
}

quint32 CProjectStore::GetActivityColor(int id) const
{
    const auto it = m_activities.constFind(id);
    return it == m_activities.constEnd() ? 0x808080u : it->Color;
}

float CProjectStore::GetRateValue(int id) const
{
    const auto it = m_rates.constFind(id);
    return it == m_rates.constEnd() ? 0.0f : it->Valeur;
}

QString CProjectStore::GetNodeFullName(int projectId, int activityId) const
{
    if (const CProject *node = FindNode(activityId, projectId); node && !node->IsRoot())
        return node->GetFullName();
    const CProject *project = GetNode(projectId);
    if (!project || project->IsRoot())
        return QString();
    QString name = project->GetFullName();
    if (activityId != -2 && m_activities.contains(activityId))
        name += m_context.separator + GetActivityName(activityId);
    return name;
}

const tElement *CProjectStore::GetActivity(int id) const
{
    const auto it = m_activities.constFind(id);
    return it == m_activities.constEnd() ? nullptr : &*it;
}

const tRate *CProjectStore::GetRate(int id) const
{
    const auto it = m_rates.constFind(id);
    return it == m_rates.constEnd() ? nullptr : &*it;
}

void CProjectStore::SetActivity(int id, const tElement &activity)
{
    m_activities.insert(id, activity);
}

void CProjectStore::SetRate(int id, const tRate &rate)
{
    m_rates.insert(id, rate);
}

// ---------------------------------------------------------------- recent list

void CProjectStore::AddHistory(int projectId, int activityId, int rateId)
{
    const tHistory entry{projectId, activityId, rateId};
    const auto it = std::find(m_history.begin(), m_history.end(), entry);
    if (it != m_history.end() && it == m_history.begin())
        return;
    if (it != m_history.end()) {
        const size_t index = size_t(it - m_history.begin());
        m_history.insert(m_history.begin(), entry);
        m_history.erase(m_history.begin() + qsizetype(index) + 1);
    } else {
        const size_t count = m_history.size();
        m_history.insert(m_history.begin(), entry);
        if (count >= 9)
            m_history.erase(m_history.begin() + qsizetype(count));
    }
    Touch();
}

void CProjectStore::AppendHistory(int projectId, int activityId, int rateId)
{
    m_history.push_back(tHistory{projectId, activityId, rateId});
}

bool CProjectStore::GetHistoryEntry(int i, int &projectId, int &activityId, int &rateId) const
{
    if (i < 0 || i >= int(m_history.size())) {
        projectId = activityId = rateId = -1;
        return false;
    }
    const tHistory &h = m_history[size_t(i)];
    projectId = h.IdProjet;
    activityId = h.IdActivite;
    rateId = h.IdTauxHoraire;
    return true;
}

// ---------------------------------------------------------------- controls

void CProjectStore::FillProjectCombo(CComboFiller &combo, const CProject *parent, int selectedId,
                                     int depth) const
{
    const CProject *start = parent ? parent : &m_root;
    for (const CProject *child : start->m_children) {
        if (child->IsActivity())
            continue;
        const int index = combo.AddItem(child->m_element.Nom,
                                        GetProjectStateImage(child->m_element.Type),
                                        child->ProjectId(), depth);
        if (child->ProjectId() == selectedId)
            combo.SetCurSel(index);
        FillProjectCombo(combo, child, selectedId, depth + 1);
    }
}

void CProjectStore::FillProjectTree(CTreeFiller &tree, CTreeFiller::Item parentItem,
                                    bool showActivities, bool dataIsIds, const CProject *start,
                                    const QString &checked, const QString &collapsed) const
{
    // A checked list that does not start with ";" is a list of project ids
    // such as "(3,12)"; otherwise it holds ";%d,%d;" keys.
    const bool keysAsIds = !checked.startsWith(u';');
    QSet<qint64> checkedKeys;
    if (keysAsIds) {
        QString ids = checked;
        ids.replace(u'(', u',').replace(u')', u',');
        for (QStringView entry : QStringView(ids).split(u',', Qt::SkipEmptyParts))
            checkedKeys.insert(Platform::wtoi(entry));
    } else {
        checkedKeys = parsePairKeys(checked);
    }
    const QSet<qint64> collapsedKeys = parsePairKeys(collapsed);
    tree.BeginFill();
    FillTreeLevel(tree, parentItem, showActivities, dataIsIds, start ? start : &m_root, keysAsIds,
                  checkedKeys, collapsedKeys, checked.isEmpty(), collapsed.isEmpty());
    tree.EndFill();
}

void CProjectStore::FillTreeLevel(CTreeFiller &tree, CTreeFiller::Item parentItem,
                                  bool showActivities, bool dataIsIds, const CProject *node,
                                  bool keysAsIds, const QSet<qint64> &checked,
                                  const QSet<qint64> &collapsed, bool checkAll,
                                  bool expandAll) const
{
    for (const CProject *child : node->m_children) {
        if (child->IsActivity() && !showActivities)
            continue;
        QString text;
        int image;
        if (child->IsActivity()) {
            text = GetActivityName(child->ActivityId());
            image = ActivityImage;
        } else {
            text = child->m_element.Nom;
            image = GetProjectStateImage(child->m_element.Type);
        }
        const qintptr data = dataIsIds ? qintptr(child->ProjectId())
                                       : reinterpret_cast<qintptr>(child);
        CTreeFiller::Item item = tree.InsertItem(parentItem, text, image, image, data);
        const qint64 key = pairKey(child->ProjectId(), child->ActivityId());
        const bool isChecked = checkAll || checked.contains(keysAsIds ? qint64(child->ProjectId()) : key);
        tree.SetCheck(item, isChecked);
        FillTreeLevel(tree, item, showActivities, dataIsIds, child, keysAsIds, checked, collapsed,
                      checkAll, expandAll);
        tree.Expand(item, expandAll || !collapsed.contains(key));
    }
}

void CProjectStore::FillHistoryTree(CTreeFiller &tree, CTreeFiller::Item parentItem, bool reload)
{
    if (reload || m_history.empty()) {
        if (m_historyLoader)
            m_historyLoader(*this);
    }
    CTreeFiller::Item item = tree.GetChildItem(parentItem);
    for (size_t i = 0; i < m_history.size(); ++i) {
        const tHistory &h = m_history[i];
        const QString text = Formatter::sprintf(
            u"%s - %s", {GetNodeFullName(h.IdProjet, -2), GetActivityName(h.IdActivite)});
        // Every item of the branch carries the recent entry's image, which
        // is how the task pane tells it from the other kinds of item.
        if (item) {
            tree.SetItemText(item, text);
            tree.SetItemData(item, qintptr(i));
            tree.SetItemImage(item, HistoryImage, HistoryImage);
            item = tree.GetNextSiblingItem(item);
        } else {
            tree.InsertItem(parentItem, text, HistoryImage, HistoryImage, qintptr(i));
        }
    }
    while (item) {
        CTreeFiller::Item next = tree.GetNextSiblingItem(item);
        tree.DeleteItem(item);
        item = next;
    }
}

// ---------------------------------------------------------------- loops

bool CProjectStore::LoopCheckTimedOut() const
{
    return Platform::Clock::tickMs() - m_loopCheckTick >= LoopCheckBudgetMs;
}

void CProjectStore::StartLoopCheck()
{
    m_loopCheckTick = Platform::Clock::tickMs();
}

bool CProjectStore::CheckPredecessorLoops(const QString &familyKeys, const QString &candidateKeys)
{
    if (familyKeys.isEmpty() || candidateKeys.isEmpty())
        return true;
    StartLoopCheck();
    const QSet<QString> family = parseKeys(familyKeys);
    QSet<QString> visited;
    for (QStringView entry : QStringView(candidateKeys).split(u';', Qt::SkipEmptyParts)) {
        if (entry.trimmed().isEmpty())
            continue;
        const QString key = normaliseKey(entry);
        const CProject *node = nullptr;
        {
            const qsizetype comma = entry.indexOf(u',');
            const int projectId = Platform::wtoi(comma < 0 ? entry : entry.left(comma));
            const int activityId = comma < 0 ? -2 : Platform::wtoi(entry.mid(comma + 1));
            node = FindNode(activityId, projectId);
        }
        if (!node || node->IsRoot() || visited.contains(key))
            continue;
        if (!node->CheckPredecessorChain(family, visited))
            return false;
    }
    return true;
}

bool CProjectStore::CheckOwnLinks(const std::vector<const CProject *> &nodes)
{
    StartLoopCheck();
    return PredecessorGraph(*this, [this] { return LoopCheckTimedOut(); }).LinksCloseNoLoop(nodes);
}

int CProjectStore::AddPredecessorLink(CProject *node, CProject *predecessor, int lag, int unit)
{
    const int answer = CheckNewPredecessor(node, predecessor, true);
    if (answer == LinkAdded)
        node->SetPredecessor(predecessor->ProjectId(), predecessor->ActivityId(), lag, unit);
    return answer;
}

int CProjectStore::CheckNewPredecessor(CProject *node, CProject *predecessor, bool withBudget)
{
    if (!node || !predecessor || node->IsRoot() || predecessor->IsRoot())
        return LinkLoop;
    if (node->HasPredecessor(predecessor->ProjectId(), predecessor->ActivityId()))
        return LinkExists;
    // The link would close a loop when the predecessor reaches the node, one
    // of its ancestors or one of its descendants.
    StartLoopCheck();
    // An editor's working copy stands for the store's node of its ids; a
    // node the tree does not hold yet is checked by the keys of its family.
    const CProject *inTree = FindNode(node->ActivityId(), node->ProjectId());
    const bool held = inTree == node
                      || (inTree && !inTree->IsRoot() && node->ProjectId() != -1 && node->ActivityId() != -3);
    if (!held) {
        QString family = Formatter::sprintf(u";%d,%d;", {node->ProjectId(), node->ActivityId()});
        if (const CProject *parent = node->GetParent())
            parent->AppendIdList(family, false, false);
        QString candidates = Formatter::sprintf(u";%d,%d;", {predecessor->ProjectId(), predecessor->ActivityId()});
        predecessor->CollectPredecessorKeys(candidates);
        predecessor->AppendIdList(candidates, true, false);
        if (CheckPredecessorLoops(family, candidates))
            return LinkAdded;
        return withBudget && LoopCheckTimedOut() ? LinkTimedOut : LinkLoop;
    }
    if (!withBudget)
        return PredecessorGraph(*this, [] { return false; }).LinkWouldCloseNoLoop(inTree, predecessor) ? LinkAdded
                                                                                                     : LinkLoop;
    if (!PredecessorGraph(*this, [this] { return LoopCheckTimedOut(); }).LinkWouldCloseNoLoop(inTree, predecessor))
        return LoopCheckTimedOut() ? LinkTimedOut : LinkLoop;
    return LinkAdded;
}

QString CProjectStore::PredecessorMessage(int answer, const QString &name)
{
    switch (answer) {
    case LinkExists:
        return Formatter::sprintf(Platform::Texts::get(603), {name});
    case LinkLoop:
        return Platform::Texts::get(574);
    case LinkTimedOut:
        return Platform::Texts::get(664);
    default:
        return QString();
    }
}

// ---------------------------------------------------------------- forecast

tForecastRun CProjectStore::ComputeForecast()
{
    if (m_forecastBusy)
        return tForecastRun(); // a run is going on: never started again from inside it
    m_forecastBusy = true;
    if (m_forecastStatus)
        m_forecastStatus(Platform::Texts::get(646));
    const CConfiguration *config = CAppData::Configuration();
    const CConfiguration fallback;
    const qint64 now = Platform::Clock::now();
    m_forecastFrom = now;
    LoadTaskPeriods(now);
    CForecastScheduler run(*this, config ? *config : fallback, config ? config->pctNonComptabilise : 0);
    m_currentRun = &run;
    run.Run(now);
    m_currentRun = nullptr;
    tForecastRun result = run.Result();
    result.ran = true;
    if (m_forecastStatus)
        m_forecastStatus(QString());
    m_forecastBusy = false;
    return result;
}

bool CProjectStore::IsForecastTimedOut()
{
    return m_currentRun && m_currentRun->IsTimedOut();
}

void CProjectStore::LoadTaskPeriods(qint64 date)
{
    if (m_bookedFrom != 0 && m_bookedFrom <= date)
        return;
    // Booked time that could not be read (the file busy or gone) is not
    // kept as "nothing booked": the next run reads it again.
    if (m_bookedPeriodsReader && m_bookedPeriodsReader(m_booked, date)) {
        m_bookedFrom = date;
    } else {
        if (!m_bookedPeriodsReader)
            m_booked.clear();
        m_bookedFrom = 0;
    }
    if (CConfiguration *config = CAppData::Configuration())
        config->SetBookedIntervals(m_booked);
}
