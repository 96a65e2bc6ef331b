#include "CProject.h"

#include "CProjectTree.h"
#include "tProjectContext.h"
#include "Clock.h"
#include "Formatter.h"
#include "IntParse.h"

#include <QStringView>
#include <algorithm>
#include <iterator>
#include <map>

using Platform::Formatter;

namespace {

// Appends "%d,%d;" to a key list; a list that was empty starts with ";".
void appendKey(QString &text, int projectId, int activityId)
{
    if (text.isEmpty())
        text += u';';
    text += Formatter::sprintf(u"%d,%d;", {projectId, activityId});
}

} // namespace

CProject::CProject(CProjectTree *store) : m_store(store)
{
}

CProject::~CProject()
{
    ClearChildren();
}

CProject *CProject::GetChild(int i) const
{
    return i >= 0 && i < int(m_children.size()) ? m_children[size_t(i)] : nullptr;
}

int CProject::IndexOfChild(const CProject *child) const
{
    const auto it = std::find(m_children.begin(), m_children.end(), child);
    return it == m_children.end() ? -1 : int(it - m_children.begin());
}

QString CProject::Key() const
{
    return Formatter::sprintf(u";%d,%d;", {ProjectId(), ActivityId()});
}

void CProject::ClearChildren()
{
    if (!m_borrowsChildren) {
        for (CProject *child : m_children)
            delete child;
    }
    m_children.clear();
    m_borrowsChildren = false;
}

void CProject::Assign(const CProject &other)
{
    if (&other == this)
        return;
    ClearChildren();
    m_element = other.m_element;
    m_forecast = other.m_forecast;
    m_parent = other.m_parent;
    m_children = other.m_children;
    m_borrowsChildren = true;
    SetChildOrder(other.m_childOrder);
    m_predecessors = other.m_predecessors;
    m_computedStart = other.m_computedStart;
    m_computedEnd = other.m_computedEnd;
    m_remainingWork = other.m_remainingWork;
}

void CProject::ReleaseChildren()
{
    m_children.clear();
    m_borrowsChildren = false;
    SetChildOrder(QString());
}

// ---------------------------------------------------------------- child order

void CProject::SetChildOrder(const QString &text)
{
    m_childOrder = text;
    m_orderIndexValid = false;
}

void CProject::BuildChildOrder()
{
    QString text;
    for (const CProject *child : m_children) {
        if (child->IsActivity())
            text += Formatter::sprintf(u";A%d", {child->ActivityId()});
        else
            text += Formatter::sprintf(u";%d", {child->ProjectId()});
    }
    if (!text.isEmpty())
        text += u';';
    SetChildOrder(text);
}

qint64 CProject::OrderKey() const
{
    return IsActivity() ? OrderKey(true, ActivityId()) : OrderKey(false, ProjectId());
}

// Position of a key among the entries of the child-order text, -1 when it
// is not listed. Entries that are not ids (stray separators, damaged text)
// are skipped; a repeated id keeps its first place.
int CProject::OrderPosition(qint64 key) const
{
    if (!m_orderIndexValid) {
        m_orderIndex.clear();
        int position = 0;
        for (QStringView entry : QStringView(m_childOrder).split(u';', Qt::SkipEmptyParts)) {
            const bool activity = entry.startsWith(u'A');
            bool ok = false;
            const int id = (activity ? entry.mid(1) : entry).toInt(&ok);
            if (!ok)
                continue;
            const qint64 k = OrderKey(activity, id);
            if (!m_orderIndex.contains(k))
                m_orderIndex.insert(k, position);
            ++position;
        }
        m_orderIndexValid = true;
    }
    return m_orderIndex.value(key, -1);
}

void CProject::PlaceChild(CProject *child)
{
    child->m_parent = this;
    if (m_children.empty()) {
        m_children.push_back(child);
        return;
    }
    if (m_childOrder.isEmpty()) {
        if (!child->IsActivity()) {
            m_children.push_back(child);
            return;
        }
        // Activities come after the sub-projects, in name order.
        const QString name = child->GetName(false);
        for (int i = int(m_children.size()) - 1; i >= 0; --i) {
            const CProject *c = m_children[size_t(i)];
            if (!c->IsActivity() || c->GetName(false).compare(name) <= 0) {
                m_children.insert(m_children.begin() + i + 1, child);
                return;
            }
        }
        m_children.insert(m_children.begin(), child);
        return;
    }
    const int p = OrderPosition(child->OrderKey());
    if (p < 0) {
        m_children.push_back(child);
        return;
    }
    for (int i = int(m_children.size()) - 1; i >= 0; --i) {
        const int q = OrderPosition(m_children[size_t(i)]->OrderKey());
        if (q >= 0 && q < p) {
            m_children.insert(m_children.begin() + i + 1, child);
            return;
        }
    }
    m_children.insert(m_children.begin(), child);
}

void CProject::AddChildProject(CProject *child)
{
    PlaceChild(child);
}

// The same placement as PlaceChild for each child in turn. While the
// listed children (those whose key the child-order text holds) stand in
// the text's order, which PlaceChild keeps once it holds, "after the last
// child listed before this one" is "after the listed child with the
// nearest smaller position": one look-up in an ordered map, and an
// insertion into a linked list, which becomes the children array at the
// end. Any other case (no text, an order already broken by a move, a
// position shared by two children) is placed child by child.
void CProject::AddChildProjects(const std::vector<CProject *> &children)
{
    if (children.empty())
        return;
    bool ordered = !m_childOrder.isEmpty();
    const size_t existing = m_children.size();
    const size_t total = existing + children.size();
    std::vector<int> positions;
    if (ordered) {
        positions.reserve(total);
        QSet<int> seen;
        int last = -1;
        for (size_t i = 0; ordered && i < total; ++i) {
            const CProject *c = i < existing ? m_children[i] : children[i - existing];
            const int q = OrderPosition(c->OrderKey());
            positions.push_back(q);
            if (q < 0)
                continue;
            if (seen.contains(q) || (i < existing && q < last))
                ordered = false;
            seen.insert(q);
            if (i < existing)
                last = q;
        }
    }
    if (!ordered) {
        for (CProject *child : children)
            PlaceChild(child);
        return;
    }

    // Node i of the list: the existing children first, then the new ones.
    constexpr int None = -1;
    std::vector<int> next(total, None);
    std::vector<int> prev(total, None);
    int head = None;
    int tail = None;
    auto append = [&](int i) {
        prev[size_t(i)] = tail;
        if (tail == None)
            head = i;
        else
            next[size_t(tail)] = i;
        tail = i;
    };
    auto insertAfter = [&](int at, int i) {
        const int after = next[size_t(at)];
        prev[size_t(i)] = at;
        next[size_t(i)] = after;
        next[size_t(at)] = i;
        if (after == None)
            tail = i;
        else
            prev[size_t(after)] = i;
    };
    auto insertFirst = [&](int i) {
        next[size_t(i)] = head;
        if (head == None)
            tail = i;
        else
            prev[size_t(head)] = i;
        head = i;
    };
    std::map<int, int> listed; // position -> node
    for (size_t i = 0; i < existing; ++i) {
        append(int(i));
        if (positions[i] >= 0)
            listed.emplace(positions[i], int(i));
    }
    for (size_t i = existing; i < total; ++i) {
        children[i - existing]->m_parent = this;
        const int p = positions[i];
        if (head == None || p < 0) {
            append(int(i));
        } else {
            const auto after = listed.lower_bound(p);
            if (after == listed.begin())
                insertFirst(int(i));
            else
                insertAfter(std::prev(after)->second, int(i));
        }
        if (p >= 0)
            listed.emplace(p, int(i));
    }

    std::vector<CProject *> placed;
    placed.reserve(total);
    for (int i = head; i != None; i = next[size_t(i)])
        placed.push_back(size_t(i) < existing ? m_children[size_t(i)] : children[size_t(i) - existing]);
    m_children = std::move(placed);
}

bool CProject::RemoveChild(CProject *child)
{
    const auto it = std::find(m_children.begin(), m_children.end(), child);
    if (it == m_children.end())
        return false;
    m_children.erase(it);
    return true;
}

void CProject::AddChildOnce(CProject *child)
{
    if (IndexOfChild(child) < 0) {
        m_children.push_back(child);
        child->m_parent = this;
    }
}

void CProject::InsertChildAt(int index, CProject *child)
{
    index = std::clamp(index, 0, int(m_children.size()));
    m_children.insert(m_children.begin() + index, child);
    child->m_parent = this;
}

CProject *CProject::FindActivityChild(int activityId) const
{
    for (CProject *child : m_children)
        if (child->IsActivity() && child->ActivityId() == activityId)
            return child;
    return nullptr;
}

CProject *CProject::CreateActivityChild(int activityId)
{
    auto *node = new CProject(m_store);
    node->m_forecast.IdProject = ProjectId();
    node->m_forecast.IdActivity = activityId;
    node->m_element.Id = activityId;
    node->m_element.Parent = ProjectId();
    if (m_store) {
        if (const tElement *activity = m_store->GetActivity(activityId)) {
            node->m_element.Nom = activity->Nom;
            node->m_element.Color = activity->Color;
        }
    }
    PlaceChild(node);
    return node;
}

// ---------------------------------------------------------- forecast and stats

bool CProject::ApplyForecast(const tForecast &record)
{
    CProject *target = this;
    bool created = false;
    if (record.IdActivity != -2) {
        target = FindActivityChild(record.IdActivity);
        if (!target) {
            target = CreateActivityChild(record.IdActivity);
            created = true;
        }
    }
    const bool statusChanged = target->m_forecast.Status != record.Status;
    const int projectId = target->m_forecast.IdProject;
    const int activityId = target->m_forecast.IdActivity;
    target->m_forecast.AssignParameters(record);
    target->m_forecast.IdProject = projectId;
    target->m_forecast.IdActivity = activityId;
    target->LoadPredecessors(record.Predecesseurs);
    return statusChanged || created;
}

bool CProject::AddTaskStatistics(int activityId, int count, qint64 seconds, qint64 firstStart,
                                 qint64 lastEnd)
{
    CProject *target = this;
    bool created = false;
    if (activityId != -2) {
        target = FindActivityChild(activityId);
        if (!target) {
            target = CreateActivityChild(activityId);
            created = true;
        }
    }
    tForecast &f = target->m_forecast;
    f.NbTaches += count;
    f.TotalTaches += seconds;
    // A missing start (0) is no value and never replaces a known one.
    if (firstStart > 0 && (f.MinDeb == 0 || f.MinDeb > firstStart))
        f.MinDeb = firstStart;
    if (lastEnd > f.MaxFin)
        f.MaxFin = lastEnd;
    return created;
}

// ---------------------------------------------------------------- status

bool CProject::IsCompleted() const
{
    for (const CProject *n = this; n && !n->IsRoot(); n = n->m_parent)
        if (n->m_forecast.Status == tForecast::StatusCompleted)
            return true;
    return false;
}

bool CProject::IsInactive() const
{
    for (const CProject *n = this; n && !n->IsRoot(); n = n->m_parent)
        if (n->m_forecast.Status == tForecast::StatusInactive)
            return true;
    return false;
}

// ---------------------------------------------------------------- names

QString CProject::GetName(bool useTitle) const
{
    if (useTitle && !m_element.Title.isEmpty())
        return m_element.Title;
    if (IsActivity() && m_store) {
        if (const tElement *activity = m_store->GetActivity(ActivityId()))
            return activity->Nom;
    }
    return m_element.Nom;
}

QString CProject::GetFullName() const
{
    if (IsRoot())
        return QString();
    const QString separator = m_store ? m_store->Context().separator : QStringLiteral(" / ");
    QString name = GetName(false);
    for (const CProject *n = m_parent; n && !n->IsRoot(); n = n->m_parent)
        name = n->m_element.Nom + separator + name;
    return name;
}

quint32 CProject::GetColor() const
{
    if (IsActivity())
        return m_store ? m_store->GetActivityColor(ActivityId()) : 0x808080u;
    return m_element.Color;
}

// ---------------------------------------------------------------- work figures

qint64 CProject::ToSeconds(int amount, int unit) const
{
    if (m_store)
        return m_store->Context().ToSeconds(amount, unit);
    return tProjectContext().ToSeconds(amount, unit);
}

// Whether the running entry's seconds count on this node: the node where
// the entry's time is booked once it ends, that is its activity's node
// below its project, or the project's own node when that activity has no
// node there. So they count once in the project's figures, whichever nodes
// are marked running.
bool CProject::OwnsRunningEntry() const
{
    if (!m_store)
        return false;
    const tProjectContext::tRunning r = m_store->Context().Running();
    if (!r.running || r.project != ProjectId() || IsRoot())
        return false;
    if (IsActivity())
        return ActivityId() == r.activity;
    return FindActivityChild(r.activity) == nullptr;
}

qint64 CProject::GetPlannedWork(bool strict) const
{
    if (!m_children.empty() && m_forecast.bModeAuto) {
        qint64 sum = 0;
        for (const CProject *child : m_children) {
            const qint64 planned = child->GetPlannedWork(strict);
            if (strict && planned == 0)
                return 0;
            sum += planned;
        }
        return sum;
    }
    return ToSeconds(m_forecast.Prevu, m_forecast.TypePrevu);
}

qint64 CProject::GetDoneWork(bool withExtra) const
{
    qint64 done = m_forecast.TotalTaches;
    if (withExtra && (m_children.empty() || !m_forecast.bModeAuto))
        done += ToSeconds(m_forecast.DureeSupp, m_forecast.TypeDureeSupp);
    if (m_store && OwnsRunningEntry())
        done += m_store->Context().Running().seconds;
    for (const CProject *child : m_children)
        done += child->GetDoneWork(withExtra);
    return done;
}

qint64 CProject::GetEstimatedTotal() const
{
    if (IsCompleted())
        return GetDoneWork(true);
    if (!m_children.empty() && m_forecast.bModeAuto) {
        qint64 sum = 0;
        for (const CProject *child : m_children)
            sum += child->GetEstimatedTotal();
        return sum;
    }
    if (m_forecast.Total > 0 && GetDoneWork(true) > 0)
        return m_forecast.Total;
    return 0;
}

qint64 CProject::GetExpectedWork() const
{
    qint64 expected = 0;
    for (const CProject *child : m_children)
        expected += child->GetExpectedWork();
    if (m_children.empty() || !m_forecast.bModeAuto) {
        const qint64 own = m_forecast.Total > 0 ? m_forecast.Total : GetPlannedWork(false);
        expected = std::max(expected, own);
    }
    return std::max(expected, GetDoneWork(true));
}

qint64 CProject::GetRemainingWork() const
{
    if (IsCompleted())
        return 0;
    const qint64 expected = GetExpectedWork();
    if (expected <= 0)
        return NoWork;
    return expected - GetDoneWork(true);
}

qint64 CProject::GetOwnRemainingWork() const
{
    if (IsCompleted())
        return 0;
    if (m_children.empty())
        return GetRemainingWork();
    if (m_forecast.bModeAuto)
        return 0;
    const qint64 estimate = m_forecast.Total > 0 ? m_forecast.Total : GetPlannedWork(false);
    qint64 childrenExpected = 0;
    for (const CProject *child : m_children)
        childrenExpected += child->GetExpectedWork();
    if (childrenExpected >= estimate)
        return 0;
    qint64 own = estimate - childrenExpected
        - ToSeconds(m_forecast.DureeSupp, m_forecast.TypeDureeSupp) - m_forecast.TotalTaches;
    if (m_store && OwnsRunningEntry())
        own -= m_store->Context().Running().seconds;
    return std::max<qint64>(own, 0);
}

int CProject::GetTaskCount(bool subtree) const
{
    int count = m_forecast.NbTaches;
    if (subtree)
        for (const CProject *child : m_children)
            count += child->GetTaskCount(true);
    return count;
}

double CProject::GetProgress() const
{
    const qint64 expected = GetExpectedWork();
    if (expected <= 0)
        return NoRatio;
    return std::clamp(double(GetDoneWork(true)) / double(expected), 0.0, 1.0);
}

double CProject::GetPlannedRatio() const
{
    const qint64 planned = GetPlannedWork(false);
    if (planned <= 0)
        return NoRatio;
    return double(GetDoneWork(false)) / double(planned);
}

// ---------------------------------------------------------------- dates

qint64 CProject::GetDate(int kind) const
{
    switch (kind) {
    case 1: return GetActualStart();
    case 2: return GetPlannedStart();
    case 3: return GetForecastStart();
    case 4: return GetFixedEnd();
    case 5: return GetForecastEnd();
    case 6: return m_forecast.DateAlerte;
    default: return 0;
    }
}

qint64 CProject::GetActualStart() const
{
    if (IsCompleted() && m_forecast.NbTaches == 0)
        return m_computedStart;
    return m_forecast.MinDeb;
}

qint64 CProject::GetPlannedStart() const
{
    if (!m_children.empty() && m_forecast.bModeAuto) {
        qint64 earliest = 0;
        for (const CProject *child : m_children) {
            const qint64 start = child->GetPlannedStart();
            if (start != 0 && (earliest == 0 || start < earliest))
                earliest = start;
        }
        return earliest;
    }
    if (m_forecast.TypeDateDebut != 0 && m_forecast.TypeDateDebut != 2)
        return m_forecast.DateDebut;
    return 0;
}

qint64 CProject::GetInheritedStart() const
{
    qint64 latest = 0;
    for (const CProject *n = this; n && !n->IsRoot(); n = n->m_parent) {
        const tForecast &f = n->m_forecast;
        const bool ownStart = (f.TypeDateDebut == 1 || f.TypeDateDebut == 3)
            && (n->m_children.empty() || !f.bModeAuto);
        if (ownStart && f.DateDebut > latest)
            latest = f.DateDebut;
    }
    return latest;
}

qint64 CProject::GetChildrenActualStart() const
{
    qint64 earliest = 0;
    for (const CProject *child : m_children) {
        for (qint64 start : {child->GetActualStart(), child->GetChildrenActualStart()})
            if (start != 0 && (earliest == 0 || start < earliest))
                earliest = start;
    }
    return earliest;
}

qint64 CProject::GetActualEnd() const
{
    if (IsCompleted() && m_forecast.NbTaches == 0)
        return m_computedEnd;
    qint64 end = m_forecast.MaxFin;
    if (IsRunning(false))
        end = std::max(end, Platform::Clock::now());
    return end;
}

qint64 CProject::GetChildrenActualEnd() const
{
    qint64 latest = 0;
    bool running = false;
    for (const CProject *child : m_children) {
        latest = std::max({latest, child->GetActualEnd(), child->GetChildrenActualEnd()});
        running = running || child->IsRunning(true);
    }
    if (running)
        latest = std::max(latest, Platform::Clock::now());
    return latest;
}

qint64 CProject::GetForecastStart() const
{
    qint64 earliest = 0;
    if (IsCompleted() || IsInactive())
        return 0;
    if (m_computedStart > 0)
        earliest = m_computedStart;
    for (const CProject *child : m_children) {
        const qint64 start = child->GetForecastStart();
        if (start > 0 && (earliest == 0 || start < earliest))
            earliest = start;
    }
    return earliest;
}

qint64 CProject::GetForecastEnd() const
{
    if (m_children.empty())
        return m_computedEnd;
    qint64 latest = 0;
    for (const CProject *child : m_children) {
        if (child->IsCompleted() || child->IsInactive())
            continue;
        const qint64 end = child->GetForecastEnd();
        if (end == 0)
            return 0;
        latest = std::max(latest, end);
    }
    if (!m_forecast.bModeAuto && GetOwnRemainingWork() > 0 && m_computedEnd > latest)
        return m_computedEnd;
    return latest;
}

qint64 CProject::GetOpenForecastStart() const
{
    if (IsCompleted() || IsInactive())
        return 0;
    if (m_children.empty())
        return m_computedStart;
    qint64 earliest = 0;
    for (const CProject *child : m_children) {
        if (child->IsCompleted() || child->IsInactive())
            continue;
        const qint64 start = child->GetForecastStart();
        if (start == 0) {
            earliest = 0;
            break;
        }
        if (earliest == 0 || start < earliest)
            earliest = start;
    }
    const bool ownWork = !m_forecast.bModeAuto && GetOwnRemainingWork() > 0;
    if (ownWork && m_computedStart > 0 && (earliest == 0 || m_computedStart < earliest))
        earliest = m_computedStart;
    return earliest;
}

qint64 CProject::GetOpenForecastEnd() const
{
    if (IsCompleted() || IsInactive())
        return 0;
    return GetForecastEnd();
}

qint64 CProject::RaiseToForecastStart() const
{
    if (IsCompleted() || IsInactive())
        return m_computedEnd;
    return std::max(m_computedEnd, m_computedStart);
}

qint64 CProject::GetEndDate() const
{
    if (!IsCompleted())
        return GetOpenForecastEnd();
    const qint64 latest = std::max(GetActualEnd(), GetChildrenActualEnd());
    if (latest != 0)
        return latest;
    const bool childrenCarry = !m_children.empty() && m_forecast.bModeAuto;
    if (childrenCarry || m_forecast.TypeDateDebut == 0 || m_forecast.TypeDateDebut == 2)
        return m_computedEnd != 0 ? m_computedEnd : 1;
    const qint64 now = Platform::Clock::now();
    return std::min(now, m_computedEnd != 0 ? m_computedEnd : m_forecast.DateDebut);
}

qint64 CProject::GetFixedEnd() const
{
    return m_forecast.TypeDateFin == 1 ? m_forecast.DateFin : 0;
}

// ---------------------------------------------------------------- alerts

bool CProject::IsAlertDue() const
{
    return m_forecast.DateAlerte != 0 && m_forecast.DateAlerte <= Platform::Clock::now();
}

bool CProject::IsLate() const
{
    if (IsCompleted() || IsInactive())
        return false;
    if (m_forecast.TypeDateFin != 1 || m_forecast.DateFin == 0)
        return false;
    const qint64 end = GetForecastEnd();
    return (end != 0 && end > m_forecast.DateFin) || m_forecast.DateFin < Platform::Clock::now();
}

int CProject::GetAlertState() const
{
    if (IsLate())
        return 2;
    return IsAlertDue() ? 1 : 0;
}

bool CProject::IsRunning(bool subtree) const
{
    if (!m_store)
        return false;
    const tProjectContext &c = m_store->Context();
    const tProjectContext::tRunning r = c.Running();
    if (!r.running)
        return false;
    if (ProjectId() == r.project && ActivityId() == r.activity)
        return true;
    const bool projectNode = !IsActivity() && ProjectId() == r.project;
    if (projectNode
        && (!c.ShowActivities() || (r.activity == -1 && !c.ShowUndefinedActivity())))
        return true;
    if (!subtree || IsActivity())
        return false;
    if (projectNode)
        return true;
    // A node has a running descendant when the running project lies below it.
    const CProject *running = m_store->GetNode(r.project);
    return running && running != this && running->HasAncestor(this);
}

bool CProject::HasNoWork() const
{
    return GetExpectedWork() <= 0;
}

bool CProject::HasSubProjects() const
{
    for (const CProject *child : m_children)
        if (!child->IsActivity())
            return true;
    return false;
}

bool CProject::HasAncestor(const CProject *ancestor) const
{
    for (const CProject *n = m_parent; n; n = n->m_parent)
        if (n == ancestor)
            return true;
    return false;
}

CProject *CProject::FindAncestorBelow(const CProject *ancestor) const
{
    for (const CProject *n = this; n; n = n->m_parent)
        if (n->m_parent == ancestor)
            return const_cast<CProject *>(n);
    return nullptr;
}

bool CProject::ComesBefore(const CProject *other) const
{
    if (!other || other == this)
        return false;
    std::vector<const CProject *> a, b;
    for (const CProject *n = this; n; n = n->m_parent)
        a.push_back(n);
    for (const CProject *n = other; n; n = n->m_parent)
        b.push_back(n);
    std::reverse(a.begin(), a.end());
    std::reverse(b.begin(), b.end());
    if (a.front() != b.front())
        return false; // different trees
    size_t i = 1;
    while (i < a.size() && i < b.size() && a[i] == b[i])
        ++i;
    if (i == a.size())
        return true; // this is an ancestor of other
    if (i == b.size())
        return false;
    const CProject *parent = a[i - 1];
    return parent->IndexOfChild(a[i]) < parent->IndexOfChild(b[i]);
}

// ---------------------------------------------------------------- predecessors

void CProject::LoadPredecessors(const QString &text)
{
    m_predecessors.clear();
    for (QStringView entry : QStringView(text).split(u';', Qt::SkipEmptyParts)) {
        if (entry.trimmed().isEmpty())
            continue;
        const auto fields = entry.split(u',');
        CPredecessor link;
        link.IdProject = Platform::wtoi(fields.value(0));
        link.IdActivity = fields.size() > 1 ? Platform::wtoi(fields[1]) : -2;
        link.Lag = fields.size() > 2 ? Platform::wtoi(fields[2]) : 0;
        const int unit = fields.size() > 3 ? Platform::wtoi(fields[3]) : CPredecessor::UnitDays;
        link.LagUnit = unit == CPredecessor::UnitHours ? CPredecessor::UnitHours
                                                       : CPredecessor::UnitDays;
        m_predecessors.push_back(link);
    }
}

QString CProject::SavePredecessors() const
{
    QString text;
    for (const CPredecessor &link : m_predecessors)
        text += Formatter::sprintf(u";%d,%d,%d,%d;",
                                   {link.IdProject, link.IdActivity, link.Lag, link.LagUnit});
    return text;
}

void CProject::UpdatePredecessorText()
{
    m_forecast.Predecesseurs = SavePredecessors();
}

bool CProject::HasPredecessors(bool inherited) const
{
    for (const CProject *n = this; n && !n->IsRoot(); n = n->m_parent) {
        if (!n->m_predecessors.empty())
            return true;
        if (!inherited)
            break;
    }
    return false;
}

bool CProject::HasPredecessor(int projectId, int activityId) const
{
    for (const CPredecessor &link : m_predecessors)
        if (link.IdProject == projectId && link.IdActivity == activityId)
            return true;
    return false;
}

const CPredecessor *CProject::NextPredecessor(PredecessorCursor &cursor, bool inherited) const
{
    if (!cursor.started) {
        cursor.owner = this;
        cursor.index = 0;
        cursor.started = true;
    }
    while (cursor.owner && !cursor.owner->IsRoot()) {
        const auto &links = cursor.owner->m_predecessors;
        while (cursor.index < int(links.size())) {
            const CPredecessor &link = links[size_t(cursor.index++)];
            if (m_store && link.GetNode(*m_store))
                return &link;
        }
        if (!inherited)
            break;
        cursor.owner = cursor.owner->m_parent;
        cursor.index = 0;
    }
    cursor.owner = nullptr;
    return nullptr;
}

void CProject::SetPredecessor(int projectId, int activityId, int lag, int unit)
{
    unit = unit == CPredecessor::UnitHours ? CPredecessor::UnitHours : CPredecessor::UnitDays;
    for (CPredecessor &link : m_predecessors) {
        if (link.IdProject == projectId && link.IdActivity == activityId) {
            link.Lag = lag;
            link.LagUnit = unit;
            UpdatePredecessorText();
            return;
        }
    }
    m_predecessors.push_back(CPredecessor{projectId, activityId, lag, unit});
    UpdatePredecessorText();
}

bool CProject::RemovePredecessor(int projectId, int activityId)
{
    for (auto it = m_predecessors.begin(); it != m_predecessors.end(); ++it) {
        if (it->IdProject == projectId && it->IdActivity == activityId) {
            m_predecessors.erase(it);
            UpdatePredecessorText();
            return true;
        }
    }
    return false;
}

bool CProject::ReplacePredecessor(int oldProjectId, int oldActivityId, int projectId,
                                  int activityId, int lag, int unit)
{
    for (CPredecessor &link : m_predecessors) {
        if (link.IdProject == oldProjectId && link.IdActivity == oldActivityId) {
            link.IdProject = projectId;
            link.IdActivity = activityId;
            link.Lag = lag;
            link.LagUnit =
                unit == CPredecessor::UnitHours ? CPredecessor::UnitHours : CPredecessor::UnitDays;
            UpdatePredecessorText();
            return true;
        }
    }
    return false;
}

bool CProject::DependsOnPredecessors(bool onlyActive) const
{
    if (m_forecast.TypeDateDebut != 2 && m_forecast.TypeDateDebut != 3)
        return false;
    if (!onlyActive)
        return true;
    PredecessorCursor cursor;
    while (const CPredecessor *link = NextPredecessor(cursor, true)) {
        const CProject *node = link->GetNode(*m_store);
        if (node && !node->IsInactive())
            return true;
    }
    return false;
}

// ---------------------------------------------------------------- key lists

void CProject::AppendIdList(QString &text, bool downwards, bool projectIdsOnly) const
{
    if (downwards) {
        AppendDescendantKeys(text, projectIdsOnly);
        return;
    }
    for (const CProject *n = this; n && !n->IsRoot(); n = n->m_parent)
        appendKey(text, n->ProjectId(), n->ActivityId());
}

void CProject::AppendDescendantKeys(QString &text, bool projectIdsOnly) const
{
    for (const CProject *child : m_children) {
        if (projectIdsOnly) {
            if (!child->IsActivity())
                text += Formatter::sprintf(u",%d", {child->ProjectId()});
        } else {
            appendKey(text, child->ProjectId(), child->ActivityId());
        }
        child->AppendDescendantKeys(text, projectIdsOnly);
    }
}

void CProject::CollectPredecessorKeys(QString &text) const
{
    QSet<QString> seen;
    for (QStringView entry : QStringView(text).split(u';', Qt::SkipEmptyParts))
        seen.insert(u';' + entry.toString() + u';');
    CollectKeys(text, seen);
}

void CProject::CollectKeys(QString &text, QSet<QString> &seen) const
{
    PredecessorCursor cursor;
    while (const CPredecessor *link = NextPredecessor(cursor, true)) {
        const QString key = link->Key();
        if (seen.contains(key))
            continue;
        seen.insert(key);
        appendKey(text, link->IdProject, link->IdActivity);
    }
    for (const CProject *child : m_children)
        child->CollectKeys(text, seen);
}

// ---------------------------------------------------------------- loop checks

// A walk from this node along children and own and inherited links, each
// node and each node's own links taken once (the visited text holds both,
// links as "L" and the owner's key), so that the whole walk stays linear in
// the size of the tree. Fails on reaching a family key, and when the time
// budget runs out: a check that could not finish accepts nothing.
bool CProject::CheckPredecessorChain(const QSet<QString> &family, QSet<QString> &visited) const
{
    if (IsRoot() || !m_store)
        return true;
    std::vector<const CProject *> nodes;
    std::vector<const CProject *> linkOwners;
    const auto reach = [&](const CProject *node) {
        const QString key = node->Key();
        if (visited.contains(key))
            return true;
        visited.insert(key);
        nodes.push_back(node);
        return !family.contains(key);
    };
    const auto reachLinksOf = [&](const CProject *owner) {
        const QString key = QStringLiteral("L") + owner->Key();
        if (!visited.contains(key)) {
            visited.insert(key);
            linkOwners.push_back(owner);
        }
    };
    if (family.contains(Key()))
        return false;
    visited.insert(Key());
    nodes.push_back(this);
    for (int steps = 1; !nodes.empty() || !linkOwners.empty(); ++steps) {
        if (steps % 1024 == 0 && m_store->LoopCheckTimedOut())
            return false;
        if (!nodes.empty()) {
            const CProject *node = nodes.back();
            nodes.pop_back();
            reachLinksOf(node);
            for (const CProject *child : node->m_children)
                if (!reach(child))
                    return false;
            continue;
        }
        const CProject *owner = linkOwners.back();
        linkOwners.pop_back();
        for (const CPredecessor &link : owner->m_predecessors) {
            const CProject *target = link.GetNode(*m_store);
            if (target && !target->IsRoot() && !reach(target))
                return false;
        }
        if (owner->m_parent && !owner->m_parent->IsRoot())
            reachLinksOf(owner->m_parent);
    }
    return !m_store->LoopCheckTimedOut();
}

// The own links of every node of the subtree (or of the node and its
// ancestors) must not lead back to that node, its ancestors or its
// descendants: one look at the whole tree answers for all of them.
bool CProject::CheckPredecessorsDown() const
{
    if (!m_store)
        return true;
    std::vector<const CProject *> nodes;
    std::vector<const CProject *> stack{this};
    while (!stack.empty()) {
        const CProject *node = stack.back();
        stack.pop_back();
        if (!node->IsRoot())
            nodes.push_back(node);
        stack.insert(stack.end(), node->m_children.begin(), node->m_children.end());
    }
    return m_store->CheckOwnLinks(nodes);
}

bool CProject::CheckPredecessorsUp() const
{
    if (!m_store)
        return true;
    std::vector<const CProject *> nodes;
    for (const CProject *n = this; n && !n->IsRoot(); n = n->m_parent)
        nodes.push_back(n);
    return m_store->CheckOwnLinks(nodes);
}

bool CProject::CanAdopt(CProject *node)
{
    if (!node || node == this || HasAncestor(node))
        return false;
    if (IsRoot())
        return true;
    // Try the move on the tree itself and put everything back afterwards.
    CProject *oldParent = node->m_parent;
    const int oldIndex = oldParent ? oldParent->IndexOfChild(node) : -1;
    if (oldParent && oldIndex >= 0)
        oldParent->m_children.erase(oldParent->m_children.begin() + oldIndex);
    m_children.push_back(node);
    node->m_parent = this;

    const bool ok = CheckPredecessorsDown() && node->CheckPredecessorsUp();

    m_children.pop_back();
    node->m_parent = oldParent;
    if (oldParent && oldIndex >= 0)
        oldParent->m_children.insert(oldParent->m_children.begin() + oldIndex, node);
    return ok;
}
