// Building the level records of the things the legend places.

#include "authoring/RoomCompilerPasses.h"

using namespace roomsource;

std::string RoomCompiler::Impl::autoName(const std::string& base)
{
    int n = ++autoNames[base];
    char buffer[128];
    boundedFormat(buffer, sizeof buffer, "%s%02d", base.c_str(), n);
    return buffer;
}

int RoomCompiler::Impl::wantArgs(const THING& t, std::size_t n, const char* usage)
{
    if (t.args.size() != n)
        return fail(t.line, "%s: expected \"%s\"", t.kind, usage);
    return 1;
}

int RoomCompiler::Impl::numbers(const THING& t, std::size_t from, std::size_t count, int* out)
{
    for (std::size_t i = 0; i < count; i++)
        if (!parseInt(t.args[from + i], &out[i]))
            return fail(t.line, "%s: \"%s\" is not a whole number", t.kind, t.args[from + i]);
    return 1;
}

std::string RoomCompiler::Impl::levelName(const std::string& s) const
{
    return s.size() > 4 && s.compare(s.size() - 4, 4, ".lvl") == 0 ? s : s + ".lvl";
}

int RoomCompiler::Impl::buildDoor(const THING& t, std::string* text, std::string* tileName)
{
    const std::string& k = t.kind;
    const std::vector<std::string>& a = t.args;
    bool locked = k == "locked_door";
    if (a.empty())
        return fail(t.line, "%s without destination", k);
    if (a.size() < 2)
        return fail(t.line, "%s without target element", k);
    if (!wantArgs(t, locked ? 3 : 2, locked ? "locked_door ROOM TARGET KEYS" : "door ROOM TARGET"))
        return 0;
    if (a[0].size() > 120 || a[1].size() > 120)
        return fail(t.line, "%s: destination or target longer than 120 characters", k);
    *text = kindText(locked ? KindLockedKeyDoor : KindDoor, levelName(a[0]) + " " + a[1]);
    if (locked) {
        int keys;
        if (!numbers(t, 2, 1, &keys))
            return 0;
        if (keys < 1)
            return fail(t.line, "a locked door needs at least one key");
        *text += " " + std::to_string(keys);
    }
    *tileName = locked ? "door_locked.til" : zone->door;
    return 1;
}

int RoomCompiler::Impl::buildLight(const THING& t, std::string* text, std::string* tileName)
{
    const std::vector<std::string>& a = t.args;
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
        *text = kindText(KindLightFire), *tileName = "fire01.anm";
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
        *text = kindText(forms[form].kind, hex8(colour) + " " + a[2]);
        for (std::size_t i = 3; i < a.size(); i++)
            *text += " " + a[i];
        *tileName = form == 1 ? "lamp_wall.til" : form == 2 ? "lamp_ceiling.til" : "void.til";
    }
    return 1;
}

int RoomCompiler::Impl::build(const THING& t, int x, int y, bool exact, RECORD* r)
{
    r->line = t.line;
    std::string tileName, text, base = "element";
    const std::string& k = t.kind;
    const std::vector<std::string>& a = t.args;
    if (k == "door" || k == "locked_door") {
        if (!buildDoor(t, &text, &tileName))
            return 0;
        base = "door";
    } else if (k == "ladder") {
        if (!wantArgs(t, 0, "ladder"))
            return 0;
        text = kindText(KindLadder), tileName = zone->ladder, base = "ladder";
    } else if (k == "light") {
        if (!buildLight(t, &text, &tileName))
            return 0;
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

int RoomCompiler::Impl::buildBox(const THING& t)
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

int RoomCompiler::Impl::buildBonus(const THING& t, int x, int y, bool exact, RECORD* r)
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

int RoomCompiler::Impl::finish(const THING& t, const std::string& defaultTile, const std::string& text, const std::string& base,
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

int RoomCompiler::Impl::place()
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

int RoomCompiler::Impl::ladder(const THING& t, int cx, int top, int bottom)
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
