#include "Worksheet.h"
#include "ExcelWorksheet.h"
#include "RkValue.h"
#include "StringIndex.h"
#include "Workbook.h"

#include <algorithm>
#include <cmath>

namespace Biff8 {

namespace {

// What a number cell writes: negative zero as zero.
double writtenNumber(double x)
{
    return x == 0 ? 0.0 : x;
}

} // namespace

void Worksheet::build(const ExcelWorksheet &grid, int sheetIndex, StringIndex &strings, const Workbook &globals)
{
    index.dbCells.clear();
    colInfos = grid.columnInfos();
    for (ColInfo &c : colInfos.items)
        c.xfIndex = globals.fileXFIndex(c.xfIndex);
    if (sheetIndex > 0)
        window2.options &= std::uint16_t(~Window2::Selected);
    cellTable.clear();
    mergedCells.clear();

    // The used area: rows and columns of the cells written.
    bool any = false;
    int firstRow = 0, lastRow = 0, firstColumn = ExcelWorksheet::MaxColumns, lastColumn = 0;
    std::vector<CellBlock::RkCell> run;
    for (const ExcelWorksheet::GridRow &gridRow : grid.rows()) {
        const std::vector<ExcelCell> &cells = gridRow.cells;
        const int width = int(cells.size());
        int first = 0;
        while (first < width && !cells[std::size_t(first)].writesRecord())
            ++first;
        if (first == width)
            continue;
        int last = width - 1;
        while (!cells[std::size_t(last)].writesRecord())
            --last;

        const int r = gridRow.index;
        if (!any) {
            any = true;
            firstRow = r;
        }
        lastRow = r;
        firstColumn = std::min(firstColumn, first);
        lastColumn = std::max(lastColumn, last);

        if (cellTable.empty() || cellTable.back().rows.back().index / RowsPerBlock != r / RowsPerBlock)
            cellTable.emplace_back();
        RowBlock &block = cellTable.back();
        const auto row = std::uint16_t(r);
        Row rec;
        rec.index = row;
        rec.firstColumn = std::uint16_t(first);
        rec.lastColumnPlusOne = std::uint16_t(last + 1);
        block.rows.push_back(rec);

        for (int c = first; c <= last;) {
            const ExcelCell &cell = cells[std::size_t(c)];
            if (!cell.writesRecord()) {
                ++c;
                continue;
            }
            const auto column = std::uint16_t(c);
            const std::uint16_t xf = globals.fileXFIndex(cell.xfIndex());
            switch (cell.kind()) {
            case ExcelCell::Empty:
                block.addCell(CellBlock::blank(row, column, xf));
                ++c;
                break;
            case ExcelCell::Integer:
            case ExcelCell::Number: {
                const ExcelCell::Kind kind = cell.kind();
                if (kind == ExcelCell::Number && !std::isfinite(cell.number())) {
                    // No reader agrees on what such a number shows; the
                    // format forbids them.
                    block.addCell(CellBlock::error(row, column, xf, CellBlock::ErrorNum));
                    ++c;
                    break;
                }
                // A run: this cell and the following ones of the same kind
                // that have an RK form.
                auto rkOf = [kind](const ExcelCell &x, std::uint32_t &rk) {
                    return kind == ExcelCell::Integer ? RkValue::fromInteger(x.integer(), rk)
                                                      : RkValue::fromDouble(writtenNumber(x.number()), rk);
                };
                std::uint32_t rk = 0;
                if (!rkOf(cell, rk)) {
                    const double value = kind == ExcelCell::Integer ? double(cell.integer()) : writtenNumber(cell.number());
                    block.addCell(CellBlock::number(row, column, xf, value));
                    ++c;
                    break;
                }
                run.clear();
                run.push_back({xf, rk});
                int next = c + 1;
                while (next <= last) {
                    const ExcelCell &n = cells[std::size_t(next)];
                    if (n.kind() != kind || !rkOf(n, rk))
                        break;
                    run.push_back({globals.fileXFIndex(n.xfIndex()), rk});
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

    index.firstRow = any ? std::uint32_t(firstRow) : 0;
    index.lastRowPlusOne = any ? std::uint32_t(lastRow + 1) : 0;
    index.dbCells.assign(cellTable.size(), 0);

    // Merged ranges, in row-major order. The used area covers them too,
    // as their cells are part of the sheet's content.
    const std::vector<CellRange> ranges = grid.mergedRanges();
    for (const CellRange &range : ranges) {
        if (!any) {
            any = true;
            firstRow = range.firstRow;
            lastRow = range.lastRow;
        }
        firstRow = std::min<int>(firstRow, range.firstRow);
        lastRow = std::max<int>(lastRow, range.lastRow);
        firstColumn = std::min<int>(firstColumn, range.firstColumn);
        lastColumn = std::max<int>(lastColumn, range.lastColumn);
    }
    dimensions.firstRow = any ? std::uint32_t(firstRow) : 0;
    dimensions.lastRowPlusOne = any ? std::uint32_t(lastRow + 1) : 0;
    dimensions.firstColumn = any ? std::uint16_t(firstColumn) : 0;
    dimensions.lastColumnPlusOne = any ? std::uint16_t(lastColumn + 1) : 0;
    for (std::size_t i = 0; i < ranges.size(); i += MergedCells::MaxRanges) {
        MergedCells rec;
        rec.ranges.assign(ranges.begin() + long(i),
                          ranges.begin() + long(std::min(ranges.size(), i + MergedCells::MaxRanges)));
        mergedCells.push_back(std::move(rec));
    }
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
