#include "player/Player.h"

#include "assets/TileList.h"
#include "base/BoundedString.h"
#include "level/Element.h"
#include "level/Level.h"
#include "level/LevelFileFixtures.h"
#include "map/Map.h"
#include "player/PlayerFixtures.h"
#include "save/SaveFixtures.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// A compiled-looking room of w x h cells whose memory and glow differ from
// cell to cell by `seed`.
std::unique_ptr<Level> room(const char* name, int w, int h, int seed = 0)
{
    std::unique_ptr<Level> level(new Level);
    boundedCopy(level->name, sizeof level->name, name);
    rockMap(level.get(), w, h);
    for (int k = 0; k < w * h; k++) {
        level->map[k].quality = seed ? float((k + seed) % 10) / 10.0f : 0.0f;
        level->map[k].glow = seed ? int(0xF0000000u) + k * 16 + seed : 0;
    }
    return level;
}

void addBonus(Level* level, const char* name)
{
    Element* e = new Element;
    boundedCopy(e->name, sizeof e->name, name);
    boundedCopy(e->text, sizeof e->text, "one_time");
    level->bonus.push_back(e);
}

std::string bonusNames(const Level& level)
{
    std::string names;
    for (const Element* e : level.bonus)
        names += std::string(e->name) + " ";
    return names;
}

void addObject(Player* p, const char* name, unsigned char flag = 1)
{
    OBJECT* o = new OBJECT;
    boundedCopy(o->name, sizeof o->name, name);
    o->flag = flag;
    p->objects.push_back(o);
    p->nObjects++;
}

void expectSameCells(const Level& a, const Level& b)
{
    ASSERT_EQ(a.mapWidth * a.mapHeight, b.mapWidth * b.mapHeight);
    for (int k = 0; k < a.mapWidth * a.mapHeight; k++) {
        EXPECT_EQ(bitsOf(a.map[k].quality), bitsOf(b.map[k].quality)) << "cell " << k;
        EXPECT_EQ(a.map[k].glow, b.map[k].glow) << "cell " << k;
    }
}

TEST(PlayerMemoryTest, ARoomIsRememberedAsLastLeftAcrossADoorAndBack)
{
    Player p;
    p.init();
    auto first = room("./Level/a.lvl", 6, 4, 3);
    p.addMemorySave(first.get());
    auto left = room("./Level/a.lvl", 6, 4, 7);
    p.addMemorySave(left.get());
    EXPECT_EQ(p.memorySaves.size(), 1u) << "one record per level";

    // Through the other room's door: first visit, nothing remembered yet,
    // whatever the level built; its paint keeps its glow.
    auto other = room("./Level/b.lvl", 3, 3, 5);
    p.deleteObjectsInLevel(other.get());
    p.setMemory(other.get());
    for (int k = 0; k < 9; k++) {
        EXPECT_EQ(other->map[k].quality, 0.0f);
        EXPECT_EQ(other->map[k].glow, int(0xF0000000u) + k * 16 + 5);
    }
    p.addMemorySave(other.get());

    auto back = room("./Level/a.lvl", 6, 4);
    p.deleteObjectsInLevel(back.get());
    p.setMemory(back.get());
    expectSameCells(*back, *left);
    EXPECT_EQ(p.memorySaves.size(), 2u);

    // A fully visible room stays as it is built.
    auto shown = room("./Level/a.lvl", 6, 4);
    shown->reveal = true;
    shown->map[5].quality = 1.0f;
    p.setMemory(shown.get());
    EXPECT_EQ(shown->map[5].quality, 1.0f);
    EXPECT_EQ(shown->map[6].glow, 0);

    p.deleteMemorySave(-1);
    p.deleteMemorySave(int(p.memorySaves.size()));
    EXPECT_EQ(p.memorySaves.size(), 2u);
}

TEST(PlayerMemoryTest, ARoomWhoseSizeChangedGetsBackOnlyTheCellsBothSizesShare)
{
    Player p;
    auto saved = room("./Level/a.lvl", 6, 4, 3);
    p.addMemorySave(saved.get());

    // Narrower and taller: cell (mx, my) comes from the same cell of the record.
    auto reshaped = room("./Level/a.lvl", 4, 6);
    reshaped->map[4].glow = 77; // (0, 4), outside the record
    p.setMemory(reshaped.get());
    for (int mx = 0; mx < 4; mx++)
        for (int my = 0; my < 4; my++)
            EXPECT_EQ(reshaped->map[mx * 6 + my].glow, saved->map[mx * 4 + my].glow) << mx << "," << my;
    EXPECT_EQ(reshaped->map[4].glow, 77);

    // Smaller on both sides: nothing is written past its cells.
    auto smaller = room("./Level/a.lvl", 2, 2);
    p.setMemory(smaller.get());
    EXPECT_EQ(smaller->map[3].glow, saved->map[5].glow);

    // Strengths a damaged save may hold come back between 0 and 1.
    auto damaged = std::make_shared<SAVE_MEMORY>(*p.memorySaves[0]);
    std::vector<std::uint32_t> quality = damaged->quality.unpacked();
    quality[0] = 0x7FC00000u; // not a number
    quality[1] = bitsOf(5.0f);
    damaged->quality = PackedWords();
    for (std::uint32_t word : quality)
        damaged->quality.push_back(word);
    p.memorySaves[0] = damaged;
    p.setMemory(smaller.get());
    EXPECT_EQ(smaller->map[0].quality, 0.0f);
    EXPECT_EQ(smaller->map[1].quality, 1.0f);
}

TEST(PlayerMemoryTest, MemoriesAndObjectsSurviveASavedAndContinuedGame)
{
    Player before;
    before.init();
    auto metro = room("./Level/metro3.lvl", 5, 3, 4);
    before.addMemorySave(metro.get());
    addObject(&before, "key_red");
    addObject(&before, "skull01", 0);

    SAVE_STATE state;
    before.storeMemoriesAndObjects(state);
    std::vector<unsigned char> bytes = encodeSaveState(state);
    SAVE_STATE read;
    ASSERT_EQ(decodeSaveState(bytes.data(), bytes.size(), read), 1);

    Player after;
    after.init();
    after.restoreMemoriesAndObjects(read);
    after.restoreMemoriesAndObjects(read);
    EXPECT_EQ(after.nObjects, 2) << "restoring replaces the lists";
    EXPECT_EQ(after.memorySaves.size(), 1u);
    EXPECT_EQ(after.nKey, 1);
    EXPECT_EQ(after.objects[1]->flag, 0);
    auto entered = room("./Level/metro3.lvl", 5, 3);
    after.setMemory(entered.get());
    expectSameCells(*entered, *metro);

    // The remembered room is visited on the map, its neighbours seen;
    // nothing was revealed.
    EXPECT_EQ(after.map->findCell("./Level/metro3.lvl")->state, 2);
    EXPECT_EQ(after.map->findCell("./Level/metro2.lvl")->state, 1);
    EXPECT_EQ(after.map->findCell("./Level/maze2.lvl")->state, 0);

    addObject(&before, "map01");
    before.storeMemoriesAndObjects(state);
    after.restoreMemoriesAndObjects(state);
    EXPECT_EQ(after.map->findCell("./Level/maze2.lvl")->state, 1) << "a taken map reveals every room";
}

TEST(PlayerMemoryTest, AfterTheLastContinueSkullsLieInTheirRoomsAgainAndKeysDoNot)
{
    Player p;
    p.init();
    auto cave = room("./Level/cave.lvl", 4, 4, 2);
    addObject(&p, "skull01");
    addObject(&p, "key_red");
    addObject(&p, "skull02");
    addObject(&p, "skull_old", 0);
    p.addMemorySave(cave.get());

    p.removeSkulls();
    ASSERT_EQ(p.nObjects, 2);
    EXPECT_STREQ(p.objects[0]->name, "key_red");
    EXPECT_STREQ(p.objects[1]->name, "skull_old") << "only objects taken by a pickup go back";

    auto again = room("./Level/cave.lvl", 4, 4);
    for (const char* name : {"skull01", "key_red", "key_red", "skull02", "skull_old", "gold"})
        addBonus(again.get(), name);
    p.deleteObjectsInLevel(again.get());
    EXPECT_EQ(bonusNames(*again), "skull01 skull02 gold ") << "every bonus of a taken name goes";
    p.setMemory(again.get());
    expectSameCells(*again, *cave);
}

// A game folder with the test tiles and one level file.
class KeyRoomGame {
public:
    KeyRoomGame() : dir(tempPath("game"))
    {
        mkdir(dir.c_str(), 0755);
        mkdir((dir + "/Level").c_str(), 0755);
        writeLevelTiles(dir + "/tiles.dat");
        tiles.reset(new TileList((dir + "/tiles.dat").c_str()));
        std::FILE* out = std::fopen((dir + "/Level/metro3.lvl").c_str(), "w");
        std::fputs("MEMORIES\nELEMENT\nwall\n  wall.til\n 0 0\n 0 0 0\n  \n"
                   "BONUS\n  key_red\n  eye.til\n 0 0\n 2 2 0\n  one_time\n"
                   "BONUS\ncoin\n  gold_coin01.anm\n 0 0\n 4 4 0\n  gold\n",
                   out);
        std::fclose(out);
    }
    std::unique_ptr<Level> enter()
    {
        InFolder in(dir);
        std::unique_ptr<Level> level(new Level);
        EXPECT_EQ(level->load("./Level/metro3.lvl", tiles.get(), nullptr, nullptr), 1);
        return level;
    }
    std::string dir;
    std::unique_ptr<TileList> tiles;
};

// How the map draws a key's mark until it is taken is MapDrawTest's.
TEST(PlayerMemoryTest, ATakenKeyIsGoneWhenItsRoomIsEnteredAgainAndLeavesTheMap)
{
    KeyRoomGame game;
    Player p;
    boundedCopy(p.contentFolder, sizeof p.contentFolder, game.dir.c_str());
    p.init();
    MAP_CELL* cell = p.map->findCell("./Level/metro3.lvl");
    ASSERT_TRUE(cell->hasKey);
    p.setMapObjsGet();
    EXPECT_FALSE(cell->keyGot);

    // The pickup of the one-time key.
    std::unique_ptr<Level> level = game.enter();
    ASSERT_EQ(bonusNames(*level), "key_red coin ");
    addObject(&p, "key_red");
    level->deleteBonus(0);
    p.setMapObjsGet();
    EXPECT_TRUE(cell->keyGot);

    p.addMemorySave(level.get());
    level = game.enter();
    p.deleteObjectsInLevel(level.get());
    p.setMemory(level.get());
    EXPECT_EQ(bonusNames(*level), "coin ");
}

} // namespace
