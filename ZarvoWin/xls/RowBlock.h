#pragma once
#include "CellBlock.h"
#include "CellRange.h"
#include "ColInfos.h"
#include "DBCell.h"
#include "Dimensions.h"
#include "Index.h"
#include "MergedCells.h"
#include "Row.h"
#include "Window2.h"

#include <vector>

namespace Biff8 {

// Up to 32 rows of a sheet: their Row records, their cell records and the
// DBCell that leads back to them.
class RowBlock
{
public:
    using Row = Biff8::Row;
    using CellBlock = Biff8::CellBlock;
    using DBCell = Biff8::DBCell;

    std::vector<Row> rows;
    std::vector<CellBlock> cells;
    DBCell dbCell;

    // Appends a cell record, reserving room by steps of 1000 records.
    void addCell(CellBlock &&cell);
    // Fills the DBCell and returns the stream position of the DBCell when
    // the block's first Row record starts at start.
    std::uint32_t placeAt(std::uint32_t start);
    std::uint32_t Size();
    std::uint32_t Write(Buffer &out);
};

} // namespace Biff8
