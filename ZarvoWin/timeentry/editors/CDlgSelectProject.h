#pragma once
#include <QDialog>
#include <QString>

class CMyEdit;
class CProject;
class CReadOnlyCB;
class QLineEdit;
class QPushButton;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

// Picks one node of the project tree (a project, or an activity below a
// project when the planning shows activities) with a lag of whole hours
// or days, for a predecessor link. The caller sets the excluded node (it
// and everything below it are not offered), the node to preselect, the
// lag and its unit, runs the dialog and reads them back after OK; the top
// item "Projets" gives no node.
//
// The tree remembers per user which projects were collapsed and where it
// was scrolled (saved on OK and Cancel); the unit of the last closing is
// the next default. Nothing is written to the database. A double click on
// an item acts as OK; one beside every item does nothing.
// DialogAnswers<CDlgSelectProject> answers it in tests.
class CDlgSelectProject : public QDialog
{
    Q_OBJECT
public:
    static constexpr int DialogId = 496;
    enum : int {
        IdOk = 1,
        IdCancel = 2,
        IdProjectLabel = 1052,
        IdLag = 1188,
        IdUnit = 1308,
        IdLagStep = 1316,
        IdTree = 1355,
        IdFullName = 1368,
        IdLagLabel = 1439,
    };
    static constexpr int Hours = 3;
    static constexpr int Days = 4;
    static constexpr int MaxLag = 99999;

    explicit CDlgSelectProject(QWidget *parent = nullptr);
    ~CDlgSelectProject() override;

    // ---- what the caller sets before the run ----
    void SetExcluded(CProject *node) { m_excluded = node; }
    void SetSelected(CProject *node) { m_selected = node; }
    // The lag and its unit (Hours or Days).
    void SetLag(int value, int unit);
    // ---- what it reads after OK ----
    // Null for the top item "Projets".
    CProject *Selected() const { return m_selected; }
    int Lag() const { return m_lag; }
    int LagUnit() const { return m_lagUnit; }

    int exec() override;
    // Fills the dialog from the members above (exec does it first).
    void Prepare();

    // The item of the node (or of a node with the same project and
    // activity ids) at or below `parent` (the whole tree when null).
    QTreeWidgetItem *FindItem(const CProject *node, QTreeWidgetItem *parent = nullptr) const;
    // The per-user settings: the first visible node ("%d;%d") and the
    // collapsed projects (",12,40,").
    static QString PositionSetting() { return QStringLiteral("DlgSelectProject Pos"); }
    static QString CollapsedSetting() { return QStringLiteral("DlgSelectProject Collapsed"); }

    QTreeWidget *Tree() const { return m_tree; }
    QLineEdit *FullNameEdit() const { return m_fullName; }
    CMyEdit *LagEdit() const { return m_lagEdit; }
    CReadOnlyCB *UnitList() const { return m_unit; }
    QPushButton *OkButton() const { return m_ok; }
    QToolButton *StepUpButton() const { return m_up; }
    QToolButton *StepDownButton() const { return m_down; }
    // The node shown first when the dialog last closed.
    const CProject *LastPosition() const { return m_lastPosition; }

    void OnOk();
    void reject() override;
    // Steps the lag by `delta` (the up arrow adds one), never below 0.
    void StepLag(int delta);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FillTree();
    void LoadTreeState();
    void SaveTreeState();
    void OnSelectionChanged();

    CProject *m_excluded = nullptr;
    CProject *m_selected = nullptr;
    int m_lag = 0;
    int m_lagUnit = Hours;
    QTreeWidget *m_tree = nullptr;
    QLineEdit *m_fullName = nullptr;
    CMyEdit *m_lagEdit = nullptr;
    QToolButton *m_up = nullptr;
    QToolButton *m_down = nullptr;
    CReadOnlyCB *m_unit = nullptr;
    QPushButton *m_ok = nullptr;
    QTreeWidgetItem *m_topItem = nullptr;
    CProject *m_lastPosition = nullptr;
    QString m_collapsed;
    bool m_prepared = false;
};
