#pragma once

#include <cstddef>
#include <memory>
#include <type_traits>

// A block of memory pages kept from one user to the next.
struct KEPT_BLOCK {
    void* data = nullptr;
    std::size_t bytes = 0;
};

// The shelves behind KeptArray, one per kind of item: each keeps at most
// one block, the largest given back.
// A block of at least `bytes` bytes: the shelf's block when it is large
// enough, else newly mapped (the shelf's smaller block is unmapped first,
// so that two blocks are never both idle). Its contents are what its last
// user left, or zero when new. data is null when memory is short.
KEPT_BLOCK takeKeptBlock(const void* shelf, std::size_t bytes);
// Puts b on the shelf when it is larger than the block there, which is then
// unmapped; unmaps b otherwise.
void giveBackKeptBlock(const void* shelf, KEPT_BLOCK b);
// Makes the first `bytes` bytes of b read as zero; pages written before
// are given back to the system instead of being cleared one by one.
void zeroKeptBlock(KEPT_BLOCK b, std::size_t bytes);
// Faults in, ready for writing, the pages holding the `bytes` bytes at
// `from` without changing what they hold, where the system can: another
// thread may write them meanwhile, and finds them in place.
void faultInPages(void* from, std::size_t bytes);

// An array of T whose memory outlives it: when the array is released its
// block is kept for the next array of T that needs no more, so a room's map
// arrays, released at every door, keep their pages mapped instead of being
// handed back to the system and faulted in again at the next room.
// T must be trivially destructible: released items are not destroyed.
template <typename T>
class KeptArray {
public:
    KeptArray() = default;
    ~KeptArray() { release(); }
    KeptArray(const KeptArray&) = delete;
    KeptArray& operator=(const KeptArray&) = delete;

    // Room for n items, whose values are unspecified. Returns null, holding
    // nothing, when memory is short.
    T* resize(std::size_t n)
    {
        release();
        block = takeKeptBlock(&shelf, n * sizeof(T));
        if (!block.data)
            return nullptr;
        return std::uninitialized_default_construct_n(static_cast<T*>(block.data), n) - n;
    }
    // Room for n items that read as zero bytes.
    T* resizeZeroed(std::size_t n)
    {
        T* items = resize(n);
        if (items)
            zeroKeptBlock(block, n * sizeof(T));
        return items;
    }
    void release()
    {
        giveBackKeptBlock(&shelf, block);
        block = KEPT_BLOCK{};
    }
    T* data() const { return static_cast<T*>(block.data); }

private:
    static_assert(std::is_trivially_destructible<T>::value, "released items are not destroyed");
    // Its address names the shelf of T.
    static const char shelf;
    KEPT_BLOCK block;
};

template <typename T>
const char KeptArray<T>::shelf = 0;
