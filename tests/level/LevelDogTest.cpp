// Dogs moving through a room while a player tells them where he stands
// after every room update, as the game does.

#include "level/Dog.h"
#include "SimRoom.h"

namespace {

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
    // Game frames with the player at (px, py); no dog may stand in rock.
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
    int px = 0, py = 0;
    bool scared = false;
};

} // namespace

TEST(LevelDogTest, DogThatCannotReachThePlayerNeverPassesRock)
{
    // A wall between the dog and the player: it lands, runs up to it and stays.
    DogRoom walled(240, 80);
    walled.rock(0, 60, 240, 20);
    walled.rock(120, 0, 10, 60);
    walled.build();
    Dog* dog = walled.dog(60, 20);
    walled.px = 135;
    walled.py = 50;
    walled.frames(100);
    EXPECT_EQ(dog->x, 100);
    EXPECT_EQ(dog->y, 46);
    EXPECT_EQ(dog->state, Dog::Chasing);

    // A pit (x 100 to 129, floor at row 90) before the player: it falls in
    // and runs against its far wall.
    DogRoom pit(240, 100);
    pit.rock(0, 60, 100, 40);
    pit.rock(130, 60, 110, 40);
    pit.rock(100, 90, 30, 10);
    pit.build();
    Dog* fallen = pit.dog(70, 46);
    pit.px = 150;
    pit.py = 53;
    pit.frames(300);
    EXPECT_EQ(fallen->x, 110);
    EXPECT_EQ(fallen->y, 76);
}

TEST(LevelDogTest, TwoDogsCloseInFromBothSidesWhileAFarOneSleeps)
{
    // A flat floor at row 60, the player on it at x 200.
    DogRoom room(600, 80);
    room.rock(0, 60, 600, 20);
    room.build();
    room.px = 200;
    room.py = 50;
    Dog* left = room.dog(130, 46);
    Dog* right = room.dog(290, 46);
    Dog* far = room.dog(500, 46);
    room.frames(60);
    // Both keep to the point beside the player (x 210); dogs never block each other.
    EXPECT_LE(std::abs(left->x - 210), 2);
    EXPECT_LE(std::abs(right->x - 210), 2);
    EXPECT_EQ(far->x, 500);
    EXPECT_EQ(far->state, Dog::Idle);
}
