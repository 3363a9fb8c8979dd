#include "ReplayHarness.h"
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

TEST(ReplayRun, BadRunsAreRefusedNamingWhatIsWrong)
{
    const std::string folder = file("a_folder");
    mkdir(folder.c_str(), 0755);
    const struct {
        std::string arguments;
        const char* reason;
    } bad[] = {
        {"--start nosuchroom.lvl 1 1", "nosuchroom.lvl"},
        {"--frames 5 --shot 5:" + file("late.png"), "beyond"},
        {"--replay " + folder, "cannot read"},
        {"--replay " + file("missing.txt"), "cannot read"},
        {"--bogus", "usage: gloamer"},
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

// A door whose slot goes over the file-size limit: the game goes on, says
// so in the room's message box, and the slot of the start stays.
TEST(ReplayRun, ASaveThatFailsAtADoorIsShownAndKeepsTheOldSlot)
{
    std::remove(playerFile("Save/replay.sav").c_str());
    // The door comes after the start's slot is written (half a second under
    // --fast): a newer slot stored while the writer has not begun replaces
    // the older one, and then there would be no old slot to keep.
    write(file("door.txt"), "20 down e\n21 up e\n");
    // 300 kB (512-byte blocks) take the start's slot, the trace and the
    // picture, not the memory of metro2.
    ASSERT_EQ(play("--fast --frames 60 --start metro2.lvl 480 34 --replay " + file("door.txt") +
                           " --trace " + file("door_trace.txt") + " --shot 50:" + file("door.png"),
                       "ulimit -f 600"),
              0)
        << read(file("stderr.txt"));
    EXPECT_EQ(read(file("stderr.txt")), "gloamer: The game could not be saved: file too large.\n");
    auto rows = traceRows(file("door_trace.txt"));
    ASSERT_EQ(rows.size(), 60u);
    for (const auto& row : rows)
        ASSERT_EQ(row.size(), size_t(replay::ColumnCount)) << "every column on every line of the trace";
    EXPECT_EQ(rows[20][Level], "./Level/metro3.lvl") << "through the door all the same";
    SAVE_STATE stored;
    ASSERT_EQ(readSlot(playerFile("Save/replay.sav").c_str(), stored, SlotBackup::none), SlotStatus::good);
    EXPECT_STREQ(stored.level, "./Level/metro2.lvl");
    EXPECT_EQ(stored.player.x, 480);
    // The message box's white text over the top of the room.
    PngImage shot;
    ASSERT_EQ(shot.load(file("door.png").c_str()), 1) << shot.error;
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
    Rows rows = run("death", "--start technic01.lvl 48 258", keys, 500);
    EXPECT_EQ(read(file("stderr.txt")),
              "gloamer: The game could not be saved: the disk is full.\n"
              "gloamer: The saved game could not be read: the game goes on from the room's entrance.\n");
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
            write(file("bad.txt"), first + line);
            std::vector<REPLAY_KEY> keys;
            char error[256] = "";
            std::FILE* in = std::fopen(file("bad.txt").c_str(), "r");
            EXPECT_EQ(readReplayKeys(in, "bad.txt", &keys, error, sizeof error), 0) << line;
            std::fclose(in);
            EXPECT_NE(std::string(error).find("bad.txt:2:"), std::string::npos) << error;
        }
    SDL_Quit();
}

TEST(ReplayKeys, CommentsOfAnyLengthAndNamesWithSpacesAreRead)
{
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
    write(file("good.txt"), "9 up left shift  # " + std::string(2000, '#') + "\n\n  \n2147483647 down space\r\n3 down left shift\n");
    std::vector<REPLAY_KEY> keys;
    char error[256] = "";
    std::FILE* in = std::fopen(file("good.txt").c_str(), "r");
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
    // A new game on the empty first slot of the test's own player folder.
    std::remove(playerFile("Save/slot0.sav").c_str());
    // Two pictures: the first text on black, and the platform once the
    // player has his keys back.
    const int onBlack = 70, backInMetro2 = 660;
    Rows rows = run("opening",
                    "--shot " + std::to_string(onBlack) + ":" + file("opening_black.png") + " --shot " +
                        std::to_string(backInMetro2) + ":" + file("opening_metro2.png"),
                    "2 down return\n3 up return\n6 down return\n7 up return\n", 700);
    int sceneStart = firstRow(rows, Cutscene, "1");
    ASSERT_GE(sceneStart, 0) << "the opening started";
    int sceneEnd = firstRow(rows, Cutscene, "0", sceneStart);
    EXPECT_EQ(rows[sceneStart][Luminance], "0.000") << "it begins black";
    ASSERT_GT(sceneEnd, sceneStart) << "the opening ended";
    // Waits of 11 s in all (333 frames of 33 ms) and three fades of 80
    // frames, whatever the speed of the machine.
    EXPECT_NEAR(sceneEnd - sceneStart, 333 + 3 * 80, 25);
    EXPECT_EQ(rows[sceneEnd][Level], "./Level/metro2.lvl");
    EXPECT_EQ(rows[sceneEnd][X], "165");
    EXPECT_EQ(rows.back()[Luminance], "1.000");

    ASSERT_EQ(rows[onBlack][Cutscene], "1");
    ASSERT_EQ(rows[onBlack][Luminance], "0.000");
    PngImage black;
    ASSERT_EQ(black.load(file("opening_black.png").c_str()), 1) << black.error;
    // The text's box at the top shows white letters; everything under it is black.
    EXPECT_GT(countPixels(black, 0.15f, 0.1f, 0.85f, 0.17f, [](uint32_t c) { return brightness(c) > 200; }), 200)
        << "the text shows";
    int under = int(black.width * (black.height - int(0.2f * black.height)));
    EXPECT_EQ(countPixels(black, 0.0f, 0.2f, 1.0f, 1.0f, isBlack), under) << "the screen is black under the text";

    ASSERT_LT(sceneEnd, backInMetro2) << "control is back before the second picture";
    ASSERT_EQ(rows[backInMetro2][Level], "./Level/metro2.lvl");
    PngImage platform;
    ASSERT_EQ(platform.load(file("opening_metro2.png").c_str()), 1) << platform.error;
    // The HUD's hearts in the top left corner, and a lit platform around the player.
    EXPECT_GT(countPixels(platform, 0.0f, 0.0f, 0.3f, 0.06f, isHeartRed), 100) << "the HUD shows";
    int lit = countPixels(platform, 0.1f, 0.15f, 0.9f, 0.45f, [](uint32_t c) { return brightness(c) > 80; });
    EXPECT_GT(lit, int(0.8f * platform.width * 0.3f * platform.height) / 5) << "the platform is lit";
}

namespace {

// Rows of the picture's top quarter (where the message box shows) with a
// few pixels, not a whole band, of green text.
int greenTextRows(const std::string& shot)
{
    PngImage picture;
    if (!picture.load(shot.c_str()))
        return -1;
    int rows = 0;
    for (int y = 0; y < picture.height / 4; y++) {
        int inked = 0;
        for (int x = 0; x < picture.width; x++) {
            uint32_t c = picture.get(x, y);
            int r = int((c >> 16) & 0xFF), g = int((c >> 8) & 0xFF), b = int(c & 0xFF);
            inked += g > 200 && r < 90 && b < 90 ? 1 : 0;
        }
        if (inked > 12 && inked < picture.width / 3)
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
    Rows rows = run("grave",
                    "--start orsolans_grave.lvl 220 248 --shot 150:" + file("grave_before.png") + " --shot 262:" +
                        file("grave_scene.png"),
                    keys, 420);
    for (const auto& row : rows)
        EXPECT_EQ(row[Level], "./Level/orsolans_grave.lvl");
    int sceneStart = firstRow(rows, Cutscene, "1");
    ASSERT_GE(sceneStart, 0) << "the ghost spoke";
    int sceneEnd = firstRow(rows, Cutscene, "0", sceneStart), keyTaken = firstRow(rows, Keys, "1");
    EXPECT_LT(std::stoi(rows[sceneStart][X]), 160) << "in the crypt, past the crawl";
    EXPECT_LT(sceneStart, presses[0]);
    EXPECT_EQ(rows[presses[4] - 1][Cutscene], "1") << "four lines were not all he had to say";
    EXPECT_GT(sceneEnd, presses[4]) << "the fifth ended the scene";
    EXPECT_LE(sceneEnd, presses[4] + 3);
    ASSERT_GT(keyTaken, sceneEnd) << "the key lies beyond where he speaks";
    EXPECT_EQ(rows.back()[Keys], "1") << "one key, taken once";
    EXPECT_EQ(greenTextRows(file("grave_before.png")), 0) << "no message before the scene";
    EXPECT_GT(greenTextRows(file("grave_scene.png")), 10) << "his first line, in his green";
}

// The option reaches the picture; which pixels each step lifts is
// PresentationOnSdl.BrightnessLiftsOnlyTheDarkEndMonotonicallyAndPresentsAgain's.
TEST(ReplayRun, TheBrightnessOptionLiftsTheDarkRoomAndZeroKeepsEveryByte)
{
    auto shot = [](const std::string& option, const char* name) {
        std::string shotFile = file(name);
        EXPECT_EQ(play("--fast --frames 12 --start dark01.lvl 460 240 --shot 11:" + shotFile + " " + option), 0)
            << read(file("stderr.txt"));
        return shotFile;
    };
    std::string plain = shot("", "plain.png");
    EXPECT_TRUE(read(plain) == read(shot("--brightness 0", "zero.png")));
    PngImage a, b;
    ASSERT_TRUE(a.load(plain.c_str()) && b.load(shot("--brightness 5", "bright5.png").c_str()));
    ASSERT_TRUE(a.width == b.width && a.height == b.height);
    int lifted = 0;
    for (int y = 0; y < a.height; y++)
        for (int x = 0; x < a.width; x++) {
            ASSERT_GE(brightness(b.get(x, y)), brightness(a.get(x, y))) << x << "," << y;
            lifted += brightness(b.get(x, y)) > brightness(a.get(x, y));
        }
    EXPECT_GT(lifted, a.width * a.height / 100) << "the dim parts are lifted";
}

// Climbing with the pad is PlayerSettings.TheStickClimbsAndWalksOnlyBeyondItsDeadZoneAndButtonsJump's,
// the d-pad's hat read as held directions PadInputs.ReplayNamesAndTheirEvents'.
TEST(ReplayRun, AGamepadReplayWalksAndJumpsAndIsRecordedAsPlayed)
{
    // On the floor of the ladders' test room, left of its ladder: the d-pad
    // walks left, button 0 jumps. A keyboard key whose name holds a space is
    // recorded as it was read too.
    std::string keys = "2 down pad:hat-left\n12 up pad:hat-left\n14 down pad:0\n16 up pad:0\n"
                       "17 down left shift\n18 up left shift\n";
    Rows walk = run("pad_walk", "--start test_ladders.lvl 100 80 --record " + file("pad_record.txt"), keys, 20);
    EXPECT_EQ(walk[11][Way], "1");
    EXPECT_LT(std::stoi(walk[11][X]), std::stoi(walk[1][X]));
    EXPECT_EQ(walk[13][Jumping], "0");
    EXPECT_EQ(walk[16][Jumping], "1");
    EXPECT_EQ(read(file("pad_record.txt")), keys);
}

TEST(ReplayRun, APlayerPushedIntoTheFloorIsFreedOntoItAndWalksOn)
{
    // Started against the crate on the floor of test_ladders, he pushes it
    // and is held back into the floor, a free place is searched for, and
    // the picture is put back on the body 8 rows lower while pushing right.
    // He must stand on the floor, not sink into it; then he walks left and jumps.
    Rows rows = run("trapped", "--start test_ladders.lvl 243 81", "100 down left\n140 down space\n170 up space\n", 200);
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
    Rows rows = run("speaker", "--start metro2.lvl 300 34 --shot 300:" + file("speaker.png"), keys, 420);
    int sceneStart = firstRow(rows, Cutscene, "1");
    ASSERT_TRUE(sceneStart >= 0 && sceneStart < 100) << "the scene started";
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
