#pragma once
#include "EntryRecordCombos.h"

#include <QDialog>

class CComboBoxSuper;
class CReadOnlyCB;
class CTransparentImage;
class QCheckBox;
class QComboBox;
class QPushButton;

// Chooses a new project, activity and/or hourly rate for several time
// entries at once: each value changes only when its box is ticked. The
// dialog writes nothing; after Accepted each id is the chosen record's, -1
// to clear the value, or Unchanged (-2) to keep it, and the caller applies
// them (CBdD::ReassignTimeEntries). DialogAnswers<CDlgModifTasks> answers
// it in tests.
class CDlgModifTasks : public QDialog
{
    Q_OBJECT
public:
    static constexpr int DialogId = 494;
    static constexpr int Unchanged = -2;
    enum : int {
        IdOk = 1,
        IdCancel = 2,
        IdRate = 1009,
        IdRateBox = 1018,
        IdProject = 1077,
        IdActivity = 1078,
        IdAddProject = 1086,
        IdAddActivity = 1087,
        IdAddRate = 1088,
        IdWarning = 1182,
        IdProjectBox = 1371,
        IdActivityBox = 1372,
    };

    explicit CDlgModifTasks(QWidget *parent = nullptr);
    ~CDlgModifTasks() override;

    int exec() override;

    int ProjectId() const { return m_projectId; }
    int ActivityId() const { return m_activityId; }
    int RateId() const { return m_rateId; }

    QWidget *Control(int id) const;

private:
    void BuildControls();
    // Enables the combo and "Ajouter" of each ticked box, then the state.
    void OnBoxClicked();
    void UpdateState();
    void OnProjectSelected();
    void OnActivitySelected();
    void OnAddProject();
    void OnAddActivity();
    void OnAddRate();
    void OnOk();

    int m_projectId = -1;
    int m_activityId = -1;
    int m_rateId = -1;

    QCheckBox *m_projectBox = nullptr;
    QCheckBox *m_activityBox = nullptr;
    QCheckBox *m_rateBox = nullptr;
    CComboBoxSuper *m_project = nullptr;
    CReadOnlyCB *m_activity = nullptr;
    CReadOnlyCB *m_rate = nullptr;
    QPushButton *m_addProject = nullptr;
    QPushButton *m_addActivity = nullptr;
    QPushButton *m_addRate = nullptr;
    CTransparentImage *m_warning = nullptr;
    QPushButton *m_ok = nullptr;
    EntryRecordCombos m_combos{nullptr, nullptr, nullptr};
};
