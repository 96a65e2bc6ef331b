#include "CPicMemFile.h"

#include <cstdlib>
#include <cstring>
#include <limits>

CPicMemFile::CPicMemFile(uint8_t *buffer, size_t size)
    : m_block(buffer), m_dataSize(buffer ? size : 0), m_capacity(buffer ? size : 0), m_ownsBlock(buffer == nullptr)
{
}

CPicMemFile::~CPicMemFile()
{
    Close();
}

bool CPicMemFile::Close()
{
    if (m_ownsBlock && m_block)
        std::free(m_block);
    if (m_ownsBlock) {
        m_block = nullptr;
        m_dataSize = m_capacity = m_offset = 0;
    }
    return true;
}

size_t CPicMemFile::Read(void *buffer, size_t size, size_t count)
{
    if (!buffer || !m_block || size == 0 || count == 0 || m_offset >= m_dataSize)
        return 0;
    const size_t left = m_dataSize - m_offset;
    size_t wanted = count;
    if (count > left / size)
        wanted = left / size;
    const size_t bytes = wanted * size;
    std::memcpy(buffer, m_block + m_offset, bytes);
    m_offset += bytes;
    return wanted;
}

bool CPicMemFile::GrowTo(size_t length)
{
    if (length <= m_capacity)
        return true;
    if (!m_ownsBlock)
        return false;
    // Grow in steps of 64 KiB.
    if (length > std::numeric_limits<size_t>::max() - 65536)
        return false;
    const size_t capacity = (length & ~size_t(0xFFFF)) + 65536;
    auto *grown = static_cast<uint8_t *>(std::realloc(m_block, capacity));
    if (!grown)
        return false;
    m_block = grown;
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
    if (m_offset > std::numeric_limits<size_t>::max() - bytes)
        return 0;
    const size_t end = m_offset + bytes;
    if (!GrowTo(end))
        return 0;
    if (m_offset > m_dataSize)
        std::memset(m_block + m_dataSize, 0, m_offset - m_dataSize);
    std::memcpy(m_block + m_offset, buffer, bytes);
    m_offset = end;
    if (m_offset > m_dataSize)
        m_dataSize = m_offset;
    return count;
}

bool CPicMemFile::Seek(int64_t offset, int origin)
{
    int64_t base = 0;
    if (origin == 1)
        base = int64_t(m_offset);
    else if (origin == 2)
        base = int64_t(m_dataSize);
    int64_t target;
    if (__builtin_add_overflow(base, offset, &target))
        return false;
    m_offset = target < 0 ? 0 : size_t(target);
    return true;
}

int64_t CPicMemFile::Tell()
{
    if (!m_block)
        return -1;
    return int64_t(m_offset);
}

int64_t CPicMemFile::Size()
{
    if (!m_block)
        return -1;
    return int64_t(m_dataSize);
}

bool CPicMemFile::Flush()
{
    return m_block != nullptr;
}

bool CPicMemFile::Eof()
{
    if (!m_block)
        return true;
    return m_offset >= m_dataSize;
}

long CPicMemFile::Error()
{
    if (!m_block)
        return -1;
    return m_offset > m_dataSize ? 1 : 0;
}

bool CPicMemFile::PutC(uint8_t c)
{
    return Write(&c, 1, 1) == 1;
}

long CPicMemFile::GetC()
{
    if (Eof())
        return -1;
    return m_block[m_offset++];
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
