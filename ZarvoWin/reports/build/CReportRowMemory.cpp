#include "CReportRowMemory.h"

#include <new>

CReportRowMemory::~CReportRowMemory()
{
    for (auto &[shape, chunks] : m_chunks) {
        for (void *p : chunks)
            ::operator delete(p, shape.first, std::align_val_t(shape.second));
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
    return ::operator new(bytes, std::align_val_t(alignment));
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
    }
    ::operator delete(p, bytes, std::align_val_t(alignment));
}
