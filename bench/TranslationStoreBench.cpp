// A translation store opened on a language database and the 30 texts the
// main frame reads into the application's common texts, against opening the
// same file with sqlite3_open_v2 and running the same queries, in one run.
#include "CLanguageSelector.h"
#include "CTranslationStore.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// The common texts of the main frame (two of its 32 places are blanks).
constexpr int CommonTextIds[] = {57345, 173, 166, 226, 237, 238, 261, 262, 263, 252, 164, 165, 501, 502, 507,
                                 508,   509, 510, 511, 583, 582, 542, 516, 558, 516, 522, 544, 575, 679, 682};

// A program folder holding a German database with every text of the
// program (the built French one under the German name).
const QString &programFolder()
{
    static QTemporaryDir dir;
    static const QString folder = [] {
        QDir().mkpath(dir.path() + QStringLiteral("/Deu"));
        QFile::copy(QStringLiteral(ZARVO_LANGUAGE_DB_FRA), dir.path() + QStringLiteral("/Deu/ZarvoDeu.sdb"));
        return dir.path() + u'/';
    }();
    return folder;
}

void StoreOpenAndCommonTexts(benchmark::State &state)
{
    CLanguageSelector selector(programFolder() + QStringLiteral("Zarvo"));
    selector.SetLanguage(1031);
    for (auto _ : state) {
        CTranslationStore store(&selector);
        for (const int id : CommonTextIds)
            benchmark::DoNotOptimize(store.GetString(id));
    }
    state.SetItemsProcessed(state.iterations() * std::size(CommonTextIds));
}

QString queryText(sqlite3 *db, const char *sql)
{
    sqlite3_stmt *statement = nullptr;
    QString text;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW) {
        text = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)),
                                 sqlite3_column_bytes(statement, 0));
    }
    sqlite3_finalize(statement);
    return text;
}

void BareOpenAndCommonTexts(benchmark::State &state)
{
    const QByteArray path = QFile::encodeName(programFolder() + QStringLiteral("Deu/ZarvoDeu.sdb"));
    char sql[64];
    for (auto _ : state) {
        sqlite3 *db = nullptr;
        sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        benchmark::DoNotOptimize(queryText(db, "select Value from Infos where Name='Debug'"));
        for (const int id : CommonTextIds) {
            std::snprintf(sql, sizeof sql, "Select String from StringTable where Id=%d", id);
            benchmark::DoNotOptimize(queryText(db, sql));
        }
        sqlite3_close(db);
    }
    state.SetItemsProcessed(state.iterations() * std::size(CommonTextIds));
}

} // namespace

BENCHMARK(StoreOpenAndCommonTexts)->Unit(benchmark::kMicrosecond);
BENCHMARK(BareOpenAndCommonTexts)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
