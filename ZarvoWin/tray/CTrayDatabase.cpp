#include "CTrayDatabase.h"

#include "CAppData.h"
#include "CProject.h"
#include "CTrayProjectStore.h"
#include "Clock.h"
#include "Formatter.h"
#include "IntParse.h"
#include "TrayTexts.h"
#include "tTacheParams.h"

#include <sqlite3.h>

#include <algorithm>

using Platform::Formatter;

CTrayDatabase::CTrayDatabase(const QString &path)
    : m_db(path, CBdD::ExistingFile)
{
}

void CTrayDatabase::SetUpProcess(CTrayProjectStore &store)
{
    CAppData::SetProjectStore(&store.Store());
    CAppData::SetLandedWriteNotice(CAppData::LandedWriteMessage::RefreshFromTray);
    CAppData::SetSqlLogTag(QStringLiteral("ZarvoTray"));
    CAppData::SetSqlLog(CAppData::SqlLogSwitch::Off);
}

void CTrayDatabase::SetLogOn(bool on)
{
    CAppData::SetSqlLog(on ? CAppData::SqlLogSwitch::On : CAppData::SqlLogSwitch::Off);
}

bool CTrayDatabase::CanWrite() const
{
    return m_db.IsOpen() && m_db.FileVersion() == CBdD::CurrentVersion;
}

CBdD::tUpgradeResult CTrayDatabase::UpdateDb()
{
    const CBdD::tUpgradeResult result = m_db.UpdateDb();
    // An older file was opened without the indexes of the reads.
    if (result.outcome == CBdD::tUpgradeResult::Outcome::Upgraded)
        m_db.EnsureIndexes();
    return result;
}

// ---------------------------------------------------------------------------
// Time entries
// ---------------------------------------------------------------------------

bool CTrayDatabase::GetLastTask(tTacheFull &task)
{
    task.Reset();
    bool failed = true;
    if (!m_db.GetNewestTimeEntry(task, &failed))
        task.Reset();
    return !failed;
}

bool CTrayDatabase::StartTask(const tTacheFull &task, int favouriteId)
{
    if (!CanWrite())
        return false;
    // Always a new entry, whatever id the record carries.
    tTacheFull entry = task;
    entry.Id = -1;
    return m_db.SaveTimeEntry(entry, favouriteId);
}

bool CTrayDatabase::StopTask(int id, qint64 end)
{
    return CanWrite() && m_db.StopTimeEntry(id, end);
}

bool CTrayDatabase::ReopenTask(int id, qint64 stoppedAt)
{
    if (!CanWrite() || !m_db.BeginWrite())
        return false;
    const int rc = m_db.UpdateRow(
        CBdD::TableTaches, id,
        Formatter::sprintf(u"update Taches set Fin=0 where Id=%d and Fin=%I64d and Deleted=0", {id, stoppedAt}));
    return m_db.EndWrite(rc == 0);
}

bool CTrayDatabase::LoadDayTasks(std::vector<tTacheFull> &tasks, const QDate &day, bool &runningIncluded)
{
    tasks.clear();
    if (!day.isValid() || !m_db.IsOpen())
        return false;
    std::vector<tTacheParams> entries;
    if (!m_db.LoadTimeEntries(entries, day))
        return false;
    tasks.reserve(entries.size());
    for (const tTacheParams &e : entries) {
        tasks.push_back(e);
        if (e.IsRunning())
            runningIncluded = true;
    }
    return true;
}

bool CTrayDatabase::GetModifStamp(QString &stamp)
{
    return m_db.GetModifStamp(stamp);
}

// ---------------------------------------------------------------------------
// Favourites
// ---------------------------------------------------------------------------

bool CTrayDatabase::GetFavourite(tTacheFull &task, int id, bool includeDeleted)
{
    int project = -1;
    int activity = -1;
    int rate = -1;
    QString title;
    if (!m_db.GetFavorite(id, project, activity, rate, title, includeDeleted))
        return false;
    task.IdProjet = project;
    task.IdActivite = activity;
    task.IdTauxHoraire = rate;
    task.Title = title;
    return true;
}

bool CTrayDatabase::FillFavourites(std::vector<DataItems> &items, int sortOrder, const CTrayProjectStore &store,
                                   const TrayTexts &texts)
{
    const int order = sortOrder == CBdD::FavoritesByProject || sortOrder == CBdD::FavoritesByActivity
        ? sortOrder
        : CBdD::FavoritesByUse;
    // The project order tells the projects and activities it does not know
    // by the process's store: it must be this one.
    if (order == CBdD::FavoritesByProject && CAppData::ProjectStore() != &store.Store())
        return false;
    std::vector<tFavorite> favourites;
    if (!m_db.ReadFavorites(order, favourites))
        return false;
    items.clear();
    const auto entry = [&items](const tFavorite &f, int level) {
        items.push_back(DataItems{DataItems::Entry, f.Title, f.IdProject, f.IdActivite, level, f.Id});
    };
    switch (order) {
    case CBdD::FavoritesByProject:
        AddFavouritesByProject(items, 0, *store.Store().GetRoot(), favourites);
        break;
    case CBdD::FavoritesByActivity: {
        QString group;
        for (size_t i = 0; i < favourites.size(); ++i) {
            const tFavorite &f = favourites[i];
            if (i == 0 || f.ActivityName != group) {
                group = f.ActivityName;
                const bool named = !group.isEmpty();
                items.push_back(DataItems{DataItems::ExpandedGroup, named ? group : texts.Text(TrayTexts::NoActivity),
                                          -1, -1, 0, named ? f.IdActivite : -1});
            }
            entry(f, 1);
        }
        break;
    }
    default:
        for (const tFavorite &f : favourites)
            entry(f, 0);
        break;
    }
    return true;
}

void CTrayDatabase::AddFavouritesByProject(std::vector<DataItems> &items, int level, const CProject &node,
                                           std::vector<tFavorite> &favourites)
{
    const int key = node.IsRoot() ? -1 : node.ProjectId();
    for (auto it = favourites.begin(); it != favourites.end();) {
        if (it->IdProject != key) {
            ++it;
            continue;
        }
        items.push_back(DataItems{DataItems::Entry, it->Title, it->IdProject, it->IdActivite, level, it->Id});
        it = favourites.erase(it);
    }
    // A project gets a header only when its subtree holds favourites.
    for (const CProject *child : node.Children()) {
        if (child->IsActivity())
            continue;
        items.push_back(DataItems{DataItems::ExpandedGroup, child->Element().Nom, -1, -1, level, child->ProjectId()});
        const size_t lines = items.size();
        AddFavouritesByProject(items, level + 1, *child, favourites);
        if (items.size() == lines)
            items.pop_back();
    }
}

// ---------------------------------------------------------------------------
// The project store
// ---------------------------------------------------------------------------

QString CTrayDatabase::PartStamps(std::initializer_list<const char16_t *> tables, qint64 &newest)
{
    newest = 0;
    QString stamps;
    for (const char16_t *table : tables) {
        // The newest stamp alone misses a stamp put back to an earlier value
        // (the main program's undo restores the stamps it replaced) and a
        // row removed: the sum and the count of the stamps see them.
        SQLite::MyTablePtr t = m_db.ReadRows(
            Formatter::sprintf(u"select max(Date_Modif), sum(Date_Modif), count(*) from %s", {table}));
        if (!t.hasRows())
            return QString();
        newest = std::max(newest, Platform::wtoi64(t->GetCellView(0, 0)));
        stamps += t->GetCell(0, 0) + u',' + t->GetCell(0, 1) + u',' + t->GetCell(0, 2) + u';';
    }
    return stamps;
}

bool CTrayDatabase::LoadPart(CTrayProjectStore &store, int part, std::initializer_list<const char16_t *> tables,
                             const std::function<bool()> &read)
{
    // The data store's loaders fill the process's store: it must be this
    // one.
    if (!m_db.IsOpen() || CAppData::ProjectStore() != &store.Store())
        return false;
    const CTrayProjectStore::Part which = CTrayProjectStore::Part(part);
    const qint64 loaded = store.LoadedAt(which);
    // Taken before the read, so that a change made while it reads is seen
    // by the next load.
    qint64 newest = 0;
    const QString stamps = PartStamps(tables, newest);
    const qint64 now = Platform::Clock::now();
    // Current only when loaded, with the same stamps as then, none of them
    // from the second of that load or later (a row written again in that
    // second after the read keeps the same stamps). Stamps that cannot be
    // read may hide a change.
    if (loaded != 0 && !stamps.isEmpty() && stamps == store.LoadedStamps(which) && newest < loaded)
        return false;
    if (!read())
        return false;
    store.SetLoadedAt(which, now, stamps);
    return true;
}

bool CTrayDatabase::LoadProjects(CTrayProjectStore &store)
{
    // A new child order changes ProjectChilds alone.
    return LoadPart(store, CTrayProjectStore::Projects, {u"Projets", u"ProjectChilds"},
                    [this] { return m_db.LoadProjects(-1, nullptr, false); });
}

bool CTrayDatabase::LoadActivities(CTrayProjectStore &store)
{
    return LoadPart(store, CTrayProjectStore::Activities, {u"Activites"},
                    [this] { return m_db.LoadActivities(nullptr, nullptr, true, QString()); });
}

bool CTrayDatabase::LoadRates(CTrayProjectStore &store)
{
    return LoadPart(store, CTrayProjectStore::Rates, {u"TauxHoraire"},
                    [this] { return m_db.LoadRates(nullptr, nullptr); });
}

bool CTrayDatabase::LoadHistory(CTrayProjectStore &store)
{
    store.ClearPart(CTrayProjectStore::History);
    std::vector<tHistory> recent;
    if (!m_db.ReadRecentCombinations(recent))
        return false;
    for (const tHistory &h : recent)
        store.Store().AppendHistory(h.IdProjet, h.IdActivite, h.IdTauxHoraire);
    store.SetLoadedAt(CTrayProjectStore::History, Platform::Clock::now());
    return true;
}

void CTrayDatabase::LogSqlError(const QString &name, bool reset)
{
    m_db.LogSqlError(name, reset);
}
