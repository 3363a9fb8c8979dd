#include "WorldFixtures.h"

#include "base/BoundedString.h"
#include "save/SlotFile.h"

#include <cstdio>
#include <dirent.h>
#include <malloc.h>

namespace {

const int actionKey = SDLK_e;

int threadCount()
{
    int n = 0;
    DIR* d = opendir("/proc/self/task");
    while (d && readdir(d))
        n++;
    if (d)
        closedir(d);
    return n - 2; // "." and ".."
}

} // namespace

// The door arrives on its target element with the camera focused on the
// player and the room entered stored in the slot at once; the door back
// leads home.
TEST_F(InGame, DoorsLeadToTheTargetElementAndBackWithTheWorkerRestarted)
{
    begin("test_hall.lvl", 80, 26);
    EXPECT_EQ(world.workerStarts, 1);
    runFrames(2);

    world.pressKey(actionKey, &typo, pixelScreen);
    EXPECT_STREQ(world.level->getName(), "./Level/test_lights.lvl");
    const Element* west = element("west");
    ASSERT_NE(nullptr, west);
    EXPECT_EQ(world.player->state.x, west->x);
    EXPECT_EQ(world.player->state.y, west->y);
    // Focused at once: the player's point is centred within the margins.
    EXPECT_EQ(world.camX, 16 - world.level->originX);
    EXPECT_EQ(world.camX, world.targetX);
    SAVE_STATE stored;
    ASSERT_EQ(readSlot(world.slotFile, stored), SlotStatus::good);
    EXPECT_STREQ(stored.level, "./Level/test_lights.lvl");
    EXPECT_EQ(stored.player.x, west->x);
    EXPECT_EQ(world.workerStarts, 2) << "the worker was stopped and a new one started";
    long long passes = lightingWorker().passes();
    runFrames(3);
    // The player arrived on the door back; the next press takes it.
    tap(actionKey);
    EXPECT_STREQ(world.level->getName(), "./Level/test_hall.lvl");
    EXPECT_EQ(world.workerStarts, 3);
    EXPECT_GT(lightingWorker().passes(), passes) << "test_lights was lit while the player was there";
    EXPECT_EQ(world.player->state.x, element("lights")->x);
}

// Takes a door to `destination`'s element `target`; true when the room
// stayed the one loaded and its worker was not restarted.
static bool takeDoorKeepingTheRoom(World& world, Typo* typo, Screen* screen, const char* destination,
                                   const char* target)
{
    Level* before = world.level;
    DOOR door = {};
    boundedCopy(door.destination, sizeof door.destination, destination);
    boundedCopy(door.target, sizeof door.target, target);
    world.nextLevel(&door, typo, screen);
    return world.level == before && world.workerStarts == 1;
}

TEST_F(InGame, ADoorToAMissingRoomLeavesEverythingAsItWasAndOneWithinTheRoomMovesThePlayerWithoutReloading)
{
    begin("test_hall.lvl", 16, 26);
    EXPECT_TRUE(takeDoorKeepingTheRoom(world, &typo, pixelScreen, "no_such_room.lvl", "west"));
    EXPECT_EQ(world.player->state.x, 16);
    EXPECT_TRUE(takeDoorKeepingTheRoom(world, &typo, pixelScreen, "test_hall.lvl", "lights"))
        << "the room was not reloaded and the worker not stopped";
    EXPECT_EQ(world.player->state.x, 80);
}

TEST_F(InGame, ManyDoorsLeaveNoThreadAndNoGrowingMemory)
{
    beginOnElement("metro2.lvl", "to_metro3");
    runFrames(1);
    const int threadsBefore = threadCount();
    auto changes = [](int n) {
        for (int i = 0; i < n; i++) {
            world.pressKey(actionKey, &typo, pixelScreen);
            runFrames(1);
        }
    };
    // The first visits fill the player's memories of both rooms.
    changes(20);
    const size_t heldBefore = mallinfo2().uordblks;
    changes(180);
    const size_t heldAfter = mallinfo2().uordblks;
    EXPECT_EQ(world.workerStarts, 201);
    EXPECT_EQ(threadCount(), threadsBefore);
    EXPECT_LT(heldAfter, heldBefore + 256 * 1024) << "memory held grew from " << heldBefore << " to " << heldAfter;
}

TEST_F(InGame, AContinuedGameResumesInTheRoomOfTheLastDoorWithItsCoins)
{
    char slot[] = "/tmp/gloamer_continue_test_slot.sav";
    std::remove(slot);
    beginOnElement("metro2.lvl", "to_metro3");
    std::snprintf(world.slotFile, sizeof world.slotFile, "%s", slot);
    // As the game stores: on the writer's thread, which the continue waits for.
    world.slotWaitFrames = -1;
    world.player->state.coin = 7;
    runFrames(2);
    tap(actionKey);
    ASSERT_STREQ(world.level->getName(), "./Level/metro3.lvl");
    int x = world.player->state.x, y = world.player->state.y;

    // Coins gained after the door are not stored: the slot is written at doors.
    world.player->state.coin = 12;
    world.slotFile[0] = '\0';
    begin("metro2.lvl", 100, 40);
    world.initContinue(&typo, pixelScreen, slot);
    EXPECT_STREQ(world.level->getName(), "./Level/metro3.lvl");
    EXPECT_EQ(world.player->state.x, x);
    EXPECT_EQ(world.player->state.y, y);
    EXPECT_EQ(world.player->state.coin, 7);
    EXPECT_TRUE(world.control);
    std::remove(slot);
    std::remove("/tmp/gloamer_continue_test_slot.sav.bak");
}
