#include "GifInput.h"

#include "CPicFile.h"

#include <algorithm>
#include <cstring>

GifInput::GifInput(CPicFile &file)
    : m_file(file)
{
    const int64_t position = m_file.Tell();
    m_blockStart = position < 0 ? 0 : position;
    m_segmentStart = m_blockStart;
}

bool GifInput::CheckWork()
{
    if (m_workLimitReached)
        return false;
    if (WorkDone() <= m_workLimit)
        return true;
    // The buffered bytes count as read: nothing more comes until StartOver,
    // which seeks the file again.
    m_workLimitReached = true;
    m_count = m_index;
    return false;
}

bool GifInput::Refill()
{
    if (m_ended || !CheckWork())
        return false;
    m_blockStart += int64_t(m_count);
    m_index = 0;
    m_count = m_file.Read(m_buffer, 1, BlockSize);
    if (m_count == 0) {
        m_ended = true;
        return false;
    }
    return true;
}

size_t GifInput::Read(uint8_t *out, size_t n)
{
    size_t done = 0;
    while (done < n) {
        size_t available = 0;
        const uint8_t *p = Peek(available);
        if (!p)
            break;
        const size_t take = std::min(available, n - done);
        std::memcpy(out + done, p, take);
        m_index += take;
        done += take;
    }
    return done;
}

bool GifInput::Skip(size_t n)
{
    while (n > 0) {
        size_t available = 0;
        if (!Peek(available))
            return false;
        const size_t take = std::min(available, n);
        m_index += take;
        n -= take;
    }
    return true;
}

bool GifInput::Seek(int64_t position)
{
    if (position < 0 || !CheckWork())
        return false;
    const uint64_t segment = uint64_t(Tell() - m_segmentStart);
    if (position >= m_blockStart && position <= m_blockStart + int64_t(m_count)) {
        m_index = size_t(position - m_blockStart);
    } else {
        if (!m_file.Seek(position, 0))
            return false;
        m_blockStart = position;
        m_index = m_count = 0;
        m_ended = false;
    }
    m_workBeforeSegment += segment;
    m_segmentStart = position;
    return true;
}

bool GifInput::StartOver(int64_t position)
{
    m_workBeforeSegment = 0;
    m_workLimitReached = false;
    m_index = m_count = 0;
    m_ended = false;
    m_blockStart = m_segmentStart = position < 0 ? 0 : position;
    return position >= 0 && m_file.Seek(position, 0);
}
