#include "WorldFixtures.h"

#include "base/BoundedString.h"

namespace {

// Frames drawn until the game-over stage reaches `stage`; -1 past `limit`.
int framesUntilStage(int stage, int limit)
{
    for (int n = 1; n <= limit; n++) {
        update();
        draw();
        if (world.gameOver.stage == stage)
            return n;
    }
    return -1;
}

} // namespace

// What a deadly element does to the player: his life runs out.
TEST_F(InGame, DeathFadesToGreyThenBlackThenWaitsForAKey)
{
    // The new game stores its start at once: that is where he comes back.
    begin("metro3.lvl", 200, 49);
    world.player->setPosition(40, 49);
    world.player->setPosition(40, 49);
    runFrames(5);
    world.player->state.life = 0;
    // The death frame: the world freezes and the sequence starts.
    runFrames(1);
    EXPECT_TRUE(world.died);
    EXPECT_TRUE(world.paused);
    EXPECT_EQ(world.gameOver.stage, World::StageGrey);
    // Saturation falls by 0.05 a frame: about 20 frames to grey, while
    // the brightness falls by 0.015 a frame.
    int grey = framesUntilStage(World::StageDark, 30);
    EXPECT_GE(grey, 18);
    EXPECT_LE(grey, 20);
    EXPECT_NEAR(world.gameOver.luminance, 1.0f - 0.015f * 21, 0.02f);
    // From 0.685 down to 0 at 0.015 a frame: 46 frames more.
    int dark = framesUntilStage(World::StageGrow, 60);
    EXPECT_GE(dark, 45);
    EXPECT_LE(dark, 47);
    // The growth value started at 0.1 and grows by a tenth a frame until
    // above 500: 90 growths in all, 46 or 47 of them already done.
    int grow = framesUntilStage(World::StageWait, 60);
    EXPECT_GE(grow, 42);
    EXPECT_LE(grow, 45);
    runFrames(30);
    EXPECT_EQ(world.gameOver.stage, World::StageWait) << "stage 5 waits for a key";
    const int frameBefore = world.frameCount;
    const int xBefore = world.player->state.x;
    runFrames(3);
    EXPECT_EQ(world.frameCount, frameBefore + 3);
    EXPECT_EQ(world.player->state.x, xBefore) << "nothing moves while the world is frozen";

    key(SDL_KEYDOWN, SDLK_SPACE);
    runFrames(1);
    EXPECT_EQ(world.gameOver.stage, World::StageNone);
    EXPECT_FLOAT_EQ(world.gameOver.luminance, 1.0f);
    EXPECT_FALSE(world.paused);
    // Back at the stored place, with full life and one continue less.
    EXPECT_EQ(world.player->state.x, 200);
    EXPECT_EQ(world.player->state.life, world.player->state.maxLife);
    EXPECT_EQ(world.player->state.respawn, 2);
    EXPECT_FALSE(world.died);
    runFrames(5);
    EXPECT_EQ(world.gameOver.stage, World::StageNone) << "he lives on";
}

TEST_F(InGame, TheCameraKeepsEasingOntoTheDeadPlayerAndAKeyEndsTheFadeAtOnce)
{
    begin("metro2.lvl", 200, 40);
    world.player->state.life = 0;
    runFrames(1);
    world.camX = -200;
    world.targetX = -200;
    runFrames(1);
    EXPECT_GT(world.camX, -200) << "the frozen world still moves its camera";
    runFrames(2);
    ASSERT_EQ(world.gameOver.stage, World::StageGrey);
    key(SDL_KEYDOWN, SDLK_p);
    runFrames(1);
    EXPECT_EQ(world.gameOver.stage, World::StageNone);
    EXPECT_FALSE(world.paused) << "the pause key does not pause during the sequence";
}

TEST_F(InGame, ReturningWithoutContinuesGoesBackToTheCheckpoint)
{
    begin("metro2.lvl", 200, 40);
    boundedCopy(world.player->state.checkpointLevel, sizeof world.player->state.checkpointLevel, "./Level/metro3.lvl");
    world.player->state.checkpointX = 8;
    world.player->state.checkpointY = 64;
    world.died = true;
    char stored[256] = "./Level/metro2.lvl";
    world.applyDeathRule(stored, 0);
    EXPECT_EQ(world.player->state.respawn, 3);
    EXPECT_EQ(world.player->state.x, 8);
    EXPECT_EQ(world.player->state.oldY, 64);
    world.enterStoredLevel(stored, true, &typo, pixelScreen);
    EXPECT_STREQ(world.level->getName(), "./Level/metro3.lvl");
    EXPECT_EQ(world.player->state.x, 8);
    EXPECT_EQ(world.workerStarts, 2);
    // A second death rule without a death changes nothing.
    world.applyDeathRule(stored, 0);
    EXPECT_EQ(world.player->state.respawn, 3);
}
