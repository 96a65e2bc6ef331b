#include "CForecastScheduler.h"

#include "CAppData.h"
#include "CConfiguration.h"
#include "CProject.h"
#include "CProjectTree.h"
#include "Clock.h"
#include "Settings.h"
#include "Texts.h"

#include <algorithm>
#include <map>
#include <queue>

namespace {

// Min-heaps of (key, node index).
template <typename Key>
using MinHeap = std::priority_queue<std::pair<Key, int>, std::vector<std::pair<Key, int>>,
                                    std::greater<std::pair<Key, int>>>;

bool childrenCarryWork(const CProject *n)
{
    return !n->Children().empty() && n->Forecast().bModeAuto;
}

} // namespace

QString tForecastRun::Warning() const
{
    if (!timedOut)
        return QString();
    QString text = Platform::Texts::get(593);
    if (realTimeStopped)
        text += u'\n' + Platform::Texts::get(594);
    return text;
}

CForecastScheduler::CForecastScheduler(CProjectTree &store, const CConfiguration &calendar,
                                       int pctNonCounted)
    : m_store(store), m_calendar(calendar), m_pct(std::clamp(pctNonCounted, 0, 100))
{
}

// ------------------------------------------------------------------ budget

bool CForecastScheduler::IsTimedOut()
{
    if (m_result.timedOut)
        return true;
    if (Platform::Clock::tickMs() - m_startTick <= BudgetMs)
        return false;
    m_result.timedOut = true;
    // Recomputing after every change would time out again: real-time
    // recomputation is switched off, in memory and in the settings.
    CConfiguration *config = CAppData::Configuration();
    if (config && config->realTime) {
        config->realTime = false;
        Platform::Settings settings;
        settings.setInt(u"Config", u"Forecast", u"Real Time", 0);
        settings.sync();
        m_result.realTimeStopped = true;
    }
    return true;
}

// ------------------------------------------------------------------ nodes

void CForecastScheduler::Flatten()
{
    m_nodes.clear();
    m_index.clear();
    std::vector<std::pair<CProject *, int>> stack;
    const auto &top = m_store.GetRoot()->Children();
    for (auto it = top.rbegin(); it != top.rend(); ++it)
        stack.push_back({*it, -1});
    while (!stack.empty()) {
        const auto [node, parent] = stack.back();
        stack.pop_back();
        const int i = int(m_nodes.size());
        tNode n;
        n.node = node;
        n.parent = parent;
        n.end = i + 1;
        n.weight = std::max(1, node->Forecast().Priority + 1);
        m_nodes.push_back(std::move(n));
        m_index.insert(node, i);
        const auto &children = node->Children();
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            stack.push_back({*it, i});
    }
    for (int i = int(m_nodes.size()) - 1; i >= 0; --i)
        if (const int p = m_nodes[size_t(i)].parent; p >= 0)
            m_nodes[size_t(p)].end = std::max(m_nodes[size_t(p)].end, m_nodes[size_t(i)].end);
    // Who waits for whom: each node's own links, by the linked node.
    for (int i = 0; i < int(m_nodes.size()); ++i)
        for (const CPredecessor &link : m_nodes[size_t(i)].node->Predecessors())
            if (const CProject *target = link.GetNode(m_store)) {
                const int t = IndexOf(target);
                if (t >= 0)
                    m_nodes[size_t(t)].successors.push_back(i);
            }
}

int CForecastScheduler::IndexOf(const CProject *node) const
{
    return m_index.value(node, -1);
}

qint64 CForecastScheduler::ParentInheritedStart(int i) const
{
    const int p = m_nodes[size_t(i)].parent;
    return p >= 0 ? m_nodes[size_t(p)].node->GetInheritedStart() : 0;
}

qint64 CForecastScheduler::BaseStart(int i) const
{
    const CProject *n = m_nodes[size_t(i)].node;
    const tForecast &f = n->Forecast();
    qint64 start = childrenCarryWork(n) || f.TypeDateDebut == 0 || f.TypeDateDebut == 2
        ? m_now
        : f.DateDebut;
    start = std::max(start, m_now);
    return std::max(start, ParentInheritedStart(i));
}

void CForecastScheduler::SetEnd(int i, qint64 end)
{
    tNode &n = m_nodes[size_t(i)];
    const qint64 old = n.node->m_computedEnd;
    n.node->m_computedEnd = end;
    if (n.parent >= 0) {
        tNode &p = m_nodes[size_t(n.parent)];
        if (end < old)
            p.maxChildEndStale = true;
        else
            p.maxChildEnd = std::max(p.maxChildEnd, end);
    }
    if (end != 0 && end != old)
        Changed(i);
}

qint64 CForecastScheduler::LatestChildEnd(int i)
{
    tNode &n = m_nodes[size_t(i)];
    if (n.maxChildEndStale) {
        n.maxChildEnd = 0;
        for (const CProject *child : n.node->Children())
            n.maxChildEnd = std::max(n.maxChildEnd, child->m_computedEnd);
        n.maxChildEndStale = false;
    }
    return n.maxChildEnd;
}

void CForecastScheduler::LeaveRun(int i)
{
    tNode &n = m_nodes[size_t(i)];
    if (!n.onRun)
        return;
    n.onRun = false;
    if (n.parent >= 0)
        --m_nodes[size_t(n.parent)].runChildren;
    for (int a = i; a >= 0; a = m_nodes[size_t(a)].parent)
        --m_nodes[size_t(a)].runInSubtree;
    Changed(i);
}

void CForecastScheduler::LeaveDone(int i)
{
    tNode &n = m_nodes[size_t(i)];
    if (!n.onDone)
        return;
    n.onDone = false;
    for (int a = i; a >= 0; a = m_nodes[size_t(a)].parent)
        --m_nodes[size_t(a)].doneInSubtree;
}

void CForecastScheduler::Changed(int i)
{
    m_changed.push_back(i);
}

// A node ended or left the run list: the nodes linked to it or to one of
// its ancestors (and their subtrees, which inherit the links) may now be
// released; a release may in turn end a node without work, and so on.
void CForecastScheduler::DrainChanges()
{
    while (!m_changed.empty() && !IsTimedOut()) {
        const int x = m_changed.back();
        m_changed.pop_back();
        for (int a = x; a >= 0; a = m_nodes[size_t(a)].parent) {
            // Releases append to m_changed only; the lists stay as they are.
            const std::vector<int> &successors = m_nodes[size_t(a)].successors;
            for (size_t k = 0; k < successors.size(); ++k) {
                const int s = successors[k];
                for (int d = s; d < m_nodes[size_t(s)].end; ++d)
                    ReleaseByPredecessors(d);
            }
        }
    }
}

// ------------------------------------------------------------------ steps

void CForecastScheduler::PrepareForecast(int i)
{
    tNode &t = m_nodes[size_t(i)];
    CProject *n = t.node;
    n->m_computedStart = n->m_computedEnd = n->m_remainingWork = 0;
    const qint64 own = n->GetOwnRemainingWork();
    t.ownWork = own;
    if (n->IsCompleted() || n->IsInactive()) {
        if (n->IsCompleted() && n->GetTaskCount(true) == 0)
            t.onDone = true;
        return;
    }
    if (own > 0) {
        t.onRun = true;
        n->m_remainingWork = own;
    } else if ((n->Children().empty() || !n->Forecast().bModeAuto) && !n->HasPredecessors(true)) {
        n->m_computedEnd = m_now;
    }
    if (!n->DependsOnPredecessors(true)) {
        n->m_computedStart = BaseStart(i);
        if (own <= 0)
            n->m_computedEnd = n->m_computedStart;
    }
}

bool CForecastScheduler::DateCompletedNode(int i)
{
    tNode &t = m_nodes[size_t(i)];
    if (!t.onDone)
        return false;
    CProject *n = t.node;
    if (!n->Children().empty()) {
        qint64 start = 0;
        qint64 end = 0;
        for (const CProject *child : n->Children()) {
            if (child->m_computedStart == 0) {
                n->m_computedStart = 0;
                SetEnd(i, 0);
                return false;
            }
            if (child->m_computedStart > 1 && (start == 0 || child->m_computedStart < start))
                start = child->m_computedStart;
            end = std::max(end, child->m_computedEnd);
        }
        n->m_computedStart = start;
        if (start <= 1) {
            SetEnd(i, end);
            return false;
        }
        n->m_computedStart = std::min(start, m_now);
        SetEnd(i, std::min(end, m_now));
        LeaveDone(i);
        return true;
    }

    const tForecast &f = n->Forecast();
    qint64 start = f.TypeDateDebut == 1 || f.TypeDateDebut == 3 ? f.DateDebut : 0;
    start = std::max(start, ParentInheritedStart(i));
    // Links to inactive nodes, or to nodes that are gone, count for
    // nothing: with no other link the node is dated as one without links.
    bool linked = false;
    CProject::PredecessorCursor cursor;
    while (const CPredecessor *link = n->NextPredecessor(cursor, true)) {
        if (IsTimedOut())
            break;
        const CProject *pred = link->GetNode(m_store);
        if (!pred || pred->IsInactive())
            continue;
        linked = true;
        if (!pred->IsCompleted()) {
            start = m_now;
            break;
        }
        const int p = IndexOf(pred);
        if (p >= 0 && m_nodes[size_t(p)].doneInSubtree > 0) {
            start = 0;
            break;
        }
        qint64 e = pred->GetEndDate();
        if (e <= 1) {
            start = 1;
            break;
        }
        if (const qint64 lag = link->GetLag(); lag > 0)
            e = m_calendar.NextWorkingTime(e + lag);
        start = std::max(start, e);
    }
    if (!linked) {
        if (start < 2)
            start = 1;
        n->m_computedStart = start;
        SetEnd(i, start);
        LeaveDone(i);
        return true;
    }
    if (start < 2) {
        n->m_computedStart = start;
        SetEnd(i, 0);
        return false;
    }
    n->m_computedStart = std::min(start, m_now);
    SetEnd(i, n->m_computedStart);
    LeaveDone(i);
    return true;
}

bool CForecastScheduler::ReleaseByPredecessors(int i)
{
    tNode &t = m_nodes[size_t(i)];
    CProject *n = t.node;
    if (n->m_computedStart != 0 || n->IsCompleted() || n->IsInactive() || !n->HasPredecessors(true))
        return false;
    qint64 start = BaseStart(i);
    CProject::PredecessorCursor cursor;
    while (const CPredecessor *link = n->NextPredecessor(cursor, true)) {
        if (IsTimedOut())
            return false;
        const CProject *pred = link->GetNode(m_store);
        if (!pred || pred->IsInactive())
            continue;
        const int p = IndexOf(pred);
        if (p >= 0 && m_nodes[size_t(p)].runInSubtree > 0)
            return false;
        qint64 e = pred->GetEndDate();
        if (e == 0)
            return false;
        if (e == 1)
            continue;
        if (const qint64 lag = link->GetLag(); lag > 0)
            e = m_calendar.NextWorkingTime(e + lag);
        start = std::max(start, e);
    }
    n->m_computedStart = start;
    if (n->GetRemainingWork() <= 0)
        SetEnd(i, start);
    if (t.onRun)
        m_pendingRun.push_back(i);
    Changed(i);
    return true;
}

void CForecastScheduler::PropagateForecastEnd(int i)
{
    for (int x = i; x >= 0; x = m_nodes[size_t(x)].parent) {
        tNode &t = m_nodes[size_t(x)];
        CProject *n = t.node;
        if (t.onRun || n->m_computedEnd != 0)
            return;
        if (t.ownWork == 0 && n->m_computedStart != 0) {
            SetEnd(x, n->m_computedStart);
            continue;
        }
        if (n->Children().empty() || t.runChildren > 0)
            return;
        const qint64 latest = LatestChildEnd(x);
        if (latest == 0)
            return;
        SetEnd(x, latest);
    }
}

// ------------------------------------------------------------------ run

void CForecastScheduler::Run(qint64 now)
{
    m_now = now;
    m_startTick = Platform::Clock::tickMs();
    m_result = tForecastRun();
    m_changed.clear();
    m_pendingRun.clear();
    Flatten();
    const int count = int(m_nodes.size());

    for (int i = 0; i < count; ++i)
        PrepareForecast(i);
    // Subtree counts and children's latest ends, children before parents.
    for (int i = count - 1; i >= 0; --i) {
        tNode &t = m_nodes[size_t(i)];
        t.runInSubtree += t.onRun ? 1 : 0;
        t.doneInSubtree += t.onDone ? 1 : 0;
        if (t.parent >= 0) {
            tNode &p = m_nodes[size_t(t.parent)];
            p.runInSubtree += t.runInSubtree;
            p.doneInSubtree += t.doneInSubtree;
            p.runChildren += t.onRun ? 1 : 0;
            p.maxChildEnd = std::max(p.maxChildEnd, t.node->m_computedEnd);
        }
    }

    // Completed nodes without recorded time take their dates from their
    // surroundings, children before parents.
    std::vector<int> done;
    for (int i = count - 1; i >= 0; --i)
        if (m_nodes[size_t(i)].onDone)
            done.push_back(i);
    if (!done.empty()) {
        bool changed = true;
        while (changed && !IsTimedOut()) {
            changed = false;
            for (int i : done)
                changed = DateCompletedNode(i) || changed;
        }
        for (int i : done)
            LeaveDone(i);
    }

    for (int i = 0; i < count && !IsTimedOut(); ++i)
        ReleaseByPredecessors(i);
    DrainChanges();

    MainLoop();

    // Nodes whose work could not be placed get no dates.
    for (tNode &t : m_nodes)
        if (t.onRun)
            t.node->m_computedStart = t.node->m_computedEnd = t.node->m_remainingWork = 0;
}

void CForecastScheduler::MainLoop()
{
    // The ready nodes share each stretch of working time by weight, each
    // share rounded down on its own, as whole seconds of work: every ready
    // node of one weight loses the same seconds at every event. So the nodes
    // wait in one heap per weight, keyed by their remaining work plus what
    // that weight had lost when they joined; an event then costs a step per
    // weight present, not per node, and the seconds come out exactly as if
    // each node's share had been taken one by one.
    struct tWeightGroup
    {
        qint64 lost = 0; // seconds each node of this weight lost so far
        int count = 0;   // ready nodes of this weight
        MinHeap<qint64> byKey;
    };
    std::map<int, tWeightGroup> groups;
    MinHeap<qint64> pending; // by computed start
    for (int i = 0; i < int(m_nodes.size()); ++i)
        if (m_nodes[size_t(i)].onRun && m_nodes[size_t(i)].node->m_computedStart > 0)
            pending.push({m_nodes[size_t(i)].node->m_computedStart, i});
    m_pendingRun.clear();

    auto dropEnded = [this](auto &heap) {
        while (!heap.empty() && !m_nodes[size_t(heap.top().second)].onRun)
            heap.pop();
    };
    dropEnded(pending);
    if (pending.empty())
        return;

    const long double counted = 1.0L - m_pct / 100.0L;
    qint64 weights = 0; // sum of the ready nodes' weights
    int readyCount = 0;
    qint64 c = pending.top().first;

    while (c != 0 && !IsTimedOut()) {
        for (int i : m_pendingRun)
            if (m_nodes[size_t(i)].onRun && m_nodes[size_t(i)].node->m_computedStart > 0)
                pending.push({m_nodes[size_t(i)].node->m_computedStart, i});
        m_pendingRun.clear();
        // Nodes whose start has come join the ready set.
        for (dropEnded(pending); !pending.empty() && pending.top().first <= c; dropEnded(pending)) {
            const int i = pending.top().second;
            pending.pop();
            tNode &t = m_nodes[size_t(i)];
            if (t.ready)
                continue;
            t.ready = true;
            tWeightGroup &g = groups[t.weight];
            g.byKey.push({t.node->m_remainingWork + g.lost, i});
            ++g.count;
            weights += t.weight;
            ++readyCount;
        }

        if (readyCount == 0) {
            if (pending.empty())
                break;
            c = m_calendar.NextWorkingTime(pending.top().first);
            continue;
        }

        // One node alone takes the whole time; several share it by weight.
        const qint64 shared = readyCount >= 2 ? weights : 0;
        // The calendar time until the first node runs out.
        qint64 need = -1;
        for (auto &[weight, g] : groups) {
            if (g.count == 0)
                continue;
            dropEnded(g.byKey);
            const qint64 remaining = g.byKey.top().first - g.lost;
            const qint64 work = shared == 0 ? remaining : qint64(__int128(remaining) * shared / weight);
            const qint64 calendar = m_pct < 100 ? static_cast<qint64>(work / counted) : 0;
            if (need < 0 || calendar < need)
                need = calendar;
        }
        qint64 n = m_calendar.AddWorkingTime(c, need);
        if (!pending.empty() && pending.top().first > c && pending.top().first < n)
            n = pending.top().first;
        if (n <= c)
            break;
        const qint64 worked = static_cast<qint64>(m_calendar.GetWorkingDuration(n, c) * counted);
        if (worked < 0)
            break;
        for (auto &[weight, g] : groups)
            if (g.count > 0)
                g.lost += shared == 0 ? worked : qint64(__int128(worked) * weight / shared);

        for (auto &[weight, g] : groups) {
            for (dropEnded(g.byKey); !g.byKey.empty() && g.byKey.top().first - g.lost <= EndTolerance;
                 dropEnded(g.byKey)) {
                const int i = g.byKey.top().second;
                g.byKey.pop();
                tNode &t = m_nodes[size_t(i)];
                t.node->m_remainingWork = 0;
                weights -= t.weight;
                --g.count;
                --readyCount;
                t.ready = false;
                LeaveRun(i);
                SetEnd(i, n);
                if (t.parent >= 0)
                    PropagateForecastEnd(t.parent);
                DrainChanges();
            }
        }
        c = n;
    }
}
