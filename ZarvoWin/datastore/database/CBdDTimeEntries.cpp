// Time entries in the database: reads and writes of Taches, overlap
// resolution and batch edits. The write convention (BeginWrite, undo
// pairs, stamps, EndWrite) is described in CBdD.h.
#include "CBdD.h"

#include "CAnnulation.h"
#include "CAppData.h"
#include "CConfiguration.h"
#include "CProjectStore.h"
#include "EntryList.h"
#include "Formatter.h"
#include "LocalTime.h"
#include "QuoteSql.h"
#include "TimeEntryOverlap.h"
#include "tCurrentEntry.h"

#include "Clock.h"
#include "IntParse.h"

#include <algorithm>
#include <limits>
#include <optional>


using Platform::Formatter;

namespace {

// ---------------------------------------------------------------------
// The project store, as far as time entries need it: which projects and
// activities exist, and the recent combinations. Without a store (a tool
// working on a file alone) every id is taken as it is and no recent list
// is kept.
// ---------------------------------------------------------------------
namespace ProjectStoreSeam {

bool KnowsProject(int projectId)
{
    const CProjectStore *store = CAppData::ProjectStore();
    if (!store)
        return true;
    const CProject *node = store->GetNode(projectId);
    return node && !node->IsRoot();
}

bool KnowsActivity(int activityId)
{
    const CProjectStore *store = CAppData::ProjectStore();
    return !store || store->GetActivity(activityId) != nullptr;
}

void AddHistory(int projectId, int activityId, int rateId)
{
    if (CProjectStore *store = CAppData::ProjectStore())
        store->AddHistory(projectId, activityId, rateId);
}

} // namespace ProjectStoreSeam

// An amount in the user's currency format (two decimals when no settings
// object is registered).
QString formatCurrency(float amount)
{
    if (const CConfiguration *config = CAppData::Configuration())
        return config->FormatCurrency(static_cast<double>(amount));
    return Formatter::sprintf(u"%0.2f", {amount});
}

// ---------------------------------------------------------------------
// Reading rows
// ---------------------------------------------------------------------

QString textCell(const SQLite::MyTable &t, int row, int col)
{
    return col < 0 ? QString() : t.GetCellView(row, col).toString();
}

// Column positions of a "Select * FROM Taches" result.
struct EntryColumns
{
    int id, debut, fin, projet, activite, facture, taux, title, notes;

    explicit EntryColumns(const SQLite::MyTable &t)
        : id(t.ColumnIndex(u"Id")), debut(t.ColumnIndex(u"Debut")), fin(t.ColumnIndex(u"Fin")),
          projet(t.ColumnIndex(u"IdProjet")), activite(t.ColumnIndex(u"IdActivite")),
          facture(t.ColumnIndex(u"Facture")), taux(t.ColumnIndex(u"IdTauxHoraire")),
          title(t.ColumnIndex(u"Title")), notes(t.ColumnIndex(u"Notes"))
    {
    }

    // A missing (NULL) Id reads -1, other missing numbers 0.
    void Read(const SQLite::MyTable &t, int row, tTacheFull &e) const
    {
        e.Id = t.GetIntAt(row, id, -1);
        e.Debut = t.GetInt64At(row, debut);
        e.Fin = t.GetInt64At(row, fin);
        e.IdProjet = t.GetIntAt(row, projet);
        e.IdActivite = t.GetIntAt(row, activite);
        e.Facture = t.GetIntAt(row, facture) != 0 ? 1 : 0;
        e.IdTauxHoraire = t.GetIntAt(row, taux);
        e.Title = textCell(t, row, title);
        e.Notes = textCell(t, row, notes);
    }
};

template <class Entry>
void readAll(const SQLite::MyTable &t, std::vector<Entry> &out)
{
    const EntryColumns cols(t);
    out.reserve(out.size() + static_cast<size_t>(t.rowCount()));
    for (int r = 0; r < t.rowCount(); ++r) {
        Entry e;
        cols.Read(t, r, e);
        out.push_back(std::move(e));
    }
}

// The SQL literal of a value read together with its typeof(): NULL stays
// NULL, anything else is written back quoted.
QString literal(const SQLite::MyTable &t, int row, int typeCol)
{
    if (t.GetCellView(row, typeCol) == u"null")
        return QStringLiteral("NULL");
    return u'\'' + QuoteSql(t.GetCellView(row, typeCol + 1)) + u'\'';
}

// Infos 'Modif' := now, undoable; no broadcast (the batch edits do not
// post one).
void stampModif(CBdD &db, qint64 now)
{
    SQLite::MyTablePtr old = db.Query(u"select typeof(Value), Value from Infos where Name='Modif'");
    QString undo;
    if (old.hasRows())
        undo = Formatter::sprintf(u"update Infos set Value=%s where Name='Modif'", {literal(*old, 0, 0)});
    db.ExecuteWithUndo(Formatter::sprintf(u"update Infos set Value='%I64d' where Name='Modif'", {now}), undo);
}

// Sets `assignments` on the row `id` of Taches, undone by putting the
// named columns back as they were (NULL as NULL), and stamps the row. False,
// with nothing written, when there is no such row, or none that also meets
// `condition` (SQL, may be empty).
bool changeEntryColumns(CBdD &db, int id, std::initializer_list<const char16_t *> columns,
                        const QString &assignments, const QString &condition = QString())
{
    QString select;
    for (const char16_t *c : columns)
        select += Formatter::sprintf(select.isEmpty() ? u"typeof(%s), %s" : u", typeof(%s), %s", {c, c});
    const QString also = condition.isEmpty() ? QString() : QStringLiteral(" and ") + condition;
    SQLite::MyTablePtr old = db.Query(Formatter::sprintf(u"select %s from Taches where Id=%d%s", {select, id, also}));
    if (!old.hasRows())
        return false;
    QString restore;
    int typeCol = 0;
    for (const char16_t *c : columns) {
        restore += Formatter::sprintf(restore.isEmpty() ? u"%s=%s" : u",%s=%s", {c, literal(*old, 0, typeCol)});
        typeCol += 2;
    }
    if (db.ExecuteWithUndo(Formatter::sprintf(u"update Taches set %s where Id=%d", {assignments, id}),
                           Formatter::sprintf(u"update Taches set %s where Id=%d", {restore, id}))
        == 0)
        db.StampRow(CBdD::TableTaches, id);
    return true;
}

// The new row of an entry with the fields of `fields`, from `debut` to `fin`.
QString insertEntryStatement(int id, qint64 debut, qint64 fin, const tTacheFull &fields)
{
    return Formatter::sprintf(u"insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,Facture,IdTauxHoraire,Deleted,"
                              u"Title,Notes) VALUES (%d,%I64d,%I64d,%d,%d,%d,%d,0,'%s','%s')",
                              {id, debut, fin, fields.IdProjet, fields.IdActivite, fields.Facture,
                               fields.IdTauxHoraire, QuoteSql(fields.Title), QuoteSql(fields.Notes)});
}

// The length of the longest entry stored (0 without one): a finished
// entry that began before an instant ends at most that long after it, so
// the index on the end reads only the entries around a period, where an
// end after the period's start would take in every later entry (the whole
// history after a period years back). False when it cannot be read;
// `length` is left empty when the file holds no usable figure.
bool readLongestEntry(CBdD &db, std::optional<qint64> &length)
{
    length.reset();
    SQLite::MyTablePtr longest = db.ReadRows(u"select max(Fin - Debut) from Taches");
    if (!longest)
        return false;
    if (longest->rowCount() == 0 || longest->GetCellView(0, 0).isEmpty()) {
        length = 0; // no entry at all
        return true;
    }
    bool number = false;
    const qint64 value = longest->GetCellView(0, 0).toLongLong(&number);
    if (number)
        length = std::max<qint64>(value, 0);
    return true;
}

// The latest end of a finished entry that began before `instant`; nothing
// when no bound is known or it would not fit in 64 bits.
std::optional<qint64> latestEndBefore(qint64 instant, const std::optional<qint64> &longest)
{
    if (!longest || *longest > std::numeric_limits<qint64>::max() - instant)
        return std::nullopt;
    return instant + *longest;
}

// The live entries other than `entry` that collide with it, in start order:
// for a running entry every entry ending after its start or still running;
// else those starting before its end and ending after its start (or still
// running), read between both bounds when the longest entry is known.
QString collisionQuery(const tTacheFull &entry, const std::optional<qint64> &longest)
{
    if (entry.IsRunning())
        return Formatter::sprintf(
            u"Select * FROM Taches Where Deleted=0 and Id <> %d and (Fin > %I64d or Fin = 0) order by Debut",
            {entry.Id, entry.Debut});
    if (const std::optional<qint64> latest = latestEndBefore(entry.Fin, longest))
        return Formatter::sprintf(u"Select * FROM Taches Where Deleted=0 and Id <> %d and Debut < %I64d and "
                                  u"((Fin > %I64d and Fin <= %I64d) or Fin=0) order by Debut",
                                  {entry.Id, entry.Fin, entry.Debut, *latest});
    return Formatter::sprintf(
        u"Select * FROM Taches Where Deleted=0 and Id <> %d and Debut < %I64d and (Fin > %I64d or Fin=0) order by Debut",
        {entry.Id, entry.Fin, entry.Debut});
}

} // namespace

// =====================================================================
// Reads
// =====================================================================

bool CBdD::GetTimeEntry(tTacheFull &entry, int id, bool *failed)
{
    SQLite::MyTablePtr t;
    if (IsOpen())
        t = ReadRows(Formatter::sprintf(u"Select * FROM Taches Where Id=%i and Deleted=0", {id}));
    if (failed)
        *failed = !t;
    if (!t.hasRows())
        return false;
    EntryColumns(*t).Read(*t, 0, entry);
    return true;
}

bool CBdD::GetTimeEntryStamps(const std::vector<int> &ids, std::map<int, tEntryStamp> &stamps)
{
    stamps.clear();
    if (!IsOpen())
        return false;
    for (int id : ids)
        stamps[id] = tEntryStamp();
    if (ids.empty())
        return true;
    SQLite::MyTablePtr t = ReadRows(QStringLiteral("select Id, Date_Modif, Debut, Fin, IdProjet, IdActivite, "
                                                   "IdTauxHoraire from Taches where Deleted=0 and Id in ")
                                    + EntryList::ToSql(ids));
    if (!t)
        return false;
    for (int r = 0; r < t->rowCount(); ++r) {
        tEntryStamp &stamp = stamps[t->GetIntAt(r, 0, -1)];
        stamp.live = true;
        stamp.modified = t->GetInt64At(r, 1);
        stamp.start = t->GetInt64At(r, 2);
        stamp.end = t->GetInt64At(r, 3);
        stamp.project = t->GetIntAt(r, 4, -1);
        stamp.activity = t->GetIntAt(r, 5, -1);
        stamp.rate = t->GetIntAt(r, 6, -1);
    }
    return true;
}

bool CBdD::GetTimeEntryDetails(tTimeEntryDetails &details, int id)
{
    if (!IsOpen())
        return false;
    SQLite::MyTablePtr t = Query(Formatter::sprintf(
        u"Select Taches.*, Projets.Nom as NomProjet, Activites.Nom as NomActivite, TauxHoraire.Nom as NomRate, "
        u"TauxHoraire.Valeur FROM Taches left join Projets on Taches.IdProjet=Projets.Id left join Activites on "
        u"Taches.IdActivite=Activites.Id left join TauxHoraire on Taches.IdTauxHoraire=TauxHoraire.Id Where Taches.Id=%i",
        {id}));
    if (!t.hasRows())
        return false;
    tTacheFull e;
    EntryColumns(*t).Read(*t, 0, e);
    details.Id = e.Id;
    details.Debut = e.Debut;
    details.Fin = e.Fin;
    details.Facture = e.Facture;
    details.Title = e.Title;
    details.Notes = e.Notes;
    details.NomProjet = textCell(*t, 0, t->ColumnIndex(u"NomProjet"));
    details.NomActivite = textCell(*t, 0, t->ColumnIndex(u"NomActivite"));
    details.Rate = textCell(*t, 0, t->ColumnIndex(u"NomRate"));
    const QStringView value = t->GetCellView(0, t->ColumnIndex(u"Valeur"));
    if (!value.isEmpty()) {
        const float amount = value.toFloat();
        details.Rate += Formatter::sprintf(u" (%s)", {formatCurrency(amount)});
    }
    return true;
}

bool CBdD::GetLastTimeEntry(tTacheFull &entry)
{
    if (!IsOpen())
        return false;
    SQLite::MyTablePtr t = Query(u"Select * FROM Taches Where Deleted=0 order by Fin desc LIMIT 1");
    if (!t.hasRows())
        return false;
    EntryColumns(*t).Read(*t, 0, entry);
    return true;
}

bool CBdD::GetNewestTimeEntry(tTacheFull &entry, bool *failed)
{
    SQLite::MyTablePtr t;
    if (IsOpen()) {
        // "order by -Debut" walks the index from the newest start; entries
        // without a start, which "order by Debut desc" would give last, are
        // only looked for when no other live entry exists.
        t = ReadRows(u"select Taches.* from Taches where Deleted=0 and -Debut is not null order by -Debut limit 1");
        if (t && t->rowCount() == 0)
            t = ReadRows(u"select Taches.* from Taches where Deleted=0 and -Debut is null limit 1");
    }
    if (failed)
        *failed = !t;
    if (!t.hasRows())
        return false;
    EntryColumns(*t).Read(*t, 0, entry);
    return true;
}

bool CBdD::GetRunningEntries(std::vector<tTacheParams> &entries)
{
    if (!IsOpen())
        return false;
    SQLite::MyTablePtr t = ReadRows(QStringLiteral("Select * FROM Taches Where Deleted=0 and Fin=0"));
    if (!t)
        return false;
    readAll(*t, entries);
    return true;
}

int CBdD::CountRunningEntries(std::vector<int> *ids)
{
    if (!IsOpen())
        return -1;
    SQLite::MyTablePtr t = ReadRows(u"Select Id FROM Taches Where Deleted=0 and Fin=0");
    if (!t)
        return ReadFailed;
    if (t.hasRows()) {
        if (ids) {
            for (int r = 0; r < t->rowCount(); ++r)
                ids->push_back(t->GetIntAt(r, 0, -1));
        }
        return t->rowCount();
    }
    SQLite::MyTablePtr any = ReadRows(u"Select Id FROM Taches Where Deleted=0 limit 1");
    if (!any)
        return ReadFailed;
    return any.hasRows() ? 0 : -1;
}

bool CBdD::LoadTimeEntries(std::vector<tTacheParams> &entries, const QDate &day)
{
    entries.clear();
    if (!IsOpen())
        return false;
    // Local midnights, so a daylight-saving day lasts 23 or 25 hours.
    const qint64 dayStart = Platform::LocalTime::midnight(day);
    const qint64 dayEnd = Platform::LocalTime::midnight(day.addDays(1)) - 1;
    // A finished entry that reaches into the day ends after its start and
    // at most the longest entry's length after its end.
    std::optional<qint64> longest;
    if (!readLongestEntry(*this, longest))
        return false;
    const std::optional<qint64> latest = latestEndBefore(dayEnd, longest);
    SQLite::MyTablePtr t = ReadRows(
        latest ? Formatter::sprintf(u"Select * FROM Taches Where Debut <= %I64d and ((Fin > %I64d and Fin <= %I64d) "
                                    u"or Fin=0) and Deleted=0 order by Debut asc",
                                    {dayEnd, dayStart, *latest})
               : Formatter::sprintf(u"Select * FROM Taches Where Debut <= %I64d and (Fin > %I64d or Fin=0) and "
                                    u"Deleted=0 order by Debut asc",
                                    {dayEnd, dayStart}));
    if (!t)
        return false;
    const bool dayInFuture = Platform::Clock::now() < dayStart;
    const EntryColumns cols(*t);
    entries.reserve(static_cast<size_t>(t->rowCount()));
    for (int r = 0; r < t->rowCount(); ++r) {
        tTacheParams e;
        cols.Read(*t, r, e);
        // A running entry is shown on later days only up to today.
        if (e.IsRunning() && dayInFuture && e.Debut < dayStart)
            continue;
        entries.push_back(std::move(e));
    }
    return true;
}

bool CBdD::RefreshCurrentEntry()
{
    // Another file's entries are none of the application's business.
    if (m_otherFile)
        return IsOpen();
    tCurrentEntry *current = CAppData::CurrentEntry();
    if (!IsOpen()) {
        if (current)
            current->Entry.Id = -1;
        return false;
    }
    // Without a current entry kept (the tray) there is nothing to refresh.
    if (!current)
        return true;
    SQLite::MyTablePtr t = ReadRows(QStringLiteral("Select * FROM Taches Where Deleted=0 and Fin=0"));
    if (!t || t->rowCount() > 1)
        return false; // with several running entries the previous one stays
    if (t->rowCount() == 0) {
        current->Entry.Reset();
        return true;
    }
    tTacheFull e;
    EntryColumns(*t).Read(*t, 0, e);
    if (e.IdProjet != -1 && !ProjectStoreSeam::KnowsProject(e.IdProjet))
        e.IdProjet = -1;
    if (e.IdActivite != -1 && !ProjectStoreSeam::KnowsActivity(e.IdActivite))
        e.IdActivite = -1;
    current->Entry = e;
    const qint64 now = Platform::Clock::now();
    current->Elapsed = now > e.Debut ? now - e.Debut : 0;
    return true;
}

// =====================================================================
// Writes of one entry
// =====================================================================

// The statements of a save inside an open write: ends another running
// entry at the entry's start, then updates the entry's live row or inserts
// it under a new id (`inserted` then true). False when a statement failed
// or no id was had.
static bool saveEntryRows(CBdD &db, const tTacheFull &entry, bool &projectChanged, bool &inserted)
{
    projectChanged = false;
    inserted = false;
    bool exists = false;
    if (entry.Id != -1) {
        SQLite::MyTablePtr t = db.Query(
            Formatter::sprintf(u"Select Id, IdProjet, IdActivite FROM Taches Where Deleted=0 and Id=%i", {entry.Id}));
        if (t.hasRows()) {
            exists = true;
            projectChanged = t->GetIntAt(0, 1) != entry.IdProjet || t->GetIntAt(0, 2) != entry.IdActivite;
        }
    }

    // Only one entry runs at a time: another one running since at or before
    // this entry's start ends there.
    SQLite::MyTablePtr running = db.Query(Formatter::sprintf(
        u"select Id from Taches where Deleted=0 and Fin=0 and Debut <= %I64d and Id <> %d", {entry.Debut, entry.Id}));
    if (running.hasRows()) {
        const int r = running->GetIntAt(0, 0, -1);
        db.ExecuteWithUndo(Formatter::sprintf(u"update Taches set Fin=%I64d where Id=%d", {entry.Debut, r}),
                           Formatter::sprintf(u"update Taches set Fin=0 where Id=%d", {r}));
        db.StampRow(CBdD::TableTaches, r);
    }

    if (exists) {
        db.UpdateRow(CBdD::TableTaches, entry.Id,
                     Formatter::sprintf(u"update Taches set Debut=%I64d,Fin=%I64d,IdProjet=%d,IdActivite=%d,Facture=%d,"
                                        u"IdTauxHoraire=%d,Title='%s',Notes='%s' where Id=%d",
                                        {entry.Debut, entry.Fin, entry.IdProjet, entry.IdActivite, entry.Facture,
                                         entry.IdTauxHoraire, QuoteSql(entry.Title), QuoteSql(entry.Notes),
                                         entry.Id}));
    } else {
        const int id = db.InsertNewRow(CBdD::TableTaches, [&entry](int newId) {
            return insertEntryStatement(newId, entry.Debut, entry.Fin, entry);
        });
        if (id < 0)
            return false;
        inserted = true;
    }
    return db.LastCode() == 0;
}

bool CBdD::SaveTimeEntry(const tTacheFull &entry, int favoriteId)
{
    if (!BeginWrite())
        return false;
    Connection()->SetLastCode(0);
    bool projectChanged = false;
    bool inserted = false;
    bool ok = saveEntryRows(*this, entry, projectChanged, inserted);
    // Started from a favourite: the favourite is marked used by the same
    // commit, so that a start is one write however it ends. A favourite
    // gone meanwhile starts nothing.
    if (ok && favoriteId != -1)
        ok = MarkFavoriteUsed(favoriteId) == 0;
    ok = EndWrite(ok);
    // The recent combinations follow what landed only.
    if (ok && inserted)
        ProjectStoreSeam::AddHistory(entry.IdProjet, entry.IdActivite, entry.IdTauxHoraire);
    RefreshCurrentEntry();
    NotifyWindows(0, projectChanged ? 1 : 0);
    if (ok && favoriteId != -1)
        RefreshTaskPaneAfterWrite();
    if (ok)
        RunBackupAfterWrite();
    return ok;
}

bool CBdD::SetTimeEntryTimes(int id, qint64 start, qint64 end)
{
    if (!BeginWrite())
        return false;
    Connection()->SetLastCode(0);
    // An entry that is not there is not re-timed.
    bool ok = changeEntryColumns(*this, id, {u"Debut", u"Fin"},
                                 Formatter::sprintf(u"Debut=%I64d,Fin=%I64d", {start, end}));
    ok = EndWrite(ok);
    RefreshCurrentEntry();
    NotifyWindows(0, 0);
    if (ok)
        RunBackupAfterWrite();
    return ok;
}

bool CBdD::StopTimeEntry(int id, qint64 end)
{
    if (!BeginWrite()) {
        // A backup that is due is still made while the file is open.
        if (IsOpen())
            RunBackupAfterWrite();
        return false;
    }
    Connection()->SetLastCode(0);
    // Only a live entry that still runs is stopped: one stopped or deleted
    // meanwhile (by the other program) keeps its end, and the stop fails.
    // The undo puts back the end the row had (0).
    bool ok = changeEntryColumns(*this, id, {u"Fin"}, Formatter::sprintf(u"Fin=%I64d", {end}),
                                 QStringLiteral("Fin=0 and Deleted=0"));
    ok = EndWrite(ok);
    RefreshCurrentEntry();
    NotifyWindows(0, 0);
    RunBackupAfterWrite();
    return ok;
}

bool CBdD::DeleteTimeEntry(int id)
{
    if (!BeginWrite())
        return false;
    Connection()->SetLastCode(0);
    bool ok = changeEntryColumns(*this, id, {u"Deleted"}, QStringLiteral("Deleted=1"));
    ok = EndWrite(ok);
    RefreshCurrentEntry();
    NotifyWindows(0, 1);
    if (ok)
        RunBackupAfterWrite();
    return ok;
}

// =====================================================================
// Overlaps
// =====================================================================

bool CBdD::FindOverlappingEntries(tTacheFull &entry, std::vector<tTacheFull> &list)
{
    if (!IsOpen())
        return false;
    std::optional<qint64> longest;
    if (!readLongestEntry(*this, longest))
        return false;
    SQLite::MyTablePtr t = ReadRows(collisionQuery(entry, longest));
    if (!t)
        return false;
    std::vector<tTacheFull> rows;
    readAll(*t, rows);
    list.clear();
    if (rows.empty())
        return true;
    if (TimeEntryOverlap::TrimToEdges(entry, rows))
        return true;
    list.reserve(rows.size() + 1);
    list.push_back(entry);
    list.insert(list.end(), rows.begin(), rows.end());
    return false;
}

bool CBdD::EntriesThatMayOverlap(const std::vector<int> &ids, std::set<int> &found)
{
    found.clear();
    if (!IsOpen())
        return false;
    std::optional<qint64> longest;
    if (!readLongestEntry(*this, longest))
        return false;
    if (!longest) {
        // No bound on how far back a colliding entry may start: all may.
        found.insert(ids.begin(), ids.end());
        return true;
    }
    // The two kinds of collision FindOverlappingEntries reads, each an
    // index search: an entry running since before this one's end, and a
    // finished one ending inside the span from its start to its end plus
    // the longest entry's length. An entry of ours that runs, that ends so
    // late that bound would not fit in 64 bits, or whose times are not
    // whole numbers, counts as colliding: FindOverlappingEntries decides.
    const qint64 lastBoundedEnd = std::numeric_limits<qint64>::max() - *longest;
    constexpr size_t IdsPerStatement = 500;
    for (size_t first = 0; first < ids.size(); first += IdsPerStatement) {
        const std::vector<int> part(ids.begin() + qsizetype(first),
                                    ids.begin() + qsizetype(std::min(ids.size(), first + IdsPerStatement)));
        SQLite::MyTablePtr t = ReadRows(Formatter::sprintf(
            u"select k.Id from Taches k where k.Id in %s and k.Deleted=0 and (typeof(k.Debut)<>'integer' "
            u"or typeof(k.Fin)<>'integer' or k.Fin=0 or k.Fin > %I64d "
            u"or exists (select 1 from Taches o where o.Fin=0 and o.Debut < k.Fin and o.Deleted=0 and o.Id <> k.Id) "
            u"or exists (select 1 from Taches o where o.Fin > k.Debut and o.Fin <= k.Fin + %I64d and o.Debut < k.Fin "
            u"and o.Deleted=0 and o.Id <> k.Id))",
            {EntryList::ToSql(part), lastBoundedEnd, *longest}));
        if (!t)
            return false;
        for (int r = 0; r < t->rowCount(); ++r)
            found.insert(t->GetIntAt(r, 0));
    }
    return true;
}

bool CBdD::InsertTimeEntry(tTacheFull &entry, bool fit)
{
    if (!BeginWrite())
        return false;
    Connection()->SetLastCode(0);
    tTacheFull stored = entry;
    std::optional<qint64> longest;
    bool ok = readLongestEntry(*this, longest);
    SQLite::MyTablePtr t = ok ? ReadRows(collisionQuery(entry, longest)) : SQLite::MyTablePtr();
    std::vector<tTacheFull> rows;
    if (t)
        readAll(*t, rows);
    else
        ok = false;

    if (ok && fit) {
        const std::optional<tDebutFin> gap = TimeEntryOverlap::LongestFreeGap(entry, rows);
        if (gap) {
            stored.Debut = gap->Debut;
            stored.Fin = gap->Fin;
        } else {
            ok = false; // no free time inside the entry's span
        }
    } else if (ok) {
        const TimeEntryOverlap::tOverwritePlan plan = TimeEntryOverlap::PlanOverwrite(entry, rows);
        // One statement per kind of change, which stamps the rows it
        // changes too; the whole rows, stamps included, are recorded for
        // the undo first. The 'Modif' stamp follows with the entry's own.
        const qint64 now = Platform::Clock::now();
        auto change = [&](const std::vector<int> &ids, const QString &setClause) {
            if (ids.empty())
                return;
            const QString condition = QStringLiteral("Id in ") + EntryList::ToSql(ids);
            const QString redo = Formatter::sprintf(
                u"update Taches set %s, Date_Modif=%I64d, Origine_Modif=%d Where %s", {setClause, now, 1, condition});
            RecordUndoWhere(redo, TableTaches, condition);
            Execute(redo);
            AnnounceChange();
        };
        change(plan.deleted, QStringLiteral("Deleted=1"));
        change(plan.cut, Formatter::sprintf(u"Fin=%I64d", {entry.Debut}));
        change(plan.moved, Formatter::sprintf(u"Debut=%I64d", {entry.Fin}));
        for (const tTacheFull &span : plan.split) {
            change({span.Id}, Formatter::sprintf(u"Fin=%I64d", {entry.Debut}));
            // The part after the entry becomes an entry of its own with the
            // same fields (still running when the spanning one was).
            const int id = InsertNewRow(TableTaches, [&](int newId) {
                return insertEntryStatement(newId, entry.Fin, span.Fin, span);
            });
            if (id < 0) {
                ok = false;
                break;
            }
        }
    }

    bool projectChanged = false;
    bool inserted = false;
    if (ok && LastCode() == 0)
        ok = saveEntryRows(*this, stored, projectChanged, inserted);
    else
        ok = false;
    ok = EndWrite(ok);
    if (!ok)
        return false;
    entry.Debut = stored.Debut;
    entry.Fin = stored.Fin;
    if (inserted)
        ProjectStoreSeam::AddHistory(entry.IdProjet, entry.IdActivite, entry.IdTauxHoraire);
    RefreshCurrentEntry();
    NotifyWindows(0, projectChanged ? 1 : 0);
    RunBackupAfterWrite();
    return true;
}

bool CBdD::GetEntryPeriodsAfter(std::vector<tDebutFin> &periods, qint64 instant)
{
    periods.clear();
    if (!IsOpen())
        return false;
    SQLite::MyTablePtr t = ReadRows(Formatter::sprintf(
        u"Select Debut,Fin FROM Taches Where Fin > %I64d and Deleted=0 order by Debut asc", {instant}));
    if (!t)
        return false;
    periods.reserve(static_cast<size_t>(t->rowCount()));
    for (int r = 0; r < t->rowCount(); ++r)
        periods.push_back(tDebutFin{t->GetInt64At(r, 0), t->GetInt64At(r, 1)});
    return true;
}

// =====================================================================
// Batch edits and range queries
// =====================================================================

namespace {

// One batch edit: the present values of the listed entries recorded as
// undo statements (one per entry), then the change itself.
struct BatchChange
{
    QString columns;     // columns saved for the undo, besides the stamps
    QString setClause;   // the change, without the stamps
};

// Records the undo statements of `change` for the entries of `listSql`
// and runs it, stamped in the same statement. Returns the rows it changed.
int runBatchChange(CBdD &db, const BatchChange &change, const QString &listSql, qint64 now)
{
    QStringList cols = change.columns.split(u',', Qt::SkipEmptyParts);
    cols << QStringLiteral("Date_Modif") << QStringLiteral("Origine_Modif");
    QString select = QStringLiteral("select Id");
    for (const QString &c : cols)
        select += Formatter::sprintf(u", typeof(%s), %s", {c, c});
    SQLite::MyTablePtr old = db.Query(select + QStringLiteral(" from Taches where Id in ") + listSql);
    if (old) {
        for (int r = 0; r < old->rowCount(); ++r) {
            QString undo = QStringLiteral("update Taches set ");
            for (int c = 0; c < cols.size(); ++c) {
                if (c > 0)
                    undo += QStringLiteral(", ");
                undo += cols[c] + u'=' + literal(*old, r, 1 + 2 * c);
            }
            undo += Formatter::sprintf(u" where Id=%d", {old->GetIntAt(r, 0, -1)});
            db.RecordUndo(QString(), undo);
        }
    }
    const int rc = db.ExecuteWithUndo(
        Formatter::sprintf(u"update Taches set %sDate_Modif=%I64d, Origine_Modif=%d where Id in %s",
                           {change.setClause, now, 1, listSql}),
        QString());
    return rc == 0 ? db.ChangedRows() : 0;
}

// The write around one or more batch changes; true when it landed or when
// there was nothing to change.
bool runBatch(CBdD &db, const std::vector<std::pair<BatchChange, std::vector<int>>> &changes)
{
    bool any = false;
    for (const auto &c : changes)
        any = any || !c.second.empty();
    if (!any)
        return db.IsOpen();
    if (!db.BeginWrite())
        return false;
    db.Connection()->SetLastCode(0);
    const qint64 now = Platform::Clock::now();
    int changed = 0;
    for (const auto &[change, ids] : changes) {
        if (!ids.empty())
            changed += runBatchChange(db, change, EntryList::ToSql(ids), now);
    }
    // A list none of whose entries has a row changed nothing: not a write
    // that landed (a list of which some are gone changes the others).
    const bool ok = changed > 0;
    if (ok && db.LastCode() == 0)
        stampModif(db, now);
    return db.EndWrite(ok);
}

} // namespace

bool CBdD::SetEntriesInvoiced(int invoiced, const QString &entryList)
{
    const auto ids = EntryList::Parse(entryList);
    if (!ids)
        return false;
    return runBatch(*this, {{{QStringLiteral("Facture"), Formatter::sprintf(u"Facture=%d, ", {invoiced})}, *ids}});
}

bool CBdD::SetEntriesInvoiced(const QString &invoicedList, const QString &notInvoicedList)
{
    const auto on = EntryList::Parse(invoicedList);
    const auto off = EntryList::Parse(notInvoicedList);
    if (!on || !off)
        return false;
    return runBatch(*this, {{{QStringLiteral("Facture"), QStringLiteral("Facture=1, ")}, *on},
                            {{QStringLiteral("Facture"), QStringLiteral("Facture=0, ")}, *off}});
}

bool CBdD::DeleteTimeEntries(const QString &entryList)
{
    const auto ids = EntryList::Parse(entryList);
    if (!ids)
        return false;
    if (ids->empty())
        return IsOpen();
    // The undo puts back each entry's own Deleted flag, so an entry that was
    // already deleted stays deleted.
    const bool ok = runBatch(*this, {{{QStringLiteral("Deleted"), QStringLiteral("Deleted=1, ")}, *ids}});
    if (ok)
        NotifyWindows(0, 0);
    return ok;
}

bool CBdD::ReassignTimeEntries(int project, int activity, int rate, const QString &entryList)
{
    const auto ids = EntryList::Parse(entryList);
    if (!ids)
        return false;
    BatchChange change;
    QStringList columns;
    if (project != Unchanged) {
        columns << QStringLiteral("IdProjet");
        change.setClause += Formatter::sprintf(u"IdProjet=%d, ", {project});
    }
    if (activity != Unchanged) {
        columns << QStringLiteral("IdActivite");
        change.setClause += Formatter::sprintf(u"IdActivite=%d, ", {activity});
    }
    if (rate != Unchanged) {
        columns << QStringLiteral("IdTauxHoraire");
        change.setClause += Formatter::sprintf(u"IdTauxHoraire=%d, ", {rate});
    }
    if (columns.isEmpty() || ids->empty())
        return IsOpen();
    change.columns = columns.join(u',');
    const bool ok = runBatch(*this, {{change, *ids}});
    if (ok) {
        RefreshCurrentEntry();
        NotifyWindows(0, 0);
    }
    return ok;
}

bool CBdD::GetTimeEntryBounds(QDateTime &first, QDateTime &last)
{
    const qint64 now = Platform::Clock::now();
    qint64 a = now;
    qint64 b = now;
    if (IsOpen()) {
        // The first row of each index of the live entries (their keys are
        // minus the start and minus the end): the first start from the far
        // end of one, the last end from the top of the other, not a sort of
        // every entry nor a walk over the deleted ones. An entry without a
        // start or an end has no bound to give.
        SQLite::MyTablePtr t = ReadRows(
            QStringLiteral("select Debut from Taches where Deleted=0 and -Debut is not null order by -Debut desc limit 1"));
        if (!t)
            return false;
        if (t->rowCount() > 0)
            a = t->GetInt64At(0, 0);
        t = ReadRows(QStringLiteral("select Fin from Taches where Deleted=0 and -Fin is not null order by -Fin limit 1"));
        if (!t)
            return false;
        if (t->rowCount() > 0 && t->GetInt64At(0, 0) != 0)
            b = t->GetInt64At(0, 0);
        if (a > b)
            b = a;
    }
    first = QDateTime::fromSecsSinceEpoch(a);
    last = QDateTime::fromSecsSinceEpoch(b);
    return IsOpen();
}

qint64 CBdD::FirstStartAfter(qint64 instant)
{
    SQLite::MyTablePtr t;
    if (IsOpen())
        t = ReadRows(Formatter::sprintf(u"Select min(Debut) FROM Taches Where Debut > %I64d and Deleted=0", {instant}));
    return t.hasRows() ? t->GetCell(0, 0).toLongLong() : 0;
}

bool CBdD::HasEntriesAfter(qint64 instant, bool *failed)
{
    if (failed)
        *failed = false;
    SQLite::MyTablePtr t;
    // Two looks, each down an index (the newest starts, the ends), instead
    // of one "Debut > t or Fin > t" that reads the whole history when, as
    // for a start now, nothing comes later.
    if (IsOpen())
        t = ReadRows(Formatter::sprintf(u"Select Id FROM Taches Where -Debut < %I64d and Deleted=0 limit 1", {-instant}));
    if (t && t->rowCount() == 0)
        t = ReadRows(Formatter::sprintf(u"Select Id FROM Taches Where Fin > %I64d and Deleted=0 limit 1", {instant}));
    if (!t) {
        if (failed)
            *failed = true;
        return false;
    }
    return t.hasRows();
}
