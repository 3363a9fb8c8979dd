#include "save/SaveState.h"

#include "base/LevelPath.h"
#include "base/MapLimits.h"
#include "base/TextReader.h"

#include <cmath>
#include <cstring>
#include <utility>

namespace {

class ByteWriter {
public:
    void word(std::uint32_t value)
    {
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back((unsigned char)(value >> shift));
    }
    void integer(int value) { word((std::uint32_t)value); }
    void real(float value)
    {
        std::uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        word(bits);
    }
    // At most the 255 bytes a reader accepts.
    void text(const char* value)
    {
        std::size_t n = strnlen(value, saveStringMax);
        integer((int)n);
        bytes.insert(bytes.end(), value, value + n);
    }
    void raw(const unsigned char* data, std::size_t n) { bytes.insert(bytes.end(), data, data + n); }
    void words(const std::vector<std::uint32_t>& values)
    {
        std::size_t at = bytes.size();
        bytes.resize(at + 4 * values.size());
        for (std::uint32_t value : values) {
            for (int shift = 0; shift < 32; shift += 8)
                bytes[at++] = (unsigned char)(value >> shift);
        }
    }

    std::vector<unsigned char> bytes;
};

std::uint32_t littleEndian(const unsigned char* p)
{
    return p[0] | (std::uint32_t)p[1] << 8 | (std::uint32_t)p[2] << 16 | (std::uint32_t)p[3] << 24;
}

// Reads from a byte range; any read past its end or out of its limits makes
// the whole reader fail, and failed reads return zeros.
class ByteReader {
public:
    // A reader that only checks skips the memory arrays instead of copying them.
    ByteReader(const unsigned char* data, std::size_t size, bool copyArrays = true)
        : at(data), left(size), copyArrays(copyArrays)
    {
    }

    std::uint32_t word()
    {
        return take(4) ? littleEndian(at - 4) : 0;
    }
    int integer() { return (int)word(); }
    int integer(int lowest, int highest)
    {
        int value = integer();
        require(value >= lowest && value <= highest);
        return value;
    }
    float real()
    {
        std::uint32_t bits = word();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        require(std::isfinite(value) && std::fabs(value) <= saveSpeedLimit);
        return value;
    }
    const unsigned char* bytes(std::size_t n) { return take(n) ? at - n : nullptr; }
    // A string of 0 to 255 bytes without a zero byte inside.
    void text(char* out)
    {
        int n = integer(0, saveStringMax);
        const unsigned char* p = bytes((std::size_t)n);
        require(p && !std::memchr(p, 0, (std::size_t)n));
        if (!good)
            return;
        std::memcpy(out, p, (std::size_t)n);
        out[n] = 0;
    }
    void words(std::vector<std::uint32_t>& out, std::size_t n)
    {
        if (!require(n <= left / 4))
            return;
        const unsigned char* p = bytes(n * 4);
        if (!copyArrays)
            return;
        out.resize(n);
        for (std::size_t i = 0; i < n; ++i)
            out[i] = littleEndian(p + 4 * i);
    }
    // A count of records of at least `smallest` bytes each, which the bytes
    // left must be able to hold.
    int count(int highest, std::size_t smallest)
    {
        int n = integer(0, highest);
        require(good && (std::size_t)n <= left / smallest);
        return good ? n : 0;
    }
    bool require(bool condition)
    {
        good = good && condition;
        return good;
    }
    std::size_t remaining() const { return left; }
    bool ok() const { return good; }

private:
    bool take(std::size_t n)
    {
        if (!require(n <= left))
            return false;
        at += n;
        left -= n;
        return true;
    }

    const unsigned char* at;
    std::size_t left;
    bool copyArrays;
    bool good = true;
};

// The flags in their stored order; windows start at indices 0, 1, 3 and 4.
constexpr int flagCount = 8;
constexpr int windowStarts[4] = {0, 1, 3, 4};

void flagsOf(const SAVE_STATE& s, bool out[flagCount])
{
    const bool flags[flagCount] = {s.torch, s.moving, s.run, s.crawl, s.jumping, s.jumpReleased, s.onLadder, s.visible};
    std::memcpy(out, flags, sizeof flags);
}

void setFlags(SAVE_STATE& s, const bool in[flagCount])
{
    bool* flags[flagCount] = {&s.torch, &s.moving, &s.run, &s.crawl, &s.jumping, &s.jumpReleased, &s.onLadder, &s.visible};
    for (int i = 0; i < flagCount; ++i)
        *flags[i] = in[i];
}

void writeWindow(ByteWriter& out, const bool flags[flagCount], int window)
{
    unsigned char bytes[4];
    for (int i = 0; i < 4; ++i)
        bytes[i] = flags[windowStarts[window] + i] ? 1 : 0;
    out.raw(bytes, 4);
}

void readWindow(ByteReader& in, bool flags[flagCount], int window)
{
    const unsigned char* bytes = in.bytes(4);
    for (int i = 0; bytes && i < 4; ++i)
        flags[windowStarts[window] + i] = bytes[i] != 0;
}

int position(ByteReader& in) { return in.integer(-savePositionLimit, savePositionLimit); }

// Reads the fixed fields, the strings and the lists; `in` fails on anything
// out of bounds.
void readState(ByteReader& in, SAVE_STATE& s)
{
    bool flags[flagCount] = {};
    s.x = position(in);
    s.y = position(in);
    s.oldX = position(in);
    s.oldY = position(in);
    s.way = in.integer();
    readWindow(in, flags, 0);
    s.currentTorch = in.integer();
    for (int window = 1; window < 4; ++window)
        readWindow(in, flags, window);
    setFlags(s, flags);
    s.dy = in.real();
    s.life = in.integer();
    s.maxLife = in.integer();
    s.respawn = in.integer();
    s.hitted = in.real();
    s.coin = in.integer();
    s.diamond = in.integer();
    in.text(s.level);
    s.checkpointX = position(in);
    s.checkpointY = position(in);
    in.text(s.checkpointLevel);
    in.require(savedLevelAllowed(s.level) && savedLevelAllowed(s.checkpointLevel));

    // An object takes at least a length and its flag slot.
    s.objects.resize(in.count(saveMaxObjects, 8));
    for (SAVE_OBJECT& object : s.objects) {
        in.text(object.name);
        const unsigned char* slot = in.bytes(4);
        object.flag = slot ? slot[0] : 0;
    }
    // A memory takes at least a length, a width and a height.
    s.memories.resize(in.count(saveMaxMemories, 12));
    for (SAVE_MEMORY& memory : s.memories) {
        in.text(memory.name);
        memory.w = in.integer(0, maxMapSide);
        memory.h = in.integer(0, maxMapSide);
        std::size_t cells = (std::size_t)memory.w * (std::size_t)memory.h;
        in.require(cells <= (std::size_t)maxMapCells);
        in.words(memory.quality, cells);
        in.words(memory.glow, cells);
        if (!in.ok())
            return;
    }
    in.require(in.remaining() == 0);
}

} // namespace

std::vector<unsigned char> encodeSaveState(const SAVE_STATE& s, const char* level)
{
    bool flags[flagCount];
    flagsOf(s, flags);
    ByteWriter out;
    std::size_t size = 0;
    for (const SAVE_MEMORY& memory : s.memories)
        size += 8 * memory.quality.size();
    out.bytes.reserve(size + 1024);
    for (int value : {s.x, s.y, s.oldX, s.oldY, s.way})
        out.integer(value);
    writeWindow(out, flags, 0);
    out.integer(s.currentTorch);
    for (int window = 1; window < 4; ++window)
        writeWindow(out, flags, window);
    out.real(s.dy);
    for (int value : {s.life, s.maxLife, s.respawn})
        out.integer(value);
    out.real(s.hitted);
    out.integer(s.coin);
    out.integer(s.diamond);
    out.text(level ? level : s.level);
    out.integer(s.checkpointX);
    out.integer(s.checkpointY);
    out.text(s.checkpointLevel);
    out.integer((int)s.objects.size());
    for (const SAVE_OBJECT& object : s.objects) {
        out.text(object.name);
        const unsigned char slot[4] = {object.flag, 0, 0, 0};
        out.raw(slot, 4);
    }
    out.integer((int)s.memories.size());
    for (const SAVE_MEMORY& memory : s.memories) {
        out.text(memory.name);
        out.integer(memory.w);
        out.integer(memory.h);
        out.words(memory.quality);
        out.words(memory.glow);
    }
    return std::move(out.bytes);
}

int decodeSaveState(const unsigned char* data, std::size_t size, SAVE_STATE& state)
{
    ByteReader in(data, size);
    SAVE_STATE read;
    readState(in, read);
    if (!in.ok())
        return 0;
    state = std::move(read);
    return 1;
}

bool savedLevelAllowed(const char* level)
{
    return !*level || levelNameStaysInside(level);
}

int checkSaveState(const unsigned char* data, std::size_t size)
{
    ByteReader in(data, size, false);
    SAVE_STATE read;
    readState(in, read);
    return in.ok();
}

int keyCount(const SAVE_STATE& state)
{
    int keys = 0;
    for (const SAVE_OBJECT& object : state.objects)
        keys += startsWith(object.name, "key");
    return keys;
}

bool revealsMap(const SAVE_STATE& state)
{
    for (const SAVE_OBJECT& object : state.objects)
        if (!startsWith(object.name, "key") && startsWith(object.name, "map"))
            return true;
    return false;
}
