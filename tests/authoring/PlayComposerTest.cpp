// Route files read into legs, and keys legs laid one after the other.

#include "authoring/PlayComposer.h"

#include "player/PlayerFixtures.h"

#include <filesystem>
#include <fstream>

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
                         "keys k.keys 5 2\n", "then a b\n"};
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
}
