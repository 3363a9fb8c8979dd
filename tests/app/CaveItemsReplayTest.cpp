#include "ReplayHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

// The dog of the caves, and the hazards of the caves and the dark rooms
// (gas, a collapse, a crate, rising water), played in their rooms and
// checked in the trace.

using namespace replay;

namespace {

int lowestLife(const Rows& rows, int from)
{
    int lowest = 1000;
    for (int i = from; i < int(rows.size()); i++)
        lowest = std::min(lowest, std::stoi(rows[i][Life]));
    return lowest;
}

bool reaches(const Rows& rows, const std::string& room)
{
    for (const auto& row : rows)
        if (row[Level] == "./Level/" + room + ".lvl")
            return true;
    return false;
}

} // namespace

// Whom a dog chases by the lamp he carries, and its catch, are
// ContactTest.HurtsTakeALifeAndProtectForAWhilePicksAndDogsKill's.
TEST(CaveItems, TheDogOfTheGalleryFleesTheAcetyleneLamp)
{
    // Along the dog's gallery to its ladder, up, left to the door above.
    const std::string keys = "5 down right\n200 up right\n201 down up\n440 up up\n441 down left\n"
                             "492 up left\n495 down e\n496 up e\n";
    Rows lamp = run("dog_lamp", "--start dog_room04.lvl 32 258", keys, 520);
    EXPECT_EQ(lamp[0][Lamp], "3") << "a game begun with --start carries the acetylene lamp";
    EXPECT_EQ(lowestLife(lamp, 0), 3) << "the dog ran away";
    EXPECT_EQ(lamp.back()[Level], "./Level/skull_room02.lvl");
}

TEST(CaveItems, TheGasGalleryIsCrossedWithTwoPlainJumpsAndPunishesWaiting)
{
    // Walking right at once, a jump before each pit, the far door.
    const std::string keys = "11 down right\n102 down space\n106 up space\n164 down space\n168 up space\n"
                             "216 up right\n218 down e\n219 up e\n";
    Rows run1 = run("gas", "--start dark05.lvl 24 169", keys, 260);
    EXPECT_TRUE(reaches(run1, "dark06"));
    EXPECT_EQ(lowestLife(run1, 0), 3);
    Rows waiting = run("gas_wait", "--start dark05.lvl 24 169", "", 420);
    EXPECT_LT(lowestLife(waiting, 0), 3) << "the gas reaches the door he came in by";
}

TEST(CaveItems, TheStreetsCollapseIsCrawledUnderAndNeverStoodUpIn)
{
    // Standing up before the collapse, he cannot walk in; crawling, he goes
    // in, and letting go of every key inside leaves him crouched.
    const std::string keys = "11 down down\n12 down right\n50 up down\n70 down down\n210 up right\n211 up down\n";
    Rows rows = run("collapse", "--start alesia_street.lvl 440 257", keys, 250);
    const int collapseLeft = 480, standingY = 257;
    for (int i = 55; i < 70; i++)
        EXPECT_LT(std::stoi(rows[i][X]) + 8, collapseLeft) << i;
    EXPECT_GT(std::stoi(rows[249][X]), collapseLeft + 40);
    for (int i = 215; i < 250; i++) {
        EXPECT_EQ(rows[i][Crawl], "1") << i;
        EXPECT_EQ(std::stoi(rows[i][Y]), standingY) << i;
    }
}

TEST(CaveItems, TheStoreRoomsCrateMeetsTheStepWithNoSlotToFallInto)
{
    // The crate pushed against the step, a jump onto it, then on towards
    // the step: he stays on the crate's top.
    const std::string keys = "11 down right\n180 up right\n210 down right\n238 down space\n246 up space\n272 up right\n";
    Rows rows = run("crate", "--start dark04.lvl 64 273", keys, 340);
    const int onTheCrate = 246;
    for (int i = 280; i < 340; i++) {
        EXPECT_EQ(std::stoi(rows[i][Y]), onTheCrate) << i;
        EXPECT_EQ(rows[i][Jumping], "0") << i;
    }
}

TEST(CaveItems, TheCisternsRaftCarriesAWalkerUpBesideTheWallAndTheWayBackBeatsTheWater)
{
    // Holding left from the east door, now or after five seconds: onto the
    // crates in the well, up with them against the cavern's wall, along the
    // gallery to the west door. Below the gallery he never enters the wall.
    const int wallX = 340, galleryY = 57;
    for (int wait : {0, 150}) {
        const std::string keys = std::to_string(11 + wait) + " down left\n603 up left\n605 down e\n606 up e\n";
        Rows rows = run("cistern", "--start water_fill01.lvl 464 137", keys, 620);
        EXPECT_TRUE(reaches(rows, "water_fill02")) << wait;
        EXPECT_EQ(lowestLife(rows, 0), 3) << wait;
        for (const auto& row : rows) {
            if (std::stoi(row[Y]) > galleryY + 2 && row[Level] == "./Level/water_fill01.lvl") {
                ASSERT_GE(std::stoi(row[X]), wallX) << wait << " frame " << row[Frame];
            }
        }
    }
    // From the west door, after two seconds: the gallery, the drop through
    // its hole, the east door before the water reaches its ledge.
    const std::string back = "71 down right\n273 up right\n275 down e\n276 up e\n";
    Rows rows = run("cistern_back", "--start water_fill01.lvl 40 57", back, 300);
    EXPECT_TRUE(reaches(rows, "entrance23"));
    EXPECT_EQ(lowestLife(rows, 0), 3);
}
