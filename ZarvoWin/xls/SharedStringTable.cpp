#include "SharedStringTable.h"

namespace Biff8 {

void SharedStringTable::clear()
{
    total = 0;
    unique = 0;
    strings.clear();
    m_splitPoints.clear();
}

std::uint32_t SharedStringTable::DataSize()
{
    return m_dataSize = layout(nullptr);
}

std::uint32_t SharedStringTable::RecordSize()
{
    const std::uint32_t size = DataSize();
    return size + 4 * std::uint32_t(m_splitPoints.size() + 1);
}

std::uint32_t SharedStringTable::Write(Buffer &out)
{
    const std::uint32_t size = DataSize();
    Buffer data(size);
    storeData(data.data());
    return writeChunks(out, data.data(), size, m_splitPoints);
}

void SharedStringTable::storeData(std::uint8_t *p)
{
    layout(p);
}

std::uint32_t SharedStringTable::layout(std::uint8_t *p)
{
    m_splitPoints.clear();
    if (p) {
        ByteSink::put32(p, total);
        ByteSink::put32(p + 4, unique);
    }
    std::uint32_t size = 8;
    std::uint32_t limit = MaxChunk;
    for (const LongString &s : strings) {
        const std::uint32_t b = s.characterBytes();
        if (size + 3 + b <= limit) {
            if (p)
                s.store(p + size);
            size += 3 + b;
            continue;
        }
        if (limit - size < 12) {
            m_splitPoints.push_back(size);
            limit = size + MaxChunk;
            if (size + 3 + b <= limit) {
                if (p)
                    s.store(p + size);
                size += 3 + b;
                continue;
            }
        }
        // The string is cut: its header and as many whole characters as fit
        // stay here, the rest follows in continuation chunks. A chunk never
        // ends between the two halves of a surrogate pair: readers decode
        // each chunk on its own.
        const bool wide = s.isWide();
        const std::uint32_t unit = wide ? 2 : 1;
        const std::uint32_t count = s.characterCount();
        auto keepingPairs = [&s, wide](std::uint32_t end) {
            return wide && s.splitsPair(end) ? end - 1 : end;
        };
        const std::uint32_t here = keepingPairs((limit - size - 3) / unit);
        if (p) {
            ByteSink::put16(p + size, std::uint16_t(count));
            p[size + 2] = wide ? 1 : 0;
            s.storeCharacters(p + size + 3, 0, here);
        }
        size += 3 + here * unit;
        m_splitPoints.push_back(size);
        std::uint32_t done = here;
        const std::uint32_t perChunk = (MaxChunk - 1) / unit;
        while (count - done > perChunk) {
            const std::uint32_t take = keepingPairs(done + perChunk) - done;
            if (p) {
                p[size] = wide ? 1 : 0;
                s.storeCharacters(p + size + 1, done, take);
            }
            size += 1 + take * unit;
            done += take;
            m_splitPoints.push_back(size);
        }
        if (p) {
            p[size] = wide ? 1 : 0;
            s.storeCharacters(p + size + 1, done, count - done);
        }
        size += 1 + (count - done) * unit;
        limit = m_splitPoints.back() + MaxChunk;
    }
    return size;
}

} // namespace Biff8
