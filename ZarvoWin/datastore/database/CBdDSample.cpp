#include "CBdD.h"

#include "QuoteSql.h"

#include "Clock.h"
#include "Formatter.h"
#include "LocalTime.h"

#include <QSet>
#include <QStringList>
#include <QTimeZone>

using Platform::Formatter;

namespace {

// Runs the statement unless the connection already keeps an error, so the
// first failure stays the one reported.
void run(SQLite::CmyDataBase &db, const QString &sql)
{
    if (db.GetLastCode() == 0)
        db.Execute(sql);
}

// Commits when no statement failed; otherwise, or when the commit fails,
// rolls back keeping the failure's code.
bool commitOrRollBack(SQLite::CmyDataBase &db)
{
    if (db.GetLastCode() != 0 || !db.CommitTransaction()) {
        db.RollbackAfterFailure();
        return false;
    }
    return true;
}

} // namespace

qint64 CBdD::SampleZoneCorrection(qint64 now)
{
    // The sample's times are written in UTC+1 without daylight saving; a
    // system in that zone needs no correction.
    const QTimeZone zone = QTimeZone::systemTimeZone();
    if (!zone.isValid())
        return 0;
    return 3600 - zone.standardTimeOffset(QDateTime::fromSecsSinceEpoch(now, Qt::UTC));
}

bool CBdD::RedateSampleData()
{
    if (!IsOpen())
        return false;
    SQLite::CmyDataBase &db = *Connection();
    if (!db.BeginTransaction())
        return false;

    const qint64 now = Platform::Clock::now();
    const QDate today = Platform::LocalTime::localDate(now);

    // The shift of the plans: the latest entry's clock time today, less
    // that entry's start.
    qint64 shift = 0;
    if (auto latest = db.Query(u"select * from Taches order by Debut desc limit 1"); latest && latest->MoveFirst()) {
        const qint64 debut = latest->GetInt64(u"Debut");
        const QTime clock = Platform::LocalTime::toLocal(debut).time();
        shift = QDateTime(today, clock).toSecsSinceEpoch() - debut;
    }
    qint64 first = 0;
    bool hasEntries = false;
    if (auto earliest = db.Query(u"select * from Taches order by Debut asc limit 1"); earliest && earliest->MoveFirst()) {
        first = earliest->GetInt64(u"Debut");
        hasEntries = true;
    }
    const qint64 zone = SampleZoneCorrection(now);

    // The sample's days, newest first, go onto today and the working days
    // before it. A day without entries only moves the window back; entries
    // already moved are never picked up again by a later window, whichever
    // way they went.
    if (hasEntries) {
        QSet<qint64> moved;
        int k = 0;
        for (QDate day = today; db.GetLastCode() == 0; day = day.addDays(-1)) {
            const qint64 dayStart = Platform::LocalTime::midnight(day) - zone;
            const qint64 dayEnd = Platform::LocalTime::midnight(day.addDays(1)) - 1 - zone;
            if (dayEnd < first)
                break;
            auto rows = db.Query(Formatter::sprintf(
                u"select Id, Debut from Taches where Debut >= %I64d and Fin <= %I64d order by Debut asc",
                {dayStart, dayEnd}));
            if (!rows)
                break;
            QStringList ids;
            qint64 firstDebut = 0;
            for (int r = 0; r < rows->rowCount(); ++r) {
                const qint64 id = rows->GetCell(r, 0).toLongLong();
                if (moved.contains(id))
                    continue;
                if (ids.isEmpty())
                    firstDebut = rows->GetCell(r, 1).toLongLong();
                ids << QString::number(id);
                moved.insert(id);
            }
            if (ids.isEmpty())
                continue;

            // The day's first entry, on the clock of the zone the sample
            // was written in.
            const qint64 d = firstDebut + zone;
            QDate target = today.addDays(-k);
            while (target.dayOfWeek() >= 6)
                target = today.addDays(-++k);
            const qint64 T = QDateTime(target, Platform::LocalTime::toLocal(d).time()).toSecsSinceEpoch();
            // Every entry of the day moves by as much as its first entry
            // needs to start at T.
            const qint64 delta = T - d + zone;
            const QString where = QStringLiteral("Id in (") + ids.join(u',') + u')';
            if (delta < 0)
                run(db, Formatter::sprintf(u"update Taches set Debut=Debut - %I64d, Fin= Fin - %I64d where %s",
                                           {-delta, -delta, where}));
            else if (delta > 0)
                run(db, Formatter::sprintf(u"update Taches set Debut=Debut + %I64d, Fin= Fin + %I64d where %s",
                                           {delta, delta, where}));
            ++k;
        }
    }

    const qint64 planShift = shift + zone;
    run(db, Formatter::sprintf(u"update Taches set Date_Modif=%I64d", {now}));
    run(db, Formatter::sprintf(u"update Forecast set DateDebut=DateDebut + %I64d where DateDebut<>0", {planShift}));
    run(db, Formatter::sprintf(u"update Forecast set DateFin=DateFin + %I64d where DateFin<>0", {planShift}));
    run(db, Formatter::sprintf(u"update Forecast set DateAlerte=DateAlerte + %I64d where DateAlerte<>0", {planShift}));
    run(db, Formatter::sprintf(u"delete from Taches where Fin>%I64d", {now}));
    run(db, Formatter::sprintf(u"update NextRowId set Pc=%d where Name='Taches'", {101}));
    run(db, Formatter::sprintf(u"update NextRowId set Pc=%d where Name='Projets'", {32}));
    run(db, Formatter::sprintf(u"update NextRowId set Pc=%d where Name='Activites'", {32}));
    for (const char16_t *table : {u"Projets", u"Activites", u"Favoris", u"Forecast", u"ProjectChilds", u"TauxHoraire"})
        run(db, Formatter::sprintf(u"update %s set Date_Modif=%I64d", {table, now}));
    run(db, Formatter::sprintf(u"update Infos set Value='%I64d' where Name='Modif'", {now}));
    run(db, QStringLiteral("update Infos set Value='' where Name='Backup'"));
    run(db, QStringLiteral("delete from Infos where Name='Demo'"));
    return commitOrRollBack(db);
}

bool CBdD::ImportTablesFrom(const QString &path, bool projects, bool activities, bool rates,
                            bool favourites, bool forecast)
{
    if (!projects)
        return false;
    return ImportChosenTables(path, projects, activities, rates, favourites, forecast);
}

bool CBdD::ImportChosenTables(const QString &path, bool projects, bool activities, bool rates, bool favourites,
                              bool forecast)
{
    // The source is only read: a wrong path must not leave an empty file.
    SQLite::CmyDataBase source;
    if (source.OpenReadOnly(path) != 0)
        return false;
    if (!IsOpen())
        return false;
    SQLite::CmyDataBase &db = *Connection();
    if (!db.BeginTransaction())
        return false;

    struct Step { bool chosen; const char16_t *table; };
    // Plans belong to projects: they come only with them.
    const Step steps[] = {
        {projects, u"Projets"}, {projects, u"ProjectChilds"}, {activities, u"Activites"},
        {rates, u"TauxHoraire"}, {favourites, u"Favoris"}, {projects && forecast, u"Forecast"},
    };
    for (const Step &step : steps) {
        if (!step.chosen)
            continue;
        const QString table = QString::fromUtf16(step.table);
        CopyTable(source, db, table);
        if (table == u"Forecast" && !activities && db.GetLastCode() == 0)
            db.Execute(u"Delete from Forecast where IdActivity<>-2");
        if (source.GetLastCode() != 0 || db.GetLastCode() != 0) {
            db.RollbackAfterFailure(db.GetLastCode() ? db.GetLastCode() : source.GetLastCode());
            return false;
        }
    }
    return commitOrRollBack(db);
}

QStringList CBdD::ColumnsOf(SQLite::CmyDataBase &connection, const QString &table)
{
    QStringList columns;
    if (auto info = connection.Query(Formatter::sprintf(u"pragma table_info(%s)", {table}))) {
        const int name = info->ColumnIndex(u"name");
        for (int r = 0; r < info->rowCount(); ++r)
            columns << info->GetCell(r, name);
    }
    return columns;
}

int CBdD::CopyRows(SQLite::CmyDataBase &source, SQLite::CmyDataBase &destination, const QString &table,
                   const tRowCopy &how)
{
    const QStringList columns = how.columns.isEmpty() ? ColumnsOf(destination, table) : how.columns;
    if (columns.isEmpty()) {
        // No such table here: nothing can be copied into it.
        destination.SetLastCode(1);
        return 0;
    }
    // Each value comes with its type, so that a NULL is written back as
    // NULL and not as an empty text.
    QStringList selected;
    if (how.withRowId)
        selected << QStringLiteral("rowid");
    for (const QString &c : columns)
        selected << QStringLiteral("typeof(%1),%1").arg(c);
    QString sql = Formatter::sprintf(u"select %s from %s", {selected.join(u','), table});
    if (!how.where.isEmpty())
        sql += QStringLiteral(" where ") + how.where;
    auto rows = source.Query(sql);
    if (!rows || source.GetLastCode() != 0)
        return 0;

    // Columns whose value is fixed, whatever the row holds.
    std::vector<QString> fixed(static_cast<size_t>(columns.size()));
    for (auto it = how.fixedValues.cbegin(); it != how.fixedValues.cend(); ++it) {
        for (qsizetype c = 0; c < columns.size(); ++c) {
            if (columns[c].compare(it.key(), Qt::CaseInsensitive) == 0)
                fixed[static_cast<size_t>(c)] = it.value();
        }
    }
    const QString head = Formatter::sprintf(u"%s into %s (%s%s) values (",
                                            {how.replace ? u"insert or replace" : u"insert", table,
                                             how.withRowId ? u"rowid," : u"", columns.join(u',')});
    const int first = how.withRowId ? 1 : 0;
    int copied = 0;
    for (int r = 0; r < rows->rowCount() && destination.GetLastCode() == 0; ++r) {
        QString values = how.withRowId ? rows->GetCell(r, 0) + u',' : QString();
        for (int c = 0; c < columns.size(); ++c) {
            if (c > 0)
                values += u',';
            const QString &value = fixed[static_cast<size_t>(c)];
            values += !value.isEmpty() ? value
                                       : Literal(rows->GetCellView(r, first + 2 * c), rows->GetCellView(r, first + 2 * c + 1));
        }
        if (destination.Execute(head + values + u')') == 0)
            ++copied;
    }
    return copied;
}

void CBdD::CopyTable(SQLite::CmyDataBase &source, SQLite::CmyDataBase &destination, const QString &table)
{
    tRowCopy all;
    all.columns = ColumnsOf(destination, table);
    CopyRows(source, destination, table, all);
    if (table == u"Forecast" || table == u"ProjectChilds" || !all.columns.contains(QStringLiteral("Id"))
        || destination.GetLastCode() != 0)
        return;
    auto largest = source.Query(Formatter::sprintf(u"select max(Id) from %s", {table}));
    if (!largest.hasRows() || largest->GetCellView(0, 0).isEmpty() || source.GetLastCode() != 0)
        return;
    // The next ids of the three origins, above every copied id.
    const qint64 f = (largest->GetInt64At(0, 0) - 1) / 3 + 1;
    destination.Execute(Formatter::sprintf(u"update NextRowId set Ppc=%I64d, Pc=%I64d, Serveur=%I64d where Name='%s'",
                                           {3 * f + 1, 3 * f + 2, 3 * f + 3, table}));
}
