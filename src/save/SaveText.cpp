#include "save/SaveState.h"

#include "base/BoundedString.h"
#include "base/MapLimits.h"
#include "base/TextReader.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

template <typename... Values>
void appendLine(std::string& out, const char* format, Values... values)
{
    // Room for a quoted string of four characters a byte.
    char line[4 * saveStringSize + 64];
    boundedFormat(line, sizeof line, format, values...);
    out += line;
}

// `perLine` words to a line, each line starting with `key`.
void appendWords(std::string& out, const char* key, const PackedWords& packed, int perLine)
{
    const std::vector<std::uint32_t> values = packed.unpacked();
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i % perLine == 0)
            out += key;
        appendLine(out, " %x", (unsigned)values[i]);
        if (i % perLine == (std::size_t)perLine - 1 || i + 1 == values.size())
            out += "\n";
    }
}

// The complete form writes a string as one quoted word that any bytes
// survive: a blank, a line break, a quote, a backslash or a byte outside
// printable ASCII becomes \xHH, so that a name can neither split its line
// nor start another, and an empty name is "".
std::string quoted(const char* text)
{
    std::string word = "\"";
    for (const char* c = text; *c; ++c) {
        unsigned char byte = (unsigned char)*c;
        if (byte <= ' ' || byte >= 0x7F || byte == '"' || byte == '\\')
            appendLine(word, "\\x%02X", (unsigned)byte);
        else
            word += *c;
    }
    return word + "\"";
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// A quoted word back into its bytes; false when it is not one.
bool unquote(const std::string& word, std::string& text)
{
    if (word.size() < 2 || word.front() != '"' || word.back() != '"')
        return false;
    text.clear();
    for (std::size_t i = 1; i + 1 < word.size(); ++i) {
        if (word[i] == '"')
            return false;
        if (word[i] != '\\') {
            text += word[i];
            continue;
        }
        int high = i + 3 < word.size() && word[i + 1] == 'x' ? hexDigit(word[i + 2]) : -1;
        int low = high >= 0 ? hexDigit(word[i + 3]) : -1;
        if (low < 0)
            return false;
        text += char(high * 16 + low);
        i += 3;
    }
    return true;
}

void appendMemories(std::string& out, const SAVE_STATE& s)
{
    for (const SHARED_MEMORY& memory : s.memories) {
        appendLine(out, "PLAYER_MEMORY %d %d %s\n", memory->w, memory->h, quoted(memory->name).c_str());
        // One line per column of the level map.
        appendWords(out, "QUALITY", memory->quality, memory->h);
        appendWords(out, "GLOW", memory->glow, memory->h);
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

// A string of the complete form: quoted, or as it stands in a text a
// person wrote (the rest of the line for a level, one word for a name).
bool parseString(const std::string& field, char* out)
{
    std::string text;
    if (!field.empty() && field[0] == '"')
        return unquote(field, text) && parseText(text, out);
    return parseText(field, out);
}

// The keys with whole numbers: where each goes and its accepted range.
struct INT_KEY {
    const char* key;
    int PLAYER_STATE::*fields[2];
    int lowest;
    int highest;
};

const INT_KEY intKeys[] = {
    {"PLAYER_POSITION", {&PLAYER_STATE::x, &PLAYER_STATE::y}, -savePositionLimit, savePositionLimit},
    {"PLAYER_OLD_POSITION", {&PLAYER_STATE::oldX, &PLAYER_STATE::oldY}, -savePositionLimit, savePositionLimit},
    {"PLAYER_CHECKPOINT", {&PLAYER_STATE::checkpointX, &PLAYER_STATE::checkpointY},
     -savePositionLimit, savePositionLimit},
    {"PLAYER_WAY", {&PLAYER_STATE::way, nullptr}, INT_MIN, INT_MAX},
    {"PLAYER_CURRENT_TORCH", {&PLAYER_STATE::currentTorch, nullptr}, INT_MIN, INT_MAX},
    {"PLAYER_LIFE", {&PLAYER_STATE::life, nullptr}, INT_MIN, INT_MAX},
    {"PLAYER_MAX_LIFE", {&PLAYER_STATE::maxLife, nullptr}, INT_MIN, INT_MAX},
    {"PLAYER_RESPAWN", {&PLAYER_STATE::respawn, nullptr}, INT_MIN, INT_MAX},
    {"PLAYER_COIN", {&PLAYER_STATE::coin, nullptr}, INT_MIN, INT_MAX},
    {"PLAYER_DIAMOND", {&PLAYER_STATE::diamond, nullptr}, INT_MIN, INT_MAX},
};

struct FLAG_KEY {
    const char* key;
    bool PLAYER_STATE::*field;
};

const FLAG_KEY flagKeys[] = {
    {"PLAYER_TORCH", &PLAYER_STATE::torch},
    {"PLAYER_MOVING", &PLAYER_STATE::moving},
    {"PLAYER_RUN", &PLAYER_STATE::run},
    {"PLAYER_CRAWL", &PLAYER_STATE::crawl},
    {"PLAYER_JUMPING", &PLAYER_STATE::jumping},
    {"PLAYER_JUMP_RELEASED", &PLAYER_STATE::jumpReleased},
    {"PLAYER_CLIMBING", &PLAYER_STATE::onLadder},
    {"PLAYER_VISIBLE", &PLAYER_STATE::visible},
};

struct REAL_KEY {
    const char* key;
    float PLAYER_STATE::*field;
};

const REAL_KEY realKeys[] = {
    {"PLAYER_DY", &PLAYER_STATE::dy},
    {"PLAYER_HITTED", &PLAYER_STATE::hitted},
};

struct STRING_KEY {
    const char* key;
    char* (*field)(SAVE_STATE& state);
};

const STRING_KEY stringKeys[] = {
    {"PLAYER_LEVEL", [](SAVE_STATE& s) { return s.level; }},
    {"PLAYER_CHECKPOINT_LEVEL", [](SAVE_STATE& s) { return s.player.checkpointLevel; }},
};

// The keys of the complete form only. The game's form holds none of them
// and its reader passes over them like any other key it does not know.
const char* const completeOnlyKeys[] = {"PLAYER_RUN", "PLAYER_JUMP_RELEASED", "PLAYER_CLIMBING",
                                        "PLAYER_VISIBLE", "PLAYER_CHECKPOINT", "PLAYER_CHECKPOINT_LEVEL",
                                        "PLAYER_MEMORY", "QUALITY", "GLOW"};

bool completeOnly(const std::string& key)
{
    for (const char* k : completeOnlyKeys)
        if (key == k)
            return true;
    return false;
}

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
        if (!strict && completeOnly(key))
            return true;
        if (filling && key != "QUALITY" && key != "GLOW")
            return false;
        for (const INT_KEY& k : intKeys)
            if (key == k.key)
                return integers(line, k);
        for (const FLAG_KEY& k : flagKeys)
            if (key == k.key)
                return flag(line, state.player.*k.field);
        for (const REAL_KEY& k : realKeys)
            if (key == k.key)
                return line.words.size() == 2 && parseReal(line.words[1], state.player.*k.field);
        for (const STRING_KEY& k : stringKeys)
            if (key == k.key)
                return readString(line.rest, k.field(state)) && savedLevelAllowed(k.field(state));
        if (key == "PLAYER_N_OBJECTS") {
            // The list itself is what counts; the number is only checked.
            int n;
            return line.words.size() == 2 && readWholeNumber(line.words[1].c_str(), 0, saveMaxObjects, &n);
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
            if (!readWholeNumber(line.words[i + 1].c_str(), k.lowest, k.highest, &values[i]))
                return false;
        for (int i = 0; i < wanted; ++i)
            state.player.*k.fields[i] = values[i];
        return true;
    }

    bool flag(const TEXT_LINE& line, bool& field)
    {
        int value;
        if (line.words.size() != 2 || !readWholeNumber(line.words[1].c_str(), INT_MIN, INT_MAX, &value))
            return false;
        field = value != 0;
        return true;
    }

    bool object(const TEXT_LINE& line)
    {
        SAVE_OBJECT object;
        int flag;
        if (line.words.size() != 3 || (int)state.objects.size() >= saveMaxObjects
            || !readString(line.words[1], object.name) || !readWholeNumber(line.words[2].c_str(), 0, 255, &flag))
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
        auto memory = std::make_shared<SAVE_MEMORY>();
        if (line.words.size() < 3 || (int)state.memories.size() >= saveMaxMemories
            || !readWholeNumber(line.words[1].c_str(), 0, maxMapSide, &memory->w)
            || !readWholeNumber(line.words[2].c_str(), 0, maxMapSide, &memory->h)
            || (long long)memory->w * memory->h > maxMapCells)
            return false;
        // The name is what follows the two sizes.
        std::size_t skip = line.words[1].size() + 1 + line.words[2].size() + 1;
        if (line.rest.size() < skip || !readString(line.rest.substr(skip), memory->name))
            return false;
        state.memories.push_back(memory);
        filling = std::move(memory);
        if (cells() == 0)
            filling.reset();
        return true;
    }

    // Words of the last memory: all its qualities, then all its glows.
    bool words(const TEXT_LINE& line, bool quality)
    {
        if (!filling)
            return false;
        SAVE_MEMORY& memory = *filling;
        std::size_t n = cells();
        if (quality ? !memory.glow.empty() : memory.quality.size() < n)
            return false;
        PackedWords& target = quality ? memory.quality : memory.glow;
        for (std::size_t i = 1; i < line.words.size(); ++i) {
            std::uint32_t value;
            if (target.size() >= n || !parseWord(line.words[i], value))
                return false;
            target.push_back(value);
        }
        if (memory.glow.size() == n)
            filling.reset();
        return true;
    }

    std::size_t cells() const
    {
        return (std::size_t)filling->w * (std::size_t)filling->h;
    }

    // The game's form holds its strings as they are; the complete form quotes them.
    bool readString(const std::string& field, char* out) const
    {
        return strict ? parseString(field, out) : parseText(field, out);
    }

    bool strict;
    // The memory whose words are still being read.
    std::shared_ptr<SAVE_MEMORY> filling;
};

} // namespace

std::string formatSaveText(const SAVE_STATE& s, SaveText form)
{
    const PLAYER_STATE& p = s.player;
    bool complete = form == SaveText::complete;
    // The game's form writes its floats as "%f"; the complete form keeps every bit.
    const char* real = complete ? "%s %.9g\n" : "%s %f\n";
    std::string out;
    appendLine(out, "PLAYER_POSITION %d %d\n", p.x, p.y);
    appendLine(out, "PLAYER_OLD_POSITION %d %d\n", p.oldX, p.oldY);
    appendLine(out, "PLAYER_WAY %d\n", p.way);
    appendLine(out, "PLAYER_TORCH %d\n", p.torch);
    appendLine(out, "PLAYER_CURRENT_TORCH %d\n", p.currentTorch);
    appendLine(out, "PLAYER_MOVING %d\n", p.moving);
    appendLine(out, "PLAYER_CRAWL %d\n", p.crawl);
    appendLine(out, "PLAYER_JUMPING %d\n", p.jumping);
    appendLine(out, real, "PLAYER_DY", p.dy);
    appendLine(out, "PLAYER_LIFE %d\n", p.life);
    appendLine(out, "PLAYER_MAX_LIFE %d\n", p.maxLife);
    appendLine(out, "PLAYER_RESPAWN %d\n", p.respawn);
    appendLine(out, real, "PLAYER_HITTED", p.hitted);
    appendLine(out, "PLAYER_COIN %d\n", p.coin);
    appendLine(out, "PLAYER_DIAMOND %d\n", p.diamond);
    appendLine(out, "PLAYER_LEVEL %s\n", complete ? quoted(s.level).c_str() : s.level);
    if (complete) {
        appendLine(out, "PLAYER_RUN %d\n", p.run);
        appendLine(out, "PLAYER_JUMP_RELEASED %d\n", p.jumpReleased);
        appendLine(out, "PLAYER_CLIMBING %d\n", p.onLadder);
        appendLine(out, "PLAYER_VISIBLE %d\n", p.visible);
        appendLine(out, "PLAYER_CHECKPOINT %d %d\n", p.checkpointX, p.checkpointY);
        appendLine(out, "PLAYER_CHECKPOINT_LEVEL %s\n", quoted(p.checkpointLevel).c_str());
    }
    appendLine(out, "PLAYER_N_OBJECTS %d\n", (int)s.objects.size());
    for (const SAVE_OBJECT& object : s.objects)
        appendLine(out, "PLAYER_OBJECT %s %d\n", complete ? quoted(object.name).c_str() : object.name, object.flag);
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
