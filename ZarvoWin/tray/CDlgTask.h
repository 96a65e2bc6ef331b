#pragma once
#include "ImageList.h"

#include <QDialog>

#include <vector>

class CComboBoxSuper;
class CReadOnlyCB;
class CTrayDatabase;
class CTransparentImage;
class CZarvoTrayApp;
class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "Tâche": starts a new running entry from the tray. The user picks a
// project (its full name shown when the list is closed), an activity and a
// rate, each choice bringing its defaults (a project its activity and rate,
// an activity its rate), may mark it invoiced and give a title and notes.
// OK needs a project or an activity and starts the entry at the moment the
// dialog opened, ending the one that ran. The lists are those of the
// user's database the dialog opened on, and the entry goes there: when the
// tray's user changed meanwhile (the main program chose another one), OK
// writes nothing, says that the user changed and the task was not started,
// and closes the dialog.
class CDlgTask : public QDialog
{
    Q_OBJECT
public:
    enum : int {
        DialogId = 406,
        ProjectLabel = 1052,
        ProjectList = 1077,
        ActivityLabel = 1178,
        ActivityList = 1078,
        RateLabel = 1011,
        RateList = 1009,
        StartLabel = 1048,
        EndLabel = 1049,
        StartText = 1017,
        EndText = 1176,
        Invoiced = 1177,
        TitleLabel = 1258,
        TitleEdit = 1061,
        NotesLabel = 1005,
        NotesEdit = 1006,
        Warning = 1182,
        OkButton = 1,
        CancelButton = 2,
    };
    enum : int {
        TextChooseOne = 115,
        TextNoRate = 118,
        TextWriteFailed = 123,
        TextError = 124,
    };

    CDlgTask(CZarvoTrayApp &app, QWidget *parent = nullptr);

    // The live activities in their order, with each one's default rate.
    static void FillActivityCombo(CTrayDatabase &db, CReadOnlyCB &combo, std::vector<int> &rates);
    // The live rates by id: "name", or "name ( amount )" for a non-zero one.
    void FillRateCombo(CTrayDatabase &db, CReadOnlyCB &combo) const;

    qint64 StartTime() const { return m_start; }
    // The user's database the lists were read from.
    const QString &DatabasePath() const { return m_databasePath; }
    CComboBoxSuper *Projects() const { return m_projects; }
    CReadOnlyCB *Activities() const { return m_activities; }
    CReadOnlyCB *Rates() const { return m_rates; }
    QCheckBox *InvoicedBox() const { return m_invoiced; }
    QLineEdit *Title() const { return m_title; }
    QPlainTextEdit *Notes() const { return m_notes; }
    QPushButton *Ok() const { return m_ok; }
    CTransparentImage *WarningPicture() const { return m_warning; }

    void accept() override;

private:
    void UpdateOkState();
    void OnSelChangeProject();
    void OnSelChangeActivity();
    // Selects the first item after the undefined one whose id is `id`.
    static void SelectId(CReadOnlyCB *combo, int id);

    CZarvoTrayApp &m_app;
    qint64 m_start = 0;
    QString m_databasePath;
    CComboBoxSuper *m_projects = nullptr;
    CReadOnlyCB *m_activities = nullptr;
    CReadOnlyCB *m_rates = nullptr;
    QCheckBox *m_invoiced = nullptr;
    QLineEdit *m_title = nullptr;
    QPlainTextEdit *m_notes = nullptr;
    QPushButton *m_ok = nullptr;
    CTransparentImage *m_warning = nullptr;
    // The projects' pictures, as the main program shows them.
    ImageList m_images{16};
    // Parallel to the lists: each project's default activity and rate, each
    // activity's default rate (-1 none; index 0 the undefined item).
    std::vector<int> m_projectActivities;
    std::vector<int> m_projectRates;
    std::vector<int> m_activityRates;
};
