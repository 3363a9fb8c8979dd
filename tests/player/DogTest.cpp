// The dog's reaction to the player, its timer, speed and animation, and the
// picture queries the player's contact test uses.

#include "player/Dog.h"

#include "assets/TileList.h"
#include "level/SimRoom.h"

#include <gtest/gtest.h>

namespace {

// A dog at (0, 0) with 20 x 14 pictures: the point it runs to lies at
// (px + 10, py - 7) for a player at (px, py).
struct DogTest : testing::Test {
    std::unique_ptr<TileList> tiles = dogTiles();
    Dog dog{tiles.get()};
};

} // namespace

TEST_F(DogTest, NoticesThePlayerWithinAHundredAcrossAndThirtyTwoUp)
{
    EXPECT_EQ(dog.tile, dog.idleTile);
    ASSERT_NE(dog.runTile, nullptr);
    dog.setPlayerPosition(-111, -7, false);
    EXPECT_EQ(dog.state, Dog::Idle);
    EXPECT_EQ(dog.timer, 0);
    dog.setPlayerPosition(-110, -7, false);
    EXPECT_EQ(dog.state, Dog::Chasing);
    EXPECT_EQ(dog.timer, Dog::runTimer);
    EXPECT_EQ(dog.way, 0);

    Dog other(tiles.get());
    other.setPlayerPosition(-10, 40, false);
    EXPECT_EQ(other.state, Dog::Idle);
    other.setPlayerPosition(-10, 39, false);
    EXPECT_EQ(other.state, Dog::Chasing);
    other.setPlayerPosition(-10, -25, true);
    EXPECT_EQ(other.state, Dog::Fleeing);
}

TEST_F(DogTest, FacesAndRunsTowardsOrAwayFromThePlayer)
{
    // Standing on the point itself, both a chase and a flight go left.
    dog.setPlayerPosition(-10, 7, false);
    EXPECT_EQ(dog.way, 0);
    dog.setPlayerPosition(-10, 7, true);
    EXPECT_EQ(dog.way, 0);

    // Player to the right: chase right, and the lamp turns it away at once.
    dog.setPlayerPosition(30, 7, false);
    EXPECT_EQ(dog.way, 1);
    dog.update();
    EXPECT_EQ(dog.tile, dog.runTile);
    EXPECT_FLOAT_EQ(dog.vx, 2.0f);
    dog.setPlayerPosition(30, 7, true);
    EXPECT_EQ(dog.state, Dog::Fleeing);
    dog.update();
    EXPECT_FLOAT_EQ(dog.vx, -2.0f);
    // Another lamp: the next call chases again.
    dog.setPlayerPosition(30, 7, false);
    dog.update();
    EXPECT_EQ(dog.state, Dog::Chasing);
    EXPECT_FLOAT_EQ(dog.vx, 2.0f);
    // Player to the left while scared: run right.
    dog.setPlayerPosition(-60, 7, true);
    EXPECT_EQ(dog.way, 1);
}

TEST_F(DogTest, KeepsRunningUntilItsTimerRunsOut)
{
    dog.x = 5;
    dog.y = 9;
    dog.setPlayerPosition(30, 7, false);
    for (int i = 1; i < Dog::runTimer; i++) {
        dog.update();
        ASSERT_EQ(dog.state, Dog::Chasing) << "step " << i;
    }
    EXPECT_EQ(dog.oldX, 5);
    EXPECT_EQ(dog.oldY, 9);
    dog.update();
    EXPECT_EQ(dog.state, Dog::Idle);
    EXPECT_EQ(dog.timer, 0);
    EXPECT_FLOAT_EQ(dog.vx, 0.0f);
    EXPECT_EQ(dog.tile, dog.idleTile);
    dog.update();
    EXPECT_EQ(dog.timer, 0);
}

TEST_F(DogTest, AnimationAdvancesHalfAFrameAndWrapsIntoTheShorterPicture)
{
    dog.update();
    EXPECT_FLOAT_EQ(dog.frame, 0.5f);
    dog.setPlayerPosition(30, 7, false);
    for (int i = 0; i < 8; i++)
        dog.update();
    // Frames 0.5 + 8 x 0.5 = 4.5 of the six running frames.
    EXPECT_FLOAT_EQ(dog.frame, 4.5f);
    dog.timer = 1;
    dog.update();
    EXPECT_EQ(dog.tile, dog.idleTile);
    EXPECT_FLOAT_EQ(dog.frame, 0.0f);
    for (int i = 0; i < 7; i++)
        dog.update();
    EXPECT_FLOAT_EQ(dog.frame, 3.5f);
    dog.update();
    EXPECT_FLOAT_EQ(dog.frame, 0.0f);
}

TEST_F(DogTest, PictureIsTouchedWhereItIsDrawnMirroredOrNot)
{
    // Only column 0 of every idle frame is visible.
    for (int f = 0; f < dog.idleTile->frameCount; f++)
        for (int i = 1; i < 20; i++)
            for (int j = 0; j < 14; j++)
                dog.idleTile->frames[f].data[i * 14 + j].colour = 0;
    dog.x = 100;
    dog.y = 50;
    auto anything = [](int, int) { return true; };
    auto nothing = [](int, int) { return false; };

    dog.way = 0;
    EXPECT_NE(dog.pixelAt(100, 55), 0);
    EXPECT_EQ(dog.pixelAt(119, 55), 0);
    EXPECT_EQ(dog.pixelAt(99, 55), 0);
    EXPECT_TRUE(dog.touches(90, 40, 11, 20, anything));
    EXPECT_FALSE(dog.touches(101, 40, 30, 30, anything));
    EXPECT_FALSE(dog.touches(90, 40, 11, 20, nothing));

    dog.way = 1;
    EXPECT_EQ(dog.pixelAt(100, 55), 0);
    EXPECT_NE(dog.pixelAt(119, 55), 0);
    EXPECT_TRUE(dog.touches(119, 63, 5, 5, anything));
    EXPECT_FALSE(dog.touches(119, 64, 5, 5, anything));
    EXPECT_FALSE(dog.touches(90, 40, 11, 20, anything));
    // The caller's test is asked only where the dog is visible.
    int asked = 0;
    dog.touches(0, 0, 300, 300, [&](int wx, int) {
        asked++;
        return wx != 119;
    });
    EXPECT_EQ(asked, 14);
}

TEST(DogWithoutPicturesTest, RunsButNeitherShowsNorTouches)
{
    TileList empty("no such container");
    Dog dog(&empty);
    // Without the idle picture the point it runs to is (px + 20, py).
    dog.setPlayerPosition(-30, 0, false);
    EXPECT_EQ(dog.state, Dog::Chasing);
    dog.update();
    EXPECT_FLOAT_EQ(dog.vx, -2.0f);
    EXPECT_EQ(dog.width(), 0);
    EXPECT_FALSE(dog.touches(-50, -50, 100, 100, [](int, int) { return true; }));
    Dog none(nullptr);
    none.update();
    EXPECT_EQ(none.tile, nullptr);
}
