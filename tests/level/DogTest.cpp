// The dog's reaction to the player, its timer and animation, and the
// picture query of the player's contact test.

#include "level/Dog.h"

#include "level/SimRoom.h"

namespace {

// A dog at (0, 0) with 20 x 14 pictures: for a player at (px, py) the point
// it watches is (px + 10, py - 7).
struct DogTest : testing::Test {
    std::unique_ptr<TileList> tiles = dogTiles();
    Dog dog{tiles.get()};
};

} // namespace

TEST_F(DogTest, NoticesThePlayerWithinAHundredAcrossAndThirtyTwoUpDown)
{
    dog.setPlayerPosition(-111, -7, false);
    dog.setPlayerPosition(-10, 40, false);
    EXPECT_EQ(dog.state, Dog::Idle);
    dog.setPlayerPosition(-110, -7, false);
    EXPECT_EQ(dog.state, Dog::Chasing);
    EXPECT_EQ(dog.timer, Dog::runTimer);
    // On the watched point itself both a chase and a flight face left.
    dog.setPlayerPosition(-10, -25, true);
    EXPECT_EQ(dog.state, Dog::Fleeing);
    EXPECT_EQ(dog.way, 0);
    dog.setPlayerPosition(-10, 7, false);
    EXPECT_EQ(dog.way, 0);
    // The lamp turns a chase into a flight at once, and back.
    const bool lamp[3] = {false, true, false};
    for (int i = 0; i < 3; i++) {
        dog.setPlayerPosition(30, 7, lamp[i]);
        dog.update();
        EXPECT_FLOAT_EQ(dog.vx, lamp[i] ? -2.0f : 2.0f);
        EXPECT_EQ(dog.tile, dog.runTile);
    }
}

TEST_F(DogTest, KeepsRunningUntilItsTimerRunsOutAndWrapsIntoTheIdleFrames)
{
    dog.x = 5;
    dog.setPlayerPosition(30, 7, false);
    for (int i = 1; i < Dog::runTimer; i++) {
        dog.update();
        ASSERT_EQ(dog.state, Dog::Chasing) << "step " << i;
    }
    EXPECT_EQ(dog.oldX, 5);
    // Half a frame a step: 99.5 frames of the six-frame run end on 3.5.
    EXPECT_FLOAT_EQ(dog.frame, 3.5f);
    dog.frame = 4.5f;
    dog.update();
    EXPECT_EQ(dog.state, Dog::Idle);
    EXPECT_FLOAT_EQ(dog.vx, 0.0f);
    EXPECT_EQ(dog.tile, dog.idleTile);
    EXPECT_FLOAT_EQ(dog.frame, 0.0f);
}

TEST_F(DogTest, IsTouchedWhereItIsDrawnMirroredOrNot)
{
    // Only column 0 of the idle frames is visible.
    for (int f = 0; f < 4; f++)
        for (int i = 14; i < 20 * 14; i++)
            dog.idleTile->frames[f].data[i].colour = 0;
    dog.x = 100;
    dog.y = 50;
    int asked = 0;
    auto player = [&](int wx, int) { return ++asked, wx != 100; };
    dog.way = 0;
    EXPECT_NE(dog.pixelAt(100, 55), 0);
    EXPECT_FALSE(dog.touches(90, 40, 11, 20, player));
    EXPECT_EQ(asked, 10);
    EXPECT_FALSE(dog.touches(101, 40, 30, 30, player));
    dog.way = 1;
    EXPECT_EQ(dog.pixelAt(100, 55), 0);
    EXPECT_TRUE(dog.touches(119, 63, 5, 5, player));
    EXPECT_FALSE(dog.touches(119, 64, 5, 5, player));
}
