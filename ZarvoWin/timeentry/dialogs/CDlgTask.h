#pragma once
#include "ChangedMeanwhile.h"
#include "EntryRecordCombos.h"
#include "tTacheFull.h"

#include <QDialog>

class CComboBoxSuper;
class CEditReadOnly;
class CMyDateTimeCtrl;
class CReadOnlyCB;
class CTransparentImage;
class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimeEdit;

// The time entry dialog: one entry's project, activity, hourly rate,
// start, end (none while it runs), invoiced flag, title and notes.
//
// In edit mode OK stores the entry; when it overlaps other entries the
// user chooses in the overlap dialog how they are resolved, and cancelling
// that question comes back here with nothing written. In delete mode the
// same dialog shows the entry read-only under a question, and "Supprimer"
// deletes it. exec() gives Accepted only when the entry was stored or
// deleted; a write that fails is told and the dialog stays open with what
// the user entered. A stored entry that the other program or another
// window changed (any of its fields, also twice within one second) while
// the dialog was open is not written over in silence: OK shows both
// versions and the user keeps the stored one (nothing is written, the
// user's edits are dropped; the dialog closes as Accepted with it, or as
// Rejected when it was deleted), keeps theirs, or goes back to the dialog.
// The row is compared again just before the write, after the overlap
// question, which may stay open while the other program writes; a row the
// user already decided on and unchanged since is not asked about again.
// DialogAnswers<CDlgTask> answers it in tests.
class CDlgTask : public QDialog
{
    Q_OBJECT
public:
    static constexpr int DialogId = 406;
    static constexpr int EditMode = 0;
    static constexpr int DeleteMode = 1;
    // Texts of ours: the entry changed or was deleted meanwhile, the
    // buttons of the question, and one version's times.
    enum : int {
        TextChanged = 25300,
        TextDeleted = 25301,
        TextChangedButtons = 25302,
        TextVersion = 25303,
        // One version's times followed by its project, activity, rate and
        // title, when the two versions differ in these.
        TextVersionWithRecords = 26001,
    };

    // Control ids.
    enum : int {
        IdOk = 1,
        IdCancel = 2,
        IdNotes = 1006,
        IdRate = 1009,
        IdTitle = 1061,
        IdProject = 1077,
        IdActivity = 1078,
        IdAddProject = 1086,
        IdAddActivity = 1087,
        IdAddRate = 1088,
        IdStartTime = 1169,
        IdStartDate = 1170,
        IdEndTime = 1171,
        IdEndDate = 1172,
        IdMakeRunning = 1173,
        IdGiveEnd = 1174,
        IdEndNow = 1175,
        IdRunningText = 1176,
        IdInvoiced = 1177,
        IdDelete = 1179,
        IdQuestionText = 1181,
        IdNoRecordWarning = 1182,
        IdStartNow = 1183,
        IdEndWarning = 1184,
        IdProjectName = 1299,
        IdActivityName = 1300,
        IdRateName = 1301,
        IdStartText = 1302,
        IdEndText = 1303,
        // Labels of ours.
        IdProjectLabel = 20000,
        IdActivityLabel = 20001,
        IdRateLabel = 20002,
        IdStartLabel = 20003,
        IdEndLabel = 20004,
        IdTitleLabel = 20005,
        IdNotesLabel = 20006,
    };

    // `entry` is copied; without one the dialog holds a new entry starting
    // now, running, with no project, activity or rate.
    CDlgTask(int mode, const tTacheFull *entry, QWidget *parent = nullptr);
    // Edit mode.
    explicit CDlgTask(const tTacheFull *entry, QWidget *parent = nullptr);
    ~CDlgTask() override;

    int exec() override;

    int Mode() const { return m_mode; }
    // The working copy: after Accepted in edit mode, the entry as stored.
    const tTacheFull &Entry() const { return m_entry; }
    // Whether the entry has an end (else it runs).
    bool HasEnd() const { return m_hasEnd; }
    // The control of that id (null when there is none).
    QWidget *Control(int id) const;

private:
    void BuildControls();
    void ShowEndGroup(bool hasEnd);
    void ApplyMode();
    // Reads the pickers into the working copy when asked, then shows the
    // warnings and enables OK.
    void UpdateState(bool readPickers);

    void OnProjectSelected();
    void OnActivitySelected();
    void OnRateSelected();
    void OnAddProject();
    void OnAddActivity();
    void OnAddRate();
    void OnGiveEnd();
    void OnMakeRunning();
    void OnOk();
    void OnDelete();
    enum class Stored { Written, NotWritten, KeptStored };
    // Stores the working copy, asking how overlaps are resolved:
    // NotWritten (nothing changed) when the user cancelled that or went
    // back, or the write failed; KeptStored when the user chose the entry
    // another window stored meanwhile.
    Stored StoreEntry();
    // Asks the user when the stored entry changed since the dialog read it
    // or since the user last decided on it; KeepStored has put the stored
    // entry in the working copy.
    ChangedMeanwhile::Choice CheckChangedMeanwhile();
    // Ends the dialog on the stored entry the user chose to keep.
    void EndWithStored();
    // The question's line for one version of the entry.
    QString VersionText(const tTacheFull &entry, const tTacheFull &other, bool withRecords) const;

    tTacheFull m_entry;
    // The stored row as the dialog read it, or as it was when the user
    // last decided on it (not read: no check at OK).
    tTacheFull m_read;
    bool m_readLive = false;
    bool m_rowRead = false;
    int m_mode = EditMode;
    bool m_hasEnd = false;
    // The entry's end pickers showed an end when the dialog opened.
    bool m_hadEnd = false;

    CComboBoxSuper *m_project = nullptr;
    CReadOnlyCB *m_activity = nullptr;
    CReadOnlyCB *m_rate = nullptr;
    QPushButton *m_addProject = nullptr;
    QPushButton *m_addActivity = nullptr;
    QPushButton *m_addRate = nullptr;
    CMyDateTimeCtrl *m_startDate = nullptr;
    QTimeEdit *m_startTime = nullptr;
    CMyDateTimeCtrl *m_endDate = nullptr;
    QTimeEdit *m_endTime = nullptr;
    QPushButton *m_startNow = nullptr;
    QPushButton *m_endNow = nullptr;
    QPushButton *m_makeRunning = nullptr;
    QPushButton *m_giveEnd = nullptr;
    QLabel *m_runningText = nullptr;
    QCheckBox *m_invoiced = nullptr;
    CEditReadOnly *m_title = nullptr;
    QPlainTextEdit *m_notes = nullptr;
    CTransparentImage *m_noRecordWarning = nullptr;
    CTransparentImage *m_endWarning = nullptr;
    QLabel *m_questionIcon = nullptr;
    QLabel *m_questionText = nullptr;
    CEditReadOnly *m_projectName = nullptr;
    CEditReadOnly *m_activityName = nullptr;
    CEditReadOnly *m_rateName = nullptr;
    CEditReadOnly *m_startText = nullptr;
    CEditReadOnly *m_endText = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    QPushButton *m_delete = nullptr;
    EntryRecordCombos m_combos{nullptr, nullptr, nullptr};
};
