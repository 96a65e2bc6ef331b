#pragma once
#include <cstddef>
#include <cstdint>

class CPicFile;

// Buffered reading of a GIF stream: the file is read in blocks of up to
// 16 383 bytes so that the byte-at-a-time parsing and the LZW data reader
// do not go through a virtual call per byte. Positions are those of the file.
class GifInput
{
public:
    static constexpr size_t BlockSize = 16383;

    explicit GifInput(CPicFile &file);
    GifInput(const GifInput &) = delete;
    GifInput &operator=(const GifInput &) = delete;

    // The next byte, or -1 at the end of the file.
    int GetByte()
    {
        if (m_index < m_count)
            return m_buffer[m_index++];
        return Refill() ? m_buffer[m_index++] : -1;
    }
    // Reads up to n bytes; returns how many were read.
    size_t Read(uint8_t *out, size_t n);
    // Skips n bytes; false when the file ends first.
    bool Skip(size_t n);
    // The file position of the next byte.
    int64_t Tell() const { return m_blockStart + int64_t(m_index); }
    bool Seek(int64_t position);
    bool AtEnd()
    {
        return m_index >= m_count && !Refill();
    }

    // Direct access to the buffered bytes, for the LZW data reader: the bytes
    // from the read index to the end of the current block.
    const uint8_t *Peek(size_t &available)
    {
        if (m_index >= m_count && !Refill()) {
            available = 0;
            return nullptr;
        }
        available = m_count - m_index;
        return m_buffer + m_index;
    }
    void Consume(size_t n) { m_index += n; }

private:
    bool Refill();

    CPicFile &m_file;
    int64_t m_blockStart = 0; // file position of m_buffer[0]
    size_t m_index = 0;
    size_t m_count = 0;
    bool m_ended = false;
    uint8_t m_buffer[BlockSize];
};
