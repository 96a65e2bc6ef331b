#include "GifInput.h"

#include "CPicFile.h"

#include <algorithm>
#include <cstring>

GifInput::GifInput(CPicFile &file)
    : m_file(file)
{
    const int64_t position = m_file.Tell();
    m_blockStart = position < 0 ? 0 : position;
}

bool GifInput::Refill()
{
    if (m_ended)
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
    if (position < 0)
        return false;
    if (position >= m_blockStart && position <= m_blockStart + int64_t(m_count)) {
        m_index = size_t(position - m_blockStart);
        return true;
    }
    if (!m_file.Seek(position, 0))
        return false;
    m_blockStart = position;
    m_index = m_count = 0;
    m_ended = false;
    return true;
}
