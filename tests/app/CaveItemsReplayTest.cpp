#include "save/SaveState.h"
#include "save/SlotFile.h"

#include "ReplayHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

// The acetylene lamp and the dog of the caves, and the hazards of the caves
// and the dark rooms (gas, a collapse, a crate, rising water), played in
// their rooms and checked in the trace.

using namespace replay;

namespace {

const int electricTorch = 2, acetyleneLamp = 3;

// The slots a replay continues (through --slot), apart from each other and
// from the replay slot of the --start runs.
const int lampSlot = 3, dogSlot = 4;

std::string slotPath(int slot)
{
    return playerFile(("Save/slot" + std::to_string(slot) + ".sav").c_str());
}

std::string continuing(int slot)
{
    return "--slot " + std::to_string(slot);
}

// Stores a game in `slot`: the player standing at (x, y) of `room` with
// `lamp` in hand. A game started with --start carries the acetylene lamp;
// continuing such a slot is how a replay begins with another one.
void storeGame(int slot, const char* room, int x, int y, int lamp)
{
    SAVE_STATE state;
    state.player.x = state.player.oldX = x;
    state.player.y = state.player.oldY = y;
    state.player.currentTorch = lamp;
    std::snprintf(state.level, sizeof state.level, "./Level/%s.lvl", room);
    ASSERT_EQ(writeSlot(slotPath(slot).c_str(), state, nullptr, SlotBackup::none), 1);
}

// The menu keys that continue `slot`: Continue, then down to the slot.
std::string continueKeys(int slot)
{
    std::string keys = "2 down down\n3 up down\n5 down return\n6 up return\n";
    int frame = 8;
    for (int i = 0; i < slot; i++, frame += 2)
        keys += std::to_string(frame) + " down down\n" + std::to_string(frame + 1) + " up down\n";
    return keys + std::to_string(frame + 1) + " down return\n" + std::to_string(frame + 2) + " up return\n";
}

// The frame at which the continued game of `slot` runs.
int continuedStart(int slot)
{
    return 9 + 2 * slot;
}

// Shifts the frames of replay lines by `by`.
std::string later(const std::string& keys, int by)
{
    std::string out;
    int frame = 0;
    char way[8], key[32];
    for (const char* p = keys.c_str(); std::sscanf(p, "%d %7s %31s", &frame, way, key) == 3;) {
        out += std::to_string(frame + by) + " " + way + " " + key + "\n";
        p = std::strchr(p, '\n');
        if (!p)
            break;
        p++;
    }
    return out;
}

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

class CaveItems : public ::testing::Test {
  protected:
    void TearDown() override
    {
        for (int slot : {lampSlot, dogSlot}) {
            std::remove(slotPath(slot).c_str());
            std::remove((slotPath(slot) + ".bak").c_str());
        }
    }
};

// From the west ledge of the drowned lamp's room: the valve, the ladder
// down into the basin, a jump onto the rock, the lamp.
const std::string basinKeys = "11 down right\n41 up right\n43 down e\n44 up e\n"
                              "351 down right\n371 up right\n372 down down\n551 up down\n"
                              "552 down right\n589 down space\n609 up space\n616 up right\n"
                              "631 down e\n632 up e\n";

} // namespace

TEST_F(CaveItems, TheValveDrainsTheBasinAndTheAcetyleneLampIsTakenAtItsBottom)
{
    const int start = continuedStart(lampSlot);
    storeGame(lampSlot, "water_fill03", 32, 114, electricTorch);
    Rows rows = run("lamp", continuing(lampSlot), continueKeys(lampSlot) + later(basinKeys, start), 660);
    EXPECT_EQ(rows[start + 5][Level], "./Level/water_fill03.lvl");
    EXPECT_EQ(rows[start + 5][Lamp], std::to_string(electricTorch));
    EXPECT_EQ(rows.back()[Level], "./Level/water_fill03.lvl");
    EXPECT_EQ(rows.back()[Lamp], std::to_string(acetyleneLamp)) << "the lamp was taken";
    EXPECT_GT(std::stoi(rows.back()[Y]), 200) << "at the bottom of the basin";
    EXPECT_EQ(lowestLife(rows, start), 3) << "the basin was dry";

    // The same way down without turning the valve ends in deep water.
    storeGame(lampSlot, "water_fill03", 32, 114, electricTorch);
    std::string noValve = basinKeys;
    noValve.replace(noValve.find("43 down e\n44 up e\n"), 18, "");
    Rows flooded = run("flooded", continuing(lampSlot), continueKeys(lampSlot) + later(noValve, start), 660);
    EXPECT_LT(lowestLife(flooded, start), 3) << "the water hurts";
}

TEST_F(CaveItems, TheDogFleesTheAcetyleneLampAndKillsATorchBearer)
{
    // Along the dog's gallery to its ladder, up, left to the door above.
    const std::string keys = "5 down right\n200 up right\n201 down up\n440 up up\n441 down left\n"
                             "492 up left\n495 down e\n496 up e\n";
    Rows lamp = run("dog_lamp", "--start dog_room04.lvl 32 258", keys, 520);
    EXPECT_EQ(lamp[0][Lamp], std::to_string(acetyleneLamp));
    EXPECT_EQ(lowestLife(lamp, 0), 3) << "the dog ran away";
    EXPECT_EQ(lamp.back()[Level], "./Level/skull_room02.lvl");

    const int start = continuedStart(dogSlot);
    storeGame(dogSlot, "dog_room04", 32, 258, electricTorch);
    Rows torch = run("dog_torch", continuing(dogSlot), continueKeys(dogSlot) + later(keys, start + 1), 540);
    EXPECT_EQ(torch[start + 5][Lamp], std::to_string(electricTorch));
    EXPECT_EQ(lowestLife(torch, start), 0) << "the dog caught him";
    EXPECT_FALSE(reaches(torch, "skull_room02"));
}

TEST_F(CaveItems, ContinuingInARoomPlaysItsOwnTrack)
{
    // alesia_street once named no track: continued from the menu, whose
    // own track stopped, it was silent.
    const int start = continuedStart(lampSlot);
    storeGame(lampSlot, "alesia_street", 40, 250, electricTorch);
    Rows rows = run("continue_music", continuing(lampSlot), continueKeys(lampSlot), start + 10);
    EXPECT_EQ(rows[0][Music], "6") << "the menu's track";
    EXPECT_EQ(rows.back()[Level], "./Level/alesia_street.lvl");
    EXPECT_EQ(rows.back()[Music], "1") << "the caves' track";
}

TEST_F(CaveItems, TheGasGalleryIsCrossedWithTwoPlainJumpsAndPunishesWaiting)
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

TEST_F(CaveItems, TheStreetsCollapseIsCrawledUnderAndNeverStoodUpIn)
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

TEST_F(CaveItems, TheStoreRoomsCrateMeetsTheStepWithNoSlotToFallInto)
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

TEST_F(CaveItems, TheCisternsRaftCarriesAWalkerUpBesideTheWallAndTheWayBackBeatsTheWater)
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
