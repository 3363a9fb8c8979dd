#include "app/Session.h"
#include "render/PngImage.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
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

// Counts the pixels of the part (fractions of the picture's sides) that
// pass `test` on their colour 0xAARRGGBB.
template <class TEST> int countPixels(const PngImage& p, float x0, float y0, float x1, float y1, TEST test)
{
    int n = 0;
    for (int y = int(y0 * p.height); y < int(y1 * p.height); y++)
        for (int x = int(x0 * p.width); x < int(x1 * p.width); x++)
            n += test(p.get(x, y)) ? 1 : 0;
    return n;
}

int brightness(uint32_t c)
{
    return int(((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF)) / 3;
}

bool isBlack(uint32_t c)
{
    return (c & 0xFFFFFF) == 0;
}

// The red of the HUD's hearts.
bool isHeartRed(uint32_t c)
{
    return ((c >> 16) & 0xFF) > 160 && ((c >> 8) & 0xFF) < 90 && (c & 0xFF) < 90;
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
    ASSERT_EQ(play("--fast --frames 20 --start metro2.lvl 480 34 --replay " + file("doors.txt") + " --trace " +
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
    EXPECT_EQ(rows[3][2], "16") << "at metro3's door west";
    EXPECT_EQ(rows[9][1], "./Level/metro3.lvl");
    EXPECT_EQ(rows[10][1], "./Level/metro2.lvl");
    EXPECT_EQ(rows[10][2], "480");
}

TEST(ReplayRun, AReplayRunTwiceGivesTheSameTraceAndPictures)
{
    write(file("walk.txt"), "2 down right\n30 up right\n31 down space\n40 up space\n45 down left\n70 up left\n");
    auto run = [&](const char* suffix) {
        std::string t = file((std::string("trace_") + suffix).c_str());
        std::string s = file((std::string("shot_") + suffix + ".png").c_str());
        std::string s2 = file((std::string("shot2_") + suffix + ".png").c_str());
        EXPECT_EQ(play("--fast --frames 80 --start metro3.lvl 40 49 --replay " + file("walk.txt") + " --trace " + t +
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
    // Two pictures: the first text on black, and the platform once the
    // player has his keys back.
    const int onBlack = 70, backInMetro2 = 660;
    ASSERT_EQ(play("--fast --frames 700 --replay " + file("new.txt") + " --trace " + file("opening.txt") + " --shot " +
                   std::to_string(onBlack) + ":" + file("opening_black.png") + " --shot " +
                   std::to_string(backInMetro2) + ":" + file("opening_metro2.png")),
              0)
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

    ASSERT_EQ(rows[onBlack][cutscene], "1");
    ASSERT_EQ(rows[onBlack][luminance], "0.000");
    PngImage black;
    ASSERT_EQ(black.load(file("opening_black.png").c_str()), 1) << black.error;
    // The text's box at the top shows white letters; everything under it is black.
    EXPECT_GT(countPixels(black, 0.15f, 0.1f, 0.85f, 0.17f, [](uint32_t c) { return brightness(c) > 200; }), 200)
        << "the text shows";
    int under = int(black.width * (black.height - int(0.2f * black.height)));
    EXPECT_EQ(countPixels(black, 0.0f, 0.2f, 1.0f, 1.0f, isBlack), under) << "the screen is black under the text";

    ASSERT_GT(sceneEnd, 0);
    ASSERT_LT(sceneEnd, backInMetro2) << "control is back before the second picture";
    ASSERT_EQ(rows[backInMetro2][level], "./Level/metro2.lvl");
    PngImage platform;
    ASSERT_EQ(platform.load(file("opening_metro2.png").c_str()), 1) << platform.error;
    // The HUD's hearts in the top left corner, and a lit platform around the player.
    EXPECT_GT(countPixels(platform, 0.0f, 0.0f, 0.3f, 0.06f, isHeartRed), 100) << "the HUD shows";
    int lit = countPixels(platform, 0.1f, 0.15f, 0.9f, 0.45f, [](uint32_t c) { return brightness(c) > 80; });
    EXPECT_GT(lit, int(0.8f * platform.width * 0.3f * platform.height) / 5) << "the platform is lit";
    std::remove(slot.c_str());
    std::remove((slot + ".bak").c_str());
}

TEST(ReplayRun, TheSandLineIsPlayedFromThePlatformToTheCatacombs)
{
    // Keys that take the player from where the opening leaves him, through
    // every room of the night subway's corridors, down to the catacombs' hub.
    const std::string replay = std::string(GLOAMER_SOURCE_DIR) + "/tests/app/sand_line.replay";
    ASSERT_EQ(play("--fast --frames 4600 --start metro2.lvl 165 34 --replay " + replay + " --trace " +
                   file("sand_line.txt")),
              0)
        << read(file("stderr.txt"));
    auto rows = traceRows(file("sand_line.txt"));
    ASSERT_EQ(rows.size(), 4600u);
    std::vector<std::string> entered;
    int lowestLife = 3;
    for (const auto& row : rows) {
        if (entered.empty() || entered.back() != row[1])
            entered.push_back(row[1]);
        lowestLife = std::min(lowestLife, std::stoi(row[6]));
    }
    std::vector<std::string> line;
    for (const char* room : {"metro2", "metro3", "entrance", "intro_part10", "intro_part20", "tuto_ladder",
                             "intro_part30", "intro_part40", "intro_part50", "intro_part35", "simple_unstable2",
                             "unknow_room", "hub_metro"})
        line.push_back(std::string("./Level/") + room + ".lvl");
    EXPECT_EQ(entered, line);
    EXPECT_GT(lowestLife, 0) << "the player never died on the way";
}
