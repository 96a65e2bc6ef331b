#include "CReportExtraction.h"

#include "CBdD.h"
#include "Clock.h"
#include "CmyDataBase.h"
#include "CReportRowMemory.h"
#include "Formatter.h"
#include "LocalDayCache.h"
#include "LocalTime.h"
#include "ProgressDlgShared.h"
#include "QuoteSql.h"
#include "ReportColumnCatalogue.h"
#include "Texts.h"
#include "tReportDefinition.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QRegularExpression>

#include <algorithm>
#include <functional>

#include <limits>
#include <memory>
#include <memory_resource>
#include <utility>
#include <vector>
#include <sqlite3.h>

using Platform::Formatter;

namespace {

// One prepared statement, finalised when it goes.
class Statement
{
public:
    Statement(sqlite3 *db, const QString &sql)
    {
        const QByteArray utf8 = sql.toUtf8();
        if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &m_stmt, nullptr) != SQLITE_OK) {
            sqlite3_finalize(m_stmt);
            m_stmt = nullptr;
        }
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    bool IsValid() const { return m_stmt != nullptr; }
    sqlite3_stmt *Get() const { return m_stmt; }
    // SQLITE_ROW, SQLITE_DONE or an error.
    int Step() { return m_stmt ? sqlite3_step(m_stmt) : SQLITE_ERROR; }
    qint64 Int64(int column) const { return sqlite3_column_int64(m_stmt, column); }
    // A NULL id reads as none.
    int Id(int column) const
    {
        return sqlite3_column_type(m_stmt, column) == SQLITE_NULL ? -1 : sqlite3_column_int(m_stmt, column);
    }
    QString Text(int column) const
    {
        const void *text = sqlite3_column_text16(m_stmt, column);
        const int bytes = sqlite3_column_bytes16(m_stmt, column);
        return text ? QString::fromUtf16(static_cast<const char16_t *>(text), bytes / 2) : QString();
    }

private:
    sqlite3_stmt *m_stmt = nullptr;
};

// Sorts the entries of a copy in one pass: zarvo_one_day(Id, Debut, Fin)
// is 1 for an entry within one local day of the period, which the copy
// takes as it is; an entry over several days of the period, or running, is
// kept aside to be cut into days, and gives 0 like any other.
struct tDaySorter
{
    LocalDayCache days;
    bool bounded = false;
    qint64 periodStart = 0;
    qint64 periodEnd = 0;
    struct tLonger
    {
        qint64 Id;
        qint64 Debut;
        qint64 Fin;
    };
    std::vector<tLonger> longer;
};

void oneDay(sqlite3_context *context, int, sqlite3_value **values)
{
    auto *sorter = static_cast<tDaySorter *>(sqlite3_user_data(context));
    const qint64 id = sqlite3_value_int64(values[0]);
    const qint64 debut = sqlite3_value_int64(values[1]);
    const qint64 fin = sqlite3_value_int64(values[2]);
    int result = 0;
    if (!sorter->bounded || (debut <= sorter->periodEnd && (fin > sorter->periodStart || fin == 0))) {
        const qint64 nextMidnight = sorter->days.Day(debut).End;
        if (fin != 0 && fin >= debut && fin < nextMidnight)
            result = 1;
        else if (fin == 0 || fin >= nextMidnight)
            sorter->longer.push_back({id, debut, fin});
    }
    sqlite3_result_int(context, result);
}

// zarvo_live_project(id) and zarvo_live_activity(id): the id when it names
// a live row, else -1 (deleted, vanished, or none).
void liveId(sqlite3_context *context, int, sqlite3_value **values)
{
    const auto *ids = static_cast<const QSet<qint64> *>(sqlite3_user_data(context));
    const bool known = sqlite3_value_type(values[0]) != SQLITE_NULL && ids->contains(sqlite3_value_int64(values[0]));
    sqlite3_result_int64(context, known ? sqlite3_value_int64(values[0]) : -1);
}

void deleteIds(void *ids)
{
    delete static_cast<QSet<qint64> *>(ids);
}

// Registers the function `name` over the ids `sql` reads; false when the
// read failed.
bool registerLiveIds(sqlite3 *db, const char *name, const char *sql)
{
    auto ids = std::make_unique<QSet<qint64>>();
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        return false;
    }
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
        ids->insert(sqlite3_column_int64(stmt, 0));
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE)
        return false;
    return sqlite3_create_function_v2(db, name, 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, ids.release(), liveId,
                                      nullptr, nullptr, deleteIds)
           == SQLITE_OK;
}

// Interrupts a running statement once the user has cancelled.
int interruptWhenCancelled(void *extraction)
{
    return static_cast<const CReportExtraction *>(extraction)->IsCancelled() ? 1 : 0;
}

// Empty, or ids between parentheses ("(12,-1, 40)").
bool isIdList(const QString &text)
{
    static const QRegularExpression list(QStringLiteral("^\\(\\s*-?\\d{1,10}(\\s*,\\s*-?\\d{1,10})*\\s*\\)$"));
    return text.isEmpty() || list.match(text).hasMatch();
}

bool isReportDate(const QDate &date)
{
    return date.isValid() && date.year() >= 1900;
}

// The rows of rptTaches in start order: the entries of one day, stored in
// start order up to `lastSingleRow`, merged with the pieces of the entries
// over several days (few) sorted after them.
class OrderedRows
{
public:
    OrderedRows(sqlite3 *db, const QString &columns, const QString &filter, qint64 lastSingleRow)
        : m_single(db, Formatter::sprintf(u"select %s from rptTaches where rowid <= %I64d %sorder by rowid",
                                          {columns, lastSingleRow, condition(filter)})),
          m_pieces(db, Formatter::sprintf(u"select %s from rptTaches where rowid > %I64d %sorder by Debut, rowid",
                                          {columns, lastSingleRow, condition(filter)}))
    {
    }
    bool IsValid() const { return m_single.IsValid() && m_pieces.IsValid(); }
    bool Failed() const { return m_failed; }
    // The statement standing on the next row (column 1 is Debut); null at
    // the end or on a failure.
    Statement *Next()
    {
        if (!m_started) {
            m_rcSingle = m_single.Step();
            m_rcPieces = m_pieces.Step();
            m_started = true;
        } else if (m_current == &m_single) {
            m_rcSingle = m_single.Step();
        } else if (m_current == &m_pieces) {
            m_rcPieces = m_pieces.Step();
        }
        m_failed = (m_rcSingle != SQLITE_ROW && m_rcSingle != SQLITE_DONE)
                   || (m_rcPieces != SQLITE_ROW && m_rcPieces != SQLITE_DONE);
        const bool single = m_rcSingle == SQLITE_ROW;
        const bool piece = m_rcPieces == SQLITE_ROW;
        if (m_failed || (!single && !piece))
            m_current = nullptr;
        else
            m_current = single && (!piece || m_single.Int64(1) <= m_pieces.Int64(1)) ? &m_single : &m_pieces;
        return m_current;
    }

private:
    // The list filter ("where ...") as a further condition.
    static QString condition(const QString &filter)
    {
        return filter.isEmpty() ? QString() : QStringLiteral("and ") + filter.mid(6);
    }

    Statement m_single;
    Statement m_pieces;
    Statement *m_current = nullptr;
    int m_rcSingle = SQLITE_DONE;
    int m_rcPieces = SQLITE_DONE;
    bool m_started = false;
    bool m_failed = false;
};

void removeReportFile(const QString &path)
{
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
}

} // namespace

// The lines of a read, in blocks that are filled once and never moved: a
// growing array would copy a hundred thousand lines into new memory at
// each growth. The blocks grow with the read up to a huge page each, and
// come from the memory the process keeps for reports (CReportRowMemory),
// so that a large read faults its memory in a few times, and a read after
// another one finds it already there. Their texts, which only a report
// with detail reads, are kept apart, so that a report without them stores
// no room for them.
//
// The lines are taken back once each, by start (of one start, the later
// made first, as the file's index of starts gives them): in the order they
// came when it is that one, as it mostly is, else through a sorted list of
// their places.
class CReportExtraction::CReadLines
{
public:
    explicit CReadLines(bool withTexts) : m_withTexts(withTexts) {}

    size_t Size() const { return m_size; }
    void Add(tReportEntry &entry)
    {
        if (m_blocks.empty() || m_blocks.back().size() == m_blocks.back().capacity()) {
            const size_t capacity =
                m_blocks.empty() ? FirstBlock : std::min(m_blocks.back().capacity() * 2, LargestBlock);
            m_starts.push_back(m_size);
            m_blocks.emplace_back(&CReportRowMemory::Shared());
            m_blocks.back().reserve(capacity);
            if (m_withTexts) {
                m_texts.emplace_back(&CReportRowMemory::Shared());
                m_texts.back().reserve(capacity);
            }
        }
        const tLine line{entry.Debut, entry.Fin, entry.Id, entry.IdProjet, entry.IdActivite, entry.IdTauxHoraire,
                         entry.Facture};
        if (m_size != 0 && Before(line, m_last))
            m_inOrder = false;
        m_last = line;
        m_blocks.back().push_back(line);
        if (m_withTexts)
            m_texts.back().push_back({std::move(entry.Title), std::move(entry.Notes)});
        ++m_size;
    }
    // Once every line was added: puts them in the order they are taken.
    void Order()
    {
        if (m_inOrder)
            return;
        m_order.resize(m_size);
        for (size_t i = 0; i < m_size; ++i)
            m_order[i] = quint32(i);
        std::sort(m_order.begin(), m_order.end(), [this](quint32 a, quint32 b) { return Before(At(a), At(b)); });
    }
    bool AtEnd() const { return m_taken == m_size; }
    // The start of the next line to take.
    qint64 NextDebut() const { return At(Next()).Debut; }
    // The next line into `entry`; its texts move there.
    void TakeNext(tReportEntry &entry)
    {
        const size_t i = Next();
        const tLine &line = At(i);
        entry.Id = line.Id;
        entry.Debut = line.Debut;
        entry.Fin = line.Fin;
        entry.IdProjet = line.IdProjet;
        entry.IdActivite = line.IdActivite;
        entry.IdTauxHoraire = line.IdTauxHoraire;
        entry.Facture = line.Facture;
        entry.ToMidnight = false;
        if (m_withTexts) {
            const size_t block = BlockOf(i);
            auto &texts = m_texts[block][i - m_starts[block]];
            entry.Title = std::move(texts.first);
            entry.Notes = std::move(texts.second);
        }
        ++m_taken;
    }
    // The order lines are taken in, pieces of longer entries included: by
    // start, and of one start the later made (the higher id) first.
    static bool Before(qint64 debut, int id, qint64 otherDebut, int otherId)
    {
        return debut != otherDebut ? debut < otherDebut : id > otherId;
    }

private:
    struct tLine
    {
        qint64 Debut;
        qint64 Fin;
        int Id;
        int IdProjet;
        int IdActivite;
        int IdTauxHoraire;
        bool Facture;
    };
    static bool Before(const tLine &a, const tLine &b) { return Before(a.Debut, a.Id, b.Debut, b.Id); }
    size_t Next() const { return m_order.empty() ? m_taken : m_order[m_taken]; }
    size_t BlockOf(size_t i) const
    {
        return size_t(std::upper_bound(m_starts.begin(), m_starts.end(), i) - m_starts.begin()) - 1;
    }
    const tLine &At(size_t i) const
    {
        const size_t block = BlockOf(i);
        return m_blocks[block][i - m_starts[block]];
    }

    static constexpr size_t FirstBlock = 4096;
    static constexpr size_t LargestBlock = CReportRowMemory::BlocksPerHugePage(sizeof(tLine));
    bool m_withTexts;
    bool m_inOrder = true;
    size_t m_size = 0;
    size_t m_taken = 0;
    tLine m_last{};
    // The place of each block's first line.
    std::vector<size_t> m_starts;
    std::vector<std::pmr::vector<tLine>> m_blocks;
    std::vector<std::pmr::vector<std::pair<QString, QString>>> m_texts;
    // The places of the lines in the order they are taken; empty when that
    // is the order they came in.
    std::vector<quint32> m_order;
};

CReportExtraction::CReportExtraction(const tReportDefinition &definition, ProgressDlgShared *progress)
    : m_definition(definition), m_progress(progress), m_now(Platform::Clock::now()),
      m_withTexts(definition.Type != 3 && definition.Detail)
{
}

bool CReportExtraction::IsCancelled() const
{
    return m_progress && m_progress->IsCancelled();
}

void CReportExtraction::Step(int textId)
{
    if (!IsCancelled())
        CBdD::SendProgressText(m_progress, Platform::Texts::get(textId));
}

QString CReportExtraction::BuildReportFilter(const tReportDefinition &definition)
{
    QString filter;
    if (!definition.Projets.isEmpty())
        filter = Formatter::sprintf(u"where rptTaches.IdProjet in %s ", {definition.Projets});
    if (!definition.Activites.isEmpty())
        filter += Formatter::sprintf(filter.isEmpty() ? u"where rptTaches.IdActivite in %s "
                                                      : u"and rptTaches.IdActivite in %s ",
                                     {definition.Activites});
    return filter;
}

QString CReportExtraction::GetGroupColumnExpression(const tReportDefinition &definition)
{
    bool yearLevel = false;
    bool monthLevel = false;
    for (int level : definition.Levels()) {
        yearLevel = yearLevel || level == 0;
        monthLevel = monthLevel || level == 1;
    }
    switch (definition.Grp_Col) {
    case 0:
        return QStringLiteral("substr(date(Debut, 'unixepoch', 'localtime'),1,4) as Colonne");
    case 1:
        return yearLevel ? QStringLiteral("substr(date(Debut, 'unixepoch', 'localtime'),6,2) as Colonne")
                         : QStringLiteral("substr(date(Debut, 'unixepoch', 'localtime'),1,7) as Colonne");
    case 2:
        if (monthLevel)
            return QStringLiteral("substr(date(Debut, 'unixepoch', 'localtime'),9,2) as Colonne");
        if (yearLevel)
            return QStringLiteral("substr(date(Debut, 'unixepoch', 'localtime'),6,5) as Colonne");
        return QStringLiteral("date(Debut, 'unixepoch', 'localtime') as Colonne");
    case 3:
        return QStringLiteral("IdProjet as Colonne");
    case 4:
        return QStringLiteral("IdActivite as Colonne");
    default:
        return QString();
    }
}

bool CReportExtraction::IsBuildable(const tReportDefinition &definition)
{
    if (!isIdList(definition.Projets) || !isIdList(definition.Activites))
        return false;
    if (definition.Periode != 0 && (!isReportDate(definition.Debut) || !isReportDate(definition.Fin)))
        return false;
    return definition.Type != 3 || !GetGroupColumnExpression(definition).isEmpty();
}

bool CReportExtraction::FillReportTable(SQLite::CmyDataBase &report, const QString &mainPath)
{
    if (!report.IsOpen() || !IsBuildable(m_definition))
        return false;
    sqlite3 *db = report.Handle();
    // Only the report's own file is tuned: it is thrown away after the build.
    report.Execute(u"PRAGMA main.journal_mode=MEMORY");
    report.Execute(u"PRAGMA main.synchronous=OFF");
    report.Execute(u"PRAGMA main.cache_size=-32000");
    sqlite3_progress_handler(db, 2000, interruptWhenCancelled, this);
    report.SetLastCode(0);
    if (report.Execute(Formatter::sprintf(u"attach database '%s' as zarvo", {QuoteSql(mainPath)})) != 0)
        return false;
    // A deferred transaction: the user's file is only read (a shared lock
    // for the copy's length), the report's file written.
    bool ok = report.Execute(u"BEGIN TRANSACTION") == 0;
    ok = ok
         && report.Execute(u"Create table rptTaches(Id integer, Debut integer, Fin integer, IdActivite integer, "
                           u"IdProjet integer, Facture integer, IdTauxHoraire integer, Date_Modif integer, "
                           u"Origine_Modif integer, Deleted integer, Title text, Notes text, FinMinuit integer)")
                == 0;
    // The live projects and activities, read in the same transaction as
    // the entries.
    ok = ok && registerLiveIds(db, "zarvo_live_project", "select Id from zarvo.Projets where ifnull(Deleted, 0)=0")
         && registerLiveIds(db, "zarvo_live_activity", "select Id from zarvo.Activites where ifnull(Deleted, 0)=0");
    QString where = QStringLiteral("Deleted=0");
    if (m_definition.Status == 1)
        where += QStringLiteral(" and Facture=0");
    else if (m_definition.Status != 0)
        where += QStringLiteral(" and Facture<>0");
    ok = ok && CopyEntries(report, where);
    if (ok && m_definition.Type == 3 && m_definition.Grp_Col == 4) {
        ok = report.Execute(u"create table Activites(Id integer, Nom text)") == 0
             && report.Execute(u"insert into Activites (Id, Nom) select Id, Nom from zarvo.Activites") == 0;
    }
    ok = ok && !IsCancelled() && report.Execute(u"COMMIT TRANSACTION") == 0;
    if (!ok)
        report.RollbackAfterFailure();
    sqlite3_progress_handler(db, 0, nullptr, nullptr);
    report.Execute(u"detach database zarvo");
    return ok;
}

CReportExtraction::tPeriod CReportExtraction::Period() const
{
    tPeriod period;
    period.Bounded = m_definition.Periode != 0;
    period.Start = std::numeric_limits<qint64>::min();
    period.End = m_now;
    if (period.Bounded) {
        // Dates given in reverse stand for the same period.
        const QDate first = std::min(m_definition.Debut, m_definition.Fin);
        const QDate last = std::max(m_definition.Debut, m_definition.Fin);
        period.Start = Platform::LocalTime::midnight(first);
        period.End = Platform::LocalTime::midnight(last.addDays(1)) - 1;
    }
    return period;
}

QString CReportExtraction::PeriodCondition(const tPeriod &period)
{
    return period.Bounded
               ? Formatter::sprintf(u" and Debut <= %I64d and (Fin > %I64d or Fin=0)", {period.End, period.Start})
               : QString();
}

bool CReportExtraction::CutIntoDays(qint64 debut, qint64 fin, const tPeriod &period, LocalDayCache &days,
                                    const std::function<bool(qint64, qint64, bool)> &piece) const
{
    const bool running = fin == 0;
    qint64 start = period.Bounded && debut < period.Start ? period.Start : debut;
    // How far the entry has run: to its end, or to now while it runs. A
    // finished entry of a report over the whole database is whole, even
    // when it ends later than now.
    const qint64 reach = running ? m_now : fin;
    const qint64 last = period.Bounded && reach > period.End ? period.End : reach;
    // Never a piece that ends before it starts.
    if (!running && start > last)
        return true;
    for (;;) {
        // A day's piece ends at its 23:59:59; it counts up to midnight when
        // the entry goes on past it. The last piece ends with the entry or
        // the period; a running entry's piece that reaches the present has
        // no end.
        const qint64 dayEnd = days.Day(start).End - 1;
        qint64 end = 0;
        bool toMidnight = false;
        if (dayEnd <= last) {
            end = dayEnd;
            toMidnight = reach > dayEnd;
        } else if (!running) {
            end = last;
        }
        if (!piece(start, end, toMidnight))
            return false;
        if (end == 0 || end >= last)
            return true;
        start = end + 1;
        // A finished entry that ends on the stroke of midnight has no piece
        // of the next day.
        if (!running && start >= last)
            return true;
    }
}

bool CReportExtraction::CopyEntries(SQLite::CmyDataBase &report, const QString &where)
{
    const tPeriod period = Period();
    // A deleted or vanished project or activity reads as -1.
    const QString columns =
        QStringLiteral("zarvo_live_activity(IdActivite), zarvo_live_project(IdProjet), Facture, IdTauxHoraire, "
                       "Date_Modif, Origine_Modif, Deleted, '', ''");

    // Entries within one local day: copied as they are, in one statement,
    // which also sets aside the longer and running ones.
    sqlite3 *db = report.Handle();
    tDaySorter sorter;
    sorter.bounded = period.Bounded;
    sorter.periodStart = period.Start;
    sorter.periodEnd = period.End;
    if (sqlite3_create_function_v2(db, "zarvo_one_day", 3, SQLITE_UTF8 | SQLITE_DIRECTONLY, &sorter, oneDay, nullptr,
                                   nullptr, nullptr)
        != SQLITE_OK)
        return false;
    QString single = Formatter::sprintf(
        u"insert into rptTaches select Id, Debut, Fin, %s, 0 from zarvo.Taches where %s", {columns, where});
    single += PeriodCondition(period);
    // In start order (the index on -Debut gives it without a sort), so that
    // the lines are read back in order without sorting them all.
    single += QStringLiteral(" and zarvo_one_day(Id, Debut, Fin) order by -Debut desc");
    const int copied = report.Execute(single);
    sqlite3_create_function_v2(db, "zarvo_one_day", 3, SQLITE_UTF8, nullptr, nullptr, nullptr, nullptr, nullptr);
    if (copied != 0)
        return false;
    {
        Statement last(db, QStringLiteral("select ifnull(max(rowid), 0) from rptTaches"));
        if (last.Step() != SQLITE_ROW)
            return false;
        m_lastSingleRow = last.Int64(0);
    }

    // Entries over several days, and running ones: one row per local day.
    Statement piece(db, Formatter::sprintf(
                            u"insert into rptTaches select Id, ?1, ?2, %s, ?4 from zarvo.Taches where Id=?3", {columns}));
    if (!piece.IsValid())
        return false;
    for (const tDaySorter::tLonger &entry : sorter.longer) {
        if (IsCancelled())
            break;
        const bool cut = CutIntoDays(entry.Debut, entry.Fin, period, sorter.days, [&](qint64 start, qint64 end,
                                                                                        bool toMidnight) {
            sqlite3_bind_int64(piece.Get(), 1, start);
            sqlite3_bind_int64(piece.Get(), 2, end);
            sqlite3_bind_int64(piece.Get(), 3, entry.Id);
            sqlite3_bind_int(piece.Get(), 4, toMidnight ? 1 : 0);
            const int inserted = piece.Step();
            sqlite3_reset(piece.Get());
            if (inserted != SQLITE_DONE)
                report.SetLastCode(inserted);
            return inserted == SQLITE_DONE;
        });
        if (!cut)
            return false;
    }
    return !IsCancelled();
}

bool CReportExtraction::ReadEntries(const QString &mainPath, CReadLines &lines, std::vector<tReportEntry> &pieces)
{
    SQLite::CmyDataBase main;
    if (main.OpenReadOnly(mainPath) != 0)
        return false;
    sqlite3 *db = main.Handle();
    sqlite3_progress_handler(db, 2000, interruptWhenCancelled, this);
    // One read transaction: the live projects and activities and the
    // entries are read as one state of the file, and the file is free
    // again before the lines are grouped.
    if (main.Execute(u"BEGIN TRANSACTION") != 0)
        return false;
    const tPeriod period = Period();
    QString sql = QStringLiteral(
        "select Id, Debut, Fin, zarvo_live_project(IdProjet), zarvo_live_activity(IdActivite), IdTauxHoraire, Facture");
    if (m_withTexts)
        sql += QStringLiteral(", Title, Notes");
    sql += QStringLiteral(" from Taches where Deleted=0");
    if (m_definition.Status == 1)
        sql += QStringLiteral(" and Facture=0");
    else if (m_definition.Status != 0)
        sql += QStringLiteral(" and Facture<>0");
    sql += PeriodCondition(period);
    // The lists name live ids: a deleted or vanished project or activity
    // is -1 there too.
    if (!m_definition.Projets.isEmpty())
        sql += Formatter::sprintf(u" and zarvo_live_project(IdProjet) in %s", {m_definition.Projets});
    if (!m_definition.Activites.isEmpty())
        sql += Formatter::sprintf(u" and zarvo_live_activity(IdActivite) in %s", {m_definition.Activites});
    // In no order: the entries are put in order in memory (in the order
    // the file gives them mostly), which spares a search of each row by
    // its id, and a period finds its entries through the index of ends.
    bool ok = registerLiveIds(db, "zarvo_live_project", "select Id from Projets where ifnull(Deleted, 0)=0")
              && registerLiveIds(db, "zarvo_live_activity", "select Id from Activites where ifnull(Deleted, 0)=0");
    if (ok) {
        Statement rows(db, sql);
        LocalDayCache days;
        tReportEntry entry;
        int rc = rows.IsValid() ? SQLITE_ROW : SQLITE_ERROR;
        while (rc == SQLITE_ROW && !IsCancelled()) {
            rc = rows.Step();
            if (rc != SQLITE_ROW)
                break;
            // The reading gives every row an id, and -1 for no project or
            // activity.
            entry.Id = int(rows.Int64(0));
            entry.Debut = rows.Int64(1);
            entry.Fin = rows.Int64(2);
            entry.IdProjet = int(rows.Int64(3));
            entry.IdActivite = int(rows.Int64(4));
            entry.IdTauxHoraire = rows.Id(5);
            entry.Facture = rows.Int64(6) != 0;
            entry.ToMidnight = false;
            if (m_withTexts) {
                entry.Title = rows.Text(7);
                entry.Notes = rows.Text(8);
            }
            const qint64 nextMidnight = days.Day(entry.Debut).End;
            if (entry.Fin != 0 && entry.Fin >= entry.Debut && entry.Fin < nextMidnight) {
                lines.Add(entry);
            } else if (entry.Fin == 0 || entry.Fin >= nextMidnight) {
                // Over several days, or running: one line per local day.
                const qint64 debut = entry.Debut;
                const qint64 fin = entry.Fin;
                CutIntoDays(debut, fin, period, days, [&](qint64 start, qint64 end, bool toMidnight) {
                    entry.Debut = start;
                    entry.Fin = end;
                    entry.ToMidnight = toMidnight;
                    pieces.push_back(entry);
                    return true;
                });
            }
            // An end before the start makes no line.
        }
        ok = rc == SQLITE_DONE;
    }
    sqlite3_progress_handler(db, 0, nullptr, nullptr);
    main.Execute(u"COMMIT TRANSACTION");
    return ok;
}

bool CReportExtraction::BuildGrouped(const QString &mainPath, CReportLineSink &sink)
{
    Step(137);
    CReadLines lines(m_withTexts);
    std::vector<tReportEntry> pieces;
    if (!ReadEntries(mainPath, lines, pieces))
        return false;
    if (IsCancelled())
        return true;
    // The lines and the pieces by start, of one start the later made
    // first; before a piece of the same start, the entry.
    lines.Order();
    std::sort(pieces.begin(), pieces.end(), [](const tReportEntry &a, const tReportEntry &b) {
        return CReadLines::Before(a.Debut, a.Id, b.Debut, b.Id);
    });
    sink.BuildColumns();
    sink.SetTotalRow(Platform::Texts::get(316), true);
    if (lines.Size() != 0 || !pieces.empty())
        Step(138);
    size_t piece = 0;
    tReportEntry entry;
    while (!IsCancelled() && (!lines.AtEnd() || piece < pieces.size())) {
        const bool takeLine = !lines.AtEnd() && (piece == pieces.size() || lines.NextDebut() <= pieces[piece].Debut);
        if (takeLine)
            lines.TakeNext(entry);
        tReportEntry &next = takeLine ? entry : pieces[piece++];
        sink.AddEntryLine(next);
        // The texts were the line's only: their memory goes now.
        next.Title = QString();
        next.Notes = QString();
    }
    if (!IsCancelled())
        Step(139);
    return true;
}

bool CReportExtraction::FeedCrossTable(SQLite::CmyDataBase &report, CReportLineSink &sink)
{
    const QString filter = BuildReportFilter(m_definition);
    const QString expression = GetGroupColumnExpression(m_definition);
    const QString distinct =
        m_definition.Grp_Col == 4
            ? Formatter::sprintf(u"select distinct IdActivite as Colonne, Activites.Nom as NomActivite from rptTaches "
                                 u"left join Activites on rptTaches.IdActivite = Activites.Id %sorder by NomActivite asc",
                                 {filter})
            : Formatter::sprintf(u"select distinct %s from rptTaches %sorder by Colonne asc", {expression, filter});
    std::vector<CReportLineSink::tCrossTabColumn> columns{{CrossTabLabelKind, QString()}};
    QHash<QString, int> columnOfValue;
    {
        Statement values(report.Handle(), distinct);
        if (!values.IsValid())
            return false;
        int rc = SQLITE_ROW;
        while (!IsCancelled() && (rc = values.Step()) == SQLITE_ROW) {
            const QString value = values.Text(0);
            // The first of equal values takes the rows.
            if (!columnOfValue.contains(value))
                columnOfValue.insert(value, int(columns.size()));
            columns.push_back({CrossTabValueKind, value});
        }
        if (rc != SQLITE_DONE && rc != SQLITE_ROW)
            return IsCancelled();
    }
    if (IsCancelled())
        return true;
    columns.push_back({CrossTabValueKind, QString()});
    sink.DefineCrossTabColumns(columns);
    sink.SetTotalRow(Platform::Texts::get(316), false);

    OrderedRows ordered(report.Handle(), QStringLiteral("Id, Debut, Fin, IdProjet, IdActivite, FinMinuit, ") + expression,
                        filter, m_lastSingleRow);
    if (!ordered.IsValid())
        return false;
    bool first = true;
    tReportEntry entry;
    while (!IsCancelled()) {
        const Statement *rows = ordered.Next();
        if (!rows)
            break;
        if (first) {
            Step(138);
            first = false;
        }
        const auto column = columnOfValue.constFind(rows->Text(6));
        if (column == columnOfValue.cend())
            continue;
        entry.Id = int(rows->Int64(0));
        entry.Debut = rows->Int64(1);
        entry.Fin = rows->Int64(2);
        entry.IdProjet = int(rows->Int64(3));
        entry.IdActivite = int(rows->Int64(4));
        entry.ToMidnight = rows->Int64(5) != 0;
        sink.AddCrossTabLine(entry, *column);
    }
    if (ordered.Failed())
        return IsCancelled();
    Step(139);
    return true;
}

bool CReportExtraction::BuildReport(const QString &mainPath, const QString &folder, CReportLineSink &sink)
{
    return Build(mainPath, folder, sink, false);
}

bool CReportExtraction::BuildCrossTabReport(const QString &mainPath, const QString &folder, CReportLineSink &sink)
{
    return Build(mainPath, folder, sink, true);
}

bool CReportExtraction::Build(const QString &mainPath, const QString &folder, CReportLineSink &sink,
                              bool crossTable)
{
    if (!IsBuildable(m_definition) || !QFile::exists(mainPath))
        return false;
    if (!crossTable)
        return BuildGrouped(mainPath, sink) || IsCancelled();
    Step(137);
    if (!QDir().mkpath(folder))
        return false;
    const QString path = QDir(folder).filePath(QString::fromUtf16(FileName));
    removeReportFile(path);
    bool ok = false;
    {
        SQLite::CmyDataBase report;
        if (report.Open(path) == 0) {
            ok = FillReportTable(report, mainPath);
            if (ok && !IsCancelled())
                ok = FeedCrossTable(report, sink);
        }
    }
    removeReportFile(path);
    return ok || IsCancelled();
}
