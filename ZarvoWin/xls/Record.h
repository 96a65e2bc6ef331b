#pragma once
#include "ByteSink.h"

#include <cstdint>
#include <vector>

namespace Biff8 {

// Base of every record of the workbook stream: a 16-bit identifier and a
// data part. Data longer than one chunk goes on in CONTINUE records, cut
// every 8224 bytes; a record that must choose its own split points (the
// shared string table) keeps them itself.
class Record
{
public:
    static constexpr std::uint16_t ContinueId = 0x003C;
    static constexpr std::uint32_t MaxChunk = 8224;

    explicit Record(std::uint16_t id, std::uint32_t dataSize = 0)
        : m_id(id), m_dataSize(dataSize) {}
    virtual ~Record() = default;
    Record(const Record &) = default;
    Record &operator=(const Record &) = default;
    Record(Record &&) noexcept = default;
    Record &operator=(Record &&) noexcept = default;

    std::uint16_t identifier() const { return m_id; }

    // Recomputes and returns the size of the data part.
    virtual std::uint32_t DataSize() { return m_dataSize; }
    // Bytes that Write produces, headers included.
    virtual std::uint32_t RecordSize();
    // Appends header and data (and CONTINUE records) to out; returns the
    // number of bytes appended.
    virtual std::uint32_t Write(Buffer &out);

protected:
    // Stores the data part (DataSize() bytes) at data.
    virtual void storeData(std::uint8_t *data) = 0;
    // Writes an already stored data part with its headers, cut at the
    // split points when there are any, else every MaxChunk bytes.
    std::uint32_t writeChunks(Buffer &out, const std::uint8_t *data, std::uint32_t size,
                              const std::vector<std::uint32_t> &splitPoints = {}) const;

    std::uint16_t m_id;
    std::uint32_t m_dataSize;
};

} // namespace Biff8
