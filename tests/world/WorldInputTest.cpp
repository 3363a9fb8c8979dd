#include "WorldFixtures.h"

#include "audio/Control.h"

namespace {

// Keys no action has by default, one for every action slot.
const struct {
    int slot;
    int key;
} remapped[] = {{controlLeft, 'j'},      {controlRight, 'k'},    {controlUp, 'l'},        {controlDown, 'u'},
                {controlJump, 'i'},      {controlAction, 'o'},   {controlThrowCoin, 'm'}, {controlReveal, 'n'},
                {controlShowMap, 'h'},   {controlLookLeft, 'g'}, {controlLookRight, 'y'}, {controlLookUp, 't'},
                {controlLookDown, 'b'}};

class Controls : public InGame {
protected:
    void SetUp() override
    {
        InGame::SetUp();
        for (const auto& r : remapped)
            setControl(r.slot, r.key);
        // On the floor of the ladders' test room, at the foot of its ladder.
        begin("test_ladders.lvl", 186, 80);
        runFrames(2);
    }

    // Holds a key through one frame; it is released in the next.
    static Player& holding(int symbol)
    {
        key(SDL_KEYDOWN, symbol);
        runFrames(1);
        key(SDL_KEYUP, symbol);
        return *world.player;
    }

    static void resetView()
    {
        world.player->viewX = 0.0f;
        world.player->viewY = 0.0f;
    }
};

} // namespace

TEST_F(Controls, RemappedMovementKeysActAndTheDefaultsNoLonger)
{
    EXPECT_FALSE(holding(SDLK_UP).state.onLadder) << "the up arrow is no longer bound";
    EXPECT_TRUE(holding('l').state.onLadder);
    // Off the ladder, on the floor further left.
    world.player->state.onLadder = false;
    world.player->setPosition(100, 80);
    world.player->setPosition(100, 80);
    runFrames(3);
    EXPECT_EQ(holding(SDLK_LEFT).state.way, 0);
    EXPECT_EQ(holding('j').state.way, 1);
    EXPECT_EQ(holding('k').state.way, 0);
    EXPECT_FALSE(holding(SDLK_DOWN).state.crawl);
    EXPECT_TRUE(holding('u').state.crawl);
    runFrames(1);
    EXPECT_FALSE(world.player->state.crawl) << "crouching lasts only while the key is held";
}

TEST_F(Controls, RemappedJumpAndWalkKeys)
{
    EXPECT_FALSE(holding(SDLK_SPACE).state.jumping);
    EXPECT_TRUE(holding('i').state.jumping);
    EXPECT_LT(world.player->state.dy, 0.0f);
    EXPECT_FALSE(holding('n').state.run) << "the reveal key walks while held";
    runFrames(1);
    EXPECT_TRUE(world.player->state.run) << "running is the default";
    EXPECT_TRUE(holding('a').state.run);
}

TEST_F(Controls, RemappedActionAndMapKeys)
{
    holding('h');
    EXPECT_TRUE(world.player->showMap);
    holding('h');
    EXPECT_FALSE(world.player->showMap);
    const Element* door = element("west");
    ASSERT_NE(nullptr, door);
    world.player->setPosition(door->x, door->y);
    world.player->setPosition(door->x, door->y);
    holding(SDLK_e);
    EXPECT_STREQ(world.level->getName(), "./Level/test_ladders.lvl") << "e no longer opens doors";
    holding('o');
    EXPECT_STREQ(world.level->getName(), "./Level/test_hall.lvl");
}

TEST_F(Controls, RemappedLookKeysShiftTheViewAndNothingActsWhilePausedOrDrivenByAScene)
{
    EXPECT_FLOAT_EQ(holding('z').viewY, 0.0f);
    EXPECT_LT(holding('t').viewY, 0.0f);
    resetView();
    EXPECT_GT(holding('b').viewY, 0.0f);
    resetView();
    EXPECT_LT(holding('g').viewX, 0.0f);
    resetView();
    EXPECT_GT(holding('y').viewX, 0.0f);
    resetView();

    holding(SDLK_p);
    ASSERT_TRUE(world.paused);
    EXPECT_EQ(holding('j').state.way, 0);
    holding(SDLK_p);
    ASSERT_FALSE(world.paused);
    world.setControl(false);
    EXPECT_EQ(holding('j').state.way, 0) << "a scene drives the player";
    world.setControl(true);
    EXPECT_EQ(holding('j').state.way, 1);
}

TEST(HeldKeys, KeysOutsideTheTableReadAsReleased)
{
    int keys[512] = {};
    keys[511] = 1;
    EXPECT_EQ(World::keyState(keys, 511), 1);
    EXPECT_EQ(World::keyState(keys, 512), 0);
    EXPECT_EQ(World::keyState(keys, -1), 0);
}
