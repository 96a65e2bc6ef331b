// Writes 4 000 rows by 50 columns to a workbook file and the same values to
// a plain CSV file, so the two can be compared in one run. Half of the
// columns are numbers with a few number formats, half are texts with many
// repeats, as a report export has them. A third case writes four cells at
// the corners of the sheet: its time and memory follow the cells, not the
// sheet's extent.
//
// Memory: this program counts the heap bytes in use (every allocation of
// the process goes through the counting functions below) and reports the
// highest count an iteration reached above where it started.
#include "ExcelFile.h"
#include "ExcelFormatManager.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <malloc.h>
#include <vector>

extern "C" {
void *__libc_malloc(std::size_t);
void __libc_free(void *);
void *__libc_calloc(std::size_t, std::size_t);
void *__libc_realloc(void *, std::size_t);
void *__libc_memalign(std::size_t, std::size_t);
void *__libc_valloc(std::size_t);
void *__libc_pvalloc(std::size_t);
}

namespace {

std::atomic<std::int64_t> heapInUse{0};
std::atomic<std::int64_t> heapPeak{0};

void counted(std::int64_t delta)
{
    const std::int64_t now = heapInUse.fetch_add(delta, std::memory_order_relaxed) + delta;
    std::int64_t peak = heapPeak.load(std::memory_order_relaxed);
    while (now > peak && !heapPeak.compare_exchange_weak(peak, now, std::memory_order_relaxed)) {
    }
}

void *countedBlock(void *p)
{
    if (p)
        counted(std::int64_t(malloc_usable_size(p)));
    return p;
}

// Starts a measure: the peak is the bytes in use now.
std::int64_t startHeapMeasure()
{
    const std::int64_t now = heapInUse.load(std::memory_order_relaxed);
    heapPeak.store(now, std::memory_order_relaxed);
    return now;
}

} // namespace

extern "C" {

void *malloc(std::size_t n)
{
    return countedBlock(__libc_malloc(n));
}

void free(void *p)
{
    if (p)
        counted(-std::int64_t(malloc_usable_size(p)));
    __libc_free(p);
}

void *calloc(std::size_t n, std::size_t size)
{
    return countedBlock(__libc_calloc(n, size));
}

void *realloc(void *p, std::size_t n)
{
    const std::int64_t before = p ? std::int64_t(malloc_usable_size(p)) : 0;
    void *q = __libc_realloc(p, n);
    if (q)
        counted(std::int64_t(malloc_usable_size(q)) - before);
    else if (n == 0)
        counted(-before); // freed
    return q;
}

void *memalign(std::size_t alignment, std::size_t n)
{
    return countedBlock(__libc_memalign(alignment, n));
}

void *aligned_alloc(std::size_t alignment, std::size_t n)
{
    return countedBlock(__libc_memalign(alignment, n));
}

int posix_memalign(void **out, std::size_t alignment, std::size_t n)
{
    void *p = countedBlock(__libc_memalign(alignment, n));
    if (!p)
        return ENOMEM;
    *out = p;
    return 0;
}

void *valloc(std::size_t n)
{
    return countedBlock(__libc_valloc(n));
}

void *pvalloc(std::size_t n)
{
    return countedBlock(__libc_pvalloc(n));
}

} // extern "C"

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
    std::int64_t peak = 0;
    for (auto _ : state) {
        const std::int64_t start = startHeapMeasure();
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
        peak = std::max(peak, heapPeak.load() - start);
    }
    state.counters["cells"] = Rows * Columns;
    state.counters["bytes"] = double(QFile(path).size());
    state.counters["peak_heap"] = double(peak);
}

void setCorners(Biff8::ExcelFile &file)
{
    file.NewWorkbook();
    Biff8::ExcelWorksheet &grid = *file.Worksheets()[0];
    grid.CellAt(0, 0)->SetWideString(QStringLiteral("Projet"));
    grid.CellAt(0, 255)->SetDouble(12.5);
    grid.CellAt(65535, 0)->SetDouble(1.0 / 3);
    grid.CellAt(65535, 255)->SetWideString(QStringLiteral("Total"));
}

// Four cells at the corners of the largest sheet: a new workbook, the cells
// set, the file saved (which waits for the disk to hold it).
void BM_FourCorners(benchmark::State &state)
{
    const QString path = benchDir() + QStringLiteral("/corners.xls");
    std::int64_t peak = 0;
    for (auto _ : state) {
        const std::int64_t start = startHeapMeasure();
        {
            Biff8::ExcelFile file;
            setCorners(file);
            bool ok = file.CreateStorage(path) && file.CreateWorkbookStream() == 1 && file.SaveWorkbook();
            file.ReleaseStorage();
            if (!ok)
                state.SkipWithError("save failed");
        }
        peak = std::max(peak, heapPeak.load() - start);
    }
    state.counters["bytes"] = double(QFile(path).size());
    state.counters["peak_heap"] = double(peak);
}

// The same up to the workbook stream, without the compound file and the disk.
void BM_FourCornersStream(benchmark::State &state)
{
    std::int64_t peak = 0;
    std::size_t size = 0;
    for (auto _ : state) {
        const std::int64_t start = startHeapMeasure();
        {
            Biff8::ExcelFile file;
            setCorners(file);
            Biff8::Buffer stream;
            if (!file.BuildStream(stream))
                state.SkipWithError("build failed");
            size = stream.size();
            benchmark::DoNotOptimize(stream.data());
        }
        peak = std::max(peak, heapPeak.load() - start);
    }
    state.counters["bytes"] = double(size);
    state.counters["peak_heap"] = double(peak);
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
BENCHMARK(BM_FourCorners)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_FourCornersStream)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK_MAIN();
