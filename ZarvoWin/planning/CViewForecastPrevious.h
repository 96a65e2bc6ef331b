#pragma once
#include "CForecastPage.h"

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The predecessors page of the project editor: the nodes that must be
// finished before the edited one starts, each with its lag. Links are
// added and changed through the project picker and refused when they
// would make the planning circular; they change the working copy at once.
class CViewForecastPrevious : public CForecastPage
{
    Q_OBJECT
public:
    static constexpr int DialogId = 495;
    enum : int {
        IdAdd = 1086,
        IdRemove = 1179,
        IdChange = 1298,
        IdList = 1374,
    };
    // The question id under which the remove's answer is remembered.
    static constexpr int RemoveQuestion = 4;

    explicit CViewForecastPrevious(QWidget *parent = nullptr);

    // Binds the node and lists its links to nodes the store holds; the
    // picker excludes the node (and what lies below it) unless it is new.
    void SetProject(bool isNew, CProject *node) override;

    void OnAdd();
    void OnChange();
    void OnRemove();

    QTreeWidget *List() const { return m_list; }
    QPushButton *AddButton() const { return m_add; }
    QPushButton *ChangeButton() const { return m_change; }
    QPushButton *RemoveButton() const { return m_remove; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The picker's answer: false on Cancel or without a node.
    bool Pick(CProject *&chosen, int &lag, int &unit, CProject *preset);
    // The store's answer for a new link to `predecessor`, the time-out
    // question asked and its Yes checked again to the end; a refusal is
    // told. True when the link may be made.
    bool Accepts(CProject *predecessor);
    void FillRow(QTreeWidgetItem *item, const CProject *predecessor, int projectId, int activityId, int lag,
                 int unit);
    void UpdateButtons();

    CProject *m_node = nullptr;
    bool m_new = false;
    QTreeWidget *m_list = nullptr;
    QPushButton *m_add = nullptr;
    QPushButton *m_change = nullptr;
    QPushButton *m_remove = nullptr;
};
