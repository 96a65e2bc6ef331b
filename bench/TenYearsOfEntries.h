#pragma once
// Ten years of time entries (2017 to 2026, eleven a day, about 40 000 rows)
// in a database of the benchmark's folder, built once (and as many years
// as a benchmark asks for, ending the same day), and the bare SQL
// that reads one day of it, as the database layer's query does, for the
// benchmarks to measure against.
#include "BenchFolder.h"
#include "CBdD.h"
#include "Formatter.h"
#include "LocalTime.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QDate>
#include <QString>

#include <map>
#include <vector>

namespace TenYears {

using Platform::Formatter;

inline const QDate FirstDay(2017, 1, 2);
inline const QDate LastDay(2026, 12, 31);
constexpr int EntriesPerDay = 11;

// Eleven entries a day from `first` to LastDay into a new database at `p`.
inline QString buildEntries(const QString &p, const QDate &first)
{
    CBdD db(p);
    db.Connection()->BeginTransaction();
    int id = 1;
    for (QDate d = first; d <= LastDay; d = d.addDays(1)) {
        for (int k = 0; k < EntriesPerDay; ++k) {
            const qint64 start = Platform::LocalTime::atMinute(d, 8 * 60 + 45 * k);
            db.Execute(Formatter::sprintf(
                u"insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,Facture,IdTauxHoraire,Date_Modif,"
                u"Origine_Modif,Deleted,Title,Notes) values (%d,%I64d,%I64d,%d,%d,%d,-1,%I64d,1,0,'Tâche %d','')",
                {id, start, start + 40 * 60, 32 + 3 * (id % 40), 31 + 3 * (id % 12), id % 2, start, id}));
            ++id;
        }
    }
    // Ids of this desktop continue above the rows put in directly.
    db.Execute(u"update NextRowId set Pc=100001 where Name='Taches'");
    db.Connection()->CommitTransaction();
    return p;
}

inline const QString &databasePath()
{
    static const QString path = buildEntries(Bench::folder().path() + QStringLiteral("/Zarvo.sdb"), FirstDay);
    return path;
}

// The same entries over `years` years ending with LastDay (ten: the
// database above), built once for each count.
inline QString databasePathOfYears(int years)
{
    if (years == 10)
        return databasePath();
    static std::map<int, QString> built;
    auto found = built.find(years);
    if (found == built.end()) {
        const QString p = Bench::folder().path() + QStringLiteral("/Zarvo-%1.sdb").arg(years);
        found = built.emplace(years, buildEntries(p, FirstDay.addYears(10 - years))).first;
    }
    return found->second;
}

// The statements the layer runs for one day: the longest entry's length,
// then the entries around the day.
inline const char16_t *const LongestQuery = u"select max(Fin - Debut) from Taches";
inline QString dayQuery(const QDate &day, qint64 longest)
{
    const qint64 end = Platform::LocalTime::midnight(day.addDays(1)) - 1;
    return Formatter::sprintf(u"Select * FROM Taches Where Debut <= %I64d and ((Fin > %I64d and Fin <= %I64d) or "
                              u"Fin=0) and Deleted=0 order by Debut asc",
                              {end, Platform::LocalTime::midnight(day), end + longest});
}
// Steps through every row and column of `sql`, as little as a caller can do.
inline int bareRows(sqlite3 *db, const QString &sql)
{
    sqlite3_stmt *stmt = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_prepare_v2(db, utf8.constData(), -1, &stmt, nullptr);
    int rows = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int c = 0, n = sqlite3_column_count(stmt); c < n; ++c) {
            if (sqlite3_column_type(stmt, c) == SQLITE_TEXT)
                benchmark::DoNotOptimize(sqlite3_column_text(stmt, c));
            else
                benchmark::DoNotOptimize(sqlite3_column_int64(stmt, c));
        }
        ++rows;
    }
    sqlite3_finalize(stmt);
    return rows;
}

struct Bare
{
    sqlite3 *db = nullptr;
    Bare() { sqlite3_open(databasePath().toUtf8().constData(), &db); }
    ~Bare() { sqlite3_close(db); }
    void exec(const QString &sql) { sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr); }
    qint64 longest()
    {
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(db, QString::fromUtf16(LongestQuery).toUtf8().constData(), -1, &stmt, nullptr);
        const qint64 value = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : 0;
        sqlite3_finalize(stmt);
        return value;
    }
    std::vector<int> ids(const QString &sql)
    {
        std::vector<int> out;
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr);
        while (sqlite3_step(stmt) == SQLITE_ROW)
            out.push_back(sqlite3_column_int(stmt, 0));
        sqlite3_finalize(stmt);
        return out;
    }
};

} // namespace TenYears
