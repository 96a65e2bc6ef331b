// Writes 4 000 rows by 50 columns to a workbook file and the same values to
// a plain CSV file, so the two can be compared in one run. Half of the
// columns are numbers with a few number formats, half are texts with many
// repeats, as a report export has them.
#include "ExcelFile.h"
#include "ExcelFormatManager.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <charconv>
#include <vector>

namespace {

constexpr int Rows = 4000;
constexpr int Columns = 50;

struct Values
{
    std::vector<double> numbers;  // Rows x Columns/2
    std::vector<QString> texts;   // Rows x Columns/2
};

const Values &values()
{
    static const Values v = [] {
        Values v;
        v.numbers.reserve(Rows * Columns / 2);
        v.texts.reserve(Rows * Columns / 2);
        std::uint32_t seed = 12345;
        auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
        for (int r = 0; r < Rows; ++r) {
            for (int c = 0; c < Columns / 2; ++c) {
                switch (c % 3) {
                case 0: v.numbers.push_back(double(next() % 100000) / 100); break; // amounts
                case 1: v.numbers.push_back(double(next() % 50000) / 86400); break; // durations
                default: v.numbers.push_back(double(next() % 1000000) / 7); break;  // any double
                }
                v.texts.push_back(QStringLiteral("Projet %1 – activité %2").arg(next() % 200).arg(c % 5));
            }
        }
        return v;
    }();
    return v;
}

QString benchDir()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/zarvo-xls-bench-XXXXXX"));
    return dir.path();
}

void BM_WorkbookFile(benchmark::State &state)
{
    const Values &v = values();
    const QString path = benchDir() + QStringLiteral("/bench.xls");
    for (auto _ : state) {
        Biff8::ExcelFile file;
        file.NewWorkbook();
        Biff8::ExcelWorksheet &grid = *file.Worksheets()[0];
        grid.Rename(QStringLiteral("Feuil1"));
        std::uint32_t xfs[3];
        {
            Biff8::ExcelFormatManager m(file);
            const QString formats[3] = {QStringLiteral("#,##0.00"), QStringLiteral("[h]:mm"), QStringLiteral("0.000")};
            for (int i = 0; i < 3; ++i) {
                Biff8::ExcelCellFormat f(&m);
                f.formatIndex = m.GetFormatIndex(formats[i]);
                xfs[i] = m.GetXFIndex(f);
            }
        }
        std::size_t n = 0, t = 0;
        for (int r = 0; r < Rows; ++r) {
            for (int c = 0; c < Columns; ++c) {
                Biff8::ExcelCell *cell = grid.CellAt(r, c);
                if (c < Columns / 2) {
                    cell->SetDouble(v.numbers[n++]);
                    cell->SetXFIndex(xfs[c % 3]);
                } else {
                    cell->SetWideString(v.texts[t++]);
                }
            }
        }
        bool ok = file.CreateStorage(path) && file.CreateWorkbookStream() == 1 && file.SaveWorkbook();
        file.ReleaseStorage();
        if (!ok)
            state.SkipWithError("save failed");
    }
    state.counters["cells"] = Rows * Columns;
    state.counters["bytes"] = double(QFile(path).size());
}

void BM_PlainCsv(benchmark::State &state)
{
    const Values &v = values();
    const QString path = benchDir() + QStringLiteral("/bench.csv");
    for (auto _ : state) {
        QByteArray out;
        out.reserve(8 << 20);
        std::size_t n = 0, t = 0;
        char buf[32];
        for (int r = 0; r < Rows; ++r) {
            for (int c = 0; c < Columns; ++c) {
                if (c)
                    out.append(';');
                if (c < Columns / 2) {
                    auto res = std::to_chars(buf, buf + sizeof buf, v.numbers[n++]);
                    out.append(buf, res.ptr - buf);
                } else {
                    out.append('"');
                    out.append(v.texts[t++].toUtf8());
                    out.append('"');
                }
            }
            out.append('\n');
        }
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(out) != out.size())
            state.SkipWithError("write failed");
    }
    state.counters["bytes"] = double(QFile(path).size());
}

} // namespace

BENCHMARK(BM_WorkbookFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_PlainCsv)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_MAIN();
