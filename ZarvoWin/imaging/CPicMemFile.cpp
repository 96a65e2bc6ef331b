#include "CPicMemFile.h"

#include <cstdlib>
#include <cstring>
#include <limits>

CPicMemFile::CPicMemFile(uint8_t *buffer, size_t size)
    : m_buffer(buffer), m_size(buffer ? size : 0), m_capacity(buffer ? size : 0), m_owned(buffer == nullptr)
{
}

CPicMemFile::~CPicMemFile()
{
    Close();
}

bool CPicMemFile::Close()
{
    if (m_owned && m_buffer)
        std::free(m_buffer);
    if (m_owned) {
        m_buffer = nullptr;
        m_size = m_capacity = m_position = 0;
    }
    return true;
}

size_t CPicMemFile::Read(void *buffer, size_t size, size_t count)
{
    if (!buffer || !m_buffer || size == 0 || count == 0 || m_position >= m_size)
        return 0;
    const size_t left = m_size - m_position;
    size_t wanted = count;
    if (count > left / size)
        wanted = left / size;
    const size_t bytes = wanted * size;
    std::memcpy(buffer, m_buffer + m_position, bytes);
    m_position += bytes;
    return wanted;
}

bool CPicMemFile::Alloc(size_t length)
{
    if (length <= m_capacity)
        return true;
    if (!m_owned)
        return false;
    // Grow in steps of 64 KiB.
    if (length > std::numeric_limits<size_t>::max() - 65536)
        return false;
    const size_t capacity = (length & ~size_t(0xFFFF)) + 65536;
    auto *grown = static_cast<uint8_t *>(std::realloc(m_buffer, capacity));
    if (!grown)
        return false;
    m_buffer = grown;
    m_capacity = capacity;
    return true;
}

size_t CPicMemFile::Write(const void *buffer, size_t size, size_t count)
{
    if (!buffer || size == 0 || count == 0)
        return 0;
    if (count > std::numeric_limits<size_t>::max() / size)
        return 0;
    const size_t bytes = size * count;
    if (m_position > std::numeric_limits<size_t>::max() - bytes)
        return 0;
    const size_t end = m_position + bytes;
    if (!Alloc(end))
        return 0;
    if (m_position > m_size)
        std::memset(m_buffer + m_size, 0, m_position - m_size);
    std::memcpy(m_buffer + m_position, buffer, bytes);
    m_position = end;
    if (m_position > m_size)
        m_size = m_position;
    return count;
}

bool CPicMemFile::Seek(int64_t offset, int origin)
{
    int64_t base = 0;
    if (origin == 1)
        base = int64_t(m_position);
    else if (origin == 2)
        base = int64_t(m_size);
    int64_t target;
    if (__builtin_add_overflow(base, offset, &target))
        return false;
    m_position = target < 0 ? 0 : size_t(target);
    return true;
}

int64_t CPicMemFile::Tell()
{
    if (!m_buffer)
        return -1;
    return int64_t(m_position);
}

int64_t CPicMemFile::Size()
{
    if (!m_buffer)
        return -1;
    return int64_t(m_size);
}

bool CPicMemFile::Flush()
{
    return m_buffer != nullptr;
}

bool CPicMemFile::Eof()
{
    if (!m_buffer)
        return true;
    return m_position >= m_size;
}

long CPicMemFile::Error()
{
    if (!m_buffer)
        return -1;
    return m_position > m_size ? 1 : 0;
}

bool CPicMemFile::PutC(uint8_t c)
{
    return Write(&c, 1, 1) == 1;
}

long CPicMemFile::GetC()
{
    if (Eof())
        return -1;
    return m_buffer[m_position++];
}

char *CPicMemFile::GetS(char *string, int n)
{
    if (!string || n <= 0)
        return nullptr;
    n--;
    long c = 0;
    int i = 0;
    for (; i < n; i++) {
        c = GetC();
        if (c == -1)
            break;
        string[i] = char(c);
        if (c == '\n') {
            i++;
            break;
        }
    }
    string[i] = 0;
    if (i == 0 && c == -1)
        return nullptr;
    return string;
}

long CPicMemFile::Scanf(const char *, void *)
{
    return 0;
}
