#pragma once
// A database file with one damaged page that SQLite still reads: a leaf
// page of a table whose header counts one row fewer than it holds. Reads
// succeed and list every row but one; only SQLite's own checks notice.
#include <QByteArray>

namespace DamagedPage {

// The bytes of `file` with the second leaf page of a table that holds
// `marker` (and at least two rows) counting one row fewer; empty when the
// file has no such page.
inline QByteArray oneRowShort(const QByteArray &file, const QByteArray &marker)
{
    if (file.size() < 100)
        return {};
    const auto byte = [&](qsizetype at) { return quint8(file[at]); };
    qsizetype pageSize = (qsizetype(byte(16)) << 8) | byte(17);
    if (pageSize == 1)
        pageSize = 65536;
    if (pageSize < 512 || file.size() % pageSize != 0)
        return {};
    int found = 0;
    for (qsizetype page = 0; page < file.size() / pageSize; ++page) {
        const qsizetype start = page * pageSize;
        // The first page's header follows the file's own 100 bytes.
        const qsizetype header = start + (page == 0 ? 100 : 0);
        const int cells = (int(byte(header + 3)) << 8) | byte(header + 4);
        if (byte(header) != 0x0D || cells < 2 || !file.mid(start, pageSize).contains(marker))
            continue;
        if (++found < 2)
            continue;
        QByteArray damaged = file;
        damaged[header + 3] = char((cells - 1) >> 8);
        damaged[header + 4] = char((cells - 1) & 0xFF);
        return damaged;
    }
    return {};
}

} // namespace DamagedPage
