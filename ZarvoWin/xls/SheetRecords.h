#pragma once
#include "Record.h"

#include <vector>

namespace Biff8 {

// The records of a worksheet around its cells.

class Index : public Record
{
public:
    Index() : Record(0x020B, 16) {}
    std::uint32_t DataSize() override { return m_dataSize = 16 + 4 * std::uint32_t(dbCells.size()); }
    std::uint32_t firstRow = 0, lastRowPlusOne = 0;
    std::vector<std::uint32_t> dbCells; // stream position of each block's DBCell
protected:
    void storeData(std::uint8_t *p) override;
};

class ColInfo : public Record
{
public:
    ColInfo() : Record(0x007D, 12) {}
    std::uint16_t firstColumn = 0, lastColumn = 255, width = 0x0A00, xfIndex = 0, options = 0;
protected:
    void storeData(std::uint8_t *p) override;
};

// Column widths: a list of ColInfo records, nothing when empty.
class ColInfos
{
public:
    std::vector<ColInfo> items;
    std::uint32_t Size();
    std::uint32_t Write(Buffer &out);
};

class Dimensions : public Record
{
public:
    Dimensions() : Record(0x0200, 14) {}
    std::uint32_t firstRow = 0, lastRowPlusOne = 0;
    std::uint16_t firstColumn = 0, lastColumnPlusOne = 0;
protected:
    void storeData(std::uint8_t *p) override;
};

class Row : public Record
{
public:
    Row() : Record(0x0208, 16) {}
    std::uint16_t index = 0, firstColumn = 0, lastColumnPlusOne = 0, height = 0x00FF;
    std::uint32_t options = 0x00000100;
protected:
    void storeData(std::uint8_t *p) override;
};

class DBCell : public Record
{
public:
    DBCell() : Record(0x00D7, 4) {}
    std::uint32_t DataSize() override { return m_dataSize = 4 + 2 * std::uint32_t(cellOffsets.size()); }
    std::uint32_t firstRowDistance = 0;
    std::vector<std::uint16_t> cellOffsets; // one per row of the block
protected:
    void storeData(std::uint8_t *p) override;
};

class Window2 : public Record
{
public:
    static constexpr std::uint16_t Selected = 0x0200;
    Window2() : Record(0x023E, 18) {}
    std::uint16_t options = 0x06B6, firstRow = 0, firstColumn = 0, gridColour = 64;
    std::uint16_t previewZoom = 0, normalZoom = 0;
protected:
    void storeData(std::uint8_t *p) override;
};

struct CellRange
{
    std::uint16_t firstRow = 0, lastRow = 0, firstColumn = 0, lastColumn = 0;
    bool operator==(const CellRange &) const = default;
};

// One MergedCells record: at most MaxRanges ranges.
class MergedCells : public Record
{
public:
    static constexpr std::size_t MaxRanges = 1027;
    MergedCells() : Record(0x00E5, 2) {}
    std::uint32_t DataSize() override { return m_dataSize = 2 + 8 * std::uint32_t(ranges.size()); }
    std::vector<CellRange> ranges;
protected:
    void storeData(std::uint8_t *p) override;
};

} // namespace Biff8
