// Forecast rows and the recorded-time totals of the project tree.
#include "CBdD.h"

#include "CAnnulation.h"
#include "CAppData.h"
#include "CConfiguration.h"
#include "CDataChangedNotifier.h"
#include "CProjectStore.h"
#include "Clock.h"
#include "Formatter.h"
#include "IntParse.h"
#include "RecordedTotalsCache.h"
#include "tForecast.h"

#include <QFileInfo>
#include <QSet>

using Platform::Formatter;

namespace {

QString textAt(const SQLite::MyTable &t, int row, int col)
{
    return col < 0 ? QString() : t.GetCellView(row, col).toString();
}

// Fills a record from row `row` of a result holding the columns of
// Forecast. A missing value reads as 0.
void readForecastRow(const SQLite::MyTable &t, int row, tForecast &f)
{
    auto col = [&](const char16_t *name) { return t.ColumnIndex(name); };
    f.IdProject = t.GetIntAt(row, col(u"IdProject"), -1);
    f.IdActivity = t.GetIntAt(row, col(u"IdActivity"), -2);
    f.DateDebut = t.GetInt64At(row, col(u"DateDebut"));
    f.DateFin = t.GetInt64At(row, col(u"DateFin"));
    f.DateAlerte = t.GetInt64At(row, col(u"DateAlerte"));
    f.Prevu = t.GetIntAt(row, col(u"Prevu"));
    f.TypePrevu = t.GetIntAt(row, col(u"TypePrevu"));
    f.DureeSupp = t.GetIntAt(row, col(u"DureeSupp"));
    f.TypeDureeSupp = t.GetIntAt(row, col(u"TypeDureeSupp"));
    f.Status = t.GetIntAt(row, col(u"Status"));
    f.Total = t.GetInt64At(row, col(u"Total"));
    f.Priority = t.GetIntAt(row, col(u"Priority"));
    f.Title = textAt(t, row, col(u"Title"));
    f.Notes = textAt(t, row, col(u"Notes"));
    f.bJours = t.GetIntAt(row, col(u"bJours")) != 0;
    f.bModeAuto = t.GetIntAt(row, col(u"bModeAuto")) != 0;
    f.bPrevuAuto = t.GetIntAt(row, col(u"bPrevuAuto")) != 0;
    f.TypeDateDebut = t.GetIntAt(row, col(u"TypeDateDebut"));
    f.TypeDateFin = t.GetIntAt(row, col(u"TypeDateFin"));
    f.Predecesseurs = textAt(t, row, col(u"Predecesseurs"));
}

qint64 nodeKey(int projectId, int activityId)
{
    return (qint64(projectId) << 32) | quint32(activityId);
}

struct LoadOptions
{
    bool showActivities = true;
    bool showUndefined = false; // rows without activity kept as nodes too
};

LoadOptions loadOptions(const CProjectStore &store)
{
    LoadOptions o;
    if (const CConfiguration *config = CAppData::Configuration()) {
        o.showActivities = config->showActivities;
        o.showUndefined = config->forecastRunningOnActivity;
    } else {
        o.showActivities = store.Context().showActivities;
        o.showUndefined = store.Context().showUndefinedActivity;
    }
    // The second flag only counts together with the first.
    o.showUndefined = o.showUndefined && o.showActivities;
    return o;
}

// Reads the live forecast rows that become nodes of the tree. With `apply`
// they are handed to the store; `keys` (may be null) receives the keys of
// the activity rows kept. -1 when the query failed, else the row count.
int readForecastRows(CBdD &db, CProjectStore &store, const LoadOptions &o, bool apply,
                     QSet<qint64> *keys)
{
    SQLite::MyTablePtr t = db.Query(
        o.showActivities
            ? QStringView(u"Select Forecast.* FROM Forecast left join Projets on "
                          u"Forecast.IdProject=Projets.Id left join Activites on "
                          u"Forecast.IdActivity=Activites.Id where Forecast.Deleted=0 and "
                          u"(Forecast.IdProject=-1 or Projets.Deleted=0) and "
                          u"(Forecast.IdActivity=-1 or Forecast.IdActivity=-2 or "
                          u"Activites.Deleted=0)")
            : QStringView(u"Select Forecast.* FROM Forecast left join Projets on "
                          u"Forecast.IdProject=Projets.Id where Forecast.Deleted=0 and "
                          u"(Forecast.IdProject=-1 or Projets.Deleted=0) and "
                          u"Forecast.IdActivity=-2"));
    if (!t)
        return -1;
    for (int r = 0; r < t->rowCount(); ++r) {
        tForecast f;
        readForecastRow(*t, r, f);
        const bool kept = o.showActivities
            ? (f.IdProject == -1 || f.IdActivity != -1 || o.showUndefined)
            : f.IdActivity == -2;
        if (!kept)
            continue;
        if (keys && f.IdActivity != -2)
            keys->insert(nodeKey(f.IdProject, f.IdActivity));
        if (apply)
            store.SetForecast(f);
    }
    return t->rowCount();
}

void clearStatistics(CProject *node)
{
    tForecast &f = node->Forecast();
    f.NbTaches = 0;
    f.TotalTaches = 0;
    f.MinDeb = 0;
    f.MaxFin = 0;
    for (CProject *child : node->Children())
        clearStatistics(child);
}

// Removes the activity nodes that only recorded entries had made and that
// no longer have any: the tree then holds what a full load would build.
void pruneEmptyActivityNodes(CProject *node, const QSet<qint64> &rowKeys)
{
    const std::vector<CProject *> children = node->Children();
    for (CProject *child : children) {
        if (child->IsActivity() && child->Children().empty() && child->Forecast().NbTaches == 0
            && !rowKeys.contains(nodeKey(child->ProjectId(), child->ActivityId()))) {
            node->RemoveChild(child);
            delete child;
        } else {
            pruneEmptyActivityNodes(child, rowKeys);
        }
    }
}

// What tells a later load whether the entries changed since this one: the
// entries stamped at or after `since`, the newest stamp the load read. A
// change made after the second of `since` stamps a later second, and an
// undo puts an older stamp back on rows stamped then: their count and
// newest stamp show both, read from the index on the stamp alone. Only a
// load made within that very second needs the rows' values too, for a
// change made later in that second: one sum over them, each value weighted
// by its row's id so that values exchanged between rows count. Either way
// a few numbers, however many entries an import or a synchronisation
// stamped in one second.
QString stampBoundary(CBdD &db, qint64 since, bool withValues)
{
    static const QString values = QStringLiteral(
        ", sum(((ifnull(IdProjet, 0) % 1000003) + 1000003) * (Id % 65521 + 1)"
        " + ((ifnull(IdActivite, 0) % 1000003) + 1000003) * (Id % 65519 + 2)"
        " + (ifnull(Debut, 0) % 1000003) * (Id % 65497 + 3)"
        " + (ifnull(Fin, 0) % 1000003) * (Id % 65479 + 4)"
        " + (ifnull(Deleted, 0) % 1000003) * (Id % 65449 + 5)"
        " + (ifnull(Date_Modif, 0) % 1000003) * (Id % 65437 + 6))");
    SQLite::MyTablePtr t = db.Query(Formatter::sprintf(
        u"select count(*), max(Date_Modif)%s from Taches where Date_Modif >= %I64d",
        {withValues ? values : QString(), since}));
    if (!t || t->rowCount() == 0)
        return QStringLiteral("?");
    QString text;
    for (int c = 0; c < t->columnCount(); ++c) {
        text += t->GetCellView(0, c);
        text += u',';
    }
    return text;
}

// Whether the load of the totals that `store` holds was made after the
// second of the newest stamp it read.
bool loadedAfterNewestStamp(const CProjectStore &store)
{
    return store.m_totalsReadAt > store.m_totalsLoadTime;
}

// The newest entry id, 0 without entries (-1 when it cannot be read).
qint64 newestId(CBdD &db)
{
    SQLite::MyTablePtr t = db.Query(u"select ifnull(max(Id), 0) from Taches");
    return t.hasRows() ? Platform::wtoi64(t->GetCellView(0, 0)) : -1;
}

qint64 pagesOf(CBdD &db)
{
    SQLite::MyTablePtr t = db.Query(u"pragma page_count");
    return t.hasRows() ? Platform::wtoi64(t->GetCellView(0, 0)) : -1;
}

// Whether `store` loads the totals of the database at `path` for the first
// time (and from now on, not).
bool firstLoadOf(CProjectStore &store, const QString &path)
{
    const QString key = QFileInfo(path).absoluteFilePath();
    if (store.m_totalsLoadedFrom.contains(key))
        return false;
    store.m_totalsLoadedFrom.insert(key);
    return true;
}

// Takes the sums kept for the database when its entries are as they were
// when the sums were made: the same newest entry id and page count, and the
// entries stamped since the newest stamp then read as they were.
bool keptTotalsHold(CBdD &db, const QString &path, bool byActivity, qint64 newestEntryId, qint64 pageCount,
                    RecordedTotalsCache::Snapshot &snapshot)
{
    if (newestEntryId < 0 || pageCount < 0)
        return false;
    if (!RecordedTotalsCache::Load(path, snapshot) || snapshot.byActivity != byActivity
        || snapshot.newestEntryId != newestEntryId || snapshot.pageCount != pageCount)
        return false;
    const bool withValues = !(snapshot.readAt > snapshot.newestStamp);
    return stampBoundary(db, snapshot.newestStamp, withValues) == snapshot.boundary;
}

} // namespace

bool CBdD::InitForecast(bool full)
{
    CProjectStore *store = CAppData::ProjectStore();
    if (!store || !IsOpen())
        return false;
    const LoadOptions options = loadOptions(*store);
    bool rows = false;

    if (!full
        && stampBoundary(*this, store->m_totalsLoadTime, !loadedAfterNewestStamp(*store))
               == store->m_totalsBoundary)
        return false; // nothing changed since the last load
    // Taken before the reads: a change made while they run is stamped this
    // second or later, and never counts as read.
    const qint64 readAt = Platform::Clock::now();

    // The first load of a database into the store (at the start, after a
    // change of user) takes the sums kept from an earlier run while the
    // entries are as they were then. Later loads sum the entries again: a
    // merge of a device's entries writes the device's older stamps, which
    // the change test cannot see, and the running program follows such
    // writes by loading in full. The newest entry id is read before the
    // pass over the entries, so that an entry added meanwhile fails the
    // next test.
    const int kept = m_connection->GetLastCode();
    const qint64 newestEntryId = newestId(*this);
    const qint64 pageCount = pagesOf(*this);
    RecordedTotalsCache::Snapshot snapshot;
    const bool fromSnapshot = firstLoadOf(*store, m_path)
        && keptTotalsHold(*this, m_path, options.showActivities, newestEntryId, pageCount, snapshot);
    std::vector<RecordedTotalsCache::Row> totals;
    if (fromSnapshot)
        totals = std::move(snapshot.rows);

    // Both reads come before the store is touched: when one fails (the
    // other program holding the file while it commits) the tree and its
    // totals stay as they were, rather than emptied, and the next load
    // catches up.
    m_connection->SetLastCode(0);
    QSet<qint64> rowKeys;
    const int forecastRows = readForecastRows(*this, *store, options, full, &rowKeys);
    if (full && forecastRows > 0)
        rows = true;

    SQLite::MyTablePtr t;
    if (!fromSnapshot) {
        t = Query(options.showActivities
                      ? QStringView(u"select IdProjet, IdActivite, count() as NbTask, sum(Fin-Debut) as "
                                    u"Total, Min(Debut) as MinDeb, Max(Fin) as MaxFin FROM Taches where "
                                    u"Taches.Deleted=0 and Fin > 0 group by IdProjet, IdActivite")
                      : QStringView(u"select IdProjet, count() as NbTask, sum(Fin-Debut) as Total, "
                                    u"Min(Debut) as MinDeb, Max(Fin) as MaxFin FROM Taches where "
                                    u"Taches.Deleted=0 and Fin > 0 group by IdProjet"));
    }
    if (m_connection->GetLastCode() != 0) {
        if (full) {
            // A rebuilt tree still reads its booked time again.
            store->ResetBookedPeriods();
            store->Touch();
        }
        LogSqlError(QStringLiteral("InitForecast"));
        return false;
    }
    m_connection->SetLastCode(kept);
    if (t) {
        const int cProject = t->ColumnIndex(u"IdProjet");
        const int cActivity = t->ColumnIndex(u"IdActivite");
        const int cCount = t->ColumnIndex(u"NbTask");
        const int cTotal = t->ColumnIndex(u"Total");
        const int cMin = t->ColumnIndex(u"MinDeb");
        const int cMax = t->ColumnIndex(u"MaxFin");
        totals.reserve(size_t(t->rowCount()));
        for (int r = 0; r < t->rowCount(); ++r)
            totals.push_back({t->GetIntAt(r, cProject, -1),
                              options.showActivities ? t->GetIntAt(r, cActivity, -1) : -1, t->GetIntAt(r, cCount),
                              t->GetInt64At(r, cTotal), t->GetInt64At(r, cMin), t->GetInt64At(r, cMax)});
    }

    // The totals are always recomputed whole: adding only the changed
    // entries would count an edited entry twice and leave a moved one on
    // its former project.
    clearStatistics(store->GetRoot());
    for (const RecordedTotalsCache::Row &row : totals) {
        int projectId = row.project;
        const CProject *node = store->GetNode(projectId);
        if (!node || node->IsRoot())
            projectId = -1;
        int activityId = -2;
        if (options.showActivities) {
            activityId = row.activity;
            if (activityId == -1 || !store->GetActivity(activityId))
                activityId = -2;
        }
        store->AddTaskStatistics(projectId, activityId, row.count, row.total, row.firstStart, row.lastEnd);
    }
    if (!totals.empty())
        rows = true;
    // Nodes a window holds are not freed: the tree is read again once it
    // lets them go.
    if (store->NodesHeld())
        store->PutOffNodeReload();
    else
        pruneEmptyActivityNodes(store->GetRoot(), rowKeys);

    if (fromSnapshot) {
        // The change test just passed: what it compared still describes
        // the sums.
        store->m_totalsLoadTime = snapshot.newestStamp;
        store->m_totalsReadAt = snapshot.readAt;
        store->m_totalsBoundary = snapshot.boundary;
    } else {
        SQLite::MyTablePtr last = Query(u"select Date_Modif from Taches order by Date_Modif desc limit 1");
        if (last.hasRows() && !last->GetCellView(0, 0).isEmpty())
            store->m_totalsLoadTime = Platform::wtoi64(last->GetCellView(0, 0));
        store->m_totalsReadAt = readAt;
        store->m_totalsBoundary =
            stampBoundary(*this, store->m_totalsLoadTime, !loadedAfterNewestStamp(*store));
        if (m_connection->GetLastCode() == 0) {
            snapshot.databasePath = m_path;
            snapshot.byActivity = options.showActivities;
            snapshot.newestStamp = store->m_totalsLoadTime;
            snapshot.readAt = store->m_totalsReadAt;
            snapshot.boundary = store->m_totalsBoundary;
            snapshot.newestEntryId = newestEntryId;
            snapshot.pageCount = pageCount;
            snapshot.rows = std::move(totals);
            RecordedTotalsCache::Save(snapshot);
        }
    }
    // Time entries changed (or a new tree): the booked time is read again.
    store->ResetBookedPeriods();
    store->Touch();
    LogSqlError(QStringLiteral("InitForecast"));
    return rows;
}

bool CBdD::GetForecast(tForecast &forecast, qint64 rowid, bool *found)
{
    if (found)
        *found = false;
    if (!IsOpen())
        return false;
    SQLite::MyTablePtr t =
        Query(Formatter::sprintf(u"select * from Forecast where rowid=%I64d", {rowid}));
    if (!t)
        return false;
    if (t->rowCount() > 0) {
        readForecastRow(*t, 0, forecast);
        if (found)
            *found = true;
    }
    return true;
}


void CBdD::FormatPredecessorNames(const QString &predecessors, QString &out)
{
    out.clear();
    if (!IsOpen())
        return;
    const CProjectStore *store = CAppData::ProjectStore();
    const QString separator =
        store ? store->Context().separator : QStringLiteral(" / ");
    // Items are separated by ";" whether each link is wrapped in ";...;" or
    // only closed by ";": empty items are skipped.
    for (QStringView item : QStringView(predecessors).split(u';', Qt::SkipEmptyParts)) {
        item = item.trimmed();
        if (item.isEmpty())
            continue;
        const auto fields = item.split(u',');
        const int projectId = Platform::wtoi(fields.value(0));
        const int activityId = fields.size() > 1 ? Platform::wtoi(fields[1]) : -2;
        QString line;
        auto nameOf = [this](const char16_t *format, int id) {
            SQLite::MyTablePtr t = Query(Formatter::sprintf(format, {id}));
            return t.hasRows() ? t->GetCell(0, 0) : QString();
        };
        const bool withActivity = activityId != -1 && activityId != -2;
        if (projectId != -1) {
            line = nameOf(u"select Nom from Projets where Id=%d and Deleted=0", projectId);
            const QString activity = !line.isEmpty() && withActivity
                ? nameOf(u"select Nom from Activites where Id=%d and Deleted=0", activityId)
                : QString();
            // A deleted activity leaves the project's name alone.
            if (!activity.isEmpty())
                line += separator + activity;
        } else if (withActivity) {
            line = nameOf(u"select Nom from Activites where Id=%d and Deleted=0", activityId);
        }
        if (!line.isEmpty())
            out += line + QStringLiteral("\r\n");
    }
    if (out.endsWith(QStringLiteral("\r\n")))
        out.chop(2);
}
