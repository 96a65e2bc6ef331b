#include "CReportRowMemory.h"

#include <cstdint>
#include <new>

#if defined(__GLIBC__)
#include <malloc.h>
#endif
#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {

// A chunk this large or larger is mapped on its own, in whole huge pages.
constexpr std::size_t LargeChunk = std::size_t(1) << 20;

#if defined(__linux__)
std::size_t mappedSize(std::size_t bytes)
{
    const std::size_t page = CReportRowMemory::HugePage;
    return (bytes + page - 1) / page * page;
}

// Memory the system hands over a huge page at a time where it can: a tree
// of a hundred thousand rows then costs the process some ten page faults
// instead of some five thousand.
void *mapLarge(std::size_t bytes)
{
    const std::size_t page = CReportRowMemory::HugePage;
    const std::size_t size = mappedSize(bytes);
    void *raw = mmap(nullptr, size + page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        throw std::bad_alloc();
    // Aligned on a huge page: what lies before and after goes at once.
    const std::uintptr_t first = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t start = (first + page - 1) & ~std::uintptr_t(page - 1);
    if (start > first)
        munmap(raw, start - first);
    const std::uintptr_t end = start + size;
    if (first + size + page > end)
        munmap(reinterpret_cast<void *>(end), first + size + page - end);
    void *chunk = reinterpret_cast<void *>(start);
    madvise(chunk, size, MADV_HUGEPAGE);
    return chunk;
}
#endif

void *allocateChunk(std::size_t bytes, std::size_t alignment)
{
#if defined(__linux__)
    if (bytes >= LargeChunk && alignment <= CReportRowMemory::HugePage)
        return mapLarge(bytes);
#endif
    return ::operator new(bytes, std::align_val_t(alignment));
}

void freeChunk(void *p, std::size_t bytes, std::size_t alignment)
{
#if defined(__linux__)
    if (bytes >= LargeChunk && alignment <= CReportRowMemory::HugePage) {
        munmap(p, mappedSize(bytes));
        return;
    }
#endif
    ::operator delete(p, bytes, std::align_val_t(alignment));
}

} // namespace

CReportRowMemory::~CReportRowMemory()
{
    for (auto &[shape, chunks] : m_chunks) {
        for (void *p : chunks)
            freeChunk(p, shape.first, shape.second);
    }
}

CReportRowMemory &CReportRowMemory::Shared()
{
    // Made before the first tree that uses it, so gone only after the last.
    static CReportRowMemory shared;
    return shared;
}

std::size_t CReportRowMemory::KeptBytes() const
{
    std::lock_guard lock(m_mutex);
    return m_kept;
}

bool CReportRowMemory::ReturnFreedMemory()
{
    {
        std::lock_guard lock(m_mutex);
        if (!m_overflowed)
            return false;
        m_overflowed = false;
    }
#if defined(__GLIBC__)
    malloc_trim(0);
    return true;
#else
    return false;
#endif
}

void *CReportRowMemory::do_allocate(std::size_t bytes, std::size_t alignment)
{
    {
        std::lock_guard lock(m_mutex);
        const auto it = m_chunks.find({bytes, alignment});
        if (it != m_chunks.end() && !it->second.empty()) {
            void *p = it->second.back();
            it->second.pop_back();
            m_kept -= bytes;
            return p;
        }
    }
    return allocateChunk(bytes, alignment);
}

void CReportRowMemory::do_deallocate(void *p, std::size_t bytes, std::size_t alignment)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_kept + bytes <= m_limit) {
            m_chunks[{bytes, alignment}].push_back(p);
            m_kept += bytes;
            return;
        }
        m_overflowed = true;
    }
    freeChunk(p, bytes, alignment);
}
