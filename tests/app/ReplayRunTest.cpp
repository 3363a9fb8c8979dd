#include "ReplayHarness.h"
#include "ReplayPlay.h"
#include "app/Session.h"
#include "render/PngImage.h"
#include "save/SlotFile.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

// The program itself, run headless from its game directory with replayed
// keys, checked in its trace and pictures.

using namespace replay;

namespace {

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
    EXPECT_EQ(playGame("--frames 1 --bogus"), 2);
    EXPECT_NE(readText(replayFile("stderr.txt")).find("usage: gloamer"), std::string::npos);
    EXPECT_EQ(playGame("--frames 1 --replay " + replayFile("missing.txt")), 2);
}

TEST(ReplayRun, BadRunsAreRefusedNamingWhatIsWrong)
{
    const std::string folder = file("a_folder");
    mkdir(folder.c_str(), 0755);
    const struct {
        std::string arguments;
        const char* reason;
    } bad[] = {
        {"--start nosuchroom.lvl 1 1", "nosuchroom.lvl"},
        {"--start ../tiles.dat 1 1", "--start"},
        {"--start metro2.lvl 1 2147483647", "--start"},
        {"--frames 5 --shot 5:" + file("late.png"), "beyond"},
        {"--replay " + folder, "cannot read"},
    };
    for (const auto& run : bad) {
        EXPECT_EQ(play("--fast --frames 3 " + run.arguments), 2) << run.arguments;
        EXPECT_NE(read(file("stderr.txt")).find(run.reason), std::string::npos) << read(file("stderr.txt"));
    }
}

TEST(ReplayRun, OutputsIntoDevicesAreWrittenInPlace)
{
    // Copies of /dev/null and /dev/full: a trace, a record or a picture goes
    // into the device, which stays a device; one that cannot take it fails the run.
    const std::string null = file("null"), full = file("full");
    std::remove(null.c_str());
    std::remove(full.c_str());
    std::FILE* probe = nullptr;
    if (mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0 || mknod(full.c_str(), S_IFCHR | 0666, makedev(1, 7)) ||
        !(probe = std::fopen(null.c_str(), "w")))
        GTEST_SKIP() << "device files cannot be made or opened here";
    std::fclose(probe);
    EXPECT_EQ(play("--fast --frames 2 --trace " + null + " --record " + null + " --shot 1:" + null), 0)
        << read(file("stderr.txt"));
    EXPECT_EQ(play("--fast --frames 2 --trace " + full), 2);
    EXPECT_EQ(play("--fast --frames 2 --shot 1:" + full), 2);
    for (const std::string& device : {null, full}) {
        struct stat status;
        ASSERT_EQ(stat(device.c_str(), &status), 0);
        EXPECT_TRUE(S_ISCHR(status.st_mode)) << device << " was replaced";
    }
}

TEST(ReplayRun, AReplayGoesThroughTheDoorAndBackInTheTrace)
{
    // The player starts on metro2's door east, which leads to metro3's
    // door west, where the next press leads back.
    writeText(replayFile("doors.txt"), "# through the door and back\n"
                             "3 down e\n4 up e   # released\n"
                             "\n10 down e\n11 up e\n");
    ASSERT_EQ(playGame("--fast --frames 20 --start metro2.lvl 480 34 --replay " + replayFile("doors.txt") + " --trace " +
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
    EXPECT_EQ(rows[3][2], "16") << "at metro3's door west";
    EXPECT_EQ(rows[9][1], "./Level/metro3.lvl");
    EXPECT_EQ(rows[10][1], "./Level/metro2.lvl");
    EXPECT_EQ(rows[10][2], "480");
}

// A door whose slot goes over the file-size limit: the game goes on, says
// so in the room's message box, and the slot of the start stays.
TEST(ReplayRun, ASaveThatFailsAtADoorIsShownAndKeepsTheOldSlot)
{
    std::remove(playerFile("Save/replay.sav").c_str());
    writeText(replayFile("door.txt"), "3 down e\n4 up e\n");
    // 300 kB (512-byte blocks) take the start's slot, the trace and the
    // picture, not the memory of metro2.
    ASSERT_EQ(playGame("--fast --frames 60 --start metro2.lvl 480 34 --replay " + replayFile("door.txt") +
                           " --trace " + replayFile("door_trace.txt") + " --shot 50:" + replayFile("door.png"),
                       "ulimit -f 600"),
              0)
        << readText(replayFile("stderr.txt"));
    EXPECT_EQ(readText(replayFile("stderr.txt")), "gloamer: The game could not be saved: file too large.\n");
    auto rows = traceRows(replayFile("door_trace.txt"));
    ASSERT_EQ(rows.size(), 60u);
    EXPECT_EQ(rows[3][Level], "./Level/metro3.lvl") << "through the door all the same";
    SAVE_STATE stored;
    ASSERT_EQ(readSlot(playerFile("Save/replay.sav").c_str(), stored, SlotBackup::none), SlotStatus::good);
    EXPECT_STREQ(stored.level, "./Level/metro2.lvl");
    EXPECT_EQ(stored.player.x, 480);
    // The message box's white text over the top of the room.
    PngImage shot;
    ASSERT_EQ(shot.load(replayFile("door.png").c_str()), 1) << shot.error;
    EXPECT_GT(countPixels(shot, 0.15f, 0.1f, 0.85f, 0.2f, [](uint32_t c) { return brightness(c) > 200; }), 500);
}

// A death when the slot cannot be read (its first write failed on a full
// disk): the player comes back at the room's entrance with a message, and
// lives on.
TEST(ReplayRun, ADeathWithoutAReadableSlotGoesOnFromTheRoomsEntrance)
{
    std::string slot = playerFile("Save/replay.sav");
    std::remove(slot.c_str());
    ASSERT_EQ(symlink("/dev/full", (slot + ".tmp").c_str()), 0);
    // Up the ladder, then to and fro over technic01's sparks until his life
    // runs out; a key after the fading.
    std::string keys = "5 down right\n40 up right\n41 down up\n110 up up\n111 down right\n190 up right\n";
    for (int turn = 200; turn < 440; turn += 120)
        keys += std::to_string(turn) + " down left\n" + std::to_string(turn + 50) + " up left\n" +
                std::to_string(turn + 60) + " down right\n" + std::to_string(turn + 110) + " up right\n";
    writeText(replayFile("death.txt"), keys);
    ASSERT_EQ(playGame("--fast --frames 500 --start technic01.lvl 48 258 --replay " + replayFile("death.txt") +
                       " --trace " + replayFile("death_trace.txt")),
              0);
    EXPECT_EQ(readText(replayFile("stderr.txt")),
              "gloamer: The game could not be saved: the disk is full.\n"
              "gloamer: The saved game could not be read: the game goes on from the room's entrance.\n");
    auto rows = traceRows(replayFile("death_trace.txt"));
    ASSERT_EQ(rows.size(), 500u);
    int died = -1, back = -1;
    for (int i = 0; i < 500; i++) {
        if (died < 0 && rows[i][Stage] != "0")
            died = i;
        if (died >= 0 && back < 0 && rows[i][Stage] == "0")
            back = i;
    }
    ASSERT_GT(died, 0) << "the sparks killed him";
    ASSERT_GT(back, died) << "a key brought him back";
    EXPECT_EQ(rows[back][Level], "./Level/technic01.lvl");
    EXPECT_NEAR(std::stoi(rows[back][X]), 48, 3) << "at the entrance, a step to the left";
    EXPECT_EQ(rows[back][Y], "258");
    EXPECT_EQ(rows[back][Life], "6");
    for (int i = back; i < 500; i++)
        ASSERT_EQ(rows[i][Stage], "0") << "he lives on, frame " << i;
    SAVE_STATE stored;
    EXPECT_EQ(readSlot(slot.c_str(), stored, SlotBackup::none), SlotStatus::good) << "the return stored the game";
}

TEST(ReplayRun, AReplayRunTwiceGivesTheSameTraceAndPictures)
{
    writeText(replayFile("walk.txt"), "2 down right\n30 up right\n31 down space\n40 up space\n45 down left\n70 up left\n");
    auto run = [&](const char* suffix) {
        std::string t = replayFile((std::string("trace_") + suffix).c_str());
        std::string s = replayFile((std::string("shot_") + suffix + ".png").c_str());
        std::string s2 = replayFile((std::string("shot2_") + suffix + ".png").c_str());
        EXPECT_EQ(playGame("--fast --frames 80 --start metro3.lvl 40 49 --replay " + replayFile("walk.txt") + " --trace " + t +
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

TEST(ReplayKeys, BadReplayLinesAreRefusedCitingTheirLine)
{
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
    // A first line that is good, or a comment longer than a line may be.
    const std::string comment = "# " + std::string(600, 'c') + "\n";
    const std::string bad[] = {"5 down\n", "x down e\n", "-1 down e\n", "5 sideways e\n", "5 down nokey\n",
                               "5 downward e\n", "5 down pad:40\n", "4294967296 down e\n", "5 down e" + std::string(600, ' ') + "\n",
                               std::string("5 down e\0\n", 10), std::string(4096, '\0')};
    for (const std::string& first : {std::string("0 down e\n"), comment})
        for (const std::string& line : bad) {
            writeText(replayFile("bad.txt"), first + line);
            std::vector<REPLAY_KEY> keys;
            char error[256] = "";
            std::FILE* in = std::fopen(replayFile("bad.txt").c_str(), "r");
            EXPECT_EQ(readReplayKeys(in, "bad.txt", &keys, error, sizeof error), 0) << line;
            std::fclose(in);
            EXPECT_NE(std::string(error).find("bad.txt:2:"), std::string::npos) << error;
        }
    SDL_Quit();
}

TEST(ReplayKeys, CommentsOfAnyLengthAndNamesWithSpacesAreRead)
{
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
    writeText(replayFile("good.txt"), "9 up left shift  # " + std::string(2000, '#') + "\n\n  \n2147483647 down space\r\n3 down left shift\n");
    std::vector<REPLAY_KEY> keys;
    char error[256] = "";
    std::FILE* in = std::fopen(replayFile("good.txt").c_str(), "r");
    ASSERT_EQ(readReplayKeys(in, "good.txt", &keys, error, sizeof error), 1) << error;
    std::fclose(in);
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0].frame, 3) << "in frame order";
    EXPECT_EQ(keys[0].key, int(SDLK_LSHIFT));
    EXPECT_FALSE(keys[1].down);
    EXPECT_EQ(keys[2].frame, 2147483647);
    EXPECT_EQ(keys[2].key, int(SDLK_SPACE));
    SDL_Quit();
}

TEST(ReplayRun, TheOpeningOfANewGamePlaysInFramesUnderFast)
{
    // A new game in the player's folder of the test's own, on its empty first slot.
    std::string slot = playerFile("Save/slot0.sav");
    std::remove(slot.c_str());
    // New game, then the first slot.
    write(file("new.txt"), "2 down return\n3 up return\n6 down return\n7 up return\n");
    // Two pictures: the first text on black, and the platform once the
    // player has his keys back.
    const int onBlack = 70, backInMetro2 = 660;
    ASSERT_EQ(playGame("--fast --frames 700 --replay " + file("new.txt") + " --trace " + file("opening.txt") + " --shot " +
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
}

namespace {

// Plays an ending from a `--start` near its trigger with the keys of
// `replay`; returns the trace rows and the index of the frame that finished
// the game (-1 when none did).
int playEnding(const std::string& start, const std::string& replay, int frames,
               std::vector<std::vector<std::string>>* rows)
{
    const int stage = 17;
    write(file("ending.txt"), replay);
    int code = play("--fast --frames " + std::to_string(frames) + " --start " + start + " --replay " +
                    file("ending.txt") + " --trace " + file("ending_trace.txt"));
    EXPECT_EQ(code, 0) << read(file("stderr.txt"));
    *rows = traceRows(file("ending_trace.txt"));
    for (int i = 0; i < int(rows->size()); i++)
        if ((*rows)[i].size() > size_t(stage) && (*rows)[i][stage] == "7")
            return i;
    return -1;
}

// Rows of the upper quarter of a shot that carry bright green letters: more
// green pixels than the message box's two side strokes, fewer than its top
// and bottom lines.
// Rows of the picture's top quarter (where the message box shows) with a
// few pixels, not a whole band, of the text colour `isText` accepts.
template <class TEXT> int textRows(const std::string& shot, TEXT isText)
{
    PngImage picture;
    if (!picture.load(shot.c_str()))
        return -1;
    int rows = 0;
    for (int y = 0; y < picture.height / 4; y++) {
        int inked = 0;
        for (int x = 0; x < picture.width; x++) {
            uint32_t c = picture.get(x, y);
            inked += isText(int((c >> 16) & 0xFF), int((c >> 8) & 0xFF), int(c & 0xFF)) ? 1 : 0;
        }
        if (inked > 12 && inked < picture.width / 3)
            rows++;
    }
    return rows;
}

int greenTextRows(const std::string& shot)
{
    return textRows(shot, [](int r, int g, int b) { return g > 200 && r < 90 && b < 90; });
}

} // namespace

TEST(ReplayRun, TheCarEndingDrivesOffFromTheStreetAndFinishesTheGame)
{
    // Out of the manhole, a few steps left towards the police car.
    std::vector<std::vector<std::string>> rows;
    int end = playEnding("outside02.lvl 300 231", "2 down left\n40 up left\n", 700, &rows);
    ASSERT_GE(end, 0) << "the game was not finished";
    const int level = 1, visible = 13, cutscene = 16, luminance = 18;
    int sceneStart = 0;
    while (sceneStart < end && rows[sceneStart][cutscene] == "0")
        sceneStart++;
    EXPECT_LT(sceneStart, 60) << "the trigger is a few steps from the manhole";
    EXPECT_EQ(rows[sceneStart][level], "./Level/outside02.lvl");
    EXPECT_EQ(rows[end][level], "./Level/end04.lvl");
    EXPECT_EQ(rows[end][visible], "0") << "the player rides in the car";
    EXPECT_EQ(rows[end - 1][luminance], "0.000") << "faded out";
    // Three lines, three fades, the drive and the last wait.
    EXPECT_NEAR(end - sceneStart, 3 * 66 + 3 * 80 + 101 + 66, 40);
    ASSERT_LT(end + 1, int(rows.size()));
    EXPECT_EQ(rows[end + 1][17], "0") << "the frame left the game";
}

TEST(ReplayRun, TheBalloonEndingRisesOutOfTheShaftAndFinishesTheGame)
{
    // In from maze2's door, a few steps right onto the trigger.
    std::vector<std::vector<std::string>> rows;
    int end = playEnding("end02.lvl 24 578", "2 down right\n40 up right\n", 1300, &rows);
    ASSERT_GE(end, 0) << "the game was not finished";
    const int level = 1, x = 2, y = 3, cutscene = 16;
    int sceneStart = 0;
    while (sceneStart < end && rows[sceneStart][cutscene] == "0")
        sceneStart++;
    EXPECT_LT(sceneStart, 60);
    EXPECT_EQ(rows[end][level], "./Level/end02.lvl");
    EXPECT_NEAR(std::stoi(rows[end][x]), 370, 3) << "took the balloon";
    EXPECT_LE(std::stoi(rows[end][y]), -190) << "rose out of the shaft into the sky";
}

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

TEST(ReplayRun, TheFirstLampShowsTheActionKeyAndSaysItIsTaken)
{
    // Down the entrance's stair to the candle in its niche: the action
    // key's picture stands over it, the key takes it, one line says so.
    write(file("candle.txt"), "2 down right\n8 up right\n30 down e\n31 up e\n");
    ASSERT_EQ(playGame("--fast --frames 42 --start entrance.lvl 366 247 --replay " + file("candle.txt") + " --trace " +
                       file("candle_trace.txt") + " --shot 20:" + file("candle_before.png") + " --shot 40:" +
                       file("candle_taken.png")),
              0)
        << read(file("stderr.txt"));
    auto rows = traceRows(file("candle_trace.txt"));
    ASSERT_EQ(rows.size(), 42u);
    EXPECT_NE(rows[29][Lamp], "1");
    EXPECT_EQ(rows[41][Lamp], "1");
    PngImage before;
    ASSERT_TRUE(before.load(file("candle_before.png").c_str()));
    // The key's grey cap, four times magnified, left of and above the candle.
    auto keyCap = [](uint32_t c) { return ((c >> 16) & 0xFF) > 180 && ((c >> 8) & 0xFF) > 180 && (c & 0xFF) > 180; };
    EXPECT_GT(countPixels(before, 0.4f, 0.45f, 0.7f, 0.7f, keyCap), 100);
    auto white = [](int r, int g, int b) { return r > 200 && g > 200 && b > 200; };
    EXPECT_EQ(textRows(file("candle_before.png"), white), 0);
    EXPECT_GT(textRows(file("candle_taken.png"), white), 10) << "\"You take the candle.\"";
}

TEST(ReplayRun, BrightnessLiftsOnlyTheDarkPixelsOfTheDarkRoomAndZeroKeepsEveryByte)
{
    auto shot = [](const std::string& option, const char* name) {
        std::string file = replayFile(name);
        EXPECT_EQ(playGame("--fast --frames 12 --start dark01.lvl 460 240 --shot 11:" + file + " " + option), 0)
            << readText(replayFile("stderr.txt"));
        return file;
    };
    std::string plain = shot("", "plain.png");
    EXPECT_TRUE(readText(plain) == readText(shot("--brightness 0", "zero.png")));
    std::string lower = plain;
    for (const char* step : {"2", "5"}) {
        std::string raised = shot(std::string("--brightness ") + step, (std::string("bright") + step + ".png").c_str());
        PngImage a, b;
        ASSERT_TRUE(a.load(lower.c_str()) && b.load(raised.c_str()));
        ASSERT_TRUE(a.width == b.width && a.height == b.height);
        int lifted = 0;
        for (int y = 0; y < a.height; y++)
            for (int x = 0; x < a.width; x++)
                for (int shift : {0, 8, 16}) {
                    int before = int(a.get(x, y) >> shift & 0xFF), after = int(b.get(x, y) >> shift & 0xFF);
                    ASSERT_GE(after, before) << step << " at " << x << "," << y;
                    if (before >= 160) {
                        ASSERT_EQ(after, before) << "a bright pixel stays: " << x << "," << y;
                    }
                    lifted += after > before;
                }
        EXPECT_GT(lifted, a.width * a.height / 100) << "step " << step << " lifts the dim parts";
        lower = raised;
    }
}

TEST(ReplayRun, AGamepadReplayWalksJumpsAndClimbsAndIsRecordedAsPlayed)
{
    // At the foot of the ladders' test room's ladder: the d-pad climbs,
    // then, on the floor to its left, walks left and jumps with button 0.
    writeText(replayFile("pad.txt"), "2 down pad:hat-up\n12 up pad:hat-up\n");
    ASSERT_EQ(playGame("--fast --frames 14 --start test_ladders.lvl 186 80 --replay " + replayFile("pad.txt") +
                       " --trace " + replayFile("pad_climb.txt")),
              0)
        << readText(replayFile("stderr.txt"));
    auto climb = traceRows(replayFile("pad_climb.txt"));
    ASSERT_EQ(climb.size(), 14u);
    EXPECT_EQ(climb[1][OnLadder], "0");
    EXPECT_EQ(climb[11][OnLadder], "1");
    EXPECT_LT(std::stoi(climb[11][Y]), std::stoi(climb[1][Y]));

    std::string keys = "2 down pad:hat-left\n12 up pad:hat-left\n14 down pad:0\n16 up pad:0\n";
    writeText(replayFile("pad.txt"), keys);
    ASSERT_EQ(playGame("--fast --frames 20 --start test_ladders.lvl 100 80 --replay " + replayFile("pad.txt") +
                       " --trace " + replayFile("pad_walk.txt") + " --record " + replayFile("pad_record.txt")),
              0)
        << readText(replayFile("stderr.txt"));
    auto walk = traceRows(replayFile("pad_walk.txt"));
    ASSERT_EQ(walk.size(), 20u);
    EXPECT_EQ(walk[11][Way], "1");
    EXPECT_LT(std::stoi(walk[11][X]), std::stoi(walk[1][X]));
    EXPECT_EQ(walk[13][Jumping], "0");
    EXPECT_EQ(walk[16][Jumping], "1");
    EXPECT_EQ(readText(replayFile("pad_record.txt")), keys);
}

TEST(ReplayRun, APlayerPushedIntoTheFloorIsFreedOntoItAndWalksOn)
{
    // Started against the crate on the floor of test_ladders, he pushes it
    // and is held back into the floor, a free place is searched for, and
    // the picture is put back on the body 8 rows lower while pushing right.
    // He must stand on the floor, not sink into it; then he walks left and jumps.
    write(file("trapped.txt"), "100 down left\n140 down space\n170 up space\n");
    ASSERT_EQ(playGame("--fast --frames 200 --start test_ladders.lvl 243 81 --replay " +
                                              file("trapped.txt") + " --trace " + file("trapped_trace.txt")),
              0)
        << read(file("stderr.txt"));
    auto rows = traceRows(file("trapped_trace.txt"));
    ASSERT_EQ(rows.size(), 200u);
    const int standingY = 81;
    for (int i = 0; i < 100; i++) {
        SCOPED_TRACE(i);
        EXPECT_EQ(std::stoi(rows[i][Y]), standingY);
        EXPECT_LE(std::stof(rows[i][Dy]), 1.0f) << "gravity's steps before each step up";
        EXPECT_EQ(rows[i][Jumping], "0");
    }
    EXPECT_LT(std::stoi(rows[139][X]), std::stoi(rows[100][X]) - 20) << "walks away";
    int highest = standingY;
    for (int i = 140; i < 200; i++)
        highest = std::min(highest, std::stoi(rows[i][Y]));
    EXPECT_EQ(highest, standingY - 36) << "a full jump";
}

TEST(ReplayRun, TheManByTheMaintenanceDoorIsShownWhileHeSpeaks)
{
    // Walking right on metro2's platform into scene 4; the action key ends
    // each of the man's five lines.
    std::string keys = "2 down right\n30 up right\n";
    const int presses[5] = {120, 180, 240, 300, 360};
    for (int frame : presses)
        keys += std::to_string(frame) + " down e\n" + std::to_string(frame + 1) + " up e\n";
    write(file("speaker.txt"), keys);
    ASSERT_EQ(playGame("--fast --frames 420 --start metro2.lvl 300 34 --replay " +
                                              file("speaker.txt") + " --trace " + file("speaker_trace.txt") +
                                              " --shot 300:" + file("speaker.png")),
              0)
        << read(file("stderr.txt"));
    auto rows = traceRows(file("speaker_trace.txt"));
    ASSERT_EQ(rows.size(), 420u);
    int sceneStart = 0;
    while (sceneStart < 100 && rows[sceneStart][Cutscene] == "0")
        sceneStart++;
    ASSERT_LT(sceneStart, 100) << "the scene started";
    ASSERT_EQ(rows[presses[4] - 1][Cutscene], "1");
    PngImage shot;
    ASSERT_TRUE(shot.load(file("speaker.png").c_str()));
    const int screenWidth = shot.width / 4, speakerX = 464;
    // The camera eases over to him, a tenth of the way a frame, and stays
    // through his last line: he stands well inside the screen.
    for (int i = sceneStart + 2; i < presses[4]; i++)
        ASSERT_LE(std::abs(std::stoi(rows[i][CamX]) - std::stoi(rows[i - 1][CamX])), 7) << "frame " << i;
    for (int i = sceneStart + 60; i < presses[4]; i++)
        ASSERT_LT(speakerX + std::stoi(rows[i][CamX]), screenWidth - 40) << "frame " << i;
}
