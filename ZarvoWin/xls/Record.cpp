#include "Record.h"

namespace Biff8 {

std::uint32_t Record::RecordSize()
{
    const std::uint32_t size = DataSize();
    if (size <= MaxChunk)
        return size + 4;
    const std::uint32_t chunks = (size + MaxChunk - 1) / MaxChunk;
    return size + 4 * chunks;
}

std::uint32_t Record::Write(Buffer &out)
{
    const std::uint32_t size = DataSize();
    if (size <= MaxChunk) {
        // One chunk: the data is stored straight into the output.
        std::uint8_t *p = ByteSink::grow(out, 4 + std::size_t(size));
        ByteSink::put16(p, m_id);
        ByteSink::put16(p + 2, std::uint16_t(size));
        storeData(p + 4);
        return 4 + size;
    }
    Buffer data(size);
    storeData(data.data());
    return writeChunks(out, data.data(), size);
}

std::uint32_t Record::writeChunks(Buffer &out, const std::uint8_t *data, std::uint32_t size,
                                  const std::vector<std::uint32_t> &splitPoints) const
{
    const std::size_t start = out.size();
    auto chunk = [&](std::uint16_t id, std::uint32_t from, std::uint32_t to) {
        std::uint8_t *p = ByteSink::grow(out, 4 + (to - from));
        ByteSink::put16(p, id);
        ByteSink::put16(p + 2, std::uint16_t(to - from));
        if (to > from)
            std::memcpy(p + 4, data + from, to - from);
    };
    if (splitPoints.empty()) {
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
        for (std::uint32_t point : splitPoints) {
            chunk(id, from, point);
            from = point;
            id = ContinueId;
        }
        chunk(id, from, size);
    }
    return std::uint32_t(out.size() - start);
}

} // namespace Biff8
