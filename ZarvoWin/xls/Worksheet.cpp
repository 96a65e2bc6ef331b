#include "Worksheet.h"
#include "ExcelWorksheet.h"
#include "RkValue.h"
#include "StringIndex.h"

#include <algorithm>

namespace Biff8 {

namespace {

constexpr std::uint32_t RowNotSet = 100000;
constexpr std::uint16_t ColumnNotSet = 1000;

const ExcelCell &emptyCell()
{
    static const ExcelCell empty;
    return empty;
}

} // namespace

void Worksheet::build(const ExcelWorksheet &grid, int sheetIndex, StringIndex &strings)
{
    const int rowCount = grid.rowCount();
    const int columnCount = grid.columnCount();
    index.firstRow = RowNotSet;
    index.lastRowPlusOne = std::uint32_t(rowCount);
    index.dbCells.clear();
    dimensions.firstRow = RowNotSet;
    dimensions.firstColumn = ColumnNotSet;
    dimensions.lastRowPlusOne = std::uint32_t(rowCount);
    dimensions.lastColumnPlusOne = std::uint16_t(columnCount);
    colInfos = grid.columnInfos();
    if (sheetIndex > 0)
        window2.options &= std::uint16_t(~Window2::Selected);
    cellTable.assign(std::size_t((rowCount + RowsPerBlock - 1) / RowsPerBlock), RowBlock());
    mergedCells.clear();

    auto at = [&](int r, int c) -> const ExcelCell & {
        const ExcelCell *cell = grid.cell(r, c);
        return cell ? *cell : emptyCell();
    };

    bool firstVisited = false;
    std::vector<CellBlock::RkCell> run;
    for (int r = 0; r < rowCount; ++r) {
        RowBlock &block = cellTable[std::size_t(r / RowsPerBlock)];
        if (r % RowsPerBlock == 0)
            block.cells.reserve(std::size_t(std::min(RowsPerBlock, rowCount - r)) * std::size_t(columnCount));
        const auto row = std::uint16_t(r);
        for (int c = 0; c < columnCount;) {
            if (!firstVisited) {
                firstVisited = true;
                index.firstRow = std::uint32_t(r);
                dimensions.firstRow = std::uint32_t(r);
                index.dbCells.assign(std::size_t((rowCount - r - 1) / RowsPerBlock + 1), 0);
                dimensions.firstColumn = std::uint16_t(c);
            }
            if (c == 0) {
                Row rec;
                rec.index = row;
                rec.firstColumn = 0;
                rec.lastColumnPlusOne = std::uint16_t(columnCount);
                block.rows.push_back(rec);
                block.dbCell.cellOffsets.push_back(0);
            }
            const ExcelCell &cell = at(r, c);
            const auto column = std::uint16_t(c);
            const auto xf = std::uint16_t(cell.xfIndex());
            switch (cell.kind()) {
            case ExcelCell::Empty:
                block.addCell(CellBlock::blank(row, column, xf));
                ++c;
                break;
            case ExcelCell::Integer:
            case ExcelCell::Number: {
                // A run: this cell and the following ones of the same kind
                // that have an RK form.
                const ExcelCell::Kind kind = cell.kind();
                auto rkOf = [kind](const ExcelCell &x, std::uint32_t &rk) {
                    return kind == ExcelCell::Integer ? RkValue::fromInteger(x.integer(), rk)
                                                      : RkValue::fromDouble(x.number(), rk);
                };
                std::uint32_t rk = 0;
                if (!rkOf(cell, rk)) {
                    const double value = kind == ExcelCell::Integer ? double(cell.integer()) : cell.number();
                    block.addCell(CellBlock::number(row, column, xf, value));
                    ++c;
                    break;
                }
                run.clear();
                run.push_back({xf, rk});
                int next = c + 1;
                while (next < columnCount) {
                    const ExcelCell &n = at(r, next);
                    if (n.kind() != kind || !rkOf(n, rk))
                        break;
                    run.push_back({std::uint16_t(n.xfIndex()), rk});
                    ++next;
                }
                if (run.size() == 1)
                    block.addCell(CellBlock::rk(row, column, xf, run.front().rk));
                else
                    block.addCell(CellBlock::mulRk(row, column, run));
                c = next;
                break;
            }
            case ExcelCell::NarrowText:
                block.addCell(CellBlock::labelSst(row, column, xf, strings.add(cell.narrowText())));
                ++c;
                break;
            case ExcelCell::WideText:
                block.addCell(CellBlock::labelSst(row, column, xf, strings.add(cell.wideText())));
                ++c;
                break;
            case ExcelCell::Formula:
                block.addCell(CellBlock::formula(row, column, xf, cell.formula()));
                ++c;
                break;
            }
        }
    }

    // Merged ranges, in row-major order, clipped to the sheet's limits.
    std::vector<CellRange> ranges;
    for (int r = 0; r < rowCount; ++r) {
        for (int c = 0; c < columnCount; ++c) {
            const ExcelCell *cell = grid.cell(r, c);
            if (!cell)
                break;
            if (cell->rowsSpanned() <= 1 && cell->columnsSpanned() <= 1)
                continue;
            CellRange range;
            range.firstRow = std::uint16_t(r);
            range.lastRow = std::uint16_t(std::min(r + cell->rowsSpanned() - 1, ExcelWorksheet::MaxRows - 1));
            range.firstColumn = std::uint16_t(c);
            range.lastColumn = std::uint16_t(std::min(c + cell->columnsSpanned() - 1, ExcelWorksheet::MaxColumns - 1));
            ranges.push_back(range);
        }
    }
    for (std::size_t i = 0; i < ranges.size(); i += MergedCells::MaxRanges) {
        MergedCells rec;
        rec.ranges.assign(ranges.begin() + long(i),
                          ranges.begin() + long(std::min(ranges.size(), i + MergedCells::MaxRanges)));
        mergedCells.push_back(std::move(rec));
    }

    if (index.firstRow == RowNotSet) {
        index.firstRow = 0;
        dimensions.firstRow = 0;
        index.dbCells.assign(std::size_t((rowCount - 1) / RowsPerBlock + 1), 0);
    }
    if (dimensions.firstColumn == ColumnNotSet)
        dimensions.firstColumn = 0;
}

std::uint32_t Worksheet::place(std::uint32_t start)
{
    std::uint32_t pos = start + bof.RecordSize() + index.RecordSize() + colInfos.Size() + dimensions.RecordSize();
    for (std::size_t k = 0; k < cellTable.size(); ++k) {
        RowBlock &block = cellTable[k];
        const std::uint32_t dbCellAt = block.placeAt(pos);
        if (k < index.dbCells.size())
            index.dbCells[k] = dbCellAt;
        pos = dbCellAt + block.dbCell.RecordSize();
    }
    pos += window2.RecordSize();
    for (MergedCells &m : mergedCells)
        pos += m.RecordSize();
    return pos + eof.RecordSize();
}

std::uint32_t Worksheet::Size()
{
    std::uint32_t n = bof.RecordSize() + index.RecordSize() + colInfos.Size() + dimensions.RecordSize();
    for (RowBlock &b : cellTable)
        n += b.Size();
    n += window2.RecordSize();
    for (MergedCells &m : mergedCells)
        n += m.RecordSize();
    return n + eof.RecordSize();
}

std::uint32_t Worksheet::Write(Buffer &out)
{
    std::uint32_t n = bof.Write(out) + index.Write(out) + colInfos.Write(out) + dimensions.Write(out);
    for (RowBlock &b : cellTable)
        n += b.Write(out);
    n += window2.Write(out);
    for (MergedCells &m : mergedCells)
        n += m.Write(out);
    return n + eof.Write(out);
}

} // namespace Biff8
