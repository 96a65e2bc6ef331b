#pragma once
#include "ExcelCell.h"
#include "CellRange.h"
#include "ColInfos.h"
#include "DBCell.h"
#include "Dimensions.h"
#include "Index.h"
#include "MergedCells.h"
#include "Row.h"
#include "Window2.h"

#include <QString>

#include <vector>

namespace Biff8 {

class ExcelFile;

// The grid of one sheet: always rectangular (row count by column count,
// at least 1 by 1), reached cell by cell. Cells never touched are empty;
// only rows that were reached hold cell objects.
class ExcelWorksheet
{
public:
    static constexpr int MaxRows = 65536;
    static constexpr int MaxColumns = 256;
    static constexpr int MaxNameLength = 31;

    ExcelWorksheet(ExcelFile *file, int sheetIndex, const ColInfos &columns);

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

    // A name a sheet may hold: at most 31 units, none of [ ] : * ? / \.
    static QString SafeName(const QString &name);

private:
    friend class ExcelFile;
    void detach() { m_file = nullptr; }

    ExcelFile *m_file;
    int m_index;
    int m_rowCount = 1;
    int m_columnCount = 1;
    std::vector<std::vector<ExcelCell>> m_rows;
    ColInfos m_columns;
};

} // namespace Biff8
