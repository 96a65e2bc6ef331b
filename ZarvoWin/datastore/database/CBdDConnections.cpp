// Opening the database: the process-wide shared connection and the
// objects built on the current user's file or on a path of their own. On
// top of the database layer: opening checks and makes the schema, and the
// layer gives the undo history and the project store, the first time it
// meets them, the way they reach the database.
#include "CBdD.h"

#include "CAnnulation.h"
#include "CAppData.h"
#include "CDataChangedNotifier.h"
#include "CProjectStore.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSet>
#include <QThread>

#include <sqlite3.h>

SQLite::CmyDataBase &CBdD::SharedConnection()
{
    static SQLite::CmyDataBase shared;
    return shared;
}

void CBdD::CloseSharedConnection()
{
    SharedConnection().Close();
}

namespace {
// The shared connection belongs to the interface thread; a worker thread
// (the progress dialog's job) never borrows, opens or closes it.
bool onWorkerThread()
{
    const QCoreApplication *app = QCoreApplication::instance();
    return app && QThread::currentThread() != app->thread();
}
// The current user's files this process has had open. One that is gone
// since (removed by hand or by another program) is not made again, empty,
// under the same name, where it would pass for the user's data and take
// its writes: the operations fail and the windows say so.
QSet<QString> &filesOpenedAsCurrent()
{
    static QSet<QString> files;
    return files;
}

bool vanishedSinceOpened(const QString &path)
{
    return filesOpenedAsCurrent().contains(path) && !QFileInfo::exists(path);
}
} // namespace

// The undo history runs its groups through this layer, and the project
// store reads and writes through it, on the current user's database: the
// layer gives them that the first time it meets them (neither knows the
// layer).
static void GiveTheApplicationsObjectsTheDatabase()
{
    CAnnulation *history = CAppData::Annulation();
    if (history && !history->HasBatchRunner())
        history->SetBatchRunner([](const QStringList &texts) {
            CBdD db;
            return db.RunBatch(texts);
        });
    CProjectStore *store = CAppData::ProjectStore();
    if (store && !store->HasDatabaseAccess()) {
        CProjectStore::tDatabaseAccess access;
        access.writeChildOrders = [](int p1, const QString &c1, int p2, const QString &c2, int moved) {
            CBdD db;
            return db.SaveChildOrders(p1, c1, p2, c2, moved);
        };
        access.loadHistory = [](CProjectStore &) {
            CBdD db;
            db.LoadHistory();
        };
        access.readBookedPeriods = [](std::vector<tDebutFin> &periods, qint64 after) {
            CBdD db(CAppData::CurrentDatabasePath());
            return db.GetEntryPeriodsAfter(periods, after);
        };
        access.reloadNodes = [] {
            CBdD db;
            if (db.LoadProjects(-1, nullptr))
                CAppData::DataChangedNotifier().Send(CDataChangedNotifier::ProjectTree, 0);
        };
        store->SetDatabaseAccess(std::move(access));
    }
}

CBdD::CBdD()
{
    if (onWorkerThread()) {
        m_path = CAppData::CurrentDatabasePath();
        if (vanishedSinceOpened(m_path)) {
            m_openError = SQLITE_CANTOPEN;
            return;
        }
        OpenOwnConnection();
        return;
    }
    GiveTheApplicationsObjectsTheDatabase();
    SQLite::CmyDataBase &shared = SharedConnection();
    m_connection = &shared;
    m_path = CAppData::CurrentDatabasePath();
    if (shared.IsOpen() && shared.GetPath() != m_path)
        shared.Close();
    if (m_path.isEmpty()) {
        // No user selected: nothing to open.
        m_connection = nullptr;
        return;
    }
    if (shared.IsOpen())
        return; // borrowed from an outer object
    if (vanishedSinceOpened(m_path)) {
        m_openError = SQLITE_CANTOPEN;
        m_connection = nullptr;
        return;
    }
    m_openedHere = true;
    if (InitBd(m_path)) {
        AfterOpen();
        filesOpenedAsCurrent().insert(m_path);
    }
    LogSqlError(QStringLiteral("CBdD (2)"));
}

CBdD::CBdD(const QString &path)
    : m_path(path)
{
    OpenOwnConnection();
}

CBdD::CBdD(const QString &path, ExistingFileTag)
    : m_path(path)
    , m_existingOnly(true)
{
    OpenOwnConnection();
}

CBdD::CBdD(const QString &path, OtherFileTag)
    : m_path(path)
    , m_existingOnly(true)
    , m_otherFile(true)
{
    OpenOwnConnection();
}

void CBdD::OpenOwnConnection()
{
    if (m_path.isEmpty())
        return;
    m_connection = &m_ownConnection;
    m_openedHere = true;
    if (InitBd(m_path))
        AfterOpen();
    else if (m_existingOnly)
        m_connection = nullptr; // not the program's file, or none: nothing beside it either, not even a log
    LogSqlError(QStringLiteral("CBdD (2)"));
}

void CBdD::AfterOpen()
{
    m_connection->Execute(u"PRAGMA automatic_index=OFF");
    // A file opened only if it exists is written nothing before its
    // upgrade, not even an index.
    if (!m_existingOnly || m_fileVersion == CurrentVersion)
        EnsureIndexes();
    LogSqlError(QStringLiteral("CBdD (1)"));
}

