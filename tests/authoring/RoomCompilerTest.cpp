#include "authoring/RoomCompiler.h"

#include "assets/Tile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

const unsigned rockColour = 0xFF404040u, wallColour = 0xFF2020A0u, crustColour = 0xFFFFFF00u;

void fill(Tile* t, unsigned colour, int depth, float glow = 0.0f)
{
    for (int f = 0; f < t->frameCount; f++)
        for (int i = 0; i < t->width * t->height; i++)
            t->frames[f].data[i] = TILE_PIXEL{int(colour), depth, glow};
}

// A compiler with small stand-ins for the art a room uses.
struct Rooms : testing::Test {
    RoomCompiler c;
    void SetUp() override
    {
        fill(c.addTile("rock01.til", 4, 4, 1), rockColour, 10);
        fill(c.addTile("wall_tiles.til", 4, 4, 1), wallColour, 2, 0.5f);
        Tile* floor = c.addTile("floor_metro.til", 4, 3, 1);
        fill(floor, rockColour, 10);
        for (int x = 0; x < 4; x++)
            floor->pixelAt(0, x, 0)->colour = int(crustColour), floor->pixelAt(0, x, 0)->depth = 9;
        Tile* platform = c.addTile("platform_metal.til", 4, 8, 1);
        for (int x = 0; x < 4; x++)
            for (int y = 0; y < 2; y++)
                *platform->pixelAt(0, x, y) = TILE_PIXEL{int(crustColour), 9, 0.0f};
        fill(c.addTile("door_metal.til", 6, 12, 1), 0xFF884400u, 3);
        fill(c.addTile("door_locked.til", 6, 12, 1), 0xFF884400u, 3);
        fill(c.addTile("ladder_metal.til", 4, 16, 1), 0xFF666666u, 5);
        fill(c.addTile("key.til", 5, 3, 1), 0xFFFFFF00u, 4);
        fill(c.addTile("lamp_wall.til", 3, 4, 1), 0xFFFFFFFFu, 5, 1.0f);
        fill(c.addTile("sign_wood.til", 6, 5, 1), 0xFF8B5A2Bu, 4);
        fill(c.addTile("void.til", 1, 1, 1), 0u, 0);
        fill(c.addTile("switch01.anm", 3, 4, 4), 0xFF999999u, 5);
        fill(c.addTile("electric_box.til", 4, 5, 1), 0xFF999999u, 4);
        fill(c.addTile("gold_coin01.anm", 3, 3, 7), 0xFFFFD700u, 4);
    }
    std::string error(const std::string& source)
    {
        EXPECT_EQ(c.compile("rooms/bad.room", source), 0);
        return c.error;
    }
};

const char* smallRoom = "# A corridor with a door at each end.\n"
                        "ZONE metro\n"
                        "BASE_COLOR FF101010\n"
                        "MEMORIES\n"
                        "CHECKPOINT\n"
                        "MUSIC 2\n"
                        "GRID\n"
                        "######\n"
                        "#d.:k#\n"
                        "#==-==\n"
                        "######\n"
                        "END\n"
                        "PUT d name=west door metro3 east\n"
                        "PUT k bonus key\n"
                        "AT 20 3 name=lamp light omni FFCC66 0.8 1 2 40\n"
                        "AT 30 1 text FFFFFF00 Mind   the gap.\n"
                        "AT 9 2 box box1 lamp 01111111 11111111\n";

TEST_F(Rooms, SmallRoomCompilesToTheLevelText)
{
    ASSERT_EQ(c.compile("content/rooms/corridor.room", smallRoom), 1) << c.error;
    EXPECT_EQ(c.room, "corridor");
    EXPECT_EQ(c.level, "BASE_COLOR -15724528\n"
                       "BASE_DEPTH 10\n"
                       "MEMORIES\n"
                       "INFO checkpoint\n"
                       "MUSIC 2\n"
                       "ELEMENT\nroom\n  room_corridor.til\n 0 0\n 0 0 0\n  room\n"
                       // Legend characters stand on the bottom of their cell.
                       "ELEMENT\nwest\n  door_metal.til\n 0 0\n 8 4 0\n  door metro3.lvl east\n"
                       "ELEMENT\nlamp\n  lamp_wall.til\n 0 0\n 20 3 0\n  light omni FFFFCC66 0.8 1 2 40\n"
                       "ELEMENT\nsign01\n  sign_wood.til\n 0 0\n 30 1 0\n  text FFFFFF00 Mind   the gap.\n"
                       "ELEMENT\nbox01\n  electric_box.til\n 0 0\n 9 2 0\n  graph\n"
                       "BONUS\n  key_corridor\n  key.til\n 0 0\n 32 13 0\n  one_time\n"
                       "ELECTRIC_BOX\nbox1\n0 1 1 1 1 1 1 1\n1 1 1 1 1 1 1 1\nlamp\n");
}

TEST_F(Rooms, GridIsPaintedInTheZoneTextures)
{
    ASSERT_EQ(c.compile("corridor.room", smallRoom), 1) << c.error;
    ASSERT_EQ(c.colour.width, 48);
    ASSERT_EQ(c.colour.height, 32);
    // Rock: its texture at depth 10.
    EXPECT_EQ(c.colour.get(1, 1), rockColour);
    EXPECT_EQ(c.depth.get(1, 1) & 0xFF, 10u);
    // Back wall, with its incandescence.
    EXPECT_EQ(c.colour.get(16, 10), wallColour);
    EXPECT_EQ(c.depth.get(16, 10) & 0xFF, 2u);
    EXPECT_EQ(c.glow.get(16, 10) & 0xFF, 127u);
    // Void is left empty: the level's base colour and depth show there.
    EXPECT_EQ(c.colour.get(25, 10), 0u);
    // A floor shows its top row where open space lies above, rock below.
    EXPECT_EQ(c.colour.get(9, 16), crustColour);
    EXPECT_EQ(c.depth.get(9, 16) & 0xFF, 9u);
    EXPECT_EQ(c.colour.get(9, 19), rockColour);
    // A platform's see-through rows show the wall of its row behind it.
    EXPECT_EQ(c.colour.get(25, 16), crustColour);
    EXPECT_EQ(c.colour.get(25, 20), wallColour);
    // The legend's cells show what lies beside them.
    EXPECT_EQ(c.colour.get(9, 9), wallColour);
}

TEST_F(Rooms, LaddersStackOverTheirRunAndWaterLinesUseMapRows)
{
    const char* room = "GRID\n"
                       "#....#\n"
                       "#.H..#\n"
                       "#.H..#\n"
                       "#.H.w#\n"
                       "#=====\n"
                       "END\n"
                       "PUT H ladder\n"
                       "PUT w waterfill 20\n";
    ASSERT_EQ(c.compile("shaft.room", room), 1) << c.error;
    // Three rows (24 pixels) hold a 16-pixel ladder twice, the second one
    // raised to end on the floor; both sit centred on the column.
    EXPECT_NE(c.level.find("ELEMENT\nladder01\n  ladder_metal.til\n 0 0\n 18 8 0\n  ladder\n"), std::string::npos);
    EXPECT_NE(c.level.find("ELEMENT\nladder02\n  ladder_metal.til\n 0 0\n 18 16 0\n  ladder\n"), std::string::npos);
    // The map's top row is world row -1, and filling water stops one row
    // above its limit: a surface at y 20 is limit 22.
    EXPECT_NE(c.level.find("  waterfill 22\n"), std::string::npos) << c.level;
}

TEST_F(Rooms, AnimatedTilesPlayAndOptionsOverrideDefaults)
{
    const char* room = "GRID\n"
                       "#....#\n"
                       "#s.g.#\n"
                       "######\n"
                       "END\n"
                       "PUT s depth=2 dx=1 switch box1 3\n"
                       "PUT g speed=0.5 frame=2 bonus gold\n";
    ASSERT_EQ(c.compile("anim.room", room), 1) << c.error;
    EXPECT_NE(c.level.find("ELEMENT\nswitch01\n  switch01.anm\n 1 0\n 9 12 2\n  switch box1 3\n"), std::string::npos)
        << c.level;
    EXPECT_NE(c.level.find("BONUS\n  gold01\n  gold_coin01.anm\n 0 0\n 24 13 0\n  gold\n"), std::string::npos)
        << c.level;
}

TEST_F(Rooms, FillsRedefineCharactersAndThingsHangOrLieAsAsked)
{
    fill(c.addTile("brick.til", 2, 2, 1), 0xFF993322u, 3);
    fill(c.addTile("invisible_block.til", 4, 4, 1), 0u, 0);
    fill(c.addTile("flyer01.til", 5, 2, 1), 0xFFEEEEEEu, 4);
    const char* room = "BASE_DEPTH 0\n"
                       "FILL o back brick.til 4\n"
                       "FILL . void\n"
                       "GRID\n"
                       "#ooo.l#\n"
                       "#o.x.m#\n"
                       "#======\n"
                       "END\n"
                       "PUT l align=top tile=lamp_wall.til light omni FFFFFF 1 0 0 30\n"
                       "PUT x locked_door cellar stairs 2\n"
                       "PUT m bonus movie 4\n"
                       "AT 3 20 sheet  Keep   right.\n";
    ASSERT_EQ(c.compile("fills.room", room), 1) << c.error;
    // "o" is brick, its depth raised by 4; "." is now void.
    EXPECT_EQ(c.colour.get(9, 1), 0xFF993322u);
    EXPECT_EQ(c.depth.get(9, 1) & 0xFF, 7u);
    EXPECT_EQ(c.colour.get(33, 1), 0u);
    EXPECT_NE(c.level.find("BASE_DEPTH 0\n"), std::string::npos);
    // Hung from the top of its cell, not stood on its bottom.
    EXPECT_NE(c.level.find("  lamp_wall.til\n 0 0\n 40 0 0\n  light omni FFFFFFFF 1 0 0 30\n"), std::string::npos)
        << c.level;
    EXPECT_NE(c.level.find("  door_locked.til\n 0 0\n 24 4 0\n  locked_key_door cellar.lvl stairs 2\n"),
              std::string::npos);
    EXPECT_NE(c.level.find("BONUS\n  movie01\n  invisible_block.til\n 0 0\n 40 12 0\n  movie 4\n"),
              std::string::npos);
    EXPECT_NE(c.level.find("BONUS\n  sheet01\n  flyer01.til\n 0 0\n 3 20 0\n  sheet Keep   right.\n"),
              std::string::npos);
}

TEST_F(Rooms, ErrorsNameTheFileAndTheLine)
{
    EXPECT_EQ(error("GRID\n####\n#?.#\n####\nEND\n"), "rooms/bad.room:3: unknown grid character '?' in column 2");
    EXPECT_EQ(error("GRID\n####\n#d.#\n####\nEND\nPUT d door\n"), "rooms/bad.room:6: door without destination");
    EXPECT_EQ(error("GRID\n####\n#d.#\n####\nEND\nPUT d door metro3\n"),
              "rooms/bad.room:6: door without target element");
    EXPECT_EQ(error("GRID\n####\n#..\n####\nEND\n"),
              "rooms/bad.room:3: ragged grid: this line has 3 characters, the first had 4");
    EXPECT_EQ(error("ZONE metro\nFLOOR 3\nGRID\n#\nEND\n"), "rooms/bad.room:2: unknown keyword \"FLOOR\"");
    EXPECT_EQ(error("GRID\n####\nEND\nAT 1 1 tile=nothing.til pushable\n"),
              "rooms/bad.room:4: unknown tile \"nothing.til\"");
    EXPECT_EQ(error("GRID\n####\n#..#\n####\nEND\nPUT k bonus key\n"),
              "rooms/bad.room:6: 'k' places a thing but is not in the grid");
    EXPECT_EQ(error("GRID\n####\n#k.#\n####\nEND\nPUT k name=key_of_the_great_hall bonus key\n"),
              "rooms/bad.room:6: key name \"key_of_the_great_hall\" is longer than 16 characters; give name=");
    EXPECT_EQ(error("GRID\n####\n####\n"), "rooms/bad.room:3: the grid has no END line");
    EXPECT_EQ(error("GRID\n####\nEND\nAT 2 2 light omni FFFFFF 1.0 0 0\n"),
              "rooms/bad.room:4: light: expected \"light omni COLOUR INTENSITY DX DY RADIUS\"");
    EXPECT_EQ(error("GRID\n####\nEND\nAT 40 2 bonus gold\n"), "rooms/bad.room:4: position 40 2 lies outside the room");
    EXPECT_EQ(error("BASE_COLOR red\nGRID\n#\nEND\n"),
              "rooms/bad.room:1: BASE_COLOR needs a colour such as FF000000, not \"red\"");
}

// The game bakes a decor's depth over the room: one laid over the ground
// the player walks on must keep it solid, or he sinks into the floor.
TEST_F(Rooms, DecorOpeningTheWalkedFloorIsWarnedOf)
{
    fill(c.addTile("plaque.til", 4, 8, 1), 0xFF777777u, 2);
    const char* grid = "GRID\n"
                       "######\n"
                       "#....#\n"
                       "#....#\n"
                       "#====#\n"
                       "######\n"
                       "END\n";
    std::string harmless = std::string(grid) + "AT 16 8 tile=plaque.til decor\n"
                                               "AT 24 20 depth=8 tile=plaque.til decor\n"
                                               "AT 8 20 tile=plaque.til graph\n";
    ASSERT_EQ(c.compile("rooms/floor.room", harmless), 1) << c.error;
    EXPECT_TRUE(c.warnings.empty()) << c.warnings[0];

    // Rows 20 to 27 over a floor whose top pixel (row 24) is its crust: the
    // first solid pixel the plaque opens is row 25.
    ASSERT_EQ(c.compile("rooms/floor.room", std::string(grid) + "AT 16 8 tile=plaque.til decor\n"
                                                                "AT 8 20 name=plaque tile=plaque.til decor\n"),
              1)
        << c.error;
    ASSERT_EQ(c.warnings.size(), 1u);
    EXPECT_EQ(c.warnings[0], "rooms/floor.room:9: warning: the decor plaque opens a hole in the floor at 8 25");
    EXPECT_NE(c.level.find("plaque.til"), std::string::npos) << "a warning still writes the room";
}

// Numbers a room gives are held to what the level reader takes, so that no
// position, offset or target computed from them can overflow.
TEST_F(Rooms, UnknownFillsAndOutOfRangeNumbersAreRefused)
{
    EXPECT_EQ(error("FILL x lava wall_tiles.til\nGRID\n#\nEND\n"),
              "rooms/bad.room:1: unknown fill \"lava\" (back, rock, floor, platform, void)");
    EXPECT_EQ(error("GRID\n####\n#m.#\n####\nEND\nPUT m tile=key.til move 2147483000 0\n"),
              "rooms/bad.room:6: move: \"2147483000\" is not a whole number");
    EXPECT_EQ(error("GRID\n####\n#m.#\n####\nEND\nPUT m tile=key.til move 8192 0\n"),
              "rooms/bad.room:6: move: the target lies beyond the level limit");
    EXPECT_EQ(error("GRID\n####\n#w.#\n####\nEND\nPUT w waterfill -2147483648\n"),
              "rooms/bad.room:6: waterfill: \"-2147483648\" is not a whole number");
    std::string far = error("GRID\n####\n#k.#\n####\nEND\nPUT k dx=8190 bonus key\n");
    EXPECT_EQ(far.find("rooms/bad.room:6: position 8198 "), 0u) << far;
    EXPECT_NE(far.find("lies beyond the level limit"), std::string::npos) << far;
}

TEST_F(Rooms, WriteProducesTheLevelAndAPackableManifest)
{
    ASSERT_EQ(c.compile("corridor.room", smallRoom), 1) << c.error;
    std::string folder = testing::TempDir();
    std::string lvl = folder + "corridor.lvl";
    ASSERT_EQ(c.write(lvl.c_str(), folder.c_str()), 1) << c.error;

    RoomCompiler again;
    std::string manifest = folder + "/room_corridor.manifest";
    ASSERT_EQ(again.loadArt(manifest.c_str()), 1) << again.error;
    // The manifest packs the picture back with its depth and incandescence.
    const char* probe = "GRID\n#\nEND\nAT 0 0 tile=room_corridor.til graph\n";
    fill(again.addTile("rock01.til", 4, 4, 1), rockColour, 10);
    ASSERT_EQ(again.compile("probe.room", probe), 1) << again.error;
    PngImage png;
    ASSERT_EQ(png.load((folder + "/room_corridor.depth.png").c_str()), 1);
    EXPECT_EQ(png.get(16, 10) & 0xFF, 2u);
    std::ifstream in(lvl);
    std::string first;
    EXPECT_TRUE(std::getline(in, first) && first == "BASE_COLOR -15724528") << first;
}

} // namespace
