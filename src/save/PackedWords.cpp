#include "save/PackedWords.h"

#include <algorithm>

PackedWords::PackedWords(std::initializer_list<std::uint32_t> words)
{
    for (std::uint32_t word : words)
        push_back(word);
}

void PackedWords::push_back(std::uint32_t word)
{
    append(word, 1);
}

void PackedWords::append(std::uint32_t word, std::size_t copies)
{
    while (copies > 0) {
        bool run = last != none && (blocks[last] & runBit);
        std::uint32_t held = run ? blocks[last] & longest : 0;
        if (run && blocks[last + 1] == word && held < longest) {
            std::uint32_t added = std::uint32_t(std::min<std::size_t>(copies, longest - held));
            blocks[last] += added;
            count += added;
            copies -= added;
            continue;
        }
        if (copies == 1 && last != none && !run && blocks.back() != word && blocks[last] < longest) {
            ++blocks[last];
            blocks.push_back(word);
            ++count;
            return;
        }
        // A word repeating the last different word turns both into a run.
        if (last != none && !run && blocks.back() == word) {
            blocks.pop_back();
            --count;
            ++copies;
            if (--blocks[last] == 0)
                blocks.pop_back();
        }
        last = blocks.size();
        blocks.push_back(copies == 1 ? 1 : runBit);
        blocks.push_back(word);
        count += copies == 1;
        copies -= copies == 1;
    }
}

std::vector<std::uint32_t> PackedWords::unpacked() const
{
    std::vector<std::uint32_t> words;
    words.reserve(count);
    forEachRun([&](std::uint32_t word, std::size_t n) { words.insert(words.end(), n, word); });
    return words;
}

bool PackedWords::operator==(const PackedWords& other) const
{
    return count == other.count && unpacked() == other.unpacked();
}
