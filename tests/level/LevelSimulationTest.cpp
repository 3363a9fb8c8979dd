// Moving things of a room: movers, falling, pushed and thrown objects, water,
// and the room's update order.

#include "audio/FakeMixer.h"
#include "level/Dog.h"
#include "SimRoom.h"

#include <algorithm>

namespace {

struct LevelSimulationTest : testing::Test {
    void SetUp() override { initSounds(); }
    void TearDown() override { closeSounds(); }
    FakeMixer mixer;
};

} // namespace

TEST_F(LevelSimulationTest, MoverTravelsThroughRockAndLoopsItsSoundWhileMoving)
{
    SimRoom room(40, 40);
    room.rock(12, 8, 1, 10);
    room.build();
    Element* mover = room.active(10, 10, 4, 4, Element::Mover);
    boundedCopy(mover->name, sizeof mover->name, "lift");
    mover->homeX = mover->homeY = mover->targetY = 10;
    mover->targetX = 13;
    std::vector<int> xs;
    for (int i = 0; i < 4; i++) {
        room.run(1);
        xs.push_back(mover->x);
    }
    EXPECT_EQ(xs, (std::vector<int>{11, 12, 13, 13}));
    EXPECT_EQ(heard(mixer, movingObjectSlot), "PH");
    // Switched off it goes home, and the loop starts once more.
    room.level.activeActive("lift", 0);
    room.run(5);
    EXPECT_EQ(mover->x, 10);
    EXPECT_EQ(heard(mixer, movingObjectSlot), "PHPH");
}

TEST_F(LevelSimulationTest, FallsStopOnRockThrownThingsBounceAndHardImpactsAreRemembered)
{
    SimRoom room(120, 60);
    room.level.memories = true;
    room.rock(0, 50, 120, 10);
    room.build();
    Element* block = room.active(5, 40, 8, 8, Element::Pushable);
    Element* coin = room.active(100, 40, 8, 8, Element::Thrown);
    Element* slow = room.active(55, 42, 8, 8, Element::Pushable);
    coin->bounce = true;
    block->vy = coin->vy = 2.9f;
    // 3.1 rows would enter the floor: the block stays with no fall left, the
    // coin goes back up at half speed; both are heard.
    room.level.activeUpdate();
    EXPECT_EQ(block->y, 40);
    EXPECT_FLOAT_EQ(block->vy, 0.0f);
    EXPECT_EQ(coin->y, 40);
    EXPECT_NEAR(coin->vy, -1.55f, 1e-5);
    EXPECT_EQ(heard(mixer, 8), "OO");
    // A disc of radius 32 around the block's centre (9, 44) is remembered.
    auto quality = [&](int wx, int wy) { return cell(room.level, wx + 1, wy + 1).quality; };
    EXPECT_FLOAT_EQ(quality(9 + 32, 44), 1.0f);
    EXPECT_FLOAT_EQ(quality(9 + 33, 44), 0.0f);
    EXPECT_FLOAT_EQ(quality(9 + 23, 44 - 23), 0.0f);
    // Exactly 2 rows an update is not hard: silent and not remembered.
    room.level.moveActive(slow, 0.0f, 2.0f, true);
    EXPECT_EQ(heard(mixer, 8), "OO");
    EXPECT_FLOAT_EQ(quality(59, 46), 0.0f);
    // Gravity then settles the block on the floor without entering it.
    for (int i = 0; i < 60; i++) {
        room.level.activeUpdate();
        ASSERT_FALSE(room.onRock(block->x, block->y, 8, 8) || room.onRock(coin->x, coin->y, 8, 8));
    }
    EXPECT_EQ(block->y, 42);
}

TEST_F(LevelSimulationTest, ObjectsFloatInDeepWaterAndSinkWithIt)
{
    SimRoom room(40, 100);
    room.rock(0, 90, 40, 10);
    room.level.water = true;
    room.level.waterMode = 1;
    room.level.waterTop = 30;
    room.level.waterLimit = 80;
    room.build();
    Element* box = room.active(10, 80, 10, 10, Element::Pushable);
    // 61 rows under: it rises, then bobs with no more than about 16 under.
    room.run(120);
    int least = 1000, most = -1;
    for (int i = 0; i < 60; i++) {
        room.run(1);
        least = std::min(least, room.level.getWaterCollision(box));
        most = std::max(most, room.level.getWaterCollision(box));
    }
    EXPECT_GE(least, 4);
    EXPECT_LE(most, 18);
    // The water sinks to row 80: the box follows it down to the floor.
    room.level.waterMode = 2;
    room.run(200);
    EXPECT_EQ(box->y, 80);
    EXPECT_EQ(room.level.getWaterCollision(box), 11);
    room.level.water = false;
    EXPECT_EQ(room.level.getWaterCollision(box), 0);
}

TEST_F(LevelSimulationTest, ThrowingNeedsRoomAndThrownIndexFollowsDeletions)
{
    SimRoom room(100, 60);
    room.rock(0, 50, 100, 10);
    room.rock(60, 0, 10, 50);
    room.build();
    Tile* coin = room.keep(solidTile(4, 4, int(0xFFFFD700u), 5, 3));
    Element* unstable = room.active(20, 42, 8, 8, Element::Unstable, false);
    room.level.ennemies.push_back(unstable);
    // Into rock or another object nothing is thrown; no picture throws nothing but succeeds.
    EXPECT_FALSE(room.level.addActive(58, 20, 5, coin, "coin", "coin", 1.0f, -2.0f));
    EXPECT_FALSE(room.level.addActive(22, 40, 5, coin, "coin", "coin", 1.0f, -2.0f));
    EXPECT_TRUE(room.level.addActive(5, 20, 5, nullptr, "coin", "coin", 1.0f, -2.0f));
    EXPECT_EQ(room.level.actives.size(), 1u);
    EXPECT_EQ(heard(mixer, 7), "");

    ASSERT_TRUE(room.level.addActive(35, 30, 5, coin, "coin", "coin", 1.0f, -2.0f));
    EXPECT_EQ(room.level.thrown, 1);
    EXPECT_EQ(heard(mixer, 7), "O");
    Element* flying = room.level.actives[1];
    EXPECT_TRUE(flying->bounce && flying->active && flying->kind == Element::Thrown);
    // The camera follows it until it no longer moves sideways; it never enters the wall.
    for (int i = 0; i < 300 && room.level.thrown == 1; i++) {
        room.run(1);
        ASSERT_FALSE(room.onRock(flying->x, flying->y, 4, 4));
    }
    EXPECT_EQ(room.level.thrown, -1);
    room.run(100);
    EXPECT_EQ(flying->y, 46);

    room.level.thrown = 1;
    room.level.deleteActive(-1);
    room.level.deleteActive(2);
    room.level.deleteActive(0);
    EXPECT_EQ(room.level.thrown, 0);
    EXPECT_TRUE(room.level.ennemies.empty());
    room.level.deleteActive(0);
    EXPECT_EQ(room.level.thrown, -1);
    EXPECT_TRUE(room.level.actives.empty());
    // Bonuses by index: out of range changes nothing.
    room.level.bonus.push_back(new Element(coin));
    room.level.changeBonus(1, nullptr, "aceto", Element::BonusAceto);
    room.level.deleteBonus(1);
    EXPECT_EQ(room.level.bonus[0]->tile, coin);
    room.level.changeBonus(0, nullptr, "aceto", Element::BonusAceto);
    EXPECT_EQ(room.level.bonus[0]->kind, Element::BonusAceto);
    room.level.deleteBonus(0);
    EXPECT_TRUE(room.level.bonus.empty());
}

TEST_F(LevelSimulationTest, OpenBaseDepthLetsThingsLeaveTheMapAndStopBelowIt)
{
    SimRoom room(40, 40);
    room.level.baseDepth = 9;
    room.build();
    // Only depth 10 is rock for moving things, on the map's margin or off it.
    Element* edge = room.active(36, 30, 8, 8, Element::Pushable);
    EXPECT_FALSE(room.level.getElementCollide(edge));
    room.run(2000);
    EXPECT_FLOAT_EQ(edge->vy, 0.0f);
    EXPECT_GT(edge->y, room.level.originY + room.level.mapHeight);
    EXPECT_LT(edge->y, room.level.originY + room.level.mapHeight + 20);
}

TEST_F(LevelSimulationTest, UpdateAnimatesEntitiesNotBonusesAndStepsDogsTwice)
{
    SimRoom room(100, 60);
    room.rock(0, 50, 100, 10);
    Tile* anim = room.keep(solidTile(4, 4, int(0xFF808080u), 5, 4));
    Element* entity = place(&room.level, anim, 0, 0);
    room.level.entities.push_back(entity);
    room.level.backgrounds.push_back(new Element(anim));
    room.level.bonus.push_back(new Element(anim));
    std::unique_ptr<TileList> tiles = dogTiles();
    Dog* dog = new Dog(tiles.get());
    dog->x = 10;
    dog->y = 36;
    room.level.dogs.push_back(dog);
    room.build();
    dog->setPlayerPosition(60, 40, false);
    room.run(1);
    EXPECT_FLOAT_EQ(entity->frame, 1.0f);
    EXPECT_FLOAT_EQ(room.level.backgrounds[0]->frame, 1.0f);
    EXPECT_FLOAT_EQ(room.level.bonus[0]->frame, 0.0f);
    // Two dog steps and one move: the timer counts two, the dog runs 2 pixels.
    EXPECT_EQ(dog->timer, Dog::runTimer - 2);
    EXPECT_FLOAT_EQ(dog->frame, 1.0f);
    EXPECT_EQ(dog->x, 12);
}
