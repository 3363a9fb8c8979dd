#include "platform/KeptArray.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <mutex>
#include <utility>
#include <vector>

namespace {

struct SHELF {
    const void* owner;
    KEPT_BLOCK block;
};

// The shelves live as long as the process: arrays of static objects may
// give their blocks back during exit.
struct SHELVES {
    std::mutex lock;
    std::vector<SHELF> list;
};
SHELVES& shelves()
{
    static SHELVES* all = new SHELVES;
    return *all;
}

KEPT_BLOCK& shelfOf(SHELVES& all, const void* owner)
{
    for (SHELF& s : all.list)
        if (s.owner == owner)
            return s.block;
    all.list.push_back(SHELF{owner, KEPT_BLOCK{}});
    return all.list.back().block;
}

std::size_t wholePages(std::size_t bytes)
{
    std::size_t page = std::size_t(sysconf(_SC_PAGESIZE));
    return (bytes + page - 1) / page * page;
}

void unmap(KEPT_BLOCK b)
{
    if (b.data)
        munmap(b.data, b.bytes);
}

} // namespace

KEPT_BLOCK takeKeptBlock(const void* shelf, std::size_t bytes)
{
    SHELVES& all = shelves();
    {
        std::lock_guard<std::mutex> hold(all.lock);
        KEPT_BLOCK& kept = shelfOf(all, shelf);
        KEPT_BLOCK taken = kept;
        kept = KEPT_BLOCK{};
        if (taken.bytes >= bytes && taken.data)
            return taken;
        unmap(taken);
    }
    KEPT_BLOCK fresh{nullptr, wholePages(bytes == 0 ? 1 : bytes)};
    void* data = mmap(nullptr, fresh.bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (data == MAP_FAILED)
        return KEPT_BLOCK{};
    // A room's map is written whole as it is baked: in pages of 2 MB
    // where the system allows it, that is a few hundred faults fewer per
    // megabyte.
    madvise(data, fresh.bytes, MADV_HUGEPAGE);
    fresh.data = data;
    return fresh;
}

void giveBackKeptBlock(const void* shelf, KEPT_BLOCK b)
{
    if (!b.data)
        return;
    SHELVES& all = shelves();
    std::lock_guard<std::mutex> hold(all.lock);
    KEPT_BLOCK& kept = shelfOf(all, shelf);
    if (b.bytes > kept.bytes)
        std::swap(b, kept);
    unmap(b);
}

void zeroKeptBlock(KEPT_BLOCK b, std::size_t bytes)
{
    // Pages of a private anonymous mapping read as zero after this, and
    // only the pages written again are faulted in.
    if (b.data && bytes > 0)
        madvise(b.data, wholePages(bytes), MADV_DONTNEED);
}

void faultInPages(void* from, std::size_t bytes)
{
#if defined(MADV_POPULATE_WRITE)
    if (!from || bytes == 0)
        return;
    std::uintptr_t page = std::uintptr_t(sysconf(_SC_PAGESIZE));
    std::uintptr_t first = std::uintptr_t(from) / page * page;
    madvise(reinterpret_cast<void*>(first), wholePages(std::uintptr_t(from) + bytes - first), MADV_POPULATE_WRITE);
#else
    (void)from;
    (void)bytes;
#endif
}
