#include "ReplayHarness.h"

#include <gtest/gtest.h>

// The car park's story played through the program: the slab of fall01
// gives way and the fall wakes the player on the floor of fall02; its deck
// ladders hold a climber at their tops.

using namespace replay;

TEST(CarParkStory, TheSlabOfFall01GivesWayAndThePlayerWakesOnTheFloorOfFall02)
{
    // Walking east from the west ground onto the slab.
    Rows rows = run("fall", "--start fall01.lvl 120 208", "2 down right\n200 up right\n", 420);
    int scene = firstRow(rows, Cutscene, "1");
    ASSERT_GE(scene, 0) << "the fall started the scene";
    EXPECT_EQ(rows[scene][Level], "./Level/fall01.lvl");
    EXPECT_GT(std::stoi(rows[scene][X]), 152) << "over the slab, not on the west ground";
    int arrival = firstRow(rows, Level, "./Level/fall02.lvl");
    ASSERT_GT(arrival, scene) << "the scene changed the level";
    EXPECT_EQ(rows[arrival][X], "131");
    int end = firstRow(rows, Cutscene, "0", arrival);
    ASSERT_GT(end, arrival) << "the scene gave control back";
    // Standing on the crack's floor (row 304, the feet 24 below y), still
    // where the scene put him, until the end of the run.
    for (int i = end; i < int(rows.size()); i++) {
        EXPECT_EQ(rows[i][X], "131") << "frame " << i;
        EXPECT_NEAR(std::stoi(rows[i][Y]) + 24, 304, 2) << "frame " << i;
    }
    EXPECT_EQ(rows.back()[Luminance], "1.000");
}

TEST(CarParkStory, LettingGoOfUpAtTheTopOfADeckLadderLeavesThePlayerOnIt)
{
    // From the lowest deck, Up held up the ladder to the deck above, then
    // let go at its top, 24 px over the deck's floor and over the shaft.
    Rows rows = run("ladder_top", "--start hub_parking.lvl 827 593", "2 down up\n240 up up\n", 300);
    int top = std::stoi(rows[239][Y]);
    EXPECT_LT(top + 24, 456) << "above the next deck's floor";
    for (int i = 240; i < 300; i++) {
        EXPECT_EQ(rows[i][OnLadder], "1") << "frame " << i;
        EXPECT_EQ(std::stoi(rows[i][Y]), top) << "frame " << i;
    }
}
