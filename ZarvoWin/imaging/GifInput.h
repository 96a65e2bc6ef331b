#pragma once
#include <cstddef>
#include <cstdint>

class CPicFile;

// Buffered reading of a GIF stream: the file is read in blocks of up to
// 16 383 bytes so that the byte-at-a-time parsing and the LZW data reader
// do not go through a virtual call per byte. Positions are those of the file.
//
// The reading work is counted: every byte passed over, again each time a seek
// back makes it be read again. Once the work passes the limit the input
// behaves as if the file ended there, so a damaged file that sends the
// reader back again and again costs a bounded multiple of its size.
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
    // Seeks to the position and counts the work from zero again.
    bool StartOver(int64_t position);
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

    void LimitWork(uint64_t bytes) { m_workLimit = bytes; }
    // Bytes passed over since the start or the last StartOver.
    uint64_t WorkDone() const { return m_workBeforeSegment + uint64_t(Tell() - m_segmentStart); }
    // The work limit ended the reading.
    bool WorkLimitReached() const { return m_workLimitReached; }

private:
    bool Refill();
    // Ends the reading when the work has passed the limit.
    bool CheckWork();

    CPicFile &m_file;
    int64_t m_blockStart = 0; // file position of m_buffer[0]
    size_t m_index = 0;
    size_t m_count = 0;
    bool m_ended = false;
    int64_t m_segmentStart = 0;        // where reading went on after the last seek
    uint64_t m_workBeforeSegment = 0;  // bytes passed over before that seek
    uint64_t m_workLimit = UINT64_MAX;
    bool m_workLimitReached = false;
    uint8_t m_buffer[BlockSize];
};
