#include "map/Map.h"

#include "assets/TileFixtures.h"
#include "base/TestFiles.h"
#include "assets/Typo.h"
#include "render/PngImage.h"
#include "render/Screen.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>

namespace {

// On a 200 x 150 screen the panel's top-left corner is (44, 15) and grid
// square (column c, row r) begins at (56 + 7 (c - 1), 38 + 7 r).
const int screenW = 200;
const int screenH = 150;
const int black = int(0xFF000000u);
const int white = int(0xFFFFFFFFu);
const int grey = int(0xFF555555u);
const int yellow = int(0xFFFFFF00u);
const int lightBlue = int(0xFF88EEFFu);

struct SQUARE {
    int x;
    int y;
};

SQUARE at(const char* label)
{
    int row = 0;
    std::sscanf(label + 1, "%d", &row);
    return {56 + 7 * (label[0] - 'A'), 38 + 7 * (row - 1)};
}

class MapScreen {
public:
    explicit MapScreen(Map& map) : screen(screenW, screenH, 1) { draw(map); }
    void draw(Map& map)
    {
        screen.clear(black);
        map.draw(&screen);
    }
    int pixel(const char* label, int dx = 2, int dy = 2) const
    {
        SQUARE s = at(label);
        return screen.getPixel(s.x + dx, s.y + dy);
    }
    // The translucent panel over black, where nothing else is drawn.
    int panel() const { return screen.getPixel(50, 23); }
    Screen screen;
};

MAP_CELL* cellOf(Map& map, const char* stem)
{
    return map.findCell(("./Level/" + std::string(stem) + ".lvl").c_str());
}

int knownLinks(const Map& map)
{
    int n = 0;
    for (const MAP_LINK* l : map.links)
        n += l->known;
    return n;
}

TEST(MapTableTest, RoomsAndPassagesMakeOneConsistentNetwork)
{
    Map map;
    ASSERT_EQ(map.nCell, 87);
    ASSERT_EQ(map.nLink, 97);

    std::set<std::string> names;
    std::set<std::pair<int, int>> squares;
    for (const MAP_CELL* c : map.cells) {
        EXPECT_TRUE(names.insert(c->name).second) << c->name;
        for (int x = c->x; x < c->x + c->w; x += 7)
            for (int y = c->y; y < c->y + c->h; y += 7)
                EXPECT_TRUE(squares.insert({x, y}).second) << c->name << " overlaps another room";
        EXPECT_EQ(c->state, 0);
    }

    // Every passage end lies in a room, except the two that meet in J8.
    int openEnds = 0;
    for (const MAP_LINK* l : map.links) {
        openEnds += !l->cellA + !l->cellB;
        EXPECT_NE(l->cellA, l->cellB);
    }
    EXPECT_EQ(openEnds, 2);
}

TEST(MapStateTest, EnteringTheHubShowsItsFiveNeighboursAndPassages)
{
    Map map;
    map.setCurrentCell("./Level/hub_metro.lvl");
    MAP_CELL* hub = cellOf(map, "hub_metro");
    EXPECT_EQ(map.cells[map.current], hub);
    EXPECT_EQ(hub->state, 2);
    std::set<std::string> seen;
    for (const MAP_CELL* c : map.cells)
        if (c->state == 1)
            seen.insert(c->name);
    EXPECT_EQ(seen, (std::set<std::string>{"./Level/unknow_room.lvl", "./Level/hub_parking.lvl",
                                           "./Level/hub_cave.lvl", "./Level/classic_entrance.lvl",
                                           "./Level/locked_door.lvl"}));
    EXPECT_EQ(knownLinks(map), 5);
    for (const MAP_LINK* l : map.links) {
        if (l->known) {
            EXPECT_TRUE(l->cellA == hub || l->cellB == hub);
        }
    }

    MapScreen shot(map);
    EXPECT_EQ(shot.pixel("H7"), int(0xFFC02929u));
    EXPECT_EQ(shot.pixel("G6", 0, 0), white) << "the current room is outlined";
    EXPECT_EQ(shot.pixel("H7", 4, 4), white);
    for (const char* unseen : {"A1", "G3", "K6", "E4"})
        EXPECT_EQ(shot.pixel(unseen), shot.panel()) << unseen;
    // The passage from G4 down to the hub crosses the gap row of G5.
    EXPECT_EQ(shot.pixel("G5"), white);
}

TEST(MapStateTest, ANameInAnotherLetterCaseMatchesNoRoomAndRevealShowsEveryRoomWithoutVisitingAny)
{
    Map map;
    map.setCurrentCell("./Level/metro3.lvl");
    map.setCurrentCell("./level/metro3.lvl");
    EXPECT_EQ(map.current, -1);
    EXPECT_EQ(cellOf(map, "metro3")->state, 2) << "an unmatched name changes no room";
    EXPECT_EQ(knownLinks(map), 2);

    MapScreen shot(map);
    EXPECT_EQ(shot.pixel("B1", 0, 0), int(0xFFECD078u)) << "no room is outlined";
    EXPECT_EQ(shot.pixel("B1"), int(0xFFECD078u));
    EXPECT_EQ(shot.pixel("A1"), grey);

    // Revealing shows every room and passage without visiting any.
    map.reveal();
    EXPECT_EQ(knownLinks(map), 97);
    for (const MAP_CELL* c : map.cells)
        EXPECT_EQ(c->state, c == cellOf(map, "metro3") ? 2 : 1) << c->name;
    shot.draw(map);
    for (const MAP_CELL* c : map.cells) {
        if (c->state == 1) {
            EXPECT_EQ(shot.screen.getPixel(56 + c->x + c->w / 2, 38 + c->y + c->h / 2), grey) << c->name;
        }
    }
}

TEST(MapDrawTest, KeyAndPaintMarksShowOnVisitedRoomsUntilTheKeyIsTaken)
{
    Map map;
    MAP_CELL* keyRoom = cellOf(map, "dark01");   // D3
    MAP_CELL* paintRoom = cellOf(map, "dark02"); // D4
    MAP_CELL* seenKeyRoom = cellOf(map, "fall02"); // E3, seen from dark01
    keyRoom->hasKey = seenKeyRoom->hasKey = 1;
    paintRoom->hasPhospho = 1;
    map.setCurrentCell("./Level/dark02.lvl");
    map.setCurrentCell("./Level/dark01.lvl");
    ASSERT_EQ(seenKeyRoom->state, 1);

    MapScreen shot(map);
    EXPECT_EQ(shot.pixel("D3", 1, 1), yellow);
    EXPECT_EQ(shot.pixel("D3", 2, 2), int(0xFF542437u));
    EXPECT_EQ(shot.pixel("D4", 2, 2), lightBlue);
    EXPECT_EQ(shot.pixel("D4", 1, 1), int(0xFF542437u));
    EXPECT_EQ(shot.pixel("E3", 1, 1), grey) << "a seen room shows no mark";

    keyRoom->keyGot = 1;
    shot.draw(map);
    EXPECT_EQ(shot.pixel("D3", 1, 1), int(0xFF542437u));
}

std::string bonus(const char* nameLine, const char* text)
{
    return std::string("BONUS\n") + nameLine + "\n  eye.til\n 0 0\n 10 10 0\n  " + text + "\n";
}

std::string element(const char* text)
{
    return std::string("ELEMENT\nwall\n  wall.til\n 0 0\n 0 0 0\n  ") + text + "\n";
}

TEST(MapLevelFilesTest, OneTimeKeysAndPhosphorescentPaintAreFoundInTheLevelFiles)
{
    // A game folder whose Level/ holds the files the test writes.
    std::string dir = freshFolder("map_levels", "Level");
    auto write = [&dir](const char* stem, const std::string& text) {
        std::ofstream(dir + "/Level/" + stem + ".lvl") << text;
    };
    write("metro2", element("phospho") + bonus("  key_red", "one_time"));
    write("metro3", bonus("  key_blue", "gold") + bonus("  skull01", "one_time") + element("phospho_not"));
    write("entrance", bonus("  key_with_a_very_long_name", "one_time"));
    write("dark01", "MEMORIES\n" + bonus("key_unindented", "one_time"));
    // A record cut short by the end of the file.
    write("dark02", "ELEMENT\nwall\n  wall.til\n");

    Map map;
    map.lookForObjs(dir.c_str());
    MAP_CELL* metro2 = cellOf(map, "metro2");
    EXPECT_TRUE(metro2->hasKey);
    EXPECT_STREQ(metro2->keyName, "key_red");
    EXPECT_TRUE(metro2->hasPhospho);
    EXPECT_FALSE(cellOf(map, "metro3")->hasKey) << "a key that is not one-time, a one-time skull";
    EXPECT_FALSE(cellOf(map, "metro3")->hasPhospho) << "the kind word must be phospho itself";
    EXPECT_STREQ(cellOf(map, "entrance")->keyName, "key_with_a_very_");
    EXPECT_FALSE(cellOf(map, "dark01")->hasKey) << "the identifier follows two leading characters";
    EXPECT_FALSE(cellOf(map, "dark02")->hasPhospho);
    int marked = 0;
    for (const MAP_CELL* c : map.cells)
        marked += c->hasKey + c->hasPhospho;
    EXPECT_EQ(marked, 3) << "rooms without a file keep no marks";
}

// The map as the player sees it after a few rooms, with the game's fonts,
// written to a picture for looking at.
TEST(MapDrawTest, AMapAfterAFewRoomsShowsItsLabelsRoomsAndMarks)
{
    Typo title, labels;
    ASSERT_EQ(title.load(GLOAMER_GAME_DIR "/typo.dat"), 1);
    ASSERT_EQ(labels.load(GLOAMER_GAME_DIR "/typo_small.dat"), 1);
    mapSetTypo(&title, &labels);
    Map map;
    cellOf(map, "fall_game")->hasKey = 1;
    cellOf(map, "phospho_intro")->hasPhospho = 1;
    for (const char* stem : {"metro2", "metro3", "entrance", "intro_part10", "unknow_room", "hub_metro",
                             "classic_entrance", "phospho_intro", "fall_game_entrance", "fall_game", "locked_door"})
        map.setCurrentCell(("./Level/" + std::string(stem) + ".lvl").c_str());

    map.markPlayer(0.5f, 0.5f);

    MapScreen shot(map);
    mapSetTypo(nullptr, nullptr);
    auto whiteIn = [&shot](int x0, int x1, int y0, int y1) {
        int n = 0;
        for (int x = x0; x < x1; x++)
            for (int y = y0; y < y1; y++)
                n += shot.screen.getPixel(x, y) == white;
        return n;
    };
    // The panel's frame: rounded corners, white edges, a line under the
    // title and one over the room's name.
    EXPECT_EQ(shot.screen.getPixel(43, 14), black);
    for (int y : {14, 28, 123})
        EXPECT_EQ(shot.screen.getPixel(60, y), white) << y;
    EXPECT_GT(whiteIn(44, 44 + 113, 15 + 19, 15 + 20), 13) << "the column letters";
    EXPECT_EQ(shot.pixel("G8", 6, 6), white) << "the player in the middle of locked_door, G8 to H9";
    EXPECT_EQ(shot.pixel("G8", 4, 4), black) << "the mark's dark edge";
    EXPECT_GT(whiteIn(45, 44 + 112, 15 + 110, 15 + 119), 20) << "the room's name under the grid";
    // Rows 10 and 11, where nothing was found: the two-digit labels keep
    // clear of the grid's columns and inside the panel's frame.
    EXPECT_EQ(whiteIn(at("A10").x - 1, at("M10").x + 8, at("A10").y, at("A11").y + 7), 0);
    EXPECT_GT(whiteIn(45, at("A10").x - 1, at("A10").y, at("A11").y + 7), 10);
    EXPECT_GT(whiteIn(at("M10").x + 8, 44 + 112, at("A10").y, at("A11").y + 7), 10);

    // GLOAMER_SHOT_DIR keeps the picture for a look, magnified 4 times as
    // the game shows it.
    const char* keep = std::getenv("GLOAMER_SHOT_DIR");
    std::string out = keep ? std::string(keep) + "/map.png" : tempPath("map.png");
    PngImage png;
    png.resize(screenW * 4, screenH * 4);
    for (int x = 0; x < png.width; x++)
        for (int y = 0; y < png.height; y++)
            png.set(x, y, uint32_t(shot.screen.getPixel(x / 4, y / 4)) | 0xFF000000u);
    EXPECT_EQ(png.save(out.c_str()), 1) << png.error;
}

} // namespace
