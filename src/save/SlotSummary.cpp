#include "save/SlotSummary.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

const long lifeOffset = 44;
const long coinsOffset = 60;
const long levelOffset = 68;
const int longestString = 255;
const int mostObjects = 100000;

int readInt(std::FILE* f, int* value)
{
    unsigned char b[4];
    if (std::fread(b, 1, 4, f) != 4)
        return 0;
    *value = int(std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 | std::uint32_t(b[3]) << 24);
    return 1;
}

// Reads a length-prefixed string into text (at most longestString bytes).
int readString(std::FILE* f, char* text)
{
    int length = 0;
    if (!readInt(f, &length) || length < 0 || length > longestString)
        return 0;
    if (std::fread(text, 1, std::size_t(length), f) != std::size_t(length))
        return 0;
    text[length] = 0;
    return 1;
}

int readSummary(std::FILE* f, SLOT_SUMMARY* s)
{
    char text[longestString + 1];
    int unused = 0, count = 0;
    if (std::fseek(f, lifeOffset, SEEK_SET) || !readInt(f, &s->life))
        return 0;
    if (std::fseek(f, coinsOffset, SEEK_SET) || !readInt(f, &s->coins) || !readInt(f, &s->diamonds))
        return 0;
    if (std::fseek(f, levelOffset, SEEK_SET) || !readString(f, text) || !readInt(f, &unused) || !readInt(f, &unused)
        || !readString(f, text) || !readInt(f, &count) || count < 0 || count > mostObjects)
        return 0;
    s->keys = 0;
    for (int i = 0; i < count; i++) {
        if (!readString(f, text) || !readInt(f, &unused))
            return 0;
        if (std::strncmp(text, "key", 3) == 0)
            s->keys++;
    }
    return 1;
}

} // namespace

int readSlotSummary(const char* path, SLOT_SUMMARY* summary)
{
    std::FILE* f = std::fopen(path, "rb");
    if (!f)
        return slotMissing;
    int good = readSummary(f, summary);
    std::fclose(f);
    return good ? slotGood : slotDamaged;
}
