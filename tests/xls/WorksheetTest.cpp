#include "ExcelFile.h"
#include "RkValue.h"
#include "StreamReader.h"
#include "StringIndex.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

using namespace Biff8;
using Bytes = std::vector<std::uint8_t>;
using StreamReader::Rec;
using StreamReader::u16;
using StreamReader::u32;

namespace {

Bytes build(ExcelFile &file)
{
    Bytes out;
    EXPECT_TRUE(file.BuildStream(out));
    EXPECT_EQ(StreamReader::checkIndex(out), QString());
    return out;
}

std::vector<Rec> recordsOf(const Bytes &stream)
{
    bool ok = false;
    auto recs = StreamReader::records(stream, &ok);
    EXPECT_TRUE(ok);
    return recs;
}

std::vector<std::uint16_t> ids(const std::vector<Rec> &recs, std::size_t from, std::size_t to)
{
    std::vector<std::uint16_t> out;
    for (std::size_t i = from; i < to && i < recs.size(); ++i)
        out.push_back(recs[i].id);
    return out;
}

// Index of the first record of the sheet (after the globals' EOF).
std::size_t sheetStart(const std::vector<Rec> &recs)
{
    for (std::size_t i = 0; i < recs.size(); ++i)
        if (recs[i].id == 0x000A)
            return i + 1;
    return recs.size();
}

std::vector<Rec> cellsOf(const std::vector<Rec> &recs)
{
    std::vector<Rec> out;
    for (std::size_t i = sheetStart(recs); i < recs.size(); ++i)
        if (recs[i].id == 0x0201 || recs[i].id == 0x027E || recs[i].id == 0x00BD || recs[i].id == 0x0203
            || recs[i].id == 0x00FD)
            out.push_back(recs[i]);
    return out;
}

} // namespace

TEST(Worksheet, NewWorkbookSavedWithoutCellsHoldsNoCellRecord)
{
    ExcelFile file;
    file.NewWorkbook();
    const Bytes stream = build(file);
    const auto recs = recordsOf(stream);
    const std::size_t s = sheetStart(recs);
    std::vector<std::uint16_t> globals = {0x0809, 0x003D, 0x0031};
    globals.insert(globals.end(), 16, 0x00E0);
    globals.insert(globals.end(), {0x0293, 0x0085, 0x00FC, 0x000A});
    EXPECT_EQ(ids(recs, 0, s), globals);
    EXPECT_EQ(ids(recs, s, recs.size()), (std::vector<std::uint16_t>{0x0809, 0x020B, 0x0200, 0x023E, 0x000A}));
    // The sheet starts where the globals end.
    EXPECT_EQ(u32(recs[20].data, 0), recs[s].offset);
    EXPECT_EQ(file.Globals().Size(), recs[s].offset);
    // Index and Dimensions: no row, no column, no block.
    EXPECT_EQ(recs[s + 1].data, Bytes(16, 0));
    EXPECT_EQ(recs[s + 2].data, Bytes(14, 0));
    EXPECT_EQ(u16(recs[s + 3].data, 0), 0x06B6);
}

TEST(Worksheet, BlankCellWithAFormatHoldsItsRowAndBlock)
{
    ExcelFile file;
    file.NewWorkbook();
    file.Globals().xfs.resize(2);
    ExcelCell *a1 = file.Worksheets()[0]->CellAt(0, 0);
    ASSERT_TRUE(a1->SetXFIndex(1));
    const auto recs = recordsOf(build(file));
    const std::size_t s = sheetStart(recs);
    EXPECT_EQ(ids(recs, s, recs.size()),
              (std::vector<std::uint16_t>{0x0809, 0x020B, 0x0200, 0x0208, 0x0201, 0x00D7, 0x023E, 0x000A}));
    const Rec &dims = recs[s + 2];
    EXPECT_EQ(u32(dims.data, 0), 0u);
    EXPECT_EQ(u32(dims.data, 4), 1u);
    EXPECT_EQ(u16(dims.data, 8), 0);
    EXPECT_EQ(u16(dims.data, 10), 1);
    EXPECT_EQ(recs[s + 3].data, (Bytes{0, 0, 0, 0, 1, 0, 0xFF, 0, 0, 0, 0, 0, 0, 1, 0, 0}));
    // Cell format 1 is the 17th XF record.
    EXPECT_EQ(recs[s + 4].data, (Bytes{0, 0, 0, 0, 16, 0}));
    EXPECT_EQ(recs[s + 5].data, (Bytes{30, 0, 0, 0, 0, 0}));
    EXPECT_EQ(u32(recs[s + 1].data, 16), recs[s + 5].offset);
}

TEST(Worksheet, NumbersWithAnExactRkFormShareOneMulRk)
{
    ExcelFile file;
    file.NewWorkbook();
    auto &grid = *file.Worksheets()[0];
    grid.CellAt(0, 0)->SetDouble(1.5);
    grid.CellAt(0, 1)->SetDouble(2);
    grid.CellAt(0, 2)->SetDouble(3.25);
    grid.CellAt(0, 3)->SetDouble(12345.67);
    grid.CellAt(0, 4)->SetDouble(0.05);
    file.Globals().xfs.resize(8);
    ASSERT_TRUE(grid.CellAt(0, 4)->SetXFIndex(7));
    const auto cells = cellsOf(recordsOf(build(file)));
    ASSERT_EQ(cells.size(), 3u);
    EXPECT_EQ(cells[0].id, 0x00BD);
    EXPECT_EQ(u16(cells[0].data, 2), 0);
    EXPECT_EQ(u32(cells[0].data, 6), 0x4062C001u);
    EXPECT_EQ(u32(cells[0].data, 12), 0x40000000u);
    EXPECT_EQ(u32(cells[0].data, 18), 0x40745001u);
    EXPECT_EQ(u16(cells[0].data, 22), 2);
    EXPECT_EQ(cells[1].id, 0x0203);
    EXPECT_EQ(StreamReader::f64(cells[1].data, 6), 12345.67);
    EXPECT_EQ(cells[2].id, 0x027E);
    EXPECT_EQ(u16(cells[2].data, 4), 15 + 7);
    EXPECT_EQ(u32(cells[2].data, 6), 0x40140001u);
}

TEST(Worksheet, RkFormsDecodeBackExactly)
{
    struct Case
    {
        double value;
        bool rk;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {0.0, true, 0x00000000}, {1.5, true, 0x4062C001}, {2.0, true, 0x40000000}, {3.25, true, 0x40745001},
        {0.05, true, 0x40140001}, {-1.0, true, 0xBFF00000}, {100.0, true, 0x40590000}, {12345.67, false, 0},
        {0.1, true, 0x40240001}, {0.07, false, 0}, {1.0 / 3, false, 0}, {1e10, false, 0}, {-0.0, true, 0x80000000},
        {std::numeric_limits<double>::quiet_NaN(), false, 0}, {std::numeric_limits<double>::infinity(), false, 0},
        {std::nextafter(0.05, 1.0), false, 0},
        // One step off a value with two decimals: x * 100 rounds to a whole
        // number whose RK form holds it, but that form divided by 100 is
        // the neighbour, not x.
        {std::nextafter(0.35, 1.0), false, 0}, {std::nextafter(0.23, 0.0), false, 0},
    };
    for (const Case &c : cases) {
        std::uint32_t rk = 0;
        EXPECT_EQ(RkValue::fromDouble(c.value, rk), c.rk) << c.value;
        if (c.rk) {
            EXPECT_EQ(rk, c.expected) << c.value;
        }
    }
    struct IntCase
    {
        std::int32_t value;
        bool rk;
    };
    for (const IntCase &c : {IntCase{0, true}, IntCase{-1, true}, IntCase{(1 << 29) - 1, true}, IntCase{-(1 << 29), true},
                             IntCase{1 << 29, false}, IntCase{-(1 << 29) - 1, false}, IntCase{INT32_MIN, false}}) {
        std::uint32_t rk = 0;
        EXPECT_EQ(RkValue::fromInteger(c.value, rk), c.rk) << c.value;
        if (c.rk) {
            EXPECT_EQ(rk, std::uint32_t(c.value) * 4 + 2);
            EXPECT_EQ(StreamReader::rk(rk), double(c.value));
        }
    }
    EXPECT_EQ(RkValue::truncate(2147483647.9), 2147483647);
    EXPECT_EQ(RkValue::truncate(-2147483648.5), INT32_MIN);
    EXPECT_EQ(RkValue::truncate(3e9), INT32_MIN);
    // Whatever is chosen, the reader gets the very same double back.
    std::mt19937_64 gen(7);
    std::uniform_int_distribution<int> cents(-5000000, 5000000);
    int chosen = 0;
    for (int i = 0; i < 200000; ++i) {
        const double x = i % 2 ? cents(gen) / 100.0 : std::ldexp(double(cents(gen)), cents(gen) % 40);
        std::uint32_t rk = 0;
        if (RkValue::fromDouble(x, rk)) {
            ++chosen;
            ASSERT_EQ(StreamReader::rk(rk), x) << x;
            ASSERT_EQ(RkValue::decode(rk), x);
        }
    }
    EXPECT_GT(chosen, 1000);
}

TEST(Worksheet, IntegersRunIntoMulRkUntilOneHasNoRkForm)
{
    ExcelFile file;
    file.NewWorkbook();
    auto &grid = *file.Worksheets()[0];
    grid.CellAt(0, 0)->SetInteger(5);
    grid.CellAt(0, 1)->SetInteger(-7);
    grid.CellAt(0, 2)->SetInteger(1 << 29);
    grid.CellAt(0, 3)->SetInteger(9);
    grid.CellAt(0, 4)->SetDouble(1);
    const auto cells = cellsOf(recordsOf(build(file)));
    ASSERT_EQ(cells.size(), 4u);
    EXPECT_EQ(cells[0].id, 0x00BD);
    EXPECT_EQ(u32(cells[0].data, 6), 5u * 4 + 2);
    EXPECT_EQ(u32(cells[0].data, 12), std::uint32_t(-7) * 4 + 2);
    EXPECT_EQ(cells[1].id, 0x0203);
    EXPECT_EQ(StreamReader::f64(cells[1].data, 6), double(1 << 29));
    // An integer next to a number is not the same run.
    EXPECT_EQ(cells[2].id, 0x027E);
    EXPECT_EQ(u32(cells[2].data, 6), 9u * 4 + 2);
    EXPECT_EQ(cells[3].id, 0x027E);
}

TEST(Worksheet, TextsShareTheirStringsByWidth)
{
    ExcelFile file;
    file.NewWorkbook();
    auto &grid = *file.Worksheets()[0];
    grid.CellAt(0, 0)->SetWideString(QStringLiteral("a"));
    grid.CellAt(0, 1)->SetWideString(QStringLiteral("b"));
    grid.CellAt(0, 2)->SetWideString(QStringLiteral("a"));
    grid.CellAt(1, 0)->SetString(QByteArrayLiteral("a"));
    const auto recs = recordsOf(build(file));
    const auto cells = cellsOf(recs);
    std::vector<std::uint32_t> indices;
    for (const Rec &c : cells)
        if (c.id == 0x00FD)
            indices.push_back(u32(c.data, 6));
    EXPECT_EQ(indices, (std::vector<std::uint32_t>{0, 1, 0, 2}));
    std::size_t sstAt = 0;
    while (recs[sstAt].id != 0x00FC)
        ++sstAt;
    const auto sst = StreamReader::readSst(recs, sstAt);
    EXPECT_EQ(sst.total, 4u);
    EXPECT_EQ(sst.unique, 3u);
    EXPECT_EQ(sst.wide, (std::vector<bool>{true, true, false}));
    // A second save gives the same stream.
    Bytes first = build(file);
    EXPECT_EQ(build(file), first);
}

TEST(Worksheet, HeaderRowOfThreeTexts)
{
    ExcelFile file;
    file.NewWorkbook();
    auto &grid = *file.Worksheets()[0];
    const char16_t *texts[] = {u"Projet", u"Durée", u"Coût"};
    for (int c = 0; c < 3; ++c)
        grid.CellAt(0, c)->SetWideString(QString::fromUtf16(texts[c]));
    const auto recs = recordsOf(build(file));
    const std::size_t s = sheetStart(recs);
    EXPECT_EQ(ids(recs, s, recs.size()), (std::vector<std::uint16_t>{0x0809, 0x020B, 0x0200, 0x0208, 0x00FD, 0x00FD,
                                                                      0x00FD, 0x00D7, 0x023E, 0x000A}));
    EXPECT_EQ(recs[s + 1].data.size(), 20u);
    EXPECT_EQ(u16(recs[s + 2].data, 10), 3);
}

TEST(Worksheet, ThirtyThreeRowsMakeTwoBlocks)
{
    ExcelFile file;
    file.NewWorkbook();
    auto &grid = *file.Worksheets()[0];
    for (int r = 0; r < 33; ++r) {
        grid.CellAt(r, 0)->SetDouble(r);
        grid.CellAt(r, 1)->SetWideString(QStringLiteral("row %1").arg(r));
    }
    const Bytes stream = build(file);
    const auto recs = recordsOf(stream);
    const std::size_t s = sheetStart(recs);
    EXPECT_EQ(recs[s + 1].data.size(), 16u + 8);
    std::vector<const Rec *> dbcells;
    for (const Rec &r : recs)
        if (r.id == 0x00D7)
            dbcells.push_back(&r);
    ASSERT_EQ(dbcells.size(), 2u);
    EXPECT_EQ(dbcells[0]->data.size(), 4u + 2 * 32);
    EXPECT_EQ(dbcells[1]->data.size(), 4u + 2);
    EXPECT_EQ(u16(dbcells[1]->data, 4), 0); // one Row record: 20 - 20
    EXPECT_EQ(u16(dbcells[0]->data, 4), 31 * 20);
    EXPECT_EQ(u32(dbcells[1]->data, 0), 20u + 14 + 14);
}

TEST(Worksheet, LaterSheetsAreNotSelected)
{
    ExcelFile file;
    file.NewWorkbook();
    Workbook wb;
    StringIndex strings(wb.sst);
    Worksheet first, second;
    first.build(*file.Worksheets()[0], 0, strings, wb);
    second.build(*file.Worksheets()[0], 1, strings, wb);
    EXPECT_EQ(first.window2.options, 0x06B6);
    EXPECT_EQ(second.window2.options, 0x04B6);
}

TEST(Worksheet, SpansBecomeMergedRangesOfAtMost1027PerRecord)
{
    ExcelFile file;
    file.NewWorkbook();
    auto &grid = *file.Worksheets()[0];
    grid.CellAt(0, 0)->SetSpan(2, 3);
    grid.CellAt(5, 1)->SetSpan(1, 2);
    grid.CellAt(65535, 255)->SetSpan(4, 4);
    Workbook wb;
    StringIndex strings(wb.sst);
    Worksheet sheet;
    sheet.build(grid, 0, strings, wb);
    ASSERT_EQ(sheet.mergedCells.size(), 1u);
    EXPECT_EQ(sheet.mergedCells[0].ranges,
              (std::vector<CellRange>{{0, 1, 0, 2}, {5, 5, 1, 2}, {65535, 65535, 255, 255}}));

    ExcelFile many;
    many.NewWorkbook();
    auto &g = *many.Worksheets()[0];
    for (int r = 0; r < 1100; ++r)
        g.CellAt(r, 0)->SetSpan(1, 2);
    const auto recs = recordsOf(build(many));
    std::vector<std::uint16_t> counts;
    for (const Rec &r : recs)
        if (r.id == 0x00E5)
            counts.push_back(u16(r.data, 0));
    EXPECT_EQ(counts, (std::vector<std::uint16_t>{1027, 73}));
}

TEST(Worksheet, RandomGridsKeepIndexAndDbCellsInStep)
{
    std::mt19937 gen(11);
    for (int round = 0; round < 20; ++round) {
        ExcelFile file;
        file.NewWorkbook();
        auto &grid = *file.Worksheets()[0];
        const int rows = 1 + int(gen() % 150);
        const int cols = 1 + int(gen() % 40);
        for (int i = 0; i < rows * cols / 2; ++i) {
            ExcelCell *cell = grid.CellAt(int(gen() % rows), int(gen() % cols));
            switch (gen() % 4) {
            case 0: cell->SetDouble(double(int(gen() % 100000)) / 100); break;
            case 1: cell->SetDouble(double(gen()) / 7); break;
            case 2: cell->SetInteger(int(gen())); break;
            default: cell->SetWideString(QString::number(gen() % 50)); break;
            }
        }
        build(file);
    }
}

TEST(Worksheet, FormulaCellsCarryTheirAttachedAndStringRecords)
{
    ExcelFile file;
    file.NewWorkbook();
    auto &grid = *file.Worksheets()[0];
    auto f = std::make_shared<FormulaData>();
    f->cachedResult = {0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
    f->options = 0x0008;
    f->formula = QByteArray::fromHex("0600170300616263");
    f->attachedId = 0x04BC;
    f->attachedData = QByteArray::fromHex("000000000000010203");
    f->hasStringResult = true;
    f->stringResult = QStringLiteral("abc");
    grid.CellAt(0, 0)->SetFormula(f);
    grid.CellAt(1, 0)->SetDouble(1.5);
    grid.CellAt(1, 1)->SetFormula(nullptr);
    EXPECT_EQ(grid.cell(1, 1)->kind(), ExcelCell::Empty);
    const auto recs = recordsOf(build(file));
    const std::size_t s = sheetStart(recs);
    EXPECT_EQ(ids(recs, s + 3, s + 10), (std::vector<std::uint16_t>{0x0208, 0x0208, 0x0006, 0x04BC, 0x0207, 0x027E,
                                                                     0x00D7}));
    const Rec &formula = recs[s + 5];
    ASSERT_EQ(formula.data.size(), 28u);
    EXPECT_EQ(u16(formula.data, 14), 0x0008);
    EXPECT_EQ(u32(formula.data, 16), 0u);
    EXPECT_EQ(u16(formula.data, 20), 6);
    EXPECT_EQ(recs[s + 7].data, (Bytes{3, 0, 1, 'a', 0, 'b', 0, 'c', 0}));
    // The first row's cells run over the formula and the records after it.
    const Rec &dbcell = recs[s + 9];
    EXPECT_EQ(u16(dbcell.data, 6), (4 + 28) + (4 + 9) + (4 + 9));
}
