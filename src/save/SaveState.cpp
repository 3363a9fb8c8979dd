#include "save/SaveState.h"

#include "base/LevelPath.h"
#include "base/MapLimits.h"
#include "base/TextReader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace {

bool positionAllowed(int value) { return value >= -savePositionLimit && value <= savePositionLimit; }

bool speedAllowed(float value) { return std::isfinite(value) && std::fabs(value) <= saveSpeedLimit; }

bool memorySizeAllowed(int w, int h)
{
    return w >= 0 && h >= 0 && w <= maxMapSide && h <= maxMapSide && (long long)w * h <= maxMapCells;
}

// Writes the slot format into memory, into a file as it goes, or only counts
// the bytes.
class ByteWriter {
public:
    enum class Mode { keep, stream, count };
    explicit ByteWriter(Mode mode, std::FILE* sink = nullptr) : mode(mode), sink(sink) {}

    void word(std::uint32_t value) { repeat(value, 1); }
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
        raw((const unsigned char*)value, n);
    }
    void raw(const unsigned char* data, std::size_t n)
    {
        written += n;
        if (mode == Mode::count)
            return;
        bytes.insert(bytes.end(), data, data + n);
        spillWhenFull();
    }
    void words(const PackedWords& values)
    {
        if (mode == Mode::count)
            written += 4 * values.size();
        else
            values.forEachRun([this](std::uint32_t word, std::size_t n) { repeat(word, n); });
    }
    // Writes what is still held to the sink; whether every write succeeded.
    bool finish()
    {
        spill();
        return !failed;
    }

    std::vector<unsigned char> bytes;
    std::size_t written = 0;

private:
    static constexpr std::size_t spillAt = 1u << 16;

    // `n` copies of the word, little-endian.
    void repeat(std::uint32_t value, std::size_t n)
    {
        if (mode == Mode::count) {
            written += 4 * n;
            return;
        }
        const unsigned char little[4] = {(unsigned char)value, (unsigned char)(value >> 8), (unsigned char)(value >> 16),
                                         (unsigned char)(value >> 24)};
        while (n > 0) {
            std::size_t room = mode == Mode::stream && bytes.size() < spillAt ? (spillAt - bytes.size()) / 4 : n;
            std::size_t take = std::min(n, std::max<std::size_t>(room, 1));
            std::size_t at = bytes.size();
            bytes.resize(at + 4 * take);
            for (std::size_t i = 0; i < take; ++i)
                std::memcpy(&bytes[at + 4 * i], little, 4);
            written += 4 * take;
            n -= take;
            spillWhenFull();
        }
    }
    void spillWhenFull()
    {
        if (mode == Mode::stream && bytes.size() >= spillAt)
            spill();
    }
    void spill()
    {
        if (mode != Mode::stream || bytes.empty())
            return;
        failed = failed || std::fwrite(bytes.data(), 1, bytes.size(), sink) != bytes.size();
        bytes.clear();
    }

    Mode mode;
    std::FILE* sink;
    bool failed = false;
};

std::uint32_t littleEndian(const unsigned char* p)
{
    return p[0] | (std::uint32_t)p[1] << 8 | (std::uint32_t)p[2] << 16 | (std::uint32_t)p[3] << 24;
}

// Reads from a byte range; any read past its end or out of its limits makes
// the whole reader fail, and failed reads return zeros.
class ByteReader {
public:
    ByteReader(const unsigned char* data, std::size_t size) : at(data), left(size) {}

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
        require(speedAllowed(value));
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
    // Packed as they are read, a run of equal words at a time.
    void words(PackedWords& out, std::size_t n)
    {
        const unsigned char* p = require(n <= left / 4) ? bytes(n * 4) : nullptr;
        if (!p)
            return;
        for (std::size_t i = 0, next; i < n; i = next) {
            for (next = i + 1; next < n && std::memcmp(p + 4 * next, p + 4 * i, 4) == 0;)
                ++next;
            out.append(littleEndian(p + 4 * i), next - i);
        }
        out.shrink();
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
    bool good = true;
};

// The flags in their stored order; windows start at indices 0, 1, 3 and 4.
constexpr int flagCount = 8;
constexpr int windowStarts[4] = {0, 1, 3, 4};

void flagsOf(const PLAYER_STATE& p, bool out[flagCount])
{
    const bool flags[flagCount] = {p.torch, p.moving, p.run, p.crawl, p.jumping, p.jumpReleased, p.onLadder, p.visible};
    std::memcpy(out, flags, sizeof flags);
}

void setFlags(PLAYER_STATE& p, const bool in[flagCount])
{
    bool* flags[flagCount] = {&p.torch,   &p.moving,       &p.run,      &p.crawl,
                              &p.jumping, &p.jumpReleased, &p.onLadder, &p.visible};
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

int position(ByteReader& in)
{
    int value = in.integer();
    in.require(positionAllowed(value));
    return value;
}

// Reads the fixed fields, the strings and the lists; `in` fails on anything
// out of bounds.
void readState(ByteReader& in, SAVE_STATE& s)
{
    PLAYER_STATE& p = s.player;
    bool flags[flagCount] = {};
    p.x = position(in);
    p.y = position(in);
    p.oldX = position(in);
    p.oldY = position(in);
    p.way = in.integer();
    readWindow(in, flags, 0);
    p.currentTorch = in.integer();
    for (int window = 1; window < 4; ++window)
        readWindow(in, flags, window);
    setFlags(p, flags);
    p.dy = in.real();
    p.life = in.integer();
    p.maxLife = in.integer();
    p.respawn = in.integer();
    p.hitted = in.real();
    p.coin = in.integer();
    p.diamond = in.integer();
    in.text(s.level);
    p.checkpointX = position(in);
    p.checkpointY = position(in);
    in.text(p.checkpointLevel);
    in.require(savedLevelAllowed(s.level) && savedLevelAllowed(p.checkpointLevel));

    // An object takes at least a length and its flag slot.
    s.objects.resize(in.count(saveMaxObjects, 8));
    for (SAVE_OBJECT& object : s.objects) {
        in.text(object.name);
        const unsigned char* slot = in.bytes(4);
        object.flag = slot ? slot[0] : 0;
    }
    // A memory takes at least a length, a width and a height.
    for (int n = in.count(saveMaxMemories, 12); n > 0 && in.ok(); --n) {
        auto memory = std::make_shared<SAVE_MEMORY>();
        in.text(memory->name);
        memory->w = in.integer();
        memory->h = in.integer();
        if (!in.require(memorySizeAllowed(memory->w, memory->h)))
            return;
        std::size_t cells = (std::size_t)memory->w * (std::size_t)memory->h;
        in.words(memory->quality, cells);
        in.words(memory->glow, cells);
        s.memories.push_back(std::move(memory));
    }
    in.require(in.remaining() == 0);
}

void encode(ByteWriter& out, const SAVE_STATE& s, const char* level)
{
    const PLAYER_STATE& p = s.player;
    bool flags[flagCount];
    flagsOf(p, flags);
    for (int value : {p.x, p.y, p.oldX, p.oldY, p.way})
        out.integer(value);
    writeWindow(out, flags, 0);
    out.integer(p.currentTorch);
    for (int window = 1; window < 4; ++window)
        writeWindow(out, flags, window);
    out.real(p.dy);
    for (int value : {p.life, p.maxLife, p.respawn})
        out.integer(value);
    out.real(p.hitted);
    out.integer(p.coin);
    out.integer(p.diamond);
    out.text(level ? level : s.level);
    out.integer(p.checkpointX);
    out.integer(p.checkpointY);
    out.text(p.checkpointLevel);
    out.integer((int)s.objects.size());
    for (const SAVE_OBJECT& object : s.objects) {
        out.text(object.name);
        const unsigned char slot[4] = {object.flag, 0, 0, 0};
        out.raw(slot, 4);
    }
    out.integer((int)s.memories.size());
    for (const SHARED_MEMORY& memory : s.memories) {
        out.text(memory->name);
        out.integer(memory->w);
        out.integer(memory->h);
        out.words(memory->quality);
        out.words(memory->glow);
    }
}

} // namespace

std::vector<unsigned char> encodeSaveState(const SAVE_STATE& s, const char* level)
{
    ByteWriter out(ByteWriter::Mode::keep);
    out.bytes.reserve(encodedSize(s, level));
    encode(out, s, level);
    return std::move(out.bytes);
}

bool writeSaveState(std::FILE* file, const SAVE_STATE& s, const char* level)
{
    ByteWriter out(ByteWriter::Mode::stream, file);
    encode(out, s, level);
    return out.finish();
}

std::size_t encodedSize(const SAVE_STATE& s, const char* level)
{
    ByteWriter out(ByteWriter::Mode::count);
    encode(out, s, level);
    return out.written;
}

bool readableSaveState(const SAVE_STATE& s, const char* level)
{
    const PLAYER_STATE& p = s.player;
    const char* room = level ? level : s.level;
    bool fixed = positionAllowed(p.x) && positionAllowed(p.y) && positionAllowed(p.oldX) && positionAllowed(p.oldY) &&
                 positionAllowed(p.checkpointX) && positionAllowed(p.checkpointY) && speedAllowed(p.dy) &&
                 speedAllowed(p.hitted) && strnlen(room, saveStringSize) <= (std::size_t)saveStringMax &&
                 savedLevelAllowed(room) && savedLevelAllowed(p.checkpointLevel) &&
                 s.objects.size() <= (std::size_t)saveMaxObjects && s.memories.size() <= (std::size_t)saveMaxMemories;
    for (std::size_t i = 0; fixed && i < s.memories.size(); ++i) {
        const SAVE_MEMORY& m = *s.memories[i];
        std::size_t cells = std::size_t(std::max(m.w, 0)) * std::size_t(std::max(m.h, 0));
        fixed = memorySizeAllowed(m.w, m.h) && m.quality.size() == cells && m.glow.size() == cells;
    }
    return fixed;
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
