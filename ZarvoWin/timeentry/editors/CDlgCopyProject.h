#pragma once
#include "CProjectStore.h"

#include <QDialog>

class CProject;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;

// Copies a project under a new name to a parent picked in a tree of the
// projects, with or without its sub-projects and its planning
// information. The project itself and its sub-projects are not offered as
// parents; a parent whose adoption of the copy would close a predecessor
// loop is refused with a message and the previous choice comes back. A
// drop fixes the parent and a sibling of reference; the copy goes before
// or after that sibling while the parent stays the given one, else at the
// end of the new parent's children. exec() gives Accepted once the copy
// was made; a copy that fails is told and the dialog stays open. It keeps
// the store's nodes, which no reload frees while it is open; the tree is
// read again when it closes.
// DialogAnswers<CDlgCopyProject> answers it in tests.
class CDlgCopyProject : public QDialog
{
    Q_OBJECT
public:
    static constexpr int DialogId = 519;
    enum : int {
        IdCancel = 2,
        IdNameLabel = 1003,
        IdName = 1004,
        IdParentLabel = 1015,
        IdNote = 1325,
        IdTree = 1355,
        IdFullName = 1368,
        IdCopy = 1447,
        IdOptions = 1448,
        IdChildrenLabel = 1449,
        IdChildrenYes = 1450,
        IdChildrenNo = 1451,
        IdPlansLabel = 1452,
        IdPlansYes = 1453,
        IdPlansNo = 1454,
    };

    explicit CDlgCopyProject(QWidget *parent = nullptr);
    void done(int result) override;

    // The project to copy and the parent of the copy (null: the project's
    // own parent; the store's root: the top level).
    void SetProjects(CProject *source, CProject *target);
    // The sibling next to which the copy goes (null: at the end) and
    // whether before it.
    void SetSibling(const CProject *sibling, bool before);

    int exec() override;
    // Fills the dialog (exec does it first).
    void Prepare();

    // The project id of the parent chosen; -1 for the top level.
    int TargetParentId() const { return m_targetParentId; }
    // The item whose project id is `id` (null when there is none).
    QTreeWidgetItem *FindItem(int id) const;

    QLineEdit *NameEdit() const { return m_name; }
    QTreeWidget *Tree() const { return m_tree; }
    QLineEdit *FullNameEdit() const { return m_fullName; }
    QRadioButton *ChildrenYes() const { return m_childrenYes; }
    QRadioButton *PlansYes() const { return m_plansYes; }
    QRadioButton *PlansNo() const { return m_plansNo; }
    QWidget *Note() const { return m_note; }
    QPushButton *CopyButton() const { return m_copy; }

    void OnCopy();

private:
    void OnSelectionChanged();
    void ShowParentName(int id);
    void UpdateNote();

    // Declared first: held until every pointer below is gone.
    CProjectStore::tNodeHold m_hold;
    CProject *m_source = nullptr;
    int m_targetParentId = -1;
    int m_givenParentId = -1;
    const CProject *m_sibling = nullptr;
    bool m_before = true;
    bool m_prepared = false;

    QLineEdit *m_name = nullptr;
    QTreeWidget *m_tree = nullptr;
    QLineEdit *m_fullName = nullptr;
    QRadioButton *m_childrenYes = nullptr;
    QRadioButton *m_childrenNo = nullptr;
    QRadioButton *m_plansYes = nullptr;
    QRadioButton *m_plansNo = nullptr;
    QWidget *m_note = nullptr;
    QPushButton *m_copy = nullptr;
    // The item of the parent chosen, to come back to after a refusal.
    QTreeWidgetItem *m_targetItem = nullptr;
};
