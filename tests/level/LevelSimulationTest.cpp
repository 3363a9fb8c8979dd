// Moving things of a room: movers, falling, pushed and thrown objects, water,
// and the room's update order.

#include "audio/FakeMixer.h"
#include "player/Dog.h"
#include "SimRoom.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

// Loop starts and halts of one sound slot, in order: 'P' played looping,
// 'O' played once, 'H' halted.
std::string slotHistory(const FakeMixer& mixer, int slot)
{
    std::string h;
    for (const MIXER_EVENT& e : mixer.events)
        if (e.first == slot && e.call == "playChannel")
            h += e.second == -1 ? 'P' : 'O';
        else if (e.first == slot && e.call == "haltChannel")
            h += 'H';
    return h;
}

// Sound tables loaded through the fake mixer for a test's lifetime.
struct Sounds {
    Sounds() { initSounds(); }
    ~Sounds() { closeSounds(); }
    FakeMixer mixer;
};

} // namespace

TEST(LevelSimulationTest, MoverTravelsThroughRockAndLoopsItsSoundWhileMoving)
{
    Sounds sounds;
    SimRoom room(40, 40);
    room.rock(12, 8, 1, 10);
    room.build();
    Element* mover = room.active(10, 10, 4, 4, Element::Mover, true);
    mover->homeX = mover->homeY = 10;
    mover->targetX = 13;
    mover->targetY = 10;
    boundedCopy(mover->name, sizeof mover->name, "lift");

    std::vector<int> xs;
    for (int i = 0; i < 3; i++) {
        room.run(1);
        xs.push_back(mover->x);
    }
    EXPECT_EQ(xs, (std::vector<int>{11, 12, 13}));
    EXPECT_EQ(mover->y, 10);
    EXPECT_EQ(slotHistory(sounds.mixer, movingObjectSlot), "P");
    room.run(1);
    EXPECT_EQ(mover->x, 13);
    EXPECT_EQ(slotHistory(sounds.mixer, movingObjectSlot), "PH");

    // Switched off it goes home the same way, and the loop starts once again.
    room.level.activeActive("lift", 0);
    room.run(5);
    EXPECT_EQ(mover->x, 10);
    EXPECT_EQ(slotHistory(sounds.mixer, movingObjectSlot), "PHPH");
}

TEST(LevelSimulationTest, FallingObjectStopsOnRockAndThrownOneBounces)
{
    Sounds sounds;
    SimRoom room(60, 60);
    room.rock(0, 50, 60, 10);
    room.build();
    Element* block = room.active(5, 40, 8, 8, Element::Pushable);
    Element* coin = room.active(30, 40, 8, 8, Element::Thrown);
    coin->bounce = true;
    block->vy = coin->vy = 2.9f;

    // Both would move 3 rows into the floor: the block keeps its place with
    // no fall left, the coin goes back up at half its speed.
    room.level.activeUpdate();
    EXPECT_EQ(block->y, 40);
    EXPECT_FLOAT_EQ(block->vy, 0.0f);
    EXPECT_EQ(coin->y, 40);
    EXPECT_NEAR(coin->vy, -1.55f, 1e-5);
    EXPECT_EQ(slotHistory(sounds.mixer, 8), "OO");

    // Gravity then settles the block on the floor without entering it.
    for (int i = 0; i < 60; i++) {
        room.level.activeUpdate();
        ASSERT_FALSE(room.onRock(block->x, block->y, 8, 8));
        ASSERT_FALSE(room.onRock(coin->x, coin->y, 8, 8));
    }
    EXPECT_EQ(block->y, 42);
    EXPECT_EQ(block->x, 5);
}

TEST(LevelSimulationTest, OnlyHardImpactsSoundAndAreRemembered)
{
    Sounds sounds;
    SimRoom room(120, 60);
    room.level.memories = true;
    room.rock(0, 50, 120, 10);
    room.build();
    Element* slow = room.active(10, 42, 8, 8, Element::Pushable);
    Element* fast = room.active(80, 42, 8, 8, Element::Pushable);

    auto quality = [&](int wx, int wy) { return cell(room.level, wx + 1, wy + 1).quality; };

    // Exactly 2 pixels per update is not yet hard.
    room.level.moveActive(slow, 0.0f, 2.0f, true);
    EXPECT_EQ(slotHistory(sounds.mixer, 8), "");
    EXPECT_FLOAT_EQ(quality(14, 46), 0.0f);

    room.level.moveActive(fast, 0.0f, 2.5f, true);
    EXPECT_EQ(slotHistory(sounds.mixer, 8), "O");
    // A disc of radius 32 around the block's centre (84, 46) is remembered.
    EXPECT_FLOAT_EQ(quality(84, 46), 1.0f);
    EXPECT_FLOAT_EQ(quality(84 - 32, 46), 1.0f);
    EXPECT_FLOAT_EQ(quality(84 - 33, 46), 0.0f);
    EXPECT_FLOAT_EQ(quality(84 - 23, 46 - 23), 0.0f);
}

TEST(LevelSimulationTest, PushedBlockFallsIntoAGapAndStaysThere)
{
    SimRoom room(80, 60);
    // A floor at row 40 with a gap from x 30 to 43, 12 rows deep: wide
    // enough that the block rests over it for more than one fall attempt.
    room.rock(0, 40, 30, 20);
    room.rock(44, 40, 36, 20);
    room.rock(30, 52, 14, 8);
    room.build();
    Element* block = room.active(10, 32, 8, 8, Element::Pushable);

    // The player pushes one pixel a frame without changing the block's own fall.
    auto push = [&](float dx, int frames) {
        for (int frame = 0; frame < frames; frame++) {
            room.level.moveActive(block, dx, 0.0f, false);
            room.run(1);
            ASSERT_FALSE(room.onRock(block->x, block->y, 8, 8)) << "frame " << frame;
        }
    };
    push(1.0f, 60);
    EXPECT_EQ(block->x, 36);
    EXPECT_EQ(block->y, 44);

    // Pushed on against either wall of the gap it stays down there.
    push(1.0f, 20);
    EXPECT_EQ(block->x, 36);
    push(-1.0f, 20);
    EXPECT_EQ(block->x, 30);
    EXPECT_EQ(block->y, 44);
}

TEST(LevelSimulationTest, ObjectsFloatInDeepWaterAndSinkWithIt)
{
    SimRoom room(40, 100);
    room.rock(0, 90, 40, 10);
    room.level.water = true;
    room.level.waterMode = 1;
    room.level.waterTop = 30;
    room.level.waterLimit = 80;
    room.build();
    ASSERT_EQ(room.level.waterLevel, 30);
    Element* box = room.active(10, 80, 10, 10, Element::Pushable);

    // Deep under the surface it rises, then bobs near it.
    room.run(120);
    int least = 1000, most = -1;
    for (int i = 0; i < 60; i++) {
        room.run(1);
        least = std::min(least, room.level.getWaterCollision(box));
        most = std::max(most, room.level.getWaterCollision(box));
    }
    EXPECT_GE(least, 4);
    EXPECT_LE(most, 18);

    // The water sinks to row 80 (world 79): the box follows it down.
    room.level.waterMode = 2;
    room.run(200);
    EXPECT_EQ(room.level.waterLevel, 80);
    EXPECT_EQ(box->y, 80);
    EXPECT_EQ(room.level.getWaterCollision(box), 11);

    // A level without water has no rows under water.
    SimRoom dry(20, 20);
    dry.build();
    EXPECT_EQ(dry.level.getWaterCollision(dry.active(2, 2, 4, 4, Element::Pushable)), 0);
}

TEST(LevelSimulationTest, ThrowingNeedsFreeRoomAndTheCameraFollowsUntilItRests)
{
    Sounds sounds;
    SimRoom room(100, 60);
    room.rock(0, 50, 100, 10);
    room.rock(60, 0, 10, 50);
    room.build();
    Tile* coin = room.keep(solidTile(4, 4, int(0xFFFFD700u), 5, 3));
    room.active(20, 42, 8, 8, Element::Pushable);

    // Into rock, into another object, or with no picture: nothing is thrown.
    EXPECT_FALSE(room.level.addActive(58, 20, 5, coin, "coin", "coin", 1.0f, -2.0f));
    EXPECT_FALSE(room.level.addActive(22, 40, 5, coin, "coin", "coin", 1.0f, -2.0f));
    EXPECT_TRUE(room.level.addActive(5, 20, 5, nullptr, "coin", "coin", 1.0f, -2.0f));
    EXPECT_EQ(room.level.actives.size(), 1u);
    EXPECT_EQ(room.level.thrown, -1);
    EXPECT_EQ(slotHistory(sounds.mixer, 7), "");

    ASSERT_TRUE(room.level.addActive(35, 30, 5, coin, "coin", "coin", 1.0f, -2.0f));
    ASSERT_EQ(room.level.actives.size(), 2u);
    EXPECT_EQ(room.level.thrown, 1);
    EXPECT_EQ(slotHistory(sounds.mixer, 7), "O");
    Element* flying = room.level.actives[1];
    EXPECT_EQ(flying->kind, Element::Thrown);
    EXPECT_TRUE(flying->bounce);
    EXPECT_FLOAT_EQ(flying->speed, 1.0f);

    int updates = 0;
    while (room.level.thrown == 1 && updates < 300) {
        room.run(1);
        updates++;
        ASSERT_FALSE(room.onRock(flying->x, flying->y, 4, 4));
    }
    EXPECT_EQ(room.level.thrown, -1);
    room.run(100);
    EXPECT_EQ(flying->y, 46);
    EXPECT_LE(flying->x, 56);
}

TEST(LevelSimulationTest, DeletionsKeepTheThrownIndexAndTheEnemyListValid)
{
    SimRoom room(100, 60);
    room.build();
    Tile* coin = room.keep(solidTile(4, 4));
    Element* unstable = room.active(0, 0, 8, 8, Element::Unstable, false);
    room.level.ennemies.push_back(unstable);
    room.active(20, 0, 8, 8, Element::Pushable);
    ASSERT_TRUE(room.level.addActive(50, 10, 5, coin, "coin", "coin", 0.0f, 0.0f));
    ASSERT_EQ(room.level.thrown, 2);

    room.level.deleteActive(-1);
    room.level.deleteActive(3);
    EXPECT_EQ(room.level.actives.size(), 3u);

    // Deleting before it shifts the index; the enemy list loses its entry.
    room.level.deleteActive(0);
    EXPECT_EQ(room.level.thrown, 1);
    EXPECT_TRUE(room.level.ennemies.empty());
    EXPECT_EQ(room.level.actives[1]->kind, Element::Thrown);
    room.level.deleteActive(0);
    EXPECT_EQ(room.level.thrown, 0);
    room.level.deleteActive(0);
    EXPECT_EQ(room.level.thrown, -1);
    EXPECT_TRUE(room.level.actives.empty());

    // Bonuses by index: out of range changes nothing.
    Element* lamp = new Element(coin);
    room.level.bonus.push_back(lamp);
    room.level.changeBonus(1, nullptr, "aceto", Element::BonusAceto);
    room.level.deleteBonus(-1);
    room.level.deleteBonus(1);
    ASSERT_EQ(room.level.bonus.size(), 1u);
    EXPECT_EQ(lamp->tile, coin);
    room.level.changeBonus(0, nullptr, "aceto", Element::BonusAceto);
    EXPECT_EQ(lamp->kind, Element::BonusAceto);
    EXPECT_STREQ(lamp->text, "aceto");
    EXPECT_EQ(lamp->tile, nullptr);
    room.level.deleteBonus(0);
    EXPECT_TRUE(room.level.bonus.empty());
}

TEST(LevelSimulationTest, CollisionAtTheMapEdgesAndOnlyDepthTenIsRock)
{
    SimRoom room(40, 40);
    room.level.baseDepth = 9;
    room.build();
    // Outside the map the base depth applies: 9 is open for moving things.
    Element* edge = room.active(-6, -6, 8, 8, Element::Pushable);
    EXPECT_FALSE(room.level.getElementCollide(edge));
    edge->x = 36;
    edge->y = 36;
    EXPECT_FALSE(room.level.getElementCollide(edge));

    // Where nothing stops a fall, the object leaves the map and stops below it.
    room.run(2000);
    EXPECT_FLOAT_EQ(edge->vy, 0.0f);
    EXPECT_LE(edge->y, room.level.originY + room.level.mapHeight + 80);
    EXPECT_GT(edge->y, room.level.originY + room.level.mapHeight);

    SimRoom walled(40, 40);
    walled.build();
    Element* corner = walled.active(-1, 5, 8, 8, Element::Pushable);
    EXPECT_TRUE(walled.level.getElementCollide(corner));
}

TEST(LevelSimulationTest, UpdateAnimatesInItsOrderAndStepsDogsTwice)
{
    SimRoom room(100, 60);
    room.rock(0, 50, 100, 10);
    Tile* anim = room.keep(solidTile(4, 4, int(0xFF808080u), 5, 4));
    Element* entity = new Element(anim);
    room.level.elements.push_back(entity);
    room.level.entities.push_back(entity);
    Element* background = new Element(anim);
    room.level.backgrounds.push_back(background);
    Element* bonus = new Element(anim);
    room.level.bonus.push_back(bonus);
    std::unique_ptr<TileList> tiles = dogTiles();
    Dog* dog = new Dog(tiles.get());
    dog->x = 10;
    dog->y = 36;
    room.level.dogs.push_back(dog);
    room.build();
    dog->setPlayerPosition(60, 40, false);
    ASSERT_EQ(dog->timer, Dog::runTimer);

    room.run(1);
    EXPECT_FLOAT_EQ(entity->frame, 1.0f);
    EXPECT_FLOAT_EQ(background->frame, 1.0f);
    EXPECT_FLOAT_EQ(bonus->frame, 0.0f);
    // Two dog steps, one move: the timer counts two, the dog runs 2 pixels.
    EXPECT_EQ(dog->timer, Dog::runTimer - 2);
    EXPECT_FLOAT_EQ(dog->frame, 1.0f);
    EXPECT_EQ(dog->x, 12);
}
