// Favourites: single reads, adding, touching, deleting, the favourites tree
// in its three orders, and the recent combinations of the project store.
#include "CBdD.h"

#include "CAnnulation.h"
#include "CAppData.h"
#include "CProject.h"
#include "CProjectStore.h"
#include "Clock.h"
#include "Formatter.h"
#include "IntParse.h"
#include "LookupRecordName.h"
#include "QuoteSql.h"
#include "Texts.h"
#include "UiUtilities.h"

#include <sqlite3.h>

#include <cmath>
#include <utility>

using Platform::Formatter;

namespace {

QString undefinedProjectText()
{
    return Platform::Texts::get(501);
}

QString undefinedActivityText()
{
    return Platform::Texts::get(502);
}

// Removes every child item of `parent`.
void deleteChildren(CTreeFiller &tree, CTreeFiller::Item parent)
{
    while (CTreeFiller::Item child = tree.GetChildItem(parent))
        tree.DeleteItem(child);
}

} // namespace

// ---------------------------------------------------------------------
// Single reads
// ---------------------------------------------------------------------

bool CBdD::GetFavorite(int id, int &project, int &activity, int &rate, QString &title, bool includeDeleted)
{
    project = activity = rate = -1;
    title.clear();
    if (!IsOpen())
        return false;
    SQLite::MyTablePtr t = Query(Formatter::sprintf(
        includeDeleted ? u"Select * FROM Favoris where Id=%d" : u"Select * FROM Favoris where Id=%d and Deleted=0",
        {id}));
    if (!t.hasRows())
        return false;
    t->MoveFirst();
    project = t->GetInt(u"IdProject");
    activity = t->GetInt(u"IdActivite");
    rate = t->GetInt(u"IdTauxHoraire");
    title = t->GetValue(u"Title");
    return true;
}

bool CBdD::DescribeFavorite(int id, QString &projectName, QString &activityName, QString &rateName,
                            QString &title)
{
    projectName.clear();
    activityName.clear();
    rateName.clear();
    title.clear();
    int project = -1;
    int activity = -1;
    int rate = -1;
    if (!GetFavorite(id, project, activity, rate, title))
        return false;
    if (project != -1)
        projectName = LookupRecordName(project, RecordProject, m_connection);
    if (activity != -1)
        activityName = LookupRecordName(activity, RecordActivity, m_connection);
    if (rate != -1)
        rateName = LookupRecordName(rate, RecordRate, m_connection);
    return true;
}

// ---------------------------------------------------------------------
// Writes
// ---------------------------------------------------------------------

int CBdD::AddFavorite(int id, int project, int activity, int rate, const QString &title, int *newId)
{
    if (newId)
        *newId = -1;
    if (!BeginWrite())
        return FavoriteFailed;
    const qint64 now = Platform::Clock::now();
    const QString quotedTitle = QuoteSql(title);
    int result = FavoriteDone;
    int written = id;
    if (id == -1) {
        SQLite::MyTablePtr twins = Query(Formatter::sprintf(
            u"select Id,Deleted from Favoris where IdProject=%d and IdActivite=%d and IdTauxHoraire=%d and Title='%s'",
            {project, activity, rate, quotedTitle}));
        // Any live twin refuses the favourite, whichever row comes first: a
        // deleted twin listed before a live one must not let a second live
        // duplicate in.
        bool liveTwin = false;
        if (twins && twins->MoveFirst()) {
            do {
                if (twins->GetInt(u"Deleted") == 0)
                    liveTwin = true;
            } while (!liveTwin && twins->MoveNext());
        }
        if (liveTwin) {
            result = FavoriteExists;
            written = -1;
            StampRow(0, 0); // only 'Modif' and the broadcast
        } else {
            written = InsertNewRow(TableFavoris, [&](int newRow) {
                return Formatter::sprintf(
                    u"insert into Favoris (Id, IdProject,IdActivite,IdTauxHoraire,Ordre,Deleted, Title) VALUES (%d,%d,%d,%d,%I64d,0,'%s')",
                    {newRow, project, activity, rate, now, quotedTitle});
            });
            if (written == -1) {
                EndWrite(false);
                return FavoriteFailed;
            }
        }
    } else {
        // A favourite that has no row is not rewritten: nothing changed.
        if (UpdateRow(TableFavoris, id,
                      Formatter::sprintf(
                          u"update Favoris set IdProject=%d,IdActivite=%d,IdTauxHoraire=%d, Ordre=%I64d, Deleted=0, Title='%s' where Id=%d",
                          {project, activity, rate, now, quotedTitle, id}))
            != 0) {
            EndWrite(false);
            return FavoriteFailed;
        }
    }
    if (!EndWrite())
        return FavoriteFailed;
    if (newId)
        *newId = written;
    if (result != FavoriteExists)
        RunBackupAfterWrite();
    return result;
}

namespace {

// The statements that mark favourite `id` used now: the change, and its undo
// with the former order as an SQL literal (NULL, a number or a quoted text),
// never as statement text of its own; no undo without a row.
std::pair<QString, QString> favoriteUseStatements(CBdD &db, int id)
{
    SQLite::MyTablePtr old;
    if (db.UndoHistory())
        old = db.Query(Formatter::sprintf(u"select quote(Ordre) from Favoris where Id=%d", {id}));
    QString undo;
    if (old.hasRows())
        undo = Formatter::sprintf(u"update Favoris set Ordre=%s where Id=%d", {old->GetCell(0, 0), id});
    return {Formatter::sprintf(u"update Favoris set Ordre=%I64d where Id=%d", {Platform::Clock::now(), id}), undo};
}

} // namespace

bool CBdD::TouchFavorite(int id)
{
    if (!IsOpen() || !m_connection->BeginTransaction())
        return false;
    const auto [redo, undo] = favoriteUseStatements(*this, id);
    Execute(redo);
    if (m_connection->GetLastCode() != 0 || !m_connection->CommitTransaction()) {
        m_connection->RollbackAfterFailure();
        return false;
    }
    RecordUndo(redo, undo);
    RefreshTaskPaneAfterWrite();
    return true;
}

int CBdD::MarkFavoriteUsed(int id)
{
    const auto [redo, undo] = favoriteUseStatements(*this, id);
    if (const int rc = ExecuteWithUndo(redo, undo); rc != 0)
        return rc;
    return ChangedRows() > 0 ? 0 : SQLITE_NOTFOUND;
}

bool CBdD::DeleteFavorite(int id)
{
    if (!BeginWrite())
        return false;
    const int rc = ExecuteWithUndo(Formatter::sprintf(u"update Favoris set Deleted=1 where Id=%d", {id}),
                                   Formatter::sprintf(u"update Favoris set Deleted=%s where Id=%d",
                                                      {DeletedLiteral(TableFavoris, id), id}));
    // A favourite that has no row is not deleted: nothing changed.
    const bool ok = rc == 0 && ChangedRows() > 0;
    if (ok)
        StampRow(TableFavoris, id);
    return EndWrite(ok);
}

// ---------------------------------------------------------------------
// The favourites tree
// ---------------------------------------------------------------------

bool CBdD::ReadFavorites(int order, std::vector<tFavorite> &favourites)
{
    favourites.clear();
    if (!IsOpen())
        return false;
    const char16_t *sql = nullptr;
    switch (order) {
    case FavoritesByProject:
        sql = u"Select Favoris.*,Projets.Nom as ProjectName,Activites.Nom as ActivityName FROM Favoris "
              u"left join Projets on Favoris.IdProject=Projets.Id left join Activites on Favoris.IdActivite=Activites.Id "
              u"where Favoris.Deleted=0 order by Projets.Nom asc, Activites.Nom asc";
        break;
    case FavoritesByActivity:
        sql = u"Select Favoris.*,Activites.Nom as ActivityName FROM Favoris left join Activites "
              u"on Favoris.IdActivite=Activites.Id where Favoris.Deleted=0 "
              u"order by Activites.Nom asc, Favoris.Ordre desc, Favoris.Id desc";
        break;
    default:
        sql = u"Select * FROM Favoris where Deleted=0 order by Ordre desc, Id desc";
        break;
    }
    SQLite::MyTablePtr t = ReadRows(sql);
    if (!t)
        return false;
    const CProjectStore *store = CAppData::ProjectStore();
    const int cId = t->ColumnIndex(u"Id");
    const int cProject = t->ColumnIndex(u"IdProject");
    const int cActivity = t->ColumnIndex(u"IdActivite");
    // The favourite's own title: a join's "Favoris.Title" is no column name
    // SQLite gives back.
    const int cTitle = t->ColumnIndex(u"Title");
    const int cActivityName = t->ColumnIndex(u"ActivityName");
    favourites.reserve(size_t(t->rowCount()));
    for (int r = 0; r < t->rowCount(); ++r) {
        tFavorite f;
        f.Id = t->GetIntAt(r, cId, -1);
        f.IdProject = t->GetIntAt(r, cProject);
        f.IdActivite = t->GetIntAt(r, cActivity);
        f.Title = t->GetCell(r, cTitle);
        if (order == FavoritesByActivity)
            f.ActivityName = t->GetCell(r, cActivityName);
        if (order == FavoritesByProject) {
            const CProject *node = store ? store->GetNode(f.IdProject) : nullptr;
            if (!node || node->IsRoot())
                f.IdProject = -1;
            if (!store || !store->GetActivity(f.IdActivite))
                f.IdActivite = -1;
        }
        favourites.push_back(std::move(f));
    }
    return true;
}

bool CBdD::LoadFavorites(CTreeFiller &tree, CTreeFiller::Item parentItem, bool force, int order,
                         qint64 &lastStamp)
{
    if (!IsOpen())
        return true;
    SQLite::MyTablePtr newest = Query(u"select Date_Modif from Favoris order by Date_Modif desc limit 1");
    const qint64 stamp = newest.hasRows() ? Platform::wtoi64(newest->GetCell(0, 0)) : lastStamp + 1;
    if (!force && stamp == lastStamp)
        return false;
    lastStamp = stamp;
    deleteChildren(tree, parentItem);

    const CProjectStore *store = CAppData::ProjectStore();
    auto fullName = [store](int project) {
        return store ? store->GetNodeFullName(project, -2) : QString();
    };
    std::vector<tFavorite> favourites;
    if (!ReadFavorites(order, favourites))
        return true;

    if (order == FavoritesByProject) {
        if (store)
            FillFavoritesByProject(tree, parentItem, *store->GetRoot(), favourites);
        return true;
    }

    if (order == FavoritesByActivity) {
        CTreeFiller::Item group = nullptr;
        QString groupName;
        for (const tFavorite &f : favourites) {
            if (!group || f.ActivityName != groupName) {
                groupName = f.ActivityName;
                group = f.ActivityName.isEmpty()
                    ? tree.InsertItem(parentItem, undefinedActivityText(), FavoriteGroupImage,
                                      FavoriteGroupImage, -1)
                    : tree.InsertItem(parentItem, f.ActivityName, FavoriteGroupImage, FavoriteGroupImage,
                                      f.IdActivite);
            }
            const QString text = f.Title.isEmpty() ? fullName(f.IdProject) : f.Title;
            tree.InsertItem(group, text, FavoriteImage, FavoriteImage, f.Id);
        }
        return true;
    }

    for (const tFavorite &f : favourites) {
        QString text = f.Title;
        if (text.isEmpty()) {
            const QString projectText = f.IdProject == -1 ? undefinedProjectText() : fullName(f.IdProject);
            const QString activityText = store && store->GetActivity(f.IdActivite)
                ? store->GetActivityName(f.IdActivite)
                : undefinedActivityText();
            text = Formatter::sprintf(u"%s - %s", {projectText, activityText});
        }
        tree.InsertItem(parentItem, text, FavoriteImage, FavoriteImage, f.Id);
    }
    return true;
}

void CBdD::FillFavoritesByProject(CTreeFiller &tree, CTreeFiller::Item parentItem, const CProject &node,
                                  std::vector<tFavorite> &favourites)
{
    const CProjectTree *model = node.Store();
    if (!model)
        model = CAppData::ProjectStore();
    for (auto it = favourites.begin(); it != favourites.end();) {
        if (it->IdProject != node.ProjectId()) {
            ++it;
            continue;
        }
        const tElement *activity = model ? model->GetActivity(it->IdActivite) : nullptr;
        const QString text = !it->Title.isEmpty() ? it->Title : activity ? activity->Nom : QString();
        tree.InsertItem(parentItem, text, FavoriteImage, FavoriteImage, it->Id);
        it = favourites.erase(it);
    }
    for (const CProject *child : node.Children()) {
        if (child->IsActivity())
            continue;
        const int image = GetProjectStateImage(child->Element().Type);
        CTreeFiller::Item item = tree.InsertItem(parentItem, child->GetName(false), image, image,
                                                 child->ProjectId());
        FillFavoritesByProject(tree, item, *child, favourites);
        if (tree.GetChildItem(item))
            tree.Expand(item, true);
        else
            tree.DeleteItem(item);
    }
}

// ---------------------------------------------------------------------
// Recent combinations
// ---------------------------------------------------------------------

void CBdD::LoadHistory()
{
    CProjectStore *store = CAppData::ProjectStore();
    if (!store)
        return;
    store->ClearPart(3);
    std::vector<tHistory> recent;
    if (!ReadRecentCombinations(recent, HistorySize))
        return;
    for (const tHistory &h : recent)
        store->AppendHistory(h.IdProjet, h.IdActivite, h.IdTauxHoraire);
}

bool CBdD::ReadRecentCombinations(std::vector<tHistory> &recent, int count)
{
    if (!IsOpen())
        return false;
    std::vector<tHistory> found;
    // Each combination met, as SQL literals (quote()), so that the next
    // reads can pass over its entries: "IdProjet IS 4 and ...".
    QString known = QStringLiteral("0");
    double newest = 0;
    const auto take = [&](const SQLite::MyTable &t, int r) {
        found.push_back(tHistory{t.GetIntAt(r, 0), t.GetIntAt(r, 1), t.GetIntAt(r, 2)});
        known += Formatter::sprintf(u" or (IdProjet IS %s and IdActivite IS %s and IdTauxHoraire IS %s)",
                                    {t.GetCell(r, 4), t.GetCell(r, 5), t.GetCell(r, 6)});
        newest = t.GetCell(r, 3).toDouble();
    };
    // A combination's newest entry is the first of its entries met from the
    // newest start down, so the first `count` combinations met among the
    // newest entries are the `count` newest ones: most of the time the
    // newest entries hold them all.
    SQLite::MyTablePtr t = ReadRows(Formatter::sprintf(
        u"select IdProjet, IdActivite, IdTauxHoraire, min(Newest) as Newest, quote(IdProjet), quote(IdActivite), "
        u"quote(IdTauxHoraire) from (select IdProjet, IdActivite, IdTauxHoraire, -Debut as Newest from Taches "
        u"where Deleted=0 and -Debut is not null order by -Debut limit %d) group by IdProjet, IdActivite, "
        u"IdTauxHoraire order by Newest limit %d",
        {RecentEntriesRead, count}));
    if (!t)
        return false;
    for (int r = 0; r < t->rowCount() && int(found.size()) < count; ++r)
        take(*t, r);
    // Fewer there (weeks on one project): each next combination is the
    // newest entry of one not met yet, looked for down the index from where
    // the last one was met, so that the walk stops at the last combination
    // wanted instead of going through the whole history.
    bool dated = t->rowCount() > 0;
    while (dated && int(found.size()) < count) {
        t = ReadRows(Formatter::sprintf(
            u"select IdProjet, IdActivite, IdTauxHoraire, -Debut as Newest, quote(IdProjet), quote(IdActivite), "
            u"quote(IdTauxHoraire) from Taches where Deleted=0 and -Debut >= %I64d and not (%s) order by -Debut "
            u"limit 1",
            {qint64(std::floor(newest)), known}));
        if (!t)
            return false;
        dated = t->rowCount() > 0;
        if (dated)
            take(*t, 0);
    }
    // Then the combinations whose entries all lack a start, in no set order.
    if (int(found.size()) < count) {
        t = ReadRows(Formatter::sprintf(
            u"select IdProjet, IdActivite, IdTauxHoraire from Taches where Deleted=0 and -Debut is null and not (%s) "
            u"group by IdProjet, IdActivite, IdTauxHoraire limit %d",
            {known, count - int(found.size())}));
        if (!t)
            return false;
        for (int r = 0; r < t->rowCount(); ++r)
            found.push_back(tHistory{t->GetIntAt(r, 0), t->GetIntAt(r, 1), t->GetIntAt(r, 2)});
    }
    recent.insert(recent.end(), found.begin(), found.end());
    return true;
}
