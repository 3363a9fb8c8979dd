// Reading a room source: its header lines, its grid and its legend.

#include "authoring/RoomCompilerPasses.h"

using namespace roomsource;

int RoomCompiler::Impl::fail(int at, const char* format, const std::string& a, const std::string& b)
{
    char reason[512];
    boundedFormat(reason, sizeof reason, format, a.c_str(), b.c_str());
    boundedFormat(owner.error, sizeof owner.error, "%s:%d: %s", file.c_str(), at, reason);
    return 0;
}

void RoomCompiler::Impl::setZone(const ZONE* z)
{
    zone = z;
    fills['#'] = {Rock, "rock01.til", 0};
    fills['.'] = {Back, z->back, 0};
    fills[','] = {Back, z->back2, 0};
    fills['='] = {Floor, z->floor, 0};
    fills['-'] = {Platform, z->platform, 0};
    fills[':'] = {Void, "", 0};
}

int RoomCompiler::Impl::header(const std::vector<WORD>& w)
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

int RoomCompiler::Impl::thing(const std::string& text, const std::vector<WORD>& w, std::size_t first, THING* t)
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

int RoomCompiler::Impl::read(const std::string& text)
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
