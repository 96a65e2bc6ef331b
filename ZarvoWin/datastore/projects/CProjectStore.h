#pragma once
#include "CForecastScheduler.h"
#include "CProject.h"
#include "CProjectTree.h"
#include "CTreeFiller.h"
#include "tDebutFin.h"
#include "tElement.h"
#include "tHistory.h"
#include "tProjectContext.h"
#include "tRate.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <functional>
#include <vector>

class CComboFiller;

// The one in-memory model of the selected user's projects, activities,
// rates, recent combinations and booked intervals. The database layer fills
// it; every view reads it. Pointers to nodes stay valid until the next
// Clear or ClearPart(0).
class CProjectStore : public CProjectTree
{
public:
    // Writes one or two child lists and, for a move, the moved project's
    // parent: (parent, childs, second parent or -2, second childs, moved
    // project or -1).
    using ChildOrderWriter =
        std::function<bool(int, const QString &, int, const QString &, int)>;
    // Reads (start, end) of the entries ending after an instant; false when
    // the read failed.
    using BookedPeriodsReader = std::function<bool(std::vector<tDebutFin> &periods, qint64 after)>;
    // How the store reads and writes the current user's database. The
    // database layer gives them to the application's store when it first
    // meets it; what was set by hand stays. Without them the store keeps
    // its changes in memory and reads nothing.
    struct tDatabaseAccess
    {
        ChildOrderWriter writeChildOrders;
        std::function<void(CProjectStore &)> loadHistory;
        BookedPeriodsReader readBookedPeriods;
        // Reads the tree again and tells the windows (a reload put off
        // while the nodes were held).
        std::function<void()> reloadNodes;
    };
    void SetDatabaseAccess(tDatabaseAccess access);
    bool HasDatabaseAccess() const { return m_databaseAccessGiven; }

    CProjectStore();
    ~CProjectStore();
    CProjectStore(const CProjectStore &) = delete;
    CProjectStore &operator=(const CProjectStore &) = delete;

    // Everything: nodes, activities, rates and the recent list.
    void Clear();
    // 0 nodes, 1 activities, 2 rates, 3 recent list.
    void ClearPart(int kind);

    // ---- nodes ----
    CProject *GetRoot() override { return &m_root; }
    const CProject *GetRoot() const override { return &m_root; }
    CProject *AddProject(const tElement &element, CProject *parent, const QString &childOrder);
    // A project to add with its own child-order text.
    struct tNewProject
    {
        tElement element;
        QString childOrder;
    };
    // AddProject for each project in turn under one parent, with the same
    // nodes in the same places, the placement done once for all of them.
    // One node per project, null where AddProject would add none.
    std::vector<CProject *> AddProjects(const std::vector<tNewProject> &projects, CProject *parent);
    bool SetForecast(const tForecast &record);
    bool AddTaskStatistics(int projectId, int activityId, int count, qint64 seconds,
                           qint64 firstStart, qint64 lastEnd);
    CProject *UpdateProject(const tElement &element);
    void ReparentProject(CProject *node, CProject *oldParent, CProject *newParent);
    // Mode 0: last child of the target; 1: before the target; 2: after it.
    // Refuses (false) a move into the node itself or below it.
    bool MoveNode(CProject *node, CProject *target, int mode);

    // ---- look-ups ----
    CProject *FindNode(int activityId, int projectId) const override;
    CProject *GetNode(int projectId) const override;
    int GetProjectCount() const { return int(m_projects.size()) - 1; }
    bool GetProject(int id, tElement &element) const;
    QString GetProjectName(int id) const;
    QString GetActivityName(int id) const;
    quint32 GetActivityColor(int id) const override;
    float GetRateValue(int id) const;
    QString GetNodeFullName(int projectId, int activityId) const;
    const tElement *GetActivity(int id) const override;
    const tRate *GetRate(int id) const;
    const QHash<int, tElement> &Activities() const { return m_activities; }
    const QHash<int, tRate> &Rates() const { return m_rates; }

    void SetActivity(int id, const tElement &activity);
    void SetRate(int id, const tRate &rate);

    // ---- recent list ----
    void AddHistory(int projectId, int activityId, int rateId);
    // Appends an entry as the list is loaded (oldest last).
    void AppendHistory(int projectId, int activityId, int rateId);
    bool GetHistoryEntry(int i, int &projectId, int &activityId, int &rateId) const;
    int GetHistoryCount() const { return int(m_history.size()); }
    // Reloads the recent list (the application's store: from the current
    // user's database, CBdD::LoadHistory).
    void SetHistoryLoader(std::function<void(CProjectStore &)> loader) { m_historyLoader = std::move(loader); }

    // ---- booked intervals ----
    std::vector<tDebutFin> &BookedPeriods() { return m_booked; }
    qint64 m_bookedFrom = 0;
    // Forgets the booked intervals, also those handed to the settings
    // object, so that the next forecast run reads them again. Done when
    // the nodes are cleared and after time entries changed.
    void ResetBookedPeriods();

    // ---- forecast scheduler ----
    // Gives every open node of the tree a computed start and end from now
    // on (see CForecastScheduler), after loading the booked time. A call
    // made while a run is going on (from a timer or a refresh) does
    // nothing and answers with `ran` false. Shows nothing: the caller
    // shows the result's warning after the run.
    tForecastRun ComputeForecast();
    bool IsForecastRunning() const { return m_forecastBusy; }
    // The moment the last run planned from (0 before the first run): a
    // node that can start at once starts then.
    qint64 ForecastFrom() const override { return m_forecastFrom; }
    // True once the current run has used up its time budget.
    bool IsForecastTimedOut();
    // Reads the booked intervals of the entries ending after `date` (the
    // application's store: from the current user's database, with a
    // connection of its own) and hands them to the settings object; does
    // nothing when they were already read from a date not later than it.
    void LoadTaskPeriods(qint64 date);
    // Shows a text in the main frame's status bar during a run, then an
    // empty text for the idle one; set by the main frame.
    void SetForecastStatusHook(std::function<void(const QString &)> hook)
    {
        m_forecastStatus = std::move(hook);
    }

    // ---- recorded-time totals ----
    // The largest Taches.Date_Modif seen by the last totals load (0: none
    // yet), the second that load began in, and what it saw of the rows
    // stamped at or after that stamp, to notice a later change, also one
    // made within the same second or an undo that puts older stamps back.
    qint64 m_totalsLoadTime = 0;
    qint64 m_totalsReadAt = 0;
    QString m_totalsBoundary;
    // The databases whose totals this store has loaded: only a first load
    // may take the sums kept from an earlier run.
    QSet<QString> m_totalsLoadedFrom;

    // ---- filling controls ----
    void FillProjectCombo(CComboFiller &combo, const CProject *parent, int selectedId,
                          int depth = 0) const;
    void FillProjectTree(CTreeFiller &tree, CTreeFiller::Item parentItem, bool showActivities,
                         bool dataIsIds, const CProject *start, const QString &checked,
                         const QString &collapsed) const;
    // One item per recent entry below parentItem (its items reused, the
    // rest removed), each with HistoryImage and its index as data.
    void FillHistoryTree(CTreeFiller &tree, CTreeFiller::Item parentItem, bool reload);
    static constexpr int HistoryImage = 21;

    // ---- predecessor loops ----
    // False when a chain from one of the candidate keys (predecessor links
    // followed down the tree and up to the linking nodes' ancestors)
    // reaches a family key, and when the check runs out of time: a check
    // that could not finish never lets a loop be stored.
    bool CheckPredecessorLoops(const QString &familyKeys, const QString &candidateKeys);
    // False when an own link of one of the nodes leads back to that node,
    // one of its ancestors or one of its descendants, or out of time.
    bool CheckOwnLinks(const std::vector<const CProject *> &nodes) override;
    // The answers of CheckNewPredecessor.
    enum { LinkAdded = 0, LinkExists = 603, LinkLoop = 574, LinkTimedOut = 664 };
    // Adds `predecessor` as a link of `node` unless it is there already or it
    // would close a loop; returns one of the answers above. A check that ran
    // out of time adds nothing: the caller asks the user and may then call
    // CProject::SetPredecessor itself.
    int AddPredecessorLink(CProject *node, CProject *predecessor, int lag, int unit);
    // The same answers for a link not added: LinkAdded when `predecessor`
    // may become a link of `node`. Without the budget the check runs to its
    // end (it is linear in the links), never answering LinkTimedOut.
    int CheckNewPredecessor(CProject *node, CProject *predecessor, bool withBudget = true);
    // The message of an answer of AddPredecessorLink, formatted with the
    // predecessor's full name where it takes one.
    static QString PredecessorMessage(int answer, const QString &name);
    bool LoopCheckTimedOut() const override;
    void StartLoopCheck();
    qint64 m_loopCheckTick = 0;
    static constexpr qint64 LoopCheckBudgetMs = 3000;

    // ---- changes and context ----
    qint64 LastModified() const { return m_lastModified; }
    // Counts the changes: every Touch and every clearing of the nodes adds
    // one. Unlike LastModified, which keeps whole seconds, two changes in
    // one second differ, and a window that keeps nodes from a build can
    // tell that the nodes it holds may be gone.
    quint64 ChangeCount() const { return m_changeCount; }
    void Touch();
    tProjectContext &Context() { return m_context; }
    const tProjectContext &Context() const override { return m_context; }
    void SetChildOrderWriter(ChildOrderWriter writer) { m_childOrderWriter = std::move(writer); }

    // ---- windows that keep nodes ----
    // A window that keeps pointers to nodes while it is open (the project
    // editor and its pages, the copy dialog) holds the store for its life.
    // While a hold lives no reload frees the nodes: a reload of the tree
    // asked meanwhile is put off (the tree stays as it is), and made when
    // the last hold ends, after what the application put off itself (a
    // network update that would replace the database).
    class tNodeHold
    {
    public:
        explicit tNodeHold(CProjectStore *store);
        ~tNodeHold();
        tNodeHold(const tNodeHold &) = delete;
        tNodeHold &operator=(const tNodeHold &) = delete;
        // Lets the nodes go before the end of the hold's life (a window
        // closed whose object lives on); the second call does nothing.
        void Release();

    private:
        CProjectStore *m_store;
    };
    bool NodesHeld() const { return m_nodeHolds > 0; }
    // A reload of the tree was asked while the nodes were held: it is made
    // when the last hold ends, unless the nodes were cleared before.
    void PutOffNodeReload() { m_nodeReloadPutOff = true; }
    bool NodeReloadPutOff() const { return m_nodeReloadPutOff; }
    // Called when the last hold ends, before the put-off reload.
    void SetHoldEndedHook(std::function<void()> hook) { m_holdEnded = std::move(hook); }

private:
    void EndHold();

    void FillTreeLevel(CTreeFiller &tree, CTreeFiller::Item parentItem, bool showActivities,
                       bool dataIsIds, const CProject *node, bool keysAsIds,
                       const QSet<qint64> &checked, const QSet<qint64> &collapsed,
                       bool checkAll, bool expandAll) const;

    CProject m_root;
    QHash<int, CProject *> m_projects;
    QHash<int, tElement> m_activities;
    QHash<int, tRate> m_rates;
    std::vector<tHistory> m_history;
    std::vector<tDebutFin> m_booked;
    qint64 m_lastModified = 0;
    quint64 m_changeCount = 0;
    tProjectContext m_context;
    ChildOrderWriter m_childOrderWriter;
    std::function<void(CProjectStore &)> m_historyLoader;
    BookedPeriodsReader m_bookedPeriodsReader;
    bool m_databaseAccessGiven = false;
    std::function<void()> m_nodeReloader;
    int m_nodeHolds = 0;
    bool m_nodeReloadPutOff = false;
    std::function<void()> m_holdEnded;
    CForecastScheduler *m_currentRun = nullptr;
    bool m_forecastBusy = false;
    qint64 m_forecastFrom = 0;
    std::function<void(const QString &)> m_forecastStatus;
};
