#pragma once
#include "CPredecessor.h"
#include "tElement.h"
#include "tForecast.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QtGlobal>
#include <limits>
#include <vector>

class CProjectStore;
class CProjectTree;

// A node of the project tree: a project, or an activity below a project
// (its forecast record's activity id is then not -2). A node owns its
// children. Its key is (project id, activity id) of its forecast record.
//
// Nodes are never copied: a copy would share the children it owns. An
// editor's working copy takes another node's values with Assign and only
// borrows its children (see there).
class CProject
{
public:
    // "Nothing is expected" in the remaining-work figure.
    static constexpr qint64 NoWork = std::numeric_limits<qint64>::min();
    // "No value" of the ratios.
    static constexpr double NoRatio = std::numeric_limits<double>::max();

    explicit CProject(CProjectTree *store = nullptr);
    ~CProject();
    CProject(const CProject &) = delete;
    CProject &operator=(const CProject &) = delete;

    // ---- identity and links ----
    CProjectTree *Store() const { return m_store; }
    int ProjectId() const { return m_forecast.IdProject; }
    int ActivityId() const { return m_forecast.IdActivity; }
    bool IsActivity() const { return m_forecast.IdActivity != -2; }
    bool IsRoot() const { return m_parent == nullptr; }
    bool IsTopLevel() const { return m_parent && m_parent->IsRoot(); }
    CProject *GetParent() const { return m_parent; }
    void SetParent(CProject *parent) { m_parent = parent; }
    const std::vector<CProject *> &Children() const { return m_children; }
    int GetChildCount() const { return int(m_children.size()); }
    CProject *GetChild(int i) const;
    int IndexOfChild(const CProject *child) const;
    // ";%d,%d;" of the node's key.
    QString Key() const;

    tElement &Element() { return m_element; }
    const tElement &Element() const { return m_element; }
    tForecast &Forecast() { return m_forecast; }
    const tForecast &Forecast() const { return m_forecast; }

    // Values of the forecast scheduler (0 = not set, 1 = finished without date).
    qint64 m_computedStart = 0;
    qint64 m_computedEnd = 0;
    qint64 m_remainingWork = 0;

    // ---- working copies ----
    // Takes the other node's element, forecast, parent, children, child
    // order, predecessor links and computed values. The children stay the
    // other node's: this node only borrows them and never deletes them
    // (ReleaseChildren gives the list back).
    void Assign(const CProject &other);
    // Empties the child list and the child-order text without deleting
    // the children.
    void ReleaseChildren();
    bool BorrowsChildren() const { return m_borrowsChildren; }

    // ---- children and their order ----
    // Deletes the children (a borrowed list is only emptied).
    void ClearChildren();
    void SetChildOrder(const QString &text);
    const QString &GetChildOrder() const { return m_childOrder; }
    // Rebuilds the text from the children as they stand.
    void BuildChildOrder();
    // Places the child by the child-order text and makes this its parent.
    void AddChildProject(CProject *child);
    // Places the children one after the other exactly as AddChildProject
    // would, in O(n log n) for the whole list instead of a walk over the
    // siblings already placed for each one (what a load does with every
    // child of one parent).
    void AddChildProjects(const std::vector<CProject *> &children);
    // Removes the first match without deleting it.
    bool RemoveChild(CProject *child);
    // Appends the child unless it is there already.
    void AddChildOnce(CProject *child);
    // Inserts at a given index (clamped) and makes this the parent.
    void InsertChildAt(int index, CProject *child);
    CProject *FindActivityChild(int activityId) const;

    // ---- forecast and statistics ----
    bool ApplyForecast(const tForecast &record);
    bool AddTaskStatistics(int activityId, int count, qint64 seconds, qint64 firstStart,
                           qint64 lastEnd);

    // ---- status ----
    bool IsCompleted() const;
    bool IsInactive() const;

    // ---- names ----
    QString GetName(bool useTitle = false) const;
    QString GetFullName() const;
    QString GetNotes() const { return m_forecast.Notes; }
    quint32 GetColor() const;

    // ---- work figures (64-bit seconds) ----
    qint64 GetPlannedWork(bool strict = false) const;
    qint64 GetDoneWork(bool withExtra) const;
    qint64 GetEstimatedTotal() const;
    qint64 GetExpectedWork() const;
    qint64 GetRemainingWork() const;
    qint64 GetOwnRemainingWork() const;
    int GetTaskCount(bool subtree = false) const;
    double GetProgress() const;
    double GetPlannedRatio() const;

    // ---- dates (0 = none) ----
    qint64 GetDate(int kind) const;
    qint64 GetActualStart() const;
    qint64 GetPlannedStart() const;
    qint64 GetInheritedStart() const;
    qint64 GetChildrenActualStart() const;
    qint64 GetActualEnd() const;
    qint64 GetChildrenActualEnd() const;
    qint64 GetForecastStart() const;
    qint64 GetForecastEnd() const;
    // The earliest forecast start of an open node: over its open children,
    // 0 as soon as one of them has none; its own computed start when it
    // carries work of its own (manual mode) and starts earlier, or no
    // child's start is known. A node without children gives its own
    // computed start. 0 for a completed or inactive node.
    qint64 GetOpenForecastStart() const;
    // The forecast end of an open node; 0 for a completed or inactive one.
    qint64 GetOpenForecastEnd() const;
    // The end of the node's own computed forecast period, raised to its
    // computed start while the node is open (neither completed nor
    // inactive): a period scheduled without work of its own still ends
    // where it starts.
    qint64 RaiseToForecastStart() const;
    qint64 GetEndDate() const;
    qint64 GetFixedEnd() const;

    // ---- alerts ----
    bool IsAlertDue() const;
    bool IsLate() const;
    int GetAlertState() const;

    bool IsRunning(bool subtree) const;
    bool HasNoWork() const;
    bool HasSubProjects() const;
    bool HasAncestor(const CProject *ancestor) const;
    // The ancestor of this node (or the node itself) whose parent is `ancestor`.
    CProject *FindAncestorBelow(const CProject *ancestor) const;
    // True when this node comes before `other` in depth-first order.
    bool ComesBefore(const CProject *other) const;

    // ---- predecessors ----
    void LoadPredecessors(const QString &text);
    QString SavePredecessors() const;
    const std::vector<CPredecessor> &Predecessors() const { return m_predecessors; }
    bool HasPredecessors(bool inherited) const;
    bool HasPredecessor(int projectId, int activityId) const;
    // Walks the links whose node exists: the node's own in order, then, when
    // `inherited`, its parent's and so on up to the top level. Start with a
    // default cursor; null at the end.
    struct PredecessorCursor
    {
        const CProject *owner = nullptr;
        int index = 0;
        bool started = false;
    };
    const CPredecessor *NextPredecessor(PredecessorCursor &cursor, bool inherited) const;
    // Adds the link, or sets the lag of an existing one; rewrites the text.
    void SetPredecessor(int projectId, int activityId, int lag, int unit);
    bool RemovePredecessor(int projectId, int activityId);
    bool ReplacePredecessor(int oldProjectId, int oldActivityId, int projectId, int activityId,
                            int lag, int unit);
    bool DependsOnPredecessors(bool onlyActive) const;

    // ---- key lists ----
    void AppendIdList(QString &text, bool downwards, bool projectIdsOnly) const;
    void CollectPredecessorKeys(QString &text) const;

    // ---- loop checks ----
    bool CheckPredecessorsDown() const;
    bool CheckPredecessorsUp() const;
    bool CheckPredecessorChain(const QSet<QString> &family, QSet<QString> &visited) const;
    // Whether `node` may become a child of this node.
    bool CanAdopt(CProject *node);

private:
    friend class CProjectStore;

    // Key of a child in a child-order text: project ids as themselves,
    // activity ids marked.
    static qint64 OrderKey(bool activity, int id) { return (qint64(id) << 1) | (activity ? 1 : 0); }
    qint64 OrderKey() const;
    int OrderPosition(qint64 key) const;
    void PlaceChild(CProject *child);
    CProject *CreateActivityChild(int activityId);
    qint64 ToSeconds(int amount, int unit) const;
    bool OwnsRunningEntry() const;
    void AppendDescendantKeys(QString &text, bool projectIdsOnly) const;
    void CollectKeys(QString &text, QSet<QString> &seen) const;
    void UpdatePredecessorText();

    CProjectTree *m_store;
    std::vector<CProject *> m_children;
    tElement m_element;
    tForecast m_forecast;
    CProject *m_parent = nullptr;
    QString m_childOrder;
    // Position of each key in the child-order text (first occurrence),
    // built when first needed.
    mutable QHash<qint64, int> m_orderIndex;
    mutable bool m_orderIndexValid = false;
    std::vector<CPredecessor> m_predecessors;
    // The children belong to another node (see Assign).
    bool m_borrowsChildren = false;
};
