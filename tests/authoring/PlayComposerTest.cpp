// Route files read into legs, and keys legs laid one after the other.

#include "authoring/PlayComposer.h"

#include "player/PlayerFixtures.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

// Writes `name` into the tests' folder under that very name, as routes name
// the files they read.
std::string writeRoute(const char* name, const std::string& text)
{
    std::string path = std::filesystem::path(tempPath("x")).parent_path().string() + "/" + name;
    std::ofstream(path) << text;
    return path;
}

} // namespace

TEST(PlayComposer, BadLegsAndEndlessIncludesAreRefusedWithTheirLine)
{
    const char* bad[] = {"reach metro2 to_metro3\n", "wait 0\n", "walk metro2\n", "keys missing.keys\n",
                         "keys k.keys 5 2\n", "then a b\n", "slot missing.slot\n"};
    writeRoute("k.keys", "0 down e\n");
    for (const char* leg : bad) {
        PlayComposer composer;
        EXPECT_EQ(composer.readRoute(writeRoute("bad.route", std::string("# first\n") + leg).c_str()), 0) << leg;
        EXPECT_NE(std::string(composer.error).find("bad.route:2"), std::string::npos) << composer.error;
    }
    PlayComposer looping;
    EXPECT_EQ(looping.readRoute(writeRoute("loop.route", "include loop.route\n").c_str()), 0);
    EXPECT_NE(std::string(looping.error).find("too deep"), std::string::npos) << looping.error;
}

TEST(PlayComposer, KeysLegsFollowEachOtherAndARangeIsShiftedToWhereItStarts)
{
    writeRoute("menu.keys", "2 down return   # new game\n3 up return\n");
    writeRoute("line.keys", "0 down right\n40 up right\n41 down e\n42 up e\n42 down left\n60 up left\n");
    PlayComposer composer;
    ASSERT_EQ(composer.readRoute(writeRoute("keys.route", "keys menu.keys\nwait 10\nkeys line.keys 41 42\n"
                                                          "then to_x\n")
                                     .c_str()),
              1)
        << composer.error;
    ASSERT_EQ(composer.legs.size(), 4u);
    EXPECT_EQ(composer.legs[2].first, 41);
    EXPECT_EQ(composer.compose(GLOAMER_GAME_DIR), 0) << "then needs a reach in the same room";
    EXPECT_NE(std::string(composer.error).find("keys.route:4"), std::string::npos) << composer.error;

    composer.legs.pop_back();
    composer.tail = 1;
    ASSERT_EQ(composer.compose(GLOAMER_GAME_DIR), 1) << composer.error;
    // The menu ends at 4, ten frames wait, then the range from 41 starts at
    // 14; of its last frame it keeps the key let go, while the left key
    // pressed there belongs to the next leg.
    std::string keys = composer.replay.substr(composer.replay.find("\n2 down return") + 1);
    EXPECT_EQ(keys, "2 down return\n3 up return\n14 down e\n15 up e\n");
    EXPECT_NE(composer.replay.find("# fingerprint " + composer.fingerprint(GLOAMER_GAME_DIR)), std::string::npos);
    EXPECT_NE(composer.replay.find("\n# frames 15\n"), std::string::npos) << "the range ends at 15";
}

// A route that begins from a save slot with Continue (the search starting
// where the player stands), its room search kept in a cache: the second
// composing takes the way from the cache, so a way spoilt there is what the
// program plays.
TEST(PlayComposer, ASlotRouteContinuesAndTheCacheGivesTheWaysBack)
{
    std::string slot = writeRoute("entrance.slot", "PLAYER_POSITION 16 34\nPLAYER_OLD_POSITION 16 34\n"
                                                 "PLAYER_TORCH 2\nPLAYER_CURRENT_TORCH 2\nPLAYER_LIFE 3\n"
                                                 "PLAYER_MAX_LIFE 6\nPLAYER_RESPAWN 3\nPLAYER_VISIBLE 1\n"
                                                 "PLAYER_LEVEL ./Level/entrance.lvl\nPLAYER_N_OBJECTS 0\nEND\n");
    writeRoute("continue.keys", "2 down down\n3 up down\n6 down return\n7 up return\n10 down return\n11 up return\n");
    std::string route = writeRoute("slot.route", "slot entrance.slot\nkeys continue.keys\nwait-room entrance\n"
                                                 "wait 20\nreach entrance to_metro3 to_intro_part10\nwait-room intro_part10\n");
    std::string cache = writeRoute("ways.cache", "");
    PlayComposer first;
    first.cachePath = cache;
    first.tail = 1;
    ASSERT_EQ(first.readRoute(route.c_str()), 1) << first.error;
    ASSERT_EQ(first.compose(GLOAMER_GAME_DIR), 1) << first.error;

    // The places the program showed (each a line of its trace, in the
    // room waited for), and the one way searched.
    std::ifstream in(cache);
    std::vector<std::string> places;
    std::string key, way;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string first, second, third;
        words >> first >> second >> third;
        if (first[0] == '@')
            places.push_back(third);
        else {
            EXPECT_TRUE(key.empty()) << "one way";
            key = first;
            way = second;
        }
    }
    EXPECT_EQ(places, (std::vector<std::string>{"./Level/entrance.lvl", "./Level/entrance.lvl",
                                                "./Level/intro_part10.lvl"}));
    ASSERT_FALSE(way.empty());
    writeRoute("ways.cache", key + " " + std::string(2 * way.size(), 'a') + "\n");
    PlayComposer again;
    again.cachePath = cache;
    ASSERT_EQ(again.readRoute(route.c_str()), 1) << again.error;
    EXPECT_EQ(again.compose(GLOAMER_GAME_DIR), 0) << "standing still never comes to intro_part10";
    EXPECT_NE(std::string(again.error).find("slot.route:6"), std::string::npos) << again.error;
}
