#pragma once
#include "SyncFileStages.h"
#include "SyncRun.h"

#include <QDialog>
#include <atomic>

class CInfosProgression;
class QLabel;
class QPushButton;
class QThread;

// The run of a device synchronisation, shown step by step: the stages of
// SyncRun over the files, on a worker thread with connections of its own.
// The questions about overlapping entries are asked here on the interface
// thread (CDlgInsertion, apply box shown, names read from the copy).
// "Annuler" is seen before the finalisation starts; Escape and closing the
// window are "Annuler" until the run has ended (the window stays until
// then), and "Fermer" after. DialogAnswers<CDlgSynchro> answers it in tests.
class CDlgSynchro : public QDialog
{
    Q_OBJECT
public:
    enum ControlId { DialogId = 424, StepListId = 1199, StatusLineId = 1200, IconId = 1201 };

    // `setup` without its question and finalisation hooks: this dialog
    // gives them.
    explicit CDlgSynchro(SyncFileStages::Setup setup, QWidget *parent = nullptr);
    ~CDlgSynchro() override;

    int exec() override;

    // Starts the run (done once, when the dialog is first shown).
    void Start();
    bool IsRunning() const { return m_running; }
    bool HasEnded() const { return m_ended; }
    SyncRun::Outcome Outcome() const { return m_outcome; }
    // Lets events run until the run ended (for tests and the seam).
    void WaitForEnd();

    // "Annuler": asks the run to stop; seen only before the finalisation.
    void CancelRun();

    CInfosProgression *StepList() const { return m_steps; }
    QLabel *StatusLine() const { return m_status; }
    // What the run said of why it stopped, under the status line (hidden
    // when it said nothing).
    QLabel *ReasonLine() const { return m_reason; }
    QPushButton *CloseButton() const { return m_close; }
    QPushButton *CancelButton() const { return m_cancel; }

signals:
    void runEnded(int outcome);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    class Steps;
    void Finish(SyncRun::Outcome outcome, const QString &reason);
    SyncFileStages::OverlapAnswer AskOverlap(const std::vector<tTacheFull> &entries);

    SyncFileStages::Setup m_setup;
    // 0 open, 1 cancelled, 2 the finalisation started.
    std::atomic<int> m_state{0};
    bool m_running = false;
    bool m_ended = false;
    SyncRun::Outcome m_outcome = SyncRun::Outcome::Failed;
    QThread *m_worker = nullptr;

    CInfosProgression *m_steps;
    QLabel *m_status;
    QLabel *m_reason;
    QLabel *m_icon;
    QPushButton *m_close;
    QPushButton *m_cancel;
};
