#pragma once
#include <QString>

#include <cstdint>
#include <vector>

// Reads a workbook stream back without using any code of the writer: the
// records with their offsets, and the shared strings following the
// continuation rule. Test-only.
namespace StreamReader {

struct Rec
{
    std::uint32_t offset = 0; // of the header
    std::uint16_t id = 0;
    std::vector<std::uint8_t> data;
};

// Splits bytes into records; ok is false when a header or length runs past the end.
std::vector<Rec> records(const std::vector<std::uint8_t> &bytes, bool *ok = nullptr);

std::uint16_t u16(const std::vector<std::uint8_t> &d, std::size_t at);
std::uint32_t u32(const std::vector<std::uint8_t> &d, std::size_t at);
double f64(const std::vector<std::uint8_t> &d, std::size_t at);

struct Sst
{
    std::uint32_t total = 0, unique = 0;
    std::vector<QString> strings;
    std::vector<bool> wide;
    std::vector<std::size_t> chunkSizes; // data size of the SST and of each CONTINUE
    QString error; // empty when the table reads cleanly
};

// Reads the shared string table starting at records[index] (an SST) and the
// CONTINUE records after it.
Sst readSst(const std::vector<Rec> &recs, std::size_t index);

// Decodes an RK value.
double rk(std::uint32_t value);

} // namespace StreamReader

namespace StreamReader {

// Follows the workbook's BoundSheet positions to every sheet, then each
// Index position to a DBCell and each DBCell back to its Row records and
// the first cell record of every row; checks that Index, Dimensions and
// every Row record span exactly the cells there are. Empty when all of
// them agree.
QString checkIndex(const std::vector<std::uint8_t> &stream);

} // namespace StreamReader
