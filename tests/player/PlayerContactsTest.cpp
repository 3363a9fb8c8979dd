// What touching does: bonuses counted, enemies, gas and dogs hurting or
// killing, falling blocks crushing, blocks pushed, thrown coins taken back;
// and the exact picture tests behind them.
#include "player/Player.h"

#include "HallRoomFixture.h"
#include "audio/Control.h"
#include "level/SimRoom.h"
#include "level/Dog.h"
#include "level/Text.h"

#include "map/Map.h"

#include <memory>

namespace {

class ContactTest : public HallRoomTest {
protected:
    // A w x h opaque element at (ex, ey) with kind line `text`, added to
    // `list`; enemies are also kept in the elements the room owns.
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
        if (&list == &room.level->ennemies)
            room.level->elements.push_back(e);
        return e;
    }
    // A bonus of that kind line touched where the player stands, taken.
    void take(const char* text)
    {
        lay(room.level->bonus, text, p.state.x + 6, 140);
        p.getBonusCollision(room.level);
    }

    std::vector<std::unique_ptr<Tile>> tiles;
};

} // namespace

TEST_F(ContactTest, EveryBonusKindIsCountedOnceWhileTouchedForFrames)
{
    // The map's line comes before the sheet's, which stays.
    for (const char* name : {"key_hall", "skull_hall", "map_hall"})
        game.bonus(name, 56, 140, "one_time");
    for (const char* text : {"life", "gold", "diamond", "eye", "sheet Trains stop here at midnight.", "mystery"})
        game.bonus("", 56, 140, text);
    enter(50);
    std::size_t lights = room.level->lights.size();
    room.frames(6, held());

    EXPECT_EQ(p.state.life, 4);
    EXPECT_EQ(p.state.coin, 1);
    EXPECT_EQ(p.state.diamond, 1);
    EXPECT_EQ(p.state.respawn, 4);
    EXPECT_EQ(p.nKey, 1);
    EXPECT_EQ(p.nObjects, 3);
    EXPECT_EQ(room.level->lights.size(), lights + 1);
    EXPECT_EQ(std::string(room.level->message->message), "Trains stop here at midnight.");
    ASSERT_EQ(room.level->bonus.size(), 1u);
    EXPECT_STREQ(room.level->bonus[0]->text, "mystery");
    ASSERT_NE(p.map, nullptr);
    for (const MAP_CELL* c : p.map->cells)
        EXPECT_GE(c->state, 1) << "the map object shows every room";
    std::vector<int> slots = played(mixer);
    std::sort(slots.begin(), slots.end());
    EXPECT_EQ(slots, (std::vector<int>{coinSlot, bonusSlot, keySlot, diamondSlot, skullSlot, sheetSlot, revealSlot,
                                       mapSlot}));

    // A map says what it is and which key, as bound now, shows it.
    Element* map = lay(room.level->bonus, "one_time", p.state.x + 6, 140);
    boundedCopy(map->name, sizeof map->name, "map_cellar");
    initControlNames();
    setControl(controlShowMap, 'm');
    p.getBonusCollision(room.level);
    loadDefaultControls();
    EXPECT_EQ(std::string(room.level->message->message), "You take a map of the underground: M shows it.");
}

TEST_F(ContactTest, CoinsAndDiamondsTurnIntoLivesAndContinuesAtTheirCounts)
{
    enter(50);
    p.state.coin = 49;
    take("gold");
    EXPECT_EQ(p.state.coin, 0);
    EXPECT_EQ(p.state.life, 4);
    p.state.life = p.state.maxLife; // at full life the 50th coin is only a coin
    p.state.coin = 49;
    take("gold");
    EXPECT_EQ(p.state.life, p.state.maxLife);
    EXPECT_EQ(played(mixer), (std::vector<int>{bonusSlot, coinSlot}));

    // Thrown coins taken back give a life at 100, the same index looked at
    // again after each; gold past 99 does too.
    p.state.life = 3;
    p.state.coin = 98;
    p.setBBox();
    lay(room.level->actives, "coin", 60, 140, 7, 7, Element::Thrown);
    lay(room.level->actives, "coin", 58, 140, 7, 7, Element::Thrown);
    p.getActiveCollision(room.level);
    EXPECT_TRUE(room.level->actives.empty());
    EXPECT_EQ(p.state.coin, 0);
    EXPECT_EQ(p.state.life, 4);
    p.state.coin = 99;
    take("gold");
    EXPECT_EQ(p.state.coin, 0);
    EXPECT_EQ(p.state.life, 5);

    std::vector<int> continues;
    for (int i = 0; i < 100; i++) {
        int before = p.state.respawn;
        take("diamond");
        if (p.state.respawn > before)
            continues.push_back(p.state.diamond);
    }
    EXPECT_EQ(continues, (std::vector<int>{20, 40, 60, 80}));
    EXPECT_EQ(p.state.diamond, 99);
    p.state.diamond = 100; // from a damaged save: no continue for an uncounted diamond
    int respawn = p.state.respawn;
    take("diamond");
    EXPECT_EQ(p.state.respawn, respawn);
}

TEST_F(ContactTest, HurtsTakeALifeAndProtectForAWhilePicksAndDogsKill)
{
    game.thing("arc", 56, 130, 8, 8, "ennemy electric");
    game.thing("slime", 56, 140, 8, 8, "ennemy toxic");
    enter(50);
    std::vector<int> hurts;
    for (int frame = 1; frame <= 100; frame++) {
        int before = p.state.life;
        room.frame(held());
        if (p.state.life < before)
            hurts.push_back(frame);
        if (frame == 1) {
            EXPECT_STREQ(p.animation.getSeqName(p.controler->seq), "fall"); // knocked back
        }
    }
    // Two enemies touched at once take one life; none is taken below 0.
    EXPECT_EQ(hurts, (std::vector<int>{1, 43, 85}));
    EXPECT_EQ(p.state.life, 0);

    room.place(50, restY); // the dead fall through the floor
    p.state.life = 3;
    p.state.hitted = 5.0f;
    lay(room.level->ennemies, "ennemy pick", 56, 144);
    p.getEnnemyCollision(room.level);
    EXPECT_EQ(p.state.life, 0);
    EXPECT_FLOAT_EQ(p.state.hitted, 8.0f);

    // Gas hurts only inside the cloud.
    room.level->ennemies.clear();
    p.state.life = 3;
    p.state.hitted = 0.0f;
    room.level->hasCloud = true;
    p.getEnnemyCollision(room.level);
    EXPECT_EQ(p.state.life, 3);
    for (int wx = 50; wx < 70; wx++)
        for (int wy = 125; wy < 150; wy++)
            room.level->cellAt(wx, wy)->cloud = 4;
    p.getEnnemyCollision(room.level);
    EXPECT_EQ(p.state.life, 2);

    // Dogs run at him, away from the acetylene lamp even when out, and catch on touch.
    std::unique_ptr<TileList> dogPictures = dogTiles();
    Dog* dog = new Dog(dogPictures.get());
    dog->x = 120;
    dog->y = restY + 10;
    room.level->dogs.push_back(dog);
    p.state.currentTorch = 1;
    p.getDogCollision(room.level);
    EXPECT_EQ(dog->state, Dog::Chasing);
    p.state.currentTorch = 3;
    p.state.torch = false;
    p.getDogCollision(room.level);
    EXPECT_EQ(dog->state, Dog::Fleeing);
    dog->x = 60;
    p.getEnnemyCollision(room.level);
    EXPECT_EQ(p.state.life, 0);
    EXPECT_FLOAT_EQ(p.state.hitted, 8.0f); // from the gas: the dog leaves it alone
}

TEST_F(ContactTest, UnstableBlocksStartFallingWithinThirtyTwoPixelsAndCrushWhenFast)
{
    game.thing("trap", 50, 40, 16, 8, "ennemy unstable");
    enter(50);
    // The character's middle is (58, 137); a 16 x 8 block's is (8, 4) from its corner.
    Element* near = lay(room.level->ennemies, "ennemy unstable", 58 + 31 - 8, 133, 16, 8, Element::Unstable);
    Element* far = lay(room.level->ennemies, "ennemy unstable", 58 - 32 - 8, 133, 16, 8, Element::Unstable);
    Element* running = lay(room.level->ennemies, "ennemy unstable", 50, 113, 16, 8, Element::Unstable);
    running->countdown = 5;
    p.getEnnemyCollision(room.level);
    EXPECT_EQ(near->countdown, 10);
    EXPECT_EQ(far->countdown, -1);
    EXPECT_EQ(running->countdown, 5);
    room.level->ennemies.resize(1);

    room.roomMoves = true;
    room.level->activeActive("trap", 1);
    for (int i = 0; i < 60 && p.state.life > 0; i++)
        room.frame(held());
    EXPECT_EQ(p.state.life, 0);
    EXPECT_GT(active("trap")->vy, 3.0f);
}

TEST_F(ContactTest, PixelExactTestsFlipTheCharacterAndStopAtPictureEdges)
{
    enter(50);
    // Only pixel (0, 5) of the character is opaque.
    Animation& a = p.animation;
    for (int f = 0; f < a.frameCount; f++)
        for (int i = 0; i < a.width * a.height; i++)
            a.frames[f].pixels[i] = i == 5 ? int(0xFF808080u) : 0;
    auto dot = solidTile(1, 1), block = solidTile(4, 4);
    Element left(dot.get()), right(dot.get()), beside(block.get());
    left.x = 50;
    right.x = 50 + sheetWidth - 1;
    left.y = right.y = restY + 5;
    EXPECT_TRUE(p.getPixelPerfectCollision(&left));
    EXPECT_FALSE(p.getPixelPerfectCollision(&right));
    p.state.way = 1;
    EXPECT_FALSE(p.getPixelPerfectCollision(&left));
    EXPECT_TRUE(p.getPixelPerfectCollision(&right));
    p.state.way = 0;
    beside.x = 50 - 4; // ends just left of the lit pixel
    beside.y = restY + 3;
    EXPECT_FALSE(p.getPixelPerfectCollision(&beside));
    beside.x += 1;
    EXPECT_TRUE(p.getPixelPerfectCollision(&beside));

    // Dogs are mirrored while they face right.
    std::unique_ptr<TileList> dogPictures = dogTiles();
    Dog dog(dogPictures.get());
    dog.tile->frames[0].data[0].colour = 0;
    dog.x = 50 - 20;
    dog.y = restY + 5;
    EXPECT_FALSE(p.getPixelPerfectCollision(&dog));
    dog.x = 50;
    dog.way = 0;
    EXPECT_FALSE(p.getPixelPerfectCollision(&dog));
    dog.way = 1;
    EXPECT_TRUE(p.getPixelPerfectCollision(&dog));

    // The body box (ladders) keeps the same edges: a block ending just
    // before it is not touched, its last column or row not repeated beyond it.
    BoundingBox box{60, 100, 10, 10};
    const struct {
        int x, y;
        bool touched;
    } blocks[] = {{56, 100, false}, {57, 100, true}, {60, 96, false}, {60, 97, true}};
    for (const auto& b : blocks) {
        beside.x = b.x;
        beside.y = b.y;
        EXPECT_EQ(box.getCollisionWithElementPixels(&beside), int(b.touched)) << b.x << "," << b.y;
    }
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
    EXPECT_EQ(xs, (std::vector<int>{101, 102, 102, 102})); // a pixel a frame while within reach
    for (int i = 0; i < 300 && active("crate")->y == 120; i++)
        room.frame(held("R"));
    room.frames(60, held());
    EXPECT_GE(active("crate")->x, 150);
    EXPECT_LE(active("crate")->x + 16, 170);
    EXPECT_EQ(active("crate")->y, 190 - 30);
    EXPECT_EQ(p.state.life, 3);
}
