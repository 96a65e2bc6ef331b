// Read-only looks at a user's database and what the device synchronisation
// reads of it: the synchronisation stamps and the unsynchronised changes.
#include "CBdD.h"

#include "Formatter.h"
#include "IntParse.h"

#include <QFileInfo>

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
