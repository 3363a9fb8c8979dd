#include "ReplayHarness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The car park's story played through the program: the slab of fall01
// gives way and the fall wakes the player on the floor of fall02; key 1
// lies in the maze; its deck ladders hold a climber at their tops.

namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows playFrom(const char* name, const std::string& start, const std::string& keys, int frames)
{
    std::string replay = replayFile((std::string(name) + ".txt").c_str());
    std::string trace = replayFile((std::string(name) + "_trace.txt").c_str());
    writeText(replay, keys);
    int status = playGame("--fast --frames " + std::to_string(frames) + " --start " + start + " --replay " + replay +
                          " --trace " + trace);
    EXPECT_EQ(status, 0) << readText(replayFile("stderr.txt"));
    return traceRows(trace);
}

int firstRow(const Rows& rows, int column, const std::string& value)
{
    for (std::size_t i = 0; i < rows.size(); i++)
        if (rows[i].size() > std::size_t(column) && rows[i][column] == value)
            return int(i);
    return -1;
}

} // namespace

TEST(CarParkStory, TheSlabOfFall01GivesWayAndThePlayerWakesOnTheFloorOfFall02)
{
    // Walking east from the west ground onto the slab.
    Rows rows = playFrom("fall", "fall01.lvl 120 208", "2 down right\n200 up right\n", 420);
    ASSERT_EQ(rows.size(), 420u);
    int scene = firstRow(rows, TraceCutscene, "1");
    ASSERT_GE(scene, 0) << "the fall started the scene";
    EXPECT_EQ(rows[scene][TraceLevel], "./Level/fall01.lvl");
    EXPECT_GT(std::stoi(rows[scene][TraceX]), 152) << "over the slab, not on the west ground";
    int arrival = firstRow(rows, TraceLevel, "./Level/fall02.lvl");
    ASSERT_GT(arrival, scene) << "the scene changed the level";
    EXPECT_EQ(rows[arrival][TraceX], "131");
    int end = arrival + firstRow(Rows(rows.begin() + arrival, rows.end()), TraceCutscene, "0");
    ASSERT_GT(end, arrival) << "the scene gave control back";
    // Standing on the crack's floor (row 304, the feet 24 below y), still
    // where the scene put him, until the end of the run.
    for (int i = end; i < int(rows.size()); i++) {
        EXPECT_EQ(rows[i][TraceX], "131") << "frame " << i;
        EXPECT_NEAR(std::stoi(rows[i][TraceY]) + 24, 304, 2) << "frame " << i;
    }
    EXPECT_EQ(rows.back()[TraceLuminance], "1.000");
}

TEST(CarParkStory, KeyOneLiesInTheMaze)
{
    // From the second storey's west cell, walking to its dead end.
    Rows rows = playFrom("maze", "maze.lvl 60 104", "2 down left\n40 up left\n", 60);
    ASSERT_EQ(rows.size(), 60u);
    EXPECT_EQ(rows.front()[TraceKeys], "0");
    int taken = firstRow(rows, TraceKeys, "1");
    ASSERT_GT(taken, 0) << "the key was taken";
    EXPECT_LT(std::stoi(rows[taken][TraceX]), 40) << "where it lies, at the west end";
    EXPECT_EQ(rows.back()[TraceKeys], "1");
}

TEST(CarParkStory, LettingGoOfUpAtTheTopOfADeckLadderLeavesThePlayerOnIt)
{
    // From the lowest deck, Up held up the ladder to the deck above, then
    // let go at its top, 24 px over the deck's floor and over the shaft.
    Rows rows = playFrom("ladder_top", "hub_parking.lvl 827 593", "2 down up\n240 up up\n", 300);
    ASSERT_EQ(rows.size(), 300u);
    int top = std::stoi(rows[239][TraceY]);
    EXPECT_LT(top + 24, 456) << "above the next deck's floor";
    for (int i = 240; i < 300; i++) {
        EXPECT_EQ(rows[i][TraceOnLadder], "1") << "frame " << i;
        EXPECT_EQ(std::stoi(rows[i][TraceY]), top) << "frame " << i;
    }
}
