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

namespace {

// What a grid character paints.
enum FillKind { Void, Back, Rock, Floor, Platform };

// The fill kind a FILL line names; 0 for an unknown word.
int fillKind(const std::string& word, FillKind* kind)
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

std::vector<WORD> splitWords(const std::string& line)
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

std::string restAfter(const std::string& line, std::size_t offset)
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
int parseInt(const std::string& s, int* value)
{
    int v = 0;
    const char* end = readCoordinate(s.c_str(), &v);
    if (!end || *end != '\0')
        return 0;
    *value = v;
    return 1;
}

int parseFloat(const std::string& s, float* value)
{
    const char* end = readNumber(s.c_str(), value);
    return end && *end == '\0';
}

// A kind line's words followed by its arguments.
std::string kindText(int kind, const std::string& arguments = "")
{
    std::string words = kindWord(kind).words;
    return arguments.empty() ? words : words + " " + arguments;
}

// A colour written as 6 hexadecimal digits (opaque) or 8 (with alpha), with
// or without "0x"; returned as 0xAARRGGBB.
int parseColour(const std::string& s, unsigned* value)
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

std::string hex8(unsigned v)
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

const ZONE zones[] = {
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

bool withinLevelLimit(int v)
{
    return v >= -levelCoordinateLimit && v <= levelCoordinateLimit;
}

} // namespace

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
    const ZONE* zone = &zones[0];
    std::map<char, FILL> fills;
    char behind = '.';

    // Grid and legend.
    std::vector<std::string> grid;
    std::vector<int> gridLines;
    std::map<char, THING> puts;
    std::vector<std::pair<std::pair<int, int>, THING>> ats;

    std::vector<RECORD> records;
    std::vector<BOX> boxes;
    std::map<std::string, int> autoNames;

    explicit Impl(RoomCompiler& o) : owner(o) {}

    int fail(int at, const char* format, const std::string& a = "", const std::string& b = "")
    {
        char reason[512];
        boundedFormat(reason, sizeof reason, format, a.c_str(), b.c_str());
        boundedFormat(owner.error, sizeof owner.error, "%s:%d: %s", file.c_str(), at, reason);
        return 0;
    }

    void setZone(const ZONE* z)
    {
        zone = z;
        fills['#'] = {Rock, "rock01.til", 0};
        fills['.'] = {Back, z->back, 0};
        fills[','] = {Back, z->back2, 0};
        fills['='] = {Floor, z->floor, 0};
        fills['-'] = {Platform, z->platform, 0};
        fills[':'] = {Void, "", 0};
    }

    int header(const std::vector<WORD>& w)
    {
        const std::string& k = w[0].text;
        if (k == "MEMORIES" || k == "DIRT" || k == "NOISE" || k == "REVEAL" || k == "CHECKPOINT") {
            if (w.size() != 1)
                return fail(line, "%s takes no value", k);
            (k == "MEMORIES" ? memories : k == "DIRT" ? dirt : k == "NOISE" ? noise : k == "REVEAL" ? reveal
                                                                                                 : checkpoint) = true;
            return 1;
        }
        if (w.size() != 2 && k != "FILL")
            return fail(line, "%s needs one value", k);
        if (k == "ZONE") {
            for (const ZONE& z : zones)
                if (w[1].text == z.name) {
                    setZone(&z);
                    return 1;
                }
            return fail(line, "unknown zone \"%s\" (metro, catacomb, cave, tech)", w[1].text);
        }
        if (k == "BASE_COLOR") {
            unsigned c;
            if (!parseColour(w[1].text, &c))
                return fail(line, "BASE_COLOR needs a colour such as FF000000, not \"%s\"", w[1].text);
            baseColor = int(c);
            return 1;
        }
        if (k == "BASE_DEPTH") {
            if (!parseInt(w[1].text, &baseDepth) || baseDepth < 0 || baseDepth > 10)
                return fail(line, "BASE_DEPTH needs a depth from 0 to 10, not \"%s\"", w[1].text);
            return 1;
        }
        if (k == "MUSIC") {
            if (!parseInt(w[1].text, &music) || music < 0 || music > 5)
                return fail(line, "MUSIC needs a track from 0 to 5, not \"%s\"", w[1].text);
            return 1;
        }
        if (k == "SPECIAL") {
            special = w[1].text;
            if (special.size() > 200)
                return fail(line, "the special file name is too long");
            return 1;
        }
        if (k == "BEHIND") {
            if (w[1].text.size() != 1)
                return fail(line, "BEHIND needs one grid character");
            behind = w[1].text[0];
            return 1;
        }
        // FILL CHAR back|rock|floor|platform|void [TILE [DEPTH]]
        if (w.size() < 3 || w.size() > 5 || w[1].text.size() != 1)
            return fail(line, "FILL needs a character, a kind and a texture: FILL c back wall.til [depth]");
        FILL f;
        const std::string& kind = w[2].text;
        if (!fillKind(kind, &f.kind))
            return fail(line, "unknown fill \"%s\" (back, rock, floor, platform, void)", kind);
        if (f.kind != Void) {
            if (w.size() < 4)
                return fail(line, "FILL %s needs a texture", kind);
            f.tile = w[3].text;
            if (!owner.tile(f.tile))
                return fail(line, "unknown tile \"%s\"", f.tile);
        }
        if (w.size() == 5 && (!parseInt(w[4].text, &f.depth) || f.depth < -10 || f.depth > 10))
            return fail(line, "the depth of a fill is a number from -10 to 10, not \"%s\"", w[4].text);
        char c = w[1].text[0];
        if (puts.count(c))
            return fail(line, "'%s' already places a thing", w[1].text);
        fills[c] = f;
        return 1;
    }

    // Reads "[OPTION=VALUE...] KIND ARGS" from word `first` on.
    int thing(const std::string& text, const std::vector<WORD>& w, std::size_t first, THING* t)
    {
        t->line = line;
        std::size_t i = first;
        for (; i < w.size() && w[i].text.find('=') != std::string::npos; i++) {
            std::string key = w[i].text.substr(0, w[i].text.find('='));
            std::string value = w[i].text.substr(key.size() + 1);
            int ok = 1;
            if (key == "name")
                t->name = value, ok = !value.empty() && value.size() < 128;
            else if (key == "tile")
                t->tile = value, ok = owner.tile(value) != nullptr;
            else if (key == "depth")
                ok = parseInt(value, &t->depth);
            else if (key == "dx")
                ok = parseInt(value, &t->dx);
            else if (key == "dy")
                ok = parseInt(value, &t->dy);
            else if (key == "speed")
                ok = t->hasSpeed = parseFloat(value, &t->speed);
            else if (key == "frame")
                ok = t->hasFrame = parseFloat(value, &t->frame);
            else if (key == "align") {
                ok = value == "top" || value == "bottom";
                t->alignTop = value == "top";
            }
            else
                return fail(line, "unknown option \"%s\"", key);
            if (!ok)
                return fail(line, key == "tile" ? "unknown tile \"%s\"" : "bad value for %s: \"%s\"",
                            key == "tile" ? value : key, value);
        }
        if (i >= w.size())
            return fail(line, "nothing to place");
        t->kind = w[i].text;
        if (t->kind == "text" || t->kind == "sheet") {
            std::size_t from = t->kind == "text" ? i + 1 : i;
            if (t->kind == "text") {
                if (i + 1 >= w.size())
                    return fail(line, "a sign needs a colour and a message");
                t->args.push_back(w[i + 1].text);
            }
            t->message = restAfter(text, w[from].end);
            if (t->message.empty())
                return fail(line, "%s needs a message", t->kind);
            return 1;
        }
        for (std::size_t j = i + 1; j < w.size(); j++)
            t->args.push_back(w[j].text);
        return 1;
    }

    int read(const std::string& text)
    {
        std::istringstream in(text);
        std::string raw;
        bool inGrid = false, gridDone = false;
        line = 0;
        while (std::getline(in, raw)) {
            line++;
            if (!raw.empty() && raw.back() == '\r')
                raw.pop_back();
            if (raw.size() > std::size_t(maxLine))
                return fail(line, "line longer than %s characters", std::to_string(maxLine));
            if (inGrid) {
                if (raw == "END") {
                    inGrid = false;
                    gridDone = true;
                    if (grid.empty())
                        return fail(line, "the grid is empty");
                    continue;
                }
                if (!grid.empty() && raw.size() != grid[0].size())
                    return fail(line, "ragged grid: this line has %s characters, the first had %s",
                                std::to_string(raw.size()), std::to_string(grid[0].size()));
                if (raw.empty())
                    return fail(line, "empty grid line (void is ':')");
                if (raw.size() > std::size_t(maxColumns) || grid.size() >= std::size_t(maxRows))
                    return fail(line, "the grid is larger than %s characters a side", std::to_string(maxRows));
                grid.push_back(raw);
                gridLines.push_back(line);
                continue;
            }
            std::vector<WORD> w = splitWords(raw);
            if (w.empty() || w[0].text[0] == '#')
                continue;
            const std::string& k = w[0].text;
            if (k == "GRID") {
                if (gridDone)
                    return fail(line, "a second grid");
                inGrid = true;
            } else if (k == "PUT") {
                if (w.size() < 3 || w[1].text.size() != 1)
                    return fail(line, "PUT needs a character and a thing: PUT c door metro3.lvl entry");
                char c = w[1].text[0];
                if (fills.count(c) || c == ' ')
                    return fail(line, "'%s' is a grid fill character", w[1].text);
                if (puts.count(c))
                    return fail(line, "'%s' already places a thing", w[1].text);
                THING t;
                if (!thing(raw, w, 2, &t))
                    return 0;
                puts[c] = t;
            } else if (k == "AT") {
                int x, y;
                if (w.size() < 4 || !parseInt(w[1].text, &x) || !parseInt(w[2].text, &y))
                    return fail(line, "AT needs a position and a thing: AT 40 16 bonus gold");
                THING t;
                if (!thing(raw, w, 3, &t))
                    return 0;
                ats.push_back({{x, y}, t});
            } else {
                static const char* keywords[] = {"ZONE", "BASE_COLOR", "BASE_DEPTH", "MEMORIES", "DIRT", "NOISE",
                                                 "REVEAL", "CHECKPOINT", "MUSIC", "SPECIAL", "BEHIND", "FILL"};
                bool known = false;
                for (const char* kw : keywords)
                    known = known || k == kw;
                if (!known)
                    return fail(line, "unknown keyword \"%s\"", k);
                if (!header(w))
                    return 0;
            }
        }
        if (inGrid)
            return fail(line, "the grid has no END line");
        if (!gridDone)
            return fail(line, "no GRID");
        for (std::size_t r = 0; r < grid.size(); r++)
            for (std::size_t c = 0; c < grid[r].size(); c++)
                if (!fills.count(grid[r][c]) && !puts.count(grid[r][c]))
                    return fail(gridLines[r], "unknown grid character '%s' in column %s", std::string(1, grid[r][c]),
                                std::to_string(c + 1));
        for (const auto& p : puts) {
            bool used = false;
            for (const std::string& row : grid)
                used = used || row.find(p.first) != std::string::npos;
            if (!used)
                return fail(p.second.line, "'%s' places a thing but is not in the grid", std::string(1, p.first));
        }
        return 1;
    }

    // ---- Placing ----------------------------------------------------------

    std::string autoName(const std::string& base)
    {
        int n = ++autoNames[base];
        char buffer[128];
        boundedFormat(buffer, sizeof buffer, "%s%02d", base.c_str(), n);
        return buffer;
    }

    int wantArgs(const THING& t, std::size_t n, const char* usage)
    {
        if (t.args.size() != n)
            return fail(t.line, "%s: expected \"%s\"", t.kind, usage);
        return 1;
    }

    int numbers(const THING& t, std::size_t from, std::size_t count, int* out)
    {
        for (std::size_t i = 0; i < count; i++)
            if (!parseInt(t.args[from + i], &out[i]))
                return fail(t.line, "%s: \"%s\" is not a whole number", t.kind, t.args[from + i]);
        return 1;
    }

    std::string levelName(const std::string& s) const
    {
        return s.size() > 4 && s.compare(s.size() - 4, 4, ".lvl") == 0 ? s : s + ".lvl";
    }

    // Fills the record's tile, name and text from a thing; x and y are the
    // placing cell's top-left pixel (or the exact position for AT).
    int build(const THING& t, int x, int y, bool exact, RECORD* r)
    {
        r->line = t.line;
        std::string tileName, text, base = "element";
        const std::string& k = t.kind;
        const std::vector<std::string>& a = t.args;
        if (k == "door" || k == "locked_door") {
            bool locked = k == "locked_door";
            if (a.empty())
                return fail(t.line, "%s without destination", k);
            if (a.size() < 2)
                return fail(t.line, "%s without target element", k);
            if (!wantArgs(t, locked ? 3 : 2, locked ? "locked_door ROOM TARGET KEYS" : "door ROOM TARGET"))
                return 0;
            if (a[0].size() > 120 || a[1].size() > 120)
                return fail(t.line, "%s: destination or target longer than 120 characters", k);
            text = kindText(locked ? KindLockedKeyDoor : KindDoor, levelName(a[0]) + " " + a[1]);
            if (locked) {
                int keys;
                if (!numbers(t, 2, 1, &keys))
                    return 0;
                if (keys < 1)
                    return fail(t.line, "a locked door needs at least one key");
                text += " " + std::to_string(keys);
            }
            tileName = locked ? "door_locked.til" : zone->door;
            base = "door";
        } else if (k == "ladder") {
            if (!wantArgs(t, 0, "ladder"))
                return 0;
            text = kindText(KindLadder), tileName = zone->ladder, base = "ladder";
        } else if (k == "light") {
            if (a.empty())
                return fail(t.line, "light needs a kind: ambient, omni, spot, directional or fire");
            static const struct {
                int kind;
                const char* usage;
            } forms[] = {{KindLightAmbient, "light ambient COLOUR INTENSITY"},
                         {KindLightOmni, "light omni COLOUR INTENSITY DX DY RADIUS"},
                         {KindLightSpot, "light spot COLOUR INTENSITY DX DY RADIUS APERTURE DIRECTION"},
                         {KindLightDirectional, "light directional COLOUR INTENSITY DIRX DIRY"},
                         {KindLightFire, "light fire"}};
            int form = -1;
            for (int i = 0; i < 5; i++)
                if ("light " + a[0] == kindWord(forms[i].kind).words)
                    form = i;
            if (form < 0)
                return fail(t.line, "unknown light \"%s\" (ambient, omni, spot, directional, fire)", a[0]);
            if (form == 4) {
                if (!wantArgs(t, 1, forms[4].usage))
                    return 0;
                text = kindText(KindLightFire), tileName = "fire01.anm";
            } else {
                // The colour, then the intensity and the whole numbers.
                std::size_t numberCount = std::strlen(kindWord(forms[form].kind).arguments) - 1;
                if (!wantArgs(t, 2 + numberCount, forms[form].usage))
                    return 0;
                unsigned colour;
                float intensity;
                if (!parseColour(a[1], &colour))
                    return fail(t.line, "light: \"%s\" is not a colour such as FFFFCC66", a[1]);
                if (!parseFloat(a[2], &intensity) || intensity < 0.0f)
                    return fail(t.line, "light: \"%s\" is not an intensity", a[2]);
                int n[6];
                if (!numbers(t, 3, numberCount - 1, n))
                    return 0;
                text = kindText(forms[form].kind, hex8(colour) + " " + a[2]);
                for (std::size_t i = 3; i < a.size(); i++)
                    text += " " + a[i];
                tileName = form == 1 ? "lamp_wall.til" : form == 2 ? "lamp_ceiling.til" : "void.til";
            }
            base = "light";
        } else if (k == "phospho") {
            if (!wantArgs(t, 0, "phospho tile=phospho_X.til"))
                return 0;
            text = kindText(KindPhospho), tileName = "phospho_arrow_right.til", base = "phospho";
        } else if (k == "text") {
            unsigned colour;
            if (!parseColour(a[0], &colour))
                return fail(t.line, "text: \"%s\" is not a colour such as FFFFFFFF", a[0]);
            text = kindText(KindText, hex8(colour) + " " + t.message);
            tileName = "sign_wood.til", base = "sign";
        } else if (k == "switch") {
            int input;
            if (!wantArgs(t, 2, "switch BOX INPUT") || !numbers(t, 1, 1, &input))
                return 0;
            if (input < 0 || input > 7)
                return fail(t.line, "switch: the input of a box is 0 to 7, not %s", a[1]);
            text = kindText(KindSwitch, a[0] + " " + a[1]), tileName = "switch01.anm", base = "switch";
        } else if (k == "switch_light") {
            if (!wantArgs(t, 1, "switch_light LIGHT_NAME"))
                return 0;
            text = kindText(KindSwitchLight, a[0]), tileName = "switch_light.anm", base = "switch";
        } else if (k == "switch_water") {
            if (!wantArgs(t, 0, "switch_water"))
                return 0;
            text = kindText(KindSwitchWater), tileName = "switch_water.anm", base = "switch";
        } else if (k == "box") {
            if (!buildBox(t))
                return 0;
            // The box's picture is only painted on the wall.
            text = kindText(KindGraph), tileName = "electric_box.til", base = "box";
        } else if (k == "water") {
            if (!wantArgs(t, 0, "water"))
                return 0;
            text = kindText(KindWater), tileName = "waterfall.anm", base = "water";
        } else if (k == "waterfill" || k == "water_switched") {
            bool filling = k == "waterfill";
            int n[2] = {0, 0};
            if (!wantArgs(t, filling ? 1 : 2, filling ? "waterfill SURFACE_Y" : "water_switched TOP_Y BOTTOM_Y") ||
                !numbers(t, 0, filling ? 1 : 2, n))
                return 0;
            if (!filling && n[0] > n[1])
                return fail(t.line, "water_switched: the top %s lies below the bottom %s", a[0], a[1]);
            r->water = filling ? 1 : 2, r->waterA = n[0], r->waterB = n[1];
            tileName = "void.til", base = "water";
        } else if (k == "cloud") {
            int steps;
            if (!wantArgs(t, 1, "cloud STEPS") || !numbers(t, 0, 1, &steps))
                return 0;
            if (steps < 1 || steps > 32)
                return fail(t.line, "cloud: steps are 1 to 32, not %s", a[0]);
            text = kindText(KindCloud, a[0]), tileName = "vent_gas.til", base = "cloud";
        } else if (k == "ennemy") {
            // The picture of each enemy, by its enemy word.
            static const char* pictures[ennemyWordCount] = {"toxic01.anm", "elect01.anm", "pick01.til",
                                                            "block_unstable.til"};
            if (!wantArgs(t, 1, "ennemy toxic|electric|pick|unstable"))
                return 0;
            int ennemy = ennemyWordOf(a[0].c_str());
            if (ennemy == EnnemyNone)
                return fail(t.line, "unknown enemy \"%s\" (toxic, electric, pick, unstable)", a[0]);
            text = kindText(KindEnnemy, a[0]), tileName = pictures[ennemy], base = "ennemy";
        } else if (k == "pushable" || k == "invisible" || k == "dog" || k == "background" || k == "decor" ||
                   k == "graph") {
            if (!wantArgs(t, 0, k.c_str()))
                return 0;
            text = k;
            tileName = k == "pushable" ? "crate.til" : k == "invisible" ? "invisible_block.til"
                       : k == "dog"                                     ? "dog_idle.anm"
                                                                        : "";
            if (tileName.empty() && t.tile.empty())
                return fail(t.line, "%s needs tile=", k);
            base = k == "pushable" ? "block" : k;
        } else if (k == "move") {
            int d[2];
            if (!wantArgs(t, 2, "move DX DY") || !numbers(t, 0, 2, d))
                return 0;
            r->waterA = d[0], r->waterB = d[1];
            text = kindText(KindMove), tileName = "lift.til", base = "mover";
        } else if (k == "bonus") {
            return buildBonus(t, x, y, exact, r);
        } else if (k == "sheet") {
            r->bonus = true;
            text = std::string(bonusWordName(BonusWordSheet)) + " " + t.message;
            tileName = "flyer01.til", base = "sheet";
        } else {
            return fail(t.line, "unknown thing \"%s\"", k);
        }
        return finish(t, tileName, text, base, x, y, exact, r);
    }

    int buildBox(const THING& t)
    {
        if (!wantArgs(t, 4, "box NAME TARGET STATE SOLUTION (STATE and SOLUTION: eight digits 0 or 1)"))
            return 0;
        BOX b;
        b.name = t.args[0], b.target = t.args[1];
        for (int k = 0; k < 2; k++) {
            const std::string& s = t.args[2 + k];
            if (s.size() != 8 || s.find_first_not_of("01") != std::string::npos)
                return fail(t.line, "box: \"%s\" is not eight digits 0 or 1", s);
            for (int i = 0; i < 8; i++)
                (k ? b.solution : b.state)[i] = s[i] - '0';
        }
        if (b.name.size() > 200 || b.target.size() > 200)
            return fail(t.line, "box: name or target too long");
        boxes.push_back(b);
        return 1;
    }

    int buildBonus(const THING& t, int x, int y, bool exact, RECORD* r)
    {
        if (t.args.empty())
            return fail(t.line, "bonus needs a kind");
        const std::string& b = t.args[0];
        // The picture of each bonus written by its word alone.
        static const struct {
            int word;
            const char* picture;
        } plain[] = {{BonusWordGold, "gold_coin01.anm"},      {BonusWordDiamond, "diamond01.anm"},
                     {BonusWordEye, "eye.til"},               {BonusWordLife, "heart2.til"},
                     {BonusWordRandom, "gold_coin01.anm"},    {BonusWordCandle, "candle02.til"},
                     {BonusWordElectric, "torchlight2.til"}, {BonusWordAceto, "aceto.til"}};
        int word = bonusWordOf(b.c_str());
        std::string tileName, text, base;
        for (auto& p : plain)
            if (word == p.word)
                tileName = p.picture, text = b, base = b;
        if (!tileName.empty()) {
            if (t.args.size() != 1)
                return fail(t.line, "bonus %s takes no value", b);
        } else if (b == "key" || b == "skull" || b == "map") {
            if (t.args.size() != 1)
                return fail(t.line, "bonus %s takes no value", b);
            tileName = b == "key" ? "key.til" : b == "skull" ? "skull01.til" : "flyer02.til";
            text = bonusWordName(BonusWordOneTime);
        } else if (word == BonusWordMovie) {
            int n;
            if (t.args.size() != 2 || !parseInt(t.args[1], &n) || n < 1 || n > 10)
                return fail(t.line, "bonus movie needs a scene number from 1 to 10");
            tileName = "invisible_block.til", text = b + " " + t.args[1], base = b;
        } else if (word == BonusWordSheet) {
            return fail(t.line, "a sheet is written \"sheet MESSAGE\", not as a bonus kind");
        } else {
            return fail(t.line, "unknown bonus \"%s\"", b);
        }
        r->bonus = true;
        if (readBonusLine(text.c_str()).word == BonusWordOneTime) {
            // A one-time bonus is remembered by name for the whole game and
            // the world map reads a key's name in 16 characters.
            std::string name = t.name.empty() ? b + "_" + owner.room : t.name;
            if (t.name.empty() && autoNames[name]++ > 0)
                name += std::to_string(autoNames[name]);
            if (name.compare(0, b.size(), b) != 0)
                return fail(t.line, "a %s's name must begin with \"%s\"", b, b);
            if (b == "key" && name.size() > 16)
                return fail(t.line, "key name \"%s\" is longer than 16 characters; give name=", name);
            THING named = t;
            named.name = name;
            return finish(named, tileName, text, b, x, y, exact, r);
        }
        return finish(t, tileName, text, base, x, y, exact, r);
    }

    int finish(const THING& t, const std::string& defaultTile, const std::string& text, const std::string& base,
               int x, int y, bool exact, RECORD* r)
    {
        r->tile = t.tile.empty() ? defaultTile : t.tile;
        const Tile* tl = owner.tile(r->tile);
        if (!tl)
            return fail(t.line, "unknown tile \"%s\"", r->tile);
        r->name = t.name.empty() ? autoName(base) : t.name;
        r->text = text;
        if (r->text.size() > 250)
            return fail(t.line, "the kind line is longer than 250 characters");
        r->depth = t.depth;
        r->speed = t.hasSpeed ? t.speed : (tl->frameCount > 1 ? 1.0f : 0.0f);
        r->frame = t.hasFrame ? t.frame : 0.0f;
        if (exact) {
            r->x = x + t.dx, r->y = y + t.dy;
        } else {
            r->x = x + t.dx;
            r->y = (t.alignTop ? y : y + cell - tl->height) + t.dy;
        }
        if (!withinLevelLimit(r->x) || !withinLevelLimit(r->y))
            return fail(t.line, "position %s lies beyond the level limit", std::to_string(r->x) + " " + std::to_string(r->y));
        if (t.kind == "move") {
            if (!withinLevelLimit(r->x + r->waterA) || !withinLevelLimit(r->y + r->waterB))
                return fail(t.line, "move: the target lies beyond the level limit");
            r->text = kindText(KindMove, std::to_string(r->x + r->waterA) + " " + std::to_string(r->y + r->waterB));
            r->waterA = r->waterB = 0;
        }
        return 1;
    }

    // Places every thing: legend characters in grid order (a vertical run
    // of a ladder character is one ladder), then the AT lines.
    int place()
    {
        int rows = int(grid.size()), columns = int(grid[0].size());
        for (int cy = 0; cy < rows; cy++)
            for (int cx = 0; cx < columns; cx++) {
                auto it = puts.find(grid[cy][cx]);
                if (it == puts.end())
                    continue;
                const THING& t = it->second;
                if (t.kind == "ladder") {
                    if (cy > 0 && grid[cy - 1][cx] == it->first)
                        continue;
                    int end = cy;
                    while (end + 1 < rows && grid[end + 1][cx] == it->first)
                        end++;
                    if (!ladder(t, cx, cy, end))
                        return 0;
                    continue;
                }
                RECORD r;
                if (!build(t, cx * cell, cy * cell, false, &r))
                    return 0;
                records.push_back(r);
            }
        for (auto& at : ats) {
            if (at.second.kind == "ladder")
                return fail(at.second.line, "ladders are placed in the grid");
            RECORD r;
            if (!build(at.second, at.first.first, at.first.second, true, &r))
                return 0;
            if (r.x < 0 || r.y < 0 || r.x >= columns * cell || r.y >= rows * cell)
                return fail(r.line, "position %s lies outside the room", std::to_string(r.x) + " " + std::to_string(r.y));
            records.push_back(r);
        }
        return 1;
    }

    // A ladder from the top of row `top` to the bottom of row `bottom`:
    // its pictures are stacked from the top, the last one overlapping so
    // that none hangs below the run.
    int ladder(const THING& t, int cx, int top, int bottom)
    {
        RECORD proto;
        if (!build(t, cx * cell, top * cell, false, &proto))
            return 0;
        const Tile* tl = owner.tile(proto.tile);
        int h = tl->height, y0 = top * cell, y1 = (bottom + 1) * cell;
        int x = cx * cell + cell / 2 - tl->width / 2 + t.dx;
        for (int y = y0;; y += h) {
            RECORD r = proto;
            r.x = x;
            r.y = std::max(y0, std::min(y, y1 - h));
            if (y != y0)
                r.name = autoName("ladder");
            records.push_back(r);
            if (y + h >= y1)
                break;
        }
        return 1;
    }

    // ---- Painting ---------------------------------------------------------

    const FILL& fillOf(int cx, int cy) const
    {
        static const FILL none;
        if (cy < 0 || cy >= int(grid.size()) || cx < 0 || cx >= int(grid[0].size()))
            return none;
        auto it = fills.find(grid[cy][cx]);
        return it == fills.end() ? behindOf(cx, cy) : it->second;
    }

    bool solid(int cx, int cy) const
    {
        if (cy < 0 || cy >= int(grid.size()) || cx < 0 || cx >= int(grid[0].size()))
            return true;
        FillKind k = fillOf(cx, cy).kind;
        return k == Rock || k == Floor;
    }

    // What shows behind a cell that is not a wall itself: the nearest wall
    // or void of its row, to the left first, else the BEHIND character.
    const FILL& behindOf(int cx, int cy) const
    {
        const std::string& row = grid[cy];
        for (int d = 1; d < int(row.size()); d++)
            for (int s = -1; s <= 1; s += 2) {
                int x = cx + s * d;
                if (x < 0 || x >= int(row.size()))
                    continue;
                auto it = fills.find(row[x]);
                if (it != fills.end() && (it->second.kind == Back || it->second.kind == Void))
                    return it->second;
            }
        static const FILL none;
        auto it = fills.find(behind);
        return it == fills.end() ? none : it->second;
    }

    INK texel(const std::string& name, int x, int y, int addDepth, bool wrapY)
    {
        INK ink;
        const Tile* t = owner.tile(name);
        if (!t || t->width <= 0 || t->height <= 0)
            return ink;
        int tx = ((x % t->width) + t->width) % t->width;
        int ty = wrapY ? ((y % t->height) + t->height) % t->height : std::max(0, std::min(y, t->height - 1));
        const TILE_PIXEL* p = t->pixelAt(0, tx, ty);
        if (!p || unsigned(p->colour) >> 24 == 0)
            return ink;
        ink.colour = unsigned(p->colour);
        ink.depth = std::max(0, std::min(10, p->depth + addDepth));
        ink.glow = p->incandescence;
        return ink;
    }

    INK back(const FILL& f, int px, int py)
    {
        return f.kind == Back ? texel(f.tile, px, py, f.depth, true) : INK();
    }

    INK pixel(int px, int py)
    {
        int cx = px / cell, cy = py / cell;
        const FILL& f = fillOf(cx, cy);
        switch (f.kind) {
        case Void:
            return INK();
        case Back:
            return back(f, px, py);
        case Platform: {
            INK ink = texel(f.tile, px, py - cy * cell, f.depth, false);
            return ink.colour ? ink : back(behindOf(cx, cy), px, py);
        }
        case Floor:
        case Rock:
            break;
        }
        // Distance in pixels to the open cell nearest on each side, or -1.
        int dist[4] = {-1, -1, -1, -1}; // top, bottom, left, right
        int ox[4] = {0, 0, -1, 1}, oy[4] = {-1, 1, 0, 0};
        for (int s = 0; s < 4; s++)
            for (int k = 1; k <= 2 && dist[s] < 0; k++) {
                int nx = cx + ox[s] * k, ny = cy + oy[s] * k;
                if (nx < 0 || ny < 0 || nx >= int(grid[0].size()) || ny >= int(grid.size()))
                    break;
                if (solid(nx, ny))
                    continue;
                dist[s] = s == 0 ? py - (ny + 1) * cell : s == 1 ? ny * cell - 1 - py
                          : s == 2 ? px - (nx + 1) * cell : nx * cell - 1 - px;
            }
        if (f.kind == Floor) {
            INK ink = texel(f.tile, px, dist[0] < 0 ? 1000 : dist[0], f.depth, false);
            return ink.colour ? ink : back(behindOf(cx, cy), px, py);
        }
        static const char* faces[4] = {"rock_top.til", "rock_bottom.til", "rock_left.til", "rock_right.til"};
        int side = -1;
        for (int s = 0; s < 4; s++)
            if (dist[s] >= 0 && dist[s] < 16 && owner.tile(faces[s]) && (side < 0 || dist[s] < dist[side]))
                side = s;
        if (side < 0)
            return texel(f.tile, px, py, f.depth, true);
        int d = dist[side];
        INK ink = side == 0   ? texel(faces[0], px, d, 0, false)
                  : side == 1 ? texel(faces[1], px, 15 - d, 0, false)
                  : side == 2 ? texel(faces[2], d, py, 0, true)
                              : texel(faces[3], 15 - d, py, 0, true);
        if (ink.colour)
            return ink;
        const FILL& open = fillOf(cx + ox[side], cy + oy[side]);
        return back(open.kind == Back || open.kind == Void ? open : behindOf(cx + ox[side], cy + oy[side]), px, py);
    }

    void paint()
    {
        int w = int(grid[0].size()) * cell, h = int(grid.size()) * cell;
        owner.colour.resize(w, h);
        owner.depth.resize(w, h);
        owner.glow.resize(w, h);
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++) {
                INK ink = pixel(x, y);
                owner.colour.set(x, y, ink.colour);
                unsigned d = unsigned(ink.depth);
                unsigned g = unsigned(std::max(0.0f, std::min(1.0f, ink.glow)) * 255.0f);
                owner.depth.set(x, y, 0xFF000000u | d << 16 | d << 8 | d);
                owner.glow.set(x, y, 0xFF000000u | g << 16 | g << 8 | g);
            }
    }

    // ---- Warnings ---------------------------------------------------------

    // The game bakes a decor's depth wherever its picture is opaque: over
    // the ground the player walks on, a depth other than solid rock's opens
    // a hole he sinks into. Warns once per decor, at its first such pixel.
    void warnOfOpenedFloors()
    {
        for (const RECORD& r : records) {
            if (r.text != "decor")
                continue;
            int x = 0, y = 0;
            if (opensFloor(r, *owner.tile(r.tile), &x, &y))
                owner.warnings.push_back(file + ":" + std::to_string(r.line) + ": warning: the decor " + r.name +
                                         " opens a hole in the floor at " + std::to_string(x) + " " +
                                         std::to_string(y));
        }
    }

    bool opensFloor(const RECORD& r, const Tile& t, int* holeX, int* holeY) const
    {
        for (int j = 0; j < t.height; j++)
            for (int i = 0; i < t.width; i++) {
                const TILE_PIXEL* p = t.pixelAt(0, i, j);
                bool baked = p && unsigned(p->colour) >> 24 >= 128;
                if (baked && r.depth + p->depth != solidDepth && walkedOn(r.x + i, r.y + j)) {
                    *holeX = r.x + i, *holeY = r.y + j;
                    return true;
                }
            }
        return false;
    }

    // A solid pixel of the painted room with open space less than a cell
    // above it: the top of a floor, where the player's feet rest.
    bool walkedOn(int x, int y) const
    {
        if (!solidPixel(x, y))
            return false;
        for (int k = 1; k <= cell && y - k >= 0; k++)
            if (!solidPixel(x, y - k))
                return true;
        return false;
    }

    bool solidPixel(int x, int y) const
    {
        const PngImage& d = owner.depth;
        return x >= 0 && y >= 0 && x < d.width && y < d.height && int(d.get(x, y) & 0xFFu) == solidDepth;
    }

    // ---- Writing ----------------------------------------------------------

    void writeLevel()
    {
        std::ostringstream out;
        out << "BASE_COLOR " << baseColor << "\n";
        out << "BASE_DEPTH " << baseDepth << "\n";
        if (memories)
            out << "MEMORIES\n";
        if (dirt)
            out << "DIRT\n";
        if (noise)
            out << "NOISE\n";
        if (reveal)
            out << "REVEAL\n";
        if (checkpoint)
            out << "INFO checkpoint\n";
        if (music >= 0)
            out << "MUSIC " << music << "\n";
        if (!special.empty())
            out << "SPECIAL " << special << "\n";

        // The map's top row is one above the highest baked picture.
        int top = 0;
        for (const RECORD& r : records) {
            const Tile* t = owner.tile(r.tile);
            if (!r.bonus && (t->frameCount == 1 || r.text == "background"))
                top = std::min(top, r.y);
        }
        int originY = top - 1;

        char number[128];
        auto element = [&](const RECORD& r) {
            out << (r.bonus ? "BONUS\n  " : "ELEMENT\n") << r.name << "\n";
            out << "  " << r.tile << "\n";
            if (r.bonus)
                out << " 0 0\n";
            else {
                boundedFormat(number, sizeof number, " %g %g\n", double(r.speed), double(r.frame));
                out << number;
            }
            out << " " << r.x << " " << r.y << " " << r.depth << "\n";
            std::string text = r.text;
            if (r.water == 1)
                text = kindText(KindWaterfill, std::to_string(r.waterA - originY + 1));
            else if (r.water == 2)
                text = kindText(KindWaterSwitched, std::to_string(r.waterA - originY) + " " +
                                                       std::to_string(r.waterA - originY) + " " +
                                                       std::to_string(r.waterB - originY));
            out << "  " << text << "\n";
        };
        RECORD room;
        room.name = "room";
        room.tile = "room_" + owner.room + ".til";
        room.text = "room";
        element(room);
        for (const RECORD& r : records)
            if (!r.bonus)
                element(r);
        for (const RECORD& r : records)
            if (r.bonus)
                element(r);
        for (const BOX& b : boxes) {
            out << "ELECTRIC_BOX\n" << b.name << "\n";
            for (int k = 0; k < 2; k++) {
                for (int i = 0; i < 8; i++)
                    out << (i ? " " : "") << (k ? b.solution[i] : b.state[i]);
                out << "\n";
            }
            out << b.target << "\n";
        }
        owner.level = out.str();
    }
};

RoomCompiler::RoomCompiler() = default;
RoomCompiler::~RoomCompiler() = default;

int RoomCompiler::loadArt(const char* manifest)
{
    std::FILE* in = std::fopen(manifest, "r");
    if (!in) {
        boundedFormat(error, sizeof error, "%s: cannot open the tile manifest", manifest);
        return 0;
    }
    std::string folder = manifest;
    std::size_t slash = folder.find_last_of('/');
    folder = slash == std::string::npos ? "" : folder.substr(0, slash);
    std::vector<char> buffer(TileManifest::maxLine + 2);
    int number = 0, ok = 1;
    while (ok && std::fgets(buffer.data(), int(buffer.size()), in)) {
        number++;
        std::unique_ptr<TILE_SOURCE> source(new TILE_SOURCE());
        char reason[256];
        int kind = TileManifest::parseLine(buffer.data(), folder, source.get(), reason, sizeof reason);
        if (kind == 0) {
            boundedFormat(error, sizeof error, "%s:%d: %s", manifest, number, reason);
            ok = 0;
        } else if (kind == 1 && !sources.count(source->name)) {
            std::string name = source->name;
            sources[name] = std::move(source);
        }
    }
    std::fclose(in);
    return ok;
}

Tile* RoomCompiler::addTile(const char* name, int width, int height, int frames)
{
    std::unique_ptr<Tile> t(new Tile());
    if (!t->create(width, height, frames, 0))
        return nullptr;
    boundedCopy(t->name, sizeof t->name, name);
    Tile* raw = t.get();
    tiles[name] = std::move(t);
    return raw;
}

const Tile* RoomCompiler::tile(const std::string& name)
{
    auto it = tiles.find(name);
    if (it != tiles.end())
        return it->second.get();
    auto source = sources.find(name);
    if (source == sources.end())
        return nullptr;
    std::unique_ptr<Tile> t(new Tile());
    char reason[256];
    if (!TileManifest::buildTile(*source->second, t.get(), reason, sizeof reason))
        return nullptr;
    Tile* raw = t.get();
    tiles[name] = std::move(t);
    return raw;
}

int RoomCompiler::compileFile(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        boundedFormat(error, sizeof error, "%s: cannot open the room source", path);
        return 0;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return compile(path, text.str());
}

int RoomCompiler::compile(const char* file, const std::string& text)
{
    error[0] = '\0';
    level.clear();
    warnings.clear();
    room = stemOf(file);
    Impl impl(*this);
    impl.file = file;
    impl.setZone(&zones[0]);
    if (room.empty() || room.size() > 100 || room.find_first_of(" \t") != std::string::npos)
        return impl.fail(0, "the room name \"%s\" must be one word", room);
    if (!impl.read(text) || !impl.place())
        return 0;
    impl.paint();
    impl.warnOfOpenedFloors();
    impl.writeLevel();
    return 1;
}

int RoomCompiler::write(const char* levelFile, const char* pictureFolder) const
{
    ReplacingFile lvl(levelFile, "w");
    if (!lvl.out || std::fputs(level.c_str(), lvl.out) < 0 || !lvl.commit()) {
        boundedFormat(error, sizeof error, "%s: cannot write the level", levelFile);
        return 0;
    }
    std::string base = std::string(pictureFolder) + "/room_" + room;
    const PngImage* images[3] = {&colour, &depth, &glow};
    const char* suffixes[3] = {".png", ".depth.png", ".glow.png"};
    for (int i = 0; i < 3; i++)
        if (!images[i]->save((base + suffixes[i]).c_str())) {
            boundedFormat(error, sizeof error, "%s%s: %s", base.c_str(), suffixes[i], images[i]->error);
            return 0;
        }
    std::string stem = "room_" + room;
    ReplacingFile manifest((base + ".manifest").c_str(), "w");
    int written = manifest.out &&
                  std::fprintf(manifest.out, "%s.til %s.png frame=%d depth=%s.depth.png glow=%s.glow.png\n",
                               stem.c_str(), stem.c_str(), colour.width, stem.c_str(), stem.c_str()) > 0;
    if (!manifest.commit(written)) {
        boundedFormat(error, sizeof error, "%s.manifest: cannot write the manifest", base.c_str());
        return 0;
    }
    return 1;
}
