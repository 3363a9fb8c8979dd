#include "app/Session.h"
#include "render/PngImage.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// The program itself, run headless from its game directory with replayed
// keys, checked in its trace and pictures.

namespace {

std::string folder()
{
    static std::string path = [] {
        char pattern[] = "/tmp/gloamer_replay_XXXXXX";
        const char* made = mkdtemp(pattern);
        return std::string(made ? made : "/tmp");
    }();
    return path;
}

std::string file(const char* name)
{
    return folder() + "/" + name;
}

void write(const std::string& path, const std::string& text)
{
    std::ofstream(path) << text;
}

std::string read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs the game with `arguments`; returns its exit code.
int play(const std::string& arguments)
{
    std::string command = std::string("cd ") + GLOAMER_GAME_DIR +
                          " && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ./gloamer " + arguments + " 2>" +
                          file("stderr.txt");
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::vector<std::string>> traceRows(const std::string& path)
{
    std::vector<std::vector<std::string>> rows;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::vector<std::string> row;
        std::string w;
        while (words >> w)
            row.push_back(w);
        rows.push_back(row);
    }
    return rows;
}

} // namespace

TEST(ReplayRun, UnknownOptionsAreRefusedWithTheUsage)
{
    EXPECT_EQ(play("--frames 1 --bogus"), 2);
    EXPECT_NE(read(file("stderr.txt")).find("usage: gloamer"), std::string::npos);
    EXPECT_EQ(play("--frames 1 --replay " + file("missing.txt")), 2);
}

TEST(ReplayRun, AReplayGoesThroughTheDoorAndBackInTheTrace)
{
    // The player starts on metro2's door east, which leads to metro3's
    // door west, where the next press leads back.
    write(file("doors.txt"), "# through the door and back\n"
                             "3 down e\n4 up e   # released\n"
                             "\n10 down e\n11 up e\n");
    ASSERT_EQ(play("--fast --frames 20 --start metro2.lvl 448 42 --replay " + file("doors.txt") + " --trace " +
                   file("doors_trace.txt")),
              0)
        << read(file("stderr.txt"));
    auto rows = traceRows(file("doors_trace.txt"));
    ASSERT_EQ(rows.size(), 20u) << "one line per frame";
    const int columns = 19;
    for (const auto& row : rows)
        ASSERT_EQ(row.size(), size_t(columns));
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
    write(file("walk.txt"), "2 down right\n30 up right\n31 down space\n40 up space\n45 down left\n70 up left\n");
    auto run = [&](const char* suffix) {
        std::string t = file((std::string("trace_") + suffix).c_str());
        std::string s = file((std::string("shot_") + suffix + ".png").c_str());
        std::string s2 = file((std::string("shot2_") + suffix + ".png").c_str());
        EXPECT_EQ(play("--fast --frames 80 --start metro3.lvl 40 64 --replay " + file("walk.txt") + " --trace " + t +
                       " --shot 35:" + s + " --shot 79:" + s2),
                  0)
            << read(file("stderr.txt"));
        return read(t) + read(s) + read(s2);
    };
    std::string first = run("a");
    std::string second = run("b");
    ASSERT_GT(first.size(), 1000u);
    EXPECT_TRUE(first == second) << "the runs differ";
    EXPECT_EQ(read(file("shot_a.png")).substr(1, 3), "PNG");
}

TEST(ReplayRun, ARecordReplaysTheSameKeys)
{
    write(file("keys.txt"), "1 down right\n5 up right\n6 down left shift\n7 up left shift\n");
    ASSERT_EQ(play("--fast --frames 10 --replay " + file("keys.txt") + " --record " + file("record.txt")), 0);
    EXPECT_EQ(read(file("record.txt")), read(file("keys.txt")));
}

TEST(ReplayKeys, BadReplayLinesAreRefused)
{
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
    const char* bad[] = {"5 down\n", "x down e\n", "-1 down e\n", "5 sideways e\n", "5 down nokey\n"};
    for (const char* line : bad) {
        write(file("bad.txt"), std::string("0 down e\n") + line);
        RUN_OPTIONS o;
        std::snprintf(o.replay, sizeof o.replay, "%s", file("bad.txt").c_str());
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
    write(file("new.txt"), "2 down return\n3 up return\n6 down return\n7 up return\n");
    ASSERT_EQ(play("--fast --frames 700 --replay " + file("new.txt") + " --trace " + file("opening.txt")), 0)
        << read(file("stderr.txt"));
    auto rows = traceRows(file("opening.txt"));
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

namespace {

// Rows of the upper quarter of a shot that carry bright green letters: more
// green pixels than the message box's two side strokes, fewer than its top
// and bottom lines.
int greenTextRows(const std::string& shot)
{
    PngImage picture;
    if (!picture.load(shot.c_str()))
        return -1;
    int rows = 0;
    for (int y = 0; y < picture.height / 4; y++) {
        int green = 0;
        for (int x = 0; x < picture.width; x++) {
            uint32_t c = picture.get(x, y);
            int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
            if (g > 200 && r < 90 && b < 90)
                green++;
        }
        if (green > 12 && green < picture.width / 3)
            rows++;
    }
    return rows;
}

} // namespace

TEST(ReplayRun, OrsolanSpeaksInTheCryptAndTheKeyBeforeHisTombIsTaken)
{
    // From the lower hall the player crawls west under the fallen vault into
    // the crypt, where the ghost's scene starts. The action key ends each of
    // his five lines; then the player goes on to the key before the tomb.
    std::string keys = "2 down left\n2 down down\n";
    const int presses[5] = {265, 280, 295, 310, 325};
    for (int frame : presses)
        keys += std::to_string(frame) + " down e\n" + std::to_string(frame + 1) + " up e\n";
    write(file("grave.txt"), keys);
    ASSERT_EQ(play("--fast --frames 420 --start orsolans_grave.lvl 220 248 --replay " + file("grave.txt") +
                   " --trace " + file("grave_trace.txt") + " --shot 150:" + file("grave_before.png") +
                   " --shot 262:" + file("grave_scene.png")),
              0)
        << read(file("stderr.txt"));
    auto rows = traceRows(file("grave_trace.txt"));
    ASSERT_EQ(rows.size(), 420u);
    const int level = 1, x = 2, nKey = 9, cutscene = 16;
    int sceneStart = -1, sceneEnd = -1, keyTaken = -1;
    for (int i = 0; i < int(rows.size()); i++) {
        EXPECT_EQ(rows[i][level], "./Level/orsolans_grave.lvl");
        if (sceneStart < 0 && rows[i][cutscene] == "1")
            sceneStart = i;
        if (sceneStart >= 0 && sceneEnd < 0 && rows[i][cutscene] == "0")
            sceneEnd = i;
        if (keyTaken < 0 && rows[i][nKey] == "1")
            keyTaken = i;
    }
    ASSERT_GE(sceneStart, 0) << "the ghost spoke";
    EXPECT_LT(std::stoi(rows[sceneStart][x]), 160) << "in the crypt, past the crawl";
    EXPECT_LT(sceneStart, presses[0]);
    EXPECT_EQ(rows[presses[4] - 1][cutscene], "1") << "four lines were not all he had to say";
    EXPECT_GT(sceneEnd, presses[4]) << "the fifth ended the scene";
    EXPECT_LE(sceneEnd, presses[4] + 3);
    ASSERT_GT(keyTaken, sceneEnd) << "the key lies beyond where he speaks";
    EXPECT_EQ(rows.back()[nKey], "1") << "one key, taken once";
    EXPECT_EQ(greenTextRows(file("grave_before.png")), 0) << "no message before the scene";
    EXPECT_GT(greenTextRows(file("grave_scene.png")), 10) << "his first line, in his green";
}
