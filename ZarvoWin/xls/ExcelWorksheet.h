#pragma once
#include "ExcelCell.h"
#include "CellRange.h"
#include "ColInfos.h"

#include <QString>

#include <cstdint>
#include <map>
#include <vector>

namespace Biff8 {

class ExcelFile;

// The grid of one sheet: row count by column count (at least 1 by 1),
// reached cell by cell. Only the rows reached hold cells, each up to the
// last column reached in it, so memory follows the cells used rather than
// the grid's extent; a cell never reached is empty.
class ExcelWorksheet
{
public:
    static constexpr int MaxRows = 65536;
    static constexpr int MaxColumns = 256;
    static constexpr int MaxNameLength = 31;

    // The cells of one row that was reached, by column from 0.
    struct GridRow
    {
        int index = 0;
        std::vector<ExcelCell> cells;
    };

    ExcelWorksheet(ExcelFile *file, int sheetIndex, const ColInfos &columns);
    ExcelWorksheet(const ExcelWorksheet &) = delete;
    ExcelWorksheet &operator=(const ExcelWorksheet &) = delete;

    int sheetIndex() const { return m_index; }
    int rowCount() const { return m_rowCount; }
    int columnCount() const { return m_columnCount; }
    ColInfos &columnInfos() { return m_columns; }
    const ColInfos &columnInfos() const { return m_columns; }

    // Names the sheet; false when another sheet already holds that name
    // (the default 8-bit name is not compared), when the name is empty or
    // when the workbook is gone.
    bool Rename(const QString &name);
    // The cell at (row, column), growing the grid to reach it; null outside
    // rows 0..65535 and columns 0..255. Valid until the grid grows again.
    ExcelCell *CellAt(int row, int column);
    // The cell at (row, column) without growing: null for a cell never
    // reached (an empty cell) or outside the grid.
    const ExcelCell *cell(int row, int column) const;

    // The rows reached, in ascending order.
    const std::vector<GridRow> &rows() const { return m_rows; }
    // The merged ranges, in row-major order of their top-left cells.
    std::vector<CellRange> mergedRanges() const;
    // Whether the workbook's list of cell formats holds index.
    bool hasCellFormat(std::uint32_t index) const;
    // Records (or with 1 by 1 forgets) the merged range whose top-left cell
    // is (row, column); false when it would overlap another range.
    bool recordMerge(int row, int column, int rows, int columns);

    // A name a sheet may hold: at most 31 units, none of [ ] : * ? / \,
    // neither starting nor ending with an apostrophe.
    static QString SafeName(const QString &name);

private:
    friend class ExcelFile;
    void detach() { m_file = nullptr; }
    GridRow &rowAt(int row);

    ExcelFile *m_file;
    int m_index;
    int m_rowCount = 1;
    int m_columnCount = 1;
    std::vector<GridRow> m_rows;
    // Merged ranges by their top-left cell (row * MaxColumns + column).
    std::map<int, CellRange> m_merges;
    ColInfos m_columns;
};

} // namespace Biff8
