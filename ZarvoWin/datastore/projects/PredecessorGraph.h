#pragma once
#include <QHash>

#include <functional>
#include <vector>

class CProject;
class CProjectTree;

// The graph the predecessor loop checks walk, in which a loop is a cycle:
// every node of the tree, with an edge to each of its children and one to
// its link set; a link set has an edge to each node its owner's own links
// lead to and one to the link set of the owner's parent (a node follows its
// ancestors' links too). A node reaches exactly what the walk along
// children and own and inherited links reaches, and an own link of a node
// leads back to the node, an ancestor or a descendant exactly when the link
// lies on a cycle: its target and the node's link set are then in one
// strongly connected component. One pass finds the components of the whole
// tree, in time linear in its nodes and links.
class PredecessorGraph
{
public:
    // The tree of `store` as it stands (the root left out). `timedOut` is
    // asked now and then; once it answers true the graph gives up.
    PredecessorGraph(const CProjectTree &store, std::function<bool()> timedOut);

    // False when an own link of one of `nodes` closes a loop, or when time
    // ran out (a check that could not finish accepts nothing).
    bool LinksCloseNoLoop(const std::vector<const CProject *> &nodes);
    // False when the link `node` -> `target`, were it added, would close a
    // loop, or when time ran out.
    bool LinkWouldCloseNoLoop(const CProject *node, const CProject *target);

private:
    int IndexOf(const CProject *node) const { return m_index.value(node, -1); }
    int LinkSet(int node) const { return node + int(m_nodes.size()); }
    bool Components();

    const CProjectTree &m_store;
    std::function<bool()> m_timedOut;
    std::vector<const CProject *> m_nodes;
    QHash<const CProject *, int> m_index;
    std::vector<std::vector<int>> m_edges; // nodes first, then their link sets
    std::vector<int> m_component;
};
