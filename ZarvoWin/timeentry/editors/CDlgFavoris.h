#pragma once
#include "ChangedMeanwhile.h"

#include <QDialog>
#include <QString>

class CComboBoxSuper;
class CReadOnlyCB;
class QLabel;
class QLineEdit;
class QPushButton;

// Creates or edits one favourite: a project, an activity, an hourly rate
// and a title from which time entries start in one click. At least a
// project or an activity is needed (a warning picture says so while
// neither is chosen); choosing a project or an activity preselects its
// default activity and rate. A missing project, activity or rate can be
// made from here. OK stores the favourite; one identical to a live
// favourite is refused with a message, and a write that fails is told,
// both leaving the dialog open. A favourite that another window changed
// or deleted while the dialog was open is not written over in silence: OK
// shows both and the user keeps the stored one (nothing written, the
// dialog closes as Rejected), keeps theirs, or goes back to the dialog.
// DialogAnswers<CDlgFavoris> answers it in tests.
class CDlgFavoris : public QDialog
{
    Q_OBJECT
public:
    static constexpr int DialogId = 384;
    // Texts of ours: the favourite changed or was deleted meanwhile, and
    // the buttons of the question.
    enum : int { TextChanged = 25304, TextChangedButtons = 25305, TextDeleted = 25306 };
    enum : int {
        IdOk = 1,
        IdCancel = 2,
        IdRate = 1009,
        IdAddRate = 1010,
        IdRateLabel = 1011,
        IdProjectLabel = 1052,
        IdTitle = 1061,
        IdProject = 1077,
        IdActivity = 1078,
        IdAddProject = 1086,
        IdAddActivity = 1087,
        IdActivityLabel = 1178,
        IdWarning = 1182,
        IdTitleLabel = 1258,
    };

    // -1: a new favourite.
    explicit CDlgFavoris(int favoriteId, QWidget *parent = nullptr);

    int exec() override;
    // Fills the dialog (exec does it first).
    void Prepare();

    int FavoriteId() const { return m_favoriteId; }
    int ProjectId() const { return m_project; }
    int ActivityId() const { return m_activity; }
    int RateId() const { return m_rate; }
    QString Title() const { return m_title; }

    CComboBoxSuper *ProjectList() const { return m_projects; }
    CReadOnlyCB *ActivityList() const { return m_activities; }
    CReadOnlyCB *RateList() const { return m_rates; }
    QLineEdit *TitleEdit() const { return m_titleEdit; }
    QWidget *Warning() const { return m_warning; }
    QPushButton *OkButton() const { return m_ok; }

    void OnProjectChosen();
    void OnActivityChosen();
    void OnNewProject();
    void OnNewActivity();
    void OnNewRate();
    void OnOk();

private:
    void FillProjects();
    void FillActivities();
    void FillRates();
    void UpdateOkState();
    // Takes what the lists show now, so that a refill keeps it.
    void ReadChoices();
    // Asks the user when the stored favourite changed since the dialog
    // read it.
    ChangedMeanwhile::Choice CheckChangedMeanwhile();
    // "project / activity / rate / title", the parts that are set.
    static QString Describe(int project, int activity, int rate, const QString &title);

    // The stored favourite as the dialog read it.
    struct tStored
    {
        bool live = false;
        int project = -1;
        int activity = -1;
        int rate = -1;
        QString title;
        bool operator==(const tStored &) const = default;
    };
    tStored ReadStored() const;

    int m_favoriteId;
    int m_project = -1;
    int m_activity = -1;
    int m_rate = -1;
    QString m_title;
    bool m_prepared = false;
    tStored m_stored;

    CComboBoxSuper *m_projects = nullptr;
    CReadOnlyCB *m_activities = nullptr;
    CReadOnlyCB *m_rates = nullptr;
    QLineEdit *m_titleEdit = nullptr;
    QWidget *m_warning = nullptr;
    QPushButton *m_ok = nullptr;
};
