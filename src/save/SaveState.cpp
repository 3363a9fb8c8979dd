#include "save/SaveState.h"

#include "app/BoundedString.h"
#include "level/Level.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

// ---- Binary ---------------------------------------------------------------

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
        memory.w = in.integer(0, Level::maxMapSide);
        memory.h = in.integer(0, Level::maxMapSide);
        std::size_t cells = (std::size_t)memory.w * (std::size_t)memory.h;
        in.require(cells <= (std::size_t)Level::maxMapCells);
        in.words(memory.quality, cells);
        in.words(memory.glow, cells);
        if (!in.ok())
            return;
    }
    in.require(in.remaining() == 0);
}

// ---- Text -----------------------------------------------------------------

template <typename... Values>
void appendLine(std::string& out, const char* format, Values... values)
{
    char line[saveStringSize + 64];
    boundedFormat(line, sizeof line, format, values...);
    out += line;
}

// `perLine` words to a line, each line starting with `key`.
void appendWords(std::string& out, const char* key, const std::vector<std::uint32_t>& values, int perLine)
{
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i % perLine == 0)
            out += key;
        appendLine(out, " %x", (unsigned)values[i]);
        if (i % perLine == (std::size_t)perLine - 1 || i + 1 == values.size())
            out += "\n";
    }
}

void appendMemories(std::string& out, const SAVE_STATE& s)
{
    for (const SAVE_MEMORY& memory : s.memories) {
        appendLine(out, "PLAYER_MEMORY %d %d %s\n", memory.w, memory.h, memory.name);
        // One line per column of the level map.
        appendWords(out, "QUALITY", memory.quality, memory.h);
        appendWords(out, "GLOW", memory.glow, memory.h);
    }
}

// One line of text split into words; `rest` is what follows the key and one
// space, without the line break.
struct TEXT_LINE {
    std::vector<std::string> words;
    std::string rest;
};

TEXT_LINE splitLine(const char* begin, const char* end)
{
    while (end > begin && (end[-1] == '\n' || end[-1] == '\r'))
        --end;
    TEXT_LINE line;
    const char* p = begin;
    while (p < end) {
        while (p < end && (*p == ' ' || *p == '\t'))
            ++p;
        const char* word = p;
        while (p < end && *p != ' ' && *p != '\t')
            ++p;
        if (p > word)
            line.words.emplace_back(word, p);
    }
    const char* rest = begin;
    while (rest < end && *rest != ' ')
        ++rest;
    if (rest < end)
        line.rest.assign(rest + 1, end);
    return line;
}

bool parseInt(const std::string& word, int lowest, int highest, int& out)
{
    errno = 0;
    char* end = nullptr;
    long value = std::strtol(word.c_str(), &end, 10);
    if (errno || *end || end == word.c_str() || value < lowest || value > highest)
        return false;
    out = (int)value;
    return true;
}

bool parseWord(const std::string& word, std::uint32_t& out)
{
    errno = 0;
    char* end = nullptr;
    unsigned long value = std::strtoul(word.c_str(), &end, 16);
    if (errno || *end || end == word.c_str() || word[0] == '-' || value > 0xFFFFFFFFul)
        return false;
    out = (std::uint32_t)value;
    return true;
}

bool parseReal(const std::string& word, float& out)
{
    char* end = nullptr;
    float value = std::strtof(word.c_str(), &end);
    if (*end || end == word.c_str() || !std::isfinite(value) || std::fabs(value) > saveSpeedLimit)
        return false;
    out = value;
    return true;
}

bool parseText(const std::string& text, char* out)
{
    if (text.size() > (std::size_t)saveStringMax || text.find('\0') != std::string::npos)
        return false;
    return boundedCopy(out, saveStringSize, text.c_str());
}

// The keys with whole numbers: where each goes and its accepted range.
struct INT_KEY {
    const char* key;
    int SAVE_STATE::*fields[2];
    int lowest;
    int highest;
};

const INT_KEY intKeys[] = {
    {"PLAYER_POSITION", {&SAVE_STATE::x, &SAVE_STATE::y}, -savePositionLimit, savePositionLimit},
    {"PLAYER_OLD_POSITION", {&SAVE_STATE::oldX, &SAVE_STATE::oldY}, -savePositionLimit, savePositionLimit},
    {"PLAYER_CHECKPOINT", {&SAVE_STATE::checkpointX, &SAVE_STATE::checkpointY}, -savePositionLimit, savePositionLimit},
    {"PLAYER_WAY", {&SAVE_STATE::way, nullptr}, INT_MIN, INT_MAX},
    {"PLAYER_CURRENT_TORCH", {&SAVE_STATE::currentTorch, nullptr}, INT_MIN, INT_MAX},
    {"PLAYER_LIFE", {&SAVE_STATE::life, nullptr}, INT_MIN, INT_MAX},
    {"PLAYER_MAX_LIFE", {&SAVE_STATE::maxLife, nullptr}, INT_MIN, INT_MAX},
    {"PLAYER_RESPAWN", {&SAVE_STATE::respawn, nullptr}, INT_MIN, INT_MAX},
    {"PLAYER_COIN", {&SAVE_STATE::coin, nullptr}, INT_MIN, INT_MAX},
    {"PLAYER_DIAMOND", {&SAVE_STATE::diamond, nullptr}, INT_MIN, INT_MAX},
};

struct FLAG_KEY {
    const char* key;
    bool SAVE_STATE::*field;
};

const FLAG_KEY flagKeys[] = {
    {"PLAYER_TORCH", &SAVE_STATE::torch},
    {"PLAYER_MOVING", &SAVE_STATE::moving},
    {"PLAYER_RUN", &SAVE_STATE::run},
    {"PLAYER_CRAWL", &SAVE_STATE::crawl},
    {"PLAYER_JUMPING", &SAVE_STATE::jumping},
    {"PLAYER_JUMP_RELEASED", &SAVE_STATE::jumpReleased},
    {"PLAYER_CLIMBING", &SAVE_STATE::onLadder},
    {"PLAYER_VISIBLE", &SAVE_STATE::visible},
};

struct REAL_KEY {
    const char* key;
    float SAVE_STATE::*field;
};

const REAL_KEY realKeys[] = {
    {"PLAYER_DY", &SAVE_STATE::dy},
    {"PLAYER_HITTED", &SAVE_STATE::hitted},
};

struct STRING_KEY {
    const char* key;
    char (SAVE_STATE::*field)[saveStringSize];
};

const STRING_KEY stringKeys[] = {
    {"PLAYER_LEVEL", &SAVE_STATE::level},
    {"PLAYER_CHECKPOINT_LEVEL", &SAVE_STATE::checkpointLevel},
};

// Reads a text into a copy of the record; any bad line stops it.
class TextParser {
public:
    TextParser(const SAVE_STATE& start, SaveText form) : state(start), strict(form == SaveText::complete)
    {
        state.objects.clear();
    }

    bool line(const TEXT_LINE& line)
    {
        if (line.words.empty())
            return true;
        const std::string& key = line.words[0];
        if (filling && key != "QUALITY" && key != "GLOW")
            return false;
        for (const INT_KEY& k : intKeys)
            if (key == k.key)
                return integers(line, k);
        for (const FLAG_KEY& k : flagKeys)
            if (key == k.key)
                return flag(line, state.*k.field);
        for (const REAL_KEY& k : realKeys)
            if (key == k.key)
                return line.words.size() == 2 && parseReal(line.words[1], state.*k.field);
        for (const STRING_KEY& k : stringKeys)
            if (key == k.key)
                return parseText(line.rest, state.*k.field);
        if (key == "PLAYER_N_OBJECTS") {
            // The list itself is what counts; the number is only checked.
            int n;
            return line.words.size() == 2 && parseInt(line.words[1], 0, saveMaxObjects, n);
        }
        if (key == "PLAYER_OBJECT")
            return object(line);
        if (key == "PLAYER_MEMORY")
            return memory(line);
        if (key == "QUALITY" || key == "GLOW")
            return words(line, key == "QUALITY");
        return !strict || key == "END";
    }

    // Every memory listed got all its words.
    bool finish() const { return !filling; }

    SAVE_STATE state;
    bool memoriesListed = false;

private:
    bool integers(const TEXT_LINE& line, const INT_KEY& k)
    {
        int wanted = k.fields[1] ? 2 : 1;
        if ((int)line.words.size() != wanted + 1)
            return false;
        int values[2] = {};
        for (int i = 0; i < wanted; ++i)
            if (!parseInt(line.words[i + 1], k.lowest, k.highest, values[i]))
                return false;
        for (int i = 0; i < wanted; ++i)
            state.*k.fields[i] = values[i];
        return true;
    }

    bool flag(const TEXT_LINE& line, bool& field)
    {
        int value;
        if (line.words.size() != 2 || !parseInt(line.words[1], INT_MIN, INT_MAX, value))
            return false;
        field = value != 0;
        return true;
    }

    bool object(const TEXT_LINE& line)
    {
        SAVE_OBJECT object;
        int flag;
        if (line.words.size() != 3 || (int)state.objects.size() >= saveMaxObjects
            || !parseText(line.words[1], object.name) || !parseInt(line.words[2], 0, 255, flag))
            return false;
        object.flag = (std::uint8_t)flag;
        state.objects.push_back(object);
        return true;
    }

    bool memory(const TEXT_LINE& line)
    {
        if (!memoriesListed)
            state.memories.clear();
        memoriesListed = true;
        SAVE_MEMORY memory;
        if (line.words.size() < 3 || (int)state.memories.size() >= saveMaxMemories
            || !parseInt(line.words[1], 0, Level::maxMapSide, memory.w)
            || !parseInt(line.words[2], 0, Level::maxMapSide, memory.h)
            || (long long)memory.w * memory.h > Level::maxMapCells)
            return false;
        // The name is what follows the two sizes.
        std::size_t skip = line.words[1].size() + 1 + line.words[2].size() + 1;
        if (line.rest.size() < skip || !parseText(line.rest.substr(skip), memory.name))
            return false;
        state.memories.push_back(std::move(memory));
        filling = cells() > 0;
        return true;
    }

    // Words of the last memory: all its qualities, then all its glows.
    bool words(const TEXT_LINE& line, bool quality)
    {
        if (!filling)
            return false;
        SAVE_MEMORY& memory = state.memories.back();
        std::size_t n = cells();
        if (quality ? !memory.glow.empty() : memory.quality.size() < n)
            return false;
        std::vector<std::uint32_t>& target = quality ? memory.quality : memory.glow;
        for (std::size_t i = 1; i < line.words.size(); ++i) {
            std::uint32_t value;
            if (target.size() >= n || !parseWord(line.words[i], value))
                return false;
            target.push_back(value);
        }
        filling = memory.glow.size() < n;
        return true;
    }

    std::size_t cells() const
    {
        const SAVE_MEMORY& memory = state.memories.back();
        return (std::size_t)memory.w * (std::size_t)memory.h;
    }

    bool strict;
    bool filling = false;
};

bool startsWith(const char* text, const char* prefix) { return std::strncmp(text, prefix, std::strlen(prefix)) == 0; }

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

std::string formatSaveText(const SAVE_STATE& s, SaveText form)
{
    bool complete = form == SaveText::complete;
    // The game's form writes its floats as "%f"; the complete form keeps every bit.
    const char* real = complete ? "%s %.9g\n" : "%s %f\n";
    std::string out;
    appendLine(out, "PLAYER_POSITION %d %d\n", s.x, s.y);
    appendLine(out, "PLAYER_OLD_POSITION %d %d\n", s.oldX, s.oldY);
    appendLine(out, "PLAYER_WAY %d\n", s.way);
    appendLine(out, "PLAYER_TORCH %d\n", s.torch);
    appendLine(out, "PLAYER_CURRENT_TORCH %d\n", s.currentTorch);
    appendLine(out, "PLAYER_MOVING %d\n", s.moving);
    appendLine(out, "PLAYER_CRAWL %d\n", s.crawl);
    appendLine(out, "PLAYER_JUMPING %d\n", s.jumping);
    appendLine(out, real, "PLAYER_DY", s.dy);
    appendLine(out, "PLAYER_LIFE %d\n", s.life);
    appendLine(out, "PLAYER_MAX_LIFE %d\n", s.maxLife);
    appendLine(out, "PLAYER_RESPAWN %d\n", s.respawn);
    appendLine(out, real, "PLAYER_HITTED", s.hitted);
    appendLine(out, "PLAYER_COIN %d\n", s.coin);
    appendLine(out, "PLAYER_DIAMOND %d\n", s.diamond);
    appendLine(out, "PLAYER_LEVEL %s\n", s.level);
    if (complete) {
        appendLine(out, "PLAYER_RUN %d\n", s.run);
        appendLine(out, "PLAYER_JUMP_RELEASED %d\n", s.jumpReleased);
        appendLine(out, "PLAYER_CLIMBING %d\n", s.onLadder);
        appendLine(out, "PLAYER_VISIBLE %d\n", s.visible);
        appendLine(out, "PLAYER_CHECKPOINT %d %d\n", s.checkpointX, s.checkpointY);
        appendLine(out, "PLAYER_CHECKPOINT_LEVEL %s\n", s.checkpointLevel);
    }
    appendLine(out, "PLAYER_N_OBJECTS %d\n", (int)s.objects.size());
    for (const SAVE_OBJECT& object : s.objects)
        appendLine(out, "PLAYER_OBJECT %s %d\n", object.name, object.flag);
    if (complete)
        appendMemories(out, s);
    out += "END";
    return out;
}

int parseSaveText(const char* text, std::size_t size, SAVE_STATE& state, SaveText form)
{
    TextParser parser(state, form);
    const char* end = text + size;
    for (const char* line = text; line < end;) {
        const char* next = static_cast<const char*>(std::memchr(line, '\n', (std::size_t)(end - line)));
        next = next ? next + 1 : end;
        if (!parser.line(splitLine(line, next)))
            return 0;
        line = next;
    }
    if (!parser.finish())
        return 0;
    state = std::move(parser.state);
    return 1;
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
