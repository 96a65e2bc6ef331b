#include "PredecessorGraph.h"

#include "CPredecessor.h"
#include "CProject.h"
#include "CProjectTree.h"

#include <algorithm>

namespace {
// How many steps of a walk go by between two looks at the time budget.
constexpr int StepsPerLook = 1024;
} // namespace

PredecessorGraph::PredecessorGraph(const CProjectTree &store, std::function<bool()> timedOut)
    : m_store(store), m_timedOut(std::move(timedOut))
{
    std::vector<const CProject *> stack(store.GetRoot()->Children().rbegin(), store.GetRoot()->Children().rend());
    while (!stack.empty()) {
        const CProject *node = stack.back();
        stack.pop_back();
        m_index.insert(node, int(m_nodes.size()));
        m_nodes.push_back(node);
        stack.insert(stack.end(), node->Children().rbegin(), node->Children().rend());
    }
    const int count = int(m_nodes.size());
    m_edges.resize(size_t(2 * count));
    for (int i = 0; i < count; ++i) {
        const CProject *node = m_nodes[size_t(i)];
        std::vector<int> &out = m_edges[size_t(i)];
        for (const CProject *child : node->Children())
            out.push_back(IndexOf(child));
        out.push_back(LinkSet(i));
        std::vector<int> &links = m_edges[size_t(LinkSet(i))];
        for (const CPredecessor &link : node->Predecessors()) {
            const int target = IndexOf(link.GetNode(store));
            if (target >= 0)
                links.push_back(target);
        }
        if (const int parent = IndexOf(node->GetParent()); parent >= 0)
            links.push_back(LinkSet(parent));
    }
}

// Tarjan's strongly connected components, without recursion (a tree may be
// deeper than the stack allows).
bool PredecessorGraph::Components()
{
    const int count = int(m_edges.size());
    m_component.assign(size_t(count), -1);
    std::vector<int> order(size_t(count), -1);
    std::vector<int> low(size_t(count), 0);
    std::vector<char> onStack(size_t(count), 0);
    std::vector<int> stack;
    std::vector<std::pair<int, size_t>> walk; // vertex, next edge
    int counter = 0;
    int components = 0;
    int steps = 0;
    for (int root = 0; root < count; ++root) {
        if (order[size_t(root)] >= 0)
            continue;
        walk.push_back({root, 0});
        order[size_t(root)] = low[size_t(root)] = counter++;
        stack.push_back(root);
        onStack[size_t(root)] = 1;
        while (!walk.empty()) {
            if (++steps % StepsPerLook == 0 && m_timedOut && m_timedOut())
                return false;
            auto &[v, next] = walk.back();
            const std::vector<int> &out = m_edges[size_t(v)];
            if (next < out.size()) {
                const int w = out[next++];
                if (order[size_t(w)] < 0) {
                    order[size_t(w)] = low[size_t(w)] = counter++;
                    stack.push_back(w);
                    onStack[size_t(w)] = 1;
                    walk.push_back({w, 0});
                } else if (onStack[size_t(w)]) {
                    low[size_t(v)] = std::min(low[size_t(v)], order[size_t(w)]);
                }
                continue;
            }
            const int done = v;
            walk.pop_back();
            if (!walk.empty())
                low[size_t(walk.back().first)] = std::min(low[size_t(walk.back().first)], low[size_t(done)]);
            if (low[size_t(done)] == order[size_t(done)]) {
                int w;
                do {
                    w = stack.back();
                    stack.pop_back();
                    onStack[size_t(w)] = 0;
                    m_component[size_t(w)] = components;
                } while (w != done);
                ++components;
            }
        }
    }
    return true;
}

bool PredecessorGraph::LinksCloseNoLoop(const std::vector<const CProject *> &nodes)
{
    if (!Components() || (m_timedOut && m_timedOut()))
        return false;
    for (const CProject *node : nodes) {
        const int i = IndexOf(node);
        if (i < 0)
            continue;
        for (const CPredecessor &link : node->Predecessors()) {
            const int target = IndexOf(link.GetNode(m_store));
            if (target >= 0 && m_component[size_t(target)] == m_component[size_t(LinkSet(i))])
                return false;
        }
    }
    return true;
}

bool PredecessorGraph::LinkWouldCloseNoLoop(const CProject *node, const CProject *target)
{
    const int i = IndexOf(node);
    const int t = IndexOf(target);
    if (i < 0 || t < 0)
        return true;
    m_edges[size_t(LinkSet(i))].push_back(t);
    const bool clear = LinksCloseNoLoop({});
    const bool closes = clear && m_component[size_t(t)] == m_component[size_t(LinkSet(i))];
    m_edges[size_t(LinkSet(i))].pop_back();
    return clear && !closes;
}
