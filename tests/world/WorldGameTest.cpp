#include "WorldFixtures.h"

#include "cutscene/Movie.h"

TEST_F(InGame, ANewGameBeginsBlackWithoutHudUnderTheOpeningScene)
{
    begin("metro2.lvl", 200, 40);
    // An earlier game's scene ended and took its script along.
    delete world.movie;
    world.movie = nullptr;
    char slot[] = "./Save/slot1.sav";
    world.init(&typo, pixelScreen, slot);
    EXPECT_STREQ(world.slotFile, slot);
    ASSERT_NE(world.movie, nullptr);
    EXPECT_TRUE(world.moviePlaying);
    EXPECT_FALSE(world.control);
    EXPECT_FALSE(world.hudVisible);
    EXPECT_FLOAT_EQ(world.luminance, 0.0f);
}

TEST_F(InGame, TheScriptsEndGivesTheKeysBackAndNothingIsReadWhilePaused)
{
    begin("metro2.lvl", 200, 40);
    char slot[] = "./Save/slot1.sav";
    world.init(&typo, pixelScreen, slot);
    // An emptied script has only its end left to read.
    world.movie->reset();
    world.movie->rewind();
    int keys[512] = {};
    world.pause(true);
    world.input2(keys, &typo, pixelScreen);
    EXPECT_TRUE(world.moviePlaying) << "no code is read while paused";
    world.pause(false);
    world.input2(keys, &typo, pixelScreen);
    EXPECT_FALSE(world.moviePlaying);
    EXPECT_TRUE(world.control);
    EXPECT_EQ(world.movie, nullptr);
}

TEST_F(InGame, AMissingSlotLeavesTheGameAsItWas)
{
    begin("metro3.lvl", 8, 64);
    Level* before = world.level;
    char slot[] = "./Save/no_such_slot.sav";
    world.loadStateBinary(slot, &typo, pixelScreen);
    EXPECT_EQ(world.level, before);
    EXPECT_EQ(world.player->x, 8);
    EXPECT_EQ(world.workerStarts, 1);
}

TEST_F(InGame, PausingIdlesTheWorkerAndResumingRunsIt)
{
    begin("metro2.lvl", 200, 40);
    world.pause();
    EXPECT_TRUE(world.paused);
    EXPECT_EQ(getCloseThread(), LightingPaused);
    world.pause();
    EXPECT_FALSE(world.paused);
    EXPECT_EQ(getCloseThread(), LightingRun);
}
