#include "StreamReader.h"

#include <cstring>
#include <map>

namespace StreamReader {

std::uint16_t u16(const std::vector<std::uint8_t> &d, std::size_t at)
{
    return std::uint16_t(d.at(at) | (d.at(at + 1) << 8));
}

std::uint32_t u32(const std::vector<std::uint8_t> &d, std::size_t at)
{
    return std::uint32_t(u16(d, at)) | (std::uint32_t(u16(d, at + 2)) << 16);
}

double f64(const std::vector<std::uint8_t> &d, std::size_t at)
{
    const std::uint64_t bits = std::uint64_t(u32(d, at)) | (std::uint64_t(u32(d, at + 4)) << 32);
    double v;
    std::memcpy(&v, &bits, 8);
    return v;
}

std::vector<Rec> records(const std::vector<std::uint8_t> &bytes, bool *ok)
{
    std::vector<Rec> out;
    std::size_t at = 0;
    bool good = true;
    while (at < bytes.size()) {
        if (at + 4 > bytes.size()) {
            good = false;
            break;
        }
        Rec r;
        r.offset = std::uint32_t(at);
        r.id = u16(bytes, at);
        const std::size_t len = u16(bytes, at + 2);
        if (at + 4 + len > bytes.size()) {
            good = false;
            break;
        }
        r.data.assign(bytes.begin() + long(at + 4), bytes.begin() + long(at + 4 + len));
        out.push_back(std::move(r));
        at += 4 + len;
    }
    if (ok)
        *ok = good;
    return out;
}

Sst readSst(const std::vector<Rec> &recs, std::size_t index)
{
    Sst sst;
    std::vector<const std::vector<std::uint8_t> *> chunks;
    chunks.push_back(&recs.at(index).data);
    for (std::size_t i = index + 1; i < recs.size() && recs[i].id == 0x003C; ++i)
        chunks.push_back(&recs[i].data);
    for (auto *c : chunks)
        sst.chunkSizes.push_back(c->size());
    sst.total = u32(*chunks[0], 0);
    sst.unique = u32(*chunks[0], 4);
    std::size_t chunk = 0, pos = 8;
    for (std::uint32_t n = 0; n < sst.unique; ++n) {
        if (pos == chunks[chunk]->size()) {
            ++chunk;
            pos = 0;
            if (chunk >= chunks.size()) {
                sst.error = QStringLiteral("missing chunk before string %1").arg(n);
                return sst;
            }
        }
        const auto &c = *chunks[chunk];
        if (pos + 3 > c.size()) {
            sst.error = QStringLiteral("header of string %1 cut").arg(n);
            return sst;
        }
        std::size_t count = u16(c, pos);
        bool wide = c[pos + 2] & 1;
        if (c[pos + 2] & ~1) {
            sst.error = QStringLiteral("unexpected flags of string %1").arg(n);
            return sst;
        }
        sst.wide.push_back(wide);
        pos += 3;
        QString text;
        while (count > 0) {
            const auto &cc = *chunks[chunk];
            if (pos == cc.size()) {
                // Readers decode each chunk on its own.
                if (!text.isEmpty() && text.back().isHighSurrogate()) {
                    sst.error = QStringLiteral("string %1 parts a surrogate pair at a chunk end").arg(n);
                    return sst;
                }
                ++chunk;
                if (chunk >= chunks.size()) {
                    sst.error = QStringLiteral("string %1 runs past the end").arg(n);
                    return sst;
                }
                const auto &next = *chunks[chunk];
                if (next.empty() || next[0] > 1) {
                    sst.error = QStringLiteral("continuation of string %1 without flag").arg(n);
                    return sst;
                }
                wide = next[0] == 1;
                pos = 1;
                continue;
            }
            if (wide) {
                if (pos + 2 > cc.size()) {
                    sst.error = QStringLiteral("character of string %1 cut").arg(n);
                    return sst;
                }
                text.append(QChar(u16(cc, pos)));
                pos += 2;
            } else {
                text.append(QChar(cc[pos]));
                pos += 1;
            }
            --count;
        }
        sst.strings.push_back(text);
    }
    if (chunk != chunks.size() - 1 || pos != chunks[chunk]->size())
        sst.error = QStringLiteral("bytes left after the last string");
    return sst;
}

double rk(std::uint32_t value)
{
    double v;
    if (value & 2) {
        v = double(std::int32_t(value) >> 2);
    } else {
        const std::uint64_t bits = std::uint64_t(value & 0xFFFFFFFCu) << 32;
        std::memcpy(&v, &bits, 8);
    }
    return (value & 1) ? v / 100 : v;
}

} // namespace StreamReader

namespace StreamReader {

namespace {

bool isCell(std::uint16_t id)
{
    switch (id) {
    case 0x0201: case 0x027E: case 0x00BD: case 0x0203: case 0x00FD: case 0x0006: case 0x0205: case 0x00BE:
        return true;
    default:
        return false;
    }
}

} // namespace

QString checkIndex(const std::vector<std::uint8_t> &stream)
{
    bool ok = false;
    const std::vector<Rec> recs = records(stream, &ok);
    if (!ok)
        return QStringLiteral("records run past the end");
    std::map<std::uint32_t, std::size_t> at;
    for (std::size_t i = 0; i < recs.size(); ++i)
        at[recs[i].offset] = i;
    std::vector<std::uint32_t> sheets;
    for (const Rec &r : recs) {
        if (r.id == 0x0085)
            sheets.push_back(u32(r.data, 0));
        if (r.id == 0x000A)
            break;
    }
    if (sheets.empty())
        return QStringLiteral("no sheet");
    for (std::uint32_t sheetAt : sheets) {
        auto bof = at.find(sheetAt);
        if (bof == at.end() || recs[bof->second].id != 0x0809 || u16(recs[bof->second].data, 2) != 0x0010)
            return QStringLiteral("BoundSheet position %1 is not a sheet BOF").arg(sheetAt);
        const Rec &index = recs.at(bof->second + 1);
        if (index.id != 0x020B)
            return QStringLiteral("no Index after the BOF");

        // What the sheet holds: its Row records and the columns of the cells
        // of every row.
        std::map<std::uint32_t, std::size_t> rowRecords; // row -> record
        std::map<std::uint32_t, std::pair<std::uint32_t, std::uint32_t>> cellColumns; // row -> first, last + 1
        const Rec *dims = nullptr;
        std::vector<const Rec *> merges;
        std::size_t dbCellCount = 0;
        for (std::size_t i = bof->second + 1; i < recs.size() && recs[i].id != 0x000A; ++i) {
            const Rec &r = recs[i];
            if (r.id == 0x0200)
                dims = &r;
            if (r.id == 0x00E5)
                merges.push_back(&r);
            if (r.id == 0x00D7)
                ++dbCellCount;
            if (r.id == 0x0208 && !rowRecords.emplace(u16(r.data, 0), i).second)
                return QStringLiteral("two Row records for row %1").arg(u16(r.data, 0));
            if (isCell(r.id)) {
                const std::uint32_t row = u16(r.data, 0);
                const std::uint32_t first = u16(r.data, 2);
                const std::uint32_t last = r.id == 0x00BD || r.id == 0x00BE ? u16(r.data, r.data.size() - 2) : first;
                auto [it, added] = cellColumns.emplace(row, std::pair{first, last + 1});
                if (!added) {
                    if (first < it->second.second)
                        return QStringLiteral("cells of row %1 out of order").arg(row);
                    it->second.second = last + 1;
                }
            }
        }
        if (!dims)
            return QStringLiteral("no Dimensions");
        std::uint32_t firstColumn = 0, endColumn = 0;
        for (const auto &[row, columns] : cellColumns) {
            auto rec = rowRecords.find(row);
            if (rec == rowRecords.end())
                return QStringLiteral("cells of row %1 have no Row record").arg(row);
            const Rec &r = recs[rec->second];
            if (u16(r.data, 2) != columns.first || u16(r.data, 4) != columns.second)
                return QStringLiteral("Row %1 says columns %2..%3, its cells %4..%5")
                    .arg(row).arg(u16(r.data, 2)).arg(u16(r.data, 4)).arg(columns.first).arg(columns.second);
            firstColumn = row == cellColumns.begin()->first ? columns.first : std::min(firstColumn, columns.first);
            endColumn = std::max(endColumn, columns.second);
        }
        if (rowRecords.size() != cellColumns.size())
            return QStringLiteral("a Row record without cells");
        std::uint32_t firstRow = cellColumns.empty() ? 0 : cellColumns.begin()->first;
        std::uint32_t endRow = cellColumns.empty() ? 0 : cellColumns.rbegin()->first + 1;
        if (u32(index.data, 4) != firstRow || u32(index.data, 8) != endRow)
            return QStringLiteral("Index rows %1..%2, cells in rows %3..%4")
                .arg(u32(index.data, 4)).arg(u32(index.data, 8)).arg(firstRow).arg(endRow);
        // The used area also covers the merged ranges.
        for (const Rec *merge : merges) {
            const Rec &r = *merge;
            for (std::size_t i = 0; i < u16(r.data, 0); ++i) {
                const std::uint32_t top = u16(r.data, 2 + 8 * i), bottom = u16(r.data, 4 + 8 * i);
                const std::uint32_t left = u16(r.data, 6 + 8 * i), right = u16(r.data, 8 + 8 * i);
                const bool none = endRow == 0;
                firstRow = none ? top : std::min(firstRow, top);
                endRow = none ? bottom + 1 : std::max(endRow, bottom + 1);
                firstColumn = none ? left : std::min(firstColumn, left);
                endColumn = none ? right + 1 : std::max(endColumn, right + 1);
            }
        }
        if (u32(dims->data, 0) != firstRow || u32(dims->data, 4) != endRow || u16(dims->data, 8) != firstColumn
            || u16(dims->data, 10) != endColumn)
            return QStringLiteral("Dimensions %1 %2 %3 %4, cells in rows %5..%6 columns %7..%8")
                .arg(u32(dims->data, 0)).arg(u32(dims->data, 4)).arg(u16(dims->data, 8)).arg(u16(dims->data, 10))
                .arg(firstRow).arg(endRow).arg(firstColumn).arg(endColumn);

        // Every block of 32 rows that holds rows has one DBCell, listed by
        // the Index in order; each leads back to its Row records and from
        // them to the first cell of every row.
        const std::size_t blocks = (index.data.size() - 16) / 4;
        if (blocks != dbCellCount)
            return QStringLiteral("Index lists %1 blocks, the sheet has %2 DBCells").arg(blocks).arg(dbCellCount);
        std::size_t rowsReached = 0;
        std::int64_t previousBlock = -1;
        for (std::size_t k = 0; k < blocks; ++k) {
            const std::uint32_t dbAt = u32(index.data, 16 + 4 * k);
            auto db = at.find(dbAt);
            if (db == at.end() || recs[db->second].id != 0x00D7)
                return QStringLiteral("Index entry %1 (%2) is not a DBCell").arg(k).arg(dbAt);
            const Rec &dbcell = recs[db->second];
            const std::uint32_t firstRowAt = dbAt - u32(dbcell.data, 0);
            auto row = at.find(firstRowAt);
            if (row == at.end() || recs[row->second].id != 0x0208)
                return QStringLiteral("DBCell %1 does not lead to a Row").arg(k);
            const std::size_t rowCount = (dbcell.data.size() - 4) / 2;
            const std::int64_t block = u16(recs[row->second].data, 0) / 32;
            if (block <= previousBlock)
                return QStringLiteral("block %1 does not follow the one before").arg(k);
            previousBlock = block;
            std::uint32_t cellAt = firstRowAt + 20;
            std::int64_t previousRow = -1;
            for (std::size_t i = 0; i < rowCount; ++i) {
                const Rec &rowRec = recs.at(row->second + i);
                if (rowRec.id != 0x0208)
                    return QStringLiteral("block %1 has fewer Row records than offsets").arg(k);
                const std::uint16_t rowIndex = u16(rowRec.data, 0);
                if (rowIndex / 32 != block || rowIndex <= previousRow)
                    return QStringLiteral("block %1 row %2 is row %3").arg(k).arg(i).arg(rowIndex);
                previousRow = rowIndex;
                ++rowsReached;
                cellAt += u16(dbcell.data, 4 + 2 * i);
                auto cell = at.find(cellAt);
                if (cell == at.end() || !isCell(recs[cell->second].id))
                    return QStringLiteral("offset of row %1 is not a cell record").arg(rowIndex);
                if (u16(recs[cell->second].data, 0) != rowIndex)
                    return QStringLiteral("first cell of row %1 belongs to another row").arg(rowIndex);
                if (cell->second > 0 && isCell(recs[cell->second - 1].id)
                    && u16(recs[cell->second - 1].data, 0) == rowIndex)
                    return QStringLiteral("offset of row %1 is not its first cell").arg(rowIndex);
            }
            if (row->second + rowCount < recs.size() && recs[row->second + rowCount].id == 0x0208)
                return QStringLiteral("block %1 has more Row records than offsets").arg(k);
        }
        if (rowsReached != rowRecords.size())
            return QStringLiteral("%1 Row records, %2 reached from the Index").arg(rowRecords.size()).arg(rowsReached);
    }
    return {};
}

} // namespace StreamReader
