#include "CAppData.h"

#include "CDataChangedNotifier.h"

namespace {
struct Registry
{
    CAnnulation *annulation = nullptr;
    CConfiguration *configuration = nullptr;
    tCurrentEntry *currentEntry = nullptr;
    CProjectStore *projectStore = nullptr;
    CAppData::PathProvider pathProvider;
    CAppData::BatchHook afterBatch;
    CAppData::BackupHook autoBackup;
    CAppData::TaskPaneHook taskPaneRefresh;
    CUsers *users = nullptr;
    CAppData::UserBackupHook userBackup;
    CAppData::LandedWriteMessage landedWrite = CAppData::LandedWriteMessage::ChangeNotice;
    CAppData::SqlLogSwitch sqlLog = CAppData::SqlLogSwitch::FromSettings;
    QString sqlLogTag;
};

Registry &registry()
{
    static Registry r;
    return r;
}
} // namespace

CAnnulation *CAppData::Annulation()
{
    return registry().annulation;
}

void CAppData::SetAnnulation(CAnnulation *history)
{
    registry().annulation = history;
}

CConfiguration *CAppData::Configuration()
{
    return registry().configuration;
}

void CAppData::SetConfiguration(CConfiguration *configuration)
{
    registry().configuration = configuration;
}

CProjectStore *CAppData::ProjectStore()
{
    return registry().projectStore;
}

void CAppData::SetProjectStore(CProjectStore *store)
{
    registry().projectStore = store;
}

QString CAppData::CurrentDatabasePath()
{
    const auto &provider = registry().pathProvider;
    return provider ? provider() : QString();
}

void CAppData::SetCurrentDatabasePathProvider(PathProvider provider)
{
    registry().pathProvider = std::move(provider);
}

void CAppData::SetCurrentDatabasePath(const QString &path)
{
    registry().pathProvider = [path] { return path; };
}

CDataChangedNotifier &CAppData::DataChangedNotifier()
{
    static CDataChangedNotifier notifier;
    return notifier;
}

tCurrentEntry *CAppData::CurrentEntry()
{
    return registry().currentEntry;
}

void CAppData::SetCurrentEntry(tCurrentEntry *entry)
{
    registry().currentEntry = entry;
}

void CAppData::SetAfterBatchHook(BatchHook hook)
{
    registry().afterBatch = std::move(hook);
}

void CAppData::RunAfterBatchHook(CBdD &db)
{
    if (registry().afterBatch)
        registry().afterBatch(db);
}

void CAppData::SetAutoBackupHook(BackupHook hook)
{
    registry().autoBackup = std::move(hook);
}

void CAppData::RunAutoBackup()
{
    if (registry().autoBackup)
        registry().autoBackup();
}

void CAppData::SetTaskPaneRefreshHook(TaskPaneHook hook)
{
    registry().taskPaneRefresh = std::move(hook);
}

void CAppData::RunTaskPaneRefresh()
{
    if (registry().taskPaneRefresh)
        registry().taskPaneRefresh();
}

CUsers *CAppData::Users()
{
    return registry().users;
}

void CAppData::SetUsers(CUsers *users)
{
    registry().users = users;
}

void CAppData::SetUserBackupHook(UserBackupHook hook)
{
    registry().userBackup = std::move(hook);
}

bool CAppData::BackupUserForSync(int userId)
{
    return registry().userBackup ? registry().userBackup(userId) : false;
}

CAppData::LandedWriteMessage CAppData::LandedWriteNotice()
{
    return registry().landedWrite;
}

void CAppData::SetLandedWriteNotice(LandedWriteMessage message)
{
    registry().landedWrite = message;
}

CAppData::SqlLogSwitch CAppData::SqlLog()
{
    return registry().sqlLog;
}

void CAppData::SetSqlLog(SqlLogSwitch logSwitch)
{
    registry().sqlLog = logSwitch;
}

QString CAppData::SqlLogTag()
{
    return registry().sqlLogTag;
}

void CAppData::SetSqlLogTag(const QString &tag)
{
    registry().sqlLogTag = tag;
}

void CAppData::Clear()
{
    registry() = Registry();
    DataChangedNotifier().disconnect();
}
