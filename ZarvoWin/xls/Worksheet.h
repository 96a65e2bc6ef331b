#pragma once
#include "RowBlock.h"
#include "CellRange.h"
#include "ColInfos.h"
#include "DBCell.h"
#include "Dimensions.h"
#include "Index.h"
#include "MergedCells.h"
#include "Row.h"
#include "Window2.h"
#include "BOF.h"
#include "BoundSheet.h"
#include "EOFRecord.h"
#include "Font.h"
#include "Format.h"
#include "Style.h"
#include "Window1.h"
#include "XF.h"

#include <vector>

namespace Biff8 {

class ExcelWorksheet;
class StringIndex;
class Workbook;

// The records of one sheet, rebuilt from its grid on every save.
class Worksheet
{
public:
    using Index = Biff8::Index;
    using ColInfos = Biff8::ColInfos;
    using Dimensions = Biff8::Dimensions;
    using RowBlock = Biff8::RowBlock;
    using CellTable = std::vector<RowBlock>;
    using Window2 = Biff8::Window2;
    using MergedCells = Biff8::MergedCells;

    static constexpr int RowsPerBlock = 32;

    BOF bof{BOF::Sheet};
    Index index;
    ColInfos colInfos;
    Dimensions dimensions;
    CellTable cellTable; // only the blocks of 32 rows that hold cells
    Window2 window2;
    std::vector<MergedCells> mergedCells;
    EOFRecord eof;

    // Fills the records from a grid: one record (or a place in a MulRK) for
    // each cell that writes one, none for the rest of the grid. Texts go to
    // strings; cell formats become the globals' XF records.
    void build(const ExcelWorksheet &grid, int sheetIndex, StringIndex &strings, const Workbook &globals);
    // Sets the Index and DBCell positions for a sheet whose BOF is at
    // start; returns the position right after the sheet.
    std::uint32_t place(std::uint32_t start);

    std::uint32_t Size();
    std::uint32_t Write(Buffer &out);
};

} // namespace Biff8
