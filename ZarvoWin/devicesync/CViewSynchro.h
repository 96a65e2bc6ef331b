#pragma once
#include "CBdD.h"
#include "CConfiguration.h"
#include "SyncReviewList.h"

#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class CSyncHost;
class CSynchroListCtrl;
class CMyToolTipCtrl;
class CViewDetailSynchro;
class CViewDetailSynchroForecast;
class CViewDetailSynchroTask;
class ProgressDlgShared;
class QGridLayout;
class QLabel;
class QPushButton;
class QThread;
class QWidget;

// The review of a device synchronisation, a tab of the main window's
// document area: the list of the differences between the user's database
// and the device's copy, each with its decision, the two sides of the
// selected element in detail panes, "Synchroniser" and "Annuler". Closing
// the tab is "Annuler". The review itself never writes to a database.
class CViewSynchro : public QWidget
{
    Q_OBJECT
public:
    enum ControlId {
        DialogId = 391,
        ListId = 1139,
        MessageText = 1142,
        MessageIcon = 1151,
        CancelButton = 1190,
        SynchroniseButton = 1148,
    };
    static constexpr int Margin = 5;
    enum Side { Device = 0, Local = 1 };

    // What the owner of the review runs when the user presses
    // "Synchroniser" (after the backup), and when the review ends by
    // "Annuler".
    using Runner = std::function<void(CViewSynchro &view)>;
    using CancelHandler = std::function<void()>;
    // Told the path of every database the review opens to show a row (a
    // seam for the tests; unset: nothing).
    using OpenObserver = std::function<void(const QString &path)>;

    // `host` (may be null: a window of its own) gives the tab.
    explicit CViewSynchro(CSyncHost *host, QWidget *parent = nullptr);
    ~CViewSynchro() override;

    // --- The differences ------------------------------------------------------
    // Compares the local database with the device's copy on a worker thread
    // with connections of its own; the list, the panes and the title are
    // then reset on this thread and differencesLoaded tells how it went.
    // The settings' date formats are copied now. False (nothing started)
    // while a comparison runs.
    bool LoadDifferences(const QString &devicePath, const QString &localPath);
    bool IsLoading() const;
    // Takes the differences a comparison made elsewhere (on the analysis's
    // worker) between the device's copy and the local database.
    void TakeDifferences(const QString &devicePath, const QString &localPath, SyncReviewList list, int count);
    // Asks a running comparison to stop (it ends as Cancelled).
    void CancelLoading();
    // The number of differing elements of the last comparison.
    int Count() const { return m_count; }
    CBdD::CompareOutcome Outcome() const { return m_outcome; }
    SyncReviewList &List() { return m_list; }
    const QString &DevicePath() const { return m_devicePath; }
    const QString &LocalPath() const { return m_localPath; }
    // "Synchronisation (n éléments)".
    QString Title() const;

    // --- The tab --------------------------------------------------------------
    // Shows the review in its tab (through the host).
    void Open();
    // "Annuler": closes the review.
    void Cancel();
    // Closes the review without "Annuler" (after a synchronisation ran).
    void EndReview();
    bool HasEnded() const { return m_ended; }

    // --- Synchronising --------------------------------------------------------
    // The user whose database is backed up before the merge.
    void SetAssociatedUserId(int userId) { m_userId = userId; }
    int AssociatedUserId() const { return m_userId; }
    void SetSynchroniseRunner(Runner runner) { m_runner = std::move(runner); }
    void SetCancelHandler(CancelHandler handler) { m_cancelHandler = std::move(handler); }
    // The backup of the associated user when the settings ask for it
    // (whatever its outcome), then the owner's run.
    void OnSynchronise();

    // A blocking message (non-empty: "Synchroniser" is disabled) or the
    // hint to select a row (empty).
    void SetMessage(const QString &text);
    bool HasBlockingMessage() const { return !m_noBlockingMessage; }
    QString MessageShown() const;

    // --- Detail panes ---------------------------------------------------------
    // Shows a row's two sides (-1: none); nothing when it is shown already.
    void ShowElement(int row);
    int ShownRow() const { return m_shownRow; }
    CSynchroListCtrl *ListCtrl() const { return m_listCtrl; }
    CViewDetailSynchro *ElementPane(Side side) const { return m_elementPanes[side]; }
    CViewDetailSynchroTask *TaskPane(Side side) const { return m_taskPanes[side]; }
    CViewDetailSynchroForecast *ForecastPane(Side side) const { return m_forecastPanes[side]; }
    QPushButton *SynchroniseButtonCtrl() const { return m_synchronise; }
    QPushButton *CancelButtonCtrl() const { return m_cancel; }

    void Retranslate();
    static void SetOpenObserver(OpenObserver observer);

signals:
    void differencesLoaded(CBdD::CompareOutcome outcome, int count);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void AdoptDifferences();
    void ShowDifferences();
    void UpdateTitle();
    void ResetPanes();
    void LayoutPanes();
    void ShowSide(Side side, CBdD &db, const SyncItem &item);
    void ClearSide(Side side);

    CSyncHost *m_host;
    SyncReviewList m_list;
    int m_count = 0;
    CBdD::CompareOutcome m_outcome = CBdD::CompareOutcome::Failed;
    QString m_devicePath;
    QString m_localPath;
    int m_shownRow = -1;
    bool m_noBlockingMessage = true;
    bool m_ended = false;
    int m_userId = -1;
    Runner m_runner;
    CancelHandler m_cancelHandler;
    CConfiguration m_formats;

    // The comparison running on its worker.
    QThread *m_worker = nullptr;
    std::unique_ptr<ProgressDlgShared> m_job;
    std::unique_ptr<SyncReviewList> m_loaded;
    int m_loadedCount = 0;
    CBdD::CompareOutcome m_loadedOutcome = CBdD::CompareOutcome::Failed;

    CSynchroListCtrl *m_listCtrl;
    CMyToolTipCtrl *m_toolTip;
    QLabel *m_icon;
    QLabel *m_message;
    QWidget *m_messageBox;
    QPushButton *m_synchronise;
    QPushButton *m_cancel;
    QWidget *m_buttons;
    QGridLayout *m_bottom;
    std::array<QWidget *, 2> m_sides{};
    std::array<CViewDetailSynchro *, 2> m_elementPanes{};
    std::array<CViewDetailSynchroTask *, 2> m_taskPanes{};
    std::array<CViewDetailSynchroForecast *, 2> m_forecastPanes{};
};
