#include "RowBlock.h"

namespace Biff8 {

void RowBlock::addCell(CellBlock &&cell)
{
    if (cells.size() == cells.capacity())
        cells.reserve(cells.capacity() + 1000);
    cells.push_back(std::move(cell));
}

std::uint32_t RowBlock::placeAt(std::uint32_t start)
{
    std::uint32_t rowsSize = 0;
    for (Row &r : rows)
        rowsSize += r.RecordSize();
    // Cells follow their rows in order; a block holds only rows with cells,
    // which need not be consecutive.
    std::vector<std::uint32_t> perRow(rows.size(), 0);
    std::uint32_t cellsSize = 0;
    std::size_t rowOfCell = 0;
    for (CellBlock &c : cells) {
        const std::uint32_t size = c.RecordSize();
        cellsSize += size;
        while (rowOfCell + 1 < rows.size() && rows[rowOfCell].index != c.row())
            ++rowOfCell;
        if (rowOfCell < perRow.size())
            perRow[rowOfCell] += size;
    }
    dbCell.firstRowDistance = rowsSize + cellsSize;
    dbCell.cellOffsets.assign(rows.size(), 0);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        // The first offset runs from the end of the first Row record to the
        // first cell; each further one over the previous row's cells.
        const std::uint32_t offset = i == 0 ? rowsSize - 20 : perRow[i - 1];
        dbCell.cellOffsets[i] = std::uint16_t(offset);
    }
    return start + rowsSize + cellsSize;
}

std::uint32_t RowBlock::Size()
{
    std::uint32_t n = dbCell.RecordSize();
    for (Row &r : rows)
        n += r.RecordSize();
    for (CellBlock &c : cells)
        n += c.RecordSize();
    return n;
}

std::uint32_t RowBlock::Write(Buffer &out)
{
    std::uint32_t n = 0;
    for (Row &r : rows)
        n += r.Write(out);
    for (CellBlock &c : cells)
        n += c.Write(out);
    return n + dbCell.Write(out);
}

} // namespace Biff8
