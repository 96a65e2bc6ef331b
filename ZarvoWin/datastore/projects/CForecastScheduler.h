#pragma once
#include <QHash>
#include <QString>
#include <QtGlobal>
#include <vector>

class CConfiguration;
class CProject;
class CProjectTree;

// What one forecast run tells its caller. The data store shows nothing: the
// window shows Warning() after the run when it is not empty.
struct tForecastRun
{
    bool ran = false;             // false: a run was already going on
    bool timedOut = false;        // the time budget ran out; unplaced nodes got no dates
    bool realTimeStopped = false; // "Real Time" was on and has been switched off
    // Text 593, followed by text 594 when "Real Time" was switched off;
    // empty when the run did not time out.
    QString Warning() const;
};

// One run of the forecast: every open project and activity node of the
// store's tree gets a computed start and end from `now` on. The nodes that
// may run at a moment share the available working time in proportion to
// their priority, as if worked on in parallel; a node ends when its
// remaining work is used up. Predecessor links (with their lags) and fixed
// start dates hold nodes back; booked time and the non-counted share of
// working time are not available.
//
// The run is event-driven: it jumps from one event (a node ending, a node
// becoming ready) to the next. Ready nodes sit in one heap per weight,
// keyed by the work they had left when they joined plus what their weight
// had lost by then, so an event costs a step per weight present and a
// logarithm of the number of nodes, not a walk over them; a node ending
// re-examines only the nodes linked to it (or to one of its ancestors) and
// their subtrees.
class CForecastScheduler
{
public:
    static constexpr qint64 BudgetMs = 10000;
    // A node whose remaining work falls to this or less has ended.
    static constexpr qint64 EndTolerance = 90;

    CForecastScheduler(CProjectTree &store, const CConfiguration &calendar, int pctNonCounted);

    // Runs the whole forecast.
    void Run(qint64 now);
    // True once more than BudgetMs have passed since the run began; the
    // first time, it also switches "Real Time" off (in memory and in the
    // settings) when it was on.
    bool IsTimedOut();
    const tForecastRun &Result() const { return m_result; }

    // Steps of the run, for one node (by its index in depth-first order).
    void PrepareForecast(int i);
    bool DateCompletedNode(int i);
    bool ReleaseByPredecessors(int i);
    void PropagateForecastEnd(int i);

private:
    struct tNode
    {
        CProject *node = nullptr;
        int parent = -1;      // -1: a top-level node
        int end = 0;          // one past the last index of its subtree
        int weight = 1;       // priority + 1, at least 1
        bool onRun = false;   // still has work to place
        bool onDone = false;  // completed without recorded time, waiting for dates
        bool ready = false;
        int runInSubtree = 0; // nodes of its subtree (itself too) on the run list
        int doneInSubtree = 0;
        int runChildren = 0;  // children on the run list
        bool maxChildEndStale = false;
        qint64 maxChildEnd = 0;   // the latest computed end among its children
        qint64 ownWork = 0;       // own remaining work when the run began
        std::vector<int> successors; // nodes with a link to this one
    };

    void Flatten();
    int IndexOf(const CProject *node) const;
    void SetEnd(int i, qint64 end);
    void LeaveRun(int i);
    void LeaveDone(int i);
    void Changed(int i);
    void DrainChanges();
    qint64 BaseStart(int i) const;
    qint64 ParentInheritedStart(int i) const;
    qint64 LatestChildEnd(int i);
    void MainLoop();

    CProjectTree &m_store;
    const CConfiguration &m_calendar;
    int m_pct = 0;
    qint64 m_now = 0;
    qint64 m_startTick = 0;
    tForecastRun m_result;

    std::vector<tNode> m_nodes;
    QHash<const CProject *, int> m_index;
    std::vector<int> m_changed;   // nodes whose end or run state changed
    std::vector<int> m_pendingRun; // released during the run, not yet ready
};
