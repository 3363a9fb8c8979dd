#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

// A sequence of 32-bit words kept small: a run of one repeated word takes two
// words however long it is, and other words are kept as they are. What the
// player remembers of a room is mostly runs of 0 and 1 (the memory quality)
// and of 0 (the glow), so a room of 480 x 480 cells takes kilobytes instead
// of the 1.8 MB of its plain arrays.
class PackedWords {
public:
    PackedWords() = default;
    PackedWords(std::initializer_list<std::uint32_t> words);

    void push_back(std::uint32_t word);
    // `count` copies of `word`.
    void append(std::uint32_t word, std::size_t count);
    std::size_t size() const { return count; }
    bool empty() const { return count == 0; }
    // Calls run(word, count) for the words in order, repeated words together.
    template <class F> void forEachRun(F run) const;
    std::vector<std::uint32_t> unpacked() const;
    // Gives back the room kept for further appends.
    void shrink() { blocks.shrink_to_fit(); }
    bool operator==(const PackedWords& other) const;
    bool operator!=(const PackedWords& other) const { return !(*this == other); }

private:
    // Blocks, each a header and its words: a header with `runBit` set stands
    // for its low 31 bits' count of copies of the one word after it, else
    // it counts the different words after it.
    static constexpr std::uint32_t runBit = 0x80000000u;
    static constexpr std::uint32_t longest = runBit - 1;
    static constexpr std::size_t none = ~std::size_t(0);
    std::vector<std::uint32_t> blocks;
    // Where the last block's header is.
    std::size_t last = none;
    std::size_t count = 0;
};

template <class F> void PackedWords::forEachRun(F run) const
{
    for (std::size_t at = 0; at < blocks.size();) {
        std::uint32_t header = blocks[at];
        if (header & runBit) {
            run(blocks[at + 1], std::size_t(header & longest));
            at += 2;
            continue;
        }
        for (std::size_t i = 1; i <= header; ++i)
            run(blocks[at + i], std::size_t(1));
        at += 1 + header;
    }
}
