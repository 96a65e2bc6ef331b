#pragma once
#include "ConnexionState.h"
#include "DeviceExchange.h"
#include "SyncAnalysis.h"
#include "SyncReviewList.h"

#include <QDialog>
#include <QMap>
#include <QPointer>
#include <functional>
#include <memory>

class CSyncHost;
class CUsers;
class CViewPcInfos;
class CViewSynchro;
class QComboBox;
class QFileSystemWatcher;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
namespace Platform {
class DeviceFolderWatcher;
}

// The dialog "Synchronisation": follows the device (its folder appearing
// and going) or a USB disk's database, shows the device's and the local
// database side by side, associates the device with a local user, runs
// the analysis and hands the review to a tab of the main window (hiding
// itself meanwhile), and copies a whole database either way. What it
// shows is ConnexionState's; the files are DeviceExchange's.
class CConnexion : public QDialog
{
    Q_OBJECT
public:
    enum ControlId {
        DialogId = 318,
        StateText = 1019,
        UserText = 1022,
        UsersCombo = 1023,
        AssociateButton = 1024,
        AddUserButton = 1025,
        GuidanceText = 1026,
        DevicePicture = 1035,
        ComputerPicture = 1036,
        ConnectedPicture = 1037,
        WaitingPicture = 1038,
        TransportCombo = 1077,
        SynchroniseButton = 1086,
        CopyToLocalButton = 1087,
        CopyToDeviceButton = 1088,
        IdenticalText = 1149,
        ModifyButton = 1150,
        VersionText = 1275,
        UsbPathEdit = 1433,
        UsbSelectButton = 1434,
        UsbPathLabel = 1435,
        TransportLabel = 1436,
        CloseButton = 2,
    };

    // Told when the analysis finished a run stopped between its two writes.
    static constexpr int FinishedText = 25150;

    // What the dialog needs of the application.
    struct Hooks
    {
        // The new-user wizard: the new user's id, -1 when cancelled.
        std::function<int(QWidget *owner)> addUser;
        // The choice of another user (in: the associated one).
        std::function<bool(int &userId)> chooseUser;
        // The application's current user.
        std::function<int()> currentUserId;
        // Empties the undo history (the current user's database changed).
        std::function<void()> emptyUndo;
        // The chooser of the USB database file (a seam: tests answer).
        std::function<QString(QWidget *owner, const QString &folder)> chooseUsbFile;
        // The network folder, empty when none; whether to back up first.
        std::function<QString()> sharedFolder;
        std::function<bool()> backupFirst;
    };

    CConnexion(CUsers &users, CSyncHost *host, Hooks hooks, const QString &deviceRoot, QWidget *parent = nullptr);
    ~CConnexion() override;

    // The controls by id (null for an unknown one).
    QWidget *Control(int id) const { return m_controls.value(id); }
    CViewPcInfos *DevicePane() const { return m_devicePane; }
    CViewPcInfos *LocalPane() const { return m_localPane; }
    CViewSynchro *Review() const { return m_review; }
    bool ReviewPending() const { return m_reviewPending; }
    bool UsersAdded() const { return m_usersAdded; }
    const DeviceExchange &Exchange() const { return m_exchange; }
    ConnexionState::Input CurrentInput() const;

    // The state read again from the device side and both databases.
    void RefreshState();
    void UpdateControls();
    // The device folder appeared (0), went (1) or cannot be listed (2).
    void OnDeviceNotice(int code);
    // What the device folder holds changed: the device is looked for again.
    void OnDeviceContentChanged();
    const Platform::DeviceFolderWatcher *DeviceWatcher() const { return m_watcher.get(); }

    void OnAssociate();
    void OnModify();
    void OnAddUser();
    void OnSelectUsbFile();
    void OnTransportChanged();
    void OnWholeCopy(int direction);
    // Runs the analysis in a progress dialog (on its worker); its end
    // opens the review, runs a list-less synchronisation or tells why not.
    void OnSynchronise();
    bool IsAnalysing() const { return m_analysing; }
    // The analysis lasts at least this long (ms), so that its progress
    // dialog is seen; a cancel ends it at once.
    static void SetMinimumAnalysisTime(int ms);

signals:
    // The analysis ended (the review is pending, or a message was shown).
    void analysisEnded();
    // A synchronisation run ended and the dialog shows again.
    void runEnded();

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;
    void done(int result) override;

private:
    void BuildControls();
    // The connection as the device folder stands now (a notice may be
    // late, or lost), then the device database looked for.
    bool LookForDevice();
    void RefreshLocalInfo();
    static void UpgradeLocalDatabase(const QString &path);
    void RefreshDeviceInfo();
    void FillUsers(int selectId);
    void Warn(int textId);
    void AnalysisEnded(SyncAnalysis::Result result);
    void RunSynchronisation(const SyncReviewList *list);
    void EndReview();
    // Shown again, and active, once the review ends.
    void ComeBack();
    void WatchDatabases();
    ConnexionState::Snapshot CurrentSnapshot() const;
    QString WorkingCopy() const;

    CUsers &m_users;
    CSyncHost *m_host;
    Hooks m_hooks;
    DeviceExchange m_exchange;
    std::unique_ptr<Platform::DeviceFolderWatcher> m_watcher;
    QFileSystemWatcher *m_files = nullptr;
    QMap<int, QWidget *> m_controls;

    ConnexionState::Stamps m_local;
    ConnexionState::Stamps m_device;
    int m_localVersion = -1;
    int m_deviceVersion = -1;
    bool m_localShown = false;
    bool m_localHasSize = false;
    bool m_deviceShown = false;
    bool m_deviceCopyOk = false;
    bool m_deviceVersionRead = false;
    // The working copy "Ppc.sdb" this dialog made whole from the device
    // connected now, and its change counter then: only such a copy is
    // analysed.
    quint32 m_copyCounter = 0;
    bool m_copyFresh = false;

    bool m_reviewPending = false;
    bool m_analysing = false;
    // A run writes both databases: what it writes is no change to warn of.
    bool m_running = false;
    bool m_usersAdded = false;
    ConnexionState::Snapshot m_snapshot;
    // The review's tab owns the review and may delete it first.
    QPointer<CViewSynchro> m_review;

    CViewPcInfos *m_devicePane;
    CViewPcInfos *m_localPane;
    QLabel *m_state;
    QLabel *m_user;
    QComboBox *m_usersCombo;
    QLabel *m_guidance;
    QLabel *m_identical;
    QLabel *m_version;
    QComboBox *m_transport;
    QLineEdit *m_usbPath;
    QPushButton *m_close;
};
