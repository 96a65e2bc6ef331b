// Read-only looks at a user's database and what the device synchronisation
// reads of it: the synchronisation stamps and the unsynchronised changes;
// the check of a device copy and the purge that ends a synchronisation.
#include "CBdD.h"
#include "CDatabaseFile.h"

#include "Clock.h"
#include "Formatter.h"
#include "IntParse.h"
#include "QuoteSql.h"

#include <QFileInfo>

#include <sqlite3.h>

CBdD::CBdD(const QString &path, ReadOnlyTag)
    : m_path(path)
{
    if (path.isEmpty())
        return;
    m_connection = &m_ownConnection;
    m_openedHere = true;
    if (!QFileInfo(path).isFile())
        return;
    m_openError = m_ownConnection.OpenReadOnly(path);
    if (m_openError == 0)
        m_ownConnection.Execute(u"PRAGMA automatic_index=OFF");
}

int CBdD::GetSyncStamps(QString &lastSync, QString &lastChange)
{
    lastSync.clear();
    lastChange.clear();
    if (!IsOpen())
        return StampsFailed;
    // A failed query is told by the connection's code (its result is
    // merely empty); an error kept from before is given back afterwards.
    const int kept = m_connection->GetLastCode();
    m_connection->SetLastCode(0);
    auto read = [this](const char16_t *name, QString &value, bool &failed) {
        SQLite::MyTablePtr t = Query(Platform::Formatter::sprintf(u"select Value from Infos where Name='%s'", {name}));
        if (!t || m_connection->GetLastCode() != 0)
            failed = true;
        if (!t.hasRows())
            return false;
        value = t->GetCell(0, 0);
        return true;
    };
    bool failed = false;
    const bool hasBackup = read(u"Backup", lastSync, failed);
    QString network;
    if (!read(u"MajLan", network, failed))
        failed = true;
    else if (!network.isEmpty()
             && (lastSync.isEmpty() || Platform::wtoi64(network) > Platform::wtoi64(lastSync)))
        lastSync = network;
    if (!read(u"Modif", lastChange, failed))
        failed = true;
    if (m_connection->GetLastCode() == 0)
        m_connection->SetLastCode(kept);
    if (failed)
        return StampsFailed;
    return hasBackup ? StampsRead : NoBackupRow;
}

bool CBdD::HasUnsyncedChanges()
{
    if (!m_connection)
        return false;
    if (!IsOpen())
        return true;
    const int kept = m_connection->GetLastCode();
    m_connection->SetLastCode(0);
    for (const char16_t *table : {u"Projets", u"Activites", u"TauxHoraire", u"Favoris", u"Taches", u"Forecast",
                                  u"ProjectChilds"}) {
        SQLite::MyTablePtr t = Query(Platform::Formatter::sprintf(
            u"select 1 from %s where Origine_Modif=1 limit 1", {table}));
        if (!t || m_connection->GetLastCode() != 0 || t->rowCount() > 0) {
            if (m_connection->GetLastCode() == 0)
                m_connection->SetLastCode(kept);
            return true;
        }
    }
    m_connection->SetLastCode(kept);
    return false;
}

// ---------------------------------------------------------------------
// The device copy: its check, and the purge that ends a synchronisation
// ---------------------------------------------------------------------

namespace {

// The synchronised tables in the order the purge takes them.
constexpr int PurgedTables[] = {CBdD::TableProjets, CBdD::TableActivites, CBdD::TableTauxHoraire,
                                CBdD::TableTaches, CBdD::TableFavoris, CBdD::TableForecast,
                                CBdD::TableProjectChilds};

} // namespace

void CBdD::HardenForDeviceCopy(SQLite::CmyDataBase &connection)
{
    CDatabaseFile::HardenForOthersFile(connection);
}

bool CBdD::HasCodeOfItsOwn(SQLite::CmyDataBase &connection)
{
    return CDatabaseFile::HasCodeOfItsOwn(connection);
}

bool CBdD::OpenCopyForMerge(SQLite::CmyDataBase &copy, const QString &path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile() || copy.OpenExisting(path) != 0)
        return false;
    HardenForDeviceCopy(copy);
    if (HasCodeOfItsOwn(copy)) {
        copy.Close();
        return false;
    }
    return true;
}

bool CBdD::CheckDeviceCopy(const QString &path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    // No code of its own, the tables and columns of a user's database, the
    // current version (the copy is upgraded before) and the quick check of
    // its pages: the comparison and the merge only read and write the copy;
    // the full check is for a file about to replace a user's database.
    const CDatabaseFile::CheckResult check = CDatabaseFile::CheckReplacement(path, CDatabaseFile::Depth::Quick);
    return check.ok() && check.version == CurrentVersion;
}

bool CBdD::ClearTaskOrigins()
{
    if (!IsOpen())
        return false;
    return Execute(Platform::Formatter::sprintf(u"update Taches set Origine_Modif=%d where Origine_Modif=%d", {0, 1}))
        == 0;
}

bool CBdD::PurgeTable(int tableCode)
{
    const QString table = TableName(tableCode);
    if (table.isEmpty() || !IsOpen())
        return false;
    bool ok = true;
    if (tableCode != TableProjectChilds)
        ok = Execute(Platform::Formatter::sprintf(u"delete from %s where Deleted<>0", {table})) == 0;
    return Execute(Platform::Formatter::sprintf(u"update %s set Origine_Modif=0 where Origine_Modif<>0", {table})) == 0
        && ok;
}

bool CBdD::PurgeSyncedChanges(const QString &compactedInto)
{
    if (!IsOpen())
        return false;
    // Only this purge's own failures count, not one kept from before.
    const int kept = m_connection->GetLastCode();
    m_connection->SetLastCode(0);
    bool ok = m_connection->BeginTransaction();
    if (ok) {
        const QString now = Platform::Formatter::sprintf(u"%I64d", {Platform::Clock::now()});
        Execute(Platform::Formatter::sprintf(u"update Infos set Value='%s' where Name='Backup'", {now}));
        if (m_connection->GetLastCode() == 0 && ChangedRows() == 0)
            Execute(Platform::Formatter::sprintf(u"insert into Infos (Name, Value) values ('Backup','%s')", {now}));
        // The copy goes to the device and over the local database: neither
        // is the database a record of a stopped synchronisation names.
        Execute(Platform::Formatter::sprintf(u"delete from Infos where Name='%s'", {SyncRecordInfo}));
        for (int code : PurgedTables)
            ok = PurgeTable(code) && ok;
        ok = ok && m_connection->GetLastCode() == 0 && CommitWithRetry(*m_connection);
        if (!ok)
            m_connection->RollbackAfterFailure();
    }
    // Compacted only once the purge has landed; a failure here is told too,
    // so that a copy that may be short of room is not sent anywhere.
    if (ok)
        ok = Execute(compactedInto.isEmpty()
                         ? QStringLiteral("VACUUM")
                         : Platform::Formatter::sprintf(u"VACUUM INTO '%s'", {QuoteSql(compactedInto)}))
             == 0;
    if (!ok) {
        LogSqlError(QStringLiteral("PurgeSyncedChanges"));
        return false;
    }
    m_connection->SetLastCode(kept);
    return true;
}
