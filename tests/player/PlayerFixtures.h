#pragma once

#include "base/BoundedString.h"
#include "assets/Tile.h"
#include "assets/TileContainer.h"
#include "assets/TileFixtures.h"
#include "level/Element.h"
#include "level/Level.h"
#include "authoring/PlayerRoom.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <sys/stat.h>

// Depths of open space and of rock.
const int openDepth = 5;
const int rockDepth = 10;

// The sheet every test game carries: 16 x 24 frames, all pixels opaque, the
// hand at (12, 10). Walking frames move 2 pixels, running 3, crouching and
// pushing 1; climbing frames move 2 pixels up.
const int sheetWidth = 16;
const int sheetHeight = 24;

inline void writeCharacterSheet(const std::string& path)
{
    struct {
        const char* name;
        int frames;
        int moveX;
        int moveY;
    } sequences[] = {{"idle", 2, 0, 0}, {"idle_t", 2, 0, 0}, {"walk", 2, 2, 0}, {"walk_t", 2, 2, 0},
                     {"run", 2, 3, 0},  {"run_t", 2, 3, 0},  {"fall", 1, 0, 0}, {"fall_t", 1, 0, 0},
                     {"duck", 2, 1, 0}, {"push", 2, 1, 0},   {"climb", 2, 0, -2}, {"fly", 1, 0, 0}};
    std::FILE* out = std::fopen(path.c_str(), "w");
    ASSERT_TRUE(out) << path;
    int frameCount = 0;
    for (const auto& s : sequences)
        frameCount += s.frames;
    std::fprintf(out, "%d %d %d %d\n", sheetWidth, sheetHeight, frameCount, int(sizeof sequences / sizeof *sequences));
    int begin = 0;
    for (const auto& s : sequences) {
        std::fprintf(out, "%s %d %d\n", s.name, begin, begin + s.frames - 1);
        begin += s.frames;
    }
    for (int i = 0; i < 10; i++)
        std::fprintf(out, "%d\n", i == 0 ? 0 : int(0xFF808080u));
    for (const auto& s : sequences)
        for (int f = 0; f < s.frames; f++) {
            std::fprintf(out, "%d %d\n12 10\n", s.moveX, s.moveY);
            for (int row = 0; row < sheetHeight; row++)
                std::fprintf(out, "%s\n", std::string(sheetWidth, '1').c_str());
        }
    std::fclose(out);
}

// A game directory written by a test: the character sheet, a tile library
// and one room made of rectangles. Later rectangles paint over earlier ones.
class TestGame {
public:
    explicit TestGame(const char* name = "game") : dir(tempPath(name))
    {
        mkdir(dir.c_str(), 0755);
        mkdir((dir + "/Level").c_str(), 0755);
    }

    // Open space and rock, painted with single-frame pictures.
    void open(int x, int y, int w, int h) { element("", tile("open", w, h, openDepth), x, y, ""); }
    void rock(int x, int y, int w, int h) { element("", tile("rock", w, h, rockDepth), x, y, ""); }
    // A line of the level file of its own, such as "BASE_DEPTH 0".
    void line(const char* text) { levelText += std::string(text) + "\n"; }
    // A ladder over open space: an animated picture, so it is not baked.
    void ladder(const char* name, int x, int y, int w, int h)
    {
        element(name, tile("ladder", w, h, openDepth, 2), x, y, "ladder");
    }
    // A named mark where the player can be placed.
    void mark(const char* name, int x, int y, const char* text = "")
    {
        element(name, tile("mark", 2, 2, openDepth, 2), x, y, text);
    }

    // An element of a w x h opaque picture of `frames` frames with kind line
    // `text`: a door, a sign, a switch, an enemy, a block...
    void thing(const char* name, int x, int y, int w, int h, const char* text, int frames = 1)
    {
        element(name, tile("thing", w, h, openDepth, frames), x, y, text);
    }
    // A bonus of a w x h opaque picture lying at (x, y) with kind line `text`.
    void bonus(const char* name, int x, int y, const char* text, int w = 6, int h = 6)
    {
        levelText += "BONUS\n" + std::string(name[0] ? name : "-") + "\n  " + tile("bonus", w, h, openDepth) +
                     "\n 0 0\n " + std::to_string(x) + " " + std::to_string(y) + " 0\n  " + text + "\n";
    }
    // An electric box; inputs and solution are eight numbers each.
    void box(const char* name, const char* state, const char* solution, const char* target)
    {
        levelText += "ELECTRIC_BOX\n" + std::string(name) + "\n" + state + "\n" + solution + "\n" + target + "\n";
    }
    // A picture of the game's library under its own name, such as the
    // thrown coin "gold_coin01.anm".
    void picture(const char* tileName, int w, int h, int frames = 1)
    {
        addTile(tileName, w, h, openDepth, frames);
    }

    // Writes everything and loads the room into `room`.
    void load(PlayerRoom* room, const char* levelName = "room.lvl")
    {
        writeCharacterSheet(dir + "/character.dat");
        ASSERT_EQ(tiles.save((dir + "/tiles.dat").c_str()), 1) << tiles.error;
        std::FILE* out = std::fopen((dir + "/Level/" + levelName).c_str(), "w");
        ASSERT_TRUE(out);
        std::fputs(levelText.c_str(), out);
        std::fclose(out);
        ASSERT_EQ(room->load(dir.c_str(), levelName), 1);
    }

    std::string dir;

private:
    // The name of a picture of that kind and size, added to the library once.
    std::string tile(const char* kind, int w, int h, int depth, int frames = 1)
    {
        std::string name = std::string(kind) + "_" + std::to_string(w) + "x" + std::to_string(h) + "x" +
                           std::to_string(frames) + ".til";
        addTile(name, w, h, depth, frames);
        return name;
    }
    // Adds an opaque picture to the library once.
    void addTile(const std::string& name, int w, int h, int depth, int frames)
    {
        if (!names.insert(name).second)
            return;
        Tile t;
        EXPECT_EQ(t.create(w, h, frames, 0), 1);
        boundedCopy(t.name, sizeof t.name, name.c_str());
        for (int f = 0; f < frames; f++)
            for (int i = 0; i < w * h; i++)
                t.frames[f].data[i] = TILE_PIXEL{int(0xFF606060u), depth, 0.0f};
        EXPECT_EQ(tiles.add(t), 1);
    }
    void element(const char* name, const std::string& tileName, int x, int y, const char* text)
    {
        levelText += "ELEMENT\n" + std::string(name[0] ? name : "-") + "\n  " + tileName + "\n 0 0\n " +
                     std::to_string(x) + " " + std::to_string(y) + " 0\n  " + text + "\n";
    }

    TileContainer tiles;
    std::set<std::string> names;
    std::string levelText;
};

// The held commands of one frame, written as the keys held: "R" right,
// "L" left, "U" up, "D" down, "J" jump, "W" walk.
inline PLAYER_COMMANDS held(const char* keys = "")
{
    PLAYER_COMMANDS c;
    for (const char* k = keys; *k; k++) {
        c.right |= *k == 'R';
        c.left |= *k == 'L';
        c.up |= *k == 'U';
        c.down |= *k == 'D';
        c.jump |= *k == 'J';
        c.walk |= *k == 'W';
    }
    return c;
}

// A level without a file: a map of `w` x `h` rock cells at the origin, with
// open rectangles carved by the caller through `carve`.
inline void rockMap(Level* level, int w, int h)
{
    level->allocateMap(w, h);
    LevelPixel rock{};
    rock.depth = rockDepth;
    std::fill(level->map, level->map + w * h, rock);
}

inline void carve(Level* level, int x, int y, int w, int h, int depth = openDepth)
{
    for (int i = x; i < x + w; i++)
        for (int j = y; j < y + h; j++)
            level->map[i * level->mapHeight + j].depth = depth;
}
