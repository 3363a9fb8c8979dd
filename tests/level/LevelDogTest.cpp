// Dogs moving through a room: gravity, rock, chasing and fleeing a player
// who tells them where he is after every room update.

#include "player/Dog.h"
#include "SimRoom.h"

#include <gtest/gtest.h>

namespace {

// A room with dogs (20 x 14 pictures) and a player standing at (px, py).
struct DogRoom : SimRoom {
    DogRoom(int width, int height) : SimRoom(width, height) {}

    Dog* dog(int x, int y)
    {
        Dog* d = new Dog(tiles.get());
        d->x = x;
        d->y = y;
        level.dogs.push_back(d);
        return d;
    }

    // Frames of the game: the room steps, then the player tells every dog
    // where he is. Fails when a dog stands in rock.
    void frames(int n)
    {
        for (int i = 0; i < n; i++) {
            run(1);
            for (Dog* d : level.dogs) {
                ASSERT_FALSE(onRock(d->x, d->y, 20, 14)) << "frame " << i;
                d->setPlayerPosition(px, py, scared);
            }
        }
    }

    std::unique_ptr<TileList> tiles = dogTiles();
    int px = 0;
    int py = 0;
    bool scared = false;
};

} // namespace

TEST(LevelDogTest, FallsOntoTheFloorAndChasesUpToAWall)
{
    DogRoom room(240, 80);
    room.rock(0, 60, 240, 20);
    room.rock(120, 0, 10, 60);
    room.build();
    Dog* dog = room.dog(60, 20);
    // The player stands behind the wall, within reach of the dog's eye.
    room.px = 135;
    room.py = 50;

    room.frames(40);
    EXPECT_EQ(dog->y, 46);
    room.frames(60);
    // Pressed against the wall (x 120), still running at it.
    EXPECT_EQ(dog->x, 100);
    EXPECT_EQ(dog->y, 46);
    EXPECT_EQ(dog->state, Dog::Chasing);
}

TEST(LevelDogTest, DogThatCannotReachThePlayerStaysInThePitItFellInto)
{
    DogRoom room(240, 100);
    room.rock(0, 60, 100, 40);
    room.rock(130, 60, 110, 40);
    room.rock(100, 90, 30, 10);
    room.build();
    Dog* dog = room.dog(70, 46);
    room.px = 150;
    room.py = 53;

    room.frames(200);
    // In the pit (x 100 to 129, floor at 90), against its far wall.
    EXPECT_EQ(dog->y, 76);
    EXPECT_EQ(dog->x, 110);
    room.frames(200);
    EXPECT_EQ(dog->y, 76);
    EXPECT_GE(dog->x, 100);
    EXPECT_LE(dog->x, 110);
}

TEST(LevelDogTest, AcetyleneLampDrivesTheDogAwayForAHundredFrames)
{
    DogRoom room(600, 80);
    room.rock(0, 60, 600, 20);
    room.build();
    Dog* dog = room.dog(350, 46);
    room.px = 400;
    room.py = 50;
    room.scared = true;
    dog->setPlayerPosition(room.px, room.py, true);

    // It runs left, out of reach at x 308 (the point it watches is x 410),
    // and 99 frames further; the 100th frame it stops.
    room.frames(200);
    EXPECT_EQ(dog->state, Dog::Idle);
    EXPECT_EQ(dog->x, 112);
    EXPECT_EQ(dog->way, 0);

    // Without the lamp, the player walking up to it is chased.
    room.scared = false;
    room.px = 150;
    room.frames(1);
    EXPECT_EQ(dog->state, Dog::Chasing);
    room.frames(10);
    EXPECT_GT(dog->x, 112);
}

TEST(LevelDogTest, TwoDogsCloseInFromBothSidesAndAFarOneSleeps)
{
    DogRoom room(600, 80);
    room.rock(0, 60, 600, 20);
    room.build();
    Dog* left = room.dog(130, 46);
    Dog* right = room.dog(290, 46);
    Dog* far = room.dog(500, 46);
    room.px = 200;
    room.py = 50;

    room.frames(60);
    // Both run to the point beside the player (x 210) and keep to it, each
    // on its own; dogs do not block each other.
    EXPECT_LE(std::abs(left->x - 210), 2);
    EXPECT_LE(std::abs(right->x - 210), 2);
    EXPECT_EQ(left->state, Dog::Chasing);
    EXPECT_EQ(right->state, Dog::Chasing);
    EXPECT_EQ(far->state, Dog::Idle);
    EXPECT_EQ(far->x, 500);
    EXPECT_EQ(far->tile, far->idleTile);
}
