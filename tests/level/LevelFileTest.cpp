#include "level/Level.h"

#include "assets/TileList.h"
#include "audio/FakeMixer.h"
#include "level/ElectricBox.h"
#include "level/Element.h"
#include "level/LevelFileFixtures.h"
#include "level/LevelFixtures.h"
#include "level/Dog.h"
#include "level/Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

class LevelFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::string file = tempPath("tiles.dat");
        writeLevelTiles(file);
        tiles.reset(new TileList(file.c_str()));
        ASSERT_EQ(tiles->count, 10);
    }

    // Loads a test level from the data folder, working there as the game does.
    int loadData(Level* level, const char* file)
    {
        InFolder folder(levelData());
        return level->load((std::string("./Level/") + file).c_str(), tiles.get(), nullptr, nullptr);
    }

    // Writes `content` to a file of the test's own and loads it.
    int loadText(Level* level, const std::string& content)
    {
        std::string file = tempPath("level.lvl");
        std::FILE* out = std::fopen(file.c_str(), "wb");
        EXPECT_NE(out, nullptr);
        std::fwrite(content.data(), 1, content.size(), out);
        std::fclose(out);
        return level->load(file.c_str(), tiles.get(), nullptr, nullptr);
    }

    std::unique_ptr<TileList> tiles;
};

std::vector<std::string> names(const std::vector<Element*>& list)
{
    std::vector<std::string> result;
    for (const Element* e : list)
        result.push_back(e->name);
    return result;
}

// The line numbers of the notes of one problem, in order.
std::vector<int> notes(const Level& level, int problem)
{
    std::vector<int> lines;
    for (const Level::READ_NOTE& n : level.readNotes)
        if (n.problem == problem)
            lines.push_back(n.line);
    return lines;
}

std::string element(const std::string& name, const std::string& tile, const std::string& numbers,
                    const std::string& place, const std::string& kind)
{
    return "ELEMENT\n" + name + "\n  " + tile + "\n " + numbers + "\n " + place + "\n  " + kind + "\n";
}

const std::string ground = element("ground", "wall.til", "0 0", "0 0 0", "");

} // namespace

TEST_F(LevelFileTest, KindLinesRouteElementsToTheirLists)
{
    Level level;
    ASSERT_EQ(loadData(&level, "routing.lvl"), 1);
    EXPECT_EQ(names(level.elements),
              (std::vector<std::string>{"ground", "toxic", "lever", "lamp_switch", "tap", "ladder1", "sign", "pool",
                                        "bat", "glow", "exit", "vault", "thing"}));
    EXPECT_EQ(names(level.entities),
              (std::vector<std::string>{"toxic", "lever", "lamp_switch", "tap", "pool", "bat"}));
    EXPECT_EQ(names(level.actives), (std::vector<std::string>{"rock", "lift", "ghost", "crate"}));
    EXPECT_EQ(names(level.ennemies), (std::vector<std::string>{"toxic", "rock", "bat"}));
    EXPECT_EQ(names(level.backgrounds), (std::vector<std::string>{"sky"}));
    EXPECT_EQ(names(level.ladders), (std::vector<std::string>{"ladder1"}));
    EXPECT_TRUE(level.readNotes.empty());

    const struct {
        const std::vector<Element*>& list;
        const char* name;
        int kind;
    } kinds[] = {{level.elements, "toxic", Element::Overlay},     {level.elements, "pool", Element::Overlay},
                 {level.actives, "rock", Element::Unstable},       {level.elements, "sign", Element::Text},
                 {level.elements, "ladder1", Element::Ladder},     {level.elements, "glow", Element::Phospho},
                 {level.elements, "exit", Element::DoorKind},      {level.elements, "vault", Element::DoorKind},
                 {level.elements, "bat", Element::Decor},          {level.elements, "thing", Element::Decor},
                 {level.backgrounds, "sky", Element::Background},  {level.elements, "lever", Element::Switch},
                 {level.elements, "lamp_switch", Element::LightSwitch}, {level.elements, "tap", Element::WaterSwitch},
                 {level.actives, "lift", Element::Mover},          {level.actives, "ghost", Element::Invisible},
                 {level.actives, "crate", Element::Pushable}};
    for (const auto& k : kinds)
        EXPECT_EQ(named(k.list, k.name)->kind, k.kind) << k.name;
    EXPECT_STREQ(named(level.elements, "sign")->text, "text Mind the gap");

    // Switches rest on their first frame whatever the file said; other
    // animations keep speed and frame.
    for (const char* name : {"lever", "lamp_switch", "tap"}) {
        EXPECT_EQ(named(level.elements, name)->speed, 0.0f) << name;
        EXPECT_EQ(named(level.elements, name)->frame, 0.0f) << name;
    }
    EXPECT_EQ(named(level.elements, "bat")->speed, 1.0f);
    EXPECT_EQ(named(level.elements, "bat")->frame, 2.0f);

    // Movers and invisible things wait to be switched on, pushed things are on.
    Element* lift = named(level.actives, "lift");
    EXPECT_EQ((std::vector<bool>{lift->active, named(level.actives, "ghost")->active,
                                 named(level.actives, "crate")->active}),
              (std::vector<bool>{false, false, true}));
    EXPECT_EQ((std::vector<int>{lift->homeX, lift->homeY, lift->targetX, lift->targetY, lift->depth}),
              (std::vector<int>{50, 60, 50, 10, 2}));

    // The dog element becomes a dog and is not kept.
    ASSERT_EQ(level.dogs.size(), 1u);
    EXPECT_EQ(level.dogs[0]->x, 80);
    EXPECT_EQ(level.dogs[0]->y, 90);
    EXPECT_NE(level.dogs[0]->tile, nullptr);

    // Compile turned the door lines into doors (their fields are checked where doors are compiled).
    ASSERT_EQ(level.doors.size(), 2u);
    EXPECT_STREQ(level.doors[0]->destination, "arrival.lvl");
    EXPECT_EQ(level.doors[1]->key, 3);
    EXPECT_STREQ(level.getName(), "./Level/routing.lvl");
}

TEST_F(LevelFileTest, KeywordsBlocksAndSpecialFile)
{
    FakeMixer fake;
    addMusic("track", 2);
    Level level;
    ASSERT_EQ(loadData(&level, "keywords.lvl"), 1);
    EXPECT_EQ(unsigned(level.baseColor), 0xFF00007Fu);
    // INTRO skipped its two lines: the BASE_DEPTH 3 among them did nothing.
    EXPECT_EQ(level.baseDepth, 7);
    EXPECT_TRUE(level.memories && level.dirt && level.noise && level.reveal && level.checkpoint);
    EXPECT_EQ(musicPlaying, 2);

    ASSERT_EQ(level.boxes.size(), 1u);
    const ElectricBox* box = level.boxes[0];
    EXPECT_STREQ(box->name, "box1");
    EXPECT_STREQ(box->target, "lamp");
    EXPECT_EQ(std::vector<int>(box->state, box->state + 8), (std::vector<int>{1, 0, 1, 0, 1, 0, 1, 0}));
    EXPECT_EQ(std::vector<int>(box->solution, box->solution + 8), (std::vector<int>{0, 0, 0, 0, 1, 1, 1, 1}));

    ASSERT_EQ(names(level.bonus), (std::vector<std::string>{"coin", "film", "stub", "torch", "tank", "coin2"}));
    const int bonusKinds[] = {Element::BonusMovie, Element::BonusCandle, Element::BonusElectric, Element::BonusAceto,
                              Element::Decor};
    for (int i = 1; i <= 5; i++)
        EXPECT_EQ(level.bonus[i]->kind, bonusKinds[i - 1]) << level.bonus[i]->name;
    EXPECT_STREQ(level.bonus[5]->text, "gold");
    EXPECT_EQ(std::make_pair(level.bonus[0]->x, level.bonus[0]->y), std::make_pair(20, 30));

    // Five light elements, one cloud source (what their kind lines make is
    // checked where kind lines are compiled).
    EXPECT_EQ(level.lights.size(), 5u);
    EXPECT_TRUE(level.getCloud());

    // The special file adds its elements to `specials` only, without rules.
    EXPECT_TRUE(level.special);
    EXPECT_EQ(names(level.specials), (std::vector<std::string>{"memory", "memory2"}));
    EXPECT_EQ(level.specials[1]->kind, Element::Decor);
    EXPECT_TRUE(level.ladders.empty());
    EXPECT_EQ(level.doors.size(), 0u);
    EXPECT_EQ(names(level.elements), (std::vector<std::string>{"floor", "sun", "lamp", "beam", "rays", "torch", "mist"}));
}

// The reader hands a random bonus over with the library of tiles: drawn
// again and again, it becomes each of the seven bonuses, every kind always
// with the same word and a picture of its own.
TEST_F(LevelFileTest, ARandomBonusBecomesEachOfTheSevenBonusesOfTheLibrary)
{
    Level level;
    ASSERT_EQ(loadText(&level, ground + "BONUS\nluck\n  wall.til\n 0 0\n 3 4 0\n  random\n"), 1);
    ASSERT_EQ(level.bonus.size(), 1u);
    Element* b = level.bonus[0];
    std::map<int, std::string> looks;
    for (int i = 0; i < 1000 && looks.size() < 7; i++) {
        ASSERT_NE(b->tile, nullptr);
        std::string look = std::string(b->text) + " " + b->tile->name;
        EXPECT_EQ(looks.emplace(b->kind, look).first->second, look) << b->kind;
        level.createRandomBonus(b, tiles.get());
    }
    ASSERT_EQ(looks.size(), 7u);
    EXPECT_EQ(looks.begin()->first, Element::BonusGold);
    EXPECT_EQ(looks.rbegin()->first, Element::BonusGold + 6);
    std::set<std::string> distinct;
    for (const auto& look : looks)
        distinct.insert(look.second);
    EXPECT_EQ(distinct.size(), 7u);
}

TEST_F(LevelFileTest, MissingTileDropsTheElementAndItsLinesAreReadAsOrdinaryLines)
{
    Level level;
    ASSERT_EQ(loadData(&level, "missing_tile.lvl"), 1);
    EXPECT_EQ(names(level.elements), (std::vector<std::string>{"ground", "after"}));
    EXPECT_EQ(names(level.ladders), (std::vector<std::string>{"after"}));
    EXPECT_EQ(notes(level, Level::NoteMissingTile), (std::vector<int>{9}));
    ASSERT_EQ(level.readNotes.size(), 4u);
    EXPECT_STREQ(level.readNotes[0].text, "nope.til");
    EXPECT_EQ(notes(level, Level::NoteIgnoredLine), (std::vector<int>{10, 11, 12}));
}

TEST_F(LevelFileTest, WaterKindLinesSetTheWaterAndItsSound)
{
    FakeMixer fake;
    addSound("water", waterFillSlot);
    {
        Level filling;
        ASSERT_EQ(loadData(&filling, "water_fill.lvl"), 1);
        EXPECT_TRUE(filling.water);
        EXPECT_EQ(filling.waterMode, 0);
        EXPECT_EQ(filling.waterLimit, 6);
        EXPECT_EQ(soundPlaying[waterFillSlot], 1);
    }
    Level switched;
    ASSERT_EQ(loadData(&switched, "water_switched.lvl"), 1);
    EXPECT_TRUE(switched.water);
    EXPECT_EQ(switched.waterMode, 1);
    EXPECT_EQ(switched.waterTop, 5);
    EXPECT_EQ(switched.waterLimit, 10);
    EXPECT_EQ(soundPlaying[waterFillSlot], 0);
    EXPECT_EQ(fake.calls("haltChannel").size(), 1u);
}

TEST_F(LevelFileTest, UnopenableFilesLeaveTheLevelEmpty)
{
    Level level;
    EXPECT_EQ(level.load("/nonexistent/level.lvl", tiles.get(), nullptr, nullptr), 0);
    EXPECT_NE(level.message, nullptr) << "the message box exists before the file is opened";
    EXPECT_EQ(level.map, nullptr);
    EXPECT_STREQ(level.getName(), "");
    EXPECT_EQ(notes(level, Level::NoteCannotOpen).size(), 1u);
    EXPECT_EQ(level.loadSpecial("/nonexistent/special", tiles.get()), 0);
    EXPECT_FALSE(level.special);
}

TEST_F(LevelFileTest, MalformedFilesLoadWithoutHarm)
{
    const std::string longLine(600, 'x');
    const std::string longName(200, 'n');
    struct Case {
        const char* what;
        std::string content;
        int result;
        int problem;
        int count;
    } cases[] = {
        {"a line of 600 characters", longLine + "\n" + ground, 1, Level::NoteLongLine, 1},
        {"a line of exactly 255 characters", std::string(255, 'y') + "\n" + ground, 1, Level::NoteLongLine, 0},
        {"a name of 200 characters", element(longName, "wall.til", "0 0", "0 0 0", ""), 1, Level::NoteCutText, 1},
        {"a tile line of 300 characters", ground + element("t", std::string(300, 't'), "0 0", "0 0 0", ""), 1,
         Level::NoteMissingTile, 1},
        {"a kind line of 300 characters", element("k", "wall.til", "0 0", "0 0 0", std::string(300, 'k')), 1,
         Level::NoteLongLine, 1},
        {"the end inside an element", ground + "ELEMENT\nhalf\n  wall.til\n 0 0\n", 1, Level::NoteUnfinishedBlock,
         1},
        {"the end inside a bonus", ground + "BONUS\nhalf\n", 1, Level::NoteUnfinishedBlock, 1},
        {"the end inside a box", ground + "ELECTRIC_BOX\nbox\n 1 1 1 1 1 1 1 1\n", 1, Level::NoteUnfinishedBlock, 1},
        {"the end inside an intro", ground + "INTRO\n1000000\nline\n", 1, Level::NoteUnfinishedBlock, 1},
        {"a huge negative intro", ground + "INTRO\n-2000000000\n", 1, Level::NoteUnfinishedBlock, 0},
        {"words for numbers", "BASE_DEPTH deep\nMUSIC loud\n" + element("w", "wall.til", "fast 0", "0 0 zero", ""),
         1, Level::NoteBadNumber, 4},
        {"an empty file", "", 0, Level::NoteNoMap, 1},
        {"only animations", element("a", "anim.anm", "1 0", "0 0 0", ""), 0, Level::NoteNoMap, 1},
        {"a special file out of the level folder", ground + "SPECIAL ../../../../../../dev/zero\n", 1,
         Level::NoteCannotOpen, 1},
        {"bytes that are no text", ground + std::string("\0\x01\xff\nELEMENT\n\0\n", 14), 1,
         Level::NoteUnfinishedBlock, 1},
    };
    for (const Case& c : cases) {
        Level level;
        EXPECT_EQ(loadText(&level, c.content), c.result) << c.what;
        EXPECT_EQ(notes(level, c.problem).size(), std::size_t(c.count)) << c.what;
    }
}

TEST_F(LevelFileTest, NumbersThatDoNotParseKeepTheirFields)
{
    Level level;
    ASSERT_EQ(loadText(&level, "BASE_COLOR 99999999999\nBASE_DEPTH 12abc\n" +
                                   element("w", "wall.til", "1.5 nan", "5 inf 3", "move 7") +
                                   element("fast", "anim.anm", "1e16 0", "0 0 0", "") +
                                   element("late", "anim.anm", "1 -3e9", "0 0 0", "") +
                                   "ELECTRIC_BOX\nb\n 0 0 0\n 0 0 0 0 0 0 0 0 0 0\nt\n" + ground),
              1);
    EXPECT_EQ(unsigned(level.baseColor), 0xFF000000u);
    EXPECT_EQ(level.baseDepth, 12) << "the number before the junk is read";
    Element* w = named(level.actives, "w");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->speed, 1.5f);
    EXPECT_EQ(w->frame, 0.0f);
    EXPECT_EQ((std::vector<int>{w->x, w->y, w->depth, w->targetX, w->targetY}), (std::vector<int>{5, 0, 0, 7, 0}));
    ASSERT_EQ(level.boxes.size(), 1u);
    EXPECT_EQ(level.boxes[0]->state[2], 0);
    EXPECT_EQ(level.boxes[0]->state[3], 1);
    EXPECT_EQ(level.boxes[0]->solution[7], 0);
    for (const char* name : {"fast", "late"}) {
        const Element* e = named(level.elements, name);
        ASSERT_NE(e, nullptr) << name;
        EXPECT_EQ(e->speed, 0.0f) << name << ": beyond any frame number, the element stands still";
        EXPECT_EQ(e->frame, 0.0f) << name;
    }
    EXPECT_EQ(notes(level, Level::NoteBadNumber).size(), 7u);
}

TEST_F(LevelFileTest, CompiledKindLinesAreCheckedWhileReading)
{
    Level level;
    ASSERT_EQ(loadText(&level, ground + element("d", "wall.til", "0 0", "0 0 0", "door only") +
                                   element("l", "wall.til", "0 0", "0 0 0", "locked_key_door a b many") +
                                   element("o", "wall.til", "0 0", "0 0 0", "light omni FFFFFFFF 1 2 3") +
                                   element("s", "wall.til", "0 0", "0 0 0", "light sun") +
                                   element("c", "wall.til", "0 0", "0 0 0", "cloud thick") +
                                   element("f", "wall.til", "0 0", "0 0 0", "light fire")),
              1);
    EXPECT_EQ(notes(level, Level::NoteBadNumber), (std::vector<int>{12, 18, 24, 36}));
    EXPECT_EQ(notes(level, Level::NoteIgnoredLine), (std::vector<int>{30}));
}

// A level is at most 8192 pixels a side: positions and offsets beyond that
// are refused where they are read, so no later sum of them can overflow.
TEST_F(LevelFileTest, PositionsAndOffsetsOutsideTheLevelLimitAreRefused)
{
    Level level;
    ASSERT_EQ(loadText(&level, ground + element("edge", "wall.til", "0 0", "-8192 8192 0", "") +
                                   element("far", "wall.til", "0 0", "8193 0 0", "") +
                                   element("low", "wall.til", "0 0", "0 -2147483648 0", "") +
                                   element("lamp", "wall.til", "0 0", "0 0 0", "light omni FFFFFFFF 1 2147483000 0 9") +
                                   element("mover", "wall.til", "0 0", "0 0 0", "move 9000 0") +
                                   element("flood", "wall.til", "0 0", "0 0 0", "water_switched -2147483648 0 1")),
              0) << "edge and ground make a map wider than its cell limit allows";
    Element* edge = named(level.elements, "edge");
    ASSERT_NE(edge, nullptr);
    EXPECT_EQ(edge->x, -8192);
    EXPECT_EQ(edge->y, 8192);
    Element* far = named(level.elements, "far");
    ASSERT_NE(far, nullptr);
    EXPECT_EQ(far->x, 0) << "refused: the field keeps its value";
    EXPECT_EQ(named(level.elements, "low")->y, 0);
    EXPECT_EQ(notes(level, Level::NoteBadNumber).size(), 5u) << "far, low, the lamp's offset, the move, the water";
    EXPECT_TRUE(level.lights.empty());
    Element* mover = named(level.actives, "mover");
    ASSERT_NE(mover, nullptr);
    EXPECT_EQ(mover->targetX, 0);
    EXPECT_EQ(level.waterTop, 0);
}

// The map's size follows what a room needs; an oversized one names the
// element that stretched it.
TEST_F(LevelFileTest, AnOversizedMapIsRefusedNamingTheElementThatStretchedIt)
{
    Level level;
    ASSERT_EQ(loadText(&level, ground + element("a", "wall.til", "0 0", "4 3 0", "") +
                                   element("stray", "wall.til", "0 0", "4000 4000 0", "")),
              0);
    EXPECT_EQ(level.map, nullptr);
    ASSERT_EQ(notes(level, Level::NoteNoMap).size(), 1u);
    std::string text = std::find_if(level.readNotes.begin(), level.readNotes.end(), [](const Level::READ_NOTE& n) {
                           return n.problem == Level::NoteNoMap;
                       })->text;
    EXPECT_NE(text.find("\"stray\" at (4000, 4000)"), std::string::npos) << text;
    EXPECT_NE(text.find("4012 x 4012"), std::string::npos) << text;

    // What a long room needs still builds.
    Level corridor;
    EXPECT_EQ(loadText(&corridor, ground + element("end", "wall.til", "0 0", "5000 200 0", "")), 1);
    EXPECT_EQ(corridor.mapWidth, 5012);
}

// A room's pictures are read when it is loaded and freed once no loaded
// room shows them.
TEST_F(LevelFileTest, PicturesLiveWhileARoomShowsThem)
{
    auto inMemory = [this](const char* name) {
        for (const Tile* tile : tiles->list)
            if (std::strcmp(tile->name, name) == 0)
                return tile->frames != nullptr;
        return false;
    };
    EXPECT_EQ(tiles->picturesInMemory(), 0);
    std::unique_ptr<Level> first(new Level), second(new Level);
    ASSERT_EQ(loadText(first.get(), ground + element("eye", "eye.til", "0 0", "20 0 0", "")), 1);
    EXPECT_TRUE(inMemory("wall.til") && inMemory("eye.til"));
    EXPECT_FALSE(inMemory("anim.anm"));
    ASSERT_EQ(loadText(second.get(), ground + element("flag", "anim.anm", "1 0", "20 0 0", "")), 1);
    EXPECT_TRUE(inMemory("anim.anm"));
    first.reset();
    EXPECT_FALSE(inMemory("eye.til"));
    EXPECT_TRUE(inMemory("wall.til") && inMemory("anim.anm"));
    second.reset();
    EXPECT_EQ(tiles->picturesInMemory(), 0);
}
