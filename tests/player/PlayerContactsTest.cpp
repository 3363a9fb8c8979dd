// What touching does: bonuses counted, enemies and gas hurting or killing,
// falling blocks crushing, dogs catching, blocks pushed and thrown coins
// taken back; and the exact picture tests behind them.
#include "player/Player.h"

#include "HallRoomFixture.h"
#include "level/LevelFixtures.h"
#include "level/Light.h"
#include "level/SimRoom.h"
#include "player/Dog.h"
#include "ui/Text.h"

#include <memory>

namespace {

class ContactTest : public HallRoomTest {
protected:
    // A w x h opaque element at (ex, ey) with kind line `text`, added to `list`.
    Element* lay(std::vector<Element*>& list, const char* text, int ex, int ey, int w = 6, int h = 6,
                 int kind = Element::Decor)
    {
        tiles.push_back(solidTile(w, h));
        Element* e = new Element(tiles.back().get());
        e->x = ex;
        e->y = ey;
        e->kind = kind;
        boundedCopy(e->text, sizeof e->text, text);
        list.push_back(e);
        return e;
    }
    // A bonus of that kind line touched where the player stands, taken.
    void take(const char* text)
    {
        lay(room.level->bonus, text, p.x + 6, 140);
        p.getBonusCollision(room.level);
    }
    // Leaves only the pixel (column, row) of every frame of the character opaque.
    void onePixelCharacter(int column, int row)
    {
        Animation& a = p.animation;
        for (int f = 0; f < a.frameCount; f++)
            for (int i = 0; i < a.width * a.height; i++)
                a.frames[f].pixels[i] = i == column * a.height + row ? int(0xFF808080u) : 0;
    }

    std::vector<std::unique_ptr<Tile>> tiles;
};

} // namespace

TEST_F(ContactTest, EveryBonusKindIsCountedOnceWhileTouchedForFrames)
{
    for (const char* text : {"life", "gold", "diamond", "eye", "sheet Trains stop here at midnight.", "mystery"})
        game.bonus("", 56, 140, text);
    game.bonus("key_hall", 56, 140, "one_time");
    game.bonus("skull_hall", 56, 140, "one_time");
    game.bonus("map_hall", 56, 140, "one_time");
    enter(50);
    std::size_t lights = room.level->lights.size();
    room.frames(6, held());

    EXPECT_EQ(p.life, 4);
    EXPECT_EQ(p.coin, 1);
    EXPECT_EQ(p.diamond, 1);
    EXPECT_EQ(p.respawn, 4);
    EXPECT_EQ(p.nKey, 1);
    ASSERT_EQ(p.nObjects, 3);
    std::vector<std::string> objects;
    for (OBJECT* o : p.objects)
        objects.push_back(o->name);
    std::sort(objects.begin(), objects.end());
    EXPECT_EQ(objects, (std::vector<std::string>{"key_hall", "map_hall", "skull_hall"}));
    EXPECT_EQ(room.level->lights.size(), lights + 1);
    EXPECT_EQ(std::string(room.level->message->message), "Trains stop here at midnight.");
    EXPECT_EQ(room.level->message->time, 2000);
    ASSERT_EQ(room.level->bonus.size(), 1u);
    EXPECT_STREQ(room.level->bonus[0]->text, "mystery");
    std::vector<int> slots = played(mixer);
    std::sort(slots.begin(), slots.end());
    EXPECT_EQ(slots, (std::vector<int>{coinSlot, bonusSlot, keySlot, diamondSlot, skullSlot, sheetSlot, revealSlot,
                                       mapSlot}));
}

TEST_F(ContactTest, CoinsAndDiamondsTurnIntoLivesAndContinuesAtTheirCounts)
{
    enter(50);
    p.coin = 48;
    take("gold");
    EXPECT_EQ(p.coin, 49);
    take("gold");
    EXPECT_EQ(p.coin, 0);
    EXPECT_EQ(p.life, 4);
    EXPECT_EQ(played(mixer), (std::vector<int>{coinSlot, bonusSlot}));

    // At full life the 50th coin is only a coin sound.
    p.life = p.maxLife;
    p.coin = 49;
    take("gold");
    EXPECT_EQ(p.coin, 0);
    EXPECT_EQ(p.life, p.maxLife);
    EXPECT_EQ(played(mixer).back(), coinSlot);
    take("life");
    EXPECT_EQ(p.life, p.maxLife);

    // Coins taken back may pass 50; gold then turns them into a life at 100.
    p.life = 3;
    p.coin = 99;
    take("gold");
    EXPECT_EQ(p.coin, 0);
    EXPECT_EQ(p.life, 4);

    std::vector<int> continues;
    p.diamond = 0;
    for (int i = 0; i < 100; i++) {
        int before = p.respawn;
        take("diamond");
        if (p.respawn > before)
            continues.push_back(p.diamond);
    }
    EXPECT_EQ(continues, (std::vector<int>{20, 40, 60, 80}));
    EXPECT_EQ(p.diamond, 99);
    // A count beyond the largest, from a damaged save, gives no continue.
    p.diamond = 100;
    int respawn = p.respawn;
    take("diamond");
    EXPECT_EQ(p.respawn, respawn);
    EXPECT_EQ(p.diamond, 100);
}

TEST_F(ContactTest, ThrownCoinsComeBackAndTheHundredthIsALife)
{
    enter(50);
    p.coin = 98;
    p.setBBox();
    lay(room.level->actives, "coin", 60, 140, 7, 7, Element::Thrown);
    lay(room.level->actives, "coin", 58, 140, 7, 7, Element::Thrown);
    p.getActiveCollision(room.level);
    EXPECT_TRUE(room.level->actives.empty()); // both, the second moved into the first's place
    EXPECT_EQ(p.coin, 0);
    EXPECT_EQ(p.life, 4);
}

TEST_F(ContactTest, AHitTakesALifeProtectsForAWhileAndPicksAlwaysKill)
{
    game.thing("arc", 56, 130, 8, 8, "ennemy electric");
    game.thing("slime", 56, 140, 8, 8, "ennemy toxic");
    enter(50);
    std::vector<int> hurts;
    for (int frame = 1; frame <= 100; frame++) {
        int before = p.life;
        room.frame(held());
        if (p.life < before)
            hurts.push_back(frame);
        if (frame == 1) {
            EXPECT_FLOAT_EQ(p.hitted, 7.8f);
            EXPECT_STREQ(p.animation.getSeqName(p.controler->seq), "fall"); // knocked back
        }
        ASSERT_GE(p.life, 0);
    }
    // Two enemies touched at once take one life.
    EXPECT_EQ(hurts, (std::vector<int>{1, 43, 85}));
    EXPECT_EQ(p.life, 0);

    PlayerRoom other;
    game.thing("spikes", 56, 144, 8, 6, "ennemy pick");
    game.load(&other);
    other.player.hitted = 5.0f;
    other.place(50, restY);
    other.player.getEnnemyCollision(other.level);
    EXPECT_EQ(other.player.life, 0);
    EXPECT_FLOAT_EQ(other.player.hitted, 8.0f);
}

TEST_F(ContactTest, GasHurtsLikeWaterAndOnlyInsideTheCloud)
{
    enter(50);
    room.level->hasCloud = true;
    p.getEnnemyCollision(room.level);
    EXPECT_EQ(p.life, 3);
    for (int wx = 50; wx < 70; wx++)
        for (int wy = 125; wy < 150; wy++)
            room.level->cellAt(wx, wy)->cloud = 4;
    p.getEnnemyCollision(room.level);
    EXPECT_EQ(p.life, 2);
    EXPECT_FLOAT_EQ(p.hitted, 8.0f);
    p.getEnnemyCollision(room.level);
    EXPECT_EQ(p.life, 2);
}

TEST_F(ContactTest, UnstableBlocksStartFallingWithinThirtyTwoPixels)
{
    enter(50);
    // The character's middle is (58, 137); a 16 x 8 block's is 8 right of
    // and 4 below its corner.
    Element* near = lay(room.level->ennemies, "ennemy unstable", 58 + 31 - 8, 133, 16, 8, Element::Unstable);
    Element* far = lay(room.level->ennemies, "ennemy unstable", 58 - 32 - 8, 133, 16, 8, Element::Unstable);
    Element* running = lay(room.level->ennemies, "ennemy unstable", 58 - 8, 137 - 20 - 4, 16, 8, Element::Unstable);
    running->countdown = 5;
    p.getEnnemyCollision(room.level);
    EXPECT_FLOAT_EQ(p.getDistance(near), 31.0f);
    EXPECT_EQ(near->countdown, 10);
    EXPECT_EQ(far->countdown, -1);
    EXPECT_EQ(running->countdown, 5);
    EXPECT_EQ(p.life, 3);
}

TEST_F(ContactTest, ABlockFallingFastCrushesThePlayer)
{
    game.thing("trap", 50, 40, 16, 8, "ennemy unstable");
    enter(50);
    room.roomMoves = true;
    room.frames(3, held());
    ASSERT_EQ(p.life, 3);
    room.level->activeActive("trap", 1);
    int frames = 0;
    while (p.life > 0 && frames < 60) {
        room.frame(held());
        frames++;
    }
    EXPECT_EQ(p.life, 0);
    EXPECT_GT(active("trap")->vy, 3.0f);
    EXPECT_GT(active("trap")->y + 8, restY);
    EXPECT_FLOAT_EQ(p.hitted, 8.0f - 0.2f);
}

TEST_F(ContactTest, PixelExactTestsFlipTheCharacterAndStopAtPictureEdges)
{
    enter(50);
    onePixelCharacter(0, 5);
    auto dot = solidTile(1, 1);
    Element right(dot.get()), left(dot.get());
    right.x = 50 + sheetWidth - 1;
    left.x = 50;
    right.y = left.y = restY + 5;
    p.way = 0;
    EXPECT_TRUE(p.getPixelPerfectCollision(&left));
    EXPECT_FALSE(p.getPixelPerfectCollision(&right));
    p.way = 1;
    EXPECT_FALSE(p.getPixelPerfectCollision(&left));
    EXPECT_TRUE(p.getPixelPerfectCollision(&right));

    // A picture ending just left of the lit pixel does not reach it.
    auto block = solidTile(4, 4);
    Element beside(block.get());
    beside.x = 50 - 4;
    beside.y = restY + 3;
    p.way = 0;
    EXPECT_FALSE(p.getPixelPerfectCollision(&beside));
    beside.x += 1;
    EXPECT_TRUE(p.getPixelPerfectCollision(&beside));

    // The same for dogs, whose picture is mirrored while they face right.
    std::unique_ptr<TileList> dogPictures = dogTiles();
    Dog dog(dogPictures.get());
    dog.tile->frames[0].data[0].colour = 0; // its top-left pixel clear
    dog.y = restY + 5;
    dog.x = 50 - 20;
    EXPECT_FALSE(p.getPixelPerfectCollision(&dog));
    dog.x = 50;
    dog.way = 0;
    EXPECT_FALSE(p.getPixelPerfectCollision(&dog));
    dog.way = 1;
    EXPECT_TRUE(p.getPixelPerfectCollision(&dog));
}

TEST_F(ContactTest, DogsChaseUnlessTheAcetyleneLampIsCarriedAndCatchOnTouch)
{
    std::unique_ptr<TileList> dogPictures = dogTiles();
    enter(50);
    Dog* dog = new Dog(dogPictures.get());
    dog->x = 120;
    dog->y = restY + 10;
    room.level->dogs.push_back(dog);
    p.currentTorch = 1;
    p.getDogCollision(room.level);
    EXPECT_EQ(dog->state, Dog::Chasing);
    p.currentTorch = 3;
    p.torch = false;
    p.getDogCollision(room.level);
    EXPECT_EQ(dog->state, Dog::Fleeing);
    p.getEnnemyCollision(room.level);
    EXPECT_EQ(p.life, 3);

    dog->x = 60;
    p.getEnnemyCollision(room.level);
    EXPECT_EQ(p.life, 0);
    EXPECT_FLOAT_EQ(p.hitted, 0.0f);
}

TEST_F(ContactTest, StandingAgainstABlockPushesItAndWalkingPushesItIntoAGap)
{
    game.open(150, 150, 20, 40);
    game.thing("crate", 100, 120, 16, 30, "pushable");
    enter(84);
    room.roomMoves = true;
    std::vector<int> xs;
    for (int i = 0; i < 4; i++) {
        room.frame(held());
        xs.push_back(active("crate")->x);
    }
    // One pixel a frame while the body is within reach, without a key.
    EXPECT_EQ(xs, (std::vector<int>{101, 102, 102, 102}));
    EXPECT_GT(p.pushTimer, 0);

    for (int i = 0; i < 300 && active("crate")->y == 120; i++)
        room.frame(held("R"));
    room.frames(60, held());
    Element* crate = active("crate");
    EXPECT_GE(crate->x, 150);
    EXPECT_LE(crate->x + 16, 170);
    EXPECT_EQ(crate->y, 190 - 30);
    EXPECT_EQ(p.life, 3);
}
