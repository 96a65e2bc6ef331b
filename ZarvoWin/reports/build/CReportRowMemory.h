#pragma once
#include <cstddef>
#include <map>
#include <memory_resource>
#include <mutex>
#include <utility>
#include <vector>

// The memory the row trees of reports make their rows in, shared by the
// process. A report of a hundred thousand entries makes about as many rows;
// writing them into memory the system has to hand over page by page costs
// more than the rest of the build. The chunks a dropped or emptied tree
// gives back are kept, up to a bound, and handed to the next tree that asks
// for chunks of their size: a report window opened after another one closed
// builds in memory already in use.
//
// Any thread may use it (a report builds on a worker and is dropped on the
// interface thread).
class CReportRowMemory final : public std::pmr::memory_resource
{
public:
    // The chunks given back beyond this many bytes kept go back to the
    // system: a report of a hundred thousand groups finds its memory again
    // in the next one, and one with its entries too leaves the process no
    // more than this much once it is closed.
    static constexpr std::size_t DefaultKeptBytes = std::size_t(24) << 20;
    // The size of the pages the system hands over at once where it can. A
    // chunk of 1 MiB or more is mapped on its own in whole such pages, so
    // that a large tree faults its memory in a few times, not once per
    // small page.
    static constexpr std::size_t HugePage = std::size_t(2) << 20;
    // The most blocks of `blockSize` bytes a pool's chunk should hold for
    // the chunk (with the pool's own bookkeeping) to fit one huge page.
    static constexpr std::size_t BlocksPerHugePage(std::size_t blockSize)
    {
        return (HugePage - HugePage / 64) / blockSize / 4 * 4;
    }

    explicit CReportRowMemory(std::size_t keptBytes = DefaultKeptBytes) : m_limit(keptBytes) {}
    ~CReportRowMemory() override;
    CReportRowMemory(const CReportRowMemory &) = delete;
    CReportRowMemory &operator=(const CReportRowMemory &) = delete;

    // The process's own.
    static CReportRowMemory &Shared();

    // The bytes of the chunks kept now.
    std::size_t KeptBytes() const;

    // Once chunks beyond the bound went back since the last call (a tree
    // larger than what is kept was dropped), the allocator hands back to
    // the system the memory it keeps free: the texts and the other
    // pieces of that report left it in the middle of its heap, where it
    // would stay in the process for good. Whether it did.
    bool ReturnFreedMemory();

private:
    void *do_allocate(std::size_t bytes, std::size_t alignment) override;
    void do_deallocate(void *p, std::size_t bytes, std::size_t alignment) override;
    bool do_is_equal(const std::pmr::memory_resource &other) const noexcept override { return this == &other; }

    const std::size_t m_limit;
    mutable std::mutex m_mutex;
    std::size_t m_kept = 0;
    bool m_overflowed = false;
    // The chunks kept, by size and alignment.
    std::map<std::pair<std::size_t, std::size_t>, std::vector<void *>> m_chunks;
};
