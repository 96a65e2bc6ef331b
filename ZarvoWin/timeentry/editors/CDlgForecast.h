#pragma once
#include "CProject.h"
#include "CProjectStore.h"

#include <QDialog>
#include <array>
#include <memory>

class CComboBoxSuper;
class CFitScrollArea;
class CForecastPage;
class CReadOnlyCB;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

// The project editor: a project, or an activity row of a project, with
// its planning data. A band holds the name, the type, the priority and
// the status; the tabs hold the pages (general, planning, predecessors,
// title and notes), which all edit a private working copy of the node.
// Nothing reaches the store or the database before the save, which writes
// only what changed. The working copy and the pages keep pointers to the
// store's nodes (the node given, its parent and children): the editor
// holds the store while it is open, so that no reload (a network update,
// the planning window's refresh) frees them; the tree is read again when
// it closes.
//
// OK saves a change and closes with Accepted; OK without a change closes
// with Rejected. Cancel after a change asks whether to save it (an answer
// that can be remembered). A save that fails is told, the dialog stays
// open and SavedId() stays -1. The status of a node below a hidden or
// completed parent follows the parent and cannot be changed.
// DialogAnswers<CDlgForecast> answers it in tests.
class CDlgForecast : public QDialog
{
    Q_OBJECT
public:
    static constexpr int DialogId = 463;
    enum : int {
        IdOk = 1,
        IdCancel = 2,
        IdNameLabel = 1003,
        IdName = 1004,
        IdTypeLabel = 1012,
        IdType = 1013,
        IdStatus = 1077,
        IdActivity = 1078,
        IdPriorityLabel = 1316,
        IdPriority = 1317,
        IdStatusLabel = 1318,
        IdTabs = 1346,
        IdAddActivity = 1385,
        IdInherited = 1424,
    };
    enum Tab : int { GeneralTab = 0, PlanningTab = 1, PredecessorsTab = 2, NotesTab = 3, TabCount = 4 };

    // A new top-level project.
    explicit CDlgForecast(QWidget *parent = nullptr);
    // New, not activity: a new project below `node` (null: at the top).
    // New, activity: a new activity row of the project `node`.
    // Not new: edits `node`, a project or an activity row.
    CDlgForecast(bool isNew, bool activity, CProject *node, int initialTab, QWidget *parent = nullptr);
    ~CDlgForecast() override;

    int exec() override;
    // Fills the dialog (exec does it first).
    void Prepare();

    // -1 until something was stored; then the project's id, or the
    // project id of the activity row saved.
    int SavedId() const { return m_savedId; }
    bool IsNew() const { return m_new; }
    bool IsActivityRow() const { return m_working.ActivityId() != -2; }
    CProject &WorkingCopy() { return m_working; }
    const CProject *Snapshot() const { return m_snapshot.get(); }

    CForecastPage *Page(int tab) const;
    QTabWidget *Tabs() const { return m_tabs; }
    QLineEdit *NameEdit() const { return m_name; }
    CReadOnlyCB *ActivityList() const { return m_activity; }
    QPushButton *AddActivityButton() const { return m_addActivity; }
    CComboBoxSuper *TypeList() const { return m_type; }
    CComboBoxSuper *PriorityList() const { return m_priority; }
    CComboBoxSuper *StatusList() const { return m_status; }
    QLabel *InheritedPicture() const { return m_inherited; }
    QPushButton *OkButton() const { return m_ok; }

    // Reads the band and the pages into the working copy; true when it
    // differs from what was given.
    bool CollectAndCompare();
    void OnOk();
    void reject() override;
    void done(int result) override;

    // The completion percentage of work done against the estimate.
    static int CompletionPercent(qint64 done, qint64 estimated);

private:
    void Build();
    // The pages need more room than the band: no label is cut; where the
    // screen is too small for them, they scroll so that the editor fits.
    void FitScreen();
    void showEvent(QShowEvent *event) override;
    void FillActivityList(int selectedId);
    void ApplyStatusRule();
    void OnActivityChosen();
    void OnNewActivity();
    void OnParentChanged();
    void OnStatusChosen();
    void OnNameChanged();
    void OnTabChanged(int index);
    // Asks the completion question when the planning page plans against
    // an estimate; may change the working copy's status.
    void AskCompletion();
    // Saves what changed; closes with Accepted when something was stored.
    void Save();

    // Declared first: held until the copies and the pages let the nodes go.
    CProjectStore::tNodeHold m_hold;
    CProject m_working;
    CProject *m_given = nullptr;
    std::unique_ptr<CProject> m_snapshot;
    bool m_new = true;
    int m_initialTab = 0;
    int m_savedId = -1;
    bool m_prepared = false;
    std::array<CForecastPage *, TabCount> m_pages{};
    CFitScrollArea *m_tabsScroller = nullptr;
    QSize m_leastSize;

    QLineEdit *m_name = nullptr;
    QLabel *m_nameLabel = nullptr;
    CReadOnlyCB *m_activity = nullptr;
    QPushButton *m_addActivity = nullptr;
    CComboBoxSuper *m_type = nullptr;
    CComboBoxSuper *m_priority = nullptr;
    CComboBoxSuper *m_status = nullptr;
    QLabel *m_inherited = nullptr;
    QTabWidget *m_tabs = nullptr;
    QPushButton *m_ok = nullptr;
};
