// The application's backups, network-folder update and the reload of a
// replaced database.
#include "CZarvoWinApp.h"

#include "CAnnulation.h"
#include "CAppData.h"
#include "CBackupFiles.h"
#include "CBdD.h"
#include "CConfiguration.h"
#include "CDatabaseFile.h"
#include "CDayCache.h"
#include "MessageBoxParams.h"
#include "CNetworkUpdate.h"
#include "CProjectStore.h"
#include "CUsers.h"
#include "Texts.h"

#include <QMainWindow>

bool CZarvoWinApp::BackupDatabase(bool currentUser, int userId, bool automatic, bool checkDue)
{
    CBackupFiles::Request request;
    request.automatic = automatic;
    request.checkDue = checkDue;
    if (currentUser) {
        request.databasePath = m_users->GetCurrentDatabasePath(true);
        request.userName = m_users->GetCurrentName();
    } else {
        tUsers user;
        if (!m_users->LoadUserById(user, userId))
            return false;
        request.databasePath = user.GetDatabasePath(true);
        request.userName = user.Nom;
    }
    return CBackupFiles::Make(*m_config, request);
}

void CZarvoWinApp::UpdateFromLan(bool interactive)
{
    if (m_deviceSyncOpen)
        return;
    if (m_store->NodesHeld()) {
        m_networkUpdatePutOff = true;
        m_networkUpdateInteractive = m_networkUpdateInteractive || interactive;
        return;
    }
    const bool withWindow = m_mainWindow != nullptr;
    if (withWindow && m_frame.statusText)
        m_frame.statusText(Platform::Texts::get(260));
    CNetworkUpdate::Request request;
    request.shareFolder = m_config->lanFolder;
    request.userName = m_users->GetCurrentName();
    request.localDatabase = m_users->GetCurrentDatabasePath(true);
    CNetworkUpdate::Steps steps;
    steps.backupIfDue = [this] { BackupDatabase(true, -1, true, true); };
    steps.reloadReplaced = [this] { ReloadReplacedDatabase(); };
    const CNetworkUpdate::Outcome outcome = CNetworkUpdate::Run(request, steps);
    if (withWindow && m_frame.statusText)
        m_frame.statusText(QString());

    if (!interactive || !withWindow || CNetworkUpdate::TextId(outcome) == 0)
        return;
    if (outcome == CNetworkUpdate::Outcome::ReplaceFailed)
        ShowMessage(MessageBoxType::IconExclamation, Platform::Texts::get(173),
                    CNetworkUpdate::Text(outcome));
    else
        ShowMessage(MessageBoxType::IconAsterisk, Platform::Texts::get(222),
                    CNetworkUpdate::Text(outcome));
}

void CZarvoWinApp::ReloadReplacedDatabase()
{
    m_store->Clear();
    {
        CBdD db;
        const CBdD::tUpgradeResult upgrade = db.UpdateDb();
        if (upgrade.TextId() != 0)
            OnUpgradeNotice(upgrade.DeferredNotice());
        db.LoadProjects(-1, nullptr);
        db.LoadActivities(nullptr, nullptr, true, QString());
        db.RefreshCurrentEntry();
    }
    if (m_frame.forgetCallingReport)
        m_frame.forgetCallingReport();
    ForgetDatabase();
    if (m_frame.refreshAfterChange)
        m_frame.refreshAfterChange();
    else
        RefreshAfterChange(false, false);
    m_history->Reset();
}

bool CZarvoWinApp::IsRestorableBackup(const QString &path)
{
    return CDatabaseFile::CheckReplacement(path).ok();
}

bool CZarvoWinApp::RestoreBackup(const QString &backupPath)
{
    const QString database = m_users->GetCurrentDatabasePath(true);
    if (database.isEmpty() || !IsRestorableBackup(backupPath))
        return false;
    // Written into the live file under SQLite's locks: the tray's
    // connection reads the restored rows at its next statement, and a
    // failure leaves the database as it was.
    CBdD::CloseSharedConnection();
    if (!CDatabaseFile::ReplaceLive(backupPath, database))
        return false;
    ReloadReplacedDatabase();
    CBdD::PostChange(0);
    return true;
}
