#include "Record.h"

namespace Biff8 {

std::uint32_t Record::RecordSize()
{
    const std::uint32_t size = DataSize();
    if (!m_splitPoints.empty())
        return size + 4 * std::uint32_t(m_splitPoints.size() + 1);
    if (size <= MaxChunk)
        return size + 4;
    const std::uint32_t chunks = (size + MaxChunk - 1) / MaxChunk;
    return size + 4 * chunks;
}

std::uint32_t Record::Write(Buffer &out)
{
    const std::uint32_t size = DataSize();
    if (size <= 2048) {
        // Every cell record fits here, so cells cost no allocation.
        std::uint8_t data[2048];
        storeData(data);
        return writeChunks(out, data, size);
    }
    Buffer data(size);
    storeData(data.data());
    return writeChunks(out, data.data(), size);
}

std::uint32_t Record::writeChunks(Buffer &out, const std::uint8_t *data, std::uint32_t size) const
{
    const std::size_t start = out.size();
    auto chunk = [&](std::uint16_t id, std::uint32_t from, std::uint32_t to) {
        std::uint8_t *p = ByteSink::grow(out, 4 + (to - from));
        ByteSink::put16(p, id);
        ByteSink::put16(p + 2, std::uint16_t(to - from));
        if (to > from)
            std::memcpy(p + 4, data + from, to - from);
    };
    if (m_splitPoints.empty()) {
        std::uint32_t from = 0;
        std::uint16_t id = m_id;
        do {
            const std::uint32_t to = size - from > MaxChunk ? from + MaxChunk : size;
            chunk(id, from, to);
            from = to;
            id = ContinueId;
        } while (from < size);
    } else {
        std::uint32_t from = 0;
        std::uint16_t id = m_id;
        for (std::uint32_t point : m_splitPoints) {
            chunk(id, from, point);
            from = point;
            id = ContinueId;
        }
        chunk(id, from, size);
    }
    return std::uint32_t(out.size() - start);
}

} // namespace Biff8
