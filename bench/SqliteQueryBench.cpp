// Query materialising 100 000 rows shaped like time entries, through the
// wrapper and through the bare sqlite3_get_table on the same file.
#include "CmyDataBase.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QDir>
#include <QTemporaryDir>

namespace {

constexpr int RowCount = 100000;

const QString &databasePath()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString p = dir.path() + QStringLiteral("/bench.sdb");
        SQLite::CmyDataBase db;
        db.Open(p);
        db.Execute(u"CREATE TABLE Taches (Id INTEGER PRIMARY KEY, Debut INTEGER, Fin INTEGER, IdProjet INTEGER, "
                   u"IdActivite INTEGER, IdTauxHoraire INTEGER, Facture INTEGER, Title TEXT, Notes TEXT, "
                   u"Deleted INTEGER, Date_Modif INTEGER, Origine_Modif INTEGER)");
        db.BeginTransaction();
        qint64 t = 1700000000;
        for (int i = 0; i < RowCount; ++i) {
            db.Execute(QStringLiteral("INSERT INTO Taches VALUES (%1, %2, %3, %4, %5, %6, %7, 'Réunion %8', "
                                      "'Notes de la tâche %8', 0, %2, 1)")
                           .arg(i * 3 + 1).arg(t).arg(t + 3600).arg(i % 2000).arg(i % 37).arg(i % 5)
                           .arg(i % 2).arg(i));
            t += 5400;
        }
        db.CommitTransaction();
        return p;
    }();
    return path;
}

void WrapperQuery(benchmark::State &state)
{
    SQLite::CmyDataBase db;
    db.Open(databasePath());
    for (auto _ : state) {
        SQLite::MyTablePtr t = db.Query(u"SELECT * FROM Taches");
        benchmark::DoNotOptimize(t->rowCount());
    }
    state.SetItemsProcessed(state.iterations() * RowCount);
}

void BareGetTable(benchmark::State &state)
{
    sqlite3 *db = nullptr;
    sqlite3_open(databasePath().toUtf8().constData(), &db);
    for (auto _ : state) {
        char **result = nullptr;
        int rows = 0;
        int cols = 0;
        sqlite3_get_table(db, "SELECT * FROM Taches", &result, &rows, &cols, nullptr);
        benchmark::DoNotOptimize(result);
        sqlite3_free_table(result);
    }
    sqlite3_close(db);
    state.SetItemsProcessed(state.iterations() * RowCount);
}

} // namespace

BENCHMARK(BareGetTable)->Unit(benchmark::kMillisecond);
BENCHMARK(WrapperQuery)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
