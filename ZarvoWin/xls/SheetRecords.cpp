#include "SheetRecords.h"

namespace Biff8 {

void Index::storeData(std::uint8_t *p)
{
    ByteSink::put32(p, 0);
    ByteSink::put32(p + 4, firstRow);
    ByteSink::put32(p + 8, lastRowPlusOne);
    ByteSink::put32(p + 12, 0);
    for (std::size_t i = 0; i < dbCells.size(); ++i)
        ByteSink::put32(p + 16 + 4 * i, dbCells[i]);
}

void ColInfo::storeData(std::uint8_t *p)
{
    ByteSink::put16(p, firstColumn);
    ByteSink::put16(p + 2, lastColumn);
    ByteSink::put16(p + 4, width);
    ByteSink::put16(p + 6, xfIndex);
    ByteSink::put16(p + 8, options);
    ByteSink::put16(p + 10, 0);
}

std::uint32_t ColInfos::Size()
{
    std::uint32_t n = 0;
    for (ColInfo &c : items)
        n += c.RecordSize();
    return n;
}

std::uint32_t ColInfos::Write(Buffer &out)
{
    std::uint32_t n = 0;
    for (ColInfo &c : items)
        n += c.Write(out);
    return n;
}

void Dimensions::storeData(std::uint8_t *p)
{
    ByteSink::put32(p, firstRow);
    ByteSink::put32(p + 4, lastRowPlusOne);
    ByteSink::put16(p + 8, firstColumn);
    ByteSink::put16(p + 10, lastColumnPlusOne);
    ByteSink::put16(p + 12, 0);
}

void Row::storeData(std::uint8_t *p)
{
    ByteSink::put16(p, index);
    ByteSink::put16(p + 2, firstColumn);
    ByteSink::put16(p + 4, lastColumnPlusOne);
    ByteSink::put16(p + 6, height);
    ByteSink::put16(p + 8, 0);
    ByteSink::put16(p + 10, 0);
    ByteSink::put32(p + 12, options);
}

void DBCell::storeData(std::uint8_t *p)
{
    ByteSink::put32(p, firstRowDistance);
    for (std::size_t i = 0; i < cellOffsets.size(); ++i)
        ByteSink::put16(p + 4 + 2 * i, cellOffsets[i]);
}

void Window2::storeData(std::uint8_t *p)
{
    ByteSink::put16(p, options);
    ByteSink::put16(p + 2, firstRow);
    ByteSink::put16(p + 4, firstColumn);
    ByteSink::put16(p + 6, gridColour);
    ByteSink::put16(p + 8, 0);
    ByteSink::put16(p + 10, previewZoom);
    ByteSink::put16(p + 12, normalZoom);
    ByteSink::put32(p + 14, 0);
}

void MergedCells::storeData(std::uint8_t *p)
{
    ByteSink::put16(p, std::uint16_t(ranges.size()));
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        std::uint8_t *r = p + 2 + 8 * i;
        ByteSink::put16(r, ranges[i].firstRow);
        ByteSink::put16(r + 2, ranges[i].lastRow);
        ByteSink::put16(r + 4, ranges[i].firstColumn);
        ByteSink::put16(r + 6, ranges[i].lastColumn);
    }
}

} // namespace Biff8
