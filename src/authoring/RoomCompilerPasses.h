#pragma once

// What the room compiler's passes share: the source's words and things, the
// records placed, the fills painted, and the compiler's state between its
// passes (read, build, paint, write: one file each).

#include "authoring/RoomCompiler.h"
#include "base/BoundedString.h"
#include "base/ReplacingFile.h"
#include "base/TextReader.h"
#include "assets/Tile.h"
#include "authoring/TileManifest.h"
#include "level/KindLine.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <map>
#include <string>
#include <vector>

namespace roomsource {

// What a grid character paints.
enum FillKind { Void, Back, Rock, Floor, Platform };

// The fill kind a FILL line names; 0 for an unknown word.
inline int fillKind(const std::string& word, FillKind* kind)
{
    static const std::pair<const char*, FillKind> kinds[] = {
        {"back", Back}, {"rock", Rock}, {"floor", Floor}, {"platform", Platform}, {"void", Void}};
    for (const auto& k : kinds)
        if (word == k.first) {
            *kind = k.second;
            return 1;
        }
    return 0;
}

struct FILL {
    FillKind kind = Void;
    std::string tile;
    int depth = 0;
};

struct WORD {
    std::string text;
    std::size_t end; // offset just past the word in its line
};

inline std::vector<WORD> splitWords(const std::string& line)
{
    std::vector<WORD> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            i++;
        std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            i++;
        if (i > start)
            words.push_back({line.substr(start, i - start), i});
    }
    return words;
}

inline std::string restAfter(const std::string& line, std::size_t offset)
{
    std::size_t i = offset;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
        i++;
    std::size_t end = line.size();
    while (end > i && (line[end - 1] == ' ' || line[end - 1] == '\t'))
        end--;
    return line.substr(i, end - i);
}

// A whole number within the level coordinate limit, as the level reader
// takes it, so that sums of positions and offsets stay in range.
inline int parseInt(const std::string& s, int* value)
{
    int v = 0;
    const char* end = readCoordinate(s.c_str(), &v);
    if (!end || *end != '\0')
        return 0;
    *value = v;
    return 1;
}

inline int parseFloat(const std::string& s, float* value)
{
    const char* end = readNumber(s.c_str(), value);
    return end && *end == '\0';
}

// A kind line's words followed by its arguments.
inline std::string kindText(int kind, const std::string& arguments = "")
{
    std::string words = kindWord(kind).words;
    return arguments.empty() ? words : words + " " + arguments;
}

// A colour written as 6 hexadecimal digits (opaque) or 8 (with alpha), with
// or without "0x"; returned as 0xAARRGGBB.
inline int parseColour(const std::string& s, unsigned* value)
{
    std::string h = s;
    if (h.size() > 2 && h[0] == '0' && (h[1] == 'x' || h[1] == 'X'))
        h = h.substr(2);
    if (h.size() != 6 && h.size() != 8)
        return 0;
    for (char c : h)
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return 0;
    unsigned v = unsigned(std::strtoul(h.c_str(), nullptr, 16));
    if (h.size() == 6)
        v |= 0xFF000000u;
    *value = v;
    return 1;
}

inline std::string hex8(unsigned v)
{
    char buffer[16];
    boundedFormat(buffer, sizeof buffer, "%08X", v);
    return buffer;
}

// The textures and usual pictures of a zone.
struct ZONE {
    const char* name;
    const char* back;
    const char* back2;
    const char* floor;
    const char* platform;
    const char* door;
    const char* ladder;
};

inline const ZONE zones[] = {
    {"metro", "wall_tiles.til", "wall_tiles_band.til", "floor_metro.til", "platform_metal.til", "door_metal.til",
     "ladder_metal.til"},
    {"catacomb", "wall_catacomb.til", "wall_brick_dark.til", "floor_stone.til", "platform_wood.til",
     "door_arch.til", "ladder.til"},
    {"cave", "wall_cave.til", "wall_brick.til", "floor_stone.til", "platform_wood.til", "door.til", "ladder.til"},
    {"tech", "metal_plate.til", "metal_grid.til", "floor_metal.til", "platform_metal.til", "door_metal.til",
     "ladder_metal.til"},
};

// One thing of the legend, as written.
struct THING {
    int line = 0;
    std::string kind;
    std::vector<std::string> args;
    std::string message; // the rest of the line, for signs and sheets
    std::string name, tile;
    int depth = 0, dx = 0, dy = 0;
    float speed = 0.0f, frame = 0.0f;
    bool hasSpeed = false, hasFrame = false, alignTop = false;
};

// One ELEMENT or BONUS record of the level file.
struct RECORD {
    bool bonus = false;
    std::string name, tile, text;
    float speed = 0.0f, frame = 0.0f;
    int x = 0, y = 0, depth = 0;
    int line = 0;
    // Water lines are finished once the map's origin is known.
    int water = 0; // 0 none, 1 filling, 2 switched
    int waterA = 0, waterB = 0;
};

struct BOX {
    std::string name, target;
    int state[8], solution[8];
};

struct INK {
    unsigned colour = 0;
    int depth = 0;
    float glow = 0.0f;
};

// The depth the player cannot enter.
const int solidDepth = 10;

inline bool withinLevelLimit(int v)
{
    return v >= -levelCoordinateLimit && v <= levelCoordinateLimit;
}

} // namespace roomsource

struct RoomCompiler::Impl {
    RoomCompiler& owner;
    std::string file;
    int line = 0;

    // Header.
    int baseColor = int(0xFF000000u);
    int baseDepth = 10;
    bool memories = false, dirt = false, noise = false, reveal = false, checkpoint = false;
    int music = -1;
    std::string special;
    const roomsource::ZONE* zone = &roomsource::zones[0];
    std::map<char, roomsource::FILL> fills;
    char behind = '.';

    // Grid and legend.
    std::vector<std::string> grid;
    std::vector<int> gridLines;
    std::map<char, roomsource::THING> puts;
    std::vector<std::pair<std::pair<int, int>, roomsource::THING>> ats;

    std::vector<roomsource::RECORD> records;
    std::vector<roomsource::BOX> boxes;
    std::map<std::string, int> autoNames;

    explicit Impl(RoomCompiler& o) : owner(o) {}
    int fail(int at, const char* format, const std::string& a = "", const std::string& b = "");
    void setZone(const roomsource::ZONE* z);
    int header(const std::vector<roomsource::WORD>& w);
    // Reads "[OPTION=VALUE...] KIND ARGS" from word `first` on.
    int thing(const std::string& text, const std::vector<roomsource::WORD>& w, std::size_t first, roomsource::THING* t);
    int read(const std::string& text);
    // ---- Placing ----------------------------------------------------------
    std::string autoName(const std::string& base);
    int wantArgs(const roomsource::THING& t, std::size_t n, const char* usage);
    int numbers(const roomsource::THING& t, std::size_t from, std::size_t count, int* out);
    std::string levelName(const std::string& s) const;

    // Fills the record's tile, name and text from a thing; x and y are the
    // placing cell's top-left pixel (or the exact position for AT).
    int build(const roomsource::THING& t, int x, int y, bool exact, roomsource::RECORD* r);
    // A door or a locked door, and a light of one of the light forms: the
    // level text and the picture, or 0 after a failure.
    int buildDoor(const roomsource::THING& t, std::string* text, std::string* tileName);
    int buildLight(const roomsource::THING& t, std::string* text, std::string* tileName);
    int buildBox(const roomsource::THING& t);
    int buildBonus(const roomsource::THING& t, int x, int y, bool exact, roomsource::RECORD* r);

    int finish(const roomsource::THING& t, const std::string& defaultTile, const std::string& text,
               const std::string& base, int x, int y, bool exact, roomsource::RECORD* r);

    // Places every thing: legend characters in grid order (a vertical run
    // of a ladder character is one ladder), then the AT lines.
    int place();

    // A ladder from the top of row `top` to the bottom of row `bottom`:
    // its pictures are stacked from the top, the last one overlapping so
    // that none hangs below the run.
    int ladder(const roomsource::THING& t, int cx, int top, int bottom);

    // ---- Painting ---------------------------------------------------------
    const roomsource::FILL& fillOf(int cx, int cy) const;
    bool solid(int cx, int cy) const;

    // What shows behind a cell that is not a wall itself: the nearest wall
    // or void of its row, to the left first, else the BEHIND character.
    const roomsource::FILL& behindOf(int cx, int cy) const;
    roomsource::INK texel(const std::string& name, int x, int y, int addDepth, bool wrapY);
    roomsource::INK back(const roomsource::FILL& f, int px, int py);
    roomsource::INK pixel(int px, int py);
    void paint();

    // ---- Warnings ---------------------------------------------------------

    // The game bakes a decor's depth wherever its picture is opaque: over
    // the ground the player walks on, a depth other than solid rock's opens
    // a hole he sinks into. Warns once per decor, at its first such pixel.
    void warnOfOpenedFloors();
    bool opensFloor(const roomsource::RECORD& r, const Tile& t, int* holeX, int* holeY) const;
    // A solid pixel of the painted room with open space less than a cell
    // above it: the top of a floor, where the player's feet rest.
    bool walkedOn(int x, int y) const;
    bool solidPixel(int x, int y) const;
    // ---- Writing ----------------------------------------------------------

    void writeLevel();
};
