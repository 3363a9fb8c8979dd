#include "ReplayHarness.h"
#include "ReplayPlay.h"
#include "app/Session.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

// The program itself, run headless from its game directory with replayed
// keys, checked in its trace and pictures.

TEST(ReplayRun, UnknownOptionsAreRefusedWithTheUsage)
{
    EXPECT_EQ(playGame("--frames 1 --bogus"), 2);
    EXPECT_NE(readText(replayFile("stderr.txt")).find("usage: gloamer"), std::string::npos);
    EXPECT_EQ(playGame("--frames 1 --replay " + replayFile("missing.txt")), 2);
}

TEST(ReplayRun, AReplayGoesThroughTheDoorAndBackInTheTrace)
{
    // The player starts on metro2's door east, which leads to metro3's
    // door west, where the next press leads back.
    writeText(replayFile("doors.txt"), "# through the door and back\n"
                             "3 down e\n4 up e   # released\n"
                             "\n10 down e\n11 up e\n");
    ASSERT_EQ(playGame("--fast --frames 20 --start metro2.lvl 448 42 --replay " + replayFile("doors.txt") + " --trace " +
                   replayFile("doors_trace.txt")),
              0)
        << readText(replayFile("stderr.txt"));
    auto rows = traceRows(replayFile("doors_trace.txt"));
    ASSERT_EQ(rows.size(), 20u) << "one line per frame";
    for (const auto& row : rows)
        ASSERT_EQ(row.size(), size_t(replay::ColumnCount));
    EXPECT_EQ(rows[0][0], "0");
    EXPECT_EQ(rows[2][1], "./Level/metro2.lvl");
    EXPECT_EQ(rows[3][1], "./Level/metro3.lvl");
    EXPECT_EQ(rows[3][2], "8") << "at metro3's door west";
    EXPECT_EQ(rows[9][1], "./Level/metro3.lvl");
    EXPECT_EQ(rows[10][1], "./Level/metro2.lvl");
    EXPECT_EQ(rows[10][2], "448");
}

TEST(ReplayRun, AReplayRunTwiceGivesTheSameTraceAndPictures)
{
    writeText(replayFile("walk.txt"), "2 down right\n30 up right\n31 down space\n40 up space\n45 down left\n70 up left\n");
    auto run = [&](const char* suffix) {
        std::string t = replayFile((std::string("trace_") + suffix).c_str());
        std::string s = replayFile((std::string("shot_") + suffix + ".png").c_str());
        std::string s2 = replayFile((std::string("shot2_") + suffix + ".png").c_str());
        EXPECT_EQ(playGame("--fast --frames 80 --start metro3.lvl 40 64 --replay " + replayFile("walk.txt") + " --trace " + t +
                       " --shot 35:" + s + " --shot 79:" + s2),
                  0)
            << readText(replayFile("stderr.txt"));
        return readText(t) + readText(s) + readText(s2);
    };
    std::string first = run("a");
    std::string second = run("b");
    ASSERT_GT(first.size(), 1000u);
    EXPECT_TRUE(first == second) << "the runs differ";
    EXPECT_EQ(readText(replayFile("shot_a.png")).substr(1, 3), "PNG");
}

TEST(ReplayRun, ARecordReplaysTheSameKeys)
{
    writeText(replayFile("keys.txt"), "1 down right\n5 up right\n6 down left shift\n7 up left shift\n");
    ASSERT_EQ(playGame("--fast --frames 10 --replay " + replayFile("keys.txt") + " --record " + replayFile("record.txt")), 0);
    EXPECT_EQ(readText(replayFile("record.txt")), readText(replayFile("keys.txt")));
}

TEST(ReplayKeys, BadReplayLinesAreRefused)
{
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
    const char* bad[] = {"5 down\n", "x down e\n", "-1 down e\n", "5 sideways e\n", "5 down nokey\n"};
    for (const char* line : bad) {
        writeText(replayFile("bad.txt"), std::string("0 down e\n") + line);
        RUN_OPTIONS o;
        std::snprintf(o.replay, sizeof o.replay, "%s", replayFile("bad.txt").c_str());
        Session s;
        EXPECT_EQ(s.open(o), 0) << line;
        EXPECT_NE(std::string(s.error).find(":2:"), std::string::npos) << s.error;
    }
    SDL_Quit();
}

TEST(ReplayRun, TheOpeningOfANewGamePlaysInFramesUnderFast)
{
    std::string slot = std::string(GLOAMER_GAME_DIR) + "/Save/slot0.sav";
    std::remove(slot.c_str());
    std::remove((slot + ".bak").c_str());
    // New game, then the first slot.
    writeText(replayFile("new.txt"), "2 down return\n3 up return\n6 down return\n7 up return\n");
    ASSERT_EQ(playGame("--fast --frames 700 --replay " + replayFile("new.txt") + " --trace " + replayFile("opening.txt")), 0)
        << readText(replayFile("stderr.txt"));
    auto rows = traceRows(replayFile("opening.txt"));
    ASSERT_EQ(rows.size(), 700u);
    const int level = 1, x = 2, cutscene = 16, luminance = 18;
    int sceneStart = -1, sceneEnd = -1;
    for (int i = 0; i < int(rows.size()); i++) {
        if (sceneStart < 0 && rows[i][cutscene] == "1")
            sceneStart = i;
        if (sceneStart >= 0 && sceneEnd < 0 && rows[i][cutscene] == "0")
            sceneEnd = i;
    }
    ASSERT_GE(sceneStart, 0) << "the opening started";
    EXPECT_EQ(rows[sceneStart][luminance], "0.000") << "it begins black";
    ASSERT_GT(sceneEnd, sceneStart) << "the opening ended";
    // Waits of 11 s in all (333 frames of 33 ms) and three fades of 80
    // frames, whatever the speed of the machine.
    EXPECT_NEAR(sceneEnd - sceneStart, 333 + 3 * 80, 25);
    EXPECT_EQ(rows[sceneEnd][level], "./Level/metro2.lvl");
    EXPECT_EQ(rows[sceneEnd][x], "165");
    EXPECT_EQ(rows.back()[luminance], "1.000");
    std::remove(slot.c_str());
    std::remove((slot + ".bak").c_str());
}
