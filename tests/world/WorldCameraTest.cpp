#include "level/Level.h"
#include "render/Screen.h"
#include "world/World.h"

#include <gtest/gtest.h>

namespace {

// A world over a room of width x height pixels with its origin at
// (originX, originY), seen on a 320 x 180 screen.
class Camera : public testing::Test {
protected:
    void room(int width, int height, int originX = 0, int originY = 0)
    {
        world.level = new Level;
        world.level->mapWidth = width;
        world.level->mapHeight = height;
        world.level->originX = originX;
        world.level->originY = originY;
    }

    World world;
    Screen screen{320, 180, 1};
};

} // namespace

TEST_F(Camera, FocusCentresThePointAndKeepsTheMarginsHidden)
{
    room(1000, 600);
    world.focus(500, 300, &screen);
    EXPECT_EQ(world.camX, 160 - 500);
    EXPECT_EQ(world.camY, 90 - 300);
    EXPECT_EQ(world.targetX, world.camX);
    // Near the top-left corner 16 and 32 pixels of border stay out of view.
    world.focus(0, 0, &screen);
    EXPECT_EQ(world.camX, 16);
    EXPECT_EQ(world.camY, 32);
    // At the far corner: -W + SW - 16 and -H + SH - 32.
    world.focus(1000, 600, &screen);
    EXPECT_EQ(world.camX, -1000 + 320 - 16);
    EXPECT_EQ(world.camY, -600 + 180 - 32);
}

TEST_F(Camera, Follow2ShowsTheRoomUpToItsEdges)
{
    room(1000, 600, -40, 8);
    world.follow2(-40, 8, &screen);
    EXPECT_EQ(world.camX, 40) << "the room's left edge at the screen's left edge";
    EXPECT_EQ(world.camY, -8);
    world.follow2(2000, 2000, &screen);
    EXPECT_EQ(world.camX, -1000 + 40 + 320);
    EXPECT_EQ(world.camY, -600 - 8 + 180);
}

TEST_F(Camera, ARoomNoLargerThanTheScreenIsCentredNotScrolled)
{
    room(320, 100, -50, 10);
    world.targetX = 77;
    world.focus(0, 0, &screen);
    EXPECT_EQ(world.camX, -160 + 50 + 160);
    EXPECT_EQ(world.camY, -50 - 10 + 90);
    world.follow(300, 90, &screen);
    world.follow2(300, 90, &screen);
    EXPECT_EQ(world.camX, 50) << "exactly as wide as the screen: still centred";
    EXPECT_EQ(world.targetX, 77) << "centring leaves the target alone";
}

TEST_F(Camera, DeadZoneKeepsTheTargetUntilAQuarterOfTheScreen)
{
    room(1000, 600);
    world.focus(500, 300, &screen);
    // 60 pixels to the right: inside the dead zone (80 = 320 / 4).
    world.follow(560, 300, &screen);
    EXPECT_EQ(world.targetX, -340);
    EXPECT_EQ(world.camX, -340);
    // 81 pixels: the target jumps there and the camera eases a tenth.
    world.follow(581, 300, &screen);
    EXPECT_EQ(world.targetX, -421);
    EXPECT_EQ(world.camX, -348);
    // Now 73 from the camera: back inside the dead zone, the old target stays.
    world.follow(581, 300, &screen);
    EXPECT_EQ(world.targetX, -421);
    EXPECT_EQ(world.camX, -355);
    world.follow(581, 300, &screen);
    EXPECT_EQ(world.camX, -361);
}

TEST_F(Camera, EasingStopsWithinTenPixelsAndItsTargetIsClampedToTheRoom)
{
    room(1000, 600);
    world.focus(500, 300, &screen);
    world.targetX = -349;
    world.follow(500, 300, &screen);
    EXPECT_EQ(world.camX, -340) << "9 pixels away does not move";
    world.targetX = -350;
    world.follow(500, 300, &screen);
    EXPECT_EQ(world.camX, -341);
    world.camX = -340;
    world.targetX = -330;
    world.follow(500, 300, &screen);
    EXPECT_EQ(world.camX, -339);

    world.focus(500, 300, &screen);
    world.follow(10, 300, &screen);
    EXPECT_EQ(world.targetX, 16);
    EXPECT_EQ(world.camX, -340 + int(float(16 + 340) * 0.1f));
}
